#pragma once
// The COM-port dialog: the user picks COM1..COM16; "OK" opens the port at
// "9600,n,8,1" and runs the connect handshake, "Exit" runs the handshake on
// the port as it is; Esc does the same unless no port is open, when it only
// closes the dialog. It has no title bar.
#include <QDialog>

class QComboBox;
class QPushButton;

namespace talvo::shell {

class frmComPort : public QDialog {
    Q_OBJECT
public:
    explicit frmComPort(QWidget* parent = nullptr);

    QComboBox* portList() const { return combBPS_; }

    void CmdOK_Click();
    void cmdExit_Click();

    // Esc (and a close asked by the window system) ends the dialog the way
    // "Exit" does, or without a word when no port is open.
    void reject() override;

private:
    // The connect handshake with the commands off and the busy cursor shown.
    bool handshake();
    QComboBox* combBPS_;
    QPushButton* cmdOK_;
    QPushButton* cmdExit_;
    // The handshake yields to the event loop; a second click meanwhile is ignored.
    bool busy_ = false;
};

}  // namespace talvo::shell
