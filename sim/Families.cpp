#include "sim/Families.h"

#include <vector>

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
        {{"JO8", "JH8", "JO1", "JH1"}, {{"00", 27, 27, "0000"}}},
        {{"JO3", "JH3", "JO6", "JH6"}, {{"01", 6, 7, "0000"}}},
        {{"IK1"}, {{"00", 26, 26, "00000000"}}},
        {{"JOV"}, {{"00", 18, 18, "00,00,00"}}},
        {{"UJ8"}, {{"00", 26, 26, "0000"}}},
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
}

void addCommDefaults(Card& card) { add(card, {{"01", 1, 1, "0"}}); }

}  // namespace k6sim
