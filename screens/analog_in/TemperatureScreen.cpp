#include "screens/analog_in/TemperatureScreen.h"

#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "screens/TextBoxes.h"

namespace talvo::screens {

bool TemperatureScreen::HasLimitFunction() const {
    return LeadingNumber(RemoveDecimalPoint(boxText(txtVerNo))) >= 10 && boxText(txtCardType).rfind("HG", 0) == 0;
}

void TemperatureScreen::openerReads(int) {
    for (std::size_t i = 0; i < txtInputType.size(); ++i)
        setBoxText(txtInputType[i], TextAfterColon(ReadItem(3, "00", std::to_string(25 + i))));
    setBoxText(txtBurnout, TextAfterColon(ReadItem(3, "00", "20")));
    setBoxText(txtUnit, TextAfterColon(ReadItem(3, "00", "19")));
}

void TemperatureScreen::showSettingsExtra(const CardRecord& rec) {
    if (HasLimitFunction()) {
        chkLimit->setEnabled(true);
        chkLimit->setChecked(rec.Param[64] == "1");
    } else {
        chkLimit->setChecked(false);
        chkLimit->setEnabled(false);
    }
}

void TemperatureScreen::uploadExtra(Transfer& t) {
    if (!HasLimitFunction()) {
        t.record().Param.set(64, "");
        return;
    }
    // A read that gets no answer fails the upload; it does not mean "limit off".
    const std::string reply = t.read("00", "56");
    if (!t.ok()) return;
    const bool on = TextAfterColon(reply) == "ENA";
    chkLimit->setChecked(on);
    t.record().Param.set(64, on ? "1" : "0");
}

void TemperatureScreen::downloadExtra(Transfer& t) {
    if (!HasLimitFunction()) return;
    const std::string value = chkLimit->isChecked() ? "1" : "0";
    t.write("00", "56", value);
    if (t.ok()) t.record().Param.set(64, value);
}

std::vector<Setting> EightChannelSettings(const EightChannelBoxes& b) {
    return {
        {b.zScale, "01", 2, 40, 4, -3, false, Accept::NotEmpty, "", nullptr, nullptr},
        {b.fScale, "01", 2, 41, 4, -2, false, Accept::NotEmpty, "", nullptr, nullptr},
        {b.bias, "01", 2, 8, 4, -1, false, Accept::NotEmpty, "", nullptr, nullptr},
        {b.gain, "01", 2, 9, 4, 0, false, Accept::NotEmpty, "", nullptr, nullptr},
        {b.zBase, "02", 2, 8, 2, 31, false, Accept::NotEmpty, "", nullptr, nullptr},
        {b.fBase, "02", 2, 9, 2, 32, false, Accept::NotEmpty, "", nullptr, nullptr},
        {b.enable, "02", 1, 41, 0, 0, true, Accept::NotEmpty, "", nullptr, nullptr},
    };
}

std::vector<Pass> EightChannelPasses() {
    return {
        {"01", {0, 1, 2, 3}, [](int ch) { return ch / 2; }, nullptr},
        {"02", {4, 5}, [](int ch) { return ch / 2 + 4; }, nullptr},
        {"", {6}, [](int ch) { return ch / 2 + 8; }, nullptr},
    };
}

}  // namespace talvo::screens
