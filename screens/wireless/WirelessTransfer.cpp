#include "screens/wireless/WirelessTransfer.h"

#include <algorithm>
#include <cstddef>

#include "core/Protocol.h"
#include "core/TextHelpers.h"

namespace talvo::wireless {

namespace {

using C = WControl;

// The upload and download orders of the OXF family and of OG. Controls a
// model lacks are left out when the steps are built, and so are "55" and
// "26" to "29" where the level keeps them out.
const std::vector<C> kOxfUpload = {
    C::modAdd,         C::List_M_DataMode, C::List_M_Baudrate, C::List_M_Parity, C::List_M_WEPort,
    C::modTimer,       C::wirTimer,        C::wirPANID,        C::wirChNo,       C::wirShortAddress,
    C::wirNetWork,     C::wirPassword,     C::wirTimer_Send,   C::List_W_Level,  C::List_W_Scale,
    C::List_W_flag,    C::MAC_Address,     C::FixNetworkFlag,  C::ShortAddress2, C::SetDetour,
    C::List_M_Mode,    C::movementMode,    C::NSAQuality,      C::NetworkJointMode, C::NDTTSU,
};
const std::vector<C> kOxfDownload = {
    C::modAdd,        C::List_M_DataMode, C::List_M_Baudrate, C::List_M_Parity, C::List_M_WEPort,
    C::modTimer,      C::wirTimer,        C::List_M_Mode,     C::wirPANID,      C::wirChNo,
    C::wirShortAddress, C::wirNetWork,    C::wirPassword,     C::wirTimer_Send, C::List_W_Level,
    C::List_W_Scale,  C::List_W_flag,     C::FixNetworkFlag,  C::ShortAddress2, C::SetDetour,
    C::movementMode,  C::NSAQuality,      C::NetworkJointMode, C::NDTTSU,
};
const std::vector<C> kOgUpload = {
    C::modAdd,        C::wirPANID,       C::wirChNo,      C::wirShortAddress, C::wirNetWork,
    C::wirPassword,   C::wirTimer_Send,  C::List_W_Level, C::modTimer,        C::wirTimer,
    C::List_W_Scale,  C::List_W_flag,    C::MAC_Address,  C::FixNetworkFlag,  C::ShortAddress2,
    C::SetDetour,     C::movementMode,   C::NSAQuality,   C::NetworkJointMode, C::NDTTSU,
};
const std::vector<C> kOgDownload = {
    C::modAdd,        C::wirPANID,      C::wirChNo,      C::wirShortAddress, C::wirNetWork,
    C::wirPassword,   C::wirTimer_Send, C::List_W_Level, C::modTimer,        C::wirTimer,
    C::List_W_Scale,  C::List_W_flag,   C::FixNetworkFlag, C::ShortAddress2, C::SetDetour,
    C::movementMode,  C::NSAQuality,    C::NetworkJointMode, C::NDTTSU,
};

bool IsNewFirmwareItem(C c) {
    return c == C::movementMode || c == C::NSAQuality || c == C::NetworkJointMode || c == C::NDTTSU;
}

bool TakesPart(WirelessModel m, int level, C c) {
    if (!HasControl(m, c)) return false;
    if (c == C::List_M_Mode) return TransfersModeItem(m, level);
    if (IsNewFirmwareItem(c)) return HasNewFirmwareOptions(m, level);
    return true;
}

std::optional<EnableRule> RuleAfterRead(C c) {
    switch (c) {
    case C::List_W_flag: return EnableRule::List_W_flag;
    case C::FixNetworkFlag: return EnableRule::FixNetworkFlag;
    case C::List_M_Mode: return EnableRule::List_M_Mode;
    case C::NDTTSU: return EnableRule::List_W_Scale;  // after the last new-firmware item
    default: return std::nullopt;
    }
}

std::vector<TransferStep> BuildSteps(WirelessModel m, int level, const std::vector<C>& order, bool download) {
    std::vector<TransferStep> steps;
    for (const C c : order) {
        if (!TakesPart(m, level, c)) continue;
        const int boxes = c == C::wirChNo ? kChannelCount : 1;
        for (int ch = 0; ch < boxes; ++ch) {
            TransferStep s;
            s.group = Info(c).group;
            s.item = ItemOf(c, ch);
            s.control = c;
            s.channel = ch;
            s.conv = ConvOf(m, c);
            if (download) {
                s.check = CheckOf(c);
            } else {
                s.ruleAfter = RuleAfterRead(c);
            }
            steps.push_back(s);
        }
    }
    return steps;
}

// A whole number of at most 9 digits, blanks around it allowed.
std::optional<int> WholeNumberOf(const std::string& s) {
    const auto v = DigitsValue(TrimBlanks(s), 9);
    if (!v) return std::nullopt;
    return static_cast<int>(*v);
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

// The entry a list reply names under the conversion; -1 for none.
int EntryFromReply(WirelessModel m, int count, WireConv conv, C list, const std::string& value) {
    if (conv == WireConv::ModeText) {
        const int exact = FindListEntry(list, value, count);
        if (exact >= 0) return exact;
        for (int i = 0; i < count; ++i)
            if (SameIgnoringCase(ListEntryText(list, i), value)) return i;
        return -1;
    }
    const std::optional<int> n = WholeNumberOf(value);
    if (!n) return -1;
    int index = -1;
    switch (conv) {
    case WireConv::Entry: index = *n; break;
    case WireConv::EntryPlus1: index = *n - 1; break;
    case WireConv::PortCode: {
        // The model's two port codes name their entries; any other number is
        // taken as the entry number itself ("0" is "RS-485").
        const ModelTraits& t = Traits(m);
        if (WholeNumberOf(t.portRs485) == n) index = 0;
        else if (WholeNumberOf(t.portWireless) == n) index = 1;
        else index = *n;
        break;
    }
    default: break;
    }
    return index >= 0 && index < count ? index : -1;
}

}  // namespace

WireConv ConvOf(WirelessModel m, WControl c) {
    switch (c) {
    case C::modTimer: return WireConv::TrimmedText;
    case C::wirTimer:
    case C::wirChNo:
    case C::wirTimer_Send: return m == WirelessModel::OG ? WireConv::WholeNumber : WireConv::TrimmedText;
    case C::wirPassword: return WireConv::Key;
    case C::List_M_DataMode:
    case C::List_M_Baudrate:
    case C::List_M_Parity:
    case C::List_W_Scale:
    case C::List_W_flag:
    case C::FixNetworkFlag:
    case C::SetDetour:
    case C::movementMode:
    case C::NSAQuality:
    case C::NetworkJointMode: return WireConv::Entry;
    case C::List_W_Level:
    case C::NDTTSU: return WireConv::EntryPlus1;
    case C::List_M_WEPort: return WireConv::PortCode;
    case C::List_M_Mode: return WireConv::ModeText;
    case C::MAC_Address: return WireConv::ReadOnly;
    default: return WireConv::Text;
    }
}

std::vector<TransferStep> UploadSteps(WirelessModel m, int firmwareLevel) {
    return BuildSteps(m, firmwareLevel, m == WirelessModel::OG ? kOgUpload : kOxfUpload, false);
}

std::vector<TransferStep> DownloadSteps(WirelessModel m, int firmwareLevel) {
    return BuildSteps(m, firmwareLevel, m == WirelessModel::OG ? kOgDownload : kOxfDownload, true);
}

bool IsFailedRead(const std::string& reply) { return reply.empty() || IsRefusal(reply); }

bool TakeUploadReply(WirelessModel m, int firmwareLevel, const TransferStep& step, const std::string& reply,
                     WirelessControls& controls) {
    const bool failed = IsFailedRead(reply);
    const std::string value = failed ? std::string() : TextAfterColon(reply);
    bool taken = !failed;
    switch (step.conv) {
    case WireConv::Text:
    case WireConv::TrimmedText:
    case WireConv::WholeNumber:
    case WireConv::ReadOnly:
        // A failed read keeps the box's text: "CNG" is no setting, and the
        // text it had is shown as not read.
        if (!failed) controls.Text(step.control, step.channel) = value;
        break;
    case WireConv::Key:
        // A key that is not one (a failed read among them) must not replace
        // the key the dialog holds.
        if (!failed && IsKeyText(value)) controls.KeyText = value;
        else taken = false;
        break;
    case WireConv::Entry:
    case WireConv::EntryPlus1:
    case WireConv::PortCode:
    case WireConv::ModeText: {
        if (failed) break;  // the entry shown stays, as not read
        const int count = ListEntryCount(m, firmwareLevel, step.control);
        const int entry = EntryFromReply(m, count, step.conv, step.control, value);
        controls.Entry(step.control) = entry;
        if (entry < 0) taken = false;
        break;
    }
    }
    if (step.ruleAfter) ApplyEnableRule(*step.ruleAfter, controls);
    return taken;
}

std::vector<CheckStep> DownloadChecks(WirelessModel m, int firmwareLevel) {
    std::vector<CheckStep> checks = {{WirelessCheck::CheckChannelList, 0}};
    for (const TransferStep& s : DownloadSteps(m, firmwareLevel))
        if (s.check) checks.push_back({*s.check, s.channel});
    return checks;
}

std::optional<CheckFailure> FirstFailedCheck(WirelessModel m, int firmwareLevel, const WirelessControls& controls,
                                             const HoldsValue& holds) {
    for (const CheckStep& c : DownloadChecks(m, firmwareLevel))
        if (auto failure = RunCheck(m, c.check, c.channel, controls, holds)) return failure;
    return std::nullopt;
}

std::optional<std::string> WireData(WirelessModel m, int firmwareLevel, const TransferStep& step,
                                    const WirelessControls& controls, const HoldsValue& holds) {
    // Nothing the card, a file or the user gave: not the card's setting.
    if (!holds(step.control, step.channel)) return std::nullopt;
    const std::string& text = controls.Text(step.control, step.channel);
    const int entry = controls.Entry(step.control);
    const int count = ListEntryCount(m, firmwareLevel, step.control);
    const bool selected = entry >= 0 && entry < count;
    switch (step.conv) {
    case WireConv::Text: return HasText(text) ? std::optional(text) : std::nullopt;
    case WireConv::TrimmedText: return HasText(text) ? std::optional(TrimBlanks(text)) : std::nullopt;
    case WireConv::WholeNumber: {
        const std::optional<int> n = WholeNumberOf(text);
        if (!n) return std::nullopt;
        return std::to_string(*n);
    }
    case WireConv::Key: return controls.KeyText;
    case WireConv::Entry:
        if (!selected) return std::nullopt;
        return std::to_string(entry);
    case WireConv::EntryPlus1:
    case WireConv::ModeText:
        if (!selected) return std::nullopt;
        return std::to_string(entry + 1);
    case WireConv::PortCode: {
        const ModelTraits& t = Traits(m);
        if (!selected) return std::nullopt;
        const std::string code = entry == 0 ? t.portRs485 : t.portWireless;
        if (code.empty()) return std::nullopt;
        return code;
    }
    case WireConv::ReadOnly: return std::nullopt;
    }
    return std::nullopt;
}

namespace {

// The highest firmware level of each model: every item it may transfer.
int TopLevel(WirelessModel m) { return m == WirelessModel::OXF ? 2 : 1; }

bool SameStep(const TransferStep& a, const TransferStep& b) {
    return a.control == b.control && a.channel == b.channel;
}

}  // namespace

DownloadPlan PlanDownload(WirelessModel m, int firmwareLevel, const WirelessControls& controls,
                          const HoldsValue& holds, bool versionKnown) {
    DownloadPlan plan;
    plan.failedCheck = FirstFailedCheck(m, firmwareLevel, controls, holds);
    if (plan.failedCheck) return plan;
    const std::vector<TransferStep> steps = DownloadSteps(m, firmwareLevel);
    // With the version unknown, what it decides is neither sent nor known to be absent.
    const std::vector<TransferStep> all = versionKnown ? steps : DownloadSteps(m, TopLevel(m));
    for (const TransferStep& s : all) {
        const bool takesPart =
            std::any_of(steps.begin(), steps.end(), [&](const TransferStep& t) { return SameStep(s, t); });
        const std::optional<std::string> data =
            takesPart ? WireData(m, firmwareLevel, s, controls, holds) : std::nullopt;
        if (data)
            plan.writes.push_back({s.group, s.item, *data});
        else
            plan.left.push_back(s);
    }
    return plan;
}

}  // namespace talvo::wireless
