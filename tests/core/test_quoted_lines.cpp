// The quoted-line format all the program's files share: lines of quoted fields,
// and the dialogs' files of a bare first line and one quoted value a line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SettingsFormat.h"

using namespace talvo;

namespace {
using Lines = std::vector<std::vector<std::string>>;
}

TEST(QuotedLines, WritesQuotedFieldsAndCrLf) {
    EXPECT_EQ(FormatQuotedLine({"a", "", " b,c "}), "\"a\",\"\",\" b,c \"\r\n");
    EXPECT_EQ(FormatQuotedLine({}), "\r\n");
    EXPECT_EQ(FormatValueFile("0", {"", "x\xB0"}), "0\r\n\"\"\r\n\"x\xB0\"\r\n");
    EXPECT_EQ(FormatValueFile("3", {}), "3\r\n");
}

TEST(QuotedLines, TextsTheFormatCannotCarry) {
    EXPECT_EQ(UnquotableReason("plain \xB0 text, with comma"), "");
    for (const char* bad : {"a\"b", "a\rb", "a\nb"})
        EXPECT_EQ(UnquotableReason(bad), " holds a character that cannot be saved (\" or a line break).") << bad;
    for (const char* control : {"a\tb", "\x1b", "\x7f"})
        EXPECT_EQ(UnquotableReason(control), " holds a control character that cannot be saved.");
    // A file whose reader bounds its fields: the bound as well.
    EXPECT_EQ(UnsavableFieldReason(std::string(kMaxSettingsFieldChars, 'x')), "");
    EXPECT_EQ(UnsavableFieldReason(std::string(kMaxSettingsFieldChars + 1, 'x')),
              " is longer than 255 characters and cannot be saved.");
    EXPECT_EQ(UnsavableFieldReason("a\"b" + std::string(300, 'x')),
              " holds a character that cannot be saved (\" or a line break).");
    EXPECT_EQ(UnsavableFieldReason(std::string(600, 'x'), 600), "");
}

TEST(QuotedLines, ReadsLinesOfFieldsQuotedOrBare) {
    Lines lines;
    std::string error;
    ASSERT_TRUE(ParseQuotedLines("7\r\n\"a\", \"b\" ,c \n\"\"\r\n\r\n", lines, error)) << error;
    EXPECT_EQ(lines, (Lines{{"7"}, {"a", "b", "c"}, {""}}));
    const std::pair<std::string, std::string> bad[] = {
        {"", "The file is empty."},
        {"\"a\r\"\r\n", "Line 1 holds a carriage return inside the line."},
        {"1\r\n\"a\r\n", "Line 2, field 1: the closing double quote is missing."},
        {"\"a\"b\r\n", "Line 1, field 1: text follows the closing double quote."},
        {"a\"b\r\n", "Line 1, field 1: a double quote inside a field without quotes."},
        {std::string(kMaxQuotedFileBytes + 1, 'x'), "The file is too large (over 1 MiB)."},
    };
    for (const auto& [bytes, message] : bad) {
        SCOPED_TRACE(message);
        Lines kept{{"kept"}};
        EXPECT_FALSE(ParseQuotedLines(bytes, kept, error));
        EXPECT_EQ(error, message);
        EXPECT_EQ(kept, Lines{{"kept"}});
    }
}

TEST(QuotedLines, ValueFilesRoundTripAndRefuseWholeOnAnyFault) {
    const std::vector<std::string> values{"", "12", std::string(600, 'A'), "x y"};
    std::string first;
    std::vector<std::string> read;
    std::string error;
    ASSERT_TRUE(ParseValueFile(FormatValueFile("0", values), first, read, error)) << error;
    EXPECT_EQ(first, "0");
    EXPECT_EQ(read, values);
    // A reader of card settings takes no value longer than any card's.
    const std::vector<std::string> longest{"", std::string(kMaxSettingsFieldChars, 'A')};
    ASSERT_TRUE(ParseValueFile(FormatValueFile("0", longest), first, read, error, {.maxFieldChars = kMaxSettingsFieldChars})) << error;
    EXPECT_EQ(read, longest);

    const std::pair<std::string, std::string> bad[] = {
        {"0\r\n\"a\",\"b\"\r\n", "Line 2 has 2 fields; expected 1."},
        {"0\r\n\"a\x01\"\r\n", "Line 2 holds a control character."},
        {"\r\n", "The file is empty."},
        {"0\r\n\"open\r\n", "Line 2, field 1: the closing double quote is missing."},
        {"0\r\n\"\"\r\n\"" + std::string(256, 'A') + "\"\r\n", "Line 3 holds a value longer than 255 characters."},
        {"0\r\n" + std::string(256, '1') + "\r\n", "Line 2 holds a value longer than 255 characters."},
    };
    for (const auto& [bytes, message] : bad) {
        SCOPED_TRACE(message);
        first = "kept";
        read = {"kept"};
        EXPECT_FALSE(ParseValueFile(bytes, first, read, error, {.maxFieldChars = kMaxSettingsFieldChars}));
        EXPECT_EQ(error, message);
        EXPECT_EQ(first, "kept");
        EXPECT_EQ(read, std::vector<std::string>{"kept"});
    }
}

TEST(QuotedLines, AValueFileReadUpToSomeValuesLooksAtNoLineAfterThem) {
    const std::string two = "0\r\n\"a\"\r\n\"b\"\r\n";
    struct Case {
        std::string bytes;
        std::size_t maxValues;
        bool ok;
        std::vector<std::string> values;
    };
    const Case cases[] = {
        {two + "\"open\r\n", 2, true, {"a", "b"}},            // a damaged third line is not read
        {two + "\"x\",\"y\"\r\n\"c\x01\"\r\n", 2, true, {"a", "b"}},
        {two, 5, true, {"a", "b"}},                           // fewer lines: all of them
        {two, 0, true, {}},
        {two + "\"open\r\n", 3, false, {"kept"}},             // within the lines read: refused
        {"0\r\n\"open\r\n\"b\"\r\n", 2, false, {"kept"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes + " / " + std::to_string(c.maxValues));
        std::string first = "kept", error;
        std::vector<std::string> read{"kept"};
        EXPECT_EQ(ParseValueFile(c.bytes, first, read, error, {.maxValues = c.maxValues}), c.ok) << error;
        EXPECT_EQ(first, c.ok ? "0" : "kept");
        EXPECT_EQ(read, c.values);
    }
}
