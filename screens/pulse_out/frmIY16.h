#pragma once
// The 16-channel pulse input cards (IY16, IW16): per channel a counter with its
// "Max" (0 to 65535) and a preset value to load; Clear zeroes every counter.
#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class frmIY16 : public CardScreen {
    Q_OBJECT
public:
    explicit frmIY16(QWidget* parent = nullptr);

    std::vector<QLineEdit*> txtParData, txtFScale, txtPresetVal;  // channel 1..16 at 0..15

protected:
    void showSettingsExtra(const CardRecord& rec) override;
};

}  // namespace talvo::screens
