#pragma once
// The 8-channel pulse input card: per channel a counter with its "Min" and
// "Max" settings and a preset value to load; Clear zeroes every counter. Its
// overview row shows the first four counters in four wide cells.
#include "screens/skeleton/CardScreen.h"
#include "screens/pulse_out/DiscreteRows.h"

namespace talvo::screens {

class frmIY8 : public CardScreen, public SelfFilledRow {
    Q_OBJECT
public:
    explicit frmIY8(QWidget* parent = nullptr);

    // The overview row of `slot`: its wide cells shown, and filled from the card
    // that the monitoring pass selected.
    void ShowChDataIO(int slot) override;
    void setOverViewDataIO(int slot) override;

    std::vector<QLineEdit*> txtParData, txtMin, txtFScale, txtPresetVal;

    static int MinParamNo(int ch) { return 2 * ch; }
    static int FScaleParamNo(int ch) { return 2 * ch + 1; }

protected:
    void showSettingsExtra(const CardRecord& rec) override;
};

}  // namespace talvo::screens
