// The discrete views: which items each family reads, how a reply becomes "ON"
// or "OFF", what a pass that loses the card or the focus leaves behind, and
// the overview rows the JOV16 and UJ8 cards fill during monitoring.
#include <gtest/gtest.h>

#include <QTimer>

#include "core/CardList.h"
#include "core/Connection.h"
#include "screens/pulse_out/DiscreteRows.h"
#include "screens/pulse_out/DiscreteView.h"
#include "screens/pulse_out/InOutViews.h"
#include "tests/screens/pulse_out/PulseFixture.h"

using namespace talvo;
using namespace talvo::screens;
using namespace talvo::test;
using Frames = std::vector<std::string>;
using k6sim::FaultAction;

namespace {

class DiscreteTest : public PulseTest {
protected:
    // Waits until box `b` shows `want` (as state() gives it).
    bool shows(const QLineEdit* b, const std::string& want) {
        return waitFor([&] { return state(b) == want; }, 3000);
    }
};

std::string str(int n) { return std::to_string(n); }

}  // namespace

TEST_F(DiscreteTest, EachFamilyReadsItsPointsAfterTheThreeSelectWrites) {
    struct Case {
        int slot;
        std::string group;
        int firstItem, count;
    };
    const Case cases[] = {
        {kJO8, "00", 10, 8},  {kJH16, "00", 10, 16}, {kJO32, "01", 10, 32}, {kJO64, "01", 10, 64},
        {kIK16, "00", 10, 16}, {kJOV16, "00", 10, 8}, {kUJ8, "00", 10, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        auto* s = pick<DiscreteView>(c.slot);
        ASSERT_NE(s, nullptr);
        EXPECT_FALSE(s->uploadButton()->isVisible());
        nextPass(s);
        Frames want = {"G00", "I01", "DF", "G00", "I41", "D" + str(c.slot), "G00", "I01", "D0"};
        for (int k = 0; k < c.count; ++k) {
            want.push_back("G" + c.group);
            want.push_back("I" + str(c.firstItem + k));
        }
        EXPECT_EQ(sim.frames(), want);
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(DiscreteTest, DataViewsShowThePointsOfTheStation) {
    auto* jo8 = pick<DiscreteDataView>(kJO8);
    settle(jo8);
    std::string on;
    for (QLineEdit* b : jo8->txtChData) on += state(b) == "ON" ? '1' : state(b) == "OFF" ? '0' : '?';
    EXPECT_EQ(on, "10110001");
    auto* jo64 = pick<DiscreteDataView>(kJO64);
    settle(jo64);
    ASSERT_EQ(jo64->txtChData.size(), 64u);
    EXPECT_EQ(state(jo64->txtChData[0]), "ON");
    EXPECT_EQ(state(jo64->txtChData[1]), "OFF");
    EXPECT_EQ(state(jo64->txtChData[63]), "ON");
}

TEST_F(DiscreteTest, ReplyTextsToOnAndOff) {
    struct Case {
        const char* name;
        std::string value;  // the point's value on the card ...
        std::string reply;  // ... or the whole reply in place of the card's
        std::string before, after;
    };
    const Case cases[] = {
        {"1", "1", "", "OFF", "ON"},
        {"1 without a colon", "", "D1", "OFF", "ON"},
        {"1 after the first colon", "", "Dx:1", "OFF", "ON"},
        {"1 and more", "1x", "", "ON", "OFF"},
        {"0", "0", "", "ON", "OFF"},
        {"refused", "", "CNG", "ON", "ON"},
        {"not used", "", "CNU", "OFF", "OFF"},
    };
    auto* s = pick<DiscreteDataView>(kJO8);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.clearFaults();
        sim.setValue(kJO8, "00", 10, c.before == "ON" ? "1" : "0");
        ASSERT_TRUE(shows(s->txtChData[0], c.before));
        if (c.reply.empty())
            sim.setValue(kJO8, "00", 10, c.value);
        else
            sim.addFault(fault("I10", kJO8, FaultAction::Reply, c.reply));
        nextPass(s);
        nextPass(s);
        EXPECT_EQ(state(s->txtChData[0]), c.after);
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(DiscreteTest, FirstMissingPointKeepsTheRestOldShowsOneMessageAndDisconnects) {
    auto* s = pick<DiscreteDataView>(kJO8);
    for (int k = 0; k < 8; ++k) sim.setValue(kJO8, "00", 10 + k, "1");
    ASSERT_TRUE(shows(s->txtChData[7], "ON"));
    ASSERT_TRUE(shows(s->txtChData[1], "ON"));
    for (int k = 0; k < 8; ++k) sim.setValue(kJO8, "00", 10 + k, "0");
    useFakeClock();
    sim.addFault(silence("I14", kJO8));  // point 5
    nextPass(s);
    std::string states;
    for (QLineEdit* b : s->txtChData) states += state(b) == "ON" ? '1' : '0';
    EXPECT_EQ(states, "00001111");
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Uploading incomplete"}));
    EXPECT_EQ(messages.shown[0].title, "Uploading");
    EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Stop);
    EXPECT_FALSE(G().Connected);
    EXPECT_FALSE(serial.isOpen());
    // The cycle goes on; its passes fail at once and say nothing while disconnected.
    EXPECT_TRUE(s->cyclicRun());
    QTest::qWait(1200);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(DiscreteTest, CardListFocusMidPassStopsBeforeTheNextPoint) {
    auto* s = pick<DiscreteDataView>(kJO8);
    settle(s);
    k6sim::Fault slow = fault("I12", kJO8, FaultAction::Delay);
    slow.delayMs = 300;
    slow.count = 1;
    sim.addFault(slow);
    sim.clearFrames();
    // The focus moves while point 3's reply is on its way (the pass waits for it
    // in the event loop, where this timer runs).
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (countFrames("I12") == 1) G().CardListFocused = true;
    });
    watch.start(5);
    ASSERT_TRUE(waitFor([&] { return G().CardListFocused; }));
    watch.stop();
    settle(s);
    EXPECT_EQ(countFrames("I13"), 0u);
    sim.clearFrames();
    QTest::qWait(1100);
    EXPECT_TRUE(sim.frames().empty());
    EXPECT_TRUE(messages.shown.empty());
    G().CardListFocused = false;
    EXPECT_TRUE(waitFor([&] { return countFrames("I17") >= 1; }));
}

TEST_F(DiscreteTest, NoTrafficForAnEmptyCardType) {
    for (const char* type : {"NONE", "UNKNOWN"}) {
        SCOPED_TRACE(type);
        auto* s = pick<DiscreteDataView>(kJO8);
        settle(s);
        const std::string before = state(s->txtChData[0]);
        setBoxText(s->cardTypeBox(), type);
        settle(s);
        sim.clearFrames();
        QTest::qWait(1100);
        EXPECT_TRUE(sim.frames().empty());
        EXPECT_EQ(state(s->txtChData[0]), before);
        cardList()->setCurrentIndex(0);
    }
}

TEST_F(DiscreteTest, EntryWritesTheModelFieldsIntoTheSlotsOwnRecord) {
    record(kJO8).Version = "";
    record(kJH16).Version = "";
    auto* s = pick<DiscreteDataView>(kJO8);
    settle(s);
    EXPECT_EQ(record(kJO8).CardType, "JO8");
    EXPECT_EQ(record(kJO8).Version, "1.01");
    auto* jo16 = pick<DiscreteDataView>(kJH16);
    settle(jo16);
    EXPECT_EQ(record(kJH16).CardType, "JH16");
    EXPECT_EQ(record(kJH16).Version, "1.00");
    EXPECT_EQ(record(kJO8).Version, "1.01");
}

TEST_F(DiscreteTest, InOutCharacterOrderOfIk16AndUj8) {
    struct Case {
        int slot;
        std::string reply;  // the channel's value, or "CNG" for a refused read
        std::string di, out;
    };
    // IK16 has the input first, UJ8 the output first; one character is both.
    const Case cases[] = {
        {kIK16, "10", "ON", "OFF"},  {kUJ8, "10", "OFF", "ON"}, {kIK16, "1", "ON", "ON"},
        {kUJ8, "1", "ON", "ON"},     {kIK16, "01", "OFF", "ON"}, {kUJ8, "01", "ON", "OFF"},
        {kIK16, "CNG", "", ""},      // emptied before the read, and a refusal is no state
        {kUJ8, "CNG", "keep", "keep"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.slot) + " " + c.reply);
        auto* s = pick<InOutView>(c.slot);
        sim.clearFaults();
        sim.setValue(c.slot, "00", 10, "11");
        ASSERT_TRUE(shows(s->txtDICh[0], "ON"));
        ASSERT_TRUE(shows(s->txtDOCh[0], "ON"));
        if (c.reply == "CNG")
            sim.addFault(fault("I10", c.slot, FaultAction::Reply, "CNG"));
        else
            sim.setValue(c.slot, "00", 10, c.reply);
        nextPass(s);
        nextPass(s);
        EXPECT_EQ(state(s->txtDICh[0]), c.di == "keep" ? "ON" : c.di);
        EXPECT_EQ(state(s->txtDOCh[0]), c.out == "keep" ? "ON" : c.out);
        EXPECT_TRUE(messages.shown.empty());
        cardList()->setCurrentIndex(0);
    }
}

TEST_F(DiscreteTest, Jov16ShowsThreePartsAndEndsThePassOnAnyOtherCount) {
    auto* s = pick<frmJOV16>(kJOV16);
    settle(s);
    EXPECT_EQ(state(s->txtDICh[0]), "ON");
    EXPECT_EQ(state(s->txtDOCh[0]), "OFF");
    EXPECT_EQ(state(s->txtDOStatusCh[0]), "ON");
    EXPECT_EQ(state(s->txtDOStatusCh[1]), "ON");
    EXPECT_EQ(state(s->txtDICh[2]), "OFF");
    sim.setValue(kJOV16, "00", 11, "1,0");      // channel 2: two parts
    sim.setValue(kJOV16, "00", 12, "1,1,1");    // channel 3 would change
    nextPass(s);
    EXPECT_EQ(state(s->txtDICh[0]), "ON");  // before the short reply: new
    for (QLineEdit* b : {s->txtDICh[1], s->txtDOCh[1], s->txtDOStatusCh[1]}) EXPECT_EQ(text(b), "");
    EXPECT_EQ(state(s->txtDICh[2]), "OFF");  // after it: old
    EXPECT_EQ(countFrames("I12"), 0u);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(G().Connected);
}

TEST_F(DiscreteTest, OverviewLayoutOfTheRowsTheScreensFill) {
    // The card-list upload laid the rows out through the screens' ShowChDataIO.
    const auto visible = [](int slot, int first, int last) {
        std::string out;
        for (int k = first; k <= last; ++k) out += Overview().row(slot)->lamps[static_cast<std::size_t>(k - 1)].visible ? 'v' : '.';
        return out;
    };
    EXPECT_EQ(visible(kJOV16, 1, 32), std::string(8, 'v') + std::string(8, '.') + std::string(16, 'v'));
    EXPECT_EQ(visible(kUJ8, 1, 32), std::string(8, 'v') + std::string(8, '.') + std::string(8, 'v') + std::string(8, '.'));
    for (int slot : {kJOV16, kUJ8, kIY8})
        for (const auto& v : Overview().row(slot)->values) EXPECT_FALSE(v.visible) << slot;
    for (const auto& w : Overview().row(kIY8)->wide) EXPECT_TRUE(w.visible);
    EXPECT_EQ(visible(kIY8, 1, 32), std::string(32, '.'));
}

TEST_F(DiscreteTest, EverySelfFilledFamilyHasAScreenThatFillsItsRow) {
    for (const char* family : kSelfFilledRowFamilies) {
        const OverviewRowHandler* h = FindOverviewRowHandler(family);
        ASSERT_NE(h, nullptr) << family;
        EXPECT_TRUE(h->showChDataIO && h->setOverViewDataIO) << family;
        EXPECT_NE(dynamic_cast<SelfFilledRow*>(shell::childForms().screen(family)), nullptr) << family;
    }
}

TEST_F(DiscreteTest, Jov16OverviewLampsFromItem18) {
    struct Case {
        const char* name;
        std::string value;      // item 18 on the card ...
        std::string reply;      // ... or the whole reply ("" with silent: none)
        bool silent;
        std::string lamps;      // points 1-8 | 17-24 | 25-32
    };
    const Case cases[] = {
        {"three parts", "0F,80,00", "", false, "RRRRGGGG|GGGGGGGR|GGGGGGGG"},
        {"a 12-digit part shows its low eight bits", "FFFFFFFFFF01,0,ff", "", false, "RGGGGGGG|GGGGGGGG|RRRRRRRR"},
        {"fourth part ignored", "01,02,04,FF", "", false, "RGGGGGGG|GRGGGGGG|GGRGGGGG"},
        {"two parts", "0F,80", "", false, "--------|--------|--------"},
        {"no reply", "", "", true, "--------|--------|--------"},
        {"refused", "", "CNG", false, "--------|--------|--------"},
        {"not hex", "xy,1z,", "", false, "GGGGGGGG|RGGGGGGG|GGGGGGGG"},
    };
    useFakeClock();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.clearFaults();
        sim.setValue(kJOV16, "00", 18, "FF,FF,FF");
        ASSERT_TRUE(ReadAllCardsCycData({}));
        ASSERT_EQ(lampColours(kJOV16, 1, 8), "RRRRRRRR");
        Overview().row(kJOV16)->values[0].caption = "x";
        if (c.silent)
            sim.addFault(silence("I18", kJOV16));
        else if (!c.reply.empty())
            sim.addFault(fault("I18", kJOV16, FaultAction::Reply, c.reply));
        else
            sim.setValue(kJOV16, "00", 18, c.value);
        EXPECT_TRUE(ReadAllCardsCycData({}));
        EXPECT_EQ(lampColours(kJOV16, 1, 8) + "|" + lampColours(kJOV16, 17, 24) + "|" + lampColours(kJOV16, 25, 32),
                  c.lamps);
        EXPECT_EQ(Overview().row(kJOV16)->values[0].caption, "");
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_TRUE(G().Connected);
    }
}

