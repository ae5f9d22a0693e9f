#include "core/KeyFilters.h"

namespace talvo {

namespace {

constexpr char16_t kBackspace = 8;
// The code the digit and hex filters let through besides Backspace (Ctrl+P).
constexpr char16_t kCode16 = 16;
constexpr char16_t kCarriageReturn = 13;

bool IsDigitKey(char16_t key) { return key >= u'0' && key <= u'9'; }

// A minus sign may only become the first character, and only once.
bool MinusAllowed(const std::string& text, int caretPos) {
    return caretPos == 0 && (text.empty() || text[0] != '-');
}

}  // namespace

bool FilterKeySignedDecimal(const std::string& text, int caretPos, char16_t key) {
    if (key == u'-') return MinusAllowed(text, caretPos);
    return key == kBackspace || key == u'.' || IsDigitKey(key);
}

bool FilterKeySignedInteger(const std::string& text, int caretPos, char16_t key) {
    if (key == u'-') return MinusAllowed(text, caretPos);
    return key == kBackspace || IsDigitKey(key);
}

bool FilterKeyUnsignedDecimal(const std::string& /*text*/, int /*caretPos*/, char16_t key) {
    return key == kBackspace || key == u'.' || IsDigitKey(key);
}

bool FilterKeyBinary(const std::string& /*text*/, int /*caretPos*/, char16_t key) {
    return key == kBackspace || key == u'0' || key == u'1';
}

bool FilterKeyDigits(const std::string& /*text*/, int /*caretPos*/, char16_t key) {
    return key == kBackspace || key == kCode16 || IsDigitKey(key);
}

bool FilterKeyHex(const std::string& /*text*/, int /*caretPos*/, char16_t key) {
    return key == kBackspace || key == kCode16 || IsDigitKey(key) || (key >= u'A' && key <= u'F');
}

bool IsNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.' || c == '@' || c == ' ';
}

bool FilterKeyName(const std::string& /*text*/, int /*caretPos*/, char16_t key) {
    if (key == kBackspace || key == kCarriageReturn || key == kCode16) return true;
    return key < 0x80 && IsNameCharacter(static_cast<char>(key));
}

bool IsSingleByteChar(char16_t c) { return c <= 0xFF; }

}  // namespace talvo
