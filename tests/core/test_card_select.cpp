// Which card the station has selected, as the line keeps it, and the stops owed
// to an actuator: against the simulator's default station on a real line.
#include <gtest/gtest.h>

#include "core/CardList.h"
#include "core/Connection.h"
#include "core/DipSwitch.h"
#include "core/Globals.h"
#include "core/LineTurn.h"
#include "core/MainView.h"
#include "core/OwedStops.h"
#include "core/Protocol.h"
#include "core/Overview.h"
#include "core/TextHelpers.h"
#include "tests/support/SimFixture.h"

using namespace talvo;
using k6sim::FaultAction;
using Frames = std::vector<std::string>;

namespace {

class CardSelectTest : public test::SimTest {
protected:
    CardSelectTest() { setMainView(&view); }
    ~CardSelectTest() override { setMainView(nullptr); }
    void SetUp() override {
        test::SimTest::SetUp();
        useFakeClock();
        G().Connected = true;
    }
    std::size_t count(const std::string& frame) const {
        const Frames f = sim.frames();
        return static_cast<std::size_t>(std::count(f.begin(), f.end(), frame));
    }
    Frames stamped() const { return test::StampFrames(sim.frames()); }
    MainViewState view;
};

}  // namespace

// A routine holding the line for a card selects it first unless the line knows
// the station has it selected; once that select failed, nothing more goes out.
TEST_F(CardSelectTest, AHoldSelectsItsCardOnlyWhenNotKnownAndSendsNothingAfterAFailedSelect) {
    EXPECT_EQ(SelectedCard(), kCardUnknown);
    {
        LineHold hold(3);
        EXPECT_FALSE(ReadItem(3, "00", "40").empty());
    }
    EXPECT_EQ(sim.frames(), (Frames{"G00", "I01", "DF", "G00", "I41", "D3", "G00", "I40"}));
    EXPECT_EQ(SelectedCard(), 3);

    // Known selected: nothing extra.
    sim.clearFrames();
    {
        LineHold hold(3);
        ReadItem(3, "00", "40");
    }
    EXPECT_EQ(sim.frames(), (Frames{"G00", "I40"}));

    // Another card selected by a routine in between: the next one for card 3 selects again.
    sim.clearFrames();
    {
        LineHold other(4);
        ASSERT_TRUE(SelectCard(4));
    }
    {
        LineHold hold(3);
        WriteItem(3, "01", "01", "1");
    }
    EXPECT_EQ(stamped(), (Frames{"?|00/01:F", "4|00/41:4", "4|00/01:F", "3|00/41:3", "3|01/01:1"}));

    // A select the station does not answer: unknown, and the routine stops there.
    sim.clearFrames();
    sim.addFault(test::silence("D5", -1));
    {
        LineHold hold(5);
        EXPECT_EQ(ReadItem(3, "00", "40"), "");
        EXPECT_EQ(WriteItem(3, "01", "01", "1"), "");
        EXPECT_TRUE(HeldCardFailed());
    }
    EXPECT_EQ(SelectedCard(), kCardUnknown);
    EXPECT_EQ(count("D5"), 4u);
    EXPECT_EQ(count("I40"), 0u);
    EXPECT_EQ(count("D1"), 0u);
    // The next routine is a new one.
    sim.clearFaults();
    LineHold next(5);
    EXPECT_FALSE(ReadItem(3, "00", "40").empty());
}

