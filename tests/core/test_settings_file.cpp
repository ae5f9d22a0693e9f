#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/SettingsFile.h"
#include "core/SettingsFormat.h"
#include "platform/qt/QtFileStore.h"
#include "tests/support/Fakes.h"
#include "tests/support/SimFixture.h"

using namespace talvo;
namespace fs = std::filesystem;

namespace {

std::string readBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::set<std::string> namesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

// Every field of every record distinct, so a shifted or swapped field shows.
CardRecordTable filledTable() {
    CardRecordTable t;
    for (int n = 1; n <= CardRecordTable::kCount; ++n) {
        CardRecord& r = *t.get(n);
        const std::string s = std::to_string(n);
        r.CardType = "T" + s;
        r.Version = "V" + s;
        for (int i = 1; i <= 64; ++i) r.Param.set(i, s + "." + std::to_string(i));
        for (int i = 1; i <= 16; ++i) r.ChOption.set(i, "c" + s + "." + std::to_string(i));
    }
    return t;
}

// What Open makes of a file saved from `saved`, on top of the records `before`.
CardRecordTable loadedFrom(const CardRecordTable& saved, const CardRecordTable& before) {
    CardRecordTable t = before;
    for (int n = 1; n <= CardRecordTable::kCount; ++n) {
        CardRecord& r = *t.get(n);
        const CardRecord& s = *saved.get(n);
        r.FileType = s.CardType;
        r.Version = s.Version;
        r.Param = s.Param;
        r.ChOption = s.ChOption;
    }
    return t;
}

void expectSameRecords(const CardRecordTable& actual, const CardRecordTable& expected) {
    for (int n = 1; n <= CardRecordTable::kCount; ++n) EXPECT_TRUE(*actual.get(n) == *expected.get(n)) << "record " << n;
}

std::vector<std::string> linesOf(const std::string& file) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t nl; (nl = file.find("\r\n", start)) != std::string::npos; start = nl + 2)
        lines.push_back(file.substr(start, nl - start));
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

// A line of `count` quoted fields, each "x".
std::string lineOfFields(int count) {
    std::string line;
    for (int i = 0; i < count; ++i) line += std::string(i ? "," : "") + "\"x\"";
    return line;
}

std::string replaceLine(const std::string& file, std::size_t lineNo, const std::string& line) {
    auto lines = linesOf(file);
    lines.at(lineNo - 1) = line;
    return joinLines(lines);
}

std::string replaceFirst(std::string s, const std::string& from, const std::string& to) {
    const auto at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
}

class TempDir {
public:
    TempDir() {
        std::string name = (fs::temp_directory_path() / "talvo-settings-XXXXXX").string();
        if (::mkdtemp(name.data()) != nullptr) path_ = name;
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

class SettingsFileTest : public ::testing::Test {
protected:
    SettingsFileTest() {
        test::resetProgramState();
        platform::Services s;
        s.messages = &messages;
        s.files = &files;
        s.store = &store;
        scope_ = std::make_unique<platform::ScopedServices>(s);
    }
    ~SettingsFileTest() override {
        scope_.reset();
        test::resetProgramState();
    }
    void SetUp() override { ASSERT_FALSE(dir.path().empty()); }

    // Runs Open or Save with the dialog answering `path`.
    void open(const fs::path& path) {
        files.answers.push_back(path.string());
        OpenSettingsFile();
    }
    void save(const fs::path& path) {
        files.answers.push_back(path.string());
        SaveSettingsFile();
    }
    std::string onlyMessage() {
        EXPECT_EQ(messages.shown.size(), 1u);
        if (messages.shown.empty()) return "";
        EXPECT_EQ(messages.shown[0].title, "");
        EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::None);
        return messages.shown[0].text;
    }

    test::RecordingMessageBox messages;
    test::FakeFileDialog files;
    platform::QtFileStore store;
    TempDir dir;

private:
    std::unique_ptr<platform::ScopedServices> scope_;
};

TEST_F(SettingsFileTest, ANameTypedWithoutAnExtensionIsSavedWithItsFilters) {
    G().CardRecords = filledTable();
    save(dir.path() / "station1");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(fs::exists(dir.path() / "station1.uJx"));
    EXPECT_FALSE(fs::exists(dir.path() / "station1"));
}

// The dialog adds ".uJx" before it asks about replacing a file: "station1"
// typed over an existing "station1.uJx" is asked about, and "No" keeps it.
TEST_F(SettingsFileTest, ANameTypedWithoutItsExtensionOverAFileIsAskedAbout) {
    const fs::path path = dir.path() / "station1.uJx";
    writeBytes(path, "old");
    G().CardRecords = filledTable();
    files.replaceAnswers = {platform::MsgResult::No};
    save(dir.path() / "station1");
    EXPECT_EQ(files.replaceQuestions,
              std::vector<std::string>{"station1.uJx already exists.\nDo you want to replace it?"});
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(readBytes(path), "old");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"station1.uJx"});

    files.replaceAnswers = {platform::MsgResult::Yes};
    save(dir.path() / "station1");
    EXPECT_EQ(files.replaceQuestions.size(), 2u);
    EXPECT_EQ(readBytes(path), FormatSettingsFile(filledTable()));
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"station1.uJx"});
}

