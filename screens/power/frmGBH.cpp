#include "screens/power/frmGBH.h"

#include <QFrame>
#include <algorithm>
#include <array>
#include <cassert>
#include <functional>
#include <utility>

#include "core/Colors.h"
#include "core/Globals.h"
#include "core/MainView.h"
#include "core/Overview.h"
#include "screens/skeleton/TextBoxes.h"
#include "screens/power/GbhItemTable.h"
#include "screens/power/GbhValues.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {

// An item list that tells when the user opens it. It drops down twenty rows
// high; that is set when it first drops down, not when the screen is built:
// sixteen lists set up at once held the window up at the screen's first opening.
class ItemList : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> onDropDown;
    void showPopup() override {
        if (onDropDown) onDropDown();
        if (!rowsSet_) {
            rowsSet_ = true;
            ui::setDropDownRows(this, 20);
        }
        QComboBox::showPopup();
    }

private:
    bool rowsSet_ = false;
};

struct Sensor {
    const char* name;
    int rating;
};
// The clamp-on sensors by the family letter in the model text.
std::vector<Sensor> SensorsOf(char family) {
    switch (family) {
    case 'A': return {{"WDRA-08", 80}, {"WDRA-12", 120}, {"WDRA-30", 300}, {"WDRA-50", 500}};
    case 'B':
        return {{"WDRB-R5", 5},   {"WDRB-05", 50},  {"WDRB-10", 100},
                {"WDRB-20", 200}, {"WDRB-40", 400}, {"WDRB-60", 600}};
    case 'E':
        return {{"WDRE-R5", 5},   {"WDRE-05", 50},  {"WDRE-10", 100},
                {"WDRE-20", 200}, {"WDRE-40", 400}, {"WDRE-60", 600}};
    default: return {{"nodata", 0}};
    }
}

const char* const kResetChoices[] = {"",
                                     "#1Sum",
                                     "#1MaxMin(Current)",
                                     "#1MaxMin(ExceptCurrent)",
                                     "#1Average(Demand)",
                                     "#2Sum",
                                     "#2MaxMin(Current)",
                                     "#2MaxMin(ExceptCurrent)",
                                     "#2Average(Demand)"};

QComboBox* newList(QWidget* parent, std::initializer_list<const char*> entries) {
    auto* c = new QComboBox(parent);
    for (const char* e : entries) c->addItem(QString::fromLatin1(e));
    c->setCurrentIndex(-1);
    return c;
}

// A numeric setting box: whatever is typed or set keeps only its digits, its
// first "." and a leading "-".
QLineEdit* newNumberBox(QWidget* parent) {
    QLineEdit* box = newSettingBox(parent, nullptr);
    QObject::connect(box, &QLineEdit::textChanged, box, [box] {
        const std::string typed = boxText(box);
        const std::string kept = CleanNumericText(typed);
        if (kept == typed) return;
        const int caret = box->cursorPosition() - static_cast<int>(typed.size() - kept.size());
        setBoxText(box, kept);
        box->setCursorPosition(std::clamp(caret, 0, static_cast<int>(kept.size())));
    });
    return box;
}

QLabel* newCell(QWidget* parent, bool shaded) {
    auto* l = new QLabel(parent);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (shaded) ui::setBackColor(l, colors::SysButtonFace);
    return l;
}

// Rows of channels: a heading line, then one line per channel; the columns'
// left edges and widths.
constexpr int kRowTop = 270, kRowPitch = 330, kCtlHeight = 315;
constexpr int kChX = 0, kChW = 360, kItemX = 390, kItemW = 1260, kWordX = 1680, kWordW = 660, kSysX = 2370,
              kSysW = 630, kScaleX = 3030, kScaleW = 510, kUnitX = 3570, kUnitW = 700, kValueX = 4290, kValueW = 810,
              kDataX = 5130, kDataW = 540;
// The settings column beside them: one line per setting, a caption and one
// control, or one for each system.
constexpr int kSetLeft = 5760, kSetRight = 9280, kSetPitch = 330, kSetLabel = 1080, kCol1 = kSetLeft + kSetLabel,
              kColWidth = (kSetRight - kCol1 - 30) / 2, kCol2 = kSetRight - kColWidth;

}  // namespace

