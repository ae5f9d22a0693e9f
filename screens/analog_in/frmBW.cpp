#include "screens/analog_in/frmBW.h"

#include <QLabel>

#include "core/Globals.h"
#include "core/KeyFilters.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

ScaledInputScreen::ScaledInputScreen(int n, const char* model, QWidget* parent) : CardScreen(model, parent) {
    const Globals& g = G();
    for (int ch = 1; ch <= n; ++ch) {
        txtZScale.push_back(newSettingBox(body(), FilterKeySignedInteger));
        txtFScale.push_back(newSettingBox(body(), FilterKeySignedInteger));
        txtBias.push_back(newSettingBox(body(), FilterKeySignedDecimal));
        txtGain.push_back(newSettingBox(body(), FilterKeySignedDecimal));
        txtEnable.push_back(newSettingBox(body(), FilterKeyBinary, 1));
        txtParData.push_back(newLockedBox(body()));
        txtParData.back()->setObjectName(QString::asprintf("txtParData%02d", ch));
    }
    enum { ZScale, FScale, Bias, Gain, Enable };
    settings_ = {
        {.boxes = txtZScale, .group = "01", .item = {2, 40}, .param = {4, -3}, .accept = Accept::Integer,
         .check = {.range = {"Zero Scale", &g.ZScaleMin, &g.ZScaleMax}}},
        {.boxes = txtFScale, .group = "01", .item = {2, 41}, .param = {4, -2}, .accept = Accept::Integer,
         .check = {.range = {"Full Scale", &g.FScaleMin, &g.FScaleMax}}},
        {.boxes = txtBias, .group = "01", .item = {2, 8}, .param = {4, -1}, .accept = Accept::Decimal,
         .check = {.range = {"Zero Adjust", &g.BiasMin, &g.BiasMax}}},
        {.boxes = txtGain, .group = "01", .item = {2, 9}, .param = {4, 0}, .accept = Accept::Decimal,
         .check = {.range = {"Full Adjust", &g.GainMin, &g.GainMax}}},
        {.boxes = txtEnable, .group = "02", .item = {1, 41}, .accept = Accept::Bit, .flag = {.unused = true}},
    };
    const bool four = n == 4;
    passes_ = {
        {.openGroup = "01", .settings = {ZScale, FScale, Bias, Gain}, .progressAfter = [](int ch) { return ch; }},
        {.openGroup = "02",
         .settings = {Enable},
         .progressAfter = [four](int ch) { return four ? ch + 4 : ch / 2 + 8; }},
    };
    live_ = {.boxes = txtParData, .items = ItemRange(10, n), .pauseMs = 10};

    if (four)
        layoutFrames();
    else
        layoutTable();
}

void ScaledInputScreen::layoutFrames() {
    for (int i = 0; i < 4; ++i) {
        auto* f = new QGroupBox(QString("Ch. %1").arg(i + 1), body());
        const int left = 120 + (i % 2) * 4560, top = 60 + (i / 2) * 2760;
        placeTwips(f, left, top, 4440, 2640);
        newLabel(f, "Scale", 840, 300, 1440, Qt::AlignHCenter);
        newLabel(f, "Adjust", 2400, 300, 1440, Qt::AlignHCenter);
        newLabel(f, "Zero", 180, 690, 600);
        newLabel(f, "Full ", 180, 1170, 600);
        const auto put = [&](QLineEdit* b, int x, int y, int w) {
            b->setParent(f);
            placeTwips(b, x, y, w, 375);
        };
        put(txtZScale[static_cast<std::size_t>(i)], 840, 660, 1440);
        put(txtBias[static_cast<std::size_t>(i)], 2400, 660, 1440);
        put(txtFScale[static_cast<std::size_t>(i)], 840, 1140, 1440);
        put(txtGain[static_cast<std::size_t>(i)], 2400, 1140, 1440);
        newLabel(f, "Unused", 180, 1830, 800);
        put(txtEnable[static_cast<std::size_t>(i)], 1020, 1800, 420);
        newLabel(f, "Value", 1800, 1830, 600);
        put(txtParData[static_cast<std::size_t>(i)], 2400, 1800, 1440);
    }
}

void ScaledInputScreen::layoutTable() {
    const int cols[] = {360, 1500, 2940, 4380, 5820, 7260, 7980};
    newLabel(body(), "Scale", cols[1], 60, 2760, Qt::AlignHCenter);
    newLabel(body(), "Adjust", cols[3], 60, 2760, Qt::AlignHCenter);
    const char* heads[] = {"Ch.", "Zero", "Full ", "Zero", "Full ", "Unused", "Value"};
    for (int c = 0; c < 7; ++c) newLabel(body(), heads[c], cols[c], 360, 1320, Qt::AlignHCenter);
    for (int i = 0; i < 8; ++i) {
        const int top = 720 + i * 540;
        // As high as the row's boxes, so the number stands level with their texts.
        newLabel(body(), QString::number(i + 1), cols[0], top, 600, Qt::AlignHCenter, 375);
        const std::size_t k = static_cast<std::size_t>(i);
        placeTwips(txtZScale[k], cols[1], top, 1320, 375);
        placeTwips(txtFScale[k], cols[2], top, 1320, 375);
        placeTwips(txtBias[k], cols[3], top, 1320, 375);
        placeTwips(txtGain[k], cols[4], top, 1320, 375);
        placeTwips(txtEnable[k], cols[5] + 240, top, 420, 375);
        placeTwips(txtParData[k], cols[6], top, 1200, 375);
    }
}

frmBW4::frmBW4(QWidget* parent) : ScaledInputScreen(4, "K6-BW4", parent) {}

frmBW8::frmBW8(QWidget* parent) : ScaledInputScreen(8, "K6-BW8", parent) { stopWhenDeactivated_ = true; }

}  // namespace talvo::screens
