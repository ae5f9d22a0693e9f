// The resistance-thermometer and voltage screen: where each setting lives on the
// card and in the record, the third settings group, and what the input module of
// each of channels 1 to 4 makes editable.
#include <gtest/gtest.h>

#include "core/Colors.h"
#include "screens/analog_in/frmBWT8.h"
#include "ui/Geometry.h"
#include "tests/screens/ScreenFixture.h"
#include "tests/screens/analog_in/LeftList.h"

using namespace talvo;
using namespace talvo::screens;
using Frames = std::vector<std::string>;

namespace {

struct Field {
    std::vector<QLineEdit*> frmBWT8::*boxes;
    const char* group;
    int itemPerCh, itemBase, paramPerCh, paramBase;
    int channels;
    const char* tag;
};
const Field kFields[] = {
    {&frmBWT8::txtZScale, "01", 2, 40, 4, -3, 8, "zs"}, {&frmBWT8::txtFScale, "01", 2, 41, 4, -2, 8, "fs"},
    {&frmBWT8::txtBias, "01", 2, 8, 4, -1, 8, "za"},    {&frmBWT8::txtGain, "01", 2, 9, 4, 0, 8, "fa"},
    {&frmBWT8::txtZBase, "02", 2, 8, 2, 31, 4, "zb"},   {&frmBWT8::txtFBase, "02", 2, 9, 2, 32, 4, "fb"},
    {&frmBWT8::txtLineR, "03", 1, 39, 1, 48, 4, "lr"},
};

constexpr int kSlot = 7;

class Bwt8Test : public test::ScreenTest {
protected:
    static std::string mark(const Field& f, int ch) { return f.tag + std::to_string(ch); }
    static QLineEdit* box(frmBWT8* s, const Field& f, int ch) { return (s->*f.boxes)[static_cast<std::size_t>(ch - 1)]; }

    void setModules(const std::vector<std::string>& modules) {
        for (std::size_t i = 0; i < modules.size(); ++i) sim.setValue(kSlot, "00", 55 + static_cast<int>(i), modules[i]);
    }
};

}  // namespace

TEST_F(Bwt8Test, UploadAndDownloadLayout) {
    for (const Field& f : kFields)
        for (int ch = 1; ch <= f.channels; ++ch) sim.setValue(kSlot, f.group, f.itemPerCh * ch + f.itemBase, mark(f, ch));
    for (int ch = 1; ch <= 8; ++ch) sim.setValue(kSlot, "02", ch + 41, ch == 4 ? "1" : "0");
    auto* s = pick<frmBWT8>(kSlot);
    sim.clearFrames();
    upload(s);
    const CardRecord& r = record(kSlot);
    for (const Field& f : kFields) {
        for (int ch = 1; ch <= f.channels; ++ch) {
            SCOPED_TRACE(mark(f, ch));
            EXPECT_EQ(text(box(s, f, ch)), mark(f, ch));
            EXPECT_EQ(r.Param[f.paramPerCh * ch + f.paramBase], mark(f, ch));
        }
    }
    for (int ch = 1; ch <= 8; ++ch) EXPECT_EQ(r.ChOption[ch], ch == 4 ? "1" : "0");
    for (int unused : {41, 48, 53, 64}) EXPECT_EQ(r.Param[unused], "") << unused;
    // The third group is opened before its first item, after the last Unused flag.
    const Frames frames = sim.frames();
    const Frames tail = from(frames, "G03");
    ASSERT_GE(frames.size() - tail.size(), 2u);
    EXPECT_EQ(frames[frames.size() - tail.size() - 1], "I49");
    EXPECT_EQ(tail, (Frames{"G03", "I01", "D1", "G03", "I40", "G03", "I41", "G03", "I42", "G03", "I43"}));
    EXPECT_EQ(window->progress(), 12);

    for (const Field& f : kFields)
        for (int ch = 1; ch <= f.channels; ++ch) type(box(s, f, ch), std::to_string(100 * ch + f.itemBase));
    type(s->txtZScale[0], "");   // not sent: the stored value comes back
    type(s->txtLineR[1], "");    // not sent either (an empty value fails on the card)
    type(s->txtEnable[2], "x");  // sent as typed; the echo is not "1": "0" on green
    type(s->txtEnable[3], "");   // not sent: the record's flag as plain text
    download(s);
    for (const Field& f : kFields) {
        for (int ch = 1; ch <= f.channels; ++ch) {
            SCOPED_TRACE(mark(f, ch));
            const bool kept = (f.boxes == &frmBWT8::txtZScale && ch == 1) || (f.boxes == &frmBWT8::txtLineR && ch == 2);
            const std::string want = kept ? mark(f, ch) : std::to_string(100 * ch + f.itemBase);
            EXPECT_EQ(sim.value(kSlot, f.group, f.itemPerCh * ch + f.itemBase), want);
            EXPECT_EQ(r.Param[f.paramPerCh * ch + f.paramBase], want);
            EXPECT_EQ(text(box(s, f, ch)), want);
        }
    }
    EXPECT_EQ(sim.value(kSlot, "02", 44), "x");
    EXPECT_EQ(text(s->txtEnable[2]), "0");
    EXPECT_EQ(r.ChOption[3], "0");
    EXPECT_EQ(sim.value(kSlot, "02", 45), "1");
    EXPECT_EQ(text(s->txtEnable[3]), "1");
    EXPECT_EQ(window->progress(), 12);
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{test::LeftMessage("Zero Scale Ch.1; Unused Ch.4; Leadwire Resistance Ch.2")});
}

