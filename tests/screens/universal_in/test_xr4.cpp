// The HART input card screen against the simulator: each channel in its own
// group, Download's form checks, the lost-focus range checks, the Unused combo,
// and the screen's cycle around the HART master dialog.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QImage>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdlib>

#include "core/LineTurn.h"
#include "platform/qt/Modal.h"
#include "screens/skeleton/CardScreen.h"
#include "screens/universal_in/frmXR4.h"
#include "screens/universal_in/frmXR_HART.h"
#include "tests/screens/universal_in/UniversalFixture.h"
#include "tests/support/Contrast.h"

using namespace talvo;
using namespace talvo::screens;

namespace {

constexpr int kSlot = 4;

std::size_t at(int ch) { return static_cast<std::size_t>(ch - 1); }
std::string g(int ch) { return std::to_string(ch); }
QLineEdit* unusedBox(frmXR4* s, int ch) { return s->List_ChEnable[at(ch)]->lineEdit(); }
QColor background(const QComboBox* l) { return l->palette().color(QPalette::Button); }
// The user picking an entry of a list.
void userPicks(QComboBox* l, int index) {
    l->setCurrentIndex(index);
    Q_EMIT l->activated(index);
}
// The message a download gives for the settings it left on the card.
std::string leftOnCard(const std::string& settings) { return ui::kLeftAsTheyAreText + settings; }

class XR4Test : public test::UniversalScreenTest {
public:
    frmXR4* open() {
        cardList()->setCurrentIndex(kSlot);
        waitFor([] { return !ActionsWaiting() && !ExchangeWaiting(); });
        auto* s = dynamic_cast<frmXR4*>(shell::childForms().screen(G().CurFormType));
        EXPECT_NE(s, nullptr) << G().CurFormType;
        if (s) settle(s);
        return s;
    }
    // Reads of one group: the opening write, then the items.
    static Frames readGroup(int ch, std::initializer_list<const char*> items) {
        Frames f{"G" + g(ch), "I01", "D1"};
        for (const char* item : items) add(f, {"G" + g(ch), std::string("I") + item});
        return f;
    }
    // A new link, then the screen entered afresh: nothing read before holds.
    frmXR4* fresh() {
        connectAndUpload();
        messages.shown.clear();
        return open();
    }
    static Frames writeGroup(int ch, std::initializer_list<std::pair<const char*, std::string>> writes) {
        Frames f{"G" + g(ch), "I01", "D1"};
        for (const auto& [item, data] : writes) add(f, {"G" + g(ch), std::string("I") + item, "D" + data});
        return f;
    }
};

}  // namespace

TEST_F(XR4Test, EntryShowsEachUnusedComboAtZeroOnGreenAndTheRecord) {
    CardRecord& r = record(kSlot);
    r.Param.set(1, "-5");
    r.Param.set(16, "1.5");
    r.ChOption.set(2, "1");
    sim.clearFrames();
    frmXR4* s = open();
    ASSERT_NE(s, nullptr);
    Frames expected = selectFrames(kSlot);
    add(expected, {"G00", "I40"});
    add(expected, selectFrames(kSlot));
    for (const char* item : {"I10", "I11", "I12", "I13"}) add(expected, {"G00", item});
    EXPECT_EQ(sim.frames(), expected);
    EXPECT_EQ(text(s->txtZScale[0]), "-5");
    EXPECT_EQ(text(s->txtGain[3]), "1.5");
    for (int ch = 1; ch <= 4; ++ch) {
        SCOPED_TRACE(ch);
        EXPECT_EQ(s->List_ChEnable[at(ch)]->count(), 2);
        EXPECT_EQ(text(unusedBox(s, ch)), ch == 2 ? "1" : "0");
        EXPECT_EQ(background(s->List_ChEnable[at(ch)]), ch == 2 ? QColor(255, 0, 0) : QColor(0, 128, 0));
        EXPECT_EQ(text(s->Text1[at(ch)]), " 4-20 mA");
    }
    EXPECT_EQ(text(s->txtParData[2]), "+0030");  // the decimal point removed
    EXPECT_EQ(s->waitForTimer().interval(), 500);
}

