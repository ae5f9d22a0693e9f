#pragma once
// The settings dialog of the wireless network communication cards. One class
// serves the three models (frmOXF, frmOXF1F, frmOG); what sets them apart is
// the model's row of the tables in WirelessModel and its neighbours. The
// widgets hold the dialog's state; the logic works on a WirelessControls copy
// taken from them and given back.
#include <QPointer>
#include <array>
#include <string>

#include "screens/wireless/WirelessModel.h"
#include "ui/SettingsDialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talvo::wireless {

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* widget(WControl c, int channel = 0) const;
    void apply(const WirelessControls& controls);
    void fillLists();
    void listChanged(WControl list);
    void boxChanged(WControl c, int channel);
    bool lostFocusCheck(WControl c, int channel);
    bool keyLostFocus();
    void focusField(WControl c, int channel);

    WirelessModel model_;
    FirmwareSetup setup_;
    std::string KeyText_;
    // Which boxes hold nothing the card, a file or the user gave them.
    std::array<bool, kControlCount> unread_{};
    std::array<bool, kChannelCount> unreadChannel_{};
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
