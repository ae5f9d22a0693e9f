// The heat and flow card screen against the simulator: the settings on the card
// and in the record with their exact frames, the number rules of the boxes as
// the user types, which texts a download sends, the live panel, and the preset
// of the totals with the unit-dependent limits of the heat totals.
#include <gtest/gtest.h>

#include "screens/power/frmFS2.h"
#include "shell/frmLoading.h"
#include "tests/screens/power/PowerFixture.h"

using namespace talvo;
using namespace talvo::screens;
using test::Frames;
using test::silence;

namespace {

class Fs2Test : public test::PowerScreenTest {
protected:
    frmFS2* open(int slot) {
        auto* s = pick<frmFS2>(slot);
        if (s) settle(s);
        return s;
    }
    // Types into a box as the user does: every key through the box's filter and check.
    static void typeKeys(QLineEdit* box, const std::string& keys) {
        QTest::keyClicks(box, QString::fromLatin1(keys.c_str()));
    }
    static void retype(QLineEdit* box, const std::string& keys) {
        box->clear();
        typeKeys(box, keys);
    }
    void preset(frmFS2* s) {
        settle(s);
        const auto before = sim.frames().size();
        s->presetButton()->click();
        ASSERT_TRUE(waitFor([&] { return s->busy() || sim.frames().size() > before; }, 3000));
        settle(s);
    }
};

// A setting of channel ch: its boxes, group, item and record field 12(ch - 1) + k.
struct Field {
    const char* name;
    frmFS2::PerCh frmFS2::*boxes;
    const char* group;
    int perCh, base, k;
    int item(int ch) const { return perCh * ch + base; }
};
const Field kFields[] = {
    {"Flow Zscale", &frmFS2::txtZScale, "01", 2, 14, 1},    {"Flow Fscale", &frmFS2::txtFScale, "01", 2, 15, 2},
    {"Flow Bias", &frmFS2::txtBias, "01", 2, 8, 3},         {"Flow Gain", &frmFS2::txtGain, "01", 2, 9, 4},
    {"Cooling", &frmFS2::txtKCool, "02", 2, 8, 5},          {"Heating", &frmFS2::txtKHeat, "02", 2, 9, 6},
    {"Flow Low Cut", &frmFS2::txtFlowCut, "02", 1, 13, 7},  {"Temp Low Cut", &frmFS2::txtTempCut, "02", 1, 15, 8},
    {"Hysteresis", &frmFS2::txtHys, "02", 1, 17, 9},        {"Adj.Supply", &frmFS2::txtSuppTempAdj, "02", 2, 18, 10},
    {"Adj.Ambient", &frmFS2::txtAmbTempAdj, "02", 2, 19, 11},
};

QLineEdit* boxOf(frmFS2* s, const Field& f, int ch) { return (s->*f.boxes)[static_cast<std::size_t>(ch)]; }

// Reads (or writes) of every setting, channel by channel, in the screen's order.
Frames settingFrames(const std::function<Frames(const Field&, int ch)>& one) {
    Frames out;
    for (int ch = 1; ch <= 2; ++ch)
        for (const Field& f : kFields) {
            const Frames part = one(f, ch);
            out.insert(out.end(), part.begin(), part.end());
        }
    return out;
}

}  // namespace

