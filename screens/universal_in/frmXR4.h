#pragma once
// The 4-channel HART-capable current input card "XR4": per channel a zero and
// full scale, a zero and full adjust and the Unused flag, each channel's
// settings in its own group "1" to "4"; the live values; and per channel a
// button that opens the HART master dialog, during which the screen's cycle
// and those buttons rest.
#include <QComboBox>
#include <QPointer>
#include <array>
#include <string>
#include <vector>

#include "screens/skeleton/CardScreen.h"

namespace talvo::ui {
class FocusChecks;
}

namespace talvo::screens {

class frmXR_HART;

class frmXR4 : public CardScreen {
    Q_OBJECT
public:
    explicit frmXR4(QWidget* parent = nullptr);

    // The entry the opener calls once the card is selected and its version shown.
    void XR4_Init(const std::string& typeCode);
    // Opens the HART master dialog on channel index + 1 once the line is free.
    void SetHART_Click(int index);
    void List_ChEnable_Click(int ch);

    // The dialog while it is open (nullptr otherwise).
    frmXR_HART* hartDialog() const { return hart_; }

    // Per channel, channel 1..4 at 0..3.
    std::vector<QLineEdit*> txtParData;
    std::vector<QComboBox*> List_ChEnable;
    std::vector<QLineEdit*> Text1;
    std::vector<QLineEdit*> txtZScale, txtFScale, txtBias, txtGain;
    std::array<QPushButton*, 4> SetHART{};

protected:
    void enterCard(const std::string& typeCode) override { XR4_Init(typeCode); }
    bool entriesSettled() override;

private:
    void layoutChannel(int ch, int top);
    void showUnused(int ch, const std::string& value);
    // The lost-focus range checks; each shows its message when the text fails.
    bool CheckScaleRange(QLineEdit* box);
    bool CheckBiasRange(QLineEdit* box);
    bool CheckGainRange(QLineEdit* box);
    void openHart(int index);

    ui::FocusChecks* checks_;
    frmXR_HART* hart_ = nullptr;
};

}  // namespace talvo::screens
