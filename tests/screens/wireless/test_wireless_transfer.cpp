#include "screens/wireless/WirelessTransfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/screens/wireless/WirelessTestData.h"

namespace talvo::wireless {
namespace {

using C = WControl;
using M = WirelessModel;
using W = WirelessCheck;
using test::AllBut;
using test::AllValues;
using test::ChannelItems;
using test::Items;
using test::Join;
using test::ValidControls;

using List = std::vector<std::string>;

const List kOxfUploadBase = Join({{"00/56", "00/58", "00/57", "00/60", "00/61", "00/62", "00/63", "17/30"},
                                  ChannelItems(),
                                  {"17/41", "17/42", "17/43", "17/44", "17/45", "17/46", "17/47", "17/76", "17/48",
                                   "17/49", "17/50"}});
const List kNewItems = {"17/26", "17/27", "17/28", "17/29"};

List Without(List items, const std::string& item) {
    items.erase(std::remove(items.begin(), items.end(), item), items.end());
    return items;
}

TransferStep StepFor(M m, int level, C c, int channel = 0) {
    for (const auto& s : UploadSteps(m, level))
        if (s.control == c && s.channel == channel) return s;
    ADD_FAILURE() << "no upload step for " << Info(c).name;
    return {};
}

TEST(WirelessTransfer, UploadOrderPerModelAndLevel) {
    const List oxf2 = Join({kOxfUploadBase, {"00/55"}, kNewItems});
    const List ogBase = Join({{"00/56", "17/30"},
                              ChannelItems(),
                              {"17/41", "17/42", "17/43", "17/44", "17/45", "00/62", "00/63", "17/46", "17/47",
                               "17/76", "17/48", "17/49", "17/50"}});
    const struct {
        M m;
        int level;
        List want;
    } cases[] = {
        {M::OXF, 0, kOxfUploadBase},
        {M::OXF, 1, Join({kOxfUploadBase, {"00/55"}})},
        {M::OXF, 2, oxf2},
        {M::OXF1F, 0, Without(oxf2, "17/44")},
        {M::OG, 0, ogBase},
        {M::OG, 1, Join({ogBase, kNewItems})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(Traits(c.m).dialogName) + " level " + std::to_string(c.level));
        EXPECT_EQ(Items(UploadSteps(c.m, c.level)), c.want);
    }
}

TEST(WirelessTransfer, DownloadOrderPerModelAndLevel) {
    const List head = {"00/56", "00/58", "00/57", "00/60", "00/61", "00/62", "00/63"};
    const List tail = Join({{"17/30"},
                            ChannelItems(),
                            {"17/41", "17/42", "17/43", "17/44", "17/45", "17/46", "17/47", "17/48", "17/49",
                             "17/50"}});
    const List oxf2 = Join({head, {"00/55"}, tail, kNewItems});
    const List ogBase = Join({{"00/56", "17/30"},
                              ChannelItems(),
                              {"17/41", "17/42", "17/43", "17/44", "17/45", "00/62", "00/63", "17/46", "17/47",
                               "17/48", "17/49", "17/50"}});
    const struct {
        M m;
        int level;
        List want;
    } cases[] = {
        {M::OXF, 0, Join({head, tail})},
        {M::OXF, 1, Join({head, {"00/55"}, tail})},
        {M::OXF, 2, oxf2},
        {M::OXF1F, 0, Without(oxf2, "17/44")},
        {M::OG, 0, ogBase},
        {M::OG, 1, Join({ogBase, kNewItems})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(Traits(c.m).dialogName) + " level " + std::to_string(c.level));
        EXPECT_EQ(Items(DownloadSteps(c.m, c.level)), c.want);
        // The plan of a valid dialog writes exactly those items and leaves none.
        const DownloadPlan plan = PlanDownload(c.m, c.level, ValidControls(c.m), AllValues);
        ASSERT_TRUE(plan.ok());
        EXPECT_EQ(Items(plan.writes), c.want);
        EXPECT_TRUE(plan.left.empty());
    }
}

TEST(WirelessTransfer, DownloadChecksRunInTheModelsOrder) {
    std::vector<W> oxf = {W::CheckChannelList, W::CheckModAdd, W::CheckModTimer, W::CheckWirTimer, W::CheckWirPANID};
    oxf.insert(oxf.end(), 10, W::CheckWirChNo);
    oxf.insert(oxf.end(), {W::CheckWirShortAddress, W::CheckWirNetWork, W::CheckWirPassword, W::CheckWirTimerSend,
                           W::CheckShortAddress2});
    std::vector<W> og = {W::CheckChannelList, W::CheckModAdd, W::CheckWirPANID};
    og.insert(og.end(), 10, W::CheckWirChNo);
    og.insert(og.end(), {W::CheckWirShortAddress, W::CheckWirNetWork, W::CheckWirPassword, W::CheckWirTimerSend,
                         W::CheckModTimer, W::CheckWirTimer, W::CheckShortAddress2});
    std::vector<W> f1 = oxf;
    f1.erase(std::find(f1.begin(), f1.end(), W::CheckWirTimerSend));

    auto checks = [](M m) {
        std::vector<W> out;
        int channel = 0;
        for (const auto& c : DownloadChecks(m, 2)) {
            out.push_back(c.check);
            if (c.check == W::CheckWirChNo) {
                EXPECT_EQ(c.channel, channel++);
            }
        }
        return out;
    };
    EXPECT_EQ(checks(M::OXF), oxf);
    EXPECT_EQ(checks(M::OG), og);
    EXPECT_EQ(checks(M::OXF1F), f1);

    // Two bad fields: the first in the model's order is reported.
    WirelessControls w = ValidControls(M::OXF);
    w.Text(C::modTimer) = "5";
    w.Text(C::wirPANID) = "FFFF";
    EXPECT_EQ(FirstFailedCheck(M::OXF, 0, w, AllValues)->check, W::CheckModTimer);
    EXPECT_EQ(FirstFailedCheck(M::OG, 0, w, AllValues)->check, W::CheckWirPANID);
    // A bad text that holds no value is not sent, so not checked.
    EXPECT_EQ(FirstFailedCheck(M::OXF, 0, w, AllBut({{C::modTimer, 0}}))->check, W::CheckWirPANID);
    EXPECT_FALSE(FirstFailedCheck(M::OXF, 0, w, AllBut({{C::modTimer, 0}, {C::wirPANID, 0}})));
}

TEST(WirelessTransfer, WriteData) {
    WirelessControls w = ValidControls(M::OXF);
    w.Entry(C::List_W_Level) = 2;    // "  20mW"
    w.Entry(C::List_M_WEPort) = 1;   // "Wireless"
    w.Entry(C::List_M_Mode) = 1;     // "RELAY"
    w.Entry(C::NDTTSU) = 0;          // "1"
    w.Entry(C::List_W_Scale) = 3;
    w.Entry(C::List_M_Baudrate) = 2;
    w.Text(C::wirChNo, 3) = "07";
    w.Text(C::wirTimer) = "0100";
    w.Text(C::wirTimer_Send) = "0060";
    w.Text(C::wirNetWork) = " name ";
    w.KeyText = "0123456789ABCDEF0123456789ABCDEF";

    auto dataOf = [](M m, const WirelessControls& controls, const std::string& item) {
        const DownloadPlan plan = PlanDownload(m, 2, controls, AllValues);
        EXPECT_TRUE(plan.ok());
        for (const auto& wr : plan.writes)
            if (wr.item == item) return wr.data;
        return std::string("<none>");
    };
    EXPECT_EQ(dataOf(M::OXF, w, "45"), "3");
    EXPECT_EQ(dataOf(M::OXF, w, "61"), "3");
    EXPECT_EQ(dataOf(M::OXF1F, w, "61"), "9");
    EXPECT_EQ(dataOf(M::OXF, w, "55"), "2");
    EXPECT_EQ(dataOf(M::OXF, w, "29"), "1");
    EXPECT_EQ(dataOf(M::OXF, w, "46"), "3");
    EXPECT_EQ(dataOf(M::OXF, w, "57"), "2");
    EXPECT_EQ(dataOf(M::OXF, w, "34"), "07");
    EXPECT_EQ(dataOf(M::OG, w, "34"), "7");
    EXPECT_EQ(dataOf(M::OXF, w, "63"), "0100");
    EXPECT_EQ(dataOf(M::OG, w, "63"), "100");
    EXPECT_EQ(dataOf(M::OG, w, "44"), "60");
    EXPECT_EQ(dataOf(M::OXF, w, "42"), " name ");  // the name goes as it is
    EXPECT_EQ(dataOf(M::OXF, w, "43"), "0123456789ABCDEF0123456789ABCDEF");

    w.Entry(C::List_M_WEPort) = 0;
    EXPECT_EQ(dataOf(M::OXF, w, "61"), "1");
    EXPECT_EQ(dataOf(M::OXF1F, w, "61"), "5");
    EXPECT_FALSE(WireData(M::OXF, 2, StepFor(M::OXF, 2, C::MAC_Address), w, AllValues))
        << "MAC_Address is never written";
}

// A list without a selection has nothing to send: it is left as it is on the
// card and the rest is written. (Before, it stopped the whole download.)
TEST(WirelessTransfer, AnUnselectedListIsLeftAndTheRestWritten) {
    const List all = Items(DownloadSteps(M::OXF, 2));
    for (const C list : {C::List_M_DataMode, C::List_M_WEPort, C::List_M_Mode, C::List_W_Level, C::List_W_Scale,
                         C::SetDetour, C::NDTTSU}) {
        SCOPED_TRACE(Info(list).name);
        WirelessControls w = ValidControls(M::OXF);
        w.Entry(list) = -1;
        const DownloadPlan plan = PlanDownload(M::OXF, 2, w, AllValues);
        EXPECT_TRUE(plan.ok());
        ASSERT_EQ(plan.left.size(), 1u);
        EXPECT_EQ(plan.left[0].control, list);
        EXPECT_EQ(Items(plan.writes), Without(all, plan.left[0].group + "/" + plan.left[0].item));
    }
    // A list that does not take part at this level is neither written nor left.
    WirelessControls w = ValidControls(M::OXF);
    w.Entry(C::List_M_Mode) = -1;
    w.Entry(C::NDTTSU) = -1;
    EXPECT_TRUE(PlanDownload(M::OXF, 0, w, AllValues).left.empty());
    // The fourth scale entry does not exist below level 2.
    w.Entry(C::List_M_Mode) = 0;
    w.Entry(C::List_W_Scale) = 3;
    const DownloadPlan plan = PlanDownload(M::OXF, 1, w, AllValues);
    ASSERT_EQ(plan.left.size(), 1u);
    EXPECT_EQ(plan.left[0].control, C::List_W_Scale);
}

// Whatever holds no value, or an empty text, is left and named; the rest is
// written in its order, and no check of what is left stands in the way.
TEST(WirelessTransfer, WhatHoldsNoValueIsLeftAndTheRestWritten) {
    const struct {
        const char* what;
        M m;
        int level;
        C control;
        int channel;
        const char* text;  // put in the control's box first; nullptr: as ValidControls has it
        bool holds;
    } cases[] = {
        {"a box never read", M::OXF, 2, C::wirNetWork, 0, nullptr, false},
        {"an empty name read", M::OXF, 2, C::wirNetWork, 0, "", true},
        {"a name of blanks", M::OG, 1, C::wirNetWork, 0, "   ", true},
        {"an address the check would refuse", M::OXF, 2, C::modAdd, 0, "999", false},
        {"an empty address", M::OXF1F, 0, C::modAdd, 0, "", true},
        {"a channel refused", M::OG, 0, C::wirChNo, 3, "99", false},
        {"an empty channel", M::OXF, 2, C::wirChNo, 5, "", true},
        {"an empty channel sent as its number", M::OG, 1, C::wirChNo, 5, "", true},
        {"a timer never read", M::OXF, 0, C::wirTimer_Send, 0, "1", false},
        {"a hex box never read", M::OXF1F, 0, C::ShortAddress2, 0, "FFFF", false},
        {"a list never read", M::OXF, 2, C::List_W_Level, 0, nullptr, false},
        {"a list default", M::OG, 1, C::NDTTSU, 0, nullptr, false},
        {"the relay default", M::OXF1F, 0, C::List_M_Mode, 0, nullptr, false},
        {"the port never read", M::OXF, 1, C::List_M_WEPort, 0, nullptr, false},
        {"the default key", M::OXF, 2, C::wirPassword, 0, nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(Traits(c.m).dialogName) + ": " + c.what);
        WirelessControls w = ValidControls(c.m);
        if (c.text) w.Text(c.control, c.channel) = c.text;
        const HoldsValue holds = c.holds ? HoldsValue(AllValues) : AllBut({{c.control, c.channel}});
        const DownloadPlan plan = PlanDownload(c.m, c.level, w, holds);
        ASSERT_TRUE(plan.ok()) << plan.failedCheck->message;
        ASSERT_EQ(plan.left.size(), 1u);
        EXPECT_EQ(plan.left[0].control, c.control);
        EXPECT_EQ(plan.left[0].channel, c.channel);
        const std::string item = plan.left[0].group + "/" + plan.left[0].item;
        EXPECT_EQ(Items(plan.writes), Without(Items(DownloadSteps(c.m, c.level)), item));
    }

    // A dialog as the set-up leaves it writes nothing and leaves everything.
    for (const M m : {M::OXF, M::OXF1F, M::OG}) {
        SCOPED_TRACE(Traits(m).dialogName);
        const DownloadPlan fresh =
            PlanDownload(m, 2, InitialControls(m, SetupForVersion(m, 300)), [](C, int) { return false; });
        EXPECT_TRUE(fresh.ok());
        EXPECT_TRUE(fresh.writes.empty());
        EXPECT_EQ(Items(fresh.left), Items(DownloadSteps(m, 2)));
    }
}

// With the version unknown the items it decides are not written: they are
// left, since the card may have them.
TEST(WirelessTransfer, AnUnknownVersionLeavesTheItemsItDecides) {
    const struct {
        M m;
        List left;
    } cases[] = {
        {M::OXF, Join({{"00/55"}, kNewItems})},
        {M::OG, kNewItems},
        {M::OXF1F, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Traits(c.m).dialogName);
        const DownloadPlan plan = PlanDownload(c.m, 0, ValidControls(c.m), AllValues, false);
        EXPECT_TRUE(plan.ok());
        EXPECT_EQ(Items(plan.writes), Items(DownloadSteps(c.m, 0)));
        EXPECT_EQ(Items(plan.left), c.left);
        EXPECT_TRUE(PlanDownload(c.m, 0, ValidControls(c.m), AllValues, true).left.empty()) << "a version known";
    }
}

TEST(WirelessTransfer, ABadLateFieldWritesNothing) {
    WirelessControls w = ValidControls(M::OXF);
    w.Text(C::ShortAddress2) = "FFFE";
    const DownloadPlan plan = PlanDownload(M::OXF, 2, w, AllValues);
    ASSERT_TRUE(plan.failedCheck);
    EXPECT_EQ(plan.failedCheck->check, W::CheckShortAddress2);
    EXPECT_EQ(plan.failedCheck->message, "Please enter number 0000 - FFFD");
    EXPECT_EQ(plan.failedCheck->focus, C::ShortAddress2);
    EXPECT_TRUE(plan.writes.empty());

    WirelessControls zeros = ValidControls(M::OG);
    for (auto& box : zeros.wirChNo) box = "0";
    zeros.Text(C::modAdd) = "999";  // the channel list is checked first
    const DownloadPlan noChannel = PlanDownload(M::OG, 1, zeros, AllValues);
    ASSERT_TRUE(noChannel.failedCheck);
    EXPECT_EQ(noChannel.failedCheck->message, "Please enter channel No.");
    EXPECT_EQ(noChannel.failedCheck->focus, C::wirChNo);
    EXPECT_EQ(noChannel.failedCheck->channel, 0);
}

TEST(WirelessTransfer, KeyCheckLooksAtTheKeyNotTheMask) {
    WirelessControls w = ValidControls(M::OXF1F);
    w.KeyText = std::string(31, 'A');
    const DownloadPlan plan = PlanDownload(M::OXF1F, 0, w, AllValues);
    ASSERT_TRUE(plan.failedCheck);
    EXPECT_EQ(plan.failedCheck->message, "Please enter 32 characters(0-F)");
}

// ---- Upload replies ----

TEST(WirelessTransfer, UploadListConversions) {
    const struct {
        M m;
        int level;
        C list;
        std::string reply;
        int want;
    } cases[] = {
        {M::OXF, 2, C::List_W_Level, "1", 0},
        {M::OXF, 2, C::List_W_Level, "3", 2},
        {M::OXF, 2, C::List_W_Level, "01:2", 1},
        {M::OXF, 2, C::List_W_Level, "0", -1},
        {M::OXF, 2, C::List_W_Level, "4", -1},
        // No value in the reply: the entry shown stays (shown as not read).
        // Before, a failed read emptied the list.
        {M::OXF, 2, C::List_W_Level, "", 0},
        {M::OXF, 2, C::List_W_Level, "CNG", 0},
        {M::OXF, 2, C::List_W_Level, "NEEDLESS", 0},
        {M::OXF, 2, C::List_W_Level, "x", -1},
        {M::OXF, 2, C::List_W_Level, "-1", -1},
        {M::OXF, 2, C::List_W_Level, "99999999999999999999", -1},
        {M::OXF, 2, C::List_M_DataMode, "1", 1},
        {M::OXF, 2, C::List_M_DataMode, "2", -1},
        {M::OXF, 2, C::List_M_WEPort, "1", 0},
        {M::OXF, 2, C::List_M_WEPort, "3", 1},
        // Any number but the model's two port codes is the entry number itself.
        {M::OXF, 2, C::List_M_WEPort, "0", 0},
        {M::OXF, 2, C::List_M_WEPort, "2", -1},
        {M::OXF, 2, C::List_M_WEPort, "5", -1},
        {M::OXF1F, 0, C::List_M_WEPort, "5", 0},
        {M::OXF1F, 0, C::List_M_WEPort, "9", 1},
        {M::OXF1F, 0, C::List_M_WEPort, "0", 0},
        {M::OXF1F, 0, C::List_M_WEPort, "1", 1},
        {M::OXF1F, 0, C::List_M_WEPort, "3", -1},
        {M::OXF, 1, C::List_M_Mode, "SLAVE", 0},
        {M::OXF, 1, C::List_M_Mode, "RELAY", 1},
        {M::OXF, 1, C::List_M_Mode, "Relay", 1},
        {M::OXF, 1, C::List_M_Mode, "2", -1},
        {M::OXF, 1, C::List_M_Mode, "", 0},
        {M::OXF, 1, C::List_W_Scale, "3", -1},  // three entries below level 2
        {M::OXF, 2, C::List_W_Scale, "3", 3},
        {M::OG, 1, C::List_W_Scale, "3", 3},
        {M::OXF, 2, C::NDTTSU, "3", 2},
        {M::OXF, 2, C::NDTTSU, "0", -1},
        {M::OXF, 2, C::NSAQuality, "2", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(Traits(c.m).dialogName) + " " + Info(c.list).name + " \"" + c.reply + "\"");
        WirelessControls w = ValidControls(c.m);
        w.Entry(c.list) = 0;
        const bool taken = TakeUploadReply(c.m, c.level, StepFor(c.m, c.level, c.list), c.reply, w);
        EXPECT_EQ(w.Entry(c.list), c.want);
        EXPECT_EQ(taken, c.want >= 0 && !IsFailedRead(c.reply));
    }
}

TEST(WirelessTransfer, UploadTextsAndKey) {
    WirelessControls w = ValidControls(M::OXF);
    const TransferStep add = StepFor(M::OXF, 2, C::modAdd);
    EXPECT_TRUE(TakeUploadReply(M::OXF, 2, add, "01:12", w));
    EXPECT_EQ(w.Text(C::modAdd), "12");
    // A failed read keeps the box's text and gives no value; the dialog shows
    // it as not read. (The state itself is the dialog's, in the one store.)
    const TransferStep name = StepFor(M::OXF, 2, C::wirNetWork);
    for (const char* failed : {"", "CNG", "NEEDLESS"}) {
        SCOPED_TRACE(failed);
        WirelessControls read = ValidControls(M::OXF);
        read.Text(C::wirNetWork) = "net";
        EXPECT_FALSE(TakeUploadReply(M::OXF, 2, name, failed, read));
        EXPECT_EQ(read.Text(C::wirNetWork), "net");
        // Without a value it is left; the rest goes.
        const DownloadPlan refused = PlanDownload(M::OXF, 2, read, AllBut({{C::wirNetWork, 0}}));
        ASSERT_EQ(refused.left.size(), 1u);
        EXPECT_EQ(refused.left[0].control, C::wirNetWork);
        EXPECT_EQ(refused.writes.size(), DownloadSteps(M::OXF, 2).size() - 1);

        WirelessControls fresh = InitialControls(M::OXF, SetupForVersion(M::OXF, 300));
        EXPECT_FALSE(TakeUploadReply(M::OXF, 2, name, failed, fresh));
        EXPECT_EQ(fresh.Text(C::wirNetWork), "");
    }
    // An empty name the card gave is its name, a value: but an empty text is
    // never sent (its echo cannot be told from no answer).
    WirelessControls fresh = InitialControls(M::OXF, SetupForVersion(M::OXF, 300));
    EXPECT_TRUE(TakeUploadReply(M::OXF, 2, name, "42:", fresh));
    EXPECT_EQ(fresh.Text(C::wirNetWork), "");
    EXPECT_FALSE(WireData(M::OXF, 2, name, fresh, AllValues));
    EXPECT_TRUE(TakeUploadReply(M::OXF, 2, StepFor(M::OXF, 2, C::wirChNo, 9), "27", w));
    EXPECT_EQ(w.Text(C::wirChNo, 9), "27");
    EXPECT_TRUE(TakeUploadReply(M::OXF, 2, StepFor(M::OXF, 2, C::MAC_Address), "00:80:12", w));
    EXPECT_EQ(w.Text(C::MAC_Address), "80:12");

    const TransferStep key = StepFor(M::OXF, 2, C::wirPassword);
    const std::string good = "00112233445566778899AABBCCDDEEFF";
    EXPECT_TRUE(TakeUploadReply(M::OXF, 2, key, good, w));
    EXPECT_EQ(w.KeyText, good);
    for (const std::string& bad : {std::string(), std::string("CNG"), std::string("NEEDLESS"), good.substr(1),
                                  good + "0", std::string(32, '*'), std::string(31, '0') + "G"}) {
        EXPECT_FALSE(TakeUploadReply(M::OXF, 2, key, bad, w)) << bad;
        EXPECT_EQ(w.KeyText, good) << "kept after \"" << bad << "\"";
    }
    EXPECT_TRUE(TakeUploadReply(M::OXF, 2, key, "43:" + std::string(32, 'F'), w));
    EXPECT_EQ(w.KeyText, std::string(32, 'F'));
}

TEST(WirelessTransfer, UploadRunsEachRuleAfterItsItem) {
    WirelessControls w = ValidControls(M::OXF);
    TakeUploadReply(M::OXF, 2, StepFor(M::OXF, 2, C::List_W_flag), "0", w);
    EXPECT_FALSE(w.Enabled(C::modTimer));
    TakeUploadReply(M::OXF, 2, StepFor(M::OXF, 2, C::FixNetworkFlag), "1", w);
    EXPECT_TRUE(w.Enabled(C::ShortAddress2));
    EXPECT_TRUE(w.Enabled(C::SetDetour));

    w.Entry(C::List_M_DataMode) = 1;
    w.Entry(C::List_M_WEPort) = 0;
    TakeUploadReply(M::OXF, 2, StepFor(M::OXF, 2, C::List_M_Mode), "RELAY", w);
    EXPECT_EQ(ListEntryText(C::List_M_DataMode, w.Entry(C::List_M_DataMode)), "RTU");
    EXPECT_EQ(ListEntryText(C::List_M_WEPort, w.Entry(C::List_M_WEPort)), "Wireless");
    EXPECT_FALSE(w.Enabled(C::List_M_DataMode));
    EXPECT_FALSE(w.Enabled(C::List_M_WEPort));

    // The scale rule runs after item "29", with the scale read before it.
    TakeUploadReply(M::OXF, 2, StepFor(M::OXF, 2, C::List_W_Scale), "3", w);
    TakeUploadReply(M::OXF, 2, StepFor(M::OXF, 2, C::NetworkJointMode), "1", w);
    EXPECT_EQ(w.Entry(C::NetworkJointMode), 1);
    TakeUploadReply(M::OXF, 2, StepFor(M::OXF, 2, C::NDTTSU), "2", w);
    EXPECT_EQ(w.Entry(C::NetworkJointMode), 0);
    EXPECT_FALSE(w.Enabled(C::NetworkJointMode));
    EXPECT_TRUE(w.Enabled(C::movementMode));

    // Below level 2 the scale rule never runs: item "29" is not read.
    for (const auto& s : UploadSteps(M::OXF, 1))
        EXPECT_FALSE(s.ruleAfter == EnableRule::List_W_Scale) << s.item;
}

}  // namespace
}  // namespace talvo::wireless
