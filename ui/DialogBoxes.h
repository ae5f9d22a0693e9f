#pragma once
// Text boxes of the settings dialogs: key filters that govern every way text
// comes in (typed, pasted, dropped), select-all on entering a box, and the
// four-box dotted address.
#include <QLineEdit>
#include <array>
#include <string>

namespace talvo::ui {

// A key filter of core/KeyFilters: the box's text, the caret position and the
// character; true when the character may go in.
using KeyFilter = bool (*)(const std::string& text, int caretPos, char16_t key);

// Every character the user puts into the box passes the filter at the place it
// goes in, whether typed or pasted: an edit with a character the filter drops
// is refused whole, and the box keeps what it held. Text the program sets is
// not filtered. The box also takes single-byte text only.
void FilterKeys(QLineEdit* box, KeyFilter filter);

// Entering the box selects its whole text.
void SelectAllOnFocus(QLineEdit* box);

// A value the user reads but does not edit: a read-only box on the button
// face, its text in the window text colour (a disabled box greys its text
// until it can hardly be read). The text can still be selected and copied.
QLineEdit* MakeDisplayOnly(QLineEdit* box);

// Text of a box as the station's single-byte text, and back. Text set so is
// a value (ui/DialogValues).
std::string text(const QLineEdit* box);
void setText(QLineEdit* box, const std::string& text);

// An address in four boxes of one octet each. Box 3 is the leftmost and holds
// the first octet, box 0 the last; on the line and in files the address is
// box 3, ".", box 2, ".", box 1, ".", box 0.
struct DottedAddress {
    std::array<QLineEdit*, 4> boxes{};

    // Splits a text at its first three "."; a text with fewer fills the boxes
    // from the first octet on and leaves the rest empty.
    void set(const std::string& address) const;
    std::string text() const;
    // The first box (from the first octet on) that is empty; nullptr when none.
    QLineEdit* firstEmpty() const;
};

}  // namespace talvo::ui
