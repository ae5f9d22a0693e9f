#include "core/Connection.h"

#include <map>

#include "core/Globals.h"
#include "core/LineTurn.h"
#include "core/MainView.h"
#include "core/Overview.h"
#include "core/OwedStops.h"
#include "core/Protocol.h"
#include "platform/Services.h"

namespace talvo {

namespace {

// Characters from position `from` (1-based) of text equal `what`; a text too short does not match.
bool charsAt(const std::string& text, std::size_t from, const std::string& what) {
    return text.size() >= from - 1 + what.size() && text.compare(from - 1, what.size(), what) == 0;
}

void enableCommUnlessMaster() { mainView().setEnabled(MainControl::cmdComm, !G().IsMasterComm); }

}  // namespace

bool ConnectDevice() {
    // The handshake runs whole; a command given meanwhile runs after it. Its
    // first read only asks whether a station answers, whatever card it has selected.
    LineHold hold;
    Globals& g = G();
    MainView& v = mainView();
    if (ReadItem(3, "00", "40").empty()) {
        ShowCommError();
        return false;
    }
    v.setLink(colors::LampGreen, "COM" + std::to_string(g.ComPortNo), "Connected");
    v.setEnabled(MainControl::mnuConnectConnect, false);
    v.setEnabled(MainControl::mnuConnectDisconnect, true);
    g.Connected = true;

    // The rest is the communication card's; nothing is written while it is
    // not known to reach it.
    LineHold comm(0);
    if (!SelectCard("00")) {
        ShowCommError();
        return false;
    }
    // A stop owed from before the link went down confirms its actuator in the
    // slot list and goes out before anything else is written.
    if (StopsOwed()) SendOwedStopsNow();
    WriteItem(3, "01", "01", "1");
    g.CommCardModel = ReadItem(3, "00", "04");
    const std::string head = g.CommCardModel.substr(0, 6);
    g.IsMasterComm = head == "MASTER" || head == "K6-QYS";
    SetCommSettingButton(g.CommCardModel);

    v.setEnabled(MainControl::CmdUpload, true);
    enableCommUnlessMaster();
    v.setEnabled(MainControl::cmdSpecialSetting, true);
    v.setEnabled(MainControl::cmdStart, true);
    return true;
}

namespace {
std::map<std::string, std::function<bool()>>& beforeLinkCloses() {
    static std::map<std::string, std::function<bool()>> hooks;
    return hooks;
}
}  // namespace

void SetBeforeLinkCloses(const std::string& key, std::function<bool()> hook) {
    if (hook)
        beforeLinkCloses()[key] = std::move(hook);
    else
        beforeLinkCloses().erase(key);
}

bool RunBeforeLinkCloses() {
    bool done = true;
    for (auto& [key, hook] : beforeLinkCloses())
        if (!hook()) done = false;
    // Stops owed from before: a last try while the port is open, whenever the
    // one before was (it stays owed, and shown, when the card does not answer).
    if (StopsOwed()) {
        if (!LineFree()) {
            done = false;
        } else if (done) {
            SendOwedStopsNow();
        }
    }
    return done;
}

void DisconnectDevice() {
    // Asked for from inside an exchange that still waits: what must reach the
    // station first goes out once that exchange and its routine are over.
    if (!RunBeforeLinkCloses()) {
        EndMonitoringForClosing();
        RunWhenLineFree("DisconnectDevice", [] { DisconnectDevice(); });
        return;
    }
    if (auto* p = platform::services().serial; p && p->isOpen()) p->close();
    // Disarming the time-out ends an exchange that is waiting at its next poll.
    IntervalTimerOff();
    // Whatever is connected next may hold other cards.
    OwedStopsAwaitCardList();
    MainView& v = mainView();
    v.setLink(colors::Navy, "", "Disconnected");
    v.setEnabled(MainControl::mnuConnectDisconnect, false);
    v.setEnabled(MainControl::mnuConnectConnect, true);
    G().Connected = false;
    DisableMainControls();
}

void EndMonitoringForClosing() {
    if (!G().CycReadOn) return;
    G().CycReadOn = false;
    mainView().setEnabled(MainControl::cmdStop, false);
    CancelHeldRoutines();
}

void DisableMainControls() {
    MainView& v = mainView();
    for (MainControl c : {MainControl::cmdComm, MainControl::CmdUpload, MainControl::cmdStart, MainControl::cmdOverView,
                          MainControl::cmdSpecialSetting, MainControl::cboCardNo, MainControl::mnuFilesOpen,
                          MainControl::mnuFilesSave, MainControl::cmdSWcheck})
        v.setEnabled(c, false);
}

void EnableMainControls() {
    enableCommUnlessMaster();
    MainView& v = mainView();
    for (MainControl c : {MainControl::CmdUpload, MainControl::cmdStart, MainControl::cmdOverView,
                          MainControl::cmdSpecialSetting, MainControl::cboCardNo, MainControl::cmdSWcheck})
        v.setEnabled(c, true);
}

void SetCommSettingButton(const std::string& m) {
    MainView& v = mainView();
    const char* caption = nullptr;
    bool show = false;
    if (charsAt(m, 4, "OWHD")) {
        show = false;
    } else if (charsAt(m, 4, "OW") || charsAt(m, 1, "K6-QA") || charsAt(m, 1, "HM3EX")) {
        show = true, caption = "Ethernet Setting";
    } else if (charsAt(m, 4, "OP1") || charsAt(m, 4, "OP2")) {
        show = true, caption = "OPx Setting";
    } else if (charsAt(m, 4, "OXF")) {  // "OXF1F" and the other OXF models share the caption
        show = true, caption = "OXF Setting";
    } else if (charsAt(m, 4, "OG1")) {
        show = true, caption = "OG1 Setting";
    } else if (charsAt(m, 4, "OVRT1")) {
        show = true, caption = "OVRT1 Setting";
    } else if (charsAt(m, 4, "QFODH")) {
        show = true, caption = "QFODH Setting";
    }
    v.setSpecialSettingFrameVisible(show);
    if (caption) v.setSpecialSettingCaption(caption);
}

bool OpenComPort(int portNo) {
    Globals& g = G();
    g.ComPortNo = portNo;
    g.BaudRate = "9600";
    platform::SerialPort* p = platform::services().serial;
    if (p && p->isOpen()) p->close();
    if (!p || !p->open(portNo, g.BaudRate + ",n,8,1")) {
        DisconnectDevice();
        return false;
    }
    // A new link: an owed stop confirms its card before it goes out again.
    OwedStopsAwaitCardList();
    return true;
}

PortResult OpenPortAndConnect(int portNo) {
    if (!OpenComPort(portNo)) return PortResult::InvalidPort;
    if (!ConnectDevice()) {
        DisconnectDevice();
        return PortResult::NoAnswer;
    }
    return PortResult::Connected;
}

CardListAway::CardListAway()
    : listOn_(mainView().isEnabled(MainControl::cboCardNo)), overviewOn_(mainView().isEnabled(MainControl::cmdOverView)) {
    mainView().setEnabled(MainControl::cboCardNo, false);
    mainView().setEnabled(MainControl::cmdOverView, false);
}

CardListAway::~CardListAway() {
    if (!G().Connected) return;
    if (listOn_) mainView().setEnabled(MainControl::cboCardNo, true);
    if (overviewOn_) mainView().setEnabled(MainControl::cmdOverView, true);
}

bool NoticeLostPort() {
    if (!G().Connected) return true;
    platform::SerialPort* p = platform::services().serial;
    if (!p || p->isOpen()) return false;
    DisconnectDevice();
    return true;
}

void RefreshOverviewRows() {
    enableCommUnlessMaster();
    mainView().setEnabled(MainControl::cmdStart, true);
    mainView().setEnabled(MainControl::CmdUpload, true);
    for (int n = 1; n <= OverviewModel::kSlots; ++n) SetCardIoKind(n, G().CardRecords.get(n)->CardType);
}

}  // namespace talvo
