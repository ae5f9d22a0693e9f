// The dialog toolkit headless: key filters that govern paste, the dotted
// address, the button guard, the lost-focus checks, the dialog's commands, a
// close asked for while one runs, and a link lost under it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <tuple>

#include "core/Globals.h"
#include "core/KeyFilters.h"
#include "core/MainView.h"
#include "platform/Services.h"
#include "tests/support/Fakes.h"
#include "ui/DialogBoxes.h"
#include "ui/DialogValues.h"
#include "ui/SettingsDialog.h"

using namespace talvo;

namespace {

std::string textOf(const QLineEdit& b) { return ui::text(&b); }

TEST(DialogBoxes, KeyFilterGovernsTypedAndPastedText) {
    QLineEdit box;
    ui::FilterKeys(&box, FilterKeyDigits);
    QTest::keyClicks(&box, "1a2");
    EXPECT_EQ(textOf(box), "12");
    box.insert("3x");  // a paste that holds a character the filter drops is refused whole
    EXPECT_EQ(textOf(box), "12");
    box.insert("34");
    EXPECT_EQ(textOf(box), "1234");
    QApplication::clipboard()->setText("9z");
    box.paste();
    EXPECT_EQ(textOf(box), "1234");
    QApplication::clipboard()->setText("56");
    box.paste();
    EXPECT_EQ(textOf(box), "123456");
    box.insert(QString::fromUtf8("\xe2\x82\xac"));  // "€": no single byte for it
    EXPECT_EQ(textOf(box), "123456");
}

TEST(DialogBoxes, FilterSeesWhereEachCharacterGoesIn) {
    QLineEdit box;
    ui::FilterKeys(&box, FilterKeySignedInteger);
    box.insert("-5");
    EXPECT_EQ(textOf(box), "-5");
    box.insert("-");  // a second minus, at the end
    EXPECT_EQ(textOf(box), "-5");
    box.setCursorPosition(0);
    box.insert("-");  // in front of the one there
    EXPECT_EQ(textOf(box), "-5");
    // Text the program puts in is not filtered; typing after it checks only the new characters.
    ui::setText(&box, "abc");
    box.end(false);
    box.insert("1");
    EXPECT_EQ(textOf(box), "abc1");
}

TEST(DialogBoxes, HexFilterTakesUpperCaseOnly) {
    QLineEdit box;
    ui::FilterKeys(&box, FilterKeyHex);
    QTest::keyClicks(&box, "0aAfF9g");
    EXPECT_EQ(textOf(box), "0AF9");
}

TEST(DialogBoxes, DottedAddressOrderAndShortTexts) {
    QWidget parent;
    ui::DottedAddress a;
    for (auto& b : a.boxes) b = new QLineEdit(&parent);
    a.set("10.1.2.3");
    EXPECT_EQ(textOf(*a.boxes[3]), "10");
    EXPECT_EQ(textOf(*a.boxes[2]), "1");
    EXPECT_EQ(textOf(*a.boxes[1]), "2");
    EXPECT_EQ(textOf(*a.boxes[0]), "3");
    EXPECT_EQ(a.text(), "10.1.2.3");
    EXPECT_EQ(a.firstEmpty(), nullptr);
    a.set("10.1");  // fewer than three dots: what there is, from the first octet on
    EXPECT_EQ(textOf(*a.boxes[3]), "10");
    EXPECT_EQ(textOf(*a.boxes[2]), "1");
    EXPECT_EQ(textOf(*a.boxes[1]), "");
    EXPECT_EQ(a.firstEmpty(), a.boxes[1]);
    a.set("");
    EXPECT_EQ(a.text(), "...");
}

TEST(DialogBoxes, ButtonGuardHoldsNest) {
    QPushButton a, b;
    ui::ButtonGuard g;
    g.setButtons({&a, &b});
    {
        ui::ButtonGuard::Hold outer(g);
        EXPECT_FALSE(a.isEnabled());
        {
            ui::ButtonGuard::Hold inner(g);
        }
        EXPECT_FALSE(b.isEnabled()) << "an inner hold gives nothing back";
    }
    EXPECT_TRUE(a.isEnabled());
    EXPECT_TRUE(b.isEnabled());
}

// A box checked by its row: the message on failure with the text left as it
// was, a passing Hex text rewritten.
TEST(DialogBoxes, CheckFieldShowsTheRowsMessageOrWhatTheCheckMade) {
    test::RecordingMessageBox messages;
    platform::ScopedServices scope(platform::Services{.messages = &messages});
    const ui::FieldCheck cpu{.kind = ui::FieldKind::Hex, .maxChars = 4, .min = 0, .max = 0xFFFF,
                             .message = "Processor No.:Please enter number 0000 - FFFF"};
    // What the user types into a box bound to its setting.
    QLineEdit box;
    ui::BindSetting(&box, {17, "cpu", 0});
    const auto type = [&box](const std::string& t) {
        ui::setText(&box, t);
        Q_EMIT box.textEdited(box.text());
    };
    type("00ff");
    EXPECT_TRUE(ui::CheckField(&box, cpu));
    EXPECT_EQ(textOf(box), "FF");
    type("G1");
    EXPECT_FALSE(ui::CheckField(&box, cpu));
    EXPECT_EQ(textOf(box), "G1");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{cpu.message});
}