TEST_F(DiscreteTest, Uj8OverviewLampsFromItem26) {
    struct Case {
        const char* name;
        std::string value;
        std::string reply;
        bool silent;
        std::string lamps;  // points 1-8 | 17-24
    };
    const Case cases[] = {
        {"two halves", "0180", "", false, "RGGGGGGG|GGGGGGGR"},
        {"one character is both halves", "3", "", false, "RRGGGGGG|RRGGGGGG"},
        {"long word: first two and last two", "80FFFF01", "", false, "GGGGGGGR|RGGGGGGG"},
        {"no reply", "", "", true, "--------|--------"},
        {"empty word", "", "", false, "--------|--------"},
        {"refused", "", "CNG", false, "--------|--------"},
        {"not used", "", "CNU", false, "--------|--------"},
    };
    useFakeClock();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.clearFaults();
        sim.setValue(kUJ8, "00", 26, "FFFF");
        ASSERT_TRUE(ReadAllCardsCycData({}));
        ASSERT_EQ(lampColours(kUJ8, 1, 8), "RRRRRRRR");
        if (c.silent)
            sim.addFault(silence("I26", kUJ8));
        else if (!c.reply.empty())
            sim.addFault(fault("I26", kUJ8, FaultAction::Reply, c.reply));
        else
            sim.setValue(kUJ8, "00", 26, c.value);
        EXPECT_TRUE(ReadAllCardsCycData({}));
        EXPECT_EQ(lampColours(kUJ8, 1, 8) + "|" + lampColours(kUJ8, 17, 24), c.lamps);
        EXPECT_EQ(lampColours(kUJ8, 9, 16), "--------");
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST(DiscreteRows, LowByteOfHexNeverOverflows) {
    struct Case {
        std::string text;
        unsigned value;
    };
    const Case cases[] = {{"0F", 0x0F},  {"ff", 0xFF},       {"1FF", 0xFF},  {"FFFFFFFFFFFFFFFFFFFF01", 0x01},
                          {"", 0},       {"xy", 0},          {"8g", 0x08},   {" 80", 0x80},
                          {"100", 0x00}, {"0000000000000A", 0x0A}};
    for (const Case& c : cases) EXPECT_EQ(LowByteOfHex(c.text), c.value) << c.text;
}
