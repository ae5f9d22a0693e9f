// The 2-, 4- and 16-channel pulse input screens and the 4-channel screen with
// version-dependent settings: where every setting lives on the card and in the
// record, the checks of a download, clear and preset, the alarm lamps, and the
// version rules.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QImage>

#include "screens/pulse_out/frmIY16.h"
#include "screens/pulse_out/frmIY2.h"
#include "screens/pulse_out/frmIY4.h"
#include "screens/pulse_out/frmIY4A.h"
#include "tests/screens/pulse_out/PulseFixture.h"

using namespace talvo;
using namespace talvo::screens;
using namespace talvo::test;
using Frames = std::vector<std::string>;
using k6sim::FaultAction;

namespace {

std::string str(int n) { return std::to_string(n); }

// One setting of a channel: its box, its group "01" item and its record field.
struct Place {
    const char* name;
    QLineEdit* box;
    int item;
    int param;
    bool written = true;  // a download sends it
};

class PulseInTest : public PulseTest {
protected:
    // Gives each item its own value on the card, uploads, and checks box and record.
    void checkUpload(screens::CardScreen* s, int slot, const std::vector<Place>& places) {
        for (const Place& p : places) sim.setValue(slot, "01", p.item, "v" + str(p.item));
        upload(s);
        for (const Place& p : places) {
            SCOPED_TRACE(p.name);
            EXPECT_EQ(text(p.box), "v" + str(p.item));
            EXPECT_EQ(record(slot).Param[p.param], "v" + str(p.item));
        }
        EXPECT_TRUE(messages.shown.empty());
    }
    // Types a value naming each box, downloads, and checks what reached the card and the record.
    void checkDownload(screens::CardScreen* s, int slot, const std::vector<Place>& places) {
        for (const Place& p : places) {
            sim.setValue(slot, "01", p.item, "card");
            if (p.written) type(p.box, "t" + str(p.item));
        }
        download(s);
        for (const Place& p : places) {
            SCOPED_TRACE(p.name);
            EXPECT_EQ(sim.value(slot, "01", p.item), p.written ? "t" + str(p.item) : "card");
            if (p.written) {
                EXPECT_EQ(record(slot).Param[p.param], "t" + str(p.item));
            }
        }
        EXPECT_TRUE(messages.shown.empty());
    }
};

std::vector<Place> iy2Places(frmIY2* s) {
    std::vector<Place> p = {{"delay", s->txtDelayTime, 7, 2}, {"hold", s->txtHoldTime, 8, 3}};
    for (int ch = 1; ch <= 2; ++ch) {
        const std::size_t i = static_cast<std::size_t>(ch - 1);
        const int b = 20 * (ch - 1);
        const std::vector<Place> rows = {
            {"alarm 1 mode", s->txtAlarm1[i], 10 * ch + 40, b + 4},
            {"alarm 2 mode", s->txtAlarm2[i], 10 * ch + 45, b + 5},
            {"level 1", s->txtAlarmLevel[0][i], 10 * ch + 41, b + 6},
            {"level 2", s->txtAlarmLevel[1][i], 10 * ch + 43, b + 7},
            {"level 3", s->txtAlarmLevel[2][i], 10 * ch + 46, b + 8},
            {"level 4", s->txtAlarmLevel[3][i], 10 * ch + 48, b + 9},
            {"hyst 1", s->txtHyst[0][i], 10 * ch + 42, b + 10},
            {"hyst 2", s->txtHyst[1][i], 10 * ch + 44, b + 11},
            {"hyst 3", s->txtHyst[2][i], 10 * ch + 47, b + 12},
            {"hyst 4", s->txtHyst[3][i], 10 * ch + 49, b + 13},
            {"drop-out", s->txtDropout[i], ch + 9, b + 14},
            {"zero scale", s->txtZScale[i], 2 * ch + 40, b + 15},
            {"full scale", s->txtFScale[i], 2 * ch + 41, b + 16},
            {"reset position", s->txtMinPos[i], ch + 13, b + 17},
            {"max position", s->txtMaxPos[i], ch + 17, b + 18},
            {"input Hz", s->txtInputType[i], ch + 29, b + 19, false},
        };
        p.insert(p.end(), rows.begin(), rows.end());
    }
    return p;
}

std::vector<Place> iy4Places(frmIY4* s) {
    std::vector<Place> p;
    for (int ch = 1; ch <= 4; ++ch) {
        const std::size_t i = static_cast<std::size_t>(ch - 1);
        const int b = 7 * (ch - 1);
        const std::vector<Place> rows = {
            {"drop-out", s->txtDropout[i], ch + 9, b + 1},  {"threshold", s->txtThresh[i], ch + 25, b + 2},
            {"edge", s->txtEdge[i], ch + 29, b + 3},        {"gain", s->txtGain[i], ch + 53, b + 4, false},
            {"zero scale", s->txtZScale[i], 2 * ch + 40, b + 5}, {"full scale", s->txtFScale[i], 2 * ch + 41, b + 6},
            {"input Hz", s->txtInputType[i], ch + 49, b + 7, false},
        };
        p.insert(p.end(), rows.begin(), rows.end());
    }
    return p;
}

std::vector<Place> iy4aPlaces(frmIY4A* s, bool withDivide) {
    std::vector<Place> p;
    for (int ch = 1; ch <= 4; ++ch) {
        const std::size_t i = static_cast<std::size_t>(ch - 1);
        const int b = 5 * (ch - 1);
        const std::vector<Place> rows = {
            {"min", s->txtMin[i], 2 * ch + 12, b + 1},    {"max", s->txtMax[i], 2 * ch + 13, b + 2},
            {"edge", s->txtEdge[i], ch + 29, b + 3},      {"threshold", s->txtThresh[i], ch + 25, b + 4},
        };
        p.insert(p.end(), rows.begin(), rows.end());
        if (withDivide) p.push_back({"dividing ratio", s->txtDivide[i], ch + 57, b + 5});
    }
    return p;
}

// 'R' red, 'G' green, '-' neutral.
std::string lampStates(const std::vector<QLabel*>& lamps) {
    std::string out;
    for (const QLabel* l : lamps) {
        const QColor c = l->palette().color(QPalette::Window);
        out += c == ui::toQColor(colors::Red) ? 'R' : c == ui::toQColor(colors::Green) ? 'G'
               : c == ui::toQColor(colors::SysMenu)                                      ? '-'
                                                                                            : '?';
    }
    return out;
}

}  // namespace

