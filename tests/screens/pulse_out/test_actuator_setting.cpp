// The actuator's end-position setting and test mode as plain state, tick by
// tick, without widgets and without a clock: which frames each tick sends for
// the presses and releases between ticks, what ending a setting sends, and
// that a stop counts as done only once the card has answered it.
#include <gtest/gtest.h>

#include <set>

#include "screens/pulse_out/ActuatorSetting.h"

using namespace talvo::screens;
using Frames = std::vector<std::string>;

namespace {

// Records "group/item:data" for a write and "group/item?" for a read; the writes
// listed in `unanswered` get no answer.
class FakeLine : public ActuatorLine {
public:
    bool write(const std::string& group, const std::string& item, const std::string& data) override {
        const std::string f = group + "/" + item + ":" + data;
        frames.push_back(f);
        return !unanswered.count(f);
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
    std::set<std::string> unanswered;
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
    EXPECT_FALSE(s.owesStop()) << "nothing told to the card yet";
    EXPECT_EQ(tick(), (Frames{"04/09:02", "04/28?"}));
    EXPECT_TRUE(s.owesStop());
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

TEST_F(SettingTest, TakeStopOwesTheMotorsStopThenTheEndOfTheModeOnlyWhenOwed) {
    ActuatorStop none = s.takeStop();
    EXPECT_FALSE(none.any());
    EXPECT_TRUE(SendStop(none, line));
    EXPECT_TRUE(line.take().empty());  // nothing runs, nothing is sent
    s.chooseChannel(1);
    s.startSetting(ActuatorSetting::kOpenPosition);
    tick();
    s.coarsePressed(Direction::Open);
    tick();
    ActuatorStop stop = s.takeStop();
    EXPECT_FALSE(s.owesStop());
    EXPECT_TRUE(s.idle());
    EXPECT_TRUE(SendStop(stop, line));
    EXPECT_EQ(line.take(), (Frames{"04/11:00", "04/09:00"}));
    EXPECT_FALSE(stop.any());
}

TEST_F(SettingTest, AModeStartedButNotYetToldToTheCardOwesNothing) {
    s.startSetting(ActuatorSetting::kClosePosition);
    s.coarsePressed(Direction::Close);  // its run never went out
    EXPECT_FALSE(s.owesStop());
    ActuatorStop stop = s.takeStop();
    EXPECT_FALSE(stop.any());
}

// The old fault: a stop that got no answer was taken as done, and the motor ran on.
TEST_F(SettingTest, AStopTheCardDoesNotAnswerStaysOwedUntilItIsAnswered) {
    startClose();
    s.coarsePressed(Direction::Close);
    tick();
    s.coarseReleased(Direction::Close);
    line.unanswered = {"03/10:00"};
    // Nothing more is asked of the card in that tick: the stop is told at once.
    EXPECT_EQ(tick(), (Frames{"03/10:00"}));
    EXPECT_TRUE(s.coarseRunning(Direction::Close));
    // The end button: neither the stop nor the end's "09" is taken while unanswered.
    s.endSetting();
    EXPECT_EQ(tick(), (Frames{"03/10:00"}));
    EXPECT_FALSE(s.idle());
    line.unanswered.clear();
    EXPECT_EQ(tick(), (Frames{"03/10:00", "03/09:00"}));
    EXPECT_TRUE(s.idle());
    EXPECT_FALSE(s.owesStop());

    // Taken out of the screen: each part is given up only once answered, and the
    // mode ends only after the motor has stopped.
    ActuatorStop stop{.adjGroup = "04", .testGroup = "03", .coarse = {false, true}, .endMode = true, .testOff = true};
    line.unanswered = {"04/11:00", "03/50:00"};
    EXPECT_FALSE(SendStop(stop, line));
    EXPECT_EQ(line.take(), (Frames{"04/11:00", "03/50:00"}));
    line.unanswered = {"03/50:00"};
    EXPECT_FALSE(SendStop(stop, line));
    EXPECT_EQ(line.take(), (Frames{"04/11:00", "04/09:00", "03/50:00"}));
    line.unanswered.clear();
    EXPECT_TRUE(SendStop(stop, line));
    EXPECT_EQ(line.take(), (Frames{"03/50:00"}));
}

TEST_F(SettingTest, TestModeRequestsComeBeforeThePosition) {
    FakeLine& l = line;
    EXPECT_FALSE(s.serveTestRequests(l));
    s.chooseTestChannel(1);
    s.sendTestPosition("5");
    s.switchTestMode(true);
    EXPECT_TRUE(s.serveTestRequests(l));
    EXPECT_EQ(l.take(), (Frames{"04/50:01"}));
    EXPECT_TRUE(s.serveTestRequests(l));
    EXPECT_EQ(l.take(), (Frames{"04/51:5"}));
    // Switching off is a stop: asked for again until the card answers it.
    s.switchTestMode(false);
    l.unanswered = {"04/50:00"};
    s.serveTestRequests(l);
    EXPECT_TRUE(s.owesStop());
    l.unanswered.clear();
    s.serveTestRequests(l);
    EXPECT_EQ(l.take(), (Frames{"04/50:00", "04/50:00"}));
    EXPECT_FALSE(s.owesStop());
    // Switched off and never answered: part of what the card is owed.
    s.switchTestMode(false);
    EXPECT_TRUE(s.takeStop().testOff);
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
