#pragma once
// What the temperature input card screens share: the input types, burnout and
// unit that the card reports when its screen is opened, and the card's limit
// function (group "00" item 56, kept in Param(64)) on the cards that have it.
#include <QCheckBox>

#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class TemperatureScreen : public CardScreen {
    Q_OBJECT
public:
    using CardScreen::CardScreen;

    // An "HG" card of version 1.0 or later (the version's digits read as 10 or more).
    virtual bool HasLimitFunction() const;

    // Filled by the screen's own layout.
    std::vector<QLineEdit*> txtInputType;  // one per channel, from item 25 on
    QLineEdit* txtBurnout = nullptr;
    QLineEdit* txtUnit = nullptr;
    QCheckBox* chkLimit = nullptr;

protected:
    void openerReads(int slot) override;
    void showSettingsExtra(const CardRecord& rec) override;
    void uploadExtra(Transfer& t) override;
    void downloadExtra(Transfer& t) override;
    // False while the limit function's presence waits on a version the card
    // refused or left unanswered: the limit is then neither read, emptied nor
    // sent, and a download names it.
    bool variantKnown() const override;
};

// The 8-channel temperature and resistance cards keep their scale, adjust and
// base pairs and Unused flags at the same places and read them in the same
// passes (the progress bar moves half a step per channel and ends at 12).
struct EightChannelBoxes {
    std::vector<QLineEdit*> zScale, fScale, bias, gain, zBase, fBase, enable;
};
// Their places in EightChannelSettings(); a screen adds its own settings after them.
enum EightChannelSetting { kZScale8, kFScale8, kBias8, kGain8, kZBase8, kFBase8, kEnable8, kEightChannelSettings };
std::vector<Setting> EightChannelSettings(const EightChannelBoxes& b);
std::vector<Pass> EightChannelPasses();

}  // namespace talvo::screens
