#pragma once
// The entry checks of the settings dialogs as table rows: what kind of text a
// field takes, how long it may be, which values pass and the message when it
// does not. Plain code: a check gets the text and says whether it passes and
// what the box holds afterwards.
//   {.kind = FieldKind::Digits, .maxChars = 3, .min = 1, .max = 120, .extra = {125, 126, 255},
//    .message = "Station No.:Please enter number 1 - 120,125,126,255"}
//   {.kind = FieldKind::HexText, .minChars = 4, .maxChars = 4, .min = 0x0000, .max = 0xFFFE,
//    .message = "Please enter number 0000 - FFFE"}
#include <limits>
#include <string>
#include <vector>

namespace talvo::ui {

enum class FieldKind {
    Digits,   // a whole number written in digits only ("1.5", "+7", "-0", "1e2" fail)
    Number,   // a plain decimal number ("-", "." and exponents fail), rounded to a whole number
    Hex,      // hexadecimal digits; the box is rewritten in upper case without leading zeros
    HexText,  // hexadecimal digits, kept as typed (case and leading zeros): a code or a key
    Name,     // a name: the characters of IsNameCharacter (core/KeyFilters); it has no value
};

struct FieldCheck {
    FieldKind kind = FieldKind::Digits;
    int minChars = 0;           // at least this many characters (as many as maxChars: exactly)
    int maxChars = 0;           // at most this many characters (0: any length)
    bool emptyPasses = false;   // an empty text is valid (a name that may be left out)
    // A row that gives no range takes any value its kind can hold.
    long min = std::numeric_limits<long>::min();
    long max = std::numeric_limits<long>::max();
    std::vector<long> extra{};  // values that pass besides min..max
    const char* message = "";   // shown with the information icon and the program's title
};

struct FieldResult {
    bool ok = false;
    std::string text;  // what the box holds afterwards (a Hex field rewritten)
};

// Runs a check on a box's text. An empty text fails every kind unless the row
// lets it pass; a value too large for any field fails its range rather than
// overflowing (and passes a row without a range).
FieldResult RunFieldCheck(const FieldCheck& check, const std::string& text);

// The number a Digits, Number, Hex or HexText field holds, for a check that passed.
long FieldValue(const FieldCheck& check, const std::string& text);

}  // namespace talvo::ui
