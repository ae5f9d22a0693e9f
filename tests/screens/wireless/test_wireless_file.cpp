#include "screens/wireless/WirelessFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/screens/wireless/WirelessTestData.h"

namespace talvo::wireless {
namespace {

using C = WControl;
using M = WirelessModel;
using test::AllBut;
using test::AllValues;
using test::ValidControls;

const std::string kKey = "7C1E9A0B4D62F8355E0A9C17B24D6F83";

// ---- Key scramble ----

TEST(WirelessKey, KnownVectors) {
    const struct {
        std::string plain;
        std::string scrambled;
    } cases[] = {
        {kKey, ";C4M:J2I9J:2GA5=8L4G>C2@D:7K:L=4"},
        {std::string(32, '0'), "40381927564019283746501928374651"},
        {std::string(32, 'F'), "JFINGOHMKLJFGOHNIMJLKFGOHNIMJLKG"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeKey(c.plain), c.scrambled);
        EXPECT_EQ(DecodeKey(c.scrambled), c.plain);
    }
}

TEST(WirelessKey, RoundTripAndLimits) {
    const std::string key = "00112233445566778899AABBCCDDEEFF";
    EXPECT_EQ(DecodeKey(*EncodeKey(key)), key);
    // Only the first 32 characters count.
    EXPECT_EQ(EncodeKey(key + "XYZ"), EncodeKey(key));
    EXPECT_FALSE(EncodeKey(key.substr(0, 31)));
    EXPECT_FALSE(DecodeKey(key.substr(0, 31)));
    EXPECT_FALSE(EncodeKey(""));
    // A code below 0 or above 255 is no result, not a wrapped character.
    EXPECT_FALSE(DecodeKey(std::string("\x03") + key.substr(1)));  // 3 - 4
    EXPECT_TRUE(DecodeKey(std::string("\x04") + key.substr(1)));
    EXPECT_FALSE(EncodeKey(std::string("\xFC") + key.substr(1)));  // 252 + 4
    EXPECT_TRUE(EncodeKey(std::string("\xFB") + key.substr(1)));
    // A scramble key that is not 32 digits scrambles nothing.
    EXPECT_FALSE(EncodeKey(key, "4038192756401928374650192837465"));
    EXPECT_FALSE(EncodeKey(key, "4038192756401928374650192837465A"));
    EXPECT_EQ(EncodeKey(key, std::string(32, '0')), key);
}

TEST(WirelessKey, AScrambledHexKeyNeedsNoEscape) {
    for (const char digit : std::string("0123456789ABCDEF")) {
        const std::string scrambled = *EncodeKey(std::string(32, digit));
        for (const char c : scrambled) {
            EXPECT_GE(c, 48);
            EXPECT_LE(c, 79);
        }
    }
}

// ---- File layouts ----

TEST(WirelessFile, LineCountsPerModelAndCode) {
    const struct {
        M m;
        int code;
        std::size_t written;  // lines, the code line included
        std::size_t read;
    } cases[] = {
        {M::OXF, 4, 34, 34}, {M::OXF, 3, 34, 34}, {M::OXF, 2, 34, 29}, {M::OXF, 1, 33, 29},
        {M::OXF, 0, 33, 28}, {M::OXF, -1, 33, 28}, {M::OXF1F, 0, 33, 33}, {M::OXF1F, 9, 33, 33},
        {M::OG, 2, 29, 29},  {M::OG, 1, 29, 25},  {M::OG, 0, 28, 24},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(Traits(c.m).dialogName) + " code " + std::to_string(c.code));
        EXPECT_EQ(FileFieldsWritten(c.m, c.code).size() + 1, c.written);
        EXPECT_EQ(FileFieldsRead(c.m, c.code).size() + 1, c.read);
    }
}

std::vector<std::string> Names(const std::vector<FileField>& fields) {
    std::vector<std::string> out;
    for (const auto& f : fields)
        out.push_back(f.control == C::wirChNo ? "wirChNo(" + std::to_string(f.channel) + ")" : Info(f.control).name);
    return out;
}

std::vector<std::string> WithChannels(std::vector<std::string> before, std::vector<std::string> after) {
    for (int i = 0; i < 10; ++i) before.push_back("wirChNo(" + std::to_string(i) + ")");
    before.insert(before.end(), after.begin(), after.end());
    return before;
}

TEST(WirelessFile, RecordOrder) {
    const auto oxf = WithChannels(
        {"modAdd", "List_M_DataMode", "List_M_Baudrate", "List_M_Parity", "List_M_WEPort", "modTimer", "wirTimer",
         "wirPANID"},
        {"wirShortAddress", "wirNetWork", "wirPassword", "wirTimer_Send", "List_W_Level", "List_W_Scale",
         "List_W_flag", "FixNetworkFlag", "ShortAddress2", "SetDetour", "List_M_Mode", "movementMode", "NSAQuality",
         "NetworkJointMode", "NDTTSU"});
    EXPECT_EQ(Names(FileFieldsWritten(M::OXF, 4)), oxf);
    auto f1 = oxf;
    f1.erase(std::find(f1.begin(), f1.end(), "wirTimer_Send"));
    EXPECT_EQ(Names(FileFieldsWritten(M::OXF1F, 0)), f1);
    const auto og = WithChannels(
        {"modAdd", "wirPANID"},
        {"wirShortAddress", "wirNetWork", "wirPassword", "wirTimer_Send", "List_W_Level", "wirTimer", "List_W_Scale",
         "List_W_flag", "FixNetworkFlag", "ShortAddress2", "SetDetour", "modTimer", "movementMode", "NSAQuality",
         "NetworkJointMode", "NDTTSU"});
    EXPECT_EQ(Names(FileFieldsWritten(M::OG, 2)), og);

    EXPECT_EQ(FileFilter(M::OXF), "oxf Files (*.oxf)|*.oxf|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_EQ(FileFilter(M::OXF1F), "oxf1f Files (*.oxf1f)|*.oxf1f|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_EQ(FileFilter(M::OG), "og Files (*.og)|*.og|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
}

TEST(WirelessFile, SavedRecordsOfAnOxfFile) {
    WirelessControls w = ValidControls(M::OXF);
    w.Entry(C::List_W_Level) = 1;
    w.Entry(C::NSAQuality) = 1;
    w.Entry(C::List_M_Baudrate) = -1;  // a list with nothing selected saves ""
    std::vector<std::string> records;
    std::string error;
    ASSERT_TRUE(BuildFileRecords(M::OXF, 4, w, AllValues, records, error));
    ASSERT_EQ(records.size(), 33u);
    EXPECT_EQ(records[0], "1");
    EXPECT_EQ(records[1], "RTU");
    EXPECT_EQ(records[2], "");
    EXPECT_EQ(records[7], "1A2B");
    EXPECT_EQ(records[8], "11");  // wirChNo(0)
    EXPECT_EQ(records[19], "plant-1");
    EXPECT_EQ(records[20], ";C4M:J2I9J:2GA5=8L4G>C2@D:7K:L=4");
    EXPECT_EQ(records[22], "   1mW");
    EXPECT_EQ(records[28], "SLAVE");
    EXPECT_EQ(records[30], "Changing frequency\xA5" "delaytime middle");
    EXPECT_EQ(records[32], "3");

    // Only the first 32 characters of a longer key are saved.
    w.KeyText = kKey + "99";
    ASSERT_TRUE(BuildFileRecords(M::OXF, 4, w, AllValues, records, error));
    EXPECT_EQ(records[20], ";C4M:J2I9J:2GA5=8L4G>C2@D:7K:L=4");
    // A key too short to scramble saves nothing.
    w.KeyText = kKey.substr(0, 31);
    EXPECT_FALSE(BuildFileRecords(M::OXF, 4, w, AllValues, records, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(records.size(), 33u) << "records untouched";
    // Without the key record the key is not looked at.
    std::vector<std::string> noKey;
    EXPECT_TRUE(BuildFileRecords(M::OXF, 0, w, AllValues, noKey, error));
    EXPECT_EQ(noKey.size(), 32u);
}

// A dialog whose every stored value differs from ValidControls'.
WirelessControls OtherControls(M m, int level) {
    WirelessControls w = InitialControls(m, SetupForVersion(m, level >= 1 ? 300 : 213));
    w.Text(C::modAdd) = "200";
    w.Text(C::modTimer) = "600";
    w.Text(C::wirTimer) = "7";
    w.Text(C::wirPANID) = "00FF";
    for (int ch = 0; ch < kChannelCount; ++ch) w.Text(C::wirChNo, ch) = std::to_string(ch + 1);
    w.Text(C::wirShortAddress) = "ABCD";
    w.Text(C::wirNetWork) = "other";
    w.Text(C::wirTimer_Send) = "3600";
    w.Text(C::ShortAddress2) = "0100";
    w.KeyText = std::string(32, 'E');
    for (const auto& info : Controls())
        if (info.kind == ControlKind::List) w.Entry(info.control) = 1;
    w.Entry(C::List_M_Mode) = 0;
    return w;
}

void ExpectStoredEqual(M m, const std::vector<FileField>& fields, const WirelessControls& a, const WirelessControls& b) {
    for (const auto& f : fields) {
        SCOPED_TRACE(Info(f.control).name);
        if (f.control == C::wirPassword) EXPECT_EQ(a.KeyText, b.KeyText);
        else if (Info(f.control).kind == ControlKind::List) EXPECT_EQ(a.Entry(f.control), b.Entry(f.control));
        else EXPECT_EQ(a.Text(f.control, f.channel), b.Text(f.control, f.channel));
    }
    (void)m;
}

TEST(WirelessFile, RoundTripRestoresEveryStoredValue) {
    const struct {
        M m;
        int level;
        int code;
    } cases[] = {{M::OXF, 2, 4}, {M::OXF, 1, 3}, {M::OXF1F, 0, 0}, {M::OG, 1, 2}, {M::OG, 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(Traits(c.m).dialogName) + " code " + std::to_string(c.code));
        WirelessControls saved = OtherControls(c.m, c.level);
        saved.Entry(C::List_W_Level) = 1;  // "   1mW" keeps its blanks
        saved.Entry(C::NSAQuality) = 2;
        saved.Entry(C::movementMode) = 0;  // what the scale rule leaves it at with scale "31 - 60"
        std::vector<std::string> records;
        std::string error;
        ASSERT_TRUE(BuildFileRecords(c.m, c.code, saved, AllValues, records, error));
        WirelessControls read = ValidControls(c.m);
        std::vector<FileValue> loaded;
        ASSERT_EQ(ReadFileRecords(c.m, c.level, c.code, std::to_string(c.code), records, read, loaded, error),
                  FileReadResult::Read)
            << error;
        // Every record read gave its setting a value, in file order.
        const auto fields = FileFieldsRead(c.m, c.code);
        ASSERT_EQ(loaded.size(), fields.size());
        for (std::size_t i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(loaded[i], (FileValue{fields[i].control, fields[i].channel, true})) << i;
        }
        ExpectStoredEqual(c.m, FileFieldsRead(c.m, c.code), saved, read);
        EXPECT_EQ(ListEntryText(C::List_W_Level, read.Entry(C::List_W_Level)), "   1mW");
    }
}

struct ReadRun {
    FileReadResult result;
    std::string error;
    WirelessControls before;
    WirelessControls after;
    std::vector<FileValue> loaded;
};

ReadRun Read(M m, int level, int ownCode, const std::string& codeLine, const std::vector<std::string>& records,
             WirelessControls start) {
    ReadRun r;
    r.before = start;
    r.after = start;
    r.result = ReadFileRecords(m, level, ownCode, codeLine, records, r.after, r.loaded, r.error);
    return r;
}

void ExpectUnchanged(const ReadRun& r) {
    EXPECT_EQ(r.after.text, r.before.text);
    EXPECT_EQ(r.after.wirChNo, r.before.wirChNo);
    EXPECT_EQ(r.after.entry, r.before.entry);
    EXPECT_EQ(r.after.enabled, r.before.enabled);
    EXPECT_EQ(r.after.KeyText, r.before.KeyText);
    EXPECT_TRUE(r.loaded.empty());
}

std::vector<std::string> Records(M m, int code, const WirelessControls& w, const HoldsValue& holds = AllValues) {
    std::vector<std::string> records;
    std::string error;
    EXPECT_TRUE(BuildFileRecords(m, code, w, holds, records, error));
    return records;
}

TEST(WirelessFile, WhatEachCodeBrings) {
    const WirelessControls file = OtherControls(M::OXF, 2);
    const WirelessControls dialog = ValidControls(M::OXF);

    // Code 2: key read; List_M_Mode and the new-firmware lists were saved but stay.
    ReadRun r = Read(M::OXF, 2, 4, "2", Records(M::OXF, 2, file), dialog);
    ASSERT_EQ(r.result, FileReadResult::Read) << r.error;
    EXPECT_EQ(r.after.KeyText, file.KeyText);
    EXPECT_EQ(r.after.Text(C::modAdd), "200");
    for (const C c : {C::List_M_Mode, C::movementMode, C::NSAQuality, C::NetworkJointMode, C::NDTTSU})
        EXPECT_EQ(r.after.Entry(c), dialog.Entry(c)) << Info(c).name;

    // Code 1: no key record, List_M_Mode read (the file's line 22 is wirTimer_Send).
    WirelessControls relay = file;
    relay.Entry(C::List_M_Mode) = 1;
    r = Read(M::OXF, 2, 4, "1", Records(M::OXF, 1, relay), dialog);
    ASSERT_EQ(r.result, FileReadResult::Read) << r.error;
    EXPECT_EQ(r.after.KeyText, dialog.KeyText);
    EXPECT_EQ(r.after.Text(C::wirTimer_Send), "3600");
    EXPECT_EQ(r.after.Entry(C::List_M_Mode), 1);
    EXPECT_EQ(r.after.Entry(C::NDTTSU), dialog.Entry(C::NDTTSU));

    // Code 0: KeyText stays.
    r = Read(M::OXF, 2, 4, "0", Records(M::OXF, 0, file), dialog);
    ASSERT_EQ(r.result, FileReadResult::Read) << r.error;
    EXPECT_EQ(r.after.KeyText, dialog.KeyText);
    EXPECT_EQ(r.after.Text(C::wirNetWork), "other");

    // OXF1F reads every record whatever the code says.
    const WirelessControls f1file = OtherControls(M::OXF1F, 0);
    r = Read(M::OXF1F, 0, 0, "7", Records(M::OXF1F, 0, f1file), ValidControls(M::OXF1F));
    ASSERT_EQ(r.result, FileReadResult::Read) << r.error;
    EXPECT_EQ(r.after.KeyText, f1file.KeyText);
    EXPECT_EQ(r.after.Entry(C::NDTTSU), 1);
}

TEST(WirelessFile, NewerCodeOnOlderFirmware) {
    // An OXF at level 0 (own code 2) takes a code-4 file and runs the scale rule.
    WirelessControls dialog = ValidControls(M::OXF);
    dialog.Enabled(C::movementMode) = false;
    dialog.Enabled(C::NetworkJointMode) = false;
    WirelessControls file = OtherControls(M::OXF, 2);
    file.Entry(C::List_W_Scale) = 0;
    ReadRun r = Read(M::OXF, 0, 2, "4", Records(M::OXF, 4, file), dialog);
    ASSERT_EQ(r.result, FileReadResult::Read) << r.error;
    EXPECT_EQ(r.after.Entry(C::movementMode), 0);
    EXPECT_FALSE(r.after.Enabled(C::movementMode));
    EXPECT_TRUE(r.after.Enabled(C::NetworkJointMode));

    // The fourth scale entry does not exist there: the file is refused whole.
    file.Entry(C::List_W_Scale) = 3;
    r = Read(M::OXF, 0, 2, "4", Records(M::OXF, 4, file), dialog);
    EXPECT_EQ(r.result, FileReadResult::Damaged);
    EXPECT_NE(r.error.find("Fixed + Low speed moving"), std::string::npos) << r.error;
    ExpectUnchanged(r);
    // At level 2 it is an entry like any other.
    r = Read(M::OXF, 2, 4, "4", Records(M::OXF, 4, file), ValidControls(M::OXF));
    ASSERT_EQ(r.result, FileReadResult::Read) << r.error;
    EXPECT_EQ(r.after.Entry(C::List_W_Scale), 3);
    EXPECT_TRUE(r.after.Enabled(C::movementMode));
    EXPECT_EQ(r.after.Entry(C::NetworkJointMode), 0);
    EXPECT_FALSE(r.after.Enabled(C::NetworkJointMode));
}

TEST(WirelessFile, OgChecksTheCode) {
    const WirelessControls file = OtherControls(M::OG, 1);
    ReadRun r = Read(M::OG, 0, 1, "2", Records(M::OG, 2, file), ValidControls(M::OG));
    EXPECT_EQ(r.result, FileReadResult::Refused);
    ExpectUnchanged(r);
    EXPECT_TRUE(FileCodeAccepted(M::OG, 1, 1));
    EXPECT_FALSE(FileCodeAccepted(M::OG, 2, 1));
    EXPECT_TRUE(FileCodeAccepted(M::OXF, 9, 0));

    // Code 0 into a code-2 dialog: KeyText and the four new-firmware lists stay.
    const WirelessControls dialog = ValidControls(M::OG);
    r = Read(M::OG, 1, 2, "0", Records(M::OG, 0, file), dialog);
    ASSERT_EQ(r.result, FileReadResult::Read) << r.error;
    EXPECT_EQ(r.after.KeyText, dialog.KeyText);
    for (const C c : {C::movementMode, C::NSAQuality, C::NetworkJointMode, C::NDTTSU})
        EXPECT_EQ(r.after.Entry(c), dialog.Entry(c)) << Info(c).name;
    EXPECT_EQ(r.after.Text(C::modTimer), "600");
}

TEST(WirelessFile, RelayForcesRtuAndWirelessAfterARead) {
    WirelessControls file = OtherControls(M::OXF, 2);
    file.Entry(C::List_M_Mode) = 1;       // RELAY
    file.Entry(C::List_M_DataMode) = 1;   // ASCII
    file.Entry(C::List_M_WEPort) = 0;     // RS-485
    ReadRun r = Read(M::OXF, 2, 4, "4", Records(M::OXF, 4, file), ValidControls(M::OXF));
    ASSERT_EQ(r.result, FileReadResult::Read) << r.error;
    EXPECT_EQ(ListEntryText(C::List_M_DataMode, r.after.Entry(C::List_M_DataMode)), "RTU");
    EXPECT_EQ(ListEntryText(C::List_M_WEPort, r.after.Entry(C::List_M_WEPort)), "Wireless");
    EXPECT_FALSE(r.after.Enabled(C::List_M_DataMode));
    EXPECT_FALSE(r.after.Enabled(C::List_M_WEPort));

    // The first two rules run from the file's values too.
    file.Entry(C::List_W_flag) = 0;
    file.Entry(C::FixNetworkFlag) = 0;
    r = Read(M::OXF, 2, 4, "4", Records(M::OXF, 4, file), ValidControls(M::OXF));
    EXPECT_FALSE(r.after.Enabled(C::modTimer));
    EXPECT_FALSE(r.after.Enabled(C::ShortAddress2));
    EXPECT_FALSE(r.after.Enabled(C::SetDetour));
}

TEST(WirelessFile, ADamagedFileChangesNothing) {
    const WirelessControls file = OtherControls(M::OXF, 2);
    const std::vector<std::string> good = Records(M::OXF, 4, file);
    const WirelessControls dialog = ValidControls(M::OXF);

    auto with = [&](std::size_t index, const std::string& value) {
        std::vector<std::string> r = good;
        r[index] = value;
        return r;
    };
    const std::string scrambledG = *EncodeKey(std::string(31, '0') + "G");
    const struct {
        const char* what;
        std::string code;
        std::vector<std::string> records;
    } cases[] = {
        {"truncated", "4", std::vector<std::string>(good.begin(), good.end() - 1)},
        {"no records", "4", {}},
        {"code not a number", "x", good},
        {"empty code line", "", good},
        {"code beyond 16 bits", "99999", good},
        {"key of 31 characters", "4", with(20, good[20].substr(0, 31))},
        {"key of 33 characters", "4", with(20, good[20] + "4")},
        {"key below 0", "4", with(20, std::string(32, '\x01'))},
        {"key not hex", "4", with(20, scrambledG)},
        {"list text not an entry", "4", with(1, "rtu")},
        {"power without its blanks", "4", with(22, "1mW")},
        {"last record not an entry", "4", with(32, "4")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadRun r = Read(M::OXF, 2, 4, c.code, c.records, dialog);
        EXPECT_EQ(r.result, FileReadResult::Damaged);
        EXPECT_FALSE(r.error.empty());
        ExpectUnchanged(r);
    }
}

// A setting without a value (never read, refused, a default, the default key)
// is saved as an empty record in its place, and an empty record read back is
// no value: the layout stays, and no default becomes a value through a file.
TEST(WirelessFile, WhatHoldsNoValueIsSavedEmptyAndReadBackAsNone) {
    const struct {
        M m;
        int code;
        int level;
        C control;
        int channel;
    } cases[] = {
        {M::OXF, 4, 2, C::wirNetWork, 0}, {M::OXF, 4, 2, C::modAdd, 0},      {M::OXF, 4, 2, C::wirChNo, 3},
        {M::OXF, 4, 2, C::wirPassword, 0}, {M::OXF, 4, 2, C::NDTTSU, 0},     {M::OXF, 4, 2, C::List_M_Mode, 0},
        {M::OXF1F, 0, 0, C::List_M_Parity, 0}, {M::OXF1F, 0, 0, C::wirPassword, 0},
        {M::OG, 2, 1, C::wirTimer_Send, 0}, {M::OG, 2, 1, C::List_W_Level, 0}, {M::OG, 1, 0, C::wirPassword, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(Traits(c.m).dialogName) + " " + Info(c.control).name);
        const WirelessControls dialog = OtherControls(c.m, c.level);
        const auto fields = FileFieldsWritten(c.m, c.code);
        const std::vector<std::string> all = Records(c.m, c.code, dialog);
        const std::vector<std::string> records = Records(c.m, c.code, dialog, AllBut({{c.control, c.channel}}));
        ASSERT_EQ(records.size(), all.size());
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const bool it = fields[i].control == c.control && fields[i].channel == c.channel;
            EXPECT_EQ(records[i], it ? std::string() : all[i]) << i;
        }
        // Read back into a dialog that shows other values: the empty record
        // is no value; a box shows it empty, a list without a selection, and
        // the key stays what the dialog held.
        const ReadRun r = Read(c.m, c.level, c.code, std::to_string(c.code), records, ValidControls(c.m));
        ASSERT_EQ(r.result, FileReadResult::Read) << r.error;
        for (const FileValue& v : r.loaded)
            EXPECT_EQ(v.hasValue, !(v.control == c.control && v.channel == c.channel)) << Info(v.control).name;
        if (c.control == C::wirPassword)
            EXPECT_EQ(r.after.KeyText, r.before.KeyText);
        else if (Info(c.control).kind == ControlKind::List)
            EXPECT_EQ(r.after.Entry(c.control), -1);
        else
            EXPECT_EQ(r.after.Text(c.control, c.channel), "");
    }
    // A key that holds no value need not be a key to be saved.
    WirelessControls w = ValidControls(M::OXF);
    w.KeyText = "short";
    std::vector<std::string> records;
    std::string error;
    EXPECT_TRUE(BuildFileRecords(M::OXF, 4, w, AllBut({{C::wirPassword, 0}}), records, error)) << error;
    EXPECT_EQ(records[20], "");
    // A text of blanks read from a file is no value either.
    std::vector<std::string> blanks = Records(M::OXF, 4, OtherControls(M::OXF, 2));
    blanks[19] = "   ";  // wirNetWork
    const ReadRun r = Read(M::OXF, 2, 4, "4", blanks, ValidControls(M::OXF));
    ASSERT_EQ(r.result, FileReadResult::Read);
    EXPECT_EQ(r.after.Text(C::wirNetWork), "   ");
    EXPECT_FALSE(r.loaded[19].hasValue);
    EXPECT_EQ(r.loaded[19].control, C::wirNetWork);
}

TEST(WirelessFile, ReadDetails) {
    const WirelessControls file = OtherControls(M::OXF, 2);
    std::vector<std::string> records = Records(M::OXF, 4, file);
    const WirelessControls dialog = ValidControls(M::OXF);

    // Records after those the code calls for are left unread.
    std::vector<std::string> longer = records;
    longer.push_back("extra");
    EXPECT_EQ(Read(M::OXF, 2, 4, "4", longer, dialog).result, FileReadResult::Read);
    // Blanks around the code are allowed.
    EXPECT_EQ(Read(M::OXF, 2, 4, " 4 ", records, dialog).result, FileReadResult::Read);
    // A list saved without a selection reads back without one.
    records[1] = "";
    const ReadRun r = Read(M::OXF, 2, 4, "4", records, dialog);
    ASSERT_EQ(r.result, FileReadResult::Read) << r.error;
    EXPECT_EQ(r.after.Entry(C::List_M_DataMode), -1);
    // Box texts are taken as they are: no entry check runs on a read.
    records[0] = "999";
    EXPECT_EQ(Read(M::OXF, 2, 4, "4", records, dialog).after.Text(C::modAdd), "999");

    EXPECT_EQ(ParseFileCode("4"), 4);
    EXPECT_EQ(ParseFileCode("-1"), -1);
    EXPECT_FALSE(ParseFileCode("4a"));
    EXPECT_FALSE(ParseFileCode("\"4\""));
    EXPECT_FALSE(ParseFileCode("   "));
}

}  // namespace
}  // namespace talvo::wireless

namespace talvo::wireless {
namespace {

// Every shortened file and every record spoilt by a character the file could
// hold either reads whole or changes nothing; nothing overflows or throws.
TEST(WirelessFile, SpoiltFilesReadWholeOrNotAtAll) {
    for (const M m : {M::OXF, M::OXF1F, M::OG}) {
        const int code = m == M::OXF ? 4 : m == M::OG ? 2 : 0;
        const int level = m == M::OXF ? 2 : 1;
        const std::vector<std::string> good = Records(m, code, OtherControls(m, level));
        const WirelessControls dialog = ValidControls(m);
        for (std::size_t n = 0; n <= good.size(); ++n) {
            const std::vector<std::string> prefix(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
            const ReadRun r = Read(m, level, code, std::to_string(code), prefix, dialog);
            EXPECT_EQ(r.result, n == good.size() ? FileReadResult::Read : FileReadResult::Damaged) << n;
            if (r.result != FileReadResult::Read) ExpectUnchanged(r);
        }
        for (std::size_t i = 0; i < good.size(); ++i) {
            for (const std::string& spoil : {std::string(), std::string("\xFF"), std::string("\x01"), good[i] + "x",
                                             std::string(300, 'A')}) {
                std::vector<std::string> records = good;
                records[i] = spoil;
                const ReadRun r = Read(m, level, code, std::to_string(code), records, dialog);
                if (r.result != FileReadResult::Read) {
                    EXPECT_FALSE(r.error.empty());
                    ExpectUnchanged(r);
                }
                EXPECT_TRUE(IsKeyText(r.after.KeyText)) << "record " << i;
            }
        }
    }
}

}  // namespace
}  // namespace talvo::wireless
