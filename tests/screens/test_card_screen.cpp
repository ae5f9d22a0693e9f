// The skeleton every card screen shares: opener order, the timer cycle, the
// requests, the failed transfers and the slot a transfer belongs to. Shown on
// the 4-channel scaled input screen and the temperature screen.
#include <gtest/gtest.h>

#include "core/Connection.h"
#include "core/LineTurn.h"
#include "screens/analog_in/frmBW.h"
#include "screens/analog_in/frmHG4.h"
#include "screens/analog_in/frmHG8.h"
#include "shell/frmLoading.h"
#include "tests/screens/ScreenFixture.h"

using namespace talvo;
using namespace talvo::screens;
using Frames = std::vector<std::string>;
using k6sim::Fault;
using k6sim::FaultAction;
using test::fault;
using test::silence;

namespace {

class CardScreenTest : public test::ScreenTest {};

}  // namespace

TEST_F(CardScreenTest, OrderAOpenerRunsTheEntryFirstThenSelectsAndReadsTheVersion) {
    G().CardListFocused = true;  // the list still has the focus while the opener runs
    auto* s = pick<frmBW4>(1);
    EXPECT_EQ(sim.frames(), (Frames{"G00", "I01", "DF", "G00", "I41", "D1", "G00", "I40"}));
    EXPECT_EQ(text(s->cardTypeBox()), "BW4");
    EXPECT_EQ(text(s->cardNoBox()), "1");
    EXPECT_EQ(text(s->versionBox()), "1.02");
    EXPECT_EQ(s->modelFrame()->title(), "BW4");
    EXPECT_TRUE(s->cyclicRun());
    EXPECT_TRUE(s->waitForTimer().isActive());
}

TEST_F(CardScreenTest, OrderBOpenerReadsFirstAndEntersLast) {
    G().CardListFocused = true;
    auto* s = pick<frmHG4>(4);
    EXPECT_EQ(sim.frames(), (Frames{"G00", "I01", "DF", "G00", "I41", "D4", "G00", "I40", "G00", "I25", "G00", "I26",
                                    "G00", "I27", "G00", "I28", "G00", "I20", "G00", "I19"}));
    EXPECT_EQ(text(s->txtInputType[0]), "K");
    EXPECT_EQ(text(s->txtBurnout), "UP");
    EXPECT_EQ(text(s->txtUnit), "degC");
}

TEST_F(CardScreenTest, CycleReadsLiveValuesEvery500msAndNotWhileTheListHasTheFocus) {
    auto* s = pick<frmBW4>(1);
    ASSERT_TRUE(waitFor([&] { return text(s->txtParData[0]) == "+0125"; }));
    EXPECT_EQ(text(s->txtParData[1]), "+0020");  // "+002.0"
    G().CardListFocused = true;
    settle(s);
    sim.clearFrames();
    QTest::qWait(1200);
    EXPECT_TRUE(sim.frames().empty());
    G().CardListFocused = false;
    EXPECT_TRUE(waitFor([&] { return !sim.frames().empty(); }, 1500));
}

// The old fault: with the select of card 1 lost on the line, a stray value
// tagged with item 10 ("D10:+210.5") passed for the select's echo, and the
// screen of card 1 showed card 2's value. The select is sent again instead.
TEST_F(CardScreenTest, AStrayValueThatBeginsWithTheSelectsEchoNeverShowsAnotherCardsValue) {
    auto* s = pick<frmBW4>(1);
    ASSERT_TRUE(waitFor([&] { return text(s->txtParData[0]) == "+0125"; }));
    sim.setValue(2, "00", 10, "+210.5");
    settle(s);
    {
        // Another routine selected card 2 meanwhile.
        LineHold other(2);
        ASSERT_TRUE(SelectCard(2));
    }
    Fault stray = fault("I41", 2, FaultAction::ExtraLate, "D10:+210.5");
    stray.delayMs = 20;
    stray.count = 1;
    sim.addFault(stray);
    Fault lost = silence("D1", 2);
    lost.count = 1;
    sim.addFault(lost);
    sim.clearFrames();
    ASSERT_TRUE(waitFor([&] { return countFrames("I13") >= 1 && !s->busy(); }, 10000));
    EXPECT_EQ(text(s->txtParData[0]), "+0125");
    const Frames w = stamped();
    EXPECT_EQ(std::count(w.begin(), w.end(), "1|00/41:1"), 2) << "the lost select is sent again";
    EXPECT_TRUE(messages.shown.empty());
}

