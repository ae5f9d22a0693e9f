#include "screens/network/frmComm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/Globals.h"
#include "core/Overview.h"
#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "platform/qt/Modal.h"
#include "screens/network/CommCard.h"
#include "screens/network/CommValues.h"
#include "ui/DialogLayout.h"
#include "ui/DialogValues.h"
#include "ui/Geometry.h"

namespace talvo::network {

using ui::box;
using ui::button;
using ui::frame;
using ui::heading;
using ui::indexed;
using ui::label;
using ui::shownBox;

namespace {

// The activate delay switch: group "00" item "30" whatever the card's model.
const ui::ValueKey kDelayKey = CommKey("00", "30");
constexpr const char* kTimeoutCaption = "Time (0.1sec)";
constexpr const char* kInSlotCaption = "In Slot";
constexpr const char* kDelayCaption = "Fieldbus Activate Delay SW";

// A check box shows its own state (ticked or not) when it holds a value, and
// is partly checked when it holds none; `on` is what it shows once it has one.
void showCheck(QCheckBox* box, bool on, ui::Held held) {
    ui::DrawHeld(box, ui::Held::Value);
    box->setChecked(on);
    ui::DrawHeld(box, held);
}

}  // namespace

frmComm::frmComm(QWidget* parent) : ui::SettingsDialog(parent) {
    setObjectName("frmComm");
    setFixedSize(ui::twips(6120), ui::twips(7500));

    Label1 = heading(this, "Label1", "Com.Card Settings", 240, 120, 5000);
    label(this, "Label2", "Card Name", 240, 660, 1500);
    txtName = shownBox(this, "txtName", 1800, 660, 1800);
    Label5 = label(this, "Label5", "Status", 240, 1080, 1500);
    txtStatus[0] = shownBox(this, "txtStatus_0", 1800, 1080, 1800);
    txtStatus[1] = shownBox(this, "txtStatus_1", 3720, 1080, 2160);
    Label3 = label(this, "Label3", "Version", 240, 1500, 1500);
    txtVersion = shownBox(this, "txtVersion", 1800, 1500, 1200);
    Label10 = label(this, "Label10", "Version2", 3240, 1500, 900);
    txtVersion2 = shownBox(this, "txtVersion2", 4200, 1500, 1200);
    Label9 = label(this, "Label9", "SW1 SW2 SW3", 240, 1920, 1500);
    txtSW = shownBox(this, "txtSW", 1800, 1920, 1800);
    Label4 = label(this, "Label4", "Time (0.1sec)", 240, 2340, 1500);
    txtTimeout = box(this, "txtTimeout", 1800, 2340, 1200);
    Label6 = label(this, "Label6", "DIO Data", 3240, 2340, 900);
    txtNP1 = box(this, "txtNP1", 4200, 2340, 1200);

    fraOutput = frame(this, "fraOutput", "Direct Output", 240, 2820, 5640, 3300);
    for (int col = 0; col < 2; ++col) {
        const int x = 240 + col * 2760;
        label(fraOutput, "", "Slot No.", x, 300, 1080, Qt::AlignHCenter);
        label(fraOutput, "", "In Slot", x + 1200, 300, 1080, Qt::AlignHCenter);
        for (int row = 0; row < 8; ++row) {
            const int slot = col * 8 + row + 1;
            const int y = 660 + row * 330;
            label(fraOutput, "", QString::number(slot), x, y, 1080, Qt::AlignHCenter)
                ->setObjectName(indexed("lblSlot", slot));
            QLineEdit* b = box(fraOutput, "", x + 1320, y, 840, 300);
            b->setObjectName(indexed("txtOutSlot", slot));
            ui::SelectAllOnFocus(b);
            txtOutSlot[static_cast<std::size_t>(slot)] = b;
        }
    }

    Label7 = label(this, "Label7", "Fieldbus Activate Delay SW", 240, 6240, 2700);
    ChkCJC = new QCheckBox(this);
    ChkCJC->setObjectName("ChkCJC");
    ui::BindSetting(ChkCJC, kDelayKey);
    ui::placeTwips(ChkCJC, 3000, 6240, 300, 330);
    Label8 = label(this, "Label8", "0 sec", 3360, 6240, 900);

    cmdUp = button(this, "cmdUp", "Upload", 240, 6840, 1200);
    cmdDown = button(this, "cmdDown", "Download", 1560, 6840, 1200);
    cmdExit = button(this, "cmdExit", "Exit", 4680, 6840, 1200);
    buttons().setButtons({cmdUp, cmdDown, cmdExit});
    onCommand(cmdUp, [this] { cmdUp_Click(); });
    onCommand(cmdDown, [this] { cmdDown_Click(); });
    onExit(cmdExit);
}

std::string frmComm::name() const { return ui::text(txtName); }

bool frmComm::HasTimeoutSetting() const { return network::HasTimeoutSetting(name()); }

bool frmComm::HasDirectOutput() {
    // The model the card reports now decides too; its failure goes unreported.
    const std::string model = ReadItem(3, "00", "04");
    return network::HasDirectOutput(name(), ui::text(txtVersion), model);
}

bool frmComm::HasActivateDelay() const { return network::HasActivateDelay(name(), ui::text(txtVersion)); }

ui::ValueKey frmComm::timeoutKey() const { return CommKey(SettingsGroup(name()), "09"); }
ui::ValueKey frmComm::slotKey(int i) const { return CommKey(OutputGroup(name()), std::to_string(i + 9)); }

void frmComm::bindSettings() {
    // The groups follow the card's name: bound again whenever it is found,
    // and drawn by what record 17 holds until a read says otherwise.
    const CardRecord& rec = CommCardRecord();
    ui::BindSetting(txtTimeout, timeoutKey());
    ui::DrawHeld(txtTimeout, CommHeld(timeoutKey(), rec.Param[1]));
    for (int i = 1; i <= 16; ++i) {
        QLineEdit* b = txtOutSlot[static_cast<std::size_t>(i)];
        ui::BindSetting(b, slotKey(i));
        ui::DrawHeld(b, CommHeld(slotKey(i), rec.Param[i + 1]));
    }
}

void frmComm::showDelaySwitch(bool shown) {
    Label7->setVisible(shown);
    ChkCJC->setVisible(shown);
    Label8->setVisible(shown);
}

namespace {

// A card that refuses its model item gives its name with its version.
bool nameFrom(const std::string& model, ui::Exchanges& x, std::string& name) {
    if (!IsRefusal(model)) {
        name = CardNameFromModel(model);
        return true;
    }
    return CardNameFromVersion(x.read("00", "40"), name);
}

}  // namespace

void frmComm::UploadSettings() {
    Running run(*this);
    CardRecord& rec = CommCardRecord();
    ui::Exchanges x;
    x.sendCardSelect("0");
    const std::string model = x.read("00", "04");
    if (!x.ok()) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
    std::string n;
    if (!nameFrom(model, x, n)) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
    ui::setText(txtName, n);
    bindSettings();
    txtNP1->hide();
    Label6->hide();
    Label4->setVisible(HasTimeoutSetting());
    txtTimeout->setVisible(HasTimeoutSetting());
    const std::string status = x.read("00", "03");
    if (!x.ok()) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
    ui::setText(txtStatus[0], ui::ShownText(status));
    if (StartsWith(name(), "QFODH")) {
        for (QWidget* w : {static_cast<QWidget*>(Label5), static_cast<QWidget*>(txtStatus[0]),
                           static_cast<QWidget*>(txtStatus[1]), static_cast<QWidget*>(cmdUp),
                           static_cast<QWidget*>(cmdDown)})
            w->hide();
    } else if (name() == "HM3EX" || !StartsWith(name(), "OZ3")) {
        const std::string second = x.read("00", "04");
        if (!x.ok()) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
        ui::setText(txtStatus[1], ui::ShownText(second));
    } else {
        txtStatus[1]->hide();
    }
    // A record field that holds nothing (never read, or cleared by a new
    // connection) shows as no value, which Download leaves as it is.
    ui::ShowRecorded(txtTimeout, rec.Param[1]);
    txtTimeout->setEnabled(HasTimeoutSetting());
    const std::string version = x.read("00", "40");
    if (!x.ok()) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
    ui::setText(txtVersion, ui::ShownText("V", version));
    ui::setText(txtSW, ui::ShownText(x.readAny("00", "39")));
    if (HasDirectOutput()) {
        fraOutput->show();
        for (int i = 1; i <= 16; ++i) ui::ShowRecorded(txtOutSlot[static_cast<std::size_t>(i)], rec.Param[i + 1]);
    } else {
        fraOutput->hide();
    }
    if (HasActivateDelay()) {
        showDelaySwitch(true);
        ChkCJC->setEnabled(true);
        // An empty record field (never read, or cleared by a new connection)
        // is no value: neither ticked nor unticked.
        showCheck(ChkCJC, rec.Param[18] == "1", CommHeld(kDelayKey, rec.Param[18]));
        DelaySwitchShown = 1;
    } else {
        showDelaySwitch(false);
        DelaySwitchShown = 0;
    }
    if (StartsWith(name(), "OG1")) {
        txtTimeout->hide();
        Label4->hide();
    }
    const bool ovrt = StartsWith(name(), "OVRT");
    Label10->setVisible(ovrt);
    txtVersion2->setVisible(ovrt);
    if (ovrt) {
        const std::string second = x.read("50", "40");
        if (!x.ok()) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
        ui::setText(txtVersion2, ui::ShownText("V", second));
    }
}

void frmComm::cmdUp_Click() {
    Running run(*this);
    CardRecord& rec = CommCardRecord();
    ui::Exchanges x;
    x.sendCardSelect("0");
    const std::string version = x.read("00", "40");
    if (!x.ok()) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
    ui::setText(txtVersion, ui::ShownText("V", version));
    ui::setText(txtSW, ui::ShownText(x.readAny("00", "39")));
    if (StartsWith(name(), "HM3EX") || !StartsWith(name(), "OZ3")) {
        const std::string model = x.read("00", "04");
        if (!x.ok()) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
        std::string n;
        if (!nameFrom(model, x, n)) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
        ui::setText(txtName, n);
        bindSettings();
    }
    rec.CardType = name();
    // A refused version is no version: the record keeps the one it had.
    if (!IsRefusal(version)) rec.Version = ui::text(txtVersion);
    const std::string status = x.read("00", "03");
    if (!x.ok()) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
    ui::setText(txtStatus[0], ui::ShownText(status));
    if (name() == "HM3EX" || !StartsWith(name(), "OZ3")) {
        const std::string second = x.read("00", "04");
        if (!x.ok()) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
        ui::setText(txtStatus[1], ui::ShownText(second));
    }

    const std::string settings = SettingsGroup(name());
    x.send(settings, "01", "F");
    if (HasTimeoutSetting()) {
        const std::string timeout = x.read(settings, "09");
        if (!x.ok()) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
        if (ui::ShowRead(txtTimeout, timeout)) rec.Param.set(1, ui::text(txtTimeout));
    } else {
        ui::setText(txtTimeout, "");
        rec.Param.set(1, "");
    }
    txtTimeout->setEnabled(HasTimeoutSetting());

    if (HasDirectOutput()) {
        const std::string output = OutputGroup(name());
        x.send(output, "01", "1");
        for (int i = 1; i <= 16; ++i) {
            const std::string slot = x.read(output, std::to_string(i + 9));
            if (!x.ok()) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
            QLineEdit* b = txtOutSlot[static_cast<std::size_t>(i)];
            if (ui::ShowRead(b, slot)) rec.Param.set(i + 1, ui::text(b));
        }
    }
    if (HasActivateDelay()) {
        showDelaySwitch(true);
        ChkCJC->setEnabled(true);
        const std::string sw = x.read("00", "30");
        if (!x.ok()) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
        // A refusal keeps the record's text and shows no state at all.
        const ui::Held held = ui::Values().read(kDelayKey, sw);
        if (held == ui::Held::Value) {
            showCheck(ChkCJC, TextAfterColon(sw) != "0", held);
            rec.Param.set(18, ChkCJC->isChecked() ? "1" : "0");
        } else {
            ui::DrawHeld(ChkCJC, held);
        }
    } else {
        showDelaySwitch(false);
    }
}

void frmComm::cmdDown_Click() {
    Running run(*this);
    CardRecord& rec = CommCardRecord();
    ui::LeftAsTheyAre left;
    ui::Exchanges x;
    x.sendCardSelect("00");
    x.write("00", "01", "1");
    if (!x.ok()) return ui::ShowTransferLoss(ui::kDownloadingIncomplete);
    const std::string settings = SettingsGroup(name());
    x.send(settings, "01", "F");

    if (HasTimeoutSetting()) {
        // A box without a value, or an empty one, is no time-out: the card
        // keeps its own rather than a "30" the user never saw.
        const ui::Held held = CommHeld(timeoutKey(), rec.Param[1]);
        if (held != ui::Held::Value || txtTimeout->text().isEmpty()) {
            left.add(held, kTimeoutCaption);
        } else {
            const std::string t = TimeoutToWrite(ui::text(txtTimeout));
            ui::setText(txtTimeout, t);
            x.write(settings, "09", t);
            if (!x.ok()) return ui::ShowTransferLoss(ui::kDownloadingIncomplete);
            rec.Param.set(1, t);
        }
    } else {
        rec.Param.set(1, "");
    }
    if (HasDirectOutput()) {
        const std::string output = OutputGroup(name());
        x.send(output, "01", "1");
        for (int i = 1; i <= 16; ++i) {
            QLineEdit* b = txtOutSlot[static_cast<std::size_t>(i)];
            const ui::Held held = CommHeld(slotKey(i), rec.Param[i + 1]);
            const std::string t = InSlotToWrite(ui::text(b));
            if (held != ui::Held::Value || t.empty()) {
                left.add(held, kInSlotCaption, std::to_string(i));
                continue;
            }
            ui::setText(b, t);
            x.write(output, std::to_string(i + 9), t);
            if (!x.ok()) return ui::ShowTransferLoss(ui::kDownloadingIncomplete);
            rec.Param.set(i + 1, t);
        }
    }
    if (DelaySwitchShown == 1) {
        const ui::Held held = CommHeld(kDelayKey, rec.Param[18]);
        if (held != ui::Held::Value) {
            left.add(held, kDelayCaption);
        } else {
            const std::string t = ChkCJC->isChecked() ? "1" : "0";
            x.write("00", "30", t);
            if (!x.ok()) return ui::ShowTransferLoss(ui::kDownloadingIncomplete);
            rec.Param.set(18, t);
        }
    }
    left.tell();
}

void ShowCommDialog(QWidget* owner) {
    frmComm dialog(owner);
    platform::execModal(dialog);
}

}  // namespace talvo::network