TEST_F(Fs2Test, UploadReadsEverySettingIntoItsBoxAndRecordField) {
    auto* s = open(test::kFS2);
    ASSERT_NE(s, nullptr);
    EXPECT_FALSE(s->downloadButton()->isEnabled());
    EXPECT_TRUE(s->uploadButton()->isEnabled());
    EXPECT_TRUE(s->presetButton()->isEnabled());
    for (int ch = 1; ch <= 2; ++ch)
        for (const Field& f : kFields)
            sim.setValue(test::kFS2, f.group, f.item(ch), "v" + std::string(f.group) + str(f.item(ch)));
    sim.setValue(test::kFS2, "02", 43, "1");
    sim.setValue(test::kFS2, "00", 56, "4.2");
    record(test::kFS2).Param.set(12, "keep");
    record(test::kFS2).Param.set(26, "keep");
    sim.clearFrames();
    upload(s);
    EXPECT_TRUE(messages.shown.empty());
    const CardRecord& rec = record(test::kFS2);
    for (int ch = 1; ch <= 2; ++ch)
        for (const Field& f : kFields) {
            SCOPED_TRACE(std::string(f.name) + " " + str(ch));
            const std::string v = "v" + std::string(f.group) + str(f.item(ch));
            EXPECT_EQ(text(boxOf(s, f, ch)), v);  // the card's text stands as it is
            EXPECT_EQ(rec.Param[12 * (ch - 1) + f.k], v);
        }
    EXPECT_EQ(text(s->txtEnable[2]), "1");
    EXPECT_EQ(rec.Param[24], "1");
    EXPECT_EQ(text(s->txtCoff), "4.2");
    EXPECT_EQ(rec.Param[25], "4.2");
    EXPECT_EQ(rec.Param[12], "keep");
    EXPECT_EQ(rec.Param[26], "keep");
    EXPECT_EQ(text(s->txtTemp2), "+020.0");
    EXPECT_EQ(text(s->txtBurnout), "UP");
    EXPECT_EQ(text(s->txtConvSpeed), "Normal");
    EXPECT_TRUE(s->downloadButton()->isEnabled());
    const Frames expected = join({selectFrames(test::kFS2), write("01", "01", "1"), write("02", "01", "1"),
                                  settingFrames([](const Field& f, int ch) { return reads(f.group, {f.item(ch)}); }),
                                  reads("02", {43}), reads("00", {56, 71, 69, 70})});
    EXPECT_EQ(transferFrames(test::kFS2, {"G01", "I01", "D1"}), expected);
    EXPECT_EQ(window->progress(), 2);
}

TEST_F(Fs2Test, CardTextsThatBreakABoxsRuleAreShownAndStoredAsTheyStand) {
    sim.setValue(test::kFS2, "01", 11, "1.23456");  // five decimals in the gain
    sim.setValue(test::kFS2, "02", 43, "7");
    auto* s = open(test::kFS2);
    upload(s);
    EXPECT_EQ(text(s->txtGain[1]), "1.23456");
    EXPECT_EQ(record(test::kFS2).Param[4], "1.23456");
    EXPECT_EQ(text(s->txtEnable[2]), "7");
    // Nor is a record's text put through the rules when the screen is entered.
    record(test::kFS2Second).Param.set(3, "-.");
    auto* again = open(test::kFS2Second);
    EXPECT_EQ(text(again->txtBias[1]), "-.");
}

