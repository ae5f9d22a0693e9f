// What the user asks for belongs to the window and the card it was given for:
// a pick made behind a dialog's opening waits until the dialog is closed, a
// dialog writes the card it was opened for, a request raised during a tick is
// served for its own card before the next slot opens, and a dialog whose line
// is lost shows it at once.
#include <gtest/gtest.h>

#include <QTimer>
#include <functional>
#include <memory>

#include "core/LineTurn.h"
#include "core/Protocol.h"
#include "screens/analog_in/frmBW.h"
#include "screens/network/frmComm.h"
#include "screens/power/frmFS2.h"
#include "screens/pulse_out/frmEAJ2.h"
#include "screens/pulse_out/frmIY8.h"
#include "screens/universal_in/frmXR4.h"
#include "screens/universal_in/frmXR_HART.h"
#include "tests/screens/ScreenFixture.h"
#include "ui/DialogBoxes.h"

using namespace talvo;
using namespace talvo::screens;
using Frames = std::vector<std::string>;

namespace {

class WindowActionTest : public test::ScreenTest {
protected:
    // Connects afresh to one of the shipped stations and uploads its card list.
    void useStation(const char* file) {
        restartWindow();
        k6sim::Station station;
        std::string error;
        ASSERT_TRUE(k6sim::loadStation(std::string(K6SIM_STATIONS_DIR "/") + file, station, error)) << error;
        sim.setStation(station);
        connectAndUpload();
        ASSERT_TRUE(G().Connected);
        messages.shown.clear();
        sim.clearFrames();
    }
    bool idle() { return !ActionsWaiting() && LineFree() && !ExchangeWaiting(); }
    // Whether a stamped frame went out while one of `slots` was selected.
    static bool selectedIn(const std::string& stampedFrame, std::initializer_list<const char*> slots) {
        const std::string slot = stampedFrame.substr(0, stampedFrame.find('|'));
        return std::any_of(slots.begin(), slots.end(), [&](const char* s) { return slot == s; });
    }
    static std::size_t indexOf(const Frames& f, const std::string& x) {
        return static_cast<std::size_t>(std::find(f.begin(), f.end(), x) - f.begin());
    }
    // The default station's BW8 (slot 2) with "321" typed as channel 1's zero
    // scale, so that its Download writes "2|01/42:321".
    frmBW8* bw8WithZeroScaleTyped() {
        useStation("default.k6");
        auto* s = pick<frmBW8>(2);
        EXPECT_NE(s, nullptr);
        if (!s) return nullptr;
        settle(s);
        type(s->txtZScale[0], "321");
        sim.clearFrames();
        return s;
    }
};

// The old fault: the HART dialog opened for slot 4, the pick of another slot
// then ran inside it, and the dialog's Download went to the other card.
TEST_F(WindowActionTest, APickBehindTheHartButtonWaitsForTheDialogAndItsDownloadWritesItsOwnCard) {
    useStation("universal.k6");
    auto* s = pick<frmXR4>(4);
    settle(s);
    const std::string otherBefore = sim.value(1, "01", 30);
    bool dialogRan = false;
    onModal([&](QDialog& d) {
        auto& hart = dynamic_cast<frmXR_HART&>(d);
        EXPECT_EQ(hart.cardSlot(), 4);
        EXPECT_FALSE(cardList()->isEnabled()) << "no card is picked while the dialog is up";
        // The pick stays queued however long the dialog is up and whatever it sends.
        QTest::qWait(200);
        EXPECT_TRUE(ActionWaiting("cboCardNo"));
        EXPECT_EQ(G().CurCardNo, 4);
        sim.clearFrames();
        type(hart.PollAdd, "7");
        hart.CmdDownload->click();
        EXPECT_TRUE(waitFor([&] { return !hart.busy() && sim.frames().size() > 6; }));
        EXPECT_TRUE(ActionWaiting("cboCardNo"));
        for (const std::string& f : stamped()) EXPECT_TRUE(selectedIn(f, {"?", "4"})) << f;
        dialogRan = true;
        hart.CmdExit->click();
    });
    // "HART1" clicked while a tick waits for the card, then slot 1 picked.
    when([&] { return s->busy() && ExchangeWaiting(); }, [&] {
        s->SetHART[0]->click();
        cardList()->setCurrentIndex(1);
    });
    ASSERT_TRUE(waitFor([&] { return dialogRan && G().CurCardNo == 1 && idle(); }, 15000));
    EXPECT_EQ(sim.value(4, "01", 30), "7");
    EXPECT_EQ(sim.value(1, "01", 30), otherBefore);
    // The fields the user did not set are named as left on the card.
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, ui::kLeftAsTheyAreTitle);
    EXPECT_EQ(messages.shown[0].text.find("Polling Address"), std::string::npos) << messages.shown[0].text;
}

