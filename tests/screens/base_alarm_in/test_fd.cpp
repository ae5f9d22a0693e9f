// The base-scaled input screens: where each setting lives on the card and in the
// record, the model variants of the 4-channel screen on one instance, the four
// passes of the 8-channel screen, and what a transfer that loses the card keeps.
#include <gtest/gtest.h>

#include <QProgressBar>

#include "core/Colors.h"
#include "screens/base_alarm_in/frmFD4.h"
#include "screens/base_alarm_in/frmFD8.h"
#include "ui/Geometry.h"
#include "shell/frmLoading.h"
#include "sim/Families.h"
#include "tests/screens/ScreenFixture.h"
#include "tests/screens/analog_in/LeftList.h"

using namespace talvo;
using namespace talvo::screens;
using Frames = std::vector<std::string>;

namespace {

constexpr int kFd4 = 11, kFd8 = 12, kSpare = 15;

// A setting of every channel: item = itemPer * ch + itemBase in `group`,
// record field Param(paramPer * ch + paramBase).
template <class S>
struct Place {
    const char* name;
    std::vector<QLineEdit*> S::*boxes;
    const char* group;
    int itemPer, itemBase, paramPer, paramBase;
    int item(int ch) const { return itemPer * ch + itemBase; }
    int param(int ch) const { return paramPer * ch + paramBase; }
};

// The four settings in group "01" and, from `firstBase` (0: none), the base pair.
std::vector<Place<frmFD4>> fd4Places(int firstBase) {
    std::vector<Place<frmFD4>> v = {
        {"zscale", &frmFD4::txtZScale, "01", 2, 40, 4, -3},
        {"fscale", &frmFD4::txtFScale, "01", 2, 41, 4, -2},
        {"bias", &frmFD4::txtBias, "01", 2, 8, 4, -1},
        {"gain", &frmFD4::txtGain, "01", 2, 9, 4, 0},
    };
    if (firstBase) {
        v.push_back({"zbase", &frmFD4::txtZBase, "02", 2, firstBase - 2, 2, 15});
        v.push_back({"fbase", &frmFD4::txtFBase, "02", 2, firstBase - 1, 2, 16});
    }
    return v;
}

const std::vector<Place<frmFD8>> kFd8Places = {
    {"zscale", &frmFD8::txtZScale, "01", 2, 40, 2, -1}, {"fscale", &frmFD8::txtFScale, "01", 2, 41, 2, 0},
    {"bias", &frmFD8::txtBias, "01", 2, 8, 2, 31},      {"gain", &frmFD8::txtGain, "01", 2, 9, 2, 32},
    {"zbase", &frmFD8::txtZBase, "02", 2, 24, 2, 15},   {"fbase", &frmFD8::txtFBase, "02", 2, 25, 2, 16},
};

template <class S>
QLineEdit* box(S* s, const Place<S>& p, int ch) {
    return (s->*p.boxes)[static_cast<std::size_t>(ch - 1)];
}

template <class S>
std::string mark(const Place<S>& p, int ch) {
    return std::string(p.name) + std::to_string(ch);
}

class FdTest : public test::ScreenTest {
protected:
    void SetUp() override {
        test::ScreenTest::SetUp();
        if (HasFatalFailure()) return;
        // Each step of the progress bar with the last frame the card had got by then.
        auto* bar = window->progressWindow()->findChild<QProgressBar*>("pgBarLoading");
        ASSERT_NE(bar, nullptr);
        QObject::connect(bar, &QProgressBar::valueChanged, bar, [this](int v) {
            if (v > 0) steps.emplace_back(v, sim.frames().back());
        });
    }

    // Puts a card of `code` with its family's items into `slot`, as the card list would show it.
    void putCard(int slot, const std::string& code) {
        k6sim::Station st = sim.station();
        k6sim::Card c;
        c.code = c.modelText = code;
        c.version = "1.00";
        k6sim::addFamilyDefaults(c);
        st.slot(slot) = c;
        sim.setStation(st);
        record(slot).CardType = code;
    }

    template <class S>
    S* reopen(int slot) {
        cardList()->setCurrentIndex(0);
        S* s = pick<S>(slot);
        settle(s);
        return s;
    }

    template <class S>
    void markCard(int slot, const std::vector<Place<S>>& places, int n) {
        for (const auto& p : places)
            for (int ch = 1; ch <= n; ++ch) sim.setValue(slot, p.group, p.item(ch), mark(p, ch));
        for (int ch = 1; ch <= n; ++ch) sim.setValue(slot, "02", ch + 41, ch % 2 ? "1" : "0");
    }

