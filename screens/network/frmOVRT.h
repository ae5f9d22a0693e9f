#pragma once
// The CC-Link IE card's settings (models OVRT1 and OVRT1W): network No.,
// station ID, MAC address and link status, and on the redundant model the
// main/sub switching delay. Record 17 keeps the two settable values as they
// last passed their check or were downloaded (or a settings file gave them);
// they take precedence over the card's at the next opening. A Download that
// fails leaves the record with what the card took.
#include <string>

#include "ui/SettingsDialog.h"

class QLineEdit;
class QPushButton;

namespace talvo::network {

class frmOVRT : public ui::SettingsDialog {
    Q_OBJECT
public:
    explicit frmOVRT(QWidget* parent = nullptr);
    // Enables "SpecialSetting" again (Form_Unload).
    ~frmOVRT() override;

    void Upload_First_File();
    void cmdUp_Click();
    void cmdDown_Click();

private:
    void InitControls();
    bool CheckNetWorkNo();
    bool CheckRedundant();

    // Record 17's two values as the card last took them (or as the opening
    // found them): what the record goes back to when a Download fails.
    std::string taken20_, taken21_;

    QLineEdit* txbNetWorkNo;
    QLineEdit* txbStationID;
    QLineEdit* txbMACAdd;
    QLineEdit* txbLinkStatus;
    QLineEdit* txbRedundant;
    QPushButton* cmdUp;
    QPushButton* cmdDown;
    QPushButton* cmdExit;
};

void ShowOVRTDialog(QWidget* owner);

}  // namespace talvo::network