TEST_F(Fs2Test, DownloadSendsOnlyCompleteNumbersAndRestoresTheRest) {
    auto* s = open(test::kFS2);
    upload(s);  // every box now holds the card's value; Download is enabled
    CardRecord& rec = record(test::kFS2);
    rec.Param.set(3, "0.50");    // Flow Bias CH 1
    rec.Param.set(22, "-1.00");  // Adj.Supply CH 2
    rec.Param.set(23, "0.25");   // Adj.Ambient CH 2
    rec.Param.set(16, "1.5000");  // Flow Gain CH 2
    type(s->txtBias[1], "");
    type(s->txtSuppTempAdj[2], "-");
    type(s->txtAmbTempAdj[2], "-0.");
    type(s->txtGain[2], "0");
    type(s->txtFlowCut[1], "2.50");
    type(s->txtCoff, "4.5");
    type(s->txtEnable[2], "1");
    sim.clearFrames();
    download(s);
    // What holds no number to send is left, and named as the screen captions it.
    EXPECT_EQ(messages.texts(), std::vector<std::string>{std::string(ui::kLeftAsTheyAreText) +
                                                         "Flow Bias CH 1; Flow Gain CH 2; Adj.Supply CH 2; "
                                                         "Adj.Ambient CH 2"});
    const auto refused = [](const Field& f, int ch) {
        const std::string n = f.name;
        return (ch == 1 && n == "Flow Bias") ||
               (ch == 2 && (n == "Adj.Supply" || n == "Adj.Ambient" || n == "Flow Gain"));
    };
    const Frames writes = settingFrames([&](const Field& f, int ch) {
        return refused(f, ch) ? Frames{} : write(f.group, f.item(ch), text(boxOf(s, f, ch)));
    });
    const Frames expected = join({selectFrames(test::kFS2), write("00", "01", "1"), write("01", "01", "1"),
                                  write("02", "01", "1"), writes, write("02", 43, "1"), write("00", 56, "4.5"),
                                  write("02", "01", "1")});
    EXPECT_EQ(transferFrames(test::kFS2, {"G00", "I01", "D1"}), expected);
    EXPECT_EQ(text(s->txtBias[1]), "0.50");
    EXPECT_EQ(text(s->txtSuppTempAdj[2]), "-1.00");
    EXPECT_EQ(text(s->txtAmbTempAdj[2]), "0.25");
    EXPECT_EQ(text(s->txtGain[2]), "1.5000");
    EXPECT_EQ(sim.value(test::kFS2, "02", 14), "2.50");
    EXPECT_EQ(rec.Param[7], "2.50");
    EXPECT_EQ(sim.value(test::kFS2, "00", 56), "4.5");
    EXPECT_EQ(rec.Param[25], "4.5");
    EXPECT_EQ(sim.value(test::kFS2, "02", 43), "1");
    EXPECT_EQ(window->progress(), 2);
}

TEST_F(Fs2Test, DownloadIsEnabledByTheFirstUploadOrALoadedSettingsFile) {
    auto* s = open(test::kFS2);
    EXPECT_FALSE(s->downloadButton()->isEnabled());
    open(test::kFS2Second);
    EXPECT_FALSE(s->downloadButton()->isEnabled());
    G().FileLoaded = true;
    open(test::kFS2);
    EXPECT_TRUE(s->downloadButton()->isEnabled());
    G().FileLoaded = false;
    open(test::kFS2Second);
    EXPECT_TRUE(s->downloadButton()->isEnabled());  // nothing disables it again
}

TEST_F(Fs2Test, EnteringAnotherSlotEmptiesTheCardValuesOfTheLastUpload) {
    auto* s = open(test::kFS2);
    upload(s);
    ASSERT_EQ(text(s->txtTemp2), "+020.0");
    ASSERT_EQ(open(test::kFS2Second), s);
    EXPECT_EQ(text(s->txtTemp2), "");
    EXPECT_EQ(text(s->txtBurnout), "");
    EXPECT_EQ(text(s->txtConvSpeed), "");
    EXPECT_TRUE(s->downloadButton()->isEnabled());
    EXPECT_EQ(text(s->cardNoBox()), "12");
}

TEST_F(Fs2Test, EachBoxKeepsToItsRuleAsTheUserTypes) {
    auto* s = open(test::kFS2);
    struct Case {
        const char* what;
        QLineEdit* box;
        std::string keys, shown;
    };
    const Case cases[] = {
        {"third decimal", s->txtFlowCut[1], "1.234", "1.23"},
        {"flow cut 10.00", s->txtFlowCut[2], "10.00", "10.00"},
        {"flow cut 10.01", s->txtFlowCut[1], "10.01", "10.0"},
        {"gain 0 and 0.", s->txtGain[1], "0.", "0."},
        {"gain 0.0", s->txtGain[2], "0.0", "0."},
        {"gain 0.1", s->txtGain[1], "0.1", "0.1"},
        {"point", s->txtZScale[1], ".", "0."},
        {"minus in an unsigned box", s->txtZScale[2], "-5", "5"},
        {"minus point", s->txtBias[1], "-.", "-0."},
        {"minus alone", s->txtBias[2], "-", "-"},
        {"minus after a digit", s->txtSuppTempAdj[1], "5-", "5"},
        {"adjust beyond 5", s->txtAmbTempAdj[2], "-5.01", "-5.0"},
        {"letters", s->txtHys[1], "1a", "1"},
        {"coefficient", s->txtCoff, "65.536", "65.53"},
        {"disable 1", s->txtEnable[2], "1", "1"},
        {"disable 10", s->txtEnable[2], "10", "1"},
        {"disable point", s->txtEnable[2], ".", ""},
    };
    for (const Case& c : cases) {
        retype(c.box, c.keys);
        EXPECT_EQ(text(c.box), c.shown) << c.what;
    }
}

