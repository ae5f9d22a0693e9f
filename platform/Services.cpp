#include "platform/Services.h"

namespace talvo::platform {

Services& services() {
    static Services s;
    return s;
}

namespace {
int level = 0;
}  // namespace

int eventLevel() { return level; }
EventLevelScope::EventLevelScope() { ++level; }
EventLevelScope::~EventLevelScope() { --level; }

}  // namespace talvo::platform
