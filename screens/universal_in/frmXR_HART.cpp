#include "screens/universal_in/frmXR_HART.h"

#include <QLabel>
#include <iterator>

#include "core/Globals.h"
#include "core/KeyFilters.h"
#include "core/Protocol.h"
#include "core/SettingsFile.h"
#include "core/SettingsFormat.h"
#include "core/TextHelpers.h"
#include "platform/FileDialogFolder.h"
#include "platform/Services.h"
#include "ui/Geometry.h"
#include "ui/DialogBoxes.h"
#include "ui/DialogValues.h"

namespace talvo::screens {

using hart::Field;
using ui::Held;
using ui::placeTwips;

namespace {

constexpr int kRetries = 3;
constexpr int kUploadSteps = 69;

// Each block's box, with the progress a transfer reaches after it.
struct BlockRow {
    Field field;
    hart::BlockId block;
    const char* caption;
    const char* name;
    int progress;  // 0: none after this block
};
constexpr BlockRow kBlockRows[] = {
    {Field::DeviceVariableCode, hart::BlockId::DeviceVariableCodes, "Device Variable Codes", "DeviceVariableCode", 0},
    {Field::AnalogChCode, hart::BlockId::AnalogChannelCodes, "Analog Channel Codes", "AnalogChCode", 20},
    {Field::AutoCommand, hart::BlockId::AutoCommand, "Auto Command", "AutoCmmand", 50},
    {Field::DeviceSpecificCommand, hart::BlockId::DeviceSpecificCommand, "Device Specific Auto Command",
     "DeviceSpecificCommand", 0},
    {Field::ConstantData, hart::BlockId::ConstantData, "Constant Data", "ConstantData", kUploadSteps},
};
constexpr Field kNumberFields[] = {Field::PollAdd, Field::CyclHigh, Field::CyclLow, Field::Retry};

void showMessage(const std::string& text, const std::string& title, platform::MsgIcon icon) {
    if (auto* box = platform::services().messages) box->show(text, title, icon);
}

std::size_t at(Field f) { return static_cast<std::size_t>(f); }

// What a block read gives the field: a reply that cannot be the block is no value either.
Held heldOf(hart::BlockOutcome outcome) {
    switch (outcome) {
        case hart::BlockOutcome::Read: return Held::Value;
        case hart::BlockOutcome::Refused: return Held::Refused;
        case hart::BlockOutcome::Needless: return Held::Needless;
        case hart::BlockOutcome::Damaged:
        case hart::BlockOutcome::Unanswered: break;
    }
    return Held::NotRead;
}

// A value the dialog puts into a box shows from its first character.
void putText(QLineEdit* box, const std::string& text) {
    ui::setText(box, text);
    box->setCursorPosition(0);
}

}  // namespace

frmXR_HART::frmXR_HART(QWidget* parent) : ui::SettingsDialog(parent) {
    setObjectName("frmXR_HART");
    setWindowTitle(QStringLiteral("HART"));
    setFixedSize(ui::twips(9240), ui::twips(7200));

    HARTCh_No = new QGroupBox(QStringLiteral("HART1"), this);
    HARTCh_No->setObjectName("HARTCh_No");
    placeTwips(HARTCh_No, 120, 120, 9000, 6180);

    const auto numberBox = [this](const char* name, const char* caption, int left, int top) {
        ui::newLabel(HARTCh_No, caption, left, top, 1500);
        auto* box = new QLineEdit(HARTCh_No);
        box->setObjectName(name);
        placeTwips(box, left + 1560, top - 15, 840, 330);
        ui::FilterKeys(box, FilterKeyDigits);
        ui::SelectAllOnFocus(box);
        return box;
    };
    PollAdd = numberBox("PollAdd", "Polling Address", 240, 360);
    CYCL_HIGH = numberBox("CYCL_HIGH", "CYCL_HIGH", 2880, 360);
    CYCL_LOW = numberBox("CYCL_LOW", "CYCL_LOW", 240, 780);
    Retry = numberBox("Retry", "Retry", 2880, 780);
    ui::newLabel(HARTCh_No, "Master Mode", 5520, 360, 1320);
    List_MasterMode = new QComboBox(HARTCh_No);
    List_MasterMode->setObjectName("List_MasterMode");
    List_MasterMode->setEditable(true);  // the one list that takes typed text
    List_MasterMode->setInsertPolicy(QComboBox::NoInsert);
    // Typed or read, the open list highlights the entry the box shows (none for another text).
    ui::followShownEntry(List_MasterMode);
    placeTwips(List_MasterMode, 6900, 345, 1860, 345);
    connect(List_MasterMode, &QComboBox::editTextChanged, this,
            [this](const QString& t) { current()[at(Field::MasterMode)] = t.toLatin1().toStdString(); });

    QLineEdit** blockBoxes[] = {&DeviceVariableCode, &AnalogChCode, &AutoCmmand, &DeviceSpecificCommand,
                                &ConstantData};
    for (int i = 0; i < 5; ++i) {
        const BlockRow& row = kBlockRows[i];
        auto* frame = new QGroupBox(QString::fromLatin1(row.caption), HARTCh_No);
        frame->setObjectName(QString("fra%1").arg(row.name));
        placeTwips(frame, 120, 1260 + i * 780, 8760, 720);
        auto* box = new QLineEdit(frame);
        box->setObjectName(row.name);
        placeTwips(box, 120, 300, 7320, 330);
        ui::FilterKeys(box, FilterKeyHex);
        ui::SelectAllOnFocus(box);
        // The two code blocks take no more than their block holds.
        const hart::Block& block = hart::blockOf(row.block);
        if (row.field == Field::DeviceVariableCode || row.field == Field::AnalogChCode) box->setMaxLength(block.size());
        *blockBoxes[i] = box;
        auto* clear = new QPushButton(QStringLiteral("Clear"), frame);
        // Enter in a box must not press a button of the dialog.
        clear->setAutoDefault(false);
        clear->setObjectName(QString("CmdClear%1").arg(i));
        placeTwips(clear, 7560, 270, 1080, 390);
        CmdClear[static_cast<std::size_t>(i)] = clear;
        onCommand(clear, [this, i] { CmdClear_Click(i); });
    }

    ProgressBar = new QProgressBar(HARTCh_No);
    ProgressBar->setObjectName("ProgressBar");
    placeTwips(ProgressBar, 240, 5220, 8520, 300);
    ProgressBar->setVisible(false);

    // One row along the dialog's foot, each button as wide as its caption needs
    // with a margin, so that no caption touches its button's edges.
    int left = 180;
    const auto button = [this, &left](const char* name, const char* caption, int width) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        placeTwips(b, left, 6480, width, 480);
        left += width + 60;
        return b;
    };
    CmdDownCh = button("CmdDownCh", "Down Ch", 1020);
    CmdUpCh = button("CmdUpCh", "Up Ch", 900);
    CmdReset = button("CmdReset", "Reset Start", 1260);
    CmdUpload = button("CmdUpload", "Upload", 1020);
    CmdDownload = button("CmdDownload", "Download", 1140);
    CmdReadFile = button("CmdReadFile", "Read File", 1080);
    CmdWriteFile = button("CmdWriteFile", "Save File", 1080);
    CmdExit = button("CmdExit", "Exit", 900);

