#pragma once
// The HART master dialog of the HART input card: one channel at a time (Up Ch,
// Down Ch), its polling address, cycle values, retry count and master mode and
// its five HART blocks; Upload and Download with the card, Clear of one block,
// Reset Start, and one channel's values saved to and read from an ".rhx" file.
// The values of all four channels stay while the dialog is open; each opening
// starts empty. A field holds a value only when an Upload read one, a file
// loaded one or the user edited it (ui/ValueStates.h keeps that per card slot,
// channel and field); one without is drawn as not read, Download sends nothing
// for it and names it at its end.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <array>
#include <string>

#include "screens/universal_in/HartBlocks.h"
#include "screens/universal_in/HartChannel.h"
#include "ui/SettingsDialog.h"
#include "ui/ValueStates.h"

namespace talvo::screens {

class frmXR_HART : public ui::SettingsDialog {
    Q_OBJECT
public:
    explicit frmXR_HART(QWidget* parent = nullptr);

    // The entry: channel index 0 to 3 of the card in `slot`, which every command
    // addresses; empties every channel's values.
    void XR4_HART_Init(int channelIndex, int slot);
    int cardSlot() const { return slot_; }
    void Init();
    // Shows the current channel's values.
    void Disp();

    void CmdUpCh_Click();
    void CmdDownCh_Click();
    void CmdUpload_Click();
    void CmdDownload_Click();
    void CmdClear_Click(int index);
    void CmdReset_Click();
    void CmdWriteFile_Click();
    void CmdReadFile_Click();

    int HartChNo = 0;
    // The values each channel holds: what passed a box's check, was uploaded or read from a file.
    std::array<hart::Channel, hart::kChannels> tables{};

    QGroupBox* HARTCh_No;
    QLineEdit* PollAdd;
    QLineEdit* CYCL_HIGH;
    QLineEdit* CYCL_LOW;
    QLineEdit* Retry;
    QComboBox* List_MasterMode;
    QLineEdit* DeviceVariableCode;
    QLineEdit* AnalogChCode;
    QLineEdit* AutoCmmand;
    QLineEdit* DeviceSpecificCommand;
    QLineEdit* ConstantData;
    std::array<QPushButton*, 5> CmdClear{};
    QPushButton* CmdUpCh;
    QPushButton* CmdDownCh;
    QPushButton* CmdReset;
    QPushButton* CmdUpload;
    QPushButton* CmdDownload;
    QPushButton* CmdReadFile;
    QPushButton* CmdWriteFile;
    QPushButton* CmdExit;
    QProgressBar* ProgressBar;

    // The box of a field (nullptr for the master mode, a list).
    QLineEdit* boxOf(hart::Field f) const;
    // The time Reset Start waits for the card's HART master to start again.
    int resetWaitMs = 3000;

private:
    int slot_ = 0;
    std::string group() const;
    hart::Channel& current();
    void SetpgBar_Local(int max);
    // The card select before a transfer: with the communication card first
    // (Upload, Clear, Reset Start) or without it (Download); then item "01" :=
    // "F" in the channel's group. False at the first frame not answered.
    bool selectCard(bool viaCommCard);
    bool checkField(hart::Field f);
    // The setting a field of channel index 0 to 3 is kept under, and the
    // control that shows it (the master mode's: the box of its list).
    ui::ValueKey keyOf(int channelIndex, hart::Field f) const;
    QWidget* controlOf(hart::Field f) const;
    // What a field of the channel shown holds; a read's reply ("" for no
    // answer: nothing changes) and what it gives, drawn.
    ui::Held held(hart::Field f) const;
    ui::Held takeRead(hart::Field f, const std::string& reply);
    void setHeld(hart::Field f, ui::Held h);
    // Binds the controls to the channel shown and draws what each holds.
    void bindShown();
    // A command that needs no serial line still runs the check of the box the
    // focus left first, and nothing while a command runs.
    void onLocal(QPushButton* button, void (frmXR_HART::*handler)());
};

}  // namespace talvo::screens
