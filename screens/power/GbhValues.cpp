#include "screens/power/GbhValues.h"

#include <charconv>
#include <cmath>

#include "core/Protocol.h"
#include "core/TextHelpers.h"

namespace talvo::screens {

std::string CleanNumericText(const std::string& text) {
    std::string out;
    bool point = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigitChar(c)) {
            out += c;
        } else if (c == '.' && !point) {
            out += c;
            point = true;
        } else if (c == '-' && i == 0) {
            out += c;
        }
    }
    return out;
}

std::string NumericValueText(const std::string& text) {
    const double v = LeadingNumber(text);
    if (v == 0 || !std::isfinite(v)) return "0";  // no "-0"
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}


std::string LiveWordText(const std::string& reply, const std::string& cellText) {
    if (IsRefusal(reply)) return {};  // no word: its letters are no hexadecimal digits
    std::string word = RemoveDecimalPoint(TextAfterColon(reply));
    if (word.compare(0, 3, "TMO") == 0) return cellText;
    return word;
}

std::int32_t OneWordValue(const std::string& word) {
    const HexRun run = LeadingHex(word);
    if (run.digits <= 4) return static_cast<std::int16_t>(run.low);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(run.low));
}

std::int32_t TwoWordValue(const std::string& lowWord, const std::string& highWord) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(LeadingHex(highWord + lowWord).low));
}

int ListIndexFromText(const std::string& text, int count) {
    int value = 0;
    if (!TextToInteger16(text, value)) return -1;
    return value >= 0 && value < count ? value : -1;
}

GbhSlotRole SlotRoleOf(int subType, int slot) {
    const bool validSlot = slot >= 1 && slot <= 16;
    GbhSlotRole role;
    if (subType == 2 || subType == 3) {
        const int shift = subType - 1;
        role.rowBase = 16 * shift;
        role.ownerSlot = validSlot && slot - shift >= 1 ? slot - shift : 0;
        role.settingsEditable = false;
    } else {
        role.ownerSlot = validSlot ? slot : 0;
    }
    return role;
}

std::string RowCaption(int rowBase, int row) { return "+" + std::to_string(rowBase + row); }

}  // namespace talvo::screens
