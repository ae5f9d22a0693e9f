#include "screens/pulse_out/frmEAJ2.h"

#include <QEvent>
#include <QPointer>
#include <cmath>
#include <functional>

#include "core/Colors.h"
#include "core/Globals.h"
#include "core/LineTurn.h"
#include "core/OwedStops.h"
#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "platform/Services.h"
#include "screens/skeleton/TextBoxes.h"
#include "shell/ChildForms.h"
#include "ui/Geometry.h"
#include "ui/SettingsDialog.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {

constexpr std::uint32_t kLightGreen = 0x80FF80;
const char* const kDeadbands[] = {"0.1", "0.3", "0.5", "0.7", "1.0", "1.5", "2.0", "3.0", "5.0", "8.0"};

// The screen's own key filters: digits; and the characters "+" to "." with the digits.
bool FilterKeyDigits(const std::string&, int, char16_t key) { return key >= u'0' && key <= u'9'; }
bool FilterKeyNumeric(const std::string&, int, char16_t key) {
    return (key >= u'0' && key <= u'9') || (key >= u'+' && key <= u'.');
}

std::string channelGroup(int c) { return c == 0 ? "03" : "04"; }

}  // namespace

frmEAJ2::frmEAJ2(QWidget* parent) : CardScreen("K6-EAJ2", parent) {
    checks_ = new ui::FocusChecks(this, cmdUp);  // no check when the focus goes to Upload
    for (int c = 0; c < 2; ++c) layoutChannel(c);
    layoutSetting();
    layoutTestMode();
    InitControls();
    buildSettings();

    live_ = {.boxes = {txtPosition[0], txtPosition[1], txtsetpoint[0], txtsetpoint[1]},
             .items = {"11", "12", "14", "15"},
             .pauseMs = 10,
             .removeDecimalPoint = false,
             .quiet = true};
}

void frmEAJ2::layoutChannel(int c) {
    auto* f = new QGroupBox(QString("Ch. %1").arg(c + 1), body());
    f->setObjectName(QString("fraCh%1").arg(c + 1));
    placeTwips(f, 60 + c * 4620, 0, 4560, 2880);
    const int labelX = 120, boxX = 3120;
    const auto row = [&](const char* caption, QWidget* w, int y, int width, const char* unit = nullptr) {
        newLabel(f, caption, labelX, y + 20, boxX - labelX - 20);
        w->setParent(f);
        placeTwips(w, boxX, y, width, 330);
        if (unit) newLabel(f, unit, boxX + width + 40, y + 20, 700);
    };
    txtPosition[c] = newLockedBox(f);
    txtsetpoint[c] = newLockedBox(f);
    for (QLineEdit* b : {txtPosition[c], txtsetpoint[c]}) ui::setBackColor(b, colors::SysMenu);
    txtMotorLockTime[c] = newSettingBox(f, FilterKeyDigits);
    txtRestartTime[c] = newSettingBox(f, FilterKeyDigits);
    List_Deadband[c] = new QComboBox(f);
    List_ChEnable[c] = new QComboBox(f);
    PosRawDat[c] = newLockedBox(f);
    ui::setBackColor(PosRawDat[c], colors::SysMenu);
    row("Position", txtPosition[c], 300, 1200);
    row("Position Setpoint", txtsetpoint[c], 660, 1200);
    row("Motor Deadlock Detecting Time", txtMotorLockTime[c], 1020, 660, "sec");
    row("Restart Time", txtRestartTime[c], 1380, 660, "msec");
    row("Deadband", List_Deadband[c], 1740, 780, "%");
    row("Ch Enable/Disable", List_ChEnable[c], 2100, 1200);
    lblParRaw[c] = newLabel(f, "Position (Raw)", labelX, 2480, boxX - labelX - 60);
    PosRawDat[c]->setParent(f);
    placeTwips(PosRawDat[c], boxX, 2460, 1200, 330);

    checks_->watch(txtMotorLockTime[c], [this, c] { return checkMotorLockTime(c); });
    checks_->watch(txtRestartTime[c], [this, c] { return checkRestartTime(c); });
    connect(List_ChEnable[c], &QComboBox::currentIndexChanged, this, [this, c] { List_ChEnable_Click(c); });
}

