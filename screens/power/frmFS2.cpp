#include "screens/power/frmFS2.h"

#include <QGroupBox>
#include <iterator>
#include <utility>

#include "core/Globals.h"
#include "core/MainView.h"
#include "core/TextHelpers.h"
#include "screens/skeleton/TextBoxes.h"
#include "screens/power/PowerCardScreen.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {

constexpr int kRowPitch = 320, kBoxHeight = 300;

// Keeps a box to its rule while the user edits it: each edit goes through the
// rule with the text the box held before it, and the box shows the result. Text
// the program puts in (an upload, the record) stands as it is.
class EntryCheck : public QObject {
public:
    using Rule = std::function<std::string(const std::string& text, const std::string& saved)>;
    EntryCheck(QLineEdit* box, Rule rule) : QObject(box), box_(box), rule_(std::move(rule)), saved_(boxText(box)) {
        // The edit is reported before the change, so saved_ still holds the text before it.
        connect(box, &QLineEdit::textEdited, this, [this] { edited(); });
        connect(box, &QLineEdit::textChanged, this, [this] { saved_ = boxText(box_); });
    }

private:
    void edited() {
        const std::string text = boxText(box_);
        const std::string result = rule_(text, saved_);
        if (result != text) setBoxText(box_, result);
    }
    QLineEdit* box_;
    Rule rule_;
    std::string saved_;  // one for each box
};

EntryCheck::Rule numberRule(const NumberRule& r) {
    return [r](const std::string& text, const std::string& saved) { return NormalizeNumberText(text, saved, r); };
}

std::function<bool(const std::string&)> completeNumber(const NumberRule& r) {
    return [r](const std::string& text) { return IsCompleteNumber(text, r); };
}

QLineEdit* numberBox(QWidget* parent, const NumberRule& r) {
    QLineEdit* b = newSettingBox(parent, r.isSigned ? FilterKeyNumeric : FilterKeyUnsignedNumeric);
    new EntryCheck(b, numberRule(r));
    return b;
}

void put(QWidget* w, int left, int top, int width) { placeTwips(w, left, top, width, kBoxHeight); }

}  // namespace