// What a reply shows in a box that only displays it: never a refusal's text.
TEST(DialogValues, ShownTextOfRepliesAndRefusals) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"K6-OW1:RUN", "RUN", "VRUN"}, {"2.04", "2.04", "V2.04"}, {"", "", ""},
        {"CNG", "", ""},               {"NEEDLESS", "", ""},      {"x:CNG", "CNG", "VCNG"},
    };
    for (const auto& [reply, shown, version] : cases) {
        EXPECT_EQ(ui::ShownText(reply), shown) << reply;
        EXPECT_EQ(ui::ShownText("V", reply), version) << reply;
    }
}

// A bound box without a value keeps its text, drawn grey. A read, the record
// or the user's own typing gives it a value; the text the program puts in it
// never does, not even the text it had. (Changed on purpose: any text set by
// the program used to make a value.)
TEST(DialogValues, ABoundBoxHoldsWhatAReadTheRecordOrTheUserGaveIt) {
    ui::Values().connected();
    QLineEdit box;
    ui::BindSetting(&box, {17, "box", 0});
    EXPECT_FALSE(ui::HasValue(&box)) << "nothing read yet";
    EXPECT_TRUE(ui::ShowRead(&box, "x:55"));
    EXPECT_TRUE(ui::HasValue(&box));
    const QColor valueText = box.palette().color(QPalette::Active, QPalette::Text);
    for (const char* refusal : {"CNG", "NEEDLESS", ""}) {
        EXPECT_FALSE(ui::ShowRead(&box, refusal));
        EXPECT_EQ(textOf(box), "55") << refusal;
        EXPECT_FALSE(ui::HasValue(&box)) << refusal;
        EXPECT_NE(box.palette().color(QPalette::Active, QPalette::Text), valueText);
        ui::setText(&box, "55");  // the program's own text: still no value
        EXPECT_FALSE(ui::HasValue(&box));
        EXPECT_TRUE(ui::ShowRead(&box, "x:55"));
        EXPECT_EQ(box.palette().color(QPalette::Active, QPalette::Text), valueText);
    }
    ui::MarkNoValue(&box);
    ui::MarkNoValue(&box);  // twice: the value's look is kept once
    box.setFocus();
    QTest::keyClicks(&box, "6");
    EXPECT_TRUE(ui::HasValue(&box)) << "typed by the user";
    EXPECT_EQ(box.palette().color(QPalette::Active, QPalette::Text), valueText);

    QLineEdit recorded;
    ui::BindSetting(&recorded, {17, "recorded", 0});
    ui::ShowRecorded(&recorded, "");
    EXPECT_TRUE(ui::DrawnUnread(&recorded)) << "an empty record field is no value";
    ui::ShowRecorded(&recorded, "9");
    EXPECT_FALSE(ui::DrawnUnread(&recorded)) << "a record field with a text is one";
    ui::Values().set({17, "recorded", 0}, ui::Held::Refused);
    ui::ShowRecorded(&recorded, "9");
    EXPECT_TRUE(ui::DrawnUnread(&recorded)) << "unless a read since said otherwise";
    ui::Values().fileOpened();
    ui::ShowRecorded(&recorded, "9");
    EXPECT_FALSE(ui::DrawnUnread(&recorded)) << "a file opened: what the record holds";
}