TEST_F(XR4Test, UploadReadsEachChannelInItsOwnGroup) {
    frmXR4* s = open();
    sim.clearFrames();
    upload(s);
    Frames expected = selectFrames(kSlot);
    for (int ch = 1; ch <= 4; ++ch) add(expected, readGroup(ch, {"17", "18", "14", "15"}));
    for (int ch = 1; ch <= 4; ++ch) add(expected, readGroup(ch, {"27"}));
    EXPECT_EQ(sim.frames(), expected);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(window->progress(), 8);
    const CardRecord& r = record(kSlot);
    for (int ch = 1; ch <= 4; ++ch) {
        SCOPED_TRACE(ch);
        const std::string zero = ch == 2 ? "-100" : "0";
        EXPECT_EQ(text(s->txtZScale[at(ch)]), zero);
        EXPECT_EQ(r.Param[4 * ch - 3], zero);
        EXPECT_EQ(r.Param[4 * ch - 2], "10000");
        EXPECT_EQ(r.Param[4 * ch - 1], "0.00");
        EXPECT_EQ(r.Param[4 * ch], "1.0000");
        EXPECT_EQ(text(unusedBox(s, ch)), ch == 3 ? "1" : "0");
        EXPECT_EQ(r.ChOption[ch], ch == 3 ? "1" : "0");
        EXPECT_EQ(background(s->List_ChEnable[at(ch)]), ch == 3 ? QColor(255, 0, 0) : QColor(0, 128, 0));
    }
    EXPECT_EQ(r.Param[17], "");
    EXPECT_EQ(r.CardType, "XR4");
    EXPECT_EQ(r.Version, "1.05");
}

TEST_F(XR4Test, DownloadSendsWhatPassesItsFormAndRefillsTheRestFromTheRecord) {
    frmXR4* s = open();
    upload(s);
    type(s->txtZScale[0], "");          // empty: not sent
    type(s->txtFScale[0], "-");         // a lone sign: not sent (the form check alone would pass it)
    type(s->txtBias[1], ".");           // not sent
    type(s->txtGain[0], "3.20001");     // passes the form, though not the range of the lost-focus check
    type(s->txtZScale[3], "12");
    type(unusedBox(s, 2), "2");         // neither "0" nor "1"
    userPicks(s->List_ChEnable[2], 0);  // channel 3 back in use
    sim.clearFrames();
    download(s);
    Frames expected = selectFrames(kSlot);
    add(expected, writeGroup(1, {{"14", "0.00"}, {"15", "3.20001"}}));
    add(expected, writeGroup(2, {{"17", "-100"}, {"18", "10000"}, {"15", "1.0000"}}));
    add(expected, writeGroup(3, {{"17", "0"}, {"18", "10000"}, {"14", "0.00"}, {"15", "1.0000"}}));
    add(expected, writeGroup(4, {{"17", "12"}, {"18", "10000"}, {"14", "0.00"}, {"15", "1.0000"}}));
    add(expected, writeGroup(1, {{"27", "0"}}));
    add(expected, writeGroup(2, {}));
    add(expected, writeGroup(3, {{"27", "0"}}));
    add(expected, writeGroup(4, {{"27", "0"}}));
    EXPECT_EQ(sim.frames(), expected);
    // What it did not send it names, by the captions the screen shows.
    ASSERT_EQ(messages.texts(), std::vector<std::string>{leftOnCard(
                                    "Zero Scale Ch.1; Full Scale Ch.1; Zero Adjust Ch.2; Unused Ch.2")});
    EXPECT_EQ(messages.shown[0].title, "Downloading");
    const CardRecord& r = record(kSlot);
    EXPECT_EQ(text(s->txtZScale[0]), "0");
    EXPECT_EQ(text(s->txtFScale[0]), "10000");
    EXPECT_EQ(text(s->txtBias[1]), "0.00");
    EXPECT_EQ(r.Param[4], "3.20001");
    EXPECT_EQ(r.Param[13], "12");
    EXPECT_EQ(text(unusedBox(s, 2)), "0");  // the stored flag again
    EXPECT_EQ(r.ChOption[3], "0");
    EXPECT_EQ(sim.value(kSlot, "03", 27), "0");
}

