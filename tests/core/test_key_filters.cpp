#include "core/KeyFilters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talvo {
namespace {

using Filter = bool (*)(const std::string&, int, char16_t);

struct KeyCase {
    std::string text;
    int caret;
    char16_t key;
    bool accepted;
};

void ExpectFilter(Filter filter, const char* name, const std::vector<KeyCase>& cases) {
    for (const auto& c : cases) {
        EXPECT_EQ(filter(c.text, c.caret, c.key), c.accepted)
            << name << " text \"" << c.text << "\" caret " << c.caret << " key "
            << static_cast<int>(c.key);
    }
}

// Keys every filter judges by class alone, whatever the text and caret.
TEST(KeyFilters, CharacterClasses) {
    const struct {
        char16_t key;
        bool signedDecimal, signedInteger, unsignedDecimal, binary;
    } cases[] = {
        {8, true, true, true, true},  // Backspace
        {u'0', true, true, true, true},
        {u'1', true, true, true, true},
        {u'2', true, true, true, false},
        {u'9', true, true, true, false},
        {u'.', true, false, true, false},
        {u'+', false, false, false, false},
        {u' ', false, false, false, false},
        {u'a', false, false, false, false},
        {u'/', false, false, false, false},
        {u':', false, false, false, false},
        {0, false, false, false, false},
        {13, false, false, false, false},
        {u'\u0660', false, false, false, false},  // Arabic-Indic zero is no digit here
        {u'\uFF11', false, false, false, false},  // full-width one
        // Would pass as "0" if the code were cut to one byte.
        {static_cast<char16_t>(u'0' + 0x100), false, false, false, false},
    };
    for (const auto& c : cases) {
        for (const std::string text : {"", "12", "-5"}) {
            for (int caret : {0, 1, 2}) {
                const auto where = "key " + std::to_string(c.key) + " text \"" + text +
                                   "\" caret " + std::to_string(caret);
                EXPECT_EQ(FilterKeySignedDecimal(text, caret, c.key), c.signedDecimal) << where;
                EXPECT_EQ(FilterKeySignedInteger(text, caret, c.key), c.signedInteger) << where;
                EXPECT_EQ(FilterKeyUnsignedDecimal(text, caret, c.key), c.unsignedDecimal)
                    << where;
                EXPECT_EQ(FilterKeyBinary(text, caret, c.key), c.binary) << where;
            }
        }
    }
}

// The minus rule: only at the start, and only when the text has no leading "-".
// The filters do not know about a selection, so a fully selected "-5" still
// refuses a typed "-".
TEST(KeyFilters, MinusSign) {
    const std::vector<KeyCase> signedCases = {
        {"", 0, u'-', true},   {"", 2, u'-', false},   {"12", 0, u'-', true},
        {"12", 1, u'-', false}, {"12", 2, u'-', false}, {"-5", 0, u'-', false},
        {"-5", 2, u'-', false}, {"5-", 0, u'-', true},
    };
    ExpectFilter(FilterKeySignedDecimal, "SignedDecimal", signedCases);
    ExpectFilter(FilterKeySignedInteger, "SignedInteger", signedCases);
    ExpectFilter(FilterKeyUnsignedDecimal, "UnsignedDecimal",
                 {{"", 0, u'-', false}, {"12", 0, u'-', false}});
    ExpectFilter(FilterKeyBinary, "Binary", {{"", 0, u'-', false}});
}

// The network name's filter: name characters and three control codes, nothing
// outside ASCII (a character cut to its low byte must not pass as one).
TEST(KeyFilters, NameKeys) {
    for (const char16_t k : {u'A', u'Z', u'a', u'z', u'0', u'9', u'_', u'-', u'.', u'@', u' ', char16_t(8),
                             char16_t(13), char16_t(16)})
        EXPECT_TRUE(FilterKeyName("", 0, k)) << int(k);
    for (const char16_t k : {u'"', u',', u'/', u'!', u'\n', char16_t(22), u'\u00e9', u'\uff65', char16_t(0x141)})
        EXPECT_FALSE(FilterKeyName("", 0, k)) << int(k);
}

// What one byte of the station's text can carry: Latin-1 and nothing above it.
TEST(KeyFilters, SingleByteCharacters) {
    const std::pair<char16_t, bool> cases[] = {
        {0, true},          {u'A', true},        {0x7F, true},  {0xA0, true},
        {u'\u00E9', true},  {0xFF, true},        {0x100, false}, {u'\u20AC', false},
        {u'\u0660', false}, {0xD83D, false},  // first half of a character beyond U+FFFF
        {0xFFFF, false},
    };
    for (const auto& [c, fits] : cases) EXPECT_EQ(IsSingleByteChar(c), fits) << static_cast<int>(c);
}

}  // namespace
}  // namespace talvo