// A disabled control drawn while its setting changes state keeps the colours
// an enabled control has: enabled again, a value reads in the normal colour.
TEST(DialogValues, DrawingADisabledControlKeepsTheEnabledColours) {
    QLineEdit box;
    const QColor normal = box.palette().color(QPalette::Active, QPalette::Text);
    box.setEnabled(false);
    ui::DrawHeld(&box, ui::Held::NotRead);
    ui::DrawHeld(&box, ui::Held::Value);
    box.setEnabled(true);
    EXPECT_EQ(box.palette().color(QPalette::Active, QPalette::Text), normal);
}

// (Changed on purpose: the program's setChecked used to give a value.)
TEST(DialogValues, ABoundCheckBoxWithoutAValueIsPartlyCheckedUntilTheUserSetsIt) {
    ui::Values().connected();
    QCheckBox box;
    ui::BindSetting(&box, {17, "switch", 0});
    EXPECT_EQ(box.checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(ui::HasValue(&box));
    box.click();
    EXPECT_TRUE(ui::HasValue(&box));
    EXPECT_FALSE(box.isTristate());
    EXPECT_EQ(box.checkState(), Qt::Checked);
    ui::MarkNoValue(&box);
    EXPECT_EQ(box.checkState(), Qt::PartiallyChecked);
    box.setChecked(false);  // the program's own change
    EXPECT_FALSE(ui::HasValue(&box));
    ui::DrawBound(&box);
    EXPECT_EQ(box.checkState(), Qt::PartiallyChecked);
}

// The four boxes of an address are one setting: the user's edit in one gives
// all four their value; the program's text in them gives none.
TEST(DialogValues, AnAddressIsOneSetting) {
    ui::Values().connected();
    QWidget parent;
    ui::DottedAddress a;
    for (auto& b : a.boxes) b = new QLineEdit(&parent);
    ui::BindSetting(a, {17, "address", 0});
    a.set("10.1.2.3");
    EXPECT_FALSE(ui::HasValue(a));
    EXPECT_EQ(a.text(), "10.1.2.3");
    for (QLineEdit* b : a.boxes) EXPECT_TRUE(ui::DrawnUnread(b));
    a.boxes[1]->setFocus();
    QTest::keyClicks(a.boxes[1], "9");
    EXPECT_TRUE(ui::HasValue(a)) << "an edit in one box gives all four their value";
    for (QLineEdit* b : a.boxes) EXPECT_FALSE(ui::DrawnUnread(b));
    ui::MarkNoValue(a);
    a.set("10.1.2.3");
    EXPECT_FALSE(ui::HasValue(a));
}

// A dialog's own file: a field with a text is a value whatever the setting held;
// an empty field is none, except that an item the card does not use stays so.
TEST(DialogValues, AFilesFieldGivesAValueAndAnEmptyOneNoneButLeavesAnItemTheCardDoesNotUse) {
    struct Case {
        ui::Held before;
        const char* field;
        ui::Held after;
    };
    const Case cases[] = {
        {ui::Held::Value, "5", ui::Held::Value},       {ui::Held::Refused, "5", ui::Held::Value},
        {ui::Held::Needless, "5", ui::Held::Value},    {ui::Held::Value, "", ui::Held::NotRead},
        {ui::Held::Refused, "", ui::Held::NotRead},    {ui::Held::NotRead, "", ui::Held::NotRead},
        {ui::Held::Needless, "", ui::Held::Needless},
    };
    const ui::ValueKey key{17, "file", 0};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.before)) + " '" + c.field + "'");
        ui::Values().connected();
        ui::Values().set(key, c.before);
        ui::Values().loaded(key, std::string(c.field));
        EXPECT_EQ(ui::Values().of(key), c.after);
    }
}

