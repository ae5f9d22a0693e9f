#include "screens/universal_in/frmXR4.h"

#include <QLineEdit>
#include <cmath>

#include "core/Colors.h"
#include "core/Connection.h"
#include "core/Globals.h"
#include "core/KeyFilters.h"
#include "core/LineTurn.h"
#include "core/TextHelpers.h"
#include "platform/qt/Modal.h"
#include "screens/skeleton/TextBoxes.h"
#include "screens/universal_in/frmXR_HART.h"
#include "shell/ChildForms.h"
#include "ui/Geometry.h"
#include "ui/SettingsDialog.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {

constexpr int kChannels = 4;
enum { ZScale, FScale, Bias, Gain, Enable };

std::size_t at(int ch) { return static_cast<std::size_t>(ch - 1); }

// The screen's own limits, compared as the card's single-precision values.
constexpr double kScaleMin = -32000, kScaleMax = 32000;
constexpr float kBiasLimit = 320.0f;
constexpr float kGainLimit = 3.2f;

// The box's number, when its text is one; a text beyond any limit here counts
// as out of range before it is narrowed.
bool numberIn(const QLineEdit* box, double& value) {
    return ParseNumber(boxText(box), value) && std::fabs(value) < 1e9;
}

bool withinSingle(double value, float limit) {
    const auto f = static_cast<float>(value);
    return f >= -limit && f <= limit;
}

}  // namespace

frmXR4::frmXR4(QWidget* parent) : CardScreen("K6-XR4", parent) {
    checks_ = new ui::FocusChecks(this, nullptr);
    QWidget* b = body();
    const int headingTop = 0;
    newLabel(b, "Value", 240, headingTop, 1400, Qt::AlignHCenter);
    newLabel(b, "Unused", 1800, headingTop, 780, Qt::AlignHCenter);
    newLabel(b, "Input Type", 2760, headingTop, 1500, Qt::AlignHCenter);
    newLabel(b, "Scale", 5240, headingTop, 1500, Qt::AlignHCenter);
    newLabel(b, "Adjust", 6940, headingTop, 1500, Qt::AlignHCenter);
    for (int ch = 1; ch <= kChannels; ++ch) layoutChannel(ch, 300 + (ch - 1) * 1080);

    auto* hart = new QGroupBox(QStringLiteral("HART Master Setting"), b);
    hart->setObjectName("HART");
    placeTwips(hart, 60, 4680, 9160, 960);
    for (int i = 0; i < kChannels; ++i) {
        auto* button = new QPushButton(QString("HART%1").arg(i + 1), hart);
        button->setObjectName(QString("SetHART%1").arg(i));
        placeTwips(button, 480 + i * 2160, 360, 1800, 435);
        connect(button, &QPushButton::clicked, this, [this, i] { SetHART_Click(i); });
        SetHART[static_cast<std::size_t>(i)] = button;
    }

    std::vector<QLineEdit*> enableBoxes;
    for (QComboBox* l : List_ChEnable) enableBoxes.push_back(l->lineEdit());
    // Each channel's settings are in its own group, "1" to "4".
    const Address ownGroup = {.channelGroups = ItemRange(1, kChannels)};
    settings_ = {
        {.boxes = txtZScale, .item = {0, 17}, .param = {4, -3}, .accept = Accept::Integer, .at = ownGroup, .name = "Zero Scale"},
        {.boxes = txtFScale, .item = {0, 18}, .param = {4, -2}, .accept = Accept::Integer, .at = ownGroup, .name = "Full Scale"},
        {.boxes = txtBias, .item = {0, 14}, .param = {4, -1}, .accept = Accept::Decimal, .at = ownGroup, .name = "Zero Adjust"},
        {.boxes = txtGain, .item = {0, 15}, .param = {4, 0}, .accept = Accept::Decimal, .at = ownGroup, .name = "Full Adjust"},
        {.boxes = enableBoxes, .item = {0, 27}, .accept = Accept::Bit, .at = ownGroup,
         .flag = {.unused = true, .show = [this](int ch, const std::string& v) { showUnused(ch, v); }}},
    };
    passes_ = {
        {.settings = {ZScale, FScale, Bias, Gain}, .progressAfter = [](int ch) { return ch; }, .openChannelGroup = true},
        {.settings = {Enable}, .progressAfter = [](int ch) { return ch + 4; }, .openChannelGroup = true},
    };
    live_ = {.boxes = txtParData, .items = ItemRange(10, kChannels), .pauseMs = 10};
}

