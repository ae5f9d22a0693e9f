#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Small stateless routines that take station replies apart and check what the
// user typed. Texts are Latin-1 bytes, one char per character; character
// classes compare plain character codes, never the locale.
namespace talvo {

// ---- Number texts ----
// Digits typed, received or read from a file are turned into numbers here and
// nowhere else: plain character codes, no locale, no exceptions. A value past
// what the result type holds stays at the largest (smallest) value of the type
// instead of wrapping, so a range check after it still fails it.

// "0"-"9".
bool IsDigitChar(char c);

// The value of a hexadecimal digit of either case ("0"-"9", "A"-"F", "a"-"f"
// give 0-15), -1 for any other character.
int HexDigitOf(char c);

// As HexDigitOf for upper case only: "a"-"f" give -1, as the station writes
// hexadecimal in upper case.
int UpperHexDigitOf(char c);

// The value of a text of decimal digits and nothing else ("007" is 7). None
// for "", a sign, a blank, a "." or any other character, and for more than
// maxDigits characters (0: any number; leading zeros count).
std::optional<std::int64_t> DigitsValue(std::string_view s, std::size_t maxDigits = 0);

// As DigitsValue after an optional "-" ("-" alone and "+1" fail); maxDigits
// counts the digits without the "-".
std::optional<std::int64_t> SignedDigitsValue(std::string_view s, std::size_t maxDigits = 0);

// The value of a text of hexadecimal digits of either case and nothing else;
// none for "", "0x1F", blanks and the rest as DigitsValue.
std::optional<std::uint64_t> HexDigitsValue(std::string_view s, std::size_t maxDigits = 0);

// Non-empty and every character a hexadecimal digit of either case.
bool IsHexText(std::string_view s);

// The run of hexadecimal digits (either case) a text starts with: how many
// digits it has and the low 64 bits of its value (the first digits of a longer
// run shift out, so a caller keeps the low byte or word it needs).
struct HexRun {
    std::size_t digits = 0;
    std::uint64_t low = 0;
};
HexRun LeadingHex(std::string_view s);

// The run of decimal digits a text starts with; "" when it starts with none.
std::string_view LeadingDigits(std::string_view s);

// Upper-case hexadecimal without leading zeros; "0" for 0.
std::string UpperHexText(std::uint64_t value);

// A text of digits without its leading zeros: "" for "", "0" or "000".
std::string_view WithoutLeadingZeros(std::string_view digits);

// Compares two texts of decimal digits as numbers of any length (leading zeros
// do not count): -1, 0 or 1. Meant for digit texts only (check them first).
int CompareDigitTexts(std::string_view a, std::string_view b);

// ---- Other texts ----

// The text after the first ":"; the whole text when there is no ":".
std::string TextAfterColon(const std::string& s);

// The text before the first ":"; "" when there is no ":".
std::string TextBeforeColon(const std::string& s);

// The text without its first "."; later "." stay.
std::string RemoveDecimalPoint(const std::string& s);

// Value of the first character as an upper-case hexadecimal digit: "0"-"9"
// give 0-9, "A"-"F" give 10-15; anything else, lower case and "" give 0.
int HexDigitValue(const std::string& c);

// Sixteen "0"/"1" characters from the first four hex digits, most significant
// first; missing digits count as 0, digits after the fourth are ignored.
// Bit k (0 = least significant) is the character at index 15 - k.
std::string HexToBinary16(const std::string& hex);

// Splits "a.b.c.d" at its first three "." into out1 = a, out2 = b, out3 = c,
// out4 = d (out4 keeps any further "."). Note the argument order: fourth part
// first. A text with fewer than three "." fills the parts from the left; the
// last part found takes the rest of the text and the parts after it are "",
// so "10.1" gives out1 = "10", out2 = "1", out3 = out4 = "". Always returns 0.
int SplitDottedAddress(const std::string& text, std::string& out4, std::string& out3,
                       std::string& out2, std::string& out1);

// Whether an address text has the four parts SplitDottedAddress fills: at
// least three ".". The parts themselves are not checked.
bool HasFourParts(const std::string& address);

// The parts between ","s: "" gives one empty part, "a," gives "a" and "".
std::vector<std::string> SplitAtCommas(const std::string& s);

// The text without any of the blank characters at either end.
std::string TrimBlanks(const std::string& s, std::string_view blanks = " ");

// Non-empty, first character in [-.0-9], the rest in [.0-9], at most one ".".
// "-", "." and "-." pass; the screens range-check the value afterwards.
bool IsDecimalText(const std::string& s);

// Non-empty, first character in [-0-9], the rest in [0-9]. "-" passes.
bool IsIntegerText(const std::string& s);

// Non-empty and every character in [0-9].
bool IsUnsignedText(const std::string& s);

// Converts an optional "-" followed by decimal digits, and nothing else, to
// a 16-bit value. False (out unchanged) on any other text or outside
// -32768..32767.
bool TextToInteger16(const std::string& text, int& out);

// The value typed in an address-octet box: 0 for "". A text with "+", "-" or
// "." among its first three characters, or one that is not a 16-bit whole
// number, shows "Please enter number." and gives 0.
int TextToIntegerChecked(const std::string& text);

// True when the whole text is a plain decimal number: optional "-", digits
// with at most one "." and at least one digit ("12.", ".5", "-.5"). No
// blanks, "+", exponents or letters. Parsed in the C locale; a number beyond
// the range of double is rejected. out is unchanged on failure.
bool ParseNumber(const std::string& s, double& out);

// The number at the start of a text, as the old Val() read it: leading blanks
// skipped, optional sign, digits with an optional "." and an optional
// exponent ("1.5E3"); whatever follows is ignored. 0 when the text starts with
// no number or the number is beyond the range of double.
double LeadingNumber(const std::string& s);

// How a channel flag is shown in its box: "1" on red, anything else "0" on
// green. Colours are BGR numbers as the screens store them.
struct BitText {
    std::string text;
    std::uint32_t color;
};
BitText BitTextFor(const std::string& value);

// Whether a text holds a control character (below blank, or DEL): such a text
// would split or forge a station frame, or a line of a settings file.
inline bool HoldsControl(std::string_view s) {
    for (unsigned char c : s)
        if (c < 0x20 || c == 0x7F) return true;
    return false;
}

}  // namespace talvo
