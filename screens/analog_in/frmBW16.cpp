#include "screens/analog_in/frmBW16.h"

#include "core/Globals.h"
#include "core/KeyFilters.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {
constexpr int kChannels = 16;

enum { ZScale, FScale, Bias, Gain, Enable };
}  // namespace

frmBW16::frmBW16(QWidget* parent)
    : CardScreen("K6-BW16", parent),
      ZScaleData(kChannels),
      FScaleData(kChannels),
      BiasData(kChannels),
      GainData(kChannels) {
    const Globals& g = G();
    // Two halves side by side, channels 1-8 and 9-16, each with its own headings.
    const int cols[] = {0, 480, 1620, 2760, 3420};  // Ch., zero, full, Unused, Value
    for (int half = 0; half < 2; ++half) {
        const int x = 120 + half * 4600;
        newLabel(body(), "Ch.", x + cols[0], 60, 420, Qt::AlignHCenter);
        Label1[half ? 13 : 12] = newLabel(body(), "Z-Scale", x + cols[1], 60, 1080, Qt::AlignHCenter);
        Label1[half ? 22 : 11] = newLabel(body(), "F-Scale", x + cols[2], 60, 1080, Qt::AlignHCenter);
        newLabel(body(), "Unused", x + cols[3], 60, 660, Qt::AlignHCenter);
        newLabel(body(), "Value", x + cols[4], 60, 1020, Qt::AlignHCenter);
    }
    for (int ch = 1; ch <= kChannels; ++ch) {
        const int x = 120 + (ch > 8 ? 4600 : 0), top = 480 + ((ch - 1) % 8) * 540;
        newLabel(body(), QString::number(ch), x + cols[0], top + 30, 420, Qt::AlignHCenter);
        txtZScale.push_back(newSettingBox(body(), FilterKeySignedDecimal));
        placeTwips(txtZScale.back(), x + cols[1], top, 1080, 375);
        txtFScale.push_back(newSettingBox(body(), FilterKeySignedDecimal));
        placeTwips(txtFScale.back(), x + cols[2], top, 1080, 375);
        txtEnable.push_back(newSettingBox(body(), FilterKeyBinary));
        placeTwips(txtEnable.back(), x + cols[3] + 120, top, 420, 375);
        txtParData.push_back(newLockedBox(body()));
        txtParData.back()->setObjectName(QString::asprintf("txtParData%02d", ch));
        placeTwips(txtParData.back(), x + cols[4], top, 1020, 375);
    }
    changeButton = new QPushButton(QStringLiteral("Adjust"), body());
    changeButton->setObjectName("changeButton");
    placeTwips(changeButton, 120, 4980, 1400, 495);
    connect(changeButton, &QPushButton::clicked, this, [this] { changeButton_Click(); });

    // No format check: any text that passes the range check is sent as it stands.
    // A setting is named by its column's heading while its pair is on view.
    settings_ = {
        {.group = "01", .item = {2, 40}, .param = {4, -3},
         .check = {.range = {"Zero Scale", &g.ZScaleMin, &g.ZScaleMax}}, .copies = &ZScaleData, .name = "Z-Scale"},
        {.group = "01", .item = {2, 41}, .param = {4, -2},
         .check = {.range = {"Full Scale", &g.FScaleMin, &g.FScaleMax}}, .copies = &FScaleData, .name = "F-Scale"},
        {.group = "01", .item = {2, 8}, .param = {4, -1},
         .check = {.range = {"Zero Adjust", &g.BiasMin, &g.BiasMax}}, .copies = &BiasData, .name = "Z-Adjust"},
        {.group = "01", .item = {2, 9}, .param = {4, 0},
         .check = {.range = {"Full Adjust", &g.GainMin, &g.GainMax}}, .copies = &GainData, .name = "F-Adjust"},
        {.boxes = txtEnable, .group = "02", .item = {1, 41}, .flag = {.unused = true}},
    };
    // The rows keep their settings in the copies, which no control shows for
    // good: the user's edit of a box gives the setting of the pair on view a
    // value, and the boxes are drawn by the pair on view (drawShownPair).
    for (int ch = 1; ch <= kChannels; ++ch)
        for (const bool zero : {true, false}) {
            QLineEdit* box = (zero ? txtZScale : txtFScale)[static_cast<std::size_t>(ch - 1)];
            ui::OnUserEdit(box, this, [this, box, zero, ch] {
                setHeld(shownRow(zero), ch, Held::Value);
                DrawHeld(box, Held::Value);
            });
        }
    passes_ = {
        {.openGroup = "01", .settings = {ZScale, FScale, Bias, Gain}, .progressAfter = [](int ch) { return ch / 2; }},
        {.openGroup = "02", .settings = {Enable}, .progressAfter = [](int ch) { return ch / 4 + 8; }},
    };
    live_ = {.boxes = txtParData,
             .items = ItemRange(10, kChannels),
             .pauseMs = 10,
             .boxByBox = true,
             .keepPrefix = "TMO"};  // the card has no value for the channel yet
}