frmFS2::frmFS2(QWidget* parent) : CardScreen("FS2", parent) {
    // A taller frame than the skeleton's: seventeen rows a side.
    placeTwips(fraSetModel, 120, 540, 9400, 6180);
    placeTwips(body(), 60, 260, 9280, 5880);

    struct Row {
        PerCh* boxes;
        NumberRule rule;
    };
    const Row perChannel[] = {
        {&txtZScale, kFlowScaleRule},       {&txtFScale, kFlowScaleRule},   {&txtBias, kFlowBiasRule},
        {&txtGain, kFlowGainRule},          {&txtKCool, kSpecificHeatRule}, {&txtKHeat, kSpecificHeatRule},
        {&txtFlowCut, kFlowCutRule},        {&txtTempCut, kTempCutRule},    {&txtHys, kTempCutRule},
        {&txtSuppTempAdj, kTempAdjustRule}, {&txtAmbTempAdj, kTempAdjustRule},
    };
    for (const Row& r : perChannel)
        for (std::size_t ch = 1; ch <= 2; ++ch) (*r.boxes)[ch] = numberBox(body(), r.rule);
    txtCoff = numberBox(body(), kCoefficientRule);
    txtEnable[2] = newSettingBox(body(), FilterKeyUnsignedNumeric);
    new EntryCheck(txtEnable[2], [](const std::string& text, const std::string& saved) {
        return IsEnableText(text) ? text : saved;
    });
    txtTemp2 = newReadOnlyBox(body());
    txtBurnout = newReadOnlyBox(body());
    txtConvSpeed = newReadOnlyBox(body());

    for (PerCh* live : {&txtSuppTemp, &txtAmbTemp, &txtFlowVal, &txtFlowUnit, &txtCalVal, &txtCalUnit, &txtTotalCFlow,
                        &txtTotalCCal, &txtTotalHFlow, &txtTotalHCal, &txtCalState, &txtHCmode, &txtRTD})
        for (std::size_t ch = 1; ch <= 2; ++ch) (*live)[ch] = newReadOnlyBox(body());
    for (std::size_t ch = 1; ch <= 2; ++ch) {
        txtTotalCFlowp[ch] = numberBox(body(), kPresetRule);
        txtTotalHFlowp[ch] = numberBox(body(), kPresetRule);
        // A heat total's preset follows the heat-rate unit its channel shows.
        const int c = static_cast<int>(ch);
        const EntryCheck::Rule heat = [this, c](const std::string& text, const std::string& saved) {
            NumberRule r;
            return heatRule(c, r) ? NormalizeNumberText(text, saved, r) : std::string();
        };
        for (PerCh* p : {&txtTotalCCalp, &txtTotalHCalp}) {
            (*p)[ch] = newSettingBox(body(), FilterKeyUnsignedNumeric);
            new EntryCheck((*p)[ch], heat);
        }
    }

    // Channel ch keeps its eleven settings in Param(12ch - 11) to Param(12ch - 1),
    // in the order they are read. A download sends only a complete number within
    // the box's rule; any other text counts as an empty box.
    // Each named by its caption on the screen, its channels by their headings.
    const auto perCh = [](const PerCh& b, const char* group, PerChannel item, int k, const NumberRule& r,
                          const char* name) {
        return Setting{.boxes = {b[1], b[2]}, .group = group, .item = item, .param = {12, k - 12},
                       .check = {.accepts = completeNumber(r)},
                       .channelNames = {std::string(name) + " CH 1", std::string(name) + " CH 2"}};
    };
    settings_ = {
        perCh(txtZScale, "01", {2, 14}, 1, kFlowScaleRule, "Flow Zscale"),
        perCh(txtFScale, "01", {2, 15}, 2, kFlowScaleRule, "Flow Fscale"),
        perCh(txtBias, "01", {2, 8}, 3, kFlowBiasRule, "Flow Bias"),
        perCh(txtGain, "01", {2, 9}, 4, kFlowGainRule, "Flow Gain"),
        perCh(txtKCool, "02", {2, 8}, 5, kSpecificHeatRule, "Specific Heat Cooling"),
        perCh(txtKHeat, "02", {2, 9}, 6, kSpecificHeatRule, "Specific Heat Heating"),
        perCh(txtFlowCut, "02", {1, 13}, 7, kFlowCutRule, "Flow Low Cut"),
        perCh(txtTempCut, "02", {1, 15}, 8, kTempCutRule, "Temp Low Cut"),
        perCh(txtHys, "02", {1, 17}, 9, kTempCutRule, "Hysteresis"),
        perCh(txtSuppTempAdj, "02", {2, 18}, 10, kTempAdjustRule, "Adj.Supply"),
        perCh(txtAmbTempAdj, "02", {2, 19}, 11, kTempAdjustRule, "Adj.Ambient"),
        {.boxes = {txtEnable[2]}, .group = "02", .item = {0, 43}, .param = {0, 24}, .accept = Accept::Bit,
         .name = "CH2 Disable"},
        {.boxes = {txtCoff}, .group = "00", .item = {0, 56}, .param = {0, 25},
         .check = {.accepts = completeNumber(kCoefficientRule)}, .name = "Coefficient Cal."},
    };
    enum { Enable = 11, Coefficient = 12 };
    passes_ = {
        // A download also sends "1" to item "01" of group "00" first.
        {.openGroup = "00", .downloadOnly = true},
        {.openGroup = "01"},
        {.openGroup = "02", .settings = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, .progressAfter = [](int ch) { return ch; }},
        {.settings = {Enable}},
        {.settings = {Coefficient}},
    };

    // The live panel, read, emptied and filled channel by channel in this order.
    // The card's answers are shown as they come; only the flow and heat values
    // lose their decimal point. An unanswered item leaves its box empty.
    live_ = {.pauseMs = 100, .quiet = true};
    const std::pair<PerCh*, int> liveOrder[] = {
        {&txtFlowVal, 12},    {&txtFlowUnit, 61},  {&txtCalVal, 13},      {&txtCalUnit, 63},   {&txtCalState, 27},
        {&txtHCmode, 28},     {&txtRTD, 65},       {&txtSuppTemp, 10},    {&txtAmbTemp, 11},   {&txtTotalCFlow, 14},
        {&txtTotalCCal, 15},  {&txtTotalHFlow, 16}, {&txtTotalHCal, 17},
    };
    const int ch2Item[] = {20, 62, 21, 64, 29, 30, 66, 18, 19, 22, 23, 24, 25};
    for (std::size_t ch = 1; ch <= 2; ++ch) {
        for (std::size_t i = 0; i < std::size(liveOrder); ++i) {
            const auto& [boxes, item1] = liveOrder[i];
            live_.boxes.push_back((*boxes)[ch]);
            live_.items.push_back(std::to_string(ch == 1 ? item1 : ch2Item[i]));
            live_.removePoint.push_back(boxes == &txtFlowVal || boxes == &txtCalVal);
        }
    }

    cmdPreset = new QPushButton(QStringLiteral("Preset"), this);
    connect(cmdPreset, &QPushButton::clicked, this, [this] { cmdPreset_Click(); });
    placeButtons(5000, 6840);
    cmdDown->setEnabled(false);  // until an upload, or a settings file, gives it something to send

    layoutLivePanel(body());
    layoutSettings(body());
}