// The old fault: Stop, then Setting, then a pick while the last pass still
// waited: the card list moved and the new card screen talked while the dialog was up.
TEST_F(WindowActionTest, APickQueuedBehindSettingSendsNothingForItsCardWhileTheDialogIsUp) {
    k6sim::Fault slow;
    slow.action = k6sim::FaultAction::Delay;
    slow.delayMs = 5;
    sim.addFault(slow);
    bool dialogRan = false;
    onModal([&](QDialog& d) {
        auto* comm = dynamic_cast<network::frmComm*>(&d);
        ASSERT_NE(comm, nullptr);
        d.show();
        EXPECT_TRUE(waitFor([&] { return comm->opened(); }, 20000));
        QTest::qWait(600);  // a card screen would have ticked by now
        EXPECT_EQ(G().CurFormType, "Over");
        EXPECT_TRUE(ActionWaiting("cboCardNo"));
        // Only the communication card is talked to.
        for (const std::string& f : stamped()) EXPECT_TRUE(selectedIn(f, {"?", "0", "00"})) << f;
        dialogRan = true;
        comm->findChild<QPushButton*>("cmdExit")->click();
    });
    when([this] { return G().CycReadOn && countFrames("D3") >= 1; }, [this] {
        button("cmdStop")->click();
        sim.clearFrames();
        button("cmdComm")->click();
        cardList()->setCurrentIndex(2);
    });
    button("cmdStart")->click();  // returns when the stopped pass has ended
    ASSERT_TRUE(waitFor([&] { return dialogRan && G().CurCardNo == 2 && G().CurFormType == "BW8" && idle(); }, 20000));
    EXPECT_TRUE(messages.shown.empty());
}

