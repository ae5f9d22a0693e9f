#pragma once
// The 8-channel base-scaled input card ("FD8"): per channel the scale, adjust
// and base pairs, the Unused flag and the live value, in one table. Its
// transfers go over the channels four times: scales, adjusts, bases, flags.
#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class frmFD8 : public CardScreen {
    Q_OBJECT
public:
    explicit frmFD8(QWidget* parent = nullptr);

    std::vector<QLineEdit*> txtZScale, txtFScale, txtBias, txtGain, txtZBase, txtFBase, txtEnable, txtParData;
};

}  // namespace talvo::screens