TEST(DialogValues, LeftAsTheyAreNamesEachSettingOnceWithItsMembers) {
    test::RecordingMessageBox messages;
    platform::ScopedServices scope(platform::Services{.messages = &messages});
    ui::LeftAsTheyAre none;
    none.tell();
    EXPECT_TRUE(messages.shown.empty()) << "nothing left: nothing told";
    ui::LeftAsTheyAre left;
    left.add("Time (0.1sec)");
    left.add("In Slot", "1");
    left.add("In Slot", "3");
    left.add("Time (0.1sec)");
    EXPECT_EQ(left.list(), "Time (0.1sec); In Slot 1, 3");
    left.tell();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, std::string(ui::kLeftAsTheyAreText) + "Time (0.1sec); In Slot 1, 3");
    EXPECT_EQ(messages.shown[0].title, "Downloading");
    EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Information);
}

// A box without a value has nothing to check: tabbing through it shows no message.
TEST(DialogValues, CheckFieldPassesABoxWithoutAValue) {
    test::RecordingMessageBox messages;
    platform::ScopedServices scope(platform::Services{.messages = &messages});
    const ui::FieldCheck net{.kind = ui::FieldKind::Number, .min = 1, .max = 239, .message = "bad"};
    ui::Values().connected();
    QLineEdit box;
    ui::BindSetting(&box, {17, "net", 0});
    EXPECT_TRUE(ui::CheckField(&box, net));
    box.setFocus();
    QTest::keyClicks(&box, "1");
    QTest::keyClick(&box, Qt::Key_Backspace);  // the user's own edit, to an empty box
    EXPECT_FALSE(ui::CheckField(&box, net));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"bad"});
}

// A dialog with two checked boxes, an ordinary command and an exit button.
class CheckedDialog : public ui::SettingsDialog {
public:
    CheckedDialog() : ui::SettingsDialog(nullptr) {
        setObjectName("CheckedDialog");
        a = new QLineEdit(this);
        b = new QLineEdit(this);
        plain = new QLineEdit(this);
        go = new QPushButton("Go", this);
        go->setObjectName("go");
        exit = new QPushButton("Exit", this);
        a->move(0, 0);
        b->move(0, 40);
        plain->move(0, 80);
        go->move(0, 120);
        exit->move(0, 160);
        buttons().setButtons({go, exit});
        checks().watch(a, [this] { return check(a, "A bad"); });
        checks().watch(b, [this] { return check(b, "B bad"); });
        onCommand(go, [this] {
            Running run(*this);
            busyDuringRun = busy() && !go->isEnabled() && !exit->isEnabled();
            if (during) during();
            ++runs;
        });
        onExit(exit);
    }
    bool check(QLineEdit* box, const char* message) {
        if (box->text() != "bad") return true;
        ui::ShowEntryMessage(message);
        return false;
    }
    QLineEdit *a, *b, *plain;
    QPushButton *go, *exit;
    int runs = 0;
    bool busyDuringRun = false;
    std::function<void()> during;  // what happens while the command runs
};

// A port that went away under the program (a hang-up closed it).
class GonePort : public platform::SerialPort {
public:
    bool open(int, const std::string&) override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
    bool write(const std::string&) override { return false; }
    int bytesWaiting() override { return -1; }
    std::string readAll() override { return {}; }
    void waitForInput(int) override {}
    void setWholeLines(bool) override {}
    void dropInput() override {}
};

class FocusChecksTest : public ::testing::Test {
protected:
    void SetUp() override {
        scope_ = std::make_unique<platform::ScopedServices>(platform::Services{.messages = &messages});
        G().Connected = true;  // the dialogs are opened over a connected station
        d.show();
        d.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    }
    // Moves the focus as a click or Tab would, and lets the deferred check run.
    void focus(QWidget* w) {
        w->setFocus(Qt::TabFocusReason);
        QTest::qWait(20);
    }
    void TearDown() override { G() = Globals{}; }
    test::RecordingMessageBox messages;
    std::unique_ptr<platform::ScopedServices> scope_;
    CheckedDialog d;
};

TEST_F(FocusChecksTest, LeavingAnInvalidBoxShowsItsMessageOnceAndReturnsTheFocus) {
    focus(d.a);
    ui::setText(d.a, "bad");
    focus(d.plain);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"A bad"});
    EXPECT_EQ(QApplication::focusWidget(), d.a);
}

