#include "core/DipSwitch.h"

#include "core/Globals.h"
#include "core/LineTurn.h"
#include "core/OwedStops.h"
#include "core/Protocol.h"
#include "core/TextHelpers.h"

namespace talvo {

namespace {

// Text index of each hex digit, low digit before high digit of SW1, SW2, SW3.
constexpr int kDigitAt[6] = {1, 0, 4, 3, 7, 6};

}  // namespace

void txtCDataDraw(DipSwitchModel& model, int row, const std::string& switchText) {
    if (row < 0 || row >= DipSwitchModel::kRows) return;
    for (int q = 0; q < 6; ++q) {
        const auto at = static_cast<std::size_t>(kDigitAt[q]);
        if (at >= switchText.size()) continue;
        const int value = UpperHexDigitOf(switchText[at]);
        if (value < 0) continue;
        for (int b = 0; b < 4; ++b)
            model.cells[static_cast<std::size_t>(24 * row + 4 * q + b)] =
                (value >> b) & 1 ? colors::Black : colors::White;
    }
}

bool ReadDipSwitches(DipSwitchModel& model, const std::function<void(int row)>& rowChanged) {
    auto changed = [&](int row) {
        if (rowChanged) rowChanged(row);
    };
    // The slot list is the communication card's.
    LineHold hold(0);
    Globals& g = G();
    g.SlotInUse.fill(false);

    if (!SelectCard("0")) return false;
    WriteItem(3, "00", "01", "F");

    for (int i = 0; i < DipSwitchModel::kRows; ++i) {
        const std::string name = TextAfterColon(ReadItem(3, "00", std::to_string(i + 10)));
        // The card list is read here too: a stop owed to an actuator no longer listed goes.
        if (!name.empty() && !IsRefusal(name)) OwedStopCardListed(i + 1, name == "UNKNOWN" ? "NONE" : name);
        if (name == "UNKNOWN") {
            g.SlotInUse[i] = false;
            model.name[i] = model.version[i] = model.switchText[i] = "-";
            txtCDataDraw(model, i, "00,00,00");
        } else {
            // A slot that did not answer is read like a card; its reads fail below.
            g.SlotInUse[i] = true;
            model.name[i] = name;
        }
        changed(i);
    }

    for (int i = 0; i < DipSwitchModel::kRows; ++i) {
        if (!g.SlotInUse[i]) continue;
        LineHold card(i + 1);
        if (!SelectCard(i + 1, 3, SelectFrames::ItemThenF)) return false;
        model.version[i] = TextAfterColon(ReadItem(3, "00", "40"));
        changed(i);
        const std::string s = TextAfterColon(ReadItem(3, "00", "39"));
        model.switchText[i] = s;
        // "CNG" and "NEEDLESS" say the card has no switch text; their letters are not digits.
        if (!IsRefusal(s)) txtCDataDraw(model, i, s);
        changed(i);
    }
    return true;
}

}  // namespace talvo
