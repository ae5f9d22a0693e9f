#include "screens/pulse_out/frmIY2.h"

#include "core/Colors.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {

QLineEdit* displayBox(QWidget* parent) {
    QLineEdit* b = newLockedBox(parent);
    ui::setBackColor(b, colors::SysMenu);
    return b;
}

}  // namespace

frmIY2::frmIY2(QWidget* parent) : CardScreen("K6-IY2", parent) {
    // No key filters: whatever a box holds is sent as it stands.
    txtDelayTime = newSettingBox(body(), nullptr);
    txtHoldTime = newSettingBox(body(), nullptr);
    newLabel(body(), "Delay Time", 120, 30, 1080);
    placeTwips(txtDelayTime, 1260, 0, 1200, 345);
    newLabel(body(), "Hold Time", 2760, 30, 1080);
    placeTwips(txtHoldTime, 3840, 0, 1200, 345);
    for (int ch = 1; ch <= 2; ++ch) layoutChannel(ch);
    addCounterButtons(false);

    // Param(b + n) with b = 20 * (ch - 1): {20, n - 20}.
    const auto slot = [](int n) { return PerChannel{20, n - 20}; };
    // The alarms' boxes are named by their column and their line: the alarm
    // ("1" or "2", as beside its lamp), then its first or second line.
    settings_ = {
        {.boxes = {txtDelayTime, txtHoldTime}, .group = "01", .item = {1, 6}, .param = {1, 1},  // items 7, 8
         .channelNames = {"Delay Time", "Hold Time"}},
        {.boxes = txtAlarm1, .group = "01", .item = {10, 40}, .param = slot(4), .name = "Mode 1"},
        {.boxes = txtAlarm2, .group = "01", .item = {10, 45}, .param = slot(5), .name = "Mode 2"},
        {.boxes = txtAlarmLevel[0], .group = "01", .item = {10, 41}, .param = slot(6), .name = "Alarm Level 1-1"},
        {.boxes = txtAlarmLevel[1], .group = "01", .item = {10, 43}, .param = slot(7), .name = "Alarm Level 1-2"},
        {.boxes = txtAlarmLevel[2], .group = "01", .item = {10, 46}, .param = slot(8), .name = "Alarm Level 2-1"},
        {.boxes = txtAlarmLevel[3], .group = "01", .item = {10, 48}, .param = slot(9), .name = "Alarm Level 2-2"},
        {.boxes = txtHyst[0], .group = "01", .item = {10, 42}, .param = slot(10), .name = "Hyst. 1-1"},
        {.boxes = txtHyst[1], .group = "01", .item = {10, 44}, .param = slot(11), .name = "Hyst. 1-2"},
        {.boxes = txtHyst[2], .group = "01", .item = {10, 47}, .param = slot(12), .name = "Hyst. 2-1"},
        {.boxes = txtHyst[3], .group = "01", .item = {10, 49}, .param = slot(13), .name = "Hyst. 2-2"},
        {.boxes = txtDropout, .group = "01", .item = {1, 9}, .param = slot(14), .name = "Drop-Out"},
        {.boxes = txtZScale, .group = "01", .item = {2, 40}, .param = slot(15), .name = "Zero Scale"},
        {.boxes = txtFScale, .group = "01", .item = {2, 41}, .param = slot(16), .name = "Full Scale"},
        {.boxes = txtMinPos, .group = "01", .item = {1, 13}, .param = slot(17), .name = "Reset Position"},
        {.boxes = txtMaxPos, .group = "01", .item = {1, 17}, .param = slot(18), .name = "Max.Position"},
        {.boxes = txtInputType, .group = "01", .item = {1, 29}, .param = slot(19), .record = {.uploadOnly = true},
         .name = "Input(Hz)"},
    };
    passes_ = {
        {.openGroup = "01", .settings = {0}},
        {.settings = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
         .progressAfter = [](int ch) { return 4 * ch; }},
    };
    live_ = {.boxes = {txtParData01[0], txtParData01[1], txtParData01[2], txtParData02[0], txtParData02[1],
                       txtParData02[2], txtParData01[3], txtParData02[3]},
             .items = {"10", "12", "13", "14", "16", "17", "57", "58"},
             .pauseMs = 10,
             // Bits 2 and 3 of each channel's status word: its alarms 1 and 2.
             .lampItems = {"11", "15"},
             .lamps = {lblDIDataCh1[0], lblDIDataCh1[1], lblDIDataCh2[0], lblDIDataCh2[1]},
             .lampBits = {2, 3},
             // Each channel's lamps as its own word comes.
             .lampsWordByWord = true};
    counterClear_ = {.group = "01", .items = {"09"}, .data = "1"};
}

