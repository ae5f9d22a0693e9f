#pragma once
// A test with the simulator on a real pseudo-terminal behind COM1, the Qt serial
// port opened on it, and recording fakes for message boxes and file dialogs.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/qt/QtFileStore.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtServices.h"
#include "sim/Simulator.h"
#include "tests/support/Fakes.h"

namespace talvo::test {

class SimTest : public ::testing::Test {
protected:
    SimTest();
    ~SimTest() override;

    // Use the fake clock for time-outs (call before anything waits).
    void useFakeClock();
    // Opens COM1 on the simulator; the fixture does it in SetUp unless told not to.
    bool openPort();
    void SetUp() override;
    // Has the simulator send `bytes` now and waits until the port holds them: until
    // it counts them when they end with CR, else (an unfinished line, which the port
    // does not count) a generous moment after they went out. False when they did
    // not go out or were not counted within a few seconds.
    bool injectAndWait(const std::string& bytes);

    bool autoOpen = true;
    k6sim::Simulator sim;
    platform::QtSerialPort serial;
    platform::QtEventPump pump;
    platform::SteadyClock steadyClock;
    FakeClock fakeClock;
    RecordingMessageBox messages;
    FakeFileDialog files;
    FakeProcessRunner processes;
    platform::QtFileStore fileStore;

private:
    std::unique_ptr<platform::ScopedServices> scope_;
};

// The data frames among `frames` as "card|group/item:data", the card being the
// one selected then ("?" before the first select among them).
inline std::vector<std::string> StampFrames(const std::vector<std::string>& frames) {
    std::vector<std::string> out;
    std::string group, item, selected = "?";
    for (const std::string& x : frames) {
        if (x.empty()) continue;
        if (x[0] == 'G') group = x.substr(1);
        if (x[0] == 'I') item = x.substr(1);
        if (x[0] != 'D') continue;
        if (group == "00" && item == "41") selected = x.substr(1);
        out.push_back(selected + "|" + group + "/" + item + ":" + x.substr(1));
    }
    return out;
}

// Resets the program-wide state between tests.
void resetProgramState();

// A fault for the frames equal to `frame` while `card` is selected (-1: any card).
inline k6sim::Fault fault(const std::string& frame, int card, k6sim::FaultAction action,
                          const std::string& text = "") {
    k6sim::Fault f;
    f.frame = frame;
    f.card = card;
    f.action = action;
    f.text = text;
    return f;
}
inline k6sim::Fault silence(const std::string& frame, int card) {
    return fault(frame, card, k6sim::FaultAction::Silence);
}

}  // namespace talvo::test
