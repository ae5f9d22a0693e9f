#pragma once
// The heat and flow card ("FS2"): two channels, each with its flow scale, bias
// and gain, specific heats, low cuts, hysteresis and temperature adjusts, the
// CH2 Disable flag and the card's heat coefficient. Every entry box keeps to its
// number rule while the user types. The live panel shows both channels'
// temperatures, flow and heat values with their units, the four totals and the
// states; the totals can be preset.
#include <array>

#include "screens/skeleton/CardScreen.h"
#include "screens/power/Fs2Entry.h"

namespace talvo::screens {

class frmFS2 : public CardScreen {
    Q_OBJECT
public:
    explicit frmFS2(QWidget* parent = nullptr);

    // Control arrays as numbered on the screen: CH 1 at [1], CH 2 at [2] ([0] unused).
    using PerCh = std::array<QLineEdit*, 3>;
    // Settings.
    PerCh txtZScale{}, txtFScale{}, txtBias{}, txtGain{}, txtKCool{}, txtKHeat{}, txtFlowCut{}, txtTempCut{},
        txtHys{}, txtSuppTempAdj{}, txtAmbTempAdj{};
    PerCh txtEnable{};  // only [2], "CH2 Disable"
    QLineEdit* txtCoff;
    QLineEdit *txtTemp2, *txtBurnout, *txtConvSpeed;  // read only, filled by an upload
    // Live panel.
    PerCh txtSuppTemp{}, txtAmbTemp{}, txtFlowVal{}, txtFlowUnit{}, txtCalVal{}, txtCalUnit{}, txtTotalCFlow{},
        txtTotalCCal{}, txtTotalHFlow{}, txtTotalHCal{}, txtCalState{}, txtHCmode{}, txtRTD{};
    // Presets of the totals (txtTotalCFlow1p is txtTotalCFlowp[1]).
    PerCh txtTotalCFlowp{}, txtTotalCCalp{}, txtTotalHFlowp{}, txtTotalHCalp{};

    // The live read; it also notes the heat-rate units it showed.
    void procCycDataRead() override;

protected:
    void prepare(const std::string& typeCode) override;
    void showSettingsExtra(const CardRecord& rec) override;
    void uploadExtra(Transfer& t) override;
    void downloadExtra(Transfer& t) override;
    void presetCount() override;

private:
    // A heat preset's rule for the unit its channel shows; false when the box takes nothing.
    bool heatRule(int ch, NumberRule& rule) const;
    // One preset box: an empty box is skipped, a text within its rule is written
    // (a bare point completed: "5." as "5") and the box shows the card's answer,
    // any other text empties the box.
    // False when the write was not answered (the transfer has failed).
    bool WritePresetValue(Transfer& t, QLineEdit* box, const std::string& item, bool heat, int ch);
    void layoutLivePanel(QWidget* f);
    void layoutSettings(QWidget* f);

    // The heat-rate unit of each channel as the last live read showed it: the
    // unit boxes blink empty during a read, and a key typed meanwhile must not
    // find "no unit".
    std::array<std::string, 3> shownUnit_{};
};

}  // namespace talvo::screens
