#include "screens/universal_in/frmYK4.h"

#include <QSignalBlocker>
#include <cassert>
#include <iterator>
#include <optional>
#include <span>
#include <string_view>

#include "core/Colors.h"
#include "core/Globals.h"
#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "screens/skeleton/TextBoxes.h"
#include "screens/universal_in/YK4Tables.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;
using yk4::EntryBox;

namespace {

// Every exchange of this card makes up to 11 attempts.
constexpr int kRetries = 10;
constexpr int kChannels = 4;

std::size_t at(int ch) { return static_cast<std::size_t>(ch - 1); }
// Each channel has 14 record fields, Param(b + 1) to Param(b + 14).
int fieldBase(int ch) { return 14 * (ch - 1); }
PerChannel channelField(int field) { return {14, field - 14}; }
constexpr int kUnitField = 57, kAdcSpeedField = 58, kLimitField = 59;
constexpr int kInputTypeField = 7, kBurnoutField = 8, kCjcField = 9;

// The settings table, in the order the transfers run.
enum Row {
    Unit, AdcSpeed, Limit, InputType, Unused, Burnout, Cjc,
    ZScale, FScale, ZAdjust, FAdjust, ZBase, FBase,
    kRows
};
// Each value box kind with its row, its item and its field: the row is looked
// up by the kind, never by the order of this table.
struct ValueRow {
    EntryBox kind;
    Row row;
    int item, field;
    const char* name;
};
constexpr ValueRow kValueRows[] = {
    {EntryBox::ZeroScale, ZScale, 55, 5, "Zero Scale"},   {EntryBox::FullScale, FScale, 56, 6, "Full Scale"},
    {EntryBox::ZeroAdjust, ZAdjust, 53, 3, "Zero Adjust"}, {EntryBox::FullAdjust, FAdjust, 54, 4, "Full Adjust"},
    {EntryBox::ZeroBase, ZBase, 51, 1, "Zero Base"},       {EntryBox::FullBase, FBase, 52, 2, "Full Base"},
};
std::size_t kindIndex(EntryBox kind) { return static_cast<std::size_t>(kind); }

QString latin1(std::string_view s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }
std::string listText(const QComboBox* list) { return list->currentText().toLatin1().toStdString(); }

// Shows the entry whose text is exactly `text` (case and blanks count); false,
// and the list unchanged, when it has none.
bool selectEntry(QComboBox* list, std::string_view text) {
    const QString wanted = latin1(text);
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i) == wanted) {
            list->setCurrentIndex(i);
            return true;
        }
    return false;
}
// The entry of a code the card reported; no entry at all for a text the list lacks.
void showEntryOrNone(QComboBox* list, std::string_view text) {
    if (!selectEntry(list, text)) list->setCurrentIndex(-1);
}

template <class Names>
void fillList(QComboBox* list, const Names& names) {
    const QSignalBlocker quiet(list);
    list->clear();
    for (std::string_view n : names) list->addItem(latin1(n));
    list->setCurrentIndex(-1);  // the lists start with no entry shown
}

std::string lastChars(const std::string& s, std::size_t n) { return s.size() <= n ? s : s.substr(s.size() - n); }

bool numericKey(const std::string&, int, char16_t key) { return yk4::FilterKeyNumeric(key); }

}  // namespace

