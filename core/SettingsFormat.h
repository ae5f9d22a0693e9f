#pragma once
// The system settings file as bytes: 17 lines, one per card record, each of 82
// quoted, comma-separated fields, lines ending in CR LF. Texts are written and
// read as the bytes they are (Latin-1), never converted. Plain code with no
// globals and no file access, so tests and the fuzzer drive it directly.
#include <array>
#include <cstddef>
#include <string>

#include "core/CardRecord.h"

namespace talvo {

inline constexpr int kSettingsFieldsPerLine = 82;  // type, version, 64 Param, 16 ChOption
// A real file is a few kilobytes; anything beyond this is not a settings file.
inline constexpr std::size_t kMaxSettingsFileBytes = 1024 * 1024;
// A field holds one value of a card as a station frame carries it: a model
// code, a version, a number, a flag, a short text. The longest of them are a
// few dozen characters; 255 leaves ample room above that, yet keeps a damaged
// or foreign file from filling the records (and from there the screens' boxes
// and the frames sent to a card) with text no card could take.
inline constexpr std::size_t kMaxSettingsFieldChars = 255;

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
