// The 8-channel temperature screen: where each setting lives on the card and in
// the record, its model variants, and the zero-offset dialog of the "HG8A" cards.
#include <gtest/gtest.h>

#include <QTimer>
#include <functional>

#include "core/LineTurn.h"
#include "core/OwedStops.h"
#include "screens/analog_in/frmHG8.h"
#include "screens/analog_in/frmHG8Azero.h"
#include "tests/screens/ScreenFixture.h"
#include "tests/screens/analog_in/LeftList.h"

using namespace talvo;
using namespace talvo::screens;
using Frames = std::vector<std::string>;

namespace {

// One setting of every channel: its boxes, where the card keeps it, where the record does.
struct Field {
    std::vector<QLineEdit*> frmHG8::*boxes;
    const char* group;
    int itemPerCh, itemBase, paramPerCh, paramBase;
    const char* tag;  // names the value that marks the field's place
};
const Field kFields[] = {
    {&frmHG8::txtZScale, "01", 2, 40, 4, -3, "zs"}, {&frmHG8::txtFScale, "01", 2, 41, 4, -2, "fs"},
    {&frmHG8::txtBias, "01", 2, 8, 4, -1, "za"},    {&frmHG8::txtGain, "01", 2, 9, 4, 0, "fa"},
    {&frmHG8::txtZBase, "02", 2, 8, 2, 31, "zb"},   {&frmHG8::txtFBase, "02", 2, 9, 2, 32, "fb"},
};

constexpr int kHG8 = 5, kHG8A = 6;  // slots of the default station

class Hg8Test : public test::ScreenTest {
protected:
    static std::string mark(const Field& f, int ch) { return f.tag + std::to_string(ch); }
    static QLineEdit* box(frmHG8* s, const Field& f, int ch) { return (s->*f.boxes)[static_cast<std::size_t>(ch - 1)]; }

    // Gives the card in `slot` another model code and version, as if another card sat there.
    void replaceCard(int slot, const std::string& code, const std::string& version) {
        k6sim::Station st = sim.station();
        st.slot(slot).code = code;
        st.slot(slot).version = version;
        sim.setStation(st);
        record(slot).CardType = code;
        cardList()->setCurrentIndex(0);
    }

    // Answers the zero-offset dialog with `drive`, which gets the dialog after its first reads.
    void onZeroDialog(std::function<void(frmHG8Azero&)> drive) {
        onModal([this, drive](QDialog& d) {
            ++dialogsOpened;
            drive(dynamic_cast<frmHG8Azero&>(d));
        });
    }
    int dialogsOpened = 0;

    // Frames that name `item` while `group` is the current group.
    std::size_t countItem(const std::string& group, int item) const {
        std::size_t n = 0;
        std::string current;
        for (const std::string& f : sim.frames()) {
            if (f[0] == 'G') current = f.substr(1);
            n += current == group && f == "I" + std::to_string(item);
        }
        return n;
    }
};

}  // namespace

