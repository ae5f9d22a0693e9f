#include "screens/base_alarm_in/frmFD4.h"

#include <QLabel>

#include "core/Colors.h"
#include "screens/TextBoxes.h"
#include "shell/Geometry.h"

namespace talvo::screens {

using shell::placeTwips;

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

    settings_ = {
        {txtZScale, "01", 2, 40, 4, -3, false, Accept::NotEmpty, "", nullptr, nullptr},
        {txtFScale, "01", 2, 41, 4, -2, false, Accept::NotEmpty, "", nullptr, nullptr},
        {txtBias, "01", 2, 8, 4, -1, false, Accept::NotEmpty, "", nullptr, nullptr},
        {txtGain, "01", 2, 9, 4, 0, false, Accept::NotEmpty, "", nullptr, nullptr},
        {txtZBase, "02", 2, 8, 2, 15, false, Accept::NotEmpty, "", nullptr, nullptr},
        {txtFBase, "02", 2, 9, 2, 16, false, Accept::NotEmpty, "", nullptr, nullptr},
        {txtEnable, "02", 1, 41, 0, 0, true, Accept::NotEmpty, "", nullptr, nullptr},
    };
    live_.boxes = txtParData;
    live_.items = {"10", "11", "12", "13"};
    live_.pauseMs = 10;
}

// Every entry sets the controls and the traffic for the model in the frame, so
// that a card of another family shown before leaves nothing behind.
void frmFD4::prepare(const std::string&) {
    const std::string model = fraSetModel->title().toLatin1().toStdString();
    const std::string four = model.substr(0, 4);
    variant_ = four == "FD4A" || four == "FD4B" ? Variant::BaseHigh
               : model.compare(0, 2, "FW") == 0 ? Variant::NoBase
                                                 : Variant::BaseLow;
    const int baseItem = variant_ == Variant::BaseHigh ? 24 : 8;
    settings_[ZBase].itemBase = baseItem;
    settings_[FBase].itemBase = baseItem + 1;

    const bool bases = variant_ != Variant::NoBase;
    passes_ = {
        {"01", {ZScale, FScale, Bias, Gain}, [](int ch) { return ch; }, nullptr},
        // Group "02" is opened for the flags even where the card has no bases.
        {"02", bases ? std::vector<int>{ZBase, FBase} : std::vector<int>{},
         bases ? std::function<int(int)>([](int ch) { return ch + 4; }) : nullptr, nullptr},
        {"", {Enable}, [](int ch) { return ch + 8; }, nullptr},
    };
    if (!bases) {
        lockBases();
        return;
    }
    for (auto* v : {&txtZBase, &txtFBase})
        for (QLineEdit* b : *v) {
            b->setEnabled(true);
            shell::setBackColor(b, colors::SysWindow);
        }
}

void frmFD4::lockBases() {
    for (auto* v : {&txtZBase, &txtFBase})
        for (QLineEdit* b : *v) {
            b->setEnabled(false);
            shell::setBackColor(b, colors::SysButtonFace);
            b->clear();
        }
}

void frmFD4::clearBaseRecord(Transfer& t) {
    for (int ch = 1; ch <= 4; ++ch) {
        t.record().Param.set(settings_[ZBase].param(ch), "");
        t.record().Param.set(settings_[FBase].param(ch), "");
    }
}

void frmFD4::uploadExtra(Transfer& t) {
    if (variant_ != Variant::NoBase) return;
    lockBases();
    clearBaseRecord(t);
}

void frmFD4::downloadExtra(Transfer& t) {
    if (variant_ == Variant::NoBase) clearBaseRecord(t);
}

}  // namespace talvo::screens
