#pragma once
// The SLMP gateway card's settings: its own network address, its connection to
// one SLMP server (a PLC reached over Ethernet), a pause period, its MAC
// address, and the map of up to 16 entries that moves the I/O cards' channels
// to and from PLC devices. Upload, Download, OK (the checks), and a settings
// file of its own.
#include <array>
#include <string>

#include "screens/network/GatewayFile.h"
#include "screens/network/GatewayMap.h"
#include "ui/DialogBoxes.h"
#include "ui/SettingsDialog.h"
#include "ui/ValueStates.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talvo::network {

class frmQFODH : public ui::SettingsDialog {
    Q_OBJECT
public:
    explicit frmQFODH(QWidget* parent = nullptr);
    // Enables "SpecialSetting" again (Form_Unload).
    ~frmQFODH() override;

    void Upload_First_File();
    void cmdUp_Click();
    void cmdDown_Click();
    void CmdOK_Click();
    void CmdSaveF_Click();
    void CmdReadF_Click();

    const gateway::MapRows& mapRows() const { return rows_; }

private:
    void InitControls();
    // OK's checks and its device-list refresh; false at the first failure (its
    // message shown).
    bool runOK();
    bool CheckAddressGroup(int group);
    bool CheckOctet(QLineEdit* box);
    bool serverTypeChosen() const;
    std::string serverType() const;
    std::string deviceNo() const;

    // What map row i holds (a value, or none), and its five controls drawn so.
    ui::Held rowHeld(int i) const;
    void setRowHeld(int i, ui::Held held);
    void drawRow(int i);
    std::array<QWidget*, 5> rowControls(int i) const;
    // The rows that hold a value.
    std::array<bool, gateway::kMapRows> rowsWithValue() const;

    // The map rows' controls show rows_.
    void renderRow(int i);
    void ShowMapEntries(int last);
    void cardTypeChanged(int i, const std::string& ioType, bool fromUser);
    void devTypeChanged(int i, int position);

    gateway::QfoFile collect() const;
    void failDownload();

    QLineEdit* pausePeriod;
    ui::DottedAddress txtIP, txtSNM, txtDGate, txtSLMPIP;
    QComboBox* List_ServerType;
    QLineEdit* CPUNo;
    QLineEdit* TimeOut;
    QLineEdit* NWNo;
    QLineEdit* StationNo;
    QLineEdit* PortNo;
    QLineEdit* DeviceNo;
    std::array<QLabel*, 2> lblMac{};
    std::array<QComboBox*, gateway::kMapRows> cardType{};
    std::array<QLineEdit*, gateway::kMapRows> ChNo{};
    std::array<QComboBox*, gateway::kMapRows> DevType{};
    std::array<QLineEdit*, gateway::kMapRows> DevAdd16{};
    std::array<QLineEdit*, gateway::kMapRows> DevAdd10{};
    QPushButton* cmdUp;
    QPushButton* cmdDown;
    QPushButton* CmdReadF;
    QPushButton* CmdSaveF;
    QPushButton* cmdExit;
    QPushButton* CmdOK;

    gateway::MapRows rows_{};
    std::array<bool, gateway::kMapRows> inUse_{};
    int FileCode = 0;
    bool loading_ = false;  // the program sets the controls: no change handling
};

void ShowQFODHDialog(QWidget* owner);

}  // namespace talvo::network
