#pragma once
// The alarm input cards: per channel four alarms (a set value and a direction),
// one hysteresis and the Unused flag; per card the power-on, delay and hold
// times; the live values and one lamp per alarm output. "KP" and "KC" models keep
// the times and alarms in group "12", the other families in group "04".
#include <array>
#include <functional>
#include <string>

#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class AlarmInputScreen : public CardScreen {
    Q_OBJECT
public:
    // packedDirections: the record keeps a channel's four directions in one field.
    AlarmInputScreen(int channels, const char* model, bool packedDirections, QWidget* parent);

    // "12" when the model frame shows a "KP" or "KC" model, else "04".
    std::string alarmGroup() const;

    QLineEdit* txtPowerTime;
    QLineEdit* txtDelayTime;
    QLineEdit* txtHoldTime;
    std::array<std::vector<QLineEdit*>, 4> txtAlarm;       // set value of alarm 1..4, by channel
    std::array<std::vector<QLineEdit*>, 4> txtAlarmLevel;  // direction of alarm 1..4, by channel
    std::vector<QLineEdit*> txtHyst, txtEnable, txtParData;
    std::vector<QLabel*> lblDIDataCh;  // lamp i shows alarm output bit i - 1

protected:
    // Positions in settings_: set values 1..4, hysteresis, directions 1..4, Unused,
    // then the power-on, delay and hold times.
    static constexpr int kFirstDirection = 5, kUnused = 9, kTimes = 10;

    // The captions of alarm 1..4's set value and direction, as the screen heads them.
    void nameAlarms(const std::function<std::string(int alarm)>& level,
                    const std::function<std::string(int alarm)>& direction);

    // The three time boxes in one row, with their headings.
    void placeTimes(int top);
    // Lamps first..first+15 in a row, numbered at both ends with their bit numbers.
    void placeLamps(int first, int left, int top);
};

// "KR4", "KN4", "KC4", "KP4", "KM4".
class frmKR4 : public AlarmInputScreen {
    Q_OBJECT
public:
    explicit frmKR4(QWidget* parent = nullptr);
};

}  // namespace talvo::screens
