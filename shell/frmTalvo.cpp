#include "shell/frmTalvo.h"

#include <QAction>
#include <array>
#include <QCloseEvent>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include "core/CardList.h"
#include "core/Colors.h"
#include "core/Connection.h"
#include "core/Globals.h"
#include "core/LineTurn.h"
#include "core/Overview.h"
#include "core/OwedStops.h"
#include "core/Protocol.h"
#include "core/SettingsFile.h"
#include "platform/Services.h"
#include "platform/qt/Modal.h"
#include "platform/qt/QtServices.h"
#include "shell/CardScreens.h"
#include "shell/ChildForms.h"
#include "shell/CommDialogs.h"
#include "shell/EndProgram.h"
#include "ui/Geometry.h"
#include "ui/ValueStates.h"
#include "shell/frmComPort.h"
#include "shell/frmLoading.h"
#include "shell/frmNONE.h"
#include "shell/frmOverview.h"
#include "shell/frmSWcheck.h"
#include "shell/frmVersion.h"

namespace talvo::shell {

// The link lamp: a filled circle with a thin outline.
class LampShape : public QWidget {
public:
    explicit LampShape(QWidget* parent) : QWidget(parent) {}
    void setColor(std::uint32_t color) {
        color_ = color;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(ui::toQColor(color_));
        p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }

private:
    std::uint32_t color_ = colors::Navy;
};

// The client area: a dark workspace behind the child screens. It paints its own
// colour, so the screens inside keep the ordinary background roles.
class ClientArea : public QWidget {
public:
    explicit ClientArea(QWidget* parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), palette().color(QPalette::Dark)); }
};

namespace {

QPushButton* button(QWidget* parent, const char* name, const char* caption, int left, int top, int width,
                    int height) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    ui::placeTwips(b, left, top, width, height);
    return b;
}

QGroupBox* frame(QWidget* parent, const char* name, const char* caption, int left, int top, int width, int height) {
    auto* f = new QGroupBox(caption, parent);
    f->setObjectName(name);
    ui::placeTwips(f, left, top, width, height);
    return f;
}

QString cardListPrefix(int n) { return QString("%1:").arg(n, 2, 10, QChar('0')); }

}  // namespace

frmTalvo::frmTalvo(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmTalvo");
    setWindowTitle(platform::kAppTitle);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    buildMenus();
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    auto* picture1 = new QWidget(central);
    picture1->setObjectName("Picture1");
    picture1->setFixedHeight(ui::twips(855));
    auto* picture2 = new QWidget(central);
    picture2->setObjectName("Picture2");
    picture2->setFixedWidth(ui::twips(2160));
    mdiClient_ = new ClientArea(central);
    mdiClient_->setObjectName("mdiClient");
    grid->addWidget(picture1, 0, 0, 1, 2);
    grid->addWidget(picture2, 1, 0);
    grid->addWidget(mdiClient_, 1, 1);
    buildTopBar(picture1);
    buildLeftPanel(picture2);
    setCentralWidget(central);
    setFixedSize(ui::twips(12000), ui::twips(8600));

    // Design-time states; InitGlobals sets the rest of the start state.
    for (MainControl c : {MainControl::cmdStart, MainControl::cmdSWcheck, MainControl::mnuFilesOpen,
                          MainControl::mnuFilesSave})
        setEnabled(c, false);
    setLink(colors::Navy, "", "Disconnected");

    ChildForms& forms = childForms();
    forms.setContainer(mdiClient_);
    forms.registerScreen("Over", [](QWidget* p) { return new frmOverview(p); });
    forms.registerScreen("NONE", [](QWidget* p) { return new frmNONE(p); });

    setMainView(this);
    InitGlobals();
    G().CurFormType = "Over";
    ShowChildForm("Over");
    G().StartingUp = false;
    cboCardNo_->setMaxVisibleItems(17);
    G().CommCardModel.clear();

    // A stop owed to an actuator goes out at the turns of the line; with
    // nothing else talking to the station it gets a turn of its own.
    auto* owedStops = new QTimer(this);
    connect(owedStops, &QTimer::timeout, this, [] { ServeOwedStops(); });
    owedStops->start(kOwedStopIdleCheckMs);
}

frmTalvo::~frmTalvo() {
    setMainView(nullptr);
    childForms().forgetScreens();
    childForms().setContainer(nullptr);
}