    onLocal(CmdUpCh, &frmXR_HART::CmdUpCh_Click);
    onLocal(CmdDownCh, &frmXR_HART::CmdDownCh_Click);
    onCommand(CmdReset, [this] { CmdReset_Click(); });
    onCommand(CmdUpload, [this] { CmdUpload_Click(); });
    onCommand(CmdDownload, [this] { CmdDownload_Click(); });
    onLocalCommand(CmdReadFile, [this] { CmdReadFile_Click(); });
    onLocalCommand(CmdWriteFile, [this] { CmdWriteFile_Click(); });
    onExit(CmdExit);

    std::vector<QWidget*> all{CmdDownCh, CmdUpCh, CmdReadFile, CmdWriteFile, CmdUpload, CmdDownload, CmdExit, CmdReset};
    all.insert(all.end(), CmdClear.begin(), CmdClear.end());
    buttons().setButtons(all);

    for (Field f : kNumberFields) {
        QLineEdit* box = boxOf(f);
        checks().watch(box, [this, f] { return checkField(f); });
    }
    for (const BlockRow& row : kBlockRows) checks().watch(boxOf(row.field), [this, f = row.field] { return checkField(f); });
}

void frmXR_HART::onLocal(QPushButton* button, void (frmXR_HART::*handler)()) {
    connect(button, &QPushButton::clicked, this, [this, handler] {
        if (busy() || !checks().settle()) return;
        (this->*handler)();
    });
}

