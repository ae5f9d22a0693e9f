// The power monitor's small value rules: the numeric box filter, live words,
// list indexes from stored texts and the owner slot of the card-wide settings.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "screens/power/GbhValues.h"

using namespace talvo::screens;

TEST(GbhValues, CleanNumericTextKeepsDigitsOnePointAndALeadingMinus) {
    const struct {
        const char* typed;
        const char* kept;
    } cases[] = {
        {"", ""},
        {"150", "150"},
        {"12a.3.4", "12.34"},
        {"1..2", "1.2"},
        {"-5-", "-5"},
        {"a-5", "5"},
        {"--1", "-1"},
        {"-1", "-1"},
        {"-", "-"},
        {".", "."},
        {"-.5", "-.5"},
        {" 1 2 ", "12"},
        {"1e5", "15"},
        {"+3", "3"},
        {"1,5", "15"},
        {"abc", ""},
        {"\xB2\xB3" "4", "4"},  // superscript digits are not digits
    };
    for (const auto& c : cases) EXPECT_EQ(CleanNumericText(c.typed), c.kept) << '"' << c.typed << '"';
    // What it keeps, it keeps unchanged.
    for (const auto& c : cases) EXPECT_EQ(CleanNumericText(c.kept), c.kept);
}

TEST(GbhValues, OneWordIsASignedNumber) {
    const struct {
        const char* word;
        std::int32_t value;
    } cases[] = {
        {"FFFF", -1},
        {"7FFF", 32767},
        {"8000", -32768},
        {"0000", 0},
        {"0001", 1},
        {"ffff", -1},
        {"FF", 255},
        {"", 0},
        {"XYZ", 0},
        {" 12", 0},          // read from the first character
        {"12G4", 0x12},      // up to the first other character
        {"1234.5", 0x1234},
        {"12345", 0x12345},  // more than four digits: a 32-bit value
        {"FFFFFFFF", -1},
        {"7FFFFFFF", INT32_MAX},
        {"80000000", INT32_MIN},
        {"123456789", 0x23456789},  // beyond eight digits only the last eight count
        {"FFFFFFFFFFFFFFFFFFFF0001", 0xFFFF0001 - 0x100000000LL},
    };
    for (const auto& c : cases) EXPECT_EQ(OneWordValue(c.word), c.value) << '"' << c.word << '"';
}

TEST(GbhValues, TwoWordsAreOneSignedNumberWithTheHighWordSecond) {
    const struct {
        const char* low;
        const char* high;
        std::int32_t value;
    } cases[] = {
        {"0001", "0002", 131073},
        {"FFFF", "FFFF", -1},
        {"0000", "8000", INT32_MIN},
        {"FFFF", "7FFF", INT32_MAX},
        {"8000", "0000", 32768},  // the low word is not signed on its own
        {"0000", "0000", 0},
        {"", "", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(TwoWordValue(c.low, c.high), c.value) << c.low << " " << c.high;
}

TEST(GbhValues, NumericValueTextIsTheNumberAtTheStart) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"6600", "6600"},   {"006600", "6600"}, {"110.50V", "110.5"}, {"-25", "-25"}, {" 7", "7"},
        {"1E3", "1000"},    {"0.1", "0.1"},     {"", "0"},            {"abc", "0"},   {"-0", "0"},
        {"-0.0", "0"},      {"1e400", "0"},     {"+12", "12"},        {".5", "0.5"},  {"12,5", "12"},
    };
    for (const auto& c : cases) EXPECT_EQ(NumericValueText(c.text), c.shown) << '"' << c.text << '"';
}


TEST(GbhValues, LiveWordTextTakesTheReplyAndKeepsTheCellOnTimeout) {
    const struct {
        const char* reply;
        const char* cell;
        const char* shown;
    } cases[] = {
        {"10:00FF", "1234", "00FF"},
        {"00FF", "1234", "00FF"},
        {"10:12.34", "", "1234"},   // the first point goes
        {"10:1.2.3", "", "12.3"},
        {"TMO", "1234", "1234"},
        {"10:TMO", "ABCD", "ABCD"},
        {"TMOUT", "ABCD", "ABCD"},
        {"TM", "ABCD", "TM"},
        {"10:", "ABCD", ""},
        {"CNG", "1234", ""},  // a refusal is no word, and its "C" no digit
        {"NEEDLESS", "1234", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(LiveWordText(c.reply, c.cell), c.shown) << c.reply;
}

TEST(GbhValues, ListIndexFromTextSelectsOnlyAnEntryOfTheList) {
    const struct {
        const char* text;
        int count;
        int index;
    } cases[] = {
        {"0", 6, 0},
        {"5", 6, 5},
        {"05", 6, 5},
        {"6", 6, -1},
        {"-1", 6, -1},
        {"", 6, -1},
        {"-", 6, -1},
        {"2.0", 6, -1},
        {"2 ", 6, -1},
        {" 2", 6, -1},
        {"+2", 6, -1},
        {"x", 6, -1},
        {"99999999999999999999", 6, -1},
        {"0", 0, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(ListIndexFromText(c.text, c.count), c.index) << '"' << c.text << '"';
}

TEST(GbhValues, SlotRoleByCardSubTypeAndSlot) {
    const struct {
        int subType;
        int slot;
        int rowBase;
        int owner;
        bool editable;
    } cases[] = {
        {0, 1, 0, 1, true},   {0, 16, 0, 16, true}, {1, 7, 0, 7, true},
        {2, 2, 16, 1, false}, {2, 5, 16, 4, false}, {2, 16, 16, 15, false},
        {2, 1, 16, 0, false},  // no slot before the first: no owner
        {3, 3, 32, 1, false}, {3, 5, 32, 3, false}, {3, 16, 32, 14, false},
        {3, 2, 32, 0, false}, {3, 1, 32, 0, false},
        // Slots outside the station have no owner either.
        {0, 0, 0, 0, true},   {1, 17, 0, 0, true},  {2, 18, 16, 0, false}, {3, -1, 32, 0, false},
    };
    for (const auto& c : cases) {
        const GbhSlotRole role = SlotRoleOf(c.subType, c.slot);
        EXPECT_EQ(role.rowBase, c.rowBase) << c.subType << "/" << c.slot;
        EXPECT_EQ(role.ownerSlot, c.owner) << c.subType << "/" << c.slot;
        EXPECT_EQ(role.settingsEditable, c.editable) << c.subType << "/" << c.slot;
    }
}

TEST(GbhValues, RowCaptionsNumberTheCardsChannels) {
    EXPECT_EQ(RowCaption(SlotRoleOf(0, 4).rowBase, 0), "+0");
    EXPECT_EQ(RowCaption(SlotRoleOf(1, 4).rowBase, 15), "+15");
    EXPECT_EQ(RowCaption(SlotRoleOf(2, 4).rowBase, 0), "+16");
    EXPECT_EQ(RowCaption(SlotRoleOf(2, 4).rowBase, 15), "+31");
    EXPECT_EQ(RowCaption(SlotRoleOf(3, 5).rowBase, 0), "+32");
    EXPECT_EQ(RowCaption(SlotRoleOf(3, 1).rowBase, 15), "+47");
}
