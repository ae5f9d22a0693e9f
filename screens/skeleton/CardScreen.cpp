#include "screens/skeleton/CardScreen.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <algorithm>
#include <cassert>

#include "core/Colors.h"
#include "core/Connection.h"
#include "core/Globals.h"
#include "core/Lamps.h"
#include "core/LineTurn.h"
#include "core/MainView.h"
#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "platform/Services.h"
#include "screens/skeleton/TextBoxes.h"
#include "shell/ChildForms.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {

void showMessage(const std::string& text, const std::string& title, platform::MsgIcon icon) {
    if (auto* m = platform::services().messages) m->show(text, title, icon);
}

// A setting of one channel as transfers and checks see it: what its control
// shows, its working copy or its box.
std::string settingText(const Setting& s, int ch) {
    if (s.control.channels > 0) return s.control.text(ch);
    const std::size_t i = static_cast<std::size_t>(ch - 1);
    return s.copies ? (*s.copies)[i] : boxText(s.boxes[i]);
}

// A control shows a text only through its `restore`.
void setSettingText(const Setting& s, int ch, const std::string& text) {
    if (s.control.channels > 0) {
        if (s.control.restore) s.control.restore(ch, text);
        return;
    }
    const std::size_t i = static_cast<std::size_t>(ch - 1);
    if (s.copies)
        (*s.copies)[i] = text;
    else
        setBoxText(s.boxes[i], text);
}

// An Unused flag a transfer read or wrote: as the screen shows it, else through ShowBitText.
void showFlag(const Setting& s, int ch, const std::string& text) {
    if (s.flag.show)
        s.flag.show(ch, text);
    else
        ShowBitText(s.boxes[static_cast<std::size_t>(ch - 1)], text);
}

}  // namespace

std::vector<std::string> ItemRange(int first, int count) {
    std::vector<std::string> items;
    for (int i = 0; i < count; ++i) items.push_back(std::to_string(first + i));
    return items;
}

std::string ShownValue(const std::string& reply) { return IsRefusal(reply) ? std::string() : TextAfterColon(reply); }

void ReportLostLink() {
    showMessage("Uploading incomplete", "Uploading", platform::MsgIcon::Stop);
    DisconnectDevice();
}

CardScreen::CardScreen(const std::string& designCaption, QWidget* parent)
    : QWidget(parent), stateTag_(designCaption) {
    placeTwips(this, 0, 0, 9650, 7400);
    // The client area behind the screens is dark; a screen paints its own face.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setForegroundRole(QPalette::WindowText);
    WaitForTimer.setSingleShot(true);
    connect(&WaitForTimer, &QTimer::timeout, this, [this] { WaitForTimer_Timer(); });

    lblCardType_ = newLabel(this, "Card Type", 240, 160, 1000);
    txtCardType = newLockedBox(this);
    placeTwips(txtCardType, 1260, 120, 1800, 375);
    lblCardNo_ = newLabel(this, "Card No.", 3300, 160, 900);
    txtCardNo = newLockedBox(this);
    placeTwips(txtCardNo, 4200, 120, 600, 375);
    lblVerNo_ = newLabel(this, "Version No.", 5100, 160, 1140);
    txtVerNo = newLockedBox(this);
    placeTwips(txtVerNo, 6300, 120, 1200, 375);

    fraSetModel = new QGroupBox(QString::fromLatin1(designCaption.c_str()), this);
    placeTwips(fraSetModel, 120, 600, 9400, 6060);
    body_ = new QWidget(fraSetModel);
    placeTwips(body_, 60, 300, 9280, 5700);

    cmdUp = new QPushButton(QStringLiteral("Upload"), this);
    cmdDown = new QPushButton(QStringLiteral("Download"), this);
    placeButtons(6480, 6780);
    connect(cmdUp, &QPushButton::clicked, this, [this] { cmdUp_Click(); });
    connect(cmdDown, &QPushButton::clicked, this, [this] { cmdDown_Click(); });
}