    template <class S>
    void checkUploaded(S* s, int slot, const std::vector<Place<S>>& places, int n) {
        for (const auto& p : places)
            for (int ch = 1; ch <= n; ++ch) {
                SCOPED_TRACE(mark(p, ch));
                EXPECT_EQ(text(box(s, p, ch)), mark(p, ch));
                EXPECT_EQ(record(slot).Param[p.param(ch)], mark(p, ch));
            }
        for (int ch = 1; ch <= n; ++ch) {
            EXPECT_EQ(text(s->txtEnable[static_cast<std::size_t>(ch - 1)]), ch % 2 ? "1" : "0");
            EXPECT_EQ(record(slot).ChOption[ch], ch % 2 ? "1" : "0");
        }
    }

    // Types into every box a text that names its record field ("n17").
    template <class S>
    void typeFields(S* s, const std::vector<Place<S>>& places, int n) {
        for (const auto& p : places)
            for (int ch = 1; ch <= n; ++ch) type(box(s, p, ch), "n" + std::to_string(p.param(ch)));
    }

    template <class S>
    void checkDownloaded(int slot, const std::vector<Place<S>>& places, int n) {
        for (const auto& p : places)
            for (int ch = 1; ch <= n; ++ch) {
                SCOPED_TRACE(mark(p, ch));
                const std::string typed = "n" + std::to_string(p.param(ch));
                EXPECT_EQ(sim.value(slot, p.group, p.item(ch)), typed);
                EXPECT_EQ(record(slot).Param[p.param(ch)], typed);
            }
    }

    void clearTrace() {
        sim.clearFrames();
        steps.clear();
    }

    std::vector<std::pair<int, std::string>> steps;
};

QColor backColor(const QLineEdit* b) { return b->palette().color(QPalette::Base); }

}  // namespace