frmGBH::frmGBH(QWidget* parent) : CardScreen("K6-GBH", parent) {
    setObjectName("frmGBH");
    // The live cycle comes round once a second.
    cycleMs_ = 1000;
    body()->setFont(ui::arialFont(8));
    buildRows();
    buildSettings();
    watchUserEdits();
    // A Download click waits for the next regular tick.
    downloadAtNextTick_ = true;
}

void frmGBH::buildRows() {
    QWidget* b = body();
    const GbhItemTable& table = GbhItemTable::instance();
    QStringList names;
    names.reserve(GbhItemTable::kCount);
    for (const std::string& n : table.names()) names << QString::fromLatin1(n.c_str());
    itemNames_.setStringList(names);

    const std::pair<const char*, std::pair<int, int>> headings[] = {
        {"Ch", {kChX, kChW}},          {"Item", {kItemX, kItemW}},  {"Word", {kWordX, kWordW}},
        {"System", {kSysX, kSysW}},    {"Scale", {kScaleX, kScaleW}}, {"Unit", {kUnitX, kUnitW}},
        {"Value", {kValueX, kValueW}}, {"Data", {kDataX, kDataW}}};
    for (const auto& [text, x] : headings) newLabel(b, text, x.first, 0, x.second, Qt::AlignHCenter, 240);

    for (int r = 0; r < kRows; ++r) {
        const std::size_t i = static_cast<std::size_t>(r);
        const int y = kRowTop + r * kRowPitch;
        hexIdx[i] = newLabel(b, "", kChX, y, kChW, Qt::AlignRight, kCtlHeight);

        auto* item = new ItemList(b);
        item->setObjectName(QString("cbItem%1").arg(r));
        // The one list all 16 rows show. No size policy is set: the list has
        // its place and width, and setting one builds its drop-down at once,
        // which for sixteen lists of all the items was a sixth of the work of
        // the screen's first opening.
        item->setModel(&itemNames_);
        item->onDropDown = [this, r] { LiveReadEnabled = r; };
        cbItem[i] = item;
        placeTwips(item, kItemX, y, kItemW, kCtlHeight);

        cbWordNum[i] = newList(b, {"1W", "2W"});
        placeTwips(cbWordNum[i], kWordX, y, kWordW, kCtlHeight);
        cbCh[i] = newList(b, {"#1"});
        placeTwips(cbCh[i], kSysX, y, kSysW, kCtlHeight);
        cbScale[i] = newList(b, {"0", "1", "2", "3"});
        placeTwips(cbScale[i], kScaleX, y, kScaleW, kCtlHeight);
        txtUnit[i] = newLabel(b, "", kUnitX, y, kUnitW, Qt::AlignLeft, kCtlHeight);
        txtUnit[i]->setIndent(3);
        txtValue[i] = newCell(b, true);
        placeTwips(txtValue[i], kValueX, y, kValueW, kCtlHeight);
        txtParData[i] = newCell(b, true);
        txtParData[i]->setAlignment(Qt::AlignCenter);
        placeTwips(txtParData[i], kDataX, y, kDataW, kCtlHeight);

        // The user's picks; the rows' own rebuild sets the lists with BindingBusy.
        connect(cbItem[i], &QComboBox::currentIndexChanged, this, [this, r](int index) {
            if (BindingBusy) return;
            rows_.cbItem_Click(r, index);
            showRows();
        });
        connect(cbWordNum[i], &QComboBox::currentIndexChanged, this, [this, r](int index) {
            if (BindingBusy) return;
            rows_.cbWordNum_Click(r, index);
            showRows();
        });
        connect(cbCh[i], &QComboBox::currentIndexChanged, this, [this, r](int index) {
            if (BindingBusy) return;
            rows_.selectSystem(r, index);
            showRow(r);
        });
        connect(cbScale[i], &QComboBox::currentIndexChanged, this, [this, r](int index) {
            if (BindingBusy) return;
            rows_.selectScale(r, index);
            showRow(r);
        });
    }
}

