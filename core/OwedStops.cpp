#include "core/OwedStops.h"

#include <vector>

#include "platform/Services.h"

namespace talvo {

namespace {

struct Owed {
    int slot;
    std::string failure;
    std::function<bool()> send;
    bool told = false;
};

struct OwedState {
    std::vector<Owed> owed;
    bool sending = false;
};

OwedState& state() {
    static OwedState s;
    return s;
}

}  // namespace

void OweStop(int slot, const std::string& failure, std::function<bool()> send) {
    state().owed.push_back({slot, failure, std::move(send)});
}

bool StopsOwed() { return !state().owed.empty(); }

bool StopOwed(int slot) {
    for (const Owed& o : state().owed)
        if (o.slot == slot) return true;
    return false;
}

bool SendOwedStops() {
    OwedState& s = state();
    if (s.sending || s.owed.empty()) return s.owed.empty();
    const auto tell = [](Owed& o) {
        if (o.told) return;
        o.told = true;
        if (auto* m = platform::services().messages) m->show(o.failure, "", platform::MsgIcon::Exclamation);
    };
    platform::SerialPort* port = platform::services().serial;
    if (!port || !port->isOpen()) {
        // Nothing can reach the card now: it goes out once the port is open again.
        for (Owed& o : s.owed) tell(o);
        return false;
    }
    s.sending = true;
    // Taken out while they are sent: a message box shown meanwhile may let
    // another stop be owed, which joins them afterwards.
    std::vector<Owed> pending;
    pending.swap(s.owed);
    std::vector<Owed> left;
    for (Owed& o : pending) {
        if (o.send()) continue;
        tell(o);
        left.push_back(std::move(o));
    }
    left.insert(left.end(), std::make_move_iterator(s.owed.begin()), std::make_move_iterator(s.owed.end()));
    s.owed.swap(left);
    s.sending = false;
    return s.owed.empty();
}

void ForgetOwedStops() { state().owed.clear(); }

}  // namespace talvo
