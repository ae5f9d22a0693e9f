#include "screens/power/frmGB10.h"

#include <QGroupBox>

#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {

constexpr int kBoxHeight = 345;

void put(QWidget* w, int left, int top, int width) { placeTwips(w, left, top, width, kBoxHeight); }

// The rows of the settings table.
enum Row {
    Bias, Gain, WhUnit, WhMin, WhMax, WFS, WUnit, CTPri, CTU, CTSec, VTPri, VTU, VTSec, DropOut, VarUnit, VarMin, VarMax
};

bool isTransformerVariant(const std::string& typeCode) { return ModelIs(typeCode, {"GB1A", "GB1B"}); }

}  // namespace

frmGB10::frmGB10(QWidget* parent) : PowerCardScreen("GB10", parent) {
    // Every box takes any text: the card judges what it is sent.
    for (int i = 1; i <= 12; ++i) {
        txtParData01[static_cast<std::size_t>(i)] = newReadOnlyBox(body());
        txtParData01[static_cast<std::size_t>(i)]->setObjectName(QString("txtParData01_%1").arg(i));
    }
    for (std::size_t i = 1; i <= 4; ++i) {
        txtBias[i] = newSettingBox(body(), nullptr);
        txtGain[i] = newSettingBox(body(), nullptr);
    }
    for (std::size_t i : {1, 2, 3, 4, 5}) txtZScale[i] = newSettingBox(body(), nullptr);
    for (std::size_t i : {2, 3, 5}) txtFScale[i] = newSettingBox(body(), nullptr);
    txtCTScale1 = newSettingBox(body(), nullptr);
    txtCTScale2 = newSettingBox(body(), nullptr);
    txtCTScale3 = newReadOnlyBox(body());
    txtPTScale1 = newSettingBox(body(), nullptr);
    txtPTScale2 = newSettingBox(body(), nullptr);
    txtPTScale3 = newReadOnlyBox(body());
    txtZeroScale = newSettingBox(body(), nullptr);

    // "GB1A" and "GB1B" first: they keep the CT ratings 22 items higher and have no secondary.
    variants_ = {{.models = {"GB1A", "GB1B"}}, {}};
    const auto one = [](QLineEdit* b) { return std::vector<QLineEdit*>{b}; };
    // A setting of one box: group "01", the item and the record field Param(param),
    // named by its row's and its column's captions.
    const auto single = [&](QLineEdit* b, int item, int param, const char* name) {
        return Setting{.boxes = one(b), .group = "01", .item = {0, item}, .param = {0, param}, .name = name};
    };
    // The bias and gain of the rows "W", "var", "cos" and "Hz".
    const auto ofRows = [](const std::string& column) {
        std::vector<std::string> out;
        for (const char* row : {"W", "var", "cos", "Hz"}) out.push_back(row + (" " + column));
        return out;
    };
    settings_ = {
        // Bias i at item 2i + 8 and Param(2i - 1), gain i at 2i + 9 and Param(2i).
        {.boxes = {txtBias[1], txtBias[2], txtBias[3], txtBias[4]}, .group = "01", .item = {2, 8}, .param = {2, -1},
         .channelNames = ofRows("Bias")},
        {.boxes = {txtGain[1], txtGain[2], txtGain[3], txtGain[4]}, .group = "01", .item = {2, 9}, .param = {2, 0},
         .channelNames = ofRows("Gain")},
        single(txtZScale[1], 18, 9, "Wh Unit"),
        single(txtZScale[2], 42, 11, "Wh Min."),
        single(txtFScale[2], 35, 12, "Wh Max."),
        single(txtZScale[3], 50, 13, "W / var FS"),
        single(txtFScale[3], 51, 14, "W / var Unit"),
        {.boxes = one(txtCTScale1), .group = "01", .item = {0, 61}, .param = {0, 15}, .at = {.itemShift = {22, 0}},
         .name = "CT(A) PRI"},
        // The middle column's caption follows the model (prepare()).
        {.boxes = one(txtCTScale2), .group = "01", .item = {0, 62}, .param = {0, 16}, .at = {.itemShift = {22, 0}},
         .name = "CT(A) U"},
        // The secondary ratings are the card's own: read, never written. "GB1A" and
        // "GB1B" have no CT secondary; its hidden box and record field stay.
        {.boxes = one(txtCTScale3), .group = {kNotOnCard, "01"}, .item = {0, 63}, .param = {0, 17},
         .record = {.uploadOnly = true, .whereLacked = BoxAndField::Kept}, .name = "CT(A) SEC"},
        single(txtPTScale1, 58, 18, "VT(V) PRI"),
        single(txtPTScale2, 59, 19, "VT(V) U"),
        {.boxes = one(txtPTScale3), .group = "01", .item = {0, 60}, .param = {0, 20}, .record = {.uploadOnly = true},
         .name = "VT(V) SEC"},
        single(txtZeroScale, 82, 21, "Drop-Out(%)"),
        single(txtZScale[4], 19, 22, "var Unit"),
        single(txtZScale[5], 44, 24, "var Min."),
        single(txtFScale[5], 37, 25, "var Max."),
    };
    const auto at = [](int step) { return [step](int) { return step; }; };
    passes_ = {
        {.openGroup = "01", .settings = {Bias, Gain}, .progressAfter = [](int i) { return i; }},
        {.settings = {WhUnit}, .progressAfter = at(5)},
        {.settings = {WhMin, WhMax}, .progressAfter = at(6)},
        {.settings = {WFS, WUnit}, .progressAfter = at(7)},
        {.settings = {CTPri, CTU, CTSec}, .progressAfter = at(9)},
        {.settings = {VTPri, VTU, VTSec, DropOut}, .progressAfter = at(11)},
        {.settings = {VarUnit, VarMin, VarMax}, .progressAfter = at(12)},
    };
    // Box k shows item 9 + k; the counters' upper parts (9 to 12) do not blink.
    std::vector<QLineEdit*> boxes(txtParData01.begin() + 1, txtParData01.end());
    live_ = {.boxes = boxes,
             .items = ItemRange(10, 12),
             .pauseMs = 10,
             .blanked = std::vector<QLineEdit*>(boxes.begin(), boxes.begin() + 8)};

    auto* measured = new QGroupBox(body());
    measured->setObjectName("fraCh1_0");
    placeTwips(measured, 0, 0, 9280, 2760);
    auto* energy = new QGroupBox(body());
    energy->setObjectName("fraCh1_1");
    placeTwips(energy, 0, 2880, 9280, 2760);
    layoutMeasuredValues(measured);
    layoutEnergy(energy);
}

