// What the power and heat-flow card screens send of a setting that holds no
// value (never read, refused, not used by the card, or left unanswered by an
// upload), how they show it and how a download names it; and that every row
// of their settings tables is named by a caption the screen shows.
#include <gtest/gtest.h>

#include <functional>

#include "screens/power/frmFS2.h"
#include "screens/power/frmGB10.h"
#include "screens/power/frmGB40.h"
#include "tests/screens/power/PowerFixture.h"

using namespace talvo;
using namespace talvo::screens;
using k6sim::FaultAction;

namespace {

class PowerHeldTest : public test::PowerScreenTest {
protected:
    CardScreen* open(int slot) {
        if (cardList()->currentIndex() == slot) cardList()->setCurrentIndex(0);
        CardScreen* s = pick(slot);
        if (s) settle(s);
        return s;
    }
    // Whether the frames since they were last cleared write the item.
    bool written(const std::string& group, int item) const {
        const auto& f = sim.frames();
        for (std::size_t i = 0; i + 2 < f.size(); ++i)
            if (f[i] == "G" + group && f[i + 1] == "I" + str(item) && f[i + 2][0] == 'D') return true;
        return false;
    }
    static std::string left(const std::string& named) { return ui::kLeftAsTheyAreText + named; }
};

// One box of each screen, its item and its caption.
struct Box {
    const char* screen;
    int slot;
    std::function<QLineEdit*(CardScreen*)> box;
    const char* group;
    int item;
    const char* caption;
};

const Box kBoxes[] = {
    {"GB10", test::kGB10, [](CardScreen* s) { return dynamic_cast<frmGB10*>(s)->txtZeroScale; }, "01", 82,
     "Drop-Out(%)"},
    {"GB40", test::kGB40Mode0, [](CardScreen* s) { return dynamic_cast<frmGB40*>(s)->txtZeroScale; }, "01", 82,
     "Drop-Out(%)"},
    {"FS2", test::kFS2, [](CardScreen* s) { return dynamic_cast<frmFS2*>(s)->txtCoff; }, "00", 56,
     "Coefficient Cal."},
};

enum class Before { NeverRead, Refused, Needless, Unanswered };

}  // namespace

// Never read, refused, not used or unanswered: the box shows what it showed,
// drawn as not read, and a download sends nothing for it; it names it unless
// the card does not use it. The user's own text then is a value, and sent.
TEST_F(PowerHeldTest, ABoxWithoutAValueIsShownNotReadLeftAndNamedUntilTheUserTypesOne) {
    const struct {
        const char* what;
        Before before;
        bool named;
    } cases[] = {{"never read", Before::NeverRead, true},
                 {"refused", Before::Refused, true},
                 {"not used by the card", Before::Needless, false},
                 {"unanswered", Before::Unanswered, true}};
    for (const Box& b : kBoxes) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(b.screen) + ", " + c.what);
            restartWindow();
            connectAndUpload();
            messages.shown.clear();
            CardScreen* s = open(b.slot);
            ASSERT_NE(s, nullptr);
            QLineEdit* box = b.box(s);
            const std::string frame = "I" + str(b.item);
            if (c.before == Before::Refused || c.before == Before::Needless) {
                // The line passes the card's "CNU" back as "NEEDLESS".
                k6sim::Fault f = test::fault(frame, b.slot, FaultAction::Reply,
                                             c.before == Before::Refused ? "CNG" : "CNU");
                f.group = b.group;
                sim.addFault(f);
                upload(s);
                sim.clearFaults();
                EXPECT_TRUE(messages.shown.empty());
            } else if (c.before == Before::Unanswered) {
                useFakeClock();
                k6sim::Fault f = test::silence(frame, b.slot);
                f.group = b.group;
                sim.addFault(f);
                upload(s);
                settle(s);
                sim.clearFaults();
                platform::services().clock = &steadyClock;
                EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
                ASSERT_FALSE(G().Connected);
                // Connected again: nothing read before holds.
                connectAndUpload();
                messages.shown.clear();
                s = open(b.slot);
                box = b.box(s);
            }
            const std::string shown = text(box);
            EXPECT_TRUE(DrawnUnread(box));
            if (b.slot == test::kFS2) s->downloadButton()->setEnabled(true);  // enabled by an upload or a file
            sim.clearFrames();
            download(s);
            EXPECT_FALSE(written(b.group, b.item));
            EXPECT_EQ(text(box), shown);
            EXPECT_TRUE(DrawnUnread(box));
            if (!c.named) {
                EXPECT_TRUE(messages.shown.empty());
            } else if (c.before == Before::Refused) {
                EXPECT_EQ(messages.texts(), std::vector<std::string>{left(b.caption)});
            } else {
                ASSERT_EQ(messages.shown.size(), 1u);
                EXPECT_NE(messages.shown[0].text.find(b.caption), std::string::npos) << messages.shown[0].text;
            }

            messages.shown.clear();
            type(box, "7");
            EXPECT_FALSE(DrawnUnread(box));
            sim.clearFrames();
            download(s);
            EXPECT_TRUE(written(b.group, b.item));
            EXPECT_EQ(sim.value(b.slot, b.group, b.item), "7");
            for (const auto& m : messages.shown) EXPECT_EQ(m.text.find(b.caption), std::string::npos) << m.text;
        }
    }
}

// A download names what it leaves by the captions the screen shows, never by
// the card's group and item.
TEST_F(PowerHeldTest, EveryRowOfTheSettingsTablesIsNamedByACaption) {
    for (int slot : {test::kGB10, test::kGB1A, test::kGB40Mode0, test::kGB4A, test::kFS2}) {
        SCOPED_TRACE(slot);
        CardScreen* s = open(slot);
        ASSERT_NE(s, nullptr);
        for (const Setting& row : s->settingRows())
            for (int ch = 1; ch <= row.channels(); ++ch) {
                const std::string name = row.shownName(s->shownVariant(), ch);
                EXPECT_NE(name.rfind("Item ", 0), 0u) << name;
            }
    }
    // The middle column follows the model's caption.
    auto* gb40 = dynamic_cast<frmGB40*>(open(test::kGB4A));
    ASSERT_NE(gb40, nullptr);
    EXPECT_EQ(gb40->settingRows()[6].shownName(0, 2), "CT2(A) U/T");
    EXPECT_EQ(gb40->settingRows()[9].shownName(0, 1), "VT(V) U/T");
    auto* gb10 = dynamic_cast<frmGB10*>(open(test::kGB10));
    ASSERT_NE(gb10, nullptr);
    EXPECT_EQ(gb10->settingRows()[8].shownName(1, 1), "CT(A) U");
}