void frmFS2::prepare(const std::string&) {
    // These show the card the last upload read; they are not in the record.
    for (QLineEdit* b : {txtTemp2, txtBurnout, txtConvSpeed}) b->clear();
}

void frmFS2::showSettingsExtra(const CardRecord&) {
    if (G().FileLoaded) cmdDown->setEnabled(true);
}

void frmFS2::uploadExtra(Transfer& t) {
    const std::pair<QLineEdit*, const char*> cardValues[] = {
        {txtTemp2, "71"}, {txtBurnout, "69"}, {txtConvSpeed, "70"}};
    for (const auto& [box, item] : cardValues) {
        const std::string reply = t.read("00", item);
        if (!t.ok()) return;
        setBoxText(box, ShownValue(reply));  // a refusal shows no value
    }
    cmdDown->setEnabled(true);
}

void frmFS2::downloadExtra(Transfer& t) {
    if (t.ok()) t.write("02", "01", "1");
}

void frmFS2::procCycDataRead() {
    CardScreen::procCycDataRead();
    for (std::size_t ch = 1; ch <= 2; ++ch) shownUnit_[ch] = boxText(txtCalUnit[ch]);
}

bool frmFS2::heatRule(int ch, NumberRule& rule) const {
    return ch >= 1 && ch <= 2 && HeatPresetRule(shownUnit_[static_cast<std::size_t>(ch)], rule);
}

void frmFS2::presetCount() {
    Transfer t(*this, "Downloading incomplete");
    if (!t.ok() || !t.select() || t.write("02", "01", "1").empty()) return;
    mainView().showProgress(12, "Downloading");
    struct Preset {
        QLineEdit* box;
        const char* item;
        bool heat;
        int ch;
    };
    const Preset presets[] = {
        {txtTotalCFlowp[1], "26", false, 1}, {txtTotalCFlowp[2], "28", false, 2},
        {txtTotalCCalp[1], "30", true, 1},   {txtTotalCCalp[2], "32", true, 2},
        {txtTotalHFlowp[1], "27", false, 1}, {txtTotalHFlowp[2], "29", false, 2},
        {txtTotalHCalp[1], "31", true, 1},   {txtTotalHCalp[2], "33", true, 2},
    };
    for (const Preset& p : presets)
        if (!WritePresetValue(t, p.box, p.item, p.heat, p.ch)) return;
}

bool frmFS2::WritePresetValue(Transfer& t, QLineEdit* box, const std::string& item, bool heat, int ch) {
    // A value typed with a bare point ("5.") is the number it shows ("5").
    const std::string text = CompletedNumberText(boxText(box));
    if (text.empty()) return true;
    // A heat total is checked again against the unit its channel shows now.
    NumberRule rule = kPresetRule;
    if ((heat && !heatRule(ch, rule)) || !IsCompleteNumber(text, rule)) {
        box->clear();
        return true;
    }
    const std::string reply = t.write("02", item, text);
    if (!t.ok()) return false;  // the box keeps what was typed
    setBoxText(box, TextAfterColon(reply));
    return true;
}

