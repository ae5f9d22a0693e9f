#include "screens/base_alarm_in/frmKR4.h"

#include <QLabel>

#include "core/Colors.h"
#include "screens/TextBoxes.h"
#include "shell/Geometry.h"

namespace talvo::screens {

using shell::placeTwips;

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
        txtParData.push_back(newLockedBox(body()));
        txtParData.back()->setObjectName(QString::asprintf("txtParData%02d", ch));
    }
    for (int i = 1; i <= 4 * n; ++i) {
        auto* lamp = new QLabel(body());
        lamp->setObjectName(QString("lblDIDataCh%1").arg(i));
        lamp->setFrameStyle(QFrame::Box | QFrame::Plain);
        shell::setBackColor(lamp, colors::SysMenu);
        lblDIDataCh.push_back(lamp);
    }

    // Param(1..3) hold the times; from Param(4) on each channel has p fields: set
    // values 1..4, the hysteresis, then the directions, one field each or one text.
    const int p = packedDirections ? 6 : 9;
    const int first = 4 - p;  // the channel's first field is Param(p * ch + first)
    const std::string g = alarmGroup();
    // Any non-empty text is sent as typed.
    const auto setting = [&g](std::vector<QLineEdit*> boxes, int itemPerCh, int itemBase, int paramPerCh,
                              int paramBase) {
        Setting s;
        s.boxes = std::move(boxes);
        s.group = g;
        s.itemPerCh = itemPerCh;
        s.itemBase = itemBase;
        s.paramPerCh = paramPerCh;
        s.paramBase = paramBase;
        return s;
    };
    for (int a = 1; a <= 4; ++a)
        settings_.push_back(setting(txtAlarm[static_cast<std::size_t>(a - 1)], 10, a - 1, p, first + a - 1));
    settings_.push_back(setting(txtHyst, 10, 4, p, first + 4));
    for (int a = 1; a <= 4; ++a)
        settings_.push_back(setting(txtAlarmLevel[static_cast<std::size_t>(a - 1)], 10, 4 + a, p,
                                    first + (packedDirections ? 5 : 4 + a)));
    Setting unused = setting(txtEnable, 1, 41, 0, 0);
    unused.group = "02";
    unused.unusedFlag = true;
    unused.restoreAsBit = true;
    settings_.push_back(unused);
    // The three card times read as one setting of three places: items 7..9 into Param(1..3).
    settings_.push_back(setting({txtPowerTime, txtDelayTime, txtHoldTime}, 1, 6, 1, 0));
    passes_ = {
        {g, {kTimes}, nullptr, nullptr},
        {"", {0, 1, 2, 3, 4, 5, 6, 7, 8}, [](int ch) { return ch; }, nullptr},  // items 10ch..10ch+8
        {"02", {kUnused}, [](int ch) { return ch + 4; }, nullptr},
    };

    live_.boxes = txtParData;
    for (int ch = 1; ch <= n; ++ch) live_.items.push_back(std::to_string(ch + 13));
    live_.removeDecimalPoint = false;  // shown as the card sends it
    live_.pauseMs = 50;
    live_.lampItems = {"10"};
    if (n > 4) live_.lampItems.push_back("11");
    live_.lamps = lblDIDataCh;
}

std::string AlarmInputScreen::alarmGroup() const {
    const QString model = fraSetModel->title();
    return model.startsWith("KP") || model.startsWith("KC") ? "12" : "04";
}

void AlarmInputScreen::chooseAlarmGroup() {
    const std::string g = alarmGroup();
    for (Setting& s : settings_)
        if (!s.unusedFlag) s.group = g;
    passes_.front().openGroup = g;
}

// The group follows the model frame afresh at every transfer.
void AlarmInputScreen::UploadSettings() {
    chooseAlarmGroup();
    CardScreen::UploadSettings();
}

void AlarmInputScreen::DownloadSettings() {
    chooseAlarmGroup();
    CardScreen::DownloadSettings();
}

QLabel* AlarmInputScreen::caption(QWidget* parent, const QString& text, int left, int top, int width,
                                  Qt::Alignment align) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(align | Qt::AlignVCenter);
    placeTwips(l, left, top, width, 300);
    return l;
}

void AlarmInputScreen::placeTimes(int top) {
    const std::pair<const char*, QLineEdit*> times[] = {
        {"Power ON", txtPowerTime}, {"Delay Time", txtDelayTime}, {"Hold Time", txtHoldTime}};
    int left = 120;
    for (const auto& [heading, box] : times) {
        caption(body(), heading, left, top + 30, 1020);
        placeTwips(box, left + 1080, top, 960, 345);
        left += 2400;
    }
}

void AlarmInputScreen::placeLamps(int first, int left, int top) {
    for (int k = 0; k < 16; ++k)
        placeTwips(lblDIDataCh[static_cast<std::size_t>(first - 1 + k)], left + k * kLampPitch, top + 300, kLampSize,
                   kLampSize);
    const int centre = (kLampSize - 360) / 2;
    caption(body(), QString::number(first - 1), left + centre, top, 360, Qt::AlignHCenter);
    caption(body(), QString::number(first + 14), left + 15 * kLampPitch + centre, top, 360, Qt::AlignHCenter);
}

frmKR4::frmKR4(QWidget* parent) : AlarmInputScreen(4, "K6-KR4", false, parent) {
    placeTimes(0);
    placeLamps(1, 120, 420);

    auto* f = new QGroupBox(body());
    f->setObjectName("fraCh1");
    placeTwips(f, 60, 1080, 9160, 4560);
    const int chX = 120, valueX = 600, unusedX = 1920, hystX = 2520;
    const int alarmX[] = {3660, 6300};  // caption, then set value (+720) and direction (+1980)
    caption(f, "Value", valueX, 180, 1200, Qt::AlignHCenter);
    caption(f, "Unused", unusedX - 150, 180, 720, Qt::AlignHCenter);
    caption(f, "Hyst.", hystX, 180, 1000, Qt::AlignHCenter);
    for (int x : alarmX) {
        caption(f, "Alarm Level", x + 720, 180, 1200, Qt::AlignHCenter);
        caption(f, "H/L", x + 1980, 180, 360, Qt::AlignHCenter);
    }
    const auto put = [f](QWidget* w, int x, int y, int width) {
        w->setParent(f);
        placeTwips(w, x, y, width, 345);
    };
    for (int ch = 1; ch <= 4; ++ch) {
        const std::size_t i = static_cast<std::size_t>(ch - 1);
        const int upper = 540 + (ch - 1) * 990, lower = upper + 420;
        caption(f, QString("Ch%1").arg(ch), chX, upper + 20, 480);
        put(txtParData[i], valueX, upper, 1200);
        put(txtEnable[i], unusedX, upper, 420);
        put(txtHyst[i], hystX, upper, 1000);
        // Alarms 1 and 3 in the upper row, 2 and 4 under them.
        for (int a = 1; a <= 4; ++a) {
            const std::size_t k = static_cast<std::size_t>(a - 1);
            const int x = alarmX[(a - 1) / 2], y = a % 2 ? upper : lower;
            caption(f, QString("A%1(%2)").arg(a).arg(4 * (ch - 1) + a - 1), x, y + 20, 720);
            put(txtAlarm[k][i], x + 720, y, 1200);
            put(txtAlarmLevel[k][i], x + 1980, y, 360);
        }
    }
}

}  // namespace talvo::screens
