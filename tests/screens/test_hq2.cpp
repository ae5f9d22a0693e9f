// The HQ2 card's screen and the separate setting tool it starts.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <fstream>

#include "core/LineTurn.h"
#include "core/Protocol.h"
#include "platform/qt/QtServices.h"
#include "screens/frmHQ2.h"
#include "tests/screens/ScreenFixture.h"

using namespace talvo;
using namespace talvo::screens;

namespace {

class Hq2Test : public test::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        if (HasFatalFailure()) return;
        k6sim::Station st = sim.station();
        st.slot(15).code = "HQ2";
        sim.setStation(st);
        button("CmdUpload")->click();
        window->show();
        messages.shown.clear();
        sim.clearFrames();
    }
};

}  // namespace

TEST_F(Hq2Test, OpensWithItsFieldsAndNoCycle) {
    auto* s = pick<frmHQ2>(15);
    EXPECT_EQ(sim.frames(), (std::vector<std::string>{"G00", "I01", "DF", "G00", "I41", "D15", "G00", "I40"}));
    EXPECT_EQ(text(s->cardTypeBox()), "HQ2");
    EXPECT_EQ(text(s->cardNoBox()), "15");
    EXPECT_FALSE(s->waitForTimer().isActive());
    QTest::qWait(700);
    EXPECT_EQ(sim.frames().size(), 8u);
}

TEST_F(Hq2Test, ToolRunsWithThePortClosedAndTheWindowHidden) {
    auto* s = pick<frmHQ2>(15);
    bool hiddenDuring = false, closedDuring = false;
    processes.during = [&] {
        hiddenDuring = !window->isVisible();
        closedDuring = !serial.isOpen();
    };
    s->cmdSettings->click();
    ASSERT_EQ(processes.runs.size(), 1u);
    EXPECT_EQ(processes.runs[0].program, QCoreApplication::applicationDirPath().toStdString() + "/TALVO_HQ");
    EXPECT_EQ(processes.runs[0].args, (std::vector<std::string>{"1", "15"}));
    EXPECT_TRUE(hiddenDuring);
    EXPECT_TRUE(closedDuring);
    EXPECT_TRUE(serial.isOpen());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(G().Connected);
    EXPECT_TRUE(messages.shown.empty());
}

// The tool takes the port and the station resets to its communication card:
// the line knows no card as selected afterwards, so the next routine for a card
// selects it first rather than talking to whatever the station has now.
TEST_F(Hq2Test, AfterTheToolTheLineSelectsTheCardAgain) {
    auto* s = pick<frmHQ2>(15);
    ASSERT_EQ(SelectedCard(), 15);
    // What the tool leaves the station with.
    processes.during = [this] {
        for (const char* frame : {"G00", "I41", "D0"}) sim.answer(frame);
    };
    s->cmdSettings->click();
    EXPECT_EQ(SelectedCard(), kCardUnknown);
    sim.clearFrames();
    {
        LineHold routine(15);
        EXPECT_FALSE(ReadItem(3, "00", "40").empty());
    }
    EXPECT_EQ(sim.frames(), (std::vector<std::string>{"G00", "I01", "DF", "G00", "I41", "D15", "G00", "I40"}));
}

TEST_F(Hq2Test, ToolGetsTwoDigitPortAndSlotNumbers) {
    k6sim::Station st = sim.station();
    st.slot(16).code = "HQ2";
    sim.setStation(st);
    button("CmdUpload")->click();
    auto* s = pick<frmHQ2>(16);
    ::setenv("TALVO_COM12", sim.devicePath().c_str(), 1);
    G().ComPortNo = 12;
    s->cmdSettings->click();
    ::unsetenv("TALVO_COM12");
    ASSERT_EQ(processes.runs.size(), 1u);
    EXPECT_EQ(processes.runs[0].args, (std::vector<std::string>{"12", "16"}));
    EXPECT_TRUE(serial.isOpen());
}

TEST_F(Hq2Test, ToolThatCannotStartIsReportedAndEverythingComesBack) {
    auto* s = pick<frmHQ2>(15);
    processes.startable = false;
    s->cmdSettings->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Can't execute TALVO_HQ.exe");
    EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Stop);
    EXPECT_TRUE(serial.isOpen());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(Hq2Test, PortIsReopenedOnlyIfItWasOpen) {
    auto* s = pick<frmHQ2>(15);
    menu("mnuConnectDisconnect")->trigger();
    s->cmdSettings->click();
    EXPECT_FALSE(serial.isOpen());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(Hq2Test, PortTakenByTheToolDisconnects) {
    auto* s = pick<frmHQ2>(15);
    processes.during = [] { ::setenv("TALVO_COM1", "/nonexistent/tty", 1); };
    s->cmdSettings->click();
    ::setenv("TALVO_COM1", sim.devicePath().c_str(), 1);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"invalid port"}));
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(labelText("lblConStatus"), "Disconnected");
    EXPECT_TRUE(window->isVisible());
}

TEST_F(Hq2Test, RealToolGetsPortAndSlotAsItsArguments) {
    const std::string dir = QCoreApplication::applicationDirPath().toStdString();
    const std::string tool = dir + "/TALVO_HQ", out = dir + "/TALVO_HQ.args";
    {
        std::ofstream f(tool);
        f << "#!/bin/sh\necho \"$#:$1:$2\" > '" << out << "'\n";
    }
    QFile::setPermissions(QString::fromStdString(tool), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    platform::QtProcessRunner real;
    platform::services().processes = &real;
    auto* s = pick<frmHQ2>(15);
    s->cmdSettings->click();
    platform::services().processes = &processes;
    std::ifstream in(out);
    std::string line;
    std::getline(in, line);
    std::remove(tool.c_str());
    std::remove(out.c_str());
    EXPECT_EQ(line, "2:1:15");
    EXPECT_TRUE(serial.isOpen());
}
