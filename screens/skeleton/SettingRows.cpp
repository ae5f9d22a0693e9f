#include "screens/skeleton/SettingRows.h"

#include <cassert>

namespace talvo::screens {

namespace {

// A number with leading zeros up to `digits` digits.
std::string zeroPadded(int n, int digits) {
    std::string text = std::to_string(n);
    if (n >= 0 && static_cast<int>(text.size()) < digits)
        text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
    return text;
}

}  // namespace

std::string Setting::groupOn(int variant, int ch) const {
    if (at.channelGroups.empty()) return group[variant];
    // A row lists the group of every channel it has.
    assert(ch >= 1 && ch <= static_cast<int>(at.channelGroups.size()));
    const int last = static_cast<int>(at.channelGroups.size());
    return at.channelGroups[static_cast<std::size_t>(std::clamp(ch, 1, last) - 1)];
}

std::string Setting::itemText(int variant, int ch) const { return zeroPadded(itemOn(variant, ch), at.itemDigits); }

// The channel as a card that takes it in the data frame wants it: "01".."04".
std::string Setting::readData(int ch) const { return at.data == DataFrame::Channel ? zeroPadded(ch, 2) : ""; }

std::string Setting::caption(int variant, int ch) const {
    if (ch >= 1 && ch <= static_cast<int>(channelNames.size())) return channelNames[static_cast<std::size_t>(ch - 1)];
    std::string n = !name.empty() ? name : !check.range.label.empty() ? check.range.label : flag.unused ? "Unused" : "";
    if (n.empty()) n = "Item " + groupOn(variant, ch) + "/" + itemText(variant, ch);
    return n;
}

std::string Setting::channelName(int ch) const {
    return channels() > 1 && channelNames.empty() ? "Ch." + std::to_string(ch) : std::string();
}

std::string Setting::shownName(int variant, int ch) const {
    const std::string member = channelName(ch);
    return caption(variant, ch) + (member.empty() ? "" : " " + member);
}

std::string Setting::sentData(int ch, const std::string& value) const { return readData(ch) + value; }

}  // namespace talvo::screens