void frmEAJ2::layoutSetting() {
    auto* frame1 = new QGroupBox("User Full Position Setting", body());
    frame1->setObjectName("Frame1");
    placeTwips(frame1, 60, 2940, 6000, 2700);
    for (int i = 0; i < 2; ++i) {
        Channel[static_cast<std::size_t>(i)] = new QRadioButton(QString("Ch%1").arg(i + 1), frame1);
        placeTwips(Channel[static_cast<std::size_t>(i)], 180 + i * 780, 300, 720, 300);
        connect(Channel[static_cast<std::size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) setting_.chooseChannel(i);
        });
    }
    const char* modeCaptions[] = {"Set End", "Set Close Position", "Set Open Position"};
    const int modeY[] = {1620, 1140, 660};
    for (int i = 0; i < 3; ++i) {
        QPushButton*& b = butMode[static_cast<std::size_t>(i)];
        b = new QPushButton(modeCaptions[i], frame1);
        b->setObjectName(QString("butMode%1").arg(i));
        placeTwips(b, 120, modeY[i], 2340, 420);
        connect(b, &QPushButton::clicked, this, [this, i] { butMode_Click(i); });
    }
    auto* frame7 = new QGroupBox("Fine Adj. Level", frame1);
    placeTwips(frame7, 120, 2085, 2340, 585);
    for (int i = 0; i < 3; ++i) {
        QRadioButton*& o = optAdjLevel[static_cast<std::size_t>(i)];
        o = new QRadioButton(QString("L%1").arg(i + 1), frame7);
        placeTwips(o, 120 + i * 660, 270, 620, 270);
        connect(o, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !quietOptions_) setting_.chooseFineLevel(i);
        });
    }
    const auto adjustFrame = [&](const char* caption, int x, const QString& up, const QString& down, QPushButton*& open,
                                 QPushButton*& close) {
        // Below the outer frame's caption line, so that their own captions stand clear of it.
        auto* f = new QGroupBox(caption, frame1);
        placeTwips(f, x, 360, 1620, 2220);
        open = new QPushButton(up, f);
        close = new QPushButton(down, f);
        placeTwips(open, 360, 330, 900, 540);
        newLabel(f, "Open", 360, 900, 900, Qt::AlignHCenter);
        placeTwips(close, 360, 1260, 900, 540);
        newLabel(f, "Close", 360, 1830, 900, Qt::AlignHCenter);
    };
    adjustFrame("Fine", 2520, QString::fromUtf8("\u25B3"), QString::fromUtf8("\u25BD"), OpenFineAdjBut,
                CloseFineAdjBut);
    adjustFrame("Coarse", 4260, QString::fromUtf8("\u25B2"), QString::fromUtf8("\u25BC"), OpenCoaseAdjBut,
                CloseCoaseAdjBut);
    OpenFineAdjBut->setObjectName("OpenFineAdjBut");
    CloseFineAdjBut->setObjectName("CloseFineAdjBut");
    OpenCoaseAdjBut->setObjectName("OpenCoaseAdjBut");
    CloseCoaseAdjBut->setObjectName("CloseCoaseAdjBut");
    for (QPushButton* b : {OpenFineAdjBut, CloseFineAdjBut, OpenCoaseAdjBut, CloseCoaseAdjBut}) {
        connect(b, &QPushButton::pressed, this, [this, b] { pressAdjust(b, true); });
        connect(b, &QPushButton::released, this, [this, b] { pressAdjust(b, false); });
        // A button that loses the mouse without a release (the window loses the
        // focus, the button goes away) counts as released.
        b->installEventFilter(this);
    }
}