// --- IY2 ---

TEST_F(PulseInTest, Iy2ItemsAndRecordFields) {
    auto* s = pick<frmIY2>(kIY2);
    settle(s);
    checkUpload(s, kIY2, iy2Places(s));
    EXPECT_EQ(window->progress(), 8);
    checkDownload(s, kIY2, iy2Places(s));
    // Upload order: the two times, then channel by channel in the table's order.
    sim.clearFrames();
    upload(s);
    Frames reads;
    for (const auto& f : sim.frames())
        if (f[0] == 'I' && f != "I01" && f != "I41") reads.push_back(f.substr(1));
    Frames want = {"7", "8"};
    for (const Place& p : iy2Places(s))
        if (p.item != 7 && p.item != 8) want.push_back(str(p.item));
    EXPECT_EQ(reads, want);
}

// The old fault: the first captions of each channel frame ("Value",
// "Input(Hz)") touched the frame's line, which the style draws below its caption.
TEST_F(PulseInTest, Iy2CaptionsClearTheirFramesLine) {
    auto* s = pick<frmIY2>(kIY2);
    settle(s);
    for (const char* name : {"fraCh1", "fraCh2"}) {
        SCOPED_TRACE(name);
        auto* frame = s->findChild<QGroupBox*>(name);
        ASSERT_NE(frame, nullptr);
        // The line as drawn: the first row, from the top, that differs from the
        // frame's background at its right-hand end, clear of the caption.
        const QImage drawn = frame->grab().toImage();
        const int x = drawn.width() - 20;
        const QRgb back = drawn.pixel(x, 0);
        int line = 0;
        while (line < drawn.height() / 2 && drawn.pixel(x, line) == back) ++line;
        ASSERT_GT(line, 0);
        ASSERT_LT(line, drawn.height() / 2);
        int captions = 0;
        for (QLabel* l : frame->findChildren<QLabel*>()) {
            if (l->text().isEmpty()) continue;  // the alarm lamps
            SCOPED_TRACE(l->text().toStdString());
            const int textTop = l->y() + (l->height() - QFontMetrics(l->font()).height()) / 2;
            EXPECT_GE(textTop - line, 3);
            ++captions;
        }
        EXPECT_GE(captions, 14);
    }
}

