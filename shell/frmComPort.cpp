#include "shell/frmComPort.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "core/Connection.h"
#include "core/Globals.h"
#include "platform/Services.h"
#include "shell/Captionless.h"
#include "ui/BusyCursor.h"
#include "ui/Geometry.h"

namespace talvo::shell {

frmComPort::frmComPort(QWidget* parent) : QDialog(parent) {
    setObjectName("frmComPort");
    makeCaptionless(this);
    setFixedSize(ui::twips(4545), ui::twips(4395));

    QLabel* heading = ui::newLabel(this, "COM Port Setting", 1080, 360, 2415, Qt::AlignLeft, 330);
    heading->setObjectName("Label1");
    QFont f = heading->font();
    f.setBold(true);
    heading->setFont(f);
    heading->setAlignment(Qt::AlignCenter);

    auto* frame = new QGroupBox("Setting", this);
    frame->setObjectName("Frame1");
    ui::placeTwips(frame, 360, 960, 3855, 2535);
    ui::newLabel(frame, "Port No.", 240, 480, 765, Qt::AlignLeft, 240)->setObjectName("Label6");
    combBPS_ = new QComboBox(frame);
    combBPS_->setObjectName("combBPS");
    combBPS_->move(ui::twips(1200), ui::twips(480) - 4);
    combBPS_->setFixedWidth(ui::twips(2175));
    for (int n = 1; n <= 16; ++n) combBPS_->addItem(QString("COM%1").arg(n));
    combBPS_->setCurrentIndex(0);
    ui::newLabel(frame, "Baud Rate : 9600bps", 240, 960, 1920, Qt::AlignLeft, 240)->setObjectName("Label2");
    ui::newLabel(frame, "Parity : none", 240, 1320, 1215, Qt::AlignLeft, 240)->setObjectName("Label3");
    ui::newLabel(frame, "Bit Length : 8", 240, 1680, 1260, Qt::AlignLeft, 240)->setObjectName("Label4");
    ui::newLabel(frame, "Stop Bit : 1", 240, 2040, 1035, Qt::AlignLeft, 240)->setObjectName("Label5");

    cmdOK_ = new QPushButton("OK", this);
    cmdOK_->setObjectName("CmdOK");
    ui::placeTwips(cmdOK_, 360, 3720, 1575, 495);
    cmdExit_ = new QPushButton("Exit", this);
    cmdExit_->setObjectName("cmdExit");
    cmdExit_->setAutoDefault(false);
    ui::placeTwips(cmdExit_, 2640, 3720, 1575, 495);
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
    if (!handshake()) DisconnectDevice();
    busy_ = false;
}

bool frmComPort::handshake() {
    // Up to a few seconds with a silent station: the commands that need the
    // link stay off meanwhile, and the cursor says the program is busy.
    DisableMainControls();
    ui::BusyCursor wait;
    return ConnectDevice();
}

void frmComPort::cmdExit_Click() {
    if (busy_) return;
    busy_ = true;
    if (!handshake()) DisableMainControls();
    busy_ = false;
    QDialog::reject();
}

void frmComPort::reject() {
    // Esc before any port was opened leaves the dialog: there is nothing to
    // talk to, so nothing to report.
    platform::SerialPort* port = platform::services().serial;
    if (!busy_ && (!port || !port->isOpen())) {
        DisableMainControls();
        QDialog::reject();
        return;
    }
    cmdExit_Click();
}

}  // namespace talvo::shell
