#include "sim/FamilyPulse.h"

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

}  // namespace

std::optional<std::string> pulseDataReply(Card& card, const std::string& group, int item, const std::string& data) {
    if (startsWith(card.code, "IY8")) loadCounter(card, group, item, data);
    return std::nullopt;
}

}  // namespace k6sim
