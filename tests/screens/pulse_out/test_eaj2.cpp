// The actuator screen against the simulator: its transfers with the one-digit
// groups, the lost-focus ranges, the end-position setting tick by tick, the
// test mode, and every way the screen can go away while the motor runs.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QTimer>

#include "core/Connection.h"
#include "core/LineTurn.h"
#include "core/OwedStops.h"
#include "screens/skeleton/CardScreen.h"
#include "screens/pulse_out/frmEAJ2.h"
#include "sim/FamilyPulse.h"
#include "tests/screens/pulse_out/PulseFixture.h"

using namespace talvo;
using namespace talvo::screens;
using namespace talvo::test;
using Frames = std::vector<std::string>;
using k6sim::FaultAction;

namespace {

std::string str(int n) { return std::to_string(n); }

class EajTest : public PulseTest {
protected:
    void SetUp() override {
        PulseTest::SetUp();
        if (HasFatalFailure()) return;
        activate();
    }
    // The main window shown and active, so that boxes take the focus (a progress
    // window that came and went may have taken the activation).
    void activate() {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    // The data frames of a transfer: all but the card select's.
    Frames transferWrites() const {
        Frames out;
        for (const std::string& w : writes())
            if (w.rfind("00/", 0) != 0) out.push_back(w);
        return out;
    }
    frmEAJ2* open() {
        auto* s = pick<frmEAJ2>(kEAJ2);
        settle(s);
        return s;
    }
    // The data frames of the actuator's channel groups only.
    Frames settingWrites() const {
        Frames out;
        for (const std::string& w : writes())
            if (w.rfind("03/", 0) == 0 || w.rfind("04/", 0) == 0) out.push_back(w);
        return out;
    }
    // A setting mode started by its button; returns after the tick that told the card.
    void start(frmEAJ2* s, int index) {
        settle(s);
        s->butMode[static_cast<std::size_t>(index)]->click();
        ASSERT_FALSE(s->setting().idle());
        nextPass(s);
        ASSERT_EQ(countItem("03", "09"), 1u);
    }
    void press(QPushButton* b) { QTest::mousePress(b, Qt::LeftButton); }
    void release(QPushButton* b) { QTest::mouseRelease(b, Qt::LeftButton); }
    std::string modeLog(const std::string& group) const { return sim.value(kEAJ2, group, k6sim::kActuatorModeLog); }
    // The card is at rest: no coarse move runs and no setting mode is on.
    void expectCardAtRest() {
        EXPECT_EQ(sim.value(kEAJ2, "03", 10), "00");
        EXPECT_EQ(sim.value(kEAJ2, "03", 11), "00");
        EXPECT_EQ(sim.value(kEAJ2, "03", 9), "00");
    }
    // Lets `ms` of the fake clock's time pass in steps, with the ticks running between them.
    void passFakeTime(int ms) {
        for (int t = 0; t < ms; t += 500) {
            fakeClock.now += 500;
            QTest::qWait(100);
        }
    }
    static std::size_t indexOf(const Frames& f, const std::string& x) {
        return static_cast<std::size_t>(std::find(f.begin(), f.end(), x) - f.begin());
    }
};

bool isLightGreen(const QWidget* w) { return w->palette().color(QPalette::Base) == ui::toQColor(0x80FF80); }

}  // namespace

// --- transfers ---

TEST_F(EajTest, UploadUsesOneDigitGroupsAndFillsEveryControl) {
    auto* s = open();
    sim.clearFrames();
    upload(s);
    const Frames want = {"G00", "I01", "DF", "G00", "I41", "D15", "G02", "I01", "D1", "G03", "I01", "D1", "G04",
                         "I01", "D1",  "G3",  "I07", "G3",  "I06", "G02", "I42", "G3",  "I05", "G4",  "I07", "G4",
                         "I06", "G02", "I43", "G4",  "I05", "G03", "I50", "G03", "I51"};
    EXPECT_EQ(sim.frames(), want);
    EXPECT_EQ(text(s->txtMotorLockTime[0]), "150");
    EXPECT_EQ(text(s->txtRestartTime[1]), "1000");
    EXPECT_EQ(s->List_Deadband[0]->currentText(), "1.5");
    EXPECT_EQ(s->List_Deadband[1]->currentText(), "3.0");  // the card answers the index
    EXPECT_EQ(s->List_ChEnable[0]->currentText(), "Enable");
    EXPECT_EQ(s->List_ChEnable[1]->currentText(), "Disable");
    EXPECT_TRUE(hasBack(s->List_ChEnable[1], colors::Red));
    EXPECT_TRUE(s->optTestMode[0]->isChecked());
    EXPECT_EQ(text(s->txtTestModePos), "0");
    const CardRecord& r = record(kEAJ2);
    EXPECT_EQ(r.Param[1], "150");
    EXPECT_EQ(r.Param[2], "1000");
    EXPECT_EQ(r.Param[3], "Enable");
    EXPECT_EQ(r.Param[4], "1.5");
    EXPECT_EQ(r.Param[13], "Disable");
    EXPECT_EQ(r.Param[14], "3.0");
    EXPECT_EQ(window->progress(), 3);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(EajTest, DownloadUsesOneDigitGroupsAndWritesTheListIndexes) {
    auto* s = open();
    upload(s);
    type(s->txtRestartTime[0], "");  // empty: skipped
    choose(s->List_Deadband[0], "8.0");
    sim.clearFrames();
    download(s);
    EXPECT_EQ(writes(), (Frames{"00/01:F", "00/41:15", "02/01:1", "03/01:1", "04/01:1", "3/07:150", "02/42:0",
                                "3/05:9", "4/07:120", "4/06:1000", "02/43:1", "4/05:7"}));
    EXPECT_EQ(record(kEAJ2).Param[4], "8.0");
    EXPECT_EQ(window->progress(), 2);
}

TEST_F(EajTest, ChannelEnableAndDeadbandReplies) {
    struct Case {
        const char* name;
        std::string enable, deadband;  // the values on the card ...
        std::string reply;             // ... or the reply to item 42 in their place
        std::string list, band;
    };
    const Case cases[] = {
        {"0 is enabled", "0", "1.0", "", "Enable", "1.0"},
        {"1 is disabled", "1", "3", "", "Disable", "0.7"},
        {"anything else is disabled", "x", "0", "", "Disable", "0.1"},
        {"refused: unchanged", "0", "12", "CNG", "before", "before"},
        {"not on the list, not an index: unchanged", "0", "abc", "", "Enable", "before"},
    };
    auto* s = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.clearFaults();
        s->List_ChEnable[0]->setCurrentText(c.list == "before" ? "Disable" : c.list == "Enable" ? "Disable" : "Enable");
        s->List_Deadband[0]->setCurrentText("5.0");
        const std::string before = s->List_ChEnable[0]->currentText().toStdString();
        sim.setValue(kEAJ2, "02", 42, c.enable);
        sim.setValue(kEAJ2, "03", 5, c.deadband);
        if (!c.reply.empty()) sim.addFault(fault("I42", kEAJ2, FaultAction::Reply, c.reply));
        upload(s);
        EXPECT_EQ(s->List_ChEnable[0]->currentText().toStdString(), c.list == "before" ? before : c.list);
        EXPECT_EQ(s->List_Deadband[0]->currentText().toStdString(), c.band == "before" ? "5.0" : c.band);
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(EajTest, UnansweredChannelEnableLeavesListAndRecordAndDisconnects) {
    auto* s = open();
    upload(s);
    ASSERT_EQ(s->List_ChEnable[1]->currentText(), "Disable");
    useFakeClock();
    sim.addFault(silence("I43", kEAJ2));
    upload(s);
    EXPECT_EQ(messages.texts(), (Frames{"Uploading incomplete"}));
    EXPECT_EQ(s->List_ChEnable[1]->currentText(), "Disable");
    EXPECT_EQ(record(kEAJ2).Param[13], "Disable");
    EXPECT_FALSE(G().Connected);
}

// --- range checks ---

TEST_F(EajTest, RangeChecksWhenABoxLosesTheFocusButNotForUpload) {
    struct Case {
        int which;  // 0 motor lock time, 1 restart time
        const char* typed;
        std::string shown;    // after leaving the box
        std::string message;  // "" accepted
    };
    const Case cases[] = {
        {0, "59", "59", "Please enter value 60 - 1000"},   {0, "60", "60", ""},
        {0, "1000", "1000", ""},                          {0, "1001", "1001", "Please enter value 60 - 1000"},
        {0, "0075", "75", ""},                            {1, "499", "499", "Please enter value 500 - 10000"},
        {1, "500", "500", ""},                            {1, "10000", "10000", ""},
        {1, "10001", "10001", "Please enter value 500 - 10000"},
        {1, "", "", "Please enter value 500 - 10000"},   // empty counts as 0
    };
    auto* s = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        QLineEdit* box = c.which == 0 ? s->txtMotorLockTime[0] : s->txtRestartTime[0];
        QLineEdit* other = c.which == 0 ? s->txtRestartTime[1] : s->txtMotorLockTime[1];
        type(other, "1000");
        messages.shown.clear();
        box->setFocus(Qt::TabFocusReason);
        box->clear();
        QTest::keyClicks(box, c.typed);
        other->setFocus(Qt::TabFocusReason);
        QTest::qWait(50);
        EXPECT_EQ(text(box), c.shown);
        if (c.message.empty()) {
            EXPECT_TRUE(messages.shown.empty());
        } else {
            ASSERT_EQ(messages.texts(), (Frames{c.message}));
            EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Information);
            EXPECT_EQ(messages.shown[0].title, "");
            EXPECT_EQ(QApplication::focusWidget(), box);
            // The same value left for Upload: no check.
            messages.shown.clear();
            s->uploadButton()->setFocus(Qt::TabFocusReason);
            QTest::qWait(50);
            EXPECT_TRUE(messages.shown.empty());
        }
        type(box, "1000");
    }
}

TEST_F(EajTest, DownloadAppliesTheRangesToFilledBoxesOnly) {
    struct Case {
        int which;
        std::string value;
        std::string message;
    };
    const Case cases[] = {{0, "59", "Please enter value 60 - 1000"},   {0, "60", ""},
                          {0, "1001", "Please enter value 60 - 1000"}, {1, "499", "Please enter value 500 - 10000"},
                          {1, "10000", ""},                             {1, "10001", "Please enter value 500 - 10000"},
                          {1, "", ""}};
    auto* s = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        activate();
        for (int k = 0; k < 2; ++k) {
            type(s->txtMotorLockTime[static_cast<std::size_t>(k)], "100");
            type(s->txtRestartTime[static_cast<std::size_t>(k)], "1000");
        }
        QLineEdit* box = c.which == 0 ? s->txtMotorLockTime[1] : s->txtRestartTime[1];
        type(box, c.value);
        messages.shown.clear();
        sim.clearFrames();
        download(s);
        const std::string item = c.which == 0 ? "07" : "06";
        if (c.message.empty()) {
            // What the download left is named: the lists never read, and an empty box.
            Named left = {{"Ch Enable/Disable", chs(1, 2)}, {"Deadband", chs(1, 2)}};
            if (c.value.empty()) left["Restart Time"] = chs(2, 2);
            EXPECT_EQ(leftNamed(), left);
            EXPECT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(countItem("4", item), c.value.empty() ? 0u : 1u);
        } else {
            EXPECT_EQ(messages.texts(), (Frames{c.message}));
            EXPECT_TRUE(transferWrites().empty());  // nothing is sent
            EXPECT_EQ(QApplication::focusWidget(), box);
        }
    }
}

