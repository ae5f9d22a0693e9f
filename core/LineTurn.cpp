#include "core/LineTurn.h"

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

#include "core/OwedStops.h"
#include "core/Protocol.h"
#include "platform/Services.h"

namespace talvo {

namespace {

struct Waiting {
    std::string key;
    std::function<void()> action;
    int modal = 0;  // the modal window on top when it was asked for (0: the main window)
};

// An action waits while a modal window opened after it was asked for is still
// open above its own: a pick made before a dialog opened does not run inside it.
// One whose own window has closed meanwhile runs, and decides itself whether it
// is still wanted.
bool runnable(const Waiting& w) { return w.modal == platform::topModal() || !platform::modalOpen(w.modal); }

struct Hold {
    long id;
    int level;  // the event level the hold was taken at
    int card = kNoCard;
    bool failed = false;
    bool cancelled = false;
};

struct TurnState {
    std::vector<Hold> holds;
    long nextId = 1;
    long turns = 0;
    std::deque<Waiting> queue;
    bool drainPosted = false;
    bool listening = false;
};

void postDrain();

TurnState& state() {
    static TurnState s;
    if (!s.listening) {
        // A closed modal window may free actions that waited for it.
        s.listening = true;
        platform::setModalClosedListener([] { postDrain(); });
    }
    return s;
}

std::deque<Waiting>::iterator firstRunnable() {
    auto& q = state().queue;
    return std::find_if(q.begin(), q.end(), runnable);
}

void drain() {
    TurnState& s = state();
    s.drainPosted = false;
    // A routine took the line before this ran; its end posts the drain again.
    if (s.queue.empty() || !LineFree()) return;
    const auto it = firstRunnable();
    // All wait for modal windows above their own; the closing of one posts the drain again.
    if (it == s.queue.end()) return;
    Waiting next = std::move(*it);
    s.queue.erase(it);
    next.action();
    if (!s.queue.empty() && LineFree()) postDrain();
}

void postDrain() {
    TurnState& s = state();
    if (s.drainPosted || s.queue.empty()) return;
    if (auto* pump = platform::services().pump) {
        s.drainPosted = true;
        pump->postLater([] { drain(); });
    }
}

}  // namespace

LineHold::LineHold() { take(kNoCard, true); }

LineHold::LineHold(int card) { take(card, true); }

LineHold::LineHold(OneExchange) { take(kNoCard, false); }

void LineHold::take(int card, bool countsAsTurn) {
    TurnState& s = state();
    const bool turnStarts = s.holds.empty();
    if (turnStarts && countsAsTurn) ++s.turns;
    id_ = s.nextId++;
    s.holds.push_back({id_, platform::eventLevel(), card});
    // A stop still owed to a moving actuator goes out first, before this turn
    // talks to any other card.
    if (turnStarts && StopsOwed()) SendOwedStops();
}

LineHold::~LineHold() {
    TurnState& s = state();
    auto it = std::find_if(s.holds.begin(), s.holds.end(), [this](const Hold& h) { return h.id == id_; });
    if (it != s.holds.end()) s.holds.erase(it);
    if (s.holds.empty()) postDrain();
}

namespace {

// The hold that decides which card the frames are for: the innermost naming a
// card, else the innermost.
Hold* cardHold() {
    auto& holds = state().holds;
    for (auto it = holds.rbegin(); it != holds.rend(); ++it)
        if (it->card != kNoCard) return &*it;
    return holds.empty() ? nullptr : &holds.back();
}

}  // namespace

int HeldCard() {
    const Hold* h = cardHold();
    return h ? h->card : kNoCard;
}

bool HeldCardFailed() {
    // A routine run inside one whose select failed is part of it.
    const auto& holds = state().holds;
    return std::any_of(holds.begin(), holds.end(), [](const Hold& h) { return h.failed; });
}

void FailHeldCard() {
    if (Hold* h = cardHold()) h->failed = true;
}

void CancelHeldRoutines() {
    for (Hold& h : state().holds) h.failed = h.cancelled = true;
    // Disarming the time-out ends the waiting exchange at its next poll.
    IntervalTimerOff();
}

bool HeldRoutineCancelled() {
    const auto& holds = state().holds;
    return std::any_of(holds.begin(), holds.end(), [](const Hold& h) { return h.cancelled; });
}

long LineTurnNumber() { return state().turns; }

bool LineFree() {
    if (ExchangeWaiting()) return false;
    const int level = platform::eventLevel();
    for (const Hold& held : state().holds)
        if (held.level < level) return false;
    return true;
}

bool LineFreeForRoutine() { return LineFree() && state().queue.empty(); }

void RunWhenLineFree(const std::string& key, std::function<void()> action) {
    TurnState& s = state();
    if (LineFreeForRoutine()) {
        action();
        return;
    }
    auto same = std::find_if(s.queue.begin(), s.queue.end(), [&](const Waiting& w) { return w.key == key; });
    if (same != s.queue.end())
        *same = {key, std::move(action), platform::topModal()};
    else
        s.queue.push_back({key, std::move(action), platform::topModal()});
    if (LineFree()) postDrain();
}

void RunWhenLineFree(const std::string& key, std::function<void()> action, std::function<bool()> stillWanted) {
    if (LineFreeForRoutine()) return action();
    RunWhenLineFree(key, [action = std::move(action), stillWanted = std::move(stillWanted)] {
        if (stillWanted()) action();
    });
}

bool ActionsWaiting() { return !state().queue.empty(); }

bool ActionWaiting(const std::string& key) {
    const auto& q = state().queue;
    return std::any_of(q.begin(), q.end(), [&](const Waiting& w) { return w.key == key; });
}

void ClearWaitingActions() { state().queue.clear(); }

}  // namespace talvo
