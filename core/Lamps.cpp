#include "core/Lamps.h"

#include <algorithm>

#include "core/Colors.h"
#include "core/TextHelpers.h"

namespace talvo {

std::vector<std::uint32_t> LampColorsFromWord(const std::string& word, int count) {
    const std::string bits = HexToBinary16(word);
    const int n = std::clamp(count, 0, 16);
    std::vector<std::uint32_t> colours;
    colours.reserve(static_cast<std::size_t>(n));
    for (int k = 1; k <= n; ++k)
        colours.push_back(bits[static_cast<std::size_t>(16 - k)] == '0' ? colors::Green : colors::Red);
    return colours;
}

}  // namespace talvo