TEST_F(Bwt8Test, InputModuleDecidesWhichChannelsTakeBaseAndLeadWire) {
    struct Case {
        std::vector<std::string> modules;  // items 55 .. 58
        std::vector<bool> pt1000;          // channels 1 .. 4
    };
    const Case cases[] = {
        {{"VV1", "UB1", "VV1", "VV1"}, {false, true, false, false}},
        {{"UB1", "UB2", "UBX", "UB"}, {true, true, true, true}},
        {{"ub1", "", "VV1", "VUB"}, {false, false, false, false}},
    };
    // One screen serves every card: each opening sets every channel afresh.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.modules[0] + "," + c.modules[1]);
        setModules(c.modules);
        cardList()->setCurrentIndex(0);
        auto* s = pick<frmBWT8>(kSlot);
        for (int ch = 1; ch <= 8; ++ch) {
            const std::size_t i = static_cast<std::size_t>(ch - 1);
            const bool pt = ch <= 4 && c.pt1000[i];
            EXPECT_EQ(text(s->txtInputType[i]), pt ? "Pt1000" : "0-10V DC") << ch;
            if (ch > 4) continue;
            const QColor back = ui::toQColor(pt ? colors::SysWindow : colors::SysButtonFace);
            for (QLineEdit* b : {s->txtZBase[i], s->txtFBase[i], s->txtLineR[i]}) {
                EXPECT_EQ(b->isReadOnly(), !pt) << ch;
                EXPECT_EQ(b->palette().color(QPalette::Base), back) << ch;
            }
        }
        EXPECT_EQ(text(s->txtBurnout), "UP");
        EXPECT_EQ(text(s->txtUnit), "degC");
    }
}

TEST_F(Bwt8Test, LockedBoxesTakeNoKeysButAreStillDownloaded) {
    setModules({"VV1", "UB1", "VV1", "VV1"});
    auto* s = pick<frmBWT8>(kSlot);
    upload(s);
    s->txtZBase[1]->clear();
    QTest::keyClicks(s->txtZBase[1], "12");
    QTest::keyClicks(s->txtZBase[0], "12");
    EXPECT_EQ(text(s->txtZBase[1]), "12");
    EXPECT_EQ(text(s->txtZBase[0]), "0");  // as the card gave it
    sim.setValue(kSlot, "02", 10, "changed");
    sim.setValue(kSlot, "03", 40, "changed");
    download(s);
    EXPECT_EQ(sim.value(kSlot, "02", 10), "0");
    EXPECT_EQ(sim.value(kSlot, "03", 40), "0.0");
}

TEST_F(Bwt8Test, KeyFiltersAndLengthLimits) {
    setModules({"UB1", "UB1", "UB1", "UB1"});
    auto* s = pick<frmBWT8>(kSlot);
    settle(s);
    struct Case {
        QLineEdit* box;
        const char* keys;
        const char* shown;
    };
    const Case cases[] = {
        {s->txtLineR[0], "-1.5", "1.5"},          {s->txtZScale[0], "-1.5", "-15"},
        {s->txtBias[0], "-1.5x", "-1.5"},         {s->txtZBase[0], "12345678", "1234567"},
        {s->txtFBase[3], "-1.23456", "-1.2345"}, {s->txtEnable[0], "x", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        c.box->clear();
        QTest::keyClicks(c.box, c.keys);
        EXPECT_EQ(text(c.box), c.shown);
    }
}