TEST_F(EajTest, TestPositionRangeByFocusOutAndBySet) {
    struct Case {
        const char* typed;
        std::string sent;  // "" refused
    };
    const Case cases[] = {{"-0.5", "-0.5"}, {"100.5", "100.5"}, {"100.6", ""}, {"5.", "5"}, {".5", "0.5"}, {"-0.6", ""}};
    auto* s = open();
    s->optTestMode[1]->click();
    nextPass(s);
    ASSERT_EQ(settingWrites(), (Frames{"03/50:01"}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        // By leaving the box.
        messages.shown.clear();
        s->txtTestModePos->setFocus(Qt::TabFocusReason);
        s->txtTestModePos->clear();
        QTest::keyClicks(s->txtTestModePos, c.typed);
        s->optTestMode[1]->setFocus(Qt::TabFocusReason);
        QTest::qWait(50);
        EXPECT_EQ(messages.texts().size(), c.sent.empty() ? 1u : 0u);
        if (!c.sent.empty()) {
            EXPECT_EQ(text(s->txtTestModePos), c.sent);
        }
        // By SET.
        type(s->txtTestModePos, c.typed);
        messages.shown.clear();
        sim.clearFrames();
        s->butTestMode->click();
        nextPass(s);
        if (c.sent.empty()) {
            EXPECT_EQ(messages.texts(), (Frames{"Please enter value -0.5 - 100.5"}));
            EXPECT_TRUE(settingWrites().empty());
        } else {
            EXPECT_TRUE(messages.shown.empty());
            EXPECT_EQ(settingWrites(), (Frames{"03/51:" + c.sent}));
        }
    }
}

// --- end-position setting ---

TEST_F(EajTest, FinePressAndReleaseBetweenTwoTicksGivesOneStep) {
    auto* s = open();
    start(s, 1);
    EXPECT_EQ(settingWrites(), (Frames{"03/09:01", "03/08:100"}));  // the level shown goes out with the start
    EXPECT_TRUE(s->PosRawDat[0]->isVisible());
    EXPECT_FALSE(s->uploadButton()->isEnabled());
    const std::string raw = sim.value(kEAJ2, "03", 28);
    press(s->CloseFineAdjBut);
    release(s->CloseFineAdjBut);
    nextPass(s);
    EXPECT_EQ(settingWrites(), (Frames{"03/10:02"}));
    EXPECT_EQ(sim.value(kEAJ2, "03", 28), str(std::stoi(raw) - 100));
    EXPECT_EQ(text(s->PosRawDat[0]), str(std::stoi(raw) - 100));
    nextPass(s);
    EXPECT_TRUE(settingWrites().empty());
}

TEST_F(EajTest, CoarseHoldOverThreeTicksRunsOnceAndStopsAfterTheRelease) {
    auto* s = open();
    start(s, 1);
    sim.clearFrames();
    press(s->CloseCoaseAdjBut);
    std::vector<std::string> raws;
    for (int i = 0; i < 3; ++i) {
        nextPass(s);
        raws.push_back(text(s->PosRawDat[0]));
    }
    release(s->CloseCoaseAdjBut);
    nextPass(s);
    EXPECT_EQ(settingWrites(), (Frames{"03/10:00"}));
    EXPECT_EQ(sim.value(kEAJ2, "03", 10), "00");
    EXPECT_GT(std::stoi(raws[0]), std::stoi(raws[2]));  // the motor moved while held
}

TEST_F(EajTest, CoarseButtonThatLosesTheFocusWhileHeldCountsAsReleased) {
    auto* s = open();
    start(s, 1);
    press(s->CloseCoaseAdjBut);
    ASSERT_EQ(QApplication::focusWidget(), s->CloseCoaseAdjBut);
    nextPass(s);
    ASSERT_EQ(settingWrites(), (Frames{"03/10:01"}));
    s->txtTestModePos->setEnabled(true);
    s->txtTestModePos->setFocus(Qt::TabFocusReason);  // another control takes the focus, no release comes
    nextPass(s);
    EXPECT_EQ(settingWrites(), (Frames{"03/10:00"}));
    EXPECT_EQ(sim.value(kEAJ2, "03", 10), "00");
}

TEST_F(EajTest, LevelL3DuringTheSettingGoesOutBeforeAnyStep) {
    auto* s = open();
    start(s, 2);
    s->optAdjLevel[2]->click();
    press(s->OpenFineAdjBut);
    release(s->OpenFineAdjBut);
    nextPass(s);
    EXPECT_EQ(settingWrites(), (Frames{"03/08:200", "03/11:02"}));
}

TEST_F(EajTest, EndSendsTheStopAtTheNextTickWithNoRawRead) {
    auto* s = open();
    start(s, 1);
    s->butMode[0]->click();
    EXPECT_EQ(s->butMode[0]->text(), "End Setting");
    EXPECT_FALSE(s->butMode[0]->isEnabled());
    nextPass(s);
    EXPECT_EQ(sim.frames(), (Frames{"G03", "I09", "D00"}));
    EXPECT_TRUE(s->setting().idle());
    EXPECT_EQ(modeLog("03"), "01,00");
    nextPass(s);
    EXPECT_EQ(countFrames("I11"), 1u);  // the normal cycle again
}

TEST_F(EajTest, RawPositionColouring) {
    auto* s = open();
    start(s, 1);  // closing: at or below 4000
    for (auto [raw, green] : {std::pair{"4001", false}, std::pair{"4000", true}, std::pair{"12", true}}) {
        sim.setValue(kEAJ2, "03", 28, raw);
        nextPass(s);
        EXPECT_EQ(isLightGreen(s->PosRawDat[0]), green) << raw;
    }
    s->butMode[0]->click();
    nextPass(s);
    start(s, 2);  // opening: at or above 6000
    for (auto [raw, green] : {std::pair{"5999", false}, std::pair{"6000", true}}) {
        sim.setValue(kEAJ2, "03", 28, raw);
        nextPass(s);
        EXPECT_EQ(isLightGreen(s->PosRawDat[0]), green) << raw;
    }
}

TEST_F(EajTest, ModeButtonWaitsForTheRunningExchange) {
    auto* s = open();
    k6sim::Fault slow = fault("I12", kEAJ2, FaultAction::Delay);
    slow.delayMs = 300;
    slow.count = 1;
    sim.addFault(slow);
    sim.clearFrames();
    QTimer watch;
    bool clicked = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!clicked && countFrames("I12") == 1) {
            clicked = true;
            s->butMode[1]->click();  // while the live read waits for item 12
        }
    });
    watch.start(2);
    ASSERT_TRUE(waitFor([&] { return countItem("03", "01") >= 1; }, 5000));
    watch.stop();
    settle(s);
    const Frames f = sim.frames();
    // The live read ends before the button's own frames begin.
    EXPECT_LT(indexOf(f, "I15"), indexOf(f, "G03"));
}

