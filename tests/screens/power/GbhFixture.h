#pragma once
// The power-monitor screen in the real main window, against the simulator's
// station of power monitors (sim/stations/power_monitor.k6): slot 1 a
// two-system card with the "B" sensors and its further slots 2 and 3, slot 4 a
// one-system card with the "A" sensors, slot 5 an "E" card with its further
// slot 6, slot 7 a card without sensor list.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Protocol.h"
#include "screens/power/frmGBH.h"
#include "sim/Simulator.h"
#include "ui/DialogValues.h"
#include "tests/screens/ScreenFixture.h"

namespace talvo::test {

using Frames = std::vector<std::string>;

inline Frames operator+(Frames a, const Frames& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The frames of one item write and one item read.
inline Frames W(const std::string& group, const std::string& item, const std::string& data) {
    return {"G" + group, "I" + item, "D" + data};
}
inline Frames R(const std::string& group, const std::string& item) { return {"G" + group, "I" + item}; }
inline Frames Select(int slot) { return W("00", "01", "F") + W("00", "41", std::to_string(slot)); }

class GbhTest : public ScreenTest {
protected:
    static constexpr int kTwoSystems = 1, kSecond = 2, kThird = 3, kOneSystem = 4, kFamilyE = 5, kFurtherE = 6,
                         kNoSensors = 7;

    void SetUp() override {
        k6sim::Station station;
        std::string error;
        ASSERT_TRUE(k6sim::loadStation(K6SIM_STATIONS_DIR "/power_monitor.k6", station, error)) << error;
        sim.setStation(station);
        ScreenTest::SetUp();
    }

    // Picks the slot in the card list; a slot already picked is entered anew.
    screens::frmGBH* open(int slot) {
        if (cardList()->currentIndex() == slot) cardList()->setCurrentIndex(0);
        auto* s = pick<screens::frmGBH>(slot);
        if (s) settle(s);
        return s;
    }

    // Presses a button of the screen and waits until the request it raised has run.
    void press(screens::frmGBH* s, QPushButton* button) {
        settle(s);
        button->click();
        ASSERT_TRUE(waitFor([&] { return !s->requestPending() && !s->busy() && !ExchangeWaiting(); }, 20000));
    }
    void uploadCard(screens::frmGBH* s) { press(s, s->uploadButton()); }
    void downloadCard(screens::frmGBH* s) { press(s, s->downloadButton()); }
    void resetCard(screens::frmGBH* s, int index) {
        s->cbResetVal->setCurrentIndex(index);
        press(s, s->CmdReset);
    }

    // The frames of a request alone: no live read starts before or after it.
    Frames framesOf(screens::frmGBH* s, const std::function<void()>& request) {
        s->LiveReadEnabled = 0;
        settle(s);
        sim.clearFrames();
        request();
        Frames f = sim.frames();
        s->LiveReadEnabled = 0;
        return f;
    }

    static std::string label(const QLabel* l) { return l->text().toStdString(); }
    // The user's own pick of a list's entry.
    static void pickEntry(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        Q_EMIT list->activated(index);
    }

    // The one message a download ends with when it left settings on the card, naming them.
    static std::string leftOnCard(const std::string& named) { return ui::kLeftAsTheyAreText + named; }
    // The bindings of a slot, each named by the channel the screen shows it on.
    static std::string allBindings(int firstRow = 0) {
        std::string out = "Ch";
        for (int i = 0; i < 16; ++i) out += (i == 0 ? " +" : ", +") + std::to_string(firstRow + i);
        return out;
    }
    // The card-wide settings a download names when none holds a value, of a
    // one-system card or of a two-system card.
    static std::string noSettings(bool twoSystems) {
        std::string out = "System Confguration; VT rating Pri.; VT rating Sec.; CT rating Pri. #1; Clamp Sensor #1; "
                          "LowEnd cutout Voltage #1; LowEnd cutout Current #1; Freq.  input #1; PowerFactor sign; "
                          "Reactive Power sign; Apparent Power calculation; Average(demand)  update interval "
                          "Current; Average(demand)  update interval Power";
        if (twoSystems)
            out += "; CT rating Pri. #2; Clamp Sensor #2; LowEnd cutout Voltage #2; LowEnd cutout Current #2; "
                   "Freq.  input #2";
        return out;
    }
    static std::string shown(const QComboBox* c) { return c->currentText().toStdString(); }

    // Puts a card of another model text into a slot, as if the station had it.
    void putCard(int slot, const std::string& modelText) {
        k6sim::Station st = sim.station();
        k6sim::Station parsed;
        std::string error;
        ASSERT_TRUE(k6sim::parseStation("slot " + std::to_string(slot) + " GBH model " + modelText + "\n", parsed,
                                        error))
            << error;
        st.slot(slot) = parsed.slot(slot);
        sim.setStation(st);
        record(slot).CardType = modelText;
    }
};

}  // namespace talvo::test