TEST_F(FdTest, Fd4LayoutOfEveryVariant) {
    struct Case {
        const char* code;
        int firstBase;  // group "02" item of channel 1's zero base; 0: the card has none
    };
    for (const Case& c : {Case{"FD4", 10}, Case{"IX4", 10}, Case{"FD4A", 26}, Case{"FD4B", 26}, Case{"FW4", 0}}) {
        SCOPED_TRACE(c.code);
        putCard(kFd4, c.code);
        const auto places = fd4Places(c.firstBase);
        markCard(kFd4, places, 4);
        for (int i = 17; i <= 24; ++i) record(kFd4).Param.set(i, "old");
        auto* s = reopen<frmFD4>(kFd4);
        clearTrace();
        upload(s);
        checkUploaded(s, kFd4, places, 4);
        EXPECT_EQ(countFrames("G02"), c.firstBase ? 13u : 5u);  // the opening, bases, four flags
        std::vector<std::pair<int, std::string>> bar = {{1, "I11"}, {2, "I13"}, {3, "I15"}, {4, "I17"}};
        for (int ch = 1; c.firstBase && ch <= 4; ++ch) bar.emplace_back(ch + 4, "I" + std::to_string(c.firstBase + 2 * ch - 1));
        for (int ch = 1; ch <= 4; ++ch) bar.emplace_back(ch + 8, "I" + std::to_string(ch + 41));
        EXPECT_EQ(steps, bar);
        for (int ch = 1; !c.firstBase && ch <= 4; ++ch) {
            const std::size_t i = static_cast<std::size_t>(ch - 1);
            EXPECT_FALSE(s->txtZBase[i]->isEnabled());
            EXPECT_FALSE(s->txtFBase[i]->isEnabled());
            EXPECT_EQ(text(s->txtZBase[i]), "");
            EXPECT_EQ(backColor(s->txtFBase[i]), ui::toQColor(colors::SysButtonFace));
        }

        for (int i = 17; i <= 24; ++i) record(kFd4).Param.set(i, "old");
        typeFields(s, places, 4);
        clearTrace();
        download(s);
        checkDownloaded(kFd4, places, 4);
        EXPECT_EQ(countFrames("G02"), c.firstBase ? 13u : 5u);
        for (int i = 17; !c.firstBase && i <= 24; ++i) EXPECT_EQ(record(kFd4).Param[i], "") << i;
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(FdTest, Fd4AfterFw4OnTheSameInstanceIsEditableAgain) {
    putCard(kSpare, "FW4");
    auto* fw = reopen<frmFD4>(kSpare);
    EXPECT_EQ(fw->variant(), frmFD4::Variant::NoBase);
    EXPECT_FALSE(fw->txtZBase[0]->isEnabled());
    auto* s = pick<frmFD4>(kFd4);
    settle(s);
    EXPECT_EQ(s, fw);
    for (int ch = 1; ch <= 4; ++ch) {
        const std::size_t i = static_cast<std::size_t>(ch - 1);
        EXPECT_TRUE(s->txtZBase[i]->isEnabled());
        EXPECT_TRUE(s->txtFBase[i]->isEnabled());
        EXPECT_EQ(backColor(s->txtZBase[i]), ui::toQColor(colors::SysWindow));
    }
    const auto places = fd4Places(10);
    typeFields(s, places, 4);
    download(s);
    checkDownloaded(kFd4, places, 4);
    // The Unused flags were never read nor typed.
    EXPECT_EQ(messages.texts(), std::vector<std::string>{test::LeftMessage(test::EveryChannel({"Unused"}, 4))});
}

TEST_F(FdTest, Fd8Layout) {
    markCard(kFd8, kFd8Places, 8);
    auto* s = pick<frmFD8>(kFd8);
    upload(s);
    checkUploaded(s, kFd8, kFd8Places, 8);
    EXPECT_EQ(record(kFd8).Param[49], "");
    typeFields(s, kFd8Places, 8);
    download(s);
    checkDownloaded(kFd8, kFd8Places, 8);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FdTest, Fd8TrafficGoesOverTheChannelsInFourPasses) {
    auto* s = pick<frmFD8>(kFd8);
    settle(s);
    const auto passes = [](bool write) {
        Frames f = {"G00", "I01", "DF", "G00", "I41", "D12"};
        const auto open = [&](const std::string& g) { f.insert(f.end(), {"G" + g, "I01", "D1"}); };
        const auto item = [&](const std::string& g, int number, int param) {
            f.insert(f.end(), {"G" + g, "I" + std::to_string(number)});
            if (write) f.push_back("Dn" + std::to_string(param));
        };
        open("01");
        for (int ch = 1; ch <= 8; ++ch) {
            item("01", 2 * ch + 40, 2 * ch - 1);
            item("01", 2 * ch + 41, 2 * ch);
        }
        open("01");
        for (int ch = 1; ch <= 8; ++ch) {
            item("01", 2 * ch + 8, 2 * ch + 31);
            item("01", 2 * ch + 9, 2 * ch + 32);
        }
        open("02");
        for (int ch = 1; ch <= 8; ++ch) {
            item("02", 2 * ch + 24, 2 * ch + 15);
            item("02", 2 * ch + 25, 2 * ch + 16);
        }
        for (int ch = 1; ch <= 8; ++ch) {
            f.insert(f.end(), {"G02", "I" + std::to_string(ch + 41)});
            if (write) f.push_back("D1");
        }
        return f;
    };
    clearTrace();
    upload(s);
    Frames expected = passes(false);
    Frames got = sim.frames();
    got.resize(std::min(got.size(), expected.size()));
    EXPECT_EQ(got, expected);
    // The bar stays at 0 after channel 1 and reaches 12 only after the last flag.
    const std::vector<std::pair<int, std::string>> bar = {
        {1, "I45"}, {2, "I49"}, {3, "I53"},  {4, "I57"},  {5, "I13"},  {6, "I17"},
        {7, "I21"}, {8, "I25"}, {9, "I33"}, {10, "I41"}, {11, "I45"}, {12, "I49"}};
    EXPECT_EQ(steps, bar);

    typeFields(s, kFd8Places, 8);
    for (QLineEdit* b : s->txtEnable) type(b, "1");
    clearTrace();
    download(s);
    expected = passes(true);
    got = sim.frames();
    got.resize(std::min(got.size(), expected.size()));
    EXPECT_EQ(got, expected);
    EXPECT_EQ(window->progress(), 12);
}

// A transfer that loses the card stops there, says so and disconnects: what was
// not read keeps what it held, and the record takes only what the card accepted.
TEST_F(FdTest, TransferThatLosesTheCardKeepsWhatItDidNotReach) {
    using Range = std::pair<int, int>;
    struct Case {
        int slot;
        bool upload;
        std::string frame, group;  // the frame the card stops answering or refuses
        std::vector<Range> reached, kept;
    };
    const Case cases[] = {
        {kFd4, true, "I14", "01", {{1, 10}}, {{11, 24}}},                // channel 3's zero adjust
        {kFd8, true, "I30", "02", {{1, 20}, {33, 48}}, {{21, 32}}},      // channel 3's zero base, third pass
        {kFd4, false, "Dn11", "01", {{1, 10}}, {{11, 24}}},
        {kFd8, false, "Dn21", "02", {{1, 20}, {33, 48}}, {{21, 32}}},
    };
    useFakeClock();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        if (!G().Connected) {
            sim.clearFaults();
            connectAndUpload();
            messages.shown.clear();
        }
        const int n = c.slot == kFd4 ? 4 : 8;
        CardScreen* s = nullptr;
        if (c.slot == kFd4) {
            auto* fd4 = reopen<frmFD4>(c.slot);
            typeFields(fd4, fd4Places(10), 4);
            s = fd4;
        } else {
            auto* fd8 = reopen<frmFD8>(c.slot);
            typeFields(fd8, kFd8Places, 8);
            s = fd8;
        }
        for (int i = 1; i <= 48; ++i) record(c.slot).Param.set(i, "old");
        for (int ch = 1; ch <= n; ++ch) record(c.slot).ChOption.set(ch, "old");
        k6sim::Fault f;
        f.frame = c.frame;
        f.card = c.slot;
        f.group = c.group;
        f.action = c.upload ? k6sim::FaultAction::Silence : k6sim::FaultAction::Reply;
        f.text = "CNG";
        sim.addFault(f);
        if (c.upload)
            upload(s);
        else
            download(s);
        EXPECT_EQ(messages.texts(), Frames{c.upload ? "Uploading incomplete" : "Downloading incomplete"});
        EXPECT_FALSE(G().Connected);
        for (const Range& r : c.reached)
            for (int i = r.first; i <= r.second; ++i) {
                // An upload stores the card's own values, a download what was typed.
                const std::string& got = record(c.slot).Param[i];
                EXPECT_TRUE(c.upload ? got != "old" : got == "n" + std::to_string(i)) << i << " holds " << got;
            }
        for (const Range& r : c.kept)
            for (int i = r.first; i <= r.second; ++i) EXPECT_EQ(record(c.slot).Param[i], "old") << i;
        for (int ch = 1; ch <= n; ++ch) EXPECT_EQ(record(c.slot).ChOption[ch], "old") << ch;
    }
}

// The Base fields of an "FW4" card are emptied where the transfer passes them,
// before the flags: a transfer that loses the card at a flag has emptied them already.
TEST_F(FdTest, Fw4TransferThatStopsAtAFlagHasEmptiedTheBases) {
    useFakeClock();
    for (const bool up : {true, false}) {
        SCOPED_TRACE(up ? "upload" : "download");
        if (!G().Connected) {
            sim.clearFaults();
            connectAndUpload();
            messages.shown.clear();
        }
        putCard(kSpare, "FW4");
        auto* s = reopen<frmFD4>(kSpare);
        for (QLineEdit* b : s->txtEnable) type(b, "1");
        for (int i = 17; i <= 24; ++i) record(kSpare).Param.set(i, "old");
        for (int ch = 1; ch <= 4; ++ch) record(kSpare).ChOption.set(ch, "old");
        k6sim::Fault f;
        f.frame = "I43";  // channel 2's flag
        f.card = kSpare;
        f.group = "02";
        f.action = k6sim::FaultAction::Silence;
        sim.addFault(f);
        if (up)
            upload(s);
        else
            download(s);
        EXPECT_EQ(messages.texts(), Frames{up ? "Uploading incomplete" : "Downloading incomplete"});
        for (int i = 17; i <= 24; ++i) EXPECT_EQ(record(kSpare).Param[i], "") << i;
        EXPECT_NE(record(kSpare).ChOption[1], "old");
        for (int ch = 2; ch <= 4; ++ch) EXPECT_EQ(record(kSpare).ChOption[ch], "old") << ch;
    }
}

TEST_F(FdTest, Fd8KeepsItsCycleWhenTheFocusGoesElsewhereAndServesAClick) {
    auto* s = pick<frmFD8>(kFd8);
    settle(s);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(s, &deactivate);
    EXPECT_TRUE(s->waitForTimer().isActive());
    sim.setValue(kFd8, "01", 42, "clicked");
    upload(s);
    EXPECT_EQ(text(s->txtZScale[0]), "clicked");
    EXPECT_EQ(record(kFd8).Param[1], "clicked");
}