// --- going away while the motor runs ---

TEST_F(EajTest, PickingAnotherSlotStopsTheMotorAtTheActuatorsCardFirst) {
    for (int other : {static_cast<int>(kIY8), 0}) {
        SCOPED_TRACE(other);
        auto* s = open();
        start(s, 2);
        press(s->OpenCoaseAdjBut);
        nextPass(s);
        ASSERT_EQ(sim.value(kEAJ2, "03", 11), "01");
        sim.clearFrames();
        cardList()->setCurrentIndex(other);
        const Frames w = stamped();
        ASSERT_GE(w.size(), 4u);
        EXPECT_EQ(Frames(w.begin(), w.begin() + 4),
                  (Frames{"?|00/01:F", "15|00/41:15", "15|03/11:00", "15|03/09:00"}));
        expectCardAtRest();
        EXPECT_TRUE(s->setting().idle());
        EXPECT_FALSE(s->setting().owesStop());
        release(s->OpenCoaseAdjBut);
    }
    EXPECT_EQ(modeLog("03"), "02,00,02,00");
}

// The old fault: the way out selected the card with two attempts and, with
// neither answered, took the stop as done: the motor ran on and nothing tried again.
TEST_F(EajTest, AStopTheCardCannotBeToldStaysOwedIsToldAndGoesOutFirstAtTheNextTurn) {
    auto* s = open();
    start(s, 2);
    press(s->OpenCoaseAdjBut);
    nextPass(s);
    ASSERT_EQ(sim.value(kEAJ2, "03", 11), "01");
    useFakeClock();
    sim.addFault(silence("D" + str(kEAJ2), -1));  // the actuator's card can no longer be selected
    cardList()->setCurrentIndex(kIY8);
    ASSERT_TRUE(waitFor([&] { return G().CurCardNo == kIY8 && !ExchangeWaiting() && !ActionsWaiting(); }, 20000));
    release(s->OpenCoaseAdjBut);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.rfind("The actuator on slot 15 could not be stopped", 0), 0u) << messages.shown[0].text;
    EXPECT_EQ(sim.value(kEAJ2, "03", 11), "01") << "the motor runs";
    EXPECT_TRUE(StopOwed(kEAJ2));
    EXPECT_EQ(window->findChild<QLabel*>("lblStopsOwed")->text(), "Stop owed: slot 15");
    // The first try selected with the exchange's full retries; later turns try
    // once, at most every few seconds, and the new screen is served meanwhile.
    EXPECT_GE(countFrames("D15"), 4u);
    sim.clearFrames();
    passFakeTime(3 * kOwedStopRetryMs);
    EXPECT_LE(countFrames("D15"), 4u);
    EXPECT_GE(countFrames("D15"), 2u);
    EXPECT_GT(countFrames("D8"), 0u);

    // The line is back: the next turn (the new screen's tick) sends the stop
    // before it talks to its own card; the user is not told twice.
    sim.clearFaults();
    sim.clearFrames();
    for (int i = 0; i < 40 && (StopOwed(kEAJ2) || countFrames("D8") == 0); ++i) passFakeTime(500);
    ASSERT_FALSE(StopOwed(kEAJ2));
    const Frames w = from(stamped(), "15|00/41:15");
    ASSERT_GE(w.size(), 3u);
    EXPECT_EQ(Frames(w.begin(), w.begin() + 3), (Frames{"15|00/41:15", "15|03/11:00", "15|03/09:00"}));
    expectCardAtRest();
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(window->findChild<QLabel*>("lblStopsOwed")->isHidden());
}

