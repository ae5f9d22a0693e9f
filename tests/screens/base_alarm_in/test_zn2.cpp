// The tare and load screen: where each of the seven settings of a channel lives
// on the card and in the record, what a download does with empty boxes, and
// what a transfer that loses the card keeps.
#include <gtest/gtest.h>

#include "core/Colors.h"
#include "screens/base_alarm_in/frmZN2.h"
#include "ui/Geometry.h"
#include "tests/screens/ScreenFixture.h"

using namespace talvo;
using namespace talvo::screens;

namespace {

constexpr int kSlot = 10;

// A setting of both channels: its boxes, its group "01" items and its record fields.
struct Place {
    const char* name;
    std::vector<QLineEdit*> frmZN2::*boxes;
    int item[2];
    int param[2];
};
const Place kPlaces[] = {
    {"zscale", &frmZN2::txtZScale, {42, 44}, {1, 8}}, {"fscale", &frmZN2::txtFScale, {43, 45}, {2, 9}},
    {"bias", &frmZN2::txtBias, {10, 12}, {3, 10}},    {"gain", &frmZN2::txtGain, {11, 13}, {4, 11}},
    {"tare", &frmZN2::txtTare, {8, 9}, {5, 12}},      {"load", &frmZN2::txtLoad, {6, 7}, {6, 13}},
    {"thresh", &frmZN2::txtThresh, {4, 5}, {7, 14}},
};
std::string mark(const Place& p, int ch) { return std::string(p.name) + std::to_string(ch); }

class Zn2Test : public test::ScreenTest {
protected:
    QLineEdit* box(frmZN2* s, const Place& p, int ch) { return (s->*p.boxes)[static_cast<std::size_t>(ch - 1)]; }
};

}  // namespace

TEST_F(Zn2Test, UploadPutsEveryItemInItsBoxAndRecordField) {
    for (const Place& p : kPlaces)
        for (int ch = 1; ch <= 2; ++ch) sim.setValue(kSlot, "01", p.item[ch - 1], mark(p, ch));
    sim.setValue(kSlot, "02", 42, "1");
    sim.setValue(kSlot, "02", 43, "0");
    record(kSlot).Param.set(15, "untouched");
    auto* s = pick<frmZN2>(kSlot);
    upload(s);
    const CardRecord& r = record(kSlot);
    for (const Place& p : kPlaces)
        for (int ch = 1; ch <= 2; ++ch) {
            SCOPED_TRACE(mark(p, ch));
            EXPECT_EQ(text(box(s, p, ch)), mark(p, ch));
            EXPECT_EQ(r.Param[p.param[ch - 1]], mark(p, ch));
        }
    EXPECT_EQ(r.Param[15], "untouched");
    EXPECT_EQ(text(s->txtEnable[0]), "1");
    EXPECT_EQ(text(s->txtEnable[1]), "0");
    EXPECT_EQ(r.ChOption[1], "1");
    EXPECT_EQ(r.ChOption[2], "0");
    EXPECT_EQ(r.CardType, "ZN2");
    EXPECT_EQ(window->progress(), 6);  // the bar of 12 stops half way
    EXPECT_TRUE(messages.shown.empty());
    // The live values of both channels, without their decimal point.
    EXPECT_TRUE(waitFor([&] { return text(s->txtParData[0]) == "+0010" && text(s->txtParData[1]) == "+0020"; }));
}

TEST_F(Zn2Test, DownloadSendsAnyTextToItsItem) {
    auto* s = pick<frmZN2>(kSlot);
    settle(s);
    for (const Place& p : kPlaces)
        for (int ch = 1; ch <= 2; ++ch) type(box(s, p, ch), "x" + mark(p, ch));  // letters too
    type(s->txtEnable[0], "0");
    type(s->txtEnable[1], "1");
    download(s);
    for (const Place& p : kPlaces)
        for (int ch = 1; ch <= 2; ++ch) {
            SCOPED_TRACE(mark(p, ch));
            EXPECT_EQ(sim.value(kSlot, "01", p.item[ch - 1]), "x" + mark(p, ch));
            EXPECT_EQ(record(kSlot).Param[p.param[ch - 1]], "x" + mark(p, ch));
        }
    EXPECT_EQ(sim.value(kSlot, "02", 42), "0");
    EXPECT_EQ(sim.value(kSlot, "02", 43), "1");
    EXPECT_EQ(record(kSlot).ChOption[2], "1");
    EXPECT_EQ(window->progress(), 6);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Zn2Test, EmptyBoxIsNotSentAndGetsTheStoredTextBack) {
    auto* s = pick<frmZN2>(kSlot);
    settle(s);
    const QColor before = s->txtEnable[1]->palette().color(QPalette::Base);
    record(kSlot).Param.set(6, "stored");  // channel 1's load ratio
    record(kSlot).ChOption.set(2, "1");
    type(s->txtLoad[0], "");
    type(s->txtEnable[1], "");
    sim.setValue(kSlot, "01", 6, "card");
    sim.setValue(kSlot, "02", 43, "card");
    download(s);
    EXPECT_EQ(sim.value(kSlot, "01", 6), "card");
    EXPECT_EQ(sim.value(kSlot, "02", 43), "card");
    EXPECT_EQ(text(s->txtLoad[0]), "stored");
    EXPECT_EQ(text(s->txtEnable[1]), "1");  // as plain text: the colour stays
    EXPECT_EQ(s->txtEnable[1]->palette().color(QPalette::Base), before);
    EXPECT_EQ(record(kSlot).Param[6], "stored");
}

