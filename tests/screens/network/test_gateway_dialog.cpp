// The gateway settings dialog against the simulator: upload, the checks, OK,
// download and the settings file.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "core/Globals.h"
#include "screens/network/frmQFODH.h"
#include "tests/screens/network/NetworkFixture.h"
#include "ui/DialogValues.h"

using namespace talvo;
using talvo::network::frmQFODH;
using talvo::test::NetworkTest;
using talvo::test::silence;

namespace {

using Frames = std::vector<std::string>;

const char* const kGateway = "comm K6-QFODH1:RUN version K6-QFODH1:2.00\n";

std::size_t count(const Frames& f, const std::string& s) { return std::count(f.begin(), f.end(), s); }

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class GatewayDialogTest : public NetworkTest {
protected:
    static QComboBox* combo(QWidget& d, const QString& name) { return in<QComboBox>(d, name); }
    // A field edited, then OK: the messages it gave.
    std::vector<std::string> okWith(frmQFODH& d, const QString& field, const std::string& value) {
        type(d, field, value);
        messages.shown.clear();
        click(d, "CmdOK");
        return messages.texts();
    }
    QTemporaryDir dir;
};

TEST_F(GatewayDialogTest, UploadFillsEveryFieldAndTheMapRows) {
    connectTo(kGateway);
    withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
        EXPECT_FALSE(button("cmdSpecialSetting")->isEnabled());
        EXPECT_EQ(text(d, "pausePeriod"), "100");
        EXPECT_EQ(text(d, "txtIP_3"), "192");
        EXPECT_EQ(text(d, "txtIP_0"), "39");
        EXPECT_EQ(text(d, "txtDGate_0"), "1");
        EXPECT_EQ(combo(d, "List_ServerType")->currentText(), "32");
        EXPECT_EQ(text(d, "CPUNo"), "3FF");
        EXPECT_EQ(text(d, "TimeOut"), "3");
        EXPECT_EQ(text(d, "StationNo"), "1");
        EXPECT_EQ(text(d, "txtSLMPIP_0"), "250");
        EXPECT_EQ(text(d, "PortNo"), "5000");
        EXPECT_EQ(text(d, "DeviceNo"), "2");
        EXPECT_EQ(in<QLabel>(d, "lblMac_1")->text(), "12-34-56");
        EXPECT_EQ(combo(d, "cardType_0")->currentText(), "AI");
        EXPECT_EQ(text(d, "ChNo_0"), "8");
        EXPECT_EQ(combo(d, "DevType_0")->currentText(), "D");
        EXPECT_EQ(text(d, "DevAdd10_0"), "100");
        EXPECT_TRUE(in(d, "DevAdd10_0")->isEnabled());
        EXPECT_FALSE(in(d, "DevAdd16_0")->isEnabled());
        EXPECT_EQ(combo(d, "cardType_1")->currentText(), "DI");
        EXPECT_EQ(combo(d, "DevType_1")->currentText(), "X");
        EXPECT_EQ(text(d, "DevAdd16_1"), "1F");
        EXPECT_TRUE(in(d, "DevAdd16_1")->isEnabled());
        EXPECT_FALSE(combo(d, "cardType_2")->isEnabled()) << "rows past the entry count";
        EXPECT_TRUE(framesContain({"G00", "I01", "DF", "G00", "I41", "D00", "G17", "I01", "D1", "G00", "I40"}));
        click(d, "cmdExit");
    });
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(button("cmdSpecialSetting")->isEnabled()) << "given back when the dialog closes";
}

TEST_F(GatewayDialogTest, WhichUnansweredReadsEndTheUpload) {
    const std::pair<const char*, bool> items[] = {
        {"I40", true},  {"I59", true},  {"I60", true},  {"I61", true},  {"I68", true},  {"I57", true},
        {"I58", true},  {"I09", false}, {"I64", false}, {"I65", false}, {"I66", false}, {"I67", false},
        {"I69", false},
    };
    for (const auto& [item, fails] : items) {
        restartWindow();
        connectTo(kGateway);
        useFakeClock();
        k6sim::Fault f = silence(item, 0);
        f.group = "00";
        sim.addFault(f);
        withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
            if (fails) {
                EXPECT_EQ(messages.texts(), std::vector<std::string>{"Upload incomplete"}) << item;
                EXPECT_EQ(messages.shown.at(0).title, "Upload");
            } else {
                EXPECT_TRUE(messages.shown.empty()) << item;
                EXPECT_EQ(text(d, "DeviceNo"), "2") << item;
            }
            EXPECT_TRUE(G().Connected) << "a failed upload keeps the connection";
            EXPECT_TRUE(in<QPushButton>(d, "cmdUp")->isEnabled());
            click(d, "cmdExit");
        });
    }
}

