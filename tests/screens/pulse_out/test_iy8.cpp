// The 8-channel pulse screen: where Min and Max live, the checks of a download
// and a preset (numbers of any length), the clear, the live counters and the
// overview row, and what a card that stops answering leaves behind.
#include <gtest/gtest.h>

#include "core/CardList.h"
#include "screens/pulse_out/frmIY8.h"
#include "shell/frmLoading.h"
#include "tests/screens/pulse_out/PulseFixture.h"

using namespace talvo;
using namespace talvo::screens;
using namespace talvo::test;
using Frames = std::vector<std::string>;
using k6sim::FaultAction;

namespace {

std::string str(int n) { return std::to_string(n); }

class Iy8Test : public PulseTest {
protected:
    frmIY8* open() {
        auto* s = pick<frmIY8>(kIY8);
        settle(s);
        return s;
    }
    void clear(frmIY8* s) { press(s, s->clearButton()); }
    void preset(frmIY8* s) { press(s, s->presetButton()); }
    static const std::string kMaxCount;
};

const std::string Iy8Test::kMaxCount = "2147483647";

const Frames kSelect = PulseTest::selectWrites(kIY8);

}  // namespace

TEST_F(Iy8Test, UploadReadsMinThenMaxOfEachChannel) {
    auto* s = open();
    sim.clearFrames();
    upload(s);
    Frames want = {"G00", "I01", "DF", "G00", "I41", "D8", "G01", "I01", "D1"};
    for (int ch = 1; ch <= 8; ++ch)
        for (int item : {2 * ch + 24, 2 * ch + 25}) {
            want.push_back("G01");
            want.push_back("I" + str(item));
        }
    const Frames f = sim.frames();
    ASSERT_GE(f.size(), want.size());
    EXPECT_EQ(Frames(f.begin(), f.begin() + static_cast<long>(want.size())), want);
    EXPECT_EQ(text(s->txtMin[0]), "0");
    EXPECT_EQ(text(s->txtFScale[0]), "50000");
    EXPECT_EQ(text(s->txtMin[1]), "1");
    EXPECT_EQ(text(s->txtFScale[7]), "99999");
    EXPECT_EQ(record(kIY8).Param[2], "0");
    EXPECT_EQ(record(kIY8).Param[3], "50000");
    EXPECT_EQ(record(kIY8).Param[4], "1");
    EXPECT_EQ(record(kIY8).Param[17], "99999");
    EXPECT_EQ(record(kIY8).Param[18], "");
    EXPECT_EQ(record(kIY8).CardType, "IY8");
    EXPECT_EQ(record(kIY8).Version, "1.10");
    EXPECT_EQ(window->progress(), 4);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Iy8Test, UploadThatLosesTheCardKeepsWhatWasNotReadAndDisconnects) {
    auto* s = open();
    for (int i = 2; i <= 17; ++i) record(kIY8).Param.set(i, "old");
    useFakeClock();
    sim.addFault(silence("I30", kIY8));  // channel 3's Min
    upload(s);
    EXPECT_EQ(messages.texts(), (Frames{"Uploading incomplete"}));
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(record(kIY8).Param[5], "99999");  // channel 2 came
    EXPECT_EQ(record(kIY8).Param[6], "old");
    EXPECT_EQ(record(kIY8).Param[17], "old");
}

TEST_F(Iy8Test, DownloadChecksMinAndMaxAsNumbersOfAnyLength) {
    struct Case {
        std::string min, max;
        bool minSent, maxSent;
    };
    const Case cases[] = {
        {"0", "9999", true, false},
        {"1", "10000", true, true},
        {"2", kMaxCount, false, true},
        {"", "2147483648", false, false},
        {"0", "-5", true, false},
        {"0", "99999999999999999999", true, false},   // 20 digits: far above, never wrapped
        {"0", "18446744073709551616", true, false},   // one past 64 bits
        {"0", "00000000000000010000", true, true},     // leading zeros: 10000
        {"1", "", true, false},
    };
    auto* s = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.min + " / " + c.max);
        record(kIY8).Param.set(2, "stored min");
        record(kIY8).Param.set(3, "stored max");
        sim.setValue(kIY8, "01", 26, "card min");
        sim.setValue(kIY8, "01", 27, "card max");
        type(s->txtMin[0], c.min);
        type(s->txtFScale[0], c.max);
        download(s);
        EXPECT_EQ(sim.value(kIY8, "01", 26), c.minSent ? c.min : "card min");
        EXPECT_EQ(sim.value(kIY8, "01", 27), c.maxSent ? c.max : "card max");
        EXPECT_EQ(record(kIY8).Param[2], c.minSent ? c.min : "stored min");
        EXPECT_EQ(record(kIY8).Param[3], c.maxSent ? c.max : "stored max");
        // A refused box is emptied; an accepted one keeps what was sent.
        EXPECT_EQ(text(s->txtMin[0]), c.minSent ? c.min : "");
        EXPECT_EQ(text(s->txtFScale[0]), c.maxSent ? c.max : "");
        // The download names what it left: a refused text of channel 1, and
        // every setting of the channels never read.
        EXPECT_EQ(leftNamed(), (Named{{"Min", chs(c.minSent ? 2 : 1, 8)}, {"Max", chs(c.maxSent ? 2 : 1, 8)}}));
        EXPECT_EQ(messages.shown.size(), 1u);
        messages.shown.clear();
    }
}

