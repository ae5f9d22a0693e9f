// The analog output and parallel-data screens: where every setting lives on the
// card and in the record, the output types, the format checks of a download, and
// what an unanswered Unused flag leaves behind.
#include <gtest/gtest.h>

#include "screens/skeleton/CardScreen.h"
#include "screens/pulse_out/frmLQN8.h"
#include "screens/pulse_out/frmVU32.h"
#include "tests/screens/pulse_out/PulseFixture.h"

using namespace talvo;
using namespace talvo::screens;
using namespace talvo::test;
using Frames = std::vector<std::string>;
using k6sim::FaultAction;

namespace {

std::string str(int n) { return std::to_string(n); }

class OutputTest : public PulseTest {
protected:
    frmLQN8* openLqn8() {
        auto* s = pick<frmLQN8>(kLQN8);
        settle(s);
        return s;
    }
};

}  // namespace

// --- LQN8 ---

TEST_F(OutputTest, Lqn8ItemsAndRecordFields) {
    auto* s = openLqn8();
    for (int ch = 1; ch <= 8; ++ch) {
        sim.setValue(kLQN8, "01", 2 * ch + 40, "z" + str(ch));
        sim.setValue(kLQN8, "01", 2 * ch + 41, "f" + str(ch));
        sim.setValue(kLQN8, "01", 2 * ch + 8, "b" + str(ch));
        sim.setValue(kLQN8, "01", 2 * ch + 9, "g" + str(ch));
        sim.setValue(kLQN8, "02", ch + 41, ch % 3 ? "0" : "1");
    }
    sim.clearFrames();
    upload(s);
    for (int ch = 1; ch <= 8; ++ch) {
        SCOPED_TRACE(ch);
        const std::size_t i = static_cast<std::size_t>(ch - 1);
        const int p = 5 * (ch - 1);
        EXPECT_EQ(text(s->txtZScale[i]), "z" + str(ch));
        EXPECT_EQ(text(s->txtGain[i]), "g" + str(ch));
        EXPECT_EQ(record(kLQN8).Param[p + 1], "z" + str(ch));
        EXPECT_EQ(record(kLQN8).Param[p + 2], "f" + str(ch));
        EXPECT_EQ(record(kLQN8).Param[p + 3], "b" + str(ch));
        EXPECT_EQ(record(kLQN8).Param[p + 4], "g" + str(ch));
        EXPECT_EQ(record(kLQN8).ChOption[ch], ch % 3 ? "0" : "1");
        EXPECT_EQ(text(s->txtEnable[i]), ch % 3 ? "0" : "1");
    }
    // Group 01 first (the four of each channel), then group 02, then the module codes.
    const Frames f = sim.frames();
    const Frames head = {"G00", "I01", "DF", "G00", "I41", "D13", "G01", "I01", "D1", "G01", "I42", "G01", "I43",
                         "G01", "I10", "G01", "I11", "G01", "I44"};
    ASSERT_GE(f.size(), head.size());
    EXPECT_EQ(Frames(f.begin(), f.begin() + static_cast<long>(head.size())), head);
    const Frames tail = {"G00", "I55", "G00", "I56", "G00", "I57", "G00", "I58"};
    EXPECT_EQ(Frames(f.end() - static_cast<long>(tail.size()), f.end()), tail);
    EXPECT_EQ(window->progress(), 12);
}

TEST_F(OutputTest, Lqn8OutputTypesFromTheModuleCodes) {
    auto* s = openLqn8();
    sim.setValue(kLQN8, "00", 55, "LQ1");
    sim.setValue(kLQN8, "00", 56, "L");
    // A code the card refuses or leaves unanswered is no current output: the
    // label and the record keep what they held, and the upload goes on.
    record(kLQN8).Param.set(15, "0-10V DC");
    record(kLQN8).Param.set(20, "0-10V DC");
    sim.addFault(fault("I57", kLQN8, k6sim::FaultAction::Reply, "CNG"));
    useFakeClock();
    sim.addFault(silence("I58", kLQN8));
    cardList()->setCurrentIndex(1);
    s = openLqn8();
    upload(s);
    const std::string want[] = {"0-10V DC", "4-20mA", "0-10V DC", "0-10V DC",
                                "0-10V DC", "0-10V DC", "0-10V DC", "0-10V DC"};
    for (int ch = 1; ch <= 8; ++ch) {
        EXPECT_EQ(text(s->outPutType[static_cast<std::size_t>(ch - 1)]), want[ch - 1]) << ch;
        EXPECT_EQ(record(kLQN8).Param[5 * ch], want[ch - 1]) << ch;
        EXPECT_EQ(DrawnUnread(s->outPutType[static_cast<std::size_t>(ch - 1)]), ch == 3 || ch == 4) << ch;
    }
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(G().Connected);
}

