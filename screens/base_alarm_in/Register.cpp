#include "screens/skeleton/CardScreens.h"
#include "screens/base_alarm_in/frmFD4.h"
#include "screens/base_alarm_in/frmFD8.h"
#include "screens/base_alarm_in/frmKR4.h"
#include "screens/base_alarm_in/frmKR8.h"
#include "screens/base_alarm_in/frmZN2.h"

namespace talvo::screens {

void RegisterBaseAlarmInScreens() {
    registerScreen<frmZN2>("ZN2");
    registerScreen<frmFD4>("FD4");
    registerScreen<frmFD8>("FD8");
    registerScreen<frmKR4>("KR4");
    registerScreen<frmKR8>("KR8");
}

}  // namespace talvo::screens
