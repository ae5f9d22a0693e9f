#pragma once
// The 4-channel temperature input cards ("HG4", "UB4"): scale, adjust and base
// pairs per channel, the Unused flags, the input types, burnout and unit the
// card reports, and on cards that have it the limit function.
#include "screens/analog_in/TemperatureScreen.h"

namespace talvo::screens {

class frmHG4 : public TemperatureScreen {
    Q_OBJECT
public:
    explicit frmHG4(QWidget* parent = nullptr);

    std::vector<QLineEdit*> txtZScale, txtFScale, txtBias, txtGain, txtZBase, txtFBase, txtEnable, txtParData;
};

}  // namespace talvo::screens