void frmEAJ2::layoutTestMode() {
    auto* frame3 = new QGroupBox("Test Mode", body());
    frame3->setObjectName("Frame3");
    placeTwips(frame3, 6120, 2940, 3120, 2700);
    auto* frame5 = new QGroupBox("Ch.", frame3);
    placeTwips(frame5, 120, 300, 1380, 1020);
    auto* frame4 = new QGroupBox("Test Mode ", frame3);
    placeTwips(frame4, 1620, 300, 1380, 1020);
    const char* chCaptions[] = {"Ch.1", "Ch.2"};
    const char* modeCaptions[] = {"OFF", "ON"};
    for (int i = 0; i < 2; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        optCh[k] = new QRadioButton(chCaptions[i], frame5);
        placeTwips(optCh[k], 120, 300 + i * 320, 1100, 300);
        optTestMode[k] = new QRadioButton(modeCaptions[i], frame4);
        optTestMode[k]->setObjectName(QString("optTestMode%1").arg(i));
        placeTwips(optTestMode[k], 120, 300 + i * 320, 1100, 300);
        connect(optCh[k], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on) return;
            setting_.chooseTestChannel(i);
            // The options show that channel's test mode as far as the screen knows it.
            const int known = reportedTestMode_[static_cast<std::size_t>(i)];
            if (known >= 0)
                showReportedTestMode(known == 1);
            else
                showUnknownTestMode();
        });
        connect(optTestMode[k], &QRadioButton::toggled, this, [this, i](bool on) { optTestMode_Toggled(i, on); });
    }
    newLabel(frame3, "Position Setpoint", 120, 1440, 2000)->setObjectName("lblPosData");
    txtTestModePos = newSettingBox(frame3, FilterKeyNumeric);
    txtTestModePos->setObjectName("txtTestModePos");
    placeTwips(txtTestModePos, 120, 1800, 1380, 345);
    butTestMode = new QPushButton("SET", frame3);
    butTestMode->setObjectName("butTestMode");
    placeTwips(butTestMode, 1620, 1760, 1200, 420);
    connect(butTestMode, &QPushButton::clicked, this, [this] { butTestMode_Click(); });
    checks_->watch(txtTestModePos, [this] { return checkTestModePos(); });
}

// The lists' entries, each showing its default until the entry shows the record
// (a default is only shown: it is no value, see showSettingsExtra).
void frmEAJ2::InitControls() {
    if (List_Deadband[0]->count() == 10) return;
    for (int c = 0; c < 2; ++c) {
        const std::size_t k = static_cast<std::size_t>(c);
        List_Deadband[k]->clear();
        List_ChEnable[k]->clear();
        for (const char* d : kDeadbands) List_Deadband[k]->addItem(d);
        List_ChEnable[k]->addItem("Enable");
        List_ChEnable[k]->addItem("Disable");
        List_Deadband[k]->setCurrentText("1.5");
        List_ChEnable[k]->setCurrentText("Enable");
        List_ChEnable_Click(c);
    }
}

void frmEAJ2::List_ChEnable_Click(int c) {
    QComboBox* l = List_ChEnable[static_cast<std::size_t>(c)];
    ui::setListColors(l, l->currentText() == "Enable" ? colors::Green : colors::Red);
}

// --- entry ---

void frmEAJ2::openCard(const std::string& typeCode, const ScreenSpec& spec) {
    // Opened again (this slot or another actuator): the card of the last entry
    // is told first, before the opener selects the new one.
    rest_.bringToRest();
    CardScreen::openCard(typeCode, spec);
}

void frmEAJ2::EAJ2_Init(const std::string& typeCode) {
    InitControls();
    SetScaleMinMax(typeCode);
}

void frmEAJ2::prepare(const std::string&) {
    rest_.enter(cardSlot());
    setting_.reset();
    reportedTestMode_ = {-1, -1};
    quietOptions_ = true;
    Channel[0]->setChecked(true);
    optCh[0]->setChecked(true);
    optTestMode[0]->setChecked(true);
    optAdjLevel[1]->setChecked(true);
    quietOptions_ = false;
    setting_.reset();  // drops what the option selections asked for
    showNormalState();
    butMode[0]->setText("Set End");
    // The card says whether a channel is in test mode; an unanswered read says nothing.
    for (int c = 0; c < 2; ++c) {
        const std::string r = ReadItem(3, channelGroup(c), "50");
        reportedTestMode_[static_cast<std::size_t>(c)] =
            r.empty() || IsRefusal(r) ? -1 : (LeadingNumber(TextAfterColon(r)) == 1.0 ? 1 : 0);
    }
    if (reportedTestMode_[0] >= 0)
        showReportedTestMode(reportedTestMode_[0] == 1);
    else
        showUnknownTestMode();
}

