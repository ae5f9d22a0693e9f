// The Qt event pump's wait: it sleeps without using the processor, wakes for
// input on the Qt port, for events and at its time, and counts as an event level.
#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>
#include <ctime>

#include "platform/Services.h"
#include "platform/qt/QtServices.h"
#include "tests/support/SimFixture.h"

using namespace talvo;
using namespace std::chrono;

namespace {

double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

class EventPumpTest : public test::SimTest {};

}  // namespace

TEST_F(EventPumpTest, WaitWithNothingToDoSleepsItsTimeWithoutUsingTheProcessor) {
    const auto t0 = steady_clock::now();
    const double c0 = threadCpuMs();
    int calls = 0;
    while (steady_clock::now() - t0 < milliseconds(300)) {
        const auto left = duration_cast<milliseconds>(milliseconds(300) - (steady_clock::now() - t0)).count();
        pump.waitForEvents(static_cast<int>(left) + 1, &serial);
        ++calls;
    }
    EXPECT_LE(calls, 5);  // no polling: the wait ends at its time, not every millisecond
    EXPECT_LT(threadCpuMs() - c0, 50.0);
}

TEST_F(EventPumpTest, InputOnThePortEndsTheWaitAtOnce) {
    QTimer::singleShot(50, [this] { sim.inject("COK\r"); });
    const auto t0 = steady_clock::now();
    int calls = 0;
    while (serial.bytesWaiting() == 0 && steady_clock::now() - t0 < milliseconds(2000)) {
        pump.waitForEvents(2000, &serial);
        ++calls;
    }
    EXPECT_LT(steady_clock::now() - t0, milliseconds(1000));
    EXPECT_LE(calls, 5);
    EXPECT_EQ(serial.readAll(), "COK\r");
    // Input already taken in by the event loop does not let the next wait sleep.
    sim.inject("COK\r");
    while (serial.bufferedBytes() == 0 && steady_clock::now() - t0 < milliseconds(2000)) pump.waitForEvents(100);
    ASSERT_GT(serial.bufferedBytes(), 0);
    const auto t1 = steady_clock::now();
    pump.waitForEvents(2000, &serial);
    EXPECT_LT(steady_clock::now() - t1, milliseconds(500));
}

TEST_F(EventPumpTest, EventsRunDuringTheWaitOneLevelUp) {
    const int outer = platform::eventLevel();
    int seen = -1;
    QTimer::singleShot(30, [&] { seen = platform::eventLevel(); });
    const auto t0 = steady_clock::now();
    while (seen < 0 && steady_clock::now() - t0 < milliseconds(2000)) pump.waitForEvents(2000, &serial);
    EXPECT_EQ(seen, outer + 1);
    EXPECT_LT(steady_clock::now() - t0, milliseconds(1000));
    EXPECT_EQ(platform::eventLevel(), outer);
}

// A wait nested in a handler run by another wait ends at its own time, and the
// outer wait still ends at its own.
TEST_F(EventPumpTest, NestedWaitsEachEndAtTheirTime) {
    steady_clock::time_point innerEnd{};
    QTimer::singleShot(20, [&] {
        const auto t = steady_clock::now();
        while (steady_clock::now() - t < milliseconds(50)) pump.waitForEvents(50);
        innerEnd = steady_clock::now();
    });
    const auto t0 = steady_clock::now();
    while (steady_clock::now() - t0 < milliseconds(800)) {
        const auto left = duration_cast<milliseconds>(milliseconds(800) - (steady_clock::now() - t0)).count();
        pump.waitForEvents(static_cast<int>(left) + 1);
    }
    const auto took = steady_clock::now() - t0;
    ASSERT_NE(innerEnd, steady_clock::time_point{});
    EXPECT_LT(innerEnd - t0, milliseconds(500));
    EXPECT_LT(took, milliseconds(1300));
}

TEST_F(EventPumpTest, SteadyClockWaitWithoutAPumpRunsNoEvents) {
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    steadyClock.waitMs(20, nullptr);
    EXPECT_FALSE(ran);
    steadyClock.waitMs(20, &pump);
    EXPECT_TRUE(ran);
}
