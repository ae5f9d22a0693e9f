#pragma once
// What the power cards and the heat and flow card do when they are written to,
// besides storing the value (sim/README.md).
#include <string>

#include "sim/Simulator.h"

namespace k6sim {

// "GB1..." and "GB4...": "1" to group 01 item 81 clears the energy counters.
// "FS2...": a preset (group 02 items 26 to 33) becomes the total it presets.
void powerFamilyWrite(Card& card, const std::string& group, int item, const std::string& data);

}  // namespace k6sim
