// The power-monitor screen where the card or the record lets it down: a card
// that stops answering part-way through an upload, download or reset, replies
// that refuse an item, a screen left with a request raised, and record texts
// from another family's file or a hand-edited one.
#include <algorithm>

#include "tests/screens/power/GbhFixture.h"

using namespace talvo;
using namespace talvo::screens;
using namespace talvo::test;
using k6sim::FaultAction;

namespace {

k6sim::Fault inGroup(k6sim::Fault f, const std::string& group) {
    f.group = group;
    return f;
}

std::vector<int> range(int first, int last) {
    std::vector<int> out;
    for (int p = first; p <= last; ++p) out.push_back(p);
    return out;
}

bool anyFrameOfGroup(const Frames& frames, const std::string& groupFrame, const std::string& item) {
    for (std::size_t i = 0; i + 1 < frames.size(); ++i)
        if (frames[i] == groupFrame && frames[i + 1] == item) return true;
    return false;
}

}  // namespace

TEST_F(GbhTest, AnUnansweredUploadReadStopsDisconnectsAndKeepsWhatItDidNotReach) {
    useFakeClock();
    const struct {
        const char* what;
        const char* group;
        const char* item;
        std::vector<int> kept;  // the Param fields the upload did not reach
    } cases[] = {
        {"the model", "00", "04", range(1, 34)},
        {"the fifth binding", "02", "14", range(5, 34)},
        {"the VT primary", "03", "13", range(18, 34)},
        {"the second system's CT primary", "04", "11", {22, 26, 27, 29, 30, 31, 32, 33, 34}},
        {"the last demand time", "03", "19", {34}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!G().Connected) connectAndUpload();
        CardRecord& rec = record(kTwoSystems);
        for (int p = 1; p <= 34; ++p) rec.Param.set(p, "mark");
        frmGBH* s = open(kTwoSystems);
        ASSERT_NE(s, nullptr);
        sim.addFault(inGroup(silence("I" + std::string(c.item), kTwoSystems), c.group));
        messages.shown.clear();
        const Frames frames = framesOf(s, [&] { uploadCard(s); });
        sim.clearFaults();

        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "Uploading incomplete");
        EXPECT_EQ(messages.shown[0].title, "Uploading");
        EXPECT_FALSE(G().Connected);
        // Nothing was asked of the card after the item that went unanswered.
        EXPECT_EQ(frames.back(), "I" + std::string(c.item));
        EXPECT_EQ(rec.CardType, "GBH12B31");
        for (int p = 1; p <= 34; ++p)
            EXPECT_EQ(rec.Param[p] == "mark", std::count(c.kept.begin(), c.kept.end(), p) == 1) << p;
        // The screen is open again for the user; the card list follows the main
        // window, which a disconnect leaves without one.
        EXPECT_TRUE(s->uploadButton()->isEnabled());
        EXPECT_TRUE(s->cbItem[0]->isEnabled());
        EXPECT_FALSE(cardList()->isEnabled());
    }
}

