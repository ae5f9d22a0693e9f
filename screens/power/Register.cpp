#include "screens/skeleton/CardScreens.h"
#include "screens/power/frmFS2.h"
#include "screens/power/frmGB10.h"
#include "screens/power/frmGB40.h"
#include "screens/power/frmGBH.h"

namespace talvo::screens {

void RegisterPowerScreens() {
    registerScreen<frmGB10>("GB10");
    registerScreen<frmGB40>("GB40");
    registerScreen<frmFS2>("FS2");
    registerScreen<frmGBH>("GBH");
}

}  // namespace talvo::screens