frmYK4::frmYK4(QWidget* parent) : CardScreen("K6-YK4", parent) {
    cycleMs_ = 1000;
    requestClearedAfterRun_ = true;
    transferRetries_ = kRetries;

    QWidget* b = body();
    newLabel(b, "Unit", 240, 0, 900, Qt::AlignHCenter);
    List_TempUnit = new QComboBox(b);
    List_TempUnit->setObjectName("List_TempUnit");
    placeTwips(List_TempUnit, 240, 300, 900, 375);
    newLabel(b, "ADC Speed", 1320, 0, 1140, Qt::AlignHCenter);
    List_ADCSpeed = new QComboBox(b);
    List_ADCSpeed->setObjectName("List_ADCSpeed");
    placeTwips(List_ADCSpeed, 1320, 300, 1140, 375);
    newLabel(b, "Limit", 2640, 0, 600, Qt::AlignHCenter);
    chkLimit = new QCheckBox(b);
    chkLimit->setObjectName("chkLimit");
    placeTwips(chkLimit, 2850, 330, 300, 300);

    // Column headings over the channel frames.
    const int headingTop = 720;
    newLabel(b, "Value", 180, headingTop, 1020, Qt::AlignHCenter);
    newLabel(b, "InputType", 1290, headingTop, 1920, Qt::AlignHCenter);
    newLabel(b, "Unused", 3240, headingTop, 720, Qt::AlignHCenter);
    newLabel(b, " Burnout", 3990, headingTop, 900, Qt::AlignHCenter);
    newLabel(b, "Scale", 6540, headingTop, 840, Qt::AlignHCenter);
    newLabel(b, "Adjust", 7460, headingTop, 840, Qt::AlignHCenter);
    newLabel(b, " Base", 8380, headingTop, 780, Qt::AlignHCenter);

    for (int ch = 1; ch <= kChannels; ++ch) layoutChannel(ch, 1020 + (ch - 1) * 1140);
    buildSettings();

    live_ = {.boxes = txtParData01,
             .items = ItemRange(10, kChannels),
             .pauseMs = 50,
             .removeDecimalPoint = false,  // shown as they come, point included
             .retries = kRetries,
             .rereadValue = "TMOUT"};
}

void frmYK4::layoutChannel(int ch, int top) {
    auto* f = new QGroupBox(body());
    f->setObjectName(QString("fraCh%1").arg(ch));
    placeTwips(f, 60, top, 9160, 1080);
    fraCh1.push_back(f);
    const int zeroRow = 180, fullRow = 600, mid = 390;
    const QString n = QString::number(ch);

    newLabel(f, "Ch." + n, 120, zeroRow + 37, 1020)->setObjectName("Label12_" + n);
    QLineEdit* live = newLockedBox(f);
    live->setObjectName("txtParData01_" + n);
    placeTwips(live, 120, fullRow, 1020, 375);
    txtParData01.push_back(live);

    const auto list = [&](std::vector<QComboBox*>& v, const char* name, int left, int width) {
        auto* l = new QComboBox(f);
        l->setObjectName(QString(name) + n);
        placeTwips(l, left, mid, width, 375);
        v.push_back(l);
        return l;
    };
    QComboBox* type = list(List_InputType, "List_InputType", 1230, 1920);
    QComboBox* unused = list(List_ChEnable, "List_ChEnable", 3180, 720);
    list(List_BurnOut, "List_BurnOut", 3930, 900);
    connect(type, &QComboBox::currentIndexChanged, this, [this, ch] { List_InputType_Click(ch); });
    connect(unused, &QComboBox::currentIndexChanged, this, [this, ch] { List_ChEnable_Click(ch); });

    auto* cjc = new QCheckBox(f);
    cjc->setObjectName("ChkCJC" + n);
    placeTwips(cjc, 4920, mid + 37, 300, 300);
    ChkCJC.push_back(cjc);
    newLabel(f, " CJC SW", 5190, mid + 37, 720);

    newLabel(f, "Zero", 5940, zeroRow + 37, 540);
    newLabel(f, "Full ", 5940, fullRow + 37, 540);
    const auto value = [&](std::vector<QLineEdit*>& v, EntryBox kind, const char* name, int left, int width,
                           int row) {
        QLineEdit* box = newSettingBox(f, numericKey);
        box->setObjectName(QString(name) + n);
        placeTwips(box, left, row, width, 375);
        v.push_back(box);
        // Typed, pasted or set by the screen: every change is checked at once.
        connect(box, &QLineEdit::textChanged, this, [this, kind, ch] { valueChanged(kind, ch); });
    };
    value(txtZScale, EntryBox::ZeroScale, "txtZScale", 6480, 840, zeroRow);
    value(txtFScale, EntryBox::FullScale, "txtFScale", 6480, 840, fullRow);
    value(txtBias, EntryBox::ZeroAdjust, "txtBias", 7400, 840, zeroRow);
    value(txtGain, EntryBox::FullAdjust, "txtGain", 7400, 840, fullRow);
    value(txtZBase, EntryBox::ZeroBase, "txtZBase", 8320, 780, zeroRow);
    value(txtFBase, EntryBox::FullBase, "txtFBase", 8320, 780, fullRow);
}

