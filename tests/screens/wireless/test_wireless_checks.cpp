#include "screens/wireless/WirelessChecks.h"

#include <gtest/gtest.h>

#include <string>

#include "screens/wireless/WirelessRules.h"
#include "tests/screens/wireless/WirelessTestData.h"

namespace talvo::wireless {
namespace {

using C = WControl;
using M = WirelessModel;
using W = WirelessCheck;

struct CheckCase {
    M model;
    W check;
    std::string text;
    std::string message;  // "" = passes
};

void RunCases(const std::vector<CheckCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(Traits(c.model).dialogName) + " " + Spec(c.model, c.check).name + " \"" + c.text +
                     "\"");
        EXPECT_EQ(CheckText(c.model, c.check, c.text), c.message);
    }
}

TEST(WirelessChecks, WholeNumberFieldsAtTheirEdges) {
    const std::string add = "Please enter number 1 - 247";
    const std::string poll = "Please enter number 10 - 600 (100msec)";
    const std::string timer = "Please enter number 0 - 32767";
    const std::string send = "Please enter number 10 - 3600";
    RunCases({
        {M::OXF, W::CheckModAdd, "1", ""},
        {M::OXF, W::CheckModAdd, "247", ""},
        {M::OXF, W::CheckModAdd, "248", add},
        {M::OXF, W::CheckModAdd, "0", add},
        {M::OXF, W::CheckModAdd, "", add},
        {M::OXF, W::CheckModAdd, "0012", add},  // four characters
        {M::OXF, W::CheckModAdd, "012", ""},
        // Whole numbers in digits only: what a paste could bring is refused.
        {M::OXF, W::CheckModAdd, "1.5", add},
        {M::OXF, W::CheckModAdd, "+7", add},
        {M::OXF, W::CheckModAdd, "-0", add},
        {M::OXF, W::CheckModAdd, "1e2", add},
        {M::OXF, W::CheckModAdd, " 12", add},
        {M::OG, W::CheckModTimer, "10", ""},
        {M::OG, W::CheckModTimer, "9", poll},
        {M::OG, W::CheckModTimer, "600", ""},
        {M::OG, W::CheckModTimer, "601", poll},
        {M::OXF1F, W::CheckWirTimer, "0", ""},
        {M::OXF1F, W::CheckWirTimer, "32767", ""},
        {M::OXF1F, W::CheckWirTimer, "32768", timer},
        {M::OXF1F, W::CheckWirTimer, "000001", timer},
        {M::OXF, W::CheckWirTimerSend, "10", ""},
        {M::OXF, W::CheckWirTimerSend, "3600", ""},
        {M::OXF, W::CheckWirTimerSend, "3601", send},
        {M::OXF, W::CheckWirTimerSend, "9", send},
    });
}

TEST(WirelessChecks, ChannelRangeIsTheModels) {
    RunCases({
        {M::OXF, W::CheckWirChNo, "28", ""},
        {M::OXF, W::CheckWirChNo, "29", "Please enter number 0 - 28"},
        {M::OXF, W::CheckWirChNo, "43", "Please enter number 0 - 28"},
        {M::OG, W::CheckWirChNo, "43", "Please enter number 0 - 28"},
        {M::OXF1F, W::CheckWirChNo, "43", ""},
        {M::OXF1F, W::CheckWirChNo, "44", "Please enter number 0 - 43"},
        {M::OXF1F, W::CheckWirChNo, "100", "Please enter number 0 - 43"},
        {M::OXF, W::CheckWirChNo, "100", "Please enter number 0 - 28"},
        {M::OXF, W::CheckWirChNo, "0", ""},
        {M::OXF, W::CheckWirChNo, "07", ""},
        {M::OXF, W::CheckWirChNo, "", "Please enter number 0 - 28"},
    });
}