TEST_F(Hg8Test, UploadAndDownloadLayout) {
    for (int ch = 1; ch <= 8; ++ch) {
        for (const Field& f : kFields) sim.setValue(kHG8A, f.group, f.itemPerCh * ch + f.itemBase, mark(f, ch));
        sim.setValue(kHG8A, "02", ch + 41, ch % 3 ? "0" : "1");
    }
    sim.setValue(kHG8A, "00", 56, "ENA");
    auto* s = pick<frmHG8>(kHG8A);
    upload(s);
    const CardRecord& r = record(kHG8A);
    for (int ch = 1; ch <= 8; ++ch) {
        SCOPED_TRACE(ch);
        for (const Field& f : kFields) {
            EXPECT_EQ(text(box(s, f, ch)), mark(f, ch));
            EXPECT_EQ(r.Param[f.paramPerCh * ch + f.paramBase], mark(f, ch));
        }
        EXPECT_EQ(text(s->txtEnable[static_cast<std::size_t>(ch - 1)]), ch % 3 ? "0" : "1");
        EXPECT_EQ(r.ChOption[ch], ch % 3 ? "0" : "1");
    }
    for (int unused : {49, 63}) EXPECT_EQ(r.Param[unused], "");
    EXPECT_TRUE(s->chkLimit->isChecked());
    EXPECT_EQ(r.Param[64], "1");
    EXPECT_EQ(window->progress(), 12);

    // Download: any non-empty text goes to the card as typed; an empty box is not sent.
    for (int ch = 1; ch <= 8; ++ch)
        for (const Field& f : kFields) type(box(s, f, ch), "n" + mark(f, ch));
    type(s->txtGain[4], "abc");  // letters too
    type(s->txtZBase[2], "");
    type(s->txtEnable[0], "1");
    type(s->txtEnable[1], "x");  // sent as typed; the echo is not "1", so the box shows "0"
    type(s->txtEnable[7], "");
    record(kHG8A).ChOption.set(8, "");
    s->chkLimit->setChecked(false);
    sim.clearFrames();
    download(s);
    for (int ch = 1; ch <= 8; ++ch) {
        SCOPED_TRACE(ch);
        for (const Field& f : kFields) {
            if (f.boxes == &frmHG8::txtGain && ch == 5) continue;
            if (f.boxes == &frmHG8::txtZBase && ch == 3) continue;
            EXPECT_EQ(sim.value(kHG8A, f.group, f.itemPerCh * ch + f.itemBase), "n" + mark(f, ch));
            EXPECT_EQ(r.Param[f.paramPerCh * ch + f.paramBase], "n" + mark(f, ch));
        }
    }
    EXPECT_EQ(sim.value(kHG8A, "01", 19), "abc");
    EXPECT_EQ(r.Param[20], "abc");
    EXPECT_EQ(sim.value(kHG8A, "02", 14), "zb3");
    EXPECT_EQ(text(s->txtZBase[2]), "zb3");
    EXPECT_EQ(sim.value(kHG8A, "02", 42), "1");
    EXPECT_EQ(sim.value(kHG8A, "02", 43), "x");
    EXPECT_EQ(text(s->txtEnable[1]), "0");
    EXPECT_EQ(r.ChOption[2], "0");
    EXPECT_EQ(countItem("02", 49), 0u);
    EXPECT_EQ(text(s->txtEnable[7]), "");  // the record's empty text, as it is
    EXPECT_EQ(sim.value(kHG8A, "00", 56), "0");
    EXPECT_EQ(r.Param[64], "0");
    EXPECT_EQ(window->progress(), 12);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{test::LeftMessage("Zero Base Ch.3; Unused Ch.8")});
}

TEST_F(Hg8Test, VariantsShareTheScreen) {
    struct Case {
        std::string code, version;
        bool zeroOffset, limit;
        bool known = true;  // whether the screen knows if the card has the limit
    };
    // An "HG8" card with an empty version may have the limit or not: it is
    // neither read nor emptied. (Changed on purpose: it counted as "no limit".)
    const Case cases[] = {
        {"HG8A", "0.5", true, true},  {"HG8", "0.5", false, false}, {"HG8", "1.0", false, true},
        {"UB8", "2.0", false, false}, {"HG8A1", "", true, true},    {"HG8", "", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code + " " + c.version);
        replaceCard(kHG8, c.code, c.version);
        record(kHG8).Param.set(64, "1");
        sim.clearFrames();
        auto* s = pick<frmHG8>(kHG8);
        EXPECT_EQ(s->modelFrame()->title().toStdString(), c.code);
        EXPECT_EQ(!s->zeroDeg->isHidden(), c.zeroOffset);
        EXPECT_EQ(s->zeroDeg->isEnabled(), c.zeroOffset);
        EXPECT_EQ(s->HasLimitFunction(), c.limit);
        EXPECT_EQ(s->chkLimit->isEnabled(), c.limit);
        EXPECT_EQ(s->chkLimit->checkState(), c.limit ? Qt::Checked : c.known ? Qt::Unchecked : Qt::PartiallyChecked);
        // The opener reads the version, the eight input types, burnout and unit.
        const Frames reads = {"I40", "I25", "I26", "I27", "I28", "I29", "I30", "I31", "I32", "I20", "I19"};
        Frames got;
        for (const std::string& f : sim.frames())
            if (f.size() == 3 && f[0] == 'I' && f != "I01" && f != "I41" && got.size() < reads.size()) got.push_back(f);
        EXPECT_EQ(got, reads);
        EXPECT_EQ(text(s->txtInputType[7]), "K");
        EXPECT_EQ(text(s->txtUnit), "degC");

        sim.clearFrames();
        upload(s);
        EXPECT_EQ(record(kHG8).Param[64], c.limit ? "0" : c.known ? "" : "1");
        EXPECT_EQ(countItem("00", 56), c.limit ? 1u : 0u);
        sim.clearFrames();
        download(s);
        EXPECT_EQ(countItem("00", 56), c.limit ? 1u : 0u);
    }
}

