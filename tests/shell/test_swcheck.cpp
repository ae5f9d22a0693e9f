// The DIP-switch check screen against the simulator: it reads once per show, its
// boxes and cells follow the read, and every way out disables "Check".
#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "core/Globals.h"
#include "core/MainView.h"
#include "ui/Geometry.h"
#include "shell/frmSWcheck.h"
#include "tests/support/SimFixture.h"

using namespace talvo;
using talvo::shell::frmSWcheck;

namespace {

// Frames of one read of the default station (15 cards, slot 15 empty).
constexpr std::size_t kReadFrames = 9 + 16 * 2 + 15 * 10;

class SwCheckTest : public test::SimTest {
protected:
    SwCheckTest() { setMainView(&view); }
    ~SwCheckTest() override { setMainView(nullptr); }

    // Waits until n frames have come and the read that sent them has ended.
    ::testing::AssertionResult readDone(const frmSWcheck& dlg, std::size_t n) {
        if (QTest::qWaitFor([&] { return sim.frames().size() >= n && !dlg.reading(); }, 20000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << sim.frames().size() << " frames, reading " << dlg.reading();
    }

    // The 24 cells of a row as the window shows them: B black, W white, ? other.
    static std::string rowPattern(const frmSWcheck& dlg, int row) {
        std::string out;
        for (int sw = 1; sw <= 3; ++sw) {
            if (sw > 1) out += ' ';
            for (int p = 1; p <= 8; ++p) {
                const QColor c = dlg.txtCData(DipSwitchModel::cellIndex(row, sw, p))->palette().color(QPalette::Window);
                out += c == QColor(Qt::black) ? 'B' : c == QColor(Qt::white) ? 'W' : '?';
            }
        }
        return out;
    }

    MainViewState view;
};

}  // namespace

TEST_F(SwCheckTest, ShowingReadsTheStationOnceAndTheRowsFollow) {
    sim.setValue(1, "00", 40, "1.02");
    sim.setValue(1, "00", 39, "01,80,FF");
    sim.setValue(2, "00", 39, "A5,3C,0F");
    frmSWcheck dlg;
    EXPECT_EQ(dlg.windowTitle(), "I/O Card DipSW Check");
    dlg.show();
    ASSERT_TRUE(readDone(dlg, kReadFrames));

    EXPECT_EQ(dlg.txtName(0)->text(), "BW4");
    EXPECT_EQ(dlg.txtVersion(0)->text(), "1.02");
    EXPECT_EQ(dlg.txtSW(0)->text(), "01,80,FF");
    EXPECT_EQ(rowPattern(dlg, 0), "BWWWWWWW WWWWWWWB BBBBBBBB");
    EXPECT_EQ(rowPattern(dlg, 1), "BWBWWBWB WWBBBBWW BBBBWWWW");
    for (QLineEdit* box : {dlg.txtName(14), dlg.txtVersion(14), dlg.txtSW(14)}) EXPECT_EQ(box->text(), "-");
    EXPECT_EQ(rowPattern(dlg, 14), "WWWWWWWW WWWWWWWW WWWWWWWW");
    EXPECT_TRUE(dlg.txtName(0)->isReadOnly());
    EXPECT_TRUE(dlg.cmdUp()->isEnabled());
    EXPECT_TRUE(dlg.cmdExit()->isEnabled());

    // The activation a closing message box gives back starts no second read.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&dlg, &activate);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(sim.frames().size(), kReadFrames);

    // Shown again, it reads again, and shows what the station holds now.
    sim.setValue(1, "00", 39, "00,01,00");
    dlg.hide();
    dlg.show();
    ASSERT_TRUE(readDone(dlg, 2 * kReadFrames));
    EXPECT_EQ(sim.frames().size(), 2 * kReadFrames);
    EXPECT_EQ(dlg.txtSW(0)->text(), "00,01,00");
    EXPECT_EQ(rowPattern(dlg, 0), "WWWWWWWW BWWWWWWW WWWWWWWW");
}

// While a read runs, "Upload" and "Exit" are off, and closing the window waits
// for the read to end instead of pulling the screen from under it.
TEST_F(SwCheckTest, CloseDuringAReadWaitsForItsEnd) {
    frmSWcheck dlg;
    dlg.show();
    ASSERT_TRUE(readDone(dlg, kReadFrames));
    sim.clearFrames();
    view.setEnabled(MainControl::cmdSWcheck, true);

    bool upOn = true, exitOn = true, wasReading = false, visibleAfterClose = false;
    QTimer::singleShot(0, &dlg, [&] {
        upOn = dlg.cmdUp()->isEnabled();
        exitOn = dlg.cmdExit()->isEnabled();
        wasReading = dlg.reading();
        dlg.close();
        visibleAfterClose = dlg.isVisible();
    });
    dlg.cmdUp()->click();

    EXPECT_TRUE(wasReading);
    EXPECT_FALSE(upOn);
    EXPECT_FALSE(exitOn);
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_EQ(sim.frames().size(), kReadFrames);  // the read ran to its end
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(view.isEnabled(MainControl::cmdSWcheck));
}

TEST_F(SwCheckTest, EveryWayOutDisablesCheck) {
    const std::pair<const char*, std::function<void(frmSWcheck&)>> ways[] = {
        {"Exit", [](frmSWcheck& d) { d.cmdExit()->click(); }},
        {"Esc", [](frmSWcheck& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"window frame", [](frmSWcheck& d) { d.close(); }},
    };
    for (const auto& [name, leave] : ways) {
        SCOPED_TRACE(name);
        sim.clearFrames();
        frmSWcheck dlg;
        dlg.show();
        ASSERT_TRUE(readDone(dlg, kReadFrames));
        view.setEnabled(MainControl::cmdSWcheck, true);
        leave(dlg);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_FALSE(view.isEnabled(MainControl::cmdSWcheck));
    }
}

// The old fault: the line lost during the check left the window "Connected",
// with no message and its commands on. The check now notices the lost port
// as the settings dialogs do: the disconnected state at once, its read off.
TEST_F(SwCheckTest, ALineLostDuringTheCheckShowsDisconnectedAtOnce) {
    G().Connected = true;
    view.setEnabled(MainControl::CmdUpload, true);
    sim.addFault(test::fault("I39", 1, k6sim::FaultAction::DropLine));
    frmSWcheck dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.reading() && !G().Connected; }, 20000));
    EXPECT_EQ(view.statusText, "Disconnected");
    EXPECT_FALSE(view.isEnabled(MainControl::CmdUpload));
    EXPECT_FALSE(dlg.cmdUp()->isEnabled());
    EXPECT_TRUE(dlg.cmdExit()->isEnabled());
}

// A select the station does not answer stops the check before it reads a
// slot list that could be another card's, and says so.
TEST_F(SwCheckTest, AFailedSelectStopsTheCheckAndIsTold) {
    useFakeClock();
    G().Connected = true;
    sim.addFault(test::silence("DF", -1));
    frmSWcheck dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.reading() && !messages.shown.empty(); }, 20000));
    EXPECT_EQ(messages.shown[0].title, "Test of communication");
    const auto f = sim.frames();
    EXPECT_EQ(std::count(f.begin(), f.end(), "I10"), 0);
    EXPECT_TRUE(dlg.cmdUp()->isEnabled());
}
