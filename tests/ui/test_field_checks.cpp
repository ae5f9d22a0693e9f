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

}  // namespace