TEST_F(Hg8Test, ZeroOffsetDialogTraffic) {
    for (int i = 0; i < 8; ++i) sim.setValue(kHG8A, "03", 50 + i, "0.0" + std::to_string(i + 1));
    auto* s = pick<frmHG8>(kHG8A);
    settle(s);
    Frames opened, measured, cleared;
    bool cycleOffInside = false;
    onZeroDialog([&](frmHG8Azero& d) {
        cycleOffInside = !s->waitForTimer().isActive();
        opened = sim.frames();
        for (int i = 0; i < 8; ++i) EXPECT_EQ(text(d.ch_Text[static_cast<std::size_t>(i)]), "0.0" + std::to_string(i + 1));
        sim.clearFrames();
        d.ch[2]->click();
        measured = sim.frames();
        EXPECT_EQ(text(d.ch_Text[2]), "1");  // what the card answered to the write
        EXPECT_TRUE(d.ch[2]->isEnabled());
        sim.clearFrames();
        d.Clear->click();
        cleared = sim.frames();
        for (QLineEdit* b : d.ch_Text) EXPECT_EQ(text(b), "0.00");
        d.cmdExit->click();
    });
    sim.clearFrames();
    s->zeroDeg->click();
    EXPECT_EQ(dialogsOpened, 1);
    EXPECT_TRUE(cycleOffInside);
    Frames expectOpen = {"G00", "I01", "DF", "G00", "I41", "D6", "G03", "I01", "DF"};
    for (int i = 0; i < 8; ++i) expectOpen.insert(expectOpen.end(), {"G03", "I" + std::to_string(50 + i)});
    EXPECT_EQ(opened, expectOpen);
    EXPECT_EQ(measured, (Frames{"G03", "I52", "D1"}));
    Frames expectClear = {"G00", "I01", "DF", "G00", "I41", "D6", "G03", "I01", "DF"};
    for (int i = 0; i < 8; ++i) expectClear.insert(expectClear.end(), {"G03", "I" + std::to_string(50 + i), "D0.00"});
    EXPECT_EQ(cleared, expectClear);
    // Exit turns the screen's cycle on again.
    EXPECT_TRUE(s->waitForTimer().isActive());
    EXPECT_TRUE(waitFor([&] { return countFrames("I17") > 0; }, 2000));
    EXPECT_TRUE(messages.shown.empty());
}

