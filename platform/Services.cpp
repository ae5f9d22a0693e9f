#include "platform/Services.h"

namespace talvo::platform {

Services& services() {
    static Services s;
    return s;
}

}  // namespace talvo::platform
