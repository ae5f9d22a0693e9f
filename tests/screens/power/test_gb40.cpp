// The four-channel power card screen against the simulator: each channel's
// settings on the card and in the record, the CT ratings of the "GB4A" and
// "GB4B" models, the secondary ratings a download writes, the live values each
// display mode shows, and requests that belong to the slot they were raised for.
#include <gtest/gtest.h>

#include "screens/power/frmGB40.h"
#include "tests/screens/power/PowerFixture.h"

using namespace talvo;
using namespace talvo::screens;
using test::Frames;
using test::silence;

namespace {

class Gb40Test : public test::PowerScreenTest {
protected:
    frmGB40* open(int slot) {
        auto* s = pick<frmGB40>(slot);
        if (s) settle(s);
        return s;
    }
};

// A setting of channel ch: its boxes, record field b + k (b = 8(ch - 1)) and item.
struct ChannelField {
    const char* name;
    frmGB40::Column frmGB40::*boxes;
    int k;
    int (*item)(int ch, bool variant);  // 0: not on the card
};
const ChannelField kChannelFields[] = {
    {"bias", &frmGB40::txtBias, 1, [](int ch, bool) { return 2 * ch + 8; }},
    {"gain", &frmGB40::txtGain, 2, [](int ch, bool) { return 2 * ch + 9; }},
    {"WhU", &frmGB40::txtUScale, 3, [](int ch, bool) { return ch + 17; }},
    {"WFS", &frmGB40::txtZScale, 4, [](int ch, bool) { return 2 * ch + 48; }},
    {"WU", &frmGB40::txtFScale, 5, [](int ch, bool) { return 2 * ch + 49; }},
    {"CT PRI", &frmGB40::txtCTScale1, 6, [](int ch, bool v) { return v ? 2 * ch + 81 : 3 * ch + 58; }},
    {"CT U", &frmGB40::txtCTScale2, 7, [](int ch, bool v) { return v ? 2 * ch + 82 : 3 * ch + 59; }},
    {"CT SEC", &frmGB40::txtCTScale3, 8, [](int ch, bool v) { return v ? 0 : 3 * ch + 60; }},
};
struct CardField {
    QLineEdit* frmGB40::*box;
    int param, item;
};
const CardField kCardFields[] = {{&frmGB40::txtPTScale1, 33, 58},
                                 {&frmGB40::txtPTScale2, 34, 59},
                                 {&frmGB40::txtPTScale3, 35, 60},
                                 {&frmGB40::txtZeroScale, 36, 82}};

struct Model {
    int slot;
    bool variant;
};
const Model kModels[] = {{test::kGB40Mode0, false}, {test::kGB4A, true}, {test::kGB4B, true}};

}  // namespace

TEST_F(Gb40Test, UploadReadsEachChannelsItemsIntoItsBoxesAndRecordFields) {
    for (const Model& m : kModels) {
        SCOPED_TRACE(m.slot);
        std::vector<int> order;
        for (int ch = 1; ch <= 4; ++ch)
            for (const ChannelField& f : kChannelFields)
                if (const int item = f.item(ch, m.variant)) {
                    sim.setValue(m.slot, "01", item, "v" + str(item));
                    order.push_back(item);
                }
        for (const CardField& f : kCardFields) {
            sim.setValue(m.slot, "01", f.item, "v" + str(f.item));
            order.push_back(f.item);
        }
        record(m.slot).Param.set(37, "keep");
        for (int ch = 1; ch <= 4; ++ch) record(m.slot).Param.set(8 * ch, "sec" + str(ch));
        auto* s = open(m.slot);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->Label1_12->text().toStdString(), m.variant ? "U/T" : "U");
        for (std::size_t ch = 1; ch <= 4; ++ch) EXPECT_EQ(s->txtCTScale3[ch]->isHidden(), m.variant);
        sim.clearFrames();
        upload(s);
        EXPECT_TRUE(messages.shown.empty());
        const CardRecord& rec = record(m.slot);
        for (int ch = 1; ch <= 4; ++ch) {
            for (const ChannelField& f : kChannelFields) {
                SCOPED_TRACE(std::string(f.name) + " " + str(ch));
                const int item = f.item(ch, m.variant);
                // Not on the card: not read; the hidden box keeps its text and the
                // record what the box holds.
                const std::string expected = item ? "v" + str(item) : "sec" + str(ch);
                EXPECT_EQ(text((s->*f.boxes)[static_cast<std::size_t>(ch)]), expected);
                EXPECT_EQ(rec.Param[8 * (ch - 1) + f.k], expected);
            }
        }
        for (const CardField& f : kCardFields) {
            EXPECT_EQ(text(s->*f.box), "v" + str(f.item));
            EXPECT_EQ(rec.Param[f.param], "v" + str(f.item));
        }
        EXPECT_EQ(rec.Param[37], "keep");
        EXPECT_EQ(transferFrames(m.slot, {"G01", "I01", "D1"}),
                  join({selectFrames(m.slot), write("01", "01", "1"), reads("01", order)}));
        EXPECT_EQ(window->progress(), 8);
    }
}

