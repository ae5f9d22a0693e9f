#include "screens/network/frmOP.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/Globals.h"
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
using ui::list;

namespace {

const char* const kScales[] = {"1", "10", "100", "1000", "0.1", "0.01", "0.001", "0.0001"};

// One channel's scale list, wide enough for "0.0001" beside its drop arrow.
constexpr int kColumn = 920;
constexpr int kFirstColumn = 1080;

std::size_t at(int i) { return static_cast<std::size_t>(i); }

// Where the store keeps each setting: the power-on delay, and I/O card n's
// name, scale list (one item for all cards, the card in its data), "N2ADR"
// and "VND:0 /AHU:1".
const ui::ValueKey kDelayKey = CommKey("00", "55");
ui::ValueKey nameKey(int n) { return CommKey("17", std::to_string(25 + n)); }
ui::ValueKey sclKey(int n) { return CommKey("17", "44", n); }
ui::ValueKey n2adrKey(int n) { return CommKey("17", std::to_string(44 + n)); }
ui::ValueKey vndahuKey(int n) { return CommKey("17", std::to_string(60 + n)); }

constexpr const char* kDelayCaption = "Power on delay (1sec)";

}  // namespace

frmOP::frmOP(QWidget* parent) : ui::SettingsDialog(parent) {
    setObjectName("frmOP");
    setFixedSize(ui::twips(18840), ui::twips(7560));

    heading(this, "Label1", "OPx Settings", 240, 120, 5000);
    label(this, "Label2", "Power on delay (1sec)", 240, 660, 2400);
    txtTimeout = box(this, "txtTimeout", 2640, 660, 900);
    ui::BindSetting(txtTimeout, kDelayKey);

    QGroupBox* Frame1 = frame(this, "Frame1", "I/O Card Name", 240, 1140, 9000, 2220);
    for (int row = 0; row < 4; ++row) {
        const int y = 330 + row * 450;
        label(Frame1, "", QString("I/O %1 - %2").arg(4 * row + 1).arg(4 * row + 4), 180, y, 1320);
        for (int k = 0; k < 4; ++k) {
            const int n = 4 * row + k + 1;
            QLineEdit* b = box(Frame1, "", 1560 + k * 1500, y, 1380);
            b->setObjectName(indexed("txtCardList", n));
            b->setMaxLength(8);
            ui::BindSetting(b, nameKey(n));
            txtCardList[at(n)] = b;
        }
    }
    cmdReadCard = button(Frame1, "cmdReadCard", "Read Card", 7620, 1680, 1200);

    QGroupBox* Frame2 = frame(this, "Frame2", "Scaling", 240, 3480, 18360, 3300);
    for (int g = 0; g < 4; ++g) {
        auto* o = new QRadioButton(QString("%1 - %2").arg(4 * g + 1).arg(4 * g + 4), Frame2);
        o->setObjectName(QString("OptScl%1").arg(g + 1));
        ui::placeTwips(o, 240 + g * 1320, 300, 1200, 330);
        OptScl[at(g)] = o;
        connect(o, &QRadioButton::toggled, this, [this, g](bool on) {
            if (on) OptScl_Click(g);
        });
    }
    const int top = 1080;
    label(Frame2, "", "I/O card", 180, top - 420, 900);
    for (int c = 0; c < 16; c += 4)
        label(Frame2, "", QString("CH %1").arg(c + 1), kFirstColumn + c * kColumn, top - 420, kColumn);
    const int right = kFirstColumn + 16 * kColumn + 120;
    label(Frame2, "", "N2ADR", right, top - 420, 960);
    label(Frame2, "", "VND:0 /AHU:1", right + 1080, top - 420, 1440);
    for (int r = 0; r < 4; ++r) {
        const int y = top + r * 480;
        QLabel* l = label(Frame2, "", QString("I/O %1").arg(r + 1), 180, y, 900);
        l->setObjectName(indexed("lblSclCard", r));
        lblSclCard[at(r)] = l;
        for (int c = 0; c < 16; ++c) {
            const int i = 16 * r + c;
            QComboBox* cb = list(Frame2, "", kFirstColumn + c * kColumn, y, kColumn - 20);
            cb->setObjectName(indexed("cbScl", i));
            cb->setFont(ui::arialFont(7.5));
            cbScl[at(i)] = cb;
            // Only the user's pick changes a card's list: the program's own
            // filling never makes one.
            ui::OnUserEdit(cb, this, [this, i] { cbScl_Click(i); });
        }
        QLineEdit* n2 = box(Frame2, "", right, y, 960);
        n2->setObjectName(indexed("txtN2ADR", r));
        QLineEdit* vnd = box(Frame2, "", right + 1080, y, 1080);
        vnd->setObjectName(indexed("txtVNDAHU", r));
        for (QLineEdit* b : {n2, vnd}) {
            b->setMaxLength(8);
            ui::SelectAllOnFocus(b);
        }
        txtN2ADR[at(r)] = n2;
        txtVNDAHU[at(r)] = vnd;
        connect(n2, &QLineEdit::textChanged, this, [this, r] { addressChanged(true, r); });
        connect(vnd, &QLineEdit::textChanged, this, [this, r] { addressChanged(false, r); });
    }

    cmdUp = button(this, "cmdUp", "Upload", 240, 6960);
    cmdDown = button(this, "cmdDown", "Download", 1560, 6960);
    cmdExit = button(this, "cmdExit", "Exit", 17400, 6960);

    // SetControlsEnabled: every command, box and scale list; the option buttons stay.
    std::vector<QWidget*> controls = {cmdUp, cmdDown, cmdExit, cmdReadCard, txtTimeout};
    for (int n = 1; n <= 16; ++n) controls.push_back(txtCardList[at(n)]);
    for (int r = 0; r < 4; ++r) {
        controls.push_back(txtN2ADR[at(r)]);
        controls.push_back(txtVNDAHU[at(r)]);
    }
    for (QComboBox* cb : cbScl) controls.push_back(cb);
    buttons().setButtons(controls);

    onCommand(cmdUp, [this] { cmdUp_Click(); });
    onCommand(cmdDown, [this] { cmdDown_Click(); });
    onCommand(cmdReadCard, [this] { cmdReadCard_Click(); });
    onExit(cmdExit);
}