void CardScreen::placeButtons(int left, int top) {
    int x = left;
    for (QPushButton* b : {cmdUp, cmdDown, cmdClear, cmdPreset}) {
        if (!b) continue;
        placeTwips(b, x, top, 1400, 495);
        x += 1560;
    }
}

void CardScreen::headerInFrame(int left, int top, int width, int height) {
    placeTwips(fraSetModel, left, top, width, height);
    placeTwips(body_, 0, 0, width, height);
    const struct {
        QLabel* label;
        QLineEdit* box;
        int x, boxWidth;
    } header[] = {{lblCardNo_, txtCardNo, 1080, 495}, {lblCardType_, txtCardType, 2040, 1215}, {lblVerNo_, txtVerNo, 3480, 1215}};
    for (const auto& h : header) {
        h.label->setParent(fraSetModel);
        h.box->setParent(fraSetModel);
        placeTwips(h.label, h.x, 360, std::max(h.boxWidth, 1200), 300);
        placeTwips(h.box, h.x, 720, h.boxWidth, 345);
        h.label->show();
        h.box->show();
        h.box->raise();
    }
}

int CardScreen::lineCard() const { return cardSlot_ >= 1 && cardSlot_ <= 16 ? cardSlot_ : kNoCard; }

int CardScreen::channels() const { return settings_.empty() ? 0 : settings_.front().channels(); }

int CardScreen::channels(const Pass& pass) const {
    int n = 0;
    for (int si : pass.settings) n = std::max(n, settings_[static_cast<std::size_t>(si)].channels());
    return n;
}

void CardScreen::openCard(const std::string& typeCode, const ScreenSpec& spec) {
    // The opener runs whole: a pick, click or tick meanwhile waits for the line.
    LineHold hold(G().CurCardNo);
    cardSlot_ = G().CurCardNo;
    const int slot = cardSlot_;
    const std::string text = ScreenTypeText(spec, typeCode);
    fraSetModel->setTitle(QString::fromLatin1(text.c_str()));
    setBoxText(txtCardType, text);
    setBoxText(txtCardNo, std::to_string(slot));
    if (spec.stopTimer) WaitForTimer.stop();
    G().CurFormType = spec.code;
    shell::ShowChildForm(spec.code);

    // A card that could not be selected is not read: the opener's hold sends
    // nothing more, and the first live read reports the lost link.
    const auto selectAndVersion = [&] {
        // The version of the card shown before is not this one's, whatever comes.
        setBoxText(txtVerNo, "");
        if (SelectCard(slot)) setBoxText(txtVerNo, ShownValue(ReadItem(3, "00", "40")));
    };
    // The boxes are filled from the record of the slot this opener started on.
    if (spec.order == OpenOrder::A) {
        enterCard(typeCode);
        selectAndVersion();
    } else {
        selectAndVersion();
        openerReads(slot);
        enterCard(typeCode);
    }
}

int CardScreen::variantOf(const std::string& model) const {
    for (std::size_t v = 0; v < variants_.size(); ++v) {
        const auto& prefixes = variants_[v].models;
        if (prefixes.empty()) return static_cast<int>(v);
        for (const std::string& p : prefixes)
            if (model.rfind(p, 0) == 0) return static_cast<int>(v);
    }
    return 0;
}

int CardScreen::shownVariant() const { return variantOf(fraSetModel->title().toLatin1().toStdString()); }

void CardScreen::prepare(const std::string&) {}
void CardScreen::openerReads(int) {}
void CardScreen::showSettingsExtra(const CardRecord&) {}

std::string CardScreen::storedText(const Setting& s, int ch, const CardRecord& rec) const {
    return rec.Param[s.param(ch)];
}

void CardScreen::storeText(const Setting& s, int ch, CardRecord& rec, const std::string& text) {
    rec.Param.set(s.param(ch), text);
}
void CardScreen::uploadExtra(Transfer&) {}
void CardScreen::downloadExtra(Transfer&) {}
bool CardScreen::checkEntries() { return rangeChecksPass(); }

void CardScreen::SetScaleMinMax(const std::string& typeCode) {
    prepare(typeCode);
    DownloadRequest = UploadRequest = ClearRequest = PresetRequest = 0;
    CyclicRun = true;
    ShowSettings(typeCode);
    WaitForTimer_Timer();
}