// The old fault: a request raised while a tick waited was dropped by a pick
// made after it (the next screen's entry cleared it, or the screen was hidden
// before its next tick). Each goes to its own card before the next slot opens.
TEST_F(WindowActionTest, ARequestRaisedDuringATickIsServedForItsCardBeforeAPickMadeAfterIt) {
    struct Case {
        const char* name;
        const char* station;
        int slot, next;
        std::function<void(WindowActionTest&, CardScreen*)> prepare;
        std::function<void(CardScreen*)> ask;
        std::string sent;  // "slot|group/item:data"
    };
    const Case cases[] = {
        {"BW8 Download", "default.k6", 2, 1,
         [](WindowActionTest&, CardScreen* s) { type(dynamic_cast<frmBW8*>(s)->txtZScale[0], "321"); },
         [](CardScreen* s) { s->downloadButton()->click(); }, "2|01/42:321"},
        {"IY8 Preset", "pulse.k6", 8, 9,
         [](WindowActionTest& t, CardScreen* s) {
             t.upload(s);
             type(dynamic_cast<frmIY8*>(s)->txtPresetVal[0], "123");
         },
         [](CardScreen* s) { s->presetButton()->click(); }, "8|02/10:123"},
        {"FS2 totals Preset", "power_heat.k6", 11, 12,
         [](WindowActionTest&, CardScreen* s) { type(dynamic_cast<frmFS2*>(s)->txtTotalHFlowp[2], "123.45"); },
         [](CardScreen* s) { s->presetButton()->click(); }, "11|02/29:123.45"},
        {"actuator test mode ON", "pulse.k6", 15, 8, nullptr,
         [](CardScreen* s) { dynamic_cast<frmEAJ2*>(s)->optTestMode[1]->click(); }, "15|03/50:01"},
        {"actuator test mode OFF", "pulse.k6", 15, 8,
         [](WindowActionTest& t, CardScreen* s) {
             dynamic_cast<frmEAJ2*>(s)->optTestMode[1]->click();
             t.settle(s);
             QTest::qWait(600);
             t.settle(s);
             ASSERT_EQ(t.simulator().value(15, "03", 50), "01");
         },
         [](CardScreen* s) { dynamic_cast<frmEAJ2*>(s)->optTestMode[0]->click(); }, "15|03/50:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        useStation(c.station);
        auto* s = pick(c.slot);
        ASSERT_NE(s, nullptr);
        settle(s);
        if (c.prepare) c.prepare(*this, s);
        settle(s);
        sim.clearFrames();
        when([&] { return s->busy() && ExchangeWaiting(); }, [&] {
            c.ask(s);
            cardList()->setCurrentIndex(c.next);
        });
        ASSERT_TRUE(waitFor([&] { return G().CurCardNo == c.next && idle(); }, 15000));
        const Frames f = stamped();
        const std::size_t sent = indexOf(f, c.sent);
        const std::size_t nextSelected = indexOf(f, std::to_string(c.next) + "|00/41:" + std::to_string(c.next));
        EXPECT_LT(sent, f.size()) << "the request was dropped";
        EXPECT_LT(sent, nextSelected) << "it went out before the next card was selected";
        // A download names what it left as they are (what was never read); nothing else is told.
        for (const auto& m : messages.shown) EXPECT_EQ(m.title, ui::kLeftAsTheyAreTitle) << m.text;
    }
}

// The old fault: after a transfer failed on a dead line, the window went on
// showing "Connected" over a closed port while the dialog stayed up.
TEST_F(WindowActionTest, ALineLostDuringTheHartDialogsTransferShowsDisconnectedAtOnce) {
    useStation("universal.k6");
    auto* s = pick<frmXR4>(4);
    settle(s);
    bool dialogRan = false;
    onModal([&](QDialog& d) {
        auto& hart = dynamic_cast<frmXR_HART&>(d);
        k6sim::Fault hangUp;
        hangUp.frame = "I37";
        hangUp.action = k6sim::FaultAction::DropLine;
        sim.addFault(hangUp);
        hart.CmdUpload->click();
        EXPECT_TRUE(waitFor([&] { return !hart.busy(); }, 20000));
        EXPECT_EQ(messages.texts(), Frames{"Uploading incomplete"});
        EXPECT_FALSE(G().Connected);
        EXPECT_EQ(labelText("lblConStatus"), "Disconnected");
        for (QPushButton* b : {hart.CmdUpload, hart.CmdDownload, hart.CmdReset, hart.CmdClear[0]})
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString() << " needs the line";
        for (QPushButton* b : {hart.CmdReadFile, hart.CmdWriteFile, hart.CmdUpCh, hart.CmdExit})
            EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        dialogRan = true;
        hart.CmdExit->click();
    });
    s->SetHART[0]->click();
    ASSERT_TRUE(waitFor([&] { return dialogRan; }, 20000));
    EXPECT_FALSE(cardList()->isEnabled()) << "the card list comes back with a new connection only";
}

}  // namespace

// The old fault: Download clicked, then Help > Version opened before the tick
// came: the write went out while the version box was up. Nothing talks to the
// station under a modal window but that window; the request is served once it
// has closed.
TEST_F(WindowActionTest, ARequestWaitsWhileTheVersionBoxIsUpAndIsServedAfter) {
    frmBW8* s = nullptr;
    ASSERT_NO_FATAL_FAILURE(s = bw8WithZeroScaleTyped());
    ASSERT_NE(s, nullptr);
    std::size_t framesUnderTheBox = 0;
    onModal([&](QDialog&) {
        QTest::qWait(700);  // more than a tick and a request's delay
        framesUnderTheBox = sim.frames().size();
    });
    s->downloadButton()->click();
    menu("mnuHelpVersion")->trigger();
    EXPECT_EQ(framesUnderTheBox, 0u);
    ASSERT_TRUE(waitFor([&] { return indexOf(stamped(), "2|01/42:321") < stamped().size(); }, 10000));
    for (const auto& m : messages.shown) EXPECT_EQ(m.title, ui::kLeftAsTheyAreTitle) << m.text;
}

