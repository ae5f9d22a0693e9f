#include "screens/network/frmOVRT.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "core/Globals.h"
#include "core/Protocol.h"
#include "core/KeyFilters.h"
#include "core/MainView.h"
#include "core/TextHelpers.h"
#include "platform/qt/Modal.h"
#include "screens/network/CommValues.h"
#include "ui/DialogBoxes.h"
#include "ui/DialogLayout.h"
#include "ui/DialogValues.h"
#include "ui/Geometry.h"
#include "ui/FieldChecks.h"

namespace talvo::network {

using ui::box;
using ui::button;
using ui::frame;
using ui::heading;
using ui::label;

namespace {

const ui::FieldCheck kNetWorkNo{.kind = ui::FieldKind::Number, .min = 1, .max = 239,
                                .message = "Please enter number 1 - 239"};
const ui::FieldCheck kRedundant{.kind = ui::FieldKind::Number, .min = 0, .max = 5000,
                                .message = "Please enter number 0 - 5000"};

const ui::ValueKey kNetWorkNoKey = CommKey("50", "88");
const ui::ValueKey kRedundantKey = CommKey("50", "97");

}  // namespace

frmOVRT::frmOVRT(QWidget* parent) : ui::SettingsDialog(parent) {
    setObjectName("frmOVRT");
    setWindowTitle("");
    setFixedSize(ui::twips(6600), ui::twips(4440));

    heading(this, "Label1", "CC-LinkIE Setting", 240, 120, 5000);
    QGroupBox* fra = frame(this, "fraCCLinkIE", "CC-LinkIE", 240, 660, 6120, 2940);
    label(fra, "", "NetWork No.", 240, 360, 2400);
    txbNetWorkNo = box(fra, "txbNetWorkNo", 3180, 360, 1200);
    label(fra, "", "Station ID", 240, 780, 2400);
    txbStationID = box(fra, "txbStationID", 3180, 780, 1200);
    label(fra, "", "MAC address", 240, 1200, 2400);
    txbMACAdd = box(fra, "txbMACAdd", 3180, 1200, 2640);
    label(fra, "", "Link Status", 240, 1620, 2400);
    txbLinkStatus = box(fra, "txbLinkStatus", 3180, 1620, 1200);
    label(fra, "", "Main/Sub switching delay time ", 240, 2100, 2900);
    txbRedundant = box(fra, "txbRedundant", 3180, 2100, 1200);
    label(fra, "", " (0 - 5000 msec)", 4440, 2100, 1560);
    for (QLineEdit* b : {txbStationID, txbMACAdd, txbLinkStatus}) ui::MakeDisplayOnly(b);
    ui::FilterKeys(txbNetWorkNo, FilterKeyDigits);
    ui::FilterKeys(txbRedundant, FilterKeyDigits);
    ui::BindSetting(txbNetWorkNo, kNetWorkNoKey);
    ui::BindSetting(txbRedundant, kRedundantKey);

    cmdUp = button(this, "cmdUp", "Upload", 240, 3780);
    cmdDown = button(this, "cmdDown", "Download", 1560, 3780);
    cmdExit = button(this, "cmdExit", "Exit", 5160, 3780);
    buttons().setButtons({cmdUp, cmdDown, cmdExit});
    onCommand(cmdUp, [this] { cmdUp_Click(); });
    onCommand(cmdDown, [this] { cmdDown_Click(); });
    onExit(cmdExit);
    checks().watch(txbNetWorkNo, [this] { return CheckNetWorkNo(); });
    checks().watch(txbRedundant, [this] { return CheckRedundant(); });
}

frmOVRT::~frmOVRT() {
    // Back for the next opening, unless the link went down meanwhile.
    if (G().Connected) mainView().setEnabled(MainControl::cmdSpecialSetting, true);
}

void frmOVRT::InitControls() {
    // What this puts in the boxes is no value: the opening's read, record 17
    // or the user gives them one.
    ui::setText(txbNetWorkNo, "1");
    for (const ui::ValueKey& k : {kNetWorkNoKey, kRedundantKey}) ui::Values().set(k, ui::Held::NotRead);
    ui::DrawBound(txbNetWorkNo);
    ui::DrawBound(txbRedundant);
    for (QLineEdit* b : {txbStationID, txbMACAdd, txbLinkStatus}) b->clear();
    txbRedundant->setEnabled(G().CommCardModel.compare(0, 9, "K6-OVRT1W") == 0);
}

void frmOVRT::Upload_First_File() {
    InitControls();
    cmdUp_Click();
    // Record 17's text is a value the user let pass, a Download sent or a
    // settings file gave: it stands in place of the card's, read or not.
    const CardRecord& rec = CommCardRecord();
    for (auto [box, field] : {std::pair{txbNetWorkNo, 20}, std::pair{txbRedundant, 21}}) {
        if (rec.Param[field].empty()) continue;
        ui::setText(box, rec.Param[field]);
        ui::MarkValue(box);
    }
    taken20_ = rec.Param[20];
    taken21_ = rec.Param[21];
}

void frmOVRT::cmdUp_Click() {
    Running run(*this);
    // Nothing is read that could come from another card.
    if (!SelectCard("00")) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
    WriteItem(3, "50", "01", "1");
    // No answer stops the upload. A settable value the card refused or left
    // unanswered keeps what its box showed, as no value that Download sends;
    // a value only shown is empty then.
    for (auto [box, item] : {std::pair{txbNetWorkNo, "88"}, std::pair{txbStationID, "90"}, std::pair{txbMACAdd, "87"},
                             std::pair{txbLinkStatus, "92"}, std::pair{txbRedundant, "97"}}) {
        const std::string r = ReadItem(3, "50", item);
        if (box == txbNetWorkNo || box == txbRedundant)
            ui::ShowRead(box, r);
        else
            ui::setText(box, ui::ShownText(r));
    }
}

void frmOVRT::cmdDown_Click() {
    Running run(*this);
    // Nothing is written that could reach another card.
    if (!SelectCard("00")) return ui::ShowTransferLoss(ui::kDownloadingIncomplete);
    WriteItem(3, "50", "01", "F");
    CardRecord& rec = CommCardRecord();
    // Both checks before the first write, so a failed delay leaves no new
    // network No. on the card; a delay box the model does not have is neither
    // checked nor sent. A box without a value is left as it is on the card.
    const bool delay = txbRedundant->isEnabled();
    if (!CheckNetWorkNo() || (delay && !CheckRedundant())) return;
    ui::LeftAsTheyAre left;
    ui::Exchanges x(10);
    // A write the card did not take leaves record 17 with what the card has:
    // the checks (here or when a box was left) put the values there, so they
    // go back to what the card last took.
    if (ui::HasValueToSend(txbNetWorkNo)) {
        const std::string netWorkNo = ui::text(txbNetWorkNo);
        x.write("50", "88", netWorkNo);
        if (!x.ok()) {
            rec.Param.set(20, taken20_);
            rec.Param.set(21, taken21_);
            return ui::ShowTransferLoss(ui::kDownloadingIncomplete);
        }
        rec.Param.set(20, netWorkNo);
        taken20_ = netWorkNo;
    } else {
        left.add(ui::Values().of(kNetWorkNoKey), "NetWork No.");
    }
    if (delay) {
        if (ui::HasValueToSend(txbRedundant)) {
            const std::string switching = ui::text(txbRedundant);
            x.write("50", "97", switching);
            if (!x.ok()) {
                rec.Param.set(21, taken21_);
                return ui::ShowTransferLoss(ui::kDownloadingIncomplete);
            }
            rec.Param.set(21, switching);
            taken21_ = switching;
        } else {
            left.add(ui::Values().of(kRedundantKey), "Main/Sub switching delay time");
        }
    }
    left.tell();
}

// A value that passes its check is kept in record 17 at once: it is shown in
// place of the card's at the next opening and goes into the settings file.
bool frmOVRT::CheckNetWorkNo() {
    if (!ui::CheckField(txbNetWorkNo, kNetWorkNo)) return false;
    if (ui::HasValue(txbNetWorkNo)) CommCardRecord().Param.set(20, ui::text(txbNetWorkNo));
    return true;
}

bool frmOVRT::CheckRedundant() {
    if (!ui::CheckField(txbRedundant, kRedundant)) return false;
    if (ui::HasValue(txbRedundant)) CommCardRecord().Param.set(21, ui::text(txbRedundant));
    return true;
}

void ShowOVRTDialog(QWidget* owner) {
    frmOVRT dialog(owner);
    dialog.Upload_First_File();
    platform::execModal(dialog);
}

}  // namespace talvo::network
