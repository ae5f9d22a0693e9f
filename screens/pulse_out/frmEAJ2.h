#pragma once
// The 2-channel motor actuator card: per channel the live position and set
// point, the motor deadlock detecting time, restart time, deadband and channel
// enable; the setting of the fully closed and fully open end positions with
// fine and coarse moves; and each channel's test mode and test position.
//
// The screen moves a motor. Whatever takes the screen away (another slot or
// the overview picked, the screen hidden or opened again, the link going down,
// the program ending) first sends what the user asked of it and then brings
// the actuator to rest at its own card, all through one ActuatorRest (rest_);
// a stop the card does not answer stays owed.
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <array>

#include "screens/skeleton/CardScreen.h"
#include "screens/pulse_out/ActuatorRest.h"
#include "screens/pulse_out/ActuatorSetting.h"

namespace talvo::ui {
class FocusChecks;
}

namespace talvo::screens {

class frmEAJ2 : public CardScreen {
    Q_OBJECT
public:
    explicit frmEAJ2(QWidget* parent = nullptr);

    // Brings the card of this screen's last entry to rest before another opener talks to the station.
    void openCard(const std::string& typeCode, const ScreenSpec& spec) override;
    // Before another slot is picked: what the user asked for goes out, then the
    // card is brought to rest.
    void leaving() override;
    bool hasAccepted() const override;
    void enterCard(const std::string& typeCode) override { EAJ2_Init(typeCode); }
    // The entry: the lists, then SetScaleMinMax (whose first step is prepare()).
    void EAJ2_Init(const std::string& typeCode);

    // The user's buttons and options (also what tests drive).
    void butMode_Click(int index);
    void butTestMode_Click();

    const ActuatorSetting& setting() const { return setting_; }
    // The test mode the screen shows for the test channel: -1 unknown (no
    // option chosen, the setting buttons disabled), 0 off, 1 on.
    int shownTestMode() const;

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
    void uploadExtra(Transfer& t) override;
    bool checkEntries() override;
    bool servePriority() override;
    void showSettingsExtra(const CardRecord& rec) override;
    // Hidden: the card is brought to rest now, or as soon as the line is free.
    void formHidden() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The rows of settings_.
    enum { kLockTimeRow, kRestartTimeRow, kEnableRow, kDeadbandRow };
    void InitControls();
    void buildSettings();
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
    // A test mode the card did not report: neither option, no setting.
    void showUnknownTestMode();
    void optTestMode_Toggled(int index, bool checked);
    void List_ChEnable_Click(int c);
    void runAdjust();
    void CheckRawPosition();
    void pressAdjust(QPushButton* b, bool down);
    // What the screen shows once its card has been brought to rest.
    void showAtRest();

    ActuatorSetting setting_;
    ActuatorRest rest_{setting_, [this] { showAtRest(); }};  // also knows the slot of the last entry
    std::array<int, 2> reportedTestMode_{};  // per channel: -1 unknown, 0 off, 1 on
    bool quietOptions_ = false;              // options set by the program, not the user
    ui::FocusChecks* checks_;
};

}  // namespace talvo::screens