void frmGB10::prepare(const std::string& typeCode) {
    const bool variant = isTransformerVariant(typeCode);
    txtCTScale3->setVisible(!variant);
    Label1_13->setText(variant ? "U/T" : "U");
    // A download names the middle column as the screen captions it now.
    settings_[CTU].name = variant ? "CT(A) U/T" : "CT(A) U";
    settings_[VTU].name = variant ? "VT(V) U/T" : "VT(V) U";
}

void frmGB10::layoutMeasuredValues(QWidget* f) {
    const auto move = [f](QLineEdit* b, int x, int y, int w) {
        b->setParent(f);
        put(b, x, y, w);
    };
    // The four measured values with their bias and gain.
    const int valueX = 720, biasX = 2280, gainX = 3480;
    newLabel(f, "value", valueX, 200, 1440, Qt::AlignHCenter)->setObjectName("lblParData03_0");
    newLabel(f, "Bias", biasX, 200, 1080, Qt::AlignHCenter);
    newLabel(f, "Gain", gainX, 200, 1080, Qt::AlignHCenter);
    const char* rows[] = {"W", "var", "cos", "Hz"};
    for (std::size_t i = 1; i <= 4; ++i) {
        const int y = 540 + static_cast<int>(i - 1) * 510;
        newLabel(f, rows[i - 1], 120, y + 20, 540);
        move(txtParData01[i], valueX, y, 1440);
        move(txtBias[i], biasX, y, 1080);
        move(txtGain[i], gainX, y, 1080);
    }

    // Drop-out, the transformer ratings and the W / var scale.
    const int capX = 4920, priX = 5880, uX = 6960, secX = 8040, colW = 1020;
    newLabel(f, "Drop-Out(%)", capX, 220, 1320);
    move(txtZeroScale, 6360, 200, 900);
    newLabel(f, "PRI", priX, 720, colW, Qt::AlignHCenter);
    Label1_13 = newLabel(f, "U", uX, 720, colW, Qt::AlignHCenter);
    Label1_13->setObjectName("Label1_13");
    newLabel(f, "SEC", secX, 720, colW, Qt::AlignHCenter);
    newLabel(f, "VT(V)", capX, 1070, 900);
    move(txtPTScale1, priX, 1050, colW);
    move(txtPTScale2, uX, 1050, colW);
    move(txtPTScale3, secX, 1050, colW);
    newLabel(f, "CT(A)", capX, 1580, 900);
    move(txtCTScale1, priX, 1560, colW);
    move(txtCTScale2, uX, 1560, colW);
    move(txtCTScale3, secX, 1560, colW);
    newLabel(f, "W / var", capX, 2090, 900);
    newLabel(f, "FS", priX - 60, 2090, 360);
    move(txtZScale[3], priX + 300, 2070, 960);
    newLabel(f, "Unit", uX + 360, 2090, 540);
    move(txtFScale[3], secX, 2070, colW);
}

