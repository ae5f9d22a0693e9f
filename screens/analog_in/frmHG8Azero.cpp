#include "screens/analog_in/frmHG8Azero.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include "core/Connection.h"
#include "core/Globals.h"
#include "core/LineTurn.h"
#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "screens/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;
using ui::twips;

namespace {
// The offset of channel index i (0..7) is item 50 + i of group "03".
std::string offsetItem(int index) { return std::to_string(50 + index); }
}  // namespace

frmHG8Azero::frmHG8Azero(QTimer& hostTimer, int slot, QWidget* parent)
    : QDialog(parent), hostTimer_(hostTimer), slot_(slot) {
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
        connect(button, &QPushButton::clicked, this, [this, i] { ch_Click(i); });
        ch.push_back(button);
        QLineEdit* box = newLockedBox(offset);
        box->setObjectName(QString("ch_Text%1").arg(i));
        placeTwips(box, left + 960, top, 1260, 375);
        ch_Text.push_back(box);
    }

    Clear = new QPushButton(QStringLiteral("Clear"), this);
    Clear->setObjectName("Clear");
    placeTwips(Clear, 2340, 3030, 1260, 435);
    connect(Clear, &QPushButton::clicked, this, [this] { Clear_Click(); });
    cmdExit = new QPushButton(QStringLiteral("Exit"), this);
    cmdExit->setObjectName("cmdExit");
    placeTwips(cmdExit, 3780, 3030, 1260, 435);
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
}

void frmHG8Azero::setBusy(bool busy) {
    busy_ = busy;
    // No progress window: the busy cursor shows the card is being talked to.
    if (busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
    // A port that went away meanwhile shows the disconnected state; the buttons
    // that talk to the card stay off until a new connection.
    const bool lineUp = busy || !NoticeLostPort();
    for (QPushButton* b : ch) b->setEnabled(!busy && lineUp);
    Clear->setEnabled(!busy && lineUp);
    cmdExit->setEnabled(!busy);
    if (busy || !closeAsked_) return;
    // Closed while the card was being talked to: it closes now that it is over.
    QPointer<frmHG8Azero> self(this);
    QTimer::singleShot(0, this, [self] {
        if (!self || self->busy_) return;
        self->closeAsked_ = false;
        self->unsetCursor();
        self->cmdExit_Click();
    });
}

bool frmHG8Azero::writeOffset(int index, const std::string& value) {
    const std::string reply = WriteItem(3, "03", offsetItem(index), value);
    setBoxText(ch_Text[static_cast<std::size_t>(index)], TextAfterColon(reply));
    return !reply.empty();
}

// Each operation ends at the first exchange the card does not answer: with the
// buttons held disabled, a dead line must not keep the dialog waiting item after item.

void frmHG8Azero::Upload_First_File() {
    LineHold hold;
    setBusy(true);
    const std::string slot = std::to_string(slot_);
    if (!WriteItem(3, "00", "01", "F").empty() && !WriteItem(3, "00", "41", slot).empty() &&
        !WriteItem(3, "03", "01", "F").empty()) {
        for (int i = 0; i < 8; ++i) {
            const std::string reply = ReadItem(3, "03", offsetItem(i));
            setBoxText(ch_Text[static_cast<std::size_t>(i)], TextAfterColon(reply));
            if (reply.empty()) break;
        }
    }
    setBusy(false);
}

void frmHG8Azero::ch_Click(int index) {
    if (busy_ || index < 0 || index >= static_cast<int>(ch.size())) return;
    QPointer<frmHG8Azero> self(this);
    RunWhenLineFree(
        "frmHG8Azero.ch",
        [this, index] {
            LineHold hold;
            setBusy(true);
            // The card measures the offset now; the box shows what it answers.
            writeOffset(index, "1");
            PauseMs(10);
            setBusy(false);
        },
        [self] { return self && !self->busy_; });
}

void frmHG8Azero::Clear_Click() {
    if (busy_) return;
    QPointer<frmHG8Azero> self(this);
    RunWhenLineFree(
        "frmHG8Azero.Clear",
        [this] {
            LineHold hold;
            setBusy(true);
            const std::string slot = std::to_string(slot_);
            if (!WriteItem(3, "00", "01", "F").empty() && !WriteItem(3, "00", "41", slot).empty() &&
                !WriteItem(3, "03", "01", "F").empty()) {
                for (int i = 0; i < 8; ++i)
                    if (!writeOffset(i, "0.00")) break;
            }
            setBusy(false);
        },
        [self] { return self && !self->busy_; });
}

void frmHG8Azero::askClose() {
    closeAsked_ = true;
    setCursor(Qt::WaitCursor);
}

void frmHG8Azero::cmdExit_Click() {
    if (busy_) return askClose();
    hostTimer_.start();  // the screen's cycle resumes with the interval it had
    done(QDialog::Accepted);
}

void frmHG8Azero::closeEvent(QCloseEvent* e) {
    if (busy_) {
        e->ignore();
        askClose();
        return;
    }
    if (result() != QDialog::Accepted) cmdExit_Click();
    e->accept();
}

void frmHG8Azero::reject() { cmdExit_Click(); }

}  // namespace talvo::screens
