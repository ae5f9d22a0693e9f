#pragma once
// The pulse, output and discrete card screens in the real main window, against
// the simulator holding sim/stations/pulse.k6.
#include <QLineEdit>
#include <set>
#include <string>
#include <vector>

#include "core/Colors.h"
#include "core/Overview.h"
#include "shell/Geometry.h"
#include "tests/screens/ScreenFixture.h"

namespace talvo::test {

// Slots of sim/stations/pulse.k6.
enum PulseSlot { kJO8 = 1, kJH16 = 2, kJO32 = 3, kJO64 = 4, kIK16 = 5, kJOV16 = 6, kUJ8 = 7, kIY8 = 8 };

inline k6sim::Station pulseStation() {
    k6sim::Station s;
    std::string error;
    EXPECT_TRUE(k6sim::loadStation(K6SIM_STATIONS_DIR "/pulse.k6", s, error)) << error;
    return s;
}

class PulseTest : public ScreenTest {
public:
    void SetUp() override {
        sim.setStation(pulseStation());
        ScreenTest::SetUp();
    }

    static bool hasBack(const QWidget* w, std::uint32_t color) {
        return w->palette().color(QPalette::Base) == shell::toQColor(color);
    }
    static bool hasFore(const QWidget* w, std::uint32_t color) {
        return w->palette().color(QPalette::Text) == shell::toQColor(color);
    }
    // "ON"/"OFF" with its colour as one word: "ON" red, "OFF" green; anything else as shown.
    static std::string state(const QLineEdit* b) {
        const std::string t = text(b);
        if (t == "ON") return hasFore(b, colors::Red) ? "ON" : "ON?";
        if (t == "OFF") return hasFore(b, colors::Green) ? "OFF" : "OFF?";
        return t;
    }
    // Frames that write: "item:data" for each data frame, in order.
    std::vector<std::string> writes() const {
        std::vector<std::string> out;
        const auto f = sim.frames();
        for (std::size_t i = 1; i < f.size(); ++i)
            if (f[i][0] == 'D' && f[i - 1][0] == 'I') out.push_back(f[i - 1].substr(1) + ":" + f[i].substr(1));
        return out;
    }
    // Waits for the first complete live pass after now.
    void nextPass(screens::CardScreen* s) {
        settle(s);
        sim.clearFrames();
        ASSERT_TRUE(waitFor([&] { return s->busy(); }, 3000));
        settle(s);
    }
};

// Overview lamps first..last as 'R' red, 'G' green, '-' unlit, '?' other.
inline std::string lampColours(int slot, int first, int last) {
    std::string out;
    for (int k = first; k <= last; ++k) {
        const std::uint32_t c = Overview().row(slot)->lamps[static_cast<std::size_t>(k - 1)].backColor;
        out += c == colors::Red ? 'R' : c == colors::Green ? 'G' : c == colors::SysMenu ? '-' : '?';
    }
    return out;
}

}  // namespace talvo::test
