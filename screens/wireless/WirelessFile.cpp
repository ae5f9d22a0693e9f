#include "screens/wireless/WirelessFile.h"

#include <cstddef>
#include <utility>

#include "core/TextHelpers.h"
#include "screens/wireless/WirelessChecks.h"

namespace talvo::wireless {

namespace {

using C = WControl;
using R = EnableRule;

constexpr std::size_t kKeyLength = 32;

bool ScrambleDigits(const std::string& scrambleKey) { return scrambleKey.size() == kKeyLength && IsUnsignedText(scrambleKey); }

std::optional<std::string> Scramble(const std::string& text, const std::string& scrambleKey, int sign) {
    if (text.size() < kKeyLength || !ScrambleDigits(scrambleKey)) return std::nullopt;
    std::string out;
    out.reserve(kKeyLength);
    for (std::size_t i = 0; i < kKeyLength; ++i) {
        const int d = scrambleKey[i] - '0';
        const int code = static_cast<unsigned char>(text[i]) + sign * d;
        if (code < 0 || code > 255) return std::nullopt;
        out += static_cast<char>(code);
    }
    return out;
}

// Where a record stands in the file and when it is there.
enum class When { Always, Key, ModeRead, OptionsRead };

struct Slot {
    C control;
    When when;
};

const std::vector<Slot> kOxfOrder = {
    {C::modAdd, When::Always},          {C::List_M_DataMode, When::Always}, {C::List_M_Baudrate, When::Always},
    {C::List_M_Parity, When::Always},   {C::List_M_WEPort, When::Always},   {C::modTimer, When::Always},
    {C::wirTimer, When::Always},        {C::wirPANID, When::Always},        {C::wirChNo, When::Always},
    {C::wirShortAddress, When::Always}, {C::wirNetWork, When::Always},      {C::wirPassword, When::Key},
    {C::wirTimer_Send, When::Always},   {C::List_W_Level, When::Always},    {C::List_W_Scale, When::Always},
    {C::List_W_flag, When::Always},     {C::FixNetworkFlag, When::Always},  {C::ShortAddress2, When::Always},
    {C::SetDetour, When::Always},       {C::List_M_Mode, When::ModeRead},   {C::movementMode, When::OptionsRead},
    {C::NSAQuality, When::OptionsRead}, {C::NetworkJointMode, When::OptionsRead}, {C::NDTTSU, When::OptionsRead},
};

const std::vector<Slot> kOgOrder = {
    {C::modAdd, When::Always},          {C::wirPANID, When::Always},        {C::wirChNo, When::Always},
    {C::wirShortAddress, When::Always}, {C::wirNetWork, When::Always},      {C::wirPassword, When::Key},
    {C::wirTimer_Send, When::Always},   {C::List_W_Level, When::Always},    {C::wirTimer, When::Always},
    {C::List_W_Scale, When::Always},    {C::List_W_flag, When::Always},     {C::FixNetworkFlag, When::Always},
    {C::ShortAddress2, When::Always},   {C::SetDetour, When::Always},       {C::modTimer, When::Always},
    {C::movementMode, When::OptionsRead}, {C::NSAQuality, When::OptionsRead}, {C::NetworkJointMode, When::OptionsRead},
    {C::NDTTSU, When::OptionsRead},
};

bool KeyInFile(WirelessModel m, int c) {
    switch (m) {
    case WirelessModel::OXF: return c >= 2;
    case WirelessModel::OXF1F: return true;
    case WirelessModel::OG: return c >= 1;
    }
    return false;
}

bool Present(WirelessModel m, int c, When when, bool reading) {
    switch (when) {
    case When::Always: return true;
    case When::Key: return KeyInFile(m, c);
    case When::ModeRead:
        if (!reading || m == WirelessModel::OXF1F) return true;
        return c == 1 || c >= 3;
    case When::OptionsRead:
        if (!reading || m == WirelessModel::OXF1F) return true;
        return m == WirelessModel::OG ? c >= 2 : c >= 3;
    }
    return false;
}

// The enable rules that follow a record on a read: the first two once the
// records before the optional ones are in, the others after their lists.
std::vector<R> RulesAfter(WirelessModel m, C c) {
    const C lastFixed = m == WirelessModel::OG ? C::modTimer : C::SetDetour;
    if (c == lastFixed) return {R::List_W_flag, R::FixNetworkFlag};
    if (c == C::List_M_Mode) return {R::List_M_Mode};
    if (c == C::NDTTSU) return {R::List_W_Scale};
    return {};
}

std::vector<FileField> Fields(WirelessModel m, int c, bool reading) {
    std::vector<FileField> fields;
    for (const Slot& s : m == WirelessModel::OG ? kOgOrder : kOxfOrder) {
        if (!HasControl(m, s.control) || !Present(m, c, s.when, reading)) continue;
        const int boxes = s.control == C::wirChNo ? kChannelCount : 1;
        for (int ch = 0; ch < boxes; ++ch) {
            FileField f{s.control, ch, {}};
            if (ch == boxes - 1) f.rulesAfter = RulesAfter(m, s.control);
            fields.push_back(f);
        }
    }
    return fields;
}

bool IsList(C c) { return Info(c).kind == ControlKind::List; }

}  // namespace

std::optional<std::string> EncodeKey(const std::string& key, const std::string& scrambleKey) {
    return Scramble(key, scrambleKey, +1);
}

std::optional<std::string> DecodeKey(const std::string& scrambled, const std::string& scrambleKey) {
    return Scramble(scrambled, scrambleKey, -1);
}

std::vector<FileField> FileFieldsWritten(WirelessModel m, int fileCode) { return Fields(m, fileCode, false); }

std::vector<FileField> FileFieldsRead(WirelessModel m, int fileCode) { return Fields(m, fileCode, true); }

std::string FileFilter(WirelessModel m) {
    const std::string ext = Traits(m).fileExtension;
    return ext + " Files (*." + ext + ")|*." + ext + "|Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
}

std::optional<int> ParseFileCode(const std::string& line) {
    int value = 0;
    if (!TextToInteger16(TrimBlanks(line, " \t"), value)) return std::nullopt;
    return value;
}

bool FileCodeAccepted(WirelessModel m, int fileCode, int fileFormatCode) {
    return !Traits(m).fileCodeChecked || fileCode <= fileFormatCode;
}

bool BuildFileRecords(WirelessModel m, int fileFormatCode, const WirelessControls& controls, const HoldsValue& holds,
                      std::vector<std::string>& records, std::string& error) {
    std::vector<std::string> out;
    for (const FileField& f : FileFieldsWritten(m, fileFormatCode)) {
        if (!holds(f.control, f.channel)) {
            out.emplace_back();
        } else if (f.control == C::wirPassword) {
            const std::optional<std::string> scrambled = EncodeKey(controls.KeyText);
            if (!scrambled) {
                error = "The encryption key cannot be saved: it is not 32 characters long.";
                return false;
            }
            out.push_back(*scrambled);
        } else if (IsList(f.control)) {
            out.push_back(ListEntryText(f.control, controls.Entry(f.control)));
        } else {
            out.push_back(controls.Text(f.control, f.channel));
        }
    }
    records = std::move(out);
    return true;
}

FileReadResult ReadFileRecords(WirelessModel m, int firmwareLevel, int fileFormatCode, const std::string& codeLine,
                               const std::vector<std::string>& records, WirelessControls& controls,
                               std::vector<FileValue>& loaded, std::string& error) {
    const std::optional<int> code = ParseFileCode(codeLine);
    if (!code) {
        error = "The file's first line holds no file code.";
        return FileReadResult::Damaged;
    }
    if (!FileCodeAccepted(m, *code, fileFormatCode)) return FileReadResult::Refused;

    const std::vector<FileField> fields = FileFieldsRead(m, *code);
    if (records.size() < fields.size()) {
        error = "The file ends before all its settings.";
        return FileReadResult::Damaged;
    }
    WirelessControls next = controls;
    std::vector<FileValue> given;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FileField& f = fields[i];
        const std::string& record = records[i];
        const std::string line = std::to_string(i + 2);  // the code is line 1
        given.push_back({f.control, f.channel, HasText(record)});
        if (f.control == C::wirPassword) {
            // Saved without a key: the dialog keeps its own, as no value.
            if (!record.empty()) {
                const std::optional<std::string> key = DecodeKey(record);
                if (!key || record.size() != 32 || !IsKeyText(*key)) {
                    error = "Line " + line + ": the encryption key is damaged.";
                    return FileReadResult::Damaged;
                }
                next.KeyText = *key;
            }
        } else if (IsList(f.control)) {
            if (record.empty()) {
                next.Entry(f.control) = -1;
            } else {
                const int entry = FindListEntry(f.control, record, ListEntryCount(m, firmwareLevel, f.control));
                if (entry < 0) {
                    error = "Line " + line + ": \"" + record + "\" is not a choice of " + CaptionOnOneLine(f.control) +
                            ".";
                    return FileReadResult::Damaged;
                }
                next.Entry(f.control) = entry;
            }
        } else {
            next.Text(f.control, f.channel) = record;
        }
        for (const EnableRule r : f.rulesAfter) ApplyEnableRule(r, next);
    }
    controls = std::move(next);
    loaded = std::move(given);
    return FileReadResult::Read;
}

}  // namespace talvo::wireless
