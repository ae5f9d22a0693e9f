#pragma once
// The text boxes of the card screens: key filters, select-all on focus, and the
// red/green look of the Unused flags.
#include <QLabel>
#include <QLineEdit>
#include <string>

namespace talvo::screens {

using KeyFilter = bool (*)(const std::string& text, int caretPos, char16_t key);

// Every key typed into the box passes the filter first; focusing the box selects
// its whole text so typing replaces the entry.
void InstallBoxHandlers(QLineEdit* box, KeyFilter filter);

// "1" shows "1" on red, anything else "0" on green.
void ShowBitText(QLineEdit* box, const std::string& value);
void SelectAllText(QLineEdit* box);

// Text of a box as the core keeps it (Latin-1), and back.
std::string boxText(const QLineEdit* box);
void setBoxText(QLineEdit* box, const std::string& text);

// A caption placed in twips (300 high, centred vertically).
QLabel* newLabel(QWidget* parent, const QString& text, int left, int top, int width,
                 Qt::Alignment align = Qt::AlignLeft);

// A display-only box: locked, like the live value and model fields.
QLineEdit* newLockedBox(QWidget* parent);
// A setting box with its key filter and, when given, a maximum length.
QLineEdit* newSettingBox(QWidget* parent, KeyFilter filter, int maxLength = 0);

}  // namespace talvo::screens