void frmFS2::layoutLivePanel(QWidget* f) {
    const int capX = 60, capW = 1680, ch1X = 1780, ch2X = 3140, boxW = 1300;
    newLabel(f, "CH 1", ch1X, 0, boxW, Qt::AlignHCenter);
    newLabel(f, "CH 2", ch2X, 0, boxW, Qt::AlignHCenter);
    const std::pair<const char*, PerCh*> rows[] = {
        {"Supply Temp", &txtSuppTemp},       {"Ambient Temp", &txtAmbTemp},      {"Flow Val", &txtFlowVal},
        {"Unit", &txtFlowUnit},              {"Cal. Val", &txtCalVal},           {"Unit", &txtCalUnit},
        {"Total Cooling Flow", &txtTotalCFlow}, {"Preset", &txtTotalCFlowp},     {"Total Cooling Cal.", &txtTotalCCal},
        {"Preset", &txtTotalCCalp},          {"Total Heating Flow", &txtTotalHFlow}, {"Preset", &txtTotalHFlowp},
        {"Total Heating Cal.", &txtTotalHCal}, {"Preset", &txtTotalHCalp},       {"Cal. State", &txtCalState},
        {"Conditioning State", &txtHCmode},  {"RTD Type", &txtRTD},
    };
    int y = 300;
    for (const auto& [caption, boxes] : rows) {
        newLabel(f, caption, capX, y, capW);
        put((*boxes)[1], ch1X, y, boxW);
        put((*boxes)[2], ch2X, y, boxW);
        y += kRowPitch;
    }
}

void frmFS2::layoutSettings(QWidget* f) {
    const int x0 = 4680, capW = 2060, ch1X = x0 + 2100, ch2X = x0 + 3160, boxW = 1000;
    const std::pair<const char*, QLineEdit*> card[] = {
        {"Temp2", txtTemp2}, {"Burnout", txtBurnout}, {"Conv.Speed", txtConvSpeed}, {"Coefficient Cal.", txtCoff}};
    int y = 0;
    for (const auto& [caption, box] : card) {
        newLabel(f, caption, x0, y, capW);
        put(box, ch1X, y, boxW);
        y += kRowPitch;
    }
    newLabel(f, "CH2 Disable", x0, y, capW);
    put(txtEnable[2], ch2X, y, boxW);
    y += kRowPitch + 120;
    newLabel(f, "CH 1", ch1X, y, boxW, Qt::AlignHCenter);
    newLabel(f, "CH 2", ch2X, y, boxW, Qt::AlignHCenter);
    y += kRowPitch;
    newLabel(f, "Specific Heat", x0, y + kRowPitch / 2, 1260);
    const std::pair<const char*, PerCh*> rows[] = {
        {"Cooling", &txtKCool},       {"Heating", &txtKHeat},          {"Flow Low Cut", &txtFlowCut},
        {"Temp Low Cut", &txtTempCut}, {"Hysteresis", &txtHys},         {"Adj.Supply", &txtSuppTempAdj},
        {"Adj.Ambient", &txtAmbTempAdj}, {"Flow Bias", &txtBias},       {"Flow Gain", &txtGain},
        {"Flow Zscale", &txtZScale},  {"Flow Fscale", &txtFScale},
    };
    for (const auto& [caption, boxes] : rows) {
        // The two specific heats stand under one caption.
        const bool heat = boxes == &txtKCool || boxes == &txtKHeat;
        if (heat)
            newLabel(f, caption, x0 + 1260, y, capW - 1260, Qt::AlignRight);
        else
            newLabel(f, caption, x0, y, capW);
        put((*boxes)[1], ch1X, y, boxW);
        put((*boxes)[2], ch2X, y, boxW);
        y += kRowPitch;
    }
}

}  // namespace talvo::screens