QLineEdit* frmXR_HART::boxOf(Field f) const {
    switch (f) {
        case Field::PollAdd: return PollAdd;
        case Field::CyclHigh: return CYCL_HIGH;
        case Field::CyclLow: return CYCL_LOW;
        case Field::Retry: return Retry;
        case Field::DeviceVariableCode: return DeviceVariableCode;
        case Field::AnalogChCode: return AnalogChCode;
        case Field::AutoCommand: return AutoCmmand;
        case Field::DeviceSpecificCommand: return DeviceSpecificCommand;
        case Field::ConstantData: return ConstantData;
        default: return nullptr;
    }
}

QWidget* frmXR_HART::controlOf(Field f) const {
    return f == Field::MasterMode ? static_cast<QWidget*>(List_MasterMode->lineEdit()) : boxOf(f);
}

ui::ValueKey frmXR_HART::keyOf(int channelIndex, Field f) const {
    return {slot_, std::string("HART.") + hart::FieldName(f), channelIndex + 1};
}

Held frmXR_HART::held(Field f) const { return ui::Values().of(keyOf(HartChNo, f)); }

Held frmXR_HART::takeRead(Field f, const std::string& reply) {
    const Held h = ui::Values().read(keyOf(HartChNo, f), reply);
    ui::DrawHeld(controlOf(f), h);
    return h;
}

void frmXR_HART::setHeld(Field f, Held h) {
    ui::Values().set(keyOf(HartChNo, f), h);
    ui::DrawHeld(controlOf(f), h);
}

void frmXR_HART::bindShown() {
    // The user's edit gives the field of the channel shown then its value.
    for (int f = 0; f < hart::kFieldCount; ++f)
        ui::BindSetting(controlOf(static_cast<Field>(f)), keyOf(HartChNo, static_cast<Field>(f)));
}

std::string frmXR_HART::group() const { return std::to_string(HartChNo + 1); }
hart::Channel& frmXR_HART::current() { return tables[static_cast<std::size_t>(HartChNo)]; }

void frmXR_HART::XR4_HART_Init(int channelIndex, int slot) {
    slot_ = slot;
    setLineCard(slot);
    HartChNo = channelIndex >= 0 && channelIndex < hart::kChannels ? channelIndex : 0;
    Init();
    Disp();
}

void frmXR_HART::Init() {
    tables = {};
    // Emptied by the program: no field holds a value until it is read, loaded or typed.
    for (int ch = 0; ch < hart::kChannels; ++ch)
        for (int f = 0; f < hart::kFieldCount; ++f) ui::Values().set(keyOf(ch, static_cast<Field>(f)), Held::NotRead);
    List_MasterMode->clear();
    List_MasterMode->addItems({QString::fromLatin1(hart::kPrimary), QString::fromLatin1(hart::kSecondary)});
    List_MasterMode->setCurrentIndex(-1);
}

