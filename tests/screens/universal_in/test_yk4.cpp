// The universal input card screen against the simulator: the variant read on
// entry and the lists built for it, the transfers frame by frame, replies that
// are no value, the boxes' checks as typed, pasted or set, and the live read.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <QApplication>
#include <QClipboard>
#include <algorithm>

#include "core/LineTurn.h"
#include "screens/skeleton/CardScreen.h"
#include "screens/universal_in/frmYK4.h"
#include "tests/screens/universal_in/UniversalFixture.h"
#include "tests/support/Contrast.h"

using namespace talvo;
using namespace talvo::screens;
using yk4::EntryBox;

namespace {

constexpr int kPlainSlot = 1;  // "YK4", item 90 answers "K6_YK4"
constexpr int kASlot = 2;      // "YK4A", item 90 answers "K6_YK4/A"

std::size_t at(int ch) { return static_cast<std::size_t>(ch - 1); }
std::string cc(int ch) { return "0" + std::to_string(ch); }
int b(int ch) { return 14 * (ch - 1); }

std::string shown(const QComboBox* l) { return l->currentText().toLatin1().toStdString(); }
// The user picking an entry.
void pickEntry(QComboBox* l, const std::string& text) {
    const int i = l->findText(QString::fromLatin1(text.c_str()), Qt::MatchExactly | Qt::MatchCaseSensitive);
    ASSERT_GE(i, 0) << text;
    l->setCurrentIndex(i);
    Q_EMIT l->activated(i);
}
std::vector<std::string> entries(const QComboBox* l) {
    std::vector<std::string> v;
    for (int i = 0; i < l->count(); ++i) v.push_back(l->itemText(i).toLatin1().toStdString());
    return v;
}
QColor background(const QComboBox* l) { return l->palette().color(QPalette::Button); }
// The message a download gives for the settings it left on the card.
std::string leftOnCard(const std::string& settings) { return ui::kLeftAsTheyAreText + settings; }
// Every setting of the screen but those in `sent`, as a download names them:
// in the order it passes them, each caption once with its channels.
std::string allBut(std::initializer_list<std::string> sent) {
    std::vector<std::pair<std::string, std::string>> left;  // caption, channel
    const auto pass = [&](std::initializer_list<const char*> names, bool perChannel) {
        for (int ch = 1; ch <= (perChannel ? 4 : 1); ++ch)
            for (const char* name : names) {
                const std::string member = perChannel ? "Ch." + std::to_string(ch) : "";
                const std::string shown = member.empty() ? name : std::string(name) + " " + member;
                if (std::find(sent.begin(), sent.end(), shown) == sent.end()) left.emplace_back(name, member);
            }
    };
    pass({"Unit", "ADC Speed", "Limit"}, false);
    pass({"InputType", "Unused", "Burnout", "CJC SW"}, true);
    pass({"Zero Scale", "Full Scale", "Zero Adjust", "Full Adjust"}, true);
    pass({"Zero Base", "Full Base"}, true);
    std::vector<std::pair<std::string, std::string>> grouped;  // caption, its channels
    for (const auto& [name, member] : left) {
        auto it = std::find_if(grouped.begin(), grouped.end(), [&](const auto& g) { return g.first == name; });
        if (it == grouped.end()) {
            grouped.emplace_back(name, "");
            it = grouped.end() - 1;
        }
        if (!member.empty()) it->second += (it->second.empty() ? " " : ", ") + member;
    }
    std::string out;
    for (const auto& [name, members] : grouped) out += (out.empty() ? "" : "; ") + name + members;
    return out;
}

class YK4Test : public test::UniversalScreenTest {
public:
    // Picks a slot and waits until its screen's entry has run and the line is quiet.
    frmYK4* open(int slot) {
        cardList()->setCurrentIndex(slot);
        waitFor([] { return !ActionsWaiting() && !ExchangeWaiting(); });
        auto* s = dynamic_cast<frmYK4*>(shell::childForms().screen(G().CurFormType));
        EXPECT_NE(s, nullptr) << "slot " << slot << " shows " << G().CurFormType;
        if (s) settle(s);
        return s;
    }
    // A new link, then the screen entered afresh: nothing read before holds.
    frmYK4* fresh(int slot) {
        connectAndUpload();
        messages.shown.clear();
        return open(slot);
    }
    // Back to the overview, so that the next pick enters the screen afresh.
    void leave() {
        cardList()->setCurrentIndex(0);
        waitFor([] { return !ActionsWaiting() && !ExchangeWaiting(); });
    }
    // A read as the screen makes it: group 01, the item, then the data frame.
    static Frames read01(const std::string& item, const std::string& data) { return {"G01", "I" + item, "D" + data}; }
    static Frames uploadFrames(int slot) {
        Frames f = selectFrames(slot);
        for (const char* item : {"87", "13", "57"}) add(f, read01(item, ""));
        for (int ch = 1; ch <= 4; ++ch)
            for (const char* item : {"05", "50", "20", "25"}) add(f, read01(item, cc(ch)));
        for (int ch = 1; ch <= 4; ++ch)
            for (const char* item : {"55", "56", "53", "54"}) add(f, read01(item, cc(ch)));
        for (int ch = 1; ch <= 4; ++ch)
            for (const char* item : {"51", "52"}) add(f, read01(item, cc(ch)));
        return f;
    }
};

}  // namespace

TEST_F(YK4Test, EntryReadsModelAndVersionThenBuildsTheListsOfTheVariant) {
    struct Case {
        int slot;
        bool variantA;
        std::string cardType, version;
        std::size_t types, units;
    };
    const Case cases[] = {
        {kPlainSlot, false, "YK4", "1.10", 34, 3},
        {kASlot, true, "YK4/A", "1.02", 19, 2},
        {kPlainSlot, false, "YK4", "1.10", 34, 3},  // entered again: rebuilt, not doubled
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        sim.clearFrames();
        frmYK4* s = open(c.slot);
        ASSERT_NE(s, nullptr);
        // Opener: select and version; entry: its own select, model and version,
        // the first tick's live read, then the initial channel data.
        Frames expected = selectFrames(c.slot);
        add(expected, {"G00", "I40"});
        add(expected, selectFrames(c.slot));
        add(expected, {"G01", "I90", "D", "G01", "I92", "D"});
        add(expected, selectFrames(c.slot));
        for (const char* item : {"I10", "I11", "I12", "I13"}) add(expected, {"G00", item});
        for (const char* item : {"I10", "I11", "I12", "I13"}) add(expected, {"G00", item});
        EXPECT_EQ(sim.frames(), expected);

        EXPECT_EQ(s->IsVariantA, c.variantA);
        EXPECT_EQ(text(s->cardTypeBox()), c.cardType);
        EXPECT_EQ(text(s->versionBox()), c.version);
        for (QComboBox* l : s->List_InputType) EXPECT_EQ(static_cast<std::size_t>(l->count()), c.types);
        EXPECT_EQ(entries(s->List_InputType[0]).back(), "POT5k");
        EXPECT_EQ(static_cast<std::size_t>(s->List_TempUnit->count()), c.units);
        EXPECT_EQ(entries(s->List_ADCSpeed), (std::vector<std::string>{"Middle", "Low"}));
        for (int ch = 1; ch <= 4; ++ch) {
            EXPECT_EQ(entries(s->List_ChEnable[at(ch)]), (std::vector<std::string>{"0", "1"}));
            EXPECT_EQ(entries(s->List_BurnOut[at(ch)]), (std::vector<std::string>{"None", "Up", "Down"}));
        }
        EXPECT_EQ(s->List_ADCSpeed->isEnabled(), !c.variantA);
        if (c.variantA) {
            EXPECT_EQ(shown(s->List_ADCSpeed), "Low");
        }
        EXPECT_EQ(text(s->txtParData01[2]), c.slot == kPlainSlot ? "+123.4" : "+003.0");
        EXPECT_EQ(s->waitForTimer().interval(), 1000);
        settle(s);
    }
}

