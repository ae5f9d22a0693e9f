// Which command is enabled after which event: every row of the command-state
// table, once with an ordinary communication card and once with a master card
// ("nm" = enabled unless the card is a master).
#include <gtest/gtest.h>

#include <QTimer>
#include <array>
#include <sstream>
#include <vector>

#include "core/Connection.h"
#include "shell/frmSWcheck.h"
#include "tests/shell/ShellFixture.h"

using namespace talvo;
using talvo::test::ShellTest;

namespace {

constexpr std::array<MainControl, 11> kColumns = {
    MainControl::cmdComm,     MainControl::CmdUpload,         MainControl::cmdStart,
    MainControl::cmdStop,     MainControl::cmdOverView,       MainControl::cmdSpecialSetting,
    MainControl::cmdSWcheck,  MainControl::cboCardNo,         MainControl::mnuFilesOpen,
    MainControl::mnuConnectConnect, MainControl::mnuConnectDisconnect};

using States = std::array<bool, kColumns.size()>;

States snapshot(const shell::frmTalvo& w) {
    States s{};
    for (std::size_t i = 0; i < kColumns.size(); ++i) s[i] = w.isEnabled(kColumns[i]);
    // Open and Save always go together.
    EXPECT_EQ(w.isEnabled(MainControl::mnuFilesSave), w.isEnabled(MainControl::mnuFilesOpen));
    return s;
}

std::string text(const States& s) {
    std::string out;
    for (bool on : s) out += on ? "on " : "off ";
    return out;
}

struct Observed {
    States before{};
    States after{};
};

struct StateCase {
    const char* name;
    void (*arrange)(ShellTest&);
    Observed (*act)(ShellTest&);
    // One token per column: on, off, nm, or - (unchanged by the event).
    const char* expect;
};

void nothing(ShellTest&) {}
void connected(ShellTest& t) { t.connectThroughMenu(); }
void uploaded(ShellTest& t) { t.connectAndUpload(); }
void uploadedThenSlotPicked(ShellTest& t) {
    t.connectAndUpload();
    t.cardList()->setCurrentIndex(1);
}
void connectedThenEmptySlotPicked(ShellTest& t) {
    t.connectThroughMenu();
    t.cardList()->setCurrentIndex(2);
}

template <typename F>
Observed around(ShellTest& t, F event) {
    Observed o;
    o.before = snapshot(*t.window);
    event();
    o.after = snapshot(*t.window);
    return o;
}

// The states while the handler's first exchange waits.
Observed atStartOf(ShellTest& t, const char* buttonName) {
    Observed o;
    bool seen = false;
    o.before = snapshot(*t.window);
    QTimer::singleShot(0, [&] {
        o.after = snapshot(*t.window);
        seen = true;
        if (G().CycReadOn) t.button("cmdStop")->click();
    });
    t.button(buttonName)->click();
    EXPECT_TRUE(seen);
    return o;
}

Observed programStart(ShellTest& t) { return around(t, [] {}); }
Observed connectDevice(ShellTest& t) {
    return around(t, [&] {
        ASSERT_TRUE(t.port().open(1, "9600,n,8,1"));
        ASSERT_TRUE(ConnectDevice());
    });
}
Observed disconnectMenu(ShellTest& t) { return around(t, [&] { t.menu("mnuConnectDisconnect")->trigger(); }); }
Observed uploadStart(ShellTest& t) { return atStartOf(t, "CmdUpload"); }
Observed uploadEnd(ShellTest& t) { return around(t, [&] { t.button("CmdUpload")->click(); }); }
Observed start(ShellTest& t) { return atStartOf(t, "cmdStart"); }
Observed stop(ShellTest& t) {
    Observed o;
    QTimer::singleShot(0, [&] {
        o.before = snapshot(*t.window);
        t.button("cmdStop")->click();
        o.after = snapshot(*t.window);
    });
    t.button("cmdStart")->click();
    return o;
}
Observed pickEntry0(ShellTest& t) { return around(t, [&] { t.cardList()->setCurrentIndex(0); }); }
Observed pickSlotWithCard(ShellTest& t) { return around(t, [&] { t.cardList()->setCurrentIndex(1); }); }
Observed pickEmptySlot(ShellTest& t) { return around(t, [&] { t.cardList()->setCurrentIndex(2); }); }
Observed fileOpenCancelled(ShellTest& t) {
    t.fileDialog().answers.push_back("");
    return around(t, [&] { t.menu("mnuFilesOpen")->trigger(); });
}
Observed dipSwitchExit(ShellTest& t) {
    t.onModal([](QDialog& d) { dynamic_cast<shell::frmSWcheck&>(d).cmdExit()->click(); });
    return around(t, [&] { t.button("cmdSWcheck")->click(); });
}

//                 cmdComm Upload Start Stop OverView Special SWcheck cboCardNo Files Connect Disconnect
const StateCase kCases[] = {
    {"ProgramStart", nothing, programStart, "off off off off on on off on off on off"},
    {"ConnectDeviceSucceeds", nothing, connectDevice, "nm on on - - on - - - off on"},
    {"DisconnectDevice", uploaded, disconnectMenu, "off off off - off off off off off on off"},
    {"UploadAtItsStart", connected, uploadStart, "off off off - off off off off off - -"},
    {"UploadAtItsEnd", connected, uploadEnd, "nm on on - on on on on on - -"},
    {"Start", uploaded, start, "off off off on off off off off off - -"},
    {"Stop", uploaded, stop, "nm on on off on on - on on - -"},
    {"CardListEntry0", uploadedThenSlotPicked, pickEntry0, "nm on on - - on - - on - -"},
    {"CardListSlotWithCard", uploaded, pickSlotWithCard, "off off off - - off off on off - -"},
    {"CardListEmptySlot", connected, pickEmptySlot, "off off off - - off off - on - -"},
    {"FileOpenDone", connectedThenEmptySlotPicked, fileOpenCancelled, "nm on on - - - - - - - -"},
    {"DipSwitchScreenExit", uploaded, dipSwitchExit, "- - - - - - off - - - -"},
};

class CommandStateTest : public ShellTest, public ::testing::WithParamInterface<std::tuple<StateCase, bool>> {};

TEST_P(CommandStateTest, EachEventGivesTheTabledStates) {
    const auto& [c, master] = GetParam();
    if (master) simulator().setValue(0, "00", 4, "MASTER-R1");
    c.arrange(*this);
    ASSERT_FALSE(HasFailure());
    const Observed o = c.act(*this);
    ASSERT_FALSE(HasFailure());

    std::istringstream tokens(c.expect);
    States expected{};
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        std::string tok;
        ASSERT_TRUE(tokens >> tok) << "short row " << c.name;
        expected[i] = tok == "on" ? true : tok == "off" ? false : tok == "nm" ? !master : o.before[i];
    }
    EXPECT_EQ(text(o.after), text(expected)) << "before: " << text(o.before);
    EXPECT_TRUE(messageBox().shown.empty()) << messageBox().shown.front().text;
}

INSTANTIATE_TEST_SUITE_P(Table, CommandStateTest, ::testing::Combine(::testing::ValuesIn(kCases), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<CommandStateTest::ParamType>& p) {
                             return std::string(std::get<0>(p.param).name) +
                                    (std::get<1>(p.param) ? "_Master" : "_Ordinary");
                         });

}  // namespace
