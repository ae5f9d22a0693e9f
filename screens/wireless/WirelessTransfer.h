#pragma once
// Upload and Download of the wireless dialogs as item tables: which items, in
// which order, at which firmware level, how each value travels, which check
// runs before a write and which enable rule after a read. The dialog does the
// exchanges; everything it needs to know about each item is worked out here.
#include <optional>
#include <string>
#include <vector>

#include "screens/wireless/WirelessChecks.h"
#include "screens/wireless/WirelessModel.h"
#include "screens/wireless/WirelessRules.h"

namespace talvo::wireless {

// How a control's value travels.
enum class WireConv {
    Text,         // the box text, unchanged
    TrimmedText,  // download: the box text without leading and trailing blanks
    WholeNumber,  // download: the box's number in decimal, no blanks or leading zeros ("07" -> "7")
    Key,          // KeyText; an upload takes only a reply of 32 hex digits
    Entry,        // the selected entry's index n
    EntryPlus1,   // n + 1
    PortCode,     // the model's code of "RS-485" or "Wireless"
    ModeText,     // upload: the entry of that text; download: n + 1
    ReadOnly,     // read by the upload, never written
};

struct TransferStep {
    std::string group;
    std::string item;
    WControl control;
    int channel = 0;  // wirChNo's box
    WireConv conv = WireConv::Text;
    std::optional<WirelessCheck> check;   // Download: runs before this item
    std::optional<EnableRule> ruleAfter;  // Upload: runs once the item is taken
};

struct ItemWrite {
    std::string group;
    std::string item;
    std::string data;
    bool operator==(const ItemWrite& o) const { return group == o.group && item == o.item && data == o.data; }
};

// Both transfers start by selecting the communication card (the one select)
// and opening its wireless group: item "01" := "1" of this group.
inline constexpr const char* kSettingsGroup = "17";
// Then the upload, and the download where the model says so, read the
// firmware version: group "00" item "40".
inline constexpr const char* kVersionGroup = "00";
inline constexpr const char* kVersionItem = "40";
// Retries of each read and each write.
inline constexpr int kUploadRetries = 3;
inline constexpr int kDownloadRetries = 10;

// The conversion of a control's value on this model.
WireConv ConvOf(WirelessModel m, WControl c);

// The upload's reads in order, item "55" and "26" to "29" as the level allows.
std::vector<TransferStep> UploadSteps(WirelessModel m, int firmwareLevel);
// The download's writes in order, each with the check that runs before it.
std::vector<TransferStep> DownloadSteps(WirelessModel m, int firmwareLevel);

// True for a reply that carries no value: "", "CNG" or "NEEDLESS".
bool IsFailedRead(const std::string& reply);

// Takes a ReadItem reply into the step's control (only what follows the first
// ":" counts), then runs the step's rule. A text box gets the value; KeyText
// changes only for 32 hex digits; a list gets the entry that the value names
// under the step's conversion (the model's entry count at this level bounds
// it), or no selection when the value names none. A read that carries no
// value ("", "CNG", "NEEDLESS") leaves the control as it was: its text, entry
// or key is no value of the card's, and the dialog shows it as not read.
// Returns true when the reply gave the control a value.
bool TakeUploadReply(WirelessModel m, int firmwareLevel, const TransferStep& step, const std::string& reply,
                     WirelessControls& controls);

// The checks of a download in the order they run: CheckChannelList first, then
// each write's check in write order (CheckWirChNo once per channel box).
struct CheckStep {
    WirelessCheck check;
    int channel = 0;
};
std::vector<CheckStep> DownloadChecks(WirelessModel m, int firmwareLevel);
// The first download check that fails, with its message; none when all pass.
// Only what the download would send is checked: a setting without a value, or
// with an empty text, blocks nothing.
std::optional<CheckFailure> FirstFailedCheck(WirelessModel m, int firmwareLevel, const WirelessControls& controls,
                                             const HoldsValue& holds);

// The data the download writes for one step; none when there is nothing sound
// to send: a setting without a value, an empty text, a list without a
// selection, a port entry without a code, a box that holds no number where the
// model sends its number.
std::optional<std::string> WireData(WirelessModel m, int firmwareLevel, const TransferStep& step,
                                    const WirelessControls& controls, const HoldsValue& holds);

// Everything a download would do after the card selection, worked out before
// anything is sent: the first failed check of a value (then nothing is sent),
// else every write of a value in order, and the steps it leaves as they are on
// the card (in write order), to be named. With the firmware version not known
// the items whose presence it decides are neither read nor written, and are
// left too.
struct DownloadPlan {
    std::optional<CheckFailure> failedCheck;
    std::vector<ItemWrite> writes;
    std::vector<TransferStep> left;
    bool ok() const { return !failedCheck; }
};
DownloadPlan PlanDownload(WirelessModel m, int firmwareLevel, const WirelessControls& controls,
                          const HoldsValue& holds, bool versionKnown = true);

}  // namespace talvo::wireless
