// The card-list upload and the monitoring pass against the simulator.
#include <gtest/gtest.h>

#include <QTimer>
#include <ctime>
#include <map>

#include "core/CardList.h"
#include "core/Connection.h"
#include "core/Globals.h"
#include "core/MainView.h"
#include "core/Overview.h"
#include "tests/support/SimFixture.h"

using namespace talvo;
using k6sim::Fault;
using k6sim::FaultAction;
using test::fault;
using test::silence;
using Frames = std::vector<std::string>;

namespace {

class CardListTest : public test::SimTest {
protected:
    CardListTest() {
        setMainView(&view);
        Overview().reset();
    }
    ~CardListTest() override {
        setMainView(nullptr);
        Overview().reset();
    }
    void connect() {
        ASSERT_EQ(OpenPortAndConnect(1), PortResult::Connected);
        sim.clearFrames();
    }
    OverviewRow& row(int n) { return *Overview().row(n); }
    MainViewState view;
};

}  // namespace

TEST_F(CardListTest, UploadReadsEverySlotIntoRecordsAndRows) {
    connect();
    ASSERT_TRUE(UploadCardList());
    Frames expected = {"G99", "G99", "G99", "G99", "G00", "I01", "DF", "G00", "I41", "D0"};
    for (int n = 1; n <= 16; ++n) {
        expected.insert(expected.end(), {"G00", "I" + std::to_string(n + 9)});
        if (n == 16) expected.insert(expected.end(), {"G00", "I41", "D16", "G00", "I04", "G00", "I41", "D0"});
    }
    EXPECT_EQ(sim.frames(), expected);
    EXPECT_EQ(G().CardRecords.get(1)->CardType, "BW4");
    EXPECT_EQ(G().CardRecords.get(14)->CardType, "KR8");
    EXPECT_EQ(G().CardRecords.get(15)->CardType, "NONE");
    EXPECT_EQ(G().CardRecords.get(16)->CardType, "GBH11231");
    EXPECT_EQ(row(1).status.caption, "IN");
    EXPECT_EQ(row(1).type.caption, "BW4");
    EXPECT_EQ(row(15).type.caption, "NONE");
    EXPECT_EQ(row(15).type.foreColor, colors::SysWindowText);
    EXPECT_EQ(row(15).status.caption, "");
    EXPECT_EQ(row(16).type.caption, "GBH1123/D(1)");
    EXPECT_TRUE(row(14).lamps[31].visible);
    EXPECT_EQ(view.progressMax, 16);
    EXPECT_EQ(view.progressValue, 16);
    EXPECT_EQ(view.progressCaption, "Uploading");
    EXPECT_FALSE(view.progressVisible);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CardListTest, SlotThatDoesNotAnswerStopsTheUpload) {
    connect();
    useFakeClock();
    G().CardRecords.get(3)->CardType = "OLD";
    G().CardRecords.get(4)->CardType = "OLD4";
    sim.addFault(silence("I12", 0));
    EXPECT_FALSE(UploadCardList());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Uploading incomplete");
    EXPECT_EQ(messages.shown[0].title, "Uploading");
    EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Stop);
    EXPECT_FALSE(view.progressVisible);
    EXPECT_EQ(G().CardRecords.get(2)->CardType, "BW8");
    EXPECT_EQ(G().CardRecords.get(3)->CardType, "OLD");
    EXPECT_EQ(G().CardRecords.get(4)->CardType, "OLD4");
    const Frames f = sim.frames();
    ASSERT_GE(f.size(), 2u);
    EXPECT_EQ(Frames(f.end() - 2, f.end()), (Frames{"G00", "I12"}));  // nothing after the failing read
    EXPECT_TRUE(G().Connected);  // the upload itself does not disconnect
}

