#include "screens/network/frmEther.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "core/Globals.h"
#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "platform/qt/Modal.h"
#include "screens/network/CommCard.h"
#include "screens/network/CommValues.h"
#include "ui/DialogLayout.h"
#include "ui/DialogValues.h"
#include "ui/Geometry.h"
#include "ui/FieldChecks.h"

namespace talvo::network {

using ui::address;
using ui::box;
using ui::button;
using ui::frame;
using ui::heading;
using ui::indexed;
using ui::label;

namespace {

const ui::FieldCheck kOctet{.kind = ui::FieldKind::Digits, .maxChars = 3, .min = 0, .max = 255,
                            .message = "Please enter 0 to 255."};

// Group "00" items of the settings.
const ui::ValueKey kIPKey = CommKey("00", "59");
const ui::ValueKey kDGateKey = CommKey("00", "78");
const ui::ValueKey kSNMKey = CommKey("00", "60");
const ui::ValueKey kIPselKey = CommKey("00", "77");
ui::ValueKey portKey(int n) { return CommKey("00", std::to_string(60 + n)); }
ui::ValueKey lingerKey(int n) { return CommKey("00", std::to_string(70 + n)); }

}  // namespace

frmEther::frmEther(QWidget* parent) : ui::SettingsDialog(parent) {
    setObjectName("frmEther");
    setFixedSize(ui::twips(6600), ui::twips(6240));

    heading(this, "Label1", "Ethernet Settings", 240, 120, 5000);
    label(this, "Label2", "IP Address", 240, 660, 1800);
    txtIP = address(this, "txtIP", 2160, 660);
    label(this, "Label3", "Subnet  Mask", 240, 1080, 1800);
    txtSNM = address(this, "txtSNM", 2160, 1080);
    Label10 = label(this, "Label10", "Default Gateway", 240, 1500, 1800);
    txtDGate = address(this, "txtDGate", 2160, 1500);
    label(this, "Label5", "MAC Address", 240, 1920, 1800);
    for (int i = 0; i < 2; ++i) {
        QLabel* l = label(this, "", "", 2160 + i * 1320, 1920, 1200);
        l->setObjectName(indexed("lblMac", i));
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        lblMac[static_cast<std::size_t>(i)] = l;
    }
    lblIPSel = label(this, "lblIPSel", "Use IP Address          0:CONFIG 1:DHCP 2:BOOTP", 240, 2400, 4800);
    txtIPsel = box(this, "txtIPsel", 5160, 2400, 540);

    Frame1 = frame(this, "Frame1", "TCP Socket", 240, 2880, 6120, 2520);
    label(Frame1, "", "Linger", 3840, 300, 900);
    label(Frame1, "", "(0.1sec)", 4800, 300, 1200);
    for (int n = 1; n <= 4; ++n) {
        const int y = 240 + n * 450;
        label(Frame1, "", QString("Port%1").arg(n), 240, y, 900)->setObjectName(QString("Label%1").arg(5 + n));
        QLineEdit* port = box(Frame1, "", 1200, y, 1200);
        port->setObjectName(indexed("txtPort", n));
        txtPort[static_cast<std::size_t>(n)] = port;
        label(Frame1, "", QString::number(n), 3240, y, 480, Qt::AlignHCenter)->setObjectName(indexed("Label4", n));
        QLineEdit* linger = box(Frame1, "", 3840, y, 900);
        linger->setObjectName(indexed("txtTimeout", n));
        txtTimeout[static_cast<std::size_t>(n)] = linger;
    }

    cmdUp = button(this, "cmdUp", "Upload", 240, 5580);
    cmdDown = button(this, "cmdDown", "Download", 1560, 5580);
    cmdExit = button(this, "cmdExit", "Exit", 5160, 5580);
    buttons().setButtons({cmdUp, cmdDown, cmdExit});
    onCommand(cmdUp, [this] { cmdUp_Click(); });
    onCommand(cmdDown, [this] { cmdDown_Click(); });
    onExit(cmdExit);

    // The dialog keeps nothing from an earlier opening: what it shows comes
    // from its own reads and the user's edits.
    ui::BindSettingUnread(txtIP, kIPKey);
    ui::BindSettingUnread(txtDGate, kDGateKey);
    ui::BindSettingUnread(txtSNM, kSNMKey);
    ui::BindSettingUnread(txtIPsel, kIPselKey);
    for (int n = 1; n <= 4; ++n) {
        ui::BindSettingUnread(txtPort[static_cast<std::size_t>(n)], portKey(n));
        ui::BindSettingUnread(txtTimeout[static_cast<std::size_t>(n)], lingerKey(n));
    }

    // Every change of an octet or port box, typed or filled by an upload.
    for (const ui::DottedAddress* a : {&txtIP, &txtSNM, &txtDGate})
        for (QLineEdit* b : a->boxes) connect(b, &QLineEdit::textChanged, this, [this, b] { octetChanged(b); });
    for (int n = 1; n <= 4; ++n) {
        QLineEdit* b = txtPort[static_cast<std::size_t>(n)];
        connect(b, &QLineEdit::textChanged, this, [this, b] { portChanged(b); });
    }
}

void frmEther::opening() {
    const std::string& model = G().CommCardModel;
    Frame1->setVisible(HasLinger(model));
    for (QWidget* w : {static_cast<QWidget*>(Label10), static_cast<QWidget*>(txtDGate.boxes[0]),
                       static_cast<QWidget*>(txtDGate.boxes[1]), static_cast<QWidget*>(txtDGate.boxes[2]),
                       static_cast<QWidget*>(txtDGate.boxes[3])})
        w->setVisible(HasDefaultGateway(model));
    for (QLabel* dot : findChildren<QLabel*>())
        if (dot->text() == "." && dot->geometry().top() == txtDGate.boxes[0]->geometry().top())
            dot->setVisible(HasDefaultGateway(model));
    txtIPsel->setVisible(HasIPSelect(model));
    lblIPSel->setVisible(HasIPSelect(model));
    cmdUp_Click();
}

void frmEther::octetChanged(QLineEdit* b) {
    if (inChange_) return;
    inChange_ = true;
    const int caret = b->cursorPosition();
    std::string t = ui::text(b);
    if (t.size() > 3) {
        t.resize(3);
        ui::setText(b, t);
    }
    const int v = TextToIntegerChecked(t);  // "Please enter number." for a sign or point
    if (v != 0 && (v > 255 || v < 0)) ui::ShowEntryMessage("Please enter 0 to 255.");
    b->setCursorPosition(std::min(caret, static_cast<int>(b->text().size())));
    inChange_ = false;
}

void frmEther::portChanged(QLineEdit* b) {
    const int caret = b->cursorPosition();
    TextToIntegerChecked(ui::text(b));  // only for its message; ports have no range
    b->setCursorPosition(std::min(caret, static_cast<int>(b->text().size())));
}

void frmEther::cmdUp_Click() {
    Running run(*this);
    const std::string& model = G().CommCardModel;
    ui::Exchanges x;
    x.sendCardSelect("00");
    x.send("01", "01", "1");
    x.read("00", "40");
    if (!x.ok()) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
    // A refused item keeps what its boxes held, as no value that Download sends.
    const auto readAddress = [&](const char* item, const ui::DottedAddress& a) {
        const std::string r = x.read("00", item);
        if (!x.ok()) return false;
        if (IsRefusal(r)) {
            ui::MarkNoValue(a, ui::HeldOfReply(r));
        } else {
            a.set(TextAfterColon(r));
            ui::MarkValue(a);
        }
        return true;
    };
    const auto readBox = [&](const std::string& item, QLineEdit* b) {
        const std::string r = x.read("00", item);
        if (x.ok()) ui::ShowRead(b, r);
        return x.ok();
    };
    if (!readAddress("59", txtIP)) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
    if (HasDefaultGateway(model) && !readAddress("78", txtDGate)) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
    if (!readAddress("60", txtSNM)) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
    const std::string mac0 = x.read("00", "57");
    if (!x.ok()) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
    lblMac[0]->setText(QString::fromLatin1(ui::ShownText(mac0).c_str()));
    x.send("00", "1", "F");
    const std::string mac1 = x.read("00", "58");
    if (!x.ok()) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
    lblMac[1]->setText(QString::fromLatin1(ui::ShownText(mac1).c_str()));
    x.send("00", "1", "1");
    if (HasLinger(model)) {
        for (int n = 1; n <= 4; ++n)
            if (!readBox(std::to_string(60 + n), txtPort[static_cast<std::size_t>(n)]))
                return ui::ShowTransferLoss(ui::kUploadingIncomplete);
        for (int n = 1; n <= 4; ++n)
            if (!readBox(std::to_string(70 + n), txtTimeout[static_cast<std::size_t>(n)]))
                return ui::ShowTransferLoss(ui::kUploadingIncomplete);
    }
    if (HasIPSelect(model)) {
        const std::string r = x.read("00", "77");
        if (!x.ok()) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
        if (IsRefusal(r)) {
            ui::MarkNoValue(txtIPsel, ui::HeldOfReply(r));
        } else {
            ui::setText(txtIPsel, TextAfterColon(TextAfterColon(r)));
            ui::MarkValue(txtIPsel);
        }
    }
}

std::string frmEther::entryTest() const {
    // Only what Download sends is tested: a setting without a value is left out.
    const std::string& model = G().CommCardModel;
    const auto sent = [](const ui::DottedAddress& a) { return ui::HasValue(a); };
    if (sent(txtIP) && txtIP.firstEmpty()) return "Please enter number in IP Address.";
    if (HasDefaultGateway(model) && sent(txtDGate) && txtDGate.firstEmpty()) return "Please enter number in IP Address.";
    if (sent(txtSNM) && txtSNM.firstEmpty()) return "Please enter number in Subnet Mask.";
    if (HasLinger(model))
        for (int n = 1; n <= 4; ++n) {
            const QLineEdit* port = txtPort[static_cast<std::size_t>(n)];
            if (ui::HasValue(port) && port->text().isEmpty()) return "Please enter number in TCP Port No.";
        }
    // A box the card cannot take as an octet is not sent.
    std::vector<const ui::DottedAddress*> addresses = {&txtIP, &txtSNM};
    if (HasDefaultGateway(model)) addresses.push_back(&txtDGate);
    for (const ui::DottedAddress* a : addresses)
        if (sent(*a))
            for (QLineEdit* b : a->boxes)
                if (!ui::RunFieldCheck(kOctet, ui::text(b)).ok) return kOctet.message;
    return "";
}

void frmEther::cmdDown_Click() {
    Running run(*this);
    const std::string& model = G().CommCardModel;
    ui::Exchanges x;
    x.sendCardSelect("00");
    x.send("01", "01", "1");
    x.read("00", "40");
    if (!x.ok()) return ui::ShowTransferLoss(ui::kDownloadingIncomplete);
    if (const std::string message = entryTest(); !message.empty()) {
        ui::ShowEntryMessage(message);
        return;
    }
    // A setting without a value, or a box with nothing in it, is left as it
    // is on the card and named as the dialog captions it.
    ui::LeftAsTheyAre left;
    const auto writeAddress = [&](const char* item, const ui::DottedAddress& a, const ui::ValueKey& key,
                                  const char* caption) {
        if (ui::HasValue(a))
            x.write("00", item, a.text());
        else
            left.add(ui::Values().of(key), caption);
    };
    const auto writeBox = [&](const std::string& item, QLineEdit* b, const ui::ValueKey& key, const std::string& caption,
                              const std::string& member) {
        if (ui::HasValueToSend(b))
            x.write("00", item, ui::text(b));
        else
            left.add(ui::Values().of(key), caption, member);
    };
    if (HasIPSelect(model)) writeBox("77", txtIPsel, kIPselKey, "Use IP Address", "");
    writeAddress("59", txtIP, kIPKey, "IP Address");
    if (HasDefaultGateway(model)) writeAddress("78", txtDGate, kDGateKey, "Default Gateway");
    writeAddress("60", txtSNM, kSNMKey, "Subnet  Mask");
    if (HasLinger(model)) {
        for (int n = 1; n <= 4; ++n)
            writeBox(std::to_string(60 + n), txtPort[static_cast<std::size_t>(n)], portKey(n),
                     "Port" + std::to_string(n), "");
        for (int n = 1; n <= 4; ++n)
            writeBox(std::to_string(70 + n), txtTimeout[static_cast<std::size_t>(n)], lingerKey(n), "Linger",
                     std::to_string(n));
    }
    if (!x.ok()) return ui::ShowTransferLoss(ui::kDownloadingIncomplete);
    left.tell();
}

void ShowEtherDialog(QWidget* owner) {
    frmEther dialog(owner);
    platform::execModal(dialog);
}

}  // namespace talvo::network
