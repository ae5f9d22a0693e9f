#include "shell/frmSWcheck.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>
#include <cmath>

#include "core/Colors.h"
#include "core/Connection.h"
#include "core/LineTurn.h"
#include "core/MainView.h"
#include "core/Protocol.h"
#include "platform/Services.h"
#include "ui/BusyCursor.h"
#include "ui/Geometry.h"

namespace talvo::shell {

namespace {

// Layout in twips. Each switch is eight cells at a fixed pitch; the position
// numbers above it are set in a fixed-pitch font three characters to a cell.
constexpr int kWidth = 12000;
constexpr int kHeight = 7680;
constexpr int kMargin = 240;
constexpr int kSlotX = 240, kSlotW = 780;
constexpr int kNameX = 1080, kNameW = 1600;
constexpr int kVersionX = 2760, kVersionW = 800;
constexpr int kTextX = 3640, kTextW = 1100;
constexpr int kSwitchX = 4920, kSwitchStep = 2340;
constexpr int kCellPitch = 270, kCellSize = 210;
constexpr int kHeadingY = 600, kIndexY = 870;
constexpr int kRowY = 1140, kRowPitch = 360, kRowH = 330;
constexpr int kFooterY = 7020, kButtonW = 1200, kButtonH = 420;

int switchX(int sw) { return kSwitchX + (sw - 1) * kSwitchStep; }

QLineEdit* lockedBox(QWidget* parent, const QString& name, int x, int y, int w) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::ClickFocus);  // Tab moves between the buttons
    ui::placeTwips(e, x, y, w, kRowH);
    return e;
}

QFrame* cell(QWidget* parent, const QString& name, int x, int y, std::uint32_t color) {
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameStyle(QFrame::Box | QFrame::Plain);
    ui::setBackColor(f, color);
    ui::placeTwips(f, x, y, kCellSize, kCellSize);
    return f;
}

// A fixed-pitch font whose characters are a third of a cell pitch wide, so
// " 1  2  3  4  5  6  7  8" puts each number over its cell.
QFont positionFont() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPixelSize(100);
    const double advance = QFontMetricsF(f).horizontalAdvance(QLatin1Char('0'));
    const double wanted = ui::twips(kCellPitch) / 3.0;
    f.setPixelSize(std::max(6, static_cast<int>(std::lround(100.0 * wanted / advance))));
    return f;
}

}  // namespace

frmSWcheck::frmSWcheck(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSWcheck"));
    setWindowTitle(QStringLiteral("I/O Card DipSW Check"));
    setFixedSize(ui::twips(kWidth), ui::twips(kHeight));

    QLabel* title =
        ui::newLabel(this, QStringLiteral("I/O Card DipSW Check"), kMargin, 120, kWidth - 2 * kMargin, Qt::AlignCenter, 420);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    title->setFont(titleFont);

    ui::newLabel(this, QStringLiteral("Card Name"), kNameX, kHeadingY, kNameW, Qt::AlignLeft, 270);
    ui::newLabel(this, QStringLiteral("Version"), kVersionX, kHeadingY, kVersionW, Qt::AlignLeft, 270);
    const QFont indexFont = positionFont();
    for (int sw = 1; sw <= DipSwitchModel::kSwitches; ++sw) {
        const int w = DipSwitchModel::kPositions * kCellPitch;
        ui::newLabel(this, QStringLiteral("SW%1 (BIN)").arg(sw), switchX(sw), kHeadingY, w, Qt::AlignCenter, 270);
        QLabel* index =
            ui::newLabel(this, QStringLiteral(" 1  2  3  4  5  6  7  8"), switchX(sw), kIndexY, w, Qt::AlignLeft, 240);
        index->setObjectName(QStringLiteral("lblExtIndex%1").arg(sw - 1));
        index->setFont(indexFont);
    }

    buildRows();
    buildFooter();
}

void frmSWcheck::buildRows() {
    for (int i = 0; i < DipSwitchModel::kRows; ++i) {
        const auto r = static_cast<std::size_t>(i);
        const int y = kRowY + i * kRowPitch;
        ui::newLabel(this, QStringLiteral("Slot %1").arg(i + 1), kSlotX, y, kSlotW, Qt::AlignLeft, kRowH);
        txtName_[r] = lockedBox(this, QStringLiteral("txtName%1").arg(i), kNameX, y, kNameW);
        txtVersion_[r] = lockedBox(this, QStringLiteral("txtVersion%1").arg(i), kVersionX, y, kVersionW);
        txtSW_[r] = lockedBox(this, QStringLiteral("txtSW%1").arg(i), kTextX, y, kTextW);
        const int inset = (kCellPitch - kCellSize) / 2;
        for (int sw = 1; sw <= DipSwitchModel::kSwitches; ++sw) {
            for (int p = 1; p <= DipSwitchModel::kPositions; ++p) {
                const int k = DipSwitchModel::cellIndex(i, sw, p);
                txtCData_[static_cast<std::size_t>(k)] =
                    cell(this, QStringLiteral("txtCData%1").arg(k), switchX(sw) + (p - 1) * kCellPitch + inset,
                         y + (kRowH - kCellSize) / 2, model_.cells[static_cast<std::size_t>(k)]);
            }
        }
    }
}

