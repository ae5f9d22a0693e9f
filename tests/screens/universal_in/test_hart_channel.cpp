// The HART master values of one channel: the checks when a box is left, the
// master mode list, and the ".rhx" file of one channel.
#include <gtest/gtest.h>

#include <string>

#include "screens/universal_in/HartChannel.h"

using namespace talvo::screens::hart;

namespace {

struct Check {
    Field field;
    std::string text;
    bool ok;
    std::string shown;    // the box afterwards, when ok
    std::string message;  // when not ok
};

Channel filledChannel() {
    return {"5", "10", "6", "3", "Secondary", std::string(32, 'A'), "01FAFAFA", std::string(184, '0'),
            std::string(512, 'F'), std::string(256, '1')};
}

std::string fileOf(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

}  // namespace

TEST(HartChecks, NumberBoxesAtTheirEdges) {
    const Check cases[] = {
        {PollAdd, "0", true, "0", ""},
        {PollAdd, "255", true, "255", ""},
        {PollAdd, "256", false, "", "Please enter 0 - 255"},
        {PollAdd, "00000000000000000000256", false, "", "Please enter 0 - 255"},  // too long for a number
        {PollAdd, "99999999999999999999", false, "", "Please enter 0 - 255"},
        {CyclHigh, "59", true, "59", ""},
        {CyclHigh, "60", false, "", "Please enter 0 - 59"},
        {CyclLow, "0", true, "0", ""},
        {CyclLow, "1", false, "", "Please enter 0 or 6 - 36"},
        {CyclLow, "5", false, "", "Please enter 0 or 6 - 36"},
        {CyclLow, "6", true, "6", ""},
        {CyclLow, "36", true, "36", ""},
        {CyclLow, "37", false, "", "Please enter 0 or 6 - 36"},
        {Retry, "16", true, "16", ""},
        {Retry, "17", false, "", "Please enter 0 - 16"},
        {Retry, "-1", false, "", "Please enter 0 - 16"},  // no number the digit filter lets in
        {Retry, "1.5", false, "", "Please enter 0 - 16"},
    };
    for (const Check& c : cases) {
        SCOPED_TRACE(FieldName(c.field) + (": " + c.text));
        const CheckResult r = CheckField(c.field, c.text);
        EXPECT_EQ(r.ok, c.ok);
        if (c.ok) {
            EXPECT_EQ(r.text, c.shown);
            EXPECT_TRUE(r.store);
        } else {
            EXPECT_EQ(r.message, c.message);
            EXPECT_FALSE(r.store);
        }
    }
    // An empty number box passes and leaves the table alone.
    for (Field f : {PollAdd, CyclHigh, CyclLow, Retry}) {
        const CheckResult r = CheckField(f, "");
        EXPECT_TRUE(r.ok);
        EXPECT_FALSE(r.store);
    }
}

TEST(HartChecks, BlockBoxesCheckLengthFirstThenPadToTheirBlock) {
    const std::string fa14 = [] {
        std::string s;
        for (int i = 0; i < 14; ++i) s += "FA";
        return s;
    }();
    const Check cases[] = {
        {DeviceVariableCode, "0102", true, "0102" + fa14, ""},
        {DeviceVariableCode, "010", false, "", "Please enter even characters"},
        {DeviceVariableCode, std::string(32, 'B'), true, std::string(32, 'B'), ""},
        {DeviceVariableCode, std::string(34, 'B'), false, "", "Please enter 0 - 32 characters"},
        {AnalogChCode, "01", true, "01FAFAFA", ""},
        {AnalogChCode, "", true, "FAFAFAFA", ""},
        {AnalogChCode, "1", false, "", "Please enter even characters"},
        {AutoCommand, "ABC", false, "", "Please enter 4N characters"},
        {AutoCommand, std::string(188, '0'), false, "", "Please enter 0 - 184 characters"},
        {AutoCommand, std::string(187, '0'), false, "", "Please enter 0 - 184 characters"},  // length first
        {AutoCommand, "", true, std::string(184, '0'), ""},
        {AutoCommand, "ABCD", true, "ABCD" + std::string(180, '0'), ""},
        {DeviceSpecificCommand, std::string(512, 'C'), true, std::string(512, 'C'), ""},
        {DeviceSpecificCommand, std::string(516, 'C'), false, "", "Please enter 0 - 512 characters"},
        {DeviceSpecificCommand, "12345", false, "", "Please enter 4N characters"},
        {ConstantData, "AB", true, "AB" + std::string(254, '0'), ""},
        {ConstantData, "ABC", false, "", "Please enter even characters"},
        {ConstantData, std::string(258, 'D'), false, "", "Please enter 0 - 256 characters"},
    };
    for (const Check& c : cases) {
        SCOPED_TRACE(FieldName(c.field) + (": " + std::to_string(c.text.size()) + " characters"));
        const CheckResult r = CheckField(c.field, c.text);
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(c.ok ? r.text : r.message, c.ok ? c.shown : c.message);
    }
}

TEST(HartChecks, MasterModeListPositions) {
    EXPECT_EQ(MasterModeOfValue("0"), "Primary");
    EXPECT_EQ(MasterModeOfValue("1"), "Secondary");
    for (const char* other : {"2", "-1", "", "01", "x"}) EXPECT_EQ(MasterModeOfValue(other), "") << other;
    EXPECT_EQ(ValueOfMasterMode("Primary"), "0");
    EXPECT_EQ(ValueOfMasterMode("Secondary"), "1");
    for (const char* other : {"", "primary", "Secondary ", "Third"}) EXPECT_EQ(ValueOfMasterMode(other), "") << other;
}

TEST(HartFile, AnUntouchedChannelSavesTheTagAndTenEmptyLines) {
    EXPECT_EQ(FormatHartFile(Channel{}), "0\r\n" + fileOf(std::vector<std::string>(10, "\"\"")));
    const Channel filled = filledChannel();
    std::vector<std::string> lines{"0"};
    for (const std::string& v : filled) lines.push_back("\"" + v + "\"");
    EXPECT_EQ(FormatHartFile(filled), fileOf(lines));
}

TEST(HartFile, ReadsBackWhatItSaved) {
    // The master mode list takes typed text, and the table keeps whatever it shows.
    Channel typedMode = filledChannel();
    typedMode[MasterMode] = "Third";
    Channel paddedMode = filledChannel();
    paddedMode[MasterMode] = " primary ";
    for (const Channel& c : {Channel{}, filledChannel(), typedMode, paddedMode}) {
        Channel read;
        read.fill("old");
        std::string error;
        ASSERT_EQ(ParseHartFile(FormatHartFile(c), read, error), FileRead::Read) << error;
        EXPECT_EQ(read, c);
    }
}

TEST(HartFile, EverythingIsCheckedBeforeAnythingIsTaken) {
    const std::string good = FormatHartFile(filledChannel());
    const auto withLine = [&](int lineNo, const std::string& text) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t nl; (nl = good.find("\r\n", start)) != std::string::npos; start = nl + 2)
            lines.push_back(good.substr(start, nl - start));
        lines.at(static_cast<std::size_t>(lineNo - 1)) = text;
        return fileOf(lines);
    };
    struct Case {
        const char* name;
        std::string bytes;
        FileRead result;
    };
    const Case cases[] = {
        {"tag 1", withLine(1, "1"), FileRead::Refused},
        {"tag not a number", withLine(1, "x"), FileRead::Refused},
        {"polling address 300", withLine(2, "\"300\""), FileRead::Refused},
        {"CYCL_LOW 5", withLine(4, "\"5\""), FileRead::Refused},
        {"retry not a number", withLine(5, "\"a\""), FileRead::Refused},
        {"odd device variable codes", withLine(7, "\"ABC\""), FileRead::Refused},
        {"analog codes too long", withLine(8, "\"" + std::string(10, 'A') + "\""), FileRead::Refused},
        {"auto command not 4N", withLine(9, "\"AB\""), FileRead::Refused},
        {"device specific too long", withLine(10, "\"" + std::string(516, 'A') + "\""), FileRead::Refused},
        {"constant data not hexadecimal", withLine(11, "\"0g\""), FileRead::Refused},
        {"constant data in lower case", withLine(11, "\"ab\""), FileRead::Refused},
        {"cut after line 6", good.substr(0, good.find("\r\n\"" + std::string(32, 'A'))) + "\r\n", FileRead::Damaged},
        {"a quote missing", withLine(3, "\"10"), FileRead::Damaged},
        {"two values on a line", withLine(3, "\"10\",\"11\""), FileRead::Damaged},
        {"a control character", withLine(3, "\"1\t0\""), FileRead::Damaged},
        {"empty", "", FileRead::Damaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Channel read;
        read.fill("old");
        std::string error;
        EXPECT_EQ(ParseHartFile(c.bytes, read, error), c.result);
        for (const std::string& v : read) EXPECT_EQ(v, "old");
        EXPECT_EQ(error.empty(), c.result != FileRead::Damaged) << error;
    }
    Channel read;
    std::string error;
    ParseHartFile(good.substr(0, good.find("\r\n\"" + std::string(32, 'A'))) + "\r\n", read, error);
    EXPECT_EQ(error, "The file has 6 lines; expected 11.");
}

