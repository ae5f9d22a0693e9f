#pragma once
// The 4-channel universal input card "YK4": per channel an input type (voltage
// range, thermocouple, resistance thermometer or potentiometer), the Unused
// switch, burnout direction, cold-junction compensation and the Zero/Full pairs
// of scale, adjust and base; for the card the temperature unit, ADC speed and
// limit switch. The "/A" card, told apart by its model text, has fewer input
// types, no Kelvin and a fixed ADC speed.
//
// The card keeps everything in group "01" and takes the channel in the data
// ("01".."04" in front of the value); a setting is read with an item and a data
// frame. Every exchange makes up to 11 attempts and the live values refresh
// once a second.
#include <QCheckBox>
#include <QComboBox>
#include <array>
#include <string>
#include <vector>

#include "screens/skeleton/CardScreen.h"
#include "screens/universal_in/YK4Entry.h"

namespace talvo::screens {

class frmYK4 : public CardScreen {
    Q_OBJECT
public:
    explicit frmYK4(QWidget* parent = nullptr);

    // The entry the opener calls once the card is selected and its version shown.
    void YK4_Init(const std::string& typeCode);

    void List_ChEnable_Click(int ch);
    void List_InputType_Click(int ch);

    bool IsVariantA = false;

    QComboBox* List_TempUnit;
    QComboBox* List_ADCSpeed;
    QCheckBox* chkLimit;
    // Per channel, channel 1..4 at 0..3.
    std::vector<QGroupBox*> fraCh1;
    std::vector<QLineEdit*> txtParData01;
    std::vector<QComboBox*> List_InputType, List_ChEnable, List_BurnOut;
    std::vector<QCheckBox*> ChkCJC;
    std::vector<QLineEdit*> txtZScale, txtFScale, txtBias, txtGain, txtZBase, txtFBase;

    // The value boxes of one kind, channel 1..4 at 0..3.
    std::vector<QLineEdit*>& valueBoxes(yk4::EntryBox kind);
    // The last text a value box accepted.
    const std::string& lastAccepted(yk4::EntryBox kind, int ch) const;

protected:
    void enterCard(const std::string& typeCode) override { YK4_Init(typeCode); }
    void showSettingsExtra(const CardRecord& rec) override;
    // Each channel's burnout list and CJC box follow the input type the card reported.
    void uploadExtra(Transfer& t) override;

private:
    void ReadModelVersion(const std::string& typeCode);
    void InitControls();
    void ReadInitialChData();
    void layoutChannel(int ch, int top);
    void valueChanged(yk4::EntryBox kind, int ch);
    void applyEnableRule(int ch);
    void showUnused(int ch, const std::string& value);
    void buildSettings();
    // The lists and check boxes as the transfers see them.
    Control unitControl();
    Control adcSpeedControl();
    Control limitControl();
    Control inputTypeControl();
    Control unusedControl();
    Control burnoutControl();
    Control cjcControl();

    bool listsBuilt_ = false;
    bool checking_ = false;  // a value box's check is setting the box's text
    std::array<std::array<std::string, 4>, 6> lastAccepted_{};
};

}  // namespace talvo::screens
