#include "screens/wireless/WirelessModel.h"

#include <cstddef>

#include "core/Protocol.h"
#include "core/TextHelpers.h"

namespace talvo::wireless {

namespace {

using C = WControl;
using K = ControlKind;
using F = KeyFilterKind;

const std::array<ControlInfo, kControlCount> kControls = {{
    {C::modAdd, "modAdd", K::Text, "Address", "00", "56", F::Digits},
    {C::List_M_DataMode, "List_M_DataMode", K::List, "Data Mode", "00", "58", F::None},
    {C::List_M_Baudrate, "List_M_Baudrate", K::List, "Baud rate", "00", "57", F::None},
    {C::List_M_Parity, "List_M_Parity", K::List, "Parity", "00", "60", F::None},
    {C::List_M_WEPort, "List_M_WEPort", K::List, "Write enable port", "00", "61", F::None},
    {C::List_M_Mode, "List_M_Mode", K::List, "Slave or Relay", "00", "55", F::None},
    {C::modTimer, "modTimer", K::Text, "Filter timeout on polling (100msec)", "00", "62", F::Digits},
    {C::wirTimer, "wirTimer", K::Text, "Communication timeout (100msec)", "00", "63", F::Digits},
    {C::wirPANID, "wirPANID", K::Text, "PAN-ID", "17", "30", F::Hex},
    {C::wirChNo, "wirChNo", K::Text, "Ch. No. 01", "17", "31", F::Digits},
    {C::wirShortAddress, "wirShortAddress", K::Text, "Short address", "17", "41", F::Hex},
    {C::wirNetWork, "wirNetWork", K::Text, "Network name", "17", "42", F::Name},
    {C::wirPassword, "wirPassword", K::Text, "Encryption key", "17", "43", F::Hex},
    {C::wirTimer_Send, "wirTimer_Send", K::Text, "Monitoring unit time of 10% Duty (sec)", "17", "44", F::Digits},
    {C::List_W_Level, "List_W_Level", K::List, "Transmitter power output", "17", "45", F::None},
    {C::List_W_Scale, "List_W_Scale", K::List, "Number of devices\nin a network", "17", "46", F::None},
    {C::List_W_flag, "List_W_flag", K::List, "Packet filtering", "17", "47", F::None},
    {C::MAC_Address, "MAC_Address", K::Text, "MAC Address", "17", "76", F::None},
    {C::FixNetworkFlag, "FixNetworkFlag", K::List, "Fixed route", "17", "48", F::None},
    {C::ShortAddress2, "ShortAddress2", K::Text, "Destination short address", "17", "49", F::Hex},
    {C::SetDetour, "SetDetour", K::List, "Temporary detour", "17", "50", F::None},
    {C::movementMode, "movementMode", K::List, "Low speed moving mode", "17", "26", F::None},
    {C::NSAQuality, "NSAQuality", K::List, "Set network quality", "17", "27", F::None},
    {C::NetworkJointMode, "NetworkJointMode", K::List, "Network join mode", "17", "28", F::None},
    {C::NDTTSU, "NDTTSU", K::List, "Retry times before route switching", "17", "29", F::None},
}};

const std::array<ModelTraits, 3> kTraits = {{
    {WirelessModel::OXF, "frmOXF", "OXFx Settings", "Modbus ", true, true, 28, true, true, "1", "3", true, "oxf",
     false},
    {WirelessModel::OXF1F, "frmOXF1F", "OXF1F Settings", "Modbus ", true, false, 43, false, false, "5", "9", true,
     "oxf1f", false},
    {WirelessModel::OG, "frmOG", "OGx Settings", "Modbus", false, true, 28, true, true, "", "", false, "og", true},
}};

const std::vector<std::string> kNoEntries;
const std::vector<std::string> kDataMode = {"RTU", "ASCII"};
const std::vector<std::string> kBaudrate = {"38.4kbps", "19.2kbps", "9600bps", "4800bps"};
const std::vector<std::string> kParity = {"None", "Odd", "Even"};
const std::vector<std::string> kWEPort = {"RS-485", "Wireless"};
const std::vector<std::string> kMode = {"SLAVE", "RELAY"};
const std::vector<std::string> kLevel = {"0.16mW", "   1mW", "  20mW"};
const std::vector<std::string> kScale = {"1 - 30", "31 - 60", "61 - 100", "Fixed + Low speed moving"};
const std::vector<std::string> kDisableEnable = {"Disable", "Enable"};
const std::vector<std::string> kQuality = {"Standard", "Changing frequency\xA5" "delaytime middle",
                                           "Changing frequency\xA5" "delaytime large"};
const std::vector<std::string> kJoinMode = {"V3 compatible mode", "fast joint mode"};
const std::vector<std::string> kRetries = {"1", "2", "3"};

bool InRs485Block(WControl c) {
    return c == C::List_M_DataMode || c == C::List_M_Baudrate || c == C::List_M_Parity || c == C::List_M_WEPort ||
           c == C::List_M_Mode;
}

// A channel index that is out of range lands on the nearest box, never past the array.
std::size_t ChannelSlot(int channel) {
    return static_cast<std::size_t>(channel < 0 ? 0 : channel >= kChannelCount ? kChannelCount - 1 : channel);
}

}  // namespace

const std::array<ControlInfo, kControlCount>& Controls() { return kControls; }

const ControlInfo& Info(WControl c) { return kControls[static_cast<std::size_t>(ControlIndex(c))]; }

std::string ChannelCaption(int channel) {
    const int n = channel + 1;
    return std::string("Ch. No. ") + (n < 10 ? "0" : "") + std::to_string(n);
}

std::string CaptionOnOneLine(WControl c) {
    std::string caption = Info(c).caption;
    for (char& ch : caption)
        if (ch == '\n') ch = ' ';
    return caption;
}

std::string ItemOf(WControl c, int channel) {
    if (c == C::wirChNo) return std::to_string(31 + channel);
    return Info(c).item;
}

const ModelTraits& Traits(WirelessModel m) { return kTraits[static_cast<std::size_t>(m)]; }

bool HasControl(WirelessModel m, WControl c) {
    if (InRs485Block(c)) return Traits(m).hasRs485Block;
    if (c == C::wirTimer_Send) return Traits(m).hasTimerSend;
    return true;
}

bool HasNewFirmwareOptions(WirelessModel m, int firmwareLevel) {
    switch (m) {
    case WirelessModel::OXF: return firmwareLevel >= 2;
    case WirelessModel::OXF1F: return true;
    case WirelessModel::OG: return firmwareLevel >= 1;
    }
    return false;
}

bool TransfersModeItem(WirelessModel m, int firmwareLevel) {
    switch (m) {
    case WirelessModel::OXF: return firmwareLevel >= 1;
    case WirelessModel::OXF1F: return true;
    case WirelessModel::OG: return false;
    }
    return false;
}

std::optional<double> FirmwareVersionValue(const std::string& reply) {
    if (reply.empty() || IsRefusal(reply)) return std::nullopt;
    const std::string text = RemoveDecimalPoint(TextAfterColon(reply));
    // A reply that is no number at all is not taken for version 0.
    std::size_t pos = text.find_first_not_of(" \t");
    if (pos != std::string::npos && (text[pos] == '+' || text[pos] == '-')) ++pos;
    if (pos != std::string::npos && pos < text.size() && text[pos] == '.') ++pos;
    if (pos == std::string::npos || pos >= text.size() || !IsDigitChar(text[pos])) return std::nullopt;
    return LeadingNumber(text);
}

FirmwareSetup SetupForVersion(WirelessModel m, std::optional<double> version) {
    FirmwareSetup s;
    switch (m) {
    case WirelessModel::OXF:
        if (!version) return s;  // level 0, code 0, List_M_Mode left alone
        if (*version >= 300) {
            s.FirmwareLevel = 2;
            s.FileFormatCode = 4;
        } else if (*version >= 214) {
            s.FirmwareLevel = 1;
            s.FileFormatCode = 3;
        } else {
            s.FirmwareLevel = 0;
            s.FileFormatCode = 2;
        }
        s.modeEnabled = s.FirmwareLevel >= 1;
        return s;
    case WirelessModel::OXF1F:
        s.modeEnabled = true;
        return s;
    case WirelessModel::OG:
        if (!version) return s;
        if (*version >= 300) {
            s.FirmwareLevel = 1;
            s.FileFormatCode = 2;
        } else if (*version >= 207) {
            s.FileFormatCode = 1;
        }
        return s;
    }
    return s;
}

const std::vector<std::string>& ListEntries(WControl c) {
    switch (c) {
    case C::List_M_DataMode: return kDataMode;
    case C::List_M_Baudrate: return kBaudrate;
    case C::List_M_Parity: return kParity;
    case C::List_M_WEPort: return kWEPort;
    case C::List_M_Mode: return kMode;
    case C::List_W_Level: return kLevel;
    case C::List_W_Scale: return kScale;
    case C::List_W_flag:
    case C::FixNetworkFlag:
    case C::SetDetour:
    case C::movementMode: return kDisableEnable;
    case C::NSAQuality: return kQuality;
    case C::NetworkJointMode: return kJoinMode;
    case C::NDTTSU: return kRetries;
    default: return kNoEntries;
    }
}

int ListEntryCount(WirelessModel m, int firmwareLevel, WControl c) {
    const int all = static_cast<int>(ListEntries(c).size());
    if (c == C::List_W_Scale && !HasNewFirmwareOptions(m, firmwareLevel)) return all - 1;
    return all;
}

int FindListEntry(WControl c, const std::string& text, int count) {
    const auto& entries = ListEntries(c);
    const int n = count < static_cast<int>(entries.size()) ? count : static_cast<int>(entries.size());
    for (int i = 0; i < n; ++i)
        if (entries[static_cast<std::size_t>(i)] == text) return i;
    return -1;
}

std::string ListEntryText(WControl c, int index) {
    const auto& entries = ListEntries(c);
    if (index < 0 || index >= static_cast<int>(entries.size())) return {};
    return entries[static_cast<std::size_t>(index)];
}

std::string DisplayUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out += ch;
        } else if (b == 0xA5) {
            out += "\xEF\xBD\xA5";  // U+FF65 halfwidth katakana middle dot
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

WirelessControls::WirelessControls() : KeyText(kDefaultKey) {
    entry.fill(-1);
    enabled.fill(true);
}

std::string& WirelessControls::Text(WControl c, int channel) {
    if (c == C::wirChNo) return wirChNo[ChannelSlot(channel)];
    return text[static_cast<std::size_t>(ControlIndex(c))];
}

const std::string& WirelessControls::Text(WControl c, int channel) const {
    if (c == C::wirChNo) return wirChNo[ChannelSlot(channel)];
    return text[static_cast<std::size_t>(ControlIndex(c))];
}

bool HasText(const std::string& text) { return text.find_first_not_of(' ') != std::string::npos; }

WirelessControls InitialControls(WirelessModel m, const FirmwareSetup& setup) {
    WirelessControls w;
    w.Entry(C::movementMode) = 0;      // "Disable"
    w.Entry(C::NSAQuality) = 0;        // "Standard"
    w.Entry(C::NetworkJointMode) = 0;  // "V3 compatible mode"
    w.Entry(C::NDTTSU) = 2;            // "3"
    if (HasControl(m, C::List_M_Mode)) {
        w.Entry(C::List_M_Mode) = 0;  // "SLAVE"
        if (setup.modeEnabled) w.Enabled(C::List_M_Mode) = *setup.modeEnabled;
    }
    const bool options = HasNewFirmwareOptions(m, setup.FirmwareLevel);
    for (const WControl c : {C::movementMode, C::NSAQuality, C::NetworkJointMode, C::NDTTSU})
        w.Enabled(c) = options;
    return w;
}

}  // namespace talvo::wireless
