#include "tests/support/SimFixture.h"

#include <cstdlib>

#include "core/Globals.h"
#include "core/LineTurn.h"
#include "core/OwedStops.h"
#include "core/Protocol.h"

namespace talvo::test {

void resetProgramState() {
    G() = Globals{};
    ResetExchange();
    ClearWaitingActions();
    ForgetOwedStops();
}

SimTest::SimTest() {
    resetProgramState();
    scope_ = std::make_unique<platform::ScopedServices>(
        platform::Services{&serial, &pump, &steadyClock, &messages, &files, &processes, &fileStore});
}

SimTest::~SimTest() {
    serial.close();
    sim.stop();
    scope_.reset();
    resetProgramState();
}

void SimTest::useFakeClock() { platform::services().clock = &fakeClock; }

bool SimTest::openPort() { return serial.open(1, "9600,n,8,1"); }

bool SimTest::injectAndWait(const std::string& bytes) {
    const std::size_t before = sim.bytesSent();
    sim.inject(bytes);
    for (int i = 0; i < 3000 && sim.bytesSent() < before + bytes.size(); ++i) steadyClock.waitMs(1, nullptr);
    if (sim.bytesSent() < before + bytes.size()) return false;
    if (bytes.empty() || bytes.back() != '\r') {
        steadyClock.waitMs(100, nullptr);
        return true;
    }
    for (int i = 0; i < 150 && serial.bytesWaiting() == 0; ++i) serial.waitForInput(20);
    return serial.bytesWaiting() > 0;
}

void SimTest::SetUp() {
    ASSERT_TRUE(sim.start());
    ::setenv("TALVO_COM1", sim.devicePath().c_str(), 1);
    if (autoOpen) {
        ASSERT_TRUE(openPort());
    }
}

}  // namespace talvo::test