void frmOP::Upload_First_File() {
    Running run(*this);
    for (QComboBox* cb : cbScl) {
        cb->clear();
        for (const char* s : kScales) cb->addItem(s);
    }
    // The opening write is the communication card's: select it first, since
    // the card selected last may be any I/O card; without it nothing is sent.
    if (!SelectCard("00")) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
    WriteItem(3, "17", "0", "1");
    ReadItem(3, "00", "55");  // the answer is not used
    // A record field that holds nothing (never read, or cleared by a new
    // connection) is no value, which Download leaves as it is on the card.
    const CardRecord& rec = CommCardRecord();
    ui::ShowRecorded(txtTimeout, rec.Param[2]);
    for (int n = 1; n <= 16; ++n) ui::ShowRecorded(txtCardList[at(n)], rec.ChOption[n]);
    for (int n = 1; n <= 16; ++n) {
        SclList[at(n)] = rec.Param[16 + n];
        N2ADRList[at(n - 1)] = rec.Param[32 + n];
        VNDAHUList[at(n - 1)] = rec.Param[48 + n];
    }
    OptScl[0]->setChecked(true);
    ShowScaleGroup(0);
    ShowAddressGroup(0);
}

void frmOP::cmdUp_Click() {
    Running run(*this);
    CardRecord& rec = CommCardRecord();
    ui::Exchanges x;
    const auto fail = [] { ui::ShowTransferLoss(ui::kUploadingIncomplete); };
    x.sendCardSelect("00");
    x.send("00", "01", "1");
    // A refused item stores nothing: the record keeps what it had.
    const std::string version = x.read("00", "40");
    if (!x.ok()) return fail();
    if (!IsRefusal(version)) rec.Version = "V" + TextAfterColon(version);
    const std::string model = x.read("00", "04");
    if (!x.ok()) return fail();
    if (!IsRefusal(model)) {
        const std::string head = TextBeforeColon(model);
        rec.CardType = head.size() > 3 ? head.substr(3) : std::string();
    }
    const std::string item09 = x.read("00", "09");
    if (!x.ok()) return fail();
    if (!IsRefusal(item09)) rec.Param.set(1, TextAfterColon(item09));

    // Every further read must be answered too: one the card leaves unanswered
    // ends the upload, so that no box or record takes silence for a value.
    x.send("17", "0", "1");
    const std::string delay = x.read("00", "55");
    if (!x.ok()) return fail();
    if (ui::ShowRead(txtTimeout, delay)) rec.Param.set(2, ui::text(txtTimeout));
    x.send("17", "1", "1");
    for (int n = 1; n <= 16; ++n) {
        const std::string name = x.read("17", std::to_string(25 + n));
        if (!x.ok()) return fail();
        if (ui::ShowRead(txtCardList[at(n)], name)) rec.ChOption.set(n, ui::text(txtCardList[at(n)]));
    }
    for (int n = 1; n <= 16; ++n) {
        // The card answers the write of a card index with that card's scale list.
        const std::string r = x.query("17", "43", std::to_string(n - 1) + ";");
        if (!x.ok()) return fail();
        if (ui::Values().read(sclKey(n), r) != ui::Held::Value) continue;
        std::string scales = TextAfterColon(r);
        if (!scales.empty() && scales.back() == ';') scales.pop_back();
        SclList[at(n)] = scales;
        rec.Param.set(16 + n, scales);
    }
    // A refused entry keeps its text, as no value.
    const auto readEntry = [&](int item, const ui::ValueKey& key, std::string& entry, int param) {
        const std::string r = x.read("17", std::to_string(item));
        if (!x.ok()) return false;
        if (ui::Values().read(key, r) == ui::Held::Value) {
            entry = TextAfterColon(r);
            rec.Param.set(param, entry);
        }
        return true;
    };
    for (int n = 1; n <= 16; ++n) {
        if (!readEntry(44 + n, n2adrKey(n), N2ADRList[at(n - 1)], 32 + n) ||
            !readEntry(60 + n, vndahuKey(n), VNDAHUList[at(n - 1)], 48 + n))
            return fail();
    }
    OptScl[0]->setChecked(true);
    ShowScaleGroup(0);
    ShowAddressGroup(0);
}

