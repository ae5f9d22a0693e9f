#include "screens/power/Fs2Entry.h"

#include "core/KeyFilters.h"
#include "core/TextHelpers.h"

namespace talvo::screens {

namespace {

constexpr std::int64_t kInt32Min = -2147483648LL;
constexpr std::int64_t kInt32Max = 2147483647LL;
constexpr int kMaxDecimals = 9;

}  // namespace

bool ScaledValue(const std::string& text, int decimals, std::int64_t& out) {
    if (decimals < 0 || decimals > kMaxDecimals) return false;
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) i = 1;
    std::int64_t v = 0;
    int digits = 0, fraction = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            if (point) return false;
            point = true;
            continue;
        }
        if (!IsDigitChar(c)) return false;
        ++digits;
        if (point && ++fraction > decimals) return false;
        v = v * 10 + (c - '0');
        if (v > -kInt32Min) return false;  // beyond 32 bits either way; no wrap
    }
    if (digits == 0) return false;
    for (int k = fraction; k < decimals; ++k) {
        v *= 10;
        if (v > -kInt32Min) return false;
    }
    if (negative) v = -v;
    if (v < kInt32Min || v > kInt32Max) return false;
    out = v;
    return true;
}

std::string NormalizeNumberText(const std::string& text, const std::string& saved, int decimals,
                                std::int32_t largest, std::int32_t smallest) {
    if (text.empty() || text == "-") return text;
    if (text == "-.") return "-0.";
    if (text == "0" || text == "0.") return text;
    if (text.find('-', 1) != std::string::npos) return saved;
    const std::size_t point = text.find('.');
    if (point != std::string::npos) {
        if (text.find('.', point + 1) != std::string::npos) return saved;
        if (static_cast<int>(text.size() - point - 1) > decimals) return saved;
        if (text == ".") return "0.";
    }
    std::int64_t v = 0;
    if (!ScaledValue(text, decimals, v) || v > largest || v < smallest) return saved;
    return text;
}

std::string NormalizeNumberText(const std::string& text, const std::string& saved, const NumberRule& rule) {
    return NormalizeNumberText(text, saved, rule.decimals, rule.largest, rule.smallest);
}

bool IsCompleteNumber(const std::string& text, const NumberRule& rule) {
    std::size_t i = 0;
    if (!text.empty() && text[0] == '-') {
        if (!rule.isSigned) return false;
        i = 1;
    }
    // Digits, then optionally a point with digits after it.
    const std::size_t intStart = i;
    while (i < text.size() && IsDigitChar(text[i])) ++i;
    if (i == intStart) return false;
    if (i < text.size()) {
        if (text[i] != '.') return false;
        const std::size_t fracStart = ++i;
        while (i < text.size() && IsDigitChar(text[i])) ++i;
        if (i == fracStart || i != text.size()) return false;
    }
    std::int64_t v = 0;
    return ScaledValue(text, rule.decimals, v) && v >= rule.smallest && v <= rule.largest;
}

std::string CompletedNumberText(const std::string& text) {
    const std::size_t sign = !text.empty() && text[0] == '-' ? 1 : 0;
    const std::size_t point = text.find('.');
    if (point == std::string::npos || text.find('.', point + 1) != std::string::npos) return text;
    const bool digitBefore = point > sign && IsDigitChar(text[point - 1]);
    const bool digitAfter = point + 1 < text.size() && IsDigitChar(text[point + 1]);
    if (digitBefore && point + 1 == text.size()) return text.substr(0, point);
    if (!digitBefore && point == sign && digitAfter) return text.substr(0, sign) + "0" + text.substr(point);
    return text;
}

bool IsEnableText(const std::string& text) { return text.empty() || text == "1" || text == "0"; }

bool HeatPresetRule(const std::string& unit, NumberRule& rule) {
    if (unit == "MJ/h") {
        rule = kPresetRule;
        return true;
    }
    if (unit == "GJ/h") {
        rule = kPresetGJRule;
        return true;
    }
    return false;
}

bool FilterKeyNumeric(const std::string& text, int caretPos, char16_t key) {
    return key == u'-' || FilterKeyUnsignedNumeric(text, caretPos, key);
}

bool FilterKeyUnsignedNumeric(const std::string& text, int caretPos, char16_t key) {
    return FilterKeyUnsignedDecimal(text, caretPos, key);
}

}  // namespace talvo::screens