// The old fault: an opener whose select the station did not answer left the
// version of the card shown before in the box, where a screen that works out
// its settings from the version (IY4A) took it for this card's.
TEST_F(CardScreenTest, AnOpenerThatCannotSelectItsCardShowsNoVersion) {
    auto* s = pick<frmHG8>(5);  // the screen the HG8 in slot 5 and the HG8A in slot 6 share
    settle(s);
    ASSERT_EQ(text(s->versionBox()), "0.9");
    useFakeClock();
    sim.addFault(silence("D6", -1));
    ASSERT_EQ(pick<frmHG8>(6), s);
    EXPECT_EQ(text(s->versionBox()), "");
}

TEST_F(CardScreenTest, DownloadClickedAfterUploadRunsFirst) {
    auto* s = pick<frmBW4>(1);
    settle(s);
    type(s->txtZScale[0], "123");
    sim.clearFrames();
    s->uploadButton()->click();
    s->downloadButton()->click();
    s->uploadButton()->click();  // twice before the tick: one upload
    // The download writes only the box that holds a value; the upload reads all 16 items.
    ASSERT_TRUE(waitFor([&] { return countFrames("I49") >= 1; }));
    settle(s);
    const Frames f = sim.frames();
    const auto firstItem42 = std::find(f.begin(), f.end(), "I42");
    ASSERT_NE(firstItem42, f.end());
    ASSERT_NE(firstItem42 + 1, f.end());
    EXPECT_EQ(*(firstItem42 + 1), "D123");  // the download's write came first
    EXPECT_EQ(countFrames("D123"), 1u);      // one download
    EXPECT_EQ(countFrames("I49"), 1u);       // one upload (the download had nothing for item 49)
    EXPECT_EQ(sim.value(1, "01", 42), "123");
}

TEST_F(CardScreenTest, HiddenScreenMakesOneSilentTickAndStops) {
    auto* s = pick<frmBW4>(1);
    settle(s);
    button("cmdOverView")->click();
    sim.clearFrames();
    ASSERT_TRUE(waitFor([&] { return !s->cyclicRun(); }, 1500));
    QTest::qWait(700);
    EXPECT_TRUE(sim.frames().empty());
    EXPECT_FALSE(s->waitForTimer().isActive());
}

TEST_F(CardScreenTest, ModelCodeThatNoRowMatchesShowsTheEmptySlotScreen) {
    auto* s = pick<frmBW4>(1);
    settle(s);
    record(3).CardType = "XX9";
    cardList()->setCurrentIndex(3);
    EXPECT_EQ(G().CurFormType, "NONE");
    EXPECT_TRUE(shell::childForms().isShown("NONE"));
    EXPECT_FALSE(shell::childForms().isShown(s));
    ASSERT_TRUE(waitFor([&] { return !s->cyclicRun(); }, 1500));
}

TEST_F(CardScreenTest, UploadThatLosesTheCardStopsKeepsTheRestAndDisconnects) {
    auto* s = pick<frmBW4>(1);
    settle(s);
    for (int i = 1; i <= 16; ++i) record(1).Param.set(i, "old" + std::to_string(i));
    record(1).ChOption.set(1, "1");
    useFakeClock();
    sim.addFault(silence("I12", 1));  // channel 2's zero adjust, group 01
    upload(s);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Uploading incomplete"}));
    EXPECT_EQ(messages.shown[0].title, "Uploading");
    EXPECT_FALSE(G().Connected);
    EXPECT_FALSE(serial.isOpen());
    EXPECT_EQ(record(1).Param[1], "0");      // read before the failure
    EXPECT_EQ(record(1).Param[6], "10000");  // channel 2's full scale came
    EXPECT_EQ(record(1).Param[7], "old7");   // not read
    EXPECT_EQ(record(1).Param[16], "old16");
    EXPECT_EQ(record(1).ChOption[1], "1");
    EXPECT_FALSE(window->progressWindow() && window->progressWindow()->isVisible());
    EXPECT_FALSE(window->isEnabled(MainControl::cboCardNo));
}

