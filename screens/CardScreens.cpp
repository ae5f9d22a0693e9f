#include "screens/CardScreens.h"

#include "screens/analog_in/frmBW.h"
#include "screens/analog_in/frmHG4.h"
#include "shell/ChildForms.h"

namespace talvo::screens {

namespace {
template <typename Screen>
void add(const char* code) {
    shell::childForms().registerScreen(code, [](QWidget* parent) -> QWidget* { return new Screen(parent); });
}
}  // namespace

void RegisterCardScreens() {
    add<frmBW4>("BW4");
    add<frmBW8>("BW8");
    add<frmHG4>("HG4");
}

}  // namespace talvo::screens