void frmGBH::buildSettings() {
    QWidget* b = body();
    const auto line = [](int k) { return k * kSetPitch; };
    const auto caption = [&](const char* text, int k, int width = kSetLabel) {
        return newLabel(b, text, kSetLeft, line(k), width, Qt::AlignLeft, kCtlHeight);
    };
    const auto put = [&](QWidget* w, int x, int k, int width) { placeTwips(w, x, line(k), width, kCtlHeight); };

    caption("System Confguration", 0, kSetRight - kSetLeft);
    cbWiring = newList(b, {"Single-phase/2-wire(1CT)", "Single-phase/3-wire(2CT)", "3-phase/3-wire,balanced load(1CT)",
                           "3-phase/3-wire,unbalanced load(2CT)", "3-phase/4-wire,balanced load(1CT)",
                           "3 phase/4-wire,unbalanced load(3CT)"});
    put(cbWiring, kSetLeft, 1, kSetRight - kSetLeft);

    caption("VT rating", 2);
    newLabel(b, "Pri.", kCol1, line(2), 330, Qt::AlignLeft, kCtlHeight);
    txtVT1 = newNumberBox(b);
    put(txtVT1, kCol1 + 330, 2, kColWidth - 330);
    newLabel(b, "Sec.", kCol2, line(2), 330, Qt::AlignLeft, kCtlHeight);
    txtVT2 = newNumberBox(b);
    put(txtVT2, kCol2 + 330, 2, kColWidth - 330);

    for (std::size_t k = 0; k < 2; ++k) {
        const int x = k == 0 ? kCol1 : kCol2;
        lblSystem[k] = newLabel(b, k == 0 ? "#1" : "#2", x, line(3), kColWidth, Qt::AlignHCenter, kCtlHeight);
        cbWdra[k] = newList(b, {});
        put(cbWdra[k], x, 4, kColWidth);
        txtCur1[k] = newNumberBox(b);
        put(txtCur1[k], x, 5, kColWidth);
        txtCur2[k] = newNumberBox(b);
        put(txtCur2[k], x, 6, kColWidth);
        txtVCut[k] = newNumberBox(b);
        put(txtVCut[k], x, 8, kColWidth);
        txtICut[k] = newNumberBox(b);
        put(txtICut[k], x, 9, kColWidth);
        cbInpSig[k] = newList(b, {"Voltage", "Current"});
        put(cbInpSig[k], x, 10, kColWidth);
        const int index = static_cast<int>(k);
        connect(cbWdra[k], &QComboBox::currentIndexChanged, this, [this, index] { cbWdra_Click(index); });
    }
    caption("Clamp Sensor", 4);
    caption("CT rating", 5);
    newLabel(b, "Pri.", kSetLeft, line(5), kSetLabel - 60, Qt::AlignRight, kCtlHeight);
    lblCur2 = newLabel(b, "Sec.", kSetLeft, line(6), kSetLabel - 60, Qt::AlignRight, kCtlHeight);
    caption("LowEnd cutout", 7, kSetRight - kSetLeft);
    newLabel(b, "Voltage", kSetLeft + 180, line(8), kSetLabel - 180, Qt::AlignLeft, kCtlHeight);
    newLabel(b, "Current", kSetLeft + 180, line(9), kSetLabel - 180, Qt::AlignLeft, kCtlHeight);
    caption("Freq.  input", 10);

    caption("Calculation Method", 11, kSetRight - kSetLeft);
    constexpr int kMethodLabel = 2040, kMethodLeft = kSetLeft + kMethodLabel, kMethodWidth = kSetRight - kMethodLeft;
    caption("PowerFactor sign", 12, kMethodLabel);
    cbPF = newList(b, {"Standard(IEC)", "Special type 1"});
    put(cbPF, kMethodLeft, 12, kMethodWidth);
    caption("Reactive Power sign", 13, kMethodLabel);
    cbQ = newList(b, {"Standard(IEC)", "Special type 1"});
    put(cbQ, kMethodLeft, 13, kMethodWidth);
    caption("Apparent Power calculation", 14, kMethodLabel);
    cbS = newList(b, {"Standard", "Sum"});
    put(cbS, kMethodLeft, 14, kMethodWidth);

    caption("Average(demand)  update interval", 15, kSetRight - kSetLeft);
    newLabel(b, "Current", kSetLeft, line(16), 600, Qt::AlignLeft, kCtlHeight);
    txtIIT = newNumberBox(b);
    put(txtIIT, kSetLeft + 600, 16, 780);
    newLabel(b, "Power", kSetLeft + 1470, line(16), 480, Qt::AlignLeft, kCtlHeight);
    txtVLTIT = newNumberBox(b);
    put(txtVLTIT, kSetLeft + 1950, 16, 780);
    newLabel(b, "min.", kSetLeft + 2790, line(16), 450, Qt::AlignLeft, kCtlHeight);

    // "Reset Value" beside Upload and Download.
    const QFont small = ui::arialFont(8);
    QLabel* resetCaption = newLabel(this, "Reset Value", 240, 6870, 1020);
    resetCaption->setFont(small);
    cbResetVal = newList(this, {});
    cbResetVal->setFont(small);
    placeTwips(cbResetVal, 1260, 6840, 2280, 375);
    CmdReset = new QPushButton(QStringLiteral("Reset"), this);
    CmdReset->setObjectName("CmdReset");
    placeTwips(CmdReset, 3660, 6780, 1200, 495);
    connect(CmdReset, &QPushButton::clicked, this, [this] { CmdReset_Click(); });

    // Each card-wide setting in the order a download writes it (the order of
    // Wide). A setting common to both systems has the one control and record
    // field for both; one of each system has a control each and its record
    // fields two apart (one apart for the input signal). A read the card
    // refuses leaves the control and the record as they were; an emptied box
    // or list is not sent and shows the record's value again.
    const Address bySystem = {.channelGroups = {"03", "04"}};
    const RecordRule rule = {};
    const auto common = [](QLineEdit* box) { return std::vector<QLineEdit*>{box, box}; };
    const auto each = [](const std::array<QLineEdit*, 2>& boxes) {
        return std::vector<QLineEdit*>(boxes.begin(), boxes.end());
    };
    // Each row is put at the place of its own name, so the order of this table
    // cannot send a value to another setting's item. A row is named as the
    // screen captions it, a setting of each system with "#1" or "#2" after it.
    const auto ofEach = [](const std::string& shown) {
        return std::vector<std::string>{shown + " #1", shown + " #2"};
    };
    const auto ofBoth = [](const std::string& shown) { return std::vector<std::string>{shown, shown}; };
    const std::pair<Wide, Setting> rows[] = {
        {Wiring,
         {.item = {0, 10}, .param = {0, 17}, .at = bySystem, .record = rule, .control = indexList({cbWiring, cbWiring}),
          .channelNames = ofBoth("System Confguration")}},
        {VtPri,
         {.item = {0, 13}, .param = {0, 18}, .at = bySystem, .record = rule, .control = vtBox(txtVT1),
          .channelNames = ofBoth("VT rating Pri.")}},
        {VtSec,
         {.item = {0, 14}, .param = {0, 19}, .at = bySystem, .record = rule, .control = vtBox(txtVT2),
          .channelNames = ofBoth("VT rating Sec.")}},
        {CtPri,
         {.boxes = each(txtCur1), .item = {0, 11}, .param = {2, 18}, .at = bySystem, .record = rule,
          .channelNames = ofEach("CT rating Pri.")}},
        {ClampSensor,
         {.item = {0, 12}, .param = {2, 19}, .at = bySystem, .record = rule, .control = indexList(cbWdra),
          .channelNames = ofEach("Clamp Sensor")}},
        {VCut,
         {.boxes = each(txtVCut), .item = {0, 17}, .param = {2, 22}, .at = bySystem, .record = rule,
          .channelNames = ofEach("LowEnd cutout Voltage")}},
        {ICut,
         {.boxes = each(txtICut), .item = {0, 16}, .param = {2, 23}, .at = bySystem, .record = rule,
          .channelNames = ofEach("LowEnd cutout Current")}},
        {InpSignal,
         {.item = {0, 15}, .param = {1, 27}, .at = bySystem, .record = rule, .control = indexList(cbInpSig),
          .channelNames = ofEach("Freq.  input")}},
        {PfSign,
         {.item = {0, 20}, .param = {0, 30}, .at = bySystem, .record = rule, .control = indexList({cbPF, cbPF}),
          .channelNames = ofBoth("PowerFactor sign")}},
        {QSign,
         {.item = {0, 21}, .param = {0, 31}, .at = bySystem, .record = rule, .control = indexList({cbQ, cbQ}),
          .channelNames = ofBoth("Reactive Power sign")}},
        {SCalc,
         {.item = {0, 22}, .param = {0, 32}, .at = bySystem, .record = rule, .control = indexList({cbS, cbS}),
          .channelNames = ofBoth("Apparent Power calculation")}},
        {DemandI,
         {.boxes = common(txtIIT), .item = {0, 18}, .param = {0, 33}, .at = bySystem, .record = rule,
          .channelNames = ofBoth("Average(demand)  update interval Current")}},
        {DemandP,
         {.boxes = common(txtVLTIT), .item = {0, 19}, .param = {0, 34}, .at = bySystem, .record = rule,
          .channelNames = ofBoth("Average(demand)  update interval Power")}},
    };
    settings_.assign(kWide, Setting{});
    std::array<bool, kWide> given{};
    for (const auto& [w, row] : rows) {
        assert(!given[w] && "a setting given twice");
        given[w] = true;
        settings_[w] = row;
    }
    assert(std::all_of(given.begin(), given.end(), [](bool g) { return g; }) && "a setting without its row");
}