TEST_F(Fs2Test, EveryBoxFallsBackToItsOwnText) {
    auto* s = open(test::kFS2);
    retype(s->txtBias[1], "1.5");
    retype(s->txtBias[2], "7");
    typeKeys(s->txtBias[1], "-");  // "1.5-": back to what this box held, not the other channel's
    EXPECT_EQ(text(s->txtBias[1]), "1.5");
    EXPECT_EQ(text(s->txtBias[2]), "7");
    retype(s->txtTotalCFlowp[1], "12.5");
    retype(s->txtTotalCFlowp[2], "3");
    typeKeys(s->txtTotalCFlowp[1], "55");  // "12.555": a third decimal
    EXPECT_EQ(text(s->txtTotalCFlowp[1]), "12.55");
    // A text the upload put in is what a refused key falls back to.
    upload(s);
    ASSERT_EQ(text(s->txtGain[2]), "1.0000");
    typeKeys(s->txtGain[2], "1");
    EXPECT_EQ(text(s->txtGain[2]), "1.0000");
}

TEST_F(Fs2Test, LivePanelShowsBothChannelsInTheReadOrder) {
    sim.setValue(test::kFS2, "00", 12, "12.34");
    sim.setValue(test::kFS2, "00", 21, "12.34");
    auto* s = open(test::kFS2);
    waitForLiveRead(s, "25");
    const Frames order = reads("00", {12, 61, 13, 63, 27, 28, 65, 10, 11, 14, 15, 16, 17,
                                      20, 62, 21, 64, 29, 30, 66, 18, 19, 22, 23, 24, 25});
    EXPECT_EQ(sim.frames(), join({selectFrames(test::kFS2), order}));
    EXPECT_EQ(text(s->txtFlowVal[1]), "1234");
    EXPECT_EQ(text(s->txtCalVal[2]), "1234");
    EXPECT_EQ(text(s->txtCalVal[1]), "5678");
    EXPECT_EQ(text(s->txtCalUnit[1]), "MJ/h");
    EXPECT_EQ(text(s->txtCalUnit[2]), "GJ/h");
    EXPECT_EQ(text(s->txtFlowUnit[1]), "m3/h");
    EXPECT_EQ(text(s->txtSuppTemp[2]), "+012.5");  // no point removed but from the flow and heat values
    EXPECT_EQ(text(s->txtTotalCFlow[1]), "001234.56");
    EXPECT_EQ(text(s->txtTotalHCal[2]), "000001.23");
    EXPECT_EQ(text(s->txtCalState[2]), "Normal");
    EXPECT_EQ(text(s->txtHCmode[2]), "Heating");
    EXPECT_EQ(text(s->txtRTD[2]), "Pt1000");
}

TEST_F(Fs2Test, LiveItemNotAnsweredLeavesItsBoxEmptyWithoutAMessage) {
    auto* s = open(test::kFS2);
    useFakeClock();
    sim.addFault(silence("I63", test::kFS2));
    waitForLiveRead(s, "25");
    EXPECT_EQ(text(s->txtCalUnit[1]), "");
    EXPECT_EQ(text(s->txtCalVal[1]), "5678");
    EXPECT_EQ(text(s->txtRTD[2]), "Pt1000");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(G().Connected);
    // Without a unit, a heat preset box takes nothing.
    retype(s->txtTotalCCalp[1], "5");
    EXPECT_EQ(text(s->txtTotalCCalp[1]), "");
    retype(s->txtTotalCFlowp[1], "5");
    EXPECT_EQ(text(s->txtTotalCFlowp[1]), "5");
}

