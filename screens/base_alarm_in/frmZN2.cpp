#include "screens/base_alarm_in/frmZN2.h"

#include <QLabel>

#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

frmZN2::frmZN2(QWidget* parent) : CardScreen("ZN2", parent) {
    for (int i = 0; i < 2; ++i) {
        auto* f = new QGroupBox(QString("Ch. %1").arg(i + 1), body());
        f->setObjectName(QString("fraCh%1").arg(i + 1));
        placeTwips(f, 120 + i * 4560, 60, 4440, 3540);
        // The card's users type freely here: no key filter and no select-all on entry.
        const auto box = [&](std::vector<QLineEdit*>& v, int x, int y, int w) {
            auto* b = new QLineEdit(f);
            placeTwips(b, x, y, w, 375);
            v.push_back(b);
        };
        newLabel(f, "Scale", 1440, 300, 1320, Qt::AlignHCenter);
        newLabel(f, "Adjust", 2940, 300, 1320, Qt::AlignHCenter);
        newLabel(f, "Zero", 180, 660, 1200);
        newLabel(f, "Full ", 180, 1110, 1200);
        box(txtZScale, 1440, 630, 1320);
        box(txtBias, 2940, 630, 1320);
        box(txtFScale, 1440, 1080, 1320);
        box(txtGain, 2940, 1080, 1320);
        newLabel(f, "Tare ratio", 180, 1560, 1200);
        box(txtTare, 1440, 1530, 1320);
        newLabel(f, "Load ratio", 180, 2010, 1200);
        box(txtLoad, 1440, 1980, 1320);
        newLabel(f, "Th.Adjust", 180, 2460, 1200);
        box(txtThresh, 1440, 2430, 1320);
        newLabel(f, "Unused", 180, 3000, 1200);
        box(txtEnable, 1440, 2970, 420);
        newLabel(f, "Value", 2280, 3000, 600);
        txtParData.push_back(newLockedBox(f));
        placeTwips(txtParData.back(), 2940, 2970, 1320, 375);
        txtParData.back()->setObjectName(QString::asprintf("txtParData%02d", i + 1));
    }

    // Three settings sit at items counted by the channel alone, below the adjust pairs.
    enum { ZScale, FScale, Bias, Gain, Tare, Load, Thresh, Enable };
    settings_ = {
        {.boxes = txtZScale, .group = "01", .item = {2, 40}, .param = {7, -6}, .name = "Zero Scale"},
        {.boxes = txtFScale, .group = "01", .item = {2, 41}, .param = {7, -5}, .name = "Full Scale"},
        {.boxes = txtBias, .group = "01", .item = {2, 8}, .param = {7, -4}, .name = "Zero Adjust"},
        {.boxes = txtGain, .group = "01", .item = {2, 9}, .param = {7, -3}, .name = "Full Adjust"},
        {.boxes = txtTare, .group = "01", .item = {1, 7}, .param = {7, -2}, .name = "Tare ratio"},
        {.boxes = txtLoad, .group = "01", .item = {1, 5}, .param = {7, -1}, .name = "Load ratio"},
        {.boxes = txtThresh, .group = "01", .item = {1, 3}, .param = {7, 0}, .name = "Th.Adjust"},
        {.boxes = txtEnable, .group = "02", .item = {1, 41}, .flag = {.unused = true}},
    };
    // The bar of 12 steps shows 1, 2, 5 and 6: the card has only two channels.
    passes_ = {
        {.openGroup = "01",
         .settings = {ZScale, FScale, Bias, Gain, Tare, Load, Thresh},
         .progressAfter = [](int ch) { return ch; }},
        {.openGroup = "02", .settings = {Enable}, .progressAfter = [](int ch) { return ch + 4; }},
    };
    live_ = {.boxes = txtParData, .items = ItemRange(10, 2), .pauseMs = 10};
}

}  // namespace talvo::screens
