#pragma once
#include <functional>

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

// The modal windows open now (dialogs, message boxes, file dialogs), each known
// by an id; 0 stands for the main window, below them all. What a user asked for
// belongs to the window on top when it was asked; the line's turn keeps it back
// while another modal window is open above that one.
int topModal();
// Whether the modal window of an id is still open (0 always is).
bool modalOpen(int id);
// Called whenever a modal window closes, once it is off the stack.
void setModalClosedListener(std::function<void()> listener);
class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
    int id() const { return id_; }

private:
    int id_;
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
