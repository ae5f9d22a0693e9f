#include "screens/analog_in/frmHG8.h"

#include "core/MainView.h"

#include <QLabel>
#include <QPointer>

#include "core/Connection.h"
#include "core/Globals.h"
#include "core/LineTurn.h"
#include "core/Protocol.h"
#include "platform/qt/Modal.h"
#include "screens/skeleton/TextBoxes.h"
#include "screens/analog_in/frmHG8Azero.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {

// Column lefts of the channel table, in twips; every setting box is 960 wide.
constexpr int kChCol = 60, kInputCol = 480, kZScaleCol = 1440, kFScaleCol = 2460, kBiasCol = 3540,
              kGainCol = 4560, kZBaseCol = 5640, kFBaseCol = 6660, kUnusedCol = 7740, kValueCol = 8280;
constexpr int kBoxWidth = 960, kFirstRow = 660, kRowPitch = 480, kBoxHeight = 375;

}  // namespace

frmHG8::frmHG8(QWidget* parent) : TemperatureScreen("K6-HG8", parent) {
    QWidget* b = body();
    newLabel(b, "Scale", kZScaleCol, 0, kFScaleCol + kBoxWidth - kZScaleCol, Qt::AlignHCenter);
    newLabel(b, "Adjust", kBiasCol, 0, kGainCol + kBoxWidth - kBiasCol, Qt::AlignHCenter);
    newLabel(b, "Base", kZBaseCol, 0, kFBaseCol + kBoxWidth - kZBaseCol, Qt::AlignHCenter);
    newLabel(b, "Ch.", kChCol, 300, 360, Qt::AlignHCenter);
    newLabel(b, "Input", kInputCol, 300, 900, Qt::AlignHCenter);
    for (int col : {kZScaleCol, kBiasCol, kZBaseCol}) newLabel(b, "Zero", col, 300, kBoxWidth, Qt::AlignHCenter);
    for (int col : {kFScaleCol, kGainCol, kFBaseCol}) newLabel(b, "Full ", col, 300, kBoxWidth, Qt::AlignHCenter);
    newLabel(b, "Unused", kUnusedCol - 180, 300, 780, Qt::AlignHCenter);
    newLabel(b, "Value", kValueCol, 300, kBoxWidth, Qt::AlignHCenter);

    // The setting boxes take every key and keep the caret where the click put it.
    const auto box = [b](std::vector<QLineEdit*>& v, int left, int top, int width, bool locked = false) {
        QLineEdit* e = locked ? newLockedBox(b) : new QLineEdit(b);
        placeTwips(e, left, top, width, kBoxHeight);
        v.push_back(e);
    };
    for (int i = 0; i < 8; ++i) {
        const int top = kFirstRow + i * kRowPitch;
        // As high as the row's boxes, so the number stands level with their texts.
        newLabel(b, QString::number(i + 1), kChCol, top, 360, Qt::AlignHCenter, kBoxHeight);
        box(txtInputType, kInputCol, top, 900, true);
        box(txtZScale, kZScaleCol, top, kBoxWidth);
        box(txtFScale, kFScaleCol, top, kBoxWidth);
        box(txtBias, kBiasCol, top, kBoxWidth);
        box(txtGain, kGainCol, top, kBoxWidth);
        box(txtZBase, kZBaseCol, top, kBoxWidth);
        box(txtFBase, kFBaseCol, top, kBoxWidth);
        box(txtEnable, kUnusedCol, top, 420);
        box(txtParData, kValueCol, top, kBoxWidth, true);
        txtParData.back()->setObjectName(QString::asprintf("txtParData%02d", i + 1));
        txtInputType.back()->setObjectName(QString::asprintf("txtInputType%02d", i + 1));
    }

    const int bottom = 4800;
    newLabel(b, "Burnout", 60, bottom + 30, 780);
    txtBurnout = newLockedBox(b);
    placeTwips(txtBurnout, 900, bottom, 1200, kBoxHeight);
    newLabel(b, "Unit", 2400, bottom + 30, 480);
    txtUnit = newLockedBox(b);
    placeTwips(txtUnit, 2940, bottom, 1080, kBoxHeight);
    chkLimit = new QCheckBox(b);
    placeTwips(chkLimit, 4380, bottom + 30, 300, 300);
    newLabel(b, "Limit", 4680, bottom + 30, 600)->setObjectName("LabelLimit");
    zeroDeg = new QPushButton(QStringLiteral("0 deg.C Offset"), b);
    zeroDeg->setObjectName("zeroDeg");
    placeTwips(zeroDeg, 5640, bottom - 30, 1980, 435);
    connect(zeroDeg, &QPushButton::clicked, this, [this] { zeroDeg_Click(); });

    settings_ = EightChannelSettings({txtZScale, txtFScale, txtBias, txtGain, txtZBase, txtFBase, txtEnable});
    passes_ = EightChannelPasses();
    live_ = {.boxes = txtParData, .items = ItemRange(10, 8), .pauseMs = 50};
}

bool frmHG8::HasLimitFunction() const {
    return TemperatureScreen::HasLimitFunction() || boxText(txtCardType).rfind("HG8A", 0) == 0;
}

void frmHG8::openCard(const std::string& typeCode, const ScreenSpec& spec) {
    const bool offsets = typeCode.rfind("HG8A", 0) == 0;
    zeroDeg->setVisible(offsets);
    zeroDeg->setEnabled(offsets);
    CardScreen::openCard(typeCode, spec);
}

void frmHG8::prepare(const std::string&) { zeroDegPending_ = false; }

void frmHG8::zeroDeg_Click() {
    // The dialog talks to the card at once; while this screen's tick (or any other
    // routine) holds the line, the click waits for the line to be free.
    // Re-entering the screen meanwhile drops the click (prepare clears it), and so
    // does a screen hidden meanwhile, which has stopped its cycle.
    zeroDegPending_ = true;
    QPointer<frmHG8> self(this);
    RunWhenLineFree(
        "frmHG8.zeroDeg",
        [this] {
            zeroDegPending_ = false;
            openZeroOffset();
        },
        [self] { return self && self->zeroDegPending_ && self->CyclicRun && self->zeroDeg->isEnabled(); });
}

void frmHG8::openZeroOffset() {
    // While the dialog is up (its first reads included) this screen makes no
    // exchange of its own: the timer is off and nothing here can restart it or
    // pick another card. Leaving the dialog turns the cycle on again, with the
    // interval it had.
    WaitForTimer.stop();
    const std::initializer_list<QWidget*> own = {cmdUp, cmdDown, zeroDeg};
    for (QWidget* w : own) w->setEnabled(false);
    {
        CardListAway away;
        frmHG8Azero dialog(cardSlot(), this);
        dialog.Upload_First_File();
        platform::execModal(dialog);
    }
    WaitForTimer.start();
    for (QWidget* w : own) w->setEnabled(true);
}

}  // namespace talvo::screens
