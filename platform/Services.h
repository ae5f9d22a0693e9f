#pragma once
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
};

Services& services();

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
