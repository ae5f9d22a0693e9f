// The power monitor's traffic with its card: Upload and Download of the
// bindings and card-wide settings, the live read of the 16 data words and the
// reset of the card's sums, extremes and demand values.
//
// The card-wide settings are the skeleton's rows (settings_), each read and
// sent by the skeleton's row steps; the order around them is the screen's own,
// because the passes cannot say it: the card type is renewed from the card's
// model, the bindings come from the channel rows and are left alone (and
// named) while any of them holds no value, both systems' groups are opened
// before the first read, the reads go system by system (the sensor before the
// CT primary) while a download writes all of system #1 and then all of system
// #2 (the common settings again), the wiring goes to both groups at once, a
// further slot of the card only copies the settings into its record, and a
// one-system card's record holds "-1" for the second system.
#include <initializer_list>

#include "core/Colors.h"
#include "core/Globals.h"
#include "core/MainView.h"
#include "core/Overview.h"
#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "screens/skeleton/TextBoxes.h"
#include "screens/power/GbhValues.h"
#include "screens/power/frmGBH.h"
#include "ui/Geometry.h"

namespace talvo::screens {

namespace {

constexpr int kUploadSteps = 15, kDownloadSteps = 16;
// The card takes its time over a download or a reset before it answers again.
constexpr int kSettleMs = 1000;

std::string cellText(const QLabel* cell) { return cell->text().toLatin1().toStdString(); }

void paint(QLabel* cell, std::uint32_t color) { ui::setBackColor(cell, color); }

}  // namespace

// --- buttons ---

void frmGBH::CmdReset_Click() {
    SetControlsEnabled(false);
    raiseRequest(ClearRequest);
}

void frmGBH::tickEnded() {
    if (CyclicRun || !requestPending()) return;
    // The screen was left with a request raised: it will not run, and what its
    // button locked is unlocked again.
    DownloadRequest = UploadRequest = ClearRequest = PresetRequest = 0;
    applyEnabled(true, false);
}

// --- upload ---

void frmGBH::UploadSettings() {
    SetControlsEnabled(false);
    uploadAll();
    shareStates();
    SetControlsEnabled(true);
    LiveReadEnabled = -1;
}

bool frmGBH::uploadAll() {
    Transfer t(*this, "Uploading incomplete");
    if (!t.ok()) return false;
    CardRecord& rec = t.record();
    stampVersion(rec);
    mainView().showProgress(kUploadSteps, "Uploading");
    if (!t.select()) return false;
    const std::string model = t.read("00", "04");
    if (!t.ok()) return false;
    // A card that gives no model keeps the one the record holds.
    if (!IsRefusal(model) && !TextAfterColon(model).empty()) rec.CardType = TextAfterColon(model);

    if (t.write("02", "01", "F").empty()) return false;
    for (int i = 0; i < kRows; ++i) {
        const std::string reply = t.read("02", std::to_string(i + 10));
        if (!t.ok()) {
            // What was not read keeps its text, and holds no value: the screen
            // no longer knows all of the card's bindings, so it will not write them back.
            for (int j = i; j < kRows; ++j) setBindingHeld(j, Held::NotRead);
            return false;
        }
        // A refused read keeps the text held before, which may be anything: an
        // unbound "0;0;0;0" there would end the layout and a download would then
        // unbind every later binding of the card.
        const std::string text = UploadedBindingText(reply, rec.Param[i + 1]);
        setBindingHeld(i, IsRefusal(reply) ? ui::HeldOfReply(reply) : text.empty() ? Held::NotRead : Held::Value);
        rec.Param.set(i + 1, text);
        t.step(i);
    }
    for (int i = 0; i < kRows; ++i) rows_.BindInfo[static_cast<std::size_t>(i)] = rec.Param[i + 1];
    rows_.setBinding();
    showRows();

    const bool two = IsTypeVariant2();
    if (t.write("03", "01", "F").empty()) return false;
    if (two && t.write("04", "01", "F").empty()) return false;
    // The sensor before the CT primary: the sensor puts its rating into the CT
    // box, which the card's own primary then replaces.
    if (!uploadSystem(t, {Wiring, VtPri, VtSec, ClampSensor, CtPri, VCut, ICut, InpSignal}, 1)) return false;
    if (two) {
        if (!uploadSystem(t, kSecondSystem, 2)) return false;
    } else {
        noSecondSystem(rec);
    }
    return uploadSystem(t, {PfSign, QSign, SCalc, DemandI, DemandP}, 1);
}

bool frmGBH::uploadSystem(Transfer& t, std::initializer_list<Wide> rows, int system) {
    for (Wide w : rows)
        if (!uploadSetting(t, settings_[w], system, 0)) return false;
    return true;
}

void frmGBH::noSecondSystem(CardRecord& rec) const {
    for (Wide w : kSecondSystem) rec.Param.set(settings_[w].param(2), "-1");
}

// --- download ---

void frmGBH::DownloadSettings() {
    SetControlsEnabled(false);
    // A sensor list the download refills puts no rating in as the user's.
    ++quietSensor_;
    downloadAll();
    --quietSensor_;
    SetControlsEnabled(true);
    LiveReadEnabled = -1;
}

bool frmGBH::downloadAll() {
    Transfer t(*this, "Downloading incomplete");
    if (!t.ok()) return false;
    CardRecord& rec = t.record();
    // Only the card's main slot writes the card-wide settings; judged by the
    // model the record held before this download renews it.
    const int subType = GetPowerCardSubType(rec.CardType);
    const bool mainSlot = subType != 2 && subType != 3;
    stampVersion(rec);
    mainView().showProgress(kDownloadSteps, "Downloading");
    if (!t.select()) return false;
    const std::string model = t.read("00", "04");
    if (!t.ok()) return false;
    if (!IsRefusal(model) && !TextAfterColon(model).empty()) rec.CardType = TextAfterColon(model);

    shareStates();
    if (bindingsUnsure()) {
        // The card's bindings are not all known: writing the rows would unbind
        // or overwrite those the screen could not read, so none is written,
        // and each is named by the channel the screen shows it on.
        for (const QLabel* channel : hexIdx) t.leftOnCard("Ch", channel->text().toStdString());
    } else {
        if (t.write("02", "01", "F").empty()) return false;
        rows_.setBindInfo();
        for (int i = 0; i < kRows; ++i) {
            const std::string& text = rows_.BindInfo[static_cast<std::size_t>(i)];
            if (t.write("02", std::to_string(i + 10), text).empty()) return false;
            rec.Param.set(i + 1, text);
            t.step(i);
        }
    }

    const bool two = IsTypeVariant2();
    if (mainSlot) {
        if (t.write("03", "01", "F").empty()) return false;
        for (int w = 0; w < kWide; ++w) {
            const Setting& s = settings_[static_cast<std::size_t>(w)];
            // The wiring is the same for both systems: it goes to both groups at once.
            const bool sent = two && w == Wiring ? downloadSetting(t, s, 1, 0, {2}) : downloadSetting(t, s, 1, 0);
            if (!sent) return false;
        }
    } else {
        for (int w = 0; w < kWide; ++w)
            if (w != Wiring) storeShown(settings_[static_cast<std::size_t>(w)], 1, rec);  // the wiring's field stays
    }
    if (!two) {
        noSecondSystem(rec);
    } else if (mainSlot) {
        if (t.write("04", "01", "F").empty()) return false;
        for (const Setting& s : settings_)
            if (!downloadSetting(t, s, 2, 0)) return false;
    } else {
        for (Wide w : kSecondSystem) storeShown(settings_[w], 2, rec);
    }
    if (t.write("02", "09", "1").empty()) return false;
    PauseMs(kSettleMs);
    t.tellLeftOnCard();
    return true;
}

// --- reset ---

void frmGBH::clearCount() { ResetValues(); }

void frmGBH::ResetValues() {
    const int index = cbResetVal->currentIndex();
    if (index >= 1 && index <= 8) {
        Transfer t(*this, "Downloading incomplete");
        // "#1..." entries are the first system's, in group "03"; "#2..." in "04".
        const std::string group = index <= 4 ? "03" : "04";
        const std::string item = std::to_string(25 + (index - 1) % 4);
        if (t.ok() && t.select() && !t.write(group, item, "1").empty()) PauseMs(kSettleMs);
    } else {
        PauseMs(kSettleMs);  // nothing chosen: the controls stay locked as long all the same
    }
    SetControlsEnabled(true);
}

// --- live read ---

bool frmGBH::readWord(int c, std::string& word) {
    const std::string reply = ReadItem(3, "01", std::to_string(c + 10));
    if (reply.empty()) return false;
    word = LiveWordText(reply, cellText(txtParData[static_cast<std::size_t>(c)]));
    return true;
}

void frmGBH::setCell(QLabel* cell, const std::string& text) { cell->setText(QString::fromLatin1(text.c_str())); }

void frmGBH::procCycDataRead() {
    if (LiveReadEnabled != -1) return;
    const int slot = cardSlot();
    if (slot < 1 || slot > 16) return;
    const auto lost = [] {
        if (G().Connected) ReportLostLink();
    };
    // Words read from another card would pass for this one's.
    if (!SelectCard(slot)) return lost();
    int r = 0;
    while (r < kRows) {
        const std::size_t i = static_cast<std::size_t>(r);
        const GbhChannelRow& row = rows_.row(r);
        if (row.twoWords() && r == kRows - 1) {
            // No channel below for the second word.
            for (QLabel* c : {txtParData[i], txtValue[i]}) {
                paint(c, colors::SysButtonFace);
                c->clear();
            }
            rows_.setValue(r, "");
            r = kRows;
        } else if (row.twoWords()) {
            for (QLabel* c : {txtParData[i], txtParData[i + 1], txtValue[i]}) paint(c, colors::SysWindow);
            std::string low, high;
            if (!readWord(r, low) || !readWord(r + 1, high)) return lost();
            setCell(txtParData[i], low);
            setCell(txtParData[i + 1], high);
            // A word the card refused is no value (not "0").
            rows_.setValue(r, low.empty() || high.empty() ? std::string() : std::to_string(TwoWordValue(low, high)));
            setCell(txtValue[i], row.value);
            for (QLabel* c : {txtParData[i], txtParData[i + 1], txtValue[i]}) {
                paint(c, colors::SysButtonFace);
                c->repaint();
            }
            r += 2;
        } else {
            // A row that no layout touched yet shows its data word only.
            const bool counted = row.wordIndex == 0;
            const bool bound = counted && row.bound();
            paint(txtParData[i], colors::SysWindow);
            if (bound) paint(txtValue[i], colors::SysWindow);
            std::string word;
            if (!readWord(r, word)) return lost();
            setCell(txtParData[i], word);
            paint(txtParData[i], colors::SysButtonFace);
            rows_.setValue(r, bound && !word.empty() ? std::to_string(OneWordValue(word)) : "");
            setCell(txtValue[i], row.value);
            if (counted && !bound) txtUnit[i]->clear();
            paint(txtValue[i], colors::SysButtonFace);
            txtParData[i]->repaint();
            txtValue[i]->repaint();
            r += 1;
        }
        // Opening an item list stops the pass after the row it is at.
        if (LiveReadEnabled != -1) break;
    }
}

}  // namespace talvo::screens
