#pragma once
// The settings dialog of the wireless network communication cards. One class
// serves the three models (frmOXF, frmOXF1F, frmOG); what sets them apart is
// the model's row of the tables in WirelessModel and its neighbours. The
// widgets hold the dialog's state; the logic works on a WirelessControls copy
// taken from them and given back. What each setting holds, a value or none,
// is kept in the program's one store (ui/ValueStates.h), under the
// communication card's slot and the setting's item: only the card's answers,
// the dialog's files and the user's own edits give a value, and each control
// is drawn by it.
#include <QPointer>
#include <array>
#include <string>

#include "screens/wireless/WirelessModel.h"
#include "ui/SettingsDialog.h"
#include "ui/ValueStates.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talvo::wireless {

struct TransferStep;

class frmWireless : public ui::SettingsDialog {
    Q_OBJECT
public:
    frmWireless(WirelessModel model, QWidget* parent = nullptr);
    // Form_Unload: the main window's "SpecialSetting" comes back.
    ~frmWireless() override;

    // InitControls, then the upload.
    void Upload_First_File();
    void InitControls();
    void cmdUp_Click();
    void cmdDown_Click();
    void CmdSaveF_Click();
    void CmdReadF_Click();

    WirelessModel model() const { return model_; }
    int FirmwareLevel() const { return setup_.FirmwareLevel; }
    int FileFormatCode() const { return setup_.FileFormatCode; }
    const std::string& KeyText() const { return KeyText_; }
    // What the controls hold now, KeyText included.
    WirelessControls collect() const;
    // Whether the firmware version that decides the model's optional items is
    // known (always on a model that reads none).
    bool VersionKnown() const { return versionKnown_; }
    // The key of a setting in the store of value states: the communication
    // card's slot, the setting's "group/item", wirChNo's channel.
    static ui::ValueKey KeyOf(WControl c, int channel = 0);
    // Whether a setting holds a value now (wirPassword: the key).
    static bool Holds(WControl c, int channel = 0);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* widget(WControl c, int channel = 0) const;
    void apply(const WirelessControls& controls);
    void fillLists();
    void listChanged(WControl list);
    // Draws every control by what it holds.
    void drawHeld();
    // What the set-up shows holds no value.
    void forgetValues();
    // The state a read's reply leaves a setting in.
    void takeState(const TransferStep& step, const std::string& reply, bool taken);
    bool lostFocusCheck(WControl c, int channel);
    bool keyLostFocus();
    void focusField(WControl c, int channel);

    WirelessModel model_;
    FirmwareSetup setup_;
    std::string KeyText_;
    bool versionKnown_ = true;
    // The user typed in the key box since it took the focus.
    bool keyEdited_ = false;
    bool applying_ = false;

    std::array<QWidget*, kControlCount> controls_{};
    std::array<QLabel*, kControlCount> labels_{};
    std::array<QLineEdit*, kChannelCount> wirChNo_{};
    QLineEdit* wirPassword_ = nullptr;
    QPushButton* cmdUp = nullptr;
    QPushButton* cmdDown = nullptr;
    QPushButton* cmdExit = nullptr;
    QPushButton* CmdReadF = nullptr;
    QPushButton* CmdSaveF = nullptr;
};

// Upload_First_File, then the dialog modally over the main window.
void ShowWirelessDialog(WirelessModel model, QWidget* owner);

}  // namespace talvo::wireless
