#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace talvo::platform {

class SerialPort;

// Lets the user interface run while a routine waits.
class EventPump {
public:
    virtual ~EventPump() = default;
    // Runs the events that are pending now, once.
    virtual void processEventsOnce() = 0;
    // Sleeps, using no processor, until events come, `wakeOnInput` has characters
    // waiting, or ms milliseconds have passed, and runs the events that came.
    // It returns after the first of these, so callers loop on their own condition.
    virtual void waitForEvents(int ms, SerialPort* wakeOnInput = nullptr) = 0;
    // Runs fn later from the event loop, once, after the events pending now.
    virtual void postLater(std::function<void()> fn) = 0;
};

// Monotonic time in milliseconds, and the waits that let it pass.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() const = 0;
    // Lets at most ms milliseconds pass while `pump` (when given) keeps the user
    // interface running. It may return earlier: once events ran, or once
    // `wakeOnInput` has characters waiting; callers loop on their own condition.
    virtual void waitMs(int ms, EventPump* pump, SerialPort* wakeOnInput = nullptr) = 0;
};

// Icons by the message-box style numbers the screens use.
enum class MsgIcon { None = 0, Stop = 16, Question = 32, Exclamation = 48, Information = 64 };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

// Modal message boxes. An empty title shows the program's title, "TALVO".
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual MsgResult show(const std::string& text, const std::string& title, MsgIcon icon,
                           MsgButtons buttons = MsgButtons::Ok) = 0;
};

// Open and save dialogs. The filter is "Name (*.ext)|*.ext|..." as the screens give
// it. They return false when the user cancels; path holds the suggestion on
// entry and the chosen file on return. The save dialog adds the chosen filter's
// extension to a name typed without one (withDefaultSuffix) before it asks
// whether to replace a file of that name, so the question is about the file
// that will be written; "No" leaves the user in the dialog.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual bool openFile(const std::string& filter, std::string& path) = 0;
    virtual bool saveFile(const std::string& filter, std::string& path) = 0;
};

// Starts a program and waits for it to end, without a time limit.
class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;
    // Returns false when the program cannot be started.
    virtual bool runAndWait(const std::string& program, const std::vector<std::string>& args) = 0;
};

}  // namespace talvo::platform
