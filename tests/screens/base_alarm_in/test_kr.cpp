// The alarm input screens: where each setting lives on the card and in the
// record, the alarm group of the "KP" and "KC" models, the alarm lamps, the
// packed directions of the 8-channel cards and what a card that stops answering
// leaves behind.
#include <gtest/gtest.h>

#include <set>

#include "core/Colors.h"
#include "screens/base_alarm_in/frmKR4.h"
#include "screens/base_alarm_in/frmKR8.h"
#include "ui/Geometry.h"
#include "tests/screens/ScreenFixture.h"
#include "tests/screens/analog_in/LeftList.h"

using namespace talvo;
using namespace talvo::screens;
using Frames = std::vector<std::string>;
using k6sim::Fault;
using k6sim::FaultAction;
using test::fault;
using test::silence;

namespace {

constexpr int kKR4 = 13, kKR8 = 14;  // slots of the default station

bool hasColor(const QWidget* w, std::uint32_t color) {
    return w->palette().color(QPalette::Window) == ui::toQColor(color);
}

// 'R' red, 'G' green, '-' neutral, '?' anything else; lamp 1 first.
std::string lampStates(const std::vector<QLabel*>& lamps) {
    std::string out;
    for (const QLabel* l : lamps)
        out += hasColor(l, colors::Red)       ? 'R'
               : hasColor(l, colors::Green)   ? 'G'
               : hasColor(l, colors::SysMenu) ? '-'
                                              : '?';
    return out;
}

std::string lit(std::size_t count, std::set<int> red) {
    std::string out;
    for (int i = 1; i <= static_cast<int>(count); ++i) out += red.count(i) ? 'R' : 'G';
    return out;
}

std::string str(int n) { return std::to_string(n); }

class KrTest : public test::ScreenTest {
protected:
    // Puts a card of another alarm family into `slot`, with its family's items.
    void useModel(int slot, const std::string& code) {
        k6sim::Station parsed;
        std::string error;
        ASSERT_TRUE(k6sim::parseStation("slot " + str(slot) + " " + code + "\n", parsed, error)) << error;
        k6sim::Station st = sim.station();
        st.slot(slot) = parsed.slot(slot);
        sim.setStation(st);
        record(slot).CardType = code;
        cardList()->setCurrentIndex(0);
    }

    // Gives every setting of an alarm card a value that names its item.
    void markCard(int slot, const std::string& group, int n) {
        for (int item = 7; item <= 9; ++item) sim.setValue(slot, group, item, "t" + str(item));
        for (int ch = 1; ch <= n; ++ch) {
            for (int k = 0; k <= 4; ++k) sim.setValue(slot, group, 10 * ch + k, "v" + str(10 * ch + k));
            for (int a = 1; a <= 4; ++a) sim.setValue(slot, group, 10 * ch + 4 + a, direction(ch, a));
            sim.setValue(slot, "02", ch + 41, ch % 2 ? "1" : "0");
        }
    }
    // A one-character direction of its own for every alarm.
    static std::string direction(int ch, int a) {
        return std::string(1, static_cast<char>('A' + 4 * (ch - 1) + a - 1));
    }
};

}  // namespace

