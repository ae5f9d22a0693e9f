#include "screens/network/frmQFODH.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/Globals.h"
#include "core/Colors.h"
#include "core/MainView.h"
#include "core/Protocol.h"
#include "core/SettingsFile.h"
#include "core/SettingsFormat.h"
#include "core/TextHelpers.h"
#include "platform/FileDialogFolder.h"
#include "platform/Services.h"
#include "platform/qt/Modal.h"
#include "screens/network/CommValues.h"
#include "ui/DialogLayout.h"
#include "ui/DialogValues.h"
#include "ui/Geometry.h"

namespace talvo::network {

using ui::address;
using ui::box;
using ui::button;
using ui::frame;
using ui::indexed;
using ui::label;
using ui::list;

namespace {

using ui::FieldCheck;
using ui::FieldKind;

const FieldCheck kPausePeriod{.kind = FieldKind::Digits, .maxChars = 5, .min = 0, .max = 10000,
                              .message = "Pause period:Please enter number 0 - 10000"};
const FieldCheck kOctet{.kind = FieldKind::Digits, .maxChars = 3, .min = 0, .max = 255,
                        .message = "address:Please enter number 0 - 255"};
const FieldCheck kCPUNo{.kind = FieldKind::Hex, .maxChars = 4, .min = 0, .max = 0xFFFF,
                        .message = "Processor No.:Please enter number 0000 - FFFF"};
const FieldCheck kTimeOut{.kind = FieldKind::Digits, .maxChars = 2, .min = 1, .max = 10,
                          .message = "SLMP timeout:Please enter number 1 - 10"};
const FieldCheck kNetworkNo{.kind = FieldKind::Digits, .maxChars = 3, .min = 0, .max = 239,
                            .message = "Network No.:Please enter number 0 - 239"};
const FieldCheck kStationNo{.kind = FieldKind::Digits, .maxChars = 3, .min = 1, .max = 120, .extra = {125, 126, 255},
                            .message = "Station No.:Please enter number 1 - 120,125,126,255"};
const FieldCheck kPortNo{.kind = FieldKind::Digits, .maxChars = 5, .min = 0, .max = 65535,
                         .message = "SLMP server Port No.:Please enter number 0 - 65535"};
const FieldCheck kDeviceNo{.kind = FieldKind::Digits, .maxChars = 2, .min = 0, .max = 16,
                           .message = "Access device No.:Please enter number 0 - 16"};

constexpr const char* kServerTypeMessage = "Server Type:Please select 16 or 32";

// Where the store keeps each setting: its station item.
const ui::ValueKey kPauseKey = CommKey("00", "09");
const ui::ValueKey kIPKey = CommKey("00", "59");
const ui::ValueKey kSNMKey = CommKey("00", "60");
const ui::ValueKey kDGateKey = CommKey("00", "61");
const ui::ValueKey kServerKey = CommKey("00", "63");
const ui::ValueKey kCPUNoKey = CommKey("00", "64");
const ui::ValueKey kTimeOutKey = CommKey("00", "65");
const ui::ValueKey kNWNoKey = CommKey("00", "66");
const ui::ValueKey kStationNoKey = CommKey("00", "67");
const ui::ValueKey kSLMPIPKey = CommKey("00", "68");
const ui::ValueKey kPortNoKey = CommKey("00", "69");
const ui::ValueKey kCountKey = CommKey(gateway::kMapGroup, gateway::kEntryCountItem);
ui::ValueKey entryKey(int i) { return CommKey(gateway::kMapGroup, gateway::MapEntryItem(i)); }

// An address field of a file that holds no octet at all holds no value.
bool addressGiven(const std::string& field) { return field.find_first_not_of('.') != std::string::npos; }

std::size_t at(int i) { return static_cast<std::size_t>(i); }

void paint(QWidget* w, bool enabled) {
    w->setEnabled(enabled);
    ui::setBackColor(w, enabled ? colors::SysWindow : colors::SysButtonFace);
}

}  // namespace

frmQFODH::frmQFODH(QWidget* parent) : ui::SettingsDialog(parent) {
    setObjectName("frmQFODH");
    setWindowTitle("QFODH Settings");
    setFixedSize(ui::twips(13800), ui::twips(8880));

    QGroupBox* slmp = frame(this, "fraSLMP", "SLMP settings", 240, 120, 5520, 7920);
    int y = 360;
    const auto row = [&](const char* caption) {
        label(slmp, "", caption, 180, y, 2160);
        const int top = y;
        y += 450;
        return top;
    };
    int t = row("Pause period");
    pausePeriod = box(slmp, "pausePeriod", 2400, t, 900);
    label(slmp, "", "m sec", 3420, t, 900);
    t = row("IP address");
    txtIP = address(slmp, "txtIP", 2400, t);
    t = row("Subnet mask");
    txtSNM = address(slmp, "txtSNM", 2400, t);
    t = row("Default gateway");
    txtDGate = address(slmp, "txtDGate", 2400, t);
    t = row("MAC Address");
    for (int i = 0; i < 2; ++i) {
        QLabel* l = label(slmp, "", "", 2400 + i * 1380, t, 1260);
        l->setObjectName(indexed("lblMac", i));
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        lblMac[at(i)] = l;
    }
    t = row("Protocol type");
    List_ServerType = list(slmp, "List_ServerType", 2400, t, 900);
    label(slmp, "", "16 or 32 bit", 3420, t, 1500);
    t = row("Processor No.");
    CPUNo = box(slmp, "CPUNo", 2400, t, 900);
    label(slmp, "", "H", 3420, t, 300);
    t = row("SLMP timeout");
    TimeOut = box(slmp, "TimeOut", 2400, t, 900);
    label(slmp, "", "sec", 3420, t, 600);
    t = row("Network No.");
    NWNo = box(slmp, "NWNo", 2400, t, 900);
    t = row("Station No.");
    StationNo = box(slmp, "StationNo", 2400, t, 900);
    t = row("SLMP server IP address");
    txtSLMPIP = address(slmp, "txtSLMPIP", 2400, t);
    t = row("SLMP server Port No.");
    PortNo = box(slmp, "PortNo", 2400, t, 900);
    t = row("Entry No.");
    DeviceNo = box(slmp, "DeviceNo", 2400, t, 900);
    CmdOK = button(slmp, "CmdOK", "OK", 3960, y + 180, 1200);

    QGroupBox* card = frame(this, "fraCard", "Card settings", 5880, 120, 7680, 7920);
    // Two heading lines below the frame's caption line: "Device address" over
    // its "Hex." and "Dec." columns, the other headings on the second line.
    label(card, "", "I/O type", 1080, 540, 900, Qt::AlignHCenter);
    label(card, "", "Ch. No.", 2040, 540, 660, Qt::AlignHCenter);
    label(card, "", "SLMP device", 2760, 540, 1200, Qt::AlignHCenter);
    label(card, "", "Device address", 4080, 300, 3240, Qt::AlignHCenter);
    label(card, "", "Hex.", 4080, 540, 1320, Qt::AlignHCenter);
    label(card, "", "Dec.", 5760, 540, 1560, Qt::AlignHCenter);
    for (int i = 0; i < gateway::kMapRows; ++i) {
        const int ry = 900 + i * 420;
        label(card, "", QString("Entry%1").arg(i + 1, 2), 120, ry, 900);
        QComboBox* type = list(card, "", 1080, ry, 900);
        type->setObjectName(indexed("cardType", i));
        QLineEdit* ch = box(card, "", 2040, ry, 660);
        ch->setObjectName(indexed("ChNo", i));
        QComboBox* dev = list(card, "", 2760, ry, 1200);
        dev->setObjectName(indexed("DevType", i));
        QLineEdit* hex = box(card, "", 4080, ry, 1320);
        hex->setObjectName(indexed("DevAdd16", i));
        label(card, "", "H", 5430, ry, 300);
        QLineEdit* dec = box(card, "", 5760, ry, 1560);
        dec->setObjectName(indexed("DevAdd10", i));
        cardType[at(i)] = type;
        ChNo[at(i)] = ch;
        DevType[at(i)] = dev;
        DevAdd16[at(i)] = hex;
        DevAdd10[at(i)] = dec;

        connect(type, &QComboBox::currentIndexChanged, this, [this, i, type] {
            if (!loading_) cardTypeChanged(i, type->currentText().toStdString(), true);
        });
        connect(dev, &QComboBox::currentIndexChanged, this, [this, i, dev] {
            if (!loading_) devTypeChanged(i, dev->currentIndex());
        });
        connect(ch, &QLineEdit::textChanged, this, [this, i, ch] { rows_[at(i)].ChNo = ui::text(ch); });
        connect(hex, &QLineEdit::textChanged, this, [this, i, hex] { rows_[at(i)].DevAdd16 = ui::text(hex); });
        connect(dec, &QLineEdit::textChanged, this, [this, i, dec] { rows_[at(i)].DevAdd10 = ui::text(dec); });

        checks().watch(ch, [this, i, ch] {
            // Rows without a value are left on the card: they count for nothing.
            const gateway::MapCheck c = gateway::CheckChNo(rows_, i, deviceNo(), rowsWithValue());
            if (c.ok) return true;
            ui::ShowEntryMessage(c.message);
            ch->clear();
            return false;
        });
        checks().watch(hex, [hex] {
            const gateway::MapCheck c = gateway::CheckDevAdd16(ui::text(hex));
            if (!c.ok) ui::ShowEntryMessage(c.message);
            ui::setText(hex, c.ok ? c.text : "");
            return c.ok;
        });
        checks().watch(dec, [dec] {
            const gateway::MapCheck c = gateway::CheckDevAdd10(ui::text(dec));
            if (!c.ok) ui::ShowEntryMessage(c.message);
            if (!c.ok) dec->clear();
            return c.ok;
        });
    }

    const int by = 8220;
    cmdUp = button(this, "cmdUp", "Upload", 240, by);
    cmdDown = button(this, "cmdDown", "Download", 1560, by);
    CmdReadF = button(this, "CmdReadF", "Read File", 5880, by);
    CmdSaveF = button(this, "CmdSaveF", "Save File", 7200, by);
    cmdExit = button(this, "cmdExit", "Exit", 12360, by);
    buttons().setButtons({cmdUp, cmdDown, CmdReadF, CmdSaveF, cmdExit, CmdOK});
    onCommand(cmdUp, [this] { cmdUp_Click(); });
    onCommand(cmdDown, [this] { cmdDown_Click(); });
    onLocalCommand(CmdOK, [this] { CmdOK_Click(); });
    onLocalCommand(CmdReadF, [this] { CmdReadF_Click(); });
    onLocalCommand(CmdSaveF, [this] { CmdSaveF_Click(); });
    onExit(cmdExit);

    // The fields' own checks when the focus leaves them (not for Exit).
    const std::pair<QLineEdit*, const FieldCheck*> fields[] = {
        {pausePeriod, &kPausePeriod}, {CPUNo, &kCPUNo},     {TimeOut, &kTimeOut}, {NWNo, &kNetworkNo},
        {StationNo, &kStationNo},     {PortNo, &kPortNo},
    };
    for (const auto& [b, c] : fields) checks().watch(b, [b = b, c = c] { return ui::CheckField(b, *c); });
    checks().watch(DeviceNo, [this] {
        if (!ui::CheckField(DeviceNo, kDeviceNo)) return false;
        if (ui::HasValue(DeviceNo)) ShowMapEntries(static_cast<int>(ui::FieldValue(kDeviceNo, deviceNo())) - 1);
        return true;
    });
    for (const ui::DottedAddress* a : {&txtIP, &txtSNM, &txtDGate, &txtSLMPIP})
        for (QLineEdit* b : a->boxes) checks().watch(b, [this, b] { return CheckOctet(b); });
    connect(List_ServerType, &QComboBox::currentIndexChanged, this, [this] {
        if (loading_ || serverTypeChosen()) return;
        ui::ShowEntryMessage("Server type 16 or 32bit:Please select number 16 or 32");
        List_ServerType->setFocus();
    });

    // Each opening starts from empty controls: nothing holds a value until a
    // read, a file or the user gives it one.
    ui::BindSettingUnread(pausePeriod, kPauseKey);
    ui::BindSettingUnread(txtIP, kIPKey);
    ui::BindSettingUnread(txtSNM, kSNMKey);
    ui::BindSettingUnread(txtDGate, kDGateKey);
    ui::BindSettingUnread(List_ServerType, kServerKey);
    ui::BindSettingUnread(CPUNo, kCPUNoKey);
    ui::BindSettingUnread(TimeOut, kTimeOutKey);
    ui::BindSettingUnread(NWNo, kNWNoKey);
    ui::BindSettingUnread(StationNo, kStationNoKey);
    ui::BindSettingUnread(txtSLMPIP, kSLMPIPKey);
    ui::BindSettingUnread(PortNo, kPortNoKey);
    ui::BindSettingUnread(DeviceNo, kCountKey);
    // A map row is one setting: the user's edit of any of its controls gives
    // the whole row a value.
    for (int i = 0; i < gateway::kMapRows; ++i) {
        ui::Values().set(entryKey(i), ui::Held::NotRead);
        for (QWidget* w : rowControls(i)) {
            ui::BindSetting(w, entryKey(i));
            ui::OnUserEdit(w, this, [this, i] { drawRow(i); });
        }
    }
    ShowMapEntries(-1);
}

frmQFODH::~frmQFODH() {
    // Back for the next opening, unless the link went down meanwhile.
    if (G().Connected) mainView().setEnabled(MainControl::cmdSpecialSetting, true);
}

std::string frmQFODH::serverType() const { return List_ServerType->currentText().toStdString(); }
bool frmQFODH::serverTypeChosen() const { return serverType() == "16" || serverType() == "32"; }
std::string frmQFODH::deviceNo() const { return ui::text(DeviceNo); }

void frmQFODH::InitControls() {
    FileCode = 0;
    loading_ = true;
    List_ServerType->clear();
    List_ServerType->addItems({"16", "32"});
    List_ServerType->setCurrentIndex(-1);
    for (QComboBox* c : cardType) {
        c->clear();
        c->addItems({"AI", "AO", "DI", "DO"});
        c->setCurrentIndex(-1);
    }
    loading_ = false;
    rows_ = {};
}

void frmQFODH::Upload_First_File() {
    InitControls();
    cmdUp_Click();
}

// ---- checks ----

bool frmQFODH::CheckOctet(QLineEdit* b) { return ui::CheckField(b, kOctet); }

bool frmQFODH::CheckAddressGroup(int group) {
    const ui::DottedAddress* a[] = {&txtIP, &txtSNM, &txtDGate, &txtSLMPIP};
    for (QLineEdit* b : a[group]->boxes)
        if (!CheckOctet(b)) return false;
    return true;
}

bool frmQFODH::runOK() {
    if (!ui::CheckField(pausePeriod, kPausePeriod)) return false;
    for (int g = 0; g < 3; ++g)
        if (!CheckAddressGroup(g)) return false;
    // Like every check, only of a value: a type never read is left on the card.
    if (ui::HasValue(List_ServerType) && !serverTypeChosen()) {
        if (auto* m = platform::services().messages) m->show(kServerTypeMessage, "Server Type", platform::MsgIcon::Stop);
        return false;
    }
    if (!ui::CheckField(CPUNo, kCPUNo) || !ui::CheckField(TimeOut, kTimeOut) ||
        !ui::CheckField(NWNo, kNetworkNo) || !ui::CheckField(StationNo, kStationNo) || !CheckAddressGroup(3) ||
        !ui::CheckField(PortNo, kPortNo) || !ui::CheckField(DeviceNo, kDeviceNo))
        return false;
    gateway::RefreshDeviceLists(rows_, deviceNo(), serverType());
    for (int i = 0; i < gateway::kMapRows; ++i) renderRow(i);
    return true;
}

void frmQFODH::CmdOK_Click() {
    Running run(*this);
    runOK();
}

// ---- the map rows ----

std::array<QWidget*, 5> frmQFODH::rowControls(int i) const {
    return {cardType[at(i)], ChNo[at(i)], DevType[at(i)], DevAdd16[at(i)], DevAdd10[at(i)]};
}

ui::Held frmQFODH::rowHeld(int i) const { return ui::Values().of(entryKey(i)); }

void frmQFODH::setRowHeld(int i, ui::Held held) {
    ui::Values().set(entryKey(i), held);
    drawRow(i);
}

void frmQFODH::drawRow(int i) {
    const ui::Held held = rowHeld(i);
    for (QWidget* w : rowControls(i)) ui::DrawHeld(w, held);
}

std::array<bool, gateway::kMapRows> frmQFODH::rowsWithValue() const {
    std::array<bool, gateway::kMapRows> out{};
    for (int i = 0; i < gateway::kMapRows; ++i) out[at(i)] = rowHeld(i) == ui::Held::Value;
    return out;
}

void frmQFODH::renderRow(int i) {
    const gateway::MapRow& r = rows_[at(i)];
    const bool was = loading_;
    loading_ = true;
    int typeIndex = -1;
    for (int k = 0; k < 4; ++k)
        if (r.cardType == gateway::IoTypes()[at(k)]) typeIndex = k;
    cardType[at(i)]->setCurrentIndex(typeIndex);
    QComboBox* dev = DevType[at(i)];
    const auto& devices = gateway::DeviceList(r);
    bool same = dev->count() == static_cast<int>(devices.size());
    for (int p = 0; same && p < dev->count(); ++p) same = dev->itemText(p) == devices[at(p)].name;
    if (!same) {
        dev->clear();
        for (const gateway::DeviceRow& d : devices) dev->addItem(d.name);
    }
    dev->setCurrentIndex(r.DevType < dev->count() ? r.DevType : -1);
    if (ui::text(ChNo[at(i)]) != r.ChNo) ui::setText(ChNo[at(i)], r.ChNo);
    if (ui::text(DevAdd16[at(i)]) != r.DevAdd16) ui::setText(DevAdd16[at(i)], r.DevAdd16);
    if (ui::text(DevAdd10[at(i)]) != r.DevAdd10) ui::setText(DevAdd10[at(i)], r.DevAdd10);
    const bool use = inUse_[at(i)];
    for (QWidget* w : {static_cast<QWidget*>(cardType[at(i)]), static_cast<QWidget*>(ChNo[at(i)]),
                       static_cast<QWidget*>(DevType[at(i)])})
        paint(w, use);
    paint(DevAdd16[at(i)], use && r.DevAdd16Enabled);
    paint(DevAdd10[at(i)], use && r.DevAdd10Enabled);
    drawRow(i);
    loading_ = was;
}

void frmQFODH::ShowMapEntries(int last) {
    const auto enabling = gateway::ShowMapEntries(rows_, last);
    for (int i = 0; i < gateway::kMapRows; ++i) {
        inUse_[at(i)] = i <= last;
        rows_[at(i)].DevAdd16Enabled = enabling[at(i)].DevAdd16;
        rows_[at(i)].DevAdd10Enabled = enabling[at(i)].DevAdd10;
        renderRow(i);
    }
}

void frmQFODH::cardTypeChanged(int i, const std::string& ioType, bool fromUser) {
    gateway::MapRow& r = rows_[at(i)];
    r.cardType = ioType;
    const std::string message = gateway::CheckCardType(r, serverType());
    renderRow(i);
    if (!message.empty()) {
        ui::ShowEntryMessage(message);
        if (fromUser) cardType[at(i)]->setFocus();
    }
}

void frmQFODH::devTypeChanged(int i, int position) {
    gateway::SelectDevice(rows_[at(i)], serverType(), position);
    renderRow(i);
}

// ---- transfers ----

void frmQFODH::cmdUp_Click() {
    Running run(*this);
    ui::Exchanges x;
    const auto fail = [] { ui::ShowTransferMessage(ui::kUploadIncomplete); };
    x.sendCardSelect("00");
    x.send("17", "01", "1");
    x.read("00", "40");
    if (!x.ok()) return fail();
    // These reads may go unanswered without ending the upload; a box the card
    // refused or left unanswered keeps its text as no value, which Download
    // leaves as it is on the card.
    const auto readBox = [&](const char* item, QLineEdit* b) { ui::ShowRead(b, x.readAny("00", item)); };
    readBox("09", pausePeriod);
    // An address must come whole: four parts. One the card refuses keeps its
    // boxes, as no value.
    // One the upload ends at (unanswered, or not four parts) holds no value either.
    const auto readAddress = [&](const char* item, const ui::DottedAddress& a) {
        const std::string r = x.read("00", item);
        if (IsRefusal(r)) {
            ui::MarkNoValue(a, ui::HeldOfReply(r));
            return true;
        }
        const std::string v = TextAfterColon(r);
        if (!x.ok() || !HasFourParts(v)) {
            ui::MarkNoValue(a);
            return false;
        }
        a.set(v);
        ui::MarkValue(a);
        return true;
    };
    if (!readAddress("59", txtIP) || !readAddress("60", txtSNM) || !readAddress("61", txtDGate)) return fail();
    const std::string type = x.readAny("00", "63");
    if (IsRefusal(type)) {
        ui::Values().set(kServerKey, ui::HeldOfReply(type));
    } else {
        const int server = List_ServerType->findText(QString::fromLatin1(TextAfterColon(type).c_str()));
        if (!x.ok() || server < 0) {
            ui::Values().set(kServerKey, ui::Held::NotRead);
            ui::DrawBound(List_ServerType);
            return fail();
        }
        loading_ = true;
        List_ServerType->setCurrentIndex(server);
        loading_ = false;
        ui::Values().set(kServerKey, ui::Held::Value);
    }
    ui::DrawBound(List_ServerType);
    readBox("64", CPUNo);
    readBox("65", TimeOut);
    readBox("66", NWNo);
    readBox("67", StationNo);
    if (!readAddress("68", txtSLMPIP)) return fail();
    readBox("69", PortNo);
    // A refused entry count leaves the map unread: it is neither shown as a
    // count nor are the entries read.
    const std::string count = x.readAny(gateway::kMapGroup, gateway::kEntryCountItem);
    std::optional<int> n;
    if (IsRefusal(count)) {
        ui::MarkNoValue(DeviceNo, ui::HeldOfReply(count));
        for (int i = 0; i < gateway::kMapRows; ++i) setRowHeld(i, ui::Held::NotRead);
    } else {
        // No answer, or a count the map cannot hold, ends the upload; an
        // unanswered box keeps its text, as no value.
        if (!count.empty()) ui::setText(DeviceNo, TextAfterColon(count));
        n = gateway::EntryCount(TextAfterColon(count));
        if (!n) {
            ui::MarkNoValue(DeviceNo);
            return fail();
        }
        ui::MarkValue(DeviceNo);
    }
    for (int i = 0; i < 2; ++i) {
        const std::string mac = x.read("00", i == 0 ? "57" : "58");
        if (!x.ok()) return fail();
        lblMac[at(i)]->setText(QString::fromLatin1(ui::ShownText(mac).c_str()));
    }
    if (!n) return;
    // The entries are read by the server type's tables: without one, none of
    // them can be shown.
    const bool typeKnown = ui::HasValue(List_ServerType);
    for (int i = 0; i < *n; ++i) {
        if (!typeKnown) {
            setRowHeld(i, ui::Held::NotRead);
            continue;
        }
        const std::string entry = x.readAny(gateway::kMapGroup, gateway::MapEntryItem(i));
        if (IsRefusal(entry)) {
            setRowHeld(i, ui::HeldOfReply(entry));
            continue;
        }
        if (!gateway::LoadMapEntry(rows_[at(i)], TextAfterColon(entry), serverType())) {
            setRowHeld(i, ui::Held::NotRead);
            return fail();
        }
        ui::Values().set(entryKey(i), ui::Held::Value);
        renderRow(i);
    }
    ShowMapEntries(*n - 1);
}

void frmQFODH::failDownload() { ui::ShowTransferMessage(ui::kDownloadingIncomplete); }

void frmQFODH::cmdDown_Click() {
    Running run(*this);
    // Every check and every entry first: the card is written only when all of
    // it can go, so a bad field never leaves it half configured. Only values
    // are checked and sent: what holds none is left as it is on the card.
    if (!runOK()) return failDownload();
    const bool countSent = ui::HasValue(DeviceNo);
    // The rows in use as the entry count shows them.
    const int n = gateway::EntryCount(deviceNo()).value_or(0);
    std::array<bool, gateway::kMapRows> sent{};
    for (int i = 0; i < n; ++i) sent[at(i)] = countSent && rowHeld(i) == ui::Held::Value;
    if (countSent) {
        const gateway::MapCheck map = gateway::CheckMapEntries(rows_, deviceNo(), sent);
        if (!map.ok) {
            ui::ShowEntryMessage(map.message);
            return failDownload();
        }
    }
    std::vector<std::pair<int, std::string>> entries;
    for (int i = 0; i < n; ++i) {
        if (!sent[at(i)]) continue;
        const gateway::MapCheck e = gateway::BuildMapEntry(rows_[at(i)]);
        if (!e.ok) {
            ui::ShowEntryMessage(e.message);
            return failDownload();
        }
        entries.emplace_back(i, e.text);
    }
    // What goes to the card, as checked (the boxes stay editable while the
    // line waits); a setting without a value is named as the dialog captions it.
    ui::LeftAsTheyAre left;
    std::vector<std::pair<std::string, std::string>> settings;
    const auto sendIfValue = [&](const char* item, QLineEdit* b, const ui::ValueKey& key, const char* caption) {
        if (ui::HasValueToSend(b))
            settings.emplace_back(item, ui::text(b));
        else
            left.add(ui::Values().of(key), caption);
    };
    const auto sendAddress = [&](const char* item, const ui::DottedAddress& a, const ui::ValueKey& key,
                                 const char* caption) {
        if (ui::HasValue(a))
            settings.emplace_back(item, a.text());
        else
            left.add(ui::Values().of(key), caption);
    };
    sendIfValue("09", pausePeriod, kPauseKey, "Pause period");
    sendAddress("59", txtIP, kIPKey, "IP address");
    sendAddress("60", txtSNM, kSNMKey, "Subnet mask");
    sendAddress("61", txtDGate, kDGateKey, "Default gateway");
    if (ui::HasValue(List_ServerType))
        settings.emplace_back("63", serverType());
    else
        left.add(ui::Values().of(kServerKey), "Protocol type");
    sendIfValue("64", CPUNo, kCPUNoKey, "Processor No.");
    sendIfValue("65", TimeOut, kTimeOutKey, "SLMP timeout");
    sendIfValue("66", NWNo, kNWNoKey, "Network No.");
    sendIfValue("67", StationNo, kStationNoKey, "Station No.");
    sendAddress("68", txtSLMPIP, kSLMPIPKey, "SLMP server IP address");
    sendIfValue("69", PortNo, kPortNoKey, "SLMP server Port No.");
    const std::string count = deviceNo();
    if (!countSent) left.add(ui::Values().of(kCountKey), "Entry No.");
    for (int i = 0; i < n; ++i)
        if (!sent[at(i)]) left.add(countSent ? rowHeld(i) : ui::Held::NotRead, "Entry", std::to_string(i + 1));

    ui::Exchanges x(10);
    x.sendCardSelect("00");
    x.send("17", "01", "1");
    x.read("00", "40");
    if (!x.ok()) return failDownload();
    for (const auto& [item, value] : settings) x.write("00", item, value);
    if (countSent) x.write(gateway::kMapGroup, gateway::kEntryCountItem, count);
    for (const auto& [i, text] : entries) x.write(gateway::kMapGroup, gateway::MapEntryItem(i), text);
    if (!x.ok()) return failDownload();
    left.tell();
}

// ---- the settings file ----

gateway::QfoFile frmQFODH::collect() const {
    // A setting without a value goes into the file as an empty text, so that
    // reading the file back gives it none either.
    const auto box = [](const QLineEdit* b) { return ui::HasValue(b) ? ui::text(b) : std::string(); };
    const auto address = [](const ui::DottedAddress& a) { return ui::HasValue(a) ? a.text() : std::string(); };
    gateway::QfoFile f;
    f.fileCode = FileCode;
    f.pausePeriod = box(pausePeriod);
    f.ip = address(txtIP);
    f.snm = address(txtSNM);
    f.dgate = address(txtDGate);
    f.serverType = ui::HasValue(List_ServerType) ? serverType() : std::string();
    f.cpuNo = box(CPUNo);
    f.timeOut = box(TimeOut);
    f.nwNo = box(NWNo);
    f.stationNo = box(StationNo);
    f.slmpIp = address(txtSLMPIP);
    f.portNo = box(PortNo);
    f.deviceNo = box(DeviceNo);
    // A row is read by the server type's tables: without a type it cannot be
    // read back, and goes as no value.
    const bool typeKept = ui::HasValue(List_ServerType);
    for (int i = 0; i < gateway::kMapRows; ++i)
        if (typeKept && rowHeld(i) == ui::Held::Value) f.rows[at(i)] = gateway::ToQfoRow(rows_[at(i)]);
    return f;
}

void frmQFODH::CmdSaveF_Click() {
    Running run(*this);
    runOK();  // its messages and list refresh; its outcome does not stop the save
    // The rows in use that hold a value must be whole; without a count none is in use.
    const gateway::MapCheck map = ui::HasValue(DeviceNo) ? gateway::CheckMapEntries(rows_, deviceNo(), rowsWithValue())
                                                        : gateway::MapCheck{};
    if (!map.ok) {
        ui::ShowEntryMessage(map.message);
        return ui::ShowTransferMessage(ui::kSaveFileIncomplete);
    }
    std::string path;
    if (!platform::AskSavePath(gateway::kQfoFilter, path)) return;
    const gateway::QfoFile f = collect();
    std::string error;
    // A value the file cannot carry is refused rather than written so that it reads back otherwise.
    if (!gateway::UnsavableQfo(f).empty() || !SaveWholeFile(path, gateway::FormatQfo(f), error))
        ui::ShowTransferMessage(ui::kSaveFileIncomplete);
}

void frmQFODH::CmdReadF_Click() {
    Running run(*this);
    std::string path;
    if (!platform::AskOpenPath(gateway::kQfoFilter, path)) return;
    std::string bytes, error;
    gateway::QfoFile f;
    // All of the file is read and checked before any of it is taken.
    if (!ReadWholeFile(path, kMaxQuotedFileBytes, bytes, error) || !gateway::ParseQfo(bytes, f, error)) {
        if (auto* m = platform::services().messages) m->show(error, "", platform::MsgIcon::None);
        return;
    }
    // What the file holds is a value; an empty field holds none.
    const auto loadBox = [&](QLineEdit* b, const ui::ValueKey& key, const std::string& field) {
        ui::setText(b, field);
        ui::Values().loaded(key, field);
        ui::DrawBound(b);
    };
    const auto loadAddress = [&](const ui::DottedAddress& a, const ui::ValueKey& key, const std::string& field) {
        a.set(field);
        ui::Values().loaded(key, addressGiven(field));
        for (QLineEdit* b : a.boxes) ui::DrawBound(b);
    };
    loadBox(pausePeriod, kPauseKey, f.pausePeriod);
    loadAddress(txtIP, kIPKey, f.ip);
    loadAddress(txtSNM, kSNMKey, f.snm);
    loadAddress(txtDGate, kDGateKey, f.dgate);
    loading_ = true;
    List_ServerType->setCurrentIndex(List_ServerType->findText(QString::fromLatin1(f.serverType.c_str())));
    loading_ = false;
    ui::Values().loaded(kServerKey, !f.serverType.empty());
    ui::DrawBound(List_ServerType);
    loadBox(CPUNo, kCPUNoKey, f.cpuNo);
    loadBox(TimeOut, kTimeOutKey, f.timeOut);
    loadBox(NWNo, kNWNoKey, f.nwNo);
    loadBox(StationNo, kStationNoKey, f.stationNo);
    loadAddress(txtSLMPIP, kSLMPIPKey, f.slmpIp);
    loadBox(PortNo, kPortNoKey, f.portNo);
    loadBox(DeviceNo, kCountKey, f.deviceNo);
    const int n = gateway::EntryCount(f.deviceNo).value_or(0);
    for (int i = 0; i < n; ++i) {
        const gateway::QfoRow& fr = f.rows[at(i)];
        gateway::MapRow& r = rows_[at(i)];
        if (!gateway::HasValue(fr)) {
            // A row saved without a value: shown empty, as no value.
            r = gateway::MapRow{};
            ui::Values().loaded(entryKey(i), false);
            renderRow(i);
            continue;
        }
        cardTypeChanged(i, fr.cardType, false);
        r.ChNo = fr.ChNo;
        int p = 0;
        const auto& devices = gateway::DeviceList(r);
        while (p < static_cast<int>(devices.size()) && fr.devName != devices[at(p)].name) ++p;
        gateway::SelectDevice(r, serverType(), p);
        r.DevAdd16 = fr.DevAdd16;
        r.DevAdd10 = fr.DevAdd10;
        r.EntryDevCode = fr.code.value_or("");
        r.EntryDevCodeSet = fr.code.has_value();
        r.EntryRadix = fr.radix.value_or("");
        r.EntryRadixSet = fr.radix.has_value();
        ui::Values().set(entryKey(i), ui::Held::Value);
        renderRow(i);
    }
    ShowMapEntries(n - 1);
}

void ShowQFODHDialog(QWidget* owner) {
    frmQFODH dialog(owner);
    dialog.Upload_First_File();
    platform::execModal(dialog);
}

}  // namespace talvo::network
