#include "screens/power/frmGB40.h"

#include <QGroupBox>

#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {

constexpr int kChannels = 4;
constexpr int kBoxHeight = 345;

// What a display mode shows: the captions of the four live headings (nullptr:
// hidden) and the group "00" item each live column of a channel shows ({}: the
// column is hidden). Columns: row A 1 and 2, row B 1 and 2.
struct DisplayMode {
    char mode;
    std::array<const char*, 4> headings;
    std::array<PerChannel, 4> items;
};
const DisplayMode kDisplayModes[] = {
    {'0', {"W", nullptr, "Whi", "Who"}, {{{1, 9}, {}, {1, 13}, {1, 17}}}},
    {'1', {"W", nullptr, "Whi-L", "Whi-H"}, {{{1, 9}, {}, {2, 12}, {2, 13}}}},
    {'2', {nullptr, nullptr, "Whi", "Who"}, {{{1, 9}, {1, 13}, {}, {}}}},
    {'3', {"Whi-L", "Whi-H", "Who-L", "Who-H"}, {{{2, 8}, {2, 9}, {2, 16}, {2, 17}}}},
};
constexpr int kFirstLiveItem = 10, kLiveItems = 16;
// The rows of the settings table whose caption follows the model.
constexpr std::size_t kCtU = 6, kVtU = 9;

bool isTransformerVariant(const std::string& typeCode) { return ModelIs(typeCode, {"GB4A", "GB4B"}); }

std::vector<QLineEdit*> channelBoxes(const frmGB40::Column& c) { return {c[1], c[2], c[3], c[4]}; }

// A column of the CT rows "CT1(A)" to "CT4(A)", as a message names each of its boxes.
std::vector<std::string> ctColumn(const std::string& column) {
    std::vector<std::string> out;
    for (int ch = 1; ch <= kChannels; ++ch) out.push_back("CT" + std::to_string(ch) + "(A) " + column);
    return out;
}

}  // namespace