TEST_F(GbhTest, AfterABindingReadFailedADownloadLeavesTheCardsBindingsAloneAndSaysSo) {
    useFakeClock();
    frmGBH* s = open(kTwoSystems);
    ASSERT_NE(s, nullptr);
    sim.addFault(inGroup(silence("I14", kTwoSystems), "02"));
    uploadCard(s);
    sim.clearFaults();
    ASSERT_FALSE(G().Connected);
    EXPECT_TRUE(s->bindingsUnsure());
    EXPECT_EQ(record(kTwoSystems).Param[4], "40011;2;2;0");  // read before the failure
    EXPECT_EQ(record(kTwoSystems).Param[5], "");              // never read

    // Connected again (which empties the records and what each setting held),
    // the slot's rows show no binding; the card still holds ten. The user's own
    // binding in the first free row, and then bindings from a settings file, are
    // not written either: the download's one ending names every binding it left,
    // with the settings never read since the connect.
    connectAndUpload();
    const struct {
        const char* what;
        std::function<void()> bind;
    } cases[] = {
        {"a binding picked by the user", [&] { s->cbItem[0]->setCurrentIndex(3); }},  // P
        {"bindings from a settings file",
         [&] {
             record(kTwoSystems).Param.set(1, "40007;2;1;0");  // Q
             record(kTwoSystems).Param.set(2, "40009;2;2;0");  // S of #2
             G().FileLoaded = true;
             s = open(kTwoSystems);  // entered anew: the rows show the record
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        s = open(kTwoSystems);
        c.bind();
        ASSERT_GT(s->cbItem[0]->currentIndex(), 0);
        messages.shown.clear();
        const Frames frames = framesOf(s, [&] { downloadCard(s); });
        for (int item = 10; item <= 25; ++item) EXPECT_FALSE(anyFrameOfGroup(frames, "G02", "I" + std::to_string(item)));
        EXPECT_EQ(Frames(frames.end() - 3, frames.end()), W("02", "09", "1"));
        EXPECT_EQ(sim.value(kTwoSystems, "02", 10), "40001;2;1;0");
        EXPECT_EQ(sim.value(kTwoSystems, "02", 14), "40013;2;1;0");
        EXPECT_EQ(sim.value(kTwoSystems, "02", 19), "40147;1;1;0");
        ASSERT_EQ(messages.texts(), std::vector<std::string>{leftOnCard(allBindings() + "; " + noSettings(true))});
        EXPECT_EQ(messages.shown[0].title, "Downloading");
        EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Information);
        EXPECT_TRUE(G().Connected);
        EXPECT_TRUE(s->downloadButton()->isEnabled());
    }

    // A whole upload makes the screen sure of them again.
    uploadCard(s);
    EXPECT_FALSE(s->bindingsUnsure());
    s->cbItem[15]->setCurrentIndex(0);  // unbind TIMER
    messages.shown.clear();
    downloadCard(s);
    EXPECT_EQ(sim.value(kTwoSystems, "02", 18), "40033;1;2;0");
    EXPECT_EQ(sim.value(kTwoSystems, "02", 19), "0;0;0;0");
    EXPECT_TRUE(messages.shown.empty());
}

// A refused binding read keeps the record's text, but the card's own is then
// unknown: whatever the record held ("0;0;0;0" after a download that unbound
// that entry would end the layout there), no binding of the slot is written.
TEST_F(GbhTest, ARefusedBindingReadKeepsTheRecordsTextAndWritesNoBindingWhateverItHeld) {
    const struct {
        const char* refusal;
        const char* held;
    } cases[] = {
        {"CNG", "40005;2;1;1"}, {"CNU", "40005;2;1;1"}, {"CNG", "0;0;0;0"}, {"CNU", "0;0;0;0"}, {"CNG", ""},
    };
    frmGBH* s = open(kTwoSystems);
    ASSERT_NE(s, nullptr);
    std::vector<std::string> card;  // the card's bindings, items 10 to 25
    for (int item = 10; item <= 25; ++item) card.push_back(sim.value(kTwoSystems, "02", item));
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.refusal) + " over \"" + c.held + "\"");
        uploadCard(s);  // whole: sure of the bindings
        ASSERT_FALSE(s->bindingsUnsure());
        record(kTwoSystems).Param.set(3, c.held);
        sim.addFault(inGroup(fault("I12", kTwoSystems, FaultAction::Reply, c.refusal), "02"));
        uploadCard(s);
        sim.clearFaults();
        EXPECT_TRUE(G().Connected);
        EXPECT_EQ(record(kTwoSystems).Param[3], c.held);
        EXPECT_EQ(record(kTwoSystems).Param[4], "40011;2;2;0");  // the reads go on
        EXPECT_TRUE(s->bindingsUnsure());

        messages.shown.clear();
        const Frames frames = framesOf(s, [&] { downloadCard(s); });
        for (int item = 10; item <= 25; ++item) EXPECT_FALSE(anyFrameOfGroup(frames, "G02", "I" + std::to_string(item)));
        EXPECT_FALSE(anyFrameOfGroup(frames, "G02", "I01"));
        for (int item = 10; item <= 25; ++item)
            EXPECT_EQ(sim.value(kTwoSystems, "02", item), card[static_cast<std::size_t>(item - 10)]) << item;
        EXPECT_EQ(messages.texts(), std::vector<std::string>{leftOnCard(allBindings())});
    }
}

