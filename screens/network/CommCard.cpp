#include "screens/network/CommCard.h"

#include <cmath>
#include <initializer_list>

#include "core/Overview.h"
#include "core/TextHelpers.h"

namespace talvo::network {

namespace {

bool startsWithAny(const std::string& s, std::initializer_list<const char*> prefixes) {
    for (const char* p : prefixes)
        if (StartsWith(s, p)) return true;
    return false;
}

bool isOvrtCard(const std::string& name) { return name == "OVRT1W" || name == "OVRT1"; }

// The whole number a box's text starts with, when it lies in min..max.
bool leadingWhole(const std::string& box, double min, double max, long& out) {
    const double v = LeadingNumber(box);
    if (v < min || v > max) return false;
    out = static_cast<long>(std::trunc(v));
    return true;
}

}  // namespace

std::string CardNameFromModel(const std::string& reply) {
    const std::string head = TextBeforeColon(reply);
    if (head == "HM3EX") return head;
    const std::size_t prefix = StartsWith(head, "VU3") ? 4 : 3;
    return head.size() > prefix ? head.substr(prefix) : std::string();
}

bool CardNameFromVersion(const std::string& reply, std::string& name) {
    if (!StartsWith(reply, "K6-")) return false;
    const std::string head = TextBeforeColon(reply);
    name = head.size() > 3 ? head.substr(3) : std::string();
    return true;
}

double VersionNumber(const std::string& txtVersion) {
    if (txtVersion.empty()) return 0;
    return LeadingNumber(RemoveDecimalPoint(txtVersion.substr(1)));
}

bool HasTimeoutSetting(const std::string& name) {
    return name == "HM3EX" || !startsWithAny(name, {"QM", "QT", "QLER", "OZ3", "QFODH", "OWHD"});
}

bool HasDirectOutput(const std::string& name, const std::string& txtVersion, const std::string& modelNow) {
    if (name == "HM3EX") return true;
    // A version the card refused to give is not known to be too old.
    const bool versionPasses = txtVersion.empty() || VersionNumber(txtVersion) >= 101;
    return versionPasses && !startsWithAny(name, {"OZ", "OJK", "OJ", "OP", "Q", "OD", "FK", "UVQ"}) &&
           !StartsWith(TextBeforeColon(modelNow), "VU3");
}

bool HasActivateDelay(const std::string& name, const std::string& txtVersion) {
    if (name == "HM3EX" || StartsWith(name, "OWS1")) return true;
    const double v = VersionNumber(txtVersion);
    return (StartsWith(name, "OX1") && v >= 205) || (StartsWith(name, "OX4") && v >= 201) ||
           (StartsWith(name, "OW1") && v >= 204);
}

std::string SettingsGroup(const std::string& name) { return isOvrtCard(name) ? "50" : "0"; }
std::string OutputGroup(const std::string& name) { return isOvrtCard(name) ? "50" : "17"; }

std::string TimeoutToWrite(const std::string& box) {
    long v = 0;
    return leadingWhole(box, 2, 32000, v) ? std::to_string(v) : "30";
}

std::string InSlotToWrite(const std::string& box) {
    if (box.empty()) return "";
    long v = 0;
    return leadingWhole(box, 0, 16, v) ? std::to_string(v) : "0";
}

bool HasLinger(const std::string& model) { return model.size() < 7 || model.compare(0, 7, "K6-OWUB") != 0; }
bool HasDefaultGateway(const std::string& model) { return StartsWith(model, "K6-OWUB"); }
bool HasIPSelect(const std::string& model) { return StartsWith(model, "K6-OWUB"); }

std::vector<std::string> ScaleParts(const std::string& list) {
    std::vector<std::string> parts{""};
    for (const char c : list) {
        if (c == ',')
            parts.emplace_back();
        else
            parts.back() += c;
        if (parts.size() > kScaleChannels) return {};
    }
    if (parts.size() != kScaleChannels) return {};
    return parts;
}

int ScaleIndex(const std::string& part) {
    const double v = std::round(LeadingNumber(part));
    if (v < 0 || v > 7) return -1;
    return static_cast<int>(v);
}

}  // namespace talvo::network
