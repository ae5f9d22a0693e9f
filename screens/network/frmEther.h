#pragma once
// The Ethernet settings of a communication card with an Ethernet port: IP
// address, subnet mask, default gateway and address mode, the four TCP socket
// ports with their linger times, and the MAC address. The layout follows the
// model; the dialog reads the card once per opening and keeps nothing in the records.
#include <array>

#include "ui/DialogBoxes.h"
#include "ui/SettingsDialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talvo::network {

class frmEther : public ui::SettingsDialog {
    Q_OBJECT
public:
    explicit frmEther(QWidget* parent = nullptr);

    void cmdUp_Click();
    void cmdDown_Click();

protected:
    void opening() override;

private:
    void octetChanged(QLineEdit* box);
    void portChanged(QLineEdit* box);
    // The entry test before a download: "" or the message of the first box that fails.
    std::string entryTest() const;

    ui::DottedAddress txtIP;
    ui::DottedAddress txtSNM;
    ui::DottedAddress txtDGate;
    std::array<QLabel*, 2> lblMac{};
    QLineEdit* txtIPsel;
    QGroupBox* Frame1;
    std::array<QLineEdit*, 5> txtPort{};     // 1..4
    std::array<QLineEdit*, 5> txtTimeout{};  // 1..4
    QLabel* Label10;
    QLabel* lblIPSel;
    QPushButton* cmdUp;
    QPushButton* cmdDown;
    QPushButton* cmdExit;
    bool inChange_ = false;
};

void ShowEtherDialog(QWidget* owner);

}  // namespace talvo::network
