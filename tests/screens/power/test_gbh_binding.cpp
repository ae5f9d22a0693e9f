// The power monitor's channel rows: binding texts laid out over the rows and
// rebuilt from them, and the user's picks in the row lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screens/power/GbhBinding.h"
#include "screens/power/GbhItemTable.h"

using talvo::screens::GbhBindingRows;
using talvo::screens::GbhChannelRow;
using talvo::screens::GbhItemTable;

namespace {

constexpr const char* U = GbhBindingRows::kUnbound;

// The binding text of table item k.
std::string Bind(int k, int words, int system = 1, int scale = 0) {
    return std::to_string(GbhItemTable::instance().ItemRegister(k)) + ";" + std::to_string(words) + ";" +
           std::to_string(system) + ";" + std::to_string(scale);
}

std::array<std::string, 16> Entries(std::vector<std::string> given) {
    std::array<std::string, 16> out;
    out.fill(U);
    for (std::size_t i = 0; i < given.size() && i < out.size(); ++i) out[i] = given[i];
    return out;
}

// One character per row: '1' or '2' a row bound with that many words, 'F' the
// first free row (only its empty item list), 'H' a row showing nothing but its
// data word (below the first free row, or the second word of a binding).
// Also checks what every such row must look like.
std::string Shape(const GbhBindingRows& rows) {
    std::string shape;
    for (int r = 0; r < GbhBindingRows::kRows; ++r) {
        const GbhChannelRow& row = rows.row(r);
        if (row.bound()) {
            EXPECT_TRUE(row.itemVisible && row.controlsVisible) << "row " << r;
            EXPECT_EQ(row.unit, GbhItemTable::instance().ItemUnit(row.item)) << "row " << r;
            EXPECT_EQ(row.wordLocked, GbhItemTable::instance().ItemWords(row.item) == 1) << "row " << r;
            shape += row.twoWords() ? '2' : '1';
            continue;
        }
        EXPECT_FALSE(row.controlsVisible) << "row " << r;
        EXPECT_EQ(row.unit, "") << "row " << r;
        EXPECT_EQ(row.value, "") << "row " << r;
        EXPECT_EQ(row.wordIndex, 0) << "row " << r;
        shape += row.itemVisible ? 'F' : 'H';
    }
    return shape;
}

GbhBindingRows LaidOut(const std::vector<std::string>& entries, int systems = 1) {
    GbhBindingRows rows(systems);
    rows.BindInfo = Entries(entries);
    rows.setBinding();
    return rows;
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::string> Items(int first, int count, int words) {
    std::vector<std::string> out;
    for (int k = first; k < first + count; ++k) out.push_back(Bind(k, words));
    return out;
}

struct LayoutCase {
    const char* what;
    int systems;
    std::vector<std::string> entries;  // the rest unbound
    std::string shape;
    std::vector<std::string> stored;   // what the rows give back; the rest unbound
};

const std::string H14(14, 'H');
const std::string H15(15, 'H');

std::vector<LayoutCase> LayoutCases() {
    return {
        {"sixteen one-word bindings fill every row", 1, Items(1, 16, 1), std::string(16, '1'), Items(1, 16, 1)},
        {"sixteen one-word items", 1, Items(172, 16, 1), std::string(16, '1'), Items(172, 16, 1)},
        {"eight two-word bindings fill every row; later entries are ignored", 1,
         Concat(Items(1, 8, 2), Items(20, 8, 1)), "2H2H2H2H2H2H2H2H", Items(1, 8, 2)},
        {"a two-word binding on row 15 shows one word", 1, Concat(Items(1, 15, 1), {Bind(40, 2)}),
         std::string(16, '1'), Concat(Items(1, 15, 1), {Bind(40, 1)})},
        {"a two-word binding on row 15 after another two-word one", 1,
         Concat(Concat({Bind(1, 2)}, Items(2, 13, 1)), {Bind(40, 2), Bind(41, 1)}), "2H" + std::string(14, '1'),
         Concat(Concat({Bind(1, 2)}, Items(2, 13, 1)), {Bind(40, 1)})},
        {"an unbound entry at 3 ends the layout", 1, Concat(Items(1, 3, 1), Concat({U}, Items(10, 12, 1))),
         "111F" + std::string(12, 'H'), Items(1, 3, 1)},
        {"three fields leave the row unbound", 1, {Bind(1, 1), "40003;1;1", Bind(3, 1)}, "1F" + H14, {Bind(1, 1)}},
        {"five fields leave the row unbound", 1, {Bind(1, 1), Bind(2, 1) + ";0", Bind(3, 1)}, "1F" + H14,
         {Bind(1, 1)}},
        {"word count 3 leaves the row unbound", 1, {"40001;3;1;0", Bind(2, 1)}, "F" + H15, {}},
        {"word count 0 leaves the row unbound", 1, {"40001;0;1;0", Bind(2, 1)}, "F" + H15, {}},
        {"a register in a gap of the table binds nothing", 1, {Bind(1, 1), "40017;1;1;0"}, "1F" + H14,
         {Bind(1, 1)}},
        {"the blank item's register binds nothing", 1, {"40000;2;1;0", Bind(2, 1)}, "F" + H15, {}},
        {"a register beyond the last item binds nothing", 1, {"42143;1;1;0"}, "F" + H15, {}},
        {"an oversized register binds nothing", 1, {"99999999999999999999999;1;1;0"}, "F" + H15, {}},
        {"an empty entry binds nothing", 1, {"", Bind(1, 1)}, "F" + H15, {}},
        {"a field without a number counts as 0", 1, {"x;1;1;0"}, "F" + H15, {}},
        {"fields are read as their leading numbers, rounded", 1, {"40001.4;1.6;1abc;2 "}, "2HF" + std::string(13, 'H'),
         {Bind(1, 2, 1, 2)}},
        {"system 0 selects no system", 1, {Bind(1, 1, 0)}, "1F" + H14, {Bind(1, 1, 0)}},
        {"system 3 selects no system", 2, {Bind(1, 1, 3)}, "1F" + H14, {Bind(1, 1, 0)}},
        {"system 2 on a one-system model selects no system", 1, {Bind(1, 1, 2)}, "1F" + H14, {Bind(1, 1, 0)}},
        {"system 2 on a two-system model", 2, {Bind(1, 1, 2)}, "1F" + H14, {Bind(1, 1, 2)}},
        {"scale 7 selects scale 0", 1, {Bind(1, 1, 1, 7)}, "1F" + H14, {Bind(1, 1, 1, 0)}},
        {"scale -1 selects scale 0", 1, {Bind(1, 1, 1, -1)}, "1F" + H14, {Bind(1, 1, 1, 0)}},
        {"scales 0 to 3 kept", 1, {Bind(1, 1, 1, 0), Bind(2, 1, 1, 1), Bind(3, 1, 1, 2), Bind(4, 1, 1, 3)},
         "1111F" + std::string(11, 'H'), {Bind(1, 1, 1, 0), Bind(2, 1, 1, 1), Bind(3, 1, 1, 2), Bind(4, 1, 1, 3)}},
        {"a one-word item asked for two words shows one, locked", 1, {Bind(172, 2), Bind(1, 1)}, "11F" + std::string(13, 'H'),
         {Bind(172, 1), Bind(1, 1)}},
        {"nothing bound", 1, {}, "F" + H15, {}},
    };
}

}  // namespace

TEST(GbhBinding, LaysBindingTextsOutOverTheRows) {
    for (const LayoutCase& c : LayoutCases()) {
        SCOPED_TRACE(c.what);
        GbhBindingRows rows = LaidOut(c.entries, c.systems);
        EXPECT_EQ(Shape(rows), c.shape);

        rows.setBindInfo();
        EXPECT_EQ(rows.BindInfo, Entries(c.stored));

        // Laying out what the rows gave back changes nothing, and gives the same texts again.
        GbhBindingRows again(c.systems);
        again.BindInfo = rows.BindInfo;
        again.setBinding();
        for (int r = 0; r < GbhBindingRows::kRows; ++r) EXPECT_EQ(again.row(r), rows.row(r)) << "row " << r;
        again.setBindInfo();
        EXPECT_EQ(again.BindInfo, rows.BindInfo);
    }
}

TEST(GbhBinding, RowShowsItsItemWordsSystemAndScale) {
    const GbhBindingRows rows = LaidOut({Bind(39, 2, 2, 3), Bind(201, 1, 1, 1), Bind(8, 1)}, 2);
    const GbhChannelRow& eq = rows.row(0);
    EXPECT_EQ(eq.item, 39);
    EXPECT_EQ(eq.unit, "kvarh/10");
    EXPECT_EQ(eq.wordIndex, 1);
    EXPECT_FALSE(eq.wordLocked);
    EXPECT_EQ(eq.systemIndex, 1);
    EXPECT_EQ(eq.scaleIndex, 3);

    // The second word of the binding: nothing but its data word, first entries chosen.
    const GbhChannelRow& second = rows.row(1);
    EXPECT_FALSE(second.itemVisible);
    EXPECT_EQ(second.item, -1);
    EXPECT_EQ(second.systemIndex, 0);
    EXPECT_EQ(second.scaleIndex, 0);

    const GbhChannelRow& harmonic = rows.row(2);
    EXPECT_EQ(harmonic.item, 201);
    EXPECT_EQ(harmonic.unit, "%/10");
    EXPECT_EQ(harmonic.wordIndex, 0);
    EXPECT_TRUE(harmonic.wordLocked);
    EXPECT_EQ(harmonic.scaleIndex, 1);

    // A direction item has an empty unit.
    EXPECT_EQ(rows.row(3).item, 8);
    EXPECT_EQ(rows.row(3).unit, "");
    EXPECT_EQ(rows.row(4).item, -1);
    EXPECT_TRUE(rows.row(4).itemVisible);
}

TEST(GbhBinding, ARowOutsideTheSixteenIsIgnored) {
    GbhBindingRows rows = LaidOut({Bind(1, 1)});
    const GbhBindingRows before = rows;
    rows.setChSetting(16, Bind(2, 1));
    rows.setChSetting(-1, Bind(2, 1));
    rows.cbItem_Click(16, 3);
    rows.cbWordNum_Click(-1, 1);
    rows.selectSystem(99, 0);
    rows.setValue(16, "x");
    for (int r = 0; r < GbhBindingRows::kRows; ++r) EXPECT_EQ(rows.row(r), before.row(r));
    EXPECT_EQ(rows.row(99), rows.row(0));
}

TEST(GbhBinding, PickingAnItemInTheFirstFreeRowBindsItAndOpensTheNext) {
    GbhBindingRows rows = LaidOut({Bind(1, 1)});
    rows.setValue(0, "12");
    rows.cbItem_Click(1, 44);
    EXPECT_EQ(Shape(rows), "11F" + std::string(13, 'H'));
    EXPECT_EQ(rows.row(1).item, 44);
    EXPECT_EQ(rows.row(1).unit, "mA");
    EXPECT_EQ(rows.row(0).value, "12");  // a row that stays bound keeps its value
    EXPECT_EQ(rows.BindInfo, Entries({Bind(1, 1), Bind(44, 1)}));
}

TEST(GbhBinding, BindingTheLastFreeRowLeavesNoFreeRow) {
    GbhBindingRows rows = LaidOut(Items(1, 15, 1));
    ASSERT_EQ(Shape(rows), std::string(15, '1') + "F");
    rows.cbItem_Click(15, 200);
    EXPECT_EQ(Shape(rows), std::string(16, '1'));
    EXPECT_EQ(rows.BindInfo, Entries(Concat(Items(1, 15, 1), {Bind(200, 1)})));
}

TEST(GbhBinding, PickingTheBlankItemUnbindsTheRowAndEveryRowBelow) {
    // Row 2 of five bound rows; also an index outside the list does the same, safely.
    for (int index : {0, -1, 472, 100000}) {
        SCOPED_TRACE(index);
        GbhBindingRows rows = LaidOut(Items(1, 5, 1));
        rows.setValue(2, "7");
        rows.cbItem_Click(2, index);
        EXPECT_EQ(Shape(rows), "11F" + std::string(13, 'H'));
        EXPECT_EQ(rows.BindInfo, Entries(Items(1, 2, 1)));
    }
}

TEST(GbhBinding, ChangingTheWordCountUnbindsEveryRowBelow) {
    {
        SCOPED_TRACE("row 0 of five, one word to two");
        GbhBindingRows rows = LaidOut(Items(1, 5, 1));
        rows.cbWordNum_Click(0, 1);
        EXPECT_EQ(Shape(rows), "2HF" + std::string(13, 'H'));
        EXPECT_EQ(rows.BindInfo, Entries({Bind(1, 2)}));
    }
    {
        SCOPED_TRACE("row 0 of five, two words to one");
        GbhBindingRows rows = LaidOut(Concat({Bind(1, 2)}, Items(2, 4, 1)));
        ASSERT_EQ(Shape(rows), "2H1111F" + std::string(9, 'H'));
        rows.cbWordNum_Click(0, 0);
        EXPECT_EQ(Shape(rows), "1F" + H14);
        EXPECT_EQ(rows.BindInfo, Entries({Bind(1, 1)}));
    }
    {
        SCOPED_TRACE("the last bound row: nothing below to lose");
        GbhBindingRows rows = LaidOut(Items(1, 3, 1));
        rows.cbWordNum_Click(2, 1);
        EXPECT_EQ(Shape(rows), "112HF" + std::string(11, 'H'));
    }
    {
        SCOPED_TRACE("two words asked on row 15 shows one");
        GbhBindingRows rows = LaidOut(Items(1, 16, 1));
        rows.cbWordNum_Click(15, 1);
        EXPECT_EQ(Shape(rows), std::string(16, '1'));
        rows.setBindInfo();
        EXPECT_EQ(rows.BindInfo, Entries(Items(1, 16, 1)));
    }
}

TEST(GbhBinding, AWordChoiceThatChangesNothingKeepsTheRowsBelow) {
    const std::string full = std::string(16, '1');
    struct {
        const char* what;
        int row;
        int index;
    } cases[] = {
        {"the same count again", 0, 0},
        {"a locked one-word item", 1, 1},
        {"an index outside the list", 0, 2},
        {"no selection", 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GbhBindingRows rows = LaidOut(Concat({Bind(1, 1), Bind(172, 1)}, Items(2, 14, 1)));
        rows.cbWordNum_Click(c.row, c.index);
        EXPECT_EQ(Shape(rows), full);
        EXPECT_EQ(rows.row(1).wordIndex, 0);
    }
}

TEST(GbhBinding, SystemAndScaleChoicesGoIntoTheBindingTexts) {
    GbhBindingRows rows = LaidOut({Bind(1, 1), Bind(2, 2)}, 2);
    rows.selectSystem(0, 1);
    rows.selectScale(0, 3);
    rows.selectScale(1, 2);
    rows.setBindInfo();
    EXPECT_EQ(rows.BindInfo, Entries({Bind(1, 1, 2, 3), Bind(2, 2, 1, 2)}));

    // Outside the lists nothing is chosen: no system is stored as 0, and a
    // missing scale is shown as scale 0 again.
    rows.selectSystem(0, 2);
    rows.selectScale(1, 4);
    rows.setBindInfo();
    EXPECT_EQ(rows.BindInfo, Entries({Bind(1, 1, 0, 3), Bind(2, 2, 1, -1)}));
    rows.setBinding();
    EXPECT_EQ(rows.row(0).systemIndex, -1);
    EXPECT_EQ(rows.row(1).scaleIndex, 0);
}

TEST(GbhBinding, ASecondSystemGoneSelectsNone) {
    GbhBindingRows rows = LaidOut({Bind(1, 1, 2)}, 2);
    ASSERT_EQ(rows.row(0).systemIndex, 1);
    rows.setSystemCount(1);
    EXPECT_EQ(rows.row(0).systemIndex, -1);
    rows.selectSystem(0, 1);
    EXPECT_EQ(rows.row(0).systemIndex, -1);
}

TEST(GbhBinding, RowsNeverLaidOutAreSkippedWhenRebuilding) {
    GbhBindingRows rows;
    EXPECT_EQ(rows.row(0).wordIndex, -1);
    rows.BindInfo[0] = Bind(5, 1);
    rows.setBindInfo();
    EXPECT_EQ(rows.BindInfo, Entries({}));
}

TEST(GbhBinding, AnUnansweredBindingReadKeepsTheTextHeldBefore) {
    const struct {
        const char* reply;
        const char* kept;
    } cases[] = {
        {"12:40001;2;1;0", "40001;2;1;0"},
        {"40003;1;1;0", "40003;1;1;0"},
        {"12:0;0;0;0", "0;0;0;0"},
        {"", "40005;1;1;0"},
        {"CNG", "40005;1;1;0"},
        {"NEEDLESS", "40005;1;1;0"},
    };
    for (const auto& c : cases) EXPECT_EQ(talvo::screens::UploadedBindingText(c.reply, "40005;1;1;0"), c.kept) << c.reply;
}

TEST(GbhBinding, AFailedReadDuringAnUploadLosesNoLaterBinding) {
    // Five bindings held; the card answers every binding read but the third.
    GbhBindingRows rows = LaidOut(Concat({Bind(1, 2)}, Items(2, 4, 1)));
    rows.setBindInfo();
    const std::array<std::string, 16> held = rows.BindInfo;
    for (std::size_t i = 0; i < held.size(); ++i) {
        const std::string reply = i == 2 ? "" : std::to_string(10 + i) + ":" + held[i];
        rows.BindInfo[i] = talvo::screens::UploadedBindingText(reply, held[i]);
    }
    rows.setBinding();
    EXPECT_EQ(Shape(rows), "2H1111F" + std::string(9, 'H'));
    // What a download would send.
    rows.setBindInfo();
    EXPECT_EQ(rows.BindInfo, held);
}
