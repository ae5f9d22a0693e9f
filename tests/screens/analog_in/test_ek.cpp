// The scale-and-base input screens with 4 and 8 channels: where each setting
// lives on the card and in the record, the download's acceptance of any text,
// the percent readout, and transfers that lose the card.
#include <gtest/gtest.h>

#include "screens/analog_in/frmEK.h"
#include "tests/screens/ScreenFixture.h"
#include "tests/screens/analog_in/LeftList.h"

using namespace talvo;
using namespace talvo::screens;
using Boxes = std::vector<QLineEdit*> PercentInputScreen::*;

namespace {

// A setting: item 2ch + itemBase of its group, Param(2ch + paramBase) on EK4 / EK8.
struct Field {
    const char* name;
    Boxes boxes;
    const char* group;
    int itemBase, paramBase4, paramBase8;
};
const Field kFields[] = {
    {"zs", &PercentInputScreen::txtZScale, "01", 40, -1, -1},
    {"fs", &PercentInputScreen::txtFScale, "01", 41, 0, 0},
    {"zb", &PercentInputScreen::txtZBase, "02", 8, 7, 15},
    {"fb", &PercentInputScreen::txtFBase, "02", 9, 8, 16},
};

struct Card {
    int slot, n;
    int param(const Field& f, int ch) const { return 2 * ch + (n == 4 ? f.paramBase4 : f.paramBase8); }
};
const Card kCards[] = {{8, 4}, {9, 8}};

std::string at(const std::string& prefix, int ch) { return prefix + std::to_string(ch); }
std::size_t idx(int ch) { return static_cast<std::size_t>(ch - 1); }

k6sim::Fault silence(const std::string& frame, int card, const std::string& group) {
    k6sim::Fault f;
    f.frame = frame;
    f.card = card;
    f.group = group;
    f.action = k6sim::FaultAction::Silence;
    return f;
}

class EkTest : public test::ScreenTest {};

}  // namespace