std::vector<QLineEdit*>& frmYK4::valueBoxes(EntryBox kind) {
    switch (kind) {
        case EntryBox::ZeroBase: return txtZBase;
        case EntryBox::FullBase: return txtFBase;
        case EntryBox::ZeroScale: return txtZScale;
        case EntryBox::FullScale: return txtFScale;
        case EntryBox::ZeroAdjust: return txtBias;
        case EntryBox::FullAdjust: return txtGain;
    }
    assert(!"a value box kind without its boxes");
    return txtZScale;
}

const std::string& frmYK4::lastAccepted(EntryBox kind, int ch) const { return lastAccepted_[kindIndex(kind)][at(ch)]; }

// --- entry ---

void frmYK4::YK4_Init(const std::string& typeCode) {
    ReadModelVersion(typeCode);
    InitControls();
    SetScaleMinMax(typeCode);
    ReadInitialChData();
}

void frmYK4::ReadModelVersion(const std::string& typeCode) {
    IsVariantA = false;
    std::string model;
    std::string version;
    // Without the card selected the model and version would be another card's.
    if (SelectCard(cardSlot(), kRetries)) {
        model = WriteItemChecked(kRetries, "01", "90", "");
        version = WriteItemChecked(kRetries, "01", "92", "");
    }
    IsVariantA = model == yk4::kVariantAModel;
    setBoxText(txtCardType, IsVariantA ? lastChars(model, 5) : lastChars(typeCode, 4));
    // A version the card did not give keeps the one the opener read.
    if (!version.empty() && !IsRefusal(version)) setBoxText(txtVerNo, lastChars(version, 6));
}

void frmYK4::InitControls() {
    // The input types and units differ by variant and are built anew on every entry.
    for (QComboBox* l : List_InputType) {
        std::vector<std::string_view> names;
        for (const yk4::InputType& t : yk4::InputTypes(IsVariantA)) names.push_back(t.name);
        fillList(l, names);
    }
    fillList(List_TempUnit, yk4::TempUnitNames(IsVariantA));
    if (!listsBuilt_) {
        for (QComboBox* l : List_ChEnable) fillList(l, yk4::ChEnableNames());
        for (QComboBox* l : List_BurnOut) fillList(l, yk4::BurnoutNames());
        fillList(List_ADCSpeed, yk4::AdcSpeedNames());
        for (const ValueRow& v : kValueRows)
            for (int ch = 1; ch <= kChannels; ++ch)
                lastAccepted_[kindIndex(v.kind)][at(ch)] = boxText(valueBoxes(v.kind)[at(ch)]);
        listsBuilt_ = true;
    }
    for (int ch = 1; ch <= kChannels; ++ch) applyEnableRule(ch);
}

void frmYK4::showSettingsExtra(const CardRecord& rec) {
    if (IsVariantA) {
        // "   C" for a record without a unit is the program's own: no value.
        const std::string& unit = rec.Param[kUnitField];
        selectEntry(List_TempUnit, unit == "   C" || unit == "   F" ? unit : std::string("   C"));
        selectEntry(List_ADCSpeed, yk4::kFixedAdcSpeedA);
        List_ADCSpeed->setEnabled(false);
        // The "/A" card's speed is fixed by its model, not a default: a value
        // without a read, unless the card refused it or does not use it.
        if (const Setting& speed = settings_[AdcSpeed]; held(speed, 1, rec) == Held::NotRead)
            setHeld(speed, 1, Held::Value);
    } else {
        selectEntry(List_TempUnit, rec.Param[kUnitField]);
        List_ADCSpeed->setEnabled(true);
        selectEntry(List_ADCSpeed, rec.Param[kAdcSpeedField]);
    }
    chkLimit->setChecked(rec.Param[kLimitField] == "1");

    for (int ch = 1; ch <= kChannels; ++ch) {
        const int b = fieldBase(ch);
        selectEntry(List_InputType[at(ch)], rec.Param[b + kInputTypeField]);
        selectEntry(List_BurnOut[at(ch)], rec.Param[b + kBurnoutField]);
        showUnused(ch, rec.ChOption[ch]);
        ChkCJC[at(ch)]->setChecked(rec.Param[b + kCjcField] == "1");
    }
    // Each text passes its box's check. The screen serves every slot of this
    // card, so what a box held before may be another card's: a text the check
    // refuses empties the box (an empty box is not sent) rather than leaving it.
    // (The skeleton has put the record's texts in already, checked against what
    // the boxes held; this check starts afresh.)
    for (int ch = 1; ch <= kChannels; ++ch)
        for (const ValueRow& v : kValueRows) {
            const EntryBox kind = v.kind;
            const Setting& row = settings_[v.row];
            const yk4::EntryResult r = yk4::CheckEntry(kind, rec.Param[row.param(ch)], "");
            lastAccepted_[kindIndex(kind)][at(ch)] = r.lastAccepted;
            checking_ = true;
            setBoxText(valueBoxes(kind)[at(ch)], r.shown);
            checking_ = false;
        }
    for (int ch = 1; ch <= kChannels; ++ch) applyEnableRule(ch);
}

