#include "screens/network/GatewayMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talvo::gateway {
namespace {

std::vector<std::string> Names(int kind) {
    std::vector<std::string> out;
    for (const auto& row : DeviceTable(kind)) out.push_back(row.name);
    return out;
}

TEST(GatewayMap, DeviceTables) {
    EXPECT_EQ(Names(1), (std::vector<std::string>{"SD", "D", "W", "TN", "STN", "CN", "SW", "Z", "R", "ZR", "RD"}));
    EXPECT_EQ(Names(2), (std::vector<std::string>{"SD", "D", "W", "TN", "STN", "CN", "SW", "Z", "R", "ZR"}));
    EXPECT_EQ(Names(3), (std::vector<std::string>{"SM", "X", "Y", "M", "L", "F", "V", "B", "TS", "TC", "LTS",
                                                   "LTC", "STS", "STC", "LSTS", "LSTC", "CS", "CC", "LCS", "LCC",
                                                   "SB"}));
    EXPECT_EQ(Names(4), (std::vector<std::string>{"SM", "X", "Y", "M", "L", "F", "V", "B", "S", "TS", "TC", "STS",
                                                   "STC", "CS", "CC", "SB", "LCS", "LCC"}));
    EXPECT_TRUE(DeviceTable(0).empty());
    EXPECT_TRUE(DeviceTable(5).empty());
    EXPECT_TRUE(DeviceTable(-1).empty());

    // A few telling rows: code and numbering.
    const struct {
        int kind;
        const char* name;
        const char* code;
        const char* radix;
    } rows[] = {
        {1, "W", "B4", "16"}, {1, "RD", "2C", "10"},  {1, "ZR", "B0", "16"}, {2, "Z", "CC", "10"},
        {3, "X", "9C", "16"}, {3, "LSTC", "58", "10"}, {3, "SB", "A1", "16"}, {4, "S", "98", "10"},
        {4, "LCC", "54", "10"},
    };
    for (const auto& r : rows) {
        const DeviceLookup d = LookupDeviceCode(r.code, r.kind, 99);
        EXPECT_TRUE(d.found) << r.code;
        EXPECT_EQ(d.name, r.name);
        EXPECT_EQ(d.radix, r.radix);
    }
}

TEST(GatewayMap, LookupAndKinds) {
    EXPECT_EQ(TableKind("AI", "32"), 1);
    EXPECT_EQ(TableKind("AO", "16"), 2);
    EXPECT_EQ(TableKind("DI", "32"), 3);
    EXPECT_EQ(TableKind("DO", "16"), 4);
    EXPECT_EQ(TableKind("AI", "8"), 0);
    EXPECT_EQ(TableKind("XX", "32"), 0);
    EXPECT_EQ(TableKind("", ""), 0);

    const DeviceLookup missing = LookupDeviceCode("2C", 2, 99);
    EXPECT_FALSE(missing.found);
    EXPECT_EQ(missing.name, "0");
    EXPECT_EQ(missing.radix, "10");
    // Only rows 0 to last are scanned.
    EXPECT_TRUE(LookupDeviceCode("A8", 1, 1).found);
    EXPECT_FALSE(LookupDeviceCode("B4", 1, 1).found);
    EXPECT_FALSE(LookupDeviceCode("A9", 1, -1).found);
}

TEST(GatewayMap, ParseMapEntry) {
    const struct {
        std::string text;
        std::string server;
        bool parses;
        std::string code, address, ioType, count, name, radix;
        bool known;
    } cases[] = {
        {"9C,0x1F,DI16", "32", true, "9C", "1F", "DI", "16", "X", "16", true},
        {"9C,0x1F,DI16", "16", true, "9C", "1F", "DI", "16", "X", "16", true},
        {"A8,100,AI8", "32", true, "A8", "100", "AI", "8", "D", "10", true},
        {"2C,5,AI1", "32", true, "2C", "5", "AI", "1", "RD", "10", true},
        {"2C,5,AI1", "16", true, "2C", "5", "AI", "1", "0", "10", false},
        {"00A8,0X10,AO2", "32", true, "A8", "10", "AO", "2", "D", "10", true},
        {"A8,1,XX2", "32", true, "A8", "1", "XX", "2", "A8", "", false},
        {"A8,1,AI2", "24", true, "A8", "1", "AI", "2", "A8", "", false},
        {"8,1,A", "32", true, "8", "1", "A", "", "8", "", false},
        {",,", "32", true, "", "", "", "", "", "", false},
        {"A8,100", "32", false, "", "", "", "", "", "", false},
        {"A8,100,AI8,1", "32", false, "", "", "", "", "", "", false},
        {"", "32", false, "", "", "", "", "", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\" under " + c.server);
        const auto e = ParseMapEntry(c.text, c.server);
        ASSERT_EQ(e.has_value(), c.parses);
        if (!e) continue;
        EXPECT_EQ(e->code, c.code);
        EXPECT_EQ(e->address, c.address);
        EXPECT_EQ(e->ioType, c.ioType);
        EXPECT_EQ(e->count, c.count);
        EXPECT_EQ(e->deviceName, c.name);
        EXPECT_EQ(e->radix, c.radix);
        EXPECT_EQ(e->known, c.known);
    }
}

TEST(GatewayMap, LoadMapEntryFillsTheRow) {
    MapRow row;
    ASSERT_TRUE(LoadMapEntry(row, "9C,0x1F,DI16", "32"));
    EXPECT_EQ(row.cardType, "DI");
    EXPECT_EQ(row.ChNo, "16");
    EXPECT_EQ(DevTypeText(row), "X");
    EXPECT_EQ(row.DevAdd16, "1F");
    EXPECT_EQ(row.DevAdd10, "");
    EXPECT_EQ(row.EntryDevCode, "9C");
    EXPECT_EQ(row.EntryRadix, "16");
    EXPECT_EQ(row.EntryListKind, 3);
    EXPECT_TRUE(row.DevAdd16Enabled);
    EXPECT_FALSE(row.DevAdd10Enabled);

    MapRow row16;
    ASSERT_TRUE(LoadMapEntry(row16, "9C,0x1F,DI16", "16"));
    EXPECT_EQ(DevTypeText(row16), "X");
    EXPECT_EQ(row16.EntryListKind, 4);

    // A second entry into a row that already holds the table keeps the list and moves the device.
    ASSERT_TRUE(LoadMapEntry(row, "90,200,DO3", "32"));
    EXPECT_EQ(DevTypeText(row), "M");
    EXPECT_EQ(row.EntryRadix, "10");
    EXPECT_EQ(row.DevAdd10, "200");
    EXPECT_EQ(row.DevAdd16, "1F") << "the other box keeps its text";
    EXPECT_TRUE(row.DevAdd10Enabled);

    MapRow rd;
    EXPECT_TRUE(LoadMapEntry(rd, "2C,5,AI1", "32"));
    EXPECT_EQ(DevTypeText(rd), "RD");
}

TEST(GatewayMap, AnEntryThatDoesNotLoadLeavesTheRow) {
    MapRow start;
    ASSERT_TRUE(LoadMapEntry(start, "A8,100,AI8", "32"));
    for (const auto& [text, server] : std::vector<std::pair<std::string, std::string>>{
             {"2C,5,AI1", "16"},     // RD is not in the 16-bit word table
             {"A8,100", "32"},       // one comma
             {"A8,1,2,AI8", "32"},   // three commas
             {"A8,1,XX8", "32"},     // no such I/O type
             {"A8,1,AI8", ""},       // no server type
             {"FF,1,AI8", "32"},     // no such code
             {"", "32"}}) {
        SCOPED_TRACE(text + " under \"" + server + "\"");
        MapRow row = start;
        EXPECT_FALSE(LoadMapEntry(row, text, server));
        EXPECT_EQ(row.cardType, "AI");
        EXPECT_EQ(row.DevAdd10, "100");
        EXPECT_EQ(DevTypeText(row), "D");
        EXPECT_EQ(row.EntryDevCode, "A8");
    }
}

TEST(GatewayMap, BuildMapEntry) {
    MapRow d;
    ASSERT_TRUE(LoadMapEntry(d, "A8,100,AI8", "32"));
    EXPECT_EQ(BuildMapEntry(d).text, "A8,100,AI8");
    MapRow x;
    ASSERT_TRUE(LoadMapEntry(x, "9C,0x1F,DI16", "32"));
    EXPECT_EQ(BuildMapEntry(x).text, "9C,0x1F,DI16");

    const struct {
        const char* what;
        MapRow row;
        std::string message;
    } cases[] = {
        {"count 0", [&] { MapRow r = d; r.ChNo = "0"; return r; }(), kMsgChNo},
        {"count 17", [&] { MapRow r = d; r.ChNo = "17"; return r; }(), kMsgChNo},
        {"count 1.5", [&] { MapRow r = d; r.ChNo = "1.5"; return r; }(), kMsgChNo},
        {"count +7", [&] { MapRow r = d; r.ChNo = "+7"; return r; }(), kMsgChNo},
        {"count empty", [&] { MapRow r = d; r.ChNo = ""; return r; }(), kMsgChNo},
        {"decimal empty", [&] { MapRow r = d; r.DevAdd10 = ""; return r; }(), kMsgDevAdd10},
        {"decimal 9 digits", [&] { MapRow r = d; r.DevAdd10 = "100000000"; return r; }(), kMsgDevAdd10},
        {"decimal -0", [&] { MapRow r = d; r.DevAdd10 = "-0"; return r; }(), kMsgDevAdd10},
        {"decimal 1e3", [&] { MapRow r = d; r.DevAdd10 = "1e3"; return r; }(), kMsgDevAdd10},
        {"hex 9 digits", [&] { MapRow r = x; r.DevAdd16 = "100000000"; return r; }(), kMsgDevAdd16},
        {"hex G", [&] { MapRow r = x; r.DevAdd16 = "1G"; return r; }(), kMsgDevAdd16},
        {"code with a comma", [&] { MapRow r = d; r.EntryDevCode = "A,"; return r; }(), kMsgIncorrect},
        {"no I/O type", [&] { MapRow r = d; r.cardType = ""; return r; }(), kMsgIncorrect},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const MapCheck m = BuildMapEntry(c.row);
        EXPECT_FALSE(m.ok);
        EXPECT_EQ(m.message, c.message);
    }
    MapRow edge = x;
    edge.DevAdd16 = "FFFFFFFF";
    edge.ChNo = "1";
    EXPECT_EQ(BuildMapEntry(edge).text, "9C,0xFFFFFFFF,DI1");
    edge = d;
    edge.DevAdd10 = "99999999";
    EXPECT_EQ(BuildMapEntry(edge).text, "A8,99999999,AI8");
}

TEST(GatewayMap, KindSwitch) {
    MapRow row;
    row.cardType = "AI";
    ASSERT_TRUE(SetDevTypeList(row, "32"));
    EXPECT_EQ(DevTypeText(row), "SD");
    EXPECT_EQ(row.EntryDevCode, "A9");
    SelectDevice(row, "32", 2);  // W, hexadecimal
    EXPECT_EQ(DevTypeText(row), "W");
    EXPECT_EQ(row.EntryDevCode, "B4");
    EXPECT_EQ(row.EntryRadix, "16");
    EXPECT_TRUE(row.DevAdd16Enabled);
    EXPECT_FALSE(row.DevAdd10Enabled);

    // AI to AO: same table, the device stays.
    row.cardType = "AO";
    EXPECT_EQ(CheckCardType(row, "32"), "");
    EXPECT_EQ(DevTypeText(row), "W");
    EXPECT_EQ(row.EntryDevCode, "B4");

    // AO to DI: the bit table, its first device SM and the decimal box.
    row.cardType = "DI";
    EXPECT_EQ(CheckCardType(row, "32"), "");
    EXPECT_EQ(DevTypeText(row), "SM");
    EXPECT_EQ(row.EntryDevCode, "91");
    EXPECT_EQ(row.EntryRadix, "10");
    EXPECT_TRUE(row.DevAdd10Enabled);
    EXPECT_FALSE(row.DevAdd16Enabled);

    // A server type change rebuilds the list on the next refresh.
    SelectDevice(row, "32", 7);  // B
    MapRows rows{};
    rows[0] = row;
    RefreshDeviceLists(rows, "1", "16");
    EXPECT_EQ(rows[0].EntryListKind, 4);
    EXPECT_EQ(DevTypeText(rows[0]), "SM");
    RefreshDeviceLists(rows, "1", "16");
    EXPECT_EQ(rows[0].EntryListKind, 4) << "no change, no rebuild";

    // No server type: numbering emptied, nothing else changes.
    MapRow none = row;
    EXPECT_TRUE(SetDevTypeList(none, "8"));
    EXPECT_EQ(none.EntryRadix, "");
    EXPECT_EQ(none.EntryListKind, row.EntryListKind);
    EXPECT_EQ(none.DevType, row.DevType);

    // Not an I/O type.
    MapRow bad = row;
    bad.cardType = "XX";
    EXPECT_EQ(CheckCardType(bad, "32"), kMsgCardType);
    EXPECT_EQ(bad.EntryRadix, "");
}

TEST(GatewayMap, SelectDeviceStaysInsideTheTables) {
    MapRow row;
    row.cardType = "AI";
    ASSERT_TRUE(SetDevTypeList(row, "32"));
    SelectDevice(row, "32", 10);  // RD, last of the 32-bit table
    EXPECT_EQ(row.EntryDevCode, "2C");
    // The server type changed without a refresh: position 10 is past the 16-bit table.
    SelectDevice(row, "16", 10);
    EXPECT_EQ(row.EntryRadix, "");
    EXPECT_EQ(row.EntryDevCode, "2C");
    SelectDevice(row, "32", 99);
    EXPECT_EQ(row.EntryRadix, "");
    EXPECT_EQ(row.DevType, 10);
    SelectDevice(row, "32", -1);
    EXPECT_EQ(row.DevType, 10);
}

TEST(GatewayMap, ChannelCountChecks) {
    MapRows rows{};
    for (int r = 0; r < 8; ++r) rows[static_cast<std::size_t>(r)].ChNo = "16";
    EXPECT_TRUE(CheckChNo(rows, 7, "8").ok);
    rows[8].ChNo = "1";
    EXPECT_TRUE(CheckChNo(rows, 8, "8").ok) << "row 8 is not in use";
    const MapCheck over = CheckChNo(rows, 8, "9");
    EXPECT_FALSE(over.ok);
    EXPECT_EQ(over.message, kMsgTotal);
    EXPECT_EQ(over.text, "") << "the box is emptied";

    const struct {
        std::string text;
        bool ok;
    } cases[] = {{"", true},    {"1", true},  {"16", true}, {"0", false}, {"17", false},
                 {"016", false}, {"1.5", false}, {"+7", false}, {"-0", false}, {"a", false}};
    for (const auto& c : cases) {
        MapRows one{};
        one[0].ChNo = c.text;
        const MapCheck m = CheckChNo(one, 0, "1");
        EXPECT_EQ(m.ok, c.ok) << c.text;
        if (!c.ok) {
            EXPECT_EQ(m.message, kMsgChNo) << c.text;
        }
    }
    // A DeviceNo that is no count does not break the check.
    EXPECT_TRUE(CheckChNo(rows, 0, "abc").ok);
    EXPECT_TRUE(CheckChNo(rows, 99, "8").ok);
}

TEST(GatewayMap, AddressChecks) {
    const struct {
        std::string text;
        bool ok;
        std::string result;
    } hex[] = {{"", true, ""},          {"0001", true, "1"},   {"0000", true, "0"},    {"ff", true, "FF"},
               {"FFFFFFFF", true, "FFFFFFFF"}, {"100000000", false, ""}, {"1G", false, ""}, {"0x1F", false, ""},
               {" 1", false, ""}};
    for (const auto& c : hex) {
        const MapCheck m = CheckDevAdd16(c.text);
        EXPECT_EQ(m.ok, c.ok) << c.text;
        EXPECT_EQ(m.text, c.result) << c.text;
        if (!c.ok) {
            EXPECT_EQ(m.message, kMsgDevAdd16);
        }
    }
    const struct {
        std::string text;
        bool ok;
    } dec[] = {{"", true},        {"0", true},     {"99999999", true}, {"100000000", false},
               {"1.5", false},    {"+7", false},   {"-0", false},      {"1e3", false}};
    for (const auto& c : dec) {
        const MapCheck m = CheckDevAdd10(c.text);
        EXPECT_EQ(m.ok, c.ok) << c.text;
        if (!c.ok) {
            EXPECT_EQ(m.message, kMsgDevAdd10);
            EXPECT_EQ(m.text, "");
        }
    }
}

MapRows FullRows(int n, const std::string& entry) {
    MapRows rows{};
    for (int r = 0; r < n; ++r) EXPECT_TRUE(LoadMapEntry(rows[static_cast<std::size_t>(r)], entry, "32"));
    return rows;
}

TEST(GatewayMap, CheckMapEntries) {
    EXPECT_TRUE(CheckMapEntries(MapRows{}, "0").ok);
    EXPECT_TRUE(CheckMapEntries(FullRows(8, "A8,100,AI16"), "8").ok);
    // From an upload or a file the total is checked here too.
    MapRows nine = FullRows(9, "A8,100,AI16");
    const MapCheck total = CheckMapEntries(nine, "9");
    EXPECT_FALSE(total.ok);
    EXPECT_EQ(total.message, kMsgTotal);
    nine[8].ChNo = "";
    EXPECT_EQ(CheckMapEntries(nine, "9").message, kMsgIncorrect);

    for (const char* count : {"", "abc", "17", "-1", "1.5", "+1", "100"}) {
        const MapCheck m = CheckMapEntries(FullRows(2, "A8,100,AI1"), count);
        EXPECT_FALSE(m.ok) << count;
        EXPECT_EQ(m.message, kMsgIncorrect) << count;
    }

    const MapRows good = FullRows(3, "9C,0x1F,DI4");
    const struct {
        const char* what;
        void (*spoil)(MapRow&);
    } cases[] = {
        {"no I/O type", [](MapRow& r) { r.cardType = ""; }},
        {"no count", [](MapRow& r) { r.ChNo = ""; }},
        {"no device", [](MapRow& r) { r.DevType = -1; }},
        {"no hex address", [](MapRow& r) { r.DevAdd16 = ""; }},
        {"no numbering", [](MapRow& r) { r.EntryRadix = ""; }},
        {"odd numbering", [](MapRow& r) { r.EntryRadix = "8"; }},
        {"decimal numbering without its address", [](MapRow& r) { r.EntryRadix = "10"; }},
        {"no code", [](MapRow& r) { r.EntryDevCode = ""; }},
    };
    for (const auto& c : cases) {
        MapRows rows = good;
        c.spoil(rows[2]);
        EXPECT_EQ(CheckMapEntries(rows, "3").message, kMsgIncorrect) << c.what;
        EXPECT_TRUE(CheckMapEntries(rows, "2").ok) << c.what << ": row 3 is not in use";
    }
}

TEST(GatewayMap, RowEnabling) {
    MapRows rows = FullRows(5, "9C,0x1F,DI4");
    rows[1] = MapRow{};
    ASSERT_TRUE(LoadMapEntry(rows[1], "A8,100,AI8", "32"));
    rows[2].EntryRadix = "";
    const auto e = ShowMapEntries(rows, 2);
    EXPECT_TRUE(e[0].cardType && e[0].ChNo && e[0].DevType);
    EXPECT_TRUE(e[0].DevAdd16);
    EXPECT_FALSE(e[0].DevAdd10);
    EXPECT_TRUE(e[1].DevAdd10);
    EXPECT_FALSE(e[1].DevAdd16);
    EXPECT_FALSE(e[2].DevAdd10 || e[2].DevAdd16);
    EXPECT_TRUE(e[2].cardType);
    for (std::size_t r = 3; r < kMapRows; ++r)
        EXPECT_FALSE(e[r].cardType || e[r].ChNo || e[r].DevType || e[r].DevAdd16 || e[r].DevAdd10) << r;
    for (const auto& row : ShowMapEntries(rows, -1)) EXPECT_FALSE(row.cardType);
    for (const auto& row : ShowMapEntries(rows, 99)) EXPECT_TRUE(row.cardType);
    EXPECT_EQ(rows[4].ChNo, "4") << "texts are kept";
}

TEST(GatewayMap, EntryCountAndItems) {
    EXPECT_EQ(EntryCount("0"), 0);
    EXPECT_EQ(EntryCount("16"), 16);
    EXPECT_EQ(EntryCount("07"), 7);
    for (const char* bad : {"", "17", "-1", "1.5", "+7", " 1", "016", "x"}) EXPECT_FALSE(EntryCount(bad)) << bad;
    EXPECT_EQ(MapEntryItem(0), "10");
    EXPECT_EQ(MapEntryItem(15), "25");
}

}  // namespace
}  // namespace talvo::gateway

