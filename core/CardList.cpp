#include "core/CardList.h"

#include "core/Connection.h"
#include "core/Globals.h"
#include "core/Lamps.h"
#include "core/LineTurn.h"
#include "core/MainView.h"
#include "core/Overview.h"
#include "core/OwedStops.h"
#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "platform/Services.h"

namespace talvo {

namespace {

constexpr int kSlots = 16;
// A card that keeps answering "TMOUT" gets this many re-reads before its cell stays empty.
constexpr int kMaxTimeoutRereads = 10;
// Between passes that sent nothing (every slot empty) the loop rests this long.
constexpr int kIdlePassMs = 20;

void showUploadingIncomplete() {
    if (auto* m = platform::services().messages) m->show("Uploading incomplete", "Uploading", platform::MsgIcon::Stop);
}

bool startsWithAny(const std::string& t, std::initializer_list<const char*> prefixes) {
    for (const char* p : prefixes)
        if (StartsWith(t, p)) return true;
    return false;
}

std::string liveValue(const std::string& reply) { return RemoveDecimalPoint(TextAfterColon(reply)); }

// Colours lamps first..first+count-1 from a discrete word, least significant bit first.
void paintWord(int slot, int first, int count, const std::string& word) {
    const std::vector<std::uint32_t> colours = LampColorsFromWord(word, count);
    for (int k = 1; k <= static_cast<int>(colours.size()); ++k)
        SetOverviewPointColor(slot, first + k - 1, colours[static_cast<std::size_t>(k - 1)]);
}

void resetLamps(int slot, int first, int count) {
    for (int k = first; k < first + count; ++k) SetOverviewPointColor(slot, k, colors::SysMenu);
}

// Reads one discrete word; false on no answer. A "CNG" or "NEEDLESS" answer is
// not a word: the lamps keep the reset colour.
bool readWord(int slot, const std::string& group, const std::string& item, int first, int count,
              int part /* 0 whole, 1 first four characters, 2 last four */) {
    const std::string reply = ReadItem(3, group, item);
    if (reply.empty()) return false;
    if (IsRefusal(reply)) return true;
    std::string word = TextAfterColon(reply);
    if (part == 1) word = word.substr(0, 4);
    if (part == 2) word = word.size() > 4 ? word.substr(word.size() - 4) : word;
    paintWord(slot, first, count, word);
    return true;
}

void setValue(int slot, int ch, const std::string& text) {
    OverviewRow* r = Overview().row(slot);
    r->values[static_cast<std::size_t>(ch - 1)].caption = text;
    Overview().changed(slot);
}

// The discrete words of a lamp family; false when one did not answer.
bool readLamps(int n, const std::string& t) {
    const bool k = StartsWith(t, "K");
    if (startsWithAny(t, {"JH8", "JO8"})) {
        resetLamps(n, 1, 8);
        if (!readWord(n, "00", "27", 1, 8, 0)) return false;
    }
    if (startsWithAny(t, {"JO1", "JH1", "KR4", "KN4", "KC4", "KP4", "KM4"})) {
        resetLamps(n, 1, 16);
        if (!readWord(n, "00", k ? "10" : "27", 1, 16, 0)) return false;
    }
    if (startsWithAny(t, {"JO3", "JH3", "JO6", "JH6", "KR8", "KN8", "KC8", "KP8", "KM8", "IK16"})) {
        resetLamps(n, 1, 32);
        const bool ik = StartsWith(t, "IK16");
        if (ik) {
            if (!readWord(n, "00", "26", 1, 16, 1)) return false;
            if (!readWord(n, "00", "26", 17, 16, 2)) return false;
        } else {
            if (!readWord(n, k ? "00" : "01", k ? "10" : "06", 1, 16, 0)) return false;
            if (!readWord(n, k ? "00" : "01", k ? "11" : "07", 17, 16, 0)) return false;
        }
    }
    return true;
}

// Reads items first..first+count-1 into value cells 1..count; false at the first
// item that gets no answer (the card has stopped answering).
template <typename Show>
bool readValues(int n, const std::string& group, int firstItem, int count, Show show, int firstCell = 1) {
    for (int i = 0; i < count; ++i) {
        const std::string reply = ReadItem(3, group, std::to_string(firstItem + i));
        if (reply.empty()) return false;
        setValue(n, firstCell + i, show(reply));
    }
    return true;
}

// The value cells of a row; false when the card stopped answering.
bool readValueChain(int n, const std::string& t) {
    if (!SelfFilledRowFamily(t).empty()) {
        if (const OverviewRowHandler* h = FindOverviewRowHandler(t); h && h->setOverViewDataIO) h->setOverViewDataIO(n);
        return true;
    }
    if (startsWithAny(t, {"JO", "JH", "K", "IK16"})) return true;
    if (StartsWith(t, "GBH")) return readValues(n, "01", 10, 8, liveValue);
    if (StartsWith(t, "YK")) {
        for (int ch = 1; ch <= 4; ++ch) {
            const std::string item = std::to_string(9 + ch);
            std::string reply = ReadItem(3, "00", item);
            if (reply.empty()) return false;
            // A card that keeps answering "TMOUT" is answering: its cell stays empty.
            for (int again = 0; TextAfterColon(reply) == "TMOUT"; ++again) {
                if (again >= kMaxTimeoutRereads) {
                    reply.clear();
                    break;
                }
                reply = ReadItem(3, "00", item);
                if (reply.empty()) return false;
            }
            if (!reply.empty()) setValue(n, ch, RemoveDecimalPoint(TextAfterColon(reply)));
        }
        return true;
    }
    if (StartsWith(t, "EAJ2")) {
        int ch = 1;
        for (const char* item : {"11", "12", "14", "15"}) {
            const std::string reply = ReadItem(3, "00", item);
            if (reply.empty()) return false;
            setValue(n, ch, TextAfterColon(reply));
            ++ch;
        }
        return true;
    }
    if (StartsWith(t, "QFODH1")) return readValues(n, "00", 10, 8, TextAfterColon);
    if (StartsWith(t, "Q")) {
        return readValues(n, "00", 10, 8, [](const std::string& reply) {
            if (reply == "CNG") return reply;
            const std::string v = liveValue(reply);
            // A value without a comma is shown whole.
            return v.substr(0, v.find(','));
        });
    }
    if (!readValues(n, "00", 10, 4, liveValue)) return false;
    if ((t.size() >= 3 && (t[2] == '8' || t[2] == '1')) || startsWithAny(t, {"IY4A", "IY4B", "BWT8", "LQN8", "HQ2"}))
        return readValues(n, "00", 14, 4, liveValue, 5);
    return true;
}

// Whether a pass reads a slot: a card sits there, and its type is known (the list
// was read, and not lost before this slot).
bool monitored(int n) {
    const std::string& t = G().CardRecords.get(n)->CardType;
    if (t.empty() || G().CardTypeUnread[static_cast<std::size_t>(n - 1)]) return false;
    return !StartsWith(t, "UN") && !StartsWith(t, "NO");
}

// The card stopped answering during a pass: told once, then the link goes.
void reportLoss(const PassOptions& o) {
    // The user disconnected meanwhile, or the link is closing and ended the pass.
    if (!G().Connected || HeldRoutineCancelled()) return;
    if (!o.lossAlreadyShown) showUploadingIncomplete();
    DisconnectDevice();
}

}  // namespace

std::string ReadSlotModel(int n, int retries) {
    const std::string reply = ReadItem(retries, "00", std::to_string(n + 9));
    if (reply.empty() || IsRefusal(reply)) return reply;
    std::string code = TextAfterColon(reply);
    if (code == "UNKNOWN") return "NONE";
    if (StartsWith(code, "GBH")) {
        // The power monitor's full model comes from the card itself, selected
        // by its item "41" alone; the communication card is selected again after.
        std::string full;
        {
            LineHold card(n);
            if (SelectCard(n, retries, SelectFrames::ItemOnly)) full = ReadItem(retries, "00", "04");
        }
        // A card that does not give its full model keeps the slot list's code.
        if (!full.empty() && !IsRefusal(full) && !TextAfterColon(full).empty()) code = TextAfterColon(full);
        SelectCard("0", retries, SelectFrames::ItemOnly);
    }
    return code;
}

bool UploadCardList() {
    MainView& v = mainView();
    // The slot list is the communication card's: read from another card it would be wrong.
    LineHold hold(0);
    G().CardTypeUnread.fill(false);
    ReadItem(3, "99", "");
    if (!SelectCard("0")) {
        G().CardTypeUnread.fill(true);
        showUploadingIncomplete();
        return false;
    }
    v.showProgress(kSlots, "Uploading");
    for (int n = 1; n <= kSlots; ++n) {
        ClearOverviewRow(n);
        CardRecord* rec = G().CardRecords.get(n);
        const std::string code = ReadSlotModel(n, 3);
        if (code.empty()) {
            for (int k = n; k <= kSlots; ++k) G().CardTypeUnread[static_cast<std::size_t>(k - 1)] = true;
            v.closeProgress();
            showUploadingIncomplete();
            return false;
        }
        if (IsRefusal(code)) {
            // No model to take: the record keeps the code it had, its row head
            // shows it again, and nothing is read from a card not known there.
            G().CardTypeUnread[static_cast<std::size_t>(n - 1)] = true;
            if (!rec->CardType.empty()) SetCardIoKind(n, rec->CardType);
        } else {
            rec->CardType = code;
            OwedStopCardListed(n, code);
            SetCardIoKind(n, code);
            ShowChData(code, n);
        }
        v.setProgress(v.progress() + 1);
    }
    v.closeProgress();
    return true;
}

bool ReadAllCardsCycData(PassOptions o) {
    LineHold hold;
    // Monitoring holds the line pass after pass: a stop owed to an actuator
    // gets its try at the start of each, as it would at the start of a turn.
    if (o.stopWhenMonitoringEnds && StopsOwed()) SendOwedStops();
    for (int n = 1; n <= kSlots; ++n) {
        if (o.stopWhenMonitoringEnds && !G().CycReadOn) return false;
        if (!monitored(n)) continue;
        const std::string t = G().CardRecords.get(n)->CardType;
        LineHold card(n);
        // Values read from another card would pass for this one's.
        if (!SelectCard(n)) {
            reportLoss(o);
            return false;
        }
        WriteItem(3, "01", "01", "1");
        if (!readLamps(n, t)) {
            reportLoss(o);
            return false;
        }
        for (int ch = 1; ch <= 8; ++ch) setValue(n, ch, "");
        if (!readValueChain(n, t)) {
            reportLoss(o);
            return false;
        }
    }
    return true;
}

void RunCycRead() {
    auto& s = platform::services();
    LineHold hold;
    for (;;) {
        if (s.pump) s.pump->processEventsOnce();
        if (!G().CycReadOn) return;
        bool anyCard = false;
        for (int n = 1; n <= kSlots && !anyCard; ++n) anyCard = monitored(n);
        if (!ReadAllCardsCycData({.stopWhenMonitoringEnds = true})) return;
        // A pass that sent nothing would make this loop spin a core; rest while the window runs.
        if (!anyCard) PauseMs(kIdlePassMs);
    }
}

}  // namespace talvo
