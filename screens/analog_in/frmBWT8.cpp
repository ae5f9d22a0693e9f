#include "screens/analog_in/frmBWT8.h"

#include "screens/analog_in/TemperatureScreen.h"

#include <QLabel>

#include "core/Colors.h"
#include "core/KeyFilters.h"
#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {

// Column offsets within a half of the grid, in twips.
constexpr int kRowLabel = 0, kValueType = 270, kUnused = 1440, kScale = 1920, kAdjust = 2760, kBase = 3600,
              kLineR = 4440;
constexpr int kTypeWidth = 960, kPairWidth = 780, kLineRWidth = 840;
constexpr int kBoxHeight = 345, kFirstRow = 720, kRowPitch = 900, kLower = 390;

}  // namespace

frmBWT8::frmBWT8(QWidget* parent) : CardScreen("K6-BWT8", parent) {
    newLabel(body(), "Burnout", 60, 60, 780);
    txtBurnout = newLockedBox(body());
    placeTwips(txtBurnout, 900, 30, 1200, kBoxHeight);
    newLabel(body(), "Unit", 2400, 60, 480);
    txtUnit = newLockedBox(body());
    placeTwips(txtUnit, 2940, 30, 1080, kBoxHeight);

    auto* fraCh1 = new QWidget(body());
    fraCh1->setObjectName("fraCh1");
    placeTwips(fraCh1, 0, 420, 9280, 5280);
    layoutHalf(1, 60, true);
    layoutHalf(5, 5460, false);

    settings_ = EightChannelSettings({txtZScale, txtFScale, txtBias, txtGain, txtZBase, txtFBase, txtEnable});
    // An empty lead-wire text is not sent: the card cannot answer an empty
    // value, and the download would end as failed on it.
    settings_.push_back({.boxes = txtLineR, .group = "03", .item = {1, 39}, .param = {1, 48}, .name = "Leadwire Resistance"});
    passes_ = EightChannelPasses();
    passes_.push_back({.openGroup = "03", .settings = {kEightChannelSettings}});  // the bar stays at 12
    live_ = {.boxes = txtParData, .items = ItemRange(10, 8), .pauseMs = 50};
}

void frmBWT8::layoutHalf(int firstCh, int left, bool withBases) {
    QWidget* f = body()->findChild<QWidget*>("fraCh1");
    newLabel(f, "Zero/Full", left + kScale, 60, kAdjust + kPairWidth - kScale, Qt::AlignHCenter);
    newLabel(f, "Value/Type", left + kValueType - 120, 360, kTypeWidth + 240, Qt::AlignHCenter);
    newLabel(f, "Unused", left + kUnused - 240, 360, 840, Qt::AlignHCenter);
    newLabel(f, "Scale", left + kScale, 360, kPairWidth, Qt::AlignHCenter);
    newLabel(f, "Adjust", left + kAdjust, 360, kPairWidth, Qt::AlignHCenter);
    if (withBases) {
        newLabel(f, "Base", left + kBase, 360, kPairWidth, Qt::AlignHCenter);
        newLabel(f, "Leadwire", left + kLineR - 60, 60, kLineRWidth + 120, Qt::AlignHCenter);
        newLabel(f, "Resistance", left + kLineR - 60, 360, kLineRWidth + 120, Qt::AlignHCenter);
    }
    const auto put = [](QLineEdit* b, int x, int y, int w) {
        placeTwips(b, x, y, w, kBoxHeight);
        return b;
    };
    for (int i = 0; i < 4; ++i) {
        const int ch = firstCh + i, top = kFirstRow + i * kRowPitch;
        newLabel(f, QString::number(ch), left + kRowLabel, top + 195, 240, Qt::AlignHCenter);
        txtParData.push_back(put(newLockedBox(f), left + kValueType, top, kTypeWidth));
        txtParData.back()->setObjectName(QString::asprintf("txtParData%02d", ch));
        txtInputType.push_back(put(newLockedBox(f), left + kValueType, top + kLower, kTypeWidth));
        txtEnable.push_back(put(new QLineEdit(f), left + kUnused, top + kLower / 2, 360));
        txtZScale.push_back(put(newSettingBox(f, FilterKeySignedInteger), left + kScale, top, kPairWidth));
        txtFScale.push_back(put(newSettingBox(f, FilterKeySignedInteger), left + kScale, top + kLower, kPairWidth));
        txtBias.push_back(put(newSettingBox(f, FilterKeySignedDecimal), left + kAdjust, top, kPairWidth));
        txtGain.push_back(put(newSettingBox(f, FilterKeySignedDecimal), left + kAdjust, top + kLower, kPairWidth));
        if (!withBases) continue;
        txtZBase.push_back(put(newSettingBox(f, FilterKeySignedDecimal, 7), left + kBase, top, kPairWidth));
        txtFBase.push_back(put(newSettingBox(f, FilterKeySignedDecimal, 7), left + kBase, top + kLower, kPairWidth));
        txtLineR.push_back(put(newSettingBox(f, FilterKeyUnsignedDecimal), left + kLineR, top + kLower / 2, kLineRWidth));
    }
}

void frmBWT8::openerReads(int) {
    for (int ch = 1; ch <= 8; ++ch) {
        const std::size_t i = static_cast<std::size_t>(ch - 1);
        // Channels 5 to 8 have no module of their choice.
        if (ch > 4) {
            setBoxText(txtInputType[i], "0-10V DC");
            continue;
        }
        // A module the card did not name (refused or unanswered) is no voltage
        // module: the input type shows none and its boxes stay as they were.
        const std::string reply = ReadItem(3, "00", std::to_string(54 + ch));
        if (reply.empty() || IsRefusal(reply)) {
            setBoxText(txtInputType[i], "");
            continue;
        }
        const bool pt1000 = TextAfterColon(reply).rfind("UB", 0) == 0;
        setBoxText(txtInputType[i], pt1000 ? "Pt1000" : "0-10V DC");
        for (QLineEdit* b : {txtZBase[i], txtFBase[i], txtLineR[i]}) {
            ui::setBackColor(b, pt1000 ? colors::SysWindow : colors::SysButtonFace);
            b->setReadOnly(!pt1000);
        }
    }
    setBoxText(txtBurnout, ShownValue(ReadItem(3, "00", "59")));
    setBoxText(txtUnit, ShownValue(ReadItem(3, "00", "60")));
}

}  // namespace talvo::screens