TEST_F(YK4Test, OnlyTheExactModelTextMakesTheVariantA) {
    struct Case {
        std::string model;  // "" : the card does not answer item 90
        bool variantA;
        std::string cardType;
    };
    const Case cases[] = {
        {"K6_YK4/A", true, "YK4/A"}, {"K6_YK4", false, "YK4A"},    {"K6_YK4/AB", false, "YK4A"},
        {"k6_yk4/a", false, "YK4A"}, {"K6_YK4/B", false, "YK4A"}, {"", false, "YK4A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        sim.clearFaults();
        leave();
        sim.clearFrames();
        if (c.model.empty()) {
            useFakeClock();
            sim.addFault(test::silence("I90", kASlot));
        } else {
            sim.setValue(kASlot, "01", 90, c.model);
        }
        frmYK4* s = open(kASlot);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->IsVariantA, c.variantA);
        EXPECT_EQ(text(s->cardTypeBox()), c.cardType);
        EXPECT_EQ(s->List_InputType[0]->count(), c.variantA ? 19 : 34);
        EXPECT_EQ(text(s->versionBox()), "1.02");  // item 92 still read
        if (c.model.empty()) {
            EXPECT_EQ(countFrames("I90"), 11u);
        }
    }
}

TEST_F(YK4Test, EntryAsksNothingOfACardItCouldNotSelect) {
    useFakeClock();
    // The opener's select is answered; the entry's own select is not (11 attempts).
    k6sim::Fault f = test::silence("I41", -1);
    f.skip = 1;
    f.count = 11;
    sim.addFault(f);
    frmYK4* s = open(kASlot);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(countFrames("I90"), 0u);
    EXPECT_EQ(countFrames("I92"), 0u);
    EXPECT_FALSE(s->IsVariantA);
    EXPECT_EQ(text(s->versionBox()), "1.02");  // the opener's
    // The failed select ends the entry: its first live read sends nothing
    // either, and the lost link is told and taken down.
    EXPECT_EQ(countFrames("I10"), 0u);
    EXPECT_FALSE(G().Connected);
    EXPECT_FALSE(messages.shown.empty());

    // A version item the card refuses keeps the opener's version too.
    sim.clearFaults();
    connectAndUpload();
    leave();
    sim.setValue(kASlot, "00", 40, "2.00");
    replyTo("I92", kASlot, "CNG");
    s = open(kASlot);
    EXPECT_TRUE(s->IsVariantA);
    EXPECT_EQ(text(s->versionBox()), "2.00");
}

