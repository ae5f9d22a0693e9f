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

using SettingsRecords = std::array<CardRecord, CardRecordTable::kCount>;

// The file's bytes for records 1 to 17: CardType, Version, Param(1..64),
// ChOption(1..16), each in double quotes. The format cannot carry a double
// quote, CR or LF inside a field; check FindUnsavableField first.
std::string FormatSettingsFile(const CardRecordTable& records);

// "" when every saved field can be written; otherwise names the first field
// that holds a double quote, CR or LF: "Slot 3, Param(12)",
// "Communication card, Version".
std::string FindUnsavableField(const CardRecordTable& records);

// Reads the 17 records of a settings file: field 1 into FileType, field 2 into
// Version, then Param(1..64) and ChOption(1..16); CardType stays "". On any
// fault it returns false with a sentence in error and leaves out unchanged.
bool ParseSettingsFile(const std::string& bytes, SettingsRecords& out, std::string& error);

// Older files of the 16-channel scaled input cards hold two values per channel
// (zero and full scale in Param(2n-1), Param(2n)); the screen now keeps four
// (zero scale, full scale, zero adjust, full adjust in Param(4n-3)..Param(4n)).
// When FileType begins with "BW1" or "BZ1" and Param(33) and Param(34) are both
// "", this spreads the values out, with "0.00" and "1.0000" for the two
// adjustments, and returns true; any other record is left alone (false).
bool WidenSixteenChannelLayout(CardRecord& record);

}  // namespace talvo
