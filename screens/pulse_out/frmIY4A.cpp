#include "screens/pulse_out/frmIY4A.h"

#include "core/Colors.h"
#include "core/TextHelpers.h"
#include "screens/skeleton/CardCounters.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {
enum { kMin, kMax, kEdge, kThresh, kDivide };
enum { kWithDivide, kWithoutDivide };
}  // namespace

bool VersionAtLeast(const std::string& version, int at) {
    const std::string v = TrimBlanks(RemoveDecimalPoint(version));
    return CompareDigitTexts(LeadingDigits(v), std::to_string(at)) >= 0;
}

frmIY4A::frmIY4A(QWidget* parent) : CardScreen("K6-IY4A", parent) {
    CheckClear = new QCheckBox(QStringLiteral("Clear"), this);
    CheckClear->setObjectName("CheckClear");
    placeTwips(CheckClear, 7800, 150, 1200, 315);
    struct Column {
        const char* heading;
        const char* second;
        int x, width;
    };
    const Column columns[] = {
        {"Value_H(Hex)", "", 120, 1320}, {"Value_L(Hex)", "", 1560, 1320}, {"Max.", "", 3000, 1200},
        {"Min.", "", 4320, 600},         {"Dividing Ratio", "", 5040, 1320}, {"Edge", "0:UP/1:DOWN", 6480, 1200},
        {"Th. Adjust", "", 7800, 1200},
    };
    for (int ch = 1; ch <= 4; ++ch) {
        auto* f = new QGroupBox(QString("Ch. %1").arg(ch), body());
        f->setObjectName(QString("fraCh%1").arg(ch));
        const int top = ch == 1 ? 0 : 1740 + (ch - 2) * 1300, height = ch == 1 ? 1680 : 1240;
        placeTwips(f, 60, top, 9160, height);
        // Below the frame's caption line: the headings, then the boxes.
        const int y = ch == 1 ? 840 : 300;
        if (ch == 1)
            for (const Column& c : columns) {
                newLabel(f, c.heading, c.x, 300, c.width, Qt::AlignHCenter, 240);
                if (*c.second) newLabel(f, c.second, c.x, 540, c.width, Qt::AlignHCenter, 240);
            }
        std::vector<QLineEdit*> live;
        for (int i = 0; i < 3; ++i) {
            live.push_back(newLockedBox(f));
            ui::setBackColor(live.back(), colors::SysMenu);
            live.back()->setObjectName(QString("txtParData%1_%2").arg(ch, 2, 10, QChar('0')).arg(i + 1));
        }
        placeTwips(live[1], columns[0].x, y, columns[0].width, 330);  // Value_H
        placeTwips(live[0], columns[1].x, y, columns[1].width, 330);  // Value_L
        placeTwips(live[2], columns[0].x, y + 420, columns[0].width + columns[1].width + 120, 330);
        txtParData.push_back(live);
        const auto setting = [&](std::vector<QLineEdit*>& boxes, const Column& c) {
            // No key filter: whatever a box holds is sent as it stands.
            boxes.push_back(newSettingBox(f, nullptr));
            placeTwips(boxes.back(), c.x, y, c.width, 330);
        };
        setting(txtMax, columns[2]);
        setting(txtMin, columns[3]);
        setting(txtDivide, columns[4]);
        setting(txtEdge, columns[5]);
        setting(txtThresh, columns[6]);
    }
    addCounterButtons(false);

    // Param(b + n) with b = 5 * (ch - 1): {5, n - 5}. The dividing ratio is not
    // on cards before version value 5.
    const auto slot = [](int n) { return PerChannel{5, n - 5}; };
    settings_.resize(5);
    settings_[kMin] = {.boxes = txtMin, .group = "01", .item = {2, 12}, .param = slot(1), .name = "Min."};
    settings_[kMax] = {.boxes = txtMax, .group = "01", .item = {2, 13}, .param = slot(2), .name = "Max."};
    settings_[kEdge] = {.boxes = txtEdge, .group = "01", .item = {1, 29}, .param = slot(3), .name = "Edge"};
    settings_[kThresh] = {.boxes = txtThresh, .group = "01", .item = {1, 25}, .param = slot(4), .name = "Th. Adjust"};
    settings_[kDivide] = {.boxes = txtDivide, .group = {"01", kNotOnCard}, .item = {1, 57}, .param = slot(5),
                          .name = "Dividing Ratio"};
    // Two variants, with and without the dividing ratio: the version tells
    // which (shownVariant), not the model, and while it is not known the
    // ratio is left alone (variantKnown).
    variants_ = {{}, {}};
    passes_ = {{.openGroup = "01",
                .settings = {kMin, kMax, kEdge, kThresh, kDivide},
                .progressAfter = [](int ch) { return 2 * ch; }}};
    std::vector<QLineEdit*> boxes;
    for (const auto& ch : txtParData) boxes.insert(boxes.end(), {ch[0], ch[1]});
    for (const auto& ch : txtParData) boxes.push_back(ch[2]);
    live_ = {.boxes = boxes, .items = {"10", "11", "12", "13", "14", "15", "16", "17", "57", "58", "59", "60"},
             .pauseMs = 50};
    counterClear_ = {.group = "01", .items = {"09"}, .data = "1"};
    cycleMs_ = 1000;
    stopWhenDeactivated_ = true;
}

bool frmIY4A::IsVer5OrLater() const { return VersionAtLeast(boxText(txtVerNo), 5); }
bool frmIY4A::IsVer10OrLater() const { return VersionAtLeast(boxText(txtVerNo), 10); }
int frmIY4A::shownVariant() const { return IsVer5OrLater() ? kWithDivide : kWithoutDivide; }
// The version box is empty when the card refused the version or left it unanswered.
bool frmIY4A::variantKnown() const { return !boxText(txtVerNo).empty(); }

void frmIY4A::showDivideState() {
    const bool on = IsVer5OrLater();
    for (QLineEdit* b : txtDivide) {
        b->setEnabled(on);
        ui::setBackColor(b, on ? colors::SysWindow : colors::SysButtonFace);
    }
}

void frmIY4A::showSettingsExtra(const CardRecord&) {
    showDivideState();
    // A card known to lack the dividing ratio shows "0" for it; with the version
    // not known the boxes keep the record's texts (neither "0" nor emptied).
    if (variantKnown() && !IsVer5OrLater())
        for (QLineEdit* b : txtDivide) setBoxText(b, "0");
    // Before version value 10 every download clears the counters.
    CheckClear->setChecked(true);
    const bool choice = IsVer10OrLater();
    CheckClear->setEnabled(choice);
    ui::setBackColor(CheckClear, choice ? colors::SysWindow : colors::SysButtonFace);
}

void frmIY4A::uploadExtra(Transfer& t) {
    showDivideState();
    // With the version not known the dividing ratios were not read: boxes and
    // record stay as they were.
    if (IsVer5OrLater() || !variantKnown()) return;
    // A card without the dividing ratio shows and keeps "0" for it.
    for (int ch = 1; ch <= 4; ++ch) {
        setBoxText(txtDivide[static_cast<std::size_t>(ch - 1)], "0");
        t.record().Param.set(5 * ch, "0");
    }
}

void frmIY4A::downloadExtra(Transfer& t) {
    if (CheckClear->isChecked()) runCounterClear(t);
}

}  // namespace talvo::screens