void frmGB10::layoutEnergy(QWidget* f) {
    const auto move = [f](QLineEdit* b, int x, int y, int w) {
        b->setParent(f);
        put(b, x, y, w);
    };
    // Two counters a row, each a High and a Low part.
    const int capW = 780, boxW = 1000;
    const int leftX[] = {120, 3180};  // a counter's caption; its High box at +capW, Low at +capW+boxW+60
    for (int x : leftX) {
        newLabel(f, "High", x + capW, 200, boxW, Qt::AlignHCenter);
        newLabel(f, "Low", x + capW + boxW + 60, 200, boxW, Qt::AlignHCenter);
    }
    struct Counter {
        const char* caption;
        const char* second;  // a second caption line ("LAG", "LEAD") or ""
        std::size_t high, low;
        int column, y;
    };
    const Counter counters[] = {{"Whi", "", 6, 5, 0, 600},    {"Who", "", 8, 7, 1, 600},
                                {"varh", "LAG", 10, 9, 0, 1500}, {"varh", "LEAD", 12, 11, 1, 1500}};
    for (const Counter& c : counters) {
        const int x = leftX[c.column];
        if (*c.second) {
            newLabel(f, c.caption, x, c.y - 130, capW);
            newLabel(f, c.second, x, c.y + 170, capW);
        } else {
            newLabel(f, c.caption, x, c.y + 20, capW);
        }
        move(txtParData01[c.high], x + capW, c.y, boxW);
        move(txtParData01[c.low], x + capW + boxW + 60, c.y, boxW);
    }

    // Units and limits of the energy and reactive energy counts.
    const int capX = 6180, unitX = 6660, minX = 7380, maxX = 8280, unitW = 660, w = 860;
    newLabel(f, "Unit", unitX, 200, unitW, Qt::AlignHCenter);
    newLabel(f, "Min.", minX, 200, w, Qt::AlignHCenter);
    newLabel(f, "Max.", maxX, 200, w, Qt::AlignHCenter);
    newLabel(f, "Wh", capX, 620, 480);
    move(txtZScale[1], unitX, 600, unitW);
    move(txtZScale[2], minX, 600, w);
    move(txtFScale[2], maxX, 600, w);
    newLabel(f, "var", capX, 1520, 480);
    move(txtZScale[4], unitX, 1500, unitW);
    move(txtZScale[5], minX, 1500, w);
    move(txtFScale[5], maxX, 1500, w);
}

}  // namespace talvo::screens
