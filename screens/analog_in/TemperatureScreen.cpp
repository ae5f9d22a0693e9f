#include "screens/analog_in/TemperatureScreen.h"

#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "screens/skeleton/TextBoxes.h"

namespace talvo::screens {

bool TemperatureScreen::HasLimitFunction() const {
    return LeadingNumber(RemoveDecimalPoint(boxText(txtVerNo))) >= 10 && boxText(txtCardType).rfind("HG", 0) == 0;
}

void TemperatureScreen::openerReads(int) {
    // A refused read shows no value rather than the refusal's text.
    for (std::size_t i = 0; i < txtInputType.size(); ++i)
        setBoxText(txtInputType[i], ShownValue(ReadItem(3, "00", std::to_string(25 + i))));
    setBoxText(txtBurnout, ShownValue(ReadItem(3, "00", "20")));
    setBoxText(txtUnit, ShownValue(ReadItem(3, "00", "19")));
}

// Only an "HG" card's version tells whether it has the limit function (an
// "HG8A" has it whatever its version); a version the card refused or left
// unanswered (an empty box) leaves that unknown.
bool TemperatureScreen::variantKnown() const {
    return !boxText(txtVerNo).empty() || boxText(txtCardType).rfind("HG", 0) != 0 || HasLimitFunction();
}

void TemperatureScreen::showSettingsExtra(const CardRecord& rec) {
    watchUserSets("limit", 1, chkLimit);
    const bool limit = HasLimitFunction();
    chkLimit->setEnabled(limit);
    // Drawn as holding a value while it is filled, so that the drawing below
    // keeps what it shows now.
    DrawHeld(chkLimit, Held::Value);
    if (limit) {
        chkLimit->setChecked(rec.Param[64] == "1");
        DrawHeld(chkLimit, held("limit", 1, rec.Param[64]));
    } else if (!variantKnown()) {
        // Whether the card has the limit at all is not known: the box shows
        // what the record holds, drawn as not read, and cannot be set.
        chkLimit->setChecked(rec.Param[64] == "1");
        DrawHeld(chkLimit, Held::NotRead);
    } else {
        chkLimit->setChecked(false);
    }
}

void TemperatureScreen::uploadExtra(Transfer& t) {
    // With the version unknown the limit is not read, and the record keeps it.
    if (!variantKnown()) return;
    if (!HasLimitFunction()) {
        t.record().Param.set(64, "");
        return;
    }
    // A read that gets no answer fails the upload; it does not mean "limit off".
    const std::string reply = t.read("00", "56");
    if (!t.ok()) return;
    // Nor does a refusal: the box and the record keep theirs, drawn as not read.
    const Held h = ui::HeldOfReply(reply);
    setHeld("limit", 1, chkLimit, h);
    if (h != Held::Value) return;
    const bool on = TextAfterColon(reply) == "ENA";
    chkLimit->setChecked(on);
    t.record().Param.set(64, on ? "1" : "0");
}

void TemperatureScreen::downloadExtra(Transfer& t) {
    // With the version unknown the card may have a limit: it is left and named.
    if (!variantKnown()) {
        t.leftOnCard("Limit");
        return;
    }
    if (!HasLimitFunction()) return;
    // A limit the card did not give is not sent.
    if (const Held h = held("limit", 1, t.record().Param[64]); h != Held::Value) {
        if (h != Held::Needless) t.leftOnCard("Limit");
        return;
    }
    const std::string value = chkLimit->isChecked() ? "1" : "0";
    t.write("00", "56", value);
    if (t.ok()) t.record().Param.set(64, value);
}

std::vector<Setting> EightChannelSettings(const EightChannelBoxes& b) {
    return {
        {.boxes = b.zScale, .group = "01", .item = {2, 40}, .param = {4, -3}, .name = "Zero Scale"},
        {.boxes = b.fScale, .group = "01", .item = {2, 41}, .param = {4, -2}, .name = "Full Scale"},
        {.boxes = b.bias, .group = "01", .item = {2, 8}, .param = {4, -1}, .name = "Zero Adjust"},
        {.boxes = b.gain, .group = "01", .item = {2, 9}, .param = {4, 0}, .name = "Full Adjust"},
        {.boxes = b.zBase, .group = "02", .item = {2, 8}, .param = {2, 31}, .name = "Zero Base"},
        {.boxes = b.fBase, .group = "02", .item = {2, 9}, .param = {2, 32}, .name = "Full Base"},
        {.boxes = b.enable, .group = "02", .item = {1, 41}, .flag = {.unused = true}},
    };
}

std::vector<Pass> EightChannelPasses() {
    return {
        {.openGroup = "01",
         .settings = {kZScale8, kFScale8, kBias8, kGain8},
         .progressAfter = [](int ch) { return ch / 2; }},
        {.openGroup = "02", .settings = {kZBase8, kFBase8}, .progressAfter = [](int ch) { return ch / 2 + 4; }},
        {.settings = {kEnable8}, .progressAfter = [](int ch) { return ch / 2 + 8; }},
    };
}

}  // namespace talvo::screens
