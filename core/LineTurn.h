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
//
// A hold may name the card its routine is for (0 the communication card, 1 to
// 16 a slot), and keeps that card for its whole life. The station sends every
// frame to the card selected last, so while such a hold is the innermost that
// names a card, the line selects that card before a frame goes out unless it
// knows the station has it selected; a routine nested in it for another card
// takes a hold of its own, and when that ends the outer card is selected again
// before the outer routine's next frame. Once a select within the hold has
// failed, nothing more of the routine is sent: its reads and writes fail at
// once, and the routine takes its failure path.
class LineHold {
public:
    LineHold();
    explicit LineHold(int card);
    // The hold of one exchange: it does not count as a turn of its own (see LineTurnNumber).
    struct OneExchange {};
    explicit LineHold(OneExchange);
    ~LineHold();
    LineHold(const LineHold&) = delete;
    LineHold& operator=(const LineHold&) = delete;

private:
    void take(int card, bool countsAsTurn);
    long id_;
};

// The card the innermost hold naming one is for; kNoCard when none names one.
inline constexpr int kNoCard = -1;
int HeldCard();
// Whether a select failed within a hold the current routine runs in.
bool HeldCardFailed();
// A select within the routine failed: the innermost hold naming a card (else
// the innermost) sends nothing more. Outside every hold it does nothing.
void FailHeldCard();

// The link is to close while a routine that never ends by itself (monitoring)
// holds the line: every routine holding it now sends nothing more, the
// exchange waiting now ends, and they unwind without telling a loss.
void CancelHeldRoutines();
// Whether the routine running now was cancelled so.
bool HeldRoutineCancelled();

// Counts the turns of the line: a new number whenever a routine's outermost hold
// starts (exchanges made outside every routine share the number before them).
long LineTurnNumber();

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