Control frmGBH::indexList(std::array<QComboBox*, 2> lists) {
    const auto list = [lists](int system) { return lists[static_cast<std::size_t>(system - 1)]; };
    return {.channels = 2,
            .text = [list](int system) {
                const int index = list(system)->currentIndex();
                return index < 0 ? std::string() : std::to_string(index);
            },
            // A value that names no entry selects none, and the record keeps "-1".
            .show = [this, list](int system, const std::string& value) -> std::optional<std::string> {
                selectIndex(list(system), ListIndexFromText(value, list(system)->count()));
                return std::to_string(list(system)->currentIndex());
            },
            .restore = [this, list](int system, const std::string& stored) {
                selectIndex(list(system), ListIndexFromText(stored, list(system)->count()));
            },
            .widget = [list](int system) -> QWidget* { return list(system); }};
}

Control frmGBH::vtBox(QLineEdit* box) {
    return {.channels = 2,
            .text = [box](int) { return boxText(box); },
            .show = [box](int, const std::string& value) -> std::optional<std::string> {
                setBoxText(box, NumericValueText(value));
                return boxText(box);
            },
            .restore = [box](int, const std::string& stored) { setBoxText(box, stored); },
            .widget = [box](int) -> QWidget* { return box; }};
}

bool frmGBH::IsTypeVariant2() const {
    const std::string t = boxText(txtCardType);
    return t.size() >= 5 && t[4] == '2';
}