TEST_F(SettingsFileTest, SaveThenOpenRestoresEveryRecord) {
    CardRecordTable saved = filledTable();
    saved.get(2)->Param.set(7, "25\xB0" "C");   // Latin-1 degree sign
    saved.get(3)->Param.set(8, " 1,5 ");        // blanks and a comma inside the quotes
    saved.get(17)->ChOption.set(16, "");
    G().CardRecords = saved;
    save(dir.path() / "station.uJx");
    ASSERT_TRUE(messages.shown.empty()) << messages.texts()[0];

    G().CardRecords = CardRecordTable{};
    G().CardRecords.get(1)->CardType = "BW4";
    const CardRecordTable before = G().CardRecords;
    open(dir.path() / "station.uJx");

    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(G().FileLoaded);
    expectSameRecords(G().CardRecords, loadedFrom(saved, before));
    EXPECT_EQ(files.filters, std::vector<std::string>(2, kSettingsFileFilter));
    EXPECT_EQ(kSettingsFileFilter, std::string("uJx Files (*.uJx)|*.uJx|Text Files (*.txt)|*.txt|All Files (*.*)|*.*"));
}

TEST_F(SettingsFileTest, SavedFileHasSeventeenQuotedCrLfLinesOfRawBytes) {
    // With no upload since Connect every first field is "".
    CardRecord& r = *G().CardRecords.get(2);
    r.Version = "1.02";
    r.Param.set(1, "25\xB0" "C");
    r.ChOption.set(16, "1");
    save(dir.path() / "plain.uJx");

    const auto line = [](const std::map<int, std::string>& fieldByNo) {
        std::string out;
        for (int f = 1; f <= 82; ++f) {
            const auto it = fieldByNo.find(f);
            out += std::string(f > 1 ? "," : "") + "\"" + (it == fieldByNo.end() ? "" : it->second) + "\"";
        }
        return out + "\r\n";
    };
    std::string expected;
    for (int n = 1; n <= 17; ++n)
        expected += n == 2 ? line({{2, "1.02"}, {3, "25\xB0" "C"}, {82, "1"}}) : line({});
    EXPECT_EQ(readBytes(dir.path() / "plain.uJx"), expected);
}

TEST_F(SettingsFileTest, FileFromAnotherStationKeepsCardTypesAndReplacesTheRest) {
    CardRecordTable other = filledTable();
    other.get(4)->Param.set(10, "");
    writeBytes(dir.path() / "other.uJx", FormatSettingsFile(other));
    for (int n = 1; n <= 17; ++n) {
        CardRecord& r = *G().CardRecords.get(n);
        r.CardType = n % 2 ? "BW4" : "NONE";
        r.Version = "0.9";
        for (int i = 1; i <= 64; ++i) r.Param.set(i, "old");
        r.ChOption.set(3, "1");
    }
    const CardRecordTable before = G().CardRecords;
    open(dir.path() / "other.uJx");

    EXPECT_TRUE(messages.shown.empty());
    expectSameRecords(G().CardRecords, loadedFrom(other, before));
    EXPECT_EQ(G().CardRecords.get(3)->CardType, "BW4");
    EXPECT_EQ(G().CardRecords.get(3)->FileType, "T3");
    EXPECT_EQ(G().CardRecords.get(4)->Param[10], "");
}