// Every routine that starts with the select stops when it is not answered:
// nothing it reads afterwards could be told from another card's.
TEST_F(CardSelectTest, EveryRoutineStopsAtAFailedSelect) {
    struct Case {
        const char* name;
        std::function<bool()> run;
        Frames notSent;
        bool tells;  // the routine tells itself (the DIP-switch screen tells for its read)
    };
    DipSwitchModel dip;
    const Case cases[] = {
        {"connect", [] { return ConnectDevice(); }, {"G01", "I04"}, true},
        {"card list", [] { return UploadCardList(); }, {"I10", "I11"}, true},
        {"DIP switches", [&] { return ReadDipSwitches(dip); }, {"I10", "I39"}, false},
        {"monitoring pass", [] { return ReadAllCardsCycData({}); }, {"G01", "I10"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        G().Connected = true;
        G().CardRecords.get(1)->CardType = "BW4";
        G().CardTypeUnread.fill(false);
        sim.clearFrames();
        sim.clearFaults();
        messages.shown.clear();
        sim.addFault(test::silence("DF", -1));
        EXPECT_FALSE(c.run());
        for (const std::string& f : c.notSent) EXPECT_EQ(count(f), 0u) << f;
        EXPECT_EQ(count("DF"), 4u);
        EXPECT_EQ(count("D1"), 0u) << "nothing written to the card selected last";
        EXPECT_EQ(!messages.shown.empty(), c.tells);
        if (!serial.isOpen()) {
            ASSERT_TRUE(openPort());
        }
    }
}

// A stop the card does not answer costs each turn of the line one attempt at
// most, and only every few seconds; the routines in between are served.
TEST_F(CardSelectTest, ASilentActuatorCostsATurnAtMostOneAttemptEveryFewSeconds) {
    int tries = 0;
    OweStop(15, "EAJ2", [&] {
        ++tries;
        LineHold h(15);
        return SelectCard(15, 0);
    });
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "The actuator on slot 15 could not be stopped: its card did not answer. The stop is sent again before "
              "anything else.");
    EXPECT_EQ(view.stopsOwedText, "Stop owed: slot 15");
    sim.addFault(test::silence("D15", -1));
    const auto turn = [] {
        LineHold hold(3);
        ReadItem(3, "00", "40");
    };
    turn();  // registered just now: not due yet
    EXPECT_EQ(tries, 0);
    fakeClock.now += kOwedStopRetryMs;
    sim.clearFrames();
    turn();
    EXPECT_EQ(tries, 1);
    EXPECT_EQ(count("D15"), 1u) << "one attempt";
    EXPECT_EQ(count("I40"), 1u) << "the turn's own routine is served";
    turn();
    EXPECT_EQ(tries, 1) << "not again within the interval";
    EXPECT_TRUE(StopOwed(15));
    EXPECT_EQ(messages.shown.size(), 1u) << "told once";
    // Answered at last: no longer owed nor shown.
    sim.clearFaults();
    fakeClock.now += kOwedStopRetryMs;
    turn();
    EXPECT_FALSE(StopsOwed());
    EXPECT_EQ(view.stopsOwedText, "");
}

// After the link went down a stop confirms its card before it goes out: the
// same model in its slot lets it go; another card, or none, drops it and says
// so. The slot is known from a card list read, or the stop reads it itself as
// soon as the link is up (no Upload needed).
TEST_F(CardSelectTest, AfterAReconnectAStopGoesOnlyToTheSameActuatorInItsSlot) {
    struct Case {
        std::string inSlot;  // what the station holds in slot 6
        bool byCardList;     // known from the card list, else read by the stop itself
        bool sent;
        std::string told;
    };
    const std::string other =
        "The actuator formerly on slot 6 was not stopped by the program: the slot now holds another card (HG8A).";
    const std::string none =
        "The actuator formerly on slot 6 was not stopped by the program: the slot now holds no card.";
    const Case cases[] = {
        {"EAJ2", true, true, ""},     {"HG8A", true, false, other},  {"UNKNOWN", true, false, none},
        {"EAJ2", false, true, ""},    {"HG8A", false, false, other}, {"UNKNOWN", false, false, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inSlot + (c.byCardList ? " by the card list" : " read by the stop"));
        k6sim::Station station = sim.station();
        station.slot(6).code = c.inSlot == "UNKNOWN" ? "" : c.inSlot;
        sim.setStation(station);
        ForgetOwedStops();
        bool sent = false;
        OweStop(6, "EAJ2", [&] { return sent = true; });
        messages.shown.clear();
        OwedStopsAwaitCardList();
        G().Connected = false;
        sim.clearFrames();
        EXPECT_FALSE(SendOwedStops());
        EXPECT_FALSE(sent) << "nothing while the link is down";
        EXPECT_TRUE(sim.frames().empty());
        G().Connected = true;
        if (c.byCardList) {
            OwedStopCardListed(5, "EAJ2");  // another slot changes nothing
            OwedStopCardListed(6, c.inSlot == "UNKNOWN" ? "NONE" : c.inSlot);
        }
        sim.clearFrames();
        SendOwedStops();
        if (!c.byCardList) {
            // The slot's model, read from the communication card, one attempt a frame.
            const Frames f = sim.frames();
            EXPECT_EQ(std::count(f.begin(), f.end(), "I15"), 1) << "slot 6 read once";
        }
        EXPECT_EQ(sent, c.sent);
        EXPECT_FALSE(StopsOwed());
        if (c.told.empty()) {
            EXPECT_TRUE(messages.shown.empty());
        } else {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].text, c.told);
        }
    }
}