void frmYK4::showUnused(int ch, const std::string& value) {
    QComboBox* list = List_ChEnable[at(ch)];
    if (value == "0" || value == "1") selectEntry(list, value);
    if (listText(list) == "1")
        ui::setListColors(list, colors::Red);
    else if (value == "0")
        ui::setListColors(list, colors::Green);
}

void frmYK4::ReadInitialChData() {
    for (int ch = 1; ch <= kChannels; ++ch)
        setBoxText(txtParData01[at(ch)], ShownValue(ReadItem(kRetries, "00", std::to_string(9 + ch))));
}

// --- list and box handlers ---

void frmYK4::List_ChEnable_Click(int ch) {
    QComboBox* list = List_ChEnable[at(ch)];
    const std::string text = listText(list);
    if (text == "0") ui::setListColors(list, colors::Green);
    if (text == "1") ui::setListColors(list, colors::Red);
}

void frmYK4::List_InputType_Click(int ch) {
    applyEnableRule(ch);
    if (!yk4::InputTypeClearsCjc(IsVariantA, listText(List_InputType[at(ch)]))) return;
    QCheckBox* cjc = ChkCJC[at(ch)];
    cjc->setChecked(false);
    // The untick is the program's: a switch that held no value still holds
    // none, and shows it (partly checked) rather than an "off" nobody read.
    if (const CardRecord* rec = G().CardRecords.get(cardSlot())) DrawHeld(cjc, held(settings_[Cjc], ch, *rec));
}

void frmYK4::applyEnableRule(int ch) {
    const yk4::ChannelEnables e = yk4::InputTypeEnables(IsVariantA, listText(List_InputType[at(ch)]));
    List_BurnOut[at(ch)]->setEnabled(e.burnout);
    ChkCJC[at(ch)]->setEnabled(e.cjc);
}

void frmYK4::valueChanged(EntryBox kind, int ch) {
    if (checking_) return;
    QLineEdit* box = valueBoxes(kind)[at(ch)];
    std::string& last = lastAccepted_[kindIndex(kind)][at(ch)];
    const std::string text = boxText(box);
    yk4::EntryResult r = yk4::CheckEntry(kind, text, last);
    last = std::move(r.lastAccepted);
    if (r.shown != text) {
        checking_ = true;
        setBoxText(box, r.shown);
        checking_ = false;
    }
}

// --- transfers ---
// The settings as the skeleton's rows: everything in group "01" under two-digit
// items, a card item read with an empty data frame, a channel item with the
// channel ("01" to "04") in the data frame, in front of the value written. The
// lists and check boxes turn the card's codes into their entries and back; a
// reply that is no code of its list leaves the control and the record as they
// were, as a refusal does. The failed-transfer rule of the skeleton holds: the
// first exchange the card does not answer ends the transfer, and what was not
// read or written yet keeps what it held.

