#include "screens/skeleton/CardScreens.h"
#include "screens/universal_in/frmXR4.h"
#include "screens/universal_in/frmYK4.h"

namespace talvo::screens {

void RegisterUniversalInScreens() {
    registerScreen<frmYK4>("YK4");
    registerScreen<frmXR4>("XR4");
}

}  // namespace talvo::screens