std::uint32_t frmGBH::EnabledBackColor(bool enabled) { return enabled ? colors::SysWindow : colors::SysButtonFace; }

// --- what each setting holds ---

namespace {
// The bindings of a slot, one state per entry, kept with the screen's other settings.
constexpr const char* kBinding = "binding";
}  // namespace

Held frmGBH::bindingHeld(int i) const {
    const CardRecord* rec = G().CardRecords.get(cardSlot());
    return held(kBinding, i + 1, rec ? rec->Param[i + 1] : std::string());
}

void frmGBH::setBindingHeld(int i, Held h) { setHeld(kBinding, i + 1, nullptr, h); }

bool frmGBH::bindingsUnsure() const {
    for (int i = 0; i < kRows; ++i)
        if (bindingHeld(i) != Held::Value) return true;
    return false;
}

bool frmGBH::shared(int w) {
    return w != CtPri && w != ClampSensor && w != VCut && w != ICut && w != InpSignal;
}

QWidget* frmGBH::settingControl(int w, int system) const {
    const Setting& s = settings_[static_cast<std::size_t>(w)];
    if (s.control.channels > 0) return s.control.widget(system);
    return s.boxes[static_cast<std::size_t>(system - 1)];
}

const CardRecord* frmGBH::shownRecord() const { return ownerSlot_ != 0 ? G().CardRecords.get(ownerSlot_) : nullptr; }

