// The actuator's end-position setting and test mode as plain state, tick by
// tick, without widgets and without a clock: which frames each tick sends for
// the presses and releases between ticks, and what ending a setting sends.
#include <gtest/gtest.h>

#include "screens/pulse_out/ActuatorSetting.h"

using namespace talvo::screens;
using Frames = std::vector<std::string>;

namespace {

// Records "group/item:data" for a write and "group/item?" for a read.
class FakeLine : public ActuatorLine {
public:
    void write(const std::string& group, const std::string& item, const std::string& data) override {
        frames.push_back(group + "/" + item + ":" + data);
    }
    std::string read(const std::string& group, const std::string& item) override {
        frames.push_back(group + "/" + item + "?");
        return "D28:" + raw;
    }
    Frames take() {
        Frames f;
        f.swap(frames);
        return f;
    }
    Frames frames;
    std::string raw = "5000";
};

class SettingTest : public ::testing::Test {
protected:
    // One tick: the frames it sent.
    Frames tick() {
        std::string raw;
        s.adjust(line, raw);
        return line.take();
    }
    // Puts the card into a setting mode of channel 1 and runs its first tick.
    void startClose() {
        s.startSetting(ActuatorSetting::kClosePosition);
        ASSERT_EQ(tick(), (Frames{"03/09:01", "03/28?"}));
    }
    ActuatorSetting s;
    FakeLine line;
};

}  // namespace

TEST_F(SettingTest, StartingASettingModeTellsTheCardFirst) {
    EXPECT_TRUE(s.idle());
    EXPECT_FALSE(s.owesStop());
    s.chooseChannel(1);
    s.startSetting(ActuatorSetting::kOpenPosition);
    EXPECT_FALSE(s.idle());
    EXPECT_TRUE(s.owesStop());
    EXPECT_EQ(tick(), (Frames{"04/09:02", "04/28?"}));
    EXPECT_EQ(s.channel(), 1);
}

TEST_F(SettingTest, FinePressAndReleaseBetweenTwoTicksGivesExactlyOneStep) {
    startClose();
    s.finePressed(Direction::Close);
    s.fineReleased(Direction::Close);
    EXPECT_EQ(tick(), (Frames{"03/10:02", "03/28?"}));
    EXPECT_EQ(tick(), (Frames{"03/28?"}));
}

TEST_F(SettingTest, FineHeldStepsEveryTickAndOnceMoreAfterTheRelease) {
    startClose();
    s.finePressed(Direction::Open);
    EXPECT_EQ(tick(), (Frames{"03/11:02", "03/28?"}));
    EXPECT_EQ(tick(), (Frames{"03/11:02", "03/28?"}));
    s.fineReleased(Direction::Open);
    EXPECT_EQ(tick(), (Frames{"03/11:02", "03/28?"}));
    EXPECT_EQ(tick(), (Frames{"03/28?"}));
}

TEST_F(SettingTest, CoarseHoldOverThreeTicksRunsOnceAndStopsOnceAfterTheRelease) {
    startClose();
    s.coarsePressed(Direction::Close);
    EXPECT_EQ(tick(), (Frames{"03/10:01", "03/28?"}));
    EXPECT_TRUE(s.coarseRunning(Direction::Close));
    EXPECT_EQ(tick(), (Frames{"03/28?"}));
    EXPECT_EQ(tick(), (Frames{"03/28?"}));
    s.coarseReleased(Direction::Close);
    EXPECT_EQ(tick(), (Frames{"03/10:00", "03/28?"}));
    EXPECT_FALSE(s.coarseRunning(Direction::Close));
    EXPECT_EQ(tick(), (Frames{"03/28?"}));
}

TEST_F(SettingTest, ShortCoarseClickRunsForOneTick) {
    startClose();
    s.coarsePressed(Direction::Open);
    s.coarseReleased(Direction::Open);
    EXPECT_EQ(tick(), (Frames{"03/11:01", "03/28?"}));
    EXPECT_EQ(tick(), (Frames{"03/11:00", "03/28?"}));
}

TEST_F(SettingTest, FineLevelGoesOutBeforeAnyStepOfItsTick) {
    startClose();
    s.finePressed(Direction::Close);
    s.coarsePressed(Direction::Open);
    s.chooseFineLevel(2);  // "L3"
    EXPECT_EQ(tick(), (Frames{"03/08:200", "03/10:02", "03/11:01", "03/28?"}));
    s.chooseFineLevel(0);
    s.fineReleased(Direction::Close);
    EXPECT_EQ(tick(), (Frames{"03/08:50", "03/10:02", "03/28?"}));
}