void frmEAJ2::showNormalState() {
    for (QRadioButton* o : optAdjLevel) o->setEnabled(false);
    butMode[0]->setEnabled(false);
    butMode[1]->setEnabled(true);
    butMode[2]->setEnabled(true);
    for (QPushButton* b : {OpenFineAdjBut, CloseFineAdjBut, OpenCoaseAdjBut, CloseCoaseAdjBut}) b->setEnabled(false);
    for (int c = 0; c < 2; ++c) {
        lblParRaw[static_cast<std::size_t>(c)]->hide();
        PosRawDat[static_cast<std::size_t>(c)]->hide();
    }
    for (QRadioButton* o : optCh) o->setEnabled(true);
    for (QRadioButton* o : optTestMode) o->setEnabled(true);
    for (QRadioButton* o : Channel) o->setEnabled(true);
    cmdUp->setEnabled(true);
    cmdDown->setEnabled(true);
    txtTestModePos->setEnabled(false);
    butTestMode->setEnabled(false);
    // A channel in test mode keeps its controls; one whose test mode is not
    // known starts no setting.
    if (optTestMode[1]->isChecked()) showTestModeControls(true);
    if (shownTestMode() < 0) showUnknownTestMode();
}

// Each list shows its record's text. A record without one (never read,
// loaded or picked) shows the list's default, "Enable" or "1.5", which is no
// value: the record stays as it is, the list is drawn as not read, and a
// download names it rather than sending it. A record's text the list has no
// entry for is no value either.
void frmEAJ2::showSettingsExtra(const CardRecord& rec) {
    for (int c = 0; c < 2; ++c) {
        const std::size_t k = static_cast<std::size_t>(c);
        const int ch = c + 1;
        const struct {
            QComboBox* list;
            const Setting& row;
            const char* shownWithout;
        } lists[] = {{List_ChEnable[k], settings_[kEnableRow], "Enable"},
                     {List_Deadband[k], settings_[kDeadbandRow], "1.5"}};
        for (const auto& l : lists) {
            const std::string stored = storedText(l.row, ch, rec);
            const int at = stored.empty() ? -1 : l.list->findText(QString::fromLatin1(stored.c_str()));
            l.list->setCurrentText(at >= 0 ? QString::fromLatin1(stored.c_str()) : QString(l.shownWithout));
            if (at < 0 && !stored.empty()) setHeld(l.row, ch, Held::NotRead);
        }
    }
    setBoxText(txtTestModePos, "0");
}

// --- test mode ---

void frmEAJ2::showTestModeControls(bool on) {
    for (QRadioButton* o : optCh) o->setEnabled(!on);
    txtTestModePos->setEnabled(on);
    butTestMode->setEnabled(on);
    butMode[1]->setEnabled(!on);
    butMode[2]->setEnabled(!on);
}

void frmEAJ2::showReportedTestMode(bool on) {
    const bool was = quietOptions_;
    quietOptions_ = true;
    QRadioButton* o = optTestMode[on ? 1 : 0];
    if (o->isChecked())
        showTestModeControls(on);
    else
        o->setChecked(true);
    quietOptions_ = was;
}

void frmEAJ2::showUnknownTestMode() {
    const bool was = quietOptions_;
    quietOptions_ = true;
    for (QRadioButton* o : optTestMode) {
        o->setAutoExclusive(false);
        o->setChecked(false);
        o->setAutoExclusive(true);
    }
    quietOptions_ = was;
    showTestModeControls(false);
    butMode[1]->setEnabled(false);
    butMode[2]->setEnabled(false);
}

int frmEAJ2::shownTestMode() const {
    if (optTestMode[1]->isChecked()) return 1;
    return optTestMode[0]->isChecked() ? 0 : -1;
}

void frmEAJ2::optTestMode_Toggled(int index, bool checked) {
    if (!checked) return;
    const bool on = index == 1;
    showTestModeControls(on);
    if (quietOptions_) return;
    setting_.switchTestMode(on);
    reportedTestMode_[static_cast<std::size_t>(setting_.testGroup() == "04" ? 1 : 0)] = on ? 1 : 0;
}

