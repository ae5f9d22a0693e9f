// The overview screen draws the core's overview model: which cells a row shows
// per card family, their captions and colours, and the grid's geometry.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QFontMetricsF>
#include <QLabel>

#include "core/Colors.h"
#include "core/Globals.h"
#include "core/Overview.h"
#include "ui/Geometry.h"
#include "shell/frmOverview.h"
#include "tests/support/Contrast.h"
#include "tests/support/SimFixture.h"

using namespace talvo;
using talvo::shell::frmOverview;

namespace {

class OverviewScreenTest : public ::testing::Test {
protected:
    OverviewScreenTest() {
        test::resetProgramState();
        Overview().reset();
    }
    ~OverviewScreenTest() override {
        Overview().reset();
        test::resetProgramState();
    }
    frmOverview screen;
};

struct LayoutCase {
    const char* code;
    int lamps;  // lamps 1..lamps shown, the rest hidden
    bool values;
};

const LayoutCase kLayouts[] = {
    {"JO8", 8, false},  {"JH8", 8, false},   {"JO16", 16, false}, {"KR4", 16, false},
    {"JO64", 32, false}, {"IK16", 32, false}, {"KR8", 32, false},  {"KE16", 0, true},
    {"BW4", 0, true},   {"NONE", 0, true},
};

TEST_F(OverviewScreenTest, EachFamilyShowsItsCells) {
    for (const auto& c : kLayouts) {
        SCOPED_TRACE(c.code);
        ShowChData(c.code, 5);
        for (int k = 1; k <= 32; ++k) EXPECT_EQ(!screen.diDataCh(5, k)->isHidden(), k <= c.lamps) << "lamp " << k;
        for (int k = 1; k <= 8; ++k) EXPECT_EQ(!screen.inputDataCh(5, k)->isHidden(), c.values) << "value " << k;
        for (int k = 1; k <= 4; ++k) EXPECT_TRUE(screen.inputDataLCh(5, k)->isHidden()) << "wide " << k;
    }
}

TEST_F(OverviewScreenTest, CellsFollowTheModel) {
    ShowChData("BW4", 4);
    OverviewRow* row = Overview().row(4);
    row->status.caption = "IN";
    row->type.caption = "BW4";
    row->type.foreColor = colors::Blue;
    row->values[2].caption = "-0042";
    row->values[2].backColor = colors::White;
    Overview().changed(4);

    EXPECT_EQ(screen.cardStatus(4)->text(), "IN");
    EXPECT_EQ(screen.cardType(4)->text(), "BW4");
    EXPECT_EQ(screen.cardType(4)->palette().color(QPalette::WindowText), ui::toQColor(colors::Blue));
    EXPECT_EQ(screen.inputDataCh(4, 3)->text(), "-0042");
    EXPECT_EQ(screen.inputDataCh(4, 3)->palette().color(QPalette::Window), QColor(Qt::white));

    ShowChData("JO8", 4);
    SetOverviewPointColor(4, 2, colors::Red);
    EXPECT_EQ(screen.diDataCh(4, 2)->palette().color(QPalette::Window), QColor(Qt::red));

    ClearOverviewRow(4);
    EXPECT_EQ(screen.cardStatus(4)->text(), "");
    EXPECT_EQ(screen.cardType(4)->text(), "");
    EXPECT_EQ(screen.diDataCh(4, 2)->palette().color(QPalette::Window), ui::toQColor(colors::SysMenu));
    EXPECT_FALSE(screen.diDataCh(4, 2)->isHidden());
}

// The old faults: "+12345" showed "+1234" and half a "5", "NEEDLESS" "NEEDI";
// then "+12\u2026" and "NE\u2026". A cell keeps its width; a value wider than it
// is drawn narrower, whole; only a value too long even narrowed is cut after a
// whole character, ends in an ellipsis and has the whole value in its tool tip.
TEST_F(OverviewScreenTest, AValueLongerThanItsCellShowsWholeCharactersAndAnEllipsis) {
    ShowChData("BW8", 6);
    OverviewRow* row = Overview().row(6);
    const char* const values[] = {"+12345", "NEEDLESS", "-0042", "", "+0.000001", "W", "+0.00000123456789"};
    for (std::size_t k = 0; k < std::size(values); ++k) row->values[k].caption = values[k];
    row->type.caption = "QFODH1-LONG-GATEWAY-NAME-X";
    Overview().changed(6);
    std::vector<QLabel*> cells{screen.cardType(6)};
    for (int k = 1; k <= static_cast<int>(std::size(values)); ++k) cells.push_back(screen.inputDataCh(6, k));
    for (QLabel* cell : cells) {
        SCOPED_TRACE(cell->text().toStdString());
        const talvo::shell::CellText shown = talvo::shell::LayOutCellText(cell);
        const int room = cell->contentsRect().width() - cell->indent();
        EXPECT_LE(QFontMetricsF(cell->font()).horizontalAdvance(shown.text) * shown.narrowing, room)
            << "no glyph crosses the cell's edge";
        EXPECT_GE(shown.narrowing, talvo::shell::kNarrowestCellText);
        EXPECT_LE(shown.narrowing, 1.0);
        if (shown.text == cell->text()) {
            EXPECT_TRUE(cell->toolTip().isEmpty());
        } else {
            EXPECT_TRUE(shown.text.endsWith(QChar(0x2026))) << shown.text.toStdString();
            EXPECT_TRUE(cell->text().startsWith(shown.text.chopped(1)));
            EXPECT_EQ(cell->toolTip(), cell->text());
        }
    }
    EXPECT_EQ(talvo::shell::LayOutCellText(screen.inputDataCh(6, 3)).narrowing, 1.0)
        << "a value that fits keeps its width";
    EXPECT_EQ(talvo::shell::ShownCellText(screen.inputDataCh(6, 2)), "NEEDLESS");
    EXPECT_TRUE(talvo::shell::ShownCellText(screen.inputDataCh(6, 7)).endsWith(QChar(0x2026)));
    EXPECT_TRUE(talvo::shell::ShownCellText(screen.cardType(6)).endsWith(QChar(0x2026)));
    EXPECT_EQ(screen.inputDataCh(6, 1)->geometry().width(), ui::twips(615)) << "the cell keeps its width";
}

// Every value a card family gives, at its longest, reads whole in its cell,
// measured with the cell font's own metrics; so does every name and kind.
TEST_F(OverviewScreenTest, TheLongestValueOfEveryFamilyShowsWhole) {
    const struct {
        const char* code;
        std::vector<const char*> values;  // into the value cells, or the wide cells of "IY8"
        const char* name;                 // what the type cell shows
    } families[] = {
        {"BW8", {"+12345", "-12345", "NEEDLESS", "CNG", "+00000", "-00000", "NEEDLESS", "+12345"}, "BW8"},
        {"HG8A", {"+12345", "-12345", "NEEDLESS", "CNG"}, "HG8A"},
        {"YK4", {"+12345", "-12345", "NEEDLESS", "CNG"}, "YK4"},
        {"XR4", {"+12345", "-12345", "NEEDLESS", "CNG"}, "XR4"},
        {"EAJ2", {"+100.0", "-100.0", "NEEDLESS", "CNG"}, "EAJ2"},
        {"QFODH1", {"+1234.5", "-1234.5", "NEEDLESS", "CNG", "+12345", "-12345", "+1234.5", "CNG"}, "QFOD(1)"},
        {"QFODHG", {"+12345", "-12345", "CNG", "NEEDLESS", "+12345", "-12345", "+12345", "-12345"}, "QFOD(16)"},
        {"GBH", {"+12345", "-12345", "NEEDLESS", "CNG", "+12345", "-12345", "+12345", "-12345"}, "GBH1123/D(2)"},
        {"GB10", {"+12345", "-12345", "NEEDLESS", "CNG"}, "GB10"},
        {"FS2", {"+12345", "-12345", "NEEDLESS", "CNG"}, "FS2"},
        {"IY16", {"65535", "65535", "NEEDLESS", "CNG", "65535", "65535", "65535", "65535"}, "IY16"},
        {"LQN8", {"+12345", "-12345", "NEEDLESS", "CNG", "+12345", "-12345", "+12345", "-12345"}, "LQN8"},
        {"IY8", {"2147483647", "2147483647", "NEEDLESS", "CNG"}, "IY8"},
    };
    const int slot = 7;
    for (const auto& f : families) {
        SCOPED_TRACE(f.code);
        ShowChData(f.code, slot);
        OverviewRow* row = Overview().row(slot);
        const bool wide = std::string(f.code) == "IY8";
        std::vector<QLabel*> cells{screen.cardStatus(slot), screen.cardType(slot)};
        row->status.caption = "IN/OUT";
        row->type.caption = f.name;
        for (std::size_t k = 0; k < f.values.size(); ++k) {
            (wide ? row->wide[k] : row->values[k]).caption = f.values[k];
            if (wide) row->wide[k].visible = true;  // as the 8-channel pulse screen shows them
            cells.push_back(wide ? screen.inputDataLCh(slot, static_cast<int>(k) + 1)
                                 : screen.inputDataCh(slot, static_cast<int>(k) + 1));
        }
        Overview().changed(slot);
        for (QLabel* cell : cells) {
            SCOPED_TRACE(cell->text().toStdString());
            EXPECT_FALSE(cell->isHidden());
            const talvo::shell::CellText shown = talvo::shell::LayOutCellText(cell);
            EXPECT_EQ(shown.text, cell->text()) << "elided";
            EXPECT_LE(QFontMetricsF(cell->font()).horizontalAdvance(shown.text) * shown.narrowing,
                      cell->contentsRect().width() - cell->indent());
            EXPECT_TRUE(cell->toolTip().isEmpty());
        }
        ClearOverviewRow(slot);
    }
}

// The old fault: an empty slot's "NONE" was drawn in the window-background
// colour, white on the cell's light grey, and could hardly be read. Sampled as
// drawn, next to a card's blue name, on the cell's face as it was.
TEST_F(OverviewScreenTest, AnEmptySlotsNameReadsOnItsCell) {
    const struct {
        const char* code;
        const char* shown;
    } cases[] = {{"NONE", "NONE"}, {"UNKNOWN", "UNKNOWN"}, {"BW4", "BW4"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        SetCardIoKind(7, c.code);
        QLabel* name = screen.cardType(7);
        ASSERT_EQ(name->text(), c.shown);
        const test::TextColours drawn = test::SampleText(name);
        EXPECT_EQ(drawn.back, ui::toQColor(colors::SysMenu));
        EXPECT_GE(drawn.ratio, 4.5) << "text " << drawn.text.name().toStdString() << " on "
                                    << drawn.back.name().toStdString();
    }
}

TEST_F(OverviewScreenTest, ActivationLaysOutEveryRowFromTheRecords) {
    G().CardRecords.get(2)->CardType = "JO8";
    G().CardRecords.get(3)->CardType = "BW8";

    screen.formActivate();

    EXPECT_EQ(screen.cardType(2)->text(), "JO8");
    EXPECT_FALSE(screen.diDataCh(2, 8)->isHidden());
    EXPECT_TRUE(screen.diDataCh(2, 9)->isHidden());
    EXPECT_EQ(screen.cardType(3)->text(), "BW8");
    EXPECT_FALSE(screen.inputDataCh(3, 8)->isHidden());
    EXPECT_TRUE(screen.diDataCh(3, 1)->isHidden());
}

TEST_F(OverviewScreenTest, GridGeometryInTwips) {
    using ui::twipsRect;
    EXPECT_EQ(screen.findChild<QGroupBox*>("Frame1")->geometry(), twipsRect(120, 120, 9315, 6885));
    EXPECT_EQ(screen.findChild<QGroupBox*>("Frame1")->title(), " OverView");
    const struct {
        QLabel* cell;
        QRect at;
    } cells[] = {
        {screen.unitNo(1), twipsRect(360, 960, 255, 255)},
        {screen.cardStatus(16), twipsRect(720, 6360, 975, 270)},
        {screen.cardType(2), twipsRect(1800, 1320, 1515, 270)},
        {screen.inputDataCh(3, 8), twipsRect(3480 + 720 * 7, 1680, 615, 270)},
        {screen.inputDataLCh(4, 2), twipsRect(3480 + 1440, 2040, 1335, 270)},
        {screen.diDataCh(5, 6), twipsRect(3480 + 720 + 120, 2400, 135, 270)},
        {screen.diDataCh(5, 32), twipsRect(3480 + 720 * 7 + 360, 2400, 135, 270)},
    };
    for (const auto& c : cells) EXPECT_EQ(c.cell->geometry(), c.at) << c.cell->objectName().toStdString();
    EXPECT_EQ(screen.unitNo(9)->text(), "09");
}

}  // namespace
