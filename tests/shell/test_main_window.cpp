// The main window's start, its card list and child screens, the "SpecialSetting"
// frame, and Exit.
#include <gtest/gtest.h>

#include "core/Colors.h"
#include "core/Connection.h"
#include "core/Overview.h"
#include "shell/ChildForms.h"
#include "ui/Geometry.h"
#include "shell/frmOverview.h"
#include "tests/shell/ShellFixture.h"

using namespace talvo;
using talvo::test::ShellTest;

namespace {

TEST_F(ShellTest, StartsFixedSizeOnTheOverview) {
    EXPECT_EQ(window->windowTitle(), "TALVO");
    EXPECT_EQ(window->size(), QSize(ui::twips(12000), ui::twips(8600)));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

    EXPECT_FALSE(G().StartingUp);
    EXPECT_EQ(G().CurFormType, "Over");
    EXPECT_EQ(G().PrevFormType, "Over");
    EXPECT_TRUE(shell::childForms().isShown("Over"));
    EXPECT_EQ(shell::childForms().screen("Over")->geometry(), ui::twipsRect(0, 0, 9650, 7400));

    ASSERT_EQ(cardList()->count(), 17);
    EXPECT_EQ(cardList()->itemText(0), "00:OverView");
    EXPECT_EQ(cardList()->itemText(16), "16");
    EXPECT_EQ(cardList()->currentIndex(), 0);
    EXPECT_EQ(cardList()->maxVisibleItems(), 17);

    EXPECT_TRUE(child("fraCmd")->isHidden());
    EXPECT_EQ(labelText("lblConStatus"), "Disconnected");
    EXPECT_EQ(labelText("lblComPortNo"), "");
    EXPECT_EQ(window->lampColor(), colors::Navy);
}

TEST_F(ShellTest, CommSettingButtonFollowsTheModel) {
    const struct {
        const char* model;
        bool shown;
        const char* caption;
    } cases[] = {
        {"K6-OW1", true, "Ethernet Setting"},
        {"K6-OWHD", false, "SpecialSetting"},
        {"K6-OP2", true, "OPx Setting"},
        {"", false, "SpecialSetting"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        button("cmdSpecialSetting")->setText("SpecialSetting");
        SetCommSettingButton(c.model);
        EXPECT_EQ(!child("fraCmd")->isHidden(), c.shown);
        EXPECT_EQ(button("cmdSpecialSetting")->text(), c.caption);
    }
}

// "SpecialSetting" hides its frame for a model without a dialog of its own (or a
// master card); the Connect menu is usable again afterwards.
TEST_F(ShellTest, SpecialSettingHidesTheFrameWhenTheModelHasNoDialog) {
    const struct {
        const char* model;
        bool master;
        bool frameStays;
    } cases[] = {
        {"K6-OW1", false, true},   {"K6-OXF1F", false, true}, {"K6-QFODH1", false, true},
        {"K6-OW1", true, false},   {"K6-OWHD", false, false}, {"K6-ZZ9", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.model) + (c.master ? " master" : ""));
        G().CommCardModel = c.model;
        G().IsMasterComm = c.master;
        window->setSpecialSettingFrameVisible(true);
        button("cmdSpecialSetting")->click();
        EXPECT_EQ(!child("fraCmd")->isHidden(), c.frameStays);
        EXPECT_TRUE(menu("mnuConnectMenu")->isEnabled());
    }
}

TEST_F(ShellTest, CardListPicksTheChildScreen) {
    connectAndUpload();

    sim.clearFrames();
    cardList()->setCurrentIndex(15);  // an empty slot: its screen replaces the overview
    EXPECT_EQ(G().CurCardNo, 15);
    EXPECT_EQ(G().CurFormType, "NONE");
    EXPECT_TRUE(shell::childForms().isShown("NONE"));
    EXPECT_FALSE(shell::childForms().isShown("Over"));
    EXPECT_TRUE(sim.frames().empty());

    G().CardRecords.get(5)->CardType.clear();
    cardList()->setCurrentIndex(5);  // not uploaded: back to the overview, commands stay off
    EXPECT_EQ(G().CurFormType, "Over");
    EXPECT_TRUE(shell::childForms().isShown("Over"));
    EXPECT_FALSE(shell::childForms().isShown("NONE"));
    for (const char* b : {"CmdUpload", "cmdStart", "cmdComm", "cmdSpecialSetting", "cmdSWcheck"})
        EXPECT_FALSE(button(b)->isEnabled()) << b;
}

// Showing the overview again lays its rows out from the records (a file may have
// been opened meanwhile); staying on it does not.
TEST_F(ShellTest, OverviewIsLaidOutEachTimeItIsShown) {
    connectAndUpload();
    auto* ov = window->findChild<shell::frmOverview*>("frmOverview");
    cardList()->setCurrentIndex(1);
    G().CardRecords.get(2)->CardType = "JO8";

    cardList()->setCurrentIndex(0);

    EXPECT_EQ(ov->cardType(2)->text(), "JO8");
    EXPECT_FALSE(ov->diDataCh(2, 8)->isHidden());
    EXPECT_TRUE(ov->diDataCh(2, 9)->isHidden());
}

TEST_F(ShellTest, OverViewButtonRunsTheEntry0BranchAlthoughEntry0IsSelected) {
    ASSERT_EQ(cardList()->currentIndex(), 0);
    ASSERT_FALSE(menu("mnuFilesOpen")->isEnabled());
    button("cmdOverView")->click();
    EXPECT_TRUE(menu("mnuFilesOpen")->isEnabled());
    EXPECT_TRUE(button("CmdUpload")->isEnabled());
}

// A card screen talks to the station only while the card list does not have the
// focus; picking a card takes the focus off the list.
TEST_F(ShellTest, CardListFocusFlagFollowsTheFocus) {
    connectAndUpload();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    cardList()->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(G().CardListFocused);
    button("cmdOverView")->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(!G().CardListFocused);

    cardList()->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(G().CardListFocused);
    cardList()->setCurrentIndex(1);
    EXPECT_FALSE(G().CardListFocused);
    EXPECT_TRUE(cardList()->isEnabled());
}

TEST_F(ShellTest, ExitClosesThePortAndEndsTheProgram) {
    connectThroughMenu();
    ASSERT_TRUE(serial.isOpen());
    menu("mnuFilesEnd")->trigger();
    EXPECT_EQ(endCalls, 1);
    EXPECT_FALSE(serial.isOpen());
}

}  // namespace
