#pragma once
// Bringing the link up and down, and the main window's command states that go with it.
#include <string>

namespace talvo {

// The handshake after the port was opened. False when the station does not answer.
bool ConnectDevice();
// Closes the port, ends a waiting exchange and shows the disconnected look.
void DisconnectDevice();
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

// Enables Setting (unless master), Start and Upload and redraws every row head.
void RefreshOverviewRows();

}  // namespace talvo
