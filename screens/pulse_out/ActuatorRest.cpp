#include "screens/pulse_out/ActuatorRest.h"

#include <cstdint>
#include <utility>

#include "core/Connection.h"
#include "core/Globals.h"
#include "core/LineTurn.h"
#include "core/OwedStops.h"
#include "core/Protocol.h"
#include "platform/Services.h"

namespace talvo::screens {

bool StationLine::write(const std::string& group, const std::string& item, const std::string& data) {
    return !WriteItem(retries_, group, item, data).empty();
}

std::string StationLine::read(const std::string& group, const std::string& item) {
    return ReadItem(retries_, group, item);
}

void TellUnanswered(int slot, const std::vector<std::string>& commands) {
    if (commands.empty()) return;
    std::string list;
    for (const std::string& c : commands) list += (list.empty() ? "" : ", ") + c;
    // A command to a motor that may not have gone out is never passed over in silence.
    if (auto* m = platform::services().messages)
        m->show("The actuator on slot " + std::to_string(slot) + " did not answer: " + list + " may not have reached it.",
                "", platform::MsgIcon::Exclamation);
}

ActuatorRest::ActuatorRest(ActuatorSetting& setting, std::function<void()> shownAtRest)
    : setting_(setting),
      shownAtRest_(std::move(shownAtRest)),
      key_("ActuatorRest@" + std::to_string(reinterpret_cast<std::uintptr_t>(this))),
      self_(std::make_shared<ActuatorRest*>(this)) {
    // The link may go down or the program end while the motor runs.
    SetBeforeLinkCloses(key_, [this] { return bringToRest(); });
}

ActuatorRest::~ActuatorRest() { SetBeforeLinkCloses(key_, {}); }

bool ActuatorRest::owed() const { return setting_.owesStop() || setting_.testSendAsked(); }

bool ActuatorRest::bringToRest() {
    if (!owed()) return true;
    if (!LineFree()) return false;
    const int slot = slot_;
    LineHold hold(slot);
    StationLine line;
    const bool selected = SelectCard(slot);
    // What the user asked of the test mode goes out first, as the tick would
    // have sent it (after a failed select nothing goes out, and it is told).
    if (setting_.testSendAsked()) setting_.sendTestRequests(line);
    std::vector<std::string> unanswered = setting_.takeUnanswered();
    auto stop = std::make_shared<ActuatorStop>(setting_.takeStop());
    if (shownAtRest_) shownAtRest_();
    if (stop->any() && !(selected && SendStop(*stop, line))) {
        const CardRecord* rec = G().CardRecords.get(slot);
        // Later tries take one attempt a frame, so that a silent card never stalls the line.
        OweStop(slot, rec ? rec->CardType : std::string(), [slot, stop] {
            LineHold h(slot);
            StationLine once(0);
            return SelectCard(slot, 0) && SendStop(*stop, once);
        });
    } else {
        StopAnswered(slot);
    }
    TellUnanswered(slot, unanswered);
    return true;
}

void ActuatorRest::bringToRestSoon() {
    if (bringToRest()) return;
    std::weak_ptr<ActuatorRest*> self = self_;
    RunWhenLineFree(key_, [self] {
        if (const auto rest = self.lock()) (*rest)->bringToRest();
    });
}

}  // namespace talvo::screens
