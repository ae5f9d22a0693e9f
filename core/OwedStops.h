#pragma once
// Stops the program owes a card whose motor may still be moving (a coarse move
// that runs, a setting or test mode left on). Such a stop is never taken as
// done until the card has answered it. The user is told at once when a stop was
// not answered, and the main window shows it owed until it is.
//
// A stop its first try did not deliver is kept here, bound to the slot and the
// model of the card it is for. It goes out at the start of a turn of the line,
// before any other card is talked to, one attempt a frame and at most every
// kOwedStopRetryMs, so that a silent card never stalls the program. After the
// link went down it waits until the card list shows the same model in its slot
// again; a slot that now holds another card, or none, drops it, and the user is
// told that the actuator formerly there was not stopped.
#include <functional>
#include <string>

namespace talvo {

inline constexpr int kOwedStopRetryMs = 5000;

// Registers a stop for the actuator `model` in `slot`: the user is told now
// (once), and it is shown owed. `send` selects that card itself and sends what
// is owed with one attempt a frame; it returns true once the card has answered
// all of it (it may give up part of what it owes as the card answers it).
void OweStop(int slot, const std::string& model, std::function<bool()> send);

// A stop the actuator's own screen sends again at each tick, the user staying
// on it: told once when the card did not answer, shown owed until it has.
void StopUnanswered(int slot);
void StopAnswered(int slot);

bool StopsOwed();
bool StopOwed(int slot);
// What the main window shows: "" or, say, "Stop owed: slot 15".
std::string OwedStopsText();

// The owed stops that are due, oldest first, when the port is open; the caller
// has the line. True when none is left in the registry.
bool SendOwedStops();
// Every owed stop whose card is known, now, whatever the time since its last try.
bool SendOwedStopsNow();

// The link went down: every owed stop waits for the card list to show its card.
void OwedStopsAwaitCardList();
// The card list read `model` in `slot`.
void OwedStopCardListed(int slot, const std::string& model);

// Forgets every owed stop (a fresh start of the program state).
void ForgetOwedStops();

}  // namespace talvo
