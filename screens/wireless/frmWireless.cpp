#include "screens/wireless/frmWireless.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <vector>

#include "core/CardRecord.h"
#include "core/Globals.h"
#include "core/KeyFilters.h"
#include "core/MainView.h"
#include "core/Protocol.h"
#include "core/SettingsFile.h"
#include "core/SettingsFormat.h"
#include "platform/FileDialogFolder.h"
#include "platform/Services.h"
#include "platform/qt/Modal.h"
#include "screens/wireless/WirelessChecks.h"
#include "screens/wireless/WirelessFile.h"
#include "screens/wireless/WirelessRules.h"
#include "screens/wireless/WirelessTransfer.h"
#include "ui/DialogLayout.h"
#include "ui/DialogValues.h"
#include "ui/Geometry.h"

namespace talvo::wireless {

namespace {

using C = WControl;
using ui::box;
using ui::button;
using ui::frame;
using ui::label;
using ui::list;

std::size_t at(int i) { return static_cast<std::size_t>(i); }
std::size_t at(WControl c) { return static_cast<std::size_t>(ControlIndex(c)); }

// The controls of each frame, top to bottom; a control the model lacks leaves no gap.
const C kModbusRows[] = {C::modAdd, C::List_M_DataMode, C::List_M_Baudrate, C::List_M_Parity,
                         C::List_M_WEPort, C::List_M_Mode, C::modTimer, C::wirTimer};
const C kWirelessRows[] = {C::wirPANID,      C::wirShortAddress, C::wirNetWork,   C::wirPassword,
                           C::wirTimer_Send, C::List_W_Level,    C::List_W_Scale, C::List_W_flag,
                           C::MAC_Address,   C::FixNetworkFlag,  C::ShortAddress2, C::SetDetour,
                           C::movementMode,  C::NSAQuality,      C::NetworkJointMode, C::NDTTSU};

constexpr int kRow = 420;
constexpr int kFrameTop = 660;

ui::KeyFilter filterOf(KeyFilterKind k) {
    switch (k) {
    case KeyFilterKind::Digits: return FilterKeyDigits;
    case KeyFilterKind::Hex: return FilterKeyHex;
    case KeyFilterKind::Name: return FilterKeyName;
    case KeyFilterKind::None: break;
    }
    return nullptr;
}

QString shown(const std::string& text) { return QString::fromUtf8(DisplayUtf8(text).c_str()); }

void showFileError(const std::string& text, const char* title) {
    if (auto* m = platform::services().messages) m->show(text, title, platform::MsgIcon::None);
}

}  // namespace

frmWireless::frmWireless(WirelessModel model, QWidget* parent) : ui::SettingsDialog(parent), model_(model) {
    const ModelTraits& t = Traits(model_);
    setObjectName(t.dialogName);
    setWindowTitle(t.heading);
    setFixedSize(ui::twips(14880), ui::twips(8700));
    ui::heading(this, "Label1", t.heading, 240, 120, 5000);

    // One row: its label and its control.
    const auto addRow = [this](QWidget* into, C c, int top, int labelWidth, int controlWidth) {
        const ControlInfo& info = Info(c);
        const std::string caption = info.caption;
        const bool twoLines = caption.find('\n') != std::string::npos;
        QLabel* l = label(into, "", QString::fromLatin1(caption.c_str()), 180, top, labelWidth);
        l->setObjectName(QString("lbl") + info.name);
        if (twoLines) ui::placeTwips(l, 180, top - 60, labelWidth, 480);
        labels_[at(c)] = l;
        QWidget* w = nullptr;
        if (info.kind == ControlKind::List) {
            w = list(into, info.name, 240 + labelWidth, top, controlWidth);
        } else {
            QLineEdit* b = box(into, info.name, 240 + labelWidth, top, controlWidth);
            ui::SelectAllOnFocus(b);
            if (const ui::KeyFilter f = filterOf(info.filter)) ui::FilterKeys(b, f);
            if (c == C::MAC_Address) b->setReadOnly(true);
            w = b;
        }
        controls_[at(c)] = w;
        return twoLines ? kRow + 120 : kRow;
    };

    int rows = 0;
    for (C c : kModbusRows)
        if (HasControl(model_, c)) ++rows;
    QGroupBox* fraModbus = frame(this, "fraModbus", t.modbusFrame, 240, kFrameTop, 5880, 300 + rows * kRow + 120);
    int y = 300;
    for (C c : kModbusRows)
        if (HasControl(model_, c)) y += addRow(fraModbus, c, y, 3480, 1980);

    const int chTop = kFrameTop + 300 + rows * kRow + 240;
    QGroupBox* fraChannel = frame(this, "fraChannel", kChannelFrameCaption, 240, chTop, 5880, 1500);
    for (int ch = 0; ch < kChannelCount; ++ch) {
        const int left = 180 + (ch % 5) * 1130;
        const int top = 300 + (ch / 5) * 600;
        label(fraChannel, "", QString::fromLatin1(ChannelCaption(ch).c_str()), left, top - 20, 1100)
            ->setObjectName(ui::indexed("lblwirChNo", ch));
        QLineEdit* b = box(fraChannel, "", left, top + 260, 600);
        b->setObjectName(ui::indexed("wirChNo", ch));
        ui::SelectAllOnFocus(b);
        ui::FilterKeys(b, FilterKeyDigits);
        wirChNo_[at(ch)] = b;
    }
    controls_[at(C::wirChNo)] = wirChNo_[0];

    QGroupBox* fraWireless = frame(this, "fraWireless", "Wireless", 6360, kFrameTop, 8280, 7320);
    y = 300;
    for (C c : kWirelessRows)
        if (HasControl(model_, c)) y += addRow(fraWireless, c, y, 3720, 4200);
    wirPassword_ = static_cast<QLineEdit*>(controls_[at(C::wirPassword)]);
    wirPassword_->installEventFilter(this);

    // Each control shows what its setting holds, and what the user sets in it
    // is a value. The key is a value once a key the user typed is taken.
    for (const ControlInfo& info : Controls()) {
        const C c = info.control;
        if (c == C::wirPassword || !controls_[at(c)]) continue;
        if (c == C::wirChNo) {
            for (int ch = 0; ch < kChannelCount; ++ch) ui::BindSetting(wirChNo_[at(ch)], KeyOf(c, ch));
        } else {
            ui::BindSetting(controls_[at(c)], KeyOf(c));
        }
    }
    ui::OnUserEdit(wirPassword_, this, [this] { keyEdited_ = true; });

    const int by = 8160;
    cmdUp = button(this, "cmdUp", "Upload", 240, by);
    cmdDown = button(this, "cmdDown", "Download", 1560, by);
    CmdReadF = button(this, "CmdReadF", "Read File", 3120, by);
    CmdSaveF = button(this, "CmdSaveF", "Save File", 4440, by);
    cmdExit = button(this, "cmdExit", "Exit", 13440, by);
    buttons().setButtons({cmdUp, cmdDown, cmdExit, CmdReadF, CmdSaveF});
    checks().setExitButton(cmdExit);

    // The lost-focus checks.
    for (const ControlInfo& info : Controls()) {
        if (!HasControl(model_, info.control) || info.control == C::wirChNo) continue;
        if (info.control == C::wirPassword) {
            checks().watch(wirPassword_, [this] { return keyLostFocus(); });
        } else if (CheckOf(info.control)) {
            const C c = info.control;
            checks().watch(controls_[at(c)], [this, c] { return lostFocusCheck(c, 0); });
        }
    }
    for (int ch = 0; ch < kChannelCount; ++ch)
        checks().watch(wirChNo_[at(ch)], [this, ch] { return lostFocusCheck(C::wirChNo, ch); });

    // The enable rules, on every change of their list (the user's or the program's).
    for (C c : {C::List_W_flag, C::FixNetworkFlag, C::List_M_Mode, C::List_W_Scale})
        if (auto* cb = qobject_cast<QComboBox*>(controls_[at(c)]))
            connect(cb, &QComboBox::currentIndexChanged, this, [this, c] { listChanged(c); });

    onCommand(cmdUp, [this] { cmdUp_Click(); });
    onCommand(cmdDown, [this] { cmdDown_Click(); });
    onLocalCommand(CmdReadF, [this] { CmdReadF_Click(); });
    onLocalCommand(CmdSaveF, [this] { CmdSaveF_Click(); });
    onExit(cmdExit);

    fillLists();
    forgetValues();
    apply(InitialControls(model_, setup_));
}

// Not while the link is down: the command would open the dialog on no station.
frmWireless::~frmWireless() {
    if (G().Connected) mainView().setEnabled(MainControl::cmdSpecialSetting, true);
}

ui::ValueKey frmWireless::KeyOf(WControl c, int channel) {
    return {CardRecordTable::kCommCard, std::string(Info(c).group) + "/" + Info(c).item,
            c == C::wirChNo ? channel : 0};
}

bool frmWireless::Holds(WControl c, int channel) { return ui::Values().of(KeyOf(c, channel)) == ui::Held::Value; }

void frmWireless::forgetValues() {
    for (const ControlInfo& info : Controls()) {
        if (!HasControl(model_, info.control)) continue;
        const int boxes = info.control == C::wirChNo ? kChannelCount : 1;
        for (int ch = 0; ch < boxes; ++ch) ui::Values().set(KeyOf(info.control, ch), ui::Held::NotRead);
    }
}

QWidget* frmWireless::widget(WControl c, int channel) const {
    if (c == C::wirChNo) return wirChNo_[at(channel < 0 || channel >= kChannelCount ? 0 : channel)];
    return controls_[at(c)];
}

void frmWireless::fillLists() {
    applying_ = true;
    for (const ControlInfo& info : Controls()) {
        auto* cb = qobject_cast<QComboBox*>(controls_[at(info.control)]);
        if (!cb) continue;
        cb->clear();
        const int n = ListEntryCount(model_, setup_.FirmwareLevel, info.control);
        for (int i = 0; i < n; ++i) cb->addItem(shown(ListEntryText(info.control, i)));
        cb->setCurrentIndex(-1);
    }
    applying_ = false;
}

WirelessControls frmWireless::collect() const {
    WirelessControls c;
    for (const ControlInfo& info : Controls()) {
        const C k = info.control;
        c.Enabled(k) = controls_[at(k)] ? controls_[at(k)]->isEnabled() : false;
        if (k == C::wirChNo) {
            for (int ch = 0; ch < kChannelCount; ++ch) c.Text(k, ch) = ui::text(wirChNo_[at(ch)]);
        } else if (auto* cb = qobject_cast<QComboBox*>(controls_[at(k)])) {
            c.Entry(k) = cb->currentIndex();
        } else if (auto* b = qobject_cast<QLineEdit*>(controls_[at(k)])) {
            if (k != C::wirPassword) c.Text(k) = ui::text(b);
        }
    }
    c.KeyText = KeyText_;
    return c;
}

void frmWireless::apply(const WirelessControls& c) {
    const bool was = applying_;
    applying_ = true;
    for (const ControlInfo& info : Controls()) {
        const C k = info.control;
        QWidget* w = controls_[at(k)];
        if (!w) continue;
        if (k == C::wirChNo) {
            for (int ch = 0; ch < kChannelCount; ++ch) ui::setText(wirChNo_[at(ch)], c.Text(k, ch));
        } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
            cb->setCurrentIndex(c.Entry(k) < cb->count() ? c.Entry(k) : -1);
        } else if (auto* b = qobject_cast<QLineEdit*>(w)) {
            // The key box shows what the key handling puts there, nothing else.
            if (k != C::wirPassword) ui::setText(b, c.Text(k));
        }
        w->setEnabled(c.Enabled(k));
    }
    KeyText_ = c.KeyText;
    applying_ = was;
    drawHeld();
}