TEST(WirelessChecks, HexFields) {
    const std::string pan = "Please enter number 0000 - FFFE";
    const std::string shortAddr = "Please enter number 0000 - FFFD";
    RunCases({
        {M::OXF, W::CheckWirPANID, "FFFE", ""},
        {M::OXF, W::CheckWirPANID, "FFFF", pan},
        {M::OXF, W::CheckWirPANID, "FFF", pan},
        {M::OXF, W::CheckWirPANID, "0000", ""},
        {M::OXF, W::CheckWirPANID, "00000", pan},
        {M::OXF, W::CheckWirPANID, "12G4", pan},
        {M::OXF, W::CheckWirPANID, "fffe", ""},  // a hexadecimal number either way
        {M::OXF, W::CheckWirPANID, "ffff", pan},
        {M::OG, W::CheckWirShortAddress, "FFFD", ""},
        {M::OG, W::CheckWirShortAddress, "FFFE", shortAddr},
        {M::OG, W::CheckShortAddress2, "FFFD", ""},
        {M::OG, W::CheckShortAddress2, "FFFE", shortAddr},
        {M::OG, W::CheckShortAddress2, " FFF", shortAddr},
    });
}

TEST(WirelessChecks, NetworkName) {
    const std::string msg = "Please enter less than 16 characters";
    RunCases({
        {M::OXF, W::CheckWirNetWork, "", ""},
        {M::OXF, W::CheckWirNetWork, std::string(16, 'a'), ""},
        {M::OXF, W::CheckWirNetWork, std::string(17, 'a'), msg},
        {M::OXF, W::CheckWirNetWork, "Plant_A-1.x@y z", ""},
        // Characters the key filter keeps out but a paste could bring in.
        {M::OXF, W::CheckWirNetWork, "a\"b", msg},
        {M::OXF, W::CheckWirNetWork, "a\rb", msg},
        {M::OXF, W::CheckWirNetWork, "a\nb", msg},
        {M::OXF, W::CheckWirNetWork, "a,b", msg},
        {M::OXF, W::CheckWirNetWork, "caf\xE9", msg},
    });
}

TEST(WirelessChecks, KeyNeedsExactly32HexDigits) {
    const std::string msg = "Please enter 32 characters(0-F)";
    const std::string key = "7C1E9A0B4D62F8355E0A9C17B24D6F83";
    RunCases({
        {M::OXF, W::CheckWirPassword, key, ""},
        {M::OXF, W::CheckWirPassword, key.substr(0, 31), msg},
        {M::OXF, W::CheckWirPassword, key + "0", msg},
        {M::OXF, W::CheckWirPassword, std::string(32, '*'), msg},  // the mask is no key
        {M::OXF, W::CheckWirPassword, std::string(31, '0') + "G", msg},
        {M::OXF, W::CheckWirPassword, "", msg},
    });
}

TEST(WirelessChecks, RunCheckLooksAtWhatTheDialogHolds) {
    using test::AllValues;
    WirelessControls w = test::ValidControls(M::OXF);
    // The password box shows the mask; the key itself is checked.
    EXPECT_FALSE(RunCheck(M::OXF, W::CheckWirPassword, 0, w, AllValues));
    w.KeyText = "123";
    const auto key = RunCheck(M::OXF, W::CheckWirPassword, 0, w, AllValues);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->message, "Please enter 32 characters(0-F)");
    EXPECT_EQ(key->focus, C::wirPassword);

    w.Text(C::wirChNo, 4) = "29";
    const auto ch = RunCheck(M::OXF, W::CheckWirChNo, 4, w, AllValues);
    ASSERT_TRUE(ch);
    EXPECT_EQ(ch->focus, C::wirChNo);
    EXPECT_EQ(ch->channel, 4);
    EXPECT_FALSE(RunCheck(M::OXF1F, W::CheckWirChNo, 4, w, AllValues));

    // What holds no value is not sent, so not checked; nor is an empty text.
    EXPECT_FALSE(RunCheck(M::OXF, W::CheckWirPassword, 0, w, test::AllBut({{C::wirPassword, 0}})));
    EXPECT_FALSE(RunCheck(M::OXF, W::CheckWirChNo, 4, w, test::AllBut({{C::wirChNo, 4}})));
    EXPECT_TRUE(RunCheck(M::OXF, W::CheckWirChNo, 4, w, test::AllBut({{C::wirChNo, 3}}))) << "another channel";
    for (const char* empty : {"", "   "}) {
        w.Text(C::modAdd) = empty;
        EXPECT_FALSE(RunCheck(M::OXF, W::CheckModAdd, 0, w, AllValues)) << "\"" << empty << "\"";
    }
    w.Text(C::modAdd) = "0";
    EXPECT_TRUE(RunCheck(M::OXF, W::CheckModAdd, 0, w, AllValues));
}

