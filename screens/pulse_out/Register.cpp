#include "core/Overview.h"
#include "screens/skeleton/CardScreens.h"
#include "screens/pulse_out/DiscreteView.h"
#include "screens/pulse_out/InOutViews.h"
#include "screens/pulse_out/frmEAJ2.h"
#include "screens/pulse_out/frmIY16.h"
#include "screens/pulse_out/frmIY2.h"
#include "screens/pulse_out/frmIY4.h"
#include "screens/pulse_out/frmIY4A.h"
#include "screens/pulse_out/frmIY8.h"
#include "screens/pulse_out/frmLQN8.h"
#include "screens/pulse_out/frmVU32.h"

namespace talvo::screens {

namespace {

// The screen object of a family's code, created on first use and not shown:
// the overview asks it for its row whether the screen was ever opened or not.
SelfFilledRow* rowScreen(const std::string& code) {
    return dynamic_cast<SelfFilledRow*>(shell::childForms().screen(code));
}

void registerOverviewRow(const std::string& family) {
    RegisterOverviewRowHandler(family, {.showChDataIO =
                                            [family](int slot) {
                                                if (auto* s = rowScreen(family)) s->ShowChDataIO(slot);
                                            },
                                        .setOverViewDataIO =
                                            [family](int slot) {
                                                if (auto* s = rowScreen(family)) s->setOverViewDataIO(slot);
                                            }});
}

}  // namespace

void RegisterPulseOutScreens() {
    registerScreen<frmJO8>("JO8");
    registerScreen<frmJO16>("JO16");
    registerScreen<frmJO32>("JO32");
    registerScreen<frmJO64>("JO64");
    registerScreen<frmIK16>("IK16");
    registerScreen<frmJOV16>("JOV16");
    registerScreen<frmUJ8>("UJ8");
    registerScreen<frmIY8>("IY8");
    registerScreen<frmIY2>("IY2");
    registerScreen<frmIY4>("IY4");
    registerScreen<frmIY4A>("IY4A");
    registerScreen<frmIY16>("IY16");
    registerScreen<frmLQN8>("LQN");
    registerScreen<frmVU32>("VU32");
    registerScreen<frmEAJ2>("EAJ2");
    for (const char* family : kSelfFilledRowFamilies) registerOverviewRow(family);
}

}  // namespace talvo::screens
