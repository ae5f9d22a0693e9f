#pragma once
// What a wireless settings file holds for each model and file code, the key
// scramble, and the turning of controls into records and back. Reading and
// writing the file's lines is the shared quoted-line file's business: it gives
// the bare first line (the file code) and the quoted values after it, and
// writes them back the same way.
//
// The scramble only keeps the key from being read at a glance; it is no
// protection.
#include <optional>
#include <string>
#include <vector>

#include "screens/wireless/WirelessModel.h"
#include "screens/wireless/WirelessRules.h"

namespace talvo::wireless {

// Adds (Encode) or takes away (Decode) digit i of scrambleKey to or from the
// code of character i, for the first 32 characters; characters after them are
// ignored. None when the text has fewer than 32 characters, a code would leave
// 0..255, or scrambleKey is not 32 decimal digits.
std::optional<std::string> EncodeKey(const std::string& key, const std::string& scrambleKey = kScrambleKey);
std::optional<std::string> DecodeKey(const std::string& scrambled, const std::string& scrambleKey = kScrambleKey);

// One record of the file after the code line. wirPassword stands for the
// scrambled key. The rules run, in order, once the record is given to its
// control on a read.
struct FileField {
    WControl control;
    int channel = 0;
    std::vector<EnableRule> rulesAfter;
};

// The records Save File writes for a file code, in file order.
std::vector<FileField> FileFieldsWritten(WirelessModel m, int fileCode);
// The records Read File expects in a file of that code; any after them are
// left unread.
std::vector<FileField> FileFieldsRead(WirelessModel m, int fileCode);

// The file dialog's filter: the model's own entry first, then text and all files.
std::string FileFilter(WirelessModel m);

// The file code of a file's first line: a whole number, blanks around it
// allowed; none for anything else.
std::optional<int> ParseFileCode(const std::string& line);
// OG refuses a file whose code is above its own FileFormatCode; the others
// read any code.
bool FileCodeAccepted(WirelessModel m, int fileCode, int fileFormatCode);

// Save File's records (after the code line, which is fileFormatCode): a box's
// text, a list's entry text ("" without a selection), the scrambled KeyText.
// A setting that holds no value (`holds`) is saved as an empty record in its
// place, the key too: the file never gives a default or a text the card
// refused the standing of a value. False, with a sentence in error and
// records unchanged, when a key that holds a value cannot be scrambled.
bool BuildFileRecords(WirelessModel m, int fileFormatCode, const WirelessControls& controls, const HoldsValue& holds,
                      std::vector<std::string>& records, std::string& error);

enum class FileReadResult {
    Read,     // controls and KeyText replaced, enable rules run
    Refused,  // OG: the file's code is newer than the dialog's ("read file incomplete")
    Damaged,  // error tells why; nothing changed
};

// What a record read from a file gave its setting: a value, or none (an empty
// record: an empty text, a list without a selection, no key).
struct FileValue {
    WControl control;
    int channel = 0;
    bool hasValue = false;
    bool operator==(const FileValue&) const = default;
};

// Read File after the lines are in: checks every record the file's code calls
// for before anything changes (enough records, list texts that are entries of
// the dialog's lists, a key that unscrambles to 32 hex digits), then gives each
// control its record, sets KeyText and runs the enable rules in file order.
// A list record "" leaves the list without a selection, as Save wrote it; a
// key record "" leaves KeyText as it was. `loaded` gets, in file order, what
// each record read gave its setting (a record of blanks only holds no value).
// firmwareLevel bounds List_W_Scale's entries as the dialog holds them.
FileReadResult ReadFileRecords(WirelessModel m, int firmwareLevel, int fileFormatCode, const std::string& codeLine,
                               const std::vector<std::string>& records, WirelessControls& controls,
                               std::vector<FileValue>& loaded, std::string& error);

}  // namespace talvo::wireless