TEST_F(Gb40Test, DownloadWritesTheSecondaryRatingsWhenFilledExceptOnGB4AAndGB4B) {
    for (const Model& m : kModels) {
        SCOPED_TRACE(m.slot);
        auto* s = open(m.slot);
        CardRecord& rec = record(m.slot);
        Frames expected = join({selectFrames(m.slot), write("01", "01", "1")});
        for (int ch = 1; ch <= 4; ++ch)
            for (const ChannelField& f : kChannelFields) {
                const int p = 8 * (ch - 1) + f.k;
                rec.Param.set(p, "stored" + str(p));
                type((s->*f.boxes)[static_cast<std::size_t>(ch)], "w" + str(p));
                if (const int item = f.item(ch, m.variant)) {
                    const Frames w = write("01", item, "w" + str(p));
                    expected.insert(expected.end(), w.begin(), w.end());
                }
            }
        for (const CardField& f : kCardFields) {
            type(s->*f.box, "w" + str(f.param));
            const Frames w = write("01", f.item, "w" + str(f.param));
            expected.insert(expected.end(), w.begin(), w.end());
        }
        sim.clearFrames();
        download(s);
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(transferFrames(m.slot, {"G01", "I01", "D1"}), expected);
        for (int ch = 1; ch <= 4; ++ch) {
            const int sec = 3 * ch + 60;  // 63, 66, 69, 72
            if (m.variant) {
                EXPECT_EQ(countFrames("I" + str(sec)), 0u);
                EXPECT_EQ(rec.Param[8 * ch], "stored" + str(8 * ch));  // the card has no such rating: left
                EXPECT_EQ(text(s->txtCTScale3[static_cast<std::size_t>(ch)]), "w" + str(8 * ch));
            } else {
                EXPECT_EQ(sim.value(m.slot, "01", sec), "w" + str(8 * ch));
                EXPECT_EQ(rec.Param[8 * ch], "w" + str(8 * ch));
            }
        }
        EXPECT_EQ(sim.value(m.slot, "01", 60), "w35");
        EXPECT_EQ(window->progress(), 8);
    }
}

TEST_F(Gb40Test, DownloadLeavesAnEmptiedBoxUnsentAndShowsTheRecordsValue) {
    auto* s = open(test::kGB40Mode0);
    upload(s);
    record(test::kGB40Mode0).Param.set(21, "stored WU of 3");
    type(s->txtFScale[3], "");
    type(s->txtFScale[4], "9");
    sim.clearFrames();
    download(s);
    EXPECT_EQ(countFrames("I55"), 0u);
    EXPECT_EQ(text(s->txtFScale[3]), "stored WU of 3");
    EXPECT_EQ(sim.value(test::kGB40Mode0, "01", 55), "1");
    EXPECT_EQ(sim.value(test::kGB40Mode0, "01", 57), "9");
}