TEST_F(YK4Test, UploadFillsEveryControlAndTheRecord) {
    struct Channel {
        std::string type, unused, burnout;
        bool cjc, burnoutOn, cjcOn;
    };
    struct Case {
        int slot;
        std::string unit, adc;
        Channel ch[4];
        std::string zeroAdjust1, fullAdjust1;
    };
    const Case cases[] = {
        {kPlainSlot,
         "   F",
         "Middle",
         {{"K(CA)", "0", "Up", true, true, true},
          {"Pt100(JIS'97 IEC)", "0", "Up", false, true, false},
          {"P(Platinel2)", "0", "Down", false, true, true},
          {"POT200", "1", "None", false, false, false}},
         "0.00",
         "1.0000"},
        {kASlot,
         "   C",
         "Low",
         {{"K(CA)", "0", "Up", true, true, true},
          {"Pt50ohm(JIS'81)", "0", "Up", false, true, false},
          {"-12 to 12V", "0", "None", false, false, false},
          {"POT200", "0", "None", false, false, false}},
         "-0.50",
         "1.0250"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        frmYK4* s = open(c.slot);
        ASSERT_NE(s, nullptr);
        sim.clearFrames();
        upload(s);
        EXPECT_EQ(sim.frames(), uploadFrames(c.slot));
        EXPECT_EQ(window->progress(), 12);
        EXPECT_TRUE(messages.shown.empty());

        const CardRecord& r = record(c.slot);
        EXPECT_EQ(r.CardType, text(s->cardTypeBox()));
        EXPECT_EQ(r.Version, text(s->versionBox()));
        EXPECT_EQ(shown(s->List_TempUnit), c.unit);
        EXPECT_EQ(r.Param[57], c.unit);
        EXPECT_EQ(shown(s->List_ADCSpeed), c.adc);
        EXPECT_EQ(r.Param[58], c.adc);
        EXPECT_EQ(s->List_ADCSpeed->isEnabled(), c.slot == kPlainSlot);
        EXPECT_FALSE(s->chkLimit->isChecked());
        EXPECT_EQ(r.Param[59], "0");
        for (int ch = 1; ch <= 4; ++ch) {
            SCOPED_TRACE(ch);
            const Channel& e = c.ch[ch - 1];
            EXPECT_EQ(shown(s->List_InputType[at(ch)]), e.type);
            EXPECT_EQ(shown(s->List_ChEnable[at(ch)]), e.unused);
            EXPECT_EQ(background(s->List_ChEnable[at(ch)]), e.unused == "1" ? QColor(255, 0, 0) : QColor(0, 128, 0));
            EXPECT_EQ(shown(s->List_BurnOut[at(ch)]), e.burnout);
            EXPECT_EQ(s->ChkCJC[at(ch)]->isChecked(), e.cjc);
            EXPECT_EQ(s->List_BurnOut[at(ch)]->isEnabled(), e.burnoutOn);
            EXPECT_EQ(s->ChkCJC[at(ch)]->isEnabled(), e.cjcOn);
            EXPECT_EQ(r.Param[b(ch) + 7], e.type);
            EXPECT_EQ(r.Param[b(ch) + 8], e.burnout);
            EXPECT_EQ(r.Param[b(ch) + 9], e.cjc ? "1" : "0");
            EXPECT_EQ(r.ChOption[ch], e.unused);
            const std::string zeroAdjust = ch == 1 ? c.zeroAdjust1 : "0.00";
            const std::string fullAdjust = ch == 1 ? c.fullAdjust1 : "1.0000";
            const std::pair<QLineEdit*, std::string> values[] = {
                {s->txtZBase[at(ch)], "0"},       {s->txtFBase[at(ch)], "1000"}, {s->txtBias[at(ch)], zeroAdjust},
                {s->txtGain[at(ch)], fullAdjust}, {s->txtZScale[at(ch)], "0"},   {s->txtFScale[at(ch)], "10000"},
            };
            for (int k = 0; k < 6; ++k) {
                EXPECT_EQ(text(values[k].first), values[k].second) << k;
                EXPECT_EQ(r.Param[b(ch) + 1 + k], values[k].second) << k;
            }
        }
        EXPECT_EQ(r.Param[b(1) + 10], "");
        EXPECT_EQ(r.Param[60], "");
    }
}

TEST_F(YK4Test, UploadedCodesWithoutAnEntryShowNoEntryAndSendNothing) {
    sim.setValue(kPlainSlot, "01", 87, "5");       // no unit 5: "   C"
    sim.setValue(kPlainSlot, "01", 13, "1");       // no ADC speed 1
    sim.setValue(kPlainSlot, "01", 1051, "31");    // code 49: no input type
    sim.setValue(kPlainSlot, "01", 1202, "7");     // no burnout 7
    sim.setValue(kPlainSlot, "01", 1053, "10");    // "(PR)" on the plain card
    sim.setValue(kASlot, "01", 1052, "10");        // but no entry on "/A"
    frmYK4* s = open(kPlainSlot);
    upload(s);
    EXPECT_EQ(shown(s->List_TempUnit), "   C");
    EXPECT_EQ(s->List_ADCSpeed->currentIndex(), -1);
    EXPECT_EQ(record(kPlainSlot).Param[58], "");
    EXPECT_EQ(s->List_InputType[0]->currentIndex(), -1);
    EXPECT_FALSE(s->List_BurnOut[0]->isEnabled());
    EXPECT_FALSE(s->ChkCJC[0]->isEnabled());
    EXPECT_EQ(s->List_BurnOut[1]->currentIndex(), -1);
    EXPECT_EQ(shown(s->List_InputType[2]), "(PR)");
    EXPECT_TRUE(s->List_BurnOut[2]->isEnabled());
    EXPECT_TRUE(s->ChkCJC[2]->isEnabled());

    sim.clearFrames();
    download(s);
    // A list that shows no entry sends nothing: no speed the user did not see.
    EXPECT_EQ(s->List_ADCSpeed->currentIndex(), -1);
    EXPECT_EQ(sim.value(kPlainSlot, "01", 13), "1");
    EXPECT_EQ(countFrames("D0111"), 0u);
    EXPECT_EQ(sim.value(kPlainSlot, "01", 1051), "31");  // channel 1's type untouched
    EXPECT_EQ(sim.value(kPlainSlot, "01", 1202), "7");   // channel 2's burnout untouched
    EXPECT_EQ(countFrames("I05"), 3u);                   // channels 2 to 4
    EXPECT_EQ(countFrames("I20"), 3u);                   // channels 1, 3, 4
    // What it left it names.
    EXPECT_EQ(messages.texts(), std::vector<std::string>{leftOnCard("ADC Speed; InputType Ch.1; Burnout Ch.2")});
    messages.shown.clear();

    frmYK4* a = open(kASlot);
    upload(a);
    EXPECT_EQ(a->List_InputType[1]->currentIndex(), -1);
    EXPECT_FALSE(a->List_BurnOut[1]->isEnabled());
    EXPECT_FALSE(a->ChkCJC[1]->isEnabled());
    sim.setValue(kASlot, "01", 13, "9");
    download(a);
    EXPECT_EQ(sim.value(kASlot, "01", 1052), "10");
    EXPECT_EQ(sim.value(kASlot, "01", 13), "3");  // the fixed ADC speed
    EXPECT_EQ(messages.texts(), std::vector<std::string>{leftOnCard("InputType Ch.2")});
}

TEST_F(YK4Test, RepliesThatAreNoValueLeaveControlsAndRecordAsTheyWere) {
    frmYK4* s = open(kPlainSlot);
    upload(s);
    CardRecord before = record(kPlainSlot);
    // The card refuses every code item now ("CNG" to the item frame, or "CNU":
    // passed back as "NEEDLESS"), or answers with no number.
    sim.setValue(kPlainSlot, "01", 1051, "1Z");
    sim.setValue(kPlainSlot, "01", 57, "x");  // the limit takes the leading number: none, so off
    s->chkLimit->setChecked(true);
    replyTo("I87", kPlainSlot, "CNG");
    replyTo("I13", kPlainSlot, "CNU");
    replyTo("I50", kPlainSlot, "CNG");
    replyTo("I20", kPlainSlot, "CNU");
    replyTo("I25", kPlainSlot, "D    invalid data");
    replyTo("I55", kPlainSlot, "CNG");
    pickEntry(s->List_TempUnit, "   K");
    pickEntry(s->List_ChEnable[3], "0");  // channel 4 in use on the screen
    type(s->txtZScale[1], "12");
    upload(s);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(G().Connected);
    EXPECT_EQ(shown(s->List_TempUnit), "   K");
    EXPECT_EQ(shown(s->List_ADCSpeed), "Middle");
    EXPECT_FALSE(s->chkLimit->isChecked());
    EXPECT_EQ(record(kPlainSlot).Param[59], "0");
    EXPECT_EQ(shown(s->List_InputType[0]), "K(CA)");
    EXPECT_EQ(shown(s->List_ChEnable[3]), "0");
    EXPECT_EQ(shown(s->List_BurnOut[2]), "Down");
    EXPECT_TRUE(s->ChkCJC[0]->isChecked());
    EXPECT_EQ(text(s->txtZScale[1]), "12");
    before.Param.set(59, "0");
    EXPECT_EQ(record(kPlainSlot), before);

    // A failed read never switches a channel at the next download: what the
    // card refused is not sent (channel 4's list too, whatever it shows), and
    // the download says so.
    sim.clearFaults();
    sim.clearFrames();
    const std::string ch4 = sim.value(kPlainSlot, "01", 1504), ch1 = sim.value(kPlainSlot, "01", 1501);
    download(s);
    EXPECT_EQ(sim.value(kPlainSlot, "01", 1504), ch4);
    EXPECT_EQ(sim.value(kPlainSlot, "01", 1501), ch1);
    EXPECT_EQ(countFrames("I50"), 0u);
    // The ADC speed and the burnout lists the card does not use are not named.
    EXPECT_EQ(messages.texts(), std::vector<std::string>{leftOnCard(
                                    "Unit; Unused Ch.1, Ch.2, Ch.3, Ch.4; CJC SW Ch.1, Ch.2, Ch.3, Ch.4; "
                                    "Zero Scale Ch.1, Ch.2, Ch.3, Ch.4")});
}

TEST_F(YK4Test, TheLimitTakesItsLeadingNumberAndAnEmptyValueIsNone) {
    struct Case {
        std::string value;
        bool on;
        std::string stored;
    };
    const Case cases[] = {
        {"1", true, "1"}, {"0", false, "0"}, {"2", false, "0"}, {"x", false, "0"},
        {"", true, "1"},  // no value: the box and the record keep theirs
    };
    frmYK4* s = open(kPlainSlot);
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.value + "\"");
        s->chkLimit->setChecked(true);
        record(kPlainSlot).Param.set(59, "1");
        sim.setValue(kPlainSlot, "01", 57, c.value);
        upload(s);
        EXPECT_EQ(s->chkLimit->isChecked(), c.on);
        EXPECT_EQ(record(kPlainSlot).Param[59], c.stored);
        EXPECT_TRUE(messages.shown.empty());
    }
    // The next download writes the limit the screen kept, not an invented "0".
    download(s);
    EXPECT_EQ(sim.value(kPlainSlot, "01", 57), "1");
    EXPECT_EQ(record(kPlainSlot).Param[59], "1");
}