void frmXR_HART::Disp() {
    HARTCh_No->setTitle(QString("HART%1").arg(HartChNo + 1));
    const hart::Channel values = current();  // a copy: the list's change handler writes the table
    for (int f = 0; f < hart::kFieldCount; ++f)
        if (QLineEdit* box = boxOf(static_cast<Field>(f))) putText(box, values[static_cast<std::size_t>(f)]);
    List_MasterMode->setEditText(QString::fromLatin1(values[at(Field::MasterMode)].c_str()));
    bindShown();
}

void frmXR_HART::CmdUpCh_Click() {
    HartChNo = (HartChNo + 1) % hart::kChannels;
    Disp();
}

void frmXR_HART::CmdDownCh_Click() {
    HartChNo = (HartChNo + hart::kChannels - 1) % hart::kChannels;
    Disp();
}

void frmXR_HART::SetpgBar_Local(int max) {
    ProgressBar->setRange(0, max);
    ProgressBar->setValue(0);
    ProgressBar->setVisible(true);
}

bool frmXR_HART::selectCard(bool viaCommCard) {
    if (!SelectCard(slot_, kRetries, viaCommCard ? SelectFrames::ViaCommCard : SelectFrames::Both)) return false;
    return !WriteItem(kRetries, group(), "01", "F").empty();
}

bool frmXR_HART::checkField(Field f) {
    QLineEdit* box = boxOf(f);
    const std::string text = ui::text(box);
    const hart::CheckResult r = hart::CheckField(f, text);
    if (!r.ok) {
        ui::ShowEntryMessage(r.message);
        return false;
    }
    if (r.text != text) putText(box, r.text);
    if (r.store) current()[at(f)] = r.text;
    return true;
}

// --- transfers ---
// Each stops at the first exchange the card does not answer; what was not read
// or written keeps what it held, the message comes once, and the link stays.
// A field the card refuses (or does not use) is no value: it keeps what it
// showed, drawn as not read, and the upload goes on with the next.

void frmXR_HART::CmdUpload_Click() {
    Running run(*this);
    SetpgBar_Local(kUploadSteps);
    hart::Channel& table = current();
    bool ok = selectCard(true);
    for (Field f : kNumberFields) {
        if (!ok) break;
        const std::string reply = ReadItem(kRetries, group(), hart::FieldItem(f));
        ok = !reply.empty();
        if (ok && takeRead(f, reply) == Held::Value) {
            putText(boxOf(f), TextAfterColon(reply));
            table[at(f)] = ui::text(boxOf(f));
        }
    }
    if (ok) {
        const std::string reply = ReadItem(kRetries, group(), hart::FieldItem(Field::MasterMode));
        ok = !reply.empty();
        if (ok && takeRead(Field::MasterMode, reply) == Held::Value) {
            // A value that is no entry shows no mode (and Download has none to send).
            const std::string mode = hart::MasterModeOfValue(TextAfterColon(reply));
            List_MasterMode->setEditText(QString::fromLatin1(mode.c_str()));
            table[at(Field::MasterMode)] = mode;
        }
        if (ok) ProgressBar->setValue(10);
    }
    for (const BlockRow& row : kBlockRows) {
        if (!ok) break;
        const hart::BlockRead read = hart::ReadHartBlock(hart::blockOf(row.block), group());
        ok = read.outcome != hart::BlockOutcome::Unanswered;
        if (!ok) break;
        setHeld(row.field, heldOf(read.outcome));
        if (read.outcome == hart::BlockOutcome::Read) {
            putText(boxOf(row.field), read.text);
            table[at(row.field)] = read.text;
        }
        if (row.progress) ProgressBar->setValue(row.progress);
    }
    ProgressBar->setVisible(false);
    if (!ok) ui::ShowTransferMessage(ui::kUploadingIncomplete);
}

