#include "screens/skeleton/CardScreens.h"
#include "screens/analog_in/frmBW.h"
#include "screens/analog_in/frmBW16.h"
#include "screens/analog_in/frmEK.h"
#include "screens/analog_in/frmBWT8.h"
#include "screens/analog_in/frmHG4.h"
#include "screens/analog_in/frmHG8.h"

namespace talvo::screens {

void RegisterAnalogInScreens() {
    registerScreen<frmBW4>("BW4");
    registerScreen<frmBW8>("BW8");
    registerScreen<frmBW16>("BW16");
    registerScreen<frmEK4>("EK4");
    registerScreen<frmEK8>("EK8");
    registerScreen<frmHG4>("HG4");
    registerScreen<frmHG8>("HG8");
    registerScreen<frmBWT8>("BWT");
}

}  // namespace talvo::screens