TEST_F(PulseInTest, Iy2DownloadOfEmptyBoxesSendsOnlyTheOpeningAndClosingWrites) {
    auto* s = pick<frmIY2>(kIY2);
    settle(s);
    for (const Place& p : iy2Places(s)) {
        record(kIY2).Param.set(p.param, "r" + str(p.param));
        if (p.written) type(p.box, "");
    }
    sim.clearFrames();
    download(s);
    EXPECT_EQ(writes(), join(selectWrites(kIY2), {"01/01:1", "02/01:1"}));
    for (const Place& p : iy2Places(s))
        if (p.written) {
            EXPECT_EQ(text(p.box), "r" + str(p.param)) << p.name;
        }
}

TEST_F(PulseInTest, Iy2ClearIsExactlyFourWrites) {
    auto* s = pick<frmIY2>(kIY2);
    ASSERT_TRUE(waitFor([&] { return text(s->txtParData01[0]) == "+0010"; }));
    EXPECT_EQ(s->presetButton(), nullptr);
    press(s, s->clearButton());
    EXPECT_EQ(writes(), join(selectWrites(kIY2), {"01/01:1", "01/09:1"}));
    EXPECT_EQ(sim.frames().size(), 12u);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(waitFor([&] { return text(s->txtParData01[0]) == "0"; }));
}

