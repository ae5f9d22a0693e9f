#pragma once
// The enable rules of the wireless dialogs as one table. Each rule looks at
// one list's selection and sets other controls' enabled state, and forces some
// of their selections. The dialog runs a rule from its list's handlers, after
// the upload has read the list's item and after a file read (see the transfer
// and file tables for where).
#include <array>
#include <optional>

#include "screens/wireless/WirelessModel.h"

namespace talvo::wireless {

// Named after the list each rule watches.
enum class EnableRule { List_W_flag, FixNetworkFlag, List_M_Mode, List_W_Scale };

struct RuleEffect {
    WControl target;
    bool enabled;
    int select;  // the entry the target is set to; -1 keeps its selection
};

struct EnableRuleRow {
    EnableRule rule;
    WControl source;
    int entry;  // the source entry that gives the "on entry" effects
    std::array<RuleEffect, 2> onEntry;
    std::array<RuleEffect, 2> otherwise;
    int effectCount;  // used effects in each array
};

// The rows, in EnableRule order:
//   List_W_flag    "Disable" (0): modTimer disabled; otherwise enabled.
//   FixNetworkFlag "Disable" (0): ShortAddress2 and SetDetour disabled; otherwise enabled.
//   List_M_Mode    "RELAY" (1): List_M_DataMode := "RTU" and List_M_WEPort := "Wireless",
//                  both disabled; otherwise both enabled, selections kept.
//   List_W_Scale   "Fixed + Low speed moving" (3): movementMode enabled, NetworkJointMode
//                  := "V3 compatible mode" and disabled; otherwise movementMode := "Disable"
//                  and disabled, NetworkJointMode enabled.
const std::array<EnableRuleRow, 4>& EnableRules();
const EnableRuleRow& RuleRow(EnableRule rule);

// Applies the rule to the controls from its source list's current selection.
void ApplyEnableRule(EnableRule rule, WirelessControls& controls);

// The rule a list's Click (and, where the model has it, Change) handler runs,
// when the dialog has that rule at this firmware level: List_M_Mode only where
// the RS-485 block exists, List_W_Scale only with the new-firmware options.
std::optional<EnableRule> RuleOnSelect(WirelessModel m, int firmwareLevel, WControl list);

}  // namespace talvo::wireless
