#include "core/TextHelpers.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>

#include "platform/Services.h"

namespace talvo {

namespace {

// Length of the run of digits starting at pos.
std::size_t DigitRun(std::string_view s, std::size_t pos) {
    std::size_t n = 0;
    while (pos + n < s.size() && IsDigitChar(s[pos + n])) ++n;
    return n;
}

int DecimalDigitOf(char c) { return IsDigitChar(c) ? c - '0' : -1; }

// The value of a text of digits of the base: none for "", a character that is
// no digit, or more than maxDigits characters (0: any). Past limit the value
// stays at limit.
std::optional<std::uint64_t> DigitsOfBase(std::string_view s, std::size_t maxDigits, unsigned base,
                                          int (*digitOf)(char), std::uint64_t limit) {
    if (s.empty() || (maxDigits > 0 && s.size() > maxDigits)) return std::nullopt;
    std::uint64_t v = 0;
    for (const char c : s) {
        const int d = digitOf(c);
        if (d < 0) return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(d);
        v = v > (limit - digit) / base ? limit : v * base + digit;
    }
    return v;
}

constexpr auto kInt64Max = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());

}  // namespace

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

int HexDigitOf(char c) {
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return UpperHexDigitOf(c);
}

int UpperHexDigitOf(char c) {
    if (IsDigitChar(c)) return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::int64_t> DigitsValue(std::string_view s, std::size_t maxDigits) {
    const auto v = DigitsOfBase(s, maxDigits, 10, DecimalDigitOf, kInt64Max);
    if (!v) return std::nullopt;
    return static_cast<std::int64_t>(*v);
}

std::optional<std::int64_t> SignedDigitsValue(std::string_view s, std::size_t maxDigits) {
    const bool negative = !s.empty() && s.front() == '-';
    if (negative) s.remove_prefix(1);
    // The magnitude of the smallest value is one more than the largest value.
    const auto v = DigitsOfBase(s, maxDigits, 10, DecimalDigitOf, negative ? kInt64Max + 1 : kInt64Max);
    if (!v) return std::nullopt;
    if (!negative) return static_cast<std::int64_t>(*v);
    if (*v > kInt64Max) return std::numeric_limits<std::int64_t>::min();
    return -static_cast<std::int64_t>(*v);
}

std::optional<std::uint64_t> HexDigitsValue(std::string_view s, std::size_t maxDigits) {
    return DigitsOfBase(s, maxDigits, 16, HexDigitOf, std::numeric_limits<std::uint64_t>::max());
}

bool IsHexText(std::string_view s) {
    if (s.empty()) return false;
    for (const char c : s)
        if (HexDigitOf(c) < 0) return false;
    return true;
}

HexRun LeadingHex(std::string_view s) {
    HexRun run;
    for (const char c : s) {
        const int d = HexDigitOf(c);
        if (d < 0) break;
        run.low = (run.low << 4) | static_cast<std::uint64_t>(d);
        ++run.digits;
    }
    return run;
}

std::string_view LeadingDigits(std::string_view s) { return s.substr(0, DigitRun(s, 0)); }

std::string UpperHexText(std::uint64_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), kDigits[value % 16]);
        value /= 16;
    } while (value != 0);
    return out;
}

