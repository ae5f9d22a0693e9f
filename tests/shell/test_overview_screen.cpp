// The overview screen draws the core's overview model: which cells a row shows
// per card family, their captions and colours, and the grid's geometry.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>

#include "core/Colors.h"
#include "core/Globals.h"
#include "core/Overview.h"
#include "ui/Geometry.h"
#include "shell/frmOverview.h"
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

// The old fault: "+12345" showed "+1234" and half a "5", "NEEDLESS" "NEEDI".
// A cell keeps its width and shows whole characters only, with an ellipsis
// when the value is longer, and the whole value in its tool tip.
TEST_F(OverviewScreenTest, AValueLongerThanItsCellShowsWholeCharactersAndAnEllipsis) {
    ShowChData("BW8", 6);
    OverviewRow* row = Overview().row(6);
    const char* const values[] = {"+12345", "NEEDLESS", "-0042", "", "+0.000001", "W"};
    for (std::size_t k = 0; k < std::size(values); ++k) row->values[k].caption = values[k];
    row->type.caption = "QFODH1-LONG-GATEWAY";
    Overview().changed(6);
    std::vector<QLabel*> cells{screen.cardType(6)};
    for (int k = 1; k <= static_cast<int>(std::size(values)); ++k) cells.push_back(screen.inputDataCh(6, k));
    for (QLabel* cell : cells) {
        SCOPED_TRACE(cell->text().toStdString());
        const QString shown = talvo::shell::ShownCellText(cell);
        const int room = cell->contentsRect().width() - cell->indent();
        EXPECT_LE(cell->fontMetrics().horizontalAdvance(shown), room) << "no glyph crosses the cell's edge";
        if (shown == cell->text()) {
            EXPECT_TRUE(cell->toolTip().isEmpty());
        } else {
            EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
            EXPECT_TRUE(cell->text().startsWith(shown.chopped(1)));
            EXPECT_EQ(cell->toolTip(), cell->text());
        }
    }
    EXPECT_EQ(talvo::shell::ShownCellText(screen.inputDataCh(6, 3)), "-0042") << "a value that fits shows whole";
    EXPECT_NE(talvo::shell::ShownCellText(screen.inputDataCh(6, 2)), "NEEDLESS");
    EXPECT_EQ(screen.inputDataCh(6, 1)->geometry().width(), ui::twips(615)) << "the cell keeps its width";
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
