#include "screens/analog_in/frmEK.h"

#include <QLabel>

#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {
enum { ZScale, FScale, ZBase, FBase, Enable };

// The card takes these texts as they stand: no key filter, no select-all.
QLineEdit* plainBox(QWidget* parent) { return new QLineEdit(parent); }

std::size_t at(int i) { return static_cast<std::size_t>(i); }
}  // namespace

PercentInputScreen::PercentInputScreen(int n, const char* model, QWidget* parent) : CardScreen(model, parent) {
    for (int ch = 1; ch <= n; ++ch) {
        txtZScale.push_back(plainBox(body()));
        txtFScale.push_back(plainBox(body()));
        txtZBase.push_back(plainBox(body()));
        txtFBase.push_back(plainBox(body()));
        txtEnable.push_back(plainBox(body()));
        txtParData.push_back(newLockedBox(body()));
        txtInputType.push_back(newLockedBox(body()));
        txtParData.back()->setObjectName(QString::asprintf("txtParData%02d", ch));
        txtInputType.back()->setObjectName(QString::asprintf("txtInputType%02d", ch));
    }
    // The scales fill Param(1..2N), the bases follow at once.
    settings_ = {
        {.boxes = txtZScale, .group = "01", .item = {2, 40}, .param = {2, -1}, .name = "Zero Scale"},
        {.boxes = txtFScale, .group = "01", .item = {2, 41}, .param = {2, 0}, .name = "Full Scale"},
        {.boxes = txtZBase, .group = "02", .item = {2, 8}, .param = {2, 2 * n - 1}, .name = "Zero Base"},
        {.boxes = txtFBase, .group = "02", .item = {2, 9}, .param = {2, 2 * n}, .name = "Full Base"},
        {.boxes = txtEnable, .group = "02", .item = {1, 41}, .flag = {.unused = true}},
    };
    passes_ = {
        {.openGroup = "01", .settings = {ZScale, FScale}, .progressAfter = [](int ch) { return ch / 2; }},
        {.openGroup = "02", .settings = {ZBase, FBase}, .progressAfter = [](int ch) { return ch / 2 + 4; }},
        {.settings = {Enable}, .progressAfter = [](int ch) { return ch / 2 + 8; }},
    };
    live_ = {.pauseMs = 5, .boxByBox = true};
    const auto readInto = [this, n](const std::vector<QLineEdit*>& boxes, int firstItem, const char* group) {
        for (int ch = 1; ch <= n; ++ch) {
            live_.boxes.push_back(boxes[at(ch - 1)]);
            live_.items.push_back(std::to_string(firstItem + ch - 1));
            live_.groups.push_back(group);
        }
    };
    readInto(txtParData, 10, "00");    // the values first,
    readInto(txtInputType, 60, "02");  // then the percents

    if (n == 4)
        layoutFrames();
    else
        layoutGrid();
}

void PercentInputScreen::layoutFrames() {
    for (int i = 0; i < 4; ++i) {
        auto* f = new QGroupBox(QString("Ch. %1").arg(i + 1), body());
        f->setObjectName(QString("fraCh%1").arg(i + 1));
        const bool first = i == 0;
        placeTwips(f, 120, first ? 0 : 1560 + (i - 1) * 1230, 9040, first ? 1500 : 1170);
        const int zeroRow = first ? 600 : 300, fullRow = zeroRow + 420, mid = zeroRow + 210;
        if (first) {
            newLabel(f, "Value", 240, 270, 1500, Qt::AlignHCenter);
            newLabel(f, "Percent", 1860, 270, 1500, Qt::AlignHCenter);
            newLabel(f, "Unused", 3480, 270, 660, Qt::AlignHCenter);
            newLabel(f, "Scale", 5220, 270, 1680, Qt::AlignHCenter);
            newLabel(f, "Base", 7080, 270, 1680, Qt::AlignHCenter);
        }
        const auto put = [&](QLineEdit* b, int x, int y, int w) {
            b->setParent(f);
            placeTwips(b, x, y, w, 345);
        };
        put(txtParData[at(i)], 240, mid, 1500);
        put(txtInputType[at(i)], 1860, mid, 1500);
        put(txtEnable[at(i)], 3600, mid, 420);
        newLabel(f, "Zero", 4500, zeroRow + 20, 600);
        newLabel(f, "Full ", 4500, fullRow + 20, 600);
        put(txtZScale[at(i)], 5220, zeroRow, 1680);
        put(txtFScale[at(i)], 5220, fullRow, 1680);
        put(txtZBase[at(i)], 7080, zeroRow, 1680);
        put(txtFBase[at(i)], 7080, fullRow, 1680);
    }
}

void PercentInputScreen::layoutGrid() {
    auto* f = new QGroupBox(body());
    f->setObjectName("fraCh1");
    placeTwips(f, 120, 0, 9040, 5040);
    // Two halves of four channels, each 4360 wide, with the frame's 120 as the
    // margin on both sides.
    const int cols[] = {0, 330, 1560, 2380, 3400};  // row label, value/percent, Unused, scale, base
    const int halfPitch = 4440, pair = 960;
    for (int half = 0; half < 2; ++half) {
        const int x = 120 + half * halfPitch;
        newLabel(f, "Zero/Full", x + cols[3], 240, cols[4] + pair - cols[3], Qt::AlignHCenter);
        newLabel(f, "Value/Perc.", x + cols[1], 540, 1180, Qt::AlignHCenter);
        newLabel(f, "Unused", x + cols[2], 540, 780, Qt::AlignHCenter);
        newLabel(f, "Scale", x + cols[3], 540, pair, Qt::AlignHCenter);
        newLabel(f, "Base", x + cols[4], 540, pair, Qt::AlignHCenter);
    }
    const auto put = [&](QLineEdit* b, int x, int y, int w) {
        b->setParent(f);
        placeTwips(b, x, y, w, 345);
    };
    for (int i = 0; i < 8; ++i) {
        const int x = 120 + (i / 4) * halfPitch, top = 960 + (i % 4) * 1020, lower = top + 375;
        newLabel(f, QString::number(i + 1), x + cols[0], top + 195, 300, Qt::AlignHCenter);
        put(txtParData[at(i)], x + cols[1], top, 1180);
        put(txtInputType[at(i)], x + cols[1], lower, 1180);
        put(txtEnable[at(i)], x + cols[2] + 180, top + 187, 420);
        put(txtZScale[at(i)], x + cols[3], top, pair);
        put(txtFScale[at(i)], x + cols[3], lower, pair);
        put(txtZBase[at(i)], x + cols[4], top, pair);
        put(txtFBase[at(i)], x + cols[4], lower, pair);
    }
}

frmEK4::frmEK4(QWidget* parent) : PercentInputScreen(4, "K6-EK4", parent) {}

frmEK8::frmEK8(QWidget* parent) : PercentInputScreen(8, "K6-EK8", parent) {}

}  // namespace talvo::screens
