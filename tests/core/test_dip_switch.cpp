// The DIP-switch check: drawing a switch text into cells, and the read of all
// slots against the simulator, with the exact frames the station received.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/DipSwitch.h"
#include "core/Globals.h"
#include "tests/support/SimFixture.h"

using namespace talvo;
using k6sim::Fault;
using k6sim::FaultAction;
using test::fault;
using test::silence;
using Frames = std::vector<std::string>;

namespace {

// A colour no drawing ever paints, to see which cells a drawing left alone.
constexpr std::uint32_t kUntouched = colors::Red;

// The 24 cells of a row as "SW1 SW2 SW3", positions 1..8 each:
// B = black (ON), W = white (OFF), - = untouched.
std::string rowPattern(const DipSwitchModel& m, int row) {
    std::string out;
    for (int sw = 1; sw <= 3; ++sw) {
        if (sw > 1) out += ' ';
        for (int p = 1; p <= 8; ++p) {
            const std::uint32_t c = m.cells[static_cast<std::size_t>(DipSwitchModel::cellIndex(row, sw, p))];
            out += c == colors::Black ? 'B' : c == colors::White ? 'W' : c == kUntouched ? '-' : '?';
        }
    }
    return out;
}

DipSwitchModel untouchedModel() {
    DipSwitchModel m;
    m.cells.fill(kUntouched);
    return m;
}

}  // namespace