void frmWireless::drawHeld() {
    for (const ControlInfo& info : Controls()) {
        const C c = info.control;
        if (c == C::wirChNo) {
            for (int ch = 0; ch < kChannelCount; ++ch) ui::DrawBound(wirChNo_[at(ch)]);
        } else if (c != C::wirPassword) {
            ui::DrawBound(controls_[at(c)]);
        }
    }
    ui::DrawHeld(wirPassword_, ui::Values().of(KeyOf(C::wirPassword)));
}

void frmWireless::takeState(const TransferStep& step, const std::string& reply, bool taken) {
    if (reply.empty()) return;  // no answer: the upload ends, nothing is known
    const ui::ValueKey key = KeyOf(step.control, step.channel);
    // A refusal or an item the card does not use says so; an answer the
    // control cannot show (no key, no entry of the list) is no value either.
    if (IsFailedRead(reply))
        ui::Values().read(key, reply);
    else
        ui::Values().set(key, taken ? ui::Held::Value : ui::Held::NotRead);
}

void frmWireless::listChanged(WControl list) {
    if (applying_) return;
    const auto rule = RuleOnSelect(model_, setup_.FirmwareLevel, list);
    if (!rule) return;
    WirelessControls c = collect();
    ApplyEnableRule(*rule, c);
    apply(c);
}

