#pragma once
// The gateway card's map of channels to PLC devices: up to 16 entries, each
// saying which kind of I/O card data (AI, AO, DI, DO) goes to which SLMP device,
// for how many channels, from which device address. Plain code: the device
// tables, one row's state, the entry text as the card holds it and the checks.
// The dialog's 16 rows of widgets only show MapRow values.
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace talvo::gateway {

inline constexpr int kMapRows = 16;
inline constexpr int kMaxMapChannels = 128;

// One device: name, two-character SLMP device code, numbering ("10" or "16").
struct DeviceRow {
    const char* name;
    const char* code;
    const char* radix;
};

// The four device tables by kind No.: 1 WordDevTable32, 2 WordDevTable16,
// 3 BitDevTable32, 4 BitDevTable16; any other kind is an empty table.
const std::vector<DeviceRow>& DeviceTable(int kind);

// The I/O types of the cardType lists, in list order.
const std::array<const char*, 4>& IoTypes();
bool IsIoType(const std::string& ioType);

// The table kind for an I/O type and server type: "AI"/"AO" with "32" is 1,
// with "16" 2; "DI"/"DO" with "32" is 3, with "16" 4; anything else 0.
int TableKind(const std::string& ioType, const std::string& serverType);

struct DeviceLookup {
    std::string name;   // "0" when not found
    std::string radix;  // "10" when not found
    bool found = false;
};
// Looks the code up in rows 0 to last of a table (last past the table counts
// as its last row).
DeviceLookup LookupDeviceCode(const std::string& code, int kind, int last);

// One row of the map as the dialog holds it.
struct MapRow {
    std::string cardType;      // the I/O type list's text, "" with nothing selected
    std::string ChNo;          // channel count box
    int DevType = -1;          // selected position in the device list, -1 none
    std::string DevAdd16;      // start address, hexadecimal box
    std::string DevAdd10;      // start address, decimal box
    std::string EntryDevCode;  // the device's SLMP code
    std::string EntryRadix;    // "10", "16" or "" when no table applies
    int EntryListKind = 0;     // the table the device list holds, 0 none
    bool DevAdd16Enabled = false;
    bool DevAdd10Enabled = false;
    // Whether EntryDevCode and EntryRadix were ever given a value (a settings
    // file keeps a never-set one as an empty line, a set but empty one as "").
    bool EntryDevCodeSet = false;
    bool EntryRadixSet = false;
};
using MapRows = std::array<MapRow, kMapRows>;

// The device list of the row: the table of its EntryListKind.
const std::vector<DeviceRow>& DeviceList(const MapRow& row);
// The text the device list shows: its selected name, "" with none.
std::string DevTypeText(const MapRow& row);

// Address boxes from a numbering: "16" enables the hex box and disables the
// decimal one, "10" the other way round, anything else leaves them.
void SetAddressBoxes(MapRow& row, const std::string& radix);

// The I/O type handling (on every change of the row's I/O type, and on "OK"):
// false for an I/O type that is not one of the four (EntryRadix emptied).
// A server type that is neither "16" nor "32" empties EntryRadix and changes
// nothing else. When the row's list already holds the table, nothing changes
// (the device stays); else the list gets that table with its first device
// selected, and the code, numbering and address boxes follow it.
bool SetDevTypeList(MapRow& row, const std::string& serverType);

// As SetDevTypeList, with the message for a failure: "" or
// "I/O card type:Please select AI or AO or DI or DO".
std::string CheckCardType(MapRow& row, const std::string& serverType);

// The device handling: device p of the row's table is selected; code and
// numbering follow it. Without a table (or p outside it) the numbering is
// emptied and the code, selection and boxes stay.
void SelectDevice(MapRow& row, const std::string& serverType, int p);

// An entry text taken apart: "A8,100,AI8" gives code "A8", address "100",
// I/O type "AI", count "8"; "9C,0x1F,DI16" gives address "1F".
struct MapEntry {
    std::string code;
    std::string address;
    std::string ioType;
    std::string count;
    std::string deviceName;  // from the table of ioType and server type
    std::string radix;       // "" when no table applies
    bool known = false;      // the code is in that table
};
// None unless the text holds exactly two ",".
std::optional<MapEntry> ParseMapEntry(const std::string& text, const std::string& serverType);

// Loads an uploaded entry (the reply after its first ":") into a row the way
// the upload does: I/O type (its handling runs), count, device (its handling
// runs), then the address into the box of the device's numbering. The row
// changes only when all of it succeeds: false for a text that does not parse,
// an I/O type that is not one of the four, a server type that gives no table
// or a code that is not in the table.
bool LoadMapEntry(MapRow& row, const std::string& text, const std::string& serverType);

// The outcome of a check: message "" when it passes; text is what the box
// should hold afterwards (emptied or rewritten) or the built entry.
struct MapCheck {
    bool ok = true;
    std::string message;
    std::string text;
};

// The entry text of a row for the card: code, ",", "0x" and the hex box or the
// decimal box, ",", I/O type and count. Fails with the count's or the
// address's message.
MapCheck BuildMapEntry(const MapRow& row);

// The entries in use: a whole number 0..16 written in digits (at most two);
// none for anything else ("", "1.5", "+7", "17").
std::optional<int> EntryCount(const std::string& DeviceNo);

// The channel count box of row i after the user leaves it. The total counts
// the rows in use (DeviceNo; none in use when it is not a valid count).
MapCheck CheckChNo(const MapRows& rows, int i, const std::string& DeviceNo);
// The same, the total counting only the rows in use that are `counted`.
MapCheck CheckChNo(const MapRows& rows, int i, const std::string& DeviceNo, const std::array<bool, kMapRows>& counted);
// The hex address box: rewritten in upper case without leading zeros.
MapCheck CheckDevAdd16(const std::string& text);
// The decimal address box.
MapCheck CheckDevAdd10(const std::string& text);

// Before every download and save: every row in use has an I/O type, a count,
// a device and the address its numbering needs, and the counts add up to at
// most 128. A DeviceNo that is not a valid count fails too.
MapCheck CheckMapEntries(const MapRows& rows, const std::string& DeviceNo);
// The same for the rows in use that are `checked` only: the others (rows that
// hold no value, which a download leaves as they are on the card) are neither
// checked nor counted in the total.
MapCheck CheckMapEntries(const MapRows& rows, const std::string& DeviceNo, const std::array<bool, kMapRows>& checked);

// "OK"'s list refresh: the I/O type handling for each row in use.
void RefreshDeviceLists(MapRows& rows, const std::string& DeviceNo, const std::string& serverType);

// Which of a row's controls are enabled (enabled ones show the window
// background colour, disabled ones the button face).
struct RowEnabling {
    bool cardType = false;
    bool ChNo = false;
    bool DevType = false;
    bool DevAdd16 = false;
    bool DevAdd10 = false;
};
// Rows 0 to last in use: their lists and count enabled, the address box of
// their numbering enabled; every other row all disabled. A last of -1 disables
// all; texts are kept.
std::array<RowEnabling, kMapRows> ShowMapEntries(const MapRows& rows, int last);

// The station item of row i's entry: group "17", items "10" to "25".
inline constexpr const char* kMapGroup = "17";
inline constexpr const char* kEntryCountItem = "09";
std::string MapEntryItem(int i);

// Messages.
inline constexpr const char* kMsgCardType = "I/O card type:Please select AI or AO or DI or DO";
inline constexpr const char* kMsgChNo = "Ch. No.:Please enter number 1 - 16";
inline constexpr const char* kMsgTotal = "Set the total number of channels to 128 or less";
inline constexpr const char* kMsgDevAdd16 = "Device address(Hex):Please enter number 00000000 - FFFFFFFF";
inline constexpr const char* kMsgDevAdd10 = "Device address:Please enter number 00000000 - 99999999";
inline constexpr const char* kMsgIncorrect = "Card Settings:Incorrect settings";

}  // namespace talvo::gateway