void frmGBH::drawSettingStates() {
    const CardRecord* rec = shownRecord();
    for (int w = 0; w < kWide; ++w) {
        const Setting& s = settings_[static_cast<std::size_t>(w)];
        for (int system = 1; system <= (shared(w) ? 1 : 2); ++system)
            DrawHeld(settingControl(w, system), rec ? held(s, system, *rec) : Held::NotRead);
    }
}

void frmGBH::watchUserEdits() {
    for (int w = 0; w < kWide; ++w)
        for (int system = 1; system <= (shared(w) ? 1 : 2); ++system)
            ui::OnUserEdit(settingControl(w, system), this, [this, w, system] {
                // What the user sets is a value for the slot the screen shows.
                setHeld(settings_[static_cast<std::size_t>(w)], system, Held::Value);
                if (shared(w)) setHeld(settings_[static_cast<std::size_t>(w)], 2, Held::Value);
            });
}

void frmGBH::shareStates() {
    const CardRecord* rec = G().CardRecords.get(cardSlot());
    if (!rec) return;
    for (int w = 0; w < kWide; ++w)
        if (shared(w)) {
            const Setting& s = settings_[static_cast<std::size_t>(w)];
            setHeld(s, 2, held(s, 1, *rec));
        }
}

// --- entry ---

void frmGBH::SetScaleMinMax(const std::string& typeCode) {
    DownloadRequest = UploadRequest = ClearRequest = PresetRequest = 0;
    LiveReadEnabled = -1;
    CyclicRun = true;
    ++quietSensor_;
    InitControls(typeCode);
    --quietSensor_;
    // The controls show what the record holds; each is drawn by what it holds
    // for this slot, whatever another slot's drawing left.
    drawSettingStates();
    // Whatever a request left locked before the screen was left, the entry
    // unlocks; the card list keeps the focus it has.
    applyEnabled(true, false);
    WaitForTimer_Timer();
}

void frmGBH::InitControls(const std::string& typeCode) {
    slot_ = cardSlot();
    for (QLabel* c : txtParData) c->clear();

    sensorFamily_ = typeCode.size() >= 6 ? typeCode[5] : '\0';
    for (std::size_t k = 0; k < 2; ++k) {
        cbWdra[k]->clear();
        for (const Sensor& s : SensorsOf(sensorFamily_)) cbWdra[k]->addItem(QString::fromLatin1(s.name), s.rating);
        cbWdra[k]->setCurrentIndex(-1);
        // After the list: its first entry, chosen as it comes in, leaves its rating here.
        txtCur1[k]->clear();
        txtCur2[k]->clear();
    }

    const GbhSlotRole role = SlotRoleOf(GetPowerCardSubType(typeCode), slot_);
    ownerSlot_ = role.ownerSlot;
    hasOwner_ = role.ownerSlot != 0;
    for (int r = 0; r < kRows; ++r)
        hexIdx[static_cast<std::size_t>(r)]->setText(QString::fromLatin1(RowCaption(role.rowBase, r).c_str()));

    const bool two = IsTypeVariant2();
    ++BindingBusy;
    for (QComboBox* c : cbCh) {
        c->clear();
        c->addItem("#1");
        if (two) c->addItem("#2");
    }
    --BindingBusy;
    cbResetVal->clear();
    for (int k = 0; k < (two ? 9 : 5); ++k) cbResetVal->addItem(QString::fromLatin1(kResetChoices[k]));

    rows_.setSystemCount(two ? 2 : 1);
    const CardRecord* own = G().CardRecords.get(slot_);
    for (int i = 0; i < kRows; ++i) rows_.BindInfo[static_cast<std::size_t>(i)] = own ? own->Param[i + 1] : "";
    rows_.setBinding();
    showRows();

    showSecondSystem(two);
    const CardRecord* owner = hasOwner_ ? G().CardRecords.get(role.ownerSlot) : nullptr;
    if (!owner) {
        // A further slot with no slot before it to own the card: nothing to show.
        emptySettings();
        return;
    }
    const CardRecord& o = *owner;
    const auto index = [](QComboBox* list, const std::string& text) { return ListIndexFromText(text, list->count()); };
    selectIndex(cbWiring, index(cbWiring, o.Param[17]));
    setBoxText(txtVT1, o.Param[18]);
    setBoxText(txtVT2, o.Param[19]);
    selectIndex(cbWdra[0], index(cbWdra[0], o.Param[21]));  // puts the sensor's rating into the CT box
    if (cbWdra[0]->currentIndex() == 0) setBoxText(txtCur1[0], o.Param[20]);
    if (two) {
        selectIndex(cbWdra[1], index(cbWdra[1], o.Param[23]));
        if (cbWdra[1]->currentIndex() == 0) setBoxText(txtCur1[1], o.Param[22]);
        setBoxText(txtVCut[1], o.Param[26]);
        setBoxText(txtICut[1], o.Param[27]);
        selectIndex(cbInpSig[1], index(cbInpSig[1], o.Param[29]));
    } else {
        for (QLineEdit* b : {txtCur1[1], txtVCut[1], txtICut[1]}) setBoxText(b, "-1");
        selectIndex(cbWdra[1], -1);
        selectIndex(cbInpSig[1], -1);
    }
    setBoxText(txtVCut[0], o.Param[24]);
    setBoxText(txtICut[0], o.Param[25]);
    selectIndex(cbInpSig[0], index(cbInpSig[0], o.Param[28]));
    selectIndex(cbPF, index(cbPF, o.Param[30]));
    selectIndex(cbQ, index(cbQ, o.Param[31]));
    selectIndex(cbS, index(cbS, o.Param[32]));
    setBoxText(txtIIT, o.Param[33]);
    setBoxText(txtVLTIT, o.Param[34]);
}