void frmWireless::focusField(WControl c, int channel) {
    QWidget* w = widget(c, channel);
    QTimer::singleShot(0, w, [w] { w->setFocus(Qt::OtherFocusReason); });
}

bool frmWireless::lostFocusCheck(WControl c, int channel) {
    const auto check = CheckOf(c);
    if (!check) return true;
    const auto failure = RunCheck(model_, *check, channel, collect(), Holds);
    if (!failure) return true;
    ui::ShowEntryMessage(failure->message);
    // The station address is taken afresh rather than corrected; the emptied
    // box holds nothing to send.
    if (c == C::modAdd) {
        auto* box = static_cast<QLineEdit*>(controls_[at(c)]);
        ui::setText(box, "");
        ui::MarkNoValue(box);
    }
    return false;
}

bool frmWireless::keyLostFocus() {
    const std::string typed = ui::text(wirPassword_);
    // The box shows the mask while the key is kept: leaving it untouched keeps the key.
    if (typed == kKeyMask) return true;
    if (!keyEdited_ && typed == KeyText_) {
        ui::setText(wirPassword_, kKeyMask);
        return true;
    }
    if (!IsKeyText(typed)) {
        ui::ShowEntryMessage(Spec(model_, WirelessCheck::CheckWirPassword).row.message);
        return false;
    }
    // A key the user gave: the card's from now on.
    KeyText_ = typed;
    keyEdited_ = false;
    ui::Values().set(KeyOf(C::wirPassword), ui::Held::Value);
    ui::DrawHeld(wirPassword_, ui::Held::Value);
    ui::setText(wirPassword_, kKeyMask);
    return true;
}

