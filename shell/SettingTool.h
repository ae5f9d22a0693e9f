#pragma once
// The separate setting tool of the HQ2 card. While it runs it has the serial
// port to itself and this program's window is out of the way.
class QWidget;

namespace talvo::shell {

// Hides the main window, closes the port, runs TALVO_HQ from the program's
// folder with the COM port No. and the slot No. and waits for it without a time
// limit, then opens the port again (only if it was open) and shows the window.
void RunSettingTool(QWidget* mainWindow, int comPortNo, int slot);

}  // namespace talvo::shell
