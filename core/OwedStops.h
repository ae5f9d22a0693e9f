#pragma once
// Stops the program owes a card whose motor may still be moving (a coarse move
// that runs, a setting or test mode left on). Such a stop is never taken as
// done until the card has answered it: one that cannot be delivered stays owed,
// the user is told once, and it goes out again at the start of the next turn of
// the line, before any other card is talked to.
#include <functional>
#include <string>

namespace talvo {

// Registers a stop for the card in `slot`. `send` selects that card itself and
// sends what is owed; it returns true once the card has answered all of it (it
// may give up part of what it owes as the card answers it). `failure` is what
// the user is told when it cannot be delivered.
void OweStop(int slot, const std::string& failure, std::function<bool()> send);

bool StopsOwed();
bool StopOwed(int slot);

// Sends every owed stop now, oldest first, when the port is open; the caller
// has the line. Each one that is delivered is done with; for each that is not
// the user is told (once). True when none is left.
bool SendOwedStops();

// Forgets every owed stop (a fresh start of the program state).
void ForgetOwedStops();

}  // namespace talvo
