#include "shell/frmComPort.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "core/Connection.h"
#include "core/Globals.h"
#include "platform/Services.h"
#include "platform/qt/QtServices.h"
#include "shell/Geometry.h"

namespace talvo::shell {

namespace {
QLabel* label(QWidget* parent, const char* name, const char* text, int left, int top, int width, int height) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    placeTwips(l, left, top, width, height);
    return l;
}
}  // namespace

frmComPort::frmComPort(QWidget* parent) : QDialog(parent) {
    setObjectName("frmComPort");
    setWindowTitle(platform::kAppTitle);
    setFixedSize(twips(4545), twips(4395));

    QLabel* heading = label(this, "Label1", "COM Port Setting", 1080, 360, 2415, 330);
    QFont f = heading->font();
    f.setBold(true);
    heading->setFont(f);
    heading->setAlignment(Qt::AlignCenter);

    auto* frame = new QGroupBox("Setting", this);
    frame->setObjectName("Frame1");
    placeTwips(frame, 360, 960, 3855, 2535);
    label(frame, "Label6", "Port No.", 240, 480, 765, 240);
    combBPS_ = new QComboBox(frame);
    combBPS_->setObjectName("combBPS");
    combBPS_->move(twips(1200), twips(480) - 4);
    combBPS_->setFixedWidth(twips(2175));
    for (int n = 1; n <= 16; ++n) combBPS_->addItem(QString("COM%1").arg(n));
    combBPS_->setCurrentIndex(0);
    label(frame, "Label2", "Baud Rate : 9600bps", 240, 960, 1920, 240);
    label(frame, "Label3", "Parity : none", 240, 1320, 1215, 240);
    label(frame, "Label4", "Bit Length : 8", 240, 1680, 1260, 240);
    label(frame, "Label5", "Stop Bit : 1", 240, 2040, 1035, 240);

    cmdOK_ = new QPushButton("OK", this);
    cmdOK_->setObjectName("CmdOK");
    placeTwips(cmdOK_, 360, 3720, 1575, 495);
    cmdExit_ = new QPushButton("Exit", this);
    cmdExit_->setObjectName("cmdExit");
    cmdExit_->setAutoDefault(false);
    placeTwips(cmdExit_, 2640, 3720, 1575, 495);
    connect(cmdOK_, &QPushButton::clicked, this, &frmComPort::CmdOK_Click);
    connect(cmdExit_, &QPushButton::clicked, this, &frmComPort::cmdExit_Click);
}

void frmComPort::CmdOK_Click() {
    if (busy_) return;
    busy_ = true;
    if (!OpenComPort(combBPS_->currentIndex() + 1)) {
        busy_ = false;
        // The dialog stays open so that another port can be tried.
        if (auto* m = platform::services().messages) m->show("invalid port", "", platform::MsgIcon::None);
        return;
    }
    // The dialog closes before the handshake; a station that does not answer
    // reports itself over the main window.
    accept();
    if (!ConnectDevice()) DisconnectDevice();
    busy_ = false;
}

void frmComPort::cmdExit_Click() {
    if (busy_) return;
    busy_ = true;
    if (!ConnectDevice()) DisableMainControls();
    busy_ = false;
    QDialog::reject();
}

void frmComPort::reject() { cmdExit_Click(); }

}  // namespace talvo::shell
