#pragma once
// The text boxes of the card screens: key filters, select-all on focus, and the
// red/green look of the Unused flags.
#include <QLabel>
#include <QLineEdit>
#include <string>

#include "ui/Geometry.h"

namespace talvo::screens {

using KeyFilter = bool (*)(const std::string& text, int caretPos, char16_t key);

// Every key typed into the box passes the filter first; focusing the box selects
// its whole text so typing replaces the entry. The box takes single-byte text
// only (see GuardSingleByteText).
void InstallBoxHandlers(QLineEdit* box, KeyFilter filter);

// The box refuses any edit by the user (typed, pasted, dropped, composed) that
// would put in a character the station's single-byte text cannot carry, such as
// "€": the entry stays as it was, rather than the character going out as "?".
// Latin-1 characters are left to the box's key filter, if it has one.
void GuardSingleByteText(QLineEdit* box);
// The same for every text box inside `root`.
void GuardAllBoxes(QWidget* root);

// "1" shows "1" on red, anything else "0" on green; in white, which reads on both.
void ShowBitText(QLineEdit* box, const std::string& value);
void SelectAllText(QLineEdit* box);

// Text of a box as the core keeps it (Latin-1), and back.
std::string boxText(const QLineEdit* box);
void setBoxText(QLineEdit* box, const std::string& text);

// A caption placed in twips (300 high, centred vertically), shared with the shell.
using ui::newLabel;

// A display-only box: locked, like the live value and model fields.
QLineEdit* newLockedBox(QWidget* parent);
// A locked box on the grey of a button face, for the screens whose live values
// stand in grey display boxes.
QLineEdit* newGreyDisplayBox(QWidget* parent);
// A setting box with its key filter and, when given, a maximum length.
QLineEdit* newSettingBox(QWidget* parent, KeyFilter filter, int maxLength = 0);

// The user cannot type the box's text beyond maxLength characters, but a longer
// text put in by the program (a value from the record or a settings file) stays
// whole, so it is never cut short and sent as another number (setMaxLength
// would cut it).
void LimitTypedLength(QLineEdit* box, int maxLength);

}  // namespace talvo::screens