TEST_F(GbhTest, RefusedSettingReadsKeepTheControlsAndTheRecord) {
    CardRecord& rec = record(kTwoSystems);
    const std::vector<std::string> params = {"1", "440", "100", "75", "0", "999", "1", "5", "0.2", "6", "0.3",
                                             "1", "0",   "1",   "0",  "1", "10",  "20"};
    for (const char* refusal : {"CNG", "CNU"}) {
        SCOPED_TRACE(refusal);
        rec.CardType = "GBH12B31";
        for (int p = 17; p <= 34; ++p) rec.Param.set(p, params[static_cast<std::size_t>(p - 17)]);
        frmGBH* s = open(kTwoSystems);
        ASSERT_NE(s, nullptr);
        const std::pair<const char*, const char*> refused[] = {
            {"00", "I04"}, {"03", "I10"}, {"03", "I13"}, {"03", "I11"}, {"04", "I12"}, {"03", "I20"}, {"03", "I18"}};
        for (const auto& [group, item] : refused)
            sim.addFault(inGroup(fault(item, kTwoSystems, FaultAction::Reply, refusal), group));
        sim.setValue(kTwoSystems, "03", 12, "0");  // the first sensor: the CT box keeps its own text
        uploadCard(s);
        sim.clearFaults();
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(rec.CardType, "GBH12B31");
        EXPECT_EQ(s->cbWiring->currentIndex(), 1);
        EXPECT_EQ(rec.Param[17], "1");
        EXPECT_EQ(text(s->txtVT1), "440");
        EXPECT_EQ(rec.Param[18], "440");
        EXPECT_EQ(text(s->txtVT2), "110");  // answered: taken
        EXPECT_EQ(text(s->txtCur1[0]), "5");  // the sensor's rating; the card gave no primary
        EXPECT_EQ(rec.Param[20], "75");
        EXPECT_EQ(shown(s->cbWdra[1]), "WDRB-05");
        EXPECT_EQ(rec.Param[23], "1");
        EXPECT_EQ(shown(s->cbPF), "Special type 1");
        EXPECT_EQ(rec.Param[30], "1");
        EXPECT_EQ(text(s->txtIIT), "10");
        EXPECT_EQ(rec.Param[33], "10");
    }
}

TEST_F(GbhTest, VTRatingsShowTheNumberTheCardSent) {
    frmGBH* s = open(kOneSystem);
    ASSERT_NE(s, nullptr);
    const std::pair<const char*, const char*> cases[] = {
        {"006600", "6600"}, {"110.50V", "110.5"}, {"", "0"}, {"abc", "0"}, {"-0", "0"}, {"1E3", "1000"},
        {"1e400", "0"},     {"-25", "-25"}};
    for (const auto& [sent, shownText] : cases) {
        SCOPED_TRACE(sent);
        sim.setValue(kOneSystem, "03", 13, sent);
        uploadCard(s);
        EXPECT_EQ(text(s->txtVT1), shownText);
        EXPECT_EQ(record(kOneSystem).Param[18], shownText);
    }
}

TEST_F(GbhTest, AnUnansweredDownloadWriteStopsDisconnectsAndKeepsTheRecord) {
    useFakeClock();
    frmGBH* s = open(kOneSystem);
    ASSERT_NE(s, nullptr);
    uploadCard(s);
    type(s->txtVT1, "220");
    type(s->txtVT2, "100");
    s->cbWiring->setCurrentIndex(4);
    sim.addFault(inGroup(silence("D220", kOneSystem), "03"));
    const Frames frames = framesOf(s, [&] { downloadCard(s); });
    sim.clearFaults();
    ASSERT_EQ(messages.texts(), std::vector<std::string>{"Downloading incomplete"});
    EXPECT_EQ(messages.shown[0].title, "Downloading");
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(frames.back(), "D220");
    const CardRecord& rec = record(kOneSystem);
    EXPECT_EQ(rec.Param[17], "4");    // written before
    EXPECT_EQ(rec.Param[18], "440");  // not accepted
    EXPECT_EQ(rec.Param[19], "110");  // not reached
    EXPECT_FALSE(cardList()->isEnabled());
    EXPECT_TRUE(s->downloadButton()->isEnabled());
}

TEST_F(GbhTest, AnUnansweredResetDisconnects) {
    useFakeClock();
    const struct {
        const char* what;
        k6sim::Fault fault;
    } cases[] = {
        {"the card select", silence("I41", kTwoSystems)},
        {"the reset item", inGroup(silence("D1", kTwoSystems), "04")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!G().Connected) connectAndUpload();
        frmGBH* s = open(kTwoSystems);
        ASSERT_NE(s, nullptr);
        s->LiveReadEnabled = 0;
        settle(s);
        messages.shown.clear();
        sim.addFault(c.fault);
        resetCard(s, 6);
        sim.clearFaults();
        ASSERT_EQ(messages.texts(), std::vector<std::string>{"Downloading incomplete"});
        EXPECT_FALSE(G().Connected);
        EXPECT_EQ(sim.value(kTwoSystems, "04", 26), "0");
        EXPECT_TRUE(s->CmdReset->isEnabled());
        EXPECT_FALSE(cardList()->isEnabled());
    }
}

