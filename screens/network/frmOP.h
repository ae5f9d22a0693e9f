#pragma once
// The building-automation fieldbus card's settings (models OP1 and OP2): a
// power-on delay, the names under which the communication card knows the 16
// I/O cards, and per I/O card a scale factor for each of its 16 channels, an
// "N2ADR" text and a "VND:0 /AHU:1" text. Four I/O cards are on show at a time;
// record 17 keeps all of it.
#include <array>
#include <string>

#include "ui/SettingsDialog.h"
#include "ui/ValueStates.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace talvo::network {

class frmOP : public ui::SettingsDialog {
    Q_OBJECT
public:
    explicit frmOP(QWidget* parent = nullptr);

    void cmdUp_Click();
    void cmdDown_Click();
    // Fills the dialog from record 17 before it is shown.
    void Upload_First_File();
    void cmdReadCard_Click();

    const std::string& sclList(int n) const { return SclList[static_cast<std::size_t>(n)]; }

private:
    void ShowScaleGroup(int group);
    void ShowAddressGroup(int group);
    int groupBase() const;
    void cbScl_Click(int index);
    // What I/O card n's scale list, "N2ADR" and "VND:0 /AHU:1" hold.
    ui::Held sclHeld(int n) const;
    ui::Held n2adrHeld(int n) const;
    ui::Held vndahuHeld(int n) const;
    void addressChanged(bool n2adr, int index);
    void OptScl_Click(int group);

    QLineEdit* txtTimeout;
    std::array<QLineEdit*, 17> txtCardList{};  // 1..16
    std::array<QRadioButton*, 4> OptScl{};     // OptScl1..OptScl4
    std::array<QLabel*, 4> lblSclCard{};
    std::array<QComboBox*, 64> cbScl{};
    std::array<QLineEdit*, 4> txtN2ADR{};
    std::array<QLineEdit*, 4> txtVNDAHU{};
    QPushButton* cmdReadCard;
    QPushButton* cmdUp;
    QPushButton* cmdDown;
    QPushButton* cmdExit;

    // The texts of all 16 I/O cards; what each holds (a value or none) is in
    // the one store (ui/ValueStates), not in its text.
    std::array<std::string, 17> SclList{};     // 1..16
    std::array<std::string, 17> N2ADRList{};   // 0..15
    std::array<std::string, 17> VNDAHUList{};  // 0..15
    bool GroupLoading = false;
};

// Upload_First_File, then the dialog modally over the main window.
void ShowOPDialog(QWidget* owner);

}  // namespace talvo::network