// The old fault: after "A bad" the box the focus had gone on to showed its
// text selected, while the typing went back into A.
TEST_F(FocusChecksTest, TheBoxTheFocusWentOnToKeepsNoSelection) {
    ui::SelectAllOnFocus(d.plain);
    ui::setText(d.plain, "12");
    focus(d.a);
    ui::setText(d.a, "bad");
    focus(d.plain);
    QTest::qWait(20);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"A bad"});
    EXPECT_EQ(QApplication::focusWidget(), d.a);
    EXPECT_FALSE(d.plain->hasSelectedText());
    // A box that keeps the focus still gets its text selected.
    ui::setText(d.a, "good");
    focus(d.plain);
    EXPECT_EQ(QApplication::focusWidget(), d.plain);
    EXPECT_EQ(d.plain->selectedText(), "12");
}

TEST_F(FocusChecksTest, TwoInvalidBoxesDoNotSendTheFocusBackAndForth) {
    ui::setText(d.b, "bad");
    focus(d.a);
    ui::setText(d.a, "bad");
    focus(d.b);
    QTest::qWait(100);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"A bad"}) << "B is never checked: it only had the focus for a moment";
    EXPECT_EQ(QApplication::focusWidget(), d.a);
}

TEST_F(FocusChecksTest, ExitAndOtherWindowsSkipTheCheck) {
    focus(d.a);
    ui::setText(d.a, "bad");
    focus(d.exit);
    EXPECT_TRUE(messages.shown.empty());
    focus(d.a);
    // A message box or another program taking the focus.
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(d.a, &out);
    QTest::qWait(20);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FocusChecksTest, ACommandChecksTheBoxFirstAndDoesNotActOnAnInvalidOne) {
    focus(d.a);
    ui::setText(d.a, "bad");
    d.go->click();  // given from the keyboard: the box still has the focus
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"A bad"});
    EXPECT_EQ(d.runs, 0);
    ui::setText(d.a, "good");
    d.go->click();
    EXPECT_EQ(d.runs, 1);
    EXPECT_TRUE(d.busyDuringRun) << "the commands are off and the dialog busy while one runs";
    EXPECT_TRUE(d.go->isEnabled());
    EXPECT_TRUE(d.exit->isEnabled());
    d.exit->click();
    EXPECT_FALSE(d.isVisible());
}

// The old fault: Exit, Esc or the frame's close while a transfer waited was
// dropped without a sign.
TEST_F(FocusChecksTest, ClosingWhileACommandRunsClosesOnceItHasEndedWithAWaitCursorMeanwhile) {
    for (const char* way : {"Exit", "Esc", "frame"}) {
        SCOPED_TRACE(way);
        d.show();
        bool visibleAfterAsking = false;
        d.during = [&] {
            if (std::string(way) == "Exit") d.reject();  // the button is off; Esc and Exit both come here
            if (std::string(way) == "Esc") QTest::keyClick(&d, Qt::Key_Escape);
            if (std::string(way) == "frame") d.close();
            visibleAfterAsking = d.isVisible() && d.closeAsked() && d.cursor().shape() == Qt::WaitCursor;
        };
        d.go->click();
        EXPECT_TRUE(visibleAfterAsking) << "kept while the command runs, with the wait cursor";
        ASSERT_TRUE(QTest::qWaitFor([&] { return !d.isVisible(); }, 1000)) << "closed once it ended";
        EXPECT_FALSE(d.closeAsked());
        EXPECT_NE(d.cursor().shape(), Qt::WaitCursor);
    }
}

// The old fault: after a transfer on a dead line the window went on showing
// "Connected" over a closed port, and the dialog's transfers could be clicked.
TEST_F(FocusChecksTest, ALinkLostDuringACommandShowsTheDisconnectedStateAndTurnsTheLineCommandsOff) {
    MainViewState view;
    setMainView(&view);
    view.setLink(colors::LampGreen, "COM1", "Connected");
    GonePort gone;
    d.during = [&] { platform::services().serial = &gone; };
    d.go->click();
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(view.statusText, "Disconnected");
    EXPECT_FALSE(d.go->isEnabled()) << "a command that needs the line";
    EXPECT_TRUE(d.exit->isEnabled());
    d.go->click();
    EXPECT_EQ(d.runs, 1);
    setMainView(nullptr);
}

}  // namespace
