// The universal input card's value boxes: what each change of a box's text
// shows and which text the box then counts as its last accepted one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screens/universal_in/YK4Entry.h"

using namespace talvo::screens::yk4;

namespace {

constexpr EntryBox kWholeBoxes[] = {EntryBox::ZeroBase, EntryBox::FullBase, EntryBox::ZeroScale,
                                    EntryBox::FullScale};
constexpr EntryBox kAdjustBoxes[] = {EntryBox::ZeroAdjust, EntryBox::FullAdjust};
constexpr EntryBox kAllBoxes[] = {EntryBox::ZeroBase,  EntryBox::FullBase,   EntryBox::ZeroScale,
                                  EntryBox::FullScale, EntryBox::ZeroAdjust, EntryBox::FullAdjust};

const char* nameOf(EntryBox box) {
    switch (box) {
        case EntryBox::ZeroBase: return "Zero Base";
        case EntryBox::FullBase: return "Full Base";
        case EntryBox::ZeroScale: return "Zero Scale";
        case EntryBox::FullScale: return "Full Scale";
        case EntryBox::ZeroAdjust: return "Zero Adjust";
        case EntryBox::FullAdjust: return "Full Adjust";
    }
    return "?";
}

struct Case {
    EntryBox box;
    std::string text;
    std::string last;
    std::string shown;
    std::string newLast;
};

void expectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const EntryResult r = CheckEntry(c.box, c.text, c.last);
        const std::string where =
            std::string(nameOf(c.box)) + " \"" + c.text.substr(0, 40) + "\" after \"" + c.last + "\"";
        EXPECT_EQ(r.shown, c.shown) << where;
        EXPECT_EQ(r.lastAccepted, c.newLast) << where;
    }
}

// Types the text key by key into a box that starts empty and gives what the
// box shows after each key.
std::vector<std::string> typeInto(EntryBox box, const std::string& keys, std::string shown = "") {
    std::string last = shown;
    std::vector<std::string> out;
    for (char k : keys) {
        if (!FilterKeyNumeric(static_cast<char16_t>(k))) continue;
        const EntryResult r = CheckEntry(box, shown + k, last);
        shown = r.shown;
        last = r.lastAccepted;
        out.push_back(shown);
    }
    return out;
}

using Shown = std::vector<std::string>;

}  // namespace

TEST(YK4Entry, TypingKeyByKey) {
    EXPECT_EQ(typeInto(EntryBox::ZeroScale, "-5"), (Shown{"-", "-5"}));
    EXPECT_EQ(typeInto(EntryBox::ZeroBase, "12."), (Shown{"1", "12", "12"}));
    EXPECT_EQ(typeInto(EntryBox::FullScale, "32001"), (Shown{"3", "32", "320", "3200", "3200"}));
    EXPECT_EQ(typeInto(EntryBox::FullScale, "32000"), (Shown{"3", "32", "320", "3200", "32000"}));
    EXPECT_EQ(typeInto(EntryBox::ZeroScale, "-32001"), (Shown{"-", "-3", "-32", "-320", "-3200", "-3200"}));
    EXPECT_EQ(typeInto(EntryBox::ZeroAdjust, "0.125"), (Shown{"0", "0.", "0.1", "0.12", "0.12"}));
    EXPECT_EQ(typeInto(EntryBox::ZeroAdjust, "320.01"), (Shown{"3", "32", "320", "320.", "320.0", "320.0"}));
    EXPECT_EQ(typeInto(EntryBox::FullAdjust, "3.2001"), (Shown{"3", "3.", "3.2", "3.20", "3.200", "3.200"}));
    EXPECT_EQ(typeInto(EntryBox::ZeroAdjust, "-.5"), (Shown{"-", "", "5"}))
        << "\"-.\" is no number: the box goes back to its last accepted text";
    EXPECT_EQ(typeInto(EntryBox::FullAdjust, "-0.5"), (Shown{"-", "-0", "-0.", "-0.5"}));
    EXPECT_EQ(typeInto(EntryBox::FullBase, ".5"), (Shown{".", "0"}));
    EXPECT_EQ(typeInto(EntryBox::ZeroBase, ".5"), (Shown{"", "5"}));
    // A blank, a letter or a "+" never reaches the box.
    EXPECT_EQ(typeInto(EntryBox::ZeroScale, "1 a+2"), (Shown{"1", "12"}));
    for (EntryBox box : kAllBoxes) EXPECT_EQ(typeInto(box, "-", "5"), (Shown{"5"})) << nameOf(box);
}

TEST(YK4Entry, KeyFilter) {
    for (char16_t key : {u'0', u'5', u'9', u'.', u'-', char16_t(8), char16_t(13), char16_t(0), char16_t(31)})
        EXPECT_TRUE(FilterKeyNumeric(key)) << int(key);
    for (char16_t key : {u' ', u'+', u'a', u'E', u'e', u',', u'/', u':', char16_t(127), u'\u00e9', u'\uff10'})
        EXPECT_FALSE(FilterKeyNumeric(key)) << int(key);
}