void CardScreen::ShowSettings(const std::string&) {
    const CardRecord* rec = G().CardRecords.get(cardSlot_);
    if (!rec) return;
    for (const Setting& s : settings_)
        for (int ch = 1; ch <= s.channels(); ++ch) restoreBox(s, ch, *rec, true);
    showSettingsExtra(*rec);
    drawHeldStates(*rec);
}

// --- what a setting holds ---

ui::ValueKey CardScreen::valueKey(const std::string& name, int ch) const {
    return {cardSlot_, stateTag_ + "." + name, ch};
}

std::string CardScreen::rowName(const Setting& s) const {
    // A row is known by its place in the screen's table.
    const std::ptrdiff_t i = &s - settings_.data();
    assert(i >= 0 && i < static_cast<std::ptrdiff_t>(settings_.size()));
    return "row" + std::to_string(i);
}

bool CardScreen::dependsOnVariant(const Setting& s) const {
    for (std::size_t v = 1; v < variants_.size(); ++v)
        if (s.onCard(static_cast<int>(v)) != s.onCard(0)) return true;
    return false;
}

Held CardScreen::held(const std::string& name, int ch, const std::string& recordText) const {
    return ui::Values().of(valueKey(name, ch), recordText);
}

void CardScreen::setHeld(const std::string& name, int ch, QWidget* control, Held h) {
    ui::Values().set(valueKey(name, ch), h);
    DrawHeld(control, h);
}

Held CardScreen::held(const Setting& s, int ch, const CardRecord& rec) const {
    return held(rowName(s), ch, recordText(s, ch, rec));
}

void CardScreen::setHeld(const Setting& s, int ch, Held h) { setHeld(rowName(s), ch, controlOf(s, ch), h); }

QWidget* CardScreen::controlOf(const Setting& s, int ch) const {
    if (s.control.channels > 0) return s.control.widget ? s.control.widget(ch) : nullptr;
    if (s.copies) return nullptr;
    const std::size_t i = static_cast<std::size_t>(ch - 1);
    return i < s.boxes.size() ? s.boxes[i] : nullptr;
}

void CardScreen::watchUserSets(const std::string& name, int ch, QWidget* control) {
    // Watched once, however often a screen's entry asks.
    if (!control || control->property("heldWatched").toBool()) return;
    control->setProperty("heldWatched", true);
    // The state is the slot's the screen shows when the user acts.
    ui::OnUserEdit(control, this, [this, name, ch, control] { setHeld(name, ch, control, Held::Value); });
}

void CardScreen::drawHeldStates(const CardRecord& rec) {
    const bool first = !watching_;
    watching_ = true;
    for (const Setting& s : settings_)
        for (int ch = 1; ch <= s.channels(); ++ch) {
            QWidget* w = controlOf(s, ch);
            if (first) watchUserSets(rowName(s), ch, w);
            DrawHeld(w, held(s, ch, rec));
        }
}

std::string CardScreen::recordText(const Setting& s, int ch, const CardRecord& rec) const {
    return s.flag.unused ? rec.ChOption[ch] : storedText(s, ch, rec);
}

void CardScreen::setRecordText(const Setting& s, int ch, CardRecord& rec, const std::string& text) {
    if (s.flag.unused)
        rec.ChOption.set(ch, text);
    else
        storeText(s, ch, rec, text);
}

void CardScreen::restoreBox(const Setting& s, int ch, const CardRecord& rec, bool asBit) {
    if (!s.flag.unused || s.control.channels > 0) {
        setSettingText(s, ch, recordText(s, ch, rec));
        return;
    }
    QLineEdit* box = s.boxes[static_cast<std::size_t>(ch - 1)];
    if (asBit)
        ShowBitText(box, rec.ChOption[ch]);
    else
        setBoxText(box, rec.ChOption[ch]);
}

