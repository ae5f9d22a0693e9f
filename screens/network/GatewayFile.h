#pragma once
// The gateway dialog's settings file (".qfo"): 125 lines, the first a bare
// file code, then the dialog's fields and the 16 map rows of 7 lines each, one
// quoted value a line; a row's device code or numbering that was never set is
// an empty line. A setting that held no value is saved as an empty text (a
// row as a row of empty texts), and an empty field read back holds none.
// Plain code on the program's one quoted-line format.
#include <array>
#include <optional>
#include <string>

#include "screens/network/GatewayMap.h"

namespace talvo::gateway {

inline constexpr int kQfoLines = 125;
inline constexpr const char* kQfoFilter = "qfo Files (*.qfo)|*.qfo|Text Files (*.txt)|*.txt|All Files (*.*)|*.*";

// One map row as the file holds it.
struct QfoRow {
    std::string cardType;               // I/O type list text
    std::string ChNo;
    std::string devName;                // device list text
    std::optional<std::string> code;    // EntryDevCode, none when never set
    std::optional<std::string> radix;   // EntryRadix, likewise
    std::string DevAdd16;
    std::string DevAdd10;
};

struct QfoFile {
    int fileCode = 0;
    std::string pausePeriod, ip, snm, dgate, serverType, cpuNo, timeOut, nwNo, stationNo, slmpIp, portNo, deviceNo;
    std::array<QfoRow, kMapRows> rows{};
};

// The file's bytes.
std::string FormatQfo(const QfoFile& f);
// "" when every value can be written so that it reads back; else a sentence
// naming the first that cannot (a double quote, CR or LF, a control character,
// more characters than the reader takes in a field).
std::string UnsavableQfo(const QfoFile& f);

// Reads and checks the whole file before anything is taken from it: exactly
// 125 lines, no value longer than kMaxSettingsFieldChars, line 1 a whole
// number, the four addresses with three "." each, a server type of "16" or
// "32", an entry count of 0 to 16, and for each row in use that holds a value
// an I/O type of the list and a device name of the table its I/O type and the
// server type choose. An empty field is no value and passes (an empty entry
// count puts no row in use). False with a sentence in error, out unchanged.
bool ParseQfo(const std::string& bytes, QfoFile& out, std::string& error);

// Whether a file row holds a value: a row saved without one has no I/O type.
bool HasValue(const QfoRow& row);

// The file row of a map row, and back (a loaded row's list state is left to
// the dialog, which selects its texts in its lists).
QfoRow ToQfoRow(const MapRow& row);

}  // namespace talvo::gateway
