// Counts as texts of any length within a range: what the counter screens' Max
// and preset checks rest on. Comparing digit texts as numbers is tested with
// the text helpers (CompareDigitTexts).
#include <gtest/gtest.h>

#include "screens/skeleton/CardCounters.h"

using talvo::screens::CountWithin;

TEST(Counts, WithinARangeWhateverTheirLength) {
    struct Case {
        std::string text;
        std::uint64_t min, max;
        bool within;
    };
    const Case cases[] = {
        {"10000", 10000, 2147483647, true},
        {"9999", 10000, 2147483647, false},
        {"2147483647", 10000, 2147483647, true},
        {"2147483648", 10000, 2147483647, false},
        {"00000000000000000000002147483647", 10000, 2147483647, true},
        {"99999999999999999999", 0, 2147483647, false},          // 20 digits
        {"18446744073709551616", 0, UINT64_MAX, false},          // one past 64 bits: no wrap to 0
        {"18446744073709551615", 0, UINT64_MAX, true},
        {"0", 0, 65535, true},
        {"000", 0, 65535, true},
        {"65536", 0, 65535, false},
        {"-1", 0, 65535, false},
        {"", 0, 65535, false},
        {"1 ", 0, 65535, false},
        {"1.5", 0, 65535, false},
    };
    for (const Case& c : cases) EXPECT_EQ(CountWithin(c.text, c.min, c.max), c.within) << c.text;
}
