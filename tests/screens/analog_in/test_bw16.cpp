// The 16-channel scaled input screen: its item and record layout, the two views
// sharing one pair of boxes over the working copies, the box-by-box live read,
// a settings file in the older layout, and transfers that lose the card.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/SettingsFile.h"
#include "screens/analog_in/frmBW16.h"
#include "shell/frmLoading.h"
#include "tests/screens/ScreenFixture.h"
#include "tests/screens/analog_in/LeftList.h"

using namespace talvo;
using namespace talvo::screens;
using Copies = std::vector<std::string> frmBW16::*;

namespace {

constexpr int kSlot = 3;

// The four settings of a channel: item 2ch + itemBase of group "01", Param(4ch + paramBase).
struct Field {
    const char* name;
    int itemBase, paramBase;
    Copies copies;
    bool adjustPair;
    bool zeroBox;  // shown in txtZScale (else txtFScale)
};
const Field kFields[] = {
    {"zs", 40, -3, &frmBW16::ZScaleData, false, true},
    {"fs", 41, -2, &frmBW16::FScaleData, false, false},
    {"za", 8, -1, &frmBW16::BiasData, true, true},
    {"fa", 9, 0, &frmBW16::GainData, true, false},
};

std::string at(const std::string& prefix, int ch) { return prefix + std::to_string(ch); }
std::size_t idx(int ch) { return static_cast<std::size_t>(ch - 1); }
// The simulator's first live value of a channel, as the screen shows it ("+001.0" -> "+0010").
std::string firstLive(int ch) { return (ch < 10 ? "+00" : "+0") + std::to_string(ch) + "0"; }

class Bw16Test : public test::ScreenTest {
protected:
    // The box that shows a field while its pair is on view.
    static QLineEdit* box(frmBW16* s, const Field& f, int ch) { return (f.zeroBox ? s->txtZScale : s->txtFScale)[idx(ch)]; }
    void showPair(frmBW16* s, bool adjust) {
        if ((s->ShowAdjust != 0) != adjust) s->changeButton->click();
    }
    void expectHeadings(frmBW16* s, bool adjust) {
        EXPECT_EQ(s->changeButton->text(), adjust ? "Scale" : "Adjust");
        for (int i : {12, 13}) EXPECT_EQ(s->Label1[i]->text(), adjust ? "Z-Adjust" : "Z-Scale");
        for (int i : {11, 22}) EXPECT_EQ(s->Label1[i]->text(), adjust ? "F-Adjust" : "F-Scale");
    }
};

}  // namespace