TEST_F(YK4Test, EntryEmptiesAValueBoxWhoseRecordTextItsCheckRefuses) {
    struct Case {
        std::string stored;
        std::string shown;
        bool sent;
    };
    // The screen serves both slots: what its box held for slot 1 never goes to slot 2.
    const Case cases[] = {
        {"abc", "", false},   {"40000", "", false}, {"1-2", "", false}, {"1e3", "", false},
        {"12.5", "12", true}, {"-7", "-7", true},   {"", "", false},    {".", ".", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        frmYK4* s = open(kPlainSlot);
        type(s->txtZScale[0], "123");
        ASSERT_EQ(text(s->txtZScale[0]), "123");
        leave();
        record(kASlot).Param.set(b(1) + 5, c.stored);
        frmYK4* a = open(kASlot);
        EXPECT_EQ(text(a->txtZScale[0]), c.shown);
        sim.setValue(kASlot, "01", 1551, "card");
        sim.clearFrames();
        download(a);
        EXPECT_EQ(countFrames("D01123"), 0u);
        EXPECT_EQ(sim.value(kASlot, "01", 1551), c.sent ? c.shown : "card");
        EXPECT_EQ(record(kASlot).Param[b(1) + 5], c.sent ? c.shown : c.stored);
        // A refused text is not what the box falls back to either.
        type(a->txtZScale[0], "x");
        EXPECT_EQ(text(a->txtZScale[0]), c.sent ? c.shown : "");
        leave();
    }
}

TEST_F(YK4Test, DownloadSendsEverySettingWithItsChannelInFront) {
    frmYK4* s = open(kASlot);
    upload(s);
    pickEntry(s->List_TempUnit, "   F");
    s->chkLimit->setChecked(true);
    const char* const types[] = {"POT5k", "T(CC)", "Pt100(JIS'89)", "- 3 to  3V"};
    const char* const codes[] = {"52", "14", "37", "02"};
    for (int ch = 1; ch <= 4; ++ch) {
        pickEntry(s->List_InputType[at(ch)], types[ch - 1]);
        pickEntry(s->List_ChEnable[at(ch)], ch == 2 ? "1" : "0");
        pickEntry(s->List_BurnOut[at(ch)], ch == 3 ? "Down" : "Up");
        s->ChkCJC[at(ch)]->setChecked(ch == 2);
        type(s->txtZScale[at(ch)], "-" + std::to_string(ch));
        type(s->txtFScale[at(ch)], std::to_string(32000 - ch));
        type(s->txtBias[at(ch)], "1.2" + std::to_string(ch));
        type(s->txtGain[at(ch)], "-0.000" + std::to_string(ch));
        type(s->txtZBase[at(ch)], std::to_string(-ch));
        type(s->txtFBase[at(ch)], "9999" + std::to_string(ch));
    }
    sim.clearFrames();
    download(s);
    Frames expected = selectFrames(kASlot);
    const auto write = [&](const std::string& item, const std::string& data) { add(expected, read01(item, data)); };
    write("01", "1");
    write("87", "1");
    write("13", "3");
    write("57", "1");
    for (int ch = 1; ch <= 4; ++ch) {
        write("05", cc(ch) + codes[ch - 1]);
        write("50", cc(ch) + (ch == 2 ? "0" : "1"));
        write("20", cc(ch) + (ch == 3 ? "2" : "1"));
        write("25", cc(ch) + (ch == 2 ? "1" : "0"));
    }
    for (int ch = 1; ch <= 4; ++ch) {
        write("55", cc(ch) + "-" + std::to_string(ch));
        write("56", cc(ch) + std::to_string(32000 - ch));
        write("53", cc(ch) + "1.2" + std::to_string(ch));
        write("54", cc(ch) + "-0.000" + std::to_string(ch));
    }
    for (int ch = 1; ch <= 4; ++ch) {
        write("51", cc(ch) + std::to_string(-ch));
        write("52", cc(ch) + "9999" + std::to_string(ch));
    }
    EXPECT_EQ(sim.frames(), expected);
    EXPECT_EQ(window->progress(), 12);
    EXPECT_TRUE(messages.shown.empty());

    const CardRecord& r = record(kASlot);
    EXPECT_EQ(r.Param[57], "   F");
    EXPECT_EQ(r.Param[58], "Low");
    EXPECT_EQ(r.Param[59], "1");
    EXPECT_EQ(r.Param[b(2) + 7], "T(CC)");
    EXPECT_EQ(r.Param[b(3) + 8], "Down");
    EXPECT_EQ(r.Param[b(2) + 9], "1");
    EXPECT_EQ(r.ChOption[2], "1");
    EXPECT_EQ(r.Param[b(4) + 5], "-4");
    EXPECT_EQ(r.Param[b(4) + 4], "-0.0004");
    EXPECT_EQ(r.Param[b(4) + 2], "99994");
    EXPECT_EQ(sim.value(kASlot, "01", 1532), "1.22");

    // The limit it wrote shows again on the next entry.
    leave();
    s = open(kASlot);
    EXPECT_TRUE(s->chkLimit->isChecked());
    EXPECT_EQ(shown(s->List_InputType[0]), "POT5k");
    EXPECT_EQ(text(s->txtFBase[3]), "99994");
}

TEST_F(YK4Test, DownloadSkipsBoxesWithoutAValueAndTheListsWithoutAnEntry) {
    // Nothing uploaded: the record is empty and the lists show no entry.
    frmYK4* s = open(kPlainSlot);
    ASSERT_EQ(s->List_TempUnit->currentIndex(), -1);
    CardRecord& r = record(kPlainSlot);
    r.Param.set(b(1) + 5, "stored");
    type(s->txtZScale[0], "-");
    type(s->txtFScale[0], ".");
    type(s->txtBias[0], "-");
    type(s->txtGain[0], ".");
    type(s->txtZBase[0], "-0");  // zero: sent
    sim.clearFrames();
    download(s);
    Frames expected = selectFrames(kPlainSlot);
    const auto write = [&](const std::string& item, const std::string& data) { add(expected, read01(item, data)); };
    write("01", "1");
    // No unit and no ADC speed shown: none is sent (no "   C" or "Middle" the
    // user did not see); nor are the limit and CJC switches the program shows
    // unticked for a record never read (which were sent before).
    write("51", "01-0");
    EXPECT_EQ(sim.frames(), expected);
    // The download names everything it left, the boxes with nothing to send too.
    EXPECT_EQ(messages.texts(), std::vector<std::string>{leftOnCard(allBut({"Zero Base Ch.1"}))});
    EXPECT_EQ(s->List_TempUnit->currentIndex(), -1);
    EXPECT_EQ(s->List_ADCSpeed->currentIndex(), -1);
    EXPECT_EQ(r.Param[b(1) + 5], "stored");
    EXPECT_EQ(r.Param[b(1) + 1], "-0");
    EXPECT_EQ(text(s->txtZScale[0]), "-");
    EXPECT_EQ(sim.value(kPlainSlot, "01", 1551), "0");
    EXPECT_EQ(sim.value(kPlainSlot, "01", 1501), "1");  // no channel switched
    EXPECT_EQ(r.Param[59], "");  // the record keeps no limit it did not send
}

TEST_F(YK4Test, ATransferThatLosesTheCardStopsAndKeepsWhatWasNotRead) {
    frmYK4* s = open(kPlainSlot);
    CardRecord& r = record(kPlainSlot);
    for (int ch = 1; ch <= 4; ++ch) r.Param.set(b(ch) + 7, "old");
    useFakeClock();
    sim.addFault(test::silence("I50", kPlainSlot));  // channel 1's Unused item
    upload(s);
    ASSERT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
    EXPECT_EQ(messages.shown[0].title, "Uploading");
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(countFrames("I50"), 11u);
    EXPECT_EQ(countFrames("I20"), 0u);
    EXPECT_EQ(r.Param[57], "   F");       // read before
    EXPECT_EQ(r.Param[b(1) + 7], "K(CA)");  // read before
    EXPECT_EQ(r.Param[b(2) + 7], "old");
    EXPECT_EQ(r.ChOption[1], "");
}

TEST_F(YK4Test, ADownloadThatLosesTheCardKeepsOnlyWhatTheCardTook) {
    frmYK4* s = open(kPlainSlot);
    upload(s);
    CardRecord& r = record(kPlainSlot);
    pickEntry(s->List_InputType[1], "Ni100");
    pickEntry(s->List_BurnOut[1], "Down");
    useFakeClock();
    replyTo("D022", kPlainSlot, "CNG");  // channel 2's burnout write is refused each time
    download(s);
    ASSERT_EQ(messages.texts(), std::vector<std::string>{"Downloading incomplete"});
    EXPECT_EQ(messages.shown[0].title, "Downloading");
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(countFrames("D022"), 11u);
    EXPECT_EQ(r.Param[b(2) + 7], "Ni100");
    EXPECT_EQ(r.Param[b(2) + 8], "Up");
    EXPECT_EQ(countFrames("D0250"), 0u);
}

TEST_F(YK4Test, EnableRuleFollowsThePickedInputType) {
    struct Case {
        int slot;
        std::string type;
        bool burnout, cjc;
    };
    const Case cases[] = {
        {kPlainSlot, "-60 to 60mV", false, false}, {kPlainSlot, "(PR)", true, true},
        {kPlainSlot, "B(RH)", true, false},        {kPlainSlot, "P(Platinel2)", true, true},
        {kPlainSlot, "Pt100(JIS'97 IEC)", true, false}, {kPlainSlot, "Pt1000", true, false},
        {kPlainSlot, "Cu50", true, false},         {kPlainSlot, "POT200", false, false},
        {kASlot, "-60 to 60mV", false, false},     {kASlot, "K(CA)", true, true},
        {kASlot, "T(CC)", true, true},             {kASlot, "Pt100(JIS'97 IEC)", true, false},
        {kASlot, "JPt100(JIS'89)", true, false},   {kASlot, "POT200", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        frmYK4* s = open(c.slot);
        s->ChkCJC[1]->setChecked(true);  // ticked by the user
        Q_EMIT s->ChkCJC[1]->clicked(true);
        pickEntry(s->List_InputType[1], c.type);
        EXPECT_EQ(s->List_BurnOut[1]->isEnabled(), c.burnout);
        EXPECT_EQ(s->ChkCJC[1]->isEnabled(), c.cjc);
        // Only "B(RH)" on the plain card also unticks the box.
        EXPECT_EQ(s->ChkCJC[1]->isChecked(), !(c.slot == kPlainSlot && c.type == "B(RH)"));
    }
    frmYK4* s = open(kPlainSlot);
    pickEntry(s->List_InputType[0], "B(RH)");
    pickEntry(s->List_InputType[0], "K(CA)");
    EXPECT_TRUE(s->ChkCJC[0]->isEnabled());
    // Never read: the untick is the program's, and the box still holds no value.
    EXPECT_EQ(s->ChkCJC[0]->checkState(), Qt::PartiallyChecked);
}

// The face is drawn in the colour itself: the old fault drew a lighter shade,
// on which the white text could hardly be read.
TEST_F(YK4Test, UnusedListIsGreenForInUseAndRedForUnused) {
    frmYK4* s = open(kPlainSlot);
    const auto drawnFace = [](QComboBox* list) {
        const QImage drawn = list->grab().toImage();
        return drawn.pixelColor(3, drawn.height() / 2);
    };
    pickEntry(s->List_ChEnable[1], "1");
    EXPECT_EQ(background(s->List_ChEnable[1]), QColor(255, 0, 0));
    EXPECT_EQ(drawnFace(s->List_ChEnable[1]), QColor(255, 0, 0));
    pickEntry(s->List_ChEnable[1], "0");
    EXPECT_EQ(background(s->List_ChEnable[1]), QColor(0, 128, 0));
    EXPECT_EQ(drawnFace(s->List_ChEnable[1]), QColor(0, 128, 0));
    EXPECT_EQ(s->List_ChEnable[1]->palette().color(QPalette::ButtonText), QColor(Qt::white));
}

// The old fault: opened, the list showed the entry not under the mouse white
// on white, and the highlighted one green even on "1".
TEST_F(YK4Test, TheOpenUnusedListShowsBothEntriesReadably) {
    frmYK4* s = open(kPlainSlot);
    QComboBox* list = s->List_ChEnable[1];
    for (const char* value : {"0", "1"}) {
        SCOPED_TRACE(value);
        pickEntry(list, value);
        list->showPopup();
        QAbstractItemView* view = list->view();
        ASSERT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }));
        const QImage drawn = view->viewport()->grab().toImage();
        for (int row = 0; row < 2; ++row) {
            SCOPED_TRACE(row);
            const QRect entry = view->visualRect(view->model()->index(row, 0));
            ASSERT_FALSE(entry.isEmpty());
            const test::TextColours c = test::SampleText(drawn, entry);
            EXPECT_GE(c.ratio, 4.5) << "text " << c.text.name().toStdString() << " on " << c.back.name().toStdString();
            EXPECT_NE(c.back, QColor(0, 128, 0));
            EXPECT_NE(c.back, QColor(255, 0, 0));
        }
        list->hidePopup();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isVisible(); }));
    }
}

