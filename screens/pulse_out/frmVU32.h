#pragma once
// The parallel-data cards (VU, VT): three logic settings, each sent as typed,
// and the card's two live values.
#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class frmVU32 : public CardScreen {
    Q_OBJECT
public:
    explicit frmVU32(QWidget* parent = nullptr);

    std::vector<QLineEdit*> txtDataPara;  // Data Logic, Strobe Logic, Data Exchange
    QLineEdit* txtParData01;
    QLineEdit* txtParData02;

protected:
    void uploadExtra(Transfer& t) override;
    void downloadExtra(Transfer& t) override;
};

}  // namespace talvo::screens