TEST_F(CardListTest, FailureAtTheFirstSlotStillOpensAndSelectsButSendsNothingMore) {
    connect();
    useFakeClock();
    sim.addFault(silence("I10", 0));
    EXPECT_FALSE(UploadCardList());
    EXPECT_EQ(sim.frames(), (Frames{"G99", "G99", "G99", "G99", "G00", "I01", "DF", "G00", "I41", "D0", "G00", "I10",
                                    "G00", "I10", "G00", "I10", "G00", "I10"}));
    EXPECT_EQ(view.progressValue, 0);
    EXPECT_FALSE(view.progressVisible);
}

// A power monitor whose full model the card does not give (no answer, or a
// refusal) keeps the slot list's code: a refusal's text never becomes a model.
TEST_F(CardListTest, PowerMonitorWithoutFullModelKeepsTheSlotCode) {
    connect();
    for (const char* reply : {"DTMOUT", "CNG", "CNU"}) {
        SCOPED_TRACE(reply);
        sim.clearFaults();
        Fault f;
        f.frame = "I04";
        f.card = 16;
        f.action = FaultAction::Reply;
        f.text = reply;
        sim.addFault(f);
        ASSERT_TRUE(UploadCardList());
        EXPECT_EQ(G().CardRecords.get(16)->CardType, "GBH");
        EXPECT_EQ(row(16).type.caption, "GBH");
    }
}

// A slot code the communication card refuses is no model: the slot keeps the
// code it had (or none), and is not monitored, since which card sits there is
// not known; the upload goes on with the next slot.
TEST_F(CardListTest, ARefusedSlotCodeNeverBecomesACardType) {
    connect();
    for (const char* reply : {"CNG", "CNU"}) {
        SCOPED_TRACE(reply);
        sim.clearFaults();
        G().CardRecords.get(3)->CardType = "BW16";
        G().CardRecords.get(4)->CardType = "";
        for (const char* item : {"I12", "I13"}) {
            Fault f;
            f.frame = item;
            f.card = 0;
            f.action = FaultAction::Reply;
            f.text = reply;
            sim.addFault(f);
        }
        ASSERT_TRUE(UploadCardList());
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(G().CardRecords.get(3)->CardType, "BW16");
        EXPECT_EQ(row(3).type.caption, "BW16");
        EXPECT_EQ(G().CardRecords.get(4)->CardType, "");
        EXPECT_EQ(row(4).type.caption, "");
        EXPECT_EQ(G().CardRecords.get(5)->CardType, "HG8") << "the next slot is read";
        // Monitoring reads neither.
        sim.clearFrames();
        ASSERT_TRUE(ReadAllCardsCycData());
        for (const std::string& f : test::StampFrames(sim.frames()))
            EXPECT_TRUE(f.rfind("3|", 0) != 0 && f.rfind("4|", 0) != 0) << f;
    }
}

