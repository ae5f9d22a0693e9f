#include "sim/FamilyComm.h"

#include <initializer_list>

#include "sim/StationState.h"

namespace k6sim {

namespace {

// The fieldbus card keeps the scale list of I/O card k + 1 under group 17 key
// 1001 + k, which no frame names.
constexpr int kFirstScaleKey = 1001;
constexpr int kScaleRead = 43;
constexpr int kScaleSet = 44;
// The wireless cards' relay mode (group 00).
constexpr int kRelayModeItem = 55;

// The model whose items the card gets: from a model text that carries its
// status after ":" as a real card's does ("K6-OW1:RUN"), or, for a card that
// answers "CNG" to its model item, from its version text ("K6-OW1:2.04"). A
// bare model text ("K6-OW1", the shipped station's) gives none: such a card
// keeps only the items every communication card has.
std::string modelOf(const Card& card) {
    const std::string& text = card.modelText == "CNG" ? card.version : card.modelText;
    const auto colon = text.find(':');
    if (colon == std::string::npos) return "";
    const std::string head = text.substr(0, colon);
    return head.rfind("K6-", 0) == 0 ? head.substr(3) : head;
}

bool begins(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

void fill(Card& card, const std::string& group, int first, int last, const std::string& value) {
    for (int item = first; item <= last; ++item) card.groups[group][item] = value;
}

void set(Card& card, const std::string& group, std::initializer_list<std::pair<int, const char*>> items) {
    for (const auto& [item, value] : items) card.groups[group][item] = value;
}

bool isWireless(const std::string& m) { return begins(m, "OXF") || begins(m, "OG"); }

bool isEthernet(const std::string& m) { return (begins(m, "OW") && !begins(m, "OWHD")) || begins(m, "QA") || m == "HM3EX"; }

// The wireless cards: the RS-485 side in group 00 (OG has none, but the
// items do no harm there) and the radio side in group 17. Lists travel as
// entry numbers, the power level and retry count as entry + 1, the write
// enable port as the model's port code. The relay mode is written as its
// number (1 slave, 2 relay) and read as its text (commDataReply).
void addWirelessDefaults(Card& card, const std::string& m) {
    const bool oxf1f = begins(m, "OXF1F");
    set(card, "00", {{56, "12"}, {58, "1"}, {57, "2"}, {60, "2"}, {61, oxf1f ? "9" : "3"}, {62, "30"},
                     {63, "50"}, {55, "SLAVE"}});
    set(card, "17", {{30, "1A2B"}, {31, "11"}, {32, "25"}, {41, "0001"}, {42, "NET-1"},
                     {43, "0123456789ABCDEF0123456789ABCDEF"}, {44, "360"}, {45, "3"}, {46, "1"}, {47, "1"},
                     {76, "00-80-4C-AB-CD-EF"}, {48, "1"}, {49, "0002"}, {50, "1"}, {26, "0"}, {27, "1"},
                     {28, "1"}, {29, "2"}});
    fill(card, "17", 33, 40, "0");
}

}  // namespace

void addCommModelDefaults(Card& card) {
    const std::string m = modelOf(card);
    if (m.empty()) return;
    // Every model: status, DIP switches, time-out, activate delay switch, and
    // the direct-output table ("In Slot" of slots 1 to 16).
    set(card, "00", {{3, "RUN"}, {9, "30"}, {30, "0"}, {39, "00,00,00"}});
    set(card, "17", {{1, "0"}});
    if (isEthernet(m) || begins(m, "QFODH") || begins(m, "OVRT"))
        set(card, "00", {{57, "00-80-4C"}, {58, "12-34-56"}});
    if (isEthernet(m)) {
        set(card, "00", {{59, "192.168.0.10"}, {60, "255.255.255.0"}});
        if (begins(m, "OWUB")) {
            set(card, "00", {{77, "0"}, {78, "192.168.0.1"}});
        } else {
            set(card, "00", {{61, "502"}, {62, "503"}, {63, "504"}, {64, "505"}});
            fill(card, "00", 71, 74, "10");
        }
    }
    if (begins(m, "OP")) {
        set(card, "00", {{55, "5"}});
        set(card, "17", {{0, "0"}, {42, "0"}, {kScaleRead, ""}, {kScaleSet, ""}});
        for (int n = 1; n <= 16; ++n) {
            card.groups["17"][25 + n] = "IO" + twoDigits(n);
            card.groups["17"][44 + n] = "N" + twoDigits(n);
            card.groups["17"][60 + n] = "0";
            card.groups["17"][kFirstScaleKey + n - 1] = "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0";
        }
    }
    if (begins(m, "OVRT")) {
        set(card, "50", {{1, "0"}, {9, "30"}, {40, "1.10"}, {88, "1"}, {90, "5"}, {87, "00-80-4C-12-34-56"},
                         {92, "Data link"}, {97, "0"}});
        fill(card, "50", 10, 25, "0");
    }
    if (isWireless(m)) addWirelessDefaults(card, m);
    if (begins(m, "QFODH")) {
        // The gateway's own addresses, its SLMP server and its map.
        set(card, "00", {{9, "100"}, {59, "192.168.3.39"}, {60, "255.255.255.0"}, {61, "192.168.3.1"}, {63, "32"},
                         {64, "3FF"}, {65, "3"}, {66, "1"}, {67, "1"}, {68, "192.168.3.250"}, {69, "5000"}});
        set(card, "17", {{9, "2"}, {10, "A8,100,AI8"}, {11, "9C,0x1F,DI16"}});
        fill(card, "17", 12, 25, "");
    } else {
        fill(card, "17", 10, 25, "0");
    }
}

void addGatewaySlotDefaults(Card& card) {
    if (begins(card.code, "QFODH")) {
        // Item 59 + n: the I/O type code and channel count of gateway slot index n.
        set(card, "17", {{1, "0"}});
        fill(card, "17", 60, 75, "1,8");
        for (int c = 1; c <= 16; ++c) card.groups["00"][9 + c] = std::to_string(100 * c);
    } else if (begins(card.code, "Q")) {
        // Word w: its input value and output value.
        for (int w = 1; w <= 16; ++w) card.groups["00"][9 + w] = std::to_string(w) + "," + std::to_string(1000 + w);
    }
}

std::optional<std::string> commItemReply(const Card& card, const std::string& group, int item) {
    if (!isCommCard(card)) return std::nullopt;
    if (group == "00" && item == 4 && card.modelText == "CNG") return "CNG";
    if (group == "17" && item >= kFirstScaleKey) return "CNU";
    return std::nullopt;
}

std::optional<std::string> commDataReply(Card& card, const std::string& group, int item, const std::string& data) {
    if (!isCommCard(card)) return std::nullopt;
    if (group == "00" && item == kRelayModeItem && isWireless(modelOf(card))) {
        // The relay mode is set by its number and read back as its text.
        if (data != "1" && data != "2") return "CNG";
        card.groups["00"][item] = data == "1" ? "SLAVE" : "RELAY";
        return "D" + data;
    }
    if (group != "17" || (item != kScaleRead && item != kScaleSet)) return std::nullopt;
    // The wireless cards hold their key and duty time under the same items.
    if (!begins(modelOf(card), "OP")) return std::nullopt;
    auto& items = card.groups["17"];
    if (!items.count(item)) return std::nullopt;  // not a fieldbus card
    // "k;" asks for card k + 1's list; "k:list;" sets it.
    const auto sep = data.find_first_of(":;");
    const int k = parseNumber(data.substr(0, sep), 15);
    if (k < 0 || sep == std::string::npos) return "CNG";
    const int key = kFirstScaleKey + k;
    if (item == kScaleRead) {
        if (data[sep] != ';' || sep + 1 != data.size()) return "CNG";
        return "D" + twoDigits(item) + ":" + items[key] + ";";
    }
    if (data[sep] != ':' || data.empty() || data.back() != ';') return "CNG";
    items[key] = data.substr(sep + 1, data.size() - sep - 2);
    return "D" + data;
}

}  // namespace k6sim
