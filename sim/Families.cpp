#include "sim/Families.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <utility>
#include <vector>

#include "sim/FamilyHart.h"
#include "sim/FamilyPulse.h"
#include "sim/FamilyPower.h"
#include "sim/FamilyComm.h"
#include "sim/StationState.h"

namespace k6sim {
namespace {

// Items first..last of a group. The value pattern may list alternatives
// separated by "|", taken in turn from the first item on; "{n}" in a value
// stands for the item's place in the range, 1-based, as two digits.
struct Items {
    const char* group;
    int first;
    int last;
    const char* values;
};

struct Family {
    std::vector<std::string> prefixes;
    std::vector<Items> items;
};

using List = std::vector<Items>;

List join(std::initializer_list<List> parts) {
    List out;
    for (const List& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// Building blocks shared by the families, n = channel count.
List live(int n, int first = 10) { return {{"00", first, first + n - 1, "+0{n}.0"}}; }
List adjusts(int n) { return {{"01", 10, 2 * n + 9, "0|1.000"}}; }             // zero, full adjust
List scales(int n) { return {{"01", 42, 2 * n + 41, "0|10000"}}; }              // zero, full scale
List bases(int n, int first) { return {{"02", first, first + 2 * n - 1, "0|100"}}; }
List unusedFlags(int n) { return {{"02", 42, n + 41, "0"}}; }
List scaled(int n) { return join({live(n), adjusts(n), scales(n), unusedFlags(n)}); }
List temperature(int n) {
    return join({scaled(n), bases(n, 10),
                 {{"00", 19, 19, "degC"}, {"00", 20, 20, "UP"}, {"00", 25, 24 + n, "K"}, {"00", 56, 56, "0"}}});
}
List percents(int n) { return join({live(n), scales(n), bases(n, 10), unusedFlags(n), {{"02", 60, 59 + n, "+050.0"}}}); }
List baseScaled(int n, int firstBase) { return join({scaled(n), bases(n, firstBase)}); }
// Alarm cards: times and per-channel set values, hysteresis and directions in the
// alarm group, live values from item 14, alarm output words from item 10.
List alarm(int n, const char* group) {
    List l = join({live(n, 14), unusedFlags(n),
                   {{"00", 10, 9 + n / 4, "0000"}, {group, 1, 1, "0"}, {group, 7, 9, "0"}}});
    for (int ch = 1; ch <= n; ++ch) l.push_back({group, 10 * ch, 10 * ch + 8, "100.0|90.0|10.0|0.0|1.0|H|H|L|L"});
    return l;
}
List powerMonitor() {
    List l = {{"01", 10, 25, "00{n}"}, {"02", 9, 9, "0"}, {"02", 10, 25, "0;0;0;0"}};
    for (const char* g : {"03", "04"}) {
        l.push_back({g, 1, 1, "0"});
        l.push_back({g, 10, 22, "0"});
        l.push_back({g, 25, 28, "0"});
    }
    return l;
}

// The universal input card keeps everything in group 01 and carries the channel
// in the data: "01" to "04" in front of the value. The station holds a channel
// item's value of channel ch under the key 1000 + 10 x item + ch ("1052": item
// 05 of channel 2), which no frame names.
constexpr int kUniversalModelItem = 90;
constexpr int kUniversalVersionItem = 92;
constexpr int kUniversalCardItems[] = {87, 13, 57};  // unit, ADC speed, limit
constexpr int kUniversalChannelItems[] = {5, 20, 25, 50, 51, 52, 53, 54, 55, 56};
constexpr int kUniversalChannels = 4;
constexpr int kFirstChannelKey = 1000;

int channelKey(int item, int channel) { return kFirstChannelKey + 10 * item + channel; }

// The version item starts as the card's version.
// Input type (hexadecimal code), channel in use, burnout, CJC switch, then the
// Zero/Full Base, Zero/Full Adjust and Zero/Full Scale pairs, by channel.
// The types (K thermocouple, Pt100, the 12 V range, a 200 ohm potentiometer)
// are on both variants' lists.
List universal(bool variantA) {
    List l = join({live(4),
                   {{"01", kUniversalModelItem, kUniversalModelItem, variantA ? "K6_YK4/A" : "K6_YK4"},
                    {"01", 87, 87, "0"},
                    {"01", 13, 13, variantA ? "3" : "2"},
                    {"01", 57, 57, "0"}}});
    const std::pair<int, const char*> channels[] = {
        {5, "11|30|00|50"}, {50, "1"},      {20, "1|1|0|0"},  {25, "1|0|0|0"},   {51, "0"},
        {52, "1000"},       {53, "0.00"},   {54, "1.0000"},   {55, "0"},          {56, "10000"},
    };
    for (const auto& [item, values] : channels)
        l.push_back({"01", channelKey(item, 1), channelKey(item, kUniversalChannels), values});
    return l;
}

// Power cards: bias and gain of the measured values (items 10 to 17), the
// transformer ratings (VT from item 58; CT from 61, three a channel, or on the
// "A" and "B" models from 83, two a channel), the drop-out (82) and the energy
// clear (81, see FamilyPower.cpp).
List powerCard(int channels, bool ctFrom83) {
    List l = join({adjusts(4), {{"01", 58, 60, "110|1|110"}, {"01", 81, 81, "0"}, {"01", 82, 82, "1.0"}}});
    if (ctFrom83)
        l.push_back({"01", 83, 82 + 2 * channels, "100|1"});
    else
        l.push_back({"01", 61, 60 + 3 * channels, "5|1|5"});
    return l;
}
// One circuit: W, var, cos, Hz, then four counters as Low and High parts.
List powerCard1(bool ctFrom83) {
    return join({powerCard(1, ctFrom83),
                 {{"00", 10, 21, "+1234.5|+0123.4|+0.985|+50.00|5678|0012|1357|0034|2468|0056|3579|0078"},
                  {"01", 18, 19, "2"}, {"01", 35, 35, "999999"}, {"01", 37, 37, "999999"}, {"01", 42, 42, "0"},
                  {"01", 44, 44, "0"}, {"01", 50, 51, "5000|1"}}});
}
// Four channels: sixteen live values, WhU (18 to 21), WFS and WU (50 to 57).
List powerCard4(bool ctFrom83) {
    return join({powerCard(4, ctFrom83), live(16), {{"01", 18, 21, "2"}, {"01", 50, 57, "5000|1"}}});
}
// The heat and flow card: live values, units, states and card values in group
// 00, flow scale, bias and gain in 01, the heat settings, the totals' presets
// (26 to 33, see FamilyPower.cpp) and CH2 Disable in 02.
List heatFlow() {
    return {{"00", 10, 25, "+012.5|+007.5|12.34|56.78|001234.56|000012.34|000567.89|000001.23"},
            {"00", 27, 30, "Normal|Cooling|Normal|Heating"}, {"00", 56, 56, "4.186"},
            {"00", 61, 66, "m3/h|m3/h|MJ/h|GJ/h|Pt100|Pt1000"}, {"00", 69, 71, "UP|Normal|+020.0"},
            {"01", 10, 13, "0.00|1.0000"}, {"01", 16, 19, "0.00|100.00"},
            {"02", 10, 13, "1.0000"}, {"02", 14, 15, "1.00"}, {"02", 16, 17, "0.50"}, {"02", 18, 19, "0.20"},
            {"02", 20, 23, "0.00"}, {"02", 26, 33, "0"}, {"02", 43, 43, "0"}};
}

// The HART input card: per channel, in its own group "01" to "04", the zero/full
// adjust (14, 15) and scale (17, 18) and the Unused flag (27); the HART master's
// polling address, CYCL_HIGH, CYCL_LOW, retry count and mode (30 to 34), its
// five blocks (37 to 41, written and read in chunks: FamilyHart.cpp) and its
// reset (50).
List hartCard() {
    List l = live(4);
    for (const char* g : {"01", "02", "03", "04"}) {
        l.push_back({g, 1, 1, "0"});
        l.push_back({g, 14, 15, "0.00|1.0000"});
        l.push_back({g, 17, 18, "0|10000"});
        l.push_back({g, 27, 27, "0"});
        l.push_back({g, 30, 34, "0|0|0|3|0"});
        l.push_back({g, 37, 41, ""});
        l.push_back({g, 50, 50, "0"});
    }
    return l;
}

// The 2-channel actuator: positions and set points, channel enables, and per
// channel group "03"/"04": deadband, restart and motor-lock time, fine step,
// setting mode, the two directions, raw position, test mode and test position.
List actuator() {
    List l = {{"00", 11, 12, "45.0|55.0"}, {"00", 14, 15, "50.0|60.0"}, {"02", 42, 43, "0"}};
    for (const char* g : {"03", "04"}) {
        const List own = {{g, 1, 1, "0"},       {g, 5, 5, "1.5"},  {g, 6, 6, "1000"}, {g, 7, 7, "120"},
                          {g, 8, 8, "100"},     {g, 9, 11, "00"},  {g, 28, 28, "5000"},
                          {g, 50, 50, "00"},    {g, 51, 51, "0"}};
        l.insert(l.end(), own.begin(), own.end());
    }
    return l;
}

// The 16-channel pulse card: counters, "Max" at items 27, 29, .. 57, presets.
List pulse16() {
    List l = {{"00", 10, 25, "2{n}00"}, {"02", 10, 25, "0"}};
    for (int ch = 1; ch <= 16; ++ch) l.push_back({"01", 2 * ch + 25, 2 * ch + 25, "65535"});
    return l;
}

const std::vector<Family>& families() {
    static const std::vector<Family> table = {
        {{"BW4", "BZ4", "JT4", "LQ4", "LF4"}, scaled(4)},
        {{"BW8", "BZ8", "JT8", "LQ8", "LF8"}, scaled(8)},
        {{"BW1", "BZ1"}, scaled(16)},
        {{"HG4", "UB4"}, temperature(4)},
        {{"HG8", "UB8"}, temperature(8)},
        {{"HG8A"}, join({temperature(8), {{"03", 1, 1, "0"}, {"03", 50, 57, "0.00"}}})},
        {{"BWT"},
         join({scaled(8), bases(4, 10),
               {{"00", 55, 58, "UB1|VV1"}, {"00", 59, 59, "UP"}, {"00", 60, 60, "degC"}, {"03", 1, 1, "0"},
                {"03", 40, 43, "0.0"}}})},
        {{"EK4"}, percents(4)},
        {{"EK8"}, percents(8)},
        {{"ZN2"}, join({scaled(2), {{"01", 4, 9, "0"}}})},  // threshold, load and tare ratios
        {{"FD4", "IX4"}, baseScaled(4, 10)},
        {{"FD4A", "FD4B"}, baseScaled(4, 26)},
        {{"FW4"}, scaled(4)},
        {{"FD8"}, baseScaled(8, 26)},
        {{"KR4", "KN4", "KM4"}, alarm(4, "04")},
        {{"KP4", "KC4"}, alarm(4, "12")},
        {{"KR8", "KN8", "KM8"}, alarm(8, "04")},
        {{"KP8", "KC8"}, alarm(8, "12")},
        {{"GBH"}, powerMonitor()},
        {{"GB1"}, powerCard1(false)},
        {{"GB1A", "GB1B"}, powerCard1(true)},
        {{"GB4"}, powerCard4(false)},
        {{"GB4A", "GB4B"}, powerCard4(true)},
        {{"FS2"}, heatFlow()},
        // Discrete cards: the overview words, and one item per point (or channel).
        {{"JO8", "JH8"}, {{"00", 27, 27, "0000"}, {"00", 10, 17, "0"}}},
        {{"JO1", "JH1"}, {{"00", 27, 27, "0000"}, {"00", 10, 25, "0"}}},
        {{"JO3", "JH3"}, {{"01", 6, 7, "0000"}, {"01", 10, 41, "0"}}},
        {{"JO6", "JH6"}, {{"01", 6, 7, "0000"}, {"01", 10, 73, "0"}}},
        {{"IK1"}, {{"00", 26, 26, "00000000"}, {"00", 10, 25, "00"}}},
        {{"JOV"}, {{"00", 18, 18, "00,00,00"}, {"00", 10, 17, "0,0,0"}}},
        {{"UJ8"}, {{"00", 26, 26, "0000"}, {"00", 10, 17, "00"}}},
        // Pulse counters: live counts, Min and Max by channel, preset items.
        {{"IY8"}, {{"00", 10, 17, "1{n}00"}, {"01", 26, 41, "0|99999"}, {"02", 10, 17, "0"}}},
        {{"IY1", "IW1"}, pulse16()},
        // 2 channels: alarms (mode, level, hyst., level, hyst.) at 10ch + 40.., drop-out,
        // scale, reset and maximum position, input frequency; live values and status words.
        {{"IY2"},
         {{"00", 10, 17, "+0{n}.0"}, {"00", 11, 11, "0004"}, {"00", 15, 15, "0008"}, {"00", 57, 58, "5{n}.0"},
          {"01", 7, 8, "10|20"}, {"01", 9, 9, "0"}, {"01", 10, 11, "5"}, {"01", 14, 15, "0"}, {"01", 18, 19, "1000"},
          {"01", 30, 31, "1000"}, {"01", 42, 45, "0|9999"}, {"01", 50, 59, "1|80.0|1.0|20.0|1.0|2|70.0|1.0|30.0|1.0"},
          {"01", 60, 69, "1|80.0|1.0|20.0|1.0|2|70.0|1.0|30.0|1.0"}}},
        // 4 channels: drop-out, threshold, edge, gain (reported), scale, input frequency (reported).
        {{"IY4"},
         {{"00", 10, 13, "+0{n}.0"}, {"01", 10, 13, "5"}, {"01", 26, 29, "0.5"}, {"01", 30, 33, "0"},
          {"01", 54, 57, "1.00"}, {"01", 42, 49, "0|9999"}, {"01", 50, 53, "1000"}}},
        // IY4A/IY4B: Min., Max. at 2ch + 12.., edge, threshold, dividing ratio; three live values per channel.
        {{"IY4A", "IY4B"},
         {{"00", 10, 17, "{n}00"}, {"00", 57, 60, "{n}"}, {"01", 9, 9, "0"}, {"01", 14, 21, "0|FFFF"},
          {"01", 26, 29, "0.5"}, {"01", 30, 33, "0"}, {"01", 58, 61, "1"}}},
        // The analog output card: the scaled card's items and the module codes of channels 1 to 4.
        {{"LQN"}, join({scaled(8), {{"00", 55, 58, "LQ1|LB1"}}})},
        // Parallel data: data logic, strobe logic, data exchange; two live values.
        {{"VU3", "VT3"}, {{"00", 10, 11, "12.34|5678"}, {"01", 15, 17, "0|1|0"}}},
        {{"EAJ"}, actuator()},
        {{"YK4"}, universal(false)},
        {{"YK4A"}, universal(true)},
        {{"XR4"}, hartCard()},
    };
    return table;
}

std::string valueAt(const std::string& pattern, int index) {
    std::vector<std::string> alternatives{""};
    for (char c : pattern) {
        if (c == '|')
            alternatives.emplace_back();
        else
            alternatives.back() += c;
    }
    std::string v = alternatives[static_cast<std::size_t>(index) % alternatives.size()];
    const auto at = v.find("{n}");
    if (at != std::string::npos) v.replace(at, 3, twoDigits(index + 1));
    return v;
}

bool isUniversal(const Card& card) { return card.code.compare(0, 3, "YK4") == 0; }

void add(Card& card, const List& items) {
    for (const Items& r : items)
        for (int item = r.first; item <= r.last; ++item) card.groups[r.group][item] = valueAt(r.values, item - r.first);
}

}  // namespace

void addFamilyDefaults(Card& card) {
    // Every I/O card: its DIP switches, and item 01 of the two settings groups,
    // which the program writes before it reads or writes a group.
    add(card, {{"00", 39, 39, "00,00,00"}, {"01", 1, 1, "0"}, {"02", 1, 1, "0"}});
    const Family* best = nullptr;
    std::size_t bestLength = 0;
    for (const Family& f : families())
        for (const std::string& p : f.prefixes)
            if (card.code.compare(0, p.size(), p) == 0 && p.size() > bestLength) {
                best = &f;
                bestLength = p.size();
            }
    if (best) add(card, best->items);
    addGatewaySlotDefaults(card);
    if (isUniversal(card)) card.groups["01"][kUniversalVersionItem] = card.version;
}

void addCommDefaults(Card& card) {
    // Described again by a comm line: the items are those of the model named there.
    card.groups.clear();
    add(card, {{"01", 1, 1, "0"}});
    addCommModelDefaults(card);
}

namespace {

template <std::size_t N>
bool isIn(int item, const int (&items)[N]) {
    return std::find(std::begin(items), std::end(items), item) != std::end(items);
}

bool isUniversalChannelItem(int item) { return isIn(item, kUniversalChannelItems); }

// 1 to 4 for data that starts with "01" to "04", else 0.
int channelOf(const std::string& data) {
    if (data.size() < 2 || data[0] != '0' || data[1] < '1' || data[1] > '0' + kUniversalChannels) return 0;
    return data[1] - '0';
}

std::string tag(int item, const std::string& value) { return "D" + twoDigits(item) + ":" + value; }

}  // namespace

std::optional<std::string> familyItemReply(const Card& card, const std::string& group, int item) {
    if (const auto r = commItemReply(card, group, item)) return r;
    if (const auto r = pulseItemReply(card, group, item)) return r;
    if (!isUniversal(card) || group != "01") return std::nullopt;
    if (item >= kFirstChannelKey) return "CNU";
    const auto g = card.groups.find(group);
    if (g == card.groups.end()) return std::nullopt;
    if (!isUniversalChannelItem(item)) return std::nullopt;
    // The item frame names no channel yet; it answers with channel 1.
    const auto v = g->second.find(channelKey(item, 1));
    return v == g->second.end() ? "CNU" : tag(item, v->second);
}

std::optional<std::string> familyDataReply(Card& card, const std::string& group, int item, const std::string& data) {
    if (const auto r = commDataReply(card, group, item, data)) return r;
    if (const auto held = card.groups.find(group); held != card.groups.end() && held->second.count(item))
        powerFamilyWrite(card, group, item, data);
    if (const auto r = pulseDataReply(card, group, item, data)) return r;
    if (const auto r = hartDataReply(card, group, item, data)) return r;
    if (!isUniversal(card) || group != "01") return std::nullopt;
    const auto g = card.groups.find(group);
    if (g == card.groups.end()) return std::nullopt;
    std::map<int, std::string>& items = g->second;
    if (item >= kFirstChannelKey) return "CNU";
    if (item == kUniversalModelItem || item == kUniversalVersionItem) {
        // Read with empty data and answered bare; the card works them out.
        if (!data.empty()) return "CNG";
        const auto v = items.find(item);
        return v == items.end() ? "CNU" : "D" + v->second;
    }
    if (isIn(item, kUniversalCardItems)) {
        if (!data.empty()) return std::nullopt;  // a write: stored and echoed as usual
        const auto v = items.find(item);
        return v == items.end() ? "CNU" : tag(item, v->second);
    }
    if (!isUniversalChannelItem(item)) return std::nullopt;
    const int channel = channelOf(data);
    if (channel == 0) return "CNG";
    const auto v = items.find(channelKey(item, channel));
    if (v == items.end()) return "CNU";
    if (data.size() == 2) return tag(item, v->second);  // the channel alone: a read
    v->second = data.substr(2);
    return "D" + data;
}

}  // namespace k6sim