TEST_F(Iy8Test, AMinLongerThanOneCharacterIsKeptWholeAndRefusedByADownload) {
    struct Case {
        const char* name;
        bool fromCard;  // else from the record (a settings file)
        std::string min;
    };
    const Case cases[] = {{"record", false, "10"}, {"record", false, "01"}, {"card", true, "10"}, {"card", true, "11"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.min);
        cardList()->setCurrentIndex(0);
        record(kIY8).Param.set(2, c.fromCard ? "stored" : c.min);
        auto* s = open();
        if (c.fromCard) {
            sim.setValue(kIY8, "01", 26, c.min);
            upload(s);
        }
        EXPECT_EQ(text(s->txtMin[0]), c.min);
        EXPECT_EQ(record(kIY8).Param[2], c.min);
        sim.setValue(kIY8, "01", 26, "card min");
        sim.clearFrames();
        download(s);
        EXPECT_EQ(countFrames("I26"), 0u);
        EXPECT_EQ(sim.value(kIY8, "01", 26), "card min");
        EXPECT_EQ(text(s->txtMin[0]), "");
        EXPECT_EQ(record(kIY8).Param[2], c.min);
        // Named as left; before any upload so is every setting never read.
        const Named left = c.fromCard ? Named{{"Min", chs(1, 1)}} : Named{{"Min", chs(1, 8)}, {"Max", chs(1, 8)}};
        EXPECT_EQ(leftNamed(), left);
        EXPECT_EQ(messages.shown.size(), 1u);
        messages.shown.clear();
    }
    // Typing stops at one character.
    auto* s = open();
    s->txtMin[0]->clear();
    s->txtMin[0]->setFocus();
    QTest::keyClicks(s->txtMin[0], "10");
    EXPECT_EQ(text(s->txtMin[0]), "1");
}

TEST_F(Iy8Test, DownloadWithEveryBoxEmptySendsOnlyTheOpening) {
    auto* s = open();
    for (int ch = 0; ch < 8; ++ch) {
        type(s->txtMin[static_cast<std::size_t>(ch)], "");
        type(s->txtFScale[static_cast<std::size_t>(ch)], "");
    }
    record(kIY8).Param.set(3, "kept");
    sim.clearFrames();
    download(s);
    EXPECT_EQ(writes(), join(kSelect, {"01/01:1"}));
    EXPECT_EQ(record(kIY8).Param[3], "kept");
    EXPECT_EQ(text(s->txtFScale[0]), "");
}

TEST_F(Iy8Test, ClearWritesZeroToAllSixteenItemsAndMayBeRefusedPastTheEighth) {
    auto* s = open();
    ASSERT_TRUE(waitFor([&] { return text(s->txtParData[0]) == "10100"; }));
    clear(s);
    Frames want = join(kSelect, {"02/01:1"});
    for (int item = 10; item <= 17; ++item) want.push_back("02/" + str(item) + ":0");
    // This card has no counters behind items 18 to 25: it refuses them, which fails nothing.
    EXPECT_EQ(writes(), want);
    for (int item = 18; item <= 25; ++item) EXPECT_GE(countFrames("I" + str(item)), 1u) << item;
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(G().Connected);
    EXPECT_EQ(window->progress(), 8);
    EXPECT_EQ(record(kIY8).CardType, "IY8");
    EXPECT_TRUE(waitFor([&] { return text(s->txtParData[0]) == "0"; }));

    // A card that takes all sixteen: exactly 19 writes.
    for (int item = 18; item <= 25; ++item) sim.setValue(kIY8, "02", item, "9");
    clear(s);
    for (int item = 18; item <= 25; ++item) want.push_back("02/" + str(item) + ":0");
    EXPECT_EQ(writes(), want);
    EXPECT_EQ(sim.frames().size(), 19u * 3);  // G, I and D frames, no retry
}

