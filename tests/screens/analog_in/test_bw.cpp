// The 4- and 8-channel scaled input screens: where each setting lives on the card
// and in the record, the range checks, and the format checks of a download.
#include <gtest/gtest.h>

#include <QClipboard>

#include "screens/analog_in/frmBW.h"
#include "tests/screens/ScreenFixture.h"
#include "tests/screens/analog_in/LeftList.h"

using namespace talvo;
using namespace talvo::screens;

namespace {

class BwTest : public test::ScreenTest {
protected:
    // Gives every setting of the card in `slot` a value that names its place.
    void markCard(int slot, int n) {
        for (int ch = 1; ch <= n; ++ch) {
            sim.setValue(slot, "01", 2 * ch + 40, "z" + std::to_string(ch));
            sim.setValue(slot, "01", 2 * ch + 41, "f" + std::to_string(ch));
            sim.setValue(slot, "01", 2 * ch + 8, "b" + std::to_string(ch));
            sim.setValue(slot, "01", 2 * ch + 9, "g" + std::to_string(ch));
            sim.setValue(slot, "02", ch + 41, ch % 2 ? "1" : "0");
        }
    }
    void checkLayout(ScaledInputScreen* s, int slot, int n) {
        const CardRecord& r = record(slot);
        for (int ch = 1; ch <= n; ++ch) {
            const std::size_t i = static_cast<std::size_t>(ch - 1);
            const std::string c = std::to_string(ch);
            EXPECT_EQ(text(s->txtZScale[i]), "z" + c);
            EXPECT_EQ(text(s->txtFScale[i]), "f" + c);
            EXPECT_EQ(text(s->txtBias[i]), "b" + c);
            EXPECT_EQ(text(s->txtGain[i]), "g" + c);
            EXPECT_EQ(text(s->txtEnable[i]), ch % 2 ? "1" : "0");
            EXPECT_EQ(r.Param[4 * ch - 3], "z" + c);
            EXPECT_EQ(r.Param[4 * ch - 2], "f" + c);
            EXPECT_EQ(r.Param[4 * ch - 1], "b" + c);
            EXPECT_EQ(r.Param[4 * ch], "g" + c);
            EXPECT_EQ(r.ChOption[ch], ch % 2 ? "1" : "0");
        }
        EXPECT_EQ(r.Param[4 * n + 1], "");
        EXPECT_EQ(r.CardType, text(s->cardTypeBox()));
        EXPECT_EQ(r.Version, text(s->versionBox()));
    }
};

}  // namespace