void frmXR_HART::CmdDownload_Click() {
    Running run(*this);
    SetpgBar_Local(kUploadSteps);
    // Only values are sent. A field without one (not read, refused, emptied
    // by the program), or with nothing to send (an empty box, a master mode
    // that is no entry), stays as it is on the card and is named at the end.
    ui::LeftAsTheyAre left;
    const auto sendable = [&](Field f, const std::string& sent) {
        const Held h = held(f);
        if (h == Held::Value && !sent.empty()) return true;
        left.add(h == Held::Value ? Held::NotRead : h, hart::FieldName(f));
        return false;
    };
    bool ok = selectCard(false);
    for (Field f : kNumberFields) {
        if (!ok) break;
        const std::string text = TrimBlanks(ui::text(boxOf(f)));
        if (sendable(f, text)) ok = !WriteItem(kRetries, group(), hart::FieldItem(f), text).empty();
    }
    if (ok) {
        const std::string mode = hart::ValueOfMasterMode(List_MasterMode->currentText().toLatin1().toStdString());
        if (sendable(Field::MasterMode, mode))
            ok = !WriteItem(kRetries, group(), hart::FieldItem(Field::MasterMode), mode).empty();
        if (ok) ProgressBar->setValue(10);
    }
    for (const BlockRow& row : kBlockRows) {
        if (!ok) break;
        const std::string text = ui::text(boxOf(row.field));
        if (sendable(row.field, text)) ok = hart::WriteHartBlock(hart::blockOf(row.block), group(), text);
        if (ok && row.progress) ProgressBar->setValue(row.progress);
    }
    ProgressBar->setVisible(false);
    if (!ok) {
        ui::ShowTransferMessage(ui::kDownloadingIncomplete);
        return;
    }
    left.tell();
}

void frmXR_HART::CmdClear_Click(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kBlockRows))) return;
    Running run(*this);
    // The box and the table keep their texts.
    const hart::Block& block = hart::blockOf(kBlockRows[index].block);
    const bool ok = selectCard(true) && !WriteItem(kRetries, group(), block.item, "C").empty();
    if (!ok) ui::ShowTransferMessage(ui::kDownloadingIncomplete);
}

void frmXR_HART::CmdReset_Click() {
    Running run(*this);
    const bool ok = selectCard(true) && !WriteItem(kRetries, group(), "50", "9999").empty();
    if (!ok) {
        ui::ShowTransferMessage(ui::kDownloadingIncomplete);
        return;
    }
    // The card's HART master starts again meanwhile; the dialog's commands wait.
    PauseMs(resetWaitMs);
}

// --- the channel settings file ---

void frmXR_HART::CmdWriteFile_Click() {
    Running run(*this);
    std::string path;
    if (!platform::AskSavePath(hart::kFileFilter, path)) return;
    const hart::Channel& values = current();
    const std::string unsavable = hart::FindUnsavableValue(values);
    if (!unsavable.empty()) {
        showMessage(unsavable + " Nothing was saved.", "Open Error", platform::MsgIcon::None);
        return;
    }
    std::string error;
    if (!SaveWholeFile(path, hart::FormatHartFile(values), error))
        showMessage("Cannot save \"" + path + "\". " + error, "Open Error", platform::MsgIcon::None);
}

void frmXR_HART::CmdReadFile_Click() {
    Running run(*this);
    std::string path;
    if (!platform::AskOpenPath(hart::kFileFilter, path)) return;
    std::string bytes;
    std::string error;
    hart::Channel read;
    hart::FileRead result = hart::FileRead::Damaged;
    if (ReadWholeFile(path, kMaxQuotedFileBytes, bytes, error)) result = hart::ParseHartFile(bytes, read, error);
    switch (result) {
        case hart::FileRead::Read:
            current() = read;
            // A field the file fills holds a value; an empty one holds none.
            for (int f = 0; f < hart::kFieldCount; ++f)
                ui::Values().loaded(keyOf(HartChNo, static_cast<Field>(f)), read[static_cast<std::size_t>(f)]);
            Disp();
            return;
        case hart::FileRead::Refused:
            showMessage("read file incomplete", "save file", platform::MsgIcon::Stop);
            return;
        case hart::FileRead::Damaged:
            showMessage("Cannot load \"" + path + "\". " + error, "", platform::MsgIcon::None);
            return;
    }
}

}  // namespace talvo::screens