void frmBW16::prepare(const std::string&) { ShowAdjust = 0; }

// Runs after the copies were filled from the record.
void frmBW16::showSettingsExtra(const CardRecord&) { SwitchScaleAdjust(1); }

void frmBW16::keepBoxesIn(bool adjustPair) {
    auto& zero = adjustPair ? BiasData : ZScaleData;
    auto& full = adjustPair ? GainData : FScaleData;
    for (std::size_t i = 0; i < kChannels; ++i) {
        zero[i] = boxText(txtZScale[i]);
        full[i] = boxText(txtFScale[i]);
    }
}

void frmBW16::SwitchScaleAdjust(int saveMode) {
    const bool adjust = ShowAdjust != 0;
    if (saveMode == 0) keepBoxesIn(!adjust);
    changeButton->setText(adjust ? "Scale" : "Adjust");
    for (int i : {12, 13}) Label1[i]->setText(adjust ? "Z-Adjust" : "Z-Scale");
    for (int i : {11, 22}) Label1[i]->setText(adjust ? "F-Adjust" : "F-Scale");
    const auto& zero = adjust ? BiasData : ZScaleData;
    const auto& full = adjust ? GainData : FScaleData;
    for (std::size_t i = 0; i < kChannels; ++i) {
        setBoxText(txtZScale[i], zero[i]);
        setBoxText(txtFScale[i], full[i]);
    }
    drawShownPair();
}

const Setting& frmBW16::shownRow(bool zero) const {
    const bool adjust = ShowAdjust != 0;
    return settings_[static_cast<std::size_t>(zero ? (adjust ? Bias : ZScale) : (adjust ? Gain : FScale))];
}

// The boxes show whether the pair on view holds values the card gave.
void frmBW16::drawShownPair() {
    const CardRecord* rec = G().CardRecords.get(cardSlot());
    if (!rec) return;
    for (int ch = 1; ch <= kChannels; ++ch) {
        const std::size_t i = static_cast<std::size_t>(ch - 1);
        DrawHeld(txtZScale[i], held(shownRow(true), ch, *rec));
        DrawHeld(txtFScale[i], held(shownRow(false), ch, *rec));
    }
}

void frmBW16::changeButton_Click() {
    ShowAdjust = ShowAdjust ? 0 : 1;
    SwitchScaleAdjust(0);
}

void frmBW16::UploadSettings() {
    // The pair on view goes into its copies first, so whatever a failed upload
    // does not read still shows what it showed before.
    keepBoxesIn(ShowAdjust != 0);
    CardScreen::UploadSettings();
    SwitchScaleAdjust(1);
}

void frmBW16::DownloadSettings() {
    // The checks and writes work on the copies; the boxes are left as typed.
    keepBoxesIn(ShowAdjust != 0);
    CardScreen::DownloadSettings();
}

}  // namespace talvo::screens
