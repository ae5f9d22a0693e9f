#pragma once
// The power card with four channels ("GB4..."): per channel the bias and gain,
// the "WFS", "WU" and "WhU" settings and the CT ratings; one VT row and the
// drop-out value for the card. The live values a channel shows depend on the
// display mode, the eighth character of the model code. "GB4A" and "GB4B" keep
// the CT ratings from item 83 on and have no CT secondary rating.
#include <array>

#include "screens/power/PowerCardScreen.h"

namespace talvo::screens {

class frmGB40 : public PowerCardScreen {
    Q_OBJECT
public:
    explicit frmGB40(QWidget* parent = nullptr);

    // Arrays as numbered on the screen, channel 1..4 (element 0 is unused).
    using Column = std::array<QLineEdit*, 5>;
    Column txtParData01{}, txtParData02{};  // row A, columns 1 and 2
    Column txtParData03{}, txtParData04{};  // row B, columns 1 and 2
    Column txtBias{}, txtGain{}, txtZScale{}, txtFScale{}, txtUScale{};
    Column txtCTScale1{}, txtCTScale2{}, txtCTScale3{};
    QLineEdit *txtPTScale1, *txtPTScale2, *txtPTScale3;
    QLineEdit* txtZeroScale;
    // Headings of the live columns: 1 and 2 over row A, 3 and 4 on the second line.
    std::array<QLabel*, 5> lblParData{};
    QLabel* Label1_12;  // the middle heading of the transformer grid: "U" or "U/T"

protected:
    void prepare(const std::string& typeCode) override;

private:
    // Which live item each box shows in a display mode; false for a mode the screen does not know.
    bool showDisplayMode(char mode);
};

}  // namespace talvo::screens
