#include "sim/FamilyPower.h"

#include <utility>

namespace k6sim {

namespace {

const std::string kZero = "0";

bool codeBegins(const Card& card, const char* prefix) { return card.code.rfind(prefix, 0) == 0; }

// The group 00 items that hold energy counts: on the one-circuit card items 14
// to 21; on the four-channel card 14 to 25, or all sixteen in display modes 2
// and 3 (the eighth character of the code).
std::pair<int, int> counterItems(const Card& card) {
    if (codeBegins(card, "GB1")) return {14, 21};
    const char mode = card.code.size() >= 8 ? card.code[7] : '0';
    return {mode == '2' || mode == '3' ? 10 : 14, 25};
}

// The total each preset item sets: cooling flow, heating flow, cooling heat,
// heating heat of CH 1 and CH 2.
int presetTotal(int item) {
    switch (item) {
        case 26: return 14;
        case 27: return 16;
        case 28: return 22;
        case 29: return 24;
        case 30: return 15;
        case 31: return 17;
        case 32: return 23;
        case 33: return 25;
        default: return 0;
    }
}

}  // namespace

void powerFamilyWrite(Card& card, const std::string& group, int item, const std::string& data) {
    auto& live = card.groups["00"];
    if ((codeBegins(card, "GB1") || codeBegins(card, "GB4")) && group == "01" && item == 81 && data == "1") {
        const auto [first, last] = counterItems(card);
        for (auto& [i, value] : live)
            if (i >= first && i <= last) value = kZero;
    } else if (codeBegins(card, "FS2") && group == "02") {
        const int total = presetTotal(item);
        if (total && live.count(total)) live[total] = data;
    }
}

}  // namespace k6sim