void CardScreen::WaitForTimer_Timer() {
    if (inTick_) return;
    inTick_ = true;
    WaitForTimer.stop();
    bool served = true;
    {
        LineHold hold(lineCard());
        served = ProcessRequest();
    }
    inTick_ = false;
    // A request that found the line busy is served as soon as the line is free,
    // not half a cycle later.
    const bool pending = DownloadRequest || UploadRequest || ClearRequest || PresetRequest;
    if (CyclicRun) WaitForTimer.start(!served && pending ? kRequestDelayMs : cycleMs_);
    tickEnded();
}

bool CardScreen::ProcessRequest() {
    if (!shell::childForms().isShown(this)) {
        CyclicRun = false;
        return true;
    }
    // No traffic while the card list has the focus, nor while another routine
    // holds the line or a user action waits for it, nor under a modal window
    // (a message, the version box, a file dialog): only that window talks to
    // the station while it is up. The next tick looks again.
    if (!LineFreeForRoutine() || platform::topModal() != 0) return false;
    if (servePriority()) return true;
    if (G().CardListFocused) return false;
    if (!serveRequest()) procCycDataRead();
    return true;
}

bool CardScreen::serveRequest() {
    const auto serve = [this](int& flag, auto routine) {
        if (!requestClearedAfterRun_) flag = 0;
        (this->*routine)();
        flag = 0;
        return true;
    };
    if (DownloadRequest) return serve(DownloadRequest, &CardScreen::DownloadSettings);
    if (UploadRequest) return serve(UploadRequest, &CardScreen::UploadSettings);
    if (ClearRequest) return serve(ClearRequest, &CardScreen::clearCount);
    if (PresetRequest) return serve(PresetRequest, &CardScreen::presetCount);
    return false;
}

void CardScreen::leaving() {
    if (inTick_ || !shell::childForms().isShown(this)) return;
    // A click the cycle has not served yet is served now, for this screen's
    // card, before the line goes to what comes next.
    inTick_ = true;
    WaitForTimer.stop();
    {
        // With the link down (a Connect after a Disconnect that could not wait
        // for the line) each is refused with its own failure message.
        LineHold hold(lineCard());
        while (serveRequest()) {
        }
    }
    inTick_ = false;
    // The cycle goes on as a tick would leave it (a screen then hidden ends it).
    if (CyclicRun) WaitForTimer.start(kRequestDelayMs);
}

void CardScreen::raiseRequest(int& flag) {
    flag = -1;
    // Served about 10 ms from now; a click during a tick is served by the next one.
    // Starting the timer here also serves a click after the cycle was stopped on deactivation.
    if (!inTick_ && CyclicRun) WaitForTimer.start(kRequestDelayMs);
}

void CardScreen::cmdUp_Click() {
    if (!entriesSettled()) return;
    requestAccepted();
    raiseRequest(UploadRequest);
}
void CardScreen::cmdDown_Click() {
    if (!entriesSettled()) return;
    requestAccepted();
    if (downloadAtNextTick_)
        DownloadRequest = -1;  // the cycle is not cut short for it
    else
        raiseRequest(DownloadRequest);
}

bool CardScreen::event(QEvent* e) {
    // Boxes a screen makes itself get the single-byte guard too, before it is first shown.
    if (e->type() == QEvent::Polish) GuardAllBoxes(this);
    return QWidget::event(e);
}

void CardScreen::formHidden() {
    // The live cycle stays off until the screen is entered again. Another program,
    // a message box or a file dialog taking the focus is no reason to stop.
    if (stopWhenDeactivated_ && !inTick_) WaitForTimer.stop();
}

// --- transfers ---

CardScreen::Transfer::Transfer(const CardScreen& screen, const char* failureMessage)
    : message_(failureMessage),
      retries_(screen.transferRetries_),
      cardSlot_(screen.cardSlot()),
      record_(G().CardRecords.get(cardSlot_)) {
    ok_ = record_ && cardSlot_ >= 1 && cardSlot_ <= 16;
    // Nothing may pick another slot or start other traffic while this one runs.
    mainView().setEnabled(MainControl::cboCardNo, false);
    mainView().setEnabled(MainControl::cmdOverView, false);
}

