#include "screens/wireless/WirelessRules.h"

#include <cstddef>

namespace talvo::wireless {

namespace {

using C = WControl;
using R = EnableRule;

const std::array<EnableRuleRow, 4> kRules = {{
    {R::List_W_flag, C::List_W_flag, 0,
     {{{C::modTimer, false, -1}, {C::modTimer, false, -1}}},
     {{{C::modTimer, true, -1}, {C::modTimer, true, -1}}},
     1},
    {R::FixNetworkFlag, C::FixNetworkFlag, 0,
     {{{C::ShortAddress2, false, -1}, {C::SetDetour, false, -1}}},
     {{{C::ShortAddress2, true, -1}, {C::SetDetour, true, -1}}},
     2},
    {R::List_M_Mode, C::List_M_Mode, 1,
     {{{C::List_M_DataMode, false, 0}, {C::List_M_WEPort, false, 1}}},
     {{{C::List_M_DataMode, true, -1}, {C::List_M_WEPort, true, -1}}},
     2},
    {R::List_W_Scale, C::List_W_Scale, 3,
     {{{C::movementMode, true, -1}, {C::NetworkJointMode, false, 0}}},
     {{{C::movementMode, false, 0}, {C::NetworkJointMode, true, -1}}},
     2},
}};

}  // namespace

const std::array<EnableRuleRow, 4>& EnableRules() { return kRules; }

const EnableRuleRow& RuleRow(EnableRule rule) { return kRules[static_cast<std::size_t>(rule)]; }

void ApplyEnableRule(EnableRule rule, WirelessControls& controls) {
    const EnableRuleRow& row = RuleRow(rule);
    const auto& effects = controls.Entry(row.source) == row.entry ? row.onEntry : row.otherwise;
    for (int i = 0; i < row.effectCount; ++i) {
        const RuleEffect& e = effects[static_cast<std::size_t>(i)];
        controls.Enabled(e.target) = e.enabled;
        if (e.select >= 0) controls.Entry(e.target) = e.select;
    }
}

std::optional<EnableRule> RuleOnSelect(WirelessModel m, int firmwareLevel, WControl list) {
    switch (list) {
    case C::List_W_flag: return R::List_W_flag;
    case C::FixNetworkFlag: return R::FixNetworkFlag;
    case C::List_M_Mode:
        if (HasControl(m, list)) return R::List_M_Mode;
        return std::nullopt;
    case C::List_W_Scale:
        if (HasNewFirmwareOptions(m, firmwareLevel)) return R::List_W_Scale;
        return std::nullopt;
    default: return std::nullopt;
    }
}

}  // namespace talvo::wireless
