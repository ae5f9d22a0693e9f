// Upload, Start and Stop, and Exit while monitoring, against the simulator's
// default station.
#include <gtest/gtest.h>

#include <QTimer>
#include <cstdlib>

#include "core/Colors.h"
#include "core/LineTurn.h"
#include "core/Overview.h"
#include "platform/Services.h"
#include "ui/Geometry.h"
#include "shell/frmLoading.h"
#include "shell/frmOverview.h"
#include "tests/shell/ShellFixture.h"

using namespace talvo;
using talvo::test::ShellTest;

namespace {

shell::frmOverview* overview(const ShellTest& t) { return t.window->findChild<shell::frmOverview*>("frmOverview"); }

QColor lampColor(const ShellTest& t, int slot, int k) {
    return overview(t)->diDataCh(slot, k)->palette().color(QPalette::Window);
}

// Calls `then` once the simulator has seen `passes` whole monitoring passes
// (each ends by selecting slot 16).
void afterPasses(ShellTest& t, std::size_t passes, std::function<void()> then) {
    auto* timer = new QTimer(t.window.get());
    timer->setInterval(2);
    QObject::connect(timer, &QTimer::timeout, [&t, timer, passes, then] {
        if (t.countFrames("D16") < passes) return;
        timer->stop();
        timer->deleteLater();
        then();
    });
    timer->start();
}

TEST_F(ShellTest, UploadFillsTheCardListAndTheOverview) {
    connectThroughMenu();
    button("CmdUpload")->click();

    const char* codes[] = {"BW4", "BW8", "BW16", "HG4", "HG8", "HG8A", "BWT8", "EK4",
                           "EK8", "ZN2", "FD4", "FD8", "KR4", "KR8", "NONE"};
    for (int n = 1; n <= 15; ++n) {
        const QString expected = QString("%1:%2").arg(n, 2, 10, QChar('0')).arg(codes[n - 1]);
        EXPECT_EQ(cardList()->itemText(n), expected);
        EXPECT_EQ(overview(*this)->cardType(n)->text(), codes[n - 1]);
    }
    const QString gbh = QString::fromLatin1(CardDisplayName("GBH11231").c_str());
    EXPECT_EQ(cardList()->itemText(16), "16:" + gbh);
    EXPECT_EQ(overview(*this)->cardType(16)->text(), gbh);
    EXPECT_EQ(overview(*this)->cardStatus(1)->text(), "IN");

    // The monitoring pass at the end filled the live cells.
    EXPECT_EQ(overview(*this)->inputDataCh(1, 1)->text(), "+0125");
    const char* kr4 = "RGRGGRGRGGGGGGGG";  // 00A5, point 1 first
    for (int k = 1; k <= 16; ++k)
        EXPECT_EQ(lampColor(*this, 13, k), ui::toQColor(kr4[k - 1] == 'R' ? colors::Red : colors::Green)) << k;

    ASSERT_NE(window->progressWindow(), nullptr);
    EXPECT_FALSE(window->progressWindow()->isVisible());
    EXPECT_TRUE(button("cmdSWcheck")->isEnabled());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ShellTest, UploadWhoseMonitoringPassDisconnectsKeepsTheDisconnectedLook) {
    useFakeClock();
    connectThroughMenu();
    // The alarm card in slot 13 stops answering its discrete word.
    k6sim::Fault silentWord;
    silentWord.frame = "I10";
    silentWord.card = 13;
    sim.addFault(silentWord);

    button("CmdUpload")->click();

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Uploading incomplete");
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(labelText("lblConStatus"), "Disconnected");
    for (MainControl c : {MainControl::cmdComm, MainControl::CmdUpload, MainControl::cmdStart, MainControl::cmdOverView,
                          MainControl::cmdSpecialSetting, MainControl::cmdSWcheck, MainControl::cboCardNo,
                          MainControl::mnuFilesOpen, MainControl::mnuConnectDisconnect})
        EXPECT_FALSE(window->isEnabled(c)) << static_cast<int>(c);
    EXPECT_TRUE(window->isEnabled(MainControl::mnuConnectConnect));
}

TEST_F(ShellTest, StartRepeatsPassesUntilStop) {
    connectAndUpload();
    sim.clearFrames();
    afterPasses(*this, 2, [this] { button("cmdStop")->click(); });

    button("cmdStart")->click();  // returns when Stop ends the loop

    EXPECT_GE(countFrames("D16"), 2u);
    EXPECT_FALSE(G().CycReadOn);
    EXPECT_FALSE(button("cmdStop")->isEnabled());
    EXPECT_TRUE(button("cmdStart")->isEnabled());
    EXPECT_FALSE(button("cmdSWcheck")->isEnabled());
    EXPECT_TRUE(messages.shown.empty());
}

// Stop, and at once Start again while the stopped pass still waits for its
// reply: the new Start waits for the line and runs once the old loop has ended.
TEST_F(ShellTest, StartClickedWhileTheStoppedPassEndsRunsAfterIt) {
    connectAndUpload();
    sim.clearFrames();
    afterPasses(*this, 1, [this] {
        button("cmdStop")->click();
        button("cmdStart")->click();
        EXPECT_FALSE(G().CycReadOn);  // kept back: the stopped pass still holds the line
        EXPECT_TRUE(ActionWaiting("cmdStart"));
        afterPasses(*this, 3, [this] { button("cmdStop")->click(); });
    });

    button("cmdStart")->click();  // returns when the first loop has ended

    QTRY_VERIFY_WITH_TIMEOUT(countFrames("D16") >= 3 && !G().CycReadOn && !ActionsWaiting(), 30000);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(G().Connected);
    EXPECT_TRUE(button("cmdStart")->isEnabled());
}

// Upload clicked right after Stop, while the last pass still runs, is kept and
// runs once the pass has ended.
TEST_F(ShellTest, UploadClickedWhileThePassEndsRunsAfterIt) {
    connectAndUpload();
    sim.clearFrames();
    afterPasses(*this, 1, [this] {
        button("cmdStop")->click();
        button("CmdUpload")->click();
        EXPECT_EQ(countFrames("G99"), 0u);
    });

    button("cmdStart")->click();

    QTRY_VERIFY_WITH_TIMEOUT(countFrames("G99") == 4u && !ActionsWaiting() && button("CmdUpload")->isEnabled(), 30000);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(G().Connected);
}

// The line goes during monitoring (the terminal hangs up, or the station stops
// answering): told once, and the window shows the disconnected look.
TEST_F(ShellTest, LineLostDuringMonitoringIsToldOnceAndDisconnects) {
    const struct {
        const char* name;
        k6sim::FaultAction action;
        bool fakeClock;
    } cases[] = {
        {"line dropped", k6sim::FaultAction::DropLine, false},
        {"station silent", k6sim::FaultAction::Silence, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        restartWindow();
        connectAndUpload();
        if (c.fakeClock) useFakeClock();
        sim.clearFrames();
        afterPasses(*this, 1, [this, &c] {
            k6sim::Fault f;
            f.frame = "I10";
            f.card = 8;  // mid-pass
            f.action = c.action;
            sim.addFault(f);
        });

        button("cmdStart")->click();  // returns when the loop has ended

        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "Uploading incomplete");
        EXPECT_EQ(messages.shown[0].title, "Uploading");
        EXPECT_FALSE(G().Connected);
        EXPECT_FALSE(G().CycReadOn);
        EXPECT_FALSE(serial.isOpen());
        EXPECT_EQ(labelText("lblConStatus"), "Disconnected");
        EXPECT_TRUE(window->isEnabled(MainControl::mnuConnectConnect));
        EXPECT_FALSE(button("cmdStop")->isEnabled());
        EXPECT_FALSE(button("cmdStart")->isEnabled());
        if (c.action == k6sim::FaultAction::DropLine) {
            sim.stop();
            ASSERT_TRUE(sim.start());
            ::setenv("TALVO_COM1", sim.devicePath().c_str(), 1);
        }
        platform::services().clock = &steadyClock;
    }
}

TEST_F(ShellTest, ExitWhileMonitoringClosesThePortAndEndsTheProgram) {
    using Leave = void (*)(ShellTest&);
    const struct {
        const char* name;
        Leave leave;
    } ways[] = {
        {"menu Exit", [](ShellTest& t) { t.menu("mnuFilesEnd")->trigger(); }},
        {"window closed", [](ShellTest& t) { t.window->close(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        restartWindow();
        endCalls = 0;
        connectAndUpload();
        sim.clearFrames();
        bool portOpenAtEnd = true;
        afterPasses(*this, 1, [&] {
            way.leave(*this);
            portOpenAtEnd = serial.isOpen();
        });

        button("cmdStart")->click();

        EXPECT_EQ(endCalls, 1);
        EXPECT_FALSE(portOpenAtEnd);
        EXPECT_FALSE(G().CycReadOn);
    }
}

}  // namespace