TEST_F(PulseInTest, Iy2LiveValuesAndAlarmLampsFromTheStatusWords) {
    auto* s = pick<frmIY2>(kIY2);
    settle(s);
    EXPECT_EQ(text(s->txtParData01[0]), "+0010");  // item 10
    EXPECT_EQ(text(s->txtParData01[1]), "+0030");  // item 12
    EXPECT_EQ(text(s->txtParData01[2]), "+0040");  // item 13
    EXPECT_EQ(text(s->txtParData01[3]), "12345");  // item 57
    EXPECT_EQ(text(s->txtParData02[0]), "+0050");  // item 14
    EXPECT_EQ(text(s->txtParData02[3]), "5020");  // item 58
    struct Case {
        std::string word;
        std::string lamps;
    };
    // Bit 2 lights alarm 1, bit 3 alarm 2; the other bits light nothing.
    const Case cases[] = {{"0000", "GG"}, {"0004", "RG"}, {"0008", "GR"}, {"000C", "RR"}, {"FFF3", "GG"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        sim.setValue(kIY2, "00", 11, c.word);
        sim.setValue(kIY2, "00", 15, c.word);
        nextPass(s);
        EXPECT_EQ(lampStates(s->lblDIDataCh1), c.lamps);
        EXPECT_EQ(lampStates(s->lblDIDataCh2), c.lamps);
    }
}

TEST_F(PulseInTest, Iy2StatusWordMissingShowsTheValuesPaintsTheWordsBeforeItAndDisconnects) {
    struct Case {
        const char* silentItem;
        std::string lamps;  // channel 1, then channel 2
    };
    // Each channel's lamps are painted as its own word comes; those of a word
    // not answered stay neutral.
    const Case cases[] = {{"I11", "----"}, {"I15", "RG--"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.silentItem);
        if (!G().Connected) {
            restartWindow();
            connectAndUpload();
            messages.shown.clear();
        }
        sim.setValue(kIY2, "00", 10, "+0010");
        sim.setValue(kIY2, "00", 11, "0004");
        sim.setValue(kIY2, "00", 15, "000C");
        auto* s = pick<frmIY2>(kIY2);
        ASSERT_TRUE(waitFor([&] { return lampStates(s->lblDIDataCh1) + lampStates(s->lblDIDataCh2) == "RGRR"; }));
        sim.setValue(kIY2, "00", 10, "777");
        useFakeClock();
        sim.addFault(silence(c.silentItem, kIY2));
        nextPass(s);
        EXPECT_EQ(text(s->txtParData01[0]), "777");
        EXPECT_EQ(lampStates(s->lblDIDataCh1) + lampStates(s->lblDIDataCh2), c.lamps);
        EXPECT_EQ(messages.texts(), (Frames{"Uploading incomplete"}));
        EXPECT_FALSE(G().Connected);
        sim.clearFaults();
    }
}

TEST_F(PulseInTest, Iy2PositionMissingChangesNoBox) {
    auto* s = pick<frmIY2>(kIY2);
    settle(s);
    sim.setValue(kIY2, "00", 10, "777");
    useFakeClock();
    sim.addFault(silence("I57", kIY2));
    nextPass(s);
    EXPECT_EQ(text(s->txtParData01[0]), "+0010");
    EXPECT_EQ(messages.texts(), (Frames{"Uploading incomplete"}));
}

TEST_F(PulseInTest, Iy2UploadThatLosesTheCardKeepsTheRest) {
    auto* s = pick<frmIY2>(kIY2);
    settle(s);
    for (const Place& p : iy2Places(s)) record(kIY2).Param.set(p.param, "old");
    useFakeClock();
    sim.addFault(silence("I60", kIY2));  // channel 2's first item
    upload(s);
    EXPECT_EQ(messages.texts(), (Frames{"Uploading incomplete"}));
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(record(kIY2).Param[2], "10");     // delay came
    EXPECT_EQ(record(kIY2).Param[19], "1000");  // channel 1's input frequency came
    EXPECT_EQ(record(kIY2).Param[24], "old");   // channel 2 did not
}

// --- IY4 ---

TEST_F(PulseInTest, Iy4UploadFrameSequence) {
    auto* s = pick<frmIY4>(kIY4);
    settle(s);
    sim.clearFrames();
    upload(s);
    Frames want = {"G00", "I01", "DF", "G00", "I41", "D10", "G01", "I01", "D1"};
    for (int ch = 1; ch <= 4; ++ch)
        for (int item : {ch + 9, ch + 25, ch + 29, ch + 53, 2 * ch + 40, 2 * ch + 41, ch + 49}) {
            want.push_back("G01");
            want.push_back("I" + str(item));
        }
    for (const char* f : {"G02", "I01", "D1"}) want.push_back(f);
    EXPECT_EQ(sim.frames(), want);
    EXPECT_EQ(window->progress(), 8);
}

TEST_F(PulseInTest, Iy4ItemsAndRecordFieldsGainAndInputNeverWritten) {
    auto* s = pick<frmIY4>(kIY4);
    settle(s);
    checkUpload(s, kIY4, iy4Places(s));
    sim.clearFrames();
    checkDownload(s, kIY4, iy4Places(s));
    const Frames w = writes();
    ASSERT_EQ(w.size(), 2u + 1 + 20 + 1);
    EXPECT_EQ(w[2], "01/01:1");
    EXPECT_EQ(w.back(), "02/01:1");
    for (const Place& p : iy4Places(s))
        if (!p.written) {
            EXPECT_EQ(std::count(w.begin(), w.end(), "01/" + str(p.item) + ":" + text(p.box)), 0) << p.name;
        }
}

TEST_F(PulseInTest, Iy4LiveValueMissingLeavesAllFour) {
    auto* s = pick<frmIY4>(kIY4);
    settle(s);
    for (int item = 10; item <= 13; ++item) sim.setValue(kIY4, "00", item, "9");
    useFakeClock();
    sim.addFault(silence("I12", kIY4));
    nextPass(s);
    for (int ch = 0; ch < 4; ++ch) EXPECT_EQ(text(s->txtParData[static_cast<std::size_t>(ch)]), "+00" + str(ch + 1) + "0");
    EXPECT_EQ(messages.texts(), (Frames{"Uploading incomplete"}));
}

// --- IY16 ---

TEST_F(PulseInTest, Iy16MaxOfEachChannel) {
    auto* s = pick<frmIY16>(kIY16);
    settle(s);
    std::vector<Place> places;
    for (int ch = 1; ch <= 16; ++ch)
        places.push_back({"max", s->txtFScale[static_cast<std::size_t>(ch - 1)], 2 * ch + 25, ch});
    checkUpload(s, kIY16, places);
    EXPECT_EQ(window->progress(), 8);
}

TEST_F(PulseInTest, Iy16DownloadRefillsARefusedMaxFromTheRecord) {
    struct Case {
        std::string value;
        bool sent;
    };
    const Case cases[] = {{"65535", true}, {"0", true},        {"65536", false},
                          {"-1", false},   {std::string(30, '9'), false}, {"0000065535", true},
                          {"", false},     {"12a", false}};
    auto* s = pick<frmIY16>(kIY16);
    settle(s);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        record(kIY16).Param.set(1, "stored");
        sim.setValue(kIY16, "01", 27, "card");
        type(s->txtFScale[0], c.value);
        download(s);
        EXPECT_EQ(sim.value(kIY16, "01", 27), c.sent ? c.value : "card");
        EXPECT_EQ(record(kIY16).Param[1], c.sent ? c.value : "stored");
        EXPECT_EQ(text(s->txtFScale[0]), c.sent ? c.value : "stored");
    }
}