// The old fault: the position typed after SET went out unchecked ("5.") at the next tick.
TEST_F(EajTest, SetSendsThePositionAsCheckedWhenItWasPressed) {
    auto* s = open();
    s->optTestMode[1]->click();
    nextPass(s);
    type(s->txtTestModePos, "12.34");
    s->butTestMode->click();
    EXPECT_EQ(text(s->txtTestModePos), "12.3");
    type(s->txtTestModePos, "5.");  // typed before the tick came
    nextPass(s);
    EXPECT_EQ(settingWrites(), (Frames{"03/51:12.3"}));
    EXPECT_EQ(sim.value(kEAJ2, "03", 51), "12.3");
}

// The old fault: a test mode switched off (or a position SET) just before the
// screen was left was never sent.
TEST_F(EajTest, TestModeOffOrSetJustBeforeLeavingIsSentFirst) {
    for (const char* what : {"OFF", "SET"}) {
        SCOPED_TRACE(what);
        auto* s = open();
        s->optTestMode[1]->click();
        nextPass(s);
        sim.clearFrames();
        if (std::string(what) == "OFF") {
            s->optTestMode[0]->click();
        } else {
            type(s->txtTestModePos, "42");
            s->butTestMode->click();
        }
        cardList()->setCurrentIndex(kIY8);  // before the next tick
        const Frames w = stamped();
        ASSERT_GE(w.size(), 3u);
        EXPECT_EQ(w[2], std::string(what) == "OFF" ? "15|03/50:00" : "15|03/51:42");
        EXPECT_EQ(sim.value(kEAJ2, "03", std::string(what) == "OFF" ? 50 : 51), std::string(what) == "OFF" ? "00" : "42");
        // Back to OFF for the next round.
        sim.setValue(kEAJ2, "03", 50, "00");
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(EajTest, OpeningAnotherActuatorStopsTheFirstOneFirst) {
    k6sim::Station st = sim.station();
    st.slot(16) = pulseStation().slot(kEAJ2);
    sim.setStation(st);
    button("CmdUpload")->click();
    auto* s = open();
    start(s, 1);
    press(s->CloseCoaseAdjBut);
    nextPass(s);
    sim.clearFrames();
    auto* again = pick<frmEAJ2>(16);
    EXPECT_EQ(again, s);
    const Frames w = stamped();
    ASSERT_GE(w.size(), 5u);
    EXPECT_EQ(Frames(w.begin(), w.begin() + 5),
              (Frames{"?|00/01:F", "15|00/41:15", "15|03/10:00", "15|03/09:00", "15|00/01:F"}));
    EXPECT_EQ(w[5], "16|00/41:16");
    expectCardAtRest();
    EXPECT_TRUE(s->setting().idle());
    release(s->CloseCoaseAdjBut);
}

// The old fault: an unanswered read showed OFF and let a setting start on a
// card that was in test mode.
TEST_F(EajTest, UnansweredTestModeAtEntryShowsNoModeAndStartsNoSettingUntilKnown) {
    useFakeClock();
    sim.setValue(kEAJ2, "03", 50, "01");  // the card is in test mode
    sim.addFault(silence("I50", kEAJ2));
    auto* s = open();
    EXPECT_FALSE(s->optTestMode[0]->isChecked());
    EXPECT_FALSE(s->optTestMode[1]->isChecked());
    EXPECT_EQ(s->shownTestMode(), -1);
    EXPECT_FALSE(s->butMode[1]->isEnabled());
    EXPECT_FALSE(s->butMode[2]->isEnabled());
    EXPECT_TRUE(messages.shown.empty());
    sim.clearFaults();
    nextPass(s);
    EXPECT_TRUE(settingWrites().empty()) << "nothing is sent for a mode not known";
    // An Upload reads it: ON, and the setting stays off.
    upload(s);
    EXPECT_EQ(s->shownTestMode(), 1);
    EXPECT_FALSE(s->butMode[1]->isEnabled());
    // The user switches it off: now the setting may start.
    s->optTestMode[0]->click();
    nextPass(s);
    EXPECT_EQ(sim.value(kEAJ2, "03", 50), "00");
    EXPECT_TRUE(s->butMode[1]->isEnabled());
    EXPECT_TRUE(s->butMode[2]->isEnabled());
}

TEST_F(EajTest, DisconnectingStopsTheMotorBeforeThePortCloses) {
    auto* s = open();
    start(s, 1);
    press(s->CloseCoaseAdjBut);
    nextPass(s);
    sim.clearFrames();
    menu("mnuConnectDisconnect")->trigger();
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(stamped(), (Frames{"?|00/01:F", "15|00/41:15", "15|03/10:00", "15|03/09:00"}));
    expectCardAtRest();
}

TEST_F(EajTest, DisconnectAskedDuringAnExchangeWaitsForItThenStopsTheMotor) {
    auto* s = open();
    start(s, 1);
    press(s->CloseCoaseAdjBut);
    nextPass(s);
    k6sim::Fault slow = fault("I28", kEAJ2, FaultAction::Delay);
    slow.delayMs = 300;
    slow.count = 1;
    sim.addFault(slow);
    sim.clearFrames();
    QTimer watch;
    bool asked = false, connectedAfterAsking = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!asked && countFrames("I28") == 1) {
            asked = true;
            DisconnectDevice();  // inside the tick's wait for the raw position
            connectedAfterAsking = G().Connected;
        }
    });
    watch.start(2);
    ASSERT_TRUE(waitFor([&] { return !G().Connected; }, 5000));
    watch.stop();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(connectedAfterAsking);  // the port stayed open for the stop
    const Frames w = stamped();
    ASSERT_GE(w.size(), 2u);
    EXPECT_EQ(Frames(w.end() - 2, w.end()), (Frames{"15|03/10:00", "15|03/09:00"}));
    expectCardAtRest();
}

