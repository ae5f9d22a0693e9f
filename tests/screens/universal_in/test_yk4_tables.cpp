// The universal input card's lists: entries, codes both ways, unknown codes and
// the controls an input type enables, for the plain and the "/A" card.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "screens/universal_in/YK4Tables.h"

using namespace talvo::screens::yk4;

namespace {

constexpr bool kPlain = false;
constexpr bool kVariantA = true;

std::vector<std::string> texts(std::span<const std::string_view> names) {
    return {names.begin(), names.end()};
}

// The list position of a station code, worked out by ranges of codes rather
// than looked up, so that a slip in the table shows.
std::optional<int> indexOfCode(bool variantA, int code) {
    if (code >= 0 && code <= 7) return code;
    if (!variantA) {
        if (code >= 16 && code <= 28) return code - 8;
        if (code == 48) return 21;
        if (code >= 53 && code <= 61) return code - 31;
        if (code >= 80 && code <= 82) return code - 49;
    } else {
        if (code >= 17 && code <= 20) return code - 9;
        if (code == 48) return 12;
        if (code >= 54 && code <= 56) return code - 41;
        if (code >= 80 && code <= 82) return code - 64;
    }
    return std::nullopt;
}

std::string twoHex(int code) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned>(code));
    return buf;
}

}  // namespace

TEST(YK4Tables, ListSizes) {
    EXPECT_EQ(InputTypes(kPlain).size(), 34u);
    EXPECT_EQ(InputTypes(kVariantA).size(), 19u);
    EXPECT_EQ(LastInputTypeIndex(kPlain), 33);
    EXPECT_EQ(LastInputTypeIndex(kVariantA), 18);
    EXPECT_EQ(texts(TempUnitNames(kPlain)), (std::vector<std::string>{"   C", "   F", "   K"}));
    EXPECT_EQ(texts(TempUnitNames(kVariantA)), (std::vector<std::string>{"   C", "   F"}));
    EXPECT_EQ(texts(AdcSpeedNames()), (std::vector<std::string>{"Middle", "Low"}));
    EXPECT_EQ(texts(BurnoutNames()), (std::vector<std::string>{"None", "Up", "Down"}));
    EXPECT_EQ(texts(ChEnableNames()), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(kFixedAdcSpeedA, "Low");
}

TEST(YK4Tables, EveryInputTypeRoundTripsThroughNameCodeIndexAndSendText) {
    for (const bool variantA : {kPlain, kVariantA}) {
        int index = 0;
        for (const InputType& t : InputTypes(variantA)) {
            SCOPED_TRACE(std::string(t.name) + (variantA ? " on /A" : " on plain"));
            EXPECT_EQ(indexOfCode(variantA, t.code), index);
            EXPECT_EQ(InputTypeCodeToName(variantA, t.code), t.name);
            EXPECT_EQ(InputTypeNameToIndex(variantA, t.name), index);
            EXPECT_EQ(InputTypeNameToCode(variantA, t.name), t.sent);
            EXPECT_EQ(t.sent, twoHex(t.code));
            EXPECT_EQ(ParseHexCode(t.sent), t.code);
            // A text keeps its code on both cards.
            if (variantA) {
                EXPECT_EQ(InputTypeNameToCode(kPlain, t.name), t.sent);
            }
            ++index;
        }
    }
}

TEST(YK4Tables, CodesWithoutAnEntryGiveNoEntry) {
    for (const bool variantA : {kPlain, kVariantA})
        for (int code = -2; code <= 300; ++code) {
            const std::optional<int> index = indexOfCode(variantA, code);
            const std::string_view expected = index ? InputTypes(variantA)[*index].name : "";
            EXPECT_EQ(InputTypeCodeToName(variantA, code), expected) << code << (variantA ? " on /A" : "");
        }
    EXPECT_EQ(InputTypeCodeToName(kPlain, INT_MAX), "");
    EXPECT_EQ(InputTypeCodeToName(kPlain, INT_MIN), "");
}

TEST(YK4Tables, SendTextsAndRepliesOfTheCard) {
    EXPECT_EQ(InputTypeNameToCode(kPlain, "P(Platinel2)"), "1C");
    EXPECT_EQ(InputTypeNameToCode(kPlain, "Cu50"), "3D");
    EXPECT_EQ(InputTypeNameToCode(kPlain, "POT5k"), "52");
    EXPECT_EQ(InputTypeNameToCode(kVariantA, "POT5k"), "52");
    EXPECT_EQ(InputTypeNameToIndex(kVariantA, "POT5k"), 18);
    // Item "05" answers in hexadecimal: "10" is (PR) on the plain card only,
    // "31" (49) is no type at all.
    EXPECT_EQ(InputTypeCodeToName(kPlain, ParseHexCode("10").value()), "(PR)");
    EXPECT_EQ(InputTypeCodeToName(kVariantA, ParseHexCode("10").value()), "");
    EXPECT_EQ(InputTypeCodeToName(kPlain, ParseHexCode("31").value()), "");
    EXPECT_EQ(InputTypeCodeToName(kVariantA, ParseHexCode("31").value()), "");
    EXPECT_EQ(InputTypeCodeToName(kPlain, ParseHexCode("3d").value()), "Cu50");
}

TEST(YK4Tables, TextsThatAreNoEntryGiveNoCode) {
    struct Case {
        bool variantA;
        std::string_view text;
    };
    const Case cases[] = {
        {kPlain, ""},          {kPlain, "k(CA)"},        {kPlain, "POT5K"},     {kPlain, "-6 to 6V"},
        {kPlain, " R"},        {kPlain, "R "},           {kVariantA, "(PR)"},   {kVariantA, "Pt1000"},
        {kVariantA, "B(RH)"},  {kVariantA, "Cu50"},      {kVariantA, "1C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + std::string(c.text) + (c.variantA ? "\" on /A" : "\" on plain"));
        EXPECT_EQ(InputTypeNameToCode(c.variantA, c.text), kNoCode);
        EXPECT_EQ(InputTypeNameToIndex(c.variantA, c.text), LastInputTypeIndex(c.variantA) + 1);
        const ChannelEnables e = InputTypeEnables(c.variantA, c.text);
        EXPECT_FALSE(e.burnout);
        EXPECT_FALSE(e.cjc);
    }
}