TEST(WirelessChecks, ChannelListOverTheBoxesThatAreSent) {
    using test::AllValues;
    WirelessControls w;
    for (auto& box : w.wirChNo) box = "0";
    EXPECT_EQ(CheckChannelList(w, AllValues), "Please enter channel No.");
    const auto failure = RunCheck(M::OG, W::CheckChannelList, 0, w, AllValues);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->focus, C::wirChNo);
    EXPECT_EQ(failure->channel, 0);

    w.wirChNo[7] = "5";
    EXPECT_EQ(CheckChannelList(w, AllValues), "");
    // Non-numeric boxes count as 0; their own check reports them.
    for (const char* other : {"x", "-", "00"}) {
        for (auto& box : w.wirChNo) box = other;
        EXPECT_EQ(CheckChannelList(w, AllValues), "Please enter channel No.") << "\"" << other << "\"";
    }
    w.wirChNo[9] = "99";
    EXPECT_EQ(CheckChannelList(w, AllValues), "");

    // Empty boxes are not sent: ten of them send nothing, and nothing fails.
    // (Before, an empty box counted as 0 and ten of them failed the list.)
    for (const char* empty : {"", " "}) {
        for (auto& box : w.wirChNo) box = empty;
        EXPECT_EQ(CheckChannelList(w, AllValues), "") << "\"" << empty << "\"";
        w.wirChNo[2] = "0";
        EXPECT_EQ(CheckChannelList(w, AllValues), "Please enter channel No.") << "a 0 sent beside them";
    }
    // Boxes without a value are not sent either: what the card holds there is
    // not known, so only the boxes sent decide.
    for (auto& box : w.wirChNo) box = "0";
    w.wirChNo[6] = "9";
    EXPECT_EQ(CheckChannelList(w, test::AllBut({{C::wirChNo, 6}})), "Please enter channel No.");
    EXPECT_EQ(CheckChannelList(w, [](C, int ch) { return ch == 6; }), "");
    EXPECT_EQ(CheckChannelList(w, [](C, int) { return false; }), "") << "nothing sent, nothing checked";
}

TEST(WirelessChecks, EachBoxHasItsCheck) {
    EXPECT_EQ(CheckOf(C::modAdd), W::CheckModAdd);
    EXPECT_EQ(CheckOf(C::wirChNo), W::CheckWirChNo);
    EXPECT_EQ(CheckOf(C::wirPassword), W::CheckWirPassword);
    EXPECT_EQ(CheckOf(C::ShortAddress2), W::CheckShortAddress2);
    EXPECT_FALSE(CheckOf(C::MAC_Address));
    EXPECT_FALSE(CheckOf(C::List_W_Level));
    EXPECT_FALSE(HasCheck(M::OXF1F, W::CheckWirTimerSend));
    EXPECT_TRUE(HasCheck(M::OG, W::CheckWirTimerSend));
}

// ---- Enable rules ----

struct RuleCase {
    EnableRule rule;
    C source;
    int entry;
    std::vector<std::pair<C, bool>> enabled;
    std::vector<std::pair<C, int>> selected;
};

