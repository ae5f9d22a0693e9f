#pragma once
#include <memory>

#include "platform/Services.h"

class QWidget;

namespace talvo::platform {

// Runs pending Qt events once.
class QtEventPump : public EventPump {
public:
    void processEventsOnce() override;
};

// Steady clock; its waits return early when the given port has input.
class SteadyClock : public Clock {
public:
    std::int64_t nowMs() const override;
    void sleepMs(int ms, SerialPort* wakeOnInput = nullptr) override;
};

class QtMessageBox : public MessageBox {
public:
    MsgResult show(const std::string& text, const std::string& title, MsgIcon icon,
                   MsgButtons buttons) override;
};

class QtFileDialog : public FileDialog {
public:
    bool openFile(const std::string& filter, std::string& path) override;
    bool saveFile(const std::string& filter, std::string& path) override;
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
