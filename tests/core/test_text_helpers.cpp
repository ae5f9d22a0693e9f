#include "core/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Services.h"

namespace talvo {
namespace {

struct TextCase {
    std::string in;
    std::string want;
};

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