CardScreen::Transfer::~Transfer() {
    mainView().closeProgress();
    if (G().Connected) {
        mainView().setEnabled(MainControl::cboCardNo, true);
        mainView().setEnabled(MainControl::cmdOverView, true);
    }
}

void CardScreen::Transfer::fail() {
    ok_ = false;
    if (failed_) return;
    failed_ = true;
    mainView().closeProgress();
    const std::string msg = message_;
    showMessage(msg, msg.rfind("Downloading", 0) == 0 ? "Downloading" : "Uploading", platform::MsgIcon::Stop);
    DisconnectDevice();
}

CardRecord& CardScreen::stampedRecord(Transfer& t) {
    CardRecord& rec = t.record();
    rec.CardType = boxText(txtCardType);
    stampVersion(rec);
    return rec;
}

void CardScreen::stampVersion(CardRecord& rec) const {
    const std::string v = boxText(txtVerNo);
    if (!v.empty()) rec.Version = v;
}

void CardScreen::Transfer::leftOnCard(const Setting& s, int variant, int ch, Held why) {
    leftOnCard_.add(why, s.caption(variant, ch), s.channelName(ch));
}

void CardScreen::Transfer::tellLeftOnCard() const {
    // The same message as the settings dialogs give.
    if (ok_) leftOnCard_.tell();
}

bool CardScreen::Transfer::select() {
    if (!ok_) return false;
    if (!SelectCard(cardSlot_, retries_))
        fail();
    return ok_;
}

std::string CardScreen::Transfer::read(const std::string& group, const std::string& item) {
    if (!ok_) return {};
    std::string r = ReadItem(retries_, group, item);
    if (r.empty()) fail();
    return r;
}

std::string CardScreen::Transfer::readChecked(const std::string& group, const std::string& item,
                                              const std::string& data) {
    if (!ok_) return {};
    std::string r = WriteItemChecked(retries_, group, item, data);
    if (r.empty()) fail();
    return r;
}

std::string CardScreen::Transfer::write(const std::string& group, const std::string& item, const std::string& data) {
    if (!ok_) return {};
    std::string r = WriteItem(retries_, group, item, data);
    if (r.empty()) fail();
    return r;
}

void CardScreen::Transfer::step(int value) {
    if (ok_) mainView().setProgress(value);
}

std::string CardScreen::channelGroupOf(const Pass& pass, int variant, int ch) const {
    assert(!pass.settings.empty());
    return settings_[static_cast<std::size_t>(pass.settings.front())].groupOn(variant, ch);
}

bool CardScreen::onCard(const Pass& pass, int variant) const {
    return std::any_of(pass.settings.begin(), pass.settings.end(),
                       [&](int si) { return settings_[static_cast<std::size_t>(si)].onCard(variant); });
}

void CardScreen::settingLacked(const Setting& s, int ch, CardRecord& rec, bool upload) {
    if (s.record.whereLacked == BoxAndField::Kept) {
        if (upload) storeShown(s, ch, rec);
        return;
    }
    // The record keeps nothing for it.
    if (upload) setSettingText(s, ch, "");
    setRecordText(s, ch, rec, "");
}

void CardScreen::storeShown(const Setting& s, int ch, CardRecord& rec) {
    setRecordText(s, ch, rec, settingText(s, ch));
}

bool CardScreen::uploadSetting(Transfer& t, const Setting& s, int ch, int variant) {
    CardRecord& rec = t.record();
    // The card's version not known: a setting only some cards have stays as it was.
    if (!variantKnown() && dependsOnVariant(s)) return true;
    if (!s.onCard(variant)) {  // nothing to read
        settingLacked(s, ch, rec, true);
        return true;
    }
    const std::string group = s.groupOn(variant, ch), item = s.itemText(variant, ch);
    const std::string reply =
        s.at.data == DataFrame::None ? t.read(group, item) : t.readChecked(group, item, s.readData(ch));
    if (!t.ok()) return false;  // what was not read keeps what it held
    // A refusal ("CNG", "NEEDLESS") is no value: the box and the record keep
    // theirs, drawn as not read, and a download sends nothing for it until the
    // user sets it or a later read brings a value.
    if (IsRefusal(reply)) {
        setHeld(s, ch, ui::HeldOfReply(reply));
        return true;
    }
    const std::string value = TextAfterColon(reply);
    const Held before = held(s, ch, rec);
    setHeld(s, ch, Held::Value);  // drawn as read before the control shows the value
    if (s.control.channels > 0) {
        if (const std::optional<std::string> stored = s.control.show(ch, value))
            setRecordText(s, ch, rec, *stored);
        else
            setHeld(s, ch, before);  // no value it can show: as it was
        return true;
    }
    if (s.flag.unused)
        showFlag(s, ch, value);
    else
        setSettingText(s, ch, value);
    storeShown(s, ch, rec);  // what the box took of it
    return true;
}