TEST_F(XR4Test, AnUnusedReplyOtherThanZeroOrOneIsKeptAsGivenAndNeverSent) {
    const QColor green(0, 128, 0), red(255, 0, 0);
    struct Case {
        std::string reply;
        QColor colour;
        bool sent;
    };
    const Case cases[] = {
        {"0", green, true}, {"1", red, true}, {"2", red, false}, {"01", red, false}, {"", red, false}, {"0", green, true},
    };
    frmXR4* s = open();
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.reply + "\"");
        sim.setValue(kSlot, "02", 27, c.reply);
        upload(s);
        EXPECT_EQ(text(unusedBox(s, 2)), c.reply);
        EXPECT_EQ(record(kSlot).ChOption[2], c.reply);
        EXPECT_EQ(background(s->List_ChEnable[1]), c.colour);

        sim.setValue(kSlot, "02", 27, "card");
        sim.clearFrames();
        messages.shown.clear();
        download(s);
        EXPECT_EQ(countFrames("I27"), c.sent ? 4u : 3u);  // channels 1, 3 and 4 hold "0" or "1"
        EXPECT_EQ(sim.value(kSlot, "02", 27), c.sent ? c.reply : "card");
        EXPECT_EQ(text(unusedBox(s, 2)), c.reply);
        EXPECT_EQ(record(kSlot).ChOption[2], c.reply);
        EXPECT_EQ(background(s->List_ChEnable[1]), c.colour);
        // A flag with nothing to send is named as left on the card.
        EXPECT_EQ(messages.texts(), c.sent ? std::vector<std::string>{}
                                           : std::vector<std::string>{leftOnCard("Unused Ch.2")});
    }
}

// The old fault: the box showed the card's "1" while the list's current entry
// stayed "0", so the list opened with "0" highlighted. Whether the text came
// from the card or was typed, the open list highlights the entry shown, and
// none for a text that is no entry.
TEST_F(XR4Test, TheOpenUnusedListHighlightsTheEntryShown) {
    struct Case {
        bool typed;  // else read from the card
        std::string shown;
        int row;  // -1: no entry highlighted
    };
    const Case cases[] = {
        {false, "1", 1}, {false, "0", 0}, {false, "2", -1}, {true, "1", 1}, {true, "0", 0},
    };
    frmXR4* s = open();
    ASSERT_NE(s, nullptr);
    QComboBox* list = s->List_ChEnable[1];
    QAbstractItemView* view = list->view();
    // Navy, as the style draws it (a shade or two off).
    const auto highlighted = [](const QColor& c) {
        return c.red() < 16 && c.green() < 16 && std::abs(c.blue() - 128) < 16;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.typed ? "typed " : "read ") + c.shown);
        if (c.typed) {
            unusedBox(s, 2)->setFocus();
            unusedBox(s, 2)->selectAll();
            QTest::keyClicks(unusedBox(s, 2), QString::fromLatin1(c.shown.c_str()));
        } else {
            sim.setValue(kSlot, "02", 27, c.shown);
            upload(s);
        }
        ASSERT_EQ(text(unusedBox(s, 2)), c.shown);
        list->showPopup();
        ASSERT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }));
        const QModelIndexList selected = view->selectionModel()->selectedIndexes();
        EXPECT_EQ(selected.size() == 1 ? selected[0].row() : -1, c.row);
        if (c.row >= 0) {
            EXPECT_EQ(view->currentIndex().row(), c.row);
        }
        const QImage drawn = view->viewport()->grab().toImage();
        for (int row = 0; row < 2; ++row) {
            SCOPED_TRACE(row);
            const QRect entry = view->visualRect(view->model()->index(row, 0));
            ASSERT_FALSE(entry.isEmpty());
            const test::TextColours drawnEntry = test::SampleText(drawn, entry);
            EXPECT_EQ(highlighted(drawnEntry.back), row == c.row) << drawnEntry.back.name().toStdString();
            EXPECT_GE(drawnEntry.ratio, 4.5);
        }
        list->hidePopup();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isVisible(); }));
        EXPECT_EQ(text(unusedBox(s, 2)), c.shown);  // opening and closing the list changed nothing
    }
}