TEST_F(YK4Test, BoxesCheckWhatIsTypedPastedOrSet) {
    frmYK4* s = open(kPlainSlot);
    struct Keys {
        QLineEdit* box;
        std::string keys, shown;
        EntryBox kind;
        std::string accepted;
    };
    const Keys typed[] = {
        {s->txtZScale[0], "-5", "-5", EntryBox::ZeroScale, "-5"},
        {s->txtFScale[0], "32001", "3200", EntryBox::FullScale, "3200"},
        {s->txtZBase[0], "12.", "12", EntryBox::ZeroBase, "12"},
        {s->txtFBase[0], "5-", "5", EntryBox::FullBase, "5"},
        {s->txtBias[0], "0.125", "0.12", EntryBox::ZeroAdjust, "0.12"},
        {s->txtGain[0], "3.2001", "3.200", EntryBox::FullAdjust, "3.200"},
        {s->txtZScale[1], " a+7", "7", EntryBox::ZeroScale, "7"},  // blank, letter, "+" dropped
        {s->txtFScale[1], ".", ".", EntryBox::FullScale, ""},      // kept, not accepted
    };
    for (const Keys& k : typed) {
        SCOPED_TRACE(k.keys);
        k.box->setFocus();
        k.box->clear();
        QTest::keyClicks(k.box, QString::fromLatin1(k.keys.c_str()));
        EXPECT_EQ(text(k.box), k.shown);
        const int ch = k.box == s->txtZScale[1] || k.box == s->txtFScale[1] ? 2 : 1;
        EXPECT_EQ(s->lastAccepted(k.kind, ch), k.accepted);
    }

    // Pasted, by the keys (which the key filter lets pass as a control
    // character) or by the box's menu: the whole text goes through the same check.
    QLineEdit* box = s->txtZScale[2];
    type(box, "100");
    struct Paste {
        std::string clip, shown;
    };
    const Paste pastes[] = {
        {"123456789012345678901234567890", "100"},  // a number of any length: out of range
        {"-99999999999999999999.5", "100"},
        {"12.5", "12"},
        {"1e3", "12"},
        {"-32000", "-32000"},
    };
    for (bool byKeys : {true, false}) {
        type(box, "100");
        for (const Paste& p : pastes) {
            SCOPED_TRACE(p.clip + (byKeys ? " by keys" : " by menu"));
            QApplication::clipboard()->setText(QString::fromLatin1(p.clip.c_str()));
            box->setFocus();
            box->selectAll();
            if (byKeys) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16)));
                QApplication::sendEvent(box, &press);
            } else {
                box->paste();
            }
            EXPECT_EQ(text(box), p.shown);
        }
    }

    // Set by the program: the same rules.
    type(s->txtGain[3], "3.2");
    type(s->txtGain[3], "3.20001");
    EXPECT_EQ(text(s->txtGain[3]), "3.2");
    type(s->txtBias[3], "320.01");
    EXPECT_EQ(text(s->txtBias[3]), "");
    type(s->txtZBase[3], ".");
    EXPECT_EQ(text(s->txtZBase[3]), "");
}