TEST(HartFile, LinesAfterTheEleventhAreNotRead) {
    const std::string good = FormatHartFile(filledChannel());
    const std::string twelfth[] = {
        "\"a quote missing", "\"1\",\"2\"", "\"a\ttab\"", "text \"after\" a quote", std::string("\r\r"),
    };
    for (const std::string& extra : twelfth) {
        SCOPED_TRACE(extra);
        Channel read;
        std::string error;
        ASSERT_EQ(ParseHartFile(good + extra + "\r\n" + "\"more\r\n", read, error), FileRead::Read) << error;
        EXPECT_EQ(read, filledChannel());
    }
    // A damaged line among the eleven still refuses the file.
    std::string cut = good.substr(0, good.rfind("\r\n\"") + 2);
    Channel read;
    std::string error;
    EXPECT_EQ(ParseHartFile(cut + "\"1111\r\n\"extra\"\r\n", read, error), FileRead::Damaged);
    EXPECT_FALSE(error.empty());
}

TEST(HartFile, ToleratesWhatTheFormatAllows) {
    // LF alone, no line end at the end, values without quotes, lines after the eleventh.
    std::string bytes = "0\n\"1\"\n2\n\"\"\n\"\"\n\"Primary\"\n\"\"\n\"\"\n\"\"\n\"\"\n\"00\"\n\"extra\"";
    Channel read;
    std::string error;
    ASSERT_EQ(ParseHartFile(bytes, read, error), FileRead::Read) << error;
    EXPECT_EQ(read[PollAdd], "1");
    EXPECT_EQ(read[CyclHigh], "2");
    EXPECT_EQ(read[MasterMode], "Primary");
    EXPECT_EQ(read[ConstantData], "00");
}

TEST(HartFile, ValuesTheFormatCannotCarryAreNamed) {
    EXPECT_EQ(FindUnsavableValue(filledChannel()), "");
    Channel c = filledChannel();
    c[CyclLow] = "1\"2";
    EXPECT_EQ(FindUnsavableValue(c), "CYCL_LOW holds a character that cannot be saved (\" or a line break).");
    c = filledChannel();
    c[ConstantData] = "AB\r\n";
    EXPECT_EQ(FindUnsavableValue(c), "Constant Data holds a character that cannot be saved (\" or a line break).");
    c = filledChannel();
    c[MasterMode] = "Pri\tmary";
    EXPECT_EQ(FindUnsavableValue(c), "Master Mode holds a control character that cannot be saved.");
}