TEST_F(GatewayDialogTest, EntryCountsAndEntriesTheMapCannotHoldEndTheUpload) {
    for (const char* set : {"set 17 09 17", "set 17 09 1.5", "set 17 09 x", "set 17 10 A8,100", "set 17 11 ZZ,0x1,DI1",
                            "set 00 63 8", "set 00 59 1.2.3"}) {
        restartWindow();
        connectTo(std::string(kGateway) + "  " + set + "\n");
        withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
            EXPECT_EQ(messages.texts(), std::vector<std::string>{"Upload incomplete"}) << set;
            click(d, "cmdExit");
        });
    }
}

TEST_F(GatewayDialogTest, EveryFieldCheckAtItsEdges) {
    struct Case {
        const char* field;
        const char* value;
        const char* message;  // "" passes
    };
    const Case cases[] = {
        {"StationNo", "120", ""},
        {"StationNo", "121", "Station No.:Please enter number 1 - 120,125,126,255"},
        {"StationNo", "125", ""},
        {"StationNo", "255", ""},
        {"TimeOut", "0", "SLMP timeout:Please enter number 1 - 10"},
        {"TimeOut", "10", ""},
        {"NWNo", "239", ""},
        {"NWNo", "240", "Network No.:Please enter number 0 - 239"},
        {"PortNo", "65535", ""},
        {"PortNo", "65536", "SLMP server Port No.:Please enter number 0 - 65535"},
        {"CPUNo", "10000", "Processor No.:Please enter number 0000 - FFFF"},
        {"CPUNo", "G1", "Processor No.:Please enter number 0000 - FFFF"},
        {"pausePeriod", "10000", ""},
        {"pausePeriod", "10001", "Pause period:Please enter number 0 - 10000"},
        {"pausePeriod", "1.5", "Pause period:Please enter number 0 - 10000"},
        {"PortNo", "+7", "SLMP server Port No.:Please enter number 0 - 65535"},
        {"NWNo", "-0", "Network No.:Please enter number 0 - 239"},
        {"TimeOut", "1e1", "SLMP timeout:Please enter number 1 - 10"},
        {"DeviceNo", "17", "Access device No.:Please enter number 0 - 16"},
        {"DeviceNo", "0", ""},
        {"txtIP_0", "256", "address:Please enter number 0 - 255"},
        {"txtSLMPIP_3", "1000", "address:Please enter number 0 - 255"},
    };
    connectTo(kGateway);
    withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
        for (const Case& c : cases) {
            const std::string before = text(d, c.field);
            const auto shown = okWith(d, c.field, c.value);
            if (*c.message)
                EXPECT_EQ(shown, std::vector<std::string>{c.message}) << c.field << " " << c.value;
            else
                EXPECT_TRUE(shown.empty()) << c.field << " " << c.value;
            type(d, c.field, before);
        }
        okWith(d, "CPUNo", "fFfF");
        EXPECT_EQ(text(d, "CPUNo"), "FFFF");
        EXPECT_TRUE(in<QPushButton>(d, "CmdOK")->isEnabled());
        click(d, "cmdExit");
    });
}

TEST_F(GatewayDialogTest, ExitSkipsTheCheckAndALeftFieldIsChecked) {
    connectTo(kGateway);
    withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
        d.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        QLineEdit* station = in(d, "StationNo");
        station->setFocus(Qt::TabFocusReason);
        type(d, "StationNo", "121");
        in(d, "PortNo")->setFocus(Qt::TabFocusReason);
        QTest::qWait(50);
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Station No.:Please enter number 1 - 120,125,126,255"});
        EXPECT_EQ(QApplication::focusWidget(), station);
        messages.shown.clear();
        in<QPushButton>(d, "cmdExit")->setFocus(Qt::TabFocusReason);
        QTest::qWait(50);
        EXPECT_TRUE(messages.shown.empty());
        click(d, "cmdExit");
    });
}