TEST_F(Iy8Test, ClearThatLosesTheCardDisconnects) {
    auto* s = open();
    useFakeClock();
    sim.addFault(silence("I12", kIY8));
    sim.addFault(silence("D0", kIY8));  // the third counter's write goes unanswered
    clear(s);
    EXPECT_EQ(messages.texts(), (Frames{"Downloading incomplete"}));
    EXPECT_EQ(messages.shown[0].title, "Downloading");
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(countFrames("I13"), 0u);
}

TEST_F(Iy8Test, ClearPastTheEighthCounterIsExemptFromARefusalOnly) {
    struct Case {
        const char* name;
        FaultAction action;
        std::string reply;
        bool lost;  // the clear fails: message and disconnect
    };
    // Item 18 has no counter behind it on this card: it answers "CNU" unless told otherwise.
    const Case cases[] = {
        {"refused CNU", FaultAction::Reply, "CNU", false},
        {"refused CNG", FaultAction::Reply, "CNG", false},
        {"no answer", FaultAction::Silence, "", true},
        {"the station's time-out", FaultAction::Reply, "DTMOUT", true},
    };
    useFakeClock();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!G().Connected) {
            restartWindow();
            connectAndUpload();
            messages.shown.clear();
        }
        auto* s = open();
        sim.addFault(fault("I18", kIY8, c.action, c.reply));
        clear(s);
        Frames want = join(kSelect, {"02/01:1"});
        for (int item = 10; item <= 17; ++item) want.push_back("02/" + str(item) + ":0");
        EXPECT_EQ(writes(), want);
        EXPECT_EQ(countFrames("I18"), 4u);  // the attempts of every write
        EXPECT_EQ(countFrames("I25"), c.lost ? 0u : 4u);
        EXPECT_EQ(messages.texts(), c.lost ? Frames{"Downloading incomplete"} : Frames{});
        EXPECT_EQ(G().Connected, !c.lost);
        EXPECT_FALSE(window->progressWindow() && window->progressWindow()->isVisible());
        sim.clearFaults();
    }
}

// A value out of its range stays in its box, is not sent, and the user is told
// the range: 0 up to the stored "Max", never past 2147483647.
TEST_F(Iy8Test, PresetChecksTheValueAgainstTheStoredMax) {
    struct Case {
        const char* name;
        std::string storedMax;
        std::string value;
        bool sent;
        std::string told;  // "" when no message
    };
    const std::string range = "Preset Ch.1: Please enter number 0 - ";
    const Case cases[] = {
        {"equal to Max", "50000", "50000", true, ""},
        {"above Max", "50000", "50001", false, range + "50000"},
        {"above a Max with leading zeros", "0050000", "50001", false, range + "50000"},
        {"zero", "50000", "0", true, ""},
        {"the limit", kMaxCount, kMaxCount, true, ""},
        {"past the limit", "99999999999", "2147483648", false, range + kMaxCount},
        {"20 digits", "99999999999999999999", "99999999999999999999", false, range + kMaxCount},
        {"negative", "50000", "-1", false, range + "50000"},
        {"Max not a number", "5000x", "100", false, "Preset Ch.1: Max is not a number"},
        {"Max of 20 digits", "99999999999999999999", "100", true, ""},
        {"empty box: nothing to send", "50000", "", false, "No preset value to send"},
    };
    auto* s = open();
    upload(s);  // every channel has its Min and Max
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        record(kIY8).Param.set(2, "0");
        record(kIY8).Param.set(3, c.storedMax);
        sim.setValue(kIY8, "02", 10, "before");
        type(s->txtPresetVal[0], c.value);
        messages.shown.clear();
        preset(s);
        EXPECT_EQ(sim.value(kIY8, "02", 10), c.sent ? c.value : "before");
        EXPECT_EQ(text(s->txtPresetVal[0]), c.value);  // as the card answered, or kept as typed
        const Frames opening = join(kSelect, {"02/01:1"});
        EXPECT_EQ(writes(), c.sent ? join(opening, {"02/10:" + c.value}) : opening);
        EXPECT_EQ(messages.texts(), c.told.empty() ? Frames{} : Frames{c.told});
        for (const auto& m : messages.shown) {
            EXPECT_EQ(m.title, "Preset");
            EXPECT_EQ(m.icon, platform::MsgIcon::Information);
        }
    }
}

