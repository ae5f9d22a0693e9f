#include "screens/network/frmQx.h"

#include <QLabel>

#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::network {

using ui::placeTwips;

int QxRowBase(const std::string& typeCode) {
    const char k = typeCode.empty() ? '0' : typeCode.back();
    return k >= '1' && k <= '8' ? 16 * (k - '1') : 0;
}

frmQx::frmQx(QWidget* parent) : screens::CardScreen("Qx", parent) {
    setObjectName("frmQx");
    cmdUp->hide();
    cmdDown->hide();
    QWidget* b = body();
    screens::newLabel(b, "Input Value", 1500, 60, 2400, Qt::AlignHCenter);
    screens::newLabel(b, "Output Value", 4200, 60, 2400, Qt::AlignHCenter);
    for (int i = 0; i < 16; ++i) {
        const int y = 420 + i * 330;
        hexIdx[static_cast<std::size_t>(i)] = screens::newLabel(b, "", 360, y, 900, Qt::AlignRight);
        hexIdx[static_cast<std::size_t>(i)]->setObjectName(QString("hexIdx_%1").arg(i));
        QLineEdit* in = screens::newLockedBox(b);
        in->setObjectName(QString("txtParInData_%1").arg(i + 1));
        placeTwips(in, 1500, y - 15, 2400, 315);
        QLineEdit* out = screens::newLockedBox(b);
        out->setObjectName(QString("txtParOutData_%1").arg(i + 1));
        placeTwips(out, 4200, y - 15, 2400, 315);
        txtParInData[static_cast<std::size_t>(i)] = in;
        txtParOutData[static_cast<std::size_t>(i)] = out;
    }
    live_.boxes.assign(txtParInData.begin(), txtParInData.end());
    live_.pairBoxes.assign(txtParOutData.begin(), txtParOutData.end());
    live_.items = screens::ItemRange(10, 16);
    live_.pauseMs = 10;
    live_.removeDecimalPoint = true;
    live_.boxByBox = true;
}

void frmQx::SetHexIndex(const std::string& typeCode) {
    const int base = QxRowBase(typeCode);
    for (int i = 0; i < 16; ++i) hexIdx[static_cast<std::size_t>(i)]->setText(QString("+%1").arg(base + i));
}

void frmQx::SetScaleMinMax(const std::string& typeCode) {
    SetHexIndex(typeCode);
    CardScreen::SetScaleMinMax(typeCode);
}

}  // namespace talvo::network
