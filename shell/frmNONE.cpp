#include "shell/frmNONE.h"

#include <QGroupBox>

#include "ui/Geometry.h"

namespace talvo::shell {

frmNONE::frmNONE(QWidget* parent) : QWidget(parent) {
    setObjectName("frmNONE");
    setAutoFillBackground(true);
    // The client area behind the screens is dark; a screen keeps the ordinary roles.
    setBackgroundRole(QPalette::Window);
    setForegroundRole(QPalette::WindowText);
    auto* frame = new QGroupBox("NONE", this);
    frame->setObjectName("Frame1");
    ui::placeTwips(frame, 120, 120, 9315, 6885);
}

}  // namespace talvo::shell
