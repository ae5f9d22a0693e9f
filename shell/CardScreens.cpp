#include "shell/CardScreens.h"

#include "core/Globals.h"
#include "shell/ChildForms.h"

namespace talvo::shell {

void OpenCardScreen(const std::string& typeCode) {
    const ScreenSpec* spec = DispatchCardType(typeCode);
    if (spec && std::string(spec->code) != "NONE") {
        if (auto* s = dynamic_cast<OpenableScreen*>(childForms().screen(spec->code))) {
            s->openCard(typeCode, *spec);
            return;
        }
    }
    G().CurFormType = "NONE";
    ShowChildForm("NONE");
}

}  // namespace talvo::shell