// The old fault: a refused read was shown and stored as "CNG", and the next
// Download wrote that text to the card.
TEST_F(CardScreenTest, ARefusedReadKeepsTheBoxAndTheRecordAndIsNeverWrittenBack) {
    auto* s = pick<frmBW4>(1);
    settle(s);
    record(1).Param.set(1, "111");  // channel 1's zero scale, as stored
    record(1).Param.set(5, "222");  // channel 2's
    type(s->txtZScale[0], "111");
    type(s->txtZScale[1], "222");
    for (const char* refusal : {"CNG", "CNU"}) {
        SCOPED_TRACE(refusal);
        Fault f;
        f.frame = "I42";  // channel 1's zero scale
        f.card = 1;
        f.action = FaultAction::Reply;
        f.text = refusal;
        sim.clearFaults();
        sim.addFault(f);
        upload(s);
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_TRUE(G().Connected);
        EXPECT_EQ(text(s->txtZScale[0]), "111");
        EXPECT_EQ(record(1).Param[1], "111");
        EXPECT_EQ(text(s->txtZScale[1]), sim.value(1, "01", 44)) << "the others are read";
    }
    sim.clearFaults();
    sim.clearFrames();
    const std::string cardOwn = sim.value(1, "01", 42);
    download(s);
    // Nor is the kept text written: it was not read from the card, which keeps its own.
    EXPECT_EQ(sim.value(1, "01", 42), cardOwn);
    EXPECT_EQ(countFrames("D111"), 0u);
    EXPECT_EQ(record(1).Param[1], "111");
    for (const std::string& f : sim.frames()) EXPECT_EQ(f.find("CN"), std::string::npos) << f;
}

TEST_F(CardScreenTest, DownloadThatLosesTheCardKeepsOnlyWhatTheCardTook) {
    auto* s = pick<frmBW4>(1);
    settle(s);
    for (int ch = 0; ch < 4; ++ch) type(s->txtZScale[static_cast<std::size_t>(ch)], std::to_string(100 + ch));
    Fault f;
    f.frame = "D101";
    f.card = 1;
    f.action = FaultAction::Reply;
    f.text = "CNG";
    sim.addFault(f);
    download(s);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Downloading incomplete"}));
    EXPECT_EQ(messages.shown[0].title, "Downloading");
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(record(1).Param[1], "100");
    EXPECT_EQ(record(1).Param[5], "");  // channel 2's zero scale was refused
    EXPECT_EQ(sim.value(1, "01", 42), "100");
}

TEST_F(CardScreenTest, TransferStaysWithTheSlotItStartedOn) {
    auto* s = pick<frmBW4>(1);
    settle(s);
    Fault slow;
    slow.frame = "I16";
    slow.card = 1;
    slow.action = FaultAction::Delay;
    slow.delayMs = 300;
    sim.addFault(slow);
    bool listWasDisabled = false;
    QTimer::singleShot(150, [&] {
        listWasDisabled = !window->isEnabled(MainControl::cboCardNo);
        G().CurCardNo = 2;  // as if another slot had been picked meanwhile
    });
    upload(s);
    EXPECT_TRUE(listWasDisabled);
    EXPECT_EQ(static_cast<long>(countFrames("D2")), 0);
    EXPECT_EQ(record(1).Param[16], "1.000");
    EXPECT_EQ(record(2).Param[16], "");
    EXPECT_TRUE(window->isEnabled(MainControl::cboCardNo));
}

TEST_F(CardScreenTest, FailedLiveReadReportsOnlyWhileConnected) {
    auto* s = pick<frmBW4>(1);
    settle(s);
    ASSERT_TRUE(waitFor([&] { return text(s->txtParData[0]) == "+0125"; }));
    useFakeClock();
    sim.addFault(silence("I13", 1));
    ASSERT_TRUE(waitFor([&] { return !G().Connected; }));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Uploading incomplete"}));
    EXPECT_EQ(text(s->txtParData[0]), "+0125");  // no box changed
    QTest::qWait(1200);                          // later failing reads while disconnected show nothing
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(s->cyclicRun());
}

