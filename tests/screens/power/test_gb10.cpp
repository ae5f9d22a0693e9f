// The one-circuit power card screen against the simulator: where each setting
// lives on the card and in the record on the plain card and on the "GB1A" and
// "GB1B" models, the secondary ratings that are never written, "Wh Clear", the
// live values and what a card that stops answering leaves behind.
#include <gtest/gtest.h>

#include "screens/power/frmGB10.h"
#include "shell/frmLoading.h"
#include "tests/screens/power/PowerFixture.h"

using namespace talvo;
using namespace talvo::screens;
using test::Frames;
using test::silence;

namespace {

class Gb10Test : public test::PowerScreenTest {
protected:
    frmGB10* open(int slot) {
        auto* s = pick<frmGB10>(slot);
        if (s) settle(s);
        return s;
    }
};

// Every setting box of the screen with its record field, its item on the plain
// card, and its item on a "GB1A"/"GB1B" card (0: not on the card).
struct Field {
    const char* name;
    QLineEdit* frmGB10::*box;  // for the single boxes
    std::size_t index;         // for the arrays (txtBias, txtGain, txtZScale, txtFScale), else 0
    int param, item, itemOnVariant;
};

QLineEdit* boxOf(frmGB10* s, const Field& f) {
    if (f.box) return s->*f.box;
    const std::string n = f.name;
    if (n.rfind("txtBias", 0) == 0) return s->txtBias[f.index];
    if (n.rfind("txtGain", 0) == 0) return s->txtGain[f.index];
    if (n.rfind("txtZScale", 0) == 0) return s->txtZScale[f.index];
    return s->txtFScale[f.index];
}

const Field kFields[] = {
    {"txtBias1", nullptr, 1, 1, 10, 10},       {"txtGain1", nullptr, 1, 2, 11, 11},
    {"txtBias2", nullptr, 2, 3, 12, 12},       {"txtGain2", nullptr, 2, 4, 13, 13},
    {"txtBias3", nullptr, 3, 5, 14, 14},       {"txtGain3", nullptr, 3, 6, 15, 15},
    {"txtBias4", nullptr, 4, 7, 16, 16},       {"txtGain4", nullptr, 4, 8, 17, 17},
    {"txtZScale1", nullptr, 1, 9, 18, 18},     {"txtZScale2", nullptr, 2, 11, 42, 42},
    {"txtFScale2", nullptr, 2, 12, 35, 35},    {"txtZScale3", nullptr, 3, 13, 50, 50},
    {"txtFScale3", nullptr, 3, 14, 51, 51},    {"txtCTScale1", &frmGB10::txtCTScale1, 0, 15, 61, 83},
    {"txtCTScale2", &frmGB10::txtCTScale2, 0, 16, 62, 84}, {"txtCTScale3", &frmGB10::txtCTScale3, 0, 17, 63, 0},
    {"txtPTScale1", &frmGB10::txtPTScale1, 0, 18, 58, 58}, {"txtPTScale2", &frmGB10::txtPTScale2, 0, 19, 59, 59},
    {"txtPTScale3", &frmGB10::txtPTScale3, 0, 20, 60, 60}, {"txtZeroScale", &frmGB10::txtZeroScale, 0, 21, 82, 82},
    {"txtZScale4", nullptr, 4, 22, 19, 19},    {"txtZScale5", nullptr, 5, 24, 44, 44},
    {"txtFScale5", nullptr, 5, 25, 37, 37},
};

struct Model {
    int slot;
    const char* code;
    bool variant;  // "GB1A" or "GB1B"
};
const Model kModels[] = {{test::kGB10, "GB10", false}, {test::kGB1A, "GB1A", true}, {test::kGB1B, "GB1B", true}};

int itemOn(const Field& f, bool variant) { return variant ? f.itemOnVariant : f.item; }

}  // namespace

TEST_F(Gb10Test, VariantsHideTheCtSecondaryAndCaptionTheMiddleColumnUT) {
    for (const Model& m : kModels) {
        SCOPED_TRACE(m.code);
        auto* s = open(m.slot);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->modelFrame()->title().toStdString(), m.code);
        EXPECT_EQ(s->txtCTScale3->isHidden(), m.variant);
        EXPECT_FALSE(s->txtPTScale3->isHidden());
        EXPECT_EQ(s->Label1_13->text().toStdString(), m.variant ? "U/T" : "U");
        EXPECT_TRUE(s->txtCTScale3->isReadOnly());
        EXPECT_TRUE(s->txtPTScale3->isReadOnly());
        EXPECT_EQ(s->clearButton()->text(), "Wh Clear");
    }
}

