// The gateway settings file without a window: the format, the checks before
// anything is taken, and what cannot be saved.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "screens/network/GatewayFile.h"

using namespace talvo::gateway;

namespace {

std::string reference() {
    std::ifstream in(std::string(TALVO_NETWORK_FILES) + "/reference.qfo", std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        out.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return out;
}

std::string join(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

TEST(GatewayFile, ReferenceFileReadsAndWritesBackByteForByte) {
    const std::string bytes = reference();
    ASSERT_EQ(linesOf(bytes).size(), 125u);
    QfoFile f;
    std::string error;
    ASSERT_TRUE(ParseQfo(bytes, f, error)) << error;
    EXPECT_EQ(f.ip, "192.168.3.39");
    EXPECT_EQ(f.deviceNo, "2");
    EXPECT_EQ(f.rows[1].devName, "X");
    EXPECT_EQ(f.rows[1].code, std::optional<std::string>("9C"));
    EXPECT_FALSE(f.rows[2].code.has_value()) << "an empty line: never set";
    EXPECT_EQ(FormatQfo(f), bytes);
}

TEST(GatewayFile, NeverSetCodesAreEmptyLinesAndEmptyTextsQuoted) {
    QfoFile f;
    f.rows[0].code = "";
    const std::vector<std::string> lines = linesOf(FormatQfo(f));
    ASSERT_EQ(lines.size(), 125u);
    EXPECT_EQ(lines[0], "0");
    EXPECT_EQ(lines[1], "\"\"");
    EXPECT_EQ(lines[13], "\"\"") << "row 0's I/O type";
    EXPECT_EQ(lines[16], "\"\"") << "row 0's code, set but empty";
    EXPECT_EQ(lines[17], "") << "row 0's numbering, never set";
    EXPECT_EQ(lines[124], "\"\"");
}

TEST(GatewayFile, EverythingIsCheckedBeforeAnythingIsTaken) {
    const std::vector<std::string> good = linesOf(reference());
    const auto with = [&](std::size_t line, const std::string& text) {
        std::vector<std::string> l = good;
        l[line - 1] = text;
        return join(l);
    };
    std::vector<std::string> short124(good.begin(), good.end() - 1);
    const std::pair<std::string, const char*> bad[] = {
        {join(short124), "124 lines"},
        {join([&] { auto l = good; l.push_back("\"\""); return l; }()), "126 lines"},
        {with(1, "x"), "line 1 no number"},
        {with(3, "\"192.168.3\""), "an address with two dots"},
        {with(6, "\"8\""), "server type 8"},
        {with(13, "\"17\""), "17 entries"},
        {with(13, "\"1.5\""), "1.5 entries"},
        {with(14, "\"AX\""), "I/O type AX in a row in use"},
        {with(23, "\"ZZ\""), "an unknown device in a row in use"},
        {with(14, "\"AI\"\"\""), "text after the closing quote"},
        {with(2, std::string("\"a\x01\"")), "a control character"},
        {with(7, "\"" + std::string(256, 'F') + "\""), "a value of 256 characters"},
        {with(120, "\"" + std::string(256, '1') + "\""), "a value of 256 characters in a row not in use"},
        {"", "empty"},
    };
    for (const auto& [bytes, what] : bad) {
        QfoFile f;
        f.ip = "unchanged";
        std::string error;
        EXPECT_FALSE(ParseQfo(bytes, f, error)) << what;
        EXPECT_FALSE(error.empty()) << what;
        EXPECT_EQ(f.ip, "unchanged") << what;
    }
    // A row past the entry count is read and not checked.
    QfoFile f;
    std::string error;
    EXPECT_TRUE(ParseQfo(with(28, "\"AX\""), f, error)) << error;
    // The longest value a field may hold.
    EXPECT_TRUE(ParseQfo(with(7, "\"" + std::string(255, 'F') + "\""), f, error)) << error;
    EXPECT_EQ(f.cpuNo, std::string(255, 'F'));
}

// A setting saved without a value is an empty field: read back it holds none,
// and it is neither refused nor checked (an empty entry count puts no row in
// use; a row in use without an I/O type holds no value).
TEST(GatewayFile, EmptyFieldsHoldNoValueAndPass) {
    const std::vector<std::string> good = linesOf(reference());
    const auto with = [&](std::vector<std::pair<std::size_t, std::string>> changes) {
        std::vector<std::string> l = good;
        for (const auto& [line, text] : changes) l[line - 1] = text;
        return join(l);
    };
    QfoFile f;
    std::string error;
    ASSERT_TRUE(ParseQfo(with({{3, "\"\""}, {11, "\"\""}, {12, "\"\""}}), f, error)) << error;
    EXPECT_EQ(f.ip, "");
    EXPECT_EQ(f.slmpIp, "");
    EXPECT_EQ(f.portNo, "");
    EXPECT_EQ(f.deviceNo, "2");
    // No server type and no entry count: no row is in use, so none is checked.
    ASSERT_TRUE(ParseQfo(with({{6, "\"\""}, {13, "\"\""}, {14, "\"AX\""}}), f, error)) << error;
    EXPECT_EQ(f.serverType, "");
    EXPECT_EQ(f.deviceNo, "");
    // Rows in use read by a server type the file does not hold: damaged.
    EXPECT_FALSE(ParseQfo(with({{6, "\"\""}}), f, error));
    // A row in use saved without a value: no I/O type, nothing else either.
    ASSERT_TRUE(ParseQfo(with({{21, "\"\""}, {22, "\"\""}, {23, "\"\""}, {24, ""}, {25, ""}, {26, "\"\""}}), f,
                         error))
        << error;
    EXPECT_FALSE(HasValue(f.rows[1]));
    EXPECT_TRUE(HasValue(f.rows[0]));
    // An I/O type that is there is checked as ever.
    EXPECT_FALSE(ParseQfo(with({{21, "\"AX\""}}), f, error));
}

TEST(GatewayFile, TheServerTypeLineChoosesTheTable) {
    std::vector<std::string> l = linesOf(reference());
    l[15] = "\"RD\"";  // row 0, an AI row: RD is only in the 32-bit word table
    QfoFile f;
    std::string error;
    EXPECT_TRUE(ParseQfo(join(l), f, error)) << error;
    l[5] = "\"16\"";
    EXPECT_FALSE(ParseQfo(join(l), f, error));
}

TEST(GatewayFile, ValuesTheFormatCannotCarryAreNamed) {
    QfoFile f;
    EXPECT_EQ(UnsavableQfo(f), "");
    for (const char* bad : {"a\"b", "a\rb", "a\nb"}) {
        QfoFile g;
        g.rows[3].DevAdd10 = bad;
        EXPECT_FALSE(UnsavableQfo(g).empty()) << bad;
        QfoFile h;
        h.rows[3].code = bad;
        EXPECT_FALSE(UnsavableQfo(h).empty()) << bad;
    }
    // What the reader would refuse, the writer does not write.
    QfoFile longest;
    longest.portNo = std::string(255, '9');
    EXPECT_EQ(UnsavableQfo(longest), "");
    longest.rows[15].DevAdd16 = std::string(256, 'F');
    EXPECT_EQ(UnsavableQfo(longest), "\"" + std::string(256, 'F') + "\" is longer than 255 characters and cannot be saved.");
}

}  // namespace
