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
            const gateway::MapCheck c = gateway::CheckChNo(rows_, i, deviceNo());
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
        ShowMapEntries(static_cast<int>(ui::FieldValue(kDeviceNo, deviceNo())) - 1);
        return true;
    });
    for (const ui::DottedAddress* a : {&txtIP, &txtSNM, &txtDGate, &txtSLMPIP})
        for (QLineEdit* b : a->boxes) checks().watch(b, [this, b] { return CheckOctet(b); });
    connect(List_ServerType, &QComboBox::currentIndexChanged, this, [this] {
        if (loading_ || serverTypeChosen()) return;
        ui::ShowEntryMessage("Server type 16 or 32bit:Please select number 16 or 32");
        List_ServerType->setFocus();
    });
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
    if (!serverTypeChosen()) {
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
    // An address must come whole: four parts.
    const auto readAddress = [&](const char* item, const ui::DottedAddress& a) {
        const std::string v = TextAfterColon(x.read("00", item));
        if (!x.ok() || !HasFourParts(v)) return false;
        a.set(v);
        return true;
    };
    if (!readAddress("59", txtIP) || !readAddress("60", txtSNM) || !readAddress("61", txtDGate)) return fail();
    const int server = List_ServerType->findText(QString::fromLatin1(TextAfterColon(x.readAny("00", "63")).c_str()));
    if (!x.ok() || server < 0) return fail();
    loading_ = true;
    List_ServerType->setCurrentIndex(server);
    loading_ = false;
    readBox("64", CPUNo);
    readBox("65", TimeOut);
    readBox("66", NWNo);
    readBox("67", StationNo);
    if (!readAddress("68", txtSLMPIP)) return fail();
    readBox("69", PortNo);
    ui::setText(DeviceNo, TextAfterColon(x.readAny(gateway::kMapGroup, gateway::kEntryCountItem)));
    // An entry count the map cannot hold ends the upload.
    const std::optional<int> n = gateway::EntryCount(deviceNo());
    if (!n) return fail();
    for (int i = 0; i < 2; ++i) {
        const std::string mac = x.read("00", i == 0 ? "57" : "58");
        if (!x.ok()) return fail();
        lblMac[at(i)]->setText(QString::fromLatin1(ui::ShownText(mac).c_str()));
    }
    for (int i = 0; i < *n; ++i) {
        const std::string entry = TextAfterColon(x.readAny(gateway::kMapGroup, gateway::MapEntryItem(i)));
        if (!gateway::LoadMapEntry(rows_[at(i)], entry, serverType())) return fail();
        renderRow(i);
    }
    ShowMapEntries(*n - 1);
}

void frmQFODH::failDownload() { ui::ShowTransferMessage(ui::kDownloadingIncomplete); }

void frmQFODH::cmdDown_Click() {
    Running run(*this);
    // Every check and every entry first: the card is written only when all of
    // it can go, so a bad field never leaves it half configured.
    if (!runOK()) return failDownload();
    const gateway::MapCheck map = gateway::CheckMapEntries(rows_, deviceNo());
    if (!map.ok) {
        ui::ShowEntryMessage(map.message);
        return failDownload();
    }
    const int n = gateway::EntryCount(deviceNo()).value_or(0);
    std::vector<std::string> entries;
    for (int i = 0; i < n; ++i) {
        const gateway::MapCheck e = gateway::BuildMapEntry(rows_[at(i)]);
        if (!e.ok) {
            ui::ShowEntryMessage(e.message);
            return failDownload();
        }
        entries.push_back(e.text);
    }
    // What goes to the card, as checked (the boxes stay editable while the
    // line waits); a box without a value is left as it is on the card.
    ui::LeftAsTheyAre left;
    std::vector<std::pair<std::string, std::string>> settings;
    const auto sendIfValue = [&](const char* item, QLineEdit* b, const char* caption) {
        if (ui::HasValue(b))
            settings.emplace_back(item, ui::text(b));
        else
            left.add(caption);
    };
    sendIfValue("09", pausePeriod, "Pause period");
    settings.emplace_back("59", txtIP.text());
    settings.emplace_back("60", txtSNM.text());
    settings.emplace_back("61", txtDGate.text());
    settings.emplace_back("63", serverType());
    sendIfValue("64", CPUNo, "Processor No.");
    sendIfValue("65", TimeOut, "SLMP timeout");
    sendIfValue("66", NWNo, "Network No.");
    sendIfValue("67", StationNo, "Station No.");
    settings.emplace_back("68", txtSLMPIP.text());
    sendIfValue("69", PortNo, "SLMP server Port No.");
    const std::string count = deviceNo();

    ui::Exchanges x(10);
    x.sendCardSelect("00");
    x.send("17", "01", "1");
    x.read("00", "40");
    if (!x.ok()) return failDownload();
    for (const auto& [item, value] : settings) x.write("00", item, value);
    x.write(gateway::kMapGroup, gateway::kEntryCountItem, count);
    for (int i = 0; i < n; ++i) x.write(gateway::kMapGroup, gateway::MapEntryItem(i), entries[at(i)]);
    if (!x.ok()) return failDownload();
    left.tell();
}

// ---- the settings file ----

gateway::QfoFile frmQFODH::collect() const {
    gateway::QfoFile f;
    f.fileCode = FileCode;
    f.pausePeriod = ui::text(pausePeriod);
    f.ip = txtIP.text();
    f.snm = txtSNM.text();
    f.dgate = txtDGate.text();
    f.serverType = serverType();
    f.cpuNo = ui::text(CPUNo);
    f.timeOut = ui::text(TimeOut);
    f.nwNo = ui::text(NWNo);
    f.stationNo = ui::text(StationNo);
    f.slmpIp = txtSLMPIP.text();
    f.portNo = ui::text(PortNo);
    f.deviceNo = deviceNo();
    for (int i = 0; i < gateway::kMapRows; ++i) f.rows[at(i)] = gateway::ToQfoRow(rows_[at(i)]);
    return f;
}

void frmQFODH::CmdSaveF_Click() {
    Running run(*this);
    runOK();  // its messages and list refresh; its outcome does not stop the save
    const gateway::MapCheck map = gateway::CheckMapEntries(rows_, deviceNo());
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
    ui::setText(pausePeriod, f.pausePeriod);
    txtIP.set(f.ip);
    txtSNM.set(f.snm);
    txtDGate.set(f.dgate);
    loading_ = true;
    List_ServerType->setCurrentIndex(List_ServerType->findText(QString::fromLatin1(f.serverType.c_str())));
    loading_ = false;
    ui::setText(CPUNo, f.cpuNo);
    ui::setText(TimeOut, f.timeOut);
    ui::setText(NWNo, f.nwNo);
    ui::setText(StationNo, f.stationNo);
    txtSLMPIP.set(f.slmpIp);
    ui::setText(PortNo, f.portNo);
    ui::setText(DeviceNo, f.deviceNo);
    const int n = gateway::EntryCount(f.deviceNo).value_or(0);
    for (int i = 0; i < n; ++i) {
        const gateway::QfoRow& fr = f.rows[at(i)];
        cardTypeChanged(i, fr.cardType, false);
        gateway::MapRow& r = rows_[at(i)];
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
