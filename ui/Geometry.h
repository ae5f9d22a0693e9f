#pragma once
// Sizes come in twips (1440 an inch, 15 a pixel at 96 dpi) and colours as
// 0x00BBGGRR or system colour numbers; these turn them into Qt's terms.
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <cstdint>

#include "core/Colors.h"

class QLabel;
class QString;
class QWidget;

class QComboBox;

namespace talvo::ui {

// Pixels for a length in twips at the screen's logical dpi.
int twips(int tw);
QRect twipsRect(int left, int top, int width, int height);
// Places a widget at a rectangle given in twips.
void placeTwips(QWidget* w, int left, int top, int width, int height);

// A caption placed in twips, centred vertically: the one label helper of the
// windows, dialogs and card screens.
QLabel* newLabel(QWidget* parent, const QString& text, int left, int top, int width,
                 Qt::Alignment align = Qt::AlignLeft, int height = 300);

// The screens' Arial at a point size; where Arial is missing, a face of the same
// width (Liberation Sans, Arimo) or at least a narrow one, so texts fit their boxes.
QFont arialFont(double points, bool bold = false);

// Set on a control whose style sheet draws an unread list in a rule of its own
// (a coloured list): drawing its state must polish it again.
inline constexpr const char* kUnreadRule = "talvoUnreadRule";

QColor toQColor(std::uint32_t bgrOrSystem);
// Background and text colours of a label or box.
void setBackColor(QWidget* w, std::uint32_t color);
// A drop-down list's face in one flat colour with its text in another (the
// Unused and Enable/Disable lists): the exact colours, not a shade of them.
void setListColors(QComboBox* list, std::uint32_t back, std::uint32_t text = colors::White);
// A list the user may type into: the entry its box shows is its current entry,
// however the text came (typed, or put in the box by the program), so the list
// opens with that entry highlighted; a text that is no entry opens it with none.
void followShownEntry(QComboBox* list);
void setForeColor(QWidget* w, std::uint32_t color);
// A greyed control that still shows a value worth reading (a copy of a setting
// the card takes from elsewhere): its text stays greyer than an enabled
// control's, but is drawn at 4.5 : 1 contrast at least on its face.
void setReadableWhenDisabled(QWidget* w);
// A long drop-down list that opens below its box as a plain list of at most
// `rows` entries with a scroll bar, rather than over the whole screen height.
void setDropDownRows(QComboBox* list, int rows);

}  // namespace talvo::ui
