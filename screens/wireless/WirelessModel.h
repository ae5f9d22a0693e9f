#pragma once
// The three wireless network card models (OXF, OXF1F, OG) share one settings
// dialog. Everything that sets them apart, and the state of the dialog's
// setting controls, is plain data here, so the transfers, checks, rules and
// files are worked out without a window.
//
// Texts are the program's single-byte strings. The only character outside
// ASCII is the halfwidth middle dot of the network-quality entries, held as the
// byte 0xA5 (its single-byte code); DisplayUtf8 turns it into U+FF65 for the
// screen.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace talvo::wireless {

enum class WirelessModel { OXF, OXF1F, OG };

// The dialog's setting controls, under their own names. wirChNo is a control
// array of kChannelCount boxes.
enum class WControl {
    modAdd,
    List_M_DataMode,
    List_M_Baudrate,
    List_M_Parity,
    List_M_WEPort,
    List_M_Mode,
    modTimer,
    wirTimer,
    wirPANID,
    wirChNo,
    wirShortAddress,
    wirNetWork,
    wirPassword,
    wirTimer_Send,
    List_W_Level,
    List_W_Scale,
    List_W_flag,
    MAC_Address,
    FixNetworkFlag,
    ShortAddress2,
    SetDetour,
    movementMode,
    NSAQuality,
    NetworkJointMode,
    NDTTSU,
};
inline constexpr int kControlCount = 25;
inline constexpr int kChannelCount = 10;

constexpr int ControlIndex(WControl c) { return static_cast<int>(c); }

enum class ControlKind { Text, List };

// Which key filter a text box runs its keys through.
enum class KeyFilterKind { None, Digits, Hex, Name };

struct ControlInfo {
    WControl control;
    const char* name;     // the control's name, for tests and diagnostics
    ControlKind kind;
    const char* caption;  // its label; wirChNo: see ChannelCaption
    const char* group;    // station address of the setting
    const char* item;     // wirChNo: the first channel's item ("31")
    KeyFilterKind filter;
};

// One row per control, in WControl order.
const std::array<ControlInfo, kControlCount>& Controls();
const ControlInfo& Info(WControl c);

// "Ch. No. 01" to "Ch. No. 10" for channel 0 to 9.
std::string ChannelCaption(int channel);
// The caption of the frame that holds the ten channel boxes.
inline constexpr const char* kChannelFrameCaption = "Radio channel number";
// A control's label on one line, as messages name it.
std::string CaptionOnOneLine(WControl c);
// The station item of a control; wirChNo: "31" + channel.
std::string ItemOf(WControl c, int channel = 0);

// What one model's dialog looks like and how its card behaves.
struct ModelTraits {
    WirelessModel model;
    const char* dialogName;   // "frmOXF"
    const char* heading;      // "OXFx Settings"
    const char* modbusFrame;  // caption of the Modbus frame
    bool hasRs485Block;       // List_M_DataMode .. List_M_Mode
    bool hasTimerSend;        // wirTimer_Send and its check
    int channelMax;           // highest radio channel number
    bool readsVersionAtSetup;
    bool downloadReadsVersion;
    const char* portRs485;     // item "61" codes of "RS-485" and "Wireless"; "" without the block
    const char* portWireless;
    bool flagRulesOnChange;    // FixNetworkFlag and List_W_flag rules run on Change as well as Click
    const char* fileExtension; // "oxf"
    bool fileCodeChecked;      // a file code above FileFormatCode refuses the file
};
const ModelTraits& Traits(WirelessModel m);

// Whether the model's dialog has the control at all.
bool HasControl(WirelessModel m, WControl c);

// Whether the new-firmware options exist at this firmware level: the fourth
// List_W_Scale entry, movementMode .. NDTTSU enabled at set-up, the
// List_W_Scale rule and items "26" to "29". OXF at level 2, OG at level 1,
// OXF1F always.
bool HasNewFirmwareOptions(WirelessModel m, int firmwareLevel);
// Whether item "55" (List_M_Mode) takes part in the transfers: OXF at level 1
// or more, OXF1F always, OG never.
bool TransfersModeItem(WirelessModel m, int firmwareLevel);

