#pragma once
// Bringing the link up and down, and the main window's command states that go with it.
#include <functional>
#include <string>

namespace talvo {

// The handshake after the port was opened. False when the station does not answer.
bool ConnectDevice();
// Closes the port, ends a waiting exchange and shows the disconnected look.
// What must still reach the station first (SetBeforeLinkCloses) goes out
// before the port closes; while the line is busy the disconnect waits for it.
void DisconnectDevice();

// A routine that must still talk to the station before the link goes down or
// the program ends (a motor to stop, a card to take out of a setting mode).
// It runs while the port is open; it returns false when it has something to
// send but the line is busy (an exchange waits), and the caller then waits for
// the line and comes again. An empty hook removes the key's.
void SetBeforeLinkCloses(const std::string& key, std::function<bool()> hook);
// Runs every such routine; false when one of them needs the line first.
bool RunBeforeLinkCloses();
// The link is to close, or the program to end, while monitoring holds the
// line: monitoring ends now, its waiting exchange with it, so that what must
// reach the station first gets the line at once rather than after a Stop.
void EndMonitoringForClosing();
void DisableMainControls();
void EnableMainControls();
// Shows or hides the "SpecialSetting" frame and sets its caption from the model text.
void SetCommSettingButton(const std::string& model);

// Opens COM portNo at "9600,n,8,1" (ComPortNo and BaudRate are set first);
// a port that cannot be opened disconnects and gives false.
bool OpenComPort(int portNo);

// What the COM-port dialog's "OK" came to.
enum class PortResult { InvalidPort, NoAnswer, Connected };
// OpenComPort, then the handshake; disconnects on any failure.
PortResult OpenPortAndConnect(int portNo);

// A dialog that talks to the station takes the card list and the OverView
// button away while it is up, so that no other card can be picked under it;
// they come back when it closes, if they were there before and the link is
// still up.
class CardListAway {
public:
    CardListAway();
    ~CardListAway();
    CardListAway(const CardListAway&) = delete;
    CardListAway& operator=(const CardListAway&) = delete;

private:
    bool listOn_, overviewOn_;
};

// The port went away under the program (a hang-up, a port error): when the
// window still shows the link as up, it shows the disconnected state now.
// True when the link is down.
bool NoticeLostPort();

// Enables Setting (unless master), Start and Upload and redraws every row head.
void RefreshOverviewRows();

}  // namespace talvo