struct AcceptedVariant {
    const char* name;
    std::function<std::string(const std::string&)> edit;
};

TEST_F(SettingsFileTest, ReaderAcceptsHarmlessVariantsOfTheLayout) {
    const CardRecordTable saved = filledTable();
    const std::string good = FormatSettingsFile(saved);
    const AcceptedVariant cases[] = {
        {"LF line ends", [](std::string s) {
             std::string out;
             for (char c : s)
                 if (c != '\r') out += c;
             return out;
         }},
        {"one empty line at the end", [](const std::string& s) { return s + "\r\n"; }},
        {"no line end after the last record", [](const std::string& s) { return s.substr(0, s.size() - 2); }},
        {"unquoted field, blanks trimmed", [](const std::string& s) { return replaceFirst(s, "\"1.1\"", " 1.1 \t"); }},
        {"blanks around a quoted field", [](const std::string& s) { return replaceFirst(s, "\"1.1\"", "  \"1.1\" "); }},
        {"tab before an unquoted field", [](const std::string& s) { return replaceFirst(s, "\"1.1\"", "\t1.1"); }},
        {"tabs around a quoted field", [](const std::string& s) { return replaceFirst(s, "\"1.1\"", "\t\"1.1\"\t"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::resetProgramState();
        messages.shown.clear();
        writeBytes(dir.path() / "v.uJx", c.edit(good));
        open(dir.path() / "v.uJx");
        EXPECT_TRUE(messages.shown.empty()) << (messages.shown.empty() ? "" : messages.shown[0].text);
        expectSameRecords(G().CardRecords, loadedFrom(saved, CardRecordTable{}));
    }
}

// The edges of what a field may hold: the longest field, and every byte that is
// no control character, Latin-1 letters and signs among them.
TEST_F(SettingsFileTest, ReaderTakesFieldsUpToTheLongestValueAndEveryPrintableByte) {
    CardRecordTable saved = filledTable();
    saved.get(4)->Param.set(10, std::string(kMaxSettingsFieldChars, '9'));
    saved.get(1)->CardType = std::string(kMaxSettingsFieldChars, 'T');
    std::string printable;
    for (int b = 0x20; b <= 0xFF; ++b)
        if (b != 0x7F && b != '"') printable += static_cast<char>(b);
    saved.get(17)->ChOption.set(16, printable.substr(0, 128));
    saved.get(17)->ChOption.set(15, printable.substr(128));
    writeBytes(dir.path() / "edge.uJx", FormatSettingsFile(saved));
    open(dir.path() / "edge.uJx");
    EXPECT_TRUE(messages.shown.empty()) << (messages.shown.empty() ? "" : messages.shown[0].text);
    expectSameRecords(G().CardRecords, loadedFrom(saved, CardRecordTable{}));
}

struct BadFile {
    const char* name;
    std::function<std::string(const std::string&)> content;  // from a good file
    std::string error;
};

TEST_F(SettingsFileTest, BadFileShowsTheErrorAndChangesNothing) {
    const std::string good = FormatSettingsFile(filledTable());
    std::string binary;
    for (int k = 0; k < 64 * 256; ++k) binary += static_cast<char>(k % 256);
    const BadFile cases[] = {
        {"17th line missing", [](const std::string& s) { return s.substr(0, s.rfind("\"T17\"")); },
         "The file has 16 lines; expected 17."},
        {"18 lines", [](const std::string& s) { return s + linesOf(s)[0] + "\r\n"; }, "The file has 18 lines; expected 17."},
        {"two empty lines at the end", [](const std::string& s) { return s + "\r\n\r\n"; },
         "The file has 18 lines; expected 17."},
        {"81 fields", [](const std::string& s) { return replaceLine(s, 5, lineOfFields(81)); },
         "Line 5 has 81 fields; expected 82."},
        {"83 fields", [](const std::string& s) { return replaceLine(s, 5, lineOfFields(83)); },
         "Line 5 has 83 fields; expected 82."},
        {"empty line among the records", [](const std::string& s) { return replaceLine(s, 9, ""); },
         "Line 9 has 1 field; expected 82."},
        {"closing quote missing",
         [](const std::string& s) {
             const std::string l = linesOf(s)[2];
             return replaceLine(s, 3, l.substr(0, l.size() - 1));
         },
         "Line 3, field 82: the closing double quote is missing."},
        {"text after a closing quote", [](const std::string& s) { return replaceFirst(s, "\"T1\"", "\"T\"1"); },
         "Line 1, field 1: text follows the closing double quote."},
        {"quote inside an unquoted field", [](const std::string& s) { return replaceFirst(s, "\"V2\"", "V\"2"); },
         "Line 2, field 2: a double quote inside a field without quotes."},
        {"carriage return inside a line", [](const std::string& s) { return replaceFirst(s, "\"V4\"", "\"V\r4\""); },
         "Line 4 holds a carriage return inside the line."},
        {"empty file", [](const std::string&) { return std::string(); }, "The file is empty."},
        {"binary", [&](const std::string&) { return binary; }, "The file has 65 lines; expected 17."},
        {"huge", [](const std::string& s) { return replaceFirst(s, "\"1.1\"", "\"" + std::string(1100000, 'x') + "\""); },
         "The file is too large for a settings file (over 1 MiB)."},
        // Control characters in a field: quoted or not, at any place in it.
        {"NUL in a quoted field", [](const std::string& s) { return replaceFirst(s, "\"V2\"", std::string("\"V\0" "2\"", 5)); },
         "Line 2, field 2: a control character inside the field."},
        {"NUL alone in a field", [](const std::string& s) { return replaceFirst(s, "\"V2\"", std::string("\"\0\"", 3)); },
         "Line 2, field 2: a control character inside the field."},
        {"NUL in an unquoted field", [](const std::string& s) { return replaceFirst(s, "\"3.64\"", std::string("3.6\0" "4", 5)); },
         "Line 3, field 66: a control character inside the field."},
        {"tab inside a quoted field", [](const std::string& s) { return replaceFirst(s, "\"c7.1\"", "\"c7\t.1\""); },
         "Line 7, field 67: a control character inside the field."},
        {"escape at the end of a field", [](const std::string& s) { return replaceFirst(s, "\"c17.16\"", "\"c17.16\x1b\""); },
         "Line 17, field 82: a control character inside the field."},
        {"DEL", [](const std::string& s) { return replaceFirst(s, "\"T9\"", "\"T\x7f" "9\""); },
         "Line 9, field 1: a control character inside the field."},
        {"field of 256 characters", [](const std::string& s) { return replaceFirst(s, "\"4.10\"", "\"" + std::string(256, '9') + "\""); },
         "Line 4, field 12: longer than 255 characters."},
        {"unquoted field of 256 characters", [](const std::string& s) { return replaceFirst(s, "\"V5\"", std::string(256, 'v')); },
         "Line 5, field 2: longer than 255 characters."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::resetProgramState();
        G().CardRecords = filledTable();
        const CardRecordTable before = G().CardRecords;
        messages.shown.clear();
        const fs::path path = dir.path() / "bad.uJx";
        writeBytes(path, c.content(good));
        open(path);
        EXPECT_EQ(onlyMessage(), "Cannot load \"" + path.string() + "\". " + c.error);
        expectSameRecords(G().CardRecords, before);
        EXPECT_FALSE(G().FileLoaded);
    }
}

TEST_F(SettingsFileTest, UnreadablePathShowsTheSystemTextAndChangesNothing) {
    fs::create_directory(dir.path() / "folder.uJx");
    const std::pair<const char*, const char*> cases[] = {
        {"missing.uJx", "No such file or directory."},
        {"folder.uJx", "Is a directory."},
    };
    for (const auto& [name, error] : cases) {
        SCOPED_TRACE(name);
        messages.shown.clear();
        G().CardRecords = filledTable();
        open(dir.path() / name);
        EXPECT_EQ(onlyMessage(), "Cannot load \"" + (dir.path() / name).string() + "\". " + error);
        expectSameRecords(G().CardRecords, filledTable());
        EXPECT_FALSE(G().FileLoaded);
    }
}

// A record of the old 16-channel layout: two values per channel in Param(1..32).
CardRecord oldLayout(const std::string& fileType) {
    CardRecord r;
    r.FileType = fileType;
    for (int i = 1; i <= 32; ++i) r.Param.set(i, "v" + std::to_string(i));
    return r;
}

TEST(WidenSixteenChannelLayout, SpreadsTwoValuesPerChannelToFour) {
    for (const char* type : {"BW16", "BZ16", "BW1"}) {
        SCOPED_TRACE(type);
        CardRecord r = oldLayout(type);
        EXPECT_TRUE(WidenSixteenChannelLayout(r));
        for (int n = 1; n <= 16; ++n) {
            SCOPED_TRACE(n);
            EXPECT_EQ(r.Param[4 * n - 3], "v" + std::to_string(2 * n - 1));
            EXPECT_EQ(r.Param[4 * n - 2], "v" + std::to_string(2 * n));
            EXPECT_EQ(r.Param[4 * n - 1], "0.00");
            EXPECT_EQ(r.Param[4 * n], "1.0000");
        }
    }
}

TEST(WidenSixteenChannelLayout, LeavesOtherRecordsAlone) {
    struct Case {
        const char* fileType;
        const char* param33;
        const char* param34;
    };
    const Case cases[] = {
        {"BW16", "0.00", ""}, {"BW16", "", "1.0000"}, {"BW8", "", ""}, {"TC16", "", ""},
        {"bw16", "", ""},     {"XBW16", "", ""},      {"BW", "", ""},  {"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fileType) + " / " + c.param33 + " / " + c.param34);
        CardRecord r = oldLayout(c.fileType);
        r.Param.set(33, c.param33);
        r.Param.set(34, c.param34);
        const CardRecord before = r;
        EXPECT_FALSE(WidenSixteenChannelLayout(r));
        EXPECT_TRUE(r == before);
    }
}

TEST_F(SettingsFileTest, OpenWidensOldSixteenChannelRecords) {
    CardRecordTable file;
    file.get(5)->CardType = "BW16";
    file.get(5)->Param = oldLayout("BW16").Param;
    file.get(6)->CardType = "BW16";
    file.get(6)->Param = oldLayout("BW16").Param;
    file.get(6)->Param.set(34, "x");
    writeBytes(dir.path() / "old.uJx", FormatSettingsFile(file));
    open(dir.path() / "old.uJx");

    ASSERT_TRUE(messages.shown.empty());
    EXPECT_EQ(G().CardRecords.get(5)->Param[61], "v31");
    EXPECT_EQ(G().CardRecords.get(5)->Param[64], "1.0000");
    EXPECT_TRUE(G().CardRecords.get(6)->Param == file.get(6)->Param);
}

struct UnsavableCase {
    int record;
    std::function<void(CardRecord&)> spoil;
    const char* field;
};

TEST_F(SettingsFileTest, SaveRefusesFieldsTheFormatCannotCarry) {
    const UnsavableCase cases[] = {
        {3, [](CardRecord& r) { r.Param.set(12, "12\"5"); }, "Slot 3, Param(12)"},
        {17, [](CardRecord& r) { r.Version = "1.0\n"; }, "Communication card, Version"},
        {1, [](CardRecord& r) { r.CardType = "BW\r4"; }, "Slot 1, CardType"},
        {16, [](CardRecord& r) { r.ChOption.set(16, "\""); }, "Slot 16, ChOption(16)"},
    };
    const fs::path path = dir.path() / "kept.uJx";
    writeBytes(path, "old");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        messages.shown.clear();
        G().CardRecords = filledTable();
        c.spoil(*G().CardRecords.get(c.record));
        save(path);
        EXPECT_EQ(onlyMessage(), std::string(c.field) +
                                     " holds a character that cannot be saved (\" or a line break). Nothing was saved.");
        EXPECT_EQ(readBytes(path), "old");
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"kept.uJx"});
    }
}

// What Open would refuse, Save does not write: a file once saved always loads.
TEST_F(SettingsFileTest, SaveRefusesFieldsTheReaderWouldRefuse) {
    const UnsavableCase cases[] = {
        {2, [](CardRecord& r) { r.Param.set(1, std::string("1\0" "5", 3)); },
         "Slot 2, Param(1) holds a control character that cannot be saved."},
        {17, [](CardRecord& r) { r.ChOption.set(3, "\t"); },
         "Communication card, ChOption(3) holds a control character that cannot be saved."},
        {5, [](CardRecord& r) { r.Version = "1\x7f"; }, "Slot 5, Version holds a control character that cannot be saved."},
        {9, [](CardRecord& r) { r.Param.set(64, std::string(256, 'x')); },
         "Slot 9, Param(64) is longer than 255 characters and cannot be saved."},
    };
    const fs::path path = dir.path() / "kept.uJx";
    writeBytes(path, "old");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        messages.shown.clear();
        G().CardRecords = filledTable();
        c.spoil(*G().CardRecords.get(c.record));
        save(path);
        EXPECT_EQ(onlyMessage(), std::string(c.field) + " Nothing was saved.");
        EXPECT_EQ(readBytes(path), "old");
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"kept.uJx"});
    }
}

