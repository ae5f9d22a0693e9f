// The field-check table rows at their edges.
#include <gtest/gtest.h>

#include "ui/FieldChecks.h"

using talvo::ui::FieldCheck;
using talvo::ui::FieldKind;
using talvo::ui::RunFieldCheck;

namespace {

const FieldCheck kStation{.kind = FieldKind::Digits, .maxChars = 3, .min = 1, .max = 120, .extra = {125, 126, 255},
                          .message = "m"};
const FieldCheck kPort{.kind = FieldKind::Digits, .maxChars = 5, .min = 0, .max = 65535, .message = "m"};
const FieldCheck kCpu{.kind = FieldKind::Hex, .maxChars = 4, .min = 0, .max = 0xFFFF, .message = "m"};
const FieldCheck kRounded{.kind = FieldKind::Number, .min = 1, .max = 239, .message = "m"};
const FieldCheck kPanId{.kind = FieldKind::HexText, .minChars = 4, .maxChars = 4, .min = 0, .max = 0xFFFE,
                        .message = "m"};
const FieldCheck kKey{.kind = FieldKind::HexText, .minChars = 32, .maxChars = 32, .message = "m"};
const FieldCheck kName{.kind = FieldKind::Name, .maxChars = 16, .emptyPasses = true, .message = "m"};
const FieldCheck kNotZero{.kind = FieldKind::Digits, .maxChars = 9, .min = 1, .message = "m"};

struct Case {
    const FieldCheck* check;
    const char* text;
    bool ok;
    const char* after;  // the box afterwards
};

TEST(FieldChecks, EachKindAtItsEdges) {
    const Case cases[] = {
        // Digits: range, extra values, length, and every non-digit form.
        {&kStation, "1", true, "1"},       {&kStation, "120", true, "120"}, {&kStation, "121", false, "121"},
        {&kStation, "125", true, "125"},   {&kStation, "126", true, "126"}, {&kStation, "127", false, "127"},
        {&kStation, "255", true, "255"},   {&kStation, "0", false, "0"},    {&kStation, "0255", false, "0255"},
        {&kStation, "", false, ""},        {&kStation, "1.5", false, "1.5"}, {&kStation, "+7", false, "+7"},
        {&kStation, "-0", false, "-0"},    {&kStation, "1e2", false, "1e2"}, {&kStation, " 7", false, " 7"},
        {&kPort, "65535", true, "65535"},  {&kPort, "65536", false, "65536"}, {&kPort, "00000", true, "00000"},
        {&kPort, "999999", false, "999999"},
        // Hex: case, leading zeros, length.
        {&kCpu, "fFfF", true, "FFFF"},     {&kCpu, "00ff", true, "FF"},     {&kCpu, "0", true, "0"},
        {&kCpu, "10000", false, "10000"},  {&kCpu, "G1", false, "G1"},      {&kCpu, "", false, ""},
        // Number: rounded, plain decimal only.
        {&kRounded, "239", true, "239"},   {&kRounded, "240", false, "240"}, {&kRounded, "0", false, "0"},
        {&kRounded, "238.6", true, "238.6"}, {&kRounded, "239.6", false, "239.6"}, {&kRounded, "1e2", false, "1e2"},
        {&kRounded, "-", false, "-"},      {&kRounded, "99999999999999999999999", false, "99999999999999999999999"},
        // HexText: an exact length, kept as typed, still ranged.
        {&kPanId, "fffe", true, "fffe"},   {&kPanId, "0000", true, "0000"}, {&kPanId, "FFFF", false, "FFFF"},
        {&kPanId, "FFF", false, "FFF"},    {&kPanId, "00000", false, "00000"}, {&kPanId, "12G4", false, "12G4"},
        {&kPanId, " FFF", false, " FFF"},
        // No range: 32 hexadecimal digits pass whatever their value.
        {&kKey, "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", true, "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"},
        {&kKey, "00000000000000000000000000000000", true, "00000000000000000000000000000000"},
        {&kKey, "7c1e9a0b4d62f8355e0a9c17b24d6f8", false, "7c1e9a0b4d62f8355e0a9c17b24d6f8"},
        {&kKey, "0000000000000000000000000000000G", false, "0000000000000000000000000000000G"},
        {&kKey, "", false, ""},
        {&kNotZero, "5", true, "5"},       {&kNotZero, "000000005", true, "000000005"}, {&kNotZero, "0", false, "0"},
        {&kNotZero, "0000000005", false, "0000000005"}, {&kNotZero, "999999999", true, "999999999"},
        // Name: its characters only; may be empty here; no longer than its row says.
        {&kName, "", true, ""},            {&kName, "Plant_A-1.x@y z", true, "Plant_A-1.x@y z"},
        {&kName, "aaaaaaaaaaaaaaaa", true, "aaaaaaaaaaaaaaaa"},
        {&kName, "aaaaaaaaaaaaaaaaa", false, "aaaaaaaaaaaaaaaaa"},
        {&kName, "a,b", false, "a,b"},     {&kName, "a\"b", false, "a\"b"}, {&kName, "a\rb", false, "a\rb"},
        {&kName, "caf\xE9", false, "caf\xE9"},
    };
    for (const Case& c : cases) {
        const auto r = RunFieldCheck(*c.check, c.text);
        EXPECT_EQ(r.ok, c.ok) << c.text;
        EXPECT_EQ(r.text, c.after) << c.text;
    }
}

TEST(FieldChecks, HugeDigitStringsFailTheirRangeWithoutOverflow) {
    const FieldCheck any{.kind = FieldKind::Digits, .min = 0, .max = 10000, .message = "m"};
    EXPECT_FALSE(RunFieldCheck(any, std::string(400, '9')).ok);
    const FieldCheck hex{.kind = FieldKind::Hex, .min = 0, .max = 0xFFFF, .message = "m"};
    EXPECT_FALSE(RunFieldCheck(hex, std::string(400, 'F')).ok);
}

// A key or a channel that only must not be 0 has no upper bound: however long
// the text, its value is never too large for it.
TEST(FieldChecks, RowsWithoutARangeTakeAnyValue) {
    const FieldCheck anyDigits{.kind = FieldKind::Digits, .message = "m"};
    EXPECT_TRUE(RunFieldCheck(anyDigits, std::string(400, '9')).ok);
    const FieldCheck anyHex{.kind = FieldKind::HexText, .message = "m"};
    EXPECT_TRUE(RunFieldCheck(anyHex, std::string(400, 'f')).ok);
}

TEST(FieldChecks, EmptyPassesOnlyWhereTheRowSaysSo) {
    for (const FieldKind kind : {FieldKind::Digits, FieldKind::Number, FieldKind::Hex, FieldKind::HexText,
                                 FieldKind::Name}) {
        const FieldCheck strict{.kind = kind, .message = "m"};
        const FieldCheck lenient{.kind = kind, .minChars = 4, .emptyPasses = true, .min = 1, .message = "m"};
        EXPECT_FALSE(RunFieldCheck(strict, "").ok) << static_cast<int>(kind);
        EXPECT_TRUE(RunFieldCheck(lenient, "").ok) << static_cast<int>(kind);
    }
}

}  // namespace
