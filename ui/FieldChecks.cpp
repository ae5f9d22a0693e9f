#include "ui/FieldChecks.h"

#include <algorithm>
#include <cmath>

#include "core/KeyFilters.h"
#include "core/TextHelpers.h"

namespace talvo::ui {

namespace {

// Values past this are outside every field's range; the parsers stop there.
constexpr long kBeyondAnyField = 1L << 40;

bool digitsValue(const std::string& s, long& out) {
    if (s.empty()) return false;
    long v = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return false;
        v = std::min(kBeyondAnyField, v * 10 + (c - '0'));
    }
    out = v;
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool hexValue(const std::string& s, long& out) {
    if (s.empty()) return false;
    long v = 0;
    for (const char c : s) {
        const int d = hexDigit(c);
        if (d < 0) return false;
        v = std::min(kBeyondAnyField, v * 16 + d);
    }
    out = v;
    return true;
}

bool numberValue(const std::string& s, long& out) {
    double d = 0;
    if (!ParseNumber(s, d) || !std::isfinite(d) || std::fabs(d) > static_cast<double>(kBeyondAnyField)) return false;
    out = std::lround(d);
    return true;
}

std::string upperHex(long v) {
    static const char* const kDigits = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), kDigits[v % 16]);
        v /= 16;
    } while (v != 0);
    return out;
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
    return {true, c.kind == FieldKind::Hex ? upperHex(v) : text};
}

long FieldValue(const FieldCheck& c, const std::string& text) {
    long v = 0;
    return valueOf(c, text, v) ? v : 0;
}

}  // namespace talvo::ui