// What the set-up makes of the card's firmware version.
struct FirmwareSetup {
    int FirmwareLevel = 0;
    int FileFormatCode = 0;
    // List_M_Mode's enabled state; none when the set-up leaves it as it is.
    std::optional<bool> modeEnabled;
};

// The version value v of a reply to group "00" item "40": the text after the
// first ":" without its first ".", taken as the number it begins with ("3.00"
// gives 300, "2.14" gives 214). None for a reply that is no version: "", "CNG",
// "NEEDLESS" or a text that does not begin with a number.
std::optional<double> FirmwareVersionValue(const std::string& reply);

// Level, file code and List_M_Mode's state from the version (none: no reply).
// Each threshold belongs to the higher band. OXF1F reads no version and gets
// level 0, code 0, List_M_Mode enabled.
FirmwareSetup SetupForVersion(WirelessModel m, std::optional<double> version);

// ---- Lists ----

// The entries of a list control in list order (index 0 first); empty for a
// text control. List_W_Scale holds all four; see ListEntryCount.
const std::vector<std::string>& ListEntries(WControl c);
// How many entries the dialog's list holds: List_W_Scale has its fourth only
// with the new-firmware options.
int ListEntryCount(WirelessModel m, int firmwareLevel, WControl c);
// The index of the entry whose text is exactly text among the first count
// entries; -1 when none.
int FindListEntry(WControl c, const std::string& text, int count);
// The entry text at index, "" for -1 or an index past the list.
std::string ListEntryText(WControl c, int index);
// A text as the screen shows it, in UTF-8: the byte 0xA5 is the halfwidth
// middle dot U+FF65, every other byte the Latin-1 character of that code.
std::string DisplayUtf8(const std::string& text);

// ---- The dialog's control state ----

inline constexpr const char* kDefaultKey = "7C1E9A0B4D62F8355E0A9C17B24D6F83";
inline constexpr const char* kScrambleKey = "40381927564019283746501928374651";
inline const std::string kKeyMask(32, '*');

// The setting controls of one dialog: box texts, list selections (-1 none),
// enabled states, and KeyText, the key the dialog holds (wirPassword shows it
// only while it has the focus, so its box text is not kept here).
//
// What each of them holds, a value or none, is not kept here: the program's
// one store of value states keeps it (the dialog asks it through HoldsValue).
struct WirelessControls {
    WirelessControls();

    std::string& Text(WControl c, int channel = 0);
    const std::string& Text(WControl c, int channel = 0) const;
    int& Entry(WControl c) { return entry[static_cast<std::size_t>(ControlIndex(c))]; }
    int Entry(WControl c) const { return entry[static_cast<std::size_t>(ControlIndex(c))]; }
    bool& Enabled(WControl c) { return enabled[static_cast<std::size_t>(ControlIndex(c))]; }
    bool Enabled(WControl c) const { return enabled[static_cast<std::size_t>(ControlIndex(c))]; }

    std::array<std::string, kControlCount> text{};
    std::array<std::string, kChannelCount> wirChNo{};
    std::array<int, kControlCount> entry{};
    std::array<bool, kControlCount> enabled{};
    std::string KeyText;

    bool operator==(const WirelessControls&) const = default;
};

// Whether a setting holds a value: one the card gave, a file loaded or the
// user set. What the set-up puts in (empty boxes, the list defaults, the
// default key), a refused read and an item the card does not use hold none.
// wirPassword stands for the key; wirChNo's channel is given.
using HoldsValue = std::function<bool(WControl c, int channel)>;

// Whether a text has anything to send: an empty text (or one of blanks only)
// is never sent and never checked.
bool HasText(const std::string& text);

// The controls as InitControls leaves them: empty boxes, KeyText the default
// key, movementMode "Disable", NSAQuality "Standard", NetworkJointMode "V3
// compatible mode", NDTTSU "3", List_M_Mode "SLAVE", other lists unselected;
// List_M_Mode and the new-firmware options enabled as the set-up says,
// everything else enabled. None of it is a value.
WirelessControls InitialControls(WirelessModel m, const FirmwareSetup& setup);

}  // namespace talvo::wireless
