// The COM-port dialog's list, the version box and the progress window.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <cstdlib>

#include "ui/Geometry.h"
#include "shell/frmComPort.h"
#include "shell/frmLoading.h"
#include "shell/frmVersion.h"
#include "tests/shell/ShellFixture.h"

using namespace talvo;
using talvo::test::ShellTest;

namespace {

TEST(ComPortDialog, ListsCom1ToCom16AndOpensOnCom1EveryTime) {
    for (int opening = 0; opening < 2; ++opening) {
        shell::frmComPort dlg;
        QComboBox* list = dlg.portList();
        ASSERT_EQ(list->count(), 16);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(list->itemText(i), QString("COM%1").arg(i + 1));
        EXPECT_EQ(list->currentIndex(), 0);
        list->setCurrentIndex(11);
    }
    shell::frmComPort dlg;
    EXPECT_EQ(dlg.size(), QSize(ui::twips(4545), ui::twips(4395)));
}

TEST_F(ShellTest, VersionBoxFromTheHelpMenu) {
    QString title, version, name;
    onModal([&](QDialog& d) {
        title = d.windowTitle();
        version = dynamic_cast<shell::frmVersion&>(d).versionText();
        name = d.findChild<QLabel*>("lblTitle_0")->text();
        d.findChild<QPushButton*>("CmdOK")->click();
    });
    menu("mnuHelpVersion")->trigger();
    EXPECT_EQ(title, "Version TALVO ");
    EXPECT_EQ(version, "2.56.06");
    EXPECT_EQ(name, "TALVO");
}

TEST_F(ShellTest, ProgressWindowShowsStepsAndCaption) {
    MainView& view = *window;
    view.showProgress(12, "Downloading");
    shell::frmLoading* w = window->progressWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isWindow());
    EXPECT_EQ(w->maximum(), 12);
    EXPECT_EQ(w->value(), 0);
    EXPECT_EQ(w->caption(), "Downloading");

    view.setProgress(view.progress() + 1);
    EXPECT_EQ(view.progress(), 1);
    view.closeProgress();
    EXPECT_FALSE(w->isVisible());

    view.showProgress(16, "Uploading");
    EXPECT_EQ(w->value(), 0);
    EXPECT_EQ(w->maximum(), 16);
    EXPECT_EQ(w->caption(), "Uploading");
}

// Neither has a title bar; both stand in the middle of the main window.
TEST_F(ShellTest, ComPortDialogAndProgressWindowHaveNoCaptionAndCentreOnTheMainWindow) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QPoint centre = window->geometry().center();
    const auto expectCaptionless = [&](QWidget* w) {
        EXPECT_TRUE(w->isWindow());
        EXPECT_TRUE(w->windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_FALSE(w->windowFlags().testFlag(Qt::WindowTitleHint));
        EXPECT_EQ(w->windowTitle(), "");
        const QPoint off = w->geometry().center() - centre;  // a pixel or two of rounding
        EXPECT_LE(std::abs(off.x()), 2) << off.x();
        EXPECT_LE(std::abs(off.y()), 2) << off.y();
    };
    {
        SCOPED_TRACE("frmComPort");
        bool visible = false;
        onModal([&](QDialog& d) {
            d.show();
            visible = d.isVisible();
            expectCaptionless(&d);
            d.done(QDialog::Rejected);  // as if never answered; Exit would start a handshake
        });
        menu("mnuConnectConnect")->trigger();
        EXPECT_TRUE(visible);
    }
    {
        SCOPED_TRACE("frmLoading");
        MainView& view = *window;
        view.showProgress(12, "Uploading");
        ASSERT_NE(window->progressWindow(), nullptr);
        EXPECT_TRUE(window->progressWindow()->isVisible());
        expectCaptionless(window->progressWindow());
        view.closeProgress();
    }
}

}  // namespace