void frmOP::cmdDown_Click() {
    Running run(*this);
    CardRecord& rec = CommCardRecord();
    ui::Exchanges x;
    const auto fail = [] { ui::ShowTransferLoss(ui::kDownloadingIncomplete); };
    x.sendCardSelect("00");
    x.send("01", "01", "1");
    x.read("00", "40");
    if (!x.ok()) return fail();
    // An empty delay is asked for before anything is sent, whatever it holds.
    if (txtTimeout->text().isEmpty()) {
        ui::ShowEntryMessage("Please enter Timeout Val.");
        return;
    }
    // Every write is checked, and the record takes a text once the card took
    // it. A setting without a value, or with an empty text, is not sent: the
    // card keeps its own and the end names it.
    ui::LeftAsTheyAre left;
    const auto put = [&](const std::string& item, const std::string& text) {
        x.write("17", item, text);
        return x.ok();
    };
    x.send("00", "1", "1");
    if (const ui::Held held = CommHeld(kDelayKey, rec.Param[2]); held == ui::Held::Value) {
        x.write("00", "55", ui::text(txtTimeout));
        if (!x.ok()) return fail();
        rec.Param.set(2, ui::text(txtTimeout));
    } else {
        left.add(held, kDelayCaption);
    }
    x.send("17", "1", "1");
    for (int n = 1; n <= 16; ++n) {
        const std::string name = ui::text(txtCardList[at(n)]);
        const ui::Held held = CommHeld(nameKey(n), rec.ChOption[n]);
        if (held != ui::Held::Value || name.empty()) {
            left.add(held, "I/O Card Name", std::to_string(n));
            continue;
        }
        if (!put(std::to_string(25 + n), name)) return fail();
        rec.ChOption.set(n, name);
    }
    for (int n = 1; n <= 16; ++n) {
        // A list without its 16 scales would reach the card as a damaged entry.
        const std::string& scales = SclList[at(n)];
        const ui::Held held = sclHeld(n);
        if (held != ui::Held::Value || ScaleParts(scales).empty()) {
            left.add(held, "Scaling I/O", std::to_string(n));
            continue;
        }
        if (!put("44", std::to_string(n - 1) + ":" + scales + ";")) return fail();
        rec.Param.set(16 + n, scales);
    }
    const auto putEntry = [&](int item, const std::string& entry, ui::Held held, int param, const char* caption,
                              int n) {
        if (held != ui::Held::Value || entry.empty()) {
            left.add(held, caption, std::to_string(n));
            return true;
        }
        if (!put(std::to_string(item), entry)) return false;
        rec.Param.set(param, entry);
        return true;
    };
    for (int n = 1; n <= 16; ++n) {
        if (!putEntry(44 + n, N2ADRList[at(n - 1)], n2adrHeld(n), 32 + n, "N2ADR I/O", n) ||
            !putEntry(60 + n, VNDAHUList[at(n - 1)], vndahuHeld(n), 48 + n, "VND:0 /AHU:1 I/O", n))
            return fail();
    }
    left.tell();
}