TEST_F(SettingTest, EndSendsItsStopAtTheNextTickWithoutARawRead) {
    startClose();
    s.endSetting();
    EXPECT_FALSE(s.idle());
    EXPECT_EQ(tick(), (Frames{"03/09:00"}));
    EXPECT_TRUE(s.idle());
    EXPECT_FALSE(s.owesStop());
}

TEST_F(SettingTest, EndStopsEveryRunningCoarseMoveFirst) {
    startClose();
    s.coarsePressed(Direction::Close);
    s.coarsePressed(Direction::Open);
    tick();
    // A release that falls into the end's tick still gets its stop.
    s.coarseReleased(Direction::Close);
    s.endSetting();
    EXPECT_EQ(tick(), (Frames{"03/10:00", "03/11:00", "03/09:00"}));
    EXPECT_FALSE(s.coarseRunning(Direction::Open));
    // The button released after the end sends nothing.
    s.coarseReleased(Direction::Open);
    s.startSetting(ActuatorSetting::kOpenPosition);
    EXPECT_EQ(tick(), (Frames{"03/09:02", "03/28?"}));
}

TEST_F(SettingTest, StopAllStopsTheMotorThenEndsTheModeOnlyWhenOwed) {
    s.stopAll(line);
    EXPECT_TRUE(line.take().empty());  // nothing runs, nothing is sent
    s.chooseChannel(1);
    s.startSetting(ActuatorSetting::kOpenPosition);
    tick();
    s.coarsePressed(Direction::Open);
    tick();
    s.stopAll(line);
    EXPECT_EQ(line.take(), (Frames{"04/11:00", "04/09:00"}));
    EXPECT_FALSE(s.owesStop());
    EXPECT_TRUE(s.idle());
}

TEST_F(SettingTest, StopAllBeforeTheFirstSettingTickStillEndsTheMode) {
    s.startSetting(ActuatorSetting::kClosePosition);
    s.coarsePressed(Direction::Close);  // its run never went out
    s.stopAll(line);
    EXPECT_EQ(line.take(), (Frames{"03/09:00"}));
}

TEST_F(SettingTest, TestModeRequestsComeBeforeThePosition) {
    FakeLine& l = line;
    EXPECT_FALSE(s.serveTestRequests(l, "5"));
    s.chooseTestChannel(1);
    s.sendTestPosition();
    s.switchTestMode(true);
    EXPECT_TRUE(s.serveTestRequests(l, "5"));
    EXPECT_EQ(l.take(), (Frames{"04/50:01"}));
    EXPECT_TRUE(s.serveTestRequests(l, "12.5"));
    EXPECT_EQ(l.take(), (Frames{"04/51:12.5"}));
    s.switchTestMode(false);
    s.serveTestRequests(l, "");
    EXPECT_EQ(l.take(), (Frames{"04/50:00"}));
}

TEST(ActuatorRaw, RegionOfTheSettingMode) {
    struct Case {
        ActuatorSetting::Mode mode;
        std::string raw;
        bool in;
    };
    const Case cases[] = {
        {ActuatorSetting::kClosePosition, "4000", true}, {ActuatorSetting::kClosePosition, "4001", false},
        {ActuatorSetting::kClosePosition, "", true},     {ActuatorSetting::kClosePosition, "12ab", true},
        {ActuatorSetting::kOpenPosition, "6000", true},  {ActuatorSetting::kOpenPosition, "5999.9", false},
        {ActuatorSetting::kOpenPosition, "", false},     {ActuatorSetting::kNone, "9000", false},
    };
    for (const Case& c : cases) EXPECT_EQ(ActuatorSetting::RawInRegion(c.mode, c.raw), c.in) << c.raw;
}

TEST(ActuatorTestPosition, PlainDecimalWithAtMostOneDecimal) {
    struct Case {
        double value;
        std::string text;
    };
    const Case cases[] = {{0, "0"},        {5, "5"},          {0.5, "0.5"},   {100.5, "100.5"}, {-0.5, "-0.5"},
                          {5.04, "5"},     {99.96, "100"},    {-0.04, "0"},   {12.25f, "12.3"}, {0.1f, "0.1"}};
    for (const Case& c : cases) EXPECT_EQ(FormatTestPosition(c.value), c.text) << c.value;
}