frmGB40::frmGB40(QWidget* parent) : PowerCardScreen("GB40", parent) {
    auto* f = new QGroupBox(body());
    f->setObjectName("fraCh1_0");
    placeTwips(f, 0, 0, 9280, 5640);
    for (std::size_t ch = 1; ch <= kChannels; ++ch) {
        for (Column* c : {&txtParData01, &txtParData02, &txtParData03, &txtParData04}) (*c)[ch] = newReadOnlyBox(f);
        // Every setting box takes any text: the card judges what it is sent.
        for (Column* c : {&txtBias, &txtGain, &txtZScale, &txtFScale, &txtUScale, &txtCTScale1, &txtCTScale2})
            (*c)[ch] = newSettingBox(f, nullptr);
        txtCTScale3[ch] = newReadOnlyBox(f);
        const int n = static_cast<int>(ch);
        txtParData01[ch]->setObjectName(QString("txtParData01_%1").arg(n));
        txtParData02[ch]->setObjectName(QString("txtParData02_%1").arg(n));
        txtParData03[ch]->setObjectName(QString("txtParData03_%1").arg(n));
        txtParData04[ch]->setObjectName(QString("txtParData04_%1").arg(n));
    }
    txtPTScale1 = newSettingBox(f, nullptr);
    txtPTScale2 = newSettingBox(f, nullptr);
    txtPTScale3 = newReadOnlyBox(f);
    txtZeroScale = newSettingBox(f, nullptr);

    // "GB4A" and "GB4B" first: their CT ratings are two items a channel from 83 on, without a secondary.
    variants_ = {{.models = {"GB4A", "GB4B"}}, {}};
    const auto single = [](QLineEdit* b, int item, int param, const char* name) {
        return Setting{.boxes = {b}, .group = "01", .item = {0, item}, .param = {0, param}, .name = name};
    };
    // Channel ch keeps its eight settings in Param(8ch - 7) to Param(8ch). Each
    // row is named by its caption on the screen: the bias under the heading line
    // "Adjust" beside the channel's upper row, the gain under "Bias/Gain" beside
    // its lower row; the CT ratings by their row "CT1(A)" to "CT4(A)" and column.
    settings_ = {
        {.boxes = channelBoxes(txtBias), .group = "01", .item = {2, 8}, .param = {8, -7}, .name = "Adjust"},
        {.boxes = channelBoxes(txtGain), .group = "01", .item = {2, 9}, .param = {8, -6}, .name = "Bias/Gain"},
        {.boxes = channelBoxes(txtUScale), .group = "01", .item = {1, 17}, .param = {8, -5}, .name = "WhU"},
        {.boxes = channelBoxes(txtZScale), .group = "01", .item = {2, 48}, .param = {8, -4}, .name = "WFS"},
        {.boxes = channelBoxes(txtFScale), .group = "01", .item = {2, 49}, .param = {8, -3}, .name = "WU"},
        {.boxes = channelBoxes(txtCTScale1), .group = "01", .item = {3, 58}, .param = {8, -2},
         .at = {.variantItem = {PerChannel{2, 81}, PerChannel{}}}, .channelNames = ctColumn("PRI")},
        // The middle column's caption follows the model (prepare()).
        {.boxes = channelBoxes(txtCTScale2), .group = "01", .item = {3, 59}, .param = {8, -1},
         .at = {.variantItem = {PerChannel{2, 82}, PerChannel{}}}, .channelNames = ctColumn("U")},
        // "GB4A" and "GB4B" have no CT secondaries; their hidden boxes and record fields stay.
        {.boxes = channelBoxes(txtCTScale3), .group = {kNotOnCard, "01"}, .item = {3, 60}, .param = {8, 0},
         .record = {.whereLacked = BoxAndField::Kept}, .channelNames = ctColumn("SEC")},
        single(txtPTScale1, 58, 33, "VT(V) PRI"),
        single(txtPTScale2, 59, 34, "VT(V) U"),
        single(txtPTScale3, 60, 35, "VT(V) SEC"),
        single(txtZeroScale, 82, 36, "Drop-Out(%)"),
    };
    passes_ = {
        {.openGroup = "01", .settings = {0, 1, 2, 3, 4, 5, 6, 7}, .progressAfter = [](int ch) { return 2 * ch; }},
        {.settings = {8, 9, 10, 11}},
    };
    // All sixteen live items are read whatever the mode; prepare() says which box shows which.
    live_ = {.boxes = std::vector<QLineEdit*>(kLiveItems, nullptr), .items = ItemRange(kFirstLiveItem, kLiveItems),
             .pauseMs = 10};
    for (const Column* c : {&txtParData01, &txtParData02, &txtParData03, &txtParData04})
        for (std::size_t ch = 1; ch <= kChannels; ++ch) live_.blanked.push_back((*c)[ch]);

    // Layout: two rows a channel (live values, adjust, scales), the transformer grid to the right.
    const auto put = [](QWidget* w, int x, int y, int width) { placeTwips(w, x, y, width, kBoxHeight); };
    const int col1X = 480, col2X = 1620, adjustX = 2820, wfsX = 3840, wuX = 4680, whuX = 5520, w = 1080;
    const char* design[] = {"W  ", "Value", "Wh  ", "Wh     "};
    for (std::size_t k = 1; k <= 4; ++k) {
        const int x = k % 2 ? col1X : col2X, y = k <= 2 ? 180 : 460;
        lblParData[k] = newLabel(f, design[k - 1], x, y, w, Qt::AlignHCenter);
        lblParData[k]->setObjectName(QString("lblParData0%1").arg(k));
    }
    newLabel(f, "Adjust", adjustX, 180, 900, Qt::AlignHCenter);
    newLabel(f, "Bias/Gain", adjustX - 90, 460, 1080, Qt::AlignHCenter);
    newLabel(f, "WFS", wfsX, 460, 780, Qt::AlignHCenter);
    newLabel(f, "WU", wuX, 460, 780, Qt::AlignHCenter);
    newLabel(f, "WhU", whuX, 460, 780, Qt::AlignHCenter);
    for (std::size_t ch = 1; ch <= kChannels; ++ch) {
        const int a = 840 + static_cast<int>(ch - 1) * 1180, b = a + 440;
        newLabel(f, QString::number(static_cast<int>(ch)), 120, a + 240, 300);
        put(txtParData01[ch], col1X, a, w);
        put(txtParData02[ch], col2X, a, w);
        put(txtParData03[ch], col1X, b, w);
        put(txtParData04[ch], col2X, b, w);
        put(txtBias[ch], adjustX, a, 900);
        put(txtGain[ch], adjustX, b, 900);
        put(txtZScale[ch], wfsX, a, 780);
        put(txtFScale[ch], wuX, a, 780);
        put(txtUScale[ch], whuX, a, 780);
    }
    const int capX = 6420, priX = 7200, uX = 7860, secX = 8520, gw = 600;
    newLabel(f, "Drop-Out(%)", capX, 200, 1320);
    put(txtZeroScale, 7860, 180, 1260);
    newLabel(f, "PRI", priX, 840, gw, Qt::AlignHCenter);
    Label1_12 = newLabel(f, "U", uX, 840, gw, Qt::AlignHCenter);
    Label1_12->setObjectName("Label1_12");
    newLabel(f, "SEC", secX, 840, gw, Qt::AlignHCenter);
    const auto transformerRow = [&](const QString& caption, QLineEdit* pri, QLineEdit* u, QLineEdit* sec, int y) {
        newLabel(f, caption, capX, y + 20, 780);
        put(pri, priX, y, gw);
        put(u, uX, y, gw);
        put(sec, secX, y, gw);
    };
    transformerRow("VT(V)", txtPTScale1, txtPTScale2, txtPTScale3, 1200);
    for (std::size_t ch = 1; ch <= kChannels; ++ch)
        transformerRow(QString("CT%1(A)").arg(static_cast<int>(ch)), txtCTScale1[ch], txtCTScale2[ch], txtCTScale3[ch],
                       1740 + static_cast<int>(ch - 1) * 480);
}