void frmYK4::buildSettings() {
    const Address card = {.data = DataFrame::Empty, .itemDigits = 2};
    const Address channel = {.data = DataFrame::Channel, .itemDigits = 2};
    const RecordRule noValueKeeps = {};
    // A list that shows no entry of the card's sends nothing, and the record takes its text.
    const RecordRule listRule = {.unsent = Unsent::Stored};
    // "", "-" and "." hold no value: nothing is sent and the box and the record keep theirs.
    const RecordRule valueRule = {.unsent = Unsent::Kept};
    const Checks holdsValue = {.accepts = [](const std::string& text) { return !yk4::IsEmptyEntry(text); }};
    const auto value = [&](const ValueRow& v) {
        return Setting{.boxes = valueBoxes(v.kind), .group = "01", .item = {0, v.item}, .param = channelField(v.field),
                       .at = channel, .check = holdsValue, .record = valueRule, .name = v.name};
    };
    const std::vector<Setting> controls = {
        {.group = "01", .item = {0, 87}, .param = {0, kUnitField}, .at = card, .record = noValueKeeps,
         .control = unitControl(), .name = "Unit"},
        {.group = "01", .item = {0, 13}, .param = {0, kAdcSpeedField}, .at = card, .record = noValueKeeps,
         .control = adcSpeedControl(), .name = "ADC Speed"},
        {.group = "01", .item = {0, 57}, .param = {0, kLimitField}, .at = card, .record = noValueKeeps,
         .control = limitControl(), .name = "Limit"},
        {.group = "01", .item = {0, 5}, .param = channelField(kInputTypeField), .at = channel, .record = listRule,
         .control = inputTypeControl(), .name = "InputType"},
        {.group = "01", .item = {0, 50}, .at = channel, .flag = {.unused = true}, .record = listRule,
         .control = unusedControl(), .name = "Unused"},
        {.group = "01", .item = {0, 20}, .param = channelField(kBurnoutField), .at = channel, .record = listRule,
         .control = burnoutControl(), .name = "Burnout"},
        {.group = "01", .item = {0, 25}, .param = channelField(kCjcField), .at = channel, .record = noValueKeeps,
         .control = cjcControl(), .name = "CJC SW"},
    };
    // The lists and check boxes come in the order of their rows; each value box
    // goes to the row of its kind.
    settings_ = controls;
    settings_.resize(kRows);
    for (const ValueRow& v : kValueRows) settings_[v.row] = value(v);
    passes_ = {
        {.openGroup = "01", .downloadOnly = true},  // an upload opens no group
        {.settings = {Unit, AdcSpeed, Limit}},
        {.settings = {InputType, Unused, Burnout, Cjc}, .progressAfter = [](int ch) { return ch; }},
        {.settings = {ZScale, FScale, ZAdjust, FAdjust}, .progressAfter = [](int ch) { return ch + 4; }},
        {.settings = {ZBase, FBase}, .progressAfter = [](int ch) { return ch + 8; }},
    };
}

namespace {

// A list whose entry the record keeps as its text.
std::function<std::string(int)> listTextOf(const std::vector<QComboBox*>& lists) {
    return [&lists](int ch) { return listText(lists[at(ch)]); };
}
std::function<std::string(int)> checkTextOf(const std::vector<QCheckBox*>& boxes) {
    return [&boxes](int ch) { return std::string(boxes[at(ch)]->isChecked() ? "1" : "0"); };
}

}  // namespace

Control frmYK4::unitControl() {
    return {.channels = 1,
            .text = [this](int) { return listText(List_TempUnit); },
            .show = [this](int, const std::string& v) -> std::optional<std::string> {
                const auto code = yk4::ParseDecimalCode(v);
                if (!code) return std::nullopt;
                showEntryOrNone(List_TempUnit, yk4::TempUnitCodeToName(IsVariantA, *code));
                return listText(List_TempUnit);
            },
            // No unit shown: nothing is sent (no unit the user did not see).
            .data = [this](int) {
                const std::string_view code = yk4::TempUnitNameToCode(IsVariantA, listText(List_TempUnit));
                return code == yk4::kNoCode ? std::string() : std::string(code);
            },
            .widget = [this](int) -> QWidget* { return List_TempUnit; }};
}

Control frmYK4::adcSpeedControl() {
    return {.channels = 1,
            .text = [this](int) { return listText(List_ADCSpeed); },
            // The "/A" card shows its fixed speed whatever it answers.
            .show = [this](int, const std::string& v) -> std::optional<std::string> {
                const auto code = yk4::ParseDecimalCode(v);
                if (!code) return std::nullopt;
                showEntryOrNone(List_ADCSpeed, IsVariantA ? yk4::kFixedAdcSpeedA : yk4::AdcSpeedCodeToName(*code));
                return listText(List_ADCSpeed);
            },
            // The "/A" card gets its fixed speed, "3", which its list shows; no
            // speed shown sends nothing.
            .data = [this](int) {
                if (IsVariantA) {
                    selectEntry(List_ADCSpeed, yk4::kFixedAdcSpeedA);
                    return std::string("3");
                }
                const std::string_view code = yk4::AdcSpeedNameToCode(listText(List_ADCSpeed));
                return code == yk4::kNoCode ? std::string() : std::string(code);
            },
            .widget = [this](int) -> QWidget* { return List_ADCSpeed; }};
}