// The old fault: a request raised during a tick, then Disconnect (which does not
// wait for a busy line) and Connect before the screen's next tick: the screen
// went with the Connect and its request was neither sent nor refused. It is
// refused with the screen's own message before the COM-port dialog opens.
TEST_F(WindowActionTest, ARequestLeftByADisconnectIsRefusedVisiblyAtTheNextConnect) {
    frmBW8* s = nullptr;
    ASSERT_NO_FATAL_FAILURE(s = bw8WithZeroScaleTyped());
    ASSERT_NE(s, nullptr);
    when([&] { return s->busy() && ExchangeWaiting(); }, [&] {
        s->downloadButton()->click();
        menu("mnuConnectDisconnect")->trigger();
    });
    ASSERT_TRUE(waitFor([&] { return !G().Connected && idle(); }, 15000));
    messages.shown.clear();
    std::vector<std::string> toldBeforeTheDialog;
    onModal([&](QDialog& d) {
        toldBeforeTheDialog = messages.texts();
        d.reject();
    });
    menu("mnuConnectConnect")->trigger();
    ASSERT_TRUE(waitFor([&] { return idle(); }, 15000));
    EXPECT_EQ(toldBeforeTheDialog, (std::vector<std::string>{"Downloading incomplete"}));
    EXPECT_EQ(indexOf(stamped(), "2|01/42:321"), stamped().size()) << "nothing went out";
}

// The old fault: the result of the card select was ignored, so with the select
// unanswered the main Upload wrote "01/01:=1" into whichever card was selected
// last and read the slot list from it. Every command that starts with the
// select stops there and says so; nothing more of it goes out.
TEST_F(WindowActionTest, EveryCommandStopsAtAFailedSelectAndTellsIt) {
    struct Case {
        const char* name;
        const char* station;
        std::function<void(WindowActionTest&)> before;  // with the line still answering
        std::function<void(WindowActionTest&)> act;
        std::vector<std::string> notSent;
    };
    const auto special = [](WindowActionTest& t) {
        t.onModal([](QDialog& d) { d.reject(); });
        t.button("cmdSpecialSetting")->click();
    };
    const Case cases[] = {
        {"main Upload", "default.k6", nullptr, [](WindowActionTest& t) { t.button("CmdUpload")->click(); },
         {"G01", "I04", "I10"}},
        {"opener", "default.k6", nullptr, [](WindowActionTest& t) { t.cardList()->setCurrentIndex(1); },
         {"I40", "G01", "I10"}},
        {"live read", "default.k6", [](WindowActionTest& t) { t.settle(t.pick(1)); }, nullptr, {"I10", "G01"}},
        {"CC-Link IE opening", "cclink_ovrt1.k6", nullptr, special, {"G50"}},
        {"fieldbus opening", "fieldbus_op1.k6", nullptr, special, {"G17"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        useStation(c.station);
        if (c.before) c.before(*this);
        useFakeClock();
        sim.clearFrames();
        messages.shown.clear();
        sim.addFault(test::silence("DF", -1));
        if (c.act) c.act(*this);
        ASSERT_TRUE(waitFor([&] { return !messages.shown.empty() && idle(); }, 20000));
        for (const std::string& f : c.notSent) EXPECT_EQ(countFrames(f), 0u) << f;
        EXPECT_GE(countFrames("DF"), 4u);
        for (const std::string& f : sim.frames()) {
            if (f[0] == 'D') {
                EXPECT_EQ(f, "DF") << "only the unanswered select was written";
            }
        }
        sim.clearFaults();
        platform::services().clock = &steadyClock;
    }
}
