#include "screens/base_alarm_in/frmKR4.h"

#include <QLabel>

#include "core/Colors.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {
constexpr int kLampSize = 210, kLampPitch = 255;
}  // namespace

AlarmInputScreen::AlarmInputScreen(int n, const char* model, bool packedDirections, QWidget* parent)
    : CardScreen(model, parent) {
    // No box has a key filter: the card judges what is typed.
    txtPowerTime = newSettingBox(body(), nullptr);
    txtDelayTime = newSettingBox(body(), nullptr);
    txtHoldTime = newSettingBox(body(), nullptr);
    for (int ch = 1; ch <= n; ++ch) {
        for (std::size_t a = 0; a < 4; ++a) {
            txtAlarm[a].push_back(newSettingBox(body(), nullptr));
            txtAlarmLevel[a].push_back(newSettingBox(body(), nullptr, 1));
        }
        txtHyst.push_back(newSettingBox(body(), nullptr));
        txtEnable.push_back(newSettingBox(body(), nullptr, 1));
        txtParData.push_back(newGreyDisplayBox(body()));
        txtParData.back()->setObjectName(QString::asprintf("txtParData%02d", ch));
    }
    for (int i = 1; i <= 4 * n; ++i) {
        auto* lamp = new QLabel(body());
        lamp->setObjectName(QString("lblDIDataCh%1").arg(i));
        lamp->setFrameStyle(QFrame::Box | QFrame::Plain);
        ui::setBackColor(lamp, colors::SysMenu);
        lblDIDataCh.push_back(lamp);
    }

    // "KP" and "KC" models keep the times and the alarms in group "12", the others in "04".
    variants_ = {{.models = {"KP", "KC"}}, {}};
    const Group alarms = {"12", "04"};
    // Param(1..3) hold the times; from Param(4) on each channel has p fields: set
    // values 1..4, the hysteresis, then the directions, one field each or one text.
    // Any non-empty text is sent as typed.
    const int p = packedDirections ? 6 : 9;
    const int first = 4 - p;  // the channel's first field is Param(p * ch + first)
    for (std::size_t k = 0; k < 4; ++k) {  // alarm k + 1: item 10ch + k
        const int a = static_cast<int>(k);
        settings_.push_back({.boxes = txtAlarm[k], .group = alarms, .item = {10, a}, .param = {p, first + a}});
    }
    settings_.push_back({.boxes = txtHyst, .group = alarms, .item = {10, 4}, .param = {p, first + 4}, .name = "Hyst."});
    for (std::size_t k = 0; k < 4; ++k) {  // direction of alarm k + 1: item 10ch + 5 + k
        const int a = static_cast<int>(k);
        settings_.push_back({.boxes = txtAlarmLevel[k],
                             .group = alarms,
                             .item = {10, 5 + a},
                             .param = {p, first + (packedDirections ? 5 : 5 + a)}});
    }
    settings_.push_back(
        {.boxes = txtEnable, .group = "02", .item = {1, 41}, .flag = {.unused = true, .restoreAsBit = true}});
    // The three card times, each a setting of its own: items 7..9 into Param(1..3).
    const std::pair<QLineEdit*, const char*> times[] = {
        {txtPowerTime, "Power ON"}, {txtDelayTime, "Delay Time"}, {txtHoldTime, "Hold Time"}};
    for (int t = 0; t < 3; ++t)
        settings_.push_back({.boxes = {times[t].first},
                             .group = alarms,
                             .item = {0, 7 + t},
                             .param = {0, 1 + t},
                             .name = times[t].second});
    passes_ = {
        {.openGroup = alarms, .settings = {kTimes, kTimes + 1, kTimes + 2}},
        {.settings = {0, 1, 2, 3, 4, 5, 6, 7, 8}, .progressAfter = [](int ch) { return ch; }},  // items 10ch..10ch+8
        {.openGroup = "02", .settings = {kUnused}, .progressAfter = [](int ch) { return ch + 4; }},
    };

    live_ = {.boxes = txtParData,
             .items = ItemRange(14, n),
             .pauseMs = 50,
             .removeDecimalPoint = false,  // shown as the card sends it
             .lampItems = ItemRange(10, n / 4),  // one word of 16 lamps for each 4 channels
             .lamps = lblDIDataCh};
}

