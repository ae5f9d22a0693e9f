#pragma once
// What the communication card dialogs decide from texts alone: the card name
// from a model reply, the version number, which settings a model offers, the
// groups its settings live in, the values a download sends, the Ethernet
// layouts and the fieldbus card's scale lists. Plain code, tested without a window.
#include <string>
#include <vector>

namespace talvo::network {

// The card name from a model reply ("K6-OW1:RUN" gives "OW1"): the part before
// the first ":"; "HM3EX" stays; one beginning "VU3" loses 4 characters, any
// other the series prefix "K6-" (3). A reply without ":" or too short gives "".
std::string CardNameFromModel(const std::string& reply);

// The name of a card that answers "CNG" to its model item, from its version
// reply: the part before ":" less "K6-". False unless the reply begins "K6-".
bool CardNameFromVersion(const std::string& reply, std::string& name);

// "V2.04" gives 204: without the "V" and the first ".", the leading number; 0
// when there is none.
double VersionNumber(const std::string& txtVersion);

bool HasTimeoutSetting(const std::string& name);
// modelNow: the card's model reply read for this test (its "VU3" models have no table).
// An empty txtVersion (the card refused its version) does not hide the table.
bool HasDirectOutput(const std::string& name, const std::string& txtVersion, const std::string& modelNow);
bool HasActivateDelay(const std::string& name, const std::string& txtVersion);

// The groups of the time-out and the direct-output table: "50" for "OVRT1" and
// "OVRT1W", else "0" and "17".
std::string SettingsGroup(const std::string& name);
std::string OutputGroup(const std::string& name);

// What a download sends for the time-out box: the whole number in plain
// decimal, "30" for one below 2 or above 32000 (a text without a leading
// number counts as 0): "5abc" gives "5", " 7" gives "7", "1" gives "30".
std::string TimeoutToWrite(const std::string& box);
// The same for an "In Slot" box: 0 to 16, else "0"; "" for an empty box, which
// is not sent.
std::string InSlotToWrite(const std::string& box);

// The Ethernet dialog's layouts by the communication card's model text.
bool HasLinger(const std::string& model);
bool HasDefaultGateway(const std::string& model);
bool HasIPSelect(const std::string& model);

// A fieldbus card's scale list: 16 list indexes joined by ",".
inline constexpr int kScaleChannels = 16;
// The 16 parts, or none when the list does not have exactly 16.
std::vector<std::string> ScaleParts(const std::string& list);
// The list index a part shows: its leading number rounded (no number counts
// as 0); -1, no selection, outside 0..7.
int ScaleIndex(const std::string& part);

}  // namespace talvo::network
