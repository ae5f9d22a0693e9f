#pragma once
// The 4-channel base-scaled input cards ("FD4", "FW4", "IX4" and their variants),
// all on one screen: per channel the scale, adjust and base pairs, the Unused
// flag and the live value. Where the base pair lives depends on the model; the
// "FW4" cards have none.
#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class frmFD4 : public CardScreen {
    Q_OBJECT
public:
    enum class Variant { BaseHigh, NoBase, BaseLow };  // "FD4A"/"FD4B", "FW..", the others

    explicit frmFD4(QWidget* parent = nullptr);

    // The variant of the model code shown in the model frame.
    Variant variant() const { return static_cast<Variant>(shownVariant()); }

    std::vector<QLineEdit*> txtZScale, txtFScale, txtBias, txtGain, txtZBase, txtFBase, txtEnable, txtParData;

protected:
    void prepare(const std::string& typeCode) override;
};

}  // namespace talvo::screens