bool frmWireless::eventFilter(QObject* watched, QEvent* event) {
    // The key shows only while its box has the focus.
    if (watched == wirPassword_ && event->type() == QEvent::FocusIn && ui::text(wirPassword_) == kKeyMask) {
        ui::setText(wirPassword_, KeyText_);
        keyEdited_ = false;
    }
    return ui::SettingsDialog::eventFilter(watched, event);
}

void frmWireless::InitControls() {
    Running run(*this);
    setup_ = SetupForVersion(model_, std::nullopt);
    versionKnown_ = true;
    if (Traits(model_).readsVersionAtSetup) {
        // A select not answered reads nothing more: a silent station shows in the upload.
        if (SelectCard("00", kUploadRetries)) WriteItem(kUploadRetries, kSettingsGroup, "01", "1");
        const std::string reply = ReadItem(kUploadRetries, kVersionGroup, kVersionItem);
        const std::optional<double> version = FirmwareVersionValue(reply);
        versionKnown_ = version.has_value();
        setup_ = SetupForVersion(model_, version);
    }
    fillLists();
    // Nothing of an earlier opening is shown: what the set-up puts in is no value.
    forgetValues();
    apply(InitialControls(model_, setup_));
    ui::setText(wirPassword_, kKeyMask);
}

void frmWireless::Upload_First_File() {
    InitControls();
    cmdUp_Click();
}

void frmWireless::cmdUp_Click() {
    Running run(*this);
    ui::Exchanges x(kUploadRetries);
    x.sendCardSelect("00");
    x.send(kSettingsGroup, "01", "1");
    x.readAny(kVersionGroup, kVersionItem);
    for (const TransferStep& step : UploadSteps(model_, setup_.FirmwareLevel)) {
        const std::string reply = x.read(step.group, step.item);
        // A read that gets no answer ends the upload; what was not read keeps what it held.
        if (!x.ok()) {
            ui::ShowTransferMessage(ui::kUploadingIncomplete);
            return;
        }
        WirelessControls c = collect();
        const bool taken = TakeUploadReply(model_, setup_.FirmwareLevel, step, reply, c);
        takeState(step, reply, taken);
        apply(c);
    }
    ui::setText(wirPassword_, kKeyMask);
}