TEST_F(EkTest, UploadAndDownloadLayoutOnFourAndEightChannels) {
    for (const Card& c : kCards) {
        SCOPED_TRACE(c.n);
        for (int ch = 1; ch <= c.n; ++ch) {
            for (const Field& f : kFields) sim.setValue(c.slot, f.group, 2 * ch + f.itemBase, at(f.name, ch));
            sim.setValue(c.slot, "02", ch + 41, ch % 2 ? "1" : "0");
        }
        auto* s = pick<PercentInputScreen>(c.slot);
        EXPECT_EQ(s->modelFrame()->title(), c.n == 4 ? "EK4" : "EK8");
        upload(s);
        const CardRecord& r = record(c.slot);
        for (int ch = 1; ch <= c.n; ++ch) {
            SCOPED_TRACE(ch);
            for (const Field& f : kFields) {
                EXPECT_EQ(text((s->*f.boxes)[idx(ch)]), at(f.name, ch)) << f.name;
                EXPECT_EQ(r.Param[c.param(f, ch)], at(f.name, ch)) << f.name;
            }
            EXPECT_EQ(text(s->txtEnable[idx(ch)]), ch % 2 ? "1" : "0");
            EXPECT_EQ(r.ChOption[ch], ch % 2 ? "1" : "0");
        }
        EXPECT_EQ(r.Param[4 * c.n + 1], "");
        EXPECT_EQ(window->progress(), c.n == 4 ? 10 : 12);

        for (int ch = 1; ch <= c.n; ++ch) {
            for (const Field& f : kFields) type((s->*f.boxes)[idx(ch)], at(std::string("n") + f.name, ch));
            type(s->txtEnable[idx(ch)], ch % 2 ? "0" : "1");
        }
        download(s);
        for (int ch = 1; ch <= c.n; ++ch) {
            SCOPED_TRACE(ch);
            for (const Field& f : kFields) {
                EXPECT_EQ(sim.value(c.slot, f.group, 2 * ch + f.itemBase), at(std::string("n") + f.name, ch)) << f.name;
                EXPECT_EQ(r.Param[c.param(f, ch)], at(std::string("n") + f.name, ch)) << f.name;
            }
            EXPECT_EQ(sim.value(c.slot, "02", ch + 41), ch % 2 ? "0" : "1");
            EXPECT_EQ(r.ChOption[ch], ch % 2 ? "0" : "1");
        }
        EXPECT_EQ(window->progress(), c.n == 4 ? 10 : 12);
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(EkTest, DownloadSendsAnyTextAndSkipsOnlyEmptyBoxes) {
    auto* s = pick<frmEK4>(8);
    settle(s);
    record(8).Param.set(10, "stored");  // channel 1's full base
    record(8).ChOption.set(2, "1");
    s->txtZScale[0]->clear();
    s->txtZScale[0]->setFocus();
    QTest::keyClicks(s->txtZScale[0], "abc");  // no key filter on these boxes
    type(s->txtFBase[0], "");
    type(s->txtEnable[0], "x");
    type(s->txtEnable[1], "");
    sim.setValue(8, "02", 11, "before");
    sim.setValue(8, "02", 43, "0");
    download(s);
    // Named as left: the emptied boxes and what was never read.
    EXPECT_EQ(messages.texts(), std::vector<std::string>{test::LeftMessage(
                                    "Full Scale Ch.1, Ch.2, Ch.3, Ch.4; Zero Scale Ch.2, Ch.3, Ch.4; "
                                    "Zero Base Ch.1, Ch.2, Ch.3, Ch.4; Full Base Ch.1, Ch.2, Ch.3, Ch.4; "
                                    "Unused Ch.2, Ch.3, Ch.4")});
    EXPECT_EQ(sim.value(8, "01", 42), "abc");
    EXPECT_EQ(sim.value(8, "02", 11), "before");
    EXPECT_EQ(text(s->txtFBase[0]), "stored");
    EXPECT_EQ(sim.value(8, "02", 42), "x");  // sent as typed; the echo is not "1"
    EXPECT_EQ(text(s->txtEnable[0]), "0");
    EXPECT_EQ(record(8).ChOption[1], "0");
    EXPECT_EQ(sim.value(8, "02", 43), "0");
    EXPECT_EQ(text(s->txtEnable[1]), "1");
}

TEST_F(EkTest, PercentReadoutAndLiveReadsThatStopPartWay) {
    struct Case {
        std::string frame, group;
        int freshValues, freshPercents;  // channels whose boxes change before the read stops
    };
    const Case cases[] = {
        {"", "", 8, 8},
        {"I12", "00", 2, 0},  // channel 3's value
        {"I61", "02", 8, 1},  // channel 2's percent
    };
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        if (!G().Connected) connectAndUpload();
        auto* s = pick<frmEK8>(9);
        settle(s);
        messages.shown.clear();
        ++round;
        for (int ch = 1; ch <= 8; ++ch) {
            for (QLineEdit* b : {s->txtParData[idx(ch)], s->txtInputType[idx(ch)]}) type(b, "old");
            sim.setValue(9, "00", ch + 9, "+" + std::to_string(round) + std::to_string(ch) + ".5");
            sim.setValue(9, "02", ch + 59, std::to_string(round) + std::to_string(ch) + ".5");
        }
        if (!c.frame.empty()) {
            // The card reports a time-out for the item: no valid answer, at once.
            k6sim::Fault f;
            f.frame = c.frame;
            f.card = 9;
            f.group = c.group;
            f.action = k6sim::FaultAction::Reply;
            f.text = "DTMOUT";
            sim.addFault(f);
            ASSERT_TRUE(waitFor([&] { return !G().Connected; }));
            EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
        } else {
            ASSERT_TRUE(waitFor([&] { return text(s->txtInputType[7]) != "old"; }));
        }
        settle(s);
        for (int ch = 1; ch <= 8; ++ch) {
            SCOPED_TRACE(ch);
            const std::string digits = std::to_string(round) + std::to_string(ch) + "5";
            EXPECT_EQ(text(s->txtParData[idx(ch)]), ch <= c.freshValues ? "+" + digits : "old");
            EXPECT_EQ(text(s->txtInputType[idx(ch)]), ch <= c.freshPercents ? digits : "old");
        }
        sim.clearFaults();
    }
}

TEST_F(EkTest, UploadThatLosesTheCardKeepsWhatWasNotRead) {
    for (int i = 1; i <= 16; ++i) record(8).Param.set(i, "old");
    record(8).ChOption.set(1, "1");
    auto* s = pick<frmEK4>(8);
    settle(s);
    useFakeClock();
    sim.addFault(silence("I12", 8, "02"));  // channel 2's zero base
    upload(s);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(record(8).Param[8], "10000");  // channel 4's full scale was read
    EXPECT_EQ(record(8).Param[9], "0");      // channel 1's zero base was read
    EXPECT_EQ(record(8).Param[11], "old");
    EXPECT_EQ(text(s->txtZBase[1]), "old");
    EXPECT_EQ(record(8).ChOption[1], "1");
    EXPECT_EQ(text(s->txtEnable[0]), "1");
}

TEST_F(EkTest, DownloadThatLosesTheCardKeepsOnlyWhatTheCardTook) {
    auto* s = pick<frmEK8>(9);
    settle(s);
    for (int ch = 1; ch <= 8; ++ch) type(s->txtZBase[idx(ch)], at("b", ch));
    k6sim::Fault f;
    f.frame = "Db3";
    f.card = 9;
    f.action = k6sim::FaultAction::Reply;
    f.text = "CNG";
    sim.addFault(f);
    download(s);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Downloading incomplete"});
    EXPECT_EQ(messages.shown[0].title, "Downloading");
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(record(9).Param[19], "b2");
    EXPECT_EQ(record(9).Param[21], "");  // refused: keeps what it held
    EXPECT_EQ(static_cast<long>(countFrames("Db4")), 0);
}