// The old fault: a stop owed to an actuator went out at the start of the
// button's turn and selected the actuator's card, and "Ch.1" then wrote its
// item into the actuator. The line knows the actuator is selected now and
// selects the HG8A again first.
TEST_F(Hg8Test, ZeroOffsetChannelAfterAnOwedStopWentOutWritesTheHg8aOnly) {
    auto* s = pick<frmHG8>(kHG8A);
    settle(s);
    Frames measured;
    onZeroDialog([&](frmHG8Azero& d) {
        constexpr int kOther = 2;
        OweStop(kOther, record(kOther).CardType, [] {
            LineHold hold(kOther);
            return SelectCard(kOther, 0);
        });
        fakeClock.now += kOwedStopRetryMs;
        sim.clearFrames();
        // The stop goes out as at the start of a turn, selecting the other card.
        SendOwedStops();
        d.ch[0]->click();
        measured = stamped();
        d.cmdExit->click();
    });
    useFakeClock();
    s->zeroDeg->click();
    EXPECT_EQ(measured, (Frames{"?|00/01:F", "2|00/41:2", "2|00/01:F", "6|00/41:6", "6|03/50:1"}));
    EXPECT_FALSE(StopsOwed());
}

TEST_F(Hg8Test, ZeroOffsetDialogHoldsItsButtonsAndStaysOpenWhileAWriteWaits) {
    auto* s = pick<frmHG8>(kHG8A);
    settle(s);
    k6sim::Fault slow;
    slow.frame = "D1";
    slow.group = "03";
    slow.action = k6sim::FaultAction::Delay;
    slow.delayMs = 400;
    sim.addFault(slow);
    struct Seen {
        bool checked = false, otherCh = true, clear = true, exit = true, timerOn = true;
    } seen;
    onZeroDialog([&](frmHG8Azero& d) {
        // While Ch.3 waits for its reply, every way out and every other button is tried.
        QTimer::singleShot(100, &d, [&] {
            seen.checked = d.exchanging();
            seen.otherCh = d.ch[3]->isEnabled();
            seen.clear = d.Clear->isEnabled();
            seen.exit = d.cmdExit->isEnabled();
            d.ch[3]->click();
            d.Clear->click();
            d.cmdExit->click();
            d.close();
            d.reject();
            d.ch_Click(4);
            d.Clear_Click();
            d.cmdExit_Click();
            seen.timerOn = s->waitForTimer().isActive();
        });
        sim.clearFrames();
        d.ch[2]->click();
        EXPECT_EQ(sim.frames(), (Frames{"G03", "I52", "D1"}));
        EXPECT_FALSE(s->waitForTimer().isActive());
        EXPECT_NE(d.result(), QDialog::Accepted);
        // Closed by its frame once the line is quiet: the same steps as Exit.
        d.close();
    });
    s->zeroDeg->click();
    EXPECT_TRUE(seen.checked);
    EXPECT_FALSE(seen.otherCh);
    EXPECT_FALSE(seen.clear);
    EXPECT_FALSE(seen.exit);
    EXPECT_FALSE(seen.timerOn);
    EXPECT_TRUE(s->waitForTimer().isActive());
}

TEST_F(Hg8Test, ZeroOffsetDialogEndsAtTheFirstUnansweredExchange) {
    auto* s = pick<frmHG8>(kHG8A);
    settle(s);
    useFakeClock();
    k6sim::Fault silent;
    silent.frame = "I53";
    silent.group = "03";
    silent.action = k6sim::FaultAction::Silence;
    sim.addFault(silent);
    onZeroDialog([&](frmHG8Azero& d) {
        const std::vector<std::string> shown = {"0.00", "0.00", "0.00", "", "", "", "", ""};
        for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(text(d.ch_Text[i]), shown[i]) << i;
        EXPECT_EQ(countFrames("I54"), 0u);
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
        messages.shown.clear();
        sim.clearFrames();
        d.Clear->click();  // the same item fails the clear: nothing after it is tried
        EXPECT_EQ(countFrames("I52"), 1u);
        EXPECT_EQ(countFrames("I54"), 0u);
        EXPECT_EQ(text(d.ch_Text[3]), "");
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Downloading incomplete"});
        EXPECT_TRUE(d.cmdExit->isEnabled());
        d.cmdExit->click();
    });
    s->zeroDeg->click();
    EXPECT_EQ(dialogsOpened, 1);
    EXPECT_TRUE(G().Connected);  // the dialog tells its failures and keeps the link
}