void frmTalvo::buildMenus() {
    QMenu* files = menuBar()->addMenu("File");
    files->setObjectName("mnuFiles");
    mnuFilesOpen_ = files->addAction("Open");
    mnuFilesOpen_->setObjectName("mnuFilesOpen");
    mnuFilesSave_ = files->addAction("Save");
    mnuFilesSave_->setObjectName("mnuFilesSave");
    files->addSeparator();
    mnuFilesEnd_ = files->addAction("Exit");
    mnuFilesEnd_->setObjectName("mnuFilesEnd");

    mnuConnect_ = menuBar()->addMenu("Connect");
    mnuConnect_->setObjectName("mnuConnect");
    mnuConnect_->menuAction()->setObjectName("mnuConnectMenu");
    mnuConnectConnect_ = mnuConnect_->addAction("Connect");
    mnuConnectConnect_->setObjectName("mnuConnectConnect");
    mnuConnectDisconnect_ = mnuConnect_->addAction("Disconnect");
    mnuConnectDisconnect_->setObjectName("mnuConnectDisconnect");

    QMenu* help = menuBar()->addMenu("Help");
    help->setObjectName("mnuHelp");
    mnuHelpVersion_ = help->addAction("Version");
    mnuHelpVersion_->setObjectName("mnuHelpVersion");

    connect(mnuFilesOpen_, &QAction::triggered, this, &frmTalvo::mnuFilesOpen_Click);
    connect(mnuFilesSave_, &QAction::triggered, this, &frmTalvo::mnuFilesSave_Click);
    connect(mnuFilesEnd_, &QAction::triggered, this, &frmTalvo::mnuFilesEnd_Click);
    connect(mnuConnectConnect_, &QAction::triggered, this, &frmTalvo::mnuConnectConnect_Click);
    connect(mnuConnectDisconnect_, &QAction::triggered, this, &frmTalvo::mnuConnectDisconnect_Click);
    connect(mnuHelpVersion_, &QAction::triggered, this, &frmTalvo::mnuHelpVersion_Click);
}

void frmTalvo::buildTopBar(QWidget* bar) {
    QGroupBox* fraSign = frame(bar, "fraSign", "", 120, 255, 3240, 540);
    lblComPortNo_ = ui::newLabel(fraSign, "", 240, 120, 840);
    lblComPortNo_->setObjectName("lblComPortNo");
    shpLamp_ = new LampShape(fraSign);
    shpLamp_->setObjectName("shpLamp");
    ui::placeTwips(shpLamp_, 1140, 142, 255, 255);
    lblConStatus_ = ui::newLabel(fraSign, "Disconnected", 1560, 120, 1560);
    lblConStatus_->setObjectName("lblConStatus");

    QGroupBox* fraUnit = frame(bar, "fraUnit", "Module select", 3480, 0, 5400, 795);
    ui::newLabel(fraUnit, "Card No.", 240, 360, 900, Qt::AlignLeft, 330)->setObjectName("Label2");
    cboCardNo_ = new QComboBox(fraUnit);
    cboCardNo_->setObjectName("cboCardNo");
    ui::placeTwips(cboCardNo_, 1140, 345, 2400, 360);
    cboCardNo_->addItem("00:OverView");
    for (int n = 1; n <= 16; ++n) cboCardNo_->addItem(QString("%1").arg(n, 2, 10, QChar('0')));
    cboCardNo_->installEventFilter(this);
    cboCardNo_->view()->window()->installEventFilter(this);
    connect(cboCardNo_, &QComboBox::currentIndexChanged, this, &frmTalvo::cboCardNo_Click);
    cmdOverView_ = button(fraUnit, "cmdOverView", "OverView", 3780, 330, 1440, 390);
    connect(cmdOverView_, &QPushButton::clicked, this, &frmTalvo::cmdOverView_Click);

    // A motor that may still be moving stays in sight until its card answered the stop.
    lblStopsOwed_ = ui::newLabel(bar, "", 9000, 300, 2880, Qt::AlignCenter, 360);
    lblStopsOwed_->setObjectName("lblStopsOwed");
    ui::setBackColor(lblStopsOwed_, colors::Red);
    ui::setForeColor(lblStopsOwed_, colors::White);
    lblStopsOwed_->setAutoFillBackground(true);
    lblStopsOwed_->hide();
}