TEST(YK4Tables, UnitsAdcSpeedsAndBurnouts) {
    // Units: an unknown code shows Celsius; Kelvin is no entry on "/A".
    struct Unit {
        bool variantA;
        int code;
        std::string_view name;
    };
    const Unit units[] = {{kPlain, 0, "   C"},    {kPlain, 1, "   F"},    {kPlain, 2, "   K"},
                          {kPlain, 3, "   C"},    {kPlain, 5, "   C"},    {kPlain, -1, "   C"},
                          {kPlain, INT_MAX, "   C"}, {kVariantA, 0, "   C"}, {kVariantA, 1, "   F"},
                          {kVariantA, 2, "   C"}};
    for (const Unit& u : units) EXPECT_EQ(TempUnitCodeToName(u.variantA, u.code), u.name) << u.code;
    EXPECT_EQ(TempUnitNameToCode(kPlain, "   C"), "0");
    EXPECT_EQ(TempUnitNameToCode(kPlain, "   F"), "1");
    EXPECT_EQ(TempUnitNameToCode(kPlain, "   K"), "2");
    EXPECT_EQ(TempUnitNameToCode(kVariantA, "   F"), "1");
    EXPECT_EQ(TempUnitNameToCode(kVariantA, "   K"), kNoCode);
    EXPECT_EQ(TempUnitNameToCode(kPlain, "C"), kNoCode);
    EXPECT_EQ(TempUnitNameToCode(kPlain, ""), kNoCode);

    EXPECT_EQ(AdcSpeedCodeToName(2), "Middle");
    EXPECT_EQ(AdcSpeedCodeToName(3), "Low");
    for (int code : {-1, 0, 1, 4, INT_MAX}) EXPECT_EQ(AdcSpeedCodeToName(code), "") << code;
    EXPECT_EQ(AdcSpeedNameToCode("Middle"), "2");
    EXPECT_EQ(AdcSpeedNameToCode("Low"), "3");
    EXPECT_EQ(AdcSpeedNameToCode("low"), kNoCode);
    EXPECT_EQ(AdcSpeedNameToCode(""), kNoCode);

    EXPECT_EQ(BurnoutCodeToName(0), "None");
    EXPECT_EQ(BurnoutCodeToName(1), "Up");
    EXPECT_EQ(BurnoutCodeToName(2), "Down");
    for (int code : {-1, 3, 99, INT_MIN}) EXPECT_EQ(BurnoutCodeToName(code), "") << code;
    EXPECT_EQ(BurnoutNameToCode("None"), "0");
    EXPECT_EQ(BurnoutNameToCode("Up"), "1");
    EXPECT_EQ(BurnoutNameToCode("Down"), "2");
    EXPECT_EQ(BurnoutNameToCode(" Up"), kNoCode);
    EXPECT_EQ(BurnoutNameToCode(""), kNoCode);
}