TEST_F(XR4Test, AFailedUnusedWriteKeepsTheChoiceAndTheStoredFlag) {
    frmXR4* s = open();
    upload(s);
    type(s->txtZScale[2], "5");  // so that channel 3's only "D0" is its Unused flag
    s->List_ChEnable[2]->setCurrentIndex(0);
    sim.clearFrames();
    k6sim::Fault f = test::fault("D0", kSlot, k6sim::FaultAction::Reply, "CNG");
    f.group = "03";
    sim.addFault(f);
    download(s);
    ASSERT_EQ(messages.texts(), std::vector<std::string>{"Downloading incomplete"});
    EXPECT_EQ(messages.shown[0].title, "Downloading");
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(text(unusedBox(s, 3)), "0");
    EXPECT_EQ(record(kSlot).ChOption[3], "1");
    EXPECT_EQ(record(kSlot).Param[9], "5");  // taken by the card before
    EXPECT_EQ(countFrames("G4"), 5u);          // channel 4's first pass only
}

TEST_F(XR4Test, UploadFromACardThatStopsAnsweringKeepsWhatWasNotRead) {
    frmXR4* s = open();
    CardRecord& r = record(kSlot);
    for (int i = 1; i <= 16; ++i) r.Param.set(i, "old");
    for (QLineEdit* b : s->txtGain) type(b, "old");
    useFakeClock();
    k6sim::Fault f = test::silence("I15", kSlot);
    f.group = "02";
    sim.addFault(f);
    upload(s);
    ASSERT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(r.Param[4], "1.0000");
    EXPECT_EQ(r.Param[8], "old");
    EXPECT_EQ(text(s->txtGain[1]), "old");
}

TEST_F(XR4Test, LostFocusChecksTheRangeAndKeepsTheFocusInTheBox) {
    frmXR4* s = open();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    struct Case {
        QLineEdit* box;
        std::string text, message;  // "" passes
    };
    const std::string scale = "Please enter number -32000 - 32000";
    const std::string bias = "Please enter number -320.00 - 320.00";
    const std::string gain = "Please enter number -3.2000 - 3.2000";
    const Case cases[] = {
        {s->txtZScale[0], "-32000", ""},
        {s->txtZScale[0], "32001", scale},
        {s->txtFScale[1], "-", scale},
        {s->txtFScale[1], std::string(40, '9'), scale},  // far beyond any number: no overflow
        {s->txtFScale[1], "", ""},
        {s->txtBias[2], "320", ""},
        {s->txtBias[2], "-320.01", bias},
        {s->txtBias[2], ".", bias},
        {s->txtGain[3], "3.2", ""},
        {s->txtGain[3], "-3.2", ""},
        {s->txtGain[3], "3.20001", gain},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        messages.shown.clear();
        c.box->setFocus();
        ASSERT_TRUE(waitFor([&] { return c.box->hasFocus(); }));
        type(c.box, c.text);
        QLineEdit* other = s->txtParData[0];  // a box with no check of its own
        other->setFocus();
        if (c.message.empty()) {
            ASSERT_TRUE(waitFor([&] { return other->hasFocus(); }));
            // The check runs from the event loop, after the focus has settled.
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            EXPECT_TRUE(messages.shown.empty());
        } else {
            ASSERT_TRUE(waitFor([&] { return !messages.shown.empty(); }));
            EXPECT_EQ(messages.texts(), std::vector<std::string>{c.message});
            EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Information);
            EXPECT_EQ(messages.shown[0].title, "");
            EXPECT_TRUE(waitFor([&] { return c.box->hasFocus(); }));
        }
        type(c.box, "");
        other->setFocus();
        ASSERT_TRUE(waitFor([&] { return other->hasFocus(); }));
        QCoreApplication::processEvents();
    }

    // With an invalid box left for the button, Download asks for nothing.
    s->txtGain[0]->setFocus();
    ASSERT_TRUE(waitFor([&] { return s->txtGain[0]->hasFocus(); }));
    type(s->txtGain[0], "9");
    messages.shown.clear();
    settle(s);
    sim.clearFrames();
    s->downloadButton()->click();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{gain});
    settle(s);
    EXPECT_EQ(countFrames("I01"), countFrames("G00"));  // only live reads, no group opened
}

