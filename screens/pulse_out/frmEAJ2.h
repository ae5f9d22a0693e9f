#pragma once
// The 2-channel motor actuator card: per channel the live position and set
// point, the motor deadlock detecting time, restart time, deadband and channel
// enable; the setting of the fully closed and fully open end positions with
// fine and coarse moves; and each channel's test mode and test position.
//
// The screen moves a motor. Whatever takes the screen away (another slot or
// the overview picked, the link going down, the program ending) first stops a
// coarse move that runs and ends a setting mode at the actuator's own card.
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <array>

#include "screens/CardScreen.h"
#include "screens/pulse_out/ActuatorSetting.h"

namespace talvo::ui {
class FocusChecks;
}

namespace talvo::screens {

class frmEAJ2 : public CardScreen {
    Q_OBJECT
public:
    explicit frmEAJ2(QWidget* parent = nullptr);
    ~frmEAJ2() override;

    // Stops what runs at the card of this screen's last entry before another opener talks to the station.
    void openCard(const std::string& typeCode, const ScreenSpec& spec) override;
    void enterCard(const std::string& typeCode) override { EAJ2_Init(typeCode); }
    // The entry: the lists, then SetScaleMinMax (whose first step is prepare()).
    void EAJ2_Init(const std::string& typeCode);

    // The user's buttons and options (also what tests drive).
    void butMode_Click(int index);
    void butTestMode_Click();

    const ActuatorSetting& setting() const { return setting_; }
    // Sends what the actuator's card is owed (a coarse stop, the end of a
    // setting mode), selecting the card first. False when the line is busy.
    bool stopAtCard();

    // Per channel (index 0 and 1).
    std::array<QLineEdit*, 2> txtPosition{}, txtsetpoint{}, txtMotorLockTime{}, txtRestartTime{}, PosRawDat{};
    std::array<QComboBox*, 2> List_Deadband{}, List_ChEnable{};
    std::array<QLabel*, 2> lblParRaw{};
    // End-position setting.
    std::array<QRadioButton*, 2> Channel{};
    std::array<QPushButton*, 3> butMode{};  // 0 end, 1 close position, 2 open position
    std::array<QRadioButton*, 3> optAdjLevel{};
    QPushButton* OpenFineAdjBut;
    QPushButton* CloseFineAdjBut;
    QPushButton* OpenCoaseAdjBut;
    QPushButton* CloseCoaseAdjBut;
    // Test mode.
    std::array<QRadioButton*, 2> optCh{}, optTestMode{};
    QLineEdit* txtTestModePos;
    QPushButton* butTestMode;

    // The lost-focus checks: false after the message (the focus goes back to the box).
    bool checkMotorLockTime(int c);
    bool checkRestartTime(int c);
    bool checkTestModePos();

protected:
    // The entry's first steps: normal state, controls, the card's own test modes.
    void prepare(const std::string& typeCode) override;
    void UploadSettings() override;
    void DownloadSettings() override;
    bool checkEntries() override;
    bool servePriority() override;
    void showSettingsExtra(const CardRecord& rec) override;
    void formHidden() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void InitControls();
    void layoutChannel(int c);
    void layoutSetting();
    void layoutTestMode();
    // The controls of the normal state, or of a setting mode of channel c.
    void SetSettingModeControls(int mode);
    void showNormalState();
    // The controls that follow test mode on or off.
    void showTestModeControls(bool on);
    // The options show a test mode the card reported: nothing is sent.
    void showReportedTestMode(bool on);
    void optTestMode_Toggled(int index, bool checked);
    void List_ChEnable_Click(int c);
    void runAdjust();
    void CheckRawPosition();
    void pressAdjust(QPushButton* b, bool down);

    ActuatorSetting setting_;
    int cardSlot_ = 0;                      // the slot of the last entry
    std::array<int, 2> reportedTestMode_{};  // per channel: -1 unknown, 0 off, 1 on
    bool quietOptions_ = false;              // options set by the program, not the user
    ui::FocusChecks* checks_;
    std::string hookKey_;  // this screen's routine run before the link closes
};

}  // namespace talvo::screens
