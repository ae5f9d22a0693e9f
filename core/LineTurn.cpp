#include "core/LineTurn.h"

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

#include "core/Protocol.h"
#include "platform/Services.h"

namespace talvo {

namespace {

struct Waiting {
    std::string key;
    std::function<void()> action;
};

struct TurnState {
    std::vector<int> holds;  // the event level each hold was taken at
    std::deque<Waiting> queue;
    bool drainPosted = false;
};

TurnState& state() {
    static TurnState s;
    return s;
}

void postDrain();

void drain() {
    TurnState& s = state();
    s.drainPosted = false;
    // A routine took the line before this ran; its end posts the drain again.
    if (s.queue.empty() || !LineFree()) return;
    Waiting next = std::move(s.queue.front());
    s.queue.pop_front();
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

LineHold::LineHold() : level_(platform::eventLevel()) { state().holds.push_back(level_); }

LineHold::~LineHold() {
    TurnState& s = state();
    auto it = std::find(s.holds.rbegin(), s.holds.rend(), level_);
    if (it != s.holds.rend()) s.holds.erase(std::next(it).base());
    if (s.holds.empty()) postDrain();
}

bool LineFree() {
    if (ExchangeWaiting()) return false;
    const int level = platform::eventLevel();
    for (int held : state().holds)
        if (held < level) return false;
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
        same->action = std::move(action);
    else
        s.queue.push_back({key, std::move(action)});
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
