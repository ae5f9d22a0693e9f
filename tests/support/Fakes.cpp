#include "tests/support/Fakes.h"

#include "platform/FileDialogFolder.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace talvo::test {

platform::MsgResult RecordingMessageBox::show(const std::string& text, const std::string& title,
                                              platform::MsgIcon icon, platform::MsgButtons buttons) {
    shown.push_back({text, title, icon, buttons});
    if (answers.empty()) return platform::MsgResult::Ok;
    const auto r = answers.front();
    answers.pop_front();
    return r;
}

std::vector<std::string> RecordingMessageBox::texts() const {
    std::vector<std::string> out;
    for (const auto& m : shown) out.push_back(m.text);
    return out;
}

namespace {
bool answerFrom(std::deque<std::string>& answers, std::string& path) {
    if (answers.empty()) return false;
    path = answers.front();
    answers.pop_front();
    return !path.empty();
}
}  // namespace

bool FakeFileDialog::openFile(const std::string& filter, std::string& path) {
    filters.push_back(filter);
    return answerFrom(answers, path);
}

bool FakeFileDialog::saveFile(const std::string& filter, std::string& path) {
    filters.push_back(filter);
    std::string typed;
    while (answerFrom(answers, typed)) {
        const std::string chosen = platform::withFilterExtension(typed, filter);
        std::error_code ec;
        if (std::filesystem::exists(chosen, ec) && !std::filesystem::is_directory(chosen, ec)) {
            replaceQuestions.push_back(std::filesystem::path(chosen).filename().string() +
                                       " already exists.\nDo you want to replace it?");
            platform::MsgResult reply = platform::MsgResult::Yes;
            if (!replaceAnswers.empty()) {
                reply = replaceAnswers.front();
                replaceAnswers.pop_front();
            }
            if (reply != platform::MsgResult::Yes) continue;
        }
        path = chosen;
        return true;
    }
    return false;
}

void FakeClock::waitMs(int ms, platform::EventPump* pump, platform::SerialPort* wakeOnInput) {
    if (pump) pump->processEventsOnce();
    if (ms <= 0) return;
    now += wakeOnInput ? 1 : ms;
    std::this_thread::sleep_for(std::chrono::microseconds(20));
}

bool FakeProcessRunner::runAndWait(const std::string& program, const std::vector<std::string>& args) {
    runs.push_back({program, args});
    if (startable && during) during();
    return startable;
}

}  // namespace talvo::test
