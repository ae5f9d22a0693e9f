#pragma once
// The ten HART master values of one channel of the HART input card, the checks
// a box of the HART master dialog runs when it is left, and the HART channel
// settings file (".rhx") that holds one channel's values. No widget here.
//
// The file is the program's quoted-line format: the bare tag "0", then the ten
// values in double quotes, one a line, CR LF.
#include <array>
#include <string>

namespace talvo::screens::hart {

inline constexpr int kChannels = 4;

// The values in the order of the dialog's tables and the file's lines.
enum Field {
    PollAdd,
    CyclHigh,
    CyclLow,
    Retry,
    MasterMode,
    DeviceVariableCode,
    AnalogChCode,
    AutoCommand,
    DeviceSpecificCommand,
    ConstantData,
    kFieldCount
};
using Channel = std::array<std::string, kFieldCount>;

// The field's caption in the dialog ("Polling Address", "Master Mode").
const char* FieldName(Field f);
// The station item of a number field or the master mode ("30" to "34").
const char* FieldItem(Field f);

// The master mode list: position 0 "Primary", 1 "Secondary". The name of an
// item "34" value ("" for anything but "0" or "1"), and the value a name sends
// ("" for a name that is no entry: nothing is sent).
inline constexpr const char* kPrimary = "Primary";
inline constexpr const char* kSecondary = "Secondary";
std::string MasterModeOfValue(const std::string& value);
std::string ValueOfMasterMode(const std::string& name);

// The check when a box is left. `ok` false: show `message`, the box keeps the
// focus and the table its entry. `ok` true: the box shows `text` (a block
// padded to its full length) and, when `store`, the table takes it; an empty
// number box passes without touching its table entry.
struct CheckResult {
    bool ok = true;
    bool store = true;
    std::string text;
    std::string message;
};
CheckResult CheckField(Field f, const std::string& text);

// ---- The file ----

inline constexpr const char* kFileTag = "0";
inline constexpr const char* kFileFilter = "rhx Files (*.rhx)|*.rhx|Text Files (*.txt)|*.txt|All Files (*.*)|*.*";

// The file's bytes for one channel's values.
std::string FormatHartFile(const Channel& values);
// "" when every value can be saved; otherwise a sentence naming the first that
// cannot: "Polling Address holds a character that cannot be saved (\" or a line break)."
std::string FindUnsavableValue(const Channel& values);

enum class FileRead {
    Read,     // `out` holds the file's ten values
    Refused,  // not this dialog's file, or a value the dialog's checks refuse: "read file incomplete"
    Damaged,  // the file is not one of this format; `error` tells why
};
// Reads the whole file first: its tag must be 0, and every value one the dialog
// could hold: a number in its field's range or "", any master mode text (the
// list takes typed text), a block of upper-case hexadecimal digits no longer
// than the block, of even length (a multiple of 4 for the two command blocks).
// Lines after the eleventh are not read, so a damaged one does not refuse the
// file. `out` changes only when the result is Read.
FileRead ParseHartFile(const std::string& bytes, Channel& out, std::string& error);

}  // namespace talvo::screens::hart