void frmGB40::prepare(const std::string& typeCode) {
    const bool variant = isTransformerVariant(typeCode);
    Label1_12->setText(variant ? "U/T" : "U");
    // A download names the middle column as the screen captions it now.
    settings_[kCtU].channelNames = ctColumn(variant ? "U/T" : "U");
    settings_[kVtU].name = variant ? "VT(V) U/T" : "VT(V) U";
    for (std::size_t ch = 1; ch <= kChannels; ++ch) txtCTScale3[ch]->setVisible(!variant);
    if (!showDisplayMode(typeCode.size() >= 8 ? typeCode[7] : '\0'))
        // A mode the screen does not know: the values are read and none is shown;
        // the headings and columns stay as they were.
        live_.boxes.assign(kLiveItems, nullptr);
}

bool frmGB40::showDisplayMode(char mode) {
    const DisplayMode* m = nullptr;
    for (const DisplayMode& d : kDisplayModes)
        if (d.mode == mode) m = &d;
    if (!m) return false;
    const std::array<const Column*, 4> columns = {&txtParData01, &txtParData02, &txtParData03, &txtParData04};
    live_.boxes.assign(kLiveItems, nullptr);
    for (std::size_t k = 0; k < 4; ++k) {
        QLabel* heading = lblParData[k + 1];
        if (m->headings[k]) heading->setText(m->headings[k]);
        heading->setVisible(m->headings[k] != nullptr);
        const PerChannel item = m->items[k];
        const bool shown = item.perCh != 0;
        for (std::size_t ch = 1; ch <= kChannels; ++ch) {
            QLineEdit* box = (*columns[k])[ch];
            box->setVisible(shown);
            const int at = item(static_cast<int>(ch)) - kFirstLiveItem;
            if (shown && at >= 0 && at < kLiveItems) live_.boxes[static_cast<std::size_t>(at)] = box;
        }
    }
    return true;
}

}  // namespace talvo::screens