TEST_F(Fs2Test, HeatPresetLimitsFollowTheChannelsUnit) {
    auto* s = open(test::kFS2);  // CH 1 shows MJ/h, CH 2 GJ/h
    retype(s->txtTotalHCalp[2], "9999.99");
    EXPECT_EQ(text(s->txtTotalHCalp[2]), "9999.99");
    retype(s->txtTotalHCalp[2], "10000");
    EXPECT_EQ(text(s->txtTotalHCalp[2]), "1000");
    retype(s->txtTotalHCalp[1], "999999.99");
    EXPECT_EQ(text(s->txtTotalHCalp[1]), "999999.99");
    retype(s->txtTotalCCalp[1], "1000000");
    EXPECT_EQ(text(s->txtTotalCCalp[1]), "100000");
    retype(s->txtTotalHFlowp[2], "1000000");  // flows: 999999.99 whatever the unit
    EXPECT_EQ(text(s->txtTotalHFlowp[2]), "100000");
}

TEST_F(Fs2Test, KeysTypedWhileThePanelBlinksFindTheUnitItShowed) {
    auto* s = open(test::kFS2);
    retype(s->txtTotalCCalp[1], "12");
    // A key typed the moment the live read has emptied the unit box.
    bool typed = false;
    QObject::connect(s->txtCalUnit[1], &QLineEdit::textChanged, s, [&](const QString& t) {
        if (!t.isEmpty() || typed) return;
        typed = true;
        typeKeys(s->txtTotalCCalp[1], "3");
    });
    waitForLiveRead(s, "25");
    ASSERT_TRUE(typed);
    EXPECT_EQ(text(s->txtTotalCCalp[1]), "123");
}

TEST_F(Fs2Test, PresetWithOneBoxFilledSendsExactlyOneWrite) {
    auto* s = open(test::kFS2);
    retype(s->txtTotalHFlowp[2], "123.45");
    sim.clearFrames();
    preset(s);
    EXPECT_EQ(transferFrames(test::kFS2, {"G02", "I01", "D1"}),
              join({selectFrames(test::kFS2), write("02", "01", "1"), write("02", 29, "123.45")}));
    EXPECT_EQ(text(s->txtTotalHFlowp[2]), "123.45");  // the card's answer
    EXPECT_TRUE(messages.shown.empty());
    // The simulated card sets the total; the next live read shows it.
    waitForLiveRead(s, "25");
    EXPECT_EQ(text(s->txtTotalHFlow[2]), "123.45");
}

// A value typed with a bare point is the number it shows: sent without the point
// (or with the zero before it), never dropped.
TEST_F(Fs2Test, PresetSendsAValueWithABarePointAsTheNumberItShows) {
    auto* s = open(test::kFS2);  // CH 1 shows MJ/h
    retype(s->txtTotalCFlowp[1], "5.");
    retype(s->txtTotalHFlowp[2], "0.");
    type(s->txtTotalCCalp[1], ".5");  // put in by the program: the boxes' own rule never makes it
    ASSERT_EQ(text(s->txtTotalCFlowp[1]), "5.");
    ASSERT_EQ(text(s->txtTotalHFlowp[2]), "0.");
    sim.clearFrames();
    preset(s);
    EXPECT_EQ(transferFrames(test::kFS2, {"G02", "I01", "D1"}),
              join({selectFrames(test::kFS2), write("02", "01", "1"), write("02", 26, "5"), write("02", 30, "0.5"),
                    write("02", 29, "0")}));
    EXPECT_EQ(text(s->txtTotalCFlowp[1]), "5");  // the card's answers
    EXPECT_EQ(text(s->txtTotalHFlowp[2]), "0");
    EXPECT_EQ(text(s->txtTotalCCalp[1]), "0.5");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Fs2Test, PresetChecksTheHeatTotalsAgainAgainstTheUnitShownNow) {
    auto* s = open(test::kFS2);
    retype(s->txtTotalCCalp[1], "999999.99");  // fits MJ/h
    retype(s->txtTotalHCalp[1], "9999.99");    // fits both
    retype(s->txtTotalCFlowp[1], "5");
    ASSERT_EQ(text(s->txtTotalCCalp[1]), "999999.99");
    sim.setValue(test::kFS2, "00", 63, "GJ/h");
    ASSERT_TRUE(waitFor([&] { return text(s->txtCalUnit[1]) == "GJ/h"; }));
    settle(s);
    sim.clearFrames();
    preset(s);
    EXPECT_EQ(transferFrames(test::kFS2, {"G02", "I01", "D1"}),
              join({selectFrames(test::kFS2), write("02", "01", "1"), write("02", 26, "5"),
                    write("02", 31, "9999.99")}));
    EXPECT_EQ(text(s->txtTotalCCalp[1]), "");  // no longer fits: not sent, emptied
    EXPECT_EQ(text(s->txtTotalHCalp[1]), "9999.99");
    EXPECT_EQ(sim.value(test::kFS2, "00", 15), "000012.34");
}

