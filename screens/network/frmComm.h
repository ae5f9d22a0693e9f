#pragma once
// The communication card's general settings ("Setting"): its name, status,
// versions and DIP switches, and the settings every model has as far as its
// name and version allow: the communication time-out, the direct-output table
// of the 16 slots and the fieldbus activate delay switch. Record 17 keeps them.
// A setting the card refused, or that record 17 does not hold, has no value
// (the switch then shows partly checked): Download leaves it as it is on the
// card and names it.
#include <array>
#include <string>

#include "ui/SettingsDialog.h"
#include "ui/ValueStates.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talvo::network {

class frmComm : public ui::SettingsDialog {
    Q_OBJECT
public:
    explicit frmComm(QWidget* parent = nullptr);

    void cmdUp_Click();
    void cmdDown_Click();

protected:
    // Reads the card once per opening.
    void opening() override { UploadSettings(); }

private:
    void UploadSettings();
    bool HasTimeoutSetting() const;
    bool HasDirectOutput();
    bool HasActivateDelay() const;
    std::string name() const;
    void showDelaySwitch(bool shown);
    // Where the store keeps the time-out and slot i's "In Slot" (their groups
    // follow the name), and the binding of their boxes to them.
    ui::ValueKey timeoutKey() const;
    ui::ValueKey slotKey(int i) const;
    void bindSettings();

    QLabel* Label1;
    QLineEdit* txtName;
    std::array<QLineEdit*, 2> txtStatus{};
    QLineEdit* txtVersion;
    QLineEdit* txtVersion2;
    QLineEdit* txtSW;
    QLineEdit* txtTimeout;
    QLineEdit* txtNP1;
    QGroupBox* fraOutput;
    std::array<QLineEdit*, 17> txtOutSlot{};  // 1..16
    QCheckBox* ChkCJC;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QPushButton* cmdUp;
    QPushButton* cmdDown;
    QPushButton* cmdExit;
    int DelaySwitchShown = 0;
};

// Shows the dialog modally over the main window ("Setting").
void ShowCommDialog(QWidget* owner);

}  // namespace talvo::network