// The values in range go out; those out of range stay in their boxes and are
// told together, each with its channel's range, once the others were sent.
TEST_F(Iy8Test, PresetSendsTheValuesInRangeAndTellsTheOthersInOneMessage) {
    auto* s = open();
    upload(s);
    ASSERT_EQ(record(kIY8).Param[3], "50000");
    ASSERT_EQ(record(kIY8).Param[9], "99999");
    type(s->txtPresetVal[0], "50001");  // above channel 1's Max
    type(s->txtPresetVal[1], "42");
    type(s->txtPresetVal[3], "100000");  // above channel 4's Max
    type(s->txtPresetVal[7], "99999");   // equal to channel 8's Max
    preset(s);
    Frames frames = {"G00", "I01", "DF", "G00", "I41", "D8", "G02", "I01", "D1"};
    for (const char* f : {"G02", "I11", "D42", "G02", "I17", "D99999"}) frames.push_back(f);
    EXPECT_EQ(sim.frames(), frames);
    EXPECT_EQ(text(s->txtPresetVal[0]), "50001");
    EXPECT_EQ(text(s->txtPresetVal[1]), "42");
    EXPECT_EQ(text(s->txtPresetVal[3]), "100000");
    EXPECT_EQ(text(s->txtPresetVal[7]), "99999");
    EXPECT_EQ(messages.texts(), (Frames{"Preset Ch.1: Please enter number 0 - 50000\n"
                                        "Preset Ch.4: Please enter number 0 - 99999"}));
    EXPECT_EQ(window->progress(), 4);
    EXPECT_FALSE(window->progressWindow() && window->progressWindow()->isVisible());
    EXPECT_TRUE(G().Connected);
}

// Nothing to send: every box empty, or values only where the channel's Min or
// Max is not known. The preset opens as always and then says so.
TEST_F(Iy8Test, PresetWithNothingToSendSaysSo) {
    auto* s = open();
    upload(s);
    preset(s);
    EXPECT_EQ(writes(), join(kSelect, {"02/01:1"}));
    ASSERT_EQ(messages.texts(), (Frames{"No preset value to send"}));
    EXPECT_EQ(messages.shown[0].title, "Preset");

    messages.shown.clear();
    record(kIY8).Param.set(2, "");  // channel 1: Max only
    type(s->txtPresetVal[0], "7");
    preset(s);
    EXPECT_EQ(writes(), join(kSelect, {"02/01:1"}));
    EXPECT_EQ(text(s->txtPresetVal[0]), "7");
    EXPECT_EQ(messages.texts(), (Frames{"No preset value to send"}));
}

TEST_F(Iy8Test, PresetLoadsTheCounter) {
    auto* s = open();
    upload(s);
    type(s->txtPresetVal[0], "123");
    type(s->txtPresetVal[2], "456");
    preset(s);
    EXPECT_EQ(writes(), join(kSelect, {"02/01:1", "02/10:123", "02/12:456"}));
    EXPECT_EQ(window->progress(), 4);
    EXPECT_TRUE(waitFor([&] { return text(s->txtParData[2]) == "456"; }));
    EXPECT_EQ(text(s->txtParData[0]), "123");
}

TEST_F(Iy8Test, PresetBeforeAnyUploadAsksForOneAndSendsNothingElse) {
    auto* s = open();
    for (QLineEdit* b : s->txtPresetVal) type(b, "5");
    preset(s);
    EXPECT_EQ(writes(), join(kSelect, {"02/01:1"}));
    ASSERT_EQ(messages.texts(), (Frames{"Please Upload before the Preset"}));
    EXPECT_EQ(messages.shown[0].title, "Preset");
    EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Stop);
    EXPECT_TRUE(G().Connected);
    EXPECT_EQ(text(s->txtPresetVal[0]), "5");
}

TEST_F(Iy8Test, PresetStopsAtTheFirstChannelNeverReadAndSkipsHalfKnownOnes) {
    auto* s = open();
    for (QLineEdit* b : s->txtPresetVal) type(b, "7");
    record(kIY8).Param.set(2, "0");  // channel 1: both known
    record(kIY8).Param.set(3, "100");
    record(kIY8).Param.set(5, "100");  // channel 2: Max only, skipped
    // channel 3: neither: the message, and channel 4 is not reached
    record(kIY8).Param.set(8, "0");
    record(kIY8).Param.set(9, "100");
    preset(s);
    EXPECT_EQ(writes(), join(kSelect, {"02/01:1", "02/10:7"}));
    EXPECT_EQ(messages.texts(), (Frames{"Please Upload before the Preset"}));
}

