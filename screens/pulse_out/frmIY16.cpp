#include "screens/pulse_out/frmIY16.h"

#include "core/Colors.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

frmIY16::frmIY16(QWidget* parent) : CardScreen("K6-IY16", parent) {
    auto* fraCh1 = new QGroupBox(body());
    fraCh1->setObjectName("fraCh1");
    placeTwips(fraCh1, 60, 60, 9160, 5100);
    for (int half = 0; half < 2; ++half) {
        const int left = 120 + half * 4560;
        const int valueX = left + 480, maxX = left + 1920, presetX = left + 3000;
        newLabel(fraCh1, "Value", valueX, 240, 1320, Qt::AlignHCenter, 240);
        newLabel(fraCh1, "Max", maxX, 240, 960, Qt::AlignHCenter, 240);
        newLabel(fraCh1, "Preset", presetX, 240, 960, Qt::AlignHCenter, 240);
        for (int row = 0; row < 8; ++row) {
            const int ch = 8 * half + row + 1, y = 540 + row * 540;
            newLabel(fraCh1, QString::number(ch), left, y + 20, 420, Qt::AlignHCenter);
            QLineEdit* value = newLockedBox(fraCh1);
            value->setObjectName(QString::asprintf("txtParData%02d", ch));
            ui::setBackColor(value, colors::SysMenu);
            placeTwips(value, valueX, y, 1320, 345);
            txtParData.push_back(value);
            // No key filter and no length limit: the download checks what is sent.
            txtFScale.push_back(newSettingBox(fraCh1, nullptr));
            placeTwips(txtFScale.back(), maxX, y, 960, 345);
            txtPresetVal.push_back(newSettingBox(fraCh1, nullptr));
            placeTwips(txtPresetVal.back(), presetX, y, 960, 345);
        }
    }
    addCounterButtons(true);

    // Max of channel ch: item 2ch + 25 into Param(ch), a count from 0 to 65535; a
    // download that refuses it gives the box the stored value back.
    settings_ = {{.boxes = txtFScale, .group = "01", .item = {2, 25}, .param = {1, 0}, .accept = Accept::Count,
                  .check = {.count = {0, 65535}}, .name = "Max"}};
    passes_ = {{.openGroup = "01", .settings = {0}, .progressAfter = [](int ch) { return (ch + 1) / 2; }}};
    live_ = {.boxes = txtParData, .items = ItemRange(10, 16), .pauseMs = 50};
    counterClear_ = {.group = "02", .items = ItemRange(10, 16), .data = "0", .progress = true};
    // The preset opens group "02" with "F"; there is no Min, so no call to upload first.
    counterPreset_ = {.boxes = txtPresetVal, .openData = "F", .maxPerCh = 1, .maxBase = 0, .limit = 65535};
}

void frmIY16::showSettingsExtra(const CardRecord&) {
    for (QLineEdit* b : txtPresetVal) setBoxText(b, "");
}

}  // namespace talvo::screens