void frmSWcheck::buildFooter() {
    const int boxY = kFooterY + (kButtonH - kCellSize) / 2;
    ui::newLabel(this, QStringLiteral("ON ="), kMargin, kFooterY, 540, Qt::AlignRight, kButtonH);
    cell(this, QStringLiteral("txtCDataON"), kMargin + 600, boxY, colors::Black);
    ui::newLabel(this, QStringLiteral("OFF ="), kMargin + 1020, kFooterY, 660, Qt::AlignRight, kButtonH);
    cell(this, QStringLiteral("txtCDataOFF"), kMargin + 1740, boxY, colors::White);

    cmdUp_ = new QPushButton(QStringLiteral("Upload"), this);
    cmdUp_->setObjectName(QStringLiteral("cmdUp"));
    ui::placeTwips(cmdUp_, kWidth - kMargin - 2 * kButtonW - 120, kFooterY, kButtonW, kButtonH);
    cmdExit_ = new QPushButton(QStringLiteral("Exit"), this);
    cmdExit_->setObjectName(QStringLiteral("cmdExit"));
    ui::placeTwips(cmdExit_, kWidth - kMargin - kButtonW, kFooterY, kButtonW, kButtonH);
    connect(cmdUp_, &QPushButton::clicked, this, &frmSWcheck::cmdUp_Click);
    connect(cmdExit_, &QPushButton::clicked, this, &frmSWcheck::cmdExit_Click);
}

void frmSWcheck::showRow(int row) {
    const auto r = static_cast<std::size_t>(row);
    txtName_[r]->setText(QString::fromLatin1(model_.name[r].c_str()));
    txtVersion_[r]->setText(QString::fromLatin1(model_.version[r].c_str()));
    txtSW_[r]->setText(QString::fromLatin1(model_.switchText[r].c_str()));
    for (int sw = 1; sw <= DipSwitchModel::kSwitches; ++sw)
        for (int p = 1; p <= DipSwitchModel::kPositions; ++p) {
            const auto k = static_cast<std::size_t>(DipSwitchModel::cellIndex(row, sw, p));
            ui::setBackColor(txtCData_[k], model_.cells[k]);
        }
}

void frmSWcheck::txtCDataDraw(int row, const std::string& switchText) {
    if (row < 0 || row >= DipSwitchModel::kRows) return;
    talvo::txtCDataDraw(model_, row, switchText);
    showRow(row);
}

void frmSWcheck::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Read once per show: a spontaneous show (restored from the task bar) and the
    // activation a message box gives back when it closes start nothing.
    if (!event->spontaneous())
        QMetaObject::invokeMethod(
            this, [this] {
                if (isVisible()) cmdUp_Click();
            },
            Qt::QueuedConnection);
}

void frmSWcheck::cmdUp_Click() {
    if (reading_) return;
    // One routine on the line at a time: a read asked for while another holds it
    // runs once that one has ended (if this screen is still up).
    QPointer<frmSWcheck> self(this);
    RunWhenLineFree("frmSWcheck.cmdUp", [self] {
        if (self && self->isVisible() && !self->reading_) self->readSwitches();
    });
}

void frmSWcheck::readSwitches() {
    reading_ = true;
    cmdUp_->setEnabled(false);
    cmdExit_->setEnabled(false);
    bool read = false;
    {
        ui::BusyCursor wait;  // no progress window: the rows fill one by one
        read = ReadDipSwitches(model_, [this](int row) { showRow(row); });
    }
    // A port gone meanwhile shows the disconnected state at once, and the read
    // stays off while the link is down.
    NoticeLostPort();
    const platform::SerialPort* port = platform::services().serial;
    const bool lost = !port || !port->isOpen();
    if (!read && !lost) ShowCommError();
    cmdUp_->setEnabled(!lost);
    cmdExit_->setEnabled(true);
    reading_ = false;
    if (closeRequested_) {
        closeRequested_ = false;
        cmdExit_Click();
    }
}

void frmSWcheck::cmdExit_Click() {
    // The read runs on this screen's data; a close asked for meanwhile waits
    // for its end, with the wait cursor on the screen meanwhile.
    if (reading_) {
        closeRequested_ = true;
        setCursor(Qt::WaitCursor);
        return;
    }
    mainView().setEnabled(MainControl::cmdSWcheck, false);
    QDialog::reject();
}

void frmSWcheck::reject() { cmdExit_Click(); }

}  // namespace talvo::shell
