// What a download names of the analog input screens (scaled, temperature,
// percent, tare/load, base-scaled and alarm input): every setting by the
// caption the screen shows it under, never by its place on the card. A
// download right after Connect (nothing read, loaded or typed) sends no
// setting and names every one.
#include <gtest/gtest.h>

#include "screens/analog_in/TemperatureScreen.h"
#include "tests/screens/ScreenFixture.h"
#include "tests/screens/analog_in/LeftList.h"

using namespace talvo;

namespace {

class InputCaptionsTest : public test::ScreenTest {};

using Named = std::vector<std::pair<std::string, int>>;  // caption, channels (0: a setting of the card)

Named everyChannel(std::initializer_list<std::string> captions, int n) {
    Named out;
    for (const std::string& c : captions) out.emplace_back(c, n);
    return out;
}

Named operator+(Named a, const Named& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::initializer_list<std::string> kScaled = {"Zero Scale", "Full Scale", "Zero Adjust", "Full Adjust", "Unused"};
// The scale, adjust and base pairs and the Unused flag, as the temperature and base-scaled screens hold them.
const std::initializer_list<std::string> kTemperature = {"Zero Scale", "Full Scale", "Zero Adjust", "Full Adjust",
                                                         "Zero Base",  "Full Base",  "Unused"};
const Named kTimes = {{"Power ON", 0}, {"Delay Time", 0}, {"Hold Time", 0}};

}  // namespace

TEST_F(InputCaptionsTest, AFreshDownloadSendsNothingAndNamesEverySettingByItsCaption) {
    struct Case {
        const char* screen;
        int slot;  // of the default station
        Named named;
    };
    const Case cases[] = {
        {"BW4", 1, everyChannel(kScaled, 4)},
        {"BW8", 2, everyChannel(kScaled, 8)},
        {"BW16", 3, everyChannel({"Z-Scale", "F-Scale", "Z-Adjust", "F-Adjust", "Unused"}, 16)},
        {"HG4", 4, everyChannel(kTemperature, 4) + Named{{"Limit", 0}}},
        {"HG8 without the limit", 5, everyChannel(kTemperature, 8)},
        {"HG8A", 6, everyChannel(kTemperature, 8) + Named{{"Limit", 0}}},
        {"BWT8", 7,  // bases and lead wires on channels 1 to 4 only
         everyChannel({"Zero Scale", "Full Scale", "Zero Adjust", "Full Adjust"}, 8) +
             everyChannel({"Zero Base", "Full Base"}, 4) + everyChannel({"Unused"}, 8) +
             Named{{"Leadwire Resistance", 4}}},
        {"EK4", 8, everyChannel({"Zero Scale", "Full Scale", "Zero Base", "Full Base", "Unused"}, 4)},
        {"EK8", 9, everyChannel({"Zero Scale", "Full Scale", "Zero Base", "Full Base", "Unused"}, 8)},
        {"ZN2", 10,
         everyChannel({"Zero Scale", "Full Scale", "Zero Adjust", "Full Adjust", "Tare ratio", "Load ratio",
                       "Th.Adjust", "Unused"},
                      2)},
        {"FD4", 11, everyChannel(kTemperature, 4)},
        {"FD8", 12, everyChannel(kTemperature, 8)},
        {"KR4", 13,
         kTimes + everyChannel({"A1 Alarm Level", "A2 Alarm Level", "A3 Alarm Level", "A4 Alarm Level", "Hyst.",
                                "A1 H/L", "A2 H/L", "A3 H/L", "A4 H/L", "Unused"},
                               4)},
        {"KR8", 14,
         kTimes + everyChannel({"Alarm1 Cond. Level", "Alarm2 Cond. Level", "Alarm3 Cond. Level",
                                "Alarm4 Cond. Level", "Hyst.", "Alarm1 Cond. Dir", "Alarm2 Cond. Dir",
                                "Alarm3 Cond. Dir", "Alarm4 Cond. Dir", "Unused"},
                               8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screen);
        cardList()->setCurrentIndex(0);
        auto* s = pick(c.slot);
        ASSERT_NE(s, nullptr);
        settle(s);
        // The limit box shows neither on nor off while nothing was read.
        if (auto* t = dynamic_cast<screens::TemperatureScreen*>(s); t && t->HasLimitFunction()) {
            EXPECT_EQ(t->chkLimit->checkState(), Qt::PartiallyChecked);
        }
        sim.clearFrames();
        messages.shown.clear();
        download(s);
        // Only the card select and the group openings are written.
        for (const std::string& f : stamped()) {
            const std::string item = f.substr(f.find('/') + 1, f.find(':') - f.find('/') - 1);
            EXPECT_TRUE(item == "01" || (f.find("|00/41:") != std::string::npos)) << f;
        }
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, test::LeftMessage(test::LeftList(c.named)));
        const std::string list = messages.shown[0].text.substr(std::string(ui::kLeftAsTheyAreText).size());
        for (std::size_t at = 0; at != std::string::npos;) {
            EXPECT_NE(list.compare(at, 5, "Item "), 0) << list.substr(at);
            at = list.find("; ", at);
            if (at != std::string::npos) at += 2;
        }
    }
}
