#include "screens/universal_in/YK4Entry.h"

#include <algorithm>
#include <optional>

#include "core/TextHelpers.h"

namespace talvo::screens::yk4 {
namespace {

struct Rule {
    bool wholeNumber;
    int decimals;  // places kept: 0 for the whole-number boxes
    long long min;  // in units of the last kept place
    long long max;
};

constexpr Rule ruleOf(EntryBox box) {
    switch (box) {
        case EntryBox::ZeroBase:
        case EntryBox::FullBase:
            return {.wholeNumber = true, .decimals = 0, .min = -999, .max = 99999};
        case EntryBox::ZeroScale:
        case EntryBox::FullScale:
            return {.wholeNumber = true, .decimals = 0, .min = -32000, .max = 32000};
        case EntryBox::ZeroAdjust:
            return {.wholeNumber = false, .decimals = 2, .min = -32000, .max = 32000};
        case EntryBox::FullAdjust:
            return {.wholeNumber = false, .decimals = 4, .min = -32000, .max = 32000};
    }
    return {.wholeNumber = true, .decimals = 0, .min = 0, .max = 0};
}

// More digits than any range needs: such a magnitude is out of range without
// being converted.
constexpr std::size_t kMaxDigits = 12;

// A decimal number rounded to a number of places, half to even: the value in
// units of the last place, and whether the rounding changed nothing.
struct Rounded {
    bool inRange;  // false when the magnitude is too large to hold
    long long units;
    bool exact;
};

// Reads an optional "-", digits and at most one "." with at least one digit in
// all; nullopt for any other text. Digits are handled as text, so any length
// is rounded exactly.
std::optional<Rounded> roundDecimal(std::string_view text, int places) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() && fraction.empty()) return std::nullopt;
    if (!std::all_of(whole.begin(), whole.end(), IsDigitChar) || !std::all_of(fraction.begin(), fraction.end(), IsDigitChar))
        return std::nullopt;

    // The kept digits, the whole part followed by `places` fraction digits.
    std::string kept(whole);
    const std::size_t fromFraction = std::min(fraction.size(), static_cast<std::size_t>(places));
    kept.append(fraction.substr(0, fromFraction));
    kept.append(static_cast<std::size_t>(places) - fromFraction, '0');
    const std::string_view dropped = fraction.substr(fromFraction);

    const bool exact = dropped.find_first_not_of('0') == std::string_view::npos;
    bool up = false;
    if (!exact) {
        const bool beyondHalf = dropped.front() > '5' ||
                                (dropped.front() == '5' && dropped.find_first_not_of('0', 1) != std::string_view::npos);
        const bool half = dropped.front() == '5' && !beyondHalf;
        const bool odd = !kept.empty() && (kept.back() - '0') % 2 == 1;
        up = beyondHalf || (half && odd);
    }

    const std::string_view digits = WithoutLeadingZeros(kept);
    if (digits.size() > kMaxDigits) return Rounded{.inRange = false, .units = 0, .exact = exact};
    long long magnitude = DigitsValue(digits).value_or(0);  // "" is zero
    if (up) ++magnitude;
    return Rounded{.inRange = true, .units = negative ? -magnitude : magnitude, .exact = exact};
}

// The shortest decimal text of units / 10^places: "-0.05", "1.2", "3".
std::string decimalText(long long units, int places) {
    long long scale = 1;
    for (int i = 0; i < places; ++i) scale *= 10;
    const long long magnitude = units < 0 ? -units : units;
    std::string out = units < 0 ? "-" : "";
    out += std::to_string(magnitude / scale);
    std::string fraction = std::to_string(magnitude % scale);
    fraction.insert(0, static_cast<std::size_t>(places) - fraction.size(), '0');
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (!fraction.empty()) out += "." + fraction;
    return out;
}

EntryResult refused(std::string_view lastAccepted) {
    return {.shown = std::string(lastAccepted), .lastAccepted = std::string(lastAccepted)};
}

EntryResult accepted(std::string_view text) { return {.shown = std::string(text), .lastAccepted = std::string(text)}; }

EntryResult keptNotStored(std::string_view text, std::string_view lastAccepted) {
    return {.shown = std::string(text), .lastAccepted = std::string(lastAccepted)};
}

}  // namespace

bool CheckNumberSyntax(std::string_view text) {
    if (text.size() > 1 && text.find('-', 1) != std::string_view::npos) return false;
    return std::count(text.begin(), text.end(), '.') < 2;
}

bool FilterKeyNumeric(char16_t key) { return key < u' ' || (key >= u'0' && key <= u'9') || key == u'.' || key == u'-'; }

bool IsEmptyEntry(std::string_view text) { return text.empty() || text == "-" || text == "."; }

EntryResult CheckEntry(EntryBox box, std::string_view text, std::string_view lastAccepted) {
    const Rule rule = ruleOf(box);
    if (!CheckNumberSyntax(text)) return refused(lastAccepted);
    if (text.empty()) return accepted(text);
    if (rule.wholeNumber) {
        // A sign typed first stays; a lone point may start a number that the
        // rounding then reduces to its whole part.
        if (text == "-" || text == "-0") return accepted(text);
        if (text == ".") return box == EntryBox::ZeroBase ? refused(lastAccepted) : keptNotStored(text, lastAccepted);
    } else if (text == "." || text == "-") {
        return keptNotStored(text, lastAccepted);
    }
    const std::optional<Rounded> r = roundDecimal(text, rule.decimals);
    if (!r || !r->inRange || r->units < rule.min || r->units > rule.max) return refused(lastAccepted);
    if (rule.wholeNumber) return accepted(std::to_string(r->units));
    return accepted(r->exact ? std::string(text) : decimalText(r->units, rule.decimals));
}

}  // namespace talvo::screens::yk4