TEST_F(KrTest, Kr4UploadLayout) {
    struct Row {
        int ch, firstItem, firstParam, unusedItem, liveItem;
    };
    // Set values at firstItem.., hysteresis +4, directions +5..; the same offsets in Param.
    const Row rows[] = {{1, 10, 4, 42, 14}, {2, 20, 13, 43, 15}, {3, 30, 22, 44, 16}, {4, 40, 31, 45, 17}};
    markCard(kKR4, "04", 4);
    for (const Row& r : rows) sim.setValue(kKR4, "00", r.liveItem, "+0" + str(r.ch) + ".5");
    record(kKR4).Param.set(40, "keep");
    record(kKR4).ChOption.set(5, "keep");
    auto* s = pick<frmKR4>(kKR4);
    sim.clearFrames();
    upload(s);
    const CardRecord& rec = record(kKR4);
    EXPECT_EQ(text(s->txtPowerTime), "t7");
    EXPECT_EQ(text(s->txtDelayTime), "t8");
    EXPECT_EQ(text(s->txtHoldTime), "t9");
    EXPECT_EQ((std::vector<std::string>{rec.Param[1], rec.Param[2], rec.Param[3]}),
              (std::vector<std::string>{"t7", "t8", "t9"}));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.ch);
        const std::size_t i = static_cast<std::size_t>(r.ch - 1);
        for (int a = 1; a <= 4; ++a) {
            const std::size_t k = static_cast<std::size_t>(a - 1);
            EXPECT_EQ(text(s->txtAlarm[k][i]), "v" + str(r.firstItem + a - 1));
            EXPECT_EQ(rec.Param[r.firstParam + a - 1], "v" + str(r.firstItem + a - 1));
            EXPECT_EQ(text(s->txtAlarmLevel[k][i]), direction(r.ch, a));
            EXPECT_EQ(rec.Param[r.firstParam + 4 + a], direction(r.ch, a));
        }
        EXPECT_EQ(text(s->txtHyst[i]), "v" + str(r.firstItem + 4));
        EXPECT_EQ(rec.Param[r.firstParam + 4], "v" + str(r.firstItem + 4));
        EXPECT_EQ(text(s->txtEnable[i]), r.ch % 2 ? "1" : "0");
        EXPECT_EQ(rec.ChOption[r.ch], r.ch % 2 ? "1" : "0");
        EXPECT_TRUE(hasColor(s->txtEnable[i], r.ch % 2 ? colors::Red : colors::Green));
    }
    EXPECT_EQ(rec.Param[40], "keep");
    EXPECT_EQ(rec.ChOption[5], "keep");
    const Frames head = {"G04", "I01", "D1", "G04", "I7", "G04", "I8", "G04", "I9", "G04", "I10", "G04", "I11"};
    const Frames f = from(sim.frames(), "G04");
    EXPECT_EQ(Frames(f.begin(), f.begin() + static_cast<long>(std::min(head.size(), f.size()))), head);
    EXPECT_EQ(countFrames("I48"), 1u);  // direction 4 of channel 4, the last alarm item
    EXPECT_EQ(window->progress(), 8);
    EXPECT_TRUE(messages.shown.empty());
    // Live values keep their decimal point.
    EXPECT_TRUE(waitFor([&] { return text(s->txtParData[3]) == "+04.5"; }));
    EXPECT_EQ(text(s->txtParData[0]), "+01.5");
}

TEST_F(KrTest, LiveValuesStandInGreyDisplayBoxes) {
    const QColor grey = ui::toQColor(colors::SysButtonFace);
    for (int slot : {kKR4, kKR8}) {
        SCOPED_TRACE(slot);
        auto* s = pick<AlarmInputScreen>(slot);
        ASSERT_NE(s, nullptr);
        for (QLineEdit* b : s->txtParData) {
            EXPECT_TRUE(b->isReadOnly());
            EXPECT_EQ(b->palette().color(QPalette::Base), grey);
        }
        EXPECT_NE(s->txtHyst[0]->palette().color(QPalette::Base), grey);  // setting boxes stay white
    }
}

TEST_F(KrTest, Kr8UploadLayoutPacksTheDirections) {
    struct Row {
        int ch, firstItem, firstParam, directionParam, unusedItem, liveItem;
    };
    const Row rows[] = {{1, 10, 4, 9, 42, 14},    {2, 20, 10, 15, 43, 15}, {3, 30, 16, 21, 44, 16},
                        {4, 40, 22, 27, 45, 17},  {5, 50, 28, 33, 46, 18}, {6, 60, 34, 39, 47, 19},
                        {7, 70, 40, 45, 48, 20},  {8, 80, 46, 51, 49, 21}};
    markCard(kKR8, "04", 8);
    for (const Row& r : rows) sim.setValue(kKR8, "00", r.liveItem, "-" + str(r.ch) + ".25");
    record(kKR8).Param.set(52, "keep");
    record(kKR8).ChOption.set(9, "keep");
    auto* s = pick<frmKR8>(kKR8);
    upload(s);
    const CardRecord& rec = record(kKR8);
    EXPECT_EQ(rec.Param[1], "t7");
    EXPECT_EQ(rec.Param[3], "t9");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.ch);
        const std::size_t i = static_cast<std::size_t>(r.ch - 1);
        for (int a = 1; a <= 4; ++a) {
            const std::size_t k = static_cast<std::size_t>(a - 1);
            EXPECT_EQ(text(s->txtAlarm[k][i]), "v" + str(r.firstItem + a - 1));
            EXPECT_EQ(rec.Param[r.firstParam + a - 1], "v" + str(r.firstItem + a - 1));
            EXPECT_EQ(text(s->txtAlarmLevel[k][i]), direction(r.ch, a));
        }
        EXPECT_EQ(rec.Param[r.firstParam + 4], "v" + str(r.firstItem + 4));
        EXPECT_EQ(rec.Param[r.directionParam],
                  direction(r.ch, 4) + direction(r.ch, 3) + direction(r.ch, 2) + direction(r.ch, 1));
        EXPECT_EQ(rec.ChOption[r.ch], r.ch % 2 ? "1" : "0");
        EXPECT_EQ(sim.value(kKR8, "02", r.unusedItem), r.ch % 2 ? "1" : "0");
    }
    EXPECT_EQ(rec.Param[52], "keep");
    EXPECT_EQ(rec.ChOption[9], "keep");
    EXPECT_EQ(window->progress(), 12);
    EXPECT_TRUE(waitFor([&] { return text(s->txtParData[7]) == "-8.25"; }));
    EXPECT_EQ(text(s->txtParData[0]), "-1.25");
}

