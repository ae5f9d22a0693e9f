#pragma once
// The 2-channel tare and load card ("ZN2"): per channel the scale and adjust
// pairs, the tare and load ratios, the threshold adjust, the Unused flag and the
// live value.
#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class frmZN2 : public CardScreen {
    Q_OBJECT
public:
    explicit frmZN2(QWidget* parent = nullptr);

    std::vector<QLineEdit*> txtZScale, txtFScale, txtBias, txtGain, txtTare, txtLoad, txtThresh, txtEnable,
        txtParData;
};

}  // namespace talvo::screens
