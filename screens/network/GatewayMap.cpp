#include "screens/network/GatewayMap.h"

#include <cstddef>
#include <utility>

#include "ui/FieldChecks.h"
#include "core/TextHelpers.h"

namespace talvo::gateway {

namespace {

const std::vector<DeviceRow> kWordDevTable32 = {
    {"SD", "A9", "10"}, {"D", "A8", "10"},  {"W", "B4", "16"},  {"TN", "C2", "10"},
    {"STN", "C8", "10"}, {"CN", "C5", "10"}, {"SW", "B5", "16"}, {"Z", "CC", "10"},
    {"R", "AF", "10"},  {"ZR", "B0", "16"}, {"RD", "2C", "10"},
};

// The first ten rows of the 32-bit table, without RD.
const std::vector<DeviceRow> kWordDevTable16(kWordDevTable32.begin(), kWordDevTable32.begin() + 10);

const std::vector<DeviceRow> kBitDevTable32 = {
    {"SM", "91", "10"},  {"X", "9C", "16"},   {"Y", "9D", "16"},   {"M", "90", "10"},  {"L", "92", "10"},
    {"F", "93", "10"},   {"V", "94", "10"},   {"B", "A0", "16"},   {"TS", "C1", "10"}, {"TC", "C0", "10"},
    {"LTS", "51", "10"}, {"LTC", "50", "10"}, {"STS", "C7", "10"}, {"STC", "C6", "10"}, {"LSTS", "59", "10"},
    {"LSTC", "58", "10"}, {"CS", "C4", "10"}, {"CC", "C3", "10"},  {"LCS", "55", "10"}, {"LCC", "54", "10"},
    {"SB", "A1", "16"},
};

const std::vector<DeviceRow> kBitDevTable16 = {
    {"SM", "91", "10"},  {"X", "9C", "16"},  {"Y", "9D", "16"},  {"M", "90", "10"},  {"L", "92", "10"},
    {"F", "93", "10"},   {"V", "94", "10"},  {"B", "A0", "16"},  {"S", "98", "10"},  {"TS", "C1", "10"},
    {"TC", "C0", "10"},  {"STS", "C7", "10"}, {"STC", "C6", "10"}, {"CS", "C4", "10"}, {"CC", "C3", "10"},
    {"SB", "A1", "16"},  {"LCS", "55", "10"}, {"LCC", "54", "10"},
};

const std::vector<DeviceRow> kNoTable;

const std::array<const char*, 4> kIoTypes = {"AI", "AO", "DI", "DO"};

// A channel count or an entry count: 1 or 2 digits.
constexpr std::size_t kCountDigits = 2;

bool IsDeviceCode(const std::string& s) { return s.size() == 2 && IsHexText(s); }

MapCheck Fail(const char* message, std::string text = {}) { return {false, message, std::move(text)}; }

// The count and address boxes as the dialog toolkit's rows.
using ui::FieldKind;
const ui::FieldCheck kChNoRow{.kind = FieldKind::Digits, .maxChars = 2, .min = 1, .max = 16, .message = kMsgChNo};
// Rewritten in upper case without leading zeros.
const ui::FieldCheck kDevAdd16Row{.kind = FieldKind::Hex, .maxChars = 8, .min = 0, .max = 0xFFFFFFFF,
                                  .message = kMsgDevAdd16};
const ui::FieldCheck kDevAdd10Row{.kind = FieldKind::Digits, .maxChars = 8, .min = 0, .max = 99999999,
                                  .message = kMsgDevAdd10};

bool Passes(const ui::FieldCheck& row, const std::string& text) { return ui::RunFieldCheck(row, text).ok; }

// A box's check: an empty box is not checked; a failed one is emptied.
MapCheck CheckBox(const ui::FieldCheck& row, const std::string& text) {
    if (text.empty()) return {};
    const ui::FieldResult r = ui::RunFieldCheck(row, text);
    return r.ok ? MapCheck{true, "", r.text} : Fail(row.message);
}

// The sum of the numeric counts of the rows in use (of those `counted` when
// given); non-numeric ones, and ones of more than nine digits, add 0 (so
// sixteen of them fit a long).
long TotalChannels(const MapRows& rows, int inUse, const std::array<bool, kMapRows>* counted = nullptr) {
    long total = 0;
    for (int r = 0; r < inUse && r < kMapRows; ++r) {
        if (counted && !(*counted)[static_cast<std::size_t>(r)]) continue;
        if (const auto v = DigitsValue(rows[static_cast<std::size_t>(r)].ChNo, 9)) total += *v;
    }
    return total;
}

int PositionOf(const std::vector<DeviceRow>& table, const std::string& name) {
    for (std::size_t p = 0; p < table.size(); ++p)
        if (name == table[p].name) return static_cast<int>(p);
    return -1;
}

}  // namespace

const std::vector<DeviceRow>& DeviceTable(int kind) {
    switch (kind) {
    case 1: return kWordDevTable32;
    case 2: return kWordDevTable16;
    case 3: return kBitDevTable32;
    case 4: return kBitDevTable16;
    default: return kNoTable;
    }
}

const std::array<const char*, 4>& IoTypes() { return kIoTypes; }

bool IsIoType(const std::string& ioType) {
    for (const char* t : kIoTypes)
        if (ioType == t) return true;
    return false;
}

int TableKind(const std::string& ioType, const std::string& serverType) {
    const bool word = ioType == "AI" || ioType == "AO";
    const bool bit = ioType == "DI" || ioType == "DO";
    if (serverType == "32") return word ? 1 : bit ? 3 : 0;
    if (serverType == "16") return word ? 2 : bit ? 4 : 0;
    return 0;
}

DeviceLookup LookupDeviceCode(const std::string& code, int kind, int last) {
    const auto& table = DeviceTable(kind);
    for (int p = 0; p <= last && p < static_cast<int>(table.size()); ++p) {
        const DeviceRow& row = table[static_cast<std::size_t>(p)];
        if (code == row.code) return {row.name, row.radix, true};
    }
    return {"0", "10", false};
}

const std::vector<DeviceRow>& DeviceList(const MapRow& row) { return DeviceTable(row.EntryListKind); }

std::string DevTypeText(const MapRow& row) {
    const auto& list = DeviceList(row);
    if (row.DevType < 0 || row.DevType >= static_cast<int>(list.size())) return {};
    return list[static_cast<std::size_t>(row.DevType)].name;
}

void SetAddressBoxes(MapRow& row, const std::string& radix) {
    if (radix == "16") {
        row.DevAdd16Enabled = true;
        row.DevAdd10Enabled = false;
    } else if (radix == "10") {
        row.DevAdd16Enabled = false;
        row.DevAdd10Enabled = true;
    }
}

bool SetDevTypeList(MapRow& row, const std::string& serverType) {
    if (!IsIoType(row.cardType)) {
        row.EntryRadix.clear();
        row.EntryRadixSet = true;
        return false;
    }
    const int kind = TableKind(row.cardType, serverType);
    if (kind == 0) {
        row.EntryRadix.clear();
        row.EntryRadixSet = true;
        return true;
    }
    if (row.EntryListKind == kind) return true;
    const DeviceRow& first = DeviceTable(kind).front();
    row.EntryListKind = kind;
    row.DevType = 0;
    row.EntryDevCode = first.code;
    row.EntryRadix = first.radix;
    row.EntryDevCodeSet = row.EntryRadixSet = true;
    SetAddressBoxes(row, row.EntryRadix);
    return true;
}

std::string CheckCardType(MapRow& row, const std::string& serverType) {
    return SetDevTypeList(row, serverType) ? std::string() : std::string(kMsgCardType);
}

void SelectDevice(MapRow& row, const std::string& serverType, int p) {
    if (p >= 0 && p < static_cast<int>(DeviceList(row).size())) row.DevType = p;
    // The code comes from the table of the row's I/O type and the server type;
    // a position that table does not have gives no numbering.
    const auto& table = DeviceTable(TableKind(row.cardType, serverType));
    if (p < 0 || p >= static_cast<int>(table.size())) {
        row.EntryRadix.clear();
        row.EntryRadixSet = true;
        return;
    }
    const DeviceRow& device = table[static_cast<std::size_t>(p)];
    row.EntryDevCode = device.code;
    row.EntryDevCodeSet = row.EntryRadixSet = true;
    SetAddressBoxes(row, device.radix);
    row.EntryRadix = device.radix;
}

std::optional<MapEntry> ParseMapEntry(const std::string& text, const std::string& serverType) {
    const auto first = text.find(',');
    if (first == std::string::npos) return std::nullopt;
    const auto second = text.find(',', first + 1);
    if (second == std::string::npos || text.find(',', second + 1) != std::string::npos) return std::nullopt;
    const std::string f0 = text.substr(0, first);
    const std::string f1 = text.substr(first + 1, second - first - 1);
    const std::string f2 = text.substr(second + 1);

    MapEntry e;
    e.code = f0.size() > 2 ? f0.substr(f0.size() - 2) : f0;
    e.address = (f1.rfind("0x", 0) == 0 || f1.rfind("0X", 0) == 0) ? f1.substr(2) : f1;
    e.ioType = f2.substr(0, 2);
    e.count = f2.size() > 2 ? f2.substr(2) : std::string();
    const int kind = TableKind(e.ioType, serverType);
    if (kind == 0) {
        e.deviceName = e.code;
        return e;
    }
    const DeviceLookup found = LookupDeviceCode(e.code, kind, static_cast<int>(DeviceTable(kind).size()) - 1);
    e.deviceName = found.name;
    e.radix = found.radix;
    e.known = found.found;
    return e;
}

bool LoadMapEntry(MapRow& row, const std::string& text, const std::string& serverType) {
    const std::optional<MapEntry> e = ParseMapEntry(text, serverType);
    if (!e || !IsIoType(e->ioType) || TableKind(e->ioType, serverType) == 0 || !e->known) return false;
    MapRow next = row;
    next.EntryDevCode = e->code;
    next.EntryDevCodeSet = true;
    next.cardType = e->ioType;
    SetDevTypeList(next, serverType);
    next.ChNo = e->count;
    const int p = PositionOf(DeviceList(next), e->deviceName);
    if (p < 0) return false;
    SelectDevice(next, serverType, p);
    (e->radix == "16" ? next.DevAdd16 : next.DevAdd10) = e->address;
    row = std::move(next);
    return true;
}

MapCheck BuildMapEntry(const MapRow& row) {
    if (!Passes(kChNoRow, row.ChNo)) return Fail(kMsgChNo);
    std::string address;
    // The address goes as typed: only the box's own check rewrites it.
    if (row.EntryRadix == "16") {
        if (!Passes(kDevAdd16Row, row.DevAdd16)) return Fail(kMsgDevAdd16);
        address = "0x" + row.DevAdd16;
    } else {
        if (!Passes(kDevAdd10Row, row.DevAdd10)) return Fail(kMsgDevAdd10);
        address = row.DevAdd10;
    }
    // The text goes to the card as it is: a code or type that is not one of
    // the tables' (from a damaged file) must not reach it.
    if (!IsDeviceCode(row.EntryDevCode) || !IsIoType(row.cardType)) return Fail(kMsgIncorrect);
    return {true, "", row.EntryDevCode + "," + address + "," + row.cardType + row.ChNo};
}

std::optional<int> EntryCount(const std::string& DeviceNo) {
    const auto n = DigitsValue(DeviceNo, kCountDigits);
    if (!n || *n > kMapRows) return std::nullopt;
    return static_cast<int>(*n);
}

MapCheck CheckChNo(const MapRows& rows, int i, const std::string& DeviceNo) {
    std::array<bool, kMapRows> all{};
    all.fill(true);
    return CheckChNo(rows, i, DeviceNo, all);
}

MapCheck CheckChNo(const MapRows& rows, int i, const std::string& DeviceNo, const std::array<bool, kMapRows>& counted) {
    if (i < 0 || i >= kMapRows) return {};
    const MapCheck box = CheckBox(kChNoRow, rows[static_cast<std::size_t>(i)].ChNo);
    if (!box.ok || box.text.empty()) return box;
    if (TotalChannels(rows, EntryCount(DeviceNo).value_or(0), &counted) > kMaxMapChannels) return Fail(kMsgTotal);
    return box;
}

MapCheck CheckDevAdd16(const std::string& text) { return CheckBox(kDevAdd16Row, text); }

MapCheck CheckDevAdd10(const std::string& text) { return CheckBox(kDevAdd10Row, text); }

MapCheck CheckMapEntries(const MapRows& rows, const std::string& DeviceNo) {
    std::array<bool, kMapRows> all{};
    all.fill(true);
    return CheckMapEntries(rows, DeviceNo, all);
}

MapCheck CheckMapEntries(const MapRows& rows, const std::string& DeviceNo, const std::array<bool, kMapRows>& checked) {
    const std::optional<int> n = EntryCount(DeviceNo);
    if (!n) return Fail(kMsgIncorrect);
    for (int r = 0; r < *n; ++r) {
        if (!checked[static_cast<std::size_t>(r)]) continue;
        const MapRow& row = rows[static_cast<std::size_t>(r)];
        bool good = IsIoType(row.cardType) && !row.ChNo.empty() && !DevTypeText(row).empty() &&
                    IsDeviceCode(row.EntryDevCode);
        if (row.EntryRadix == "10") good = good && !row.DevAdd10.empty();
        else if (row.EntryRadix == "16") good = good && !row.DevAdd16.empty();
        else good = false;
        if (!good) return Fail(kMsgIncorrect);
    }
    if (TotalChannels(rows, *n, &checked) > kMaxMapChannels) return Fail(kMsgTotal);
    return {};
}

void RefreshDeviceLists(MapRows& rows, const std::string& DeviceNo, const std::string& serverType) {
    const int n = EntryCount(DeviceNo).value_or(0);
    for (int r = 0; r < n; ++r) SetDevTypeList(rows[static_cast<std::size_t>(r)], serverType);
}

std::array<RowEnabling, kMapRows> ShowMapEntries(const MapRows& rows, int last) {
    std::array<RowEnabling, kMapRows> out{};
    for (int r = 0; r <= last && r < kMapRows; ++r) {
        const MapRow& row = rows[static_cast<std::size_t>(r)];
        RowEnabling& e = out[static_cast<std::size_t>(r)];
        e.cardType = e.ChNo = e.DevType = true;
        e.DevAdd10 = row.EntryRadix == "10";
        e.DevAdd16 = row.EntryRadix == "16";
    }
    return out;
}

std::string MapEntryItem(int i) { return std::to_string(10 + i); }

}  // namespace talvo::gateway
