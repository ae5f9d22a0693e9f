#pragma once
// The power and heat-flow card screens in the real main window, against the
// simulator's power station (sim/stations/power_heat.k6).
#include <string>
#include <vector>

#include "sim/Simulator.h"
#include "tests/screens/ScreenFixture.h"

namespace talvo::test {

using Frames = std::vector<std::string>;

// Slots of the power station.
constexpr int kGB10 = 1, kGB1A = 2, kGB1B = 3, kGB40Mode0 = 4, kGB40Mode1 = 5, kGB40Mode2 = 6, kGB40Mode3 = 7,
              kGB4A = 8, kGB4B = 9, kGB40NoMode = 10, kFS2 = 11, kFS2Second = 12;

class PowerScreenTest : public ScreenTest {
public:
    void SetUp() override {
        k6sim::Station station;
        std::string error;
        ASSERT_TRUE(k6sim::loadStation(K6SIM_STATIONS_DIR "/power_heat.k6", station, error)) << error;
        sim.setStation(station);
        ScreenTest::SetUp();
    }

    static std::string str(int n) { return std::to_string(n); }

    // The frames of the select of `slot`.
    static Frames selectFrames(int slot) { return {"G00", "I01", "DF", "G00", "I41", "D" + str(slot)}; }
    // A read of each item of a group, in order.
    static Frames reads(const std::string& group, const std::vector<int>& items) {
        Frames f;
        for (int i : items) {
            f.push_back("G" + group);
            f.push_back("I" + str(i));
        }
        return f;
    }
    static Frames write(const std::string& group, const std::string& item, const std::string& data) {
        return {"G" + group, "I" + item, "D" + data};
    }
    static Frames write(const std::string& group, int item, const std::string& data) {
        return write(group, str(item), data);
    }
    static Frames join(std::initializer_list<Frames> parts) {
        Frames out;
        for (const Frames& p : parts) out.insert(out.end(), p.begin(), p.end());
        return out;
    }

    // The frames of the first transfer since the record was cleared: the select of
    // `slot` followed by `head`, up to the next select (the next live read) or the end.
    Frames transferFrames(int slot, const Frames& head) const {
        const Frames all = sim.frames();
        const Frames start = join({selectFrames(slot), head});
        for (std::size_t i = 0; i + start.size() <= all.size(); ++i) {
            if (!std::equal(start.begin(), start.end(), all.begin() + static_cast<long>(i))) continue;
            std::size_t end = i + start.size();
            while (end < all.size() && !(end + 2 < all.size() && all[end] == "G00" && all[end + 1] == "I01" &&
                                         all[end + 2] == "DF"))
                ++end;
            return {all.begin() + static_cast<long>(i), all.begin() + static_cast<long>(end)};
        }
        return {};
    }

    // Waits until a live read has run since now.
    void waitForLiveRead(screens::CardScreen* s, const std::string& lastItem) {
        settle(s);
        sim.clearFrames();
        ASSERT_TRUE(waitFor([&] { return countFrames("I" + lastItem) > 0; }));
        settle(s);
    }
};

}  // namespace talvo::test