// The old fault: the download the user had asked for was dropped without a word.
TEST_F(GbhTest, AScreenLeftWithARequestRaisedServesItFirstAndUnlocksItself) {
    frmGBH* s = open(kOneSystem);
    ASSERT_NE(s, nullptr);
    settle(s);
    s->downloadButton()->click();  // runs at the next regular tick
    ASSERT_FALSE(cardList()->isEnabled());
    button("cmdOverView")->click();
    ASSERT_TRUE(waitFor([&] { return !s->cyclicRun() && !s->busy() && G().CurFormType == "Over"; }, 3000));
    EXPECT_FALSE(s->requestPending());
    EXPECT_TRUE(s->cbWiring->isEnabled());
    EXPECT_TRUE(s->CmdReset->isEnabled());
    EXPECT_TRUE(cardList()->isEnabled());
    EXPECT_EQ(countFrames("I09"), 1u) << "the download went to the card before the overview came";
    // Nothing was read on this screen: the download sent none of it and says so.
    EXPECT_EQ(messages.texts(), std::vector<std::string>{leftOnCard(allBindings() + "; " + noSettings(false))});

    // Entered again, the screen runs its live read, nothing more of the download.
    sim.clearFrames();
    s = open(kOneSystem);
    ASSERT_TRUE(waitFor([&] { return countFrames("I25") > 0; }, 3000));
    EXPECT_EQ(countFrames("I09"), 0u);
    EXPECT_TRUE(s->cbWiring->isEnabled());
}

TEST_F(GbhTest, RecordTextsThatNameNoListEntrySelectNothing) {
    const struct {
        const char* text;
        int wiring;
    } cases[] = {{"3", 3},  {"abc", -1}, {"6", -1}, {"-1", -1}, {"1.5", -1}, {"99999999999999999999", -1},
                 {" 2", -1}, {"", -1},   {"+2", -1}, {"0x2", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CardRecord& rec = record(kTwoSystems);
        for (int p : {17, 21, 23, 28, 29, 30, 31, 32}) rec.Param.set(p, c.text);
        frmGBH* s = open(kTwoSystems);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->cbWiring->currentIndex(), c.wiring);
        EXPECT_EQ(s->cbWdra[0]->currentIndex(), c.wiring);
        // The lists of two entries take only "0" and "1".
        EXPECT_EQ(s->cbS->currentIndex(), c.wiring < 2 ? c.wiring : -1);
        EXPECT_EQ(s->cbInpSig[1]->currentIndex(), c.wiring < 2 ? c.wiring : -1);
    }
}

TEST_F(GbhTest, BindingTextsWithHugeNumbersBindNothing) {
    CardRecord& rec = record(kOneSystem);
    rec.Param.set(1, "40001;2;99999999999999999999;99999999999999999999");
    rec.Param.set(2, "99999999999999999999999999;1;1;0");
    rec.Param.set(3, "40005;1;1;0");
    frmGBH* s = open(kOneSystem);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(shown(s->cbItem[0]), "I");
    EXPECT_EQ(s->cbCh[0]->currentIndex(), -1);
    EXPECT_EQ(shown(s->cbScale[0]), "0");
    EXPECT_EQ(s->cbItem[2]->currentIndex(), -1);  // the first free row
    EXPECT_FALSE(s->cbItem[2]->isHidden());
    EXPECT_TRUE(s->cbItem[3]->isHidden());
}

TEST_F(GbhTest, AFurtherSlotWithoutAMainSlotBeforeItShowsNothingToChange) {
    putCard(1, "GBH12B32");  // a second slot in slot 1
    putCard(2, "GBH12B33");  // a third slot in slot 2
    for (int p = 17; p <= 34; ++p) {
        record(1).Param.set(p, "7");
        record(2).Param.set(p, "7");
    }
    for (const auto& [slot, first] : {std::pair{1, "+16"}, std::pair{2, "+32"}}) {
        messages.shown.clear();
        SCOPED_TRACE(slot);
        frmGBH* s = open(slot);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(label(s->hexIdx[0]), first);
        for (QLineEdit* b : {s->txtVT1, s->txtVT2, s->txtCur1[0], s->txtVCut[1], s->txtIIT}) {
            EXPECT_EQ(text(b), "");
            EXPECT_FALSE(b->isEnabled());
        }
        for (QComboBox* c : {s->cbWiring, s->cbWdra[0], s->cbInpSig[1], s->cbPF}) {
            EXPECT_EQ(c->currentIndex(), -1);
            EXPECT_FALSE(c->isEnabled());
        }
        EXPECT_TRUE(s->cbItem[0]->isEnabled());
        // A download sends nothing of the card-wide settings, and its bindings,
        // never read, are left and named by the channels the screen shows.
        const Frames frames = framesOf(s, [&] { downloadCard(s); });
        EXPECT_FALSE(anyFrameOfGroup(frames, "G03", "I01"));
        EXPECT_FALSE(anyFrameOfGroup(frames, "G02", "I10"));
        EXPECT_EQ(messages.texts(), std::vector<std::string>{leftOnCard(allBindings(16 * slot))});
        EXPECT_TRUE(G().Connected);
    }
}