// One monitoring pass over a single card: what it reads and what the row shows.
TEST_F(CardListTest, MonitoringPassPerFamily) {
    struct Case {
        std::string code;
        std::map<std::pair<std::string, int>, std::string> items;  // (group, item) -> value
        Frames reads;                                             // frames after the select writes
        std::vector<std::string> values;                          // value cells 1..8
        std::string lamps;                                        // "1" red, "0" green, "-" not read
    };
    const std::string none8(8, '-');
    const Case cases[] = {
        {"BW4",
         {{{"00", 10}, "+012.5"}, {{"00", 11}, "-0.5"}, {{"00", 12}, "1.2.3"}, {{"00", 13}, "7"}},
         {"G00", "I10", "G00", "I11", "G00", "I12", "G00", "I13"},
         {"+0125", "-05", "12.3", "7", "", "", "", ""},
         std::string(32, '-')},
        {"BW16",
         {{{"00", 10}, "1"}, {{"00", 11}, "2"}, {{"00", 12}, "3"}, {{"00", 13}, "4"},
          {{"00", 14}, "5"}, {{"00", 15}, "6"}, {{"00", 16}, "7"}, {{"00", 17}, "8"}},
         {"G00", "I10", "G00", "I11", "G00", "I12", "G00", "I13", "G00", "I14", "G00", "I15", "G00", "I16", "G00", "I17"},
         {"1", "2", "3", "4", "5", "6", "7", "8"},
         std::string(32, '-')},
        {"BWT8",
         {{{"00", 10}, "1"}, {{"00", 11}, "2"}, {{"00", 12}, "3"}, {{"00", 13}, "4"},
          {{"00", 14}, "5"}, {{"00", 15}, "6"}, {{"00", 16}, "7"}, {{"00", 17}, "8"}},
         {"G00", "I10", "G00", "I11", "G00", "I12", "G00", "I13", "G00", "I14", "G00", "I15", "G00", "I16", "G00", "I17"},
         {"1", "2", "3", "4", "5", "6", "7", "8"},
         std::string(32, '-')},
        {"KR4", {{{"00", 10}, "8001"}}, {"G00", "I10"}, {"", "", "", "", "", "", "", ""},
         "1000000000000001" + std::string(16, '-')},
        {"KR8", {{{"00", 10}, "0001"}, {{"00", 11}, "8000"}}, {"G00", "I10", "G00", "I11"}, {},
         "1000000000000000" "0000000000000001"},
        {"JO8", {{{"00", 27}, "0081"}}, {"G00", "I27"}, {}, "10000001" + std::string(24, '-')},
        {"JO16", {{{"00", 27}, "FFFF"}}, {"G00", "I27"}, {}, std::string(16, '1') + std::string(16, '-')},
        {"JO64", {{{"01", 6}, "0001"}, {{"01", 7}, "0002"}}, {"G01", "I06", "G01", "I07"}, {},
         "1000000000000000" "0100000000000000"},
        {"IK16", {{{"00", 26}, "00FF8001"}}, {"G00", "I26", "G00", "I26"}, {},
         "1111111100000000" "1000000000000001"},
        {"GBH11231",
         {{{"01", 10}, "1.5"}, {{"01", 11}, "2"}, {{"01", 12}, "3"}, {{"01", 13}, "4"},
          {{"01", 14}, "5"}, {{"01", 15}, "6"}, {{"01", 16}, "7"}, {{"01", 17}, "8.25"}},
         {"G01", "I10", "G01", "I11", "G01", "I12", "G01", "I13", "G01", "I14", "G01", "I15", "G01", "I16", "G01", "I17"},
         {"15", "2", "3", "4", "5", "6", "7", "825"},
         std::string(32, '-')},
        {"EAJ2", {{{"00", 11}, "+012.5"}, {{"00", 12}, "2"}, {{"00", 14}, "3.5"}, {{"00", 15}, "4"}},
         {"G00", "I11", "G00", "I12", "G00", "I14", "G00", "I15"},
         {"+012.5", "2", "3.5", "4", "", "", "", ""},
         std::string(32, '-')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        Overview().reset();
        connect();
        for (int n = 1; n <= 16; ++n) G().CardRecords.get(n)->CardType = "NONE";
        G().CardRecords.get(5)->CardType = c.code;
        sim.setValue(5, "01", 1, "1");
        for (const auto& [key, value] : c.items) sim.setValue(5, key.first, key.second, value);
        sim.clearFrames();

        EXPECT_TRUE(ReadAllCardsCycData());
        Frames expected = {"G00", "I01", "DF", "G00", "I41", "D5", "G01", "I01", "D1"};
        expected.insert(expected.end(), c.reads.begin(), c.reads.end());
        EXPECT_EQ(sim.frames(), expected);
        for (std::size_t i = 0; i < c.values.size(); ++i) EXPECT_EQ(row(5).values[i].caption, c.values[i]) << i + 1;
        for (std::size_t k = 0; k < 32; ++k) {
            const std::uint32_t want = c.lamps[k] == '1' ? colors::Red : c.lamps[k] == '0' ? colors::Green : colors::SysMenu;
            EXPECT_EQ(row(5).lamps[k].backColor, want) << "lamp " << k + 1;
        }
        serial.close();
    }
}

TEST_F(CardListTest, EmptyAndNeverUploadedSlotsAreSkipped) {
    connect();
    for (int n = 1; n <= 16; ++n) G().CardRecords.get(n)->CardType = n % 2 ? "NONE" : "UNKNOWN";
    EXPECT_TRUE(ReadAllCardsCycData());
    EXPECT_TRUE(sim.frames().empty());
    // A slot whose type was never read is not known: no numbers for it.
    G().CardRecords.get(7)->CardType = "";
    EXPECT_TRUE(ReadAllCardsCycData());
    EXPECT_TRUE(sim.frames().empty());
}

TEST_F(CardListTest, PassAfterAPartFailedListUploadReadsOnlyTheSlotsItRead) {
    connect();
    ASSERT_TRUE(UploadCardList());  // every slot known from an earlier upload
    useFakeClock();
    sim.addFault(silence("I15", 0));  // slot 6's code is not answered this time
    EXPECT_FALSE(UploadCardList());
    sim.clearFaults();
    sim.clearFrames();
    EXPECT_TRUE(ReadAllCardsCycData());
    const Frames f = sim.frames();
    const auto selected = [&f](int n) {
        for (std::size_t i = 1; i < f.size(); ++i)
            if (f[i - 1] == "I41" && f[i] == "D" + std::to_string(n)) return true;
        return false;
    };
    for (int n = 1; n <= 16; ++n) {
        const bool read = selected(n);
        const bool hasCard = n != 15;  // the default station's empty slot
        EXPECT_EQ(read, n < 6 && hasCard) << "slot " << n;
    }
    EXPECT_EQ(row(7).values[0].caption, "");
}

TEST_F(CardListTest, GatewayValues) {
    connect();
    for (int n = 1; n <= 16; ++n) G().CardRecords.get(n)->CardType = "NONE";
    G().CardRecords.get(2)->CardType = "QX-2";
    sim.setValue(2, "01", 1, "1");
    sim.setValue(2, "00", 10, "12.5,3");
    sim.setValue(2, "00", 11, "7.5");  // no comma: the whole value
    for (int i = 12; i <= 17; ++i) sim.setValue(2, "00", i, "1");
    Fault cng;
    cng.frame = "I12";
    cng.card = 2;
    cng.action = FaultAction::Reply;
    cng.text = "CNG";
    sim.addFault(cng);
    EXPECT_TRUE(ReadAllCardsCycData());
    EXPECT_EQ(row(2).values[0].caption, "125");
    EXPECT_EQ(row(2).values[1].caption, "75");
    EXPECT_EQ(row(2).values[2].caption, "CNG");
}

TEST_F(CardListTest, TimeoutValueIsReReadAtMostTenTimes) {
    connect();
    for (int n = 1; n <= 16; ++n) G().CardRecords.get(n)->CardType = "NONE";
    G().CardRecords.get(1)->CardType = "YK4";
    sim.setValue(1, "01", 1, "1");
    sim.setValue(1, "00", 10, "TMOUT");
    sim.setValue(1, "00", 11, "1.5");
    sim.setValue(1, "00", 12, "2");
    sim.setValue(1, "00", 13, "3");
    EXPECT_TRUE(ReadAllCardsCycData());
    const Frames f = sim.frames();
    EXPECT_EQ(std::count(f.begin(), f.end(), "I10"), 11);
    EXPECT_EQ(row(1).values[0].caption, "");
    EXPECT_EQ(row(1).values[1].caption, "15");
}

TEST_F(CardListTest, RejectedLampWordPaintsNothing) {
    connect();
    for (int n = 1; n <= 16; ++n) G().CardRecords.get(n)->CardType = "NONE";
    G().CardRecords.get(1)->CardType = "JO16";
    sim.setValue(1, "01", 1, "1");
    for (const char* code : {"CNG", "CNU"}) {
        Fault f;
        f.frame = "I27";
        f.card = 1;
        f.action = FaultAction::Reply;
        f.text = code;
        sim.clearFaults();
        sim.addFault(f);
        EXPECT_TRUE(ReadAllCardsCycData()) << code;
        for (const auto& lamp : row(1).lamps) EXPECT_EQ(lamp.backColor, colors::SysMenu) << code;
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CardListTest, SilentLampWordShowsTheMessageOnceAndDisconnects) {
    connect();
    useFakeClock();
    for (int n = 1; n <= 16; ++n) G().CardRecords.get(n)->CardType = "NONE";
    G().CardRecords.get(3)->CardType = "KR4";
    G().CardRecords.get(4)->CardType = "BW4";
    sim.setValue(3, "01", 1, "1");
    sim.addFault(silence("I10", 3));
    EXPECT_FALSE(ReadAllCardsCycData());
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Uploading incomplete"}));
    EXPECT_FALSE(G().Connected);
    EXPECT_FALSE(serial.isOpen());
    for (int k = 0; k < 16; ++k) EXPECT_EQ(row(3).lamps[static_cast<std::size_t>(k)].backColor, colors::SysMenu);
    const Frames f = sim.frames();
    EXPECT_EQ(std::count(f.begin(), f.end(), "D4"), 0);  // slot 4 was never selected
}

TEST_F(CardListTest, CardThatStopsAnsweringEndsThePassToldOnceAndDisconnects) {
    connect();
    useFakeClock();
    for (int n = 1; n <= 16; ++n) G().CardRecords.get(n)->CardType = n <= 6 ? "BW4" : "NONE";
    Fault f;
    f.frame = "DF";
    f.action = FaultAction::Reply;
    f.text = "CNG";
    f.skip = 4;  // slots 1..4 select, slot 5's "F" is refused
    sim.addFault(f);
    EXPECT_FALSE(ReadAllCardsCycData());
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Uploading incomplete"}));
    EXPECT_EQ(messages.shown[0].title, "Uploading");
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(row(4).values[0].caption.empty(), false);
    EXPECT_EQ(row(5).values[0].caption, "");
}

TEST_F(CardListTest, ValueThatGetsNoAnswerEndsThePassOnceAndDisconnects) {
    connect();
    useFakeClock();
    for (int n = 1; n <= 16; ++n) G().CardRecords.get(n)->CardType = n <= 3 ? "BW4" : "NONE";
    sim.addFault(silence("I12", 2));
    EXPECT_FALSE(ReadAllCardsCycData());
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Uploading incomplete"}));
    EXPECT_FALSE(G().Connected);
    // The link is gone: nothing after the silent item was asked for.
    const Frames f = sim.frames();
    EXPECT_EQ(std::count(f.begin(), f.end(), "D3"), 0);
}

TEST_F(CardListTest, LossAfterAFailedListUploadIsNotToldTwice) {
    connect();
    useFakeClock();
    for (int n = 1; n <= 16; ++n) G().CardRecords.get(n)->CardType = n == 1 ? "BW4" : "NONE";
    sim.addFault(silence("", -1));
    EXPECT_FALSE(ReadAllCardsCycData({.lossAlreadyShown = true}));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(G().Connected);
}

TEST_F(CardListTest, StopEndsTheLoopAfterTheRunningPass) {
    connect();
    ASSERT_TRUE(UploadCardList());
    G().CycReadOn = true;
    QTimer::singleShot(100, [] { G().CycReadOn = false; });
    RunCycRead();
    EXPECT_FALSE(G().CycReadOn);
    EXPECT_TRUE(G().Connected);
}

TEST_F(CardListTest, MonitoringWithEveryslotEmptyDoesNotSpin) {
    connect();
    for (int n = 1; n <= 16; ++n) G().CardRecords.get(n)->CardType = "NONE";
    G().CycReadOn = true;
    QTimer::singleShot(400, [] { G().CycReadOn = false; });
    const std::clock_t cpu0 = std::clock();
    RunCycRead();
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpu0) / CLOCKS_PER_SEC;
    EXPECT_LT(cpuMs, 200.0);
    EXPECT_TRUE(sim.frames().empty());
}