void frmTalvo::buildLeftPanel(QWidget* panel) {
    QGroupBox* frame1 = frame(panel, "Frame1", "Com. Card", 120, 120, 1920, 1500);
    CmdUpload_ = button(frame1, "CmdUpload", "Upload", 240, 360, 1440, 450);
    cmdComm_ = button(frame1, "cmdComm", "Setting", 240, 900, 1440, 450);

    fraCmd_ = frame(panel, "fraCmd", "", 120, 1740, 1920, 780);
    cmdSpecialSetting_ = button(fraCmd_, "cmdSpecialSetting", "SpecialSetting", 120, 180, 1680, 450);

    QGroupBox* frame2 = frame(panel, "Frame2", "Monitoring", 120, 2640, 1920, 1500);
    cmdStart_ = button(frame2, "cmdStart", "Start", 240, 360, 1440, 450);
    cmdStop_ = button(frame2, "cmdStop", "Stop", 240, 900, 1440, 450);

    QGroupBox* frame3 = frame(panel, "Frame3", "I/O Card DipSW", 120, 4260, 1920, 960);
    cmdSWcheck_ = button(frame3, "cmdSWcheck", "Check", 240, 360, 1440, 450);

    connect(CmdUpload_, &QPushButton::clicked, this, &frmTalvo::CmdUpload_Click);
    connect(cmdComm_, &QPushButton::clicked, this, &frmTalvo::cmdComm_Click);
    connect(cmdSpecialSetting_, &QPushButton::clicked, this, &frmTalvo::cmdSpecialSetting_Click);
    connect(cmdStart_, &QPushButton::clicked, this, &frmTalvo::cmdStart_Click);
    connect(cmdStop_, &QPushButton::clicked, this, &frmTalvo::cmdStop_Click);
    connect(cmdSWcheck_, &QPushButton::clicked, this, &frmTalvo::cmdSWcheck_Click);
}

// ---- MainView ----

QWidget* frmTalvo::control(MainControl c) const {
    switch (c) {
        case MainControl::cmdComm: return cmdComm_;
        case MainControl::CmdUpload: return CmdUpload_;
        case MainControl::cmdStart: return cmdStart_;
        case MainControl::cmdStop: return cmdStop_;
        case MainControl::cmdOverView: return cmdOverView_;
        case MainControl::cmdSpecialSetting: return cmdSpecialSetting_;
        case MainControl::cmdSWcheck: return cmdSWcheck_;
        case MainControl::cboCardNo: return cboCardNo_;
        default: return nullptr;
    }
}

QAction* frmTalvo::action(MainControl c) const {
    switch (c) {
        case MainControl::mnuFilesOpen: return mnuFilesOpen_;
        case MainControl::mnuFilesSave: return mnuFilesSave_;
        case MainControl::mnuConnect: return mnuConnect_->menuAction();
        case MainControl::mnuConnectConnect: return mnuConnectConnect_;
        case MainControl::mnuConnectDisconnect: return mnuConnectDisconnect_;
        default: return nullptr;
    }
}

void frmTalvo::setEnabled(MainControl c, bool on) {
    if (QWidget* w = control(c)) w->setEnabled(on);
    if (QAction* a = action(c)) a->setEnabled(on);
}

bool frmTalvo::isEnabled(MainControl c) const {
    if (QWidget* w = control(c)) return w->isEnabled();
    if (QAction* a = action(c)) return a->isEnabled();
    return false;
}

void frmTalvo::setSpecialSettingFrameVisible(bool visible) { fraCmd_->setVisible(visible); }

void frmTalvo::setSpecialSettingCaption(const std::string& caption) {
    cmdSpecialSetting_->setText(QString::fromLatin1(caption.c_str()));
}

void frmTalvo::selectCardListEntry(int index) {
    if (index >= 0 && index < cboCardNo_->count()) cboCardNo_->setCurrentIndex(index);
}

void frmTalvo::setLink(std::uint32_t lamp, const std::string& comPort, const std::string& status) {
    lampColor_ = lamp;
    shpLamp_->setColor(lamp);
    lblComPortNo_->setText(QString::fromLatin1(comPort.c_str()));
    lblConStatus_->setText(QString::fromLatin1(status.c_str()));
}

void frmTalvo::setStopsOwed(const std::string& text) {
    lblStopsOwed_->setText(QString::fromLatin1(text.c_str()));
    lblStopsOwed_->setVisible(!text.empty());
}

void frmTalvo::showProgress(int steps, const std::string& caption) {
    if (!loading_) loading_ = new frmLoading(this);
    loading_->showProgress(steps, caption);
}

void frmTalvo::setProgress(int value) {
    if (loading_) loading_->setValue(value);
}