TEST_F(Bw16Test, UploadAndDownloadLayout) {
    for (int ch = 1; ch <= 16; ++ch) {
        for (const Field& f : kFields) sim.setValue(kSlot, "01", 2 * ch + f.itemBase, at(f.name, ch));
        sim.setValue(kSlot, "02", ch + 41, ch % 3 ? "0" : "1");
    }
    auto* s = pick<frmBW16>(kSlot);
    sim.clearFrames();
    upload(s);
    const CardRecord& r = record(kSlot);
    for (int ch = 1; ch <= 16; ++ch) {
        SCOPED_TRACE(ch);
        for (const Field& f : kFields) {
            EXPECT_EQ((s->*f.copies)[idx(ch)], at(f.name, ch)) << f.name;
            EXPECT_EQ(r.Param[4 * ch + f.paramBase], at(f.name, ch)) << f.name;
            if (!f.adjustPair) {
                EXPECT_EQ(text(box(s, f, ch)), at(f.name, ch)) << f.name;
            }
        }
        EXPECT_EQ(text(s->txtEnable[idx(ch)]), ch % 3 ? "0" : "1");
        EXPECT_EQ(r.ChOption[ch], ch % 3 ? "0" : "1");
    }
    // Channel by channel in the order zero scale, full scale, zero adjust, full adjust.
    const auto f = from(sim.frames(), "G01");
    const std::vector<std::string> head = {"G01", "I01", "D1",  "G01", "I42", "G01", "I43", "G01", "I10",
                                           "G01", "I11", "G01", "I44", "G01", "I45", "G01", "I12"};
    EXPECT_EQ(std::vector<std::string>(f.begin(), f.begin() + static_cast<long>(head.size())), head);
    EXPECT_EQ(window->progress(), 12);
    EXPECT_TRUE(messages.shown.empty());

    // Download: the scale pair typed, then the adjust pair typed and sent without switching back.
    for (int ch = 1; ch <= 16; ++ch) {
        type(s->txtZScale[idx(ch)], std::to_string(-10 * ch));
        type(s->txtFScale[idx(ch)], std::to_string(1000 * ch));
    }
    showPair(s, true);
    for (int ch = 1; ch <= 16; ++ch) {
        type(s->txtZScale[idx(ch)], "0." + std::to_string(ch));
        type(s->txtFScale[idx(ch)], "-1." + std::to_string(ch));
        type(s->txtEnable[idx(ch)], ch == 16 ? "1" : "0");
    }
    sim.clearFrames();
    download(s);
    EXPECT_TRUE(messages.shown.empty());
    for (int ch = 1; ch <= 16; ++ch) {
        SCOPED_TRACE(ch);
        const std::string sent[] = {std::to_string(-10 * ch), std::to_string(1000 * ch), "0." + std::to_string(ch),
                                    "-1." + std::to_string(ch)};
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(sim.value(kSlot, "01", 2 * ch + kFields[k].itemBase), sent[k]) << kFields[k].name;
            EXPECT_EQ(r.Param[4 * ch + kFields[k].paramBase], sent[k]) << kFields[k].name;
        }
        EXPECT_EQ(sim.value(kSlot, "02", ch + 41), ch == 16 ? "1" : "0");
        EXPECT_EQ(r.ChOption[ch], ch == 16 ? "1" : "0");
    }
    EXPECT_EQ(window->progress(), 12);
}

TEST_F(Bw16Test, SwitchingViewsKeepsTypedValues) {
    for (int ch = 1; ch <= 16; ++ch)
        for (const Field& f : kFields) record(kSlot).Param.set(4 * ch + f.paramBase, at(f.name, ch));
    auto* s = pick<frmBW16>(kSlot);
    settle(s);
    EXPECT_EQ(s->ShowAdjust, 0);
    expectHeadings(s, false);
    EXPECT_EQ(text(s->txtZScale[15]), "zs16");

    type(s->txtZScale[0], "-100");
    type(s->txtFScale[15], "900");
    s->changeButton->click();
    expectHeadings(s, true);
    EXPECT_EQ(text(s->txtZScale[0]), "za1");
    EXPECT_EQ(text(s->txtFScale[15]), "fa16");
    type(s->txtZScale[0], "1.5");

    s->changeButton->click();
    expectHeadings(s, false);
    EXPECT_EQ(text(s->txtZScale[0]), "-100");
    EXPECT_EQ(text(s->txtFScale[15]), "900");
    EXPECT_EQ(text(s->txtZScale[1]), "zs2");
    s->changeButton->click();
    EXPECT_EQ(text(s->txtZScale[0]), "1.5");
    EXPECT_EQ(s->ZScaleData[0], "-100");
    // The pair on view goes into its copies only when it leaves the view.
    type(s->txtZScale[0], "2.5");
    EXPECT_EQ(s->BiasData[0], "1.5");

    // Opening the screen again starts on the scale pair, from the record.
    cardList()->setCurrentIndex(0);
    s = pick<frmBW16>(kSlot);
    EXPECT_EQ(s->ShowAdjust, 0);
    expectHeadings(s, false);
    EXPECT_EQ(text(s->txtZScale[0]), "zs1");
}