TEST(YK4Tables, EnableRuleAtItsEdges) {
    struct Case {
        bool variantA;
        std::string_view type;
        bool burnout;
        bool cjc;
        bool clearsCjc;
    };
    const Case cases[] = {
        {kPlain, "-60 to 60mV", false, false, false},     // last voltage range
        {kPlain, "(PR)", true, true, false},              // first thermocouple
        {kPlain, "T(CC)", true, true, false},
        {kPlain, "B(RH)", true, false, true},             // a thermocouple without CJC
        {kPlain, "R", true, true, false},
        {kPlain, "P(Platinel2)", true, true, false},      // last thermocouple
        {kPlain, "Pt100(JIS'97 IEC)", true, false, false},  // first resistance thermometer
        {kPlain, "Pt1000", true, false, false},
        {kPlain, "Cu50", true, false, false},             // last resistance thermometer
        {kPlain, "POT200", false, false, false},          // potentiometers
        {kPlain, "POT5k", false, false, false},
        {kVariantA, "-60 to 60mV", false, false, false},
        {kVariantA, "K(CA)", true, true, false},
        {kVariantA, "T(CC)", true, true, false},
        {kVariantA, "Pt100(JIS'97 IEC)", true, false, false},
        {kVariantA, "JPt100(JIS'89)", true, false, false},
        {kVariantA, "POT200", false, false, false},
        {kVariantA, "POT5k", false, false, false},
        {kVariantA, "B(RH)", false, false, false},        // no entry on "/A"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + (c.variantA ? " on /A" : " on plain"));
        const ChannelEnables e = InputTypeEnables(c.variantA, c.type);
        EXPECT_EQ(e.burnout, c.burnout);
        EXPECT_EQ(e.cjc, c.cjc);
        EXPECT_EQ(InputTypeClearsCjc(c.variantA, c.type), c.clearsCjc);
    }
}

TEST(YK4Tables, CodeRepliesAreReadAsNumbersOrNotAtAll) {
    struct Case {
        std::string_view text;
        std::optional<int> hex;
        std::optional<int> decimal;
    };
    const std::string longHex(40, 'F');
    const std::string longDecimal = "1" + std::string(60, '0');
    const std::string longNegative = "-" + longDecimal;
    const Case cases[] = {
        {"", std::nullopt, std::nullopt},
        {"CNG", std::nullopt, std::nullopt},
        {"NEEDLESS", std::nullopt, std::nullopt},
        {"-", std::nullopt, std::nullopt},
        {" 1", std::nullopt, std::nullopt},
        {"1 ", std::nullopt, std::nullopt},
        {"+1", std::nullopt, std::nullopt},
        {"1.0", std::nullopt, std::nullopt},
        {"0", 0, 0},
        {"5", 5, 5},
        {"10", 16, 10},
        {"1C", 28, std::nullopt},
        {"1c", 28, std::nullopt},
        {"0010", 16, 10},
        {"-1", std::nullopt, -1},
        {longHex, INT_MAX, std::nullopt},
        {longDecimal, INT_MAX, INT_MAX},
        {longNegative, std::nullopt, INT_MIN},
        {"2147483647", INT_MAX, INT_MAX},
        {"-2147483648", std::nullopt, INT_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseHexCode(c.text), c.hex) << '"' << c.text << '"';
        EXPECT_EQ(ParseDecimalCode(c.text), c.decimal) << '"' << c.text << '"';
    }
}
