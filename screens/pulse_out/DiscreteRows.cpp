#include "screens/pulse_out/DiscreteRows.h"

#include <vector>

#include "core/Colors.h"
#include "core/Overview.h"
#include "core/Protocol.h"
#include "core/TextHelpers.h"

namespace talvo::screens {

namespace {

struct PointRange {
    int first, last;
};

void showLamps(int slot, std::initializer_list<PointRange> ranges) {
    OverviewRow* r = Overview().row(slot);
    if (!r) return;
    for (const PointRange& p : ranges)
        for (int k = p.first; k <= p.last; ++k) r->lamps[static_cast<std::size_t>(k - 1)].visible = true;
    Overview().changed(slot);
}

void resetLamps(int slot, std::initializer_list<PointRange> ranges) {
    for (const PointRange& p : ranges)
        for (int k = p.first; k <= p.last; ++k) SetOverviewPointColor(slot, k, colors::SysMenu);
}

// Point j of the group (1 to 8) shows bit j - 1: red when set, green when clear.
void paintGroup(int slot, int firstPoint, unsigned bits) {
    for (int j = 0; j < 8; ++j)
        SetOverviewPointColor(slot, firstPoint + j, (bits >> j) & 1u ? colors::Red : colors::Green);
}

void emptyValueCells(int slot) {
    OverviewRow* r = Overview().row(slot);
    if (!r) return;
    for (auto& v : r->values) v.caption.clear();
    Overview().changed(slot);
}

// A reply that carries no word: none came, or the card refused the read.
bool noWord(const std::string& reply) { return reply.empty() || IsRefusal(reply); }

}  // namespace

unsigned LowByteOfHex(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return 0;
    return static_cast<unsigned>(LeadingHex(std::string_view(text).substr(first)).low & 0xFFu);
}

void ShowJov16Cells(int slot) { showLamps(slot, {{1, 8}, {17, 32}}); }

void FillJov16Row(int slot) {
    resetLamps(slot, {{1, 8}, {17, 24}, {25, 32}});
    const std::string reply = ReadItem(3, "00", "18");
    const std::vector<std::string> parts = SplitAtCommas(TextAfterColon(reply));
    if (!noWord(reply) && parts.size() >= 3) {
        paintGroup(slot, 1, LowByteOfHex(parts[0]));
        paintGroup(slot, 17, LowByteOfHex(parts[1]));
        paintGroup(slot, 25, LowByteOfHex(parts[2]));
    }
    emptyValueCells(slot);
}

void ShowUj8Cells(int slot) { showLamps(slot, {{1, 8}, {17, 24}}); }

void FillUj8Row(int slot) {
    resetLamps(slot, {{1, 8}, {17, 24}});
    const std::string reply = ReadItem(3, "00", "26");
    const std::string v = TextAfterColon(reply);
    // No word, no lamps: letters of a refusal are no hex digits to show.
    if (!noWord(reply) && !v.empty()) {
        paintGroup(slot, 1, LowByteOfHex(v.substr(0, 2)));
        paintGroup(slot, 17, LowByteOfHex(v.size() > 2 ? v.substr(v.size() - 2) : v));
    }
    emptyValueCells(slot);
}

void ShowIy8Cells(int slot) {
    OverviewRow* r = Overview().row(slot);
    if (!r) return;
    for (auto& w : r->wide) w.visible = true;
    Overview().changed(slot);
}

void FillIy8Row(int slot) {
    OverviewRow* r = Overview().row(slot);
    if (!r) return;
    for (std::size_t i = 0; i < r->wide.size(); ++i) {
        const std::string reply = ReadItem(3, "00", std::to_string(10 + i));
        // An unanswered counter keeps what its cell showed.
        if (reply.empty()) continue;
        r->wide[i].caption = RemoveDecimalPoint(TextAfterColon(reply));
        Overview().changed(slot);
    }
}

}  // namespace talvo::screens