TEST_F(Bw16Test, RangeChecksCoverThePairNotOnView) {
    struct Case {
        bool adjustTyped, adjustOnView;
        bool zero;
        std::string value, message;  // "" = accepted
    };
    const Case cases[] = {
        {true, false, true, "320", ""},
        {true, false, true, "321", "Zero Adjust:Incorrect settings"},
        {true, false, false, "-3.21", "Full Adjust:Incorrect settings"},
        {false, true, true, "32001", "Zero Scale:Incorrect settings"},
        {false, false, false, "-32000", ""},
        {false, false, false, "-", "Full Scale:Incorrect settings"},
        {true, true, false, "3.2", ""},
    };
    // A download that goes through names what it left: every setting but the
    // case's and channel 1's zero of the pair on view holds no text to send.
    const char* captions[] = {"Z-Scale", "F-Scale", "Z-Adjust", "F-Adjust"};
    const auto leftBeside = [&](int typed, int zeroOnView) {
        ui::LeftAsTheyAre left;
        for (int ch = 1; ch <= 16; ++ch)
            for (int k = 0; k < 4; ++k)
                if (!(k == typed && ch == 5) && !(k == zeroOnView && ch == 1))
                    left.add(captions[k], "Ch." + std::to_string(ch));
        return test::LeftMessage(left.list() + "; " + test::EveryChannel({"Unused"}, 16));
    };
    auto* s = pick<frmBW16>(kSlot);
    settle(s);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        for (auto* copies : {&s->ZScaleData, &s->FScaleData, &s->BiasData, &s->GainData})
            for (auto& v : *copies) v.clear();
        s->SwitchScaleAdjust(1);
        showPair(s, c.adjustTyped);
        // Channel 5 holds the value: a bad one stops the download before channel 1 is written.
        type((c.zero ? s->txtZScale : s->txtFScale)[4], c.value);
        showPair(s, c.adjustOnView);
        type(s->txtZScale[0], "7");
        messages.shown.clear();
        sim.setValue(kSlot, "01", s->ShowAdjust ? 10 : 42, "unchanged");
        download(s);
        if (c.message.empty()) {
            const int typed = (c.adjustTyped ? 2 : 0) + (c.zero ? 0 : 1);
            EXPECT_EQ(messages.texts(), std::vector<std::string>{leftBeside(typed, c.adjustOnView ? 2 : 0)});
            EXPECT_EQ(sim.value(kSlot, "01", s->ShowAdjust ? 10 : 42), "7");
        } else {
            EXPECT_EQ(messages.texts(), std::vector<std::string>{c.message});
            EXPECT_EQ(sim.value(kSlot, "01", s->ShowAdjust ? 10 : 42), "unchanged");
        }
    }
}

TEST_F(Bw16Test, EmptyBoxIsNotWrittenAndItsCopyTakesTheStoredValue) {
    auto* s = pick<frmBW16>(kSlot);
    settle(s);
    record(kSlot).Param.set(1, "123");
    record(kSlot).ChOption.set(2, "1");
    type(s->txtZScale[0], "");
    type(s->txtEnable[1], "");
    sim.setValue(kSlot, "01", 42, "before");
    sim.setValue(kSlot, "02", 43, "0");
    download(s);
    // Nothing was read: every setting is named, the emptied ones too.
    EXPECT_EQ(messages.texts(), std::vector<std::string>{test::LeftMessage(test::EveryChannel(
                                    {"Z-Scale", "F-Scale", "Z-Adjust", "F-Adjust", "Unused"}, 16))});
    EXPECT_EQ(sim.value(kSlot, "01", 42), "before");
    EXPECT_EQ(record(kSlot).Param[1], "123");
    EXPECT_EQ(s->ZScaleData[0], "123");
    EXPECT_EQ(text(s->txtZScale[0]), "");  // the boxes are not refreshed by a download
    EXPECT_EQ(sim.value(kSlot, "02", 43), "0");
    EXPECT_EQ(text(s->txtEnable[1]), "1");
    // A later switch saves the empty box into the copy again.
    s->changeButton->click();
    s->changeButton->click();
    EXPECT_EQ(text(s->txtZScale[0]), "");
}