void frmEAJ2::butTestMode_Click() {
    // The position goes out as the check showed it now: what is typed after
    // SET waits for the next SET.
    if (!checks_->settle() || !checks_->runCheck(txtTestModePos)) return;
    setting_.sendTestPosition(boxText(txtTestModePos));
}

// --- end-position setting ---

void frmEAJ2::butMode_Click(int index) {
    // The buttons' own frames wait for the line: never inside another exchange.
    QPointer<frmEAJ2> self(this);
    RunWhenLineFree("frmEAJ2.butMode", [self, index] {
        if (!self || !self->butMode[static_cast<std::size_t>(index)]->isEnabled() ||
            !shell::childForms().isShown(self))
            return;
        frmEAJ2& s = *self;
        const int slot = s.rest_.slot();
        LineHold hold(slot);
        // No setting starts on a card that did not answer, and the user is
        // told; an end is still asked for, and the ticks send it until the
        // card answers.
        const bool answered =
            SelectCard(slot) && !WriteItem(3, "03", "01", "1").empty() && !WriteItem(3, "04", "01", "1").empty();
        if (!answered && index != 0) {
            TellUnanswered(slot, {s.butMode[static_cast<std::size_t>(index)]->text().toStdString()});
            return;
        }
        for (QPushButton* b : s.butMode) b->setEnabled(false);
        if (index == 0) {
            s.setting_.endSetting();
            PauseMs(500);
            if (!self) return;
            s.butMode[1]->setEnabled(true);
            s.butMode[2]->setEnabled(true);
            s.butMode[0]->setText("End Setting");
            s.SetSettingModeControls(0);
            return;
        }
        const auto mode = index == 1 ? ActuatorSetting::kClosePosition : ActuatorSetting::kOpenPosition;
        s.setting_.startSetting(mode);
        // The card's fine step follows the level the screen shows from the start.
        for (int i = 0; i < 3; ++i)
            if (s.optAdjLevel[static_cast<std::size_t>(i)]->isChecked()) s.setting_.chooseFineLevel(i);
        PauseMs(500);
        if (!self) return;
        s.butMode[0]->setText(index == 1 ? "End Close Pos. Setting" : "End Open Pos. Setting");
        s.butMode[0]->setEnabled(true);
        s.SetSettingModeControls(mode);
    });
}

void frmEAJ2::SetSettingModeControls(int mode) {
    const bool setting = mode != 0;
    const int c = Channel[0]->isChecked() ? 0 : 1;
    cmdUp->setEnabled(!setting);
    cmdDown->setEnabled(!setting);
    for (QRadioButton* o : Channel) o->setEnabled(!setting);
    for (QPushButton* b : {OpenFineAdjBut, CloseFineAdjBut, OpenCoaseAdjBut, CloseCoaseAdjBut}) b->setEnabled(setting);
    for (QRadioButton* o : optTestMode) o->setEnabled(!setting);
    for (QRadioButton* o : optAdjLevel) o->setEnabled(setting);
    lblParRaw[static_cast<std::size_t>(c)]->setVisible(setting);
    PosRawDat[static_cast<std::size_t>(c)]->setVisible(setting);
}

void frmEAJ2::pressAdjust(QPushButton* b, bool down) {
    const Direction d = b == OpenFineAdjBut || b == OpenCoaseAdjBut ? Direction::Open : Direction::Close;
    if (b == OpenFineAdjBut || b == CloseFineAdjBut) {
        if (down)
            setting_.finePressed(d);
        else
            setting_.fineReleased(d);
    } else if (down) {
        setting_.coarsePressed(d);
    } else {
        setting_.coarseReleased(d);
    }
}

bool frmEAJ2::eventFilter(QObject* watched, QEvent* event) {
    const auto t = event->type();
    if (t == QEvent::FocusOut || t == QEvent::Hide || t == QEvent::EnabledChange) {
        auto* b = static_cast<QPushButton*>(watched);
        if (t != QEvent::EnabledChange || !b->isEnabled()) pressAdjust(b, false);
    }
    return CardScreen::eventFilter(watched, event);
}