TEST_F(XR4Test, LiveReadWithAnUnansweredItemDisconnectsAndKeepsEveryBox) {
    frmXR4* s = open();
    for (QLineEdit* b : s->txtParData) type(b, "old");
    useFakeClock();
    sim.addFault(test::silence("I12", kSlot));
    ASSERT_TRUE(waitFor([&] { return !G().Connected; }));
    settle(s);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
    EXPECT_EQ(messages.shown[0].title, "Uploading");
    EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Stop);
    for (QLineEdit* b : s->txtParData) EXPECT_EQ(text(b), "old");
}

TEST_F(XR4Test, NoTicksWhileTheHartDialogIsOpenAndTicksAgainAfter) {
    frmXR4* s = open();
    int shownOn = -1;
    bool timerWasOff = false, buttonsWereOff = false;
    std::size_t framesInDialog = 0;
    onModal([&](QDialog& d) {
        auto& dlg = dynamic_cast<frmXR_HART&>(d);
        shownOn = dlg.HartChNo;
        timerWasOff = !s->waitForTimer().isActive();
        buttonsWereOff = std::none_of(s->SetHART.begin(), s->SetHART.end(), [](QPushButton* b) { return b->isEnabled(); });
        const std::size_t before = sim.frames().size();
        QTest::qWait(700);  // longer than a cycle: no live read may come meanwhile
        framesInDialog = sim.frames().size() - before;
        dlg.CmdExit->click();
    });
    s->SetHART[2]->click();
    EXPECT_EQ(shownOn, 2);
    EXPECT_TRUE(timerWasOff);
    EXPECT_TRUE(buttonsWereOff);
    EXPECT_EQ(framesInDialog, 0u);
    EXPECT_EQ(s->hartDialog(), nullptr);
    for (QPushButton* b : s->SetHART) EXPECT_TRUE(b->isEnabled());
    EXPECT_TRUE(s->waitForTimer().isActive());
    sim.clearFrames();
    EXPECT_TRUE(waitFor([&] { return countFrames("I13") > 0; }, 2000));

    // Closed by its frame instead of Exit: the same.
    settle(s);
    onModal([&](QDialog& d) { d.close(); });
    s->SetHART[0]->click();
    EXPECT_EQ(s->hartDialog(), nullptr);
    for (QPushButton* b : s->SetHART) EXPECT_TRUE(b->isEnabled());
    EXPECT_TRUE(s->waitForTimer().isActive());
}

TEST_F(XR4Test, TheDialogOpensOnlyOnceTheRunningTickIsOver) {
    frmXR4* s = open();
    k6sim::Fault slow = test::fault("I11", kSlot, k6sim::FaultAction::Delay);
    slow.delayMs = 30;
    sim.addFault(slow);
    sim.clearFrames();
    bool clickedInTick = false, exchangeWhenShown = true;
    Frames framesWhenShown;
    onModal([&](QDialog& d) {
        exchangeWhenShown = ExchangeWaiting() || s->busy();
        framesWhenShown = sim.frames();
        dynamic_cast<frmXR_HART&>(d).CmdExit->click();
    });
    when([&] { return countFrames("I11") > 0 && ExchangeWaiting(); },
             [&] {
                 clickedInTick = true;
                 s->SetHART[0]->click();
             });
    ASSERT_TRUE(waitFor([&] { return !framesWhenShown.empty(); }, 3000));
    EXPECT_TRUE(clickedInTick);
    EXPECT_FALSE(exchangeWhenShown);
    ASSERT_GE(framesWhenShown.size(), 2u);
    EXPECT_EQ(framesWhenShown.back(), "I13");  // the tick ran to its end first
}