TEST_F(KrTest, KpAndKcModelsUseGroup12TheOthersGroup04) {
    struct Case {
        int slot;
        std::string code, group;
    };
    const Case cases[] = {{kKR4, "KR4", "04"}, {kKR4, "KN4", "04"}, {kKR4, "KM4", "04"}, {kKR4, "KP4", "12"},
                          {kKR4, "KC4", "12"}, {kKR8, "KN8", "04"}, {kKR8, "KP8", "12"}, {kKR8, "KC8", "12"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        useModel(c.slot, c.code);
        sim.setValue(c.slot, c.group, 7, "power-" + c.code);
        sim.setValue(c.slot, c.group, 10, "level-" + c.code);
        auto* s = pick<AlarmInputScreen>(c.slot);
        EXPECT_EQ(s->alarmGroup(), c.group);
        sim.clearFrames();
        upload(s);
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(text(s->txtPowerTime), "power-" + c.code);
        EXPECT_EQ(text(s->txtAlarm[0][0]), "level-" + c.code);
        EXPECT_EQ(countFrames(c.group == "04" ? "G12" : "G04"), 0u);
        EXPECT_EQ(countFrames("G02"), 1 + s->txtEnable.size());  // the Unused flags

        type(s->txtHoldTime, "hold-" + c.code);
        download(s);
        EXPECT_EQ(sim.value(c.slot, c.group, 9), "hold-" + c.code);
        EXPECT_EQ(record(c.slot).Param[3], "hold-" + c.code);
        // The live read stays in group 00.
        sim.clearFrames();
        ASSERT_TRUE(waitFor([&] { return countFrames("I10") > 0; }));
        settle(s);
        for (const std::string& frame : sim.frames()) EXPECT_TRUE(frame[0] != 'G' || frame == "G00") << frame;
    }
}

TEST_F(KrTest, Kr4DownloadSendsEveryNonEmptyTextAsTyped) {
    auto* s = pick<frmKR4>(kKR4);
    settle(s);
    record(kKR4).Param.set(3, "stored hold");
    record(kKR4).ChOption.set(4, "1");
    sim.setValue(kKR4, "04", 9, "card hold");
    sim.setValue(kKR4, "02", 45, "card flag");
    type(s->txtPowerTime, "5");
    type(s->txtDelayTime, "x1");
    type(s->txtHoldTime, "");
    for (int ch = 1; ch <= 4; ++ch) {
        const std::size_t i = static_cast<std::size_t>(ch - 1);
        for (std::size_t k = 0; k < 4; ++k) {
            type(s->txtAlarm[k][i], "s" + str(ch) + str(static_cast<int>(k) + 1));
            type(s->txtAlarmLevel[k][i], direction(ch, static_cast<int>(k) + 1));  // letters: sent unchanged
        }
        type(s->txtHyst[i], "h" + str(ch));
    }
    const std::string flags[] = {"1", "x", "0", ""};
    for (std::size_t i = 0; i < 4; ++i) type(s->txtEnable[i], flags[i]);
    download(s);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{test::LeftMessage("Hold Time; Unused Ch.4")});
    const CardRecord& rec = record(kKR4);
    EXPECT_EQ(sim.value(kKR4, "04", 7), "5");
    EXPECT_EQ(sim.value(kKR4, "04", 8), "x1");
    EXPECT_EQ(rec.Param[2], "x1");
    // An empty box sends nothing and gets the stored text back.
    EXPECT_EQ(sim.value(kKR4, "04", 9), "card hold");
    EXPECT_EQ(countFrames("I9"), 0u);
    EXPECT_EQ(text(s->txtHoldTime), "stored hold");
    EXPECT_EQ(rec.Param[3], "stored hold");
    for (int ch = 1; ch <= 4; ++ch) {
        SCOPED_TRACE(ch);
        for (int a = 1; a <= 4; ++a) {
            EXPECT_EQ(sim.value(kKR4, "04", 10 * ch + a - 1), "s" + str(ch) + str(a));
            EXPECT_EQ(rec.Param[9 * ch + a - 6], "s" + str(ch) + str(a));
            EXPECT_EQ(sim.value(kKR4, "04", 10 * ch + 4 + a), direction(ch, a));
            EXPECT_EQ(rec.Param[9 * ch + a - 1], direction(ch, a));
        }
        EXPECT_EQ(sim.value(kKR4, "04", 10 * ch + 4), "h" + str(ch));
        EXPECT_EQ(rec.Param[9 * ch - 1], "h" + str(ch));
    }
    // Unused: the card's answer decides; an empty box shows the stored flag red/green.
    EXPECT_EQ(sim.value(kKR4, "02", 43), "x");
    EXPECT_EQ(sim.value(kKR4, "02", 45), "card flag");
    const std::string shown[] = {"1", "0", "0", "1"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(text(s->txtEnable[i]), shown[i]);
        EXPECT_TRUE(hasColor(s->txtEnable[i], shown[i] == "1" ? colors::Red : colors::Green)) << i;
        EXPECT_EQ(rec.ChOption[static_cast<int>(i) + 1], shown[i]);
    }
    EXPECT_EQ(window->progress(), 8);
}

