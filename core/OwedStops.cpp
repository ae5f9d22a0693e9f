#include "core/OwedStops.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

#include "core/CardList.h"
#include "core/Globals.h"
#include "core/LineTurn.h"
#include "core/MainView.h"
#include "core/Protocol.h"
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

void tellDropped(int slot, const std::string& model) {
    tell("The actuator formerly on slot " + std::to_string(slot) +
         " was not stopped by the program: the slot now holds " +
         (model == "NONE" || model.empty() ? std::string("no card") : "another card (" + model + ")") + ".");
}

void showOwed() {
    OwedState& s = state();
    const std::string text = OwedStopsText();
    if (text == s.shown) return;
    s.shown = text;
    mainView().setStopsOwed(text);
}

bool portOpen() {
    const platform::SerialPort* port = platform::services().serial;
    return port && port->isOpen();
}

// Whether a try can be made now: a stop waiting to confirm its card needs the
// link up, since it reads the card list first.
bool canTry(const Owed& o) { return !o.awaitsCardList || G().Connected; }

bool due(const Owed& o) { return !o.tried || now() - o.lastTry >= kOwedStopRetryMs; }

enum class Tried { Answered, Owed, Dropped };

// One try: after the link went down the slot's model is read first, as the
// card list reads it; the stop goes out to the same model only.
Tried tryOnce(Owed& o) {
    if (o.awaitsCardList) {
        std::string model;
        {
            LineHold list(0);
            model = ReadSlotModel(o.slot, 0);
        }
        // Unanswered or refused: nothing is known of the slot yet.
        if (model.empty() || IsRefusal(model)) return Tried::Owed;
        if (model != o.model) {
            tellDropped(o.slot, model);
            return Tried::Dropped;
        }
        o.awaitsCardList = false;
    }
    return o.send() ? Tried::Answered : Tried::Owed;
}

Tried tryStop(Owed& o) {
    const Tried t = tryOnce(o);
    // The next try waits its time from the end of this one, so a silent card
    // holds the line a few seconds at a time, with the rest of the time free.
    o.tried = true;
    o.lastTry = now();
    return t;
}

// `one`: the turn's single try, of the stop most overdue; else every stop.
bool sendStops(bool one) {
    OwedState& s = state();
    if (s.sending || s.owed.empty()) return s.owed.empty();
    // Nothing can reach the card now: it goes out once the port is open again.
    if (!portOpen()) return false;
    s.sending = true;
    // Taken out while they are sent: a message box shown meanwhile may let
    // another stop be owed, which joins them afterwards.
    std::vector<Owed> pending;
    pending.swap(s.owed);
    std::vector<bool> chosen(pending.size(), false);
    if (one) {
        std::size_t best = pending.size();
        for (std::size_t i = 0; i < pending.size(); ++i) {
            const Owed& o = pending[i];
            if (!canTry(o) || !due(o)) continue;
            // One never tried goes first, then the one waiting longest.
            if (best == pending.size() || (pending[best].tried && (!o.tried || o.lastTry < pending[best].lastTry)))
                best = i;
        }
        if (best < pending.size()) chosen[best] = true;
    } else {
        for (std::size_t i = 0; i < pending.size(); ++i) chosen[i] = canTry(pending[i]);
    }
    std::vector<Owed> left;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (chosen[i] && tryStop(pending[i]) != Tried::Owed) continue;
        left.push_back(std::move(pending[i]));
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

bool SendOwedStops() { return sendStops(true); }

bool SendOwedStopsNow() { return sendStops(false); }

void ServeOwedStops() {
    const OwedState& s = state();
    if (s.owed.empty() || s.sending || !LineFreeForRoutine() || platform::topModal() != 0) return;
    if (std::none_of(s.owed.begin(), s.owed.end(), [](const Owed& o) { return canTry(o) && due(o); })) return;
    // A turn's start tries the stop that is due.
    LineHold turn;
}

void OwedStopsAwaitCardList() {
    for (Owed& o : state().owed) {
        o.awaitsCardList = true;
        o.tried = false;  // tried as soon as the link is up
    }
    // The screen that sent its stop itself is gone with the link; what it
    // still owed went to the registry before the link closed.
    state().unansweredOnScreen.clear();
    showOwed();
}

void OwedStopCardListed(int slot, const std::string& model) {
    OwedState& s = state();
    std::vector<Owed> kept;
    bool dropped = false;
    for (Owed& o : s.owed) {
        if (o.slot != slot) {
            kept.push_back(std::move(o));
        } else if (o.model == model) {
            if (o.awaitsCardList) {
                o.awaitsCardList = false;
                o.tried = false;  // goes out at the next try
            }
            kept.push_back(std::move(o));
        } else {
            dropped = true;
        }
    }
    s.owed.swap(kept);
    showOwed();
    if (dropped) tellDropped(slot, model);
}

void ForgetOwedStops() {
    OwedState& s = state();
    s.owed.clear();
    s.unansweredOnScreen.clear();
    showOwed();
}

}  // namespace talvo
