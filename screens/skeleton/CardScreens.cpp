#include "screens/skeleton/CardScreens.h"

#include "screens/frmHQ2.h"

namespace talvo::screens {

void RegisterCardScreens() {
    RegisterAnalogInScreens();
    RegisterBaseAlarmInScreens();
    RegisterNetworkScreens();
    RegisterPulseOutScreens();
    RegisterUniversalInScreens();
    RegisterPowerScreens();
    RegisterWirelessScreens();
    registerScreen<frmHQ2>("HQ2");
}

}  // namespace talvo::screens