TEST_F(Gb40Test, DisplayModeDecidesWhichItemEachBoxShows) {
    struct Case {
        int slot;
        std::array<const char*, 4> headings;  // nullptr: hidden
        // Item shown by row A column 1, row A column 2, row B column 1, row B column 2, as a*ch + b; {0,0}: hidden.
        std::array<std::pair<int, int>, 4> items;
    };
    const Case cases[] = {
        {test::kGB40Mode0, {"W", nullptr, "Whi", "Who"}, {{{1, 9}, {0, 0}, {1, 13}, {1, 17}}}},
        {test::kGB40Mode1, {"W", nullptr, "Whi-L", "Whi-H"}, {{{1, 9}, {0, 0}, {2, 12}, {2, 13}}}},
        {test::kGB40Mode2, {nullptr, nullptr, "Whi", "Who"}, {{{1, 9}, {1, 13}, {0, 0}, {0, 0}}}},
        {test::kGB40Mode3, {"Whi-L", "Whi-H", "Who-L", "Who-H"}, {{{2, 8}, {2, 9}, {2, 16}, {2, 17}}}},
        {test::kGB4B, {nullptr, nullptr, "Whi", "Who"}, {{{1, 9}, {1, 13}, {0, 0}, {0, 0}}}},  // "GB4B0002"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        for (int item = 10; item <= 25; ++item) sim.setValue(c.slot, "00", item, str(item) + ".5");
        auto* s = open(c.slot);
        waitForLiveRead(s, "25");
        // All sixteen are read whatever is shown.
        EXPECT_EQ(sim.frames(), join({selectFrames(c.slot), reads("00", {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
                                                                          22, 23, 24, 25})}));
        const std::array<frmGB40::Column*, 4> columns = {&s->txtParData01, &s->txtParData02, &s->txtParData03,
                                                         &s->txtParData04};
        for (std::size_t k = 0; k < 4; ++k) {
            SCOPED_TRACE(k + 1);
            QLabel* heading = s->lblParData[k + 1];
            EXPECT_EQ(heading->isHidden(), c.headings[k] == nullptr);
            if (c.headings[k]) {
                EXPECT_EQ(heading->text().toStdString(), c.headings[k]);
            }
            const auto [a, b] = c.items[k];
            for (int ch = 1; ch <= 4; ++ch) {
                QLineEdit* box = (*columns[k])[static_cast<std::size_t>(ch)];
                EXPECT_EQ(box->isHidden(), a == 0);
                EXPECT_EQ(text(box), a ? str(a * ch + b) + "5" : "") << "channel " << ch;
            }
        }
    }
}

TEST_F(Gb40Test, UnknownDisplayModeShowsNothingAndKeepsTheHeadingsAsTheyWere) {
    // First use: the design captions, everything shown.
    auto* s = open(test::kGB40NoMode);
    waitForLiveRead(s, "25");
    const char* design[] = {"W  ", "Value", "Wh  ", "Wh     "};
    for (std::size_t k = 1; k <= 4; ++k) {
        EXPECT_EQ(s->lblParData[k]->text().toStdString(), design[k - 1]);
        EXPECT_FALSE(s->lblParData[k]->isHidden());
    }
    for (frmGB40::Column* c : {&s->txtParData01, &s->txtParData02, &s->txtParData03, &s->txtParData04})
        for (std::size_t ch = 1; ch <= 4; ++ch) {
            EXPECT_FALSE((*c)[ch]->isHidden());
            EXPECT_EQ(text((*c)[ch]), "");
        }
    // After mode 2, the unknown mode leaves mode 2's headings and columns, and empties every box.
    open(test::kGB40Mode2);
    waitForLiveRead(s, "25");
    ASSERT_EQ(text(s->txtParData01[1]), "+0010");
    open(test::kGB40NoMode);
    waitForLiveRead(s, "25");
    EXPECT_TRUE(s->lblParData[1]->isHidden());
    EXPECT_EQ(s->lblParData[3]->text(), "Whi");
    EXPECT_TRUE(s->txtParData03[1]->isHidden());
    EXPECT_FALSE(s->txtParData02[1]->isHidden());
    for (frmGB40::Column* c : {&s->txtParData01, &s->txtParData02, &s->txtParData03, &s->txtParData04})
        for (std::size_t ch = 1; ch <= 4; ++ch) EXPECT_EQ(text((*c)[ch]), "");
    // An item not answered still fails the pass.
    useFakeClock();
    sim.addFault(silence("I25", test::kGB40NoMode));
    ASSERT_TRUE(waitFor([&] { return !messages.shown.empty(); }));
    EXPECT_EQ(messages.texts(), Frames{"Uploading incomplete"});
    EXPECT_FALSE(G().Connected);
}

