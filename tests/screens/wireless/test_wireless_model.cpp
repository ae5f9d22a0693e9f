#include "screens/wireless/WirelessModel.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace talvo::wireless {
namespace {

using C = WControl;
using M = WirelessModel;

TEST(WirelessModel, ControlTableIsInEnumOrderWithItsStationAddresses) {
    for (int i = 0; i < kControlCount; ++i)
        EXPECT_EQ(ControlIndex(Controls()[static_cast<std::size_t>(i)].control), i) << i;
    const struct {
        C control;
        const char* group;
        const char* item;
        KeyFilterKind filter;
    } rows[] = {
        {C::modAdd, "00", "56", KeyFilterKind::Digits},
        {C::List_M_DataMode, "00", "58", KeyFilterKind::None},
        {C::List_M_Baudrate, "00", "57", KeyFilterKind::None},
        {C::List_M_Mode, "00", "55", KeyFilterKind::None},
        {C::wirPANID, "17", "30", KeyFilterKind::Hex},
        {C::wirNetWork, "17", "42", KeyFilterKind::Name},
        {C::wirPassword, "17", "43", KeyFilterKind::Hex},
        {C::MAC_Address, "17", "76", KeyFilterKind::None},
        {C::ShortAddress2, "17", "49", KeyFilterKind::Hex},
        {C::NDTTSU, "17", "29", KeyFilterKind::None},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(Info(r.control).name);
        EXPECT_STREQ(Info(r.control).group, r.group);
        EXPECT_STREQ(Info(r.control).item, r.item);
        EXPECT_EQ(Info(r.control).filter, r.filter);
    }
    EXPECT_EQ(ItemOf(C::wirChNo, 0), "31");
    EXPECT_EQ(ItemOf(C::wirChNo, 9), "40");
    EXPECT_EQ(ChannelCaption(0), "Ch. No. 01");
    EXPECT_EQ(ChannelCaption(9), "Ch. No. 10");
}

TEST(WirelessModel, ModelDifferences) {
    EXPECT_STREQ(Traits(M::OXF).heading, "OXFx Settings");
    EXPECT_STREQ(Traits(M::OXF1F).heading, "OXF1F Settings");
    EXPECT_STREQ(Traits(M::OG).heading, "OGx Settings");
    EXPECT_STREQ(Traits(M::OXF).modbusFrame, "Modbus ");
    EXPECT_STREQ(Traits(M::OG).modbusFrame, "Modbus");

    for (const C c : {C::List_M_DataMode, C::List_M_Baudrate, C::List_M_Parity, C::List_M_WEPort, C::List_M_Mode}) {
        EXPECT_TRUE(HasControl(M::OXF, c));
        EXPECT_TRUE(HasControl(M::OXF1F, c));
        EXPECT_FALSE(HasControl(M::OG, c));
    }
    EXPECT_TRUE(HasControl(M::OXF, C::wirTimer_Send));
    EXPECT_FALSE(HasControl(M::OXF1F, C::wirTimer_Send));
    EXPECT_TRUE(HasControl(M::OG, C::wirTimer_Send));
    EXPECT_TRUE(HasControl(M::OG, C::MAC_Address));

    EXPECT_EQ(Traits(M::OXF).channelMax, 28);
    EXPECT_EQ(Traits(M::OXF1F).channelMax, 43);
    EXPECT_EQ(Traits(M::OG).channelMax, 28);
    EXPECT_TRUE(Traits(M::OXF).readsVersionAtSetup);
    EXPECT_FALSE(Traits(M::OXF1F).readsVersionAtSetup);
    EXPECT_TRUE(Traits(M::OG).readsVersionAtSetup);
    EXPECT_FALSE(Traits(M::OXF1F).downloadReadsVersion);
    EXPECT_TRUE(Traits(M::OXF).flagRulesOnChange);
    EXPECT_FALSE(Traits(M::OG).flagRulesOnChange);
}

TEST(WirelessModel, LevelGates) {
    const struct {
        M m;
        int level;
        bool options;
        bool mode;
    } cases[] = {
        {M::OXF, 0, false, false}, {M::OXF, 1, false, true}, {M::OXF, 2, true, true},
        {M::OXF1F, 0, true, true}, {M::OG, 0, false, false}, {M::OG, 1, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(Traits(c.m).dialogName) + " level " + std::to_string(c.level));
        EXPECT_EQ(HasNewFirmwareOptions(c.m, c.level), c.options);
        EXPECT_EQ(TransfersModeItem(c.m, c.level), c.mode);
        EXPECT_EQ(ListEntryCount(c.m, c.level, C::List_W_Scale), c.options ? 4 : 3);
    }
}

TEST(WirelessModel, FirmwareVersionValue) {
    const struct {
        std::string reply;
        std::optional<double> want;
    } cases[] = {
        {"3.00", 300},       {"2.14", 214},  {"2.13", 213},       {"01:2.07", 207}, {"2.14a", 214},
        {" 3.00", 300},      {"3.0", 30},    {"1.2.3", 12.3},     {"", std::nullopt},
        {"CNG", std::nullopt}, {"NEEDLESS", std::nullopt}, {"V3.00", std::nullopt}, {"xx:", std::nullopt},
        {"-1", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(FirmwareVersionValue(c.reply), c.want) << "reply: " << c.reply;
}

TEST(WirelessModel, FirmwareBandsAtTheirEdges) {
    const struct {
        M m;
        std::optional<double> v;
        int level;
        int code;
        std::optional<bool> mode;
    } cases[] = {
        {M::OXF, std::nullopt, 0, 0, std::nullopt},
        {M::OXF, 0, 0, 2, false},
        {M::OXF, 213, 0, 2, false},
        {M::OXF, 214, 1, 3, true},
        {M::OXF, 299, 1, 3, true},
        {M::OXF, 300, 2, 4, true},
        {M::OXF, 999, 2, 4, true},
        {M::OXF1F, std::nullopt, 0, 0, true},
        {M::OXF1F, 300, 0, 0, true},
        {M::OG, std::nullopt, 0, 0, std::nullopt},
        {M::OG, 206, 0, 0, std::nullopt},
        {M::OG, 207, 0, 1, std::nullopt},
        {M::OG, 299, 0, 1, std::nullopt},
        {M::OG, 300, 1, 2, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(Traits(c.m).dialogName) + " v=" + (c.v ? std::to_string(*c.v) : "none"));
        const FirmwareSetup s = SetupForVersion(c.m, c.v);
        EXPECT_EQ(s.FirmwareLevel, c.level);
        EXPECT_EQ(s.FileFormatCode, c.code);
        EXPECT_EQ(s.modeEnabled, c.mode);
    }
}

TEST(WirelessModel, ListsHoldTheirEntriesInOrder) {
    EXPECT_EQ(ListEntries(C::List_M_Baudrate),
              (std::vector<std::string>{"38.4kbps", "19.2kbps", "9600bps", "4800bps"}));
    EXPECT_EQ(ListEntries(C::List_M_Mode), (std::vector<std::string>{"SLAVE", "RELAY"}));
    EXPECT_EQ(ListEntries(C::SetDetour), (std::vector<std::string>{"Disable", "Enable"}));
    EXPECT_EQ(ListEntries(C::List_W_Level), (std::vector<std::string>{"0.16mW", "   1mW", "  20mW"}));
    for (const auto& power : ListEntries(C::List_W_Level)) EXPECT_EQ(power.size(), 6u);
    EXPECT_EQ(ListEntries(C::NSAQuality)[1], "Changing frequency\xA5" "delaytime middle");
    EXPECT_TRUE(ListEntries(C::modAdd).empty());

    EXPECT_EQ(FindListEntry(C::List_W_Level, "   1mW", 3), 1);
    EXPECT_EQ(FindListEntry(C::List_W_Level, "1mW", 3), -1);
    EXPECT_EQ(FindListEntry(C::List_W_Scale, "Fixed + Low speed moving", 3), -1);
    EXPECT_EQ(FindListEntry(C::List_W_Scale, "Fixed + Low speed moving", 4), 3);
    EXPECT_EQ(FindListEntry(C::List_W_Scale, "1 - 30", 99), 0);
    EXPECT_EQ(FindListEntry(C::modAdd, "", 5), -1);
    EXPECT_EQ(ListEntryText(C::NDTTSU, 2), "3");
    EXPECT_EQ(ListEntryText(C::NDTTSU, 3), "");
    EXPECT_EQ(ListEntryText(C::NDTTSU, -1), "");
}

TEST(WirelessModel, DisplayTextShowsTheMiddleDot) {
    EXPECT_EQ(DisplayUtf8("Changing frequency\xA5" "delaytime large"),
              "Changing frequency\xEF\xBD\xA5" "delaytime large");
    EXPECT_EQ(DisplayUtf8("  20mW"), "  20mW");
    EXPECT_EQ(DisplayUtf8("\xE9"), "\xC3\xA9");  // any other byte is its Latin-1 letter
}

TEST(WirelessModel, InitialControls) {
    const WirelessControls oxf0 = InitialControls(M::OXF, SetupForVersion(M::OXF, 213));
    EXPECT_EQ(oxf0.KeyText, "7C1E9A0B4D62F8355E0A9C17B24D6F83");
    EXPECT_EQ(oxf0.Entry(C::List_M_Mode), 0) << "SLAVE is selected, not left as a loose text";
    EXPECT_FALSE(oxf0.Enabled(C::List_M_Mode));
    EXPECT_EQ(oxf0.Entry(C::movementMode), 0);
    EXPECT_EQ(oxf0.Entry(C::NSAQuality), 0);
    EXPECT_EQ(oxf0.Entry(C::NetworkJointMode), 0);
    EXPECT_EQ(ListEntryText(C::NDTTSU, oxf0.Entry(C::NDTTSU)), "3");
    EXPECT_EQ(oxf0.Entry(C::List_W_Scale), -1);
    EXPECT_FALSE(oxf0.Enabled(C::movementMode));
    EXPECT_FALSE(oxf0.Enabled(C::NDTTSU));
    EXPECT_TRUE(oxf0.Enabled(C::modTimer));

    const WirelessControls oxfNoReply = InitialControls(M::OXF, SetupForVersion(M::OXF, std::nullopt));
    EXPECT_TRUE(oxfNoReply.Enabled(C::List_M_Mode)) << "left as it was";

    const WirelessControls oxf2 = InitialControls(M::OXF, SetupForVersion(M::OXF, 300));
    EXPECT_TRUE(oxf2.Enabled(C::List_M_Mode));
    EXPECT_TRUE(oxf2.Enabled(C::NSAQuality));

    const WirelessControls f1 = InitialControls(M::OXF1F, SetupForVersion(M::OXF1F, std::nullopt));
    EXPECT_TRUE(f1.Enabled(C::List_M_Mode));
    EXPECT_TRUE(f1.Enabled(C::NetworkJointMode));

    const WirelessControls og1 = InitialControls(M::OG, SetupForVersion(M::OG, 300));
    EXPECT_EQ(og1.Entry(C::List_M_Mode), -1);
    EXPECT_TRUE(og1.Enabled(C::movementMode));
}

TEST(WirelessModel, ChannelIndexNeverLeavesTheBoxes) {
    WirelessControls w;
    w.Text(C::wirChNo, 9) = "9";
    EXPECT_EQ(w.Text(C::wirChNo, 10), "9");
    w.Text(C::wirChNo, -3) = "1";
    EXPECT_EQ(w.wirChNo[0], "1");
}

}  // namespace
}  // namespace talvo::wireless