void frmIY2::layoutChannel(int ch) {
    auto* f = new QGroupBox(QString("Ch. %1").arg(ch), body());
    f->setObjectName(QString("fraCh%1").arg(ch));
    placeTwips(f, 60, 420 + (ch - 1) * 2640, 9160, 2580);
    // The style draws the frame's caption above its line: the frame's rows
    // start a little lower, so the first captions clear the line.
    constexpr int kDown = 90;
    const auto label = [f](const QString& text, int x, int y, int w, Qt::Alignment align, int h = 300) {
        return newLabel(f, text, x, y + kDown, w, align, h);
    };
    const auto box = [f](QLineEdit* b, int x, int y, int w) {
        b->setParent(f);
        placeTwips(b, x, y + kDown, w, 330);
        return b;
    };
    const auto captioned = [&](const char* caption, QLineEdit* b, int x, int y, int w) {
        label(caption, x, y, w, Qt::AlignLeft, 240);
        return box(b, x, y + 240, w);
    };
    std::vector<QLineEdit*>& live = ch == 1 ? txtParData01 : txtParData02;
    for (int i = 1; i <= 4; ++i) {
        live.push_back(displayBox(f));
        live.back()->setObjectName(QString("txtParData0%1_%2").arg(ch).arg(i));
    }
    captioned("Value", live[0], 120, 240, 1200);
    captioned("Value(H)", live[2], 120, 900, 1200);
    captioned("Position", live[3], 120, 1560, 1200);
    txtInputType.push_back(displayBox(f));
    captioned("Input(Hz)", txtInputType.back(), 1440, 240, 1080);
    captioned("Value(L)", live[1], 1440, 900, 1080);

    // The alarms: alarm 1 on the first two lines, alarm 2 on the next two.
    // The heading stands below the frame's caption line, over its two columns.
    label("Speed/Position", 3660, 240, 2100, Qt::AlignHCenter, 240);
    label("Mode", 3000, 480, 540, Qt::AlignHCenter, 240);
    label("Alarm Level", 3660, 480, 1080, Qt::AlignHCenter, 240);
    label("Hyst.", 4860, 480, 900, Qt::AlignHCenter, 240);
    std::vector<QLabel*>& lamps = ch == 1 ? lblDIDataCh1 : lblDIDataCh2;
    const int lineY[] = {780, 1140, 1560, 1920};
    for (int a = 0; a < 2; ++a) {
        const int y = lineY[2 * a];
        label(QString::number(a + 1), 2640, y + 20, 180, Qt::AlignHCenter);
        auto* lamp = new QLabel(f);
        lamp->setObjectName(QString("lblDIDataCh%1_%2").arg(ch).arg(a + 1));
        lamp->setFrameStyle(QFrame::Box | QFrame::Plain);
        ui::setBackColor(lamp, colors::SysMenu);
        placeTwips(lamp, 2820, y + 45 + kDown, 240, 240);
        lamps.push_back(lamp);
        std::vector<QLineEdit*>& mode = a == 0 ? txtAlarm1 : txtAlarm2;
        mode.push_back(box(newSettingBox(f, nullptr), 3090, y, 420));
    }
    for (std::size_t k = 0; k < 4; ++k) {
        txtAlarmLevel[k].push_back(box(newSettingBox(f, nullptr), 3660, lineY[k], 1080));
        txtHyst[k].push_back(box(newSettingBox(f, nullptr), 4860, lineY[k], 900));
    }
    txtDropout.push_back(captioned("Drop-Out", newSettingBox(f, nullptr), 5940, 240, 1320));
    txtZScale.push_back(captioned("Zero Scale", newSettingBox(f, nullptr), 5940, 900, 1320));
    txtFScale.push_back(captioned("Full Scale", newSettingBox(f, nullptr), 5940, 1560, 1320));
    txtMinPos.push_back(captioned("Reset Position", newSettingBox(f, nullptr), 7500, 240, 1320));
    txtMaxPos.push_back(captioned("Max.Position", newSettingBox(f, nullptr), 7500, 900, 1320));
}

// The card takes the settings once group "02" is opened after them.
void frmIY2::downloadExtra(Transfer& t) { t.write("02", "01", "1"); }

}  // namespace talvo::screens