TEST_F(EajTest, EndingTheProgramStopsTheMotorFirst) {
    for (bool byClose : {false, true}) {
        SCOPED_TRACE(byClose);
        if (byClose) {
            restartWindow();
            sim.setStation(pulseStation());
            connectAndUpload();
            messages.shown.clear();
            activate();
        }
        auto* s = open();
        start(s, 2);
        press(s->OpenCoaseAdjBut);
        nextPass(s);
        sim.clearFrames();
        const int before = endCalls;
        if (byClose)
            window->close();
        else
            menu("mnuFilesEnd")->trigger();
        EXPECT_EQ(endCalls, before + 1);
        EXPECT_EQ(stamped(), (Frames{"?|00/01:F", "15|00/41:15", "15|03/11:00", "15|03/09:00"}));
        expectCardAtRest();
    }
}

// A rest that is gone (its screen destroyed) leaves no routine behind that would
// run into it when the link closes.
TEST_F(EajTest, ARestThatIsGoneLeavesNothingToRunBeforeTheLinkCloses) {
    ActuatorSetting setting;
    {
        ActuatorRest rest(setting, {});
        rest.enter(kEAJ2);
        setting.startSetting(ActuatorSetting::kClosePosition);
        StationLine line;
        std::string raw;
        ASSERT_NE(setting.adjust(line, raw), ActuatorSetting::RawRead::None);  // the card is in the setting mode now
        ASSERT_TRUE(rest.owed());
    }
    sim.clearFrames();
    EXPECT_TRUE(RunBeforeLinkCloses());
    EXPECT_TRUE(sim.frames().empty());
    EXPECT_FALSE(StopsOwed());
}

// --- test mode ---

TEST_F(EajTest, CardInTestModeShowsOnAtEntry) {
    sim.setValue(kEAJ2, "03", 50, "01");
    sim.setValue(kEAJ2, "04", 50, "00");
    sim.clearFrames();
    auto* s = open();
    EXPECT_TRUE(s->optTestMode[1]->isChecked());
    EXPECT_FALSE(s->optCh[0]->isEnabled());
    EXPECT_FALSE(s->butMode[1]->isEnabled());
    EXPECT_FALSE(s->butMode[2]->isEnabled());
    EXPECT_TRUE(s->butTestMode->isEnabled());
    nextPass(s);
    EXPECT_TRUE(settingWrites().empty());  // what the card said is not written back
    // Switched off by the user, channel 2's own state shows when it is chosen.
    sim.setValue(kEAJ2, "04", 50, "01");
    s->optTestMode[0]->click();
    nextPass(s);
    EXPECT_EQ(settingWrites(), (Frames{"03/50:00"}));
    s->optCh[1]->click();
    EXPECT_TRUE(s->optTestMode[0]->isChecked());  // channel 2 read "00" at entry
    cardList()->setCurrentIndex(0);
    s = open();
    EXPECT_TRUE(s->optTestMode[0]->isChecked());
    s->optCh[1]->click();
    EXPECT_TRUE(s->optTestMode[1]->isChecked());
    EXPECT_FALSE(s->optCh[0]->isEnabled());
}

TEST_F(EajTest, TestModeOnDisablesTheSettingButtonsAndTheChannelOptions) {
    auto* s = open();
    s->optTestMode[1]->click();
    EXPECT_FALSE(s->butMode[1]->isEnabled());
    EXPECT_FALSE(s->butMode[2]->isEnabled());
    EXPECT_FALSE(s->optCh[0]->isEnabled());
    EXPECT_FALSE(s->optCh[1]->isEnabled());
    EXPECT_TRUE(s->txtTestModePos->isEnabled());
    nextPass(s);
    EXPECT_EQ(settingWrites(), (Frames{"03/50:01"}));
    s->optTestMode[0]->click();
    EXPECT_TRUE(s->butMode[1]->isEnabled());
    EXPECT_TRUE(s->optCh[1]->isEnabled());
    EXPECT_FALSE(s->butTestMode->isEnabled());
}

TEST_F(EajTest, LiveValuesWithoutMessagesWhenUnanswered) {
    auto* s = open();
    ASSERT_TRUE(waitFor([&] { return text(s->txtPosition[0]) == "45.0"; }));
    EXPECT_EQ(text(s->txtsetpoint[1]), "60.0");
    useFakeClock();
    sim.addFault(silence("I12", kEAJ2));
    nextPass(s);
    EXPECT_EQ(text(s->txtPosition[1]), "");
    EXPECT_EQ(text(s->txtPosition[0]), "45.0");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(G().Connected);
}