namespace {

// The first upload: the card refuses channel 3's Unused flag and says it does
// not use channel 3's zero scale. Neither is sent, and the download goes on to
// the end; only the refused flag is named as left on the card.
TEST_F(XR4Test, ARefusedOrNeedlessItemIsNotSentAndTheDownloadGoesOn) {
    frmXR4* s = open();
    k6sim::Fault unused = test::fault("I27", kSlot, k6sim::FaultAction::Reply, "CNG");
    unused.group = "03";
    k6sim::Fault zero = test::fault("I17", kSlot, k6sim::FaultAction::Reply, "CNU");
    zero.group = "03";
    sim.addFault(unused);
    sim.addFault(zero);
    upload(s);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(DrawnUnread(unusedBox(s, 3)));
    EXPECT_TRUE(DrawnUnread(s->txtZScale[2]));
    EXPECT_FALSE(DrawnUnread(unusedBox(s, 2)));

    sim.clearFaults();
    sim.setValue(kSlot, "03", 27, "card");
    sim.setValue(kSlot, "03", 17, "card");
    sim.clearFrames();
    download(s);
    EXPECT_TRUE(G().Connected);
    EXPECT_EQ(sim.value(kSlot, "03", 27), "card");
    EXPECT_EQ(sim.value(kSlot, "03", 17), "card");
    EXPECT_GT(countFrames("G4"), 0u) << "channel 4 is written after it";
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("Unused Ch.3"), std::string::npos) << messages.shown[0].text;
    EXPECT_EQ(messages.shown[0].text.find("17"), std::string::npos) << messages.shown[0].text;
}

// Each kind of control of the screen (a box, the Unused list) comes to hold
// no value in each way there is: never read (the list's "0" is the program's
// own), refused, not used by the card, or unanswered (the link goes; on the
// next one nothing read before holds). It is drawn as not read, the download
// sends nothing for it and goes on, and names it unless the card does not use
// it.
TEST_F(XR4Test, EachControlKindWithoutAValueIsDrawnNotReadAndLeftByTheDownload) {
    struct Kind {
        const char* name;
        std::string item;
        QLineEdit* (*control)(frmXR4*);
        std::string caption, unread, read;  // what it shows never read, and read
    };
    const Kind kinds[] = {
        {"box", "17", [](frmXR4* s) { return s->txtZScale[2]; }, "Zero Scale Ch.3", "", "0"},
        {"list", "27", [](frmXR4* s) { return unusedBox(s, 3); }, "Unused Ch.3", "0", "1"},
    };
    const std::string allLeft =
        "Zero Scale Ch.1, Ch.2, Ch.3, Ch.4; Full Scale Ch.1, Ch.2, Ch.3, Ch.4; Zero Adjust Ch.1, Ch.2, Ch.3, Ch.4; "
        "Full Adjust Ch.1, Ch.2, Ch.3, Ch.4; Unused Ch.1, Ch.2, Ch.3, Ch.4";
    const QColor greys[] = {QColor(0x80, 0x80, 0x80), QColor(0xE0, 0xE0, 0xE0)};
    useFakeClock();
    for (const Kind& k : kinds)
        for (const NoValueCase& c : kNoValueCases) {
            SCOPED_TRACE(std::string(k.name) + ", " + c.name);
            sim.clearFaults();
            for (const Kind& each : kinds) sim.setValue(kSlot, "03", std::stoi(each.item), each.read);
            frmXR4* s = fresh();
            ASSERT_NE(s, nullptr);
            if (c.way != Way::NeverRead) {
                upload(s);
                ASSERT_EQ(text(k.control(s)), k.read);
                ASSERT_FALSE(DrawnUnread(k.control(s)));
                k6sim::Fault f = c.way == Way::Unanswered ? test::silence("I" + k.item, kSlot)
                                                          : test::fault("I" + k.item, kSlot, k6sim::FaultAction::Reply, c.reply);
                f.group = "03";
                sim.addFault(f);
                upload(s);
                if (c.way == Way::Unanswered) {
                    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
                    EXPECT_FALSE(G().Connected);
                    sim.clearFaults();
                    s = fresh();
                }
                EXPECT_TRUE(messages.shown.empty());
            }
            const bool readBefore = c.way == Way::Refused || c.way == Way::Needless;
            QLineEdit* control = k.control(s);
            EXPECT_EQ(text(control), readBefore ? k.read : k.unread);
            EXPECT_TRUE(DrawnUnread(control));
            const QColor drawn = control->palette().color(QPalette::Active, QPalette::Text);
            EXPECT_TRUE(drawn == greys[0] || drawn == greys[1]) << drawn.name().toStdString();

            sim.clearFaults();
            sim.setValue(kSlot, "03", std::stoi(k.item), "card");
            sim.clearFrames();
            download(s);
            EXPECT_TRUE(G().Connected);
            EXPECT_EQ(sim.value(kSlot, "03", std::stoi(k.item)), "card");
            const std::string named = c.way == Way::Needless  ? ""
                                      : c.way == Way::Refused ? leftOnCard(k.caption)
                                                              : leftOnCard(allLeft);
            EXPECT_EQ(messages.texts(), named.empty() ? std::vector<std::string>{} : std::vector<std::string>{named});
            if (readBefore) {
                EXPECT_GT(countFrames("G4"), 0u) << "channel 4 is written after it";
            }
        }
}

