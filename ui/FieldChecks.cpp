#include "ui/FieldChecks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/KeyFilters.h"
#include "core/TextHelpers.h"

namespace talvo::ui {

namespace {

// Values past this are outside every field's range: a longer hex text counts
// as this value, a number beyond it is refused rather than rounded out of a long.
constexpr long kBeyondAnyField = 1L << 40;

bool digitsValue(const std::string& s, long& out) {
    const auto v = DigitsValue(s);
    if (!v) return false;
    out = static_cast<long>(*v);
    return true;
}

bool hexValue(const std::string& s, long& out) {
    const auto v = HexDigitsValue(s);
    if (!v) return false;
    out = static_cast<long>(std::min<std::uint64_t>(*v, kBeyondAnyField));
    return true;
}

bool numberValue(const std::string& s, long& out) {
    double d = 0;
    if (!ParseNumber(s, d) || !std::isfinite(d) || std::fabs(d) > static_cast<double>(kBeyondAnyField)) return false;
    out = std::lround(d);
    return true;
}

bool isName(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return IsNameCharacter(c); });
}

bool valueOf(const FieldCheck& c, const std::string& text, long& v) {
    switch (c.kind) {
        case FieldKind::Digits: return digitsValue(text, v);
        case FieldKind::Number: return numberValue(text, v);
        case FieldKind::Hex:
        case FieldKind::HexText: return hexValue(text, v);
        case FieldKind::Name: return false;
    }
    return false;
}

}  // namespace

FieldResult RunFieldCheck(const FieldCheck& c, const std::string& text) {
    if (text.empty() && c.emptyPasses) return {true, text};
    if (text.size() < static_cast<std::size_t>(c.minChars)) return {false, text};
    if (c.maxChars > 0 && text.size() > static_cast<std::size_t>(c.maxChars)) return {false, text};
    if (c.kind == FieldKind::Name) return {isName(text), text};
    long v = 0;
    if (!valueOf(c, text, v)) return {false, text};
    const bool inRange = (v >= c.min && v <= c.max) || std::find(c.extra.begin(), c.extra.end(), v) != c.extra.end();
    if (!inRange) return {false, text};
    return {true, c.kind == FieldKind::Hex ? UpperHexText(static_cast<std::uint64_t>(v)) : text};
}

long FieldValue(const FieldCheck& c, const std::string& text) {
    long v = 0;
    return valueOf(c, text, v) ? v : 0;
}

}  // namespace talvo::ui
