// Connecting through the Connect menu and the COM-port dialog, against the simulator.
#include <gtest/gtest.h>

#include <QTimer>
#include <cstdlib>
#include <vector>

#include "core/Colors.h"
#include "shell/ChildForms.h"
#include "tests/shell/ShellFixture.h"

using namespace talvo;
using talvo::test::ShellTest;

namespace {

using Frames = std::vector<std::string>;

const char* const kCommError = "Communication error. Check the signal conditioner, cable and/or COM port setting.";

TEST_F(ShellTest, ConnectSendsTheHandshakeAndShowsTheLink) {
    G().CardRecords.get(3)->CardType = "BW4";
    cardList()->setItemText(3, "03:BW4");

    connectThroughMenu();

    EXPECT_EQ(sim.frames(), (Frames{"G00", "I40", "G00", "I01", "DF", "G00", "I41", "D00", "G01", "I01", "D1", "G00",
                                   "I04"}));
    EXPECT_TRUE(G().Connected);
    EXPECT_EQ(G().ComPortNo, 1);
    EXPECT_EQ(G().BaudRate, "9600");
    EXPECT_EQ(labelText("lblComPortNo"), "COM1");
    EXPECT_EQ(labelText("lblConStatus"), "Connected");
    EXPECT_EQ(window->lampColor(), colors::LampGreen);
    EXPECT_EQ(G().CommCardModel, "K6-OW1:RUN");
    EXPECT_FALSE(child("fraCmd")->isHidden());
    EXPECT_EQ(button("cmdSpecialSetting")->text(), "Ethernet Setting");
    // The records were cleared and the list shows empty slots.
    EXPECT_EQ(G().CardRecords.get(3)->CardType, "");
    for (int n = 1; n <= 16; ++n) EXPECT_EQ(cardList()->itemText(n), QString("%1:").arg(n, 2, 10, QChar('0')));
    EXPECT_TRUE(shell::childForms().isShown("Over"));
    EXPECT_TRUE(menu("mnuConnectMenu")->isEnabled());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ShellTest, SilentStationGivesOneCommunicationErrorAndStaysDisconnected) {
    useFakeClock();
    sim.addFault(k6sim::Fault{});  // every frame unanswered

    connectThroughMenu();

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, kCommError);
    EXPECT_EQ(messages.shown[0].title, "Test of communication");
    EXPECT_FALSE(G().Connected);
    EXPECT_FALSE(serial.isOpen());
    EXPECT_EQ(labelText("lblConStatus"), "Disconnected");
    EXPECT_EQ(window->lampColor(), colors::Navy);
    EXPECT_TRUE(menu("mnuConnectConnect")->isEnabled());
    EXPECT_FALSE(button("CmdUpload")->isEnabled());
}

TEST_F(ShellTest, PortThatCannotOpenShowsInvalidPortAndTheDialogStaysOpen) {
    ::setenv("TALVO_COM5", "/nonexistent/talvo-port", 1);
    bool stayedOpen = false;
    bool closedAfterSecondTry = false;
    onModal([&](QDialog& d) {
        auto& dlg = dynamic_cast<shell::frmComPort&>(d);
        dlg.show();
        dlg.portList()->setCurrentIndex(4);
        dlg.findChild<QPushButton*>("CmdOK")->click();
        stayedOpen = dlg.isVisible();
        EXPECT_EQ(G().ComPortNo, 5);
        dlg.portList()->setCurrentIndex(0);
        dlg.findChild<QPushButton*>("CmdOK")->click();
        closedAfterSecondTry = !dlg.isVisible();
    });
    menu("mnuConnectConnect")->trigger();
    ::unsetenv("TALVO_COM5");

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "invalid port");
    EXPECT_EQ(messages.shown[0].title, "");
    EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::None);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(closedAfterSecondTry);
    EXPECT_TRUE(G().Connected);
    EXPECT_EQ(G().ComPortNo, 1);
}

// "Exit", Esc and the window's close box all run the handshake on the port as it
// is: an open one connects. With no port open, "Exit" fails it with its message,
// while Esc and the close box only leave (the old fault: "Communication error"
// for an Esc); all three leave the commands disabled.
TEST_F(ShellTest, EveryWayOutOfTheComPortDialogRunsTheExitSteps) {
    using Leave = void (*)(QDialog&);
    const struct {
        const char* name;
        Leave leave;
    } ways[] = {
        {"Exit", [](QDialog& d) { d.findChild<QPushButton*>("cmdExit")->click(); }},
        {"Esc", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"close box", [](QDialog& d) { d.close(); }},
    };
    for (const auto& way : ways) {
        for (bool portOpen : {false, true}) {
            SCOPED_TRACE(std::string(way.name) + (portOpen ? ", port open" : ", port closed"));
            restartWindow();
            button("cmdOverView")->click();  // enables commands, so the failure shows
            if (portOpen) {
                ASSERT_TRUE(openPort());
            }
            bool closed = false;
            onModal([&](QDialog& d) {
                d.show();
                way.leave(d);
                closed = !d.isVisible();
            });
            menu("mnuConnectConnect")->trigger();

            EXPECT_TRUE(closed);
            EXPECT_EQ(countFrames("I40"), portOpen ? 1u : 0u);
            if (portOpen) {
                EXPECT_TRUE(messages.shown.empty());
                EXPECT_TRUE(G().Connected);
                EXPECT_TRUE(button("CmdUpload")->isEnabled());
            } else {
                if (std::string(way.name) == "Exit") {
                    ASSERT_EQ(messages.shown.size(), 1u);
                    EXPECT_EQ(messages.shown[0].title, "Test of communication");
                } else {
                    EXPECT_TRUE(messages.shown.empty());
                }
                EXPECT_FALSE(button("CmdUpload")->isEnabled());
                EXPECT_FALSE(button("cmdOverView")->isEnabled());
                EXPECT_FALSE(cardList()->isEnabled());
                EXPECT_FALSE(menu("mnuFilesOpen")->isEnabled());
            }
        }
    }
}

}  // namespace

TEST_F(ShellTest, ComPortDialogClosesBeforeTheHandshake) {
    k6sim::Fault slow = test::fault("I40", 0, k6sim::FaultAction::Delay);
    slow.delayMs = 150;
    sim.addFault(slow);
    bool shownDuringHandshake = true;
    onModal([&](QDialog& d) {
        d.show();
        QTimer::singleShot(60, [&] { shownDuringHandshake = d.isVisible(); });
        d.findChild<QPushButton*>("CmdOK")->click();
    });
    menu("mnuConnectConnect")->trigger();
    EXPECT_FALSE(shownDuringHandshake);
    EXPECT_TRUE(G().Connected);
}
