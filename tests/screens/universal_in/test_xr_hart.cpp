// The HART master dialog, opened from the HART input card screen and driven
// through the platform's modal handler: channels, transfers frame by frame, the
// checks when a box is left, Clear and Reset Start, and the ".rhx" file.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/LineTurn.h"
#include "screens/universal_in/frmXR4.h"
#include "screens/universal_in/frmXR_HART.h"
#include "tests/screens/universal_in/UniversalFixture.h"

using namespace talvo;
using namespace talvo::screens;
namespace fs = std::filesystem;

namespace {

constexpr int kSlot = 4;

std::string shownIn(const QLineEdit* b) { return b->text().toLatin1().toStdString(); }
void setBox(QLineEdit* b, const std::string& t) { b->setText(QString::fromLatin1(t.c_str())); }
std::string modeText(const frmXR_HART& d) { return d.List_MasterMode->currentText().toLatin1().toStdString(); }
// The user picking a master mode from the list.
void pickMode(frmXR_HART& d, int index) {
    d.List_MasterMode->setCurrentIndex(index);
    Q_EMIT d.List_MasterMode->activated(index);
}
// The message a download gives for the fields it left on the card.
std::string leftOnCard(const std::string& fields) { return ui::kLeftAsTheyAreText + fields; }
const std::string kEveryField =
    "Polling Address; CYCL_HIGH; CYCL_LOW; Retry; Master Mode; Device Variable Codes; Analog Channel Codes; "
    "Auto Command; Device Specific Auto Command; Constant Data";

std::string readBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void writeBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class HartDialogTest : public test::UniversalScreenTest {
public:
    void SetUp() override {
        UniversalScreenTest::SetUp();
        if (HasFatalFailure()) return;
        cardList()->setCurrentIndex(kSlot);
        waitFor([] { return !ActionsWaiting() && !ExchangeWaiting(); });
        screen = dynamic_cast<frmXR4*>(shell::childForms().screen(G().CurFormType));
        ASSERT_NE(screen, nullptr);
        settle(screen);
        std::string name = (fs::temp_directory_path() / "talvo-rhx-XXXXXX").string();
        ASSERT_NE(::mkdtemp(name.data()), nullptr);
        dir = name;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
        UniversalScreenTest::TearDown();
    }

    // Opens the dialog on channel index + 1, runs `body` in it, then Exit.
    void inDialog(int index, const std::function<void(frmXR_HART&)>& body, bool active = false) {
        bool ran = false;
        onModal([&](QDialog& d) {
            auto& dlg = dynamic_cast<frmXR_HART&>(d);
            if (active) {
                dlg.show();
                dlg.activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
            }
            sim.clearFrames();
            body(dlg);
            ran = true;
            dlg.CmdExit->click();
        });
        settle(screen);
        screen->SetHART[static_cast<std::size_t>(index)]->click();
        waitFor([&] { return ran; });
        EXPECT_TRUE(ran);
    }
    // Gives a box the focus, types a text, and moves the focus on to `next`.
    void leaveWith(QLineEdit* box, const std::string& text, QWidget* next) {
        box->setFocus();
        EXPECT_TRUE(waitFor([&] { return box->hasFocus(); }));
        setBox(box, text);
        next->setFocus();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    static Frames select4(int ch) {
        Frames f{"G00", "I01", "DF", "G00", "I41", "D00", "G00", "I41", "D4"};
        add(f, {"G" + std::to_string(ch), "I01", "DF"});
        return f;
    }
    static Frames blockReads(int ch, const hart::Block& b) {
        Frames f;
        for (int i = 0; i < b.chunks; ++i) add(f, {"G" + std::to_string(ch), std::string("I") + b.item, "D" + hart::ReadRequest(b, i)});
        return f;
    }

    frmXR4* screen = nullptr;
    fs::path dir;
};

const std::string kDvc = "0102030405060708090A0B0C0D0E0F10";
const std::string kConstant = "00112233445566778899AABBCCDDEEFF0011";
const std::string kCommands = "0001020304050607080910111213141516171819202122232425262728293031";

}  // namespace

TEST_F(HartDialogTest, UpAndDownChWrapAndEachChannelKeepsItsValues) {
    inDialog(3, [&](frmXR_HART& d) {
        EXPECT_EQ(d.HARTCh_No->title(), "HART4");
        d.tables[0][hart::PollAdd] = "1";
        d.tables[3][hart::PollAdd] = "4";
        d.Disp();
        EXPECT_EQ(shownIn(d.PollAdd), "4");
        d.CmdUpCh->click();
        EXPECT_EQ(d.HartChNo, 0);
        EXPECT_EQ(d.HARTCh_No->title(), "HART1");
        EXPECT_EQ(shownIn(d.PollAdd), "1");
        d.CmdDownCh->click();
        EXPECT_EQ(d.HartChNo, 3);
        EXPECT_EQ(shownIn(d.PollAdd), "4");
        d.CmdDownCh->click();
        d.CmdDownCh->click();
        d.CmdDownCh->click();
        EXPECT_EQ(d.HARTCh_No->title(), "HART1");
        d.CmdDownCh->click();
        EXPECT_EQ(d.HARTCh_No->title(), "HART4");
        EXPECT_TRUE(sim.frames().empty());  // switching channels sends nothing
    });
    // Opened again: every channel starts empty.
    inDialog(0, [&](frmXR_HART& d) {
        for (const hart::Channel& c : d.tables)
            for (const std::string& v : c) EXPECT_EQ(v, "");
        EXPECT_EQ(shownIn(d.PollAdd), "");
    });
}

TEST_F(HartDialogTest, UploadReadsTheItemsAndTheBlocksInChunks) {
    inDialog(0, [&](frmXR_HART& d) {
        d.CmdUpload->click();
        Frames expected = select4(1);
        for (const char* item : {"I30", "I31", "I32", "I33", "I34"}) add(expected, {"G1", item});
        for (const hart::Block& b : hart::kBlocks) add(expected, blockReads(1, b));
        EXPECT_EQ(sim.frames(), expected);
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_FALSE(d.ProgressBar->isVisible());
        const hart::Channel want{"5", "10", "6", "3", "Secondary", kDvc, "01FAFAFA", "0000111122223333", kCommands, kConstant};
        EXPECT_EQ(d.tables[0], want);
        for (int f = 0; f < hart::kFieldCount; ++f) {
            if (QLineEdit* box = d.boxOf(static_cast<hart::Field>(f))) {
                EXPECT_EQ(shownIn(box), want[static_cast<std::size_t>(f)]) << f;
            }
        }
        EXPECT_EQ(modeText(d), "Secondary");
        EXPECT_TRUE(d.CmdUpload->isEnabled());
    });
}

TEST_F(HartDialogTest, MasterModeFromItem34) {
    const std::pair<std::string, std::string> cases[] = {{"0", "Primary"}, {"1", "Secondary"}, {"2", ""}, {"x", ""}};
    for (const auto& [value, name] : cases) {
        SCOPED_TRACE(value);
        sim.setValue(kSlot, "02", 34, value);
        inDialog(1, [&](frmXR_HART& d) {
            d.CmdUpload->click();
            EXPECT_EQ(modeText(d), name);
            EXPECT_EQ(d.tables[1][hart::MasterMode], name);
        });
    }
}

TEST_F(HartDialogTest, AnUploadThatFailsStopsKeepsWhatItDidNotReadAndKeepsTheLink) {
    useFakeClock();
    struct Case {
        const char* name;
        std::string frame;  // silenced
        int boxesRead;      // fields read before the failure
    };
    const Case cases[] = {
        {"item 32", "I32", 2},
        {"a chunk of the auto command", "DR1008", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.clearFaults();
        sim.addFault(test::silence(c.frame, kSlot));
        messages.shown.clear();
        inDialog(0, [&](frmXR_HART& d) {
            for (int f = 0; f < hart::kFieldCount; ++f)
                if (QLineEdit* box = d.boxOf(static_cast<hart::Field>(f))) setBox(box, "EE");
            d.tables[0].fill("old");
            d.CmdUpload->click();
            for (int f = 0; f < hart::kFieldCount; ++f) {
                if (f == hart::MasterMode) continue;
                QLineEdit* box = d.boxOf(static_cast<hart::Field>(f));
                const bool read = f < c.boxesRead;
                EXPECT_EQ(shownIn(box) == "EE", !read) << f;
                EXPECT_EQ(d.tables[0][static_cast<std::size_t>(f)] == "old", !read) << f;
            }
            EXPECT_EQ(countFrames("DR1808"), 0u);  // nothing after the failed chunk
            EXPECT_FALSE(d.ProgressBar->isVisible());
        });
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
        EXPECT_EQ(messages.shown[0].title, "Uploading");
        EXPECT_TRUE(G().Connected);
    }
}

TEST_F(HartDialogTest, DownloadSendsTheBoxesButNoEmptyNumberAndNoUnchosenMode) {
    // Right after opening: nothing to send but the select, and every field is
    // named as left on the card.
    inDialog(2, [&](frmXR_HART& d) {
        d.CmdDownload->click();
        EXPECT_EQ(sim.frames(), (Frames{"G00", "I01", "DF", "G00", "I41", "D4", "G3", "I01", "DF"}));
        ASSERT_EQ(messages.texts(), std::vector<std::string>{leftOnCard(kEveryField)});
        EXPECT_EQ(messages.shown[0].title, "Downloading");
    });
    messages.shown.clear();
    inDialog(2, [&](frmXR_HART& d) {
        type(d.PollAdd, "7");
        type(d.Retry, "12");
        pickMode(d, 0);
        const std::string constant(20, 'C');
        type(d.ConstantData, constant);
        type(d.AnalogChCode, "0A0B");
        d.CmdDownload->click();
        Frames expected{"G00", "I01", "DF", "G00", "I41", "D4", "G3", "I01", "DF"};
        add(expected, {"G3", "I30", "D7", "G3", "I33", "D12", "G3", "I34", "D0"});
        add(expected, {"G3", "I38", "DW00040A0B"});
        add(expected, {"G3", "I41", "DW0010" + constant.substr(0, 16), "G3", "I41", "DW1004CCCC"});
        EXPECT_EQ(sim.frames(), expected);
        EXPECT_EQ(sim.value(kSlot, "03", 41), constant);
        EXPECT_EQ(messages.texts(), std::vector<std::string>{leftOnCard(
                                        "CYCL_HIGH; CYCL_LOW; Device Variable Codes; Auto Command; "
                                        "Device Specific Auto Command")});
    });
}

TEST_F(HartDialogTest, CodeBoxesTakeNoMoreThanTheirBlockHolds) {
    inDialog(0, [&](frmXR_HART& d) {
        d.DeviceVariableCode->setFocus();
        QTest::keyClicks(d.DeviceVariableCode, QString(34, 'A'));
        EXPECT_EQ(shownIn(d.DeviceVariableCode), std::string(32, 'A'));
        QTest::keyClicks(d.AnalogChCode, QString(10, 'B'));
        EXPECT_EQ(shownIn(d.AnalogChCode), std::string(8, 'B'));
        QTest::keyClicks(d.PollAdd, "1a-F2");
        EXPECT_EQ(shownIn(d.PollAdd), "12");
        QTest::keyClicks(d.ConstantData, "0aF9g");
        EXPECT_EQ(shownIn(d.ConstantData), "0F9");
    }, true);
}

TEST_F(HartDialogTest, LeavingABoxChecksItAndPadsTheBlocks) {
    inDialog(0, [&](frmXR_HART& d) {
        struct Case {
            QLineEdit* box;
            std::string text, message, shown;
        };
        std::string fa14;
        for (int i = 0; i < 14; ++i) fa14 += "FA";
        const Case cases[] = {
            {d.CYCL_LOW, "5", "Please enter 0 or 6 - 36", ""},
            {d.CYCL_LOW, "36", "", "36"},
            {d.PollAdd, "256", "Please enter 0 - 255", ""},
            {d.PollAdd, "99999999999999999999", "Please enter 0 - 255", ""},
            {d.AutoCmmand, "ABC", "Please enter 4N characters", ""},
            {d.AutoCmmand, std::string(188, 'A'), "Please enter 0 - 184 characters", ""},
            {d.DeviceVariableCode, "0102", "", "0102" + fa14},
            {d.AnalogChCode, "01", "", "01FAFAFA"},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.text);
            messages.shown.clear();
            leaveWith(c.box, c.text, d.Retry);
            if (c.message.empty()) {
                EXPECT_TRUE(messages.shown.empty());
                EXPECT_EQ(shownIn(c.box), c.shown);
            } else {
                EXPECT_EQ(messages.texts(), std::vector<std::string>{c.message});
                EXPECT_TRUE(waitFor([&] { return c.box->hasFocus(); }));
                setBox(c.box, "");
                d.Retry->setFocus();
                QCoreApplication::processEvents();
                QCoreApplication::processEvents();
            }
        }
        EXPECT_EQ(d.tables[0][hart::DeviceVariableCode], "0102" + fa14);
        EXPECT_EQ(d.tables[0][hart::CyclLow], "36");
        EXPECT_EQ(d.tables[0][hart::PollAdd], "");  // never passed
    }, true);
}

// The old fault: after "Please enter 0 - 255" the next box showed its text
// selected while the typing went back into Polling Address.
TEST_F(HartDialogTest, AfterAFailedCheckOnlyTheFailedBoxTakesTheTyping) {
    inDialog(0, [&](frmXR_HART& d) {
        setBox(d.Retry, "3");
        leaveWith(d.PollAdd, "256", d.Retry);
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Please enter 0 - 255"});
        EXPECT_TRUE(waitFor([&] { return d.PollAdd->hasFocus(); }));
        QTest::qWait(20);
        EXPECT_FALSE(d.Retry->hasSelectedText());
        QTest::keyClick(d.PollAdd, Qt::Key_Backspace);
        EXPECT_EQ(shownIn(d.Retry), "3");
    }, true);
}

TEST_F(HartDialogTest, AFailingCheckBlocksUploadDownloadAndSave) {
    inDialog(0, [&](frmXR_HART& d) {
        for (QPushButton* command : {d.CmdUpload, d.CmdDownload, d.CmdWriteFile, d.CmdUpCh}) {
            SCOPED_TRACE(command->text().toStdString());
            d.PollAdd->setFocus();
            ASSERT_TRUE(waitFor([&] { return d.PollAdd->hasFocus(); }));
            setBox(d.PollAdd, "300");
            messages.shown.clear();
            sim.clearFrames();
            command->click();  // from the keyboard: the box still has the focus
            EXPECT_EQ(messages.texts(), std::vector<std::string>{"Please enter 0 - 255"});
            EXPECT_TRUE(sim.frames().empty());
            EXPECT_TRUE(files.filters.empty());
            EXPECT_EQ(d.HartChNo, 0);
        }
    }, true);
}

TEST_F(HartDialogTest, ClearWritesCToOneItemAndResetStartsTheMaster) {
    useFakeClock();
    inDialog(0, [&](frmXR_HART& d) {
        setBox(d.ConstantData, "ABCD");
        d.CmdClear[4]->click();
        Frames expected = select4(1);
        add(expected, {"G1", "I41", "DC"});
        EXPECT_EQ(sim.frames(), expected);
        EXPECT_EQ(sim.value(kSlot, "01", 41), "");
        EXPECT_EQ(shownIn(d.ConstantData), "ABCD");

        sim.clearFrames();
        const std::int64_t before = fakeClock.now;
        d.CmdReset->click();
        expected = select4(1);
        add(expected, {"G1", "I50", "D9999"});
        EXPECT_EQ(sim.frames(), expected);
        EXPECT_GE(fakeClock.now - before, 3000);
        EXPECT_TRUE(d.CmdReset->isEnabled());
    });
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(HartDialogTest, AnUntouchedChannelSavesTheTagAndTenEmptyLines) {
    const fs::path path = dir / "ch.rhx";
    files.answers.push_back(path.string());
    inDialog(1, [&](frmXR_HART& d) { d.CmdWriteFile->click(); });
    EXPECT_TRUE(messages.shown.empty());
    std::string expected = "0\r\n";
    for (int i = 0; i < 10; ++i) expected += "\"\"\r\n";
    EXPECT_EQ(readBytes(path), expected);
    EXPECT_EQ(files.filters, std::vector<std::string>{hart::kFileFilter});
}

// The dialog adds ".rhx" before it asks about replacing a file: "ch" typed
// over an existing "ch.rhx" is asked about, and "No" keeps it.
TEST_F(HartDialogTest, ANameTypedWithoutItsExtensionOverAFileIsAskedAbout) {
    writeBytes(dir / "ch.rhx", "old");
    files.answers.push_back((dir / "ch").string());
    files.replaceAnswers = {platform::MsgResult::No};
    inDialog(1, [&](frmXR_HART& d) { d.CmdWriteFile->click(); });
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(files.replaceQuestions, std::vector<std::string>{"ch.rhx already exists.\nDo you want to replace it?"});
    EXPECT_EQ(readBytes(dir / "ch.rhx"), "old");
    EXPECT_FALSE(fs::exists(dir / "ch"));
}

TEST_F(HartDialogTest, SaveRefusesANameThatIsNoUtf8) {
    const fs::path path = dir / "ch\xFF.rhx";
    files.answers.push_back(path.string());
    inDialog(1, [&](frmXR_HART& d) { d.CmdWriteFile->click(); });
    ASSERT_EQ(messages.texts(), std::vector<std::string>{"Cannot save \"" + path.string() +
                                                         "\". The file name is not valid UTF-8 text, so the file "
                                                         "was not saved."});
    EXPECT_EQ(messages.shown[0].title, "Open Error");
    EXPECT_TRUE(fs::is_empty(dir)) << "nor under another name";
}

TEST_F(HartDialogTest, AFileSavedFromChannel1ReadsIntoChannel3) {
    const fs::path path = dir / "ch1.rhx";
    files.answers.push_back(path.string());
    files.answers.push_back(path.string());
    inDialog(0, [&](frmXR_HART& d) {
        d.CmdUpload->click();
        d.CmdWriteFile->click();
        d.CmdUpCh->click();
        d.CmdUpCh->click();
        ASSERT_EQ(d.HartChNo, 2);
        d.CmdReadFile->click();
        EXPECT_EQ(d.tables[2], d.tables[0]);
        EXPECT_EQ(shownIn(d.PollAdd), "5");
        EXPECT_EQ(modeText(d), "Secondary");
        EXPECT_EQ(shownIn(d.ConstantData), kConstant);
    });
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(HartDialogTest, ATypedMasterModeIsSavedAndReadBack) {
    const fs::path path = dir / "typed.rhx";
    files.answers.push_back(path.string());
    files.answers.push_back(path.string());
    inDialog(0, [&](frmXR_HART& d) {
        type(d.List_MasterMode->lineEdit(), "Tertiary");
        ASSERT_EQ(d.tables[0][hart::MasterMode], "Tertiary");
        d.CmdWriteFile->click();
        d.CmdUpCh->click();
        d.CmdReadFile->click();
        EXPECT_EQ(d.tables[1], d.tables[0]);
        EXPECT_EQ(modeText(d), "Tertiary");
        // A name that is no entry of the list sends nothing for item "34".
        sim.clearFrames();
        d.CmdDownload->click();
        EXPECT_EQ(countFrames("I34"), 0u);
    });
    // Read back, the mode is a value with nothing to send, the empty fields none.
    EXPECT_EQ(messages.texts(), std::vector<std::string>{leftOnCard(kEveryField)});
    EXPECT_NE(readBytes(path).find("\"Tertiary\"\r\n"), std::string::npos);
}

TEST_F(HartDialogTest, AFileThatDoesNotPassLeavesTheChannelAsItWas) {
    std::string good = "0\r\n";
    for (const char* v : {"5", "10", "6", "3", "Primary", "", "", "", "", ""}) good += std::string("\"") + v + "\"\r\n";
    struct Case {
        const char* name;
        std::string bytes;
        std::string message, title;
    };
    const fs::path path = dir / "bad.rhx";
    const Case cases[] = {
        {"tag 1", "1" + good.substr(1), "read file incomplete", "save file"},
        {"polling address 300", "0\r\n\"300\"" + good.substr(good.find("\r\n\"10\"")), "read file incomplete",
         "save file"},
        {"cut after line 6", good.substr(0, good.find("\"\"")), "Cannot load \"" + path.string() + "\". The file has 6 lines; expected 11.", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path, c.bytes);
        files.answers.push_back(path.string());
        messages.shown.clear();
        inDialog(0, [&](frmXR_HART& d) {
            d.tables[0].fill("");
            d.tables[0][hart::PollAdd] = "9";
            d.Disp();
            d.CmdReadFile->click();
            EXPECT_EQ(d.tables[0][hart::PollAdd], "9");
            EXPECT_EQ(d.tables[0][hart::MasterMode], "");
            EXPECT_EQ(shownIn(d.PollAdd), "9");
        });
        ASSERT_EQ(messages.texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(messages.shown[0].title, c.title);
        EXPECT_EQ(messages.shown[0].icon, c.title.empty() ? platform::MsgIcon::None : platform::MsgIcon::Stop);
    }
}

TEST_F(HartDialogTest, SaveRefusesAValueTheFileCannotCarryAndWritesNothing) {
    sim.setValue(kSlot, "01", 31, "1\"0");
    const fs::path path = dir / "quote.rhx";
    files.answers.push_back(path.string());
    inDialog(0, [&](frmXR_HART& d) {
        d.CmdUpload->click();
        d.CmdWriteFile->click();
    });
    ASSERT_EQ(messages.texts(),
              std::vector<std::string>{"CYCL_HIGH holds a character that cannot be saved (\" or a line break). Nothing was saved."});
    EXPECT_EQ(messages.shown[0].title, "Open Error");
    EXPECT_FALSE(fs::exists(path));
    // A cancelled dialog does nothing at all.
    files.answers.push_back("");
    messages.shown.clear();
    inDialog(0, [&](frmXR_HART& d) { d.CmdReadFile->click(); });
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(HartDialogTest, WritesTheCardDoesNotAnswerStopThereAndSaySo) {
    useFakeClock();
    // The channel's group never takes item "01" := "F": nothing may follow the select.
    k6sim::Fault f = test::silence("DF", kSlot);
    f.group = "01";
    sim.addFault(f);
    inDialog(0, [&](frmXR_HART& d) {
        type(d.PollAdd, "7");
        type(d.ConstantData, "ABCD");
        for (QPushButton* command : {d.CmdDownload, d.CmdClear[4], d.CmdReset}) {
            SCOPED_TRACE(command->objectName().toStdString());
            messages.shown.clear();
            sim.clearFrames();
            command->click();
            ASSERT_EQ(messages.texts(), std::vector<std::string>{"Downloading incomplete"});
            EXPECT_EQ(messages.shown[0].title, "Downloading");
            const Frames frames = sim.frames();
            EXPECT_EQ(frames.back(), "DF");
            for (const char* data : {"D7", "DC", "D9999"}) EXPECT_EQ(std::count(frames.begin(), frames.end(), data), 0);
            EXPECT_TRUE(command->isEnabled());
        }
    });
    EXPECT_TRUE(G().Connected);
}

namespace {

// Each kind of field of the dialog (a number box, the master mode list, a
// block box) comes to hold no value in each way there is: never read (each
// opening starts empty), refused or not used by the card at an Upload after
// one that read it (the upload goes on; the field keeps what it showed), or
// unanswered at the first Upload (which ends there, the link kept). It is
// drawn as not read, Download sends nothing for it and goes on, and names it
// (and what the upload did not reach) unless the card does not use it.
TEST_F(HartDialogTest, EachFieldKindWithoutAValueIsDrawnNotReadAndLeftByTheDownload) {
    struct Kind {
        const char* name;
        hart::Field field;
        std::string item;  // the frame the card refuses or leaves unanswered
        std::string read;  // what the first Upload shows
        std::string unansweredLeft;
        std::vector<std::string> othersSent;  // items of fields the download still sends
    };
    const Kind kinds[] = {
        {"number box", hart::PollAdd, "I30", "5", kEveryField, {"I31", "I41"}},
        {"master mode list", hart::MasterMode, "I34", "Secondary",
         "Master Mode; Device Variable Codes; Analog Channel Codes; Auto Command; Device Specific Auto Command; "
         "Constant Data",
         {"I37", "I41"}},
        {"block box", hart::ConstantData, "I41", kConstant, "Constant Data", {"I30", "I40"}},
    };
    const auto shownOf = [](frmXR_HART& d, hart::Field f) {
        return f == hart::MasterMode ? modeText(d) : shownIn(d.boxOf(f));
    };
    const auto controlOf = [](frmXR_HART& d, hart::Field f) -> QLineEdit* {
        return f == hart::MasterMode ? d.List_MasterMode->lineEdit() : d.boxOf(f);
    };
    const int cardKey[] = {30, 31, 32, 33, 34, 37, 38, 39, 40, 41};
    // The frames that name the item in channel 1's group (item "41" of group "00" selects the card).
    const auto inGroup1 = [&](const std::string& item) {
        const Frames frames = sim.frames();
        std::size_t n = 0;
        for (std::size_t i = 0; i + 1 < frames.size(); ++i) n += frames[i] == "G1" && frames[i + 1] == item;
        return n;
    };
    const auto onItem = [&](const std::string& item, k6sim::FaultAction action, const std::string& reply) {
        k6sim::Fault f = test::fault(item, kSlot, action, reply);
        f.group = "01";
        sim.addFault(f);
    };
    useFakeClock();
    for (const Kind& k : kinds)
        for (const NoValueCase& c : kNoValueCases) {
            SCOPED_TRACE(std::string(k.name) + ", " + c.name);
            sim.clearFaults();
            sim.setValue(kSlot, "01", 30, "5");
            sim.setValue(kSlot, "01", 34, "1");
            sim.setValue(kSlot, "01", 41, kConstant);
            messages.shown.clear();
            inDialog(0, [&](frmXR_HART& d) {
                if (c.way == Way::Refused || c.way == Way::Needless) {
                    d.CmdUpload->click();
                    ASSERT_EQ(shownOf(d, k.field), k.read);
                    ASSERT_FALSE(DrawnUnread(controlOf(d, k.field)));
                    onItem(k.item, k6sim::FaultAction::Reply, c.reply);
                    d.CmdUpload->click();
                    EXPECT_TRUE(messages.shown.empty());
                    EXPECT_EQ(shownOf(d, k.field), k.read);  // kept, as the card's value no more
                } else if (c.way == Way::Unanswered) {
                    onItem(k.item, k6sim::FaultAction::Silence, "");
                    d.CmdUpload->click();
                    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
                    EXPECT_TRUE(G().Connected);
                    EXPECT_EQ(shownOf(d, k.field), "");
                }
                QLineEdit* control = controlOf(d, k.field);
                EXPECT_TRUE(DrawnUnread(control));
                EXPECT_EQ(control->palette().color(QPalette::Active, QPalette::Text), QColor(0x80, 0x80, 0x80));

                sim.clearFaults();
                messages.shown.clear();
                for (int key : cardKey) sim.setValue(kSlot, "01", key, "card");
                sim.clearFrames();
                d.CmdDownload->click();
                EXPECT_EQ(sim.value(kSlot, "01", cardKey[k.field]), "card");
                EXPECT_EQ(inGroup1(k.item), 0u);
                const std::string named = c.way == Way::Needless   ? ""
                                          : c.way == Way::Refused  ? leftOnCard(hart::FieldName(k.field))
                                          : c.way == Way::NeverRead ? leftOnCard(kEveryField)
                                                                    : leftOnCard(k.unansweredLeft);
                EXPECT_EQ(messages.texts(), named.empty() ? std::vector<std::string>{} : std::vector<std::string>{named});
                if (c.way == Way::Refused || c.way == Way::Needless) {
                    for (const std::string& other : k.othersSent) {
                        EXPECT_GT(inGroup1(other), 0u) << other;
                    }
                }
            });
        }
}

// A channel saved to a file after the card refused its polling address holds
// the text the box showed; opened again, the file's text is a value whether it
// is that text or another, and an empty field is none.
TEST_F(HartDialogTest, AFileSavedAroundARefusalGivesValuesOfItsTextsAndNoneOfAnEmptyField) {
    const fs::path path = dir / "refused.rhx";
    struct Case {
        const char* name;
        std::string pollAdd;  // in the file read back
        bool sent;
    };
    const Case cases[] = {{"the same text", "5", true}, {"another text", "7", true}, {"an empty field", "", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.clearFaults();
        sim.setValue(kSlot, "01", 30, "5");
        messages.shown.clear();
        files.answers = {path.string(), path.string()};
        inDialog(0, [&](frmXR_HART& d) {
            d.CmdUpload->click();
            replyTo("I30", kSlot, "CNG");
            d.CmdUpload->click();
            ASSERT_TRUE(DrawnUnread(d.PollAdd));
            d.CmdWriteFile->click();
            std::string bytes = readBytes(path);
            ASSERT_EQ(bytes.substr(0, 8), "0\r\n\"5\"\r\n");
            writeBytes(path, "0\r\n\"" + c.pollAdd + "\"\r\n" + bytes.substr(8));
            d.CmdReadFile->click();
            EXPECT_EQ(shownIn(d.PollAdd), c.pollAdd);
            EXPECT_EQ(DrawnUnread(d.PollAdd), !c.sent);
            EXPECT_FALSE(DrawnUnread(d.ConstantData));

            sim.clearFaults();
            sim.setValue(kSlot, "01", 30, "card");
            d.CmdDownload->click();
            EXPECT_EQ(sim.value(kSlot, "01", 30), c.sent ? c.pollAdd : "card");
            EXPECT_EQ(sim.value(kSlot, "01", 41), kConstant);
        });
        EXPECT_EQ(messages.texts(),
                  c.sent ? std::vector<std::string>{} : std::vector<std::string>{leftOnCard("Polling Address")});
    }
}

// The master mode list takes typed text: the open list highlights the entry
// the box shows, read or typed, and none for a text that is no entry.
TEST_F(HartDialogTest, TheOpenMasterModeListHighlightsTheEntryShown) {
    struct Case {
        bool typed;  // else read from the card
        std::string text;
        int row;  // -1: none
    };
    const Case cases[] = {{true, "Secondary", 1}, {false, "0", 0}, {true, "Tertiary", -1}, {false, "1", 1},
                          {true, "Primary", 0}};
    inDialog(0, [&](frmXR_HART& d) {
        QComboBox* list = d.List_MasterMode;
        for (const Case& c : cases) {
            SCOPED_TRACE(c.text);
            if (c.typed) {
                type(list->lineEdit(), c.text);
            } else {
                sim.setValue(kSlot, "01", 34, c.text);
                d.CmdUpload->click();
            }
            list->showPopup();
            ASSERT_TRUE(QTest::qWaitFor([&] { return list->view()->isVisible(); }));
            const QModelIndexList selected = list->view()->selectionModel()->selectedIndexes();
            EXPECT_EQ(selected.size() == 1 ? selected[0].row() : -1, c.row);
            list->hidePopup();
            ASSERT_TRUE(QTest::qWaitFor([&] { return !list->view()->isVisible(); }));
            EXPECT_FALSE(DrawnUnread(list->lineEdit()));
        }
    });
}

// What a field holds belongs to its channel: Up Ch and Down Ch show each
// channel's fields drawn as they hold, and the user's edit gives a value to
// the field of the channel shown only.
TEST_F(HartDialogTest, EachChannelsFieldsHoldWhatTheirOwnReadsAndEditsGave) {
    inDialog(0, [&](frmXR_HART& d) {
        k6sim::Fault f = test::fault("I30", kSlot, k6sim::FaultAction::Reply, "CNG");
        f.group = "01";
        sim.addFault(f);
        d.CmdUpload->click();
        ASSERT_TRUE(messages.shown.empty());
        EXPECT_TRUE(DrawnUnread(d.PollAdd));
        EXPECT_FALSE(DrawnUnread(d.CYCL_HIGH));
        d.CmdUpCh->click();
        EXPECT_TRUE(DrawnUnread(d.PollAdd));
        EXPECT_TRUE(DrawnUnread(d.CYCL_HIGH));  // channel 2: never read
        d.PollAdd->setFocus();
        ASSERT_TRUE(waitFor([&] { return d.PollAdd->hasFocus(); }));
        type(d.PollAdd, "9");
        EXPECT_FALSE(DrawnUnread(d.PollAdd));
        d.CmdDownCh->click();
        EXPECT_TRUE(DrawnUnread(d.PollAdd));
        EXPECT_FALSE(DrawnUnread(d.CYCL_HIGH));
        d.CmdUpCh->click();
        EXPECT_EQ(shownIn(d.PollAdd), "9");
        EXPECT_FALSE(DrawnUnread(d.PollAdd));
        sim.clearFrames();
        d.CmdDownload->click();
        // The dialog shown as a window: the command runs from the event loop.
        ASSERT_TRUE(waitFor([&] { return !messages.shown.empty(); }));
        Frames expected{"G00", "I01", "DF", "G00", "I41", "D4", "G2", "I01", "DF", "G2", "I30", "D9"};
        EXPECT_EQ(sim.frames(), expected);
    }, true);
    const std::string rest = kEveryField.substr(std::string("Polling Address; ").size());
    EXPECT_EQ(messages.texts(), std::vector<std::string>{leftOnCard(rest)});
}

}  // namespace
