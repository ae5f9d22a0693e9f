#include "core/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace talvo {
namespace {

struct TextCase {
    std::string in;
    std::string want;
};

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::uint64_t kUint64Max = std::numeric_limits<std::uint64_t>::max();
constexpr auto kNone = std::nullopt;

TEST(TextHelpers, DigitCharacters) {
    const struct {
        char c;
        bool digit;
        int hex, upperHex;
    } cases[] = {
        {'0', true, 0, 0},    {'9', true, 9, 9},     {'A', false, 10, 10}, {'F', false, 15, 15},
        {'a', false, 10, -1}, {'f', false, 15, -1},  {'G', false, -1, -1}, {'g', false, -1, -1},
        {'/', false, -1, -1}, {':', false, -1, -1},  {'@', false, -1, -1}, {'`', false, -1, -1},
        {' ', false, -1, -1}, {'-', false, -1, -1},  {'\0', false, -1, -1},
        {'\xB2', false, -1, -1},  // Latin-1 superscript two: a negative char here, no digit
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsDigitChar(c.c), c.digit) << "char " << int(c.c);
        EXPECT_EQ(HexDigitOf(c.c), c.hex) << "char " << int(c.c);
        EXPECT_EQ(UpperHexDigitOf(c.c), c.upperHex) << "char " << int(c.c);
    }
}

TEST(TextHelpers, DigitsValue) {
    const struct {
        std::string in;
        std::size_t maxDigits;
        std::optional<std::int64_t> want;
    } cases[] = {
        {"0", 0, 0},
        {"7", 1, 7},
        {"007", 0, 7},
        {"007", 3, 7},
        {"007", 2, kNone},  // leading zeros count for the length
        {"99", 2, 99},
        {"100", 2, kNone},
        {"123456789", 9, 123456789},
        {"1234567890", 9, kNone},
        {"9223372036854775807", 0, kInt64Max},
        {"9223372036854775808", 0, kInt64Max},  // past the type: stays at its largest value
        {std::string(40, '9'), 0, kInt64Max},
        {"", 0, kNone},
        {"", 5, kNone},
        {"-1", 0, kNone},
        {"+1", 0, kNone},
        {"-0", 0, kNone},
        {" 1", 0, kNone},
        {"1 ", 0, kNone},
        {"1.5", 0, kNone},
        {"1e2", 0, kNone},
        {"A", 0, kNone},
        {"0x1", 0, kNone},
        {"\xB2", 0, kNone},
    };
    for (const auto& c : cases) EXPECT_EQ(DigitsValue(c.in, c.maxDigits), c.want) << c.in << " max " << c.maxDigits;
}