TEST_F(YK4Test, ReplyValuesPassTheBoxChecksOnTheirWayToTheRecord) {
    sim.setValue(kPlainSlot, "01", 1531, "0.125");   // rounded to 0.12
    sim.setValue(kPlainSlot, "01", 1552, "40000");   // out of range: the box keeps its text
    sim.setValue(kPlainSlot, "01", 1513, "12.5");    // rounded to 12
    frmYK4* s = open(kPlainSlot);
    type(s->txtZScale[1], "7");
    upload(s);
    EXPECT_EQ(text(s->txtBias[0]), "0.12");
    EXPECT_EQ(record(kPlainSlot).Param[b(1) + 3], "0.12");
    EXPECT_EQ(text(s->txtZScale[1]), "7");
    EXPECT_EQ(record(kPlainSlot).Param[b(2) + 5], "7");
    EXPECT_EQ(text(s->txtZBase[2]), "12");
}

TEST_F(YK4Test, AClickDuringItsOwnTransferAsksForNothingMore) {
    frmYK4* s = open(kPlainSlot);
    sim.clearFrames();
    bool clicked = false;
    when([&] { return countFrames("I05") > 0; },
             [&] {
                 clicked = s->busy();
                 s->uploadButton()->click();  // while the upload runs
             });
    s->uploadButton()->click();
    ASSERT_TRUE(waitFor([&] { return countFrames("I52") >= 4; }));
    settle(s);
    EXPECT_TRUE(clicked);
    // The next tick reads the live values, not the settings again.
    const auto liveReads = [&] { return countFrames("I10"); };
    ASSERT_TRUE(waitFor([&] { return liveReads() > 0; }, 3000));
    settle(s);
    EXPECT_EQ(countFrames("I87"), 1u);
}

