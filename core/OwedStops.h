#pragma once
// Stops the program owes a card whose motor may still be moving (a coarse move
// that runs, a setting or test mode left on). Such a stop is never taken as
// done until the card has answered it. The user is told at once when a stop was
// not answered, and the main window shows it owed until it is.
//
// A stop its first try did not deliver is kept here, bound to the slot and the
// model of the card it is for. One owed stop at a time is tried at the start of
// a turn of the line or of a monitoring pass, before any other card is talked
// to, one attempt a frame and each kOwedStopRetryMs after its last try ended,
// so that a silent card never stalls the program; with the line idle, ServeOwedStops
// makes such a turn itself. Whenever the card list is read, a slot that now
// holds another card, or none, drops its stop and the user is told that the
// actuator formerly there was not stopped. After the link went down, a stop
// confirms its card itself once the link is up again: it reads the slot's
// model as the card list does, and goes out when it is the same.
#include <functional>
#include <string>

namespace talvo {

inline constexpr int kOwedStopRetryMs = 5000;
// How often the main window looks whether an owed stop waits for a turn of its own.
inline constexpr int kOwedStopIdleCheckMs = 1000;

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

// At the start of a turn of the line or of a monitoring pass, the caller
// holding the line: the one owed stop most overdue is tried, when one is due
// and the port is open. True when none is left in the registry.
bool SendOwedStops();
// Every owed stop, now, whatever the time since its last try (the link is
// about to close, or has just come up).
bool SendOwedStopsNow();
// With the line free and no window above the main one: a turn of its own for
// a stop that is due, so that none waits for the user to do something.
void ServeOwedStops();

// The link went down: every owed stop must confirm its card once it is up again.
void OwedStopsAwaitCardList();
// The card list read `model` in `slot`: a stop owed there goes on only for the
// same model.
void OwedStopCardListed(int slot, const std::string& model);

// Forgets every owed stop (a fresh start of the program state).
void ForgetOwedStops();

}  // namespace talvo