bool frmEAJ2::servePriority() {
    const bool adjusting = !setting_.idle();
    if (adjusting) {
        runAdjust();
    } else {
        StationLine line;
        setting_.serveTestRequests(line);
    }
    // A stop the card did not answer is told at once and shown owed until it
    // is; any other command it did not answer is told too.
    if (setting_.stopUnanswered())
        StopUnanswered(rest_.slot());
    else
        StopAnswered(rest_.slot());
    TellUnanswered(rest_.slot(), setting_.takeUnanswered());
    return adjusting;
}

void frmEAJ2::runAdjust() {
    StationLine line;
    std::string raw;
    const int c = setting_.channel();
    const ActuatorSetting::RawRead read = setting_.adjust(line, raw);
    if (read == ActuatorSetting::RawRead::None) return;
    // A position the card did not give shows nothing, and no region either.
    setBoxText(PosRawDat[static_cast<std::size_t>(c)], read == ActuatorSetting::RawRead::Read ? raw : std::string());
    CheckRawPosition();
}

void frmEAJ2::CheckRawPosition() {
    const ActuatorSetting::Mode m = setting_.settingMode();
    if (m == ActuatorSetting::kNone) return;
    QLineEdit* raw = PosRawDat[static_cast<std::size_t>(setting_.channel())];
    const std::string text = boxText(raw);
    ui::setBackColor(raw, !text.empty() && ActuatorSetting::RawInRegion(m, text) ? kLightGreen : colors::SysMenu);
}

void frmEAJ2::showAtRest() {
    showNormalState();
    butMode[0]->setText("End Setting");
    SetSettingModeControls(0);
}

bool frmEAJ2::hasAccepted() const { return CardScreen::hasAccepted() || rest_.owed(); }

void frmEAJ2::leaving() {
    CardScreen::leaving();
    rest_.bringToRest();
}

void frmEAJ2::formHidden() {
    CardScreen::formHidden();
    rest_.bringToRestSoon();
}

// --- checks ---

namespace {

// The leading number of the box, rounded to a whole number (ties to even);
// inside min..max the box shows it, else the message.
bool checkWhole(QLineEdit* box, double min, double max, const char* message) {
    const double v = std::nearbyint(LeadingNumber(boxText(box)));
    if (!(v >= min && v <= max)) {
        ui::ShowEntryMessage(message);
        return false;
    }
    setBoxText(box, std::to_string(static_cast<long>(v)));
    return true;
}

}  // namespace

bool frmEAJ2::checkMotorLockTime(int c) {
    return checkWhole(txtMotorLockTime[static_cast<std::size_t>(c)], 60, 1000, "Please enter value 60 - 1000");
}

bool frmEAJ2::checkRestartTime(int c) {
    return checkWhole(txtRestartTime[static_cast<std::size_t>(c)], 500, 10000, "Please enter value 500 - 10000");
}

bool frmEAJ2::checkTestModePos() {
    const float v = static_cast<float>(LeadingNumber(boxText(txtTestModePos)));
    if (!(v >= -0.5f && v <= 100.5f)) {
        ui::ShowEntryMessage("Please enter value -0.5 - 100.5");
        return false;
    }
    setBoxText(txtTestModePos, FormatTestPosition(v));
    return true;
}

bool frmEAJ2::checkEntries() {
    // A download takes the lost-focus ranges too; an empty box is skipped, and
    // so is one that holds no value (it is not sent).
    const CardRecord* rec = G().CardRecords.get(cardSlot());
    for (int c = 0; c < 2; ++c) {
        const std::size_t k = static_cast<std::size_t>(c);
        for (int row : {kLockTimeRow, kRestartTimeRow}) {
            const Setting& s = settings_[static_cast<std::size_t>(row)];
            QLineEdit* box = s.boxes[k];
            if (boxText(box).empty() || (rec && held(s, c + 1, *rec) != Held::Value)) continue;
            if (!checks_->runCheck(box)) return false;
        }
    }
    return true;
}

// --- transfers ---
// The settings as the skeleton's rows. A read the card refuses leaves the box,
// list and record as they were; an empty box sends nothing.