TEST_F(OutputTest, Lqn8FormatChecksOfADownload) {
    struct Case {
        int column;  // 0 zero scale, 1 full scale, 2 zero adjust, 3 full adjust
        std::string value;
        bool sent;
    };
    const Case cases[] = {
        {0, "12.5", false}, {2, "12.5", true}, {1, "-40000", true},  // no range check here
        {0, "-", false},    {2, "-", false},   {3, ".", false},      {3, "-.", false},
        {1, "", false},     {3, "-0.5", true},
    };
    auto* s = openLqn8();
    const int items[] = {42, 43, 10, 11};  // channel 1
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.column) + " " + c.value);
        std::vector<QLineEdit*>* boxes[] = {&s->txtZScale, &s->txtFScale, &s->txtBias, &s->txtGain};
        for (auto* v : boxes)
            for (QLineEdit* b : *v) type(b, "");
        record(kLQN8).Param.set(c.column + 1, "stored");
        sim.setValue(kLQN8, "01", items[c.column], "card");
        type((*boxes[c.column])[0], c.value);
        download(s);
        EXPECT_EQ(sim.value(kLQN8, "01", items[c.column]), c.sent ? c.value : "card");
        EXPECT_EQ(text((*boxes[c.column])[0]), c.sent ? c.value : "stored");
        EXPECT_EQ(record(kLQN8).Param[c.column + 1], c.sent ? c.value : "stored");
        // Every box typed empty, a text the column's format refuses and the
        // Unused flags never read are named as left.
        const char* names[] = {"Zero Scale", "Full Scale", "Zero Adjust", "Full Adjust"};
        Named left = {{"Unused", chs(1, 8)}};
        for (int k = 0; k < 4; ++k) left[names[k]] = chs(1, 8, k == c.column && c.sent ? 1 : 0);
        EXPECT_EQ(leftNamed(), left);
        EXPECT_EQ(messages.shown.size(), 1u);
        messages.shown.clear();
    }
}

TEST_F(OutputTest, Lqn8UnusedFlagFollowsTheCardsReplyAndAnEmptyBoxShowsTheStoredFlag) {
    auto* s = openLqn8();
    record(kLQN8).ChOption.set(1, "1");
    type(s->txtEnable[0], "");
    type(s->txtEnable[1], "1");
    download(s);
    EXPECT_EQ(text(s->txtEnable[0]), "1");   // not sent, the stored flag shown
    EXPECT_EQ(sim.value(kLQN8, "02", 43), "1");
    EXPECT_EQ(record(kLQN8).ChOption[2], "1");
    EXPECT_EQ(record(kLQN8).ChOption[1], "1");
    // A refused flag: the box shows what the card answered.
    sim.addFault(fault("D1", kLQN8, FaultAction::Reply, "D0"));
    type(s->txtEnable[2], "1");
    download(s);
    EXPECT_EQ(text(s->txtEnable[2]), "0");
    EXPECT_EQ(record(kLQN8).ChOption[3], "0");
}

TEST_F(OutputTest, Lqn8UnansweredUnusedFlagKeepsTheBoxAndTheRecord) {
    auto* s = openLqn8();
    upload(s);
    ASSERT_EQ(record(kLQN8).ChOption[2], "1");
    // The user marks channel 1 unused; its write goes unanswered.
    record(kLQN8).ChOption.set(1, "0");
    type(s->txtEnable[0], "1");
    useFakeClock();
    k6sim::Fault f = silence("D1", kLQN8);
    f.group = "02";
    f.skip = 1;  // the group's opening "1" passes
    sim.addFault(f);
    download(s);
    EXPECT_EQ(messages.texts(), (Frames{"Downloading incomplete"}));
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(text(s->txtEnable[0]), "1");
    EXPECT_EQ(record(kLQN8).ChOption[1], "0");
    EXPECT_EQ(record(kLQN8).ChOption[2], "1");
}

