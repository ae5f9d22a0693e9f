#pragma once
// Shared helpers of the wireless logic tests: a dialog state that passes
// every check, and item lists written out the way a station log shows them.
#include <string>
#include <utility>
#include <vector>

#include "screens/wireless/WirelessModel.h"
#include "screens/wireless/WirelessTransfer.h"

namespace talvo::wireless::test {

// Every box valid and every list selected (the first entry where
// set-up selects none), for any model and level.
inline WirelessControls ValidControls(WirelessModel m) {
    WirelessControls w = InitialControls(m, SetupForVersion(m, std::nullopt));
    w.Text(WControl::modAdd) = "1";
    w.Text(WControl::modTimer) = "10";
    w.Text(WControl::wirTimer) = "50";
    w.Text(WControl::wirPANID) = "1A2B";
    for (int ch = 0; ch < kChannelCount; ++ch) w.Text(WControl::wirChNo, ch) = "0";
    w.Text(WControl::wirChNo, 0) = "11";
    w.Text(WControl::wirShortAddress) = "0001";
    w.Text(WControl::wirNetWork) = "plant-1";
    w.Text(WControl::wirTimer_Send) = "60";
    w.Text(WControl::ShortAddress2) = "0002";
    w.Text(WControl::MAC_Address) = "0011223344556677";
    for (const auto& info : Controls())
        if (info.kind == ControlKind::List && w.Entry(info.control) < 0) w.Entry(info.control) = 0;
    return w;
}

// Every setting holds a value.
inline bool AllValues(WControl, int) { return true; }

// Every setting holds a value but these (wirChNo: channel given; other
// controls: channel 0).
inline HoldsValue AllBut(std::vector<std::pair<WControl, int>> without) {
    return [without](WControl c, int ch) {
        for (const auto& [wc, wch] : without)
            if (wc == c && wch == ch) return false;
        return true;
    };
}

// "00/56"-style texts of a step list, in order.
inline std::vector<std::string> Items(const std::vector<TransferStep>& steps) {
    std::vector<std::string> out;
    for (const auto& s : steps) out.push_back(s.group + "/" + s.item);
    return out;
}

inline std::vector<std::string> Items(const std::vector<ItemWrite>& writes) {
    std::vector<std::string> out;
    for (const auto& w : writes) out.push_back(w.group + "/" + w.item);
    return out;
}

// Builds "17/31" .. "17/40".
inline std::vector<std::string> ChannelItems() {
    std::vector<std::string> out;
    for (int i = 31; i <= 40; ++i) out.push_back("17/" + std::to_string(i));
    return out;
}

inline std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace talvo::wireless::test