TEST(TextHelpers, SignedDigitsValue) {
    const struct {
        std::string in;
        std::size_t maxDigits;
        std::optional<std::int64_t> want;
    } cases[] = {
        {"0", 0, 0},
        {"-0", 0, 0},
        {"42", 0, 42},
        {"-42", 0, -42},
        {"-007", 0, -7},
        {"-123456789", 9, -123456789},  // the "-" is not counted
        {"-1234567890", 9, kNone},
        {"123456789", 9, 123456789},
        {"9223372036854775807", 0, kInt64Max},
        {"9223372036854775808", 0, kInt64Max},
        {"-9223372036854775808", 0, kInt64Min},
        {"-9223372036854775809", 0, kInt64Min},
        {"-" + std::string(40, '9'), 0, kInt64Min},
        {"", 0, kNone},
        {"-", 0, kNone},
        {"+1", 0, kNone},
        {"--1", 0, kNone},
        {"1-", 0, kNone},
        {" -1", 0, kNone},
        {"- 1", 0, kNone},
        {"-1.0", 0, kNone},
        {"-A", 0, kNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SignedDigitsValue(c.in, c.maxDigits), c.want) << c.in << " max " << c.maxDigits;
}

TEST(TextHelpers, HexDigitsValue) {
    const struct {
        std::string in;
        std::size_t maxDigits;
        std::optional<std::uint64_t> want;
        bool hexText;  // IsHexText takes any length
    } cases[] = {
        {"0", 0, 0, true},
        {"FFFF", 4, 0xFFFF, true},
        {"ffff", 4, 0xFFFF, true},
        {"aBcD", 0, 0xABCD, true},
        {"0001F", 0, 0x1F, true},
        {"0001F", 4, kNone, true},  // leading zeros count for the length
        {"FFFFFFFF", 8, 0xFFFFFFFFu, true},
        {"100000000", 8, kNone, true},
        {"FFFFFFFFFFFFFFFF", 0, kUint64Max, true},
        {"10000000000000000", 0, kUint64Max, true},  // past the type: stays at its largest value
        {std::string(40, 'f'), 0, kUint64Max, true},
        {"", 0, kNone, false},
        {"G", 0, kNone, false},
        {"0x1F", 0, kNone, false},
        {"-1", 0, kNone, false},
        {"+1", 0, kNone, false},
        {" A", 0, kNone, false},
        {"A ", 0, kNone, false},
        {"1.0", 0, kNone, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HexDigitsValue(c.in, c.maxDigits), c.want) << c.in << " max " << c.maxDigits;
        EXPECT_EQ(IsHexText(c.in), c.hexText) << c.in;
    }
}

TEST(TextHelpers, LeadingHex) {
    const struct {
        std::string in;
        std::size_t digits;
        std::uint64_t low;
    } cases[] = {
        {"", 0, 0},
        {"G1", 0, 0},
        {" 1F", 0, 0},  // blanks are the caller's
        {"-1", 0, 0},
        {"1F", 2, 0x1F},
        {"1f", 2, 0x1F},
        {"00FF", 4, 0xFF},
        {"7FFFmA", 4, 0x7FFF},
        {"12 34", 2, 0x12},
        {"FEDCBA9876543210", 16, 0xFEDCBA9876543210u},
        {"1FEDCBA9876543210", 17, 0xFEDCBA9876543210u},  // the first digit shifted out
        {std::string(30, 'F') + "01", 32, 0xFFFFFFFFFFFFFF01u},
    };
    for (const auto& c : cases) {
        const HexRun run = LeadingHex(c.in);
        EXPECT_EQ(run.digits, c.digits) << c.in;
        EXPECT_EQ(run.low, c.low) << c.in;
    }
}

TEST(TextHelpers, LeadingDigits) {
    const TextCase cases[] = {
        {"", ""},      {"12", "12"},   {"0012.5", "0012"}, {"7V", "7"},
        {" 7", ""},    {"-7", ""},     {"+7", ""},         {".5", ""},
        {"A1", ""},    {"99999999999999999999x", "99999999999999999999"},
    };
    for (const auto& c : cases) EXPECT_EQ(LeadingDigits(c.in), c.want) << "in: " << c.in;
}

TEST(TextHelpers, UpperHexText) {
    const struct {
        std::uint64_t in;
        std::string want;
    } cases[] = {
        {0, "0"}, {9, "9"}, {10, "A"}, {0x1F, "1F"}, {0xABCDEF, "ABCDEF"}, {0xFFFFFFFFu, "FFFFFFFF"},
        {kUint64Max, "FFFFFFFFFFFFFFFF"},
    };
    for (const auto& c : cases) EXPECT_EQ(UpperHexText(c.in), c.want) << c.in;
}

TEST(TextHelpers, WithoutLeadingZeros) {
    const TextCase cases[] = {
        {"", ""}, {"0", ""}, {"000", ""}, {"7", "7"}, {"007", "7"}, {"100", "100"}, {"0100", "100"},
    };
    for (const auto& c : cases) EXPECT_EQ(WithoutLeadingZeros(c.in), c.want) << "in: " << c.in;
}

TEST(TextHelpers, CompareDigitTexts) {
    const struct {
        std::string a, b;
        int want;
    } cases[] = {
        {"50000", "50000", 0},
        {"50000", "50001", -1},
        {"0050001", "50000", 1},
        {"99999999999999999999", "2147483647", 1},  // longer than any integer type
        {"9", "10", -1},
        {"10", "9", 1},
        {"000", "0", 0},
        {"", "0", 0},
        {"", "1", -1},
        {"18446744073709551616", "18446744073709551615", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareDigitTexts(c.a, c.b), c.want) << c.a << " vs " << c.b;
        EXPECT_EQ(CompareDigitTexts(c.b, c.a), -c.want) << c.b << " vs " << c.a;
    }
}

TEST(TextHelpers, HasFourParts) {
    const struct {
        std::string in;
        bool want;
    } cases[] = {
        {"192.168.0.1", true}, {"...", true}, {"1.2.3.4.5", true}, {"1.2.3", false},
        {"", false},           {"1..2", false}, {"a.b.c.", true},
    };
    for (const auto& c : cases) EXPECT_EQ(HasFourParts(c.in), c.want) << c.in;
}

TEST(TextHelpers, SplitAtCommas) {
    const struct {
        std::string in;
        std::vector<std::string> want;
    } cases[] = {
        {"", {""}},
        {"A8", {"A8"}},
        {"A8,100,AI8", {"A8", "100", "AI8"}},
        {"a,", {"a", ""}},
        {",", {"", ""}},
        {" 1 , 2", {" 1 ", " 2"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitAtCommas(c.in), c.want) << c.in;
}

TEST(TextHelpers, TrimBlanks) {
    const struct {
        std::string in;
        std::string blanks;
        std::string want;
    } cases[] = {
        {"", " ", ""},           {"   ", " ", ""},          {" 12 ", " ", "12"},
        {"1 2", " ", "1 2"},     {"\t12\t", " ", "\t12\t"}, {"\t 12 \t", " \t", "12"},
        {"12", " \t", "12"},
    };
    for (const auto& c : cases) EXPECT_EQ(TrimBlanks(c.in, c.blanks), c.want) << "in: [" << c.in << "]";
    EXPECT_EQ(TrimBlanks("  x "), "x");
}


TEST(TextHelpers, TextAfterColon) {
    const TextCase cases[] = {
        {"01:K6-AB4", "K6-AB4"}, {"no colon", "no colon"}, {"a:b:c", "b:c"},
        {"abc:", ""},            {"", ""},                 {":x", "x"},
        {" : x ", " x "},
    };
    for (const auto& c : cases) EXPECT_EQ(TextAfterColon(c.in), c.want) << "in: " << c.in;
}

TEST(TextHelpers, TextBeforeColon) {
    const TextCase cases[] = {
        {"01:K6-AB4", "01"}, {"no colon", ""}, {":x", ""}, {"a:b:c", "a"}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(TextBeforeColon(c.in), c.want) << "in: " << c.in;
}

TEST(TextHelpers, RemoveDecimalPoint) {
    const TextCase cases[] = {
        {"12.34", "1234"}, {"-0.5", "-05"}, {"1.2.3", "12.3"}, {"42", "42"},
        {".", ""},         {"", ""},        {"7.", "7"},
    };
    for (const auto& c : cases) EXPECT_EQ(RemoveDecimalPoint(c.in), c.want) << "in: " << c.in;
}

TEST(TextHelpers, HexDigitValue) {
    const struct {
        std::string in;
        int want;
    } cases[] = {
        {"0", 0}, {"9", 9}, {"A", 10}, {"F", 15}, {"a", 0}, {"f", 0},
        {"G", 0}, {"", 0},  {"B7", 11}, {"/", 0}, {":", 0}, {"@", 0},
        {"\xC1", 0},  // Latin-1 letter, a negative char on this platform
    };
    for (const auto& c : cases) EXPECT_EQ(HexDigitValue(c.in), c.want) << "in: " << c.in;
}

TEST(TextHelpers, HexToBinary16) {
    const std::string zeros(16, '0');
    const TextCase cases[] = {
        {"FFFF", std::string(16, '1')},
        {"ff", zeros},
        {"1", "0001" + std::string(12, '0')},
        {"0A3F", "0000101000111111"},
        {"", zeros},
        {"8001FFFF", "1000000000000001"},
        {"8z1", "1000000000010000"},
    };
    for (const auto& c : cases) EXPECT_EQ(HexToBinary16(c.in), c.want) << "in: " << c.in;
}

TEST(TextHelpers, SplitDottedAddress) {
    const struct {
        std::string in;
        std::string p1, p2, p3, p4;
    } cases[] = {
        {"192.168.0.10", "192", "168", "0", "10"},
        {"1.2.3.4.5", "1", "2", "3", "4.5"},
        {"...", "", "", "", ""},
        {" 1 .2", " 1 ", "2", "", ""},
        // Fewer than three ".": the last part found takes the rest, later parts are "".
        {"10.1", "10", "1", "", ""},
        {"10.1.2", "10", "1", "2", ""},
        {"abc", "abc", "", "", ""},
        {"", "", "", "", ""},
    };
    for (const auto& c : cases) {
        std::string o4 = "x", o3 = "x", o2 = "x", o1 = "x";
        EXPECT_EQ(SplitDottedAddress(c.in, o4, o3, o2, o1), 0);
        EXPECT_EQ(o1, c.p1) << "in: " << c.in;
        EXPECT_EQ(o2, c.p2) << "in: " << c.in;
        EXPECT_EQ(o3, c.p3) << "in: " << c.in;
        EXPECT_EQ(o4, c.p4) << "in: " << c.in;
    }
}

TEST(TextHelpers, SplitDottedAddressWithTextAlsoAnOutput) {
    std::string s = "10.20.30.40";
    std::string o3, o2, o1;
    SplitDottedAddress(s, s, o3, o2, o1);
    EXPECT_EQ(o1, "10");
    EXPECT_EQ(o2, "20");
    EXPECT_EQ(o3, "30");
    EXPECT_EQ(s, "40");
}

TEST(TextHelpers, InputChecks) {
    const struct {
        std::string in;
        bool decimal, integer, unsignedText;
    } cases[] = {
        {"", false, false, false},
        {"-", true, true, false},
        {".", true, false, false},
        {"-.", true, false, false},
        {"0", true, true, true},
        {"0123", true, true, true},
        {"-12", true, true, false},
        {"-1.5", true, false, false},
        {".5", true, false, false},
        {"1-2", false, false, false},
        {"1.2.3", false, false, false},
        {"--1", false, false, false},
        {"+1", false, false, false},
        {" 1", false, false, false},
        {"1 ", false, false, false},
        {"1e3", false, false, false},
        {"\xB2", false, false, false},  // Latin-1 superscript two is no digit
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsDecimalText(c.in), c.decimal) << "in: " << c.in;
        EXPECT_EQ(IsIntegerText(c.in), c.integer) << "in: " << c.in;
        EXPECT_EQ(IsUnsignedText(c.in), c.unsignedText) << "in: " << c.in;
    }
}

TEST(TextHelpers, TextToInteger16) {
    const struct {
        std::string in;
        bool ok;
        int want;
    } cases[] = {
        {"0", true, 0},          {"255", true, 255},       {"007", true, 7},
        {"32767", true, 32767},  {"-32768", true, -32768}, {"32768", false, 0},
        {"-32769", false, 0},    {"99999999999", false, 0}, {"", false, 0},
        {"-", false, 0},         {"+1", false, 0},         {" 1", false, 0},
        {"1 ", false, 0},        {"12a", false, 0},        {"1.5", false, 0},
    };
    for (const auto& c : cases) {
        int out = -1;
        EXPECT_EQ(TextToInteger16(c.in, out), c.ok) << "in: " << c.in;
        EXPECT_EQ(out, c.ok ? c.want : -1) << "in: " << c.in;
    }
}

class RecordingMessages : public platform::MessageBox {
public:
    platform::MsgResult show(const std::string& text, const std::string& title,
                             platform::MsgIcon icon, platform::MsgButtons buttons) override {
        shown.push_back({text, title, icon, buttons});
        return platform::MsgResult::Ok;
    }
    struct Shown {
        std::string text, title;
        platform::MsgIcon icon;
        platform::MsgButtons buttons;
    };
    std::vector<Shown> shown;
};

TEST(TextHelpers, TextToIntegerChecked) {
    const struct {
        std::string in;
        int want;
        bool complains;
    } cases[] = {
        {"", 0, false},       {"192", 192, false},  {"0", 0, false},
        {"300", 300, false},  {"1234", 1234, false}, {"-1", 0, true},
        {"12-", 0, true},     {"+5", 0, true},      {"1.0", 0, true},
        {"1234.5", 0, true},  {"abc", 0, true},     {"40000", 0, true},
        {"12 ", 0, true},
    };
    for (const auto& c : cases) {
        RecordingMessages messages;
        platform::Services fakes;
        fakes.messages = &messages;
        platform::ScopedServices installed(fakes);

        EXPECT_EQ(TextToIntegerChecked(c.in), c.want) << "in: " << c.in;
        ASSERT_EQ(messages.shown.size(), c.complains ? 1u : 0u) << "in: " << c.in;
        if (c.complains) {
            EXPECT_EQ(messages.shown[0].text, "Please enter number.");
            EXPECT_EQ(messages.shown[0].title, "");
            EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Information);
            EXPECT_EQ(messages.shown[0].buttons, platform::MsgButtons::Ok);
        }
    }
}

TEST(TextHelpers, TextToIntegerCheckedWithoutMessageService) {
    platform::ScopedServices none(platform::Services{});
    EXPECT_EQ(TextToIntegerChecked("x"), 0);
}

TEST(TextHelpers, ParseNumber) {
    const struct {
        std::string in;
        bool ok;
        double want;
    } cases[] = {
        {"-12.5", true, -12.5}, {".5", true, 0.5},     {"-.5", true, -0.5},
        {"12.", true, 12.0},    {"0", true, 0.0},      {"007", true, 7.0},
        {"32767.25", true, 32767.25},
        {"", false, 0},         {"-", false, 0},       {".", false, 0},
        {"-.", false, 0},       {" 1", false, 0},      {"1 ", false, 0},
        {"1a", false, 0},       {"+1", false, 0},      {"1e3", false, 0},
        {"1.2.3", false, 0},    {"--1", false, 0},     {"inf", false, 0},
        {"nan", false, 0},      {"1,5", false, 0},     {std::string(400, '9'), false, 0},
    };
    for (const auto& c : cases) {
        double out = 42.0;
        EXPECT_EQ(ParseNumber(c.in, out), c.ok) << "in: " << c.in;
        EXPECT_DOUBLE_EQ(out, c.ok ? c.want : 42.0) << "in: " << c.in;
    }
}

TEST(TextHelpers, LeadingNumber) {
    const struct {
        std::string in;
        double want;
    } cases[] = {
        {"101", 101},       {"12.5mA", 12.5},  {"  -3.25 V", -3.25}, {"+7", 7},
        {".5x", 0.5},       {"12.", 12},       {"1.5E3", 1500},      {"2e-1", 0.2},
        {"3E", 3},          {"3e+", 3},        {"4eV", 4},           {"1.2.3", 1.2},
        {"", 0},            {"abc", 0},        {"-", 0},             {".", 0},
        {"-.", 0},          {"+-1", 0},        {"x12", 0},           {"1e999", 0},
        {"0A3F", 0},        {"09", 9},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.in), c.want) << "in: " << c.in;
}

TEST(TextHelpers, BitTextFor) {
    const struct {
        std::string in;
        std::string text;
        std::uint32_t color;
    } cases[] = {
        {"1", "1", 0x0000FF}, {"0", "0", 0x008000}, {"", "0", 0x008000},
        {"11", "0", 0x008000}, {" 1", "0", 0x008000},
    };
    for (const auto& c : cases) {
        const BitText bit = BitTextFor(c.in);
        EXPECT_EQ(bit.text, c.text) << "in: " << c.in;
        EXPECT_EQ(bit.color, c.color) << "in: " << c.in;
    }
}

}  // namespace
}  // namespace talvo
