// The heat and flow card's entry rules without a window: the number rule each
// box applies while the user types, which texts a download or preset sends, the
// heat presets' unit-dependent limits and the boxes' key filters.
#include <gtest/gtest.h>

#include "screens/power/Fs2Entry.h"

using namespace talvo::screens;

namespace {

struct NormalizeCase {
    const char* what;
    std::string text, saved;
    NumberRule rule;
    std::string expected;
};

const NumberRule kTwoDecimals{false, 2, 0, 1000000};

}  // namespace

TEST(Fs2Entry, NormalizeNumberTextTakesTheFirstRuleThatApplies) {
    const NormalizeCase cases[] = {
        // 1: empty and a lone "-" stay, in a signed box and in an unsigned one.
        {"empty", "", "5", kFlowBiasRule, ""},
        {"minus, signed", "-", "5", kFlowBiasRule, "-"},
        {"minus, unsigned", "-", "5", kFlowScaleRule, "-"},
        // 2 and 3.
        {"minus point", "-.", "5", kFlowBiasRule, "-0."},
        {"zero in the gain", "0", "1", kFlowGainRule, "0"},
        {"zero point in the gain", "0.", "0", kFlowGainRule, "0."},
        // 4 and 5.
        {"minus after the first", "1-", "1", kFlowBiasRule, "1"},
        {"minus inside", "-1-2", "-1", kFlowBiasRule, "-1"},
        {"second point", "1.2.", "1.2", kTwoDecimals, "1.2"},
        {"two points", "1..", "1.", kTwoDecimals, "1."},
        // 6.
        {"too many decimals", "1.234", "1.23", kTwoDecimals, "1.23"},
        {"point alone", ".", "", kTwoDecimals, "0."},
        {"gain 0.0 falls back", "0.0", "0.", kFlowGainRule, "0."},
        {"five decimals in the gain", "1.00005", "1.0000", kFlowGainRule, "1.0000"},
        // 7: range, number, 32 bits.
        {"flow cut 10.00", "10.00", "10.0", kFlowCutRule, "10.00"},
        {"flow cut 10.01", "10.01", "10.0", kFlowCutRule, "10.0"},
        {"bias -10.00", "-10.00", "-10.0", kFlowBiasRule, "-10.00"},
        {"bias -10.01", "-10.01", "-10.0", kFlowBiasRule, "-10.0"},
        {"gain 0.1000", "0.1000", "0.100", kFlowGainRule, "0.1000"},
        {"gain 0.0999", "0.0999", "0.099", kFlowGainRule, "0.099"},
        {"gain 2.0001", "2.0001", "2.000", kFlowGainRule, "2.000"},
        {"specific heat 2.9999", "2.9999", "2.999", kSpecificHeatRule, "2.9999"},
        {"specific heat 3", "3", "", kSpecificHeatRule, ""},
        {"coefficient 65.535", "65.535", "65.53", kCoefficientRule, "65.535"},
        {"coefficient 65.536", "65.536", "65.53", kCoefficientRule, "65.53"},
        {"scale 10000.00", "10000.00", "10000.0", kFlowScaleRule, "10000.00"},
        {"scale 10000.01", "10000.01", "10000.0", kFlowScaleRule, "10000.0"},
        {"temperature adjust -5", "-5", "-", kTempAdjustRule, "-5"},
        {"temperature adjust -6", "-6", "-", kTempAdjustRule, "-"},
        {"leading point", ".5", "0.", kTwoDecimals, ".5"},
        {"trailing point", "12.", "12", kTwoDecimals, "12."},
        {"minus zero point", "-0.", "-0", kFlowBiasRule, "-0."},
        {"letters", "1a", "1", kTwoDecimals, "1"},
        {"plus", "+5", "", kTwoDecimals, ""},
        {"blank", " 5", "", kTwoDecimals, ""},
        {"beyond 32 bits", "99999999999", "9", NumberRule{false, 0, 0, 2147483647}, "9"},
        {"just beyond 32 bits", "21474836.48", "1", NumberRule{false, 2, 0, 2147483647}, "1"},
        {"the largest 32-bit value", "21474836.47", "1", NumberRule{false, 2, 0, 2147483647}, "21474836.47"},
        {"the smallest 32-bit value", "-21474836.48", "1", NumberRule{true, 2, -2147483647 - 1, 0}, "-21474836.48"},
        {"preset 999999.99", "999999.99", "9", kPresetRule, "999999.99"},
        {"preset 1000000", "1000000", "100000", kPresetRule, "100000"},
        {"GJ/h preset 9999.99", "9999.99", "9", kPresetGJRule, "9999.99"},
        {"GJ/h preset 10000", "10000", "1000", kPresetGJRule, "1000"},
    };
    for (const NormalizeCase& c : cases)
        EXPECT_EQ(NormalizeNumberText(c.text, c.saved, c.rule), c.expected) << c.what << ": " << c.text;
}

