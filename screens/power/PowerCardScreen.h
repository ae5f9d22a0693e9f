#pragma once
// What the power card screens share: the card skeleton with a third button,
// "Wh Clear", that clears the card's energy counters (group "01" item "81" := "1"
// after the select and item "01" := "1"), and the read-only boxes on the grey of
// the menu bar.
#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class PowerCardScreen : public CardScreen {
    Q_OBJECT
public:
    PowerCardScreen(const char* designCaption, QWidget* parent);
};

// A box only the program fills: locked, on the menu-bar grey.
QLineEdit* newReadOnlyBox(QWidget* parent);

// The first four characters of a power card's model code are one of `models`.
bool ModelIs(const std::string& typeCode, std::initializer_list<const char*> models);

}  // namespace talvo::screens