// The old fault: a stop the card did not answer while the user stayed on the
// screen was sent again at every tick with no word: the window said
// "Connected" and the motor ran on. It is told once and shown owed until the
// card answers it.
TEST_F(EajTest, AStopNotAnsweredWhileStayingOnTheScreenIsToldAndShownOwed) {
    struct Case {
        const char* name;
        std::function<void(frmEAJ2*)> before;  // puts the card where it is owed a stop
        std::function<void(frmEAJ2*)> stop;    // what the user does to stop it
        int item;                              // group "03": the item the stop sets to "00"
    };
    const Case cases[] = {
        {"coarse release",
         [this](frmEAJ2* s) {
             start(s, 2);
             press(s->OpenCoaseAdjBut);
             nextPass(s);
         },
         [this](frmEAJ2* s) { release(s->OpenCoaseAdjBut); }, 11},
        {"End Setting", [this](frmEAJ2* s) { start(s, 1); }, [](frmEAJ2* s) { s->butMode[0]->click(); }, 9},
        {"test mode OFF",
         [this](frmEAJ2* s) {
             s->optTestMode[1]->click();
             nextPass(s);
         },
         [](frmEAJ2* s) { s->optTestMode[0]->click(); }, 50},
    };
    QLabel* owed = window->findChild<QLabel*>("lblStopsOwed");
    ASSERT_NE(owed, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* s = open();
        c.before(s);
        useFakeClock();
        messages.shown.clear();
        sim.addFault(fault("D00", kEAJ2, FaultAction::Silence));  // the card answers no stop
        c.stop(s);
        nextPass(s);
        nextPass(s);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text,
                  "The actuator on slot 15 could not be stopped: its card did not answer. The stop is sent again "
                  "until the card answers it.");
        EXPECT_TRUE(StopOwed(kEAJ2));
        EXPECT_TRUE(owed->isVisible());
        EXPECT_EQ(owed->text(), "Stop owed: slot 15");
        EXPECT_TRUE(G().Connected);
        // The card answers again: the next tick's stop is taken, and nothing is shown owed.
        sim.clearFaults();
        ASSERT_TRUE(waitFor([&] { return !StopOwed(kEAJ2); }, 20000));
        EXPECT_FALSE(owed->isVisible());
        EXPECT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(sim.value(kEAJ2, "03", c.item), "00");
        platform::services().clock = &steadyClock;
        cardList()->setCurrentIndex(0);
        ASSERT_TRUE(waitFor([] { return !ActionsWaiting() && !ExchangeWaiting(); }));
    }
}

// Ending the program while a stop is owed asks first: "Yes" tries once more,
// "No" ends all the same, saying the motor may still be moving.
TEST_F(EajTest, EndingWithAStopOwedAsksWhetherToTryOnceMore) {
    auto* s = open();
    start(s, 2);
    press(s->OpenCoaseAdjBut);
    nextPass(s);
    useFakeClock();
    sim.addFault(fault("D00", kEAJ2, FaultAction::Silence));
    messages.shown.clear();
    messages.answers = {platform::MsgResult::Ok, platform::MsgResult::Yes, platform::MsgResult::No};
    const int before = endCalls;
    menu("mnuFilesEnd")->trigger();
    ASSERT_TRUE(waitFor([&] { return endCalls == before + 1; }, 60000));
    // Told that it could not be stopped, then asked twice: once more, then no.
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[0].text.rfind("The actuator on slot 15 could not be stopped", 0), 0u);
    for (std::size_t i : {1u, 2u}) {
        EXPECT_EQ(messages.shown[i].title, "Exit");
        EXPECT_EQ(messages.shown[i].buttons, platform::MsgButtons::YesNo);
        EXPECT_EQ(messages.shown[i].text.rfind("Stop owed: slot 15: its card has not answered the stop, so the motor "
                                               "may still be moving.",
                                               0),
                  0u)
            << messages.shown[i].text;
    }
    EXPECT_GE(countItem("03", "11"), 2u) << "the stop was tried again";
}

// The old fault: with two actuators, the stop owed to one went out at the start
// of a turn and selected its card; the other's screen then sent its tick
// without a select and moved the first one's motor. Each frame of the screen's
// tick now reaches its own card, the owed stop's go to theirs.
TEST_F(EajTest, TwoActuatorsOneOwingAStopNeverCross) {
    constexpr int kOther = 16;
    k6sim::Station st = sim.station();
    st.slot(kOther) = pulseStation().slot(kEAJ2);
    sim.setStation(st);
    button("CmdUpload")->click();
    ASSERT_TRUE(waitFor([] { return !ActionsWaiting() && !ExchangeWaiting(); }));
    auto* s = pick<frmEAJ2>(kOther);
    start(s, 2);
    press(s->OpenCoaseAdjBut);
    nextPass(s);
    ASSERT_EQ(sim.value(kOther, "03", 11), "01");
    useFakeClock();
    sim.addFault(fault("D00", kOther, FaultAction::Silence));  // the other card answers no stop
    s = open();                                                // its screen left: the stop is owed
    ASSERT_TRUE(StopOwed(kOther));
    start(s, 2);
    press(s->OpenCoaseAdjBut);
    ASSERT_EQ(SelectedCard(), kEAJ2);
    sim.clearFrames();  // frames stamped "?" went to the actuator selected now
    passFakeTime(3 * kOwedStopRetryMs);
    release(s->OpenCoaseAdjBut);
    ASSERT_TRUE(waitFor([&] { return sim.value(kEAJ2, "03", 11) == "00"; }, 5000));
    settle(s);
    Frames all = stamped();
    for (std::string& w : all)
        if (w[0] == '?') w = "15" + w.substr(1);
    std::size_t tries = 0;
    for (const std::string& w : all) {
        SCOPED_TRACE(w);
        if (w.find("|03/11:") == std::string::npos) continue;
        if (w.rfind("16|", 0) == 0) {
            EXPECT_EQ(w, "16|03/11:00") << "only the owed stop goes to the other card";
            ++tries;
        } else {
            EXPECT_EQ(w.rfind("15|", 0), 0u);
        }
    }
    EXPECT_GE(tries, 2u);
    EXPECT_NE(std::find(all.begin(), all.end(), "15|03/11:01"), all.end());
    EXPECT_EQ(sim.value(kEAJ2, "03", 11), "00");
    EXPECT_EQ(sim.value(kOther, "03", 11), "01") << "its card never answered the stop";
    EXPECT_TRUE(StopOwed(kOther));
}