// The card list hands each slot's model to the owed stops, wherever it is read
// and whether or not the link went down in between: a stop whose slot now holds
// another card is dropped and told, and never reaches that card.
TEST_F(CardSelectTest, TheCardListUploadConfirmsOrDropsOwedStops) {
    for (const bool afterAReconnect : {true, false}) {
        SCOPED_TRACE(afterAReconnect ? "after a reconnect" : "on the same link");
        ForgetOwedStops();
        bool sent = false;
        ASSERT_TRUE(SelectCard("0"));
        const std::string model = TextAfterColon(ReadItem(3, "00", "10"));  // slot 1 of the default station
        ASSERT_FALSE(model.empty());
        OweStop(1, model + "X", [&] { return sent = true; });
        if (afterAReconnect) OwedStopsAwaitCardList();
        messages.shown.clear();
        ASSERT_TRUE(UploadCardList());
        EXPECT_FALSE(StopsOwed());
        EXPECT_FALSE(sent);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "The actuator formerly on slot 1 was not stopped by the program: the slot "
                                          "now holds another card (" + model + ").");
        // Later turns send nothing for it.
        fakeClock.now += 3 * kOwedStopRetryMs;
        {
            LineHold turn(3);
            ReadItem(3, "00", "40");
        }
        EXPECT_FALSE(sent);
    }
}

// A stop owed from before the link went down: the handshake confirms the
// actuator in the slot list itself and sends the stop before anything else is
// written, with no Upload; the communication card is selected again after it.
TEST_F(CardSelectTest, ConnectSendsAnOwedStopToItsActuatorBeforeWritingAnythingElse) {
    k6sim::Station station = sim.station();
    station.slot(6).code = "EAJ2";
    sim.setStation(station);
    sim.setValue(6, "03", 11, "01");
    OweStop(6, "EAJ2", [] {
        LineHold h(6);
        return SelectCard(6, 0) && !WriteItem(0, "03", "11", "00").empty();
    });
    OwedStopsAwaitCardList();
    G().Connected = false;
    sim.clearFrames();
    ASSERT_TRUE(ConnectDevice());
    EXPECT_FALSE(StopsOwed());
    EXPECT_EQ(sim.value(6, "03", 11), "00");
    const Frames w = stamped();
    EXPECT_EQ(w, (Frames{"?|00/01:F", "00|00/41:00", "00|00/01:F", "6|00/41:6", "6|03/11:00", "6|00/01:F",
                         "00|00/41:00", "00|01/01:1"}));
    const Frames f = sim.frames();
    EXPECT_EQ(std::count(f.begin(), f.end(), "I15"), 1) << "slot 6's model read from the slot list";
}

