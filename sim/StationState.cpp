#include "sim/StationState.h"

#include "sim/Families.h"

namespace k6sim {
namespace {

constexpr int kMaxItem = 9999;
constexpr int kSelectItem = 41;  // group "00": the card No. to select
constexpr int kSelectFlag = 1;   // group "00": "F" before a selection
constexpr int kModelItem = 4;
constexpr int kVersionItem = 40;
constexpr int kFirstSlotCodeItem = 10;  // communication card: codes of slots 1..16 at items 10..25

bool isSlotCodeItem(int card, const std::string& group, int item) {
    return card == 0 && group == "00" && item >= kFirstSlotCodeItem && item < kFirstSlotCodeItem + 16;
}

// Every reply to an item frame carries the item as a tag ("D10:+012.5"), except
// the communication card's own model text and version, which come bare.
std::string tagged(int card, const std::string& group, int item, const std::string& v) {
    if (card == 0 && group == "00" && (item == kModelItem || item == kVersionItem)) return "D" + v;
    return "D" + twoDigits(item) + ":" + v;
}

// The card of a station, const or not: 0 = communication card, 1..16 = slot.
template <class S>
auto cardIn(S& s, int card) -> decltype(&s.comm) {
    if (card == 0) return &s.comm;
    if (card >= 1 && card <= 16) return &s.slots[card - 1];
    return nullptr;
}

}  // namespace

int parseNumber(const std::string& text, int max) {
    if (text.empty() || text.size() > 9) return -1;
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n <= max ? n : -1;
}

std::string twoDigits(int n) { return (n >= 0 && n < 10 ? "0" : "") + std::to_string(n); }

std::string normalGroup(const std::string& text) {
    const int g = parseNumber(text, 99);
    return g < 0 ? "" : twoDigits(g);
}

bool storeValue(Station& station, int card, const std::string& group, int item, const std::string& v) {
    Card* c = cardIn(station, card);
    const bool selection = group == "00" && (item == kSelectItem || item == kSelectFlag);
    if (!c || selection || isSlotCodeItem(card, group, item) || (card != 0 && c->code.empty())) return false;
    if (group == "00" && item == kModelItem)
        c->modelText = v;
    else if (group == "00" && item == kVersionItem)
        c->version = v;
    else
        c->groups[group][item] = v;
    return true;
}

const Card* StationState::cardAt(int card) const { return cardIn(station_, card); }

std::optional<std::string> StationState::value(int card, const std::string& group, int item) const {
    const Card* c = cardAt(card);
    if (!c) return std::nullopt;
    if (group == "00" && item == kSelectItem) return selectText_;
    if (group == "00" && item == kSelectFlag) return item01_;
    if (card != 0 && c->code.empty()) return std::nullopt;  // an empty slot answers nothing
    if (group == "00" && item == kModelItem) return c->modelText;
    if (group == "00" && item == kVersionItem) return c->version;
    if (isSlotCodeItem(card, group, item)) {
        const std::string& code = station_.slots[item - kFirstSlotCodeItem].code;
        return code.empty() ? "UNKNOWN" : code;
    }
    const auto g = c->groups.find(group);
    if (g == c->groups.end()) return std::nullopt;
    const auto i = g->second.find(item);
    if (i == g->second.end()) return std::nullopt;
    return i->second;
}

std::string StationState::answer(const std::string& frame) {
    if (frame.empty()) return "CNG";
    const std::string rest = frame.substr(1);
    switch (frame[0]) {
        case 'G': {
            item_ = -1;
            const std::string g = normalGroup(rest);
            const Card* c = cardAt(selected_);
            const bool known = g == "00" || g == "99" ||
                               (!g.empty() && (selected_ == 0 || !c->code.empty()) && c->groups.count(g) > 0);
            group_ = known ? g : "";
            return known ? "COK" : "CNG";
        }
        case 'I': {
            if (group_.empty()) return "CNG";
            item_ = parseNumber(rest, kMaxItem);
            if (item_ < 0) return "CNG";
            if (const auto r = familyItemReply(*cardAt(selected_), group_, item_)) return *r;
            const auto v = value(selected_, group_, item_);
            return v ? tagged(selected_, group_, item_, *v) : "CNU";
        }
        case 'D':
            if (group_.empty() || item_ < 0) return "CNG";
            return write(rest);
        default:
            return "CNG";
    }
}

std::string StationState::write(const std::string& data) {
    if (group_ == "00" && item_ == kSelectItem) {
        const int card = parseNumber(data, 16);
        if (card < 0) return "CNG";
        selected_ = card;
        selectText_ = data;
        return "D" + data;
    }
    if (group_ == "00" && item_ == kSelectFlag) {
        item01_ = data;
        return "D" + data;
    }
    if (const auto r = familyDataReply(*cardIn(station_, selected_), group_, item_, data)) return *r;
    if (!value(selected_, group_, item_)) return "CNU";
    if (!setValue(selected_, group_, item_, data)) return "CNG";  // worked out by the station, not stored
    return "D" + data;
}

}  // namespace k6sim