TEST_F(Zn2Test, FlagShowsWhatTheCardEchoed) {
    auto* s = pick<frmZN2>(kSlot);
    settle(s);
    type(s->txtEnable[0], "2");
    download(s);
    EXPECT_EQ(sim.value(kSlot, "02", 42), "2");
    EXPECT_EQ(text(s->txtEnable[0]), "0");
    EXPECT_EQ(s->txtEnable[0]->palette().color(QPalette::Base), ui::toQColor(colors::Green));
    EXPECT_EQ(record(kSlot).ChOption[1], "0");
}

TEST_F(Zn2Test, BoxesTakeEveryKey) {
    auto* s = pick<frmZN2>(kSlot);
    settle(s);
    s->txtTare[0]->clear();
    s->txtTare[0]->setFocus();
    QTest::keyClicks(s->txtTare[0], "a-1.5x");
    EXPECT_EQ(text(s->txtTare[0]), "a-1.5x");
}

// A transfer that loses the card stops there, says so and disconnects: what was
// not read keeps what it held, and the record takes only what the card accepted.
TEST_F(Zn2Test, TransferThatLosesTheCardKeepsWhatItDidNotReach) {
    auto* s = pick<frmZN2>(kSlot);
    settle(s);
    for (int i = 1; i <= 14; ++i) record(kSlot).Param.set(i, "old");
    record(kSlot).ChOption.set(1, "1");
    useFakeClock();
    k6sim::Fault f;
    f.frame = "I8";  // channel 1's tare ratio
    f.card = kSlot;
    f.group = "01";
    f.action = k6sim::FaultAction::Silence;
    sim.addFault(f);
    type(s->txtTare[0], "typed");
    upload(s);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Uploading incomplete"}));
    EXPECT_FALSE(G().Connected);
    for (int i = 1; i <= 4; ++i) EXPECT_NE(record(kSlot).Param[i], "old") << i;
    for (int i = 5; i <= 14; ++i) EXPECT_EQ(record(kSlot).Param[i], "old") << i;
    EXPECT_EQ(record(kSlot).ChOption[1], "1");
    EXPECT_EQ(text(s->txtTare[0]), "typed");
}

TEST_F(Zn2Test, DownloadThatLosesTheCardKeepsOnlyWhatTheCardTook) {
    auto* s = pick<frmZN2>(kSlot);
    settle(s);
    for (int i = 1; i <= 14; ++i) record(kSlot).Param.set(i, "old");
    record(kSlot).ChOption.set(2, "old");
    for (const Place& p : kPlaces)
        for (int ch = 1; ch <= 2; ++ch) type(box(s, p, ch), mark(p, ch));
    type(s->txtEnable[1], "1");
    k6sim::Fault f;
    f.frame = "Dzscale2";  // channel 2's zero scale is refused
    f.card = kSlot;
    f.action = k6sim::FaultAction::Reply;
    f.text = "CNG";
    sim.addFault(f);
    download(s);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Downloading incomplete"}));
    EXPECT_FALSE(G().Connected);
    for (const Place& p : kPlaces) {
        EXPECT_EQ(record(kSlot).Param[p.param[0]], mark(p, 1));
        EXPECT_EQ(record(kSlot).Param[p.param[1]], "old") << p.name;
    }
    EXPECT_EQ(record(kSlot).ChOption[2], "old");
    EXPECT_EQ(sim.value(kSlot, "02", 43), "0");  // never written
    EXPECT_NE(sim.value(kSlot, "01", 45), "fscale2");
}
