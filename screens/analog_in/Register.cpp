#include "screens/CardScreens.h"
#include "screens/analog_in/frmBW.h"
#include "screens/analog_in/frmHG4.h"

namespace talvo::screens {

void RegisterAnalogInScreens() {
    registerScreen<frmBW4>("BW4");
    registerScreen<frmBW8>("BW8");
    registerScreen<frmHG4>("HG4");
}

}  // namespace talvo::screens
