#include "screens/universal_in/frmYK4.h"

#include <QSignalBlocker>
#include <optional>
#include <span>
#include <string_view>

#include "core/Colors.h"
#include "core/Globals.h"
#include "core/MainView.h"
#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "screens/TextBoxes.h"
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
// The channel as the card takes it in front of a value: "01" to "04".
std::string channelText(int ch) { return "0" + std::to_string(ch); }
// Each channel has 14 record fields, Param(b + 1) to Param(b + 14).
int fieldBase(int ch) { return 14 * (ch - 1); }
constexpr int kUnitField = 57, kAdcSpeedField = 58, kLimitField = 59;
constexpr int kInputTypeField = 7, kBurnoutField = 8, kCjcField = 9;

// A value box's item on the card and its record field Param(b + field).
struct ValueItem {
    EntryBox kind;
    const char* item;
    int field;
};
constexpr ValueItem kValueItems[] = {
    {EntryBox::ZeroBase, "51", 1},   {EntryBox::FullBase, "52", 2},  {EntryBox::ZeroAdjust, "53", 3},
    {EntryBox::FullAdjust, "54", 4}, {EntryBox::ZeroScale, "55", 5}, {EntryBox::FullScale, "56", 6},
};
const ValueItem& valueItem(EntryBox kind) {
    for (const ValueItem& v : kValueItems)
        if (v.kind == kind) return v;
    return kValueItems[0];
}
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

// A reply that the card refused ("CNG", "NEEDLESS") is no value. Otherwise the
// text after the colon, as a code.
std::optional<int> decimalCode(const std::string& reply) {
    if (IsRefusal(reply)) return std::nullopt;
    return yk4::ParseDecimalCode(TextAfterColon(reply));
}
std::optional<int> hexCode(const std::string& reply) {
    if (IsRefusal(reply)) return std::nullopt;
    return yk4::ParseHexCode(TextAfterColon(reply));
}

void setListColor(QComboBox* list, std::uint32_t color) { ui::setListColors(list, color, colors::White); }

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
    const std::string slot = std::to_string(cardSlot());
    if (!WriteItem(kRetries, "00", "01", "F").empty() && !WriteItem(kRetries, "00", "41", slot).empty()) {
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
        for (const ValueItem& v : kValueItems)
            for (int ch = 1; ch <= kChannels; ++ch)
                lastAccepted_[kindIndex(v.kind)][at(ch)] = boxText(valueBoxes(v.kind)[at(ch)]);
        listsBuilt_ = true;
    }
    for (int ch = 1; ch <= kChannels; ++ch) applyEnableRule(ch);
}

