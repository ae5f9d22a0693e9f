#pragma once
// The 4-channel pulse input card: per channel drop-out, threshold adjust, edge
// and the zero and full scale; gain and input frequency are only reported.
#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class frmIY4 : public CardScreen {
    Q_OBJECT
public:
    explicit frmIY4(QWidget* parent = nullptr);

    // Channel 1..4 at 0..3.
    std::vector<QLineEdit*> txtParData, txtInputType, txtGain, txtThresh, txtDropout, txtEdge, txtZScale, txtFScale;

protected:
    void uploadExtra(Transfer& t) override;
    void downloadExtra(Transfer& t) override;
};

}  // namespace talvo::screens
