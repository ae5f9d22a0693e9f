#pragma once
// The scale-and-base input cards "EK4" and "EK8": per channel a scale pair in
// group "01", a base pair and the Unused flag in group "02", and while on view
// the live value and the value in percent.
#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class PercentInputScreen : public CardScreen {
    Q_OBJECT
public:
    PercentInputScreen(int channels, const char* model, QWidget* parent = nullptr);

    std::vector<QLineEdit*> txtZScale, txtFScale, txtZBase, txtFBase, txtEnable, txtParData;
    std::vector<QLineEdit*> txtInputType;  // the percent readout

private:
    void layoutFrames();  // 4 channels: one frame per channel
    void layoutGrid();    // 8 channels: one frame, two halves of four rows
};

class frmEK4 : public PercentInputScreen {
    Q_OBJECT
public:
    explicit frmEK4(QWidget* parent = nullptr);
};

class frmEK8 : public PercentInputScreen {
    Q_OBJECT
public:
    explicit frmEK8(QWidget* parent = nullptr);
};

}  // namespace talvo::screens
