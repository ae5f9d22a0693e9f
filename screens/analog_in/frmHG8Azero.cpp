#include "screens/analog_in/frmHG8Azero.h"

#include <QGroupBox>
#include <QLabel>

#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/DialogValues.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;
using ui::twips;

namespace {
// The offset of channel index i (0..7) is item 50 + i of group "03".
std::string offsetItem(int index) { return std::to_string(50 + index); }
}  // namespace

frmHG8Azero::frmHG8Azero(int slot, QWidget* parent) : ui::SettingsDialog(parent), slot_(slot) {
    setLineCard(slot);
    setObjectName("frmHG8Azero");
    setWindowTitle(QStringLiteral("0 deg.C Offset"));
    setFixedSize(twips(5160), twips(3720));

    auto* heading = new QLabel(QStringLiteral("0 degree Celsius Offset"), this);
    heading->setObjectName("Label1");
    placeTwips(heading, 180, 120, 4800, 300);

    auto* offset = new QGroupBox(QStringLiteral("Press Ch. button to measure and store offset."), this);
    offset->setObjectName("offset");
    placeTwips(offset, 120, 480, 4920, 2400);
    for (int i = 0; i < 8; ++i) {
        const int left = 180 + (i / 4) * 2400, top = 360 + (i % 4) * 480;
        auto* button = new QPushButton(QString("Ch.%1").arg(i + 1), offset);
        button->setObjectName(QString("ch%1").arg(i));
        placeTwips(button, left, top - 15, 900, 405);
        ch.push_back(button);
        QLineEdit* box = newLockedBox(offset);
        box->setObjectName(QString("ch_Text%1").arg(i));
        placeTwips(box, left + 960, top, 1260, 375);
        ch_Text.push_back(box);
    }

    Clear = new QPushButton(QStringLiteral("Clear"), this);
    Clear->setObjectName("Clear");
    placeTwips(Clear, 2340, 3030, 1260, 435);
    cmdExit = new QPushButton(QStringLiteral("Exit"), this);
    cmdExit->setObjectName("cmdExit");
    placeTwips(cmdExit, 3780, 3030, 1260, 435);

    std::vector<QWidget*> all(ch.begin(), ch.end());
    all.push_back(Clear);
    all.push_back(cmdExit);
    buttons().setButtons(all);
    for (int i = 0; i < 8; ++i) onCommand(ch[static_cast<std::size_t>(i)], [this, i] { measure(i); });
    onCommand(Clear, [this] { clearOffsets(); });
    onExit(cmdExit);
}

void frmHG8Azero::ch_Click(int index) {
    if (index >= 0 && index < static_cast<int>(ch.size())) ch[static_cast<std::size_t>(index)]->click();
}

void frmHG8Azero::Clear_Click() { Clear->click(); }

void frmHG8Azero::cmdExit_Click() { reject(); }

// Each operation ends at the first exchange the card does not answer: with the
// buttons held disabled, a dead line must not keep the dialog waiting item
// after item. A read or write the card refused or left unanswered is told, and
// its box keeps what it showed: a box never shows a refusal nor silence as an
// offset. The link stays as it is.

void frmHG8Azero::selectOffsets(ui::Exchanges& x) const {
    x.sendCardSelect(std::to_string(slot_));
    x.write("03", "01", "F");
}

void frmHG8Azero::showOffset(int index, const std::string& reply) {
    QLineEdit* box = ch_Text[static_cast<std::size_t>(index)];
    // A refusal is no offset: the box keeps what it showed, drawn as not read.
    if (IsRefusal(reply)) {
        ui::DrawHeld(box, ui::HeldOfReply(reply));
        return;
    }
    setBoxText(box, TextAfterColon(reply));
    ui::DrawHeld(box, ui::Held::Value);
}

void frmHG8Azero::Upload_First_File() {
    Running run(*this);
    ui::Exchanges x;
    selectOffsets(x);
    for (int i = 0; i < 8 && x.ok(); ++i) {
        const std::string r = x.read("03", offsetItem(i));
        if (x.ok()) showOffset(i, r);
    }
    if (!x.ok()) ui::ShowTransferMessage(ui::kUploadingIncomplete);
}

void frmHG8Azero::measure(int index) {
    Running run(*this);
    // The card measures the offset now; the box shows what it answers.
    ui::Exchanges x;
    const std::string r = x.write("03", offsetItem(index), "1");
    if (!x.ok()) return ui::ShowTransferMessage(ui::kDownloadingIncomplete);
    showOffset(index, r);
    PauseMs(10);
}

void frmHG8Azero::clearOffsets() {
    Running run(*this);
    ui::Exchanges x;
    selectOffsets(x);
    for (int i = 0; i < 8 && x.ok(); ++i) {
        const std::string r = x.write("03", offsetItem(i), "0.00");
        if (x.ok()) showOffset(i, r);
    }
    if (!x.ok()) ui::ShowTransferMessage(ui::kDownloadingIncomplete);
}

}  // namespace talvo::screens
