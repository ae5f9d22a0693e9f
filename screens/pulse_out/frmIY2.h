#pragma once
// The 2-channel pulse input card: card-wide delay and hold times; per channel two
// alarms (mode, two levels, two hystereses each), drop-out, scale, reset and
// maximum position and the read-only input frequency; four live values and two
// alarm lamps per channel; Clear zeroes the counters.
#include <array>

#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class frmIY2 : public CardScreen {
    Q_OBJECT
public:
    explicit frmIY2(QWidget* parent = nullptr);

    QLineEdit* txtDelayTime;
    QLineEdit* txtHoldTime;
    // Channel 1 at 0, channel 2 at 1.
    std::vector<QLineEdit*> txtAlarm1, txtAlarm2, txtDropout, txtZScale, txtFScale, txtMinPos, txtMaxPos, txtInputType;
    std::array<std::vector<QLineEdit*>, 4> txtAlarmLevel, txtHyst;  // levels and hystereses 1..4
    std::vector<QLineEdit*> txtParData01, txtParData02;            // Value, Value(L), Value(H), Position
    std::vector<QLabel*> lblDIDataCh1, lblDIDataCh2;               // alarm 1 and 2 of the channel

protected:
    void downloadExtra(Transfer& t) override;

private:
    void layoutChannel(int ch);
};

}  // namespace talvo::screens