// A first upload the card refuses in part: the lists keep the defaults they
// show, drawn as not read, and a download writes neither of them.
TEST_F(EajTest, RefusedEnableAndDeadbandAreNotSentUntilRead) {
    auto* s = open();
    k6sim::Fault enable = fault("I43", kEAJ2, FaultAction::Reply, "CNG");
    enable.group = "02";
    k6sim::Fault band = fault("I05", kEAJ2, FaultAction::Reply, "CNG");
    band.group = "4";
    sim.addFault(enable);
    sim.addFault(band);
    upload(s);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(DrawnUnread(s->List_ChEnable[1]));
    EXPECT_TRUE(DrawnUnread(s->List_Deadband[1]));
    EXPECT_FALSE(DrawnUnread(s->List_ChEnable[0]));
    sim.clearFaults();
    sim.clearFrames();
    download(s);
    const Frames sent = transferWrites();
    for (const std::string& w : sent) {
        EXPECT_NE(w.rfind("02/43:", 0), 0u) << w;
        EXPECT_NE(w.rfind("4/05:", 0), 0u) << w;
    }
    EXPECT_NE(std::find(sent.begin(), sent.end(), "02/42:0"), sent.end()) << "channel 1 is sent";
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, std::string(ui::kLeftAsTheyAreText) + "Ch Enable/Disable Ch.2; Deadband Ch.2");
}

// --- owed stops and commands the card does not answer ---

namespace {

class EajOwedTest : public EajTest {
protected:
    // A coarse open run the card took, then the screen left for the IY8 card
    // while the actuator cannot be selected: the stop is owed, and told.
    frmEAJ2* owedAfterLeaving() {
        auto* s = open();
        start(s, 2);
        press(s->OpenCoaseAdjBut);
        nextPass(s);
        EXPECT_EQ(sim.value(kEAJ2, "03", 11), "01");
        useFakeClock();
        sim.addFault(silence("D" + str(kEAJ2), -1));
        cardList()->setCurrentIndex(kIY8);
        EXPECT_TRUE(waitFor([&] { return G().CurCardNo == kIY8 && !ExchangeWaiting() && !ActionsWaiting(); }, 20000));
        release(s->OpenCoaseAdjBut);
        EXPECT_TRUE(StopOwed(kEAJ2));
        EXPECT_EQ(messages.shown.size(), 1u);
        messages.shown.clear();
        return s;
    }
    void toOverview() {
        cardList()->setCurrentIndex(0);
        ASSERT_TRUE(waitFor([] { return G().CurCardNo == 0 && !ExchangeWaiting() && !ActionsWaiting(); }, 20000));
    }
    // The overview's Start, with `during` run once the monitoring has passed
    // slot 14; returns when monitoring has ended.
    void monitor(std::function<void()> during) {
        sim.clearFrames();
        when([this] { return countFrames("D14") >= 1 && ExchangeWaiting(); }, std::move(during));
        button("cmdStart")->click();
    }
};

}  // namespace

// The user hears of a stop the card did not answer once the stop's own
// attempts have failed: nothing more is asked of the card before that.
TEST_F(EajTest, AStopTheCardDoesNotAnswerIsToldWithinItsOwnAttempts) {
    auto* s = open();
    start(s, 1);
    press(s->CloseCoaseAdjBut);
    nextPass(s);
    useFakeClock();
    messages.shown.clear();
    sim.addFault(fault("D00", kEAJ2, FaultAction::Silence));
    sim.clearFrames();
    const auto releasedAt = fakeClock.now;
    release(s->CloseCoaseAdjBut);
    ASSERT_TRUE(waitFor([&] { return !messages.shown.empty(); }, 20000));
    const auto took = fakeClock.now - releasedAt;
    EXPECT_EQ(messages.shown[0].text.rfind("The actuator on slot 15 could not be stopped", 0), 0u);
    EXPECT_LE(took, 4 * kReplyTimeoutMs + 1000) << "four attempts of the stop, no more";
    EXPECT_EQ(countItem("03", "28"), 0u) << "no raw position read before the user is told";
    EXPECT_EQ(window->findChild<QLabel*>("lblStopsOwed")->text(), "Stop owed: slot 15");
    sim.clearFaults();
    ASSERT_TRUE(waitFor([&] { return !StopOwed(kEAJ2); }, 20000));
}

// A raw position the card does not give shows nothing, and no region: the
// light green follows a value read only.
TEST_F(EajTest, APositionTheCardDoesNotGiveShowsNoRegion) {
    struct Case {
        const char* name;
        FaultAction action;
    } cases[] = {{"unanswered", FaultAction::Silence}, {"refused", FaultAction::Reply}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* s = open();
        start(s, 1);  // closing: a position of 0 would be in the region
        sim.setValue(kEAJ2, "03", 28, "12");
        nextPass(s);
        ASSERT_TRUE(isLightGreen(s->PosRawDat[0]));
        useFakeClock();
        sim.addFault(fault("I28", kEAJ2, c.action, "CNG"));
        nextPass(s);
        EXPECT_EQ(text(s->PosRawDat[0]), "");
        EXPECT_FALSE(isLightGreen(s->PosRawDat[0]));
        sim.clearFaults();
        nextPass(s);
        EXPECT_EQ(text(s->PosRawDat[0]), "12");
        EXPECT_TRUE(isLightGreen(s->PosRawDat[0]));
        s->butMode[0]->click();
        nextPass(s);
        platform::services().clock = &steadyClock;
    }
}

// "Set Close Position" and "Set Open Position" on a card that does not answer
// their select or their group writes: no setting starts, and the user is told.
TEST_F(EajTest, TheEndPositionButtonsTellACardThatDidNotAnswer) {
    struct Case {
        const char* name;
        k6sim::Fault fault;
        int button;
    };
    k6sim::Fault groupWrite = fault("D1", kEAJ2, FaultAction::Silence);
    groupWrite.group = "04";
    const Case cases[] = {
        {"select", silence("D" + str(kEAJ2), -1), 1},
        {"select", silence("D" + str(kEAJ2), -1), 2},
        {"group write", groupWrite, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " of button " + str(c.button));
        auto* s = open();
        useFakeClock();
        messages.shown.clear();
        sim.addFault(c.fault);
        sim.clearFrames();
        s->butMode[static_cast<std::size_t>(c.button)]->click();
        ASSERT_TRUE(waitFor([&] { return !messages.shown.empty(); }, 20000));
        EXPECT_EQ(messages.shown[0].text, std::string("The actuator on slot 15 did not answer: ") +
                                              (c.button == 1 ? "Set Close Position" : "Set Open Position") +
                                              " may not have reached it.");
        EXPECT_TRUE(s->setting().idle());
        EXPECT_FALSE(s->setting().owesStop());
        nextPass(s);
        EXPECT_EQ(countItem("03", "09"), 0u) << "no setting mode asked of the card";
        EXPECT_TRUE(s->butMode[1]->isEnabled());
        sim.clearFaults();
        platform::services().clock = &steadyClock;
    }
}

