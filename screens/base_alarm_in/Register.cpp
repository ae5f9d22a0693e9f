#include "screens/CardScreens.h"

namespace talvo::screens {

void RegisterBaseAlarmInScreens() {}

}  // namespace talvo::screens
