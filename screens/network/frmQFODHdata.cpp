#include "screens/network/frmQFODHdata.h"

#include <QGroupBox>
#include <QLabel>
#include <vector>

#include "core/Colors.h"
#include "core/Globals.h"
#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/DialogBoxes.h"
#include "ui/Geometry.h"

namespace talvo::network {

using ui::placeTwips;

int GatewaySlotIndex(const std::string& name) {
    std::string digits;
    if (name.size() == 9)
        digits = name.substr(7, 1);
    else if (name.size() == 10)
        digits = name.substr(7, 2);
    else
        return 1;
    return static_cast<int>(DigitsValue(digits).value_or(0));
}

int LayoutChannelCount(const std::string& field) {
    const auto v = DigitsValue(field, 2);
    return v && *v <= 16 ? static_cast<int>(*v) : 0;
}

frmQFODHdata::frmQFODHdata(QWidget* parent) : screens::CardScreen("QFODH", parent) {
    setObjectName("frmQFODHdata");
    cmdUp->hide();
    cmdDown->hide();
    stopWhenDeactivated_ = true;
    QWidget* b = body();

    auto* settings = new QGroupBox("I/O card settings", b);
    placeTwips(settings, 120, 60, 5400, 900);
    screens::newLabel(settings, "I/O card type", 180, 360, 1300);
    cardType = screens::newLockedBox(settings);
    cardType->setObjectName("cardType");
    ui::MakeDisplayOnly(cardType);
    placeTwips(cardType, 1500, 330, 900, 360);
    screens::newLabel(settings, "Channel No.", 2700, 360, 1200);
    ChNo = screens::newLockedBox(settings);
    ChNo->setObjectName("ChNo");
    ui::MakeDisplayOnly(ChNo);
    placeTwips(ChNo, 3960, 330, 900, 360);

    auto* monitor = new QGroupBox("monitor", b);
    placeTwips(monitor, 120, 1080, 9000, 4500);
    txtTitle = screens::newLabel(monitor, "Input Value", 900, 300, 3000);
    txtTitle->setObjectName("txtTitle");
    for (int c = 1; c <= 16; ++c) {
        const int col = (c - 1) / 8;
        const int row = (c - 1) % 8;
        const int x = 240 + col * 4320;
        const int y = 720 + row * 450;
        screens::newLabel(monitor, QString::number(c), x, y, 540, Qt::AlignRight)->setObjectName(QString("hexIdx_%1").arg(c));
        QLineEdit* box = screens::newLockedBox(monitor);
        box->setObjectName(QString("txtData_%1").arg(c));
        placeTwips(box, x + 660, y - 15, 2400, 360);
        txtData[static_cast<std::size_t>(c - 1)] = box;
    }
}

void frmQFODHdata::SetScaleMinMax(const std::string& typeCode) {
    const int slot = cardSlot();
    const int n = GatewaySlotIndex(screens::boxText(txtCardType));
    // A card that could not be selected is not read: nothing more of the entry
    // is sent, and the lost link is told.
    if (!SelectCard(slot) && G().Connected) screens::ReportLostLink();
    WriteItem(3, "17", "01", "1");
    const std::vector<std::string> fields = SplitAtCommas(TextAfterColon(ReadItem(3, "17", std::to_string(59 + n))));
    const std::string type = fields[0];
    const std::string count = fields.size() > 1 ? fields[1] : std::string();
    if (type == "1" || type == "3") txtTitle->setText("Input Value");
    if (type == "2" || type == "4") txtTitle->setText("Output Value");
    static const char* const kKinds[] = {"AI", "AO", "DI", "DO"};
    if (type.size() == 1 && type[0] >= '1' && type[0] <= '4') screens::setBoxText(cardType, kKinds[type[0] - '1']);
    screens::setBoxText(ChNo, count);
    // A count that is no whole number up to the 16 boxes reads nothing.
    channels_ = LayoutChannelCount(count);
    live_ = {};
    for (int c = 1; c <= 16; ++c) {
        QLineEdit* box = txtData[static_cast<std::size_t>(c - 1)];
        ui::setBackColor(box, c <= channels_ ? colors::SysWindow : colors::SysButtonFace);
        box->clear();
        if (c <= channels_) {
            live_.boxes.push_back(box);
            live_.items.push_back(std::to_string(9 + c));
        }
    }
    live_.pauseMs = 10;
    live_.removeDecimalPoint = false;
    live_.boxByBox = true;
    CardScreen::SetScaleMinMax(typeCode);
}

}  // namespace talvo::network
