#pragma once
// The pulse, output and discrete card screens in the real main window, against
// the simulator holding sim/stations/pulse.k6.
#include <QComboBox>
#include <QLineEdit>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/Colors.h"
#include "core/Overview.h"
#include "ui/DialogValues.h"
#include "ui/Geometry.h"
#include "tests/screens/ScreenFixture.h"

namespace talvo::test {

// Slots of sim/stations/pulse.k6.
enum PulseSlot {
    kJO8 = 1, kJH16, kJO32, kJO64, kIK16, kJOV16, kUJ8, kIY8, kIY2, kIY4, kIY4A, kIY16, kLQN8, kVU32, kEAJ2
};

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
        return w->palette().color(QPalette::Base) == ui::toQColor(color);
    }
    static bool hasFore(const QWidget* w, std::uint32_t color) {
        return w->palette().color(QPalette::Text) == ui::toQColor(color);
    }
    // "ON"/"OFF" with its colour as one word: "ON" red, "OFF" green; anything else as shown.
    static std::string state(const QLineEdit* b) {
        const std::string t = text(b);
        if (t == "ON") return hasFore(b, colors::Red) ? "ON" : "ON?";
        if (t == "OFF") return hasFore(b, colors::Green) ? "OFF" : "OFF?";
        return t;
    }
    // The data frames, in order, as "group/item:data" ("02/10:0").
    std::vector<std::string> writes() const {
        std::vector<std::string> out;
        const auto f = sim.frames();
        std::string group;
        for (std::size_t i = 0; i < f.size(); ++i) {
            if (f[i][0] == 'G') group = f[i].substr(1);
            if (i > 0 && f[i][0] == 'D' && f[i - 1][0] == 'I')
                out.push_back(group + "/" + f[i - 1].substr(1) + ":" + f[i].substr(1));
        }
        return out;
    }
    // Clicks a button whose request the next tick serves, and waits for that tick.
    void press(screens::CardScreen* s, QPushButton* b) {
        settle(s);
        sim.clearFrames();
        b->click();
        ASSERT_TRUE(waitFor([&] { return s->busy() || !sim.frames().empty(); }, 3000));
        settle(s);
    }
    // How often item `item` of group `group` was named (read or written).
    std::size_t countItem(const std::string& group, const std::string& item) const {
        const auto f = sim.frames();
        std::size_t n = 0;
        for (std::size_t i = 1; i < f.size(); ++i) n += f[i - 1] == "G" + group && f[i] == "I" + item;
        return n;
    }
    // The card select's writes as writes() shows them.
    static std::vector<std::string> selectWrites(int slot) { return {"00/01:F", "00/41:" + std::to_string(slot)}; }
    static std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }

    // The user picking an entry of a list, as a click on it does.
    static void choose(QComboBox* list, const QString& entry) {
        const int at = list->findText(entry);
        ASSERT_GE(at, 0) << entry.toStdString();
        list->setCurrentIndex(at);
        Q_EMIT list->activated(at);
    }

    // What the one ending of a download named ("Not written, left as they are
    // on the card ..."), setting by setting, each with its members in order:
    // "Zero Scale Ch.2, Ch.3" gives {"Zero Scale", {"Ch.2", "Ch.3"}}. Empty
    // when no such message was shown.
    using Named = std::map<std::string, std::vector<std::string>>;
    Named leftNamed() const {
        Named out;
        const std::string head = ui::kLeftAsTheyAreText;
        for (const auto& m : messages.shown) {
            if (m.text.rfind(head, 0) != 0) continue;
            EXPECT_EQ(m.title, ui::kLeftAsTheyAreTitle);
            std::string rest = m.text.substr(head.size());
            while (!rest.empty()) {
                const std::size_t end = rest.find("; ");
                const std::string part = rest.substr(0, end);
                rest = end == std::string::npos ? "" : rest.substr(end + 2);
                const std::size_t at = part.find(" Ch.");
                std::vector<std::string>& members = out[part.substr(0, at)];
                if (at == std::string::npos) continue;
                const std::string list = part.substr(at + 1);  // "Ch.2, Ch.3"
                for (std::size_t b = 0;;) {
                    const std::size_t e = list.find(", ", b);
                    members.push_back(list.substr(b, e == std::string::npos ? e : e - b));
                    if (e == std::string::npos) break;
                    b = e + 2;
                }
            }
        }
        return out;
    }
    // "Ch.first" to "Ch.last", leaving out `but` (0: none).
    static std::vector<std::string> chs(int first, int last, int but = 0) {
        std::vector<std::string> out;
        for (int ch = first; ch <= last; ++ch)
            if (ch != but) out.push_back("Ch." + std::to_string(ch));
        return out;
    }

    // Waits for the next tick's live pass, whole. (A tick runs to its end within
    // one turn of the test's event loop, so its first frame means all of it.)
    void nextPass(screens::CardScreen* s) {
        settle(s);
        sim.clearFrames();
        ASSERT_TRUE(waitFor([&] { return !sim.frames().empty(); }, 20000));
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