TEST_F(GatewayDialogTest, DownloadWritesEveryFieldAndEntryOrNothing) {
    connectTo(kGateway);
    withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
        type(d, "CPUNo", "3ff");
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(sim.frames(),
                  (Frames{"G00", "I01", "DF", "G00", "I41", "D00", "G17", "I01", "D1", "G00", "I40",
                          "G00", "I09", "D100", "G00", "I59", "D192.168.3.39", "G00", "I60", "D255.255.255.0",
                          "G00", "I61", "D192.168.3.1", "G00", "I63", "D32", "G00", "I64", "D3FF",
                          "G00", "I65", "D3", "G00", "I66", "D1", "G00", "I67", "D1", "G00", "I68", "D192.168.3.250",
                          "G00", "I69", "D5000", "G17", "I09", "D2", "G17", "I10", "DA8,100,AI8",
                          "G17", "I11", "D9C,0x1F,DI16"}));

        // A bad field late in the order: its message once, then the failure; nothing written.
        type(d, "PortNo", "65536");
        messages.shown.clear();
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(messages.texts(), (std::vector<std::string>{"SLMP server Port No.:Please enter number 0 - 65535",
                                                              "Downloading incomplete"}));
        EXPECT_TRUE(sim.frames().empty());
        type(d, "PortNo", "5000");

        // An entry that does not build: nothing written either.
        type(d, "ChNo_1", "17");
        messages.shown.clear();
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(messages.texts(),
                  (std::vector<std::string>{"Ch. No.:Please enter number 1 - 16", "Downloading incomplete"}));
        EXPECT_TRUE(sim.frames().empty());
        type(d, "ChNo_1", "16");

        // No entries in use: the count still goes, no entry does.
        type(d, "DeviceNo", "0");
        sim.clearFrames();
        messages.shown.clear();
        click(d, "cmdDown");
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_TRUE(framesContain({"G17", "I09", "D0"}));
        EXPECT_EQ(count(sim.frames(), "I10"), 0u);

        // A write that gets no answer.
        useFakeClock();
        sim.addFault(silence("D5000", 0));
        messages.shown.clear();
        click(d, "cmdDown");
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Downloading incomplete"});
        EXPECT_TRUE(G().Connected);
        click(d, "cmdExit");
    });
}

// A row in use that the user began holds a value and must be whole: without
// its parts nothing is written. One nobody set holds none: it is left as it is
// on the card and named, and the rest goes.
TEST_F(GatewayDialogTest, MapCheckRefusesARowInUseWithoutItsParts) {
    connectTo(kGateway);
    withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
        type(d, "DeviceNo", "3");  // row 2 in use but empty
        messages.shown.clear();
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(messages.texts(), std::vector<std::string>{std::string(ui::kLeftAsTheyAreText) + "Entry 3"});
        EXPECT_TRUE(framesContain({"G17", "I09", "D3", "G17", "I10", "DA8,100,AI8", "G17", "I11", "D9C,0x1F,DI16"}));
        EXPECT_EQ(count(sim.frames(), "I12"), 0u);

        type(d, "ChNo_2", "4");  // begun, not whole
        messages.shown.clear();
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(messages.texts(),
                  (std::vector<std::string>{"Card Settings:Incorrect settings", "Downloading incomplete"}));
        EXPECT_TRUE(sim.frames().empty());
        click(d, "cmdExit");
    });
}

TEST_F(GatewayDialogTest, ANameTypedWithoutAnExtensionIsSavedWithTheFiltersOne) {
    connectTo(kGateway);
    withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
        files.answers = {dir.filePath("gateway").toStdString()};
        click(d, "CmdSaveF");
        EXPECT_TRUE(messages.shown.empty());
        click(d, "cmdExit");
    });
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("gateway.qfo")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("gateway")));
}

TEST_F(GatewayDialogTest, ANameTypedWithoutItsExtensionOverAFileIsAskedAbout) {
    connectTo(kGateway);
    {
        std::ofstream old(dir.filePath("gateway.qfo").toStdString(), std::ios::binary);
        old << "old";
    }
    withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
        files.answers = {dir.filePath("gateway").toStdString()};
        files.replaceAnswers = {platform::MsgResult::No};
        click(d, "CmdSaveF");
        EXPECT_TRUE(messages.shown.empty());
        click(d, "cmdExit");
    });
    EXPECT_EQ(files.replaceQuestions,
              std::vector<std::string>{"gateway.qfo already exists.\nDo you want to replace it?"});
    EXPECT_EQ(readFile(dir.filePath("gateway.qfo").toStdString()), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"gateway.qfo"});
}

