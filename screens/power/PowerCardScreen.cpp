#include "screens/power/PowerCardScreen.h"

#include "core/Colors.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

PowerCardScreen::PowerCardScreen(const char* designCaption, QWidget* parent) : CardScreen(designCaption, parent) {
    counterClear_ = {.group = "01", .items = {"81"}, .data = "1"};
    addCounterButtons(false);
    cmdClear->setText(QStringLiteral("Wh Clear"));
    cmdClear->setObjectName("CmdClear");
}

QLineEdit* newReadOnlyBox(QWidget* parent) {
    QLineEdit* b = newLockedBox(parent);
    ui::setBackColor(b, colors::SysMenu);
    return b;
}

bool ModelIs(const std::string& typeCode, std::initializer_list<const char*> models) {
    const std::string head = typeCode.substr(0, 4);
    for (const char* m : models)
        if (head == m) return true;
    return false;
}

}  // namespace talvo::screens
