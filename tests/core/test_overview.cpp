// The overview rows as data: I/O kinds, names, layouts.
#include <gtest/gtest.h>

#include "core/Globals.h"
#include "core/Overview.h"
#include "tests/support/SimFixture.h"

using namespace talvo;

namespace {
struct OverviewTest : ::testing::Test {
    OverviewTest() {
        test::resetProgramState();
        Overview().reset();
    }
    ~OverviewTest() override { Overview().reset(); }
    OverviewRow& row(int n) { return *Overview().row(n); }
};

int countVisible(const OverviewCell* cells, int n) {
    int c = 0;
    for (int i = 0; i < n; ++i) c += cells[i].visible ? 1 : 0;
    return c;
}
}  // namespace

TEST_F(OverviewTest, IoKindNameAndColours) {
    struct Case {
        std::string code, status;
        std::uint32_t statusColor;
        std::string name;
        std::uint32_t nameColor;
    };
    const Case cases[] = {
        {"BW4", "IN", colors::Blue, "BW4", colors::Blue},
        {"KR8", "IN", colors::Blue, "KR8", colors::Blue},
        {"LQ4", "OUT", colors::DarkRed, "LQ4", colors::Blue},
        {"JH16", "OUT", colors::DarkRed, "JH16", colors::Blue},
        {"JOV16", "IN/OUT", colors::Black, "JOV16", colors::Blue},
        {"IK16", "IN/OUT", colors::Black, "IK16", colors::Blue},
        {"FS2", "IN/OUT", colors::Black, "FS2", colors::Blue},
        {"Q-5", "IN/OUT", colors::Black, "Q(5)", colors::Blue},
        {"GBH11232", "IN", colors::Blue, "GBH1123/D(2)", colors::Blue},
        {"HQ2", "", colors::SysWindowText, "HQ2", colors::Blue},
        {"NONE", "", colors::SysWindowText, "NONE", colors::SysWindowText},
        {"UNKNOWN", "", colors::SysWindowText, "UNKNOWN", colors::SysWindowText},
    };
    for (const Case& c : cases) {
        Overview().reset();
        SetCardIoKind(3, c.code);
        EXPECT_EQ(row(3).status.caption, c.status) << c.code;
        EXPECT_EQ(row(3).status.foreColor, c.statusColor) << c.code;
        EXPECT_EQ(row(3).type.caption, c.name) << c.code;
        EXPECT_EQ(row(3).type.foreColor, c.nameColor) << c.code;
    }
}

TEST_F(OverviewTest, KindOfAnUnlistedFamilyLeavesTheCellAsItWas) {
    SetCardIoKind(1, "BW4");
    SetCardIoKind(1, "HQ2");
    EXPECT_EQ(row(1).status.caption, "IN");
}

TEST_F(OverviewTest, PowerAndGatewayNames) {
    const std::pair<std::string, std::string> power[] = {
        {"GBH11232", "GBH1123/D(2)"}, {"GBH11231", "GBH1123/D(1)"}, {"GBH11234", "GBH11234"},
        {"GBH1123", "GBH1123"},       {"GBH112320", "GBH112320"},
    };
    for (const auto& [code, name] : power) EXPECT_EQ(GetPowerCardName(code), name) << code;
    EXPECT_EQ(GetPowerCardSubType("GBH11233"), 3);
    EXPECT_EQ(GetPowerCardSubType("GBH1123"), 0);

    const std::pair<std::string, std::string> gateway[] = {
        {"QX-5", "QX(5)"}, {"QX-B", "QX(11)"}, {"QX-A", "QX(10)"}, {"QX-G", "QX(16)"},
        {"QX-0", "QX-0"},  {"QX-H", "QX-H"},   {"QX-b", "QX-b"},   {"Q", "Q"},
        {"Q5", "(5)"},
    };
    for (const auto& [code, name] : gateway) EXPECT_EQ(GetGatewayCardName(code), name) << code;
}

