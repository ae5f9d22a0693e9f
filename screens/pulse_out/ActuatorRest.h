#pragma once
// The one way the actuator card of a screen comes to rest. The screen moves a
// motor, so whatever takes it away comes here first: its leaving (another slot
// or the overview picked), its hiding, its opener (opened again, for this card
// or another actuator), and the link closing or the program ending (it runs
// before the link closes, see SetBeforeLinkCloses).
//
// Coming to rest: a test mode ON or position the user asked for goes out, then
// every stop the card is owed (a coarse move's, the end of a setting mode, a
// test mode OFF; ActuatorSetting::takeStop) to the actuator's own card,
// selected first, each with the exchange's full retries. A stop the card does
// not answer stays owed in the owed-stop registry (core/OwedStops): the user is
// told at once, the main window shows it owed, and it goes out again first at
// the turns of the line until the card answers it.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "screens/pulse_out/ActuatorSetting.h"

namespace talvo::screens {

// The actuator's frames through the station protocol, each with the full retries.
class StationLine : public ActuatorLine {
public:
    explicit StationLine(int retries = 3) : retries_(retries) {}
    bool write(const std::string& group, const std::string& item, const std::string& data) override;
    std::string read(const std::string& group, const std::string& item) override;

private:
    int retries_;
};

// Tells the user that the actuator on `slot` did not answer these commands (as
// the screen captions them); nothing when there are none.
void TellUnanswered(int slot, const std::vector<std::string>& commands);

class ActuatorRest {
public:
    // `setting`: the screen's end-position setting and test mode. `shownAtRest`:
    // the screen shows its normal state once the card has been brought to rest.
    ActuatorRest(ActuatorSetting& setting, std::function<void()> shownAtRest);
    ~ActuatorRest();
    ActuatorRest(const ActuatorRest&) = delete;
    ActuatorRest& operator=(const ActuatorRest&) = delete;

    // The screen's entry: the card looked after from now on.
    void enter(int slot) { slot_ = slot; }
    int slot() const { return slot_; }
    // The card may be owed a stop, or a test request the user asked for is not sent yet.
    bool owed() const;
    // Brings the card to rest now; false when the line is busy (nothing was done).
    bool bringToRest();
    // Now, or as soon as the line is free (the screen hidden while an exchange waits).
    void bringToRestSoon();

private:
    ActuatorSetting& setting_;
    std::function<void()> shownAtRest_;
    int slot_ = 0;
    std::string key_;                      // its routine before the link closes, and its wait for the line
    std::shared_ptr<ActuatorRest*> self_;  // what that wait finds when its turn comes (nothing once gone)
};

}  // namespace talvo::screens
