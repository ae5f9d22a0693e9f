#include "screens/base_alarm_in/frmFD4.h"

#include <QLabel>

#include "core/Colors.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {

enum { ZScale, FScale, Bias, Gain, ZBase, FBase, Enable };

}  // namespace

frmFD4::frmFD4(QWidget* parent) : CardScreen("K6-FD4", parent) {
    // One frame per channel, stacked; the first carries the column headings.
    const int valueX = 120, unusedX = 1920, rowX = 2640, scaleX = 3240, adjustX = 5160, baseX = 7080, colW = 1800;
    int top = 0;
    for (int i = 0; i < 4; ++i) {
        auto* f = new QGroupBox(QString("Ch. %1").arg(i + 1), body());
        f->setObjectName(QString("fraCh%1").arg(i + 1));
        const int head = i == 0 ? 330 : 0;
        const int zeroY = 270 + head, fullY = 690 + head, midY = (zeroY + fullY) / 2;
        placeTwips(f, 60, top, 9160, 1140 + head);
        top += 1140 + head + 60;
        if (i == 0) {
            newLabel(f, "Value", valueX, 240, 1620, Qt::AlignHCenter);
            newLabel(f, "Unused", unusedX - 150, 240, 720, Qt::AlignHCenter);
            newLabel(f, "Scale", scaleX, 240, colW, Qt::AlignHCenter);
            newLabel(f, "Adjust", adjustX, 240, colW, Qt::AlignHCenter);
            newLabel(f, " Base", baseX, 240, colW, Qt::AlignHCenter);
        }
        newLabel(f, "Zero", rowX, zeroY + 30, 600);
        newLabel(f, "Full ", rowX, fullY + 30, 600);
        const auto put = [&](std::vector<QLineEdit*>& v, QLineEdit* b, int x, int y, int w) {
            b->setParent(f);
            placeTwips(b, x, y, w, 345);
            v.push_back(b);
        };
        put(txtParData, newLockedBox(f), valueX, midY, 1620);
        txtParData.back()->setObjectName(QString::asprintf("txtParData%02d", i + 1));
        put(txtEnable, new QLineEdit(f), unusedX, midY, 420);
        // Entering a setting box selects its text; no key is refused.
        put(txtZScale, newSettingBox(f, nullptr), scaleX, zeroY, colW);
        put(txtFScale, newSettingBox(f, nullptr), scaleX, fullY, colW);
        put(txtBias, newSettingBox(f, nullptr), adjustX, zeroY, colW);
        put(txtGain, newSettingBox(f, nullptr), adjustX, fullY, colW);
        put(txtZBase, newSettingBox(f, nullptr), baseX, zeroY, colW);
        put(txtFBase, newSettingBox(f, nullptr), baseX, fullY, colW);
    }

    // In the order of Variant: "FD4A" and "FD4B" keep the bases 16 items higher
    // (from item 26), "FW" cards have none, the others keep them from item 10.
    variants_ = {{.models = {"FD4A", "FD4B"}}, {.models = {"FW"}}, {}};
    const Group bases = {"02", kNotOnCard, "02"};
    const PerVariant<int> baseShift = {16, 0, 0};
    settings_ = {
        {.boxes = txtZScale, .group = "01", .item = {2, 40}, .param = {4, -3}, .name = "Zero Scale"},
        {.boxes = txtFScale, .group = "01", .item = {2, 41}, .param = {4, -2}, .name = "Full Scale"},
        {.boxes = txtBias, .group = "01", .item = {2, 8}, .param = {4, -1}, .name = "Zero Adjust"},
        {.boxes = txtGain, .group = "01", .item = {2, 9}, .param = {4, 0}, .name = "Full Adjust"},
        {.boxes = txtZBase, .group = bases, .item = {2, 8}, .param = {2, 15}, .at = {.itemShift = baseShift}, .name = "Zero Base"},
        {.boxes = txtFBase, .group = bases, .item = {2, 9}, .param = {2, 16}, .at = {.itemShift = baseShift}, .name = "Full Base"},
        {.boxes = txtEnable, .group = "02", .item = {1, 41}, .flag = {.unused = true}},
    };
    passes_ = {
        {.openGroup = "01", .settings = {ZScale, FScale, Bias, Gain}, .progressAfter = [](int ch) { return ch; }},
        // Group "02" is opened for the flags also where the card has no bases.
        {.openGroup = "02", .settings = {ZBase, FBase}, .progressAfter = [](int ch) { return ch + 4; }},
        {.settings = {Enable}, .progressAfter = [](int ch) { return ch + 8; }},
    };
    live_ = {.boxes = txtParData, .items = ItemRange(10, 4), .pauseMs = 10};
}

// Every entry sets the Base boxes for the model in the frame, so that a card of
// another family shown before leaves nothing behind; the transfers follow the
// variant from the tables.
void frmFD4::prepare(const std::string&) {
    const bool bases = variant() != Variant::NoBase;
    for (auto* v : {&txtZBase, &txtFBase})
        for (QLineEdit* b : *v) {
            b->setEnabled(bases);
            ui::setBackColor(b, bases ? colors::SysWindow : colors::SysButtonFace);
            if (!bases) b->clear();
        }
}

}  // namespace talvo::screens
