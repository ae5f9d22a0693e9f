#pragma once
// Small pure rules of the power-monitor screen: the numeric box filter, the
// live words as signed numbers, list indexes from stored texts, and which slot
// holds the card-wide settings of a further slot.
#include <cstdint>
#include <string>

#include "core/Protocol.h"

namespace talvo::screens {

// What a numeric setting box keeps of a typed text: the digits, the first "."
// and a "-" only as the very first character; every other character goes.
// "12a.3.4" -> "12.34", "-5-" -> "-5", "a-5" -> "5", "--1" -> "-1".
std::string CleanNumericText(const std::string& text);

// The plain decimal form of the number a text starts with, as a VT rating box
// shows what the card sent: "006600" -> "6600", "110.50V" -> "110.5"; a text
// that starts with no number (also "") gives "0". Never in the user's locale.
std::string NumericValueText(const std::string& text);


// A channel's data word as its cell shows it, from a non-empty reply: the
// text after the colon without its first "."; a "TMO..." word keeps the
// cell's previous text (cellText). A refused read ("CNG", "NEEDLESS") gives no word.
std::string LiveWordText(const std::string& reply, const std::string& cellText);

// The hexadecimal digits at the start of a word (either case), up to the
// first other character, as a signed number: up to four digits a 16-bit
// value ("FFFF" -> -1, "7FFF" -> 32767), more digits a 32-bit value. No
// digits give 0; beyond eight digits only the last eight count.
std::int32_t OneWordValue(const std::string& word);

// A value over two channels: the high word's text followed by the low word's,
// read as a 32-bit signed number (low "0001", high "0002" -> 131073).
std::int32_t TwoWordValue(const std::string& lowWord, const std::string& highWord);

// The list entry a stored or received text names: a whole number (optional
// "-", digits, nothing else) from 0 to count - 1; -1, nothing chosen, for any
// other text, including "" and numbers too large for any list.
int ListIndexFromText(const std::string& text, int count);

// Where a slot of the power monitor stands within its card. Sub-types 0 and 1
// are the card's main slot: rows numbered from 0 and the card-wide settings
// its own, editable. Sub-type 2 is the card's second slot and 3 its third:
// rows numbered on from 16 or 32, and the settings those of the slot one or
// two places before, shown read-only.
struct GbhSlotRole {
    int rowBase = 0;        // number of the slot's first channel row
    int ownerSlot = 0;      // slot whose record holds the card-wide settings; 0: none
    bool settingsEditable = true;
};
GbhSlotRole SlotRoleOf(int subType, int slot);

// The caption of channel row `row` (0 to 15): "+" and its number on the card.
std::string RowCaption(int rowBase, int row);

}  // namespace talvo::screens
