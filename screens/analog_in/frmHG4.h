#pragma once
// The 4-channel temperature input cards ("HG4", "UB4"): scale, adjust and base
// pairs per channel, the Unused flags, the input types, burnout and unit the
// card reports, and on cards that have it the limit function.
#include <QCheckBox>

#include "screens/CardScreen.h"

namespace talvo::screens {

class frmHG4 : public CardScreen {
    Q_OBJECT
public:
    explicit frmHG4(QWidget* parent = nullptr);

    // An "HG" card of version 1.0 or later (the version's digits read as 10 or more).
    bool HasLimitFunction() const;

    std::vector<QLineEdit*> txtZScale, txtFScale, txtBias, txtGain, txtZBase, txtFBase, txtEnable, txtParData,
        txtInputType;
    QLineEdit* txtBurnout;
    QLineEdit* txtUnit;
    QCheckBox* chkLimit;

protected:
    void openerReads(int slot) override;
    void showSettingsExtra(const CardRecord& rec) override;
    void uploadExtra(Transfer& t) override;
    void downloadExtra(Transfer& t) override;
};

}  // namespace talvo::screens
