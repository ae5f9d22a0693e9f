// Connect, disconnect and the command states they set, against the simulator.
#include <gtest/gtest.h>

#include <QTimer>
#include <cstdlib>

#include "core/Connection.h"
#include "core/Globals.h"
#include "core/MainView.h"
#include "core/Protocol.h"
#include "tests/support/SimFixture.h"

using namespace talvo;
using k6sim::Fault;
using k6sim::FaultAction;
using Frames = std::vector<std::string>;
using C = MainControl;

namespace {

class ConnectionTest : public test::SimTest {
protected:
    ConnectionTest() {
        autoOpen = false;
        setMainView(&view);
    }
    ~ConnectionTest() override { setMainView(nullptr); }
    MainViewState view;
};

const Frames kConnectFrames = {"G00", "I40", "G00", "I01", "DF", "G00", "I41", "D00", "G01", "I01", "D1", "G00", "I04"};

}  // namespace

TEST_F(ConnectionTest, ConnectSendsTheHandshakeAndShowsTheLink) {
    G().ComPortNo = 9;
    ASSERT_EQ(OpenPortAndConnect(1), PortResult::Connected);
    EXPECT_EQ(sim.frames(), kConnectFrames);
    EXPECT_EQ(G().ComPortNo, 1);
    EXPECT_EQ(G().BaudRate, "9600");
    EXPECT_TRUE(G().Connected);
    EXPECT_EQ(G().CommCardModel, "K6-OW1:RUN");
    EXPECT_FALSE(G().IsMasterComm);
    EXPECT_EQ(view.lampColor, colors::LampGreen);
    EXPECT_EQ(view.comPortText, "COM1");
    EXPECT_EQ(view.statusText, "Connected");
    EXPECT_TRUE(view.specialFrameVisible);
    EXPECT_EQ(view.specialCaption, "Ethernet Setting");
    for (C c : {C::CmdUpload, C::cmdComm, C::cmdSpecialSetting, C::cmdStart, C::mnuConnectDisconnect})
        EXPECT_TRUE(view.isEnabled(c)) << static_cast<int>(c);
    EXPECT_FALSE(view.isEnabled(C::mnuConnectConnect));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ConnectionTest, PortTwelveIsOpenedAndShown) {
    ::setenv("TALVO_COM12", sim.devicePath().c_str(), 1);
    EXPECT_EQ(OpenPortAndConnect(12), PortResult::Connected);
    ::unsetenv("TALVO_COM12");
    EXPECT_EQ(G().ComPortNo, 12);
    EXPECT_EQ(view.comPortText, "COM12");
    EXPECT_TRUE(serial.isOpen());
}

TEST_F(ConnectionTest, MasterCommunicationCardKeepsSettingDisabled) {
    k6sim::Station st = sim.station();
    st.comm.modelText = "MASTER-K6";
    sim.setStation(st);
    ASSERT_EQ(OpenPortAndConnect(1), PortResult::Connected);
    EXPECT_TRUE(G().IsMasterComm);
    EXPECT_FALSE(view.isEnabled(C::cmdComm));
    EXPECT_TRUE(view.isEnabled(C::CmdUpload));
    EnableMainControls();
    EXPECT_FALSE(view.isEnabled(C::cmdComm));
}

TEST_F(ConnectionTest, SilentStationShowsTheCommunicationErrorOnceAndDisconnects) {
    useFakeClock();
    Fault f;
    f.frame = "I40";
    f.action = FaultAction::Silence;
    sim.addFault(f);
    EXPECT_EQ(OpenPortAndConnect(1), PortResult::NoAnswer);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "Communication error. Check the signal conditioner, cable and/or COM port setting.");
    EXPECT_EQ(messages.shown[0].title, "Test of communication");
    EXPECT_FALSE(serial.isOpen());
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(view.statusText, "Disconnected");
    EXPECT_EQ(sim.frames(), (Frames{"G00", "I40", "G00", "I40", "G00", "I40", "G00", "I40"}));
}

TEST_F(ConnectionTest, PortThatCannotBeOpenedIsAnInvalidPort) {
    ::setenv("TALVO_COM3", "/nonexistent/tty", 1);
    EXPECT_EQ(OpenPortAndConnect(3), PortResult::InvalidPort);
    ::unsetenv("TALVO_COM3");
    EXPECT_EQ(G().ComPortNo, 3);
    EXPECT_FALSE(G().Connected);
    EXPECT_TRUE(sim.frames().empty());
    EXPECT_EQ(view.statusText, "Disconnected");
}

TEST_F(ConnectionTest, DisconnectClosesThePortAndKeepsRecordsAndStop) {
    ASSERT_EQ(OpenPortAndConnect(1), PortResult::Connected);
    G().CardRecords.get(2)->CardType = "BW4";
    view.setEnabled(C::cmdStop, true);
    DisconnectDevice();
    DisconnectDevice();  // may run any number of times
    EXPECT_FALSE(serial.isOpen());
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(view.lampColor, colors::Navy);
    EXPECT_EQ(view.comPortText, "");
    EXPECT_EQ(view.statusText, "Disconnected");
    for (C c : {C::cmdComm, C::CmdUpload, C::cmdStart, C::cmdOverView, C::cmdSpecialSetting, C::cmdSWcheck,
                C::cboCardNo, C::mnuFilesOpen, C::mnuFilesSave, C::mnuConnectDisconnect})
        EXPECT_FALSE(view.isEnabled(c)) << static_cast<int>(c);
    EXPECT_TRUE(view.isEnabled(C::mnuConnectConnect));
    EXPECT_TRUE(view.isEnabled(C::cmdStop));
    EXPECT_EQ(G().CardRecords.get(2)->CardType, "BW4");
    EXPECT_EQ(G().CommCardModel, "K6-OW1:RUN");
}

TEST_F(ConnectionTest, DisconnectFromAHandlerEndsTheWaitingExchange) {
    ASSERT_EQ(OpenPortAndConnect(1), PortResult::Connected);
    Fault f;
    f.frame = "I40";
    f.action = FaultAction::Silence;
    sim.addFault(f);
    QTimer::singleShot(50, [] { DisconnectDevice(); });
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadItem(3, "00", "40"), "");
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(1500));
}

TEST(CommSettingButton, CaptionAndFrameFromTheModelText) {
    struct Case {
        std::string model;
        bool visible;
        std::string caption;  // "" = unchanged
    };
    const Case cases[] = {
        {"K6-OW1", true, "Ethernet Setting"},
        {"K6-OWHD", false, ""},
        {"K6-QA2", true, "Ethernet Setting"},
        {"HM3EX1", true, "Ethernet Setting"},
        {"K6-OP1", true, "OPx Setting"},
        {"K6-OP2X", true, "OPx Setting"},
        {"K6-OXF1F", true, "OXF Setting"},
        {"K6-OXF", true, "OXF Setting"},
        {"K6-OG1", true, "OG1 Setting"},
        {"K6-OVRT1", true, "OVRT1 Setting"},
        {"K6-OVRT", false, ""},  // too short for its five characters
        {"K6-QFODH", true, "QFODH Setting"},
        {"K6-XX", false, ""},
        {"", false, ""},
        {"K6-O", false, ""},
    };
    for (const Case& c : cases) {
        MainViewState view;
        setMainView(&view);
        view.specialCaption = "before";
        view.specialFrameVisible = !c.visible;
        SetCommSettingButton(c.model);
        EXPECT_EQ(view.specialFrameVisible, c.visible) << c.model;
        EXPECT_EQ(view.specialCaption, c.caption.empty() ? "before" : c.caption) << c.model;
        setMainView(nullptr);
    }
}