Control frmYK4::limitControl() {
    return {.channels = 1,
            .text = [this](int) { return std::string(chkLimit->isChecked() ? "1" : "0"); },
            // An empty value is no value either; any other text counts by its
            // leading number, and anything but 0 or 1 counts as 0.
            .show = [this](int, const std::string& v) -> std::optional<std::string> {
                if (v.empty()) return std::nullopt;
                const bool on = LeadingNumber(v) == 1;
                chkLimit->setChecked(on);
                return on ? "1" : "0";
            },
            .widget = [this](int) -> QWidget* { return chkLimit; }};
}

Control frmYK4::inputTypeControl() {
    return {.channels = kChannels,
            .text = listTextOf(List_InputType),
            // The code comes as hexadecimal digits; one without an entry shows none.
            .show = [this](int ch, const std::string& v) -> std::optional<std::string> {
                const auto code = yk4::ParseHexCode(v);
                if (!code) return std::nullopt;
                showEntryOrNone(List_InputType[at(ch)], yk4::InputTypeCodeToName(IsVariantA, *code));
                return listText(List_InputType[at(ch)]);
            },
            .data = [this](int ch) {
                const std::string_view code = yk4::InputTypeNameToCode(IsVariantA, listText(List_InputType[at(ch)]));
                return code == yk4::kNoCode ? std::string() : std::string(code);
            },
            .widget = [this](int ch) -> QWidget* { return List_InputType[at(ch)]; }};
}

Control frmYK4::unusedControl() {
    return {.channels = kChannels,
            .text = listTextOf(List_ChEnable),
            // The card tells whether the channel is in use: any value but 0 is "0" (in use).
            .show = [this](int ch, const std::string& v) -> std::optional<std::string> {
                const auto inUse = yk4::ParseDecimalCode(v);
                if (!inUse) return std::nullopt;
                showUnused(ch, *inUse != 0 ? "0" : "1");
                return listText(List_ChEnable[at(ch)]);
            },
            .data = [this](int ch) {
                const std::string unused = listText(List_ChEnable[at(ch)]);
                if (unused == "0") return std::string("1");
                return std::string(unused == "1" ? "0" : "");
            },
            .widget = [this](int ch) -> QWidget* { return List_ChEnable[at(ch)]; }};
}

Control frmYK4::burnoutControl() {
    return {.channels = kChannels,
            .text = listTextOf(List_BurnOut),
            .show = [this](int ch, const std::string& v) -> std::optional<std::string> {
                const auto code = yk4::ParseDecimalCode(v);
                if (!code) return std::nullopt;
                showEntryOrNone(List_BurnOut[at(ch)], yk4::BurnoutCodeToName(*code));
                return listText(List_BurnOut[at(ch)]);
            },
            .data = [this](int ch) {
                const std::string_view code = yk4::BurnoutNameToCode(listText(List_BurnOut[at(ch)]));
                return code == yk4::kNoCode ? std::string() : std::string(code);
            },
            .widget = [this](int ch) -> QWidget* { return List_BurnOut[at(ch)]; }};
}

Control frmYK4::cjcControl() {
    return {.channels = kChannels,
            .text = checkTextOf(ChkCJC),
            // Anything but 1 counts as off.
            .show = [this](int ch, const std::string& v) -> std::optional<std::string> {
                const auto on = yk4::ParseDecimalCode(v);
                if (!on) return std::nullopt;
                ChkCJC[at(ch)]->setChecked(*on == 1);
                return *on == 1 ? "1" : "0";
            },
            .widget = [this](int ch) -> QWidget* { return ChkCJC[at(ch)]; }};
}

void frmYK4::uploadExtra(Transfer&) {
    for (int ch = 1; ch <= kChannels; ++ch) applyEnableRule(ch);
}

}  // namespace talvo::screens
