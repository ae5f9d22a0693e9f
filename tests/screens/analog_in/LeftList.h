#pragma once
// The message a card screen's download ends with when it left settings as they
// are on the card, for the tests of the analog and alarm input screens.
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "ui/DialogValues.h"

namespace talvo::test {

// The message naming `list` as the download lists it ("Zero Scale Ch.1, Ch.2; Limit").
inline std::string LeftMessage(const std::string& list) { return ui::kLeftAsTheyAreText + list; }

// Settings named with their channels, in the order given: a caption with
// channel count 0 is a setting of the whole card, named alone.
inline std::string LeftList(const std::vector<std::pair<std::string, int>>& settings) {
    ui::LeftAsTheyAre left;
    for (const auto& [caption, channels] : settings) {
        left.add(caption);
        for (int ch = 1; ch <= channels; ++ch) left.add(caption, "Ch." + std::to_string(ch));
    }
    return left.list();
}

// Every channel 1..n of each caption, in that order.
inline std::string EveryChannel(std::initializer_list<std::string> captions, int n) {
    std::vector<std::pair<std::string, int>> settings;
    for (const std::string& c : captions) settings.emplace_back(c, n);
    return LeftList(settings);
}

}  // namespace talvo::test
