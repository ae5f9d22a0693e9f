#pragma once
// The actuator card's end-position setting and test mode as plain state: the
// screen's buttons and options only record what the user asked for, and each
// timer tick sends what is due through an ActuatorLine. No widget, no clock.
//
// The card is put into a close- or open-position setting mode; a coarse button
// runs the motor while it is held (run "01" at the first tick after the press,
// stop "00" at the first tick after the release), a fine button sends one step
// per tick while held and one more after its release. Whatever ends a setting
// mode (the end button, the screen going away, the link going down, the
// program ending) first stops every coarse move that runs and then ends the
// mode at the card: the motor never keeps running and the card never stays in
// a setting mode.
#include <array>
#include <string>
#include <vector>

namespace talvo::screens {

// The frames the procedure sends to the actuator's card.
class ActuatorLine {
public:
    virtual ~ActuatorLine() = default;
    // True when the card answered the write.
    virtual bool write(const std::string& group, const std::string& item, const std::string& data) = 0;
    virtual std::string read(const std::string& group, const std::string& item) = 0;
};

enum class Direction { Close = 0, Open = 1 };

// What the card is owed to come to rest, as plain data that can outlive the
// screen: the coarse moves whose run went out, a setting mode told to the card
// and not ended since, a test mode asked off and not answered.
struct ActuatorStop {
    std::string adjGroup = "03";
    std::string testGroup = "03";
    std::array<bool, 2> coarse{};
    bool endMode = false;
    bool testOff = false;
    bool any() const { return coarse[0] || coarse[1] || endMode || testOff; }
};

// Sends what is owed, the motor's stops before the end of the mode: each part
// is given up once the card has answered it. True when nothing is left.
bool SendStop(ActuatorStop& stop, ActuatorLine& line);

class ActuatorSetting {
public:
    enum Mode { kNone = 0, kClosePosition = 1, kOpenPosition = 2 };

    // The entry: normal state, channel 1 for both the setting and the test mode.
    void reset();

    // --- what the user asks for ---
    void chooseChannel(int c);      // 0 or 1: "Ch1" / "Ch2" of the setting
    void chooseTestChannel(int c);  // 0 or 1: "Ch.1" / "Ch.2" of the test mode
    void chooseFineLevel(int i);    // 0..2: "L1", "L2", "L3"
    void startSetting(Mode m);      // "Set Close Position" / "Set Open Position"
    void endSetting();              // the end button
    void finePressed(Direction d);
    void fineReleased(Direction d);
    void coarsePressed(Direction d);
    void coarseReleased(Direction d);
    void switchTestMode(bool on);
    // SET: `text` is the position as its check formatted it when SET was pressed.
    void sendTestPosition(const std::string& text);

    // --- the tick ---
    // True while the tick runs the normal dispatcher; false while a setting mode
    // is being started, runs or is being ended, and every tick runs adjust().
    bool idle() const { return settingIdle_; }
    // What a tick's raw position read came to: none was made (the tick ended
    // the setting, or a stop in it was not answered, which is told before
    // anything else is asked of the card), the card gave none (no answer or a
    // refusal), or `raw` holds the value read.
    enum class RawRead { None, Failed, Read };
    // One tick of the setting procedure. An end or stop the card did not
    // answer is sent again at the next tick.
    RawRead adjust(ActuatorLine& line, std::string& raw);
    // The test-mode step of the normal dispatcher; false when nothing was due.
    // A test mode OFF the card did not answer stays asked for.
    bool serveTestRequests(ActuatorLine& line);
    // When the screen goes away: a test mode ON and a test position asked for
    // go out now (OFF is part of the stop, see takeStop).
    void sendTestRequests(ActuatorLine& line);
    // A test mode ON or a test position asked for and not sent yet.
    bool testSendAsked() const { return testModeRequest_ == 1 || testPosRequest_; }
    // The commands the card did not answer since the last call, as the screen
    // captions them ("Coarse Open", "Set Close Position"), taken out. Stops are
    // not among them: they stay owed (stopUnanswered).
    std::vector<std::string> takeUnanswered();

    // Whether the card may have a coarse move running, be in a setting mode or
    // be owed a test mode OFF.
    bool owesStop() const;
    // Whether the last tick sent a stop (a coarse move's, the end of a setting
    // mode, test mode OFF) that the card did not answer; the next tick sends it again.
    bool stopUnanswered() const { return stopUnanswered_ && owesStop(); }
    // What the card is owed, taken out: the procedure is back in the normal
    // state and the caller sends it (SendStop).
    ActuatorStop takeStop();

    Mode settingMode() const { return mode_; }
    const std::string& adjustGroup() const { return adjGroup_; }
    const std::string& testGroup() const { return testGroup_; }
    // The channel (0 or 1) whose end position is being set.
    int channel() const { return adjGroup_ == "04" ? 1 : 0; }
    bool coarseRunning(Direction d) const { return coarse_[idx(d)] == kRunning; }

    // Whether a raw position lies in the region the setting mode expects: at or
    // below 4000 when closing, at or above 6000 when opening ("" counts as 0).
    static bool RawInRegion(Mode m, const std::string& raw);

private:
    enum Coarse { kIdle = 0, kPressed = 1, kRunning = 2 };
    enum Fine { kFineIdle = 0, kHeld = 1, kReleased = 2 };
    static std::size_t idx(Direction d) { return static_cast<std::size_t>(d); }
    static const char* directionItem(std::size_t d) { return d == 0 ? "10" : "11"; }
    // False when a running move's stop was not answered (it stays running).
    bool stopCoarse(ActuatorLine& line);

    bool settingIdle_ = true;
    Mode mode_ = kNone;
    int modeRequest_ = 0;       // 1 end, 2 start close, 3 start open
    int fineLevelRequest_ = 0;  // 1..3
    std::array<int, 2> fine_{};
    std::array<int, 2> coarse_{};
    std::array<bool, 2> coarseReleased_{};
    // The card has been told "09" := "01"/"02" and not "00" since.
    bool cardInSetting_ = false;
    std::string adjGroup_ = "03";
    std::string testGroup_ = "03";
    int testModeRequest_ = 0;  // 1 on, 2 off
    bool testPosRequest_ = false;
    std::string testPosition_;
    bool stopUnanswered_ = false;
    std::vector<std::string> unanswered_;
    // Sends a command that is not a stop; one the card does not answer is noted.
    void command(ActuatorLine& line, const std::string& group, const char* item, const std::string& data,
                 std::string caption);
};

// The test position as it is shown and sent: the value rounded to one decimal,
// a plain decimal with a leading digit and at most one decimal ("0", "5",
// "0.5", "100.5", "-0.5"), never "." or "5.".
std::string FormatTestPosition(double value);

}  // namespace talvo::screens
