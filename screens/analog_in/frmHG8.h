#pragma once
// The 8-channel temperature input cards ("HG8", "HG8A", "UB8"): scale, adjust and
// base pairs per channel, the Unused flags, what the card reports of its inputs,
// the limit function, and on "HG8A" cards the zero-offset dialog.
#include <QPushButton>

#include "screens/analog_in/TemperatureScreen.h"

namespace talvo::screens {

class frmHG8 : public TemperatureScreen {
    Q_OBJECT
public:
    explicit frmHG8(QWidget* parent = nullptr);

    // The "HG8A" variant has the limit function whatever its version.
    bool HasLimitFunction() const override;
    void openCard(const std::string& typeCode, const ScreenSpec& spec) override;
    void zeroDeg_Click();

    std::vector<QLineEdit*> txtZScale, txtFScale, txtBias, txtGain, txtZBase, txtFBase, txtEnable, txtParData;
    QPushButton* zeroDeg;

protected:
    void prepare(const std::string& typeCode) override;

private:
    void openZeroOffset();
    bool zeroDegPending_ = false;  // clicked while a tick or another exchange waited
};

}  // namespace talvo::screens