void AlarmInputScreen::nameAlarms(const std::function<std::string(int alarm)>& level,
                                  const std::function<std::string(int alarm)>& direction) {
    for (int a = 1; a <= 4; ++a) {
        settings_[static_cast<std::size_t>(a - 1)].name = level(a);
        settings_[static_cast<std::size_t>(kFirstDirection + a - 1)].name = direction(a);
    }
}

std::string AlarmInputScreen::alarmGroup() const { return settings_[kTimes].group[shownVariant()]; }

void AlarmInputScreen::placeTimes(int top) {
    const std::pair<const char*, QLineEdit*> times[] = {
        {"Power ON", txtPowerTime}, {"Delay Time", txtDelayTime}, {"Hold Time", txtHoldTime}};
    int left = 120;
    for (const auto& [heading, box] : times) {
        newLabel(body(), heading, left, top + 30, 1020);
        placeTwips(box, left + 1080, top, 960, 345);
        left += 2400;
    }
}

void AlarmInputScreen::placeLamps(int first, int left, int top) {
    for (int k = 0; k < 16; ++k)
        placeTwips(lblDIDataCh[static_cast<std::size_t>(first - 1 + k)], left + k * kLampPitch, top + 300, kLampSize,
                   kLampSize);
    const int centre = (kLampSize - 360) / 2;
    newLabel(body(), QString::number(first - 1), left + centre, top, 360, Qt::AlignHCenter);
    newLabel(body(), QString::number(first + 14), left + 15 * kLampPitch + centre, top, 360, Qt::AlignHCenter);
}

frmKR4::frmKR4(QWidget* parent) : AlarmInputScreen(4, "K6-KR4", false, parent) {
    // Each alarm's boxes stand beside its caption "A1(0)".. under the headings "Alarm Level" and "H/L".
    nameAlarms([](int a) { return "A" + std::to_string(a) + " Alarm Level"; },
               [](int a) { return "A" + std::to_string(a) + " H/L"; });
    placeTimes(0);
    placeLamps(1, 120, 420);

    auto* f = new QGroupBox(body());
    f->setObjectName("fraCh1");
    placeTwips(f, 60, 1080, 9160, 4560);
    const int chX = 120, valueX = 600, unusedX = 1920, hystX = 2520;
    const int alarmX[] = {3660, 6300};  // caption, then set value (+720) and direction (+1980)
    newLabel(f, "Value", valueX, 180, 1200, Qt::AlignHCenter);
    newLabel(f, "Unused", unusedX - 150, 180, 720, Qt::AlignHCenter);
    newLabel(f, "Hyst.", hystX, 180, 1000, Qt::AlignHCenter);
    for (int x : alarmX) {
        newLabel(f, "Alarm Level", x + 720, 180, 1200, Qt::AlignHCenter);
        newLabel(f, "H/L", x + 1980, 180, 360, Qt::AlignHCenter);
    }
    const auto put = [f](QWidget* w, int x, int y, int width) {
        w->setParent(f);
        placeTwips(w, x, y, width, 345);
    };
    for (int ch = 1; ch <= 4; ++ch) {
        const std::size_t i = static_cast<std::size_t>(ch - 1);
        const int upper = 540 + (ch - 1) * 990, lower = upper + 420;
        newLabel(f, QString("Ch%1").arg(ch), chX, upper + 20, 480);
        put(txtParData[i], valueX, upper, 1200);
        put(txtEnable[i], unusedX, upper, 420);
        put(txtHyst[i], hystX, upper, 1000);
        // Alarms 1 and 3 in the upper row, 2 and 4 under them.
        for (int a = 1; a <= 4; ++a) {
            const std::size_t k = static_cast<std::size_t>(a - 1);
            const int x = alarmX[(a - 1) / 2], y = a % 2 ? upper : lower;
            newLabel(f, QString("A%1(%2)").arg(a).arg(4 * (ch - 1) + a - 1), x, y + 20, 720);
            put(txtAlarm[k][i], x + 720, y, 1200);
            put(txtAlarmLevel[k][i], x + 1980, y, 360);
        }
    }
}

}  // namespace talvo::screens