void CardScreen::UploadSettings() {
    Transfer t(*this, "Uploading incomplete");
    if (!t.ok()) return;
    stampedRecord(t);
    mainView().showProgress(transferSteps_.upload, "Uploading");
    if (!t.select()) return;
    const int v = shownVariant();
    for (const Pass& pass : passes_) {
        if (pass.downloadOnly) continue;
        const std::string& open = pass.openGroup[v];
        if (!open.empty() && t.write(open, "01", "1").empty()) return;
        for (int ch = 1; ch <= channels(pass); ++ch) {
            if (pass.openChannelGroup && t.write(channelGroupOf(pass, v, ch), "01", "1").empty()) return;
            for (int si : pass.settings) {
                const Setting& s = settings_[static_cast<std::size_t>(si)];
                if (ch <= s.channels() && !uploadSetting(t, s, ch, v)) return;
            }
            if (pass.progressAfter && onCard(pass, v)) t.step(pass.progressAfter(ch));
        }
    }
    uploadExtra(t);
}

bool CardScreen::rangeChecksPass() {
    const int variant = shownVariant();
    const CardRecord* rec = G().CardRecords.get(cardSlot_);
    for (int ch = 1; ch <= channels(); ++ch) {
        for (const Setting& s : settings_) {
            if (!s.check.range.min || !s.check.range.max || ch > s.channels() || !s.onCard(variant)) continue;
            // A setting that holds no value is not sent, so its text is not checked either.
            if (rec && held(s, ch, *rec) != Held::Value) continue;
            const std::string text = settingText(s, ch);
            if (text.empty()) continue;
            double v = 0;
            // A text with no numeric value ("-", ".") is as incorrect as one out of range.
            if (!ParseNumber(text, v) || v < *s.check.range.min || v > *s.check.range.max) {
                showMessage(s.check.range.label + ":Incorrect settings", "", platform::MsgIcon::Information);
                return false;
            }
        }
    }
    return true;
}

namespace {
bool accepted(const Setting& s, const std::string& text) {
    if (s.check.accepts) return s.check.accepts(text);
    double number = 0;
    switch (s.accept) {
        case Accept::NotEmpty: return !text.empty();
        // "-", "." and "-." pass the character checks but are no number: never sent.
        case Accept::Integer: return IsIntegerText(text) && ParseNumber(text, number);
        case Accept::Decimal: return IsDecimalText(text) && ParseNumber(text, number);
        case Accept::Bit: return text == "1" || text == "0";
        case Accept::Count: return CountWithin(text, s.check.count.min, s.check.count.max);
    }
    return false;
}
}  // namespace

void CardScreen::unsent(const Setting& s, int ch, CardRecord& rec) {
    switch (s.record.unsent) {
        case Unsent::Emptied: setSettingText(s, ch, ""); return;
        case Unsent::Kept: return;
        case Unsent::Stored: storeShown(s, ch, rec); return;
        case Unsent::Restored: break;
    }
    if (s.flag.unused && s.flag.show)
        s.flag.show(ch, rec.ChOption[ch]);
    else
        restoreBox(s, ch, rec, s.accept == Accept::Bit || s.flag.restoreAsBit);
}

