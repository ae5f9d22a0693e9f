#pragma once
// The small top-level windows of the shell that have no title bar (the COM-port
// dialog, the progress window). The window system then draws no frame at all,
// so the window draws its own raised edge to stand apart from the main window.
class QWidget;

namespace talvo::shell {

// Call before the window is first shown. It stays a dialog of its parent: modal
// where it is run modally, centred on its parent when it is placed so.
void makeCaptionless(QWidget* window);

}  // namespace talvo::shell