TEST(YK4Entry, SyntaxTest) {
    for (const char* t : {"", "-", ".", "-.", "-1.5", "abc", "1e3", ".5"}) EXPECT_TRUE(CheckNumberSyntax(t)) << t;
    for (const char* t : {"1-", "--", "-5-", "1.2.3", "..", "-1..", "5-"}) EXPECT_FALSE(CheckNumberSyntax(t)) << t;
}

TEST(YK4Entry, EmptyTextsSignsAndPoints) {
    std::vector<Case> cases;
    for (EntryBox box : kAllBoxes) {
        cases.push_back({box, "", "12", "", ""});
        cases.push_back({box, "1.2.", "1.2", "1.2", "1.2"});  // two points
        cases.push_back({box, "1-", "1", "1", "1"});
    }
    for (EntryBox box : kWholeBoxes) {
        cases.push_back({box, "-", "7", "-", "-"});
        cases.push_back({box, "-0", "-", "-0", "-0"});
    }
    cases.push_back({EntryBox::ZeroBase, ".", "7", "7", "7"});
    cases.push_back({EntryBox::ZeroBase, ".", "", "", ""});
    cases.push_back({EntryBox::FullBase, ".", "7", ".", "7"});
    cases.push_back({EntryBox::ZeroScale, ".", "", ".", ""});
    cases.push_back({EntryBox::FullScale, ".", "-", ".", "-"});
    for (EntryBox box : kAdjustBoxes) {
        cases.push_back({box, ".", "1.5", ".", "1.5"});
        cases.push_back({box, "-", "1.5", "-", "1.5"});
        cases.push_back({box, "-0", "-", "-0", "-0"});  // zero, accepted as typed
        cases.push_back({box, "-.", "-", "-", "-"});    // no number: back to the last accepted text
    }
    expectCases(cases);
}

TEST(YK4Entry, WholeNumbersRoundHalfToEvenAndShowPlainDigits) {
    std::vector<Case> cases;
    struct Rounding {
        std::string text;
        std::string shown;
    };
    const Rounding roundings[] = {
        {"12.5", "12"},   {"13.5", "14"},  {"-12.5", "-12"}, {"-13.5", "-14"}, {"12.51", "13"},
        {"12.49", "12"},  {"0.5", "0"},    {"1.5", "2"},      {"-0.5", "0"},    {"-0.4", "0"},
        {"2.500", "2"},   {"2.5001", "3"}, {"007", "7"},      {"1.", "1"},      {"-007", "-7"},
        {"-00", "0"},     {"0", "0"},      {".5", "0"},       {"-.5", "0"},     {"99.999", "100"},
    };
    for (EntryBox box : kWholeBoxes)
        for (const Rounding& r : roundings) cases.push_back({box, r.text, "1", r.shown, r.shown});
    expectCases(cases);
}

TEST(YK4Entry, WholeNumberRanges) {
    expectCases({
        {EntryBox::ZeroScale, "32000", "1", "32000", "32000"},
        {EntryBox::ZeroScale, "32001", "1", "1", "1"},
        {EntryBox::ZeroScale, "-32000", "1", "-32000", "-32000"},
        {EntryBox::ZeroScale, "-32001", "1", "1", "1"},
        {EntryBox::FullScale, "32000", "1", "32000", "32000"},
        {EntryBox::FullScale, "32001", "1", "1", "1"},
        {EntryBox::FullScale, "-32001", "-", "-", "-"},
        {EntryBox::FullScale, "32000.5", "1", "32000", "32000"},  // rounds down to the even 32000
        {EntryBox::FullScale, "32000.51", "1", "1", "1"},
        {EntryBox::ZeroScale, "-32000.5", "1", "-32000", "-32000"},
        {EntryBox::ZeroScale, "-32001.5", "1", "1", "1"},
        {EntryBox::ZeroBase, "-999", "1", "-999", "-999"},
        {EntryBox::ZeroBase, "-1000", "1", "1", "1"},
        {EntryBox::ZeroBase, "-999.5", "1", "1", "1"},  // rounds to -1000
        {EntryBox::ZeroBase, "-998.5", "1", "-998", "-998"},
        {EntryBox::ZeroBase, "99999", "1", "99999", "99999"},
        {EntryBox::FullBase, "99999.4", "1", "99999", "99999"},
        {EntryBox::FullBase, "99999.5", "1", "1", "1"},  // rounds to 100000
        {EntryBox::FullBase, "100000", "1", "1", "1"},
        {EntryBox::FullBase, "-999", "", "-999", "-999"},
    });
}