void frmXR4::layoutChannel(int ch, int top) {
    auto* f = new QGroupBox(QString("Ch. %1").arg(ch), body());
    f->setObjectName(QString("fraCh%1").arg(ch));
    // The two rows sit below the frame's caption and line, inside its border.
    placeTwips(f, 60, top, 9160, 1080);
    const int zeroRow = 330, fullRow = 690, mid = 510;
    const QString n = QString::number(ch);

    QLineEdit* live = newLockedBox(f);
    live->setObjectName(QString::asprintf("txtParData%02d", ch));
    placeTwips(live, 180, mid, 1400, 330);
    txtParData.push_back(live);

    auto* unused = new QComboBox(f);
    unused->setObjectName("List_ChEnable" + n);
    unused->setEditable(true);  // the user may type into it; Download sends only "0" or "1"
    unused->setInsertPolicy(QComboBox::NoInsert);
    ui::followShownEntry(unused);
    placeTwips(unused, 1740, mid, 780, 330);
    List_ChEnable.push_back(unused);
    connect(unused->lineEdit(), &QLineEdit::textChanged, this, [this, ch] { List_ChEnable_Click(ch); });

    QLineEdit* type = newLockedBox(f);
    type->setObjectName("Text1_" + n);
    setBoxText(type, " 4-20 mA");
    placeTwips(type, 2700, mid, 1500, 330);
    Text1.push_back(type);

    newLabel(f, "Zero", 4500, zeroRow + 45, 600);
    newLabel(f, "Full ", 4500, fullRow + 45, 600);
    const auto value = [&](std::vector<QLineEdit*>& v, const char* name, KeyFilter filter, int left, int row,
                           bool (frmXR4::*check)(QLineEdit*)) {
        QLineEdit* box = newSettingBox(f, filter);
        box->setObjectName(QString(name) + n);
        placeTwips(box, left, row, 1500, 330);
        v.push_back(box);
        checks_->watch(box, [this, box, check] { return (this->*check)(box); });
    };
    value(txtZScale, "txtZScale", FilterKeySignedInteger, 5180, zeroRow, &frmXR4::CheckScaleRange);
    value(txtFScale, "txtFScale", FilterKeySignedInteger, 5180, fullRow, &frmXR4::CheckScaleRange);
    value(txtBias, "txtBias", FilterKeySignedDecimal, 6880, zeroRow, &frmXR4::CheckBiasRange);
    value(txtGain, "txtGain", FilterKeySignedDecimal, 6880, fullRow, &frmXR4::CheckGainRange);
}

void frmXR4::XR4_Init(const std::string& typeCode) {
    for (QComboBox* l : List_ChEnable) {
        l->clear();
        l->addItems({QStringLiteral("0"), QStringLiteral("1")});
        l->setCurrentIndex(0);
        ui::setListColors(l, colors::Green);
    }
    SetScaleMinMax(typeCode);
}

// The flag as the card gave it or the record keeps it, so that a text other than
// "0" or "1" is stored as it came and a download sends nothing for it.
void frmXR4::showUnused(int ch, const std::string& value) {
    QComboBox* list = List_ChEnable[at(ch)];
    setBoxText(list->lineEdit(), value);
    const std::uint32_t colour = value == "0" ? colors::Green : colors::Red;
    ui::setListColors(list, colour);
    ui::setBackColor(list->lineEdit(), colour);
}

void frmXR4::List_ChEnable_Click(int ch) {
    QComboBox* list = List_ChEnable[at(ch)];
    const std::string text = boxText(list->lineEdit());
    if (text == "0") ui::setListColors(list, colors::Green);
    if (text == "1") ui::setListColors(list, colors::Red);
}

// --- the lost-focus checks ---
// An empty box is not checked; a text that is no number ("-", ".", a paste)
// gets the range message like a number out of range.

bool frmXR4::CheckScaleRange(QLineEdit* box) {
    double v = 0;
    if (boxText(box).empty() || (numberIn(box, v) && v >= kScaleMin && v <= kScaleMax)) return true;
    ui::ShowEntryMessage("Please enter number -32000 - 32000");
    SelectAllText(box);
    return false;
}

bool frmXR4::CheckBiasRange(QLineEdit* box) {
    double v = 0;
    if (boxText(box).empty() || (numberIn(box, v) && withinSingle(v, kBiasLimit))) return true;
    ui::ShowEntryMessage("Please enter number -320.00 - 320.00");
    SelectAllText(box);
    return false;
}

bool frmXR4::CheckGainRange(QLineEdit* box) {
    double v = 0;
    if (boxText(box).empty() || (numberIn(box, v) && withinSingle(v, kGainLimit))) return true;
    ui::ShowEntryMessage("Please enter number -3.2000 - 3.2000");
    SelectAllText(box);
    return false;
}

bool frmXR4::entriesSettled() { return checks_->settle(); }

// --- the HART master dialog ---

void frmXR4::SetHART_Click(int index) {
    if (index < 0 || index >= kChannels || !checks_->settle()) return;
    // While a tick talks to the card the dialog waits for it; it never opens on
    // top of a running exchange.
    QPointer<frmXR4> self(this);
    RunWhenLineFree("frmXR4.SetHART", [self, index] {
        if (!self || !shell::childForms().isShown(self.data()) || !self->SetHART[static_cast<std::size_t>(index)]->isEnabled())
            return;
        self->openHart(index);
    });
}

void frmXR4::openHart(int index) {
    WaitForTimer.stop();
    for (QPushButton* b : SetHART) b->setEnabled(false);
    {
        // No other card can be picked while the dialog talks to this one.
        CardListAway away;
        frmXR_HART dialog(window());
        hart_ = &dialog;
        dialog.XR4_HART_Init(index, cardSlot());
        platform::execModal(dialog);
        hart_ = nullptr;
    }
    // Exit, or the dialog closed by its frame: the cycle and the buttons come
    // back, the timer with the interval it had.
    for (QPushButton* b : SetHART) b->setEnabled(true);
    WaitForTimer.start();
}

}  // namespace talvo::screens