TEST_F(Gb10Test, UploadReadsEachItemIntoItsBoxAndRecordField) {
    for (const Model& m : kModels) {
        SCOPED_TRACE(m.code);
        for (const Field& f : kFields)
            if (itemOn(f, m.variant)) sim.setValue(m.slot, "01", itemOn(f, m.variant), "v" + str(itemOn(f, m.variant)));
        for (int p : {10, 17, 23, 26}) record(m.slot).Param.set(p, "keep");
        auto* s = open(m.slot);
        sim.clearFrames();
        upload(s);
        EXPECT_TRUE(messages.shown.empty());
        const CardRecord& rec = record(m.slot);
        std::vector<int> items;
        for (const Field& f : kFields) {
            SCOPED_TRACE(f.name);
            const int item = itemOn(f, m.variant);
            if (!item) {
                // Not on the card: not read; the hidden box keeps its text and the
                // record what the box holds.
                EXPECT_EQ(text(boxOf(s, f)), "keep");
                EXPECT_EQ(rec.Param[f.param], "keep");
                continue;
            }
            items.push_back(item);
            EXPECT_EQ(text(boxOf(s, f)), "v" + str(item));
            EXPECT_EQ(rec.Param[f.param], "v" + str(item));
        }
        EXPECT_EQ(rec.Param[10], "keep");
        EXPECT_EQ(rec.Param[23], "keep");
        EXPECT_EQ(rec.Param[26], "keep");
        EXPECT_EQ(rec.CardType, m.code);
        // The reads in the screen's order: bias and gain by value, then the table's order.
        std::vector<int> order = {10, 11, 12, 13, 14, 15, 16, 17, 18, 42, 35, 50, 51};
        const std::vector<int> ct = m.variant ? std::vector<int>{83, 84} : std::vector<int>{61, 62, 63};
        order.insert(order.end(), ct.begin(), ct.end());
        order.insert(order.end(), {58, 59, 60, 82, 19, 44, 37});
        EXPECT_EQ(transferFrames(m.slot, {"G01", "I01", "D1"}),
                  join({selectFrames(m.slot), write("01", "01", "1"), reads("01", order)}));
        EXPECT_EQ(window->progress(), 12);
    }
}

TEST_F(Gb10Test, DownloadWritesEveryFilledBoxButNeverTheSecondaryRatings) {
    for (const Model& m : kModels) {
        SCOPED_TRACE(m.code);
        auto* s = open(m.slot);
        CardRecord& rec = record(m.slot);
        for (const Field& f : kFields) {
            rec.Param.set(f.param, "stored" + str(f.param));
            type(boxOf(s, f), "w" + str(f.param));
        }
        type(s->txtZScale[2], "");  // an emptied box: nothing sent, the record's value back
        sim.setValue(m.slot, "01", 42, "card42");
        sim.clearFrames();
        messages.shown.clear();
        download(s);
        // The emptied box had nothing to send: named as the screen captions it.
        EXPECT_EQ(messages.texts(), std::vector<std::string>{std::string(ui::kLeftAsTheyAreText) + "Wh Min."});
        Frames expected = join({selectFrames(m.slot), write("01", "01", "1")});
        for (const Field& f : kFields) {
            SCOPED_TRACE(f.name);
            const int item = itemOn(f, m.variant);
            const bool secondary = f.param == 17 || f.param == 20;
            if (secondary || f.param == 11) {
                EXPECT_EQ(rec.Param[f.param], "stored" + str(f.param));
                continue;
            }
            const Frames w = write("01", item, "w" + str(f.param));
            expected.insert(expected.end(), w.begin(), w.end());
            EXPECT_EQ(sim.value(m.slot, "01", item), "w" + str(f.param));
            EXPECT_EQ(rec.Param[f.param], "w" + str(f.param));
        }
        EXPECT_EQ(transferFrames(m.slot, {"G01", "I01", "D1"}), expected);
        EXPECT_EQ(text(s->txtZScale[2]), "stored11");
        EXPECT_EQ(sim.value(m.slot, "01", 42), "card42");
        // The secondary ratings keep what the boxes show, on the card and in the record.
        EXPECT_EQ(text(s->txtCTScale3), "w17");
        EXPECT_EQ(text(s->txtPTScale3), "w20");
        EXPECT_EQ(sim.value(m.slot, "01", 60), "110");
        EXPECT_EQ(countFrames("I63"), 0u);
        EXPECT_EQ(window->progress(), 12);
    }
}

TEST_F(Gb10Test, WhClearSendsTheClearItemWithoutAProgressWindow) {
    auto* s = open(test::kGB10);
    ASSERT_EQ(text(s->txtParData01[5]), "5678");
    sim.clearFrames();
    s->clearButton()->click();
    ASSERT_TRUE(waitFor([&] { return countFrames("I81") > 0; }));
    settle(s);
    EXPECT_EQ(transferFrames(test::kGB10, {"G01", "I01", "D1"}),
              join({selectFrames(test::kGB10), write("01", "01", "1"), write("01", 81, "1")}));
    EXPECT_EQ(window->progressWindow()->caption(), "Uploading");  // the card list's, not a new one
    EXPECT_TRUE(messages.shown.empty());
    // The simulated card zeroes its counters; the next live read shows them.
    waitForLiveRead(s, "21");
    for (std::size_t k = 5; k <= 12; ++k) EXPECT_EQ(text(s->txtParData01[k]), "0") << k;
    EXPECT_EQ(text(s->txtParData01[1]), "+12345");
}