TEST_F(Bw16Test, LiveReadFillsBoxByBoxAndKeepsATimedOutChannel) {
    auto* s = pick<frmBW16>(kSlot);
    ASSERT_TRUE(waitFor([&] { return text(s->txtParData[15]) == firstLive(16); }));
    settle(s);
    for (int ch = 1; ch <= 16; ++ch) sim.setValue(kSlot, "00", ch + 9, "+5" + std::to_string(ch) + ".5");
    sim.setValue(kSlot, "00", 12, "TMO");  // channel 3
    useFakeClock();
    k6sim::Fault f;
    f.frame = "I15";  // channel 6
    f.card = kSlot;
    f.action = k6sim::FaultAction::Silence;
    sim.addFault(f);
    ASSERT_TRUE(waitFor([&] { return !G().Connected; }));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
    for (int ch = 1; ch <= 16; ++ch) {
        SCOPED_TRACE(ch);
        const bool fresh = ch <= 5 && ch != 3;
        EXPECT_EQ(text(s->txtParData[idx(ch)]), fresh ? "+5" + std::to_string(ch) + "5" : firstLive(ch));
    }
}

TEST_F(Bw16Test, SettingsFileInTheOlderLayoutOpensWidened) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("talvo_bw16_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "old.uJx";
    {
        std::ofstream out(file, std::ios::binary);
        for (int rec = 1; rec <= 17; ++rec) {
            std::vector<std::string> fields(82);
            if (rec == kSlot) {
                fields[0] = "BW16";
                fields[1] = "1.00";
                for (int ch = 1; ch <= 16; ++ch) {  // two values per channel
                    fields[static_cast<std::size_t>(2 * ch)] = std::to_string(-ch);
                    fields[static_cast<std::size_t>(2 * ch + 1)] = std::to_string(100 * ch);
                }
                fields[66] = "1";  // channel 1 unused
            }
            for (std::size_t i = 0; i < fields.size(); ++i) out << (i ? "," : "") << '"' << fields[i] << '"';
            out << "\r\n";
        }
    }
    files.answers.push_back(file.string());
    OpenSettingsFile();
    fs::remove_all(dir);
    ASSERT_TRUE(messages.shown.empty());

    auto* s = pick<frmBW16>(kSlot);
    for (int ch = 1; ch <= 16; ++ch) {
        SCOPED_TRACE(ch);
        EXPECT_EQ(text(s->txtZScale[idx(ch)]), std::to_string(-ch));
        EXPECT_EQ(text(s->txtFScale[idx(ch)]), std::to_string(100 * ch));
    }
    EXPECT_EQ(text(s->txtEnable[0]), "1");
    EXPECT_EQ(text(s->txtEnable[1]), "0");
    s->changeButton->click();
    for (int ch = 1; ch <= 16; ++ch) {
        SCOPED_TRACE(ch);
        EXPECT_EQ(text(s->txtZScale[idx(ch)]), "0.00");
        EXPECT_EQ(text(s->txtFScale[idx(ch)]), "1.0000");
    }
}

TEST_F(Bw16Test, UploadThatLosesTheCardKeepsWhatWasNotRead) {
    for (int i = 1; i <= 64; ++i) record(kSlot).Param.set(i, "old");
    auto* s = pick<frmBW16>(kSlot);
    settle(s);
    type(s->txtZScale[9], "-10");  // typed, not yet in a copy
    useFakeClock();
    k6sim::Fault f;
    f.frame = "I59";  // channel 9's full scale
    f.card = kSlot;
    f.action = k6sim::FaultAction::Silence;
    sim.addFault(f);
    upload(s);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
    EXPECT_EQ(messages.shown[0].title, "Uploading");
    EXPECT_FALSE(G().Connected);
    EXPECT_FALSE(window->progressWindow() && window->progressWindow()->isVisible());
    EXPECT_EQ(record(kSlot).Param[32], "1.000");  // channel 8's full adjust was read
    EXPECT_EQ(record(kSlot).Param[33], "0");      // channel 9's zero scale was read
    EXPECT_EQ(record(kSlot).Param[34], "old");
    EXPECT_EQ(text(s->txtZScale[7]), "0");
    EXPECT_EQ(text(s->txtZScale[8]), "0");
    EXPECT_EQ(text(s->txtFScale[8]), "old");
    EXPECT_EQ(text(s->txtZScale[9]), "-10");
    EXPECT_EQ(s->BiasData[8], "old");
}

