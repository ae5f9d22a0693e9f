#include "screens/pulse_out/frmVU32.h"

#include "core/Colors.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

frmVU32::frmVU32(QWidget* parent) : CardScreen("K6-VU32", parent) {
    headerInFrame(240, 120, 9375, 6780);
    auto* fraCh1 = new QGroupBox(body());
    fraCh1->setObjectName("fraCh1");
    placeTwips(fraCh1, 480, 1440, 8655, 2955);
    newLabel(fraCh1, "Value", 480, 360, 1095);
    txtParData01 = newLockedBox(fraCh1);
    txtParData02 = newLockedBox(fraCh1);
    txtParData01->setObjectName("txtParData01");
    txtParData02->setObjectName("txtParData02");
    for (QLineEdit* b : {txtParData01, txtParData02}) ui::setBackColor(b, colors::SysMenu);
    placeTwips(txtParData01, 480, 720, 1095, 420);
    placeTwips(txtParData02, 480, 1320, 1095, 420);

    struct Column {
        const char* heading;
        const char* zero;
        const char* one;
        int x;
    };
    const Column columns[] = {
        {"Data Logic", "0:Close", "1:Open", 3000},
        {"Strobe Logic", "0:Close", "1:Open", 4560},
        {"Data Exchange", "0:Little", "1:Big", 6240},
    };
    for (const Column& c : columns) {
        newLabel(fraCh1, c.heading, c.x, 360, 1500);
        newLabel(fraCh1, c.zero, c.x + 120, 600, 1200, Qt::AlignLeft, 240);
        newLabel(fraCh1, c.one, c.x + 120, 840, 1200, Qt::AlignLeft, 240);
        // No key filter: whatever the box holds is sent as it stands.
        QLineEdit* b = newSettingBox(fraCh1, nullptr);
        b->setObjectName(QString("txtDataPara%1").arg(txtDataPara.size() + 1));
        placeTwips(b, c.x, 1080, 1095, 345);
        txtDataPara.push_back(b);
    }
    // Inside the model frame, under the settings.
    placeTwips(cmdUp, 2640, 6120, 1575, 495);
    placeTwips(cmdDown, 5160, 6120, 1575, 495);
    cmdUp->raise();
    cmdDown->raise();

    // Items 15, 16, 17 into Param(1..3), one setting per box; an empty box is
    // not sent and gets the stored text back.
    settings_ = {{.boxes = txtDataPara, .group = "01", .item = {1, 14}, .param = {1, 0},
                  .channelNames = {columns[0].heading, columns[1].heading, columns[2].heading}}};
    passes_ = {{.openGroup = "01", .settings = {0}}};
    live_ = {.boxes = {txtParData01, txtParData02}, .items = ItemRange(10, 2), .pauseMs = 10};
}

// The bar stands still until the transfer is done.
void frmVU32::uploadExtra(Transfer& t) { t.step(12); }
void frmVU32::downloadExtra(Transfer& t) { t.step(12); }

}  // namespace talvo::screens
