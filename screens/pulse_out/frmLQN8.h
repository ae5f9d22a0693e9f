#pragma once
// The 8-channel voltage/current output card: per channel zero and full scale,
// zero and full adjust and the Unused flag; the output type of channels 1 to 4
// comes from the card's module codes, channels 5 to 8 are voltage outputs.
#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class frmLQN8 : public CardScreen {
    Q_OBJECT
public:
    explicit frmLQN8(QWidget* parent = nullptr);

    // Channel 1..8 at 0..7.
    std::vector<QLineEdit*> txtZScale, txtFScale, txtBias, txtGain, txtEnable, txtParData, outPutType;

    // The output type a module code gives: "0-10V DC" for an "LQ" module, else "4-20mA".
    static std::string OutputTypeOf(const std::string& moduleCode);

protected:
    void showSettingsExtra(const CardRecord& rec) override;
    void uploadExtra(Transfer& t) override;
    void downloadExtra(Transfer& t) override;
};

}  // namespace talvo::screens