TEST_F(Bw16Test, DownloadThatLosesTheCardKeepsOnlyWhatTheCardTook) {
    auto* s = pick<frmBW16>(kSlot);
    settle(s);
    for (int ch = 1; ch <= 16; ++ch) type(s->txtZScale[idx(ch)], std::to_string(-ch));
    k6sim::Fault f;
    f.frame = "D-3";
    f.card = kSlot;
    f.action = k6sim::FaultAction::Reply;
    f.text = "CNG";
    sim.addFault(f);
    download(s);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Downloading incomplete"});
    EXPECT_EQ(messages.shown[0].title, "Downloading");
    EXPECT_FALSE(G().Connected);
    EXPECT_EQ(record(kSlot).Param[5], "-2");
    EXPECT_EQ(record(kSlot).Param[9], "");  // refused
    EXPECT_EQ(record(kSlot).Param[13], "");
    EXPECT_EQ(static_cast<long>(countFrames("D-4")), 0);
}

// The pair not on view keeps what each of its settings holds: a refused read
// is drawn as not read whenever its pair comes on view, it is neither range
// checked nor sent and a download names it, and the user's edit while its
// pair is on view gives it a value again.
TEST_F(Bw16Test, ThePairNotOnViewKeepsWhatItsSettingsHold) {
    record(kSlot).Param.set(3, "999");  // channel 1's zero adjust, out of range (as a file may hold it)
    auto* s = pick<frmBW16>(kSlot);
    settle(s);
    for (const char* item : {"I10", "I44"}) {  // zero adjust of channel 1, zero scale of channel 2
        k6sim::Fault f = test::fault(item, kSlot, k6sim::FaultAction::Reply, "CNG");
        f.group = "01";
        sim.addFault(f);
    }
    upload(s);
    sim.clearFaults();
    ASSERT_EQ(s->ShowAdjust, 0);
    EXPECT_FALSE(DrawnUnread(s->txtZScale[0]));
    EXPECT_TRUE(DrawnUnread(s->txtZScale[1]));
    showPair(s, true);
    EXPECT_EQ(text(s->txtZScale[0]), "999");
    EXPECT_TRUE(DrawnUnread(s->txtZScale[0]));
    EXPECT_FALSE(DrawnUnread(s->txtZScale[1]));
    showPair(s, false);
    EXPECT_FALSE(DrawnUnread(s->txtZScale[0]));
    EXPECT_TRUE(DrawnUnread(s->txtZScale[1]));

    sim.setValue(kSlot, "01", 10, "card");
    sim.setValue(kSlot, "01", 44, "card");
    download(s);
    EXPECT_EQ(sim.value(kSlot, "01", 10), "card");
    EXPECT_EQ(sim.value(kSlot, "01", 44), "card");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{test::LeftMessage("Z-Adjust Ch.1; Z-Scale Ch.2")});
    messages.shown.clear();

    showPair(s, true);
    type(s->txtZScale[0], "1.5");
    EXPECT_FALSE(DrawnUnread(s->txtZScale[0]));
    showPair(s, false);
    EXPECT_TRUE(DrawnUnread(s->txtZScale[1]));
    download(s);
    EXPECT_EQ(sim.value(kSlot, "01", 10), "1.5");
    EXPECT_EQ(sim.value(kSlot, "01", 44), "card");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{test::LeftMessage("Z-Scale Ch.2")});
}
