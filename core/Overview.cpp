#include "core/Overview.h"

#include <map>

#include "core/Globals.h"

namespace talvo {

OverviewModel::OverviewModel() { reset(); }

void OverviewModel::reset() {
    for (auto& r : rows_) {
        r = OverviewRow{};
        r.status.visible = true;
        r.type.visible = true;
        // Until a layout is chosen a row shows its eight value cells.
        for (auto& v : r.values) v.visible = true;
    }
}

OverviewRow* OverviewModel::row(int slot) {
    if (slot < 1 || slot > kSlots) return nullptr;
    return &rows_[static_cast<std::size_t>(slot - 1)];
}

void OverviewModel::changed(int slot) {
    if (listener_ && row(slot)) listener_(slot);
}

OverviewModel& Overview() {
    static OverviewModel m;
    return m;
}

namespace {

std::map<std::string, OverviewRowHandler>& handlers() {
    static std::map<std::string, OverviewRowHandler> h;
    return h;
}

bool startsWithAny(const std::string& t, std::initializer_list<const char*> prefixes) {
    for (const char* p : prefixes)
        if (StartsWith(t, p)) return true;
    return false;
}

void setVisible(OverviewCell* first, int count, bool visible) {
    for (int i = 0; i < count; ++i) first[i].visible = visible;
}

}  // namespace

void RegisterOverviewRowHandler(const std::string& prefix, OverviewRowHandler handler) {
    handlers()[prefix] = std::move(handler);
}

std::string SelfFilledRowFamily(const std::string& typeCode) {
    for (const char* family : kSelfFilledRowFamilies)
        if (StartsWith(typeCode, family)) return family;
    return {};
}

const OverviewRowHandler* FindOverviewRowHandler(const std::string& typeCode) {
    const std::string family = SelfFilledRowFamily(typeCode);
    if (family.empty()) return nullptr;
    auto it = handlers().find(family);
    return it == handlers().end() ? nullptr : &it->second;
}

void ClearOverviewRow(int slot) {
    OverviewRow* r = Overview().row(slot);
    if (!r) return;
    r->status.caption.clear();
    r->type.caption.clear();
    for (auto& v : r->values) v.caption.clear();
    for (int k = 0; k < 16; ++k) r->lamps[static_cast<std::size_t>(k)].backColor = colors::SysMenu;
    Overview().changed(slot);
}

void HideChCells(int slot) {
    OverviewRow* r = Overview().row(slot);
    if (!r) return;
    setVisible(r->lamps.data(), 32, false);
    setVisible(r->values.data(), 8, false);
    setVisible(r->wide.data(), 4, false);
}

void ShowChData(const std::string& t, int slot) {
    OverviewRow* r = Overview().row(slot);
    if (!r) return;
    if (!SelfFilledRowFamily(t).empty()) {
        HideChCells(slot);
        // The family's own screen shows its cells; until it is built the row stays empty.
        if (const OverviewRowHandler* h = FindOverviewRowHandler(t); h && h->showChDataIO) h->showChDataIO(slot);
        Overview().changed(slot);
        return;
    }
    setVisible(r->wide.data(), 4, false);
    if (!startsWithAny(t, {"JO", "JH", "KR", "KN", "KC", "KP", "KM", "IK"})) {
        setVisible(r->lamps.data(), 32, false);
        setVisible(r->values.data(), 8, true);
    } else {
        setVisible(r->lamps.data(), 8, true);
        setVisible(r->lamps.data() + 8, 8, !startsWithAny(t, {"JH8", "JO8"}));
        setVisible(r->lamps.data() + 16, 16,
                   startsWithAny(t, {"JO3", "JH3", "JO6", "JH6", "KR8", "KN8", "KC8", "KP8", "KM8", "IK16"}));
        setVisible(r->values.data(), 8, false);
    }
    Overview().changed(slot);
}

void SetOverviewPointColor(int slot, int point, std::uint32_t color) {
    OverviewRow* r = Overview().row(slot);
    if (!r || point < 1 || point > 32) return;
    r->lamps[static_cast<std::size_t>(point - 1)].backColor = color;
    Overview().changed(slot);
}

std::string CardDisplayName(const std::string& t) {
    if (StartsWith(t, "GBH")) return GetPowerCardName(t);
    if (StartsWith(t, "Q")) return GetGatewayCardName(t);
    return t;
}

void OverviewActivate() {
    for (int i = 1; i <= OverviewModel::kSlots; ++i) {
        const std::string name = CardDisplayName(G().CardRecords.get(i)->CardType);
        Overview().row(i)->type.caption = name;
        ShowChData(name, i);
    }
}

void SetCardIoKind(int slot, const std::string& t) {
    OverviewRow* r = Overview().row(slot);
    if (!r) return;
    if (startsWithAny(t, {"HG", "UB", "BW", "JT", "JO", "FD", "FW", "IX", "BZ", "EK", "IY", "GB", "VU", "ZN", "YK",
                          "KE", "XR", "KR", "KN", "KC", "KP", "KM"})) {
        r->status.caption = "IN";
        r->status.foreColor = colors::Blue;
    } else if (startsWithAny(t, {"LF", "LQ", "JH", "IW", "VT", "KW"})) {
        r->status.caption = "OUT";
        r->status.foreColor = colors::DarkRed;
    }
    if (startsWithAny(t, {"Q", "IK16", "JOV16", "UJ8", "EAJ2", "FS2"})) {
        r->status.caption = "IN/OUT";
        r->status.foreColor = colors::Black;
    }
    // An empty slot's "NONE" in the window text colour, which reads on the
    // cell's face; a card's name in blue.
    r->type.foreColor = (t != "NONE" && t != "UNKNOWN") ? colors::Blue : colors::SysWindowText;
    r->type.caption = CardDisplayName(t);
    Overview().changed(slot);
}

int GetPowerCardSubType(const std::string& t) {
    if (t.size() == 8 && t[7] >= '1' && t[7] <= '3') return t[7] - '0';
    return 0;
}

std::string GetPowerCardName(const std::string& t) {
    const int k = GetPowerCardSubType(t);
    if (k == 0) return t;
    return t.substr(0, 7) + "/D(" + std::to_string(k) + ")";
}

std::string GetGatewayCardName(const std::string& t) {
    // The unit number needs the separator and the last character; a shorter code is shown as it is.
    if (t.size() < 2) return t;
    const char c = t.back();
    const std::string head = t.substr(0, t.size() - 2);
    if (c >= '1' && c <= '9') return head + "(" + c + ")";
    if (c >= 'A' && c <= 'G') return head + "(1" + static_cast<char>(c - 17) + ")";
    return t;
}

}  // namespace talvo
