// The screens' text boxes on their own: characters the station's single-byte
// text cannot carry stay out of every box, typed or pasted; the Unused flags'
// colours.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "core/Colors.h"
#include "core/KeyFilters.h"
#include "screens/skeleton/CardScreen.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

using namespace talvo;
using namespace talvo::screens;

namespace {

// A card screen with one box made the plain way, as some screens make theirs.
class BareScreen : public CardScreen {
public:
    BareScreen() : CardScreen("K6-TEST"), plain(new QLineEdit(body())) {}
    QLineEdit* plain;
};

// One typed character, as a keyboard layout that has it sends it.
void typeChar(QLineEdit* box, const QString& ch) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, ch);
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, ch);
    QApplication::sendEvent(box, &release);
}

void pasteByMenu(QLineEdit* box) { box->paste(); }  // what the box's context menu runs
void pasteByKeys(QLineEdit* box) { QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier); }

struct Box {
    const char* name;
    QLineEdit* box;
};

class TextBoxesTest : public ::testing::Test {
protected:
    void SetUp() override {
        screen.ensurePolished();
        boxes = {
            {"signed decimal", newSettingBox(&screen, FilterKeySignedDecimal)},
            {"binary, one character", newSettingBox(&screen, FilterKeyBinary, 1)},
            {"no filter", newSettingBox(&screen, nullptr)},
            {"no filter, one character", newSettingBox(&screen, nullptr, 1)},
            {"plain box of a card screen", screen.plain},
        };
        screen.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    }

    // Starts from "1" with the caret at its end, runs `edit`, and gives the text;
    // `changed` tells whether the box reported an edit by the user.
    static std::string afterEdit(QLineEdit* box, const std::function<void(QLineEdit*)>& edit, bool& changed) {
        box->setFocus();
        setBoxText(box, "1");
        box->setCursorPosition(1);
        QSignalSpy spy(box, &QLineEdit::textEdited);
        edit(box);
        changed = spy.count() > 0;
        return boxText(box);
    }

    BareScreen screen;
    std::vector<Box> boxes;
};

TEST_F(TextBoxesTest, NoBoxTakesACharacterOutsideLatin1TypedOrPasted) {
    const struct {
        const char* name;
        std::function<void(QLineEdit*)> edit;
        QString clipboard;
    } edits[] = {
        {"typed euro sign", [](QLineEdit* b) { typeChar(b, QStringLiteral("\u20AC")); }, ""},
        {"typed character beyond U+FFFF", [](QLineEdit* b) { typeChar(b, QStringLiteral("\U0001F600")); }, ""},
        {"typed Greek letter", [](QLineEdit* b) { typeChar(b, QStringLiteral("\u03B1")); }, ""},
        {"pasted euro sign", pasteByMenu, QStringLiteral("\u20AC")},
        {"pasted digits around a euro sign", pasteByMenu, QStringLiteral("1\u20AC0")},
        {"pasted with Ctrl+V", pasteByKeys, QStringLiteral("\u20AC")},
    };
    for (const Box& b : boxes) {
        for (const auto& e : edits) {
            SCOPED_TRACE(std::string(b.name) + ": " + e.name);
            QApplication::clipboard()->setText(e.clipboard);
            bool changed = true;
            EXPECT_EQ(afterEdit(b.box, e.edit, changed), "1");
            EXPECT_FALSE(changed);
            EXPECT_EQ(b.box->text(), QStringLiteral("1"));
        }
    }
}

// Latin-1 characters go as their own byte: the box's filter and length alone decide.
TEST_F(TextBoxesTest, Latin1LettersAreLeftToTheBoxFilter) {
    const struct {
        const char* box;
        const char* typed;   // "1" then a typed "é"
        const char* pasted;  // "1" then "é5" pasted by the context menu; boxes without a filter only
    } cases[] = {
        {"signed decimal", "1", nullptr},
        {"binary, one character", "1", nullptr},
        {"no filter", "1\xE9", "1\xE9" "5"},
        {"no filter, one character", "1", "1"},
        {"plain box of a card screen", "1\xE9", "1\xE9" "5"},
    };
    ASSERT_EQ(std::size(cases), boxes.size());
    QApplication::clipboard()->setText(QStringLiteral("\u00E9" "5"));
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        SCOPED_TRACE(boxes[i].name);
        ASSERT_STREQ(cases[i].box, boxes[i].name);
        bool changed = false;
        EXPECT_EQ(afterEdit(boxes[i].box, [](QLineEdit* b) { typeChar(b, QStringLiteral("\u00E9")); }, changed),
                  cases[i].typed);
        if (cases[i].pasted) {
            EXPECT_EQ(afterEdit(boxes[i].box, pasteByMenu, changed), cases[i].pasted);
        }
    }
}

TEST_F(TextBoxesTest, TextPutInByTheProgramStaysAsItIs) {
    for (const Box& b : boxes) {
        SCOPED_TRACE(b.name);
        setBoxText(b.box, "25\xB0" "C");
        EXPECT_EQ(boxText(b.box), std::string("25\xB0" "C").substr(0, static_cast<std::size_t>(b.box->maxLength())));
    }
}

TEST(ShowBitText, WhiteOnRedForOneElseWhiteOnGreen) {
    QWidget parent;
    QLineEdit* box = newSettingBox(&parent, nullptr, 1);
    const struct {
        const char* value;
        const char* shown;
        std::uint32_t back;
    } cases[] = {{"1", "1", colors::Red}, {"0", "0", colors::Green}, {"", "0", colors::Green}, {"x", "0", colors::Green}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        ShowBitText(box, c.value);
        EXPECT_EQ(boxText(box), c.shown);
        EXPECT_EQ(box->palette().color(QPalette::Base), ui::toQColor(c.back));
        EXPECT_EQ(box->palette().color(QPalette::Text), QColor(Qt::white));
    }
}

TEST(DisplayBoxes, GreyDisplayBoxIsLockedOnTheButtonFace) {
    QWidget parent;
    QLineEdit* grey = newGreyDisplayBox(&parent);
    QLineEdit* locked = newLockedBox(&parent);
    EXPECT_TRUE(grey->isReadOnly());
    EXPECT_EQ(grey->palette().color(QPalette::Base), ui::toQColor(colors::SysButtonFace));
    EXPECT_EQ(locked->palette().color(QPalette::Base), parent.palette().color(QPalette::Base));
}

}  // namespace