void frmWireless::cmdDown_Click() {
    Running run(*this);
    // Every check runs, and every value is worked out, before anything is sent.
    const DownloadPlan plan = PlanDownload(model_, setup_.FirmwareLevel, collect(), Holds, versionKnown_);
    if (plan.failedCheck) {
        ui::ShowEntryMessage(plan.failedCheck->message);
        ui::ShowTransferMessage(ui::kDownloadingIncomplete);
        focusField(plan.failedCheck->focus, plan.failedCheck->channel);
        return;
    }
    if (!plan.writes.empty()) {
        ui::Exchanges select(kUploadRetries);
        select.sendCardSelect("00");
        select.write(kSettingsGroup, "01", "1");
        if (Traits(model_).downloadReadsVersion) select.read(kVersionGroup, kVersionItem);
        ui::Exchanges x(kDownloadRetries);
        if (select.ok())
            for (const ItemWrite& w : plan.writes) x.write(w.group, w.item, w.data);
        // The link stays up: the user may try again, or upload to see what the card took.
        if (!select.ok() || !x.ok()) return ui::ShowTransferMessage(ui::kDownloadingIncomplete);
    }
    // What it left on the card, by the captions the dialog shows; an item
    // the card does not use is not named.
    ui::LeftAsTheyAre left;
    for (const TransferStep& s : plan.left) {
        const ui::Held held = ui::Values().of(KeyOf(s.control, s.channel));
        if (s.control == C::wirChNo)
            left.add(held, kChannelFrameCaption, ChannelCaption(s.channel));
        else
            left.add(held, CaptionOnOneLine(s.control));
    }
    left.tell();
}

void frmWireless::CmdSaveF_Click() {
    Running run(*this);
    std::string path;
    if (!platform::AskSavePath(FileFilter(model_), path)) return;
    // The whole file is made before anything is written.
    std::vector<std::string> records;
    std::string error;
    if (!BuildFileRecords(model_, setup_.FileFormatCode, collect(), Holds, records, error))
        return showFileError(error, "Open Error");
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::string why = UnsavableFieldReason(records[i]);
        if (!why.empty()) return showFileError("Record " + std::to_string(i + 2) + why, "Open Error");
    }
    if (!SaveWholeFile(path, FormatValueFile(std::to_string(setup_.FileFormatCode), records), error))
        showFileError(error, "Open Error");
}

void frmWireless::CmdReadF_Click() {
    Running run(*this);
    std::string path;
    if (!platform::AskOpenPath(FileFilter(model_), path)) return;
    std::string bytes, error, codeLine;
    std::vector<std::string> records;
    if (!ReadWholeFile(path, kMaxQuotedFileBytes, bytes, error) ||
        !ParseValueFile(bytes, codeLine, records, error, {.maxFieldChars = kMaxSettingsFieldChars}))
        return showFileError(error, "");
    WirelessControls c = collect();
    std::vector<FileValue> loaded;
    switch (ReadFileRecords(model_, setup_.FirmwareLevel, setup_.FileFormatCode, codeLine, records, c, loaded,
                            error)) {
    case FileReadResult::Read:
        // A record with a text is a value; an empty one is none (an item the
        // card does not use stays so).
        for (const FileValue& v : loaded) ui::Values().loaded(KeyOf(v.control, v.channel), v.hasValue);
        apply(c);
        return;
    case FileReadResult::Refused:
        if (auto* m = platform::services().messages)
            m->show("read file incomplete", "save file", platform::MsgIcon::Stop);
        return;
    case FileReadResult::Damaged: showFileError(error, ""); return;
    }
}

void ShowWirelessDialog(WirelessModel model, QWidget* owner) {
    frmWireless dialog(model, owner);
    dialog.Upload_First_File();
    platform::execModal(dialog);
}

}  // namespace talvo::wireless
