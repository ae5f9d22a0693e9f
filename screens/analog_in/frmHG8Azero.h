#pragma once
// The zero-offset dialog of the "HG8A" cards: per channel the card measures and
// stores the offset of its reading at 0 degrees Celsius; Clear sets all eight
// offsets to "0.00". It talks to the card at once from its buttons and stops the
// temperature screen's cycle while it is open.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <string>
#include <vector>

namespace talvo::screens {

class frmHG8Azero : public QDialog {
    Q_OBJECT
public:
    // `hostTimer` is the cycle of the screen that opened the dialog; leaving the
    // dialog starts it again. `slot` is the card every button addresses.
    frmHG8Azero(QTimer& hostTimer, int slot, QWidget* parent = nullptr);

    // Selects the card, opens the offset group and reads the eight offsets.
    void Upload_First_File();
    void ch_Click(int index);
    void Clear_Click();
    void cmdExit_Click();
    // Esc, like closing by the frame, is Exit; asked for while an exchange waits,
    // it takes effect once the card has been told (the wait cursor says so).
    void reject() override;
    bool closeAsked() const { return closeAsked_; }

    bool exchanging() const { return busy_; }

    std::vector<QPushButton*> ch;      // "Ch.1" .. "Ch.8" at 0..7
    std::vector<QLineEdit*> ch_Text;   // the offsets the card reports
    QPushButton* Clear;
    QPushButton* cmdExit;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    // The buttons stay disabled for the whole of an exchange, so no click starts a second one.
    void setBusy(bool busy);
    // A write whose reply is shown in the offset box of `index`; false when the card did not answer.
    bool writeOffset(int index, const std::string& value);

    void askClose();

    QTimer& hostTimer_;
    int slot_;
    bool busy_ = false;
    bool closeAsked_ = false;
};

}  // namespace talvo::screens