// BW8 stops its cycle when another screen takes its place, not when a message
// box, a file dialog or another program takes the focus.
TEST_F(CardScreenTest, ScreenThatStopsWhenDeactivatedKeepsItsCycleWhenTheFocusGoesElsewhere) {
    auto* s = pick<frmBW8>(2);
    settle(s);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(s, &deactivate);
    EXPECT_TRUE(s->waitForTimer().isActive());
    sim.clearFrames();
    EXPECT_TRUE(waitFor([&] { return countFrames("I10") >= 1; }, 3000));  // the live read goes on
}

TEST_F(CardScreenTest, ScreenThatStopsWhenDeactivatedStopsWhenAnotherScreenIsShownAndRunsWhenEnteredAgain) {
    auto* s = pick<frmBW8>(2);
    settle(s);
    cardList()->setCurrentIndex(0);
    EXPECT_FALSE(s->waitForTimer().isActive());
    sim.clearFrames();
    QTest::qWait(700);
    EXPECT_TRUE(sim.frames().empty());
    pick<frmBW8>(2);
    EXPECT_TRUE(s->waitForTimer().isActive());
}

// The client area behind the screens is dark; the screens must not take on its roles.
TEST_F(CardScreenTest, ScreensKeepTheirOwnColoursInTheDarkClientArea) {
    auto* s = pick<frmBW4>(1);
    settle(s);
    QWidget* overview = window->findChild<QWidget*>("frmOverview");
    ASSERT_NE(overview, nullptr);
    for (QWidget* w : {static_cast<QWidget*>(s), overview}) {
        EXPECT_EQ(w->backgroundRole(), QPalette::Window);
        EXPECT_EQ(w->foregroundRole(), QPalette::WindowText);
    }
    const QImage img = s->txtEnable[0]->grab().toImage();
    EXPECT_EQ(QColor(img.pixel(img.width() - 4, img.height() / 2)), QColor(0, 128, 0));  // "0" on green
    EXPECT_EQ(QColor(s->grab().toImage().pixel(3, 3)), QApplication::palette().color(QPalette::Window));
}

TEST_F(CardScreenTest, SameScreenForAnotherSlotShowsThatSlotAndRunsTheEntryAgain) {
    k6sim::Station st = sim.station();
    st.slot(15).code = "BW4";
    sim.setStation(st);
    button("CmdUpload")->click();
    record(1).Param.set(1, "slot1");
    record(15).Param.set(1, "slot15");
    auto* s = pick<frmBW4>(1);
    settle(s);
    EXPECT_EQ(text(s->txtZScale[0]), "slot1");
    auto* again = pick<frmBW4>(15);
    EXPECT_EQ(again, s);
    EXPECT_TRUE(shell::childForms().isShown(s));
    EXPECT_EQ(text(s->cardNoBox()), "15");
    EXPECT_EQ(text(s->txtZScale[0]), "slot15");
    EXPECT_TRUE(s->cyclicRun());
    EXPECT_FALSE(shell::childForms().isShown("Over"));
}

TEST_F(CardScreenTest, EmptySlotAfterACardScreenShowsTheEmptySlotScreenOnly) {
    auto* s = pick<frmBW4>(1);
    settle(s);
    sim.clearFrames();
    cardList()->setCurrentIndex(15);  // "NONE"
    EXPECT_EQ(G().CurFormType, "NONE");
    EXPECT_TRUE(shell::childForms().isShown("NONE"));
    EXPECT_FALSE(shell::childForms().isShown(s));
    EXPECT_FALSE(shell::childForms().isShown("Over"));
    EXPECT_TRUE(sim.frames().empty());  // nothing is sent for an empty slot
}

// A row that lists no group for a channel it has is a programming error: a
// debug build stops on it rather than quietly addressing another group.
TEST(SettingRowTest, AChannelWithoutItsOwnGroupStopsADebugBuild) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const Setting s{.at = {.channelGroups = {"3", "4"}}};
    EXPECT_EQ(s.groupOn(0, 1), "3");
    EXPECT_EQ(s.groupOn(0, 2), "4");
    EXPECT_DEBUG_DEATH(s.groupOn(0, 3), "");
#ifdef NDEBUG
    // A release build takes the nearest group the row lists, never one past the list.
    EXPECT_EQ(s.groupOn(0, 3), "4");
    EXPECT_EQ(s.groupOn(0, 0), "3");
#endif
}