void frmYK4::showSettingsExtra(const CardRecord& rec) {
    if (IsVariantA) {
        const std::string& unit = rec.Param[kUnitField];
        selectEntry(List_TempUnit, unit == "   C" || unit == "   F" ? unit : std::string("   C"));
        selectEntry(List_ADCSpeed, yk4::kFixedAdcSpeedA);
        List_ADCSpeed->setEnabled(false);
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
    for (int ch = 1; ch <= kChannels; ++ch)
        for (const ValueItem& v : kValueItems) {
            const yk4::EntryResult r = yk4::CheckEntry(v.kind, rec.Param[fieldBase(ch) + v.field], "");
            lastAccepted_[kindIndex(v.kind)][at(ch)] = r.lastAccepted;
            checking_ = true;
            setBoxText(valueBoxes(v.kind)[at(ch)], r.shown);
            checking_ = false;
        }
    for (int ch = 1; ch <= kChannels; ++ch) applyEnableRule(ch);
}

void frmYK4::showUnused(int ch, const std::string& value) {
    QComboBox* list = List_ChEnable[at(ch)];
    if (value == "0" || value == "1") selectEntry(list, value);
    if (listText(list) == "1")
        setListColor(list, colors::Red);
    else if (value == "0")
        setListColor(list, colors::Green);
}

void frmYK4::ReadInitialChData() {
    for (int ch = 1; ch <= kChannels; ++ch)
        setBoxText(txtParData01[at(ch)], TextAfterColon(ReadItem(kRetries, "00", std::to_string(9 + ch))));
}

// --- list and box handlers ---

void frmYK4::List_ChEnable_Click(int ch) {
    QComboBox* list = List_ChEnable[at(ch)];
    const std::string text = listText(list);
    if (text == "0") setListColor(list, colors::Green);
    if (text == "1") setListColor(list, colors::Red);
}

void frmYK4::List_InputType_Click(int ch) {
    applyEnableRule(ch);
    if (yk4::InputTypeClearsCjc(IsVariantA, listText(List_InputType[at(ch)]))) ChkCJC[at(ch)]->setChecked(false);
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
// Each follows the failed-transfer rule: the first exchange the card does not
// answer ends it with the message and the disconnect; what was not read or
// written yet keeps what it held.

void frmYK4::readValues(Transfer& t, std::initializer_list<EntryBox> kinds, int ch) {
    CardRecord& rec = t.record();
    for (EntryBox kind : kinds) {
        const ValueItem& v = valueItem(kind);
        const std::string reply = t.readChecked("01", v.item, channelText(ch));
        if (!t.ok()) return;
        if (IsRefusal(reply)) continue;  // no value: the box and the record keep theirs
        QLineEdit* box = valueBoxes(kind)[at(ch)];
        setBoxText(box, TextAfterColon(reply));
        rec.Param.set(fieldBase(ch) + v.field, boxText(box));  // what the box took of it
    }
}

void frmYK4::UploadSettings() {
    Transfer t(*this, "Uploading incomplete");
    if (!t.ok()) return;
    CardRecord& rec = stampedRecord(t);
    mainView().showProgress(transferSteps_.upload, "Uploading");
    if (!t.select()) return;

    // A reply that is no code ("CNG", "NEEDLESS", not a number) leaves the
    // control and its record field as they were.
    std::string reply = t.readChecked("01", "87", "");
    if (!t.ok()) return;
    if (const auto code = decimalCode(reply)) {
        showEntryOrNone(List_TempUnit, yk4::TempUnitCodeToName(IsVariantA, *code));
        rec.Param.set(kUnitField, listText(List_TempUnit));
    }
    reply = t.readChecked("01", "13", "");
    if (!t.ok()) return;
    List_ADCSpeed->setEnabled(!IsVariantA);
    if (const auto code = decimalCode(reply)) {
        showEntryOrNone(List_ADCSpeed, IsVariantA ? yk4::kFixedAdcSpeedA : yk4::AdcSpeedCodeToName(*code));
        rec.Param.set(kAdcSpeedField, listText(List_ADCSpeed));
    }
    reply = t.readChecked("01", "57", "");
    if (!t.ok()) return;
    // An empty value is no value either; any other text counts by its leading number.
    if (!IsRefusal(reply) && !TextAfterColon(reply).empty()) {
        const bool on = LeadingNumber(TextAfterColon(reply)) == 1;  // anything but 0 or 1 counts as 0
        chkLimit->setChecked(on);
        rec.Param.set(kLimitField, on ? "1" : "0");
    }

    for (int ch = 1; ch <= kChannels; ++ch) {
        const int b = fieldBase(ch);
        const std::string cc = channelText(ch);
        reply = t.readChecked("01", "05", cc);
        if (!t.ok()) return;
        if (const auto code = hexCode(reply)) {
            showEntryOrNone(List_InputType[at(ch)], yk4::InputTypeCodeToName(IsVariantA, *code));
            rec.Param.set(b + kInputTypeField, listText(List_InputType[at(ch)]));
        }
        reply = t.readChecked("01", "50", cc);
        if (!t.ok()) return;
        if (const auto inUse = decimalCode(reply)) {
            showUnused(ch, *inUse != 0 ? "0" : "1");
            rec.ChOption.set(ch, listText(List_ChEnable[at(ch)]));
        }
        reply = t.readChecked("01", "20", cc);
        if (!t.ok()) return;
        if (const auto code = decimalCode(reply)) {
            showEntryOrNone(List_BurnOut[at(ch)], yk4::BurnoutCodeToName(*code));
            rec.Param.set(b + kBurnoutField, listText(List_BurnOut[at(ch)]));
        }
        reply = t.readChecked("01", "25", cc);
        if (!t.ok()) return;
        if (const auto on = decimalCode(reply)) {
            ChkCJC[at(ch)]->setChecked(*on == 1);
            rec.Param.set(b + kCjcField, *on == 1 ? "1" : "0");
        }
        t.step(ch);
    }
    for (int ch = 1; ch <= kChannels; ++ch) {
        readValues(t, {EntryBox::ZeroScale, EntryBox::FullScale, EntryBox::ZeroAdjust, EntryBox::FullAdjust}, ch);
        if (!t.ok()) return;
        t.step(ch + 4);
    }
    for (int ch = 1; ch <= kChannels; ++ch) {
        readValues(t, {EntryBox::ZeroBase, EntryBox::FullBase}, ch);
        if (!t.ok()) return;
        t.step(ch + 8);
    }
    for (int ch = 1; ch <= kChannels; ++ch) applyEnableRule(ch);
}

bool frmYK4::writeValues(Transfer& t, std::initializer_list<EntryBox> kinds, int ch) {
    for (EntryBox kind : kinds) {
        const ValueItem& v = valueItem(kind);
        const std::string text = boxText(valueBoxes(kind)[at(ch)]);
        // "", "-" and "." hold no value: nothing is sent and the record keeps its own.
        if (yk4::IsEmptyEntry(text)) continue;
        t.write("01", v.item, channelText(ch) + text);
        if (!t.ok()) return false;
        t.record().Param.set(fieldBase(ch) + v.field, text);
    }
    return true;
}

void frmYK4::DownloadSettings() {
    Transfer t(*this, "Downloading incomplete");
    if (!t.ok()) return;
    CardRecord& rec = stampedRecord(t);
    const auto send = [&t](const char* item, const std::string& text) {
        t.write("01", item, text);
        return t.ok();
    };
    if (!t.select() || !send("01", "1")) return;
    mainView().showProgress(transferSteps_.upload, "Downloading");

    std::string code(yk4::TempUnitNameToCode(IsVariantA, listText(List_TempUnit)));
    if (code == yk4::kNoCode) {
        selectEntry(List_TempUnit, "   C");
        code = "0";
    }
    if (!send("87", code)) return;
    rec.Param.set(kUnitField, listText(List_TempUnit));

    if (IsVariantA) {
        selectEntry(List_ADCSpeed, yk4::kFixedAdcSpeedA);
        code = "3";
    } else {
        code = yk4::AdcSpeedNameToCode(listText(List_ADCSpeed));
        if (code == yk4::kNoCode) {
            selectEntry(List_ADCSpeed, "Middle");
            code = "2";
        }
    }
    if (!send("13", code)) return;
    rec.Param.set(kAdcSpeedField, listText(List_ADCSpeed));

    const std::string limit = chkLimit->isChecked() ? "1" : "0";
    if (!send("57", limit)) return;
    rec.Param.set(kLimitField, limit);

    for (int ch = 1; ch <= kChannels; ++ch) {
        const int b = fieldBase(ch);
        const std::string cc = channelText(ch);
        // A list showing no entry sends nothing for it. The record takes each
        // setting once the card has it.
        const std::string type = listText(List_InputType[at(ch)]);
        code = yk4::InputTypeNameToCode(IsVariantA, type);
        if (code != yk4::kNoCode && !send("05", cc + code)) return;
        rec.Param.set(b + kInputTypeField, type);
        const std::string unused = listText(List_ChEnable[at(ch)]);
        if ((unused == "0" || unused == "1") && !send("50", cc + (unused == "0" ? "1" : "0"))) return;
        rec.ChOption.set(ch, unused);
        const std::string burnout = listText(List_BurnOut[at(ch)]);
        code = yk4::BurnoutNameToCode(burnout);
        if (code != yk4::kNoCode && !send("20", cc + code)) return;
        rec.Param.set(b + kBurnoutField, burnout);
        const std::string cjc = ChkCJC[at(ch)]->isChecked() ? "1" : "0";
        if (!send("25", cc + cjc)) return;
        rec.Param.set(b + kCjcField, cjc);
        t.step(ch);
    }
    for (int ch = 1; ch <= kChannels; ++ch) {
        if (!writeValues(t, {EntryBox::ZeroScale, EntryBox::FullScale, EntryBox::ZeroAdjust, EntryBox::FullAdjust},
                         ch))
            return;
        t.step(ch + 4);
    }
    for (int ch = 1; ch <= kChannels; ++ch) {
        if (!writeValues(t, {EntryBox::ZeroBase, EntryBox::FullBase}, ch)) return;
        t.step(ch + 8);
    }
}

}  // namespace talvo::screens