TEST_F(OverviewTest, RowLayoutByFamily) {
    struct Case {
        std::string code;
        int lamps1to8, lamps9to16, lamps17to32, values, wide;
    };
    const Case cases[] = {
        {"JO8", 8, 0, 0, 0, 0},    {"JH8", 8, 0, 0, 0, 0},    {"JO16", 8, 8, 0, 0, 0}, {"KR4", 8, 8, 0, 0, 0},
        {"JO64", 8, 8, 16, 0, 0},  {"KR8", 8, 8, 16, 0, 0},   {"IK16", 8, 8, 16, 0, 0}, {"KE16", 0, 0, 0, 8, 0},
        {"NONE", 0, 0, 0, 8, 0},   {"BW4", 0, 0, 0, 8, 0},    {"QX(12)", 0, 0, 0, 8, 0},
        // Families whose own screens lay out the row: nothing until such a screen registers.
        {"JOV16", 0, 0, 0, 0, 0},  {"UJ8", 0, 0, 0, 0, 0},    {"IY8", 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        ShowChData("IY8", 2);  // start from another layout each time
        ShowChData(c.code, 2);
        const OverviewRow& r = row(2);
        EXPECT_EQ(countVisible(r.lamps.data(), 8), c.lamps1to8) << c.code;
        EXPECT_EQ(countVisible(r.lamps.data() + 8, 8), c.lamps9to16) << c.code;
        EXPECT_EQ(countVisible(r.lamps.data() + 16, 16), c.lamps17to32) << c.code;
        EXPECT_EQ(countVisible(r.values.data(), 8), c.values) << c.code;
        EXPECT_EQ(countVisible(r.wide.data(), 4), c.wide) << c.code;
    }
}

TEST_F(OverviewTest, SelfFilledRowFamilyOfAModelCode) {
    const struct {
        std::string code, family;
    } cases[] = {
        {"JOV16", "JOV16"}, {"JOV16-2", "JOV16"}, {"UJ8", "UJ8"}, {"IY8", "IY8"},
        {"JOV", ""},        {"IY16", ""},         {"IY4A", ""},   {"UJ", ""},
        {"BW4", ""},        {"", ""},             {"NONE", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(SelfFilledRowFamily(c.code), c.family) << c.code;
}

TEST_F(OverviewTest, RegisteredFamilyLaysOutItsOwnRow) {
    int called = 0;
    RegisterOverviewRowHandler("IY8", {[&](int slot) {
                                           ++called;
                                           for (auto& w : Overview().row(slot)->wide) w.visible = true;
                                       },
                                       nullptr});
    ShowChData("IY8", 4);
    EXPECT_EQ(called, 1);
    EXPECT_EQ(countVisible(row(4).wide.data(), 4), 4);
    ShowChData("BW4", 4);
    EXPECT_EQ(countVisible(row(4).wide.data(), 4), 0);
    EXPECT_EQ(countVisible(row(4).values.data(), 8), 8);
    RegisterOverviewRowHandler("IY8", {});
}

TEST_F(OverviewTest, ClearRowBlanksCaptionsAndFirstSixteenLamps) {
    OverviewRow& r = row(5);
    r.status.caption = "IN";
    r.type.caption = "BW4";
    r.values[7].caption = "12";
    r.wide[0].caption = "w";
    for (auto& l : r.lamps) l.backColor = colors::Red;
    r.lamps[0].visible = true;
    ClearOverviewRow(5);
    EXPECT_EQ(r.status.caption, "");
    EXPECT_EQ(r.type.caption, "");
    EXPECT_EQ(r.values[7].caption, "");
    EXPECT_EQ(r.wide[0].caption, "w");
    EXPECT_EQ(r.lamps[15].backColor, colors::SysMenu);
    EXPECT_EQ(r.lamps[16].backColor, colors::Red);
    EXPECT_TRUE(r.lamps[0].visible);
}

TEST_F(OverviewTest, ActivateNamesAndLaysOutRowsFromTheRecords) {
    G().CardRecords.get(1)->CardType = "JO8";
    G().CardRecords.get(2)->CardType = "QX-C";
    G().CardRecords.get(3)->CardType = "GBH11233";
    int changes = 0;
    Overview().setListener([&](int) { ++changes; });
    OverviewActivate();
    Overview().setListener(nullptr);
    EXPECT_EQ(row(1).type.caption, "JO8");
    EXPECT_EQ(countVisible(row(1).lamps.data(), 32), 8);
    EXPECT_EQ(row(2).type.caption, "QX(12)");
    EXPECT_EQ(countVisible(row(2).values.data(), 8), 8);
    EXPECT_EQ(row(3).type.caption, "GBH1123/D(3)");
    EXPECT_GE(changes, 16);
}

TEST_F(OverviewTest, PointColourOnlyForPointsOneToThirtyTwo) {
    SetOverviewPointColor(1, 32, colors::Red);
    SetOverviewPointColor(1, 33, colors::Red);
    SetOverviewPointColor(1, 0, colors::Red);
    SetOverviewPointColor(17, 1, colors::Red);
    EXPECT_EQ(row(1).lamps[31].backColor, colors::Red);
    EXPECT_EQ(row(1).lamps[0].backColor, colors::SysMenu);
}
