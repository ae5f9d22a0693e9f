#include "core/KeyFilters.h"

namespace talvo {

namespace {

constexpr char16_t kBackspace = 8;

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

}  // namespace talvo
