// What the user does while a routine holds the serial line waits its turn and then
// runs whole: picks, uploads and starts against a station that answers slowly.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "core/LineTurn.h"
#include "core/TextHelpers.h"
#include "screens/analog_in/frmBW.h"
#include "screens/analog_in/frmBWT8.h"
#include "tests/screens/ScreenFixture.h"

using namespace talvo;
using talvo::test::ScreenTest;

namespace {

class LineTurnTest : public ScreenTest {
protected:
    // Every reply comes this much later, as from a busy station.
    void slowStation(int ms) {
        k6sim::Fault slow;
        slow.action = k6sim::FaultAction::Delay;
        slow.delayMs = ms;
        sim.addFault(slow);
    }
    bool idle() { return !ActionsWaiting() && LineFree() && !ExchangeWaiting(); }
};

// The old fault: slot B's number and type over slot A's version and boxes, and a
// Download that wrote card A's settings into card B.
TEST_F(LineTurnTest, SecondPickWhileTheFirstScreenOpensOpensOnlyTheSecondCard) {
    record(1).Param.set(1, "111");  // BW4's channel 1 zero scale, as stored
    record(2).Param.set(1, "222");  // BW8's
    const std::string card1Before = sim.value(1, "01", 42);
    slowStation(40);
    // While slot 1's opener waits for its version, the user picks slot 2.
    when([] { return ExchangeWaiting() && G().CurCardNo == 1; }, [this] { cardList()->setCurrentIndex(2); });
    cardList()->setCurrentIndex(1);

    ASSERT_TRUE(waitFor([&] { return G().CurCardNo == 2 && G().CurFormType == "BW8" && idle(); }, 15000));
    auto* s = dynamic_cast<screens::frmBW8*>(shell::childForms().screen("BW8"));
    ASSERT_NE(s, nullptr);
    settle(s);
    EXPECT_EQ(text(s->cardNoBox()), "2");
    EXPECT_EQ(text(s->versionBox()), sim.value(2, "00", 40));
    EXPECT_EQ(text(s->txtZScale[0]), "222");

    sim.clearFaults();
    sim.clearFrames();
    download(s);
    const auto f = sim.frames();
    ASSERT_GE(f.size(), 9u);
    // Every write of the download went to the card in slot 2.
    for (std::size_t i = 1; i < f.size(); ++i)
        if (f[i - 1] == "I41") {
            EXPECT_EQ(f[i], "D2");
        }
    EXPECT_EQ(sim.value(2, "01", 42), "222");
    EXPECT_EQ(sim.value(1, "01", 42), card1Before);
    // The settings never read were left as they are on the card, and named.
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, ui::kLeftAsTheyAreTitle);
}

// The old fault: an empty "Version No." and no module reads when the pick came
// while the last monitoring pass still waited.
TEST_F(LineTurnTest, PickRightAfterStopOpensTheScreenWithItsVersionAndOpenerReads) {
    slowStation(5);
    when([this] { return G().CycReadOn && countFrames("D3") >= 1; },
         [this] {
             button("cmdStop")->click();
             cardList()->setCurrentIndex(7);  // BWT8: its opener reads the modules
             EXPECT_TRUE(ActionWaiting("cboCardNo"));
         });
    button("cmdStart")->click();  // returns when the stopped pass has ended

    ASSERT_TRUE(waitFor([&] { return G().CurCardNo == 7 && G().CurFormType == "BWT" && idle(); }, 15000));
    auto* s = dynamic_cast<screens::frmBWT8*>(shell::childForms().screen("BWT"));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(text(s->versionBox()), sim.value(7, "00", 40));
    for (const char* item : {"I55", "I56", "I57", "I58", "I59", "I60"}) EXPECT_GE(countFrames(item), 1u) << item;
    EXPECT_TRUE(messages.shown.empty());
}

// "00:OverView" chosen during a card screen's tick waits for the tick; Upload is
// then served as soon as it may be clicked.
TEST_F(LineTurnTest, OverviewPickDuringATickAndUploadRunAfterTheTick) {
    auto* s = pick<screens::frmBW8>(2);
    settle(s);
    slowStation(30);
    sim.clearFrames();
    when([s] { return s->busy() && ExchangeWaiting(); }, [this] {
        cardList()->setCurrentIndex(0);
        EXPECT_EQ(G().CurFormType, "BW8");  // not yet: the tick holds the line
    });
    ASSERT_TRUE(waitFor([&] { return G().CurFormType == "Over" && idle(); }, 15000));
    ASSERT_TRUE(button("CmdUpload")->isEnabled());
    button("CmdUpload")->click();
    ASSERT_TRUE(waitFor([&] { return countFrames("G99") == 4u && idle(); }, 30000));
    EXPECT_TRUE(messages.shown.empty());
}

// The old fault: with a silent station the window showed Upload, Setting and
// Start enabled and no sign of the wait for seconds after OK.
TEST_F(LineTurnTest, TheConnectHandshakeShowsTheWaitAndKeepsTheCommandsOffUntilConnected) {
    restartWindow();
    button("cmdOverView")->click();  // Start, Upload and Setting are enabled before connecting
    ASSERT_TRUE(button("cmdStart")->isEnabled());
    slowStation(20);
    bool looked = false;
    when([] { return ExchangeWaiting(); }, [this, &looked] {
        looked = true;
        for (const char* b : {"cmdStart", "CmdUpload", "cmdComm", "cmdSpecialSetting", "cmdSWcheck"})
            EXPECT_FALSE(button(b)->isEnabled()) << b;
        EXPECT_FALSE(cardList()->isEnabled());
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    });
    connectThroughMenu();
    ASSERT_TRUE(waitFor([&] { return G().Connected && idle(); }, 15000));
    EXPECT_TRUE(looked);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    for (const char* b : {"cmdStart", "CmdUpload", "cmdComm"}) EXPECT_TRUE(button(b)->isEnabled()) << b;
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