// The old faults: the request ran on the next slot's card, and later was
// dropped by the next slot's entry. It now goes to its own card before the next opens.
TEST_F(Gb40Test, ARequestRaisedForOneSlotIsServedForItBeforeTheNextSlotOpens) {
    for (const char* button : {"Download", "Wh Clear", "Upload"}) {
        SCOPED_TRACE(button);
        auto* s = open(test::kGB40Mode0);
        type(s->txtBias[1], "for slot 4");
        // While the card list has the focus the ticks send nothing, so the request waits.
        G().CardListFocused = true;
        sim.clearFrames();
        for (QPushButton* b : {s->downloadButton(), s->clearButton(), s->uploadButton()})
            if (b->text() == button) b->click();
        QTest::qWait(100);
        EXPECT_TRUE(sim.frames().empty());
        // The user picks the next slot, of the same screen, and leaves the list.
        ASSERT_EQ(pick<frmGB40>(test::kGB40Mode1), s);
        G().CardListFocused = false;
        ASSERT_TRUE(waitFor([&] { return countFrames("I25") > 0; }));
        settle(s);
        QTest::qWait(600);  // and another tick
        settle(s);
        // Every settings frame went to slot 4's card, all before slot 5 was opened.
        std::string selected = "?", group, item;
        bool slot5Opened = false;
        std::size_t settingsFrames = 0;
        for (const std::string& f : sim.frames()) {
            if (f[0] == 'G') group = f.substr(1);
            if (f[0] == 'I') item = f.substr(1);
            if (f[0] == 'D' && group == "00" && item == "41") selected = f.substr(1);
            if (selected == str(test::kGB40Mode1)) slot5Opened = true;
            if (f == "G01") {
                ++settingsFrames;
                EXPECT_EQ(selected, str(test::kGB40Mode0));
                EXPECT_FALSE(slot5Opened);
            }
        }
        EXPECT_GT(settingsFrames, 0u);
        EXPECT_EQ(sim.value(test::kGB40Mode1, "01", 10), "0");
        EXPECT_EQ(sim.value(test::kGB40Mode1, "00", 14), "+005.0");  // counters not cleared
        if (std::string(button) != "Download") {
            EXPECT_TRUE(messages.shown.empty());
            continue;
        }
        // Slot 4 was never read: the download sent the one bias the user typed
        // and names every other setting, as the screen captions it.
        EXPECT_EQ(sim.value(test::kGB40Mode0, "01", 10), "for slot 4");
        std::string named;
        for (const char* row : {"Bias/Gain", "WhU", "WFS", "WU"})
            named += std::string(row) + " Ch.1, Ch.2, Ch.3, Ch.4; ";
        named += "CT1(A) PRI; CT1(A) U; CT1(A) SEC; Adjust Ch.2, Ch.3, Ch.4; ";
        for (const char* row : {"CT2(A)", "CT3(A)", "CT4(A)"})
            for (const char* column : {" PRI; ", " U; ", " SEC; "}) named += std::string(row) + column;
        named += "VT(V) PRI; VT(V) U; VT(V) SEC; Drop-Out(%)";
        EXPECT_EQ(messages.texts(), std::vector<std::string>{std::string(ui::kLeftAsTheyAreText) + named});
        messages.shown.clear();
    }
}

TEST_F(Gb40Test, TransfersThatLoseTheCardStopReportAndDisconnect) {
    struct Case {
        const char* what;
        const char* silentFrame;
        const char* message;
    };
    const Case cases[] = {{"upload", "I61", "Uploading incomplete"},
                          {"download", "I14", "Downloading incomplete"},
                          {"clear", "I81", "Downloading incomplete"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restartWindow();
        connectAndUpload();
        messages.shown.clear();
        auto* s = open(test::kGB40Mode0);
        for (std::size_t ch = 1; ch <= 4; ++ch) type(s->txtBias[ch], "b" + str(static_cast<int>(ch)));
        record(test::kGB40Mode0).Param.set(9, "rec bias 2");
        useFakeClock();
        k6sim::Fault f = silence(c.silentFrame, test::kGB40Mode0);
        f.group = "01";
        sim.addFault(f);
        const std::string what = c.what;
        if (what == "upload") {
            upload(s);
        } else if (what == "download") {
            download(s);
        } else {
            s->clearButton()->click();
            ASSERT_TRUE(waitFor([&] { return !messages.shown.empty(); }));
            settle(s);
        }
        EXPECT_EQ(messages.texts(), Frames{c.message});
        EXPECT_FALSE(G().Connected);
        if (what == "upload") {
            EXPECT_EQ(text(s->txtBias[1]), "0");  // channel 1 came
            EXPECT_EQ(text(s->txtBias[2]), "b2");  // channel 2 did not: kept
            EXPECT_EQ(record(test::kGB40Mode0).Param[9], "rec bias 2");
        } else if (what == "download") {
            EXPECT_EQ(sim.value(test::kGB40Mode0, "01", 12), "b2");     // channel 2's bias went out
            EXPECT_EQ(sim.value(test::kGB40Mode0, "01", 14), "0");      // channel 3's did not
            EXPECT_EQ(record(test::kGB40Mode0).Param[17], "");
        } else {
            EXPECT_EQ(sim.value(test::kGB40Mode0, "00", 14), "+005.0");  // counters untouched
        }
        sim.clearFaults();
        platform::services().clock = &steadyClock;
    }
}
