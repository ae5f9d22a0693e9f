#pragma once
// The power card with one circuit ("GB1..."): live power, reactive power, power
// factor and frequency, four energy counters in a High and a Low part, the
// bias and gain of the four measured values, the "W / var" scale, the "Wh" and
// "var" units and limits, the transformer ratings and the drop-out value.
// "GB1A" and "GB1B" keep the CT ratings in items 83 and 84 and have no CT
// secondary rating.
#include <array>

#include "screens/power/PowerCardScreen.h"

namespace talvo::screens {

class frmGB10 : public PowerCardScreen {
    Q_OBJECT
public:
    explicit frmGB10(QWidget* parent = nullptr);

    // Arrays as numbered on the screen, from 1 (element 0 is unused; so are
    // txtFScale 1 and 4).
    std::array<QLineEdit*, 13> txtParData01{};  // 1..4 W, var, cos, Hz; 5..12 the counters
    std::array<QLineEdit*, 5> txtBias{}, txtGain{};
    std::array<QLineEdit*, 6> txtZScale{}, txtFScale{};
    QLineEdit *txtCTScale1, *txtCTScale2, *txtCTScale3;
    QLineEdit *txtPTScale1, *txtPTScale2, *txtPTScale3;
    QLineEdit* txtZeroScale;
    QLabel* Label1_13;  // the middle heading of the transformer grid: "U" or "U/T"

protected:
    void prepare(const std::string& typeCode) override;

private:
    void layoutMeasuredValues(QWidget* frame);
    void layoutEnergy(QWidget* frame);
};

}  // namespace talvo::screens