ui::Held frmOP::sclHeld(int n) const { return CommHeld(sclKey(n), CommCardRecord().Param[16 + n]); }
ui::Held frmOP::n2adrHeld(int n) const { return CommHeld(n2adrKey(n), CommCardRecord().Param[32 + n]); }
ui::Held frmOP::vndahuHeld(int n) const { return CommHeld(vndahuKey(n), CommCardRecord().Param[48 + n]); }

void frmOP::cmdReadCard_Click() {
    Running run(*this);
    if (!SelectCard("00")) return ui::ShowTransferLoss(ui::kUploadingIncomplete);
    WriteItem(3, "17", "1", "1");
    WriteItem(3, "17", "42", "1");
    cmdUp_Click();
}

void frmOP::ShowScaleGroup(int g) {
    GroupLoading = true;
    for (int r = 0; r < 4; ++r) {
        const int n = 4 * g + r + 1;
        lblSclCard[at(r)]->setText(QString("I/O %1").arg(n));
        // A list without its 16 scales shows no entry; one that is no value
        // shows what it holds, drawn as not read.
        const std::vector<std::string> parts = ScaleParts(SclList[at(n)]);
        const ui::Held held = sclHeld(n);
        for (int c = 0; c < 16; ++c) {
            QComboBox* cb = cbScl[at(16 * r + c)];
            cb->setCurrentIndex(parts.empty() ? -1 : ScaleIndex(parts[at(c)]));
            ui::DrawHeld(cb, held);
        }
    }
    GroupLoading = false;
}

void frmOP::ShowAddressGroup(int g) {
    GroupLoading = true;
    for (int r = 0; r < 4; ++r) {
        const int n = 4 * g + r + 1;
        // The row's boxes show card n now: the user's edits give its settings a value.
        ui::BindSetting(txtN2ADR[at(r)], n2adrKey(n));
        ui::BindSetting(txtVNDAHU[at(r)], vndahuKey(n));
        ui::setText(txtN2ADR[at(r)], N2ADRList[at(n - 1)]);
        ui::setText(txtVNDAHU[at(r)], VNDAHUList[at(n - 1)]);
        ui::DrawHeld(txtN2ADR[at(r)], n2adrHeld(n));
        ui::DrawHeld(txtVNDAHU[at(r)], vndahuHeld(n));
    }
    GroupLoading = false;
}

void frmOP::OptScl_Click(int g) {
    ShowScaleGroup(g);
    ShowAddressGroup(g);
}

int frmOP::groupBase() const {
    if (OptScl[1]->isChecked()) return 4;
    if (OptScl[2]->isChecked()) return 8;
    if (OptScl[3]->isChecked()) return 12;
    return 0;
}

void frmOP::cbScl_Click(int index) {
    if (GroupLoading) return;
    const int r = index / 16;
    const int n = r + groupBase() + 1;
    std::string text;
    for (int c = 0; c < 16; ++c) {
        const int i = cbScl[at(16 * r + c)]->currentIndex();
        if (i < 0) return;  // a channel without a scale: the card's list stays as it was
        text += std::to_string(i) + ",";
    }
    text.pop_back();
    SclList[at(n)] = text;
    ui::Values().set(sclKey(n), ui::Held::Value);
    for (int c = 0; c < 16; ++c) ui::DrawHeld(cbScl[at(16 * r + c)], ui::Held::Value);
}

void frmOP::addressChanged(bool n2adr, int index) {
    if (GroupLoading) return;
    const int e = index + groupBase();
    if (n2adr)
        N2ADRList[at(e)] = ui::text(txtN2ADR[at(index)]);
    else
        VNDAHUList[at(e)] = ui::text(txtVNDAHU[at(index)]);
}

void ShowOPDialog(QWidget* owner) {
    frmOP dialog(owner);
    dialog.Upload_First_File();
    platform::execModal(dialog);
}

}  // namespace talvo::network
