#include "screens/analog_in/frmHG4.h"

#include <QLabel>

#include "core/KeyFilters.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

frmHG4::frmHG4(QWidget* parent) : TemperatureScreen("K6-HG4", parent) {
    for (int i = 0; i < 4; ++i) {
        auto* f = new QGroupBox(QString("Ch. %1").arg(i + 1), body());
        f->setObjectName(QString("fraCh%1").arg(i + 1));
        placeTwips(f, 120 + (i % 2) * 4560, 0 + (i / 2) * 2340, 4440, 2280);
        const auto box = [&](std::vector<QLineEdit*>& v, KeyFilter k, int x, int y, int w, int maxLen = 0) {
            QLineEdit* b = k ? newSettingBox(f, k, maxLen) : newLockedBox(f);
            placeTwips(b, x, y, w, 345);
            v.push_back(b);
        };
        newLabel(f, "Scale", 660, 240, 1140, Qt::AlignHCenter);
        newLabel(f, "Adjust", 1890, 240, 1140, Qt::AlignHCenter);
        newLabel(f, "Base", 3120, 240, 1140, Qt::AlignHCenter);
        newLabel(f, "Zero", 120, 570, 540);
        newLabel(f, "Full ", 120, 990, 540);
        box(txtZScale, FilterKeySignedInteger, 660, 540, 1140);
        box(txtFScale, FilterKeySignedInteger, 660, 960, 1140);
        box(txtBias, FilterKeySignedDecimal, 1890, 540, 1140);
        box(txtGain, FilterKeySignedDecimal, 1890, 960, 1140);
        box(txtZBase, FilterKeySignedDecimal, 3120, 540, 1140);
        box(txtFBase, FilterKeySignedDecimal, 3120, 960, 1140);
        newLabel(f, "Input", 120, 1440, 540);
        box(txtInputType, nullptr, 660, 1410, 2370);
        newLabel(f, "Unused", 120, 1860, 720);
        box(txtEnable, FilterKeyBinary, 860, 1830, 420);
        newLabel(f, "Value", 1890, 1860, 600);
        box(txtParData, nullptr, 2580, 1830, 1680);
        txtParData.back()->setObjectName(QString::asprintf("txtParData%02d", i + 1));
        txtInputType.back()->setObjectName(QString::asprintf("txtInputType%02d", i + 1));
    }
    newLabel(body(), "Burnout", 240, 4830, 900);
    txtBurnout = newLockedBox(body());
    placeTwips(txtBurnout, 1140, 4800, 1800, 345);
    newLabel(body(), "Unit", 3240, 4830, 600);
    txtUnit = newLockedBox(body());
    placeTwips(txtUnit, 3900, 4800, 1200, 345);
    chkLimit = new QCheckBox(body());
    placeTwips(chkLimit, 5520, 4830, 300, 300);
    newLabel(body(), "Limit", 5820, 4830, 900)->setObjectName("LabelLimit");

    enum { ZScale, FScale, Bias, Gain, ZBase, FBase, Enable };
    settings_ = {
        {.boxes = txtZScale, .group = "01", .item = {2, 40}, .param = {4, -3}, .accept = Accept::Integer, .name = "Zero Scale"},
        {.boxes = txtFScale, .group = "01", .item = {2, 41}, .param = {4, -2}, .accept = Accept::Integer, .name = "Full Scale"},
        {.boxes = txtBias, .group = "01", .item = {2, 8}, .param = {4, -1}, .accept = Accept::Decimal, .name = "Zero Adjust"},
        {.boxes = txtGain, .group = "01", .item = {2, 9}, .param = {4, 0}, .accept = Accept::Decimal, .name = "Full Adjust"},
        {.boxes = txtZBase, .group = "02", .item = {2, 8}, .param = {2, 15}, .accept = Accept::Decimal, .name = "Zero Base"},
        {.boxes = txtFBase, .group = "02", .item = {2, 9}, .param = {2, 16}, .accept = Accept::Decimal, .name = "Full Base"},
        {.boxes = txtEnable, .group = "02", .item = {1, 41}, .accept = Accept::Bit, .flag = {.unused = true}},
    };
    passes_ = {
        {.openGroup = "01", .settings = {ZScale, FScale, Bias, Gain}, .progressAfter = [](int ch) { return ch; }},
        {.openGroup = "02", .settings = {ZBase, FBase}, .progressAfter = [](int ch) { return ch + 4; }},
        {.settings = {Enable}, .progressAfter = [](int ch) { return ch + 8; }},
    };
    live_ = {.boxes = txtParData, .items = ItemRange(10, 4), .pauseMs = 50};
}

}  // namespace talvo::screens
