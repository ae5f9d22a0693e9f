#include "sim/FamilyPulse.h"

#include <initializer_list>

namespace k6sim {

namespace {

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// Group "02" items 10 on hold the counters' preset values; a write (a preset, or
// "0" from a clear) loads the counter, which the live item of the same number shows.
void loadCounter(Card& card, const std::string& group, int item, const std::string& data) {
    if (group != "02" || item < 10) return;
    auto& presets = card.groups["02"];
    auto& live = card.groups["00"];
    if (presets.count(item) && live.count(item)) live[item] = data;
}

// Group "01" item "09" := "1" clears the counters of the cards that clear that way.
void clearOnItem09(Card& card, const std::string& group, int item, const std::string& data,
                   std::initializer_list<int> counters) {
    if (group != "01" || item != 9 || data != "1") return;
    auto& live = card.groups["00"];
    for (int c : counters)
        if (auto it = live.find(c); it != live.end()) it->second.assign(1, '0');
}

}  // namespace

std::optional<std::string> pulseDataReply(Card& card, const std::string& group, int item, const std::string& data) {
    if (startsWith(card.code, "IY8") || startsWith(card.code, "IY1") || startsWith(card.code, "IW1"))
        loadCounter(card, group, item, data);
    if (startsWith(card.code, "IY2")) clearOnItem09(card, group, item, data, {10, 12, 13, 14, 16, 17});
    if (startsWith(card.code, "IY4A") || startsWith(card.code, "IY4B"))
        clearOnItem09(card, group, item, data, {10, 11, 12, 13, 14, 15, 16, 17});
    return std::nullopt;
}

}  // namespace k6sim
