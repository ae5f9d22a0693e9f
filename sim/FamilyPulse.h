#pragma once
// How the pulse, output and actuator cards answer beyond storing and echoing a
// value: a counter preset or clear moves the live counter.
#include <optional>
#include <string>

#include "sim/Simulator.h"

namespace k6sim {

// The reply to a data frame, or nullopt where the ordinary rules apply (a
// family may change other items of the card and still leave the reply to them).
std::optional<std::string> pulseDataReply(Card& card, const std::string& group, int item, const std::string& data);

}  // namespace k6sim
