#include "shell/CardScreens.h"

#include "core/Globals.h"
#include "shell/ChildForms.h"

namespace talvo::shell {

void OpenCardScreen(const std::string&) {
    G().CurFormType = "NONE";
    ShowChildForm("NONE");
}

}  // namespace talvo::shell
