#pragma once
// The universal and HART input card screens in the real main window, against
// the simulator's station of these families (sim/stations/universal.k6).
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sim/Simulator.h"
#include "tests/screens/ScreenFixture.h"

namespace talvo::test {

class UniversalScreenTest : public ScreenTest {
public:
    UniversalScreenTest() {
        k6sim::Station station;
        std::string error;
        EXPECT_TRUE(k6sim::loadStation(K6SIM_STATIONS_DIR "/universal.k6", station, error)) << error;
        sim.setStation(station);
    }

    using Frames = std::vector<std::string>;
    static void add(Frames& to, const Frames& more) { to.insert(to.end(), more.begin(), more.end()); }
    // The card select: group 00, item 01 := "F", item 41 := slot.
    static Frames selectFrames(int slot) { return {"G00", "I01", "DF", "G00", "I41", "D" + std::to_string(slot)}; }

    // Runs `action` once, as soon as `cond` holds, from the event loop, also from
    // the loops a routine's exchanges run: so it can act in the middle of a tick.
    void whenever(std::function<bool()> cond, std::function<void()> action) {
        watch_ = std::make_unique<QTimer>();
        watch_->setInterval(1);
        QObject::connect(watch_.get(), &QTimer::timeout, [this, cond, action] {
            if (!cond()) return;
            watch_->stop();
            action();
        });
        watch_->start();
    }

    // A fault on `frame` while `card` is selected.
    void replyTo(const std::string& frame, int card, const std::string& reply, int count = -1, int skip = 0) {
        k6sim::Fault f = fault(frame, card, k6sim::FaultAction::Reply, reply);
        f.count = count;
        f.skip = skip;
        sim.addFault(f);
    }

private:
    std::unique_ptr<QTimer> watch_;
};

}  // namespace talvo::test
