#pragma once
// Whose turn the serial line is. One routine talks to the station at a time: an
// exchange, or a routine that runs several of them (a card screen's opener, a
// transfer or tick, the card-list upload, a monitoring pass, the connect
// handshake) holds the line until it ends. Exchanges yield to the event loop, so
// the user can act while a routine holds the line; what the user asks for then is
// kept and runs as soon as the line is free, in the order asked, instead of being
// refused half-way by the exchange.
//
// Screens and dialogs that start traffic from a handler call RunWhenLineFree;
// routines that run several exchanges hold a LineHold for their whole length.
// Timer-driven work (a card screen's tick) asks LineFreeForRoutine and waits for
// its next tick when it says no.
#include <functional>
#include <string>

namespace talvo {

// Holds the line for the lifetime of the object. Code called by the holder keeps
// talking to the station; a handler that runs on top of it (from an event loop
// the holder's wait runs) finds the line busy.
class LineHold {
public:
    LineHold();
    ~LineHold();
    LineHold(const LineHold&) = delete;
    LineHold& operator=(const LineHold&) = delete;

private:
    int level_;
};

// True when no exchange waits and no routine below the current event loop holds
// the line (holds taken by the code that called us do not count).
bool LineFree();
// For timer-driven routines: the line is free and no user action waits for it.
bool LineFreeForRoutine();

// Runs the action now when the line is free; otherwise keeps it and runs it from
// the event loop as soon as the line is free. Actions run one at a time in the
// order they were asked for; an action asked for with the key of one that has
// not started yet replaces it (a newer card-list pick replaces an older one).
void RunWhenLineFree(const std::string& key, std::function<void()> action);
// The same for a command whose state may change while it waits: when it runs
// later, it runs only if `stillWanted` says so then (its control is still enabled,
// its window still there). Run at once, it is not asked.
void RunWhenLineFree(const std::string& key, std::function<void()> action, std::function<bool()> stillWanted);

// Whether an action waits for its turn.
bool ActionsWaiting();
bool ActionWaiting(const std::string& key);
// Forgets the waiting actions (the program ends, or a test starts afresh).
void ClearWaitingActions();

}  // namespace talvo