TEST(YK4Entry, AdjustBoxesRoundToTheirPlaces) {
    expectCases({
        // Exact values stay as typed.
        {EntryBox::ZeroAdjust, "1.2", "", "1.2", "1.2"},
        {EntryBox::ZeroAdjust, "1.20", "", "1.20", "1.20"},
        {EntryBox::ZeroAdjust, "007.50", "", "007.50", "007.50"},
        {EntryBox::ZeroAdjust, "1.2300", "", "1.2300", "1.2300"},
        {EntryBox::ZeroAdjust, "12.", "", "12.", "12."},
        {EntryBox::FullAdjust, "0.125", "", "0.125", "0.125"},
        // Anything finer is rounded, a half to the even neighbour, and shown short.
        {EntryBox::ZeroAdjust, "1.234", "", "1.23", "1.23"},
        {EntryBox::ZeroAdjust, "0.125", "0.12", "0.12", "0.12"},
        {EntryBox::ZeroAdjust, "0.135", "", "0.14", "0.14"},
        {EntryBox::ZeroAdjust, "1.245", "", "1.24", "1.24"},
        {EntryBox::ZeroAdjust, "1.2451", "", "1.25", "1.25"},
        {EntryBox::ZeroAdjust, "1.999", "", "2", "2"},
        {EntryBox::ZeroAdjust, "-0.005", "", "0", "0"},
        {EntryBox::ZeroAdjust, "-0.015", "", "-0.02", "-0.02"},
        {EntryBox::ZeroAdjust, "-0.0149", "", "-0.01", "-0.01"},
        {EntryBox::ZeroAdjust, "0.001", "", "0", "0"},
        {EntryBox::FullAdjust, "0.12345", "", "0.1234", "0.1234"},
        {EntryBox::FullAdjust, "0.12355", "", "0.1236", "0.1236"},
        {EntryBox::FullAdjust, "1.00001", "", "1", "1"},
        {EntryBox::FullAdjust, "0.00005", "", "0", "0"},
        {EntryBox::FullAdjust, "0.00015", "", "0.0002", "0.0002"},
        {EntryBox::FullAdjust, "-1.23456", "", "-1.2346", "-1.2346"},
        // Range, both ends accepted.
        {EntryBox::ZeroAdjust, "320", "1", "320", "320"},
        {EntryBox::ZeroAdjust, "-320.00", "1", "-320.00", "-320.00"},
        {EntryBox::ZeroAdjust, "320.01", "320.0", "320.0", "320.0"},
        {EntryBox::ZeroAdjust, "-320.01", "1", "1", "1"},
        {EntryBox::ZeroAdjust, "320.005", "1", "320", "320"},  // 32000.5 hundredths round to 32000
        {EntryBox::ZeroAdjust, "320.015", "1", "1", "1"},
        {EntryBox::FullAdjust, "3.2", "1", "3.2", "3.2"},
        {EntryBox::FullAdjust, "-3.2000", "1", "-3.2000", "-3.2000"},
        {EntryBox::FullAdjust, "3.2001", "3.200", "3.200", "3.200"},
        {EntryBox::FullAdjust, "3.20005", "1", "3.2", "3.2"},
        {EntryBox::FullAdjust, "3.20015", "1", "1", "1"},
        {EntryBox::FullAdjust, "4", "1", "1", "1"},
    });
}

TEST(YK4Entry, PastedTextsThatAreNoNumberBringTheLastTextBack) {
    std::vector<Case> cases;
    for (EntryBox box : kAllBoxes)
        for (const char* t : {"abc", "1e3", "+5", " 5", "5 ", "12a", "0x10", "1,5", "-.", "\t1", "inf", "nan", "\xe9"})
            cases.push_back({box, t, "8", "8", "8"});
    expectCases(cases);
}

TEST(YK4Entry, NumbersOfAnyLengthAreCheckedAsNumbers) {
    const std::string zeros(400, '0');
    const std::string nines(500, '9');
    std::vector<Case> cases;
    for (EntryBox box : kAllBoxes) {
        cases.push_back({box, "1" + zeros, "8", "8", "8"});
        cases.push_back({box, "-" + nines, "8", "8", "8"});
        cases.push_back({box, "1" + zeros + ".5", "8", "8", "8"});
        cases.push_back({box, "0." + zeros + "1", "8", "0", "0"});
        cases.push_back({box, "4294967296", "8", "8", "8"});        // 2^32
        cases.push_back({box, "18446744073709551617", "8", "8", "8"});  // 2^64 + 1
    }
    for (EntryBox box : kWholeBoxes) {
        cases.push_back({box, zeros + "5", "8", "5", "5"});
        cases.push_back({box, "-" + zeros + "5", "8", "-5", "-5"});
        cases.push_back({box, "12.5" + zeros, "8", "12", "12"});
        cases.push_back({box, "12.5" + zeros + "1", "8", "13", "13"});
        cases.push_back({box, "1." + nines, "8", "2", "2"});
    }
    for (EntryBox box : kAdjustBoxes) {
        cases.push_back({box, zeros + "1.5", "8", zeros + "1.5", zeros + "1.5"});  // exact: kept as typed
        cases.push_back({box, "0.5" + zeros + "1", "8", "0.5", "0.5"});
        cases.push_back({box, "-1." + nines, "8", "-2", "-2"});
    }
    expectCases(cases);
}

TEST(YK4Entry, EmptyEntriesAreTheTextsWithNoValue) {
    for (const char* t : {"", "-", "."}) EXPECT_TRUE(IsEmptyEntry(t)) << t;
    for (const char* t : {"-0", "0", "1", "0.5", "-1"}) EXPECT_FALSE(IsEmptyEntry(t)) << t;
}