TEST_F(PulseInTest, Iy16PresetOpensWithFAndSkipsAChannelWithoutMax) {
    auto* s = pick<frmIY16>(kIY16);
    settle(s);
    for (int ch = 1; ch <= 16; ++ch) record(kIY16).Param.set(ch, "");
    record(kIY16).Param.set(1, "100");
    record(kIY16).Param.set(3, "100");
    record(kIY16).Param.set(4, "99999999999999999999");
    type(s->txtPresetVal[0], "0");      // zero: taken when Max is any number
    type(s->txtPresetVal[1], "7");      // no Max: skipped, kept as typed
    type(s->txtPresetVal[2], "101");    // above Max: refused, kept and told
    type(s->txtPresetVal[3], "65535");  // Max of 20 digits: taken
    type(s->txtPresetVal[4], "65536");  // no Max: skipped even past the limit
    press(s, s->presetButton());
    EXPECT_EQ(writes(), join(selectWrites(kIY16), {"02/01:F", "02/10:0", "02/13:65535"}));
    EXPECT_EQ(text(s->txtPresetVal[0]), "0");
    EXPECT_EQ(text(s->txtPresetVal[1]), "7");
    EXPECT_EQ(text(s->txtPresetVal[2]), "101");
    EXPECT_EQ(text(s->txtPresetVal[4]), "65536");
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Preset Ch.3: Please enter number 0 - 100"}));
    EXPECT_EQ(window->progress(), 8);
}

TEST_F(PulseInTest, Iy16ClearWritesAllSixteenCounters) {
    auto* s = pick<frmIY16>(kIY16);
    settle(s);
    press(s, s->clearButton());
    Frames want = join(selectWrites(kIY16), {"02/01:1"});
    for (int item = 10; item <= 25; ++item) want.push_back("02/" + str(item) + ":0");
    EXPECT_EQ(writes(), want);
    EXPECT_EQ(sim.value(kIY16, "00", 25), "0");
}

// --- IY4A ---

TEST(VersionValue, LeadingDigitsAfterTheFirstPointAsANumber) {
    struct Case {
        std::string version;
        bool five, ten;
    };
    const Case cases[] = {
        {"0.4", false, false}, {"0.5", true, false}, {"0.9", true, false}, {"1.0", true, true},
        {"1.2", true, true},   {"", false, false},   {"V1.0", false, false}, {"1.0a", true, true},
        {"99999999999999999999.9", true, true},   // any length: a big number, never wrapped
        {"0000000000000000000004", false, false}, {" 0.5", true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VersionAtLeast(c.version, 5), c.five) << c.version;
        EXPECT_EQ(VersionAtLeast(c.version, 10), c.ten) << c.version;
    }
}

