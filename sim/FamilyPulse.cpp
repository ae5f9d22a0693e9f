#include "sim/FamilyPulse.h"

#include <algorithm>
#include <chrono>
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

bool isActuator(const Card& card) { return startsWith(card.code, "EAJ"); }
bool isChannelGroup(const std::string& g) { return g == "03" || g == "04"; }

long long nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

long long number(const std::string& s) {
    long long n = 0;
    bool neg = false;
    std::size_t i = 0;
    if (i < s.size() && s[i] == '-') neg = (++i, true);
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9' && n < 1000000000LL; ++i) n = n * 10 + (s[i] - '0');
    return neg ? -n : n;
}

const std::string* itemOf(const Card& card, const std::string& group, int item) {
    const auto g = card.groups.find(group);
    if (g == card.groups.end()) return nullptr;
    const auto i = g->second.find(item);
    return i == g->second.end() ? nullptr : &i->second;
}

long long clampPosition(long long p) { return std::max(0LL, std::min(10000LL, p)); }

// A write to an actuator's channel group: the motor and the setting mode.
void actuatorWrite(Card& card, const std::string& group, int item, const std::string& data) {
    auto& items = card.groups[group];
    if (item == 9) {
        std::string& log = items[kActuatorModeLog];
        log += (log.empty() ? "" : ",") + data;
        return;
    }
    if (item != 10 && item != 11) return;
    const int since = item == 10 ? kActuatorCloseSince : kActuatorOpenSince;
    const long long sign = item == 10 ? -1 : 1;
    if (data == "01") {
        if (!items.count(since)) items[since] = std::to_string(nowMs());
    } else if (data == "00") {
        items[28] = actuatorPosition(card, group);
        items.erase(kActuatorCloseSince);
        items.erase(kActuatorOpenSince);
    } else if (data == "02") {
        const std::string* step = itemOf(card, group, 8);
        items[28] = std::to_string(clampPosition(number(actuatorPosition(card, group)) + sign * number(step ? *step : "100")));
    }
}

}  // namespace

std::string actuatorPosition(const Card& card, const std::string& group) {
    const std::string* raw = itemOf(card, group, 28);
    long long p = number(raw ? *raw : "0");
    const long long now = nowMs();
    if (const std::string* t = itemOf(card, group, kActuatorCloseSince)) p -= kActuatorSpeed * (now - number(*t));
    if (const std::string* t = itemOf(card, group, kActuatorOpenSince)) p += kActuatorSpeed * (now - number(*t));
    return std::to_string(clampPosition(p));
}

std::optional<std::string> pulseItemReply(const Card& card, const std::string& group, int item) {
    if (isActuator(card) && isChannelGroup(group) && item == 28) return "D28:" + actuatorPosition(card, group);
    return std::nullopt;
}

std::optional<std::string> pulseDataReply(Card& card, const std::string& group, int item, const std::string& data) {
    if (startsWith(card.code, "IY8") || startsWith(card.code, "IY1") || startsWith(card.code, "IW1"))
        loadCounter(card, group, item, data);
    if (startsWith(card.code, "IY2")) clearOnItem09(card, group, item, data, {10, 12, 13, 14, 16, 17});
    if (startsWith(card.code, "IY4A") || startsWith(card.code, "IY4B"))
        clearOnItem09(card, group, item, data, {10, 11, 12, 13, 14, 15, 16, 17});
    // The actuator's own items store as usual (the reply echoes the data) once
    // the motor and the log have followed.
    if (isActuator(card) && isChannelGroup(group) && itemOf(card, group, item)) actuatorWrite(card, group, item, data);
    return std::nullopt;
}

}  // namespace k6sim