bool CardScreen::downloadSetting(Transfer& t, const Setting& s, int ch, int variant,
                                 std::initializer_list<int> alsoTo) {
    CardRecord& rec = t.record();
    if (s.record.uploadOnly) return true;
    // The card's version not known: a setting only some cards have is left.
    if (!variantKnown() && dependsOnVariant(s)) {
        t.leftOnCard(s, variant, ch, Held::NotRead);
        return true;
    }
    if (!s.onCard(variant)) {  // nothing to send
        settingLacked(s, ch, rec, false);
        return true;
    }
    // What was not read, loaded or typed is not sent (no default stands in for it).
    if (const Held h = held(s, ch, rec); h != Held::Value) {
        t.leftOnCard(s, variant, ch, h);
        return true;
    }
    const std::string text = s.control.data ? s.control.data(ch) : settingText(s, ch);
    if (!accepted(s, text)) {
        // An empty box, a list without an entry, a text no number: nothing to send.
        unsent(s, ch, rec);
        t.leftOnCard(s, variant, ch, Held::NotRead);
        return true;
    }
    const std::string sent = s.sentData(ch, text);
    const std::string reply = t.write(s.groupOn(variant, ch), s.itemText(variant, ch), sent);
    for (int other : alsoTo)
        if (t.ok()) t.write(s.groupOn(variant, other), s.itemText(variant, other), sent);
    if (!t.ok()) return false;  // the record keeps only what the card accepted
    if (s.control.channels > 0) {
        storeShown(s, ch, rec);  // what the control shows, not the code sent
    } else if (s.flag.unused) {
        showFlag(s, ch, TextAfterColon(reply));  // the flag shows what the card answered
        storeShown(s, ch, rec);
    } else {
        setRecordText(s, ch, rec, text);
    }
    return true;
}

void CardScreen::DownloadSettings() {
    if (!checkEntries()) return;
    Transfer t(*this, "Downloading incomplete");
    if (!t.ok()) return;
    stampedRecord(t);
    if (transferSteps_.downloadBarFirst) mainView().showProgress(transferSteps_.download, "Downloading");
    if (!t.select()) return;
    const int v = shownVariant();
    const std::string firstOpen = passes_.empty() ? std::string() : passes_.front().openGroup[v];
    if (!firstOpen.empty() && t.write(firstOpen, "01", "1").empty()) return;
    if (!transferSteps_.downloadBarFirst) mainView().showProgress(transferSteps_.download, "Downloading");
    for (std::size_t p = 0; p < passes_.size(); ++p) {
        const Pass& pass = passes_[p];
        const std::string& open = pass.openGroup[v];
        if (p > 0 && !open.empty() && t.write(open, "01", "1").empty()) return;
        for (int ch = 1; ch <= channels(pass); ++ch) {
            if (pass.openChannelGroup && t.write(channelGroupOf(pass, v, ch), "01", "1").empty()) return;
            for (int si : pass.settings) {
                const Setting& s = settings_[static_cast<std::size_t>(si)];
                if (ch <= s.channels() && !downloadSetting(t, s, ch, v)) return;
            }
            if (pass.progressAfter && onCard(pass, v)) t.step(pass.progressAfter(ch));
        }
    }
    downloadExtra(t);
    t.tellLeftOnCard();
}

void CardScreen::procCycDataRead() {
    const int slot = cardSlot_;
    if (slot < 1 || slot > 16 || live_.boxes.empty()) return;
    // Values read from another card would pass for this one's.
    if (!SelectCard(slot, live_.retries)) {
        if (!live_.quiet && G().Connected) ReportLostLink();
        return;
    }
    if (live_.boxByBox) {
        readLiveBoxByBox();
        return;
    }
    std::vector<std::string> replies;
    for (const std::string& item : live_.items) {
        bool hidden = false;
        std::string r = readLiveItem("00", item, hidden);
        if (r.empty() && !live_.quiet) {
            if (!hidden && G().Connected) ReportLostLink();
            return;
        }
        replies.push_back(std::move(r));
    }
    for (QLineEdit* b : live_.blanked.empty() ? live_.boxes : live_.blanked) {
        if (!b) continue;
        b->clear();
        b->repaint();
    }
    // The boxes blink empty for a moment each cycle, as the card's users know it.
    PauseMs(live_.pauseMs);
    for (std::size_t i = 0; i < replies.size() && i < live_.boxes.size(); ++i) {
        if (!live_.boxes[i]) continue;
        const std::string v = ShownValue(replies[i]);  // a refused value shows none
        const bool removePoint = i < live_.removePoint.size() ? live_.removePoint[i] : live_.removeDecimalPoint;
        setBoxText(live_.boxes[i], removePoint ? RemoveDecimalPoint(v) : v);
    }
    if (!live_.lamps.empty() && !readLamps() && G().Connected) ReportLostLink();
}

