#pragma once
// The 16-channel scaled input cards ("BW1x", "BZ1x"): the same four settings per
// channel as the 4- and 8-channel cards, but only two boxes per channel, which
// show either the scale pair or the adjust pair. All four values of every
// channel live in working copies; transfers and checks use the copies.
#include <QLabel>
#include <map>

#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class frmBW16 : public CardScreen {
    Q_OBJECT
public:
    explicit frmBW16(QWidget* parent = nullptr);

    // Shows the pair that ShowAdjust selects; saveMode 0 first keeps the boxes in
    // the copies of the pair that was on view.
    void SwitchScaleAdjust(int saveMode);
    void changeButton_Click();

    int ShowAdjust = 0;  // 0 scale pair on view, 1 adjust pair
    std::vector<std::string> ZScaleData, FScaleData, BiasData, GainData;
    std::vector<QLineEdit*> txtZScale, txtFScale, txtEnable, txtParData;
    QPushButton* changeButton;
    std::map<int, QLabel*> Label1;  // 12, 13: the zero columns; 11, 22: the full columns

protected:
    void prepare(const std::string& typeCode) override;
    void showSettingsExtra(const CardRecord& rec) override;
    void UploadSettings() override;
    void DownloadSettings() override;

private:
    void keepBoxesIn(bool adjustPair);  // the boxes into the copies of that pair
    // The row of the zero (or full) box of the pair on view.
    const Setting& shownRow(bool zero) const;
    void drawShownPair();
};

}  // namespace talvo::screens