int frmTalvo::progress() const { return loading_ ? loading_->value() : 0; }

void frmTalvo::closeProgress() {
    if (loading_) loading_->hide();
}

// ---- Card list ----

void frmTalvo::ClearCardList() {
    for (int n = 1; n <= 16; ++n) cboCardNo_->setItemText(n, cardListPrefix(n));
}

void frmTalvo::FillCardList() {
    for (int n = 1; n <= 16; ++n) {
        const std::string name = CardDisplayName(G().CardRecords.get(n)->CardType);
        cboCardNo_->setItemText(n, cardListPrefix(n) + QString::fromLatin1(name.c_str()));
    }
}

bool frmTalvo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cboCardNo_) {
        // Opening the drop-down list moves the focus to the popup for a while; the
        // list is still what the user operates then.
        if (event->type() == QEvent::FocusIn) G().CardListFocused = true;
        if (event->type() == QEvent::FocusOut &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            G().CardListFocused = false;
    } else if (watched == cboCardNo_->view()->window()) {
        // The drop-down list may open without the list ever taking the focus (a
        // click on its arrow); while it is open the user is choosing a card.
        if (event->type() == QEvent::Show) G().CardListFocused = true;
        if (event->type() == QEvent::Hide) G().CardListFocused = cboCardNo_->hasFocus();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmTalvo::whenLineFree(const char* key, MainControl c, void (frmTalvo::*command)()) {
    // Asked for now: runs now if the line is free. Run later: only if the command
    // is still there to be given (a lost link or a started upload took it away).
    RunWhenLineFree(key, [this, command] { (this->*command)(); }, [this, c] { return isEnabled(c); });
}

void frmTalvo::cboCardNo_Click() {
    if (G().StartingUp) return;
    // The pick takes the entry shown when it runs: a newer pick made while an older
    // one waited replaces it.
    whenLineFree("cboCardNo", MainControl::cboCardNo, &frmTalvo::cboCardNo_Pick);
}

void frmTalvo::cboCardNo_Pick() {
    Globals& g = G();
    const int index = cboCardNo_->currentIndex();
    if (index < 0) return;
    // What the screen shown now accepted goes to its own card first.
    const bool wasConnected = g.Connected;
    childForms().leaveShown();
    if (wasConnected && !g.Connected) {
        // The link went down meanwhile (the user has been told): the screen stays.
        const QSignalBlocker quiet(cboCardNo_);
        cboCardNo_->setCurrentIndex(g.CurCardNo);
        return;
    }
    g.CurCardNo = index;
    if (index == 0) {
        g.CurFormType = "Over";
        ShowChildForm("Over");
        setEnabled(MainControl::mnuFilesOpen, true);
        setEnabled(MainControl::mnuFilesSave, true);
        setEnabled(MainControl::cmdComm, !g.IsMasterComm);
        setEnabled(MainControl::cmdSpecialSetting, true);
        setEnabled(MainControl::cmdStart, true);
        setEnabled(MainControl::CmdUpload, true);
        RefreshOverviewRows();
        return;
    }
    for (MainControl c : {MainControl::cmdComm, MainControl::cmdStart, MainControl::cmdSpecialSetting,
                          MainControl::CmdUpload, MainControl::cmdSWcheck})
        setEnabled(c, false);
    const std::string type = g.CardRecords.get(index)->CardType;
    if (!type.empty()) {
        setEnabled(MainControl::mnuFilesOpen, false);
        setEnabled(MainControl::mnuFilesSave, false);
        OpenCardScreen(type);
        // Takes the focus off the list, so the new screen's ticks may talk to the station.
        cboCardNo_->setEnabled(false);
        cboCardNo_->setEnabled(true);
    } else {
        g.CurFormType = "Over";
        ShowChildForm("Over");
        setEnabled(MainControl::mnuFilesOpen, true);
        setEnabled(MainControl::mnuFilesSave, true);
    }
}

// ---- Buttons ----

void frmTalvo::CmdUpload_Click() { whenLineFree("CmdUpload", MainControl::CmdUpload, &frmTalvo::CmdUpload_Run); }

void frmTalvo::CmdUpload_Run() {
    LineHold hold(0);
    // The list goes to the overview first: its click enables commands, which the
    // upload must keep disabled until it ends.
    selectCardListEntry(0);
    DisableMainControls();
    // Nothing is read while it is not known to come from the communication card.
    if (!SelectCard("00")) {
        if (auto* m = platform::services().messages)
            m->show("Uploading incomplete", "Uploading", platform::MsgIcon::Stop);
        DisconnectDevice();
        return;
    }
    WriteItem(3, "01", "01", "1");
    SetCommSettingButton(ReadItem(3, "00", "04"));
    std::array<std::string, 16> before;
    for (int n = 1; n <= 16; ++n) before[static_cast<std::size_t>(n - 1)] = G().CardRecords.get(n)->CardType;
    const bool listRead = UploadCardList();
    // A slot that now holds another card: nothing its settings held before holds for it.
    for (int n = 1; n <= 16; ++n)
        if (G().CardRecords.get(n)->CardType != before[static_cast<std::size_t>(n - 1)]) ui::Values().forgetSlot(n);
    FillCardList();
    // After a failed list upload the user has been told once already.
    ReadAllCardsCycData({.lossAlreadyShown = !listRead});
    // A pass that lost the link has disconnected: keep the disconnected look.
    if (G().Connected) {
        EnableMainControls();
        setEnabled(MainControl::cmdSWcheck, true);
        setEnabled(MainControl::mnuFilesOpen, true);
        setEnabled(MainControl::mnuFilesSave, true);
    }
}

void frmTalvo::cmdStart_Click() { whenLineFree("cmdStart", MainControl::cmdStart, &frmTalvo::cmdStart_Run); }

// Upload and the monitoring loop hold the line, so a Start clicked during either
// (Stop then Start while the stopped pass ends, say) runs once it has ended.
void frmTalvo::cmdStart_Run() {
    selectCardListEntry(0);
    G().CycReadOn = true;
    for (MainControl c : {MainControl::CmdUpload, MainControl::cmdComm, MainControl::cmdSWcheck, MainControl::cmdStart,
                          MainControl::mnuFilesOpen, MainControl::mnuFilesSave, MainControl::cmdOverView,
                          MainControl::cmdSpecialSetting, MainControl::cboCardNo})
        setEnabled(c, false);
    setEnabled(MainControl::cmdStop, true);
    RunCycRead();
    // A pass that lost the link has disconnected, or the link is closing and
    // ended monitoring: monitoring is over.
    if (!G().Connected || !G().CycReadOn) {
        G().CycReadOn = false;
        setEnabled(MainControl::cmdStop, false);
    }
}

void frmTalvo::cmdStop_Click() {
    G().CycReadOn = false;
    setEnabled(MainControl::CmdUpload, true);
    setEnabled(MainControl::cmdComm, !G().IsMasterComm);
    for (MainControl c : {MainControl::cmdStart, MainControl::mnuFilesOpen, MainControl::mnuFilesSave,
                          MainControl::cmdOverView, MainControl::cmdSpecialSetting, MainControl::cboCardNo})
        setEnabled(c, true);
    setEnabled(MainControl::cmdStop, false);
}

void frmTalvo::cmdOverView_Click() {
    selectCardListEntry(0);
    cboCardNo_Click();
}

void frmTalvo::cmdComm_Click() { whenLineFree("cmdComm", MainControl::cmdComm, &frmTalvo::cmdComm_Run); }

void frmTalvo::cmdComm_Run() { RunCommDialog(CommDialog::Comm, this); }

void frmTalvo::cmdSpecialSetting_Click() {
    whenLineFree("cmdSpecialSetting", MainControl::cmdSpecialSetting, &frmTalvo::cmdSpecialSetting_Run);
}

void frmTalvo::cmdSpecialSetting_Run() {
    CommDialog kind{};
    // A model without a dialog of its own: the command has nothing to open.
    if (!SpecialDialogOf(G().CommCardModel, G().IsMasterComm, kind)) {
        setSpecialSettingFrameVisible(false);
        return;
    }
    setEnabled(MainControl::mnuConnect, false);
    if (kind == CommDialog::Ether) {
        RunCommDialog(kind, this);
    } else {
        // Off while the dialog reads the card and while it is up, so a second
        // click cannot start a second one. Most dialogs give it back when they
        // close; the fieldbus dialog's comes back here unless it lost the link.
        // A kind with no dialog yet changes nothing.
        setEnabled(MainControl::cmdSpecialSetting, false);
        const bool shown = RunCommDialog(kind, this);
        if (!shown || (kind == CommDialog::OP && G().Connected)) setEnabled(MainControl::cmdSpecialSetting, true);
    }
    setEnabled(MainControl::mnuConnect, true);
}

void frmTalvo::cmdSWcheck_Click() { whenLineFree("cmdSWcheck", MainControl::cmdSWcheck, &frmTalvo::cmdSWcheck_Run); }

void frmTalvo::cmdSWcheck_Run() {
    CardListAway away;
    frmSWcheck dialog(this);
    platform::execModal(dialog);
}

// ---- Menus ----

void frmTalvo::mnuConnectConnect_Click() {
    whenLineFree("mnuConnectConnect", MainControl::mnuConnectConnect, &frmTalvo::mnuConnectConnect_Run);
}

void frmTalvo::mnuConnectConnect_Run() {
    // A request the screen shown accepted before the link went is refused
    // with its message now, not dropped with the screen.
    childForms().leaveShown();
    setEnabled(MainControl::mnuConnect, false);
    ClearCardRecords();
    // Whatever is connected next holds its own settings: none is known yet.
    ui::Values().connected();
    cmdOverView_Click();
    for (int slot = 1; slot <= 16; ++slot) ClearOverviewRow(slot);
    {
        frmComPort dialog(this);
        platform::execModal(dialog);
    }
    ClearCardList();
    setEnabled(MainControl::mnuConnect, true);
}

void frmTalvo::mnuConnectDisconnect_Click() {
    // The screen shown serves what it accepted before the link goes. While the
    // line is busy the link goes at once; a request left is then refused with
    // its message at the screen's next tick.
    if (G().Connected && LineFree()) childForms().leaveShown();
    DisconnectDevice();
}

void frmTalvo::mnuFilesOpen_Click() {
    // What each setting holds is what the file holds now.
    if (OpenSettingsFile()) ui::Values().fileOpened();
    RefreshOverviewRows();
}

void frmTalvo::mnuFilesSave_Click() {
    SaveSettingsFile();
    RefreshOverviewRows();
}

void frmTalvo::mnuHelpVersion_Click() {
    frmVersion dialog(this);
    platform::execModal(dialog);
}

bool frmTalvo::leaveBeforeTheEnd() {
    if (!G().Connected || !childForms().shownHasAccepted()) return true;
    if (!LineFree()) return false;
    childForms().leaveShown();
    return true;
}

void frmTalvo::mnuFilesEnd_Click() {
    // What the screen shown accepted, and what a card must still be told (a
    // motor to stop), go out first; from inside a waiting exchange that
    // happens once the line is free.
    if (!leaveBeforeTheEnd() || !RunBeforeLinkCloses() || !endingAgreed()) {
        EndMonitoringForClosing();
        RunWhenLineFree("mnuFilesEnd", [this] { mnuFilesEnd_Click(); });
        return;
    }
    endNow();
}

bool frmTalvo::endingAgreed() {
    // A motor that may still be moving is not left behind without the user's word.
    while (StopsOwed()) {
        auto* m = platform::services().messages;
        if (!m) return true;
        const platform::SerialPort* port = platform::services().serial;
        if (!port || !port->isOpen()) {
            m->show(OwedStopsText() +
                        ": its card has not answered the stop, so the motor may still be moving. The link is "
                        "down: the program cannot stop it.",
                    "Exit", platform::MsgIcon::Exclamation);
            return true;
        }
        const platform::MsgResult r =
            m->show(OwedStopsText() +
                        ": its card has not answered the stop, so the motor may still be moving.\n"
                        "Try to stop it once more? (No ends the program anyway.)",
                    "Exit", platform::MsgIcon::Exclamation, platform::MsgButtons::YesNo);
        if (r != platform::MsgResult::Yes) return true;
        if (!LineFree()) return false;
        SendOwedStopsNow();
    }
    return true;
}

void frmTalvo::endNow() {
    // Also from inside a waiting exchange or a monitoring pass: the port goes, the
    // time-out stops, and the program ends without unwinding into them.
    if (platform::SerialPort* port = platform::services().serial; port && port->isOpen()) port->close();
    IntervalTimerOff();
    G().CycReadOn = false;
    ClearWaitingActions();
    EndProgram();
}

void frmTalvo::closeEvent(QCloseEvent* event) {
    // The window stays while a card must still be told something and the line is busy.
    if (!leaveBeforeTheEnd() || !RunBeforeLinkCloses() || !endingAgreed()) {
        event->ignore();
        EndMonitoringForClosing();
        RunWhenLineFree("mnuFilesEnd", [this] { mnuFilesEnd_Click(); });
        return;
    }
    endNow();
    event->accept();
}

}  // namespace talvo::shell
