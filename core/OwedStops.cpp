#include "core/OwedStops.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

#include "core/MainView.h"
#include "platform/Services.h"

namespace talvo {

namespace {

struct Owed {
    int slot;
    std::string model;
    std::function<bool()> send;
    bool awaitsCardList = false;
    std::int64_t lastTry = 0;
    bool tried = false;
};

struct OwedState {
    std::vector<Owed> owed;
    std::set<int> unansweredOnScreen;  // slots whose screen sends the stop again itself
    bool sending = false;
    std::string shown;
};

OwedState& state() {
    static OwedState s;
    return s;
}

std::int64_t now() {
    platform::Clock* c = platform::services().clock;
    return c ? c->nowMs() : 0;
}

void tell(const std::string& text) {
    if (auto* m = platform::services().messages) m->show(text, "", platform::MsgIcon::Exclamation);
}

std::string notStopped(int slot) {
    return "The actuator on slot " + std::to_string(slot) + " could not be stopped: its card did not answer.";
}

void showOwed() {
    OwedState& s = state();
    const std::string text = OwedStopsText();
    if (text == s.shown) return;
    s.shown = text;
    mainView().setStopsOwed(text);
}

bool sendAll(bool whenDue) {
    OwedState& s = state();
    if (s.sending || s.owed.empty()) return s.owed.empty();
    platform::SerialPort* port = platform::services().serial;
    // Nothing can reach the card now: it goes out once the port is open again.
    if (!port || !port->isOpen()) return false;
    s.sending = true;
    // Taken out while they are sent: a message box shown meanwhile may let
    // another stop be owed, which joins them afterwards.
    std::vector<Owed> pending;
    pending.swap(s.owed);
    std::vector<Owed> left;
    for (Owed& o : pending) {
        const bool due = !o.tried || !whenDue || now() - o.lastTry >= kOwedStopRetryMs;
        if (o.awaitsCardList || !due) {
            left.push_back(std::move(o));
            continue;
        }
        o.tried = true;
        o.lastTry = now();
        if (o.send()) continue;
        left.push_back(std::move(o));
    }
    left.insert(left.end(), std::make_move_iterator(s.owed.begin()), std::make_move_iterator(s.owed.end()));
    s.owed.swap(left);
    s.sending = false;
    showOwed();
    return s.owed.empty();
}

}  // namespace

void OweStop(int slot, const std::string& model, std::function<bool()> send) {
    OwedState& s = state();
    s.unansweredOnScreen.erase(slot);
    // A stop already owed to the slot is not told twice.
    const bool toldBefore = StopOwed(slot);
    // Its first try has just failed: the next waits its time.
    s.owed.push_back({slot, model, std::move(send), false, now(), true});
    showOwed();
    if (!toldBefore) tell(notStopped(slot) + " The stop is sent again before anything else.");
}

void StopUnanswered(int slot) {
    OwedState& s = state();
    if (!s.unansweredOnScreen.insert(slot).second) return;
    showOwed();
    tell(notStopped(slot) + " The stop is sent again until the card answers it.");
}

void StopAnswered(int slot) {
    if (state().unansweredOnScreen.erase(slot) > 0) showOwed();
}

bool StopsOwed() { return !state().owed.empty() || !state().unansweredOnScreen.empty(); }

bool StopOwed(int slot) {
    const OwedState& s = state();
    return s.unansweredOnScreen.count(slot) > 0 ||
           std::any_of(s.owed.begin(), s.owed.end(), [slot](const Owed& o) { return o.slot == slot; });
}

std::string OwedStopsText() {
    const OwedState& s = state();
    std::set<int> slots = s.unansweredOnScreen;
    for (const Owed& o : s.owed) slots.insert(o.slot);
    if (slots.empty()) return {};
    std::string list;
    for (int slot : slots) list += (list.empty() ? "" : ", ") + std::to_string(slot);
    return (slots.size() == 1 ? "Stop owed: slot " : "Stops owed: slots ") + list;
}

bool SendOwedStops() { return sendAll(true); }

bool SendOwedStopsNow() { return sendAll(false); }

void OwedStopsAwaitCardList() {
    for (Owed& o : state().owed) o.awaitsCardList = true;
    // The screen that sent its stop itself is gone with the link; what it
    // still owed went to the registry before the link closed.
    state().unansweredOnScreen.clear();
    showOwed();
}

void OwedStopCardListed(int slot, const std::string& model) {
    OwedState& s = state();
    std::vector<Owed> kept;
    std::vector<int> dropped;
    for (Owed& o : s.owed) {
        if (o.slot != slot || !o.awaitsCardList) {
            kept.push_back(std::move(o));
        } else if (o.model == model) {
            o.awaitsCardList = false;
            o.tried = false;  // goes out at the next turn
            kept.push_back(std::move(o));
        } else {
            dropped.push_back(o.slot);
        }
    }
    s.owed.swap(kept);
    showOwed();
    for (int n : std::set<int>(dropped.begin(), dropped.end()))
        tell("The actuator formerly on slot " + std::to_string(n) +
             " was not stopped by the program: the slot now holds " +
             (model == "NONE" || model.empty() ? std::string("no card") : "another card (" + model + ")") + ".");
}

void ForgetOwedStops() {
    OwedState& s = state();
    s.owed.clear();
    s.unansweredOnScreen.clear();
    showOwed();
}

}  // namespace talvo
