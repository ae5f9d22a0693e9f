#pragma once
// The HQ2 card has no settings here: its screen shows the model fields and
// starts the card's own setting tool.
#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class frmHQ2 : public CardScreen {
    Q_OBJECT
public:
    explicit frmHQ2(QWidget* parent = nullptr);
    // The entry: nothing to read or show, no cycle.
    void SetScaleMinMax(const std::string& typeCode) override;
    void cmdSettings_Click();

    QPushButton* cmdSettings;
};

}  // namespace talvo::screens