TEST(WirelessRules, TableRows) {
    const RuleCase cases[] = {
        {EnableRule::List_W_flag, C::List_W_flag, 0, {{C::modTimer, false}}, {}},
        {EnableRule::List_W_flag, C::List_W_flag, 1, {{C::modTimer, true}}, {}},
        {EnableRule::List_W_flag, C::List_W_flag, -1, {{C::modTimer, true}}, {}},
        {EnableRule::FixNetworkFlag, C::FixNetworkFlag, 0, {{C::ShortAddress2, false}, {C::SetDetour, false}}, {}},
        {EnableRule::FixNetworkFlag, C::FixNetworkFlag, 1, {{C::ShortAddress2, true}, {C::SetDetour, true}}, {}},
        {EnableRule::List_M_Mode, C::List_M_Mode, 1,
         {{C::List_M_DataMode, false}, {C::List_M_WEPort, false}},
         {{C::List_M_DataMode, 0}, {C::List_M_WEPort, 1}}},
        // SLAVE unlocks both and keeps their values.
        {EnableRule::List_M_Mode, C::List_M_Mode, 0,
         {{C::List_M_DataMode, true}, {C::List_M_WEPort, true}},
         {{C::List_M_DataMode, 1}, {C::List_M_WEPort, 0}}},
        {EnableRule::List_W_Scale, C::List_W_Scale, 3,
         {{C::movementMode, true}, {C::NetworkJointMode, false}},
         {{C::movementMode, 1}, {C::NetworkJointMode, 0}}},
        {EnableRule::List_W_Scale, C::List_W_Scale, 0,
         {{C::movementMode, false}, {C::NetworkJointMode, true}},
         {{C::movementMode, 0}, {C::NetworkJointMode, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(Info(c.source).name) + " entry " + std::to_string(c.entry));
        WirelessControls w;
        // Start from the opposite of what the rule should give.
        for (const auto& [control, on] : c.enabled) w.Enabled(control) = !on;
        w.Entry(C::List_M_DataMode) = 1;
        w.Entry(C::List_M_WEPort) = 0;
        w.Entry(C::movementMode) = 1;
        w.Entry(C::NetworkJointMode) = 1;
        w.Entry(c.source) = c.entry;
        ApplyEnableRule(c.rule, w);
        for (const auto& [control, on] : c.enabled) EXPECT_EQ(w.Enabled(control), on) << Info(control).name;
        for (const auto& [control, entry] : c.selected) EXPECT_EQ(w.Entry(control), entry) << Info(control).name;
    }
}

TEST(WirelessRules, WhichRuleALiveSelectionRuns) {
    EXPECT_EQ(RuleOnSelect(M::OXF, 0, C::List_W_flag), EnableRule::List_W_flag);
    EXPECT_EQ(RuleOnSelect(M::OG, 0, C::FixNetworkFlag), EnableRule::FixNetworkFlag);
    EXPECT_EQ(RuleOnSelect(M::OXF, 0, C::List_M_Mode), EnableRule::List_M_Mode);
    EXPECT_FALSE(RuleOnSelect(M::OG, 1, C::List_M_Mode));
    // The scale rule only where the new-firmware options exist.
    EXPECT_FALSE(RuleOnSelect(M::OXF, 1, C::List_W_Scale));
    EXPECT_EQ(RuleOnSelect(M::OXF, 2, C::List_W_Scale), EnableRule::List_W_Scale);
    EXPECT_FALSE(RuleOnSelect(M::OG, 0, C::List_W_Scale));
    EXPECT_EQ(RuleOnSelect(M::OG, 1, C::List_W_Scale), EnableRule::List_W_Scale);
    EXPECT_EQ(RuleOnSelect(M::OXF1F, 0, C::List_W_Scale), EnableRule::List_W_Scale);
    EXPECT_FALSE(RuleOnSelect(M::OXF, 2, C::SetDetour));
}

}  // namespace
}  // namespace talvo::wireless
