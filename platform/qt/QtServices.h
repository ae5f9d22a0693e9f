#pragma once
#include <memory>

#include "platform/Services.h"

class QTimer;
class QWidget;

namespace talvo::platform {

// Runs pending Qt events once.
class QtEventPump : public EventPump {
public:
    QtEventPump();
    ~QtEventPump() override;
    QtEventPump(const QtEventPump&) = delete;
    QtEventPump& operator=(const QtEventPump&) = delete;

    void processEventsOnce() override;
    // Blocks in the Qt event loop; the Qt serial port's own read notifier wakes it.
    void waitForEvents(int ms, SerialPort* wakeOnInput = nullptr) override;
    void postLater(std::function<void()> fn) override;

private:
    std::unique_ptr<QTimer> wake_;  // ends a wait at its time; made at the first wait
    std::int64_t wakeDue_ = 0;
};

// Steady clock. Its waits block in the event pump, or without one on the port
// or in a plain sleep.
class SteadyClock : public Clock {
public:
    std::int64_t nowMs() const override;
    void waitMs(int ms, EventPump* pump, SerialPort* wakeOnInput = nullptr) override;
};

class QtMessageBox : public MessageBox {
public:
    MsgResult show(const std::string& text, const std::string& title, MsgIcon icon,
                   MsgButtons buttons) override;
};

// Both dialogs start in the folder last used, the first time in the home folder.
class QtFileDialog : public FileDialog {
public:
    bool openFile(const std::string& filter, std::string& path) override;
    bool saveFile(const std::string& filter, std::string& path) override;

private:
    std::string startPath(const std::string& suggested) const;
    bool ask(bool save, const std::string& filter, std::string& path);
    std::string lastFolder_;
};

class QtProcessRunner : public ProcessRunner {
public:
    bool runAndWait(const std::string& program, const std::vector<std::string>& args) override;
};

// Turns "Name (*.ext)|*.ext|Other (*.x)|*.x|" into Qt's "Name (*.ext);;Other (*.x)".
std::string qtFilterFromPairs(const std::string& filter);

// Owns one of each Qt implementation and installs them as the program's services.
class QtPlatform {
public:
    QtPlatform();
    ~QtPlatform();
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// The program's title, shown where a message box has none of its own.
inline constexpr const char* kAppTitle = "TALVO";

}  // namespace talvo::platform
