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

    // The ways a setting comes to hold no value, as the screens' tables of
    // control kinds try each: never read, refused, not used by the card, or
    // its read unanswered (the reply the card gives, if any).
    enum class Way { NeverRead, Refused, Needless, Unanswered };
    struct NoValueCase {
        Way way;
        const char* name;
        std::string reply;
    };
    static inline const NoValueCase kNoValueCases[] = {
        {Way::NeverRead, "never read", ""},
        {Way::Refused, "refused", "CNG"},
        {Way::Needless, "needless", "CNU"},
        {Way::Unanswered, "unanswered", ""},
    };

    // A fault on `frame` while `card` is selected.
    void replyTo(const std::string& frame, int card, const std::string& reply, int count = -1, int skip = 0) {
        k6sim::Fault f = fault(frame, card, k6sim::FaultAction::Reply, reply);
        f.count = count;
        f.skip = skip;
        sim.addFault(f);
    }
};

}  // namespace talvo::test