namespace talvo::gateway {
namespace {

// Every cut of an entry text and every character put in its place either
// loads whole or leaves the row as it was; a loaded row builds an entry or
// fails its checks with a message, never anything else.
TEST(GatewayMap, SpoiltEntriesLoadWholeOrNotAtAll) {
    MapRow start;
    ASSERT_TRUE(LoadMapEntry(start, "B4,0x10,AO4", "32"));
    const std::string spoilers = std::string(",x0F \"\xFF", 7) + std::string(1, '\0');
    for (const char* server : {"16", "32", ""}) {
        for (const std::string good : {"9C,0x1F,DI16", "A8,100,AI8", "2C,5,AI1"}) {
            std::vector<std::string> texts;
            for (std::size_t n = 0; n <= good.size(); ++n) texts.push_back(good.substr(0, n));
            for (std::size_t i = 0; i < good.size(); ++i)
                for (const char c : spoilers) {
                    std::string t = good;
                    t[i] = c;
                    texts.push_back(t);
                }
            for (const std::string& t : texts) {
                MapRow row = start;
                if (LoadMapEntry(row, t, server)) {
                    const MapCheck built = BuildMapEntry(row);
                    EXPECT_TRUE(built.ok || !built.message.empty()) << t;
                    EXPECT_TRUE(IsIoType(row.cardType)) << t;
                    EXPECT_FALSE(DevTypeText(row).empty()) << t;
                } else {
                    EXPECT_EQ(row.cardType, start.cardType) << t;
                    EXPECT_EQ(row.ChNo, start.ChNo) << t;
                    EXPECT_EQ(row.DevType, start.DevType) << t;
                    EXPECT_EQ(row.DevAdd16, start.DevAdd16) << t;
                    EXPECT_EQ(row.EntryDevCode, start.EntryDevCode) << t;
                    EXPECT_EQ(row.EntryListKind, start.EntryListKind) << t;
                }
            }
        }
    }
}

}  // namespace
}  // namespace talvo::gateway