void frmGBH::emptySettings() {
    for (QLineEdit* b : {txtVT1, txtVT2, txtCur1[0], txtCur1[1], txtCur2[0], txtCur2[1], txtVCut[0], txtVCut[1],
                         txtICut[0], txtICut[1], txtIIT, txtVLTIT})
        setBoxText(b, "");
    for (QComboBox* l : {cbWiring, cbWdra[0], cbWdra[1], cbInpSig[0], cbInpSig[1], cbPF, cbQ, cbS}) selectIndex(l, -1);
}

void frmGBH::showSecondSystem(bool two) {
    for (QWidget* w : std::initializer_list<QWidget*>{txtCur1[1], cbWdra[1], txtVCut[1], txtICut[1], cbInpSig[1],
                                                       lblSystem[1]})
        w->setVisible(two);
    if (!two) txtCur2[1]->hide();
    lblCur2->setVisible(!txtCur2[0]->isHidden() || !txtCur2[1]->isHidden());
}

void frmGBH::selectIndex(QComboBox* list, int index) {
    if (index < -1 || index >= list->count()) index = -1;
    const bool sensor = list == cbWdra[0] || list == cbWdra[1];
    if (sensor && list->currentIndex() == index)
        cbWdra_Click(list == cbWdra[0] ? 0 : 1);  // chosen again: its rating goes in again
    else
        list->setCurrentIndex(index);
}

void frmGBH::cbWdra_Click(int index) {
    const std::size_t k = static_cast<std::size_t>(index);
    const int entry = cbWdra[k]->currentIndex();
    if (entry < 0) return;
    const std::string rating = std::to_string(cbWdra[k]->itemData(entry).toInt());
    setBoxText(txtCur1[k], rating);
    // The sensor's rating is the program's, not the card's or the user's: no
    // value until a read or the user gives the CT primary one.
    if (!quietSensor_) setHeld(settings_[CtPri], index + 1, Held::NotRead);
    if (entry == 0 && (sensorFamily_ == 'B' || sensorFamily_ == 'E')) setBoxText(txtCur2[k], rating);
    SetCTRatingEnabled(index);
}

