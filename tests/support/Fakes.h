#pragma once
// Recording stand-ins for the platform services a test must observe or steer.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace talvo::test {

struct ShownMessage {
    std::string text;
    std::string title;
    platform::MsgIcon icon;
    platform::MsgButtons buttons = platform::MsgButtons::Ok;
};

// Records every box instead of showing it; answers with the queued results (Ok by default).
class RecordingMessageBox : public platform::MessageBox {
public:
    platform::MsgResult show(const std::string& text, const std::string& title, platform::MsgIcon icon,
                             platform::MsgButtons buttons) override;
    std::vector<ShownMessage> shown;
    std::deque<platform::MsgResult> answers;
    std::vector<std::string> texts() const;
};

// Answers file dialogs from a queue of what the user types: a path, or "" for
// a cancelled dialog. A save does what the real dialog does: a name typed
// without an extension gets the filter's first one, and when a file of that
// name exists the dialog asks whether to replace it. The question is recorded
// and answered from `replaceAnswers` (Yes once they run out); on "No" the
// dialog stays open and takes the next queued answer (another name, or "" to
// cancel; a dialog with nothing left queued is cancelled).
class FakeFileDialog : public platform::FileDialog {
public:
    bool openFile(const std::string& filter, std::string& path) override;
    bool saveFile(const std::string& filter, std::string& path) override;
    std::deque<std::string> answers;
    std::vector<std::string> filters;
    std::deque<platform::MsgResult> replaceAnswers;
    std::vector<std::string> replaceQuestions;
};

// Time that moves only when a routine waits, so a 3000 ms time-out passes without
// 3 s of real waiting. A wait for input moves it 1 ms per call, after the pending
// events ran and a real pause of a few microseconds let the simulator's thread
// answer; any other wait adds all its milliseconds at once.
class FakeClock : public platform::Clock {
public:
    std::int64_t nowMs() const override { return now; }
    void waitMs(int ms, platform::EventPump* pump, platform::SerialPort* wakeOnInput = nullptr) override;
    std::int64_t now = 0;
};

// Records the programs started instead of starting them.
class FakeProcessRunner : public platform::ProcessRunner {
public:
    bool runAndWait(const std::string& program, const std::vector<std::string>& args) override;
    struct Run {
        std::string program;
        std::vector<std::string> args;
    };
    std::vector<Run> runs;
    bool startable = true;
    std::function<void()> during;  // runs while the "program" runs
};

}  // namespace talvo::test