TEST_F(Fs2Test, TransfersThatLoseTheCardStopReportAndDisconnect) {
    struct Case {
        const char* what;
        const char* silentFrame;
        const char* group;
        const char* message;
    };
    const Case cases[] = {{"upload", "I13", "01", "Uploading incomplete"},
                          {"download", "I13", "01", "Downloading incomplete"},
                          {"preset", "I28", "02", "Downloading incomplete"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restartWindow();
        connectAndUpload();
        messages.shown.clear();
        auto* s = open(test::kFS2);
        const std::string what = c.what;
        if (what != "upload") upload(s);
        type(s->txtKCool[2], "2.5");
        type(s->txtFScale[2], "55");
        record(test::kFS2).Param.set(17, "rec");
        retype(s->txtTotalCFlowp[1], "1");
        retype(s->txtTotalCFlowp[2], "2");
        retype(s->txtTotalHFlowp[1], "3");
        useFakeClock();
        k6sim::Fault f = silence(c.silentFrame, test::kFS2);
        f.group = c.group;
        sim.addFault(f);
        if (what == "upload")
            upload(s);
        else if (what == "download")
            download(s);
        else
            preset(s);
        EXPECT_EQ(messages.texts(), Frames{c.message});
        EXPECT_FALSE(G().Connected);
        EXPECT_FALSE(window->progressWindow()->isVisible());
        if (what == "upload") {
            EXPECT_EQ(text(s->txtFScale[2]), "100.00");  // read before the failure (CH 2 Fscale, item 19)
            EXPECT_EQ(text(s->txtKCool[2]), "2.5");     // not read: kept
            EXPECT_EQ(record(test::kFS2).Param[17], "rec");
            EXPECT_FALSE(s->downloadButton()->isEnabled());
        } else if (what == "download") {
            EXPECT_EQ(sim.value(test::kFS2, "01", 19), "55");
            EXPECT_EQ(sim.value(test::kFS2, "02", 12), "1.0000");  // after the failure: not sent
            EXPECT_EQ(record(test::kFS2).Param[17], "rec");
        } else {
            EXPECT_EQ(text(s->txtTotalCFlowp[1]), "1");  // the card's answer
            EXPECT_EQ(text(s->txtTotalCFlowp[2]), "2");  // not answered: kept
            EXPECT_EQ(text(s->txtTotalHFlowp[1]), "3");
            EXPECT_EQ(sim.value(test::kFS2, "00", 16), "000567.89");
        }
        sim.clearFaults();
        platform::services().clock = &steadyClock;
    }
}

// A card value the card refuses shows no value rather than the refusal's text.
TEST_F(Fs2Test, ARefusedCardValueShowsNoValue) {
    auto* s = open(test::kFS2);
    ASSERT_NE(s, nullptr);
    sim.addFault(test::fault("I71", test::kFS2, k6sim::FaultAction::Reply, "CNG"));
    upload(s);
    EXPECT_EQ(text(s->txtTemp2), "");
    EXPECT_NE(text(s->txtBurnout), "");
    EXPECT_TRUE(messages.shown.empty());
}