namespace {

// A deadband reply: one of the list's texts, else a whole number 0..9 as the
// index the download writes; anything else the list cannot show (false): it
// keeps what it showed, and that is no value read.
bool showDeadband(QComboBox* list, const std::string& value) {
    const int at = list->findText(QString::fromLatin1(value.c_str()));
    if (at >= 0) {
        list->setCurrentIndex(at);
        return true;
    }
    const auto index = DigitsValue(value, 1);
    if (!index || *index >= list->count()) return false;
    list->setCurrentIndex(static_cast<int>(*index));
    return true;
}

// A channel enable reply: "0" is "Enable", anything else "Disable".
bool showEnable(QComboBox* list, const std::string& value) {
    list->setCurrentText(value == "0" ? "Enable" : "Disable");
    return true;
}

std::string listText(const QComboBox* list) { return list->currentText().toLatin1().toStdString(); }

// A list the record keeps as its text and the card takes as the entry's index;
// `show` puts a value the card gave into it (false when it cannot show it).
Control indexedList(const std::array<QComboBox*, 2>& lists, std::function<bool(QComboBox*, const std::string&)> show) {
    const auto list = [lists](int ch) { return lists[static_cast<std::size_t>(ch - 1)]; };
    return {.channels = 2,
            .text = [list](int ch) { return listText(list(ch)); },
            .show = [list, show](int ch, const std::string& v) -> std::optional<std::string> {
                if (!show(list(ch), v)) return std::nullopt;
                return listText(list(ch));
            },
            .data = [list](int ch) { return std::to_string(list(ch)->currentIndex()); },
            .widget = [list](int ch) -> QWidget* { return list(ch); }};
}

}  // namespace

void frmEAJ2::buildSettings() {
    // The transfers keep each channel's settings in its own group, "3" or "4"
    // (one digit, unlike the setting and the test mode), its enable in group "02".
    const Address ownGroup = {.channelGroups = {"3", "4"}, .itemDigits = 2};
    const RecordRule rule = {.unsent = Unsent::Kept};
    const auto both = [](const std::array<QLineEdit*, 2>& b) { return std::vector<QLineEdit*>(b.begin(), b.end()); };
    // Channel ch keeps its settings in Param(10(ch - 1) + 1) to Param(10(ch - 1) + 4).
    settings_ = {
        {.boxes = both(txtMotorLockTime), .item = {0, 7}, .param = {10, -9}, .at = ownGroup, .record = rule,
         .name = "Motor Deadlock Detecting Time"},
        {.boxes = both(txtRestartTime), .item = {0, 6}, .param = {10, -8}, .at = ownGroup, .record = rule,
         .name = "Restart Time"},
        {.group = "02", .item = {1, 41}, .param = {10, -7}, .record = rule,
         .control = indexedList(List_ChEnable, showEnable), .name = "Ch Enable/Disable"},
        {.item = {0, 5}, .param = {10, -6}, .at = ownGroup, .record = rule,
         .control = indexedList(List_Deadband, showDeadband), .name = "Deadband"},
    };
    passes_ = {
        {.openGroup = "02"},
        {.openGroup = "03"},
        {.openGroup = "04",
         .settings = {kLockTimeRow, kRestartTimeRow, kEnableRow, kDeadbandRow},
         .progressAfter = [](int ch) { return ch; }},
    };
    transferSteps_ = {.upload = 3, .download = 2, .downloadBarFirst = true};
}

// The test mode and position of the test channel are the card's state, not
// settings of the record: an upload only shows them.
void frmEAJ2::uploadExtra(Transfer& t) {
    std::string r = t.read(setting_.testGroup(), "50");
    if (!t.ok()) return;
    if (!IsRefusal(r)) optTestMode[LeadingNumber(TextAfterColon(r)) == 1.0 ? 1 : 0]->setChecked(true);
    r = t.read(setting_.testGroup(), "51");
    if (!t.ok()) return;
    if (!IsRefusal(r)) {
        const std::string v = TextAfterColon(r);
        double number = 0;
        setBoxText(txtTestModePos, ParseNumber(v, number) ? FormatTestPosition(static_cast<float>(number)) : v);
    }
    t.step(3);
}

}  // namespace talvo::screens