// The Unused flag of a record never read shows "0" as the program's own: grey
// on green at every entry, not only the first; an Upload gives it the white
// of a value.
TEST_F(XR4Test, ANeverReadUnusedFlagStaysGreyAtEveryEntry) {
    const QColor white(255, 255, 255);
    for (int entry = 1; entry <= 2; ++entry) {
        SCOPED_TRACE(entry);
        cardList()->setCurrentIndex(0);
        frmXR4* s = open();
        ASSERT_NE(s, nullptr);
        for (int ch = 1; ch <= 4; ++ch) {
            EXPECT_TRUE(DrawnUnread(unusedBox(s, ch))) << ch;
            EXPECT_NE(unusedBox(s, ch)->palette().color(QPalette::Active, QPalette::Text), white) << ch;
        }
    }
    frmXR4* s = open();
    upload(s);
    for (int ch = 1; ch <= 4; ++ch) {
        EXPECT_FALSE(DrawnUnread(unusedBox(s, ch))) << ch;
        EXPECT_EQ(unusedBox(s, ch)->palette().color(QPalette::Active, QPalette::Text), white) << ch;
    }
}

// A settings file saved after the card refused every Unused flag holds the
// flags the record kept; opened again, each flag the file fills is a value,
// the text the refused read kept as much as another, and an empty one is none
// (its "0" the program's own).
TEST_F(XR4Test, ASettingsFileSavedAroundARefusalGivesValuesOfItsFlagsAndNoneOfAnEmptyOne) {
    frmXR4* s = open();
    upload(s);
    replyTo("I27", kSlot, "CNG");
    upload(s);
    sim.clearFaults();
    for (int ch = 1; ch <= 4; ++ch) ASSERT_TRUE(DrawnUnread(unusedBox(s, ch))) << ch;
    // Channel 1 as read, channel 3 another flag, channel 4 none.
    CardRecord& r = record(kSlot);
    ASSERT_EQ(r.ChOption[3], "1");
    r.ChOption.set(3, "0");
    r.ChOption.set(4, "");
    QTemporaryDir dir;
    const std::string path = dir.filePath("station.uJx").toStdString();
    cardList()->setCurrentIndex(0);
    files.answers.push_back(path);
    menu("mnuFilesSave")->trigger();
    files.answers.push_back(path);
    menu("mnuFilesOpen")->trigger();
    s = open();
    for (int ch = 1; ch <= 4; ++ch) {
        EXPECT_EQ(text(unusedBox(s, ch)), "0") << ch;
        EXPECT_EQ(DrawnUnread(unusedBox(s, ch)), ch == 4) << ch;
    }
    for (int ch = 1; ch <= 4; ++ch) sim.setValue(kSlot, "0" + g(ch), 27, "card");
    messages.shown.clear();
    download(s);
    for (int ch = 1; ch <= 4; ++ch) EXPECT_EQ(sim.value(kSlot, "0" + g(ch), 27), ch == 4 ? "card" : "0") << ch;
    EXPECT_EQ(messages.texts(), std::vector<std::string>{leftOnCard("Unused Ch.4")});
}

}  // namespace