TEST_F(KrTest, LampWordsLightTheAlarmLamps) {
    struct Case {
        int slot;
        std::string word10, word11;
        std::set<int> red;
    };
    const Case cases[] = {
        {kKR4, "8001", "", {1, 16}},   {kKR4, "0000", "", {}},          {kKR4, "0010", "", {5}},
        {kKR4, "FFFF", "", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {kKR8, "0001", "8000", {1, 32}}, {kKR8, "8000", "0001", {16, 17}}, {kKR8, "0000", "0000", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word10 + " " + c.word11);
        sim.setValue(c.slot, "00", 10, c.word10);
        if (!c.word11.empty()) sim.setValue(c.slot, "00", 11, c.word11);
        auto* s = pick<AlarmInputScreen>(c.slot);
        const std::string expected = lit(s->lblDIDataCh.size(), c.red);
        EXPECT_TRUE(waitFor([&] { return lampStates(s->lblDIDataCh) == expected; }))
            << lampStates(s->lblDIDataCh) << " for " << expected;
        cardList()->setCurrentIndex(0);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(KrTest, RefusedLampWordLeavesItsLampsNeutral) {
    // A "CNG" or "CNU" answer is not a word: read as hex digits it would light alarms.
    for (auto [refusal, word] : {std::pair{"CNG", "FFFF"}, std::pair{"CNU", "0000"}}) {
        SCOPED_TRACE(refusal);
        sim.setValue(kKR8, "00", 10, word);
        sim.addFault(fault("I11", kKR8, FaultAction::Reply, refusal));
        auto* s = pick<frmKR8>(kKR8);
        const std::string expected = std::string(16, word[0] == 'F' ? 'R' : 'G') + std::string(16, '-');
        EXPECT_TRUE(waitFor([&] { return lampStates(s->lblDIDataCh) == expected; })) << lampStates(s->lblDIDataCh);
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_TRUE(G().Connected);
        cardList()->setCurrentIndex(0);
        sim.clearFaults();
    }
}

TEST_F(KrTest, SilentLampWordShowsTheValuesLeavesTheLampsNeutralAndDisconnects) {
    for (auto [slot, silentItem] : {std::pair{kKR4, "I10"}, std::pair{kKR8, "I11"}}) {
        SCOPED_TRACE(silentItem);
        if (!G().Connected) {
            restartWindow();
            connectAndUpload();
            messages.shown.clear();
        }
        sim.setValue(slot, "00", 10, "0000");
        if (slot == kKR8) sim.setValue(slot, "00", 11, "0000");
        auto* s = pick<AlarmInputScreen>(slot);
        const std::string green(s->lblDIDataCh.size(), 'G');
        ASSERT_TRUE(waitFor([&] { return lampStates(s->lblDIDataCh) == green; }));
        useFakeClock();
        settle(s);  // between two live reads
        sim.addFault(fault(silentItem, slot, FaultAction::Silence));
        sim.setValue(slot, "00", 14, "12.5");
        ASSERT_TRUE(waitFor([&] { return !G().Connected; }));
        EXPECT_EQ(text(s->txtParData[0]), "12.5");
        EXPECT_EQ(lampStates(s->lblDIDataCh), std::string(s->lblDIDataCh.size(), '-'));
        EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Uploading incomplete"}));
        EXPECT_EQ(messages.shown[0].title, "Uploading");
        EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Stop);
        sim.clearFaults();
    }
}

TEST_F(KrTest, Kr4TransferThatLosesTheCardKeepsWhatWasNotReached) {
    for (int i = 1; i <= 39; ++i) record(kKR4).Param.set(i, "old" + str(i));
    record(kKR4).ChOption.set(3, "1");
    auto* s = pick<frmKR4>(kKR4);
    settle(s);
    useFakeClock();
    sim.addFault(fault("I24", kKR4, FaultAction::Silence));  // hysteresis of channel 2
    upload(s);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Uploading incomplete"}));
    EXPECT_FALSE(G().Connected);
    const CardRecord& rec = record(kKR4);
    EXPECT_EQ(rec.Param[1], "0");      // the times came
    EXPECT_EQ(rec.Param[16], "0.0");   // set value 4 of channel 2 came
    EXPECT_EQ(rec.Param[17], "old17"); // its hysteresis did not
    EXPECT_EQ(rec.Param[18], "old18");
    EXPECT_EQ(rec.Param[39], "old39");
    EXPECT_EQ(text(s->txtHyst[1]), "old17");  // the box keeps what it showed
    EXPECT_EQ(rec.ChOption[3], "1");

    // A download whose Unused write is refused: the flags after it keep their record.
    restartWindow();
    connectAndUpload();
    s = pick<frmKR4>(kKR4);
    settle(s);
    record(kKR4).ChOption.set(2, "1");
    record(kKR4).ChOption.set(3, "1");
    for (std::size_t i = 0; i < 4; ++i) type(s->txtEnable[i], "0");
    Fault refuse = fault("I43", kKR4, FaultAction::Reply, "CNG");
    refuse.group = "02";
    sim.addFault(refuse);
    download(s);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Downloading incomplete"}));
    EXPECT_EQ(record(kKR4).ChOption[1], "0");
    EXPECT_EQ(record(kKR4).ChOption[2], "1");
    EXPECT_EQ(record(kKR4).ChOption[3], "1");
}

TEST_F(KrTest, Kr8DirectionTextShowsItsFourCharactersOrNothing) {
    record(kKR8).Param.set(9, "1010");
    record(kKR8).Param.set(15, "101");
    record(kKR8).Param.set(21, "1 0 ");  // blanks: directions the record does not know
    auto* s = pick<frmKR8>(kKR8);
    const auto dirs = [&](int ch) {
        std::string out;
        for (std::size_t k = 0; k < 4; ++k) out += text(s->txtAlarmLevel[k][static_cast<std::size_t>(ch - 1)]) + ",";
        return out;
    };
    EXPECT_EQ(dirs(1), "0,1,0,1,");
    EXPECT_EQ(dirs(2), ",,,,");
    EXPECT_EQ(dirs(3), ",0,,1,");
}

TEST_F(KrTest, Kr8DownloadPacksTheDirectionsAndKeepsTheUntypedOnes) {
    auto* s = pick<frmKR8>(kKR8);
    settle(s);
    record(kKR8).Param.set(51, "1100");
    record(kKR8).Param.set(21, "101");
    s->SetScaleMinMax("KR8");
    settle(s);
    const char* ch2[] = {"1", "1", "0", "0"};
    for (std::size_t k = 0; k < 4; ++k) type(s->txtAlarmLevel[k][1], ch2[k]);
    type(s->txtAlarmLevel[1][7], "");  // alarm 2 of channel 8
    type(s->txtAlarmLevel[0][0], "");  // channel 1 has no direction text yet: only alarm 3 typed
    type(s->txtAlarmLevel[1][0], "");
    type(s->txtAlarmLevel[2][0], "L");
    type(s->txtAlarmLevel[3][0], "");
    for (std::size_t i = 2; i < 7; ++i)
        for (std::size_t k = 0; k < 4; ++k) type(s->txtAlarmLevel[k][i], "");
    sim.clearFrames();
    download(s);
    // Named as left: what was never read, and every direction with nothing to send.
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{test::LeftMessage(
                  test::LeftList({{"Power ON", 0}, {"Delay Time", 0}, {"Hold Time", 0}}) + "; " +
                  test::EveryChannel({"Alarm1 Cond. Level", "Alarm2 Cond. Level", "Alarm3 Cond. Level",
                                      "Alarm4 Cond. Level", "Hyst."},
                                     8) +
                  "; Alarm1 Cond. Dir Ch.1, Ch.3, Ch.4, Ch.5, Ch.6, Ch.7"
                  "; Alarm2 Cond. Dir Ch.1, Ch.3, Ch.4, Ch.5, Ch.6, Ch.7, Ch.8"
                  "; Alarm4 Cond. Dir Ch.1, Ch.3, Ch.4, Ch.5, Ch.6, Ch.7"
                  "; Alarm3 Cond. Dir Ch.3, Ch.4, Ch.5, Ch.6, Ch.7; " +
                  test::EveryChannel({"Unused"}, 8))});
    const CardRecord& rec = record(kKR8);
    for (int a = 1; a <= 4; ++a) EXPECT_EQ(sim.value(kKR8, "04", 24 + a), ch2[a - 1]);
    EXPECT_EQ(rec.Param[15], "0011");
    // Channel 8: alarm 2 not sent, its old character back in the box and in the text.
    EXPECT_EQ(countFrames("I86"), 0u);
    EXPECT_EQ(countFrames("I85") + countFrames("I87") + countFrames("I88"), 3u);
    EXPECT_EQ(text(s->txtAlarmLevel[1][7]), "0");
    EXPECT_EQ(rec.Param[51], "1100");
    // Channel 3's text was unreadable and nothing was typed: nothing sent, stored empty.
    EXPECT_EQ(countFrames("I35") + countFrames("I36") + countFrames("I37") + countFrames("I38"), 0u);
    EXPECT_EQ(rec.Param[21], "");
    // Channel 1: the one direction the card took keeps its place.
    EXPECT_EQ(sim.value(kKR8, "04", 17), "L");
    type(s->txtAlarmLevel[2][0], "");
    s->SetScaleMinMax("KR8");
    EXPECT_EQ(text(s->txtAlarmLevel[2][0]), "L");
    EXPECT_EQ(text(s->txtAlarmLevel[0][0]), "");
}

TEST_F(KrTest, Kr8PartialUploadKeepsTheDirectionsThatArrived) {
    auto* s = pick<frmKR8>(kKR8);
    settle(s);
    record(kKR8).Param.set(21, "1010");  // channel 3
    record(kKR8).Param.set(27, "0101");  // channel 4, not reached
    record(kKR8).Param.set(33, "");      // channel 5, not reached either
    for (int a = 1; a <= 4; ++a) sim.setValue(kKR8, "04", 34 + a, a <= 2 ? "H" : "L");
    useFakeClock();
    sim.addFault(fault("I36", kKR8, FaultAction::Silence));  // direction 2 of channel 3
    upload(s);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Uploading incomplete"}));
    const CardRecord& rec = record(kKR8);
    EXPECT_EQ(rec.Param[9], "LLHH");   // channel 1 came whole
    EXPECT_EQ(rec.Param[21], "101H");  // direction 1 arrived, 2..4 keep their characters
    EXPECT_EQ(rec.Param[27], "0101");
    EXPECT_EQ(rec.Param[33], "");

    // The same on a channel with no direction text yet: the one that came is kept in place.
    restartWindow();
    connectAndUpload();
    s = pick<frmKR8>(kKR8);
    settle(s);
    record(kKR8).Param.set(21, "");
    sim.addFault(fault("I36", kKR8, FaultAction::Silence));
    upload(s);
    ASSERT_FALSE(G().Connected);
    for (std::size_t k = 0; k < 4; ++k) type(s->txtAlarmLevel[k][2], "");
    s->SetScaleMinMax("KR8");
    EXPECT_EQ(text(s->txtAlarmLevel[0][2]), "H");
    EXPECT_EQ(text(s->txtAlarmLevel[1][2]), "");
}
