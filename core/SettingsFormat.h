#pragma once
// The one text format of the program's files, and the system settings file in
// it. Lines end in CR LF; a line holds fields in double quotes separated by
// commas; the dialogs' files begin with a line written bare. Nothing is escaped,
// so a field cannot hold a double quote, CR or LF. Texts are written and read as
// the bytes they are (Latin-1), never converted. Plain code with no globals and
// no file access, so tests and the fuzzer drive it directly.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/CardRecord.h"

namespace talvo {

// ---- Quoted lines ----

// A file of this format is a few kilobytes; anything beyond this is not one.
inline constexpr std::size_t kMaxQuotedFileBytes = 1024 * 1024;
// A field of the system settings file, the gateway's and the wireless dialogs'
// files holds one value of a card as a station frame carries it, or as a
// dialog's box holds it: a model code, a version, a number, a flag, a short
// text. The longest of them are a few dozen characters; 255 leaves ample room
// above that, yet keeps a damaged or foreign file from filling the records
// and boxes (and from there the frames sent to a card) with text no card
// could take.
inline constexpr std::size_t kMaxSettingsFieldChars = 255;

// One line of fields, each in double quotes, separated by commas, with its CR LF.
std::string FormatQuotedLine(const std::vector<std::string>& fields);

// Why a text cannot go into a quoted field so that it reads back the same:
// " holds a character that cannot be saved (\" or a line break)." or
// " holds a control character that cannot be saved."; "" when it can.
std::string UnquotableReason(const std::string& text);
// The same for a file whose reader takes no field longer than maxChars; adds
// " is longer than 255 characters and cannot be saved." (for 255).
std::string UnsavableFieldReason(const std::string& text, std::size_t maxChars = kMaxSettingsFieldChars);

// Splits a file into its lines and each line into its fields. Lines end in LF,
// with or without a CR before it; the last may lack its line end, and one empty
// line may follow it. A quoted field runs to the next double quote, with only
// blanks between it and the next comma; a field without quotes (a bare line, or
// a hand-edited file) runs to the next comma and loses its surrounding blanks.
// False, with a sentence in error, for an empty file, a file over
// kMaxQuotedFileBytes, a CR inside a line, a missing closing quote, text after a
// closing quote or a quote inside an unquoted field.
bool ParseQuotedLines(const std::string& bytes, std::vector<std::vector<std::string>>& lines, std::string& error);
// The same in two steps, for a reader that checks the lines before their fields:
// the lines of a file, and the fields of line lineNo (1-based, for the error).
std::vector<std::string_view> SplitFileLines(std::string_view bytes);
bool SplitQuotedFields(std::string_view line, std::size_t lineNo, std::vector<std::string>& fields,
                       std::string& error);

// The dialogs' files: a bare first line (a number that tells what the file
// holds), then one quoted value a line.
std::string FormatValueFile(const std::string& firstLine, const std::vector<std::string>& values);
// What a value file may hold: how many values are read (the lines after them
// are not looked at) and how long one may be (a file of card settings takes
// kMaxSettingsFieldChars; by default a field is bounded only by the file's size).
struct ValueFileLimits {
    std::size_t maxValues = SIZE_MAX;
    std::size_t maxFieldChars = kMaxQuotedFileBytes;
};
// Reads such a file: its first line and the values after it, within `limits`.
// Each line read holds one field; none holds a control character. On any fault
// it returns false with a sentence in error and leaves firstLine and values
// unchanged.
bool ParseValueFile(const std::string& bytes, std::string& firstLine, std::vector<std::string>& values,
                    std::string& error, const ValueFileLimits& limits = {});

// ---- The system settings file ----
// 17 lines, one per card record, each of 82 quoted, comma-separated fields.

inline constexpr int kSettingsFieldsPerLine = 82;  // type, version, 64 Param, 16 ChOption
// A real file is a few kilobytes; anything beyond this is not a settings file.
inline constexpr std::size_t kMaxSettingsFileBytes = kMaxQuotedFileBytes;

using SettingsRecords = std::array<CardRecord, CardRecordTable::kCount>;

// The file's bytes for records 1 to 17: CardType, Version, Param(1..64),
// ChOption(1..16), each in double quotes. The format cannot carry a double
// quote, CR or LF inside a field, and the reader takes no other control
// character and no field longer than kMaxSettingsFieldChars; check
// FindUnsavableField first.
std::string FormatSettingsFile(const CardRecordTable& records);

// "" when every saved field can be written and read back; otherwise a sentence
// that names the first field that cannot, and why:
// "Slot 3, Param(12) holds a character that cannot be saved (\" or a line break).",
// "Communication card, Version holds a control character that cannot be saved.",
// "Slot 1, CardType is longer than 255 characters and cannot be saved."
std::string FindUnsavableField(const CardRecordTable& records);

// Reads the 17 records of a settings file: field 1 into FileType, field 2 into
// Version, then Param(1..64) and ChOption(1..16); CardType stays "". A field
// holding a control character (NUL and tab included) or more than
// kMaxSettingsFieldChars characters is a fault. On any fault it returns false
// with a sentence in error and leaves out unchanged.
bool ParseSettingsFile(const std::string& bytes, SettingsRecords& out, std::string& error);

// Older files of the 16-channel scaled input cards hold two values per channel
// (zero and full scale in Param(2n-1), Param(2n)); the screen now keeps four
// (zero scale, full scale, zero adjust, full adjust in Param(4n-3)..Param(4n)).
// When FileType begins with "BW1" or "BZ1" and Param(33) and Param(34) are both
// "", this spreads the values out, with "0.00" and "1.0000" for the two
// adjustments, and returns true; any other record is left alone (false).
bool WidenSixteenChannelLayout(CardRecord& record);

}  // namespace talvo