TEST_F(PulseInTest, Iy4aVersionDecidesTheDividingRatioAndTheClearChoice) {
    struct Case {
        std::string version;
        bool divide, choice;
    };
    const Case cases[] = {{"0.4", false, false}, {"0.5", true, false}, {"1.0", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        sim.setValue(kIY4A, "00", 40, c.version);
        for (int ch = 1; ch <= 4; ++ch) record(kIY4A).Param.set(5 * ch, "r" + str(ch));
        auto* s = pick<frmIY4A>(kIY4A);
        settle(s);
        EXPECT_EQ(text(s->versionBox()), c.version);
        for (QLineEdit* b : s->txtDivide) EXPECT_EQ(b->isEnabled(), c.divide);
        EXPECT_EQ(text(s->txtDivide[0]), c.divide ? "r1" : "0");
        EXPECT_TRUE(s->CheckClear->isChecked());
        EXPECT_EQ(s->CheckClear->isEnabled(), c.choice);

        sim.clearFrames();
        checkUpload(s, kIY4A, iy4aPlaces(s, c.divide));
        for (int ch = 1; ch <= 4; ++ch) {
            EXPECT_EQ(countItem("01", str(ch + 57)), c.divide ? 1u : 0u);
            if (!c.divide) {
                EXPECT_EQ(record(kIY4A).Param[5 * ch], "0");
            }
        }
        EXPECT_EQ(window->progress(), 8);

        sim.clearFrames();
        checkDownload(s, kIY4A, iy4aPlaces(s, c.divide));
        const Frames w = writes();
        // Every download ends with the clear, which the user may turn off from 1.0 on.
        ASSERT_GE(w.size(), 4u);
        EXPECT_EQ(Frames(w.end() - 4, w.end()), join(selectWrites(kIY4A), {"01/01:1", "01/09:1"}));
        for (int ch = 1; ch <= 4; ++ch) {
            EXPECT_EQ(countItem("01", str(ch + 57)), c.divide ? 1u : 0u);
            if (!c.divide) {
                EXPECT_EQ(record(kIY4A).Param[5 * ch], "");
            }
        }
        cardList()->setCurrentIndex(0);
    }
}

TEST_F(PulseInTest, Iy4aDownloadWithoutTheClearAndWithEmptyBoxes) {
    auto* s = pick<frmIY4A>(kIY4A);
    settle(s);
    ASSERT_TRUE(s->CheckClear->isEnabled());
    s->CheckClear->setChecked(false);
    for (const Place& p : iy4aPlaces(s, true)) {
        record(kIY4A).Param.set(p.param, "r" + str(p.param));
        type(p.box, "");
    }
    sim.clearFrames();
    download(s);
    EXPECT_EQ(writes(), join(selectWrites(kIY4A), {"01/01:1"}));
    for (const Place& p : iy4aPlaces(s, true)) EXPECT_EQ(text(p.box), "r" + str(p.param)) << p.name;
}

TEST_F(PulseInTest, Iy4aClearLiveValuesAndItsOneSecondCycle) {
    auto* s = pick<frmIY4A>(kIY4A);
    settle(s);
    EXPECT_EQ(s->waitForTimer().interval(), 1000);
    EXPECT_EQ(text(s->txtParData[0][0]), "0100");  // Value_L: item 10
    EXPECT_EQ(text(s->txtParData[0][1]), "0200");  // Value_H: item 11
    EXPECT_EQ(text(s->txtParData[3][2]), "04");    // third value of channel 4: item 60
    press(s, s->clearButton());
    EXPECT_EQ(writes(), join(selectWrites(kIY4A), {"01/01:1", "01/09:1"}));
    // A missing item 58 leaves all twelve boxes as they were.
    useFakeClock();
    sim.addFault(silence("I58", kIY4A));
    nextPass(s);
    EXPECT_EQ(text(s->txtParData[0][0]), "0100");  // the clear's zero never showed
    EXPECT_EQ(messages.texts(), (Frames{"Uploading incomplete"}));
}

TEST_F(PulseInTest, Iy4aCycleRestsWhileAnotherScreenIsShownAndResumesWhenEnteredAgain) {
    auto* s = pick<frmIY4A>(kIY4A);
    settle(s);
    // Another program or a message box taking the focus is no reason to stop.
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(s, &deactivate);
    EXPECT_TRUE(s->waitForTimer().isActive());
    cardList()->setCurrentIndex(0);
    EXPECT_FALSE(s->waitForTimer().isActive());
    sim.clearFrames();
    QTest::qWait(1300);
    EXPECT_TRUE(sim.frames().empty());
    pick<frmIY4A>(kIY4A);
    EXPECT_TRUE(s->waitForTimer().isActive());
    sim.clearFrames();
    EXPECT_TRUE(waitFor([&] { return countFrames("I60") >= 1; }, 3000));
    // A click is never lost, even with the timer between ticks.
    s->waitForTimer().stop();
    sim.clearFrames();
    s->clearButton()->click();
    EXPECT_TRUE(waitFor([&] { return countFrames("I09") >= 1; }, 3000));
}