TEST_F(SettingsFileTest, SaveReplacesAnExistingFileAndKeepsItsMode) {
    const fs::path path = dir.path() / "station.uJx";
    writeBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    G().CardRecords = filledTable();
    save(path);

    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(readBytes(path), FormatSettingsFile(filledTable()));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"station.uJx"});
}

TEST_F(SettingsFileTest, FailedSaveKeepsTheOldFileAndShowsWhy) {
    // Tests may run as root, so the failures come from the paths themselves:
    // no permission bit stops root.
    const std::string longName(250, 'n');
    writeBytes(dir.path() / longName, "old");
    fs::create_directory(dir.path() / "folder.uJx");
    const std::pair<fs::path, const char*> cases[] = {
        {dir.path() / "no-such-dir" / "a.uJx", "No such file or directory."},
        {dir.path() / "folder.uJx", "Is a directory."},
        {dir.path() / longName / "a.uJx", "Not a directory."},
        {dir.path() / (std::string(252, 'n') + ".uJx"), "File name too long."},
        // Bytes that are no UTF-8 would reach the disk as another name.
        {dir.path() / "station\xFF.uJx", "The file name is not valid UTF-8 text, so the file was not saved."},
        {dir.path() / "st\xC3(.uJx", "The file name is not valid UTF-8 text, so the file was not saved."},
        {dir.path() / std::string("st\0n.uJx", 9), "The file name is not valid UTF-8 text, so the file was not saved."},
    };
    G().CardRecords = filledTable();
    const std::set<std::string> namesBefore = namesIn(dir.path());
    for (const auto& [path, error] : cases) {
        SCOPED_TRACE(error);
        messages.shown.clear();
        save(path);
        EXPECT_EQ(onlyMessage(), "Cannot save \"" + path.string() + "\". " + error);
        EXPECT_EQ(namesIn(dir.path()), namesBefore);
        EXPECT_EQ(readBytes(dir.path() / longName), "old");
        EXPECT_TRUE(fs::is_empty(dir.path() / "folder.uJx"));
    }
}

TEST_F(SettingsFileTest, SaveThatRunsOutOfSpaceKeepsTheOldFile) {
    // A file size limit makes the write fail part way, as a full disk would.
    const fs::path path = dir.path() / "station.uJx";
    writeBytes(path, "old");
    G().CardRecords = filledTable();
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    save(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(onlyMessage(), "Cannot save \"" + path.string() + "\". File too large.");
    EXPECT_EQ(readBytes(path), "old");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"station.uJx"});
}

TEST_F(SettingsFileTest, CancelledDialogDoesNothing) {
    const std::pair<const char*, void (*)()> commands[] = {{"Open", [] { OpenSettingsFile(); }}, {"Save", SaveSettingsFile}};
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        G().CardRecords = filledTable();
        G().CardRecords.get(2)->Param.set(1, "\"");  // would be refused if Save went on
        const CardRecordTable before = G().CardRecords;
        files.answers.push_back("");
        command();
        EXPECT_TRUE(messages.shown.empty());
        expectSameRecords(G().CardRecords, before);
        EXPECT_FALSE(G().FileLoaded);
        EXPECT_TRUE(fs::is_empty(dir.path()));
    }
}

}  // namespace
