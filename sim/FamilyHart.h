#pragma once
// How the HART input card "XR4" answers beyond storing and echoing a value: its
// five HART blocks of each channel (items 37 to 41 of the channel's group "1" to
// "4") move in chunks carried in the data of an item write.
#include <optional>
#include <string>

#include "sim/Simulator.h"

namespace k6sim {

// The reply to a data frame for a block item, or nullopt where the ordinary
// rules apply. The data is one of:
//   "W" address length characters   stores the characters at the address ("DW0010...")
//   "R" address length               reads them back: the echo and the characters
//   "C"                              clears the block
// address and length in hexadecimal, the address three digits wide for item 40
// and two for the others, the length two. A chunk outside the block, a length
// that does not match the characters, or any other data: "CNG".
std::optional<std::string> hartDataReply(Card& card, const std::string& group, int item, const std::string& data);

}  // namespace k6sim