// A channel never read stops the preset with its message; a value refused on a
// channel before it is still told.
TEST_F(Iy8Test, PresetStoppedForAnUploadStillTellsAValueRefusedBefore) {
    auto* s = open();
    record(kIY8).Param.set(2, "0");  // channel 1 known, channel 2 never read
    record(kIY8).Param.set(3, "100");
    type(s->txtPresetVal[0], "101");
    type(s->txtPresetVal[1], "5");
    preset(s);
    EXPECT_EQ(writes(), join(kSelect, {"02/01:1"}));
    EXPECT_EQ(messages.texts(),
              (Frames{"Please Upload before the Preset", "Preset Ch.1: Please enter number 0 - 100"}));
    EXPECT_EQ(text(s->txtPresetVal[0]), "101");
    EXPECT_EQ(text(s->txtPresetVal[1]), "5");
}

TEST_F(Iy8Test, PresetWriteThatGetsNoAnswerDisconnects) {
    auto* s = open();
    upload(s);
    type(s->txtPresetVal[0], "10");
    type(s->txtPresetVal[1], "20");
    useFakeClock();
    sim.addFault(silence("D10", kIY8));
    preset(s);
    EXPECT_EQ(messages.texts(), (Frames{"Downloading incomplete"}));
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(countFrames("I11"), 0u);
}

TEST_F(Iy8Test, LiveCountersAndAMissingOneLeavesAllAsTheyWere) {
    auto* s = open();
    ASSERT_TRUE(waitFor([&] { return text(s->txtParData[7]) == "10800"; }));
    EXPECT_EQ(text(s->txtParData[0]), "10100");
    for (int item = 10; item <= 17; ++item) sim.setValue(kIY8, "00", item, "5");
    useFakeClock();
    sim.addFault(silence("I15", kIY8));
    nextPass(s);
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(text(s->txtParData[static_cast<std::size_t>(ch)]), "10" + str(ch + 1) + "00");
    EXPECT_EQ(messages.texts(), (Frames{"Uploading incomplete"}));
    EXPECT_FALSE(G().Connected);
}

TEST_F(Iy8Test, KeyFiltersOfTheBoxes) {
    auto* s = open();
    const auto typed = [](QLineEdit* b, const char* keys) {
        b->clear();
        b->setFocus();
        QTest::keyClicks(b, keys);
        return screens::boxText(b);
    };
    EXPECT_EQ(typed(s->txtMin[0], "21"), "1");
    EXPECT_EQ(typed(s->txtFScale[0], "-12.5a345678901"), "-125345678");
    // Ten characters as typed, but a longer count from the record stays whole.
    record(kIY8).Param.set(3, "123456789012345");
    cardList()->setCurrentIndex(0);
    s = open();
    EXPECT_EQ(text(s->txtFScale[0]), "123456789012345");
    s->txtFScale[0]->setFocus();
    s->txtFScale[0]->end(false);
    QTest::keyClick(s->txtFScale[0], Qt::Key_Backspace);
    EXPECT_EQ(text(s->txtFScale[0]), "12345678901234");
    EXPECT_EQ(typed(s->txtPresetVal[0], "9x9"), "99");
}

TEST_F(Iy8Test, OverviewRowShowsTheFirstFourCountersAndKeepsAnUnansweredOne) {
    useFakeClock();
    ASSERT_TRUE(ReadAllCardsCycData({}));
    const auto& wide = Overview().row(kIY8)->wide;
    EXPECT_EQ(wide[0].caption, "10100");
    EXPECT_EQ(wide[3].caption, "10400");
    for (int item = 10; item <= 13; ++item) sim.setValue(kIY8, "00", item, "12.5");
    sim.addFault(silence("I12", kIY8));
    EXPECT_TRUE(ReadAllCardsCycData({}));
    EXPECT_EQ(wide[0].caption, "125");
    EXPECT_EQ(wide[1].caption, "125");
    EXPECT_EQ(wide[2].caption, "10300");  // unanswered: as it was
    EXPECT_EQ(wide[3].caption, "125");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(G().Connected);
}