void frmGBH::SetCTRatingEnabled(int index) {
    const std::size_t k = static_cast<std::size_t>(index);
    const bool settingsOn = cbWiring->isEnabled();
    // Only the smallest sensor of families "B" and "E" takes a CT of the user's own.
    const bool ownCT = cbWdra[k]->currentIndex() == 0 && (sensorFamily_ == 'B' || sensorFamily_ == 'E');
    txtCur1[k]->setEnabled(settingsOn);
    txtCur1[k]->setReadOnly(!ownCT);
    ui::setBackColor(txtCur1[k], EnabledBackColor(settingsOn && ownCT));
    txtCur2[k]->setVisible(ownCT && (index == 0 || IsTypeVariant2()));
    txtCur2[k]->setEnabled(settingsOn);
    ui::setBackColor(txtCur2[k], EnabledBackColor(settingsOn));
    lblCur2->setVisible(!txtCur2[0]->isHidden() || !txtCur2[1]->isHidden());
}

void frmGBH::SetControlsEnabled(bool enable) { applyEnabled(enable, true); }

void frmGBH::applyEnabled(bool enable, bool focusUpload) {
    const CardRecord* rec = G().CardRecords.get(slot_);
    const int subType = rec ? GetPowerCardSubType(rec->CardType) : 0;
    const bool settingsOn = enable && subType != 2 && subType != 3 && hasOwner_;

    // The card list follows the main window's commands: never on while disconnected.
    if (!enable)
        mainView().setEnabled(MainControl::cboCardNo, false);
    else if (G().Connected && !G().CycReadOn)
        mainView().setEnabled(MainControl::cboCardNo, true);

    for (int r = 0; r < kRows; ++r) {
        const std::size_t i = static_cast<std::size_t>(r);
        for (QComboBox* c : {cbItem[i], cbScale[i], cbCh[i]}) c->setEnabled(enable);
        cbWordNum[i]->setEnabled(enable && !rows_.row(r).wordLocked);
    }
    std::vector<QWidget*> settings = {txtVT1, txtVT2, cbWiring, cbPF, cbQ, cbS, txtIIT, txtVLTIT};
    for (std::size_t k = 0; k < 2; ++k)
        settings.insert(settings.end(), {cbWdra[k], txtVCut[k], txtICut[k], cbInpSig[k]});
    // Greyed on the sub-types that take them from the card, but still read there.
    for (QWidget* w : settings) {
        w->setEnabled(settingsOn);
        ui::setBackColor(w, EnabledBackColor(settingsOn));
        ui::setReadableWhenDisabled(w);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{cbResetVal, cmdUp, cmdDown, CmdReset}) w->setEnabled(enable);

    if (settingsOn) {
        SetCTRatingEnabled(0);
        SetCTRatingEnabled(1);
        if (focusUpload) cmdUp->setFocus();
    } else {
        for (std::size_t k = 0; k < 2; ++k)
            for (QLineEdit* b : {txtCur1[k], txtCur2[k]}) {
                b->setEnabled(false);
                ui::setBackColor(b, colors::SysButtonFace);
                ui::setReadableWhenDisabled(b);
            }
    }
}

void frmGBH::showRows() {
    for (int r = 0; r < kRows; ++r) showRow(r);
}

void frmGBH::showRow(int r) {
    const std::size_t i = static_cast<std::size_t>(r);
    const GbhChannelRow& row = rows_.row(r);
    ++BindingBusy;
    cbItem[i]->setCurrentIndex(row.item);
    cbItem[i]->setVisible(row.itemVisible);
    for (QWidget* w : std::initializer_list<QWidget*>{txtUnit[i], txtValue[i], cbScale[i], cbWordNum[i], cbCh[i]})
        w->setVisible(row.controlsVisible);
    cbWordNum[i]->setCurrentIndex(row.wordIndex);
    cbWordNum[i]->setEnabled(cbItem[i]->isEnabled() && !row.wordLocked);
    cbCh[i]->setCurrentIndex(row.systemIndex);
    cbScale[i]->setCurrentIndex(row.scaleIndex);
    txtUnit[i]->setText(QString::fromLatin1(row.unit.c_str()));
    txtValue[i]->setText(QString::fromLatin1(row.value.c_str()));
    --BindingBusy;
}

}  // namespace talvo::screens
