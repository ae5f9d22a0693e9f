#include "screens/pulse_out/frmIY4.h"

#include "core/Colors.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

frmIY4::frmIY4(QWidget* parent) : CardScreen("K6-IY4", parent) {
    struct Column {
        const char* heading;
        const char* second;  // second heading line
        std::vector<QLineEdit*>* boxes;
        bool reported;  // read-only
        int x, width;
    };
    const Column columns[] = {
        {"Value", "", &txtParData, true, 480, 1320},   {"Input(Hz)", "", &txtInputType, true, 1920, 1080},
        {"Gain", "", &txtGain, true, 3120, 960},        {"Th. Adjust", "", &txtThresh, false, 4200, 960},
        {"Drop-Out", "", &txtDropout, false, 5280, 960}, {"Edge", "0:UP/1:DOWN", &txtEdge, false, 6360, 1080},
        {"Zero/Full", "Scale", &txtZScale, false, 7560, 1200},
    };
    for (int ch = 1; ch <= 4; ++ch) {
        auto* f = new QGroupBox(QString("Ch. %1").arg(ch), body());
        f->setObjectName(QString("fraCh%1").arg(ch));
        // The headings stand in the first channel's frame only.
        const int top = ch == 1 ? 0 : 1740 + (ch - 2) * 1300, height = ch == 1 ? 1680 : 1240;
        placeTwips(f, 60, top, 9160, height);
        // Below the frame's caption line: the headings, then the boxes.
        const int boxY = ch == 1 ? 840 : 300;
        for (const Column& c : columns) {
            if (ch == 1) {
                newLabel(f, c.heading, c.x, 300, c.width, Qt::AlignHCenter, 240);
                if (*c.second) newLabel(f, c.second, c.x - 180, 540, c.width + 360, Qt::AlignHCenter, 240);
            }
            QLineEdit* b = c.reported ? newLockedBox(f) : newSettingBox(f, nullptr);
            if (c.reported) ui::setBackColor(b, colors::SysMenu);
            placeTwips(b, c.x, boxY, c.width, 330);
            c.boxes->push_back(b);
        }
        txtParData.back()->setObjectName(QString::asprintf("txtParData%02d", ch));
        // Full scale under zero scale.
        QLineEdit* full = newSettingBox(f, nullptr);
        placeTwips(full, 7560, boxY + 420, 1200, 330);
        txtFScale.push_back(full);
    }

    // Param(b + n) with b = 7 * (ch - 1): {7, n - 7}.
    const auto slot = [](int n) { return PerChannel{7, n - 7}; };
    settings_ = {
        {.boxes = txtDropout, .group = "01", .item = {1, 9}, .param = slot(1), .name = "Drop-Out"},
        {.boxes = txtThresh, .group = "01", .item = {1, 25}, .param = slot(2), .name = "Th. Adjust"},
        {.boxes = txtEdge, .group = "01", .item = {1, 29}, .param = slot(3), .name = "Edge"},
        {.boxes = txtGain, .group = "01", .item = {1, 53}, .param = slot(4), .record = {.uploadOnly = true},
         .name = "Gain"},
        {.boxes = txtZScale, .group = "01", .item = {2, 40}, .param = slot(5), .name = "Zero Scale"},
        {.boxes = txtFScale, .group = "01", .item = {2, 41}, .param = slot(6), .name = "Full Scale"},
        {.boxes = txtInputType, .group = "01", .item = {1, 49}, .param = slot(7), .record = {.uploadOnly = true},
         .name = "Input(Hz)"},
    };
    passes_ = {{.openGroup = "01", .settings = {0, 1, 2, 3, 4, 5, 6}, .progressAfter = [](int ch) { return 2 * ch; }}};
    live_ = {.boxes = txtParData, .items = ItemRange(10, 4), .pauseMs = 10};
}

// Both transfers end by opening group "02".
void frmIY4::uploadExtra(Transfer& t) { t.write("02", "01", "1"); }
void frmIY4::downloadExtra(Transfer& t) { t.write("02", "01", "1"); }

}  // namespace talvo::screens
