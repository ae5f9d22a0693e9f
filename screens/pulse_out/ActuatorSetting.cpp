#include "screens/pulse_out/ActuatorSetting.h"

#include <cmath>
#include <cstdlib>

#include "core/Protocol.h"
#include "core/TextHelpers.h"

namespace talvo::screens {

void ActuatorSetting::reset() { *this = ActuatorSetting{}; }

void ActuatorSetting::chooseChannel(int c) { adjGroup_ = c == 1 ? "04" : "03"; }
void ActuatorSetting::chooseTestChannel(int c) { testGroup_ = c != 0 ? "04" : "03"; }

void ActuatorSetting::chooseFineLevel(int i) {
    if (i >= 0 && i <= 2) fineLevelRequest_ = i + 1;
}

void ActuatorSetting::startSetting(Mode m) {
    if (m == kNone) return;
    mode_ = m;
    settingIdle_ = false;
    modeRequest_ = m == kClosePosition ? 2 : 3;
}

void ActuatorSetting::endSetting() {
    modeRequest_ = 1;
    settingIdle_ = false;
    mode_ = kNone;
}

void ActuatorSetting::finePressed(Direction d) { fine_[idx(d)] = kHeld; }

void ActuatorSetting::fineReleased(Direction d) {
    // One more step for a press the ticks have seen, or for a click between two ticks.
    if (fine_[idx(d)] == kHeld) fine_[idx(d)] = kReleased;
}

void ActuatorSetting::coarsePressed(Direction d) {
    coarse_[idx(d)] = kPressed;
    coarseReleased_[idx(d)] = false;
}

void ActuatorSetting::coarseReleased(Direction d) { coarseReleased_[idx(d)] = true; }

void ActuatorSetting::switchTestMode(bool on) { testModeRequest_ = on ? 1 : 2; }

void ActuatorSetting::sendTestPosition(const std::string& text) {
    testPosRequest_ = true;
    testPosition_ = text;
}

bool ActuatorSetting::stopCoarse(ActuatorLine& line) {
    bool stopped = true;
    for (std::size_t d = 0; d < 2; ++d) {
        // A press whose run was never sent has nothing to stop; a run stays
        // running until the card has answered its stop.
        if (coarse_[d] == kRunning && !line.write(adjGroup_, directionItem(d), "00")) {
            stopped = false;
            continue;
        }
        coarse_[d] = kIdle;
        coarseReleased_[d] = false;
    }
    return stopped;
}

void ActuatorSetting::command(ActuatorLine& line, const std::string& group, const char* item, const std::string& data,
                              std::string caption) {
    if (!line.write(group, item, data)) unanswered_.push_back(std::move(caption));
}

std::vector<std::string> ActuatorSetting::takeUnanswered() {
    std::vector<std::string> out;
    out.swap(unanswered_);
    return out;
}

namespace {
const char* directionCaption(std::size_t d) { return d == 0 ? "Close" : "Open"; }
}  // namespace

ActuatorSetting::RawRead ActuatorSetting::adjust(ActuatorLine& line, std::string& raw) {
    if (modeRequest_ == 1) {
        // The motor stops before the card leaves the setting mode, also for a
        // coarse button released in this very tick. What the card did not
        // answer is sent again at the next tick.
        stopUnanswered_ = !stopCoarse(line) || !line.write(adjGroup_, "09", "00");
        if (stopUnanswered_) return RawRead::None;
        cardInSetting_ = false;
        modeRequest_ = 0;
        fine_ = {};
        fineLevelRequest_ = 0;
        settingIdle_ = true;
        return RawRead::None;
    }
    if (modeRequest_ == 2 || modeRequest_ == 3) {
        // Counted as in the setting mode from the moment the start goes out:
        // the card is told to end it whatever became of the answer.
        cardInSetting_ = true;
        const bool close = modeRequest_ == 2;
        command(line, adjGroup_, "09", close ? "01" : "02", close ? "Set Close Position" : "Set Open Position");
        modeRequest_ = 0;
    }
    if (fineLevelRequest_ >= 1 && fineLevelRequest_ <= 3) {
        static const char* const kSteps[] = {"50", "100", "200"};
        const int level = fineLevelRequest_;
        fineLevelRequest_ = 0;
        command(line, adjGroup_, "08", kSteps[level - 1], "Fine Adj. Level L" + std::to_string(level));
    }
    for (std::size_t d = 0; d < 2; ++d)
        if (fine_[d] > kFineIdle) command(line, adjGroup_, directionItem(d), "02", std::string("Fine ") + directionCaption(d));
    for (std::size_t d = 0; d < 2; ++d)
        if (fine_[d] == kReleased) fine_[d] = kFineIdle;
    bool unanswered = false;
    for (std::size_t d = 0; d < 2; ++d) {
        if (coarse_[d] == kPressed) {
            // Counted as running from the moment the run goes out.
            coarse_[d] = kRunning;
            command(line, adjGroup_, directionItem(d), "01", std::string("Coarse ") + directionCaption(d));
        } else if (coarse_[d] == kRunning && coarseReleased_[d]) {
            if (line.write(adjGroup_, directionItem(d), "00")) {
                coarse_[d] = kIdle;
                coarseReleased_[d] = false;
            } else {
                unanswered = true;
            }
        }
    }
    stopUnanswered_ = unanswered;
    // A stop the card did not answer is told at once: nothing more is asked of it in this tick.
    if (unanswered) return RawRead::None;
    const std::string reply = line.read(adjGroup_, "28");
    if (reply.empty() || IsRefusal(reply)) return RawRead::Failed;
    raw = TextAfterColon(reply);
    return RawRead::Read;
}

bool ActuatorSetting::serveTestRequests(ActuatorLine& line) {
    if (testModeRequest_ == 1 || testModeRequest_ == 2) {
        const bool on = testModeRequest_ == 1;
        // Switching off is a stop: asked for until the card has answered it.
        const bool answered = line.write(testGroup_, "50", on ? "01" : "00");
        if (answered || on) testModeRequest_ = 0;
        if (on && !answered) unanswered_.push_back("Test Mode ON");
        stopUnanswered_ = !on && !answered;
        return true;
    }
    if (testPosRequest_) {
        testPosRequest_ = false;
        command(line, testGroup_, "51", testPosition_, "Position Setpoint " + testPosition_);
        return true;
    }
    return false;
}

void ActuatorSetting::sendTestRequests(ActuatorLine& line) {
    if (testModeRequest_ == 1) {
        testModeRequest_ = 0;
        command(line, testGroup_, "50", "01", "Test Mode ON");
    }
    if (testPosRequest_) {
        testPosRequest_ = false;
        command(line, testGroup_, "51", testPosition_, "Position Setpoint " + testPosition_);
    }
}

bool ActuatorSetting::owesStop() const {
    return cardInSetting_ || coarse_[0] == kRunning || coarse_[1] == kRunning || testModeRequest_ == 2;
}

ActuatorStop ActuatorSetting::takeStop() {
    ActuatorStop stop;
    stop.adjGroup = adjGroup_;
    stop.testGroup = testGroup_;
    for (std::size_t d = 0; d < 2; ++d) stop.coarse[d] = coarse_[d] == kRunning;
    stop.endMode = cardInSetting_;
    stop.testOff = testModeRequest_ == 2;
    const std::string adj = adjGroup_, test = testGroup_;
    *this = ActuatorSetting{};
    adjGroup_ = adj;
    testGroup_ = test;
    return stop;
}

bool SendStop(ActuatorStop& stop, ActuatorLine& line) {
    for (std::size_t d = 0; d < 2; ++d)
        if (stop.coarse[d] && line.write(stop.adjGroup, d == 0 ? "10" : "11", "00")) stop.coarse[d] = false;
    // The mode ends only once the motor has stopped.
    if (stop.endMode && !stop.coarse[0] && !stop.coarse[1] && line.write(stop.adjGroup, "09", "00"))
        stop.endMode = false;
    if (stop.testOff && line.write(stop.testGroup, "50", "00")) stop.testOff = false;
    return !stop.any();
}

bool ActuatorSetting::RawInRegion(Mode m, const std::string& raw) {
    const float x = static_cast<float>(LeadingNumber(raw));
    if (m == kClosePosition) return x <= 4000.0f;
    if (m == kOpenPosition) return x >= 6000.0f;
    return false;
}

std::string FormatTestPosition(double value) {
    const long tenths = std::lround(value * 10.0);
    const long a = std::labs(tenths);
    std::string s = (tenths < 0 ? "-" : "") + std::to_string(a / 10);
    if (a % 10 != 0) s += "." + std::to_string(a % 10);
    return s;
}

}  // namespace talvo::screens