// The old fault: the actuator was swapped for a power monitor while connected;
// the Upload listed the power monitor in its slot, yet the stop stayed owed and
// a later turn wrote it into the power monitor. The list drops it, and tells.
TEST_F(EajOwedTest, ACardSwappedInTheActuatorsSlotIsFoundByTheUploadAndTakesNoStop) {
    owedAfterLeaving();
    toOverview();
    k6sim::Station st = sim.station();
    st.slot(kEAJ2) = k6sim::defaultStation().slot(16);  // a power monitor, GBH11231
    sim.setStation(st);
    sim.setValue(kEAJ2, "03", 11, "250");
    sim.clearFaults();
    button("CmdUpload")->click();
    ASSERT_TRUE(waitFor([] { return !ActionsWaiting() && !ExchangeWaiting(); }));
    EXPECT_FALSE(StopOwed(kEAJ2));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"The actuator formerly on slot 15 was not stopped by the "
                                                          "program: the slot now holds another card (GBH11231)."}));
    EXPECT_TRUE(window->findChild<QLabel*>("lblStopsOwed")->isHidden());
    passFakeTime(3 * kOwedStopRetryMs);
    EXPECT_EQ(sim.value(kEAJ2, "03", 11), "250") << "nothing written into the power monitor";
}

// A stop owed across a reconnect: the handshake confirms the actuator in the
// slot list and sends the stop before anything else is written, with no Upload.
TEST_F(EajOwedTest, AStopOwedAcrossAReconnectGoesOutAtTheConnect) {
    owedAfterLeaving();
    menu("mnuConnectDisconnect")->trigger();
    ASSERT_FALSE(G().Connected);
    ASSERT_TRUE(StopOwed(kEAJ2));
    sim.clearFaults();
    sim.clearFrames();
    connectThroughMenu();
    ASSERT_TRUE(G().Connected);
    EXPECT_FALSE(StopOwed(kEAJ2));
    expectCardAtRest();
    const Frames w = stamped();
    const auto stop = std::find(w.begin(), w.end(), "15|03/11:00");
    const auto firstOther = std::find(w.begin(), w.end(), "00|01/01:1");
    ASSERT_NE(stop, w.end());
    EXPECT_LT(stop, firstOther) << "the stop before anything else is written";
    EXPECT_EQ(countFrames("G99"), 0u) << "no Upload needed";
}

// Quitting after a reconnect, before any Upload, with the actuator still
// silent: "Yes" tries the stop for real.
TEST_F(EajOwedTest, QuittingAfterAReconnectTriesTheStopForReal) {
    owedAfterLeaving();
    menu("mnuConnectDisconnect")->trigger();
    connectThroughMenu();  // the actuator is still silent: the stop stays owed
    ASSERT_TRUE(G().Connected);
    ASSERT_TRUE(StopOwed(kEAJ2));
    messages.shown.clear();
    messages.answers = {platform::MsgResult::Yes, platform::MsgResult::No};
    sim.clearFrames();
    const int before = endCalls;
    menu("mnuFilesEnd")->trigger();
    ASSERT_TRUE(waitFor([&] { return endCalls == before + 1; }, 60000));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].title, "Exit");
    EXPECT_GE(countFrames("D15"), 2u) << "the last try and the one the user asked for";
}

// With nothing else talking to the station (the overview shown, no
// monitoring), an owed stop gets a turn of its own once it is due.
TEST_F(EajOwedTest, AStopOwedWhileTheLineIsIdleGoesOutWithoutTheUser) {
    owedAfterLeaving();
    toOverview();
    sim.clearFaults();
    sim.clearFrames();
    fakeClock.now += kOwedStopRetryMs;
    ASSERT_TRUE(waitFor([] { return !StopOwed(kEAJ2); }, 5000));
    expectCardAtRest();
    EXPECT_EQ(stamped(), (Frames{"?|00/01:F", "15|00/41:15", "15|03/11:00", "15|03/09:00"}));
}

// A stop that falls due while monitoring runs goes out at the start of a pass.
TEST_F(EajOwedTest, AStopThatFallsDueDuringMonitoringGoesOut) {
    owedAfterLeaving();
    toOverview();
    sim.clearFaults();
    monitor([this] {
        fakeClock.now += kOwedStopRetryMs;
        when([] { return !StopOwed(kEAJ2); }, [this] { button("cmdStop")->click(); });
    });
    EXPECT_FALSE(StopOwed(kEAJ2));
    expectCardAtRest();
    EXPECT_TRUE(messages.shown.empty());
}

// Disconnect, or closing the window, while monitoring runs and a stop is
// owed: monitoring ends at once, the stop gets its last try, and the link goes.
TEST_F(EajOwedTest, DisconnectOrCloseDuringMonitoringWithAStopOwedActAtOnce) {
    for (const bool close : {false, true}) {
        SCOPED_TRACE(close ? "window closed" : "Disconnect");
        if (close) {
            restartWindow();
            sim.setStation(pulseStation());
            platform::services().clock = &steadyClock;
            connectAndUpload();
            messages.shown.clear();
            activate();
        }
        owedAfterLeaving();
        toOverview();
        sim.clearFaults();
        // The card takes no stop, but answers everything else.
        sim.addFault(fault("D00", kEAJ2, FaultAction::Silence));
        messages.answers = {platform::MsgResult::No};
        const int before = endCalls;
        std::size_t stopsBefore = 0;
        std::chrono::steady_clock::time_point askedAt;
        monitor([&] {
            stopsBefore = countItem("03", "11");
            askedAt = std::chrono::steady_clock::now();
            if (close)
                window->close();
            else
                menu("mnuConnectDisconnect")->trigger();
        });
        ASSERT_TRUE(waitFor([&] { return close ? endCalls == before + 1 : !G().Connected; }, 10000));
        EXPECT_LT(std::chrono::steady_clock::now() - askedAt, std::chrono::seconds(2));
        EXPECT_FALSE(G().CycReadOn);
        EXPECT_FALSE(button("cmdStop")->isEnabled());
        EXPECT_EQ(countItem("03", "11"), stopsBefore + 1) << "the stop's last try";
        EXPECT_TRUE(StopOwed(kEAJ2));
        for (const std::string& t : messages.texts()) EXPECT_NE(t, "Uploading incomplete");
        if (close) {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].title, "Exit");
        } else {
            EXPECT_TRUE(messages.shown.empty());
            EXPECT_EQ(labelText("lblConStatus"), "Disconnected");
        }
    }
}
