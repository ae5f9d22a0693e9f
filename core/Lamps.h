#pragma once
// The colours of a row of lamps from a discrete or alarm-output word, one routine
// for the overview's lamps and the card screens' lamps.
#include <cstdint>
#include <string>
#include <vector>

namespace talvo {

// Colours of lamps 1..count (count clamped to 0..16) from a word of four hex
// digits read by HexToBinary16: lamp k shows bit k - 1, green at "0", red at "1".
std::vector<std::uint32_t> LampColorsFromWord(const std::string& word, int count);

}  // namespace talvo