TEST_F(BwTest, UploadLayoutOnFourAndEightChannels) {
    for (auto [slot, n] : {std::pair{1, 4}, std::pair{2, 8}}) {
        SCOPED_TRACE(n);
        markCard(slot, n);
        auto* s = pick<ScaledInputScreen>(slot);
        sim.clearFrames();
        upload(s);
        checkLayout(s, slot, n);
        const auto f = sim.frames();
        // Group 01 opened, four items per channel, then group 02 and the flags.
        const std::vector<std::string> head = {"G00", "I01", "DF", "G00", "I41", "D" + std::to_string(slot),
                                               "G01", "I01", "D1", "G01", "I42", "G01", "I43", "G01", "I10", "G01", "I11"};
        EXPECT_EQ(std::vector<std::string>(f.begin(), f.begin() + static_cast<long>(head.size())), head);
        EXPECT_EQ(window->progress(), n == 4 ? 8 : 12);
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(BwTest, DownloadWritesEveryAcceptedBoxToItsItem) {
    auto* s = pick<ScaledInputScreen>(2);
    settle(s);
    for (int ch = 1; ch <= 8; ++ch) {
        const std::size_t i = static_cast<std::size_t>(ch - 1);
        type(s->txtZScale[i], std::to_string(-ch));
        type(s->txtFScale[i], std::to_string(1000 * ch));
        type(s->txtBias[i], "0." + std::to_string(ch));
        type(s->txtGain[i], "-1." + std::to_string(ch));
        type(s->txtEnable[i], ch == 8 ? "1" : "0");
    }
    download(s);
    for (int ch = 1; ch <= 8; ++ch) {
        EXPECT_EQ(sim.value(2, "01", 2 * ch + 40), std::to_string(-ch));
        EXPECT_EQ(sim.value(2, "01", 2 * ch + 41), std::to_string(1000 * ch));
        EXPECT_EQ(sim.value(2, "01", 2 * ch + 8), "0." + std::to_string(ch));
        EXPECT_EQ(sim.value(2, "01", 2 * ch + 9), "-1." + std::to_string(ch));
        EXPECT_EQ(sim.value(2, "02", ch + 41), ch == 8 ? "1" : "0");
        EXPECT_EQ(record(2).Param[4 * ch - 3], std::to_string(-ch));
        EXPECT_EQ(record(2).Param[4 * ch], "-1." + std::to_string(ch));
    }
    EXPECT_EQ(record(2).ChOption[8], "1");
    EXPECT_EQ(text(s->txtEnable[7]), "1");
    EXPECT_EQ(window->progress(), 12);
}

TEST_F(BwTest, RangeLimitsAtTheirEdges) {
    struct Case {
        int box;  // 0 zero scale, 1 full scale, 2 zero adjust, 3 full adjust
        std::string value;
        std::string message;  // "" = accepted
    };
    const Case cases[] = {
        {0, "32000", ""},  {0, "-32000", ""}, {0, "32001", "Zero Scale:Incorrect settings"},
        {1, "-32001", "Full Scale:Incorrect settings"}, {2, "320", ""}, {2, "-320", ""},
        {2, "321", "Zero Adjust:Incorrect settings"},  {3, "3.2", ""},  {3, "-3.2", ""},
        {3, "3.21", "Full Adjust:Incorrect settings"}, {3, "-", "Full Adjust:Incorrect settings"},
        {0, "-", "Zero Scale:Incorrect settings"},     {2, ".", "Zero Adjust:Incorrect settings"},
        {2, "-.", "Zero Adjust:Incorrect settings"},
    };
    // A download that goes through names what it left: the boxes emptied for
    // the case, and the Unused flags never read.
    const char* captions[] = {"Zero Scale", "Full Scale", "Zero Adjust", "Full Adjust"};
    const auto leftBeside = [&](int box) {
        ui::LeftAsTheyAre left;
        for (int ch = 1; ch <= 4; ++ch)
            for (int b = 0; b < 4; ++b)
                if (!(b == 0 && ch == 1) && !(b == box && ch == 3)) left.add(captions[b], "Ch." + std::to_string(ch));
        return test::LeftMessage(left.list() + "; " + test::EveryChannel({"Unused"}, 4));
    };
    auto* s = pick<ScaledInputScreen>(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        for (auto* v : {&s->txtZScale, &s->txtFScale, &s->txtBias, &s->txtGain})
            for (QLineEdit* b : *v) type(b, "");
        // Channel 3 holds the value: a bad one stops the download before channel 1 is written.
        std::vector<QLineEdit*>* boxes[] = {&s->txtZScale, &s->txtFScale, &s->txtBias, &s->txtGain};
        type((*boxes[c.box])[2], c.value);
        type(s->txtZScale[0], "7");
        messages.shown.clear();
        sim.setValue(1, "01", 42, "unchanged");
        download(s);
        if (c.message.empty()) {
            EXPECT_EQ(messages.texts(), std::vector<std::string>{leftBeside(c.box)});
            EXPECT_EQ(sim.value(1, "01", 42), "7");
        } else {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].text, c.message);
            EXPECT_EQ(messages.shown[0].title, "");
            EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Information);
            EXPECT_EQ(sim.value(1, "01", 42), "unchanged");
        }
    }
}

TEST_F(BwTest, FormatChecksSkipABoxAndGiveItTheStoredValueBack) {
    auto* s = pick<ScaledInputScreen>(1);
    settle(s);
    record(1).Param.set(2, "500");
    record(1).Param.set(3, "0.5");
    record(1).ChOption.set(1, "1");
    type(s->txtFScale[0], "100.5");  // in range, but not an integer
    type(s->txtBias[0], "");          // empty: not checked, not written
    type(s->txtEnable[0], "");
    sim.setValue(1, "01", 43, "before");
    sim.setValue(1, "01", 10, "before");
    download(s);
    // Named as left: what was not sent for its text, and what was never read.
    EXPECT_EQ(messages.texts(), std::vector<std::string>{test::LeftMessage(test::EveryChannel(
                                    {"Zero Scale", "Full Scale", "Zero Adjust", "Full Adjust", "Unused"}, 4))});
    EXPECT_EQ(sim.value(1, "01", 43), "before");
    EXPECT_EQ(sim.value(1, "01", 10), "before");
    EXPECT_EQ(text(s->txtFScale[0]), "500");
    EXPECT_EQ(text(s->txtBias[0]), "0.5");
    EXPECT_EQ(text(s->txtEnable[0]), "1");
}

TEST_F(BwTest, KeyFiltersOnTheBoxes) {
    auto* s = pick<ScaledInputScreen>(1);
    const auto typed = [](QLineEdit* b, const char* keys) {
        b->clear();
        b->setFocus();
        QTest::keyClicks(b, keys);
        return screens::boxText(b);
    };
    EXPECT_EQ(typed(s->txtZScale[0], "-12.5a"), "-125");
    EXPECT_EQ(typed(s->txtBias[0], "-1.5x-"), "-1.5");
    EXPECT_EQ(typed(s->txtEnable[0], "21"), "1");

    // Typing over a selected entry starts at position 0: the minus is taken.
    QLineEdit* z = s->txtZScale[1];
    screens::setBoxText(z, "123");
    z->setFocus();
    z->selectAll();
    QTest::keyClicks(z, "-5");
    EXPECT_EQ(screens::boxText(z), "-5");

    // Pasting is a key like any other: the filters discard it.
    QApplication::clipboard()->setText("abc");
    ASSERT_EQ(QApplication::clipboard()->text(), "abc");
    screens::setBoxText(z, "7");
    z->setCursorPosition(1);
    QTest::keyClick(z, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(screens::boxText(z), "7");
}
