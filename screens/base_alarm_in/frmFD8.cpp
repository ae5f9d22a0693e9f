#include "screens/base_alarm_in/frmFD8.h"

#include <QFontMetrics>
#include <QLabel>
#include <algorithm>

#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {

enum { ZScale, FScale, Bias, Gain, ZBase, FBase, Enable };

// "Zero" over the left column and "Full" over the right one, in one caption:
// as many blanks between them as the font needs to reach the second column.
void zeroFullHeading(QWidget* parent, int left, int top, int step, int boxWidth) {
    QLabel* l = newLabel(parent, "", left, top, step + boxWidth, Qt::AlignHCenter);
    const QFontMetrics fm(l->font());
    const int gap = ui::twips(step) - (fm.horizontalAdvance("Zero") + fm.horizontalAdvance("Full")) / 2;
    const int blanks = std::max(1, gap / std::max(1, fm.horizontalAdvance(' ')));
    l->setText("Zero" + QString(blanks, ' ') + "Full");
}

}  // namespace

frmFD8::frmFD8(QWidget* parent) : CardScreen("K6-FD8", parent) {
    auto* f = new QGroupBox(body());
    f->setObjectName("fraCh1");
    placeTwips(f, 60, 0, 9160, 4920);
    const int numX = 120, valueX = 480, unusedX = 1800, firstX = 2640, step = 1080, boxW = 1020;
    newLabel(f, "Value", valueX, 240, 1200, Qt::AlignHCenter);
    newLabel(f, "Un used", unusedX - 60, 240, 720, Qt::AlignHCenter);
    const char* pairs[] = {"Scale", "Adjust", "Base"};
    for (int p = 0; p < 3; ++p) {
        const int x = firstX + 2 * p * step;
        newLabel(f, pairs[p], x, 240, step + boxW, Qt::AlignHCenter);
        zeroFullHeading(f, x, 540, step, boxW);
    }
    for (int i = 0; i < 8; ++i) {
        const int top = 960 + i * 480;
        newLabel(f, QString::number(i + 1), numX, top + 30, 300, Qt::AlignHCenter);
        const auto put = [&](std::vector<QLineEdit*>& v, QLineEdit* b, int x, int w) {
            placeTwips(b, x, top, w, 345);
            v.push_back(b);
        };
        put(txtParData, newLockedBox(f), valueX, 1200);
        txtParData.back()->setObjectName(QString::asprintf("txtParData%02d", i + 1));
        // Every setting box, the flag's too, selects its text on entry; no key is refused.
        put(txtEnable, newSettingBox(f, nullptr), unusedX + 90, 420);
        std::vector<QLineEdit*>* columns[] = {&txtZScale, &txtFScale, &txtBias, &txtGain, &txtZBase, &txtFBase};
        for (int c = 0; c < 6; ++c) put(*columns[c], newSettingBox(f, nullptr), firstX + c * step, boxW);
    }

    settings_ = {
        {.boxes = txtZScale, .group = "01", .item = {2, 40}, .param = {2, -1}, .name = "Zero Scale"},
        {.boxes = txtFScale, .group = "01", .item = {2, 41}, .param = {2, 0}, .name = "Full Scale"},
        {.boxes = txtBias, .group = "01", .item = {2, 8}, .param = {2, 31}, .name = "Zero Adjust"},
        {.boxes = txtGain, .group = "01", .item = {2, 9}, .param = {2, 32}, .name = "Full Adjust"},
        {.boxes = txtZBase, .group = "02", .item = {2, 24}, .param = {2, 15}, .name = "Zero Base"},
        {.boxes = txtFBase, .group = "02", .item = {2, 25}, .param = {2, 16}, .name = "Full Base"},
        {.boxes = txtEnable, .group = "02", .item = {1, 41}, .flag = {.unused = true}},
    };
    // Group "01" is opened again before the adjusts; the flags follow the bases
    // in group "02" without a second opening.
    passes_ = {
        {.openGroup = "01", .settings = {ZScale, FScale}, .progressAfter = [](int ch) { return ch / 2; }},
        {.openGroup = "01", .settings = {Bias, Gain}, .progressAfter = [](int ch) { return ch / 2 + 4; }},
        {.openGroup = "02", .settings = {ZBase, FBase}, .progressAfter = [](int ch) { return ch / 4 + 8; }},
        {.settings = {Enable}, .progressAfter = [](int ch) { return ch / 4 + 10; }},
    };
    live_ = {.boxes = txtParData, .items = ItemRange(10, 8), .pauseMs = 50};
    // The cycle rests while the window is not active; a click is still served.
    stopWhenDeactivated_ = true;
}

}  // namespace talvo::screens