TEST_F(Hg8Test, ZeroDegClickDuringATickIsServedWhenTheTickEnds) {
    auto* s = pick<frmHG8>(kHG8A);
    settle(s);
    k6sim::Fault slow;
    slow.frame = "I10";
    slow.card = kHG8A;
    slow.action = k6sim::FaultAction::Delay;
    slow.delayMs = 300;
    slow.count = 1;
    sim.addFault(slow);
    Frames atOpen;
    onZeroDialog([&](frmHG8Azero& d) {
        atOpen = sim.frames();
        d.cmdExit->click();
    });
    sim.clearFrames();
    // The click comes while the live read waits for item 10 (a timer runs inside the wait).
    bool clicked = false;
    int openedAtClick = -1;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (clicked || !s->busy() || !ExchangeWaiting() || countFrames("I10") == 0) return;
        clicked = true;
        s->zeroDeg->click();
        openedAtClick = dialogsOpened;
    });
    poll.start(5);
    ASSERT_TRUE(waitFor([&] { return dialogsOpened == 1; }, 3000));
    poll.stop();
    ASSERT_TRUE(clicked);
    EXPECT_EQ(openedAtClick, 0);  // no second exchange inside the waiting one
    // The live read ran to its end before the dialog's first frame.
    const auto lastLive = std::find(atOpen.begin(), atOpen.end(), "I17");
    const auto firstOffset = std::find(atOpen.begin(), atOpen.end(), "I50");
    ASSERT_NE(lastLive, atOpen.end());
    ASSERT_NE(firstOffset, atOpen.end());
    EXPECT_LT(lastLive, firstOffset);
    EXPECT_EQ(text(s->txtParData[7]), "+0080");
    EXPECT_TRUE(s->waitForTimer().isActive());
    QTest::qWait(700);
    EXPECT_EQ(dialogsOpened, 1);  // served once
}

TEST_F(Hg8Test, ScreenStaysQuietWhileTheZeroOffsetDialogIsUp) {
    auto* s = pick<frmHG8>(kHG8A);
    settle(s);
    k6sim::Fault slow = test::fault("I50", kHG8A, k6sim::FaultAction::Delay);
    slow.delayMs = 200;
    sim.addFault(slow);
    bool clicksRefused = false;
    // Clicks on the screen while the dialog's first reads wait for the line.
    QTimer::singleShot(60, [&] {
        clicksRefused = !s->uploadButton()->isEnabled() && !s->zeroDeg->isEnabled() &&
                        !window->isEnabled(MainControl::cboCardNo);
        s->uploadButton()->click();
        s->zeroDeg->click();
    });
    std::size_t framesBefore = 0, framesAfterWait = 0;
    onZeroDialog([&](frmHG8Azero& d) {
        framesBefore = sim.frames().size();
        QTest::qWait(1200);  // two cycles' worth of time
        framesAfterWait = sim.frames().size();
        d.cmdExit->click();
    });
    sim.clearFrames();
    s->zeroDeg->click();
    EXPECT_TRUE(clicksRefused);
    EXPECT_EQ(framesAfterWait, framesBefore);  // no upload, no live read
    settle(s);
    QTest::qWait(700);
    EXPECT_EQ(dialogsOpened, 1);
    EXPECT_EQ(countItem("01", 42), 0u);  // the click on Upload was not taken
    EXPECT_TRUE(s->uploadButton()->isEnabled());
    EXPECT_TRUE(window->isEnabled(MainControl::cboCardNo));
}

