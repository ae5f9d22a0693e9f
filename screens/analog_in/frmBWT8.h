#pragma once
// The 8-channel input card "BWT8": channels 1 to 4 take a Pt1000 resistance
// thermometer or a 0-10 V signal, as the card's input module for the channel
// says; channels 5 to 8 take 0-10 V. Scale and adjust pairs and the Unused flag
// on every channel, base pair and lead-wire resistance on channels 1 to 4.
#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class frmBWT8 : public CardScreen {
    Q_OBJECT
public:
    explicit frmBWT8(QWidget* parent = nullptr);

    std::vector<QLineEdit*> txtZScale, txtFScale, txtBias, txtGain, txtEnable, txtParData, txtInputType;
    std::vector<QLineEdit*> txtZBase, txtFBase, txtLineR;  // channels 1 to 4
    QLineEdit* txtBurnout;
    QLineEdit* txtUnit;

protected:
    // The input modules decide which of channels 1 to 4 have editable base and lead-wire boxes.
    void openerReads(int slot) override;

private:
    void layoutHalf(int firstCh, int left, bool withBases);
};

}  // namespace talvo::screens
