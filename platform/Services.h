#pragma once
#include "platform/Files.h"
#include "platform/SerialPort.h"
#include "platform/Ui.h"

namespace talvo::platform {

// The one set of outside services the program uses. The program installs the Qt
// implementations at start; tests install fakes for what they must observe.
struct Services {
    SerialPort* serial = nullptr;
    EventPump* pump = nullptr;
    Clock* clock = nullptr;
    MessageBox* messages = nullptr;
    FileDialog* files = nullptr;
    ProcessRunner* processes = nullptr;
    FileStore* store = nullptr;
};

Services& services();

// How many event loops run now on top of a routine that waits: the event pump,
// a pause, a modal box or dialog each count one while they run events. A handler
// run by them sees a level above the routine that let it run, which is how the
// line's turn tells "on top of a waiting routine" from "called by that routine".
int eventLevel();
class EventLevelScope {
public:
    EventLevelScope();
    ~EventLevelScope();
    EventLevelScope(const EventLevelScope&) = delete;
    EventLevelScope& operator=(const EventLevelScope&) = delete;
};

// Installs a set for the lifetime of the object and puts the previous one back.
class ScopedServices {
public:
    explicit ScopedServices(const Services& s) : saved_(services()) { services() = s; }
    ~ScopedServices() { services() = saved_; }
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services saved_;
};

}  // namespace talvo::platform