std::string_view WithoutLeadingZeros(std::string_view digits) {
    const auto first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

int CompareDigitTexts(std::string_view a, std::string_view b) {
    const std::string_view x = WithoutLeadingZeros(a), y = WithoutLeadingZeros(b);
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
    const int c = x.compare(y);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool HasFourParts(const std::string& address) {
    std::size_t dots = 0;
    for (const char c : address) dots += c == '.' ? 1 : 0;
    return dots >= 3;
}

std::vector<std::string> SplitAtCommas(const std::string& s) {
    std::vector<std::string> parts{""};
    for (const char c : s) {
        if (c == ',')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

std::string TrimBlanks(const std::string& s, std::string_view blanks) {
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

std::string TextAfterColon(const std::string& s) {
    const auto pos = s.find(':');
    return pos == std::string::npos ? s : s.substr(pos + 1);
}

std::string TextBeforeColon(const std::string& s) {
    const auto pos = s.find(':');
    return pos == std::string::npos ? std::string() : s.substr(0, pos);
}

std::string RemoveDecimalPoint(const std::string& s) {
    std::string result = s;
    const auto pos = result.find('.');
    if (pos != std::string::npos) result.erase(pos, 1);
    return result;
}

int HexDigitValue(const std::string& c) { return c.empty() ? 0 : std::max(0, UpperHexDigitOf(c[0])); }

std::string HexToBinary16(const std::string& hex) {
    std::string bits;
    bits.reserve(16);
    for (std::size_t i = 0; i < 4; ++i) {
        const int d = i < hex.size() ? HexDigitValue(hex.substr(i, 1)) : 0;
        for (int bit = 3; bit >= 0; --bit) bits += ((d >> bit) & 1) ? '1' : '0';
    }
    return bits;
}

int SplitDottedAddress(const std::string& text, std::string& out4, std::string& out3,
                       std::string& out2, std::string& out1) {
    // Work on a copy: a caller may pass the same string as text and as a part.
    std::string rest = text;
    std::string part[3];
    for (std::string& p : part) {
        const auto pos = rest.find('.');
        p = rest.substr(0, pos);
        rest = pos == std::string::npos ? std::string() : rest.substr(pos + 1);
    }
    out1 = part[0];
    out2 = part[1];
    out3 = part[2];
    out4 = rest;
    return 0;
}

bool IsDecimalText(const std::string& s) {
    if (s.empty()) return false;
    int points = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '.') {
            ++points;
        } else if (!IsDigitChar(c) && !(i == 0 && c == '-')) {
            return false;
        }
    }
    return points <= 1;
}

bool IsIntegerText(const std::string& s) {
    if (s.empty()) return false;
    const std::size_t first = s[0] == '-' ? 1 : 0;
    return DigitRun(s, first) == s.size() - first;
}

bool IsUnsignedText(const std::string& s) { return !s.empty() && DigitRun(s, 0) == s.size(); }

bool TextToInteger16(const std::string& text, int& out) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    int value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || value < -32768 || value > 32767) return false;
    out = value;
    return true;
}

int TextToIntegerChecked(const std::string& text) {
    if (text.empty()) return 0;
    const bool signOrPoint = text.substr(0, 3).find_first_of("+-.") != std::string::npos;
    int value = 0;
    if (!signOrPoint && TextToInteger16(text, value)) return value;
    if (auto* messages = platform::services().messages) {
        messages->show("Please enter number.", "", platform::MsgIcon::Information);
    }
    return 0;
}

bool ParseNumber(const std::string& s, double& out) {
    std::size_t pos = (!s.empty() && s[0] == '-') ? 1 : 0;
    std::size_t digits = DigitRun(s, pos);
    pos += digits;
    if (pos < s.size() && s[pos] == '.') {
        const std::size_t fraction = DigitRun(s, pos + 1);
        digits += fraction;
        pos += 1 + fraction;
    }
    if (digits == 0 || pos != s.size()) return false;
    double value = 0;
    const auto [ptr, ec] =
        std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || ptr != s.data() + s.size()) return false;
    out = value;
    return true;
}

double LeadingNumber(const std::string& s) {
    std::size_t pos = s.find_first_not_of(" \t\r\n");
    if (pos == std::string::npos) return 0;
    bool negative = false;
    if (s[pos] == '+' || s[pos] == '-') {
        negative = s[pos] == '-';
        ++pos;
    }
    // from_chars takes no "+", so the sign is handled here and the number
    // without it is handed over.
    const std::size_t start = pos;
    std::size_t digits = DigitRun(s, pos);
    pos += digits;
    if (pos < s.size() && s[pos] == '.') {
        const std::size_t fraction = DigitRun(s, pos + 1);
        digits += fraction;
        pos += 1 + fraction;
    }
    if (digits == 0) return 0;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        std::size_t exp = pos + 1;
        if (exp < s.size() && (s[exp] == '+' || s[exp] == '-')) ++exp;
        const std::size_t expDigits = DigitRun(s, exp);
        if (expDigits > 0) pos = exp + expDigits;
    }
    double value = 0;
    const auto [ptr, ec] = std::from_chars(s.data() + start, s.data() + pos, value);
    if (ec != std::errc() || ptr != s.data() + pos) return 0;
    return negative ? -value : value;
}

BitText BitTextFor(const std::string& value) {
    if (value == "1") return {"1", 0x0000FF};
    return {"0", 0x008000};
}

}  // namespace talvo