TEST_F(OutputTest, Lqn8UnansweredUnusedReadKeepsTheBoxAndTheRecord) {
    auto* s = openLqn8();
    record(kLQN8).ChOption.set(2, "1");
    ShowBitText(s->txtEnable[1], "1");
    useFakeClock();
    sim.addFault(silence("I43", kLQN8));
    upload(s);
    EXPECT_EQ(messages.texts(), (Frames{"Uploading incomplete"}));
    EXPECT_EQ(text(s->txtEnable[1]), "1");
    EXPECT_EQ(record(kLQN8).ChOption[2], "1");
}

TEST_F(OutputTest, Lqn8CycleRestsWhileAnotherScreenIsShown) {
    auto* s = openLqn8();
    EXPECT_EQ(text(s->txtParData[0]), "+0010");
    cardList()->setCurrentIndex(0);
    EXPECT_FALSE(s->waitForTimer().isActive());
    sim.clearFrames();
    QTest::qWait(700);
    EXPECT_TRUE(sim.frames().empty());
    openLqn8();
    EXPECT_TRUE(s->waitForTimer().isActive());
}

// --- VU32 ---

TEST_F(OutputTest, Vu32ItemsRecordFieldsAndLiveValues) {
    auto* s = pick<frmVU32>(kVU32);
    settle(s);
    EXPECT_EQ(text(s->txtParData01), "1234");  // "12.34" loses its point
    EXPECT_EQ(text(s->txtParData02), "5678");
    for (int k = 0; k < 3; ++k) sim.setValue(kVU32, "01", 15 + k, "v" + str(k + 1));
    sim.clearFrames();
    upload(s);
    EXPECT_EQ(writes(), join(selectWrites(kVU32), {"01/01:1"}));
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(text(s->txtDataPara[static_cast<std::size_t>(k - 1)]), "v" + str(k));
        EXPECT_EQ(record(kVU32).Param[k], "v" + str(k));
    }
    EXPECT_EQ(record(kVU32).CardType, "VU32");
    EXPECT_EQ(window->progress(), 12);
    sim.setValue(kVU32, "00", 10, "1.2.3");
    nextPass(s);
    EXPECT_EQ(text(s->txtParData01), "12.3");  // only the first point goes
}

TEST_F(OutputTest, Vu32DownloadWritesOnlyTheFilledBoxesAsTheyStand) {
    auto* s = pick<frmVU32>(kVU32);
    settle(s);
    for (int k = 1; k <= 3; ++k) record(kVU32).Param.set(k, "r" + str(k));
    type(s->txtDataPara[0], "");
    type(s->txtDataPara[1], "any text");  // no check: sent as it stands
    type(s->txtDataPara[2], "");
    sim.clearFrames();
    download(s);
    EXPECT_EQ(writes(), join(selectWrites(kVU32), {"01/01:1", "01/16:any text"}));
    EXPECT_EQ(record(kVU32).Param[1], "r1");
    EXPECT_EQ(record(kVU32).Param[2], "any text");
    EXPECT_EQ(text(s->txtDataPara[0]), "r1");
    EXPECT_EQ(text(s->txtDataPara[2]), "r3");
    // The boxes typed empty are named as left, each by its own caption.
    EXPECT_EQ(messages.texts(), (Frames{std::string(ui::kLeftAsTheyAreText) + "Data Logic; Data Exchange"}));
}

TEST_F(OutputTest, Vu32LiveValueMissingKeepsBothAndDisconnects) {
    auto* s = pick<frmVU32>(kVU32);
    settle(s);
    sim.setValue(kVU32, "00", 10, "99");
    useFakeClock();
    sim.addFault(silence("I11", kVU32));
    nextPass(s);
    EXPECT_EQ(text(s->txtParData01), "1234");
    EXPECT_EQ(text(s->txtParData02), "5678");
    EXPECT_EQ(messages.texts(), (Frames{"Uploading incomplete"}));
    EXPECT_FALSE(G().Connected);
}
