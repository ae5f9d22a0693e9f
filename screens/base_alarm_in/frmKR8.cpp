#include "screens/base_alarm_in/frmKR8.h"

#include <QLabel>

#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {

using Directions = std::array<std::string, 4>;  // alarm 1..4 at 0..3; "" unknown

// A direction text is read only when it has its four characters. A direction that
// is not known is kept as a blank, so the others keep their places.
Directions unpack(const std::string& text) {
    Directions d;
    if (text.size() != 4) return d;
    for (std::size_t a = 0; a < 4; ++a)
        if (text[3 - a] != ' ') d[a] = text.substr(3 - a, 1);
    return d;
}

std::string pack(const Directions& d) {
    std::string text;
    for (std::size_t a = 4; a-- > 0;) text += d[a].empty() ? ' ' : d[a][0];
    return text == "    " ? std::string() : text;
}

}  // namespace

frmKR8::frmKR8(QWidget* parent) : AlarmInputScreen(8, "K6-KR8", true, parent) {
    // Each alarm's column is headed "Alarm1 Cond." .. over "Level" and "Dir".
    nameAlarms([](int a) { return "Alarm" + std::to_string(a) + " Cond. Level"; },
               [](int a) { return "Alarm" + std::to_string(a) + " Cond. Dir"; });
    placeTimes(0);
    placeLamps(1, 120, 420);
    placeLamps(17, 4560, 420);

    const int chX = 0, valueX = 420, unusedX = 1380, hystX = 1860, alarmX = 2640, alarmStep = 1650;
    const int headTop = 1080, subTop = 1350, rowTop = 1920, rowStep = 405;
    // A heading wider than its column, on two lines.
    const auto twoLines = [this](const char* text, int left, int top, int width) {
        QLabel* l = newLabel(body(), text, left, top, width, Qt::AlignHCenter);
        l->setWordWrap(true);
        placeTwips(l, left, top, width, 540);
    };
    newLabel(body(), "Value", valueX, headTop, 900, Qt::AlignHCenter);
    twoLines("Un used", unusedX - 60, headTop, 540);
    newLabel(body(), "Hyst.", hystX, headTop, 720, Qt::AlignHCenter);
    for (int a = 1; a <= 4; ++a) {
        const int x = alarmX + (a - 1) * alarmStep;
        newLabel(body(), QString("Alarm%1 Cond.").arg(a), x, headTop, 1620, Qt::AlignHCenter);
        twoLines("Bit Pos.", x - 60, subTop, 480);
        newLabel(body(), "Level", x + 420, subTop + 120, 840, Qt::AlignHCenter);
        newLabel(body(), "Dir", x + 1290, subTop + 120, 330, Qt::AlignHCenter);
    }
    for (int ch = 1; ch <= 8; ++ch) {
        const std::size_t i = static_cast<std::size_t>(ch - 1);
        const int top = rowTop + (ch - 1) * rowStep;
        newLabel(body(), QString("Ch%1").arg(ch), chX, top + 20, 420);
        placeTwips(txtParData[i], valueX, top, 900, 345);
        placeTwips(txtEnable[i], unusedX, top, 420, 345);
        placeTwips(txtHyst[i], hystX, top, 720, 345);
        for (int a = 1; a <= 4; ++a) {
            const std::size_t k = static_cast<std::size_t>(a - 1);
            const int x = alarmX + (a - 1) * alarmStep;
            newLabel(body(), QString::number(4 * (ch - 1) + a - 1), x, top + 20, 360, Qt::AlignRight);
            placeTwips(txtAlarm[k][i], x + 420, top, 840, 345);
            placeTwips(txtAlarmLevel[k][i], x + 1290, top, 330, 345);
        }
    }
    const int legendTop = rowTop + 8 * rowStep + 60, dirX = alarmX + 3 * alarmStep + 1290;
    newLabel(body(), "Alarm Level", dirX - 1800, legendTop, 1140, Qt::AlignRight);
    newLabel(body(), "H:1 L:0", dirX - 600, legendTop, 900);
}

int frmKR8::direction(const Setting& s) const {
    const auto i = &s - settings_.data();
    return i >= kFirstDirection && i < kFirstDirection + 4 ? static_cast<int>(i - kFirstDirection) + 1 : 0;
}

std::string frmKR8::storedText(const Setting& s, int ch, const CardRecord& rec) const {
    const int a = direction(s);
    if (!a) return AlarmInputScreen::storedText(s, ch, rec);
    return unpack(rec.Param[s.param(ch)])[static_cast<std::size_t>(a - 1)];
}

// One direction changes its own character; the others keep theirs, also when
// the transfer stops before they come.
void frmKR8::storeText(const Setting& s, int ch, CardRecord& rec, const std::string& text) {
    const int a = direction(s);
    if (!a) return AlarmInputScreen::storeText(s, ch, rec, text);
    Directions d = unpack(rec.Param[s.param(ch)]);
    d[static_cast<std::size_t>(a - 1)] = text.substr(0, 1);
    rec.Param.set(s.param(ch), pack(d));
}

// A direction text that could not be read and got no direction typed in is
// stored empty.
void frmKR8::downloadExtra(Transfer& t) {
    const Setting& first = settings_[kFirstDirection];
    for (int ch = 1; ch <= 8; ++ch)
        if (t.record().Param[first.param(ch)].size() != 4) t.record().Param.set(first.param(ch), "");
}

}  // namespace talvo::screens
