#pragma once
#include <string>

// Keystroke filters for the screens' text boxes. Each gets the box's text, the
// caret position (0 = before the first character) and the typed character
// code, and returns true when the key may go into the box. Backspace (8)
// always passes. The filters ignore any selection and do not count "." or
// digits; the input checks and range checks do that when a value is sent.
namespace talvo {

// [-.0-9]; "-" only with the caret at 0 and the text not already starting with "-".
bool FilterKeySignedDecimal(const std::string& text, int caretPos, char16_t key);

// [-0-9]; "-" under the same rule as above.
bool FilterKeySignedInteger(const std::string& text, int caretPos, char16_t key);

// [.0-9]; text and caret are not looked at.
bool FilterKeyUnsignedDecimal(const std::string& text, int caretPos, char16_t key);

// "0" or "1"; text and caret are not looked at.
bool FilterKeyBinary(const std::string& text, int caretPos, char16_t key);

// "0" to "9", Backspace (8) and code 16; text and caret are not looked at.
bool FilterKeyDigits(const std::string& text, int caretPos, char16_t key);

// "0" to "9" and "A" to "F" (upper case only), Backspace (8) and code 16; text
// and caret are not looked at.
bool FilterKeyHex(const std::string& text, int caretPos, char16_t key);

// The characters a name may hold (the wireless network name): "A" to "Z", "a"
// to "z", "0" to "9", "_", "-", ".", "@" and blank.
bool IsNameCharacter(char c);

// The name characters, Backspace (8), CR (13) and code 16; text and caret are
// not looked at.
bool FilterKeyName(const std::string& text, int caretPos, char16_t key);

// The station's texts are one byte per character (Latin-1, U+0000 to U+00FF).
// A character above that has no byte to go as, so no box takes it, whether it
// is typed or pasted, and whatever the box's filter; the halves of a character
// beyond U+FFFF are above it too.
bool IsSingleByteChar(char16_t c);

}  // namespace talvo