// A reply that only begins with the select's echo is not its answer: a stray
// value tagged with item 10 ("D10:+210.5") or the stale echo of this turn's
// select of slot 14 ("D14") while the select of card 1 ("D1") is lost. The
// select is sent again, and what is read afterwards is card 1's.
TEST_F(CardSelectTest, AReplyThatOnlyBeginsWithTheSelectsEchoNeverSelectsTheCard) {
    sim.setValue(1, "00", 10, "+012.5");
    sim.setValue(14, "00", 10, "+999.9");
    struct Case {
        const char* stray;
        bool monitoring;  // in a monitoring pass, else a card's own routine
    };
    const Case cases[] = {{"D10:+210.5", false}, {"D14", false}, {"D10:+210.5", true}, {"D14", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.stray) + (c.monitoring ? " in a monitoring pass" : " in a card's routine"));
        sim.clearFaults();
        ForgetSelectedCard();
        for (int n = 1; n <= 16; ++n) G().CardRecords.get(n)->CardType = n == 1 ? "BW4" : n == 14 ? "KR8" : "";
        G().CardTypeUnread.fill(false);
        LineHold turn;
        ASSERT_TRUE(SelectCard(14));
        // The select of card 1 made while card 14 is selected: its "D1" is lost,
        // and the stray line comes while the program waits for its echo.
        k6sim::Fault late = test::fault("I41", 14, FaultAction::ExtraLate, c.stray);
        late.delayMs = 20;
        late.count = 1;
        sim.addFault(late);
        k6sim::Fault lost = test::silence("D1", 14);
        lost.count = 1;
        sim.addFault(lost);
        sim.clearFrames();
        if (c.monitoring) {
            ASSERT_TRUE(ReadAllCardsCycData({}));
            EXPECT_EQ(Overview().row(1)->values[0].caption, "+0125");
        } else {
            LineHold card(1);
            EXPECT_EQ(ReadItem(3, "00", "10"), "10:+012.5");
        }
        const Frames w = stamped();
        EXPECT_EQ(std::count(w.begin(), w.end(), "1|00/41:1"), 2) << "the lost select is sent again";
        EXPECT_EQ(SelectedCard(), c.monitoring ? 14 : 1);
    }
}

// Monitoring holds the line pass after pass: a stop that falls due meanwhile
// goes out at the start of the next pass, before any card is read.
TEST_F(CardSelectTest, AStopDueDuringMonitoringGoesOutAtThePassStart) {
    k6sim::Station station = sim.station();
    station.slot(6).code = "EAJ2";
    sim.setStation(station);
    sim.setValue(6, "03", 11, "01");
    for (int n = 1; n <= 16; ++n) G().CardRecords.get(n)->CardType = n == 1 ? "BW4" : "";
    G().CycReadOn = true;
    int tries = 0;
    OweStop(6, "EAJ2", [&] {
        ++tries;
        LineHold h(6);
        return SelectCard(6, 0) && !WriteItem(0, "03", "11", "00").empty();
    });
    LineHold monitoring;
    ASSERT_TRUE(ReadAllCardsCycData({.stopWhenMonitoringEnds = true}));
    EXPECT_EQ(tries, 0) << "not due yet";
    fakeClock.now += kOwedStopRetryMs;
    sim.clearFrames();
    ASSERT_TRUE(ReadAllCardsCycData({.stopWhenMonitoringEnds = true}));
    EXPECT_EQ(tries, 1);
    EXPECT_FALSE(StopsOwed());
    const Frames w = stamped();
    ASSERT_GE(w.size(), 4u);
    EXPECT_EQ(Frames(w.begin(), w.begin() + 4), (Frames{"?|00/01:F", "6|00/41:6", "6|03/11:00", "6|00/01:F"}));
}

// Two silent actuators each owing a stop: a turn carries one try at most, in
// all, and the two take their turns.
TEST_F(CardSelectTest, TwoSilentOwedStopsCostATurnOneTryInAll) {
    std::vector<int> tried;
    for (int slot : {5, 6}) {
        OweStop(slot, "EAJ2", [&tried, slot] {
            tried.push_back(slot);
            LineHold h(slot);
            return SelectCard(slot, 0);
        });
        sim.addFault(test::silence("D" + std::to_string(slot), -1));
    }
    for (int turn = 0; turn < 6; ++turn) {
        fakeClock.now += kOwedStopRetryMs;
        const std::size_t before = tried.size();
        {
            LineHold hold(3);
            ReadItem(3, "00", "40");
        }
        EXPECT_EQ(tried.size(), before + 1) << "turn " << turn;
    }
    EXPECT_EQ(tried, (std::vector<int>{5, 6, 5, 6, 5, 6}));
    EXPECT_TRUE(StopOwed(5));
    EXPECT_TRUE(StopOwed(6));
}
