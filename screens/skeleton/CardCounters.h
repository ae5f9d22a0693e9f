#pragma once
// The counter clear and preset of the pulse input screens, described as data:
// which items a clear writes and how a preset value is checked against the
// channel's stored "Max". CardScreen runs them (CardCounters.cpp).
#include <cstdint>
#include <string>
#include <vector>

class QLineEdit;

namespace talvo::screens {

// Counts are unsigned whole numbers as texts of any length ("000123", a
// 30-digit text), compared as numbers (CompareDigitTexts): no text wraps or
// overflows. True when the text is all digits (at least one) and
// min <= value <= max.
bool CountWithin(const std::string& text, std::uint64_t min, std::uint64_t max);

// A counter clear: "1" to item "01" of the group, then `data` to each item in order.
//   counterClear_ = {.group = "02", .items = ItemRange(10, 16), .data = "0", .required = 8, .progress = true};
struct CounterClear {
    std::string group{};
    std::vector<std::string> items{};  // none: the screen has no clear
    std::string data = "0";
    // The first `required` writes must be answered; a later one the card refuses
    // (items beyond its channels) does not fail the clear. -1: all of them.
    int required = -1;
    // In a progress window of its own ("Downloading"), the bar at (i + 1) / 2 after write i.
    bool progress = false;
};

// A counter preset: group "02" item "01" := openData, then each accepted preset
// value to item(ch) of group "02"; the box then shows what the card answered.
// A value is accepted when it is a count from 0 to `limit` and the channel's
// stored "Max" is a count at least as large. A refused value stays in its box
// and, at the end, the user is told each refused channel's range; a preset
// that sent nothing and refused nothing says so.
struct CounterPreset {
    std::vector<QLineEdit*> boxes{};  // one per channel; none: the screen has no preset
    std::string openData = "1";
    int itemPerCh = 1, itemBase = 9;  // group "02" item itemPerCh * ch + itemBase
    int maxPerCh = 0, maxBase = 0;    // Param(maxPerCh * ch + maxBase) holds the channel's "Max"
    // Param(minPerCh * ch + minBase) holds the channel's "Min" (0, 0: the screen has none).
    // A channel whose "Min" and "Max" are both empty was never read: the preset
    // stops there and asks for an upload first.
    int minPerCh = 0, minBase = 0;
    std::uint64_t limit = 0;
};

}  // namespace talvo::screens