TEST_F(YK4Test, LiveReadAsksAgainWhileTheCardReportsATimeOut) {
    frmYK4* s = open(kPlainSlot);
    for (QLineEdit* box : s->txtParData01) type(box, "old");
    sim.clearFrames();
    replyTo("I12", kPlainSlot, "D12:TMOUT", 3);
    ASSERT_TRUE(waitFor([&] { return text(s->txtParData01[3]) != "old"; }, 4000));
    settle(s);
    EXPECT_EQ(countFrames("I12"), 4u);
    Frames expected = selectFrames(kPlainSlot);
    for (const char* item : {"I10", "I11", "I12", "I12", "I12", "I12", "I13"}) add(expected, {"G00", item});
    EXPECT_EQ(sim.frames(), expected);
    EXPECT_EQ(text(s->txtParData01[0]), "+001.0");  // the point stays
    EXPECT_EQ(text(s->txtParData01[2]), "+123.4");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(YK4Test, LiveReadGivesUpAfterTenRereads) {
    frmYK4* s = open(kPlainSlot);
    sim.clearFrames();
    replyTo("I11", kPlainSlot, "D11:TMOUT");
    ASSERT_TRUE(waitFor([&] { return !G().Connected; }, 5000));
    settle(s);
    EXPECT_EQ(countFrames("I11"), 11u);
    EXPECT_EQ(countFrames("I12"), 0u);
    ASSERT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
    EXPECT_EQ(messages.shown[0].title, "Uploading");
}

TEST_F(YK4Test, LiveRereadsStopWhenTheScreenIsHidden) {
    frmYK4* s = open(kPlainSlot);
    sim.clearFrames();
    replyTo("I11", kPlainSlot, "D11:TMOUT");
    k6sim::Fault slow = test::fault("G00", kPlainSlot, k6sim::FaultAction::Delay);
    slow.delayMs = 5;  // the screen waits for each reply, as on a real line
    sim.addFault(slow);
    bool hidden = false;
    when([&] { return countFrames("I11") >= 3; },
             [&] {
                 G().CurFormType = "Over";
                 shell::ShowChildForm("Over");
                 hidden = true;
             });
    ASSERT_TRUE(waitFor([&] { return hidden && !s->busy(); }));
    settle(s);
    EXPECT_LT(countFrames("I11"), 11u);
    EXPECT_TRUE(G().Connected);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(s->cyclicRun() && s->waitForTimer().isActive() && shell::childForms().isShown(s));
}

namespace {

// The trial: after a whole upload, the card refuses its unit, ADC speed
// and limit; the lists and the check box keep what they showed, drawn as not
// read, and the download writes none of them (no "   C", "Middle" or "0" of
// its own) and names them.
TEST_F(YK4Test, RefusedListsAndLimitAreDrawnNotReadAndNotSent) {
    sim.setValue(kPlainSlot, "01", 87, "1");  // "   F"
    sim.setValue(kPlainSlot, "01", 13, "3");
    sim.setValue(kPlainSlot, "01", 57, "1");
    frmYK4* s = open(kPlainSlot);
    upload(s);
    ASSERT_TRUE(messages.shown.empty());
    const CardRecord before = record(kPlainSlot);
    replyTo("I87", kPlainSlot, "CNG");
    replyTo("I13", kPlainSlot, "CNG");
    replyTo("I57", kPlainSlot, "CNG");
    upload(s);
    EXPECT_TRUE(messages.shown.empty());
    for (QWidget* w : std::initializer_list<QWidget*>{s->List_TempUnit, s->List_ADCSpeed, s->chkLimit})
        EXPECT_TRUE(DrawnUnread(w)) << w->objectName().toStdString();
    EXPECT_EQ(s->chkLimit->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(record(kPlainSlot), before);

    sim.clearFaults();
    for (int item : {87, 13, 57}) sim.setValue(kPlainSlot, "01", item, "9");
    sim.clearFrames();
    download(s);
    EXPECT_TRUE(G().Connected);
    for (int item : {87, 13, 57}) EXPECT_EQ(sim.value(kPlainSlot, "01", item), "9") << item;
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Downloading");
    for (const char* name : {"Unit", "ADC Speed", "Limit"})
        EXPECT_NE(messages.shown[0].text.find(name), std::string::npos) << name;

    // The user picking an entry gives the list a value again; the rest stay unsent.
    messages.shown.clear();
    s->List_TempUnit->setCurrentIndex(0);
    Q_EMIT s->List_TempUnit->activated(0);
    EXPECT_FALSE(DrawnUnread(s->List_TempUnit));
    download(s);
    EXPECT_NE(sim.value(kPlainSlot, "01", 87), "9");
    EXPECT_EQ(sim.value(kPlainSlot, "01", 13), "9");
}

// Each kind of control of the screen (a value box, a list, a check box) comes
// to hold no value in each way there is: never read (what it shows is the
// program's own: no entry, an unticked box), refused, not used by the card, or
// unanswered (the link goes; on the next one nothing read before holds). It is
// drawn as not read (grey, or partly checked), the download sends nothing for
// it and goes on, and names it unless the card does not use it.
TEST_F(YK4Test, EachControlKindWithoutAValueIsDrawnNotReadAndLeftByTheDownload) {
    const auto checkText = [](const QCheckBox* b) {
        const Qt::CheckState state = b->checkState();
        return std::string(state == Qt::PartiallyChecked ? "partly" : state == Qt::Checked ? "on" : "off");
    };
    struct Kind {
        const char* name;
        std::string item;
        int key;           // where the simulator keeps the value (channel 2's for a box)
        std::string card;  // the card's value, read first
        std::function<QWidget*(frmYK4*)> control;
        std::function<std::string(frmYK4*)> shown;
        std::string caption;                   // as a download names it refused
        std::string unread, read, keptUnread;  // shown never read, read, and no value after a read
    };
    const Kind kinds[] = {
        {"box", "55", 1552, "7", [](frmYK4* s) { return s->txtZScale[1]; },
         [](frmYK4* s) { return text(s->txtZScale[1]); }, "Zero Scale Ch.1, Ch.2, Ch.3, Ch.4", "", "7", "7"},
        {"list", "87", 87, "1", [](frmYK4* s) { return s->List_TempUnit; },
         [](frmYK4* s) { return shown(s->List_TempUnit); }, "Unit", "", "   F", "   F"},
        {"check box", "57", 57, "1", [](frmYK4* s) { return s->chkLimit; },
         [&](frmYK4* s) { return checkText(s->chkLimit); }, "Limit", "partly", "on", "partly"},
    };
    const QColor grey(0x80, 0x80, 0x80);
    useFakeClock();
    for (const Kind& k : kinds)
        for (const NoValueCase& c : kNoValueCases) {
            SCOPED_TRACE(std::string(k.name) + ", " + c.name);
            sim.clearFaults();
            for (const Kind& each : kinds) sim.setValue(kPlainSlot, "01", each.key, each.card);
            frmYK4* s = fresh(kPlainSlot);
            ASSERT_NE(s, nullptr);
            if (c.way != Way::NeverRead) {
                upload(s);
                ASSERT_EQ(k.shown(s), k.read);
                ASSERT_FALSE(DrawnUnread(k.control(s)));
                if (c.way == Way::Unanswered)
                    sim.addFault(test::silence("I" + k.item, kPlainSlot));
                else
                    replyTo("I" + k.item, kPlainSlot, c.reply);
                upload(s);
                if (c.way == Way::Unanswered) {
                    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
                    EXPECT_FALSE(G().Connected);
                    sim.clearFaults();
                    s = fresh(kPlainSlot);
                }
                EXPECT_TRUE(messages.shown.empty());
            }
            const bool readBefore = c.way == Way::Refused || c.way == Way::Needless;
            QWidget* control = k.control(s);
            EXPECT_EQ(k.shown(s), readBefore ? k.keptUnread : k.unread);
            EXPECT_TRUE(DrawnUnread(control));
            if (!qobject_cast<QCheckBox*>(control)) {
                EXPECT_EQ(control->palette().color(QPalette::Active, QPalette::Text), grey);
            }

            sim.clearFaults();
            sim.setValue(kPlainSlot, "01", k.key, "card");
            sim.clearFrames();
            download(s);
            EXPECT_TRUE(G().Connected);
            EXPECT_EQ(sim.value(kPlainSlot, "01", k.key), "card");
            const std::string named = c.way == Way::Needless  ? ""
                                      : c.way == Way::Refused ? leftOnCard(k.caption)
                                                              : leftOnCard(allBut({}));
            EXPECT_EQ(messages.texts(), named.empty() ? std::vector<std::string>{} : std::vector<std::string>{named});
            if (readBefore) {
                EXPECT_EQ(countFrames("I52"), 4u) << "the download went on to the last settings";
            }
        }
}

// Before any Upload: the plain card's download sends nothing at all, the "/A"
// card's only its fixed ADC speed (fixed by its model, not a default); the
// "/A" unit "   C" the program shows for a record without one, and the
// unticked limit and CJC switches, are drawn as not read and named.
TEST_F(YK4Test, BeforeAnyUploadOnlyTheFixedAdcSpeedOfTheACardIsSent) {
    for (const int slot : {kPlainSlot, kASlot}) {
        SCOPED_TRACE(slot);
        frmYK4* s = fresh(slot);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(shown(s->List_TempUnit), slot == kASlot ? "   C" : "");
        for (QWidget* w : std::initializer_list<QWidget*>{s->List_TempUnit, s->chkLimit, s->ChkCJC[0], s->List_InputType[0]})
            EXPECT_TRUE(DrawnUnread(w)) << w->objectName().toStdString();
        EXPECT_EQ(s->chkLimit->checkState(), Qt::PartiallyChecked);
        EXPECT_EQ(DrawnUnread(s->List_ADCSpeed), slot == kPlainSlot);
        sim.setValue(slot, "01", 13, "9");
        sim.clearFrames();
        download(s);
        Frames expected = selectFrames(slot);
        add(expected, read01("01", "1"));
        if (slot == kASlot) add(expected, read01("13", "3"));
        EXPECT_EQ(sim.frames(), expected);
        EXPECT_EQ(messages.texts(), std::vector<std::string>{leftOnCard(
                                        slot == kASlot ? allBut({"ADC Speed"}) : allBut({}))});
        EXPECT_EQ(record(slot).Param[58], slot == kASlot ? "Low" : "");
    }
}

// A settings file saved after the card refused the unit, the limit and the
// zero scales holds what the record kept; opened again, each field it fills is
// a value, whether the text the refused read kept or another, and an empty
// field is none.
TEST_F(YK4Test, ASettingsFileSavedAroundARefusalGivesValuesOfItsTextsAndNoneOfAnEmptyField) {
    sim.setValue(kPlainSlot, "01", 57, "1");
    frmYK4* s = open(kPlainSlot);
    upload(s);
    for (const char* item : {"I87", "I57", "I55"}) replyTo(item, kPlainSlot, "CNG");
    upload(s);
    sim.clearFaults();
    for (QWidget* w : std::initializer_list<QWidget*>{s->List_TempUnit, s->chkLimit, s->txtZScale[0], s->txtZScale[1]})
        ASSERT_TRUE(DrawnUnread(w)) << w->objectName().toStdString();
    // The file holds the unit as the refused read kept it, another limit, and no zero scale of channel 2.
    CardRecord& r = record(kPlainSlot);
    ASSERT_EQ(r.Param[57], "   F");
    r.Param.set(59, "0");
    r.Param.set(b(2) + 5, "");
    QTemporaryDir dir;
    const std::string path = dir.filePath("station.uJx").toStdString();
    leave();
    files.answers.push_back(path);
    menu("mnuFilesSave")->trigger();
    files.answers.push_back(path);
    menu("mnuFilesOpen")->trigger();
    s = open(kPlainSlot);
    EXPECT_FALSE(DrawnUnread(s->List_TempUnit));
    EXPECT_EQ(shown(s->List_TempUnit), "   F");
    EXPECT_FALSE(DrawnUnread(s->chkLimit));
    EXPECT_EQ(s->chkLimit->checkState(), Qt::Unchecked);
    EXPECT_FALSE(DrawnUnread(s->txtZScale[0]));
    EXPECT_TRUE(DrawnUnread(s->txtZScale[1]));

    for (int item : {87, 57, 1552}) sim.setValue(kPlainSlot, "01", item, "card");
    messages.shown.clear();
    download(s);
    EXPECT_EQ(sim.value(kPlainSlot, "01", 87), "1");
    EXPECT_EQ(sim.value(kPlainSlot, "01", 57), "0");
    EXPECT_EQ(sim.value(kPlainSlot, "01", 1552), "card");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{leftOnCard("Zero Scale Ch.2")});
}

// Picking "B(RH)" unticks the channel's CJC switch: a switch that holds a
// value sends the "0" the pick gave it, one that holds none stays drawn partly
// checked and is not sent.
TEST_F(YK4Test, TheCjcSwitchAnInputTypeUnticksKeepsWhatItHeld) {
    frmYK4* s = fresh(kPlainSlot);
    // Channel 1's switch ticked by the user; channel 2's never read.
    pickEntry(s->List_InputType[0], "K(CA)");
    s->ChkCJC[0]->click();
    ASSERT_EQ(s->ChkCJC[0]->checkState(), Qt::Checked);
    ASSERT_FALSE(DrawnUnread(s->ChkCJC[0]));
    ASSERT_TRUE(DrawnUnread(s->ChkCJC[1]));
    for (int ch : {1, 2}) pickEntry(s->List_InputType[at(ch)], "B(RH)");
    EXPECT_EQ(s->ChkCJC[0]->checkState(), Qt::Unchecked);
    EXPECT_FALSE(DrawnUnread(s->ChkCJC[0]));
    EXPECT_EQ(s->ChkCJC[1]->checkState(), Qt::PartiallyChecked);
    EXPECT_TRUE(DrawnUnread(s->ChkCJC[1]));
    sim.setValue(kPlainSlot, "01", 1251, "1");
    sim.setValue(kPlainSlot, "01", 1252, "card");
    download(s);
    EXPECT_EQ(sim.value(kPlainSlot, "01", 1251), "0");
    EXPECT_EQ(sim.value(kPlainSlot, "01", 1252), "card");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{leftOnCard(
                                    allBut({"InputType Ch.1", "InputType Ch.2", "CJC SW Ch.1"}))});
}

}  // namespace