TEST_F(GatewayDialogTest, SettingsFileSavesAndReadsBack) {
    connectTo(kGateway);
    const std::string path = dir.filePath("gateway.qfo").toStdString();
    withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
        files.answers = {path};
        click(d, "CmdSaveF");
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(files.filters.back(), "qfo Files (*.qfo)|*.qfo|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
        click(d, "cmdExit");
    });
    const std::string saved = readFile(path);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 125);
    EXPECT_EQ(saved.substr(0, 3), "0\r\n");
    EXPECT_NE(saved.find("\"AI\"\r\n\"8\"\r\n\"D\"\r\n\"A8\"\r\n\"10\"\r\n\"\"\r\n\"100\"\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\"\"\r\n\"\"\r\n\"\"\r\n\r\n\r\n\"\"\r\n\"\"\r\n"), std::string::npos)
        << "a row never set: empty texts, and empty lines for its code and numbering";

    // Into a dialog whose upload failed: the file's values, and the rows in use.
    restartWindow();
    connectTo(kGateway);
    useFakeClock();
    sim.addFault(silence("I59", 0));
    withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
        messages.shown.clear();
        files.answers = {path};
        click(d, "CmdReadF");
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(text(d, "txtIP_0"), "39");
        EXPECT_EQ(combo(d, "List_ServerType")->currentText(), "32");
        EXPECT_EQ(combo(d, "DevType_1")->currentText(), "X");
        EXPECT_EQ(text(d, "DevAdd16_1"), "1F");
        EXPECT_TRUE(combo(d, "cardType_1")->isEnabled());
        EXPECT_FALSE(combo(d, "cardType_2")->isEnabled());
        // Saved again: the same bytes.
        const std::string again = dir.filePath("again.qfo").toStdString();
        files.answers = {again};
        click(d, "CmdSaveF");
        EXPECT_EQ(readFile(again), saved);
        click(d, "cmdExit");
    });
}

TEST_F(GatewayDialogTest, AFileThatFailsItsChecksChangesNothing) {
    connectTo(kGateway);
    const std::string good = dir.filePath("good.qfo").toStdString();
    withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
        files.answers = {good};
        click(d, "CmdSaveF");
        const std::string bytes = readFile(good);
        const auto write = [&](const std::string& name, const std::string& content) {
            const std::string p = dir.filePath(QString::fromStdString(name)).toStdString();
            std::ofstream(p, std::ios::binary) << content;
            return p;
        };
        const std::string shortFile = write("short.qfo", bytes.substr(0, bytes.rfind("\"\"\r\n")));
        std::string badIp = bytes;
        badIp.replace(badIp.find("192.168.3.39"), 12, "192.168.339");
        std::string longValue = bytes;
        longValue.replace(longValue.find("\"3FF\""), 5, "\"" + std::string(256, 'F') + "\"");
        type(d, "pausePeriod", "777");
        for (const std::string& p : {shortFile, write("badip.qfo", badIp), write("long.qfo", longValue)}) {
            messages.shown.clear();
            files.answers = {p};
            click(d, "CmdReadF");
            ASSERT_EQ(messages.shown.size(), 1u) << p;
            EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::None);
            EXPECT_EQ(text(d, "pausePeriod"), "777") << "nothing taken from it";
        }
        // A value the file cannot carry.
        type(d, "ChNo_0", "8\"");
        messages.shown.clear();
        const std::string refused = dir.filePath("refused.qfo").toStdString();
        files.answers = {refused};
        click(d, "CmdSaveF");
        EXPECT_EQ(messages.texts().back(), "save file incomplete");
        EXPECT_FALSE(QFile::exists(QString::fromStdString(refused)));
        // A name that is no UTF-8: refused, and no file under another name either.
        type(d, "ChNo_0", "8");
        messages.shown.clear();
        const QStringList before = QDir(dir.path()).entryList(QDir::Files);
        files.answers = {dir.path().toStdString() + "/gate\xFF.qfo"};
        click(d, "CmdSaveF");
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"save file incomplete"});
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);
        // Cancelled: nothing at all.
        messages.shown.clear();
        files.answers = {""};
        click(d, "CmdReadF");
        EXPECT_TRUE(messages.shown.empty());
        click(d, "cmdExit");
    });
}

}  // namespace