TEST(Fs2Entry, ValuesAreScaledFromTheirDecimalDigitsExactly) {
    // Values whose binary form is a hair below the decimal one: a float times 100
    // would give 28, 56, 434 and 1004.
    struct Case {
        const char* text;
        int decimals;
        std::int64_t value;
    };
    const Case cases[] = {{"0.29", 2, 29},     {"0.57", 2, 57},     {"4.35", 2, 435},  {"1.005", 3, 1005},
                          {"10", 2, 1000},     {"1.5", 4, 15000},   {"-0.29", 2, -29}, {"-.5", 2, -50},
                          {"007.10", 2, 710},  {"12.", 2, 1200},    {"0", 0, 0}};
    for (const Case& c : cases) {
        std::int64_t v = -1;
        EXPECT_TRUE(ScaledValue(c.text, c.decimals, v)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
    // The boundary of a rule lands exactly: 0.29 is accepted where 29 is the largest value.
    EXPECT_EQ(NormalizeNumberText("0.29", "s", 2, 29, 29), "0.29");
    EXPECT_EQ(NormalizeNumberText("0.29", "s", 2, 28, 0), "s");
    EXPECT_EQ(NormalizeNumberText("0.57", "s", 2, 57, 57), "0.57");

    std::int64_t v = 7;
    for (const char* bad : {"", "-", ".", "-.", "1.2.3", "1-", "a", "1.234"}) {
        EXPECT_FALSE(ScaledValue(bad, 2, v)) << bad;
        EXPECT_EQ(v, 7) << bad;
    }
    EXPECT_FALSE(ScaledValue("1", -1, v));
}

TEST(Fs2Entry, OnlyACompleteNumberWithinTheRuleIsSent) {
    struct Case {
        std::string text;
        NumberRule rule;
        bool sent;
    };
    const Case cases[] = {
        {"", kFlowBiasRule, false},        {"-", kFlowBiasRule, false},      {"-0.", kFlowBiasRule, false},
        {"0.", kFlowScaleRule, false},     {".5", kFlowScaleRule, false},    {"12.", kFlowScaleRule, false},
        {"-.5", kFlowBiasRule, false},     {"0", kFlowGainRule, false},      {"0.", kFlowGainRule, false},
        {"1.23456", kFlowGainRule, false}, {"10.01", kFlowCutRule, false},   {"-1", kFlowScaleRule, false},
        {"1a", kFlowScaleRule, false},     {"1.2.3", kFlowScaleRule, false}, {" 1", kFlowScaleRule, false},
        {"0", kFlowScaleRule, true},       {"-0", kFlowBiasRule, true},      {"-10.00", kFlowBiasRule, true},
        {"0.1000", kFlowGainRule, true},   {"1", kFlowGainRule, true},       {"10.00", kFlowCutRule, true},
        {"65.535", kCoefficientRule, true}, {"0.29", kTwoDecimals, true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsCompleteNumber(c.text, c.rule), c.sent) << "'" << c.text << "'";
}

TEST(Fs2Entry, ABarePointIsCompletedBeforeANumberIsSent) {
    const struct {
        const char* text;
        const char* sent;
    } cases[] = {
        {"5.", "5"},       {"0.", "0"},        {"-5.", "-5"},     {"123456.", "123456"}, {".5", "0.5"},
        {"-.25", "-0.25"}, {"5", "5"},         {"5.5", "5.5"},    {"", ""},              {".", "."},
        {"-.", "-."},      {"-", "-"},         {"5..", "5.."},    {"1.2.", "1.2."},      {"a.", "a."},
        {".a", ".a"},      {"--.5", "--.5"},
    };
    for (const auto& c : cases) EXPECT_EQ(CompletedNumberText(c.text), c.sent) << "'" << c.text << "'";
    // What is completed is then a complete number of the preset's rule.
    EXPECT_TRUE(IsCompleteNumber(CompletedNumberText("999999."), kPresetRule));
    EXPECT_FALSE(IsCompleteNumber(CompletedNumberText("1000000."), kPresetRule));
}

TEST(Fs2Entry, DisableFlagTakesOnlyEmptyOneOrZero) {
    for (const char* ok : {"", "1", "0"}) EXPECT_TRUE(IsEnableText(ok)) << ok;
    for (const char* bad : {"10", ".", "2", "01", "-"}) EXPECT_FALSE(IsEnableText(bad)) << bad;
}

TEST(Fs2Entry, HeatPresetLimitsFollowTheUnit) {
    NumberRule r;
    ASSERT_TRUE(HeatPresetRule("MJ/h", r));
    EXPECT_EQ(r.largest, 99999999);
    EXPECT_EQ(NormalizeNumberText("999999.99", "", r), "999999.99");
    ASSERT_TRUE(HeatPresetRule("GJ/h", r));
    EXPECT_EQ(r.largest, 999999);
    EXPECT_EQ(r.decimals, 2);
    EXPECT_EQ(NormalizeNumberText("9999.99", "", r), "9999.99");
    EXPECT_EQ(NormalizeNumberText("10000", "1000", r), "1000");
    for (const char* unit : {"", "kJ/h", "mj/h", "MJ/h ", "GJ"}) EXPECT_FALSE(HeatPresetRule(unit, r)) << unit;
}

TEST(Fs2Entry, KeyFilters) {
    // The signed filter passes "-" wherever the caret stands: the number rule judges it.
    for (char16_t k : {u'-', u'.', u'0', u'9', char16_t{8}}) {
        EXPECT_TRUE(FilterKeyNumeric("12", 2, k)) << static_cast<int>(k);
        EXPECT_TRUE(FilterKeyNumeric("-1", 0, k)) << static_cast<int>(k);
    }
    for (char16_t k : {u'.', u'5', char16_t{8}}) EXPECT_TRUE(FilterKeyUnsignedNumeric("1", 1, k));
    for (char16_t k : {u'a', u'+', u' ', u'e', u',', char16_t{22}}) {
        EXPECT_FALSE(FilterKeyNumeric("", 0, k)) << static_cast<int>(k);
        EXPECT_FALSE(FilterKeyUnsignedNumeric("", 0, k)) << static_cast<int>(k);
    }
    EXPECT_FALSE(FilterKeyUnsignedNumeric("", 0, u'-'));
}
