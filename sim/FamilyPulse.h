#pragma once
// How the pulse, output and actuator cards answer beyond storing and echoing a
// value: a counter preset or clear moves the live counter; the actuator's motor
// runs while a coarse move is on and steps on a fine step, and the card keeps a
// log of its setting mode.
#include <optional>
#include <string>

#include "sim/Simulator.h"

namespace k6sim {

// The reply to an item or data frame, or nullopt where the ordinary rules apply
// (a family may change other items of the card and still leave the reply to them).
std::optional<std::string> pulseItemReply(const Card& card, const std::string& group, int item);
std::optional<std::string> pulseDataReply(Card& card, const std::string& group, int item, const std::string& data);

// The actuator keeps, in each channel group ("03", "04"), the setting-mode log
// under this key: every "09" write in order, comma-separated ("01,00"). No
// frame names it (items end at 9999).
inline constexpr int kActuatorModeLog = 10009;
// The time (steady clock, ms) a coarse move started, closing and opening; absent when none runs.
inline constexpr int kActuatorCloseSince = 10010;
inline constexpr int kActuatorOpenSince = 10011;
// Raw position units the motor moves per millisecond of a coarse move.
inline constexpr int kActuatorSpeed = 1;

// The actuator's raw position now (item 28 of a channel group), the running move included.
std::string actuatorPosition(const Card& card, const std::string& group);

}  // namespace k6sim