TEST_F(Gb10Test, LiveValuesLoseTheirTagAndDecimalPointAndTheUpperCountersDoNotBlink) {
    for (int item = 10; item <= 21; ++item) sim.setValue(test::kGB10, "00", item, str(item) + ".5");
    sim.setValue(test::kGB10, "00", 10, "12.34");
    auto* s = open(test::kGB10);
    int upperChanges = 0, lowerChanges = 0;
    QObject::connect(s->txtParData01[9], &QLineEdit::textChanged, [&] { ++upperChanges; });
    QObject::connect(s->txtParData01[8], &QLineEdit::textChanged, [&] { ++lowerChanges; });
    waitForLiveRead(s, "21");
    EXPECT_EQ(text(s->txtParData01[1]), "1234");
    for (std::size_t k = 2; k <= 12; ++k) EXPECT_EQ(text(s->txtParData01[k]), str(9 + static_cast<int>(k)) + "5") << k;
    EXPECT_EQ(upperChanges, 0);
    EXPECT_GE(lowerChanges, 2);  // emptied, then filled
    EXPECT_EQ(sim.frames(), join({selectFrames(test::kGB10), reads("00", {10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
                                                                          20, 21})}));
}

TEST_F(Gb10Test, TransfersThatLoseTheCardStopReportAndDisconnect) {
    struct Case {
        const char* what;
        const char* silentFrame;
        const char* message;
    };
    const Case cases[] = {{"upload", "I50", "Uploading incomplete"},
                          {"download", "I51", "Downloading incomplete"},
                          {"clear", "I81", "Downloading incomplete"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restartWindow();
        connectAndUpload();
        messages.shown.clear();
        auto* s = open(test::kGB10);
        for (std::size_t i = 1; i <= 4; ++i) type(s->txtGain[i], "g" + str(static_cast<int>(i)));
        type(s->txtFScale[3], "box51");
        type(s->txtZScale[4], "box19");
        record(test::kGB10).Param.set(22, "rec19");
        useFakeClock();
        sim.addFault(silence(c.silentFrame, test::kGB10));
        const std::string what = c.what;
        if (what == "upload")
            upload(s);
        else if (what == "download")
            download(s);
        else {
            s->clearButton()->click();
            ASSERT_TRUE(waitFor([&] { return !messages.shown.empty(); }));
        }
        settle(s);
        EXPECT_EQ(messages.texts(), Frames{c.message});
        EXPECT_FALSE(G().Connected);
        if (what == "upload") {
            EXPECT_EQ(text(s->txtGain[4]), "1.000");  // read before the failure
            EXPECT_EQ(text(s->txtFScale[3]), "box51");  // not read: kept
            EXPECT_EQ(text(s->txtZScale[4]), "box19");
            EXPECT_EQ(record(test::kGB10).Param[22], "rec19");
        } else if (what == "download") {
            EXPECT_EQ(sim.value(test::kGB10, "01", 17), "g4");
            EXPECT_EQ(record(test::kGB10).Param[8], "g4");
            EXPECT_EQ(record(test::kGB10).Param[14], "");  // refused: the record keeps its value
            EXPECT_EQ(sim.value(test::kGB10, "01", 19), "2");  // after the failure: not sent
            EXPECT_EQ(record(test::kGB10).Param[22], "rec19");
        }
        EXPECT_FALSE(window->progressWindow()->isVisible());
        sim.clearFaults();
        platform::services().clock = &steadyClock;
    }
}

TEST_F(Gb10Test, LiveReadThatLosesTheCardReportsOnceAndKeepsTheValues) {
    auto* s = open(test::kGB10);
    waitForLiveRead(s, "21");
    ASSERT_EQ(text(s->txtParData01[1]), "+12345");
    useFakeClock();
    sim.addFault(silence("I21", test::kGB10));
    ASSERT_TRUE(waitFor([&] { return !messages.shown.empty(); }));
    settle(s);
    EXPECT_EQ(messages.texts(), Frames{"Uploading incomplete"});
    EXPECT_EQ(messages.shown[0].title, "Uploading");
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(text(s->txtParData01[1]), "+12345");
    EXPECT_EQ(text(s->txtParData01[5]), "5678");
    QTest::qWait(1200);  // later passes fail silently
    EXPECT_EQ(messages.shown.size(), 1u);
}