std::string CardScreen::readLiveItem(const std::string& group, const std::string& item, bool& hidden) {
    std::string r = ReadItem(live_.retries, group, item);
    for (int n = 0; !r.empty() && !live_.rereadValue.empty() && TextAfterColon(r) == live_.rereadValue; ++n) {
        if (!shell::childForms().isShown(this)) {
            hidden = true;
            return {};
        }
        if (n == kMaxLiveRereads) return {};
        r = ReadItem(live_.retries, group, item);
    }
    return r;
}

bool CardScreen::readLamps() {
    for (QLabel* l : live_.lamps) ui::setBackColor(l, colors::SysMenu);
    const std::vector<int>& bits = live_.lampBits;
    const std::size_t perWord = bits.empty() ? 16 : bits.size();
    const auto paint = [&](std::size_t w, const std::string& word) {
        // A refused read ("CNG", "NEEDLESS") is no word: its lamps stay neutral
        // rather than lighting from the letters, as on the overview.
        if (perWord * w >= live_.lamps.size() || IsRefusal(word)) return;
        const std::size_t count = std::min(perWord, live_.lamps.size() - perWord * w);
        const std::vector<std::uint32_t> colours = LampColorsFromWord(TextAfterColon(word), 16);
        for (std::size_t k = 0; k < count && k < colours.size(); ++k) {
            const int bit = bits.empty() ? static_cast<int>(k) : bits[k];
            if (bit >= 0 && bit < 16)
                ui::setBackColor(live_.lamps[perWord * w + k], colours[static_cast<std::size_t>(bit)]);
        }
    };
    std::vector<std::string> words;
    for (const std::string& item : live_.lampItems) {
        std::string r = ReadItem(live_.retries, "00", item);
        if (r.empty()) return false;
        if (live_.lampsWordByWord) paint(words.size(), r);
        words.push_back(std::move(r));
    }
    if (!live_.lampsWordByWord)
        for (std::size_t w = 0; w < words.size(); ++w) paint(w, words[w]);
    return true;
}

// Each box changes as soon as its own reply is in, so a read that fails part-way
// leaves the boxes before it new and the rest as they were.
void CardScreen::readLiveBoxByBox() {
    for (std::size_t i = 0; i < live_.items.size() && i < live_.boxes.size(); ++i) {
        const std::string group = i < live_.groups.size() ? live_.groups[i] : "00";
        bool hidden = false;
        const std::string r = readLiveItem(group, live_.items[i], hidden);
        if (r.empty()) {
            if (!hidden && G().Connected) ReportLostLink();
            return;
        }
        const std::string v = live_.removeDecimalPoint ? RemoveDecimalPoint(ShownValue(r)) : ShownValue(r);
        QLineEdit* b = live_.boxes[i];
        QLineEdit* second = i < live_.pairBoxes.size() ? live_.pairBoxes[i] : nullptr;
        const bool keep = !live_.keepPrefix.empty() && v.rfind(live_.keepPrefix, 0) == 0;
        if (!keep) {
            for (QLineEdit* e : {b, second}) {
                if (!e) continue;
                e->clear();
                e->repaint();
            }
        }
        PauseMs(live_.pauseMs);
        if (keep) continue;
        const std::size_t comma = second ? v.find(',') : std::string::npos;
        setBoxText(b, comma == std::string::npos ? v : v.substr(0, comma));
        if (second) setBoxText(second, comma == std::string::npos ? v : v.substr(comma + 1));
    }
}

}  // namespace talvo::screens