TEST(DipSwitchDraw, CellsFollowTheDigitsThatExist) {
    struct Case {
        std::string text, pattern;
    };
    const Case cases[] = {
        {"01,80,FF", "BWWWWWWW WWWWWWWB BBBBBBBB"},
        {"A5,3C,0F", "BWBWWBWB WWBBBBWW BBBBWWWW"},
        {"0a,00,00", "----WWWW WWWWWWWW WWWWWWWW"},  // lower case is no digit
        {"G1,xx,FF", "BWWW---- -------- BBBBBBBB"},
        {"FF,FF,FF,00", "BBBBBBBB BBBBBBBB BBBBBBBB"},  // the rest of a long text is ignored
        // Short and empty texts paint what they hold and leave the rest.
        {"", "-------- -------- --------"},
        {"0", "----WWWW -------- --------"},
        {"01,8", "BWWWWWWW ----WWWB --------"},
        {"01,80,F", "BWWWWWWW WWWWWWWB ----BBBB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("text '" + c.text + "'");
        DipSwitchModel m = untouchedModel();
        txtCDataDraw(m, 5, c.text);
        EXPECT_EQ(rowPattern(m, 5), c.pattern);
        for (int row : {4, 6}) EXPECT_EQ(rowPattern(m, row), "-------- -------- --------");
    }
}

TEST(DipSwitchDraw, RowOutsideTheScreenChangesNothing) {
    for (int row : {-1, 16, 1000}) {
        DipSwitchModel m = untouchedModel();
        txtCDataDraw(m, row, "FF,FF,FF");
        EXPECT_EQ(m.cells, untouchedModel().cells) << row;
    }
}

TEST(DipSwitchDraw, EveryCellStartsWhite) {
    const DipSwitchModel m;
    for (std::uint32_t c : m.cells) EXPECT_EQ(c, colors::White);
}

namespace {

class DipSwitchReadTest : public test::SimTest {
protected:
    // The frames of a read of the default station: slot 15 is empty.
    static Frames fullRead() {
        Frames f{"G00", "I01", "DF", "G00", "I41", "D0", "G00", "I01", "DF"};
        for (int i = 0; i < 16; ++i) f.insert(f.end(), {"G00", "I" + std::to_string(i + 10)});
        for (int slot = 1; slot <= 16; ++slot) {
            if (slot == 15) continue;
            f.insert(f.end(), {"G00", "I41", "D" + std::to_string(slot), "G00", "I01", "DF", "G00", "I40", "G00",
                               "I39"});
        }
        return f;
    }
};

}  // namespace

TEST_F(DipSwitchReadTest, SelectsTheSlotListThenReadsEveryCardInUse) {
    sim.setValue(1, "00", 40, "1.02");
    sim.setValue(1, "00", 39, "01,80,FF");
    DipSwitchModel m = untouchedModel();
    std::vector<int> changedRows;
    ReadDipSwitches(m, [&](int row) { changedRows.push_back(row); });

    // The second pass selects with item "41" before item "01".
    EXPECT_EQ(sim.frames(), fullRead());
    for (int i = 0; i < 16; ++i) EXPECT_EQ(G().SlotInUse[static_cast<std::size_t>(i)], i != 14) << i;

    EXPECT_EQ(m.name[0], "BW4");
    EXPECT_EQ(m.version[0], "1.02");
    EXPECT_EQ(m.switchText[0], "01,80,FF");
    EXPECT_EQ(rowPattern(m, 0), "BWWWWWWW WWWWWWWB BBBBBBBB");
    EXPECT_EQ(m.name[15], "GBH");
    EXPECT_EQ(m.switchText[15], "00,00,00");
    EXPECT_EQ(rowPattern(m, 15), "WWWWWWWW WWWWWWWW WWWWWWWW");

    // The empty slot.
    EXPECT_EQ(m.name[14], "-");
    EXPECT_EQ(m.version[14], "-");
    EXPECT_EQ(m.switchText[14], "-");
    EXPECT_EQ(rowPattern(m, 14), "WWWWWWWW WWWWWWWW WWWWWWWW");

    // Every row reported as it changed, the first pass in slot order.
    ASSERT_GE(changedRows.size(), 16u);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(changedRows[static_cast<std::size_t>(i)], i);
    EXPECT_EQ(changedRows.back(), 15);
}

// Short and empty replies reach the drawing as they are: what they hold is drawn,
// the rest of the row keeps its cells.
TEST_F(DipSwitchReadTest, ShortOrEmptySwitchRepliesDrawWhatTheyHold) {
    struct Case {
        std::string value, pattern;
    };
    const Case cases[] = {
        {"", "-------- -------- --------"},
        {"0", "----WWWW -------- --------"},
        {"01,8", "BWWWWWWW ----WWWB --------"},
        {"0a,00,00", "----WWWW WWWWWWWW WWWWWWWW"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("switch reply '" + c.value + "'");
        sim.setValue(1, "00", 39, c.value);
        DipSwitchModel m = untouchedModel();
        ReadDipSwitches(m);
        EXPECT_EQ(m.switchText[0], c.value);
        EXPECT_EQ(rowPattern(m, 0), c.pattern);
    }
}

// A rejection answers in letters; they are shown, but are no switch positions.
TEST_F(DipSwitchReadTest, RejectedSwitchReadLeavesTheCells) {
    for (const auto& [reply, shown] : {std::pair<std::string, std::string>{"CNU", "NEEDLESS"}, {"CNG", "CNG"}}) {
        sim.clearFaults();
        sim.addFault(fault("I39", 1, FaultAction::Reply, reply));
        DipSwitchModel m = untouchedModel();
        ReadDipSwitches(m);
        EXPECT_EQ(m.switchText[0], shown);
        EXPECT_EQ(rowPattern(m, 0), "-------- -------- --------") << reply;
        EXPECT_EQ(rowPattern(m, 1), "WWWWWWWW WWWWWWWW WWWWWWWW") << reply;
    }
}

// A slot whose list entry does not answer is read as a card with an empty name;
// its version and switch reads fail too, which leaves its boxes empty and its cells alone.
TEST_F(DipSwitchReadTest, SlotThatDoesNotAnswerIsReadAsACardWithoutName) {
    useFakeClock();
    sim.addFault(fault("I12", 0, FaultAction::Silence));
    // The card is not there: its reads get a bare CR, which fails them as a silence
    // would, without waiting out each time-out.
    sim.addFault(fault("I40", 3, FaultAction::Reply));
    sim.addFault(fault("I39", 3, FaultAction::Reply));
    DipSwitchModel m = untouchedModel();
    m.version[2] = m.switchText[2] = "old";
    ReadDipSwitches(m);

    EXPECT_TRUE(G().SlotInUse[2]);
    EXPECT_EQ(m.name[2], "");
    EXPECT_EQ(m.version[2], "");
    EXPECT_EQ(m.switchText[2], "");
    EXPECT_EQ(rowPattern(m, 2), "-------- -------- --------");
    EXPECT_EQ(m.name[3], "HG4");  // the read goes on with the next slot

    const Frames frames = sim.frames();
    auto count = [&](const std::string& fr) { return std::count(frames.begin(), frames.end(), fr); };
    EXPECT_EQ(count("I12"), 4);  // each read tries four times
    EXPECT_EQ(count("D3"), 1);   // and the slot is selected for its second pass
}
