#pragma once
// The checks of the universal input card screen's value boxes, as they run on
// every change of a box's text (typed, pasted or set by the program): a text
// that is not a valid value of its box is replaced at once by the last text of
// that box that was valid. No widget here: the screen feeds each new text and
// the box's last accepted text in and shows what comes out.
//
// Numbers are read digit by digit in the C locale, so a number of any length
// is rounded and range-checked exactly, never overflowed; nothing throws.
#include <string>
#include <string_view>

namespace talvo::screens::yk4 {

// The six value boxes of a channel.
enum class EntryBox {
    ZeroBase,    // whole number, -999 to 99999
    FullBase,    // whole number, -999 to 99999
    ZeroScale,   // whole number, -32000 to 32000
    FullScale,   // whole number, -32000 to 32000
    ZeroAdjust,  // hundredths, -320.00 to 320.00
    FullAdjust,  // ten-thousandths, -3.2000 to 3.2000
};

struct EntryResult {
    std::string shown;         // the box's text after the check
    std::string lastAccepted;  // the box's last accepted text after the check
};

// The check of one change: `text` is the box's new text, `lastAccepted` the
// last text the box accepted before it.
//
// Whole-number boxes: "" and "-" and "-0" are accepted as they stand; a lone
// "." stays in the box without being accepted, except in Zero Base, which
// returns to its last accepted text; any other number is rounded to a whole
// number (a half to the even neighbour) and shown in plain digits, and
// accepted when within range.
// Adjust boxes: "" is accepted; "." and "-" stay without being accepted; any
// other number is rounded to hundredths (Zero Adjust) or ten-thousandths
// (Full Adjust), a half to the even neighbour, and shown as typed when that
// changed nothing, else as the shortest decimal text of the rounded value
// ("1.234" becomes "1.23"); it is accepted when within range.
// A text with a "-" after its first character or with two ".", a text that is
// not a number ("-.", "1e3", " 5", "+5", letters) and a number out of range
// bring the last accepted text back.
EntryResult CheckEntry(EntryBox box, std::string_view text, std::string_view lastAccepted);

// False when a "-" stands after the first character or the text holds two or
// more "."; true otherwise, also for "", "-" and ".".
bool CheckNumberSyntax(std::string_view text);

// The keys the six boxes take: the digits, "." and "-", and every control
// character (below the blank: Backspace, Enter). Any other key, the blank
// included, is dropped (false).
bool FilterKeyNumeric(char16_t key);

// True for the box texts that hold no value to send: "", "-" and ".". ("-0"
// is zero.)
bool IsEmptyEntry(std::string_view text);

}  // namespace talvo::screens::yk4
