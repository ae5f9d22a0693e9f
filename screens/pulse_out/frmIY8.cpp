#include "screens/pulse_out/frmIY8.h"

#include "core/Colors.h"
#include "core/KeyFilters.h"
#include "screens/skeleton/TextBoxes.h"
#include "screens/pulse_out/DiscreteRows.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

frmIY8::frmIY8(QWidget* parent) : CardScreen("K6-IY8", parent) {
    auto* fraCh1 = new QGroupBox(body());
    fraCh1->setObjectName("fraCh1");
    placeTwips(fraCh1, 600, 60, 8040, 5040);
    const int valueX = 840, minX = 3000, maxX = 3840, presetX = 5880, wide = 1800;
    newLabel(fraCh1, "Value", valueX, 300, wide, Qt::AlignHCenter);
    newLabel(fraCh1, "Min", minX, 300, 480, Qt::AlignHCenter);
    newLabel(fraCh1, "Max", maxX, 300, wide, Qt::AlignHCenter);
    newLabel(fraCh1, "Preset", presetX, 300, wide, Qt::AlignHCenter);
    for (int ch = 1; ch <= 8; ++ch) {
        const int y = 660 + 520 * (ch - 1);
        newLabel(fraCh1, QString::number(ch), 240, y + 22, 360, Qt::AlignHCenter);
        QLineEdit* value = newLockedBox(fraCh1);
        value->setObjectName(QString::asprintf("txtParData%02d", ch));
        ui::setBackColor(value, colors::SysMenu);
        placeTwips(value, valueX, y, wide, 345);
        txtParData.push_back(value);
        // One character as typed; a longer text from the record or the card is
        // shown whole, so a download refuses it rather than sending its first digit.
        txtMin.push_back(newSettingBox(fraCh1, FilterKeyBinary));
        LimitTypedLength(txtMin.back(), 1);
        placeTwips(txtMin.back(), minX, y, 480, 345);
        // Ten characters as typed; a longer count from the record is shown whole.
        txtFScale.push_back(newSettingBox(fraCh1, FilterKeySignedInteger));
        LimitTypedLength(txtFScale.back(), 10);
        placeTwips(txtFScale.back(), maxX, y, wide, 345);
        txtPresetVal.push_back(newSettingBox(fraCh1, FilterKeySignedInteger));
        LimitTypedLength(txtPresetVal.back(), 10);
        placeTwips(txtPresetVal.back(), presetX, y, wide, 345);
    }
    addCounterButtons(true);

    // Min is "0" or "1"; Max a count from 10000 to 2147483647. A download that
    // refuses a box empties it, and the record keeps its value.
    settings_ = {
        {.boxes = txtMin, .group = "01", .item = {2, 24}, .param = {2, 0}, .accept = Accept::Bit,
         .record = {.unsent = Unsent::Emptied}, .name = "Min"},
        {.boxes = txtFScale, .group = "01", .item = {2, 25}, .param = {2, 1}, .accept = Accept::Count,
         .check = {.count = {10000, 2147483647}}, .record = {.unsent = Unsent::Emptied}, .name = "Max"},
    };
    passes_ = {{.openGroup = "01", .settings = {0, 1}, .progressAfter = [](int ch) { return (ch + 1) / 2; }}};
    live_ = {.boxes = txtParData, .items = ItemRange(10, 8), .pauseMs = 50};
    // The clear writes all 16 counter items; the card has counters behind the first 8 only.
    counterClear_ = {.group = "02", .items = ItemRange(10, 16), .data = "0", .required = 8, .progress = true};
    counterPreset_ = {.boxes = txtPresetVal,
                      .openData = "1",
                      .maxPerCh = 2,
                      .maxBase = 1,
                      .minPerCh = 2,
                      .minBase = 0,
                      .limit = 2147483647};
}

void frmIY8::showSettingsExtra(const CardRecord&) {
    for (QLineEdit* b : txtPresetVal) setBoxText(b, "");
}

void frmIY8::ShowChDataIO(int slot) { ShowIy8Cells(slot); }
void frmIY8::setOverViewDataIO(int slot) { FillIy8Row(slot); }

}  // namespace talvo::screens
