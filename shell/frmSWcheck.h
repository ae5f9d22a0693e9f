#pragma once
// "I/O Card DipSW Check": name, version and the three DIP switches of every
// slot's card, read from the station each time the screen is shown and on
// "Upload". Opened modally by the main window's "Check" button.
#include <QDialog>
#include <array>
#include <string>

#include "core/DipSwitch.h"

class QFrame;
class QLineEdit;
class QPushButton;

namespace talvo::shell {

class frmSWcheck : public QDialog {
    Q_OBJECT
public:
    explicit frmSWcheck(QWidget* parent = nullptr);

    // Paints the 24 cells of one row from a switch text such as "01,80,FF".
    void txtCDataDraw(int row, const std::string& switchText);

    // True while the station is being read.
    bool reading() const { return reading_; }

    QLineEdit* txtName(int row) const { return txtName_[static_cast<std::size_t>(row)]; }
    QLineEdit* txtVersion(int row) const { return txtVersion_[static_cast<std::size_t>(row)]; }
    QLineEdit* txtSW(int row) const { return txtSW_[static_cast<std::size_t>(row)]; }
    QFrame* txtCData(int k) const { return txtCData_[static_cast<std::size_t>(k)]; }
    QPushButton* cmdUp() const { return cmdUp_; }
    QPushButton* cmdExit() const { return cmdExit_; }

public Q_SLOTS:
    void cmdUp_Click();
    void cmdExit_Click();
    // Esc and the window frame end the screen the way "Exit" does.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void readSwitches();
    void buildRows();
    void buildFooter();
    void showRow(int row);

    DipSwitchModel model_;
    bool reading_ = false;
    bool closeRequested_ = false;

    std::array<QLineEdit*, DipSwitchModel::kRows> txtName_{};
    std::array<QLineEdit*, DipSwitchModel::kRows> txtVersion_{};
    std::array<QLineEdit*, DipSwitchModel::kRows> txtSW_{};
    std::array<QFrame*, DipSwitchModel::kCells> txtCData_{};
    QPushButton* cmdUp_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
};

}  // namespace talvo::shell
