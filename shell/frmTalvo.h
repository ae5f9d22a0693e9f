#pragma once
// The main window: link indicator, card list, the commands for the communication
// card, monitoring and DIP-switch check, the menus, and the client area that shows
// one child screen at a time. It is the core's view of the main window.
#include <QMainWindow>
#include <cstdint>
#include <string>

#include "core/MainView.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;

namespace talvo::shell {

class frmLoading;
class LampShape;

class frmTalvo : public QMainWindow, public MainView {
    Q_OBJECT
public:
    explicit frmTalvo(QWidget* parent = nullptr);
    ~frmTalvo() override;

    using QMainWindow::isEnabled;
    using QMainWindow::setEnabled;

    // MainView
    void setEnabled(MainControl c, bool on) override;
    bool isEnabled(MainControl c) const override;
    void setSpecialSettingFrameVisible(bool visible) override;
    void setSpecialSettingCaption(const std::string& caption) override;
    // Selecting another entry runs the card list's click, as a pick by the user does.
    void selectCardListEntry(int index) override;
    void setLink(std::uint32_t lampColor, const std::string& comPort, const std::string& status) override;
    void showProgress(int steps, const std::string& caption) override;
    void setProgress(int value) override;
    int progress() const override;
    void closeProgress() override;
    void setStopsOwed(const std::string& text) override;

    // Card list entries 1..16: "01:" .. "16:", or with the slot's card name.
    void ClearCardList();
    void FillCardList();

    // The client area the child screens are placed in.
    QWidget* clientArea() const { return mdiClient_; }
    // The progress window; nullptr until a transfer first showed it.
    frmLoading* progressWindow() const { return loading_; }
    std::uint32_t lampColor() const { return lampColor_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildTopBar(QWidget* bar);
    void buildLeftPanel(QWidget* panel);
    QWidget* control(MainControl c) const;
    QAction* action(MainControl c) const;

    // A command that talks to the station runs when the line is free: at once, or
    // once the routine that holds the line has ended (if the command is still enabled).
    void whenLineFree(const char* key, MainControl c, void (frmTalvo::*command)());
    void cboCardNo_Click();
    void cboCardNo_Pick();
    void CmdUpload_Click();
    void CmdUpload_Run();
    void cmdStart_Click();
    void cmdStart_Run();
    void cmdStop_Click();
    void cmdOverView_Click();
    void cmdComm_Click();
    void cmdComm_Run();
    void cmdSpecialSetting_Click();
    void cmdSpecialSetting_Run();
    void cmdSWcheck_Click();
    void cmdSWcheck_Run();
    void mnuConnectConnect_Click();
    void mnuConnectConnect_Run();
    void mnuConnectDisconnect_Click();
    void mnuFilesOpen_Click();
    void mnuFilesSave_Click();
    void mnuHelpVersion_Click();
    void mnuFilesEnd_Click();
    // Ends the program at once, once the cards were told what they must be told.
    void endNow();
    // True once no stop is owed, or the user chose to end all the same.
    bool endingAgreed();
    // The screen shown serves what it accepted before the program ends; false
    // while the line is busy.
    bool leaveBeforeTheEnd();

    QMenu* mnuConnect_ = nullptr;
    QAction* mnuFilesOpen_ = nullptr;
    QAction* mnuFilesSave_ = nullptr;
    QAction* mnuFilesEnd_ = nullptr;
    QAction* mnuConnectConnect_ = nullptr;
    QAction* mnuConnectDisconnect_ = nullptr;
    QAction* mnuHelpVersion_ = nullptr;

    QLabel* lblComPortNo_ = nullptr;
    LampShape* shpLamp_ = nullptr;
    QLabel* lblConStatus_ = nullptr;
    QLabel* lblStopsOwed_ = nullptr;
    QComboBox* cboCardNo_ = nullptr;
    QPushButton* cmdOverView_ = nullptr;
    QPushButton* CmdUpload_ = nullptr;
    QPushButton* cmdComm_ = nullptr;
    QGroupBox* fraCmd_ = nullptr;
    QPushButton* cmdSpecialSetting_ = nullptr;
    QPushButton* cmdStart_ = nullptr;
    QPushButton* cmdStop_ = nullptr;
    QPushButton* cmdSWcheck_ = nullptr;
    QWidget* mdiClient_ = nullptr;
    frmLoading* loading_ = nullptr;
    std::uint32_t lampColor_ = 0;
};

}  // namespace talvo::shell