// A line that goes away under a measurement shows the disconnected state at
// once; the buttons that talk to the card stay off, Exit still leaves.
TEST_F(Hg8Test, ZeroOffsetDialogOnALostLineKeepsItsCardButtonsOff) {
    auto* s = pick<frmHG8>(kHG8A);
    settle(s);
    bool drove = false;
    onZeroDialog([&](frmHG8Azero& d) {
        k6sim::Fault hangUp = test::fault("D1", kHG8A, k6sim::FaultAction::DropLine);
        hangUp.group = "03";
        sim.addFault(hangUp);
        d.ch[2]->click();
        EXPECT_FALSE(d.exchanging());
        EXPECT_FALSE(G().Connected);
        EXPECT_EQ(labelText("lblConStatus"), "Disconnected");
        for (QPushButton* b : d.ch) EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_FALSE(d.Clear->isEnabled());
        EXPECT_TRUE(d.cmdExit->isEnabled());
        drove = true;
        d.cmdExit->click();
    });
    s->zeroDeg->click();
    EXPECT_TRUE(drove);
    // The measurement the card never answered is told.
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Downloading incomplete"});
}

// A measurement or clear the card refuses or leaves unanswered is told, and
// the boxes it did not reach keep the offsets they showed; a refused offset at
// the opening shows no value rather than the refusal's text, drawn as not read
// until the card answers for it.
TEST_F(Hg8Test, ZeroOffsetDialogTellsAMeasureOrClearTheCardDidNotTake) {
    struct Case {
        const char* what;
        bool clear;   // else Ch.3
        bool silent;  // else refused
    };
    const Case cases[] = {{"Ch.3 refused", false, false}, {"Ch.3 unanswered", false, true},
                          {"Clear refused", true, false}, {"Clear unanswered", true, true}};
    for (int i = 0; i < 8; ++i) sim.setValue(kHG8A, "03", 50 + i, "0.0" + std::to_string(i + 1));
    auto* s = pick<frmHG8>(kHG8A);
    settle(s);
    useFakeClock();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim.addFault(test::fault("I51", kHG8A, k6sim::FaultAction::Reply, "CNG"));
        onZeroDialog([&](frmHG8Azero& d) {
            EXPECT_EQ(text(d.ch_Text[1]), "") << "a refused offset shows no value";
            EXPECT_TRUE(DrawnUnread(d.ch_Text[1])) << "and is drawn as not read";
            EXPECT_EQ(text(d.ch_Text[2]), "0.03");
            EXPECT_FALSE(DrawnUnread(d.ch_Text[2]));
            EXPECT_TRUE(messages.shown.empty()) << "a refusal at the opening is no failure";
            sim.clearFaults();
            // Clear fails at its third offset (item 52), Ch.3 at its only write.
            k6sim::Fault f = c.silent ? test::silence(c.clear ? "D0.00" : "D1", kHG8A)
                                      : test::fault(c.clear ? "D0.00" : "D1", kHG8A, k6sim::FaultAction::Reply, "CNG");
            f.group = "03";
            f.skip = c.clear ? 2 : 0;
            sim.addFault(f);
            (c.clear ? d.Clear : d.ch[2])->click();
            sim.clearFaults();
            EXPECT_EQ(messages.texts(), std::vector<std::string>{"Downloading incomplete"});
            EXPECT_EQ(messages.shown.at(0).icon, platform::MsgIcon::Stop);
            EXPECT_EQ(text(d.ch_Text[2]), "0.03") << "not emptied";
            EXPECT_EQ(text(d.ch_Text[0]), c.clear ? "0.00" : "0.01");
            EXPECT_EQ(text(d.ch_Text[7]), "0.08");
            // The clear's answer for the offset refused at the opening is read.
            EXPECT_EQ(DrawnUnread(d.ch_Text[1]), !c.clear);
            EXPECT_TRUE(d.ch[2]->isEnabled());
            EXPECT_TRUE(G().Connected);
            d.cmdExit->click();
        });
        s->zeroDeg->click();
        messages.shown.clear();
        for (int i = 0; i < 8; ++i) sim.setValue(kHG8A, "03", 50 + i, "0.0" + std::to_string(i + 1));
    }
}
