#include "screens/pulse_out/frmLQN8.h"

#include "core/Colors.h"
#include "core/KeyFilters.h"
#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {
constexpr const char* kVoltage = "0-10V DC";
constexpr const char* kCurrent = "4-20mA";
}  // namespace

std::string frmLQN8::OutputTypeOf(const std::string& code) { return code.rfind("LQ", 0) == 0 ? kVoltage : kCurrent; }

frmLQN8::frmLQN8(QWidget* parent) : CardScreen("K6-LQN8", parent) {
    auto* fraCh1 = new QGroupBox(body());
    fraCh1->setObjectName("fraCh1");
    placeTwips(fraCh1, 60, 60, 9160, 5100);
    for (int ch = 1; ch <= 8; ++ch) {
        txtZScale.push_back(newSettingBox(fraCh1, FilterKeySignedInteger));
        txtFScale.push_back(newSettingBox(fraCh1, FilterKeySignedInteger));
        txtBias.push_back(newSettingBox(fraCh1, FilterKeySignedDecimal));
        txtGain.push_back(newSettingBox(fraCh1, FilterKeySignedDecimal));
        txtEnable.push_back(newSettingBox(fraCh1, FilterKeyBinary, 1));
        txtParData.push_back(newLockedBox(fraCh1));
        txtParData.back()->setObjectName(QString::asprintf("txtParData%02d", ch));
        outPutType.push_back(newLockedBox(fraCh1));
        outPutType.back()->setObjectName(QString("outPutType%1").arg(ch));
        if (ch > 4) ui::setBackColor(outPutType.back(), colors::SysButtonFace);
    }
    for (int column = 0; column < 2; ++column) {
        const int left = 120 + column * 4560;
        const int scaleX = left + 360, adjustX = left + 1440, unusedX = left + 2640, valueX = left + 3240;
        newLabel(fraCh1, "Zero/Full", scaleX, 180, 2040, Qt::AlignHCenter, 240);
        newLabel(fraCh1, "Scale", scaleX, 420, 1020, Qt::AlignHCenter, 240);
        newLabel(fraCh1, "Adjust", adjustX, 420, 1020, Qt::AlignHCenter, 240);
        newLabel(fraCh1, "Unused", unusedX - 120, 420, 720, Qt::AlignHCenter, 240);
        newLabel(fraCh1, "Value", valueX, 420, 1200, Qt::AlignHCenter, 240);
        for (int row = 0; row < 4; ++row) {
            const int ch = 4 * column + row + 1, y = 720 + row * 1080;
            const std::size_t i = static_cast<std::size_t>(ch - 1);
            newLabel(fraCh1, QString::number(ch), left, y + 200, 300, Qt::AlignHCenter);
            placeTwips(txtZScale[i], scaleX, y, 1020, 330);
            placeTwips(txtFScale[i], scaleX, y + 420, 1020, 330);
            placeTwips(txtBias[i], adjustX, y, 1020, 330);
            placeTwips(txtGain[i], adjustX, y + 420, 1020, 330);
            placeTwips(txtEnable[i], unusedX, y + 200, 420, 330);
            placeTwips(txtParData[i], valueX, y, 1200, 330);
            placeTwips(outPutType[i], valueX, y + 420, 1200, 330);
        }
    }

    // Param(p + n) with p = 5 * (ch - 1): {5, n - 5}; Param(p + 5) is the output type.
    const auto slot = [](int n) { return PerChannel{5, n - 5}; };
    enum { ZScale, FScale, Bias, Gain, Enable };
    settings_ = {
        {.boxes = txtZScale, .group = "01", .item = {2, 40}, .param = slot(1), .accept = Accept::Integer, .name = "Zero Scale"},
        {.boxes = txtFScale, .group = "01", .item = {2, 41}, .param = slot(2), .accept = Accept::Integer, .name = "Full Scale"},
        {.boxes = txtBias, .group = "01", .item = {2, 8}, .param = slot(3), .accept = Accept::Decimal, .name = "Zero Adjust"},
        {.boxes = txtGain, .group = "01", .item = {2, 9}, .param = slot(4), .accept = Accept::Decimal, .name = "Full Adjust"},
        {.boxes = txtEnable, .group = "02", .item = {1, 41}, .accept = Accept::Bit, .flag = {.unused = true}},
    };
    passes_ = {
        {.openGroup = "01", .settings = {ZScale, FScale, Bias, Gain}, .progressAfter = [](int ch) { return ch; }},
        {.openGroup = "02", .settings = {Enable}, .progressAfter = [](int ch) { return ch / 2 + 8; }},
    };
    live_ = {.boxes = txtParData, .items = ItemRange(10, 8), .pauseMs = 10};
    stopWhenDeactivated_ = true;
}

void frmLQN8::showSettingsExtra(const CardRecord& rec) {
    for (int ch = 1; ch <= 8; ++ch) {
        QLineEdit* box = outPutType[static_cast<std::size_t>(ch - 1)];
        setBoxText(box, rec.Param[5 * ch]);
        DrawHeld(box, held("outputType", ch, rec.Param[5 * ch]));
    }
}

void frmLQN8::uploadExtra(Transfer& t) {
    // The module codes only label the output types: a code that does not come
    // fails nothing. Nor is it taken for a current output: the label and the
    // record keep what they held, drawn as not read.
    for (int ch = 1; ch <= 8; ++ch) {
        QLineEdit* box = outPutType[static_cast<std::size_t>(ch - 1)];
        std::string type = kVoltage;
        if (ch <= 4) {
            const std::string reply = ReadItem(3, "00", std::to_string(ch + 54));
            if (reply.empty() || IsRefusal(reply)) {
                setHeld("outputType", ch, box, Held::Refused);
                continue;
            }
            type = OutputTypeOf(TextAfterColon(reply));
        }
        setHeld("outputType", ch, box, Held::Value);
        setBoxText(box, type);
        t.record().Param.set(5 * ch, type);
    }
}

void frmLQN8::downloadExtra(Transfer& t) {
    for (int ch = 1; ch <= 8; ++ch) {
        const std::string type = boxText(outPutType[static_cast<std::size_t>(ch - 1)]);
        t.record().Param.set(5 * ch, type == kVoltage || type == kCurrent ? type : "");
    }
}

}  // namespace talvo::screens
