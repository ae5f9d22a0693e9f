#include "core/Protocol.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/LineTurn.h"
#include "core/TextHelpers.h"
#include "platform/Services.h"

namespace talvo {

namespace {

constexpr char CR = '\r';
constexpr std::size_t kEchoesKept = 64;

struct ExchangeState {
    bool timerEnabled = false;
    bool expired = false;
    std::int64_t deadline = 0;
    bool waiting = false;
    // A frame went out whose reply did not come (or more came than its reply):
    // what it still sends must not pass for the next frame's reply.
    bool lineSuspect = false;
    // The group of the last group frame, and the item text of the item frame
    // sent since it ("" for none): a data frame may be answered with that
    // item's tagged value.
    std::string groupSent;
    std::string itemSent;
    // The data frames sent in this turn of the line (without their CR): the
    // exact echo of one of them is a late reply, never the next one's.
    std::vector<std::string> dataSent;
    long dataTurn = -1;
    // The card the station has selected, as far as the line knows, and the
    // port session it was learned in (it holds only within that session).
    int selected = kCardUnknown;
    long selectedSession = -1;
    // Attempts running now: their own group frames are not checked again.
    int attempts = 0;
};

ExchangeState& state() {
    static ExchangeState s;
    return s;
}

platform::SerialPort* port() { return platform::services().serial; }

std::int64_t now() {
    platform::Clock* c = platform::services().clock;
    return c ? c->nowMs() : 0;
}

// Frames are Latin-1 text; a control character inside a group, item or data
// text would split the frame or forge another one, so such a text is refused.
bool isFrameText(const std::string& s) { return !HoldsControl(s); }

// Lets the time pass until `until` at most, with the window live; returns early
// once the port has input or events ran, so callers loop on their condition.
void waitUntil(std::int64_t until, platform::SerialPort* p) {
    platform::Services& sv = platform::services();
    const std::int64_t left = until - now();
    if (sv.clock)
        sv.clock->waitMs(left > 0 ? static_cast<int>(left) : 0, sv.pump, p);
    else if (sv.pump)
        sv.pump->processEventsOnce();
}

// Lets the line fall quiet before a frame goes out: what arrives is a late or
// unasked-for reply and is dropped, until no byte came for kQuietGuardMs, or
// kQuietBoundMs passed in all (a line that never falls quiet is then left to
// the reply rules). False when the port fails.
bool dropUntilQuiet(platform::SerialPort* p) {
    if (!platform::services().clock) {
        // No time to measure quiet by: drop what is there.
        if (p->bytesWaiting() < 0) return false;
        p->readAll();
        return true;
    }
    const std::int64_t start = now();
    std::int64_t lastInput = start;
    for (;;) {
        const int n = p->bytesWaiting();
        if (n < 0) return false;
        const std::int64_t t = now();
        if (n > 0) {
            p->readAll();
            lastInput = t;
        } else if (t - lastInput >= kQuietGuardMs) {
            return true;
        }
        if (t - start >= kQuietBoundMs) return true;
        waitUntil(std::min(lastInput + kQuietGuardMs, start + kQuietBoundMs), p);
    }
}

bool settleLine(platform::SerialPort* p) {
    // Quiet is told by characters, not lines: those of an unfinished line count.
    p->setWholeLines(false);
    const bool ok = dropUntilQuiet(p);
    p->setWholeLines(true);
    return ok;
}

// The refusals the station may give any item or data frame.
bool isRawRefusal(const std::string& line) { return line == "CNG" || line == "CNU" || line == "DTMOUT"; }

// The item number a value line is tagged with ("D04:BW4" -> "04"), or "" when
// it carries no tag.
std::string tagOf(const std::string& line) {
    const std::size_t colon = line.find(':');
    if (line.empty() || line[0] != 'D' || colon == std::string::npos || !IsUnsignedText(line.substr(1, colon - 1))) return {};
    return line.substr(1, colon - 1);
}

bool sameNumber(const std::string& a, const std::string& b) {
    // "01" and "1" are the same item.
    return IsUnsignedText(a) && IsUnsignedText(b) && CompareDigitTexts(a, b) == 0;
}

bool isSelectWrite(const std::string& group, const std::string& item) {
    return group == "00" && (item == "01" || item == "41");
}

// Whether a reply line (blanks trimmed) can be the reply to `frame`. A late or
// extra reply to an earlier frame that plainly is not this frame's is passed
// over. "COK" answers only a group frame, and a value ("D...", not "DTMOUT")
// never does. To an item frame, a value tagged with another item number
// ("D04:..." to "I40") belongs to that other item; untagged values stay
// acceptable. A data frame takes its own echo, whole; then, what the echo is
// not, it tells by the whole line, never by how it begins: the exact echo of
// an earlier data frame of this turn is a late reply to that frame (taken here
// it would pass a lost write for a taken one), and a value tagged with another
// item than the one named just before belongs to that item. Any other value is
// the card's answer (a chunk read's characters with or without the echo before
// them, a card's own answer such as "D0"). The select is answered by its echo
// alone: the line learns from it which card the station has selected.
bool canAnswer(const std::string& frame, const std::string& line) {
    const bool value = !line.empty() && line[0] == 'D' && line != "DTMOUT";
    if (frame[0] == 'G') return !value;
    if (line == "COK") return false;
    if (frame[0] == 'D') {
        // An empty reply fails the attempt at once, as it does for any frame.
        if (line.empty() || isRawRefusal(line)) return true;
        // The line has lost its trailing blanks; so does the echo it is held to.
        if (line == TrimBlanks(frame.substr(0, frame.size() - 1))) return true;
        if (isSelectWrite(state().groupSent, state().itemSent)) return false;
        const auto& sent = state().dataSent;
        if (std::find(sent.begin(), sent.end(), line) != sent.end()) return false;
        const std::string tag = tagOf(line);
        return tag.empty() || sameNumber(tag, state().itemSent);
    }
    if (frame[0] != 'I' || !value) return true;
    const std::string item = frame.substr(1, frame.size() - 2);
    const std::string tag = tagOf(line);
    if (!IsUnsignedText(item) || tag.empty()) return true;
    return sameNumber(tag, item);
}

std::string valueOf(const std::string& reply) { return reply.size() > 1 ? reply.substr(1) : std::string(); }

// The data frame's reply as a write takes it: the value, or "" on any rejection.
std::string dataReply(const std::string& data) {
    const std::string r = TransactTrim("D" + data + CR);
    return IsRejection(r) ? std::string() : valueOf(r);
}

// The card number a select writes ("00" and "0" the communication card), or
// kCardUnknown for a text that names no card.
int cardOf(const std::string& cardNo) {
    if (!IsUnsignedText(cardNo) || cardNo.size() > 2) return kCardUnknown;
    const int n = std::stoi(cardNo);
    return n <= 16 ? n : kCardUnknown;
}

int knownCard() {
    const ExchangeState& s = state();
    const platform::SerialPort* p = port();
    return p && p->session() == s.selectedSession ? s.selected : kCardUnknown;
}

void learnCard(int card) {
    ExchangeState& s = state();
    s.selected = card;
    const platform::SerialPort* p = port();
    s.selectedSession = p ? p->session() : -1;
}

// Before an attempt's frames go out: the card the routine holding the line is
// for is selected first, unless the line knows it is; nothing goes out once a
// select of the routine has failed.
bool cardReady(bool selectFrame) {
    if (HeldCardFailed()) return false;
    const int card = HeldCard();
    if (selectFrame || card == kNoCard || card == knownCard()) return true;
    return SelectCard(card == 0 ? std::string("00") : std::to_string(card));
}

// One attempt of a read or write, counted so that its own frames are not checked again.
class Attempt {
public:
    explicit Attempt(bool selectFrame) : ready_(cardReady(selectFrame)) { ++state().attempts; }
    ~Attempt() { --state().attempts; }
    Attempt(const Attempt&) = delete;
    Attempt& operator=(const Attempt&) = delete;
    bool ready() const { return ready_; }

private:
    bool ready_;
};

// What a write of the select came to: the card the station has selected now;
// a select not taken leaves it in doubt and stops the routine.
void noteSelectWrite(const std::string& item, const std::string& data, bool taken) {
    if (taken && item == "41") {
        learnCard(cardOf(data));
    } else if (!taken) {
        learnCard(kCardUnknown);
        FailHeldCard();
    }
}

}  // namespace

int SelectedCard() { return knownCard(); }

void ForgetSelectedCard() { learnCard(kCardUnknown); }

bool IsRejection(const std::string& reply) {
    return reply.empty() || isRawRefusal(reply);
}

std::string Retried(int retries, const std::function<std::string()>& attempt) {
    std::string result;
    for (int i = 0; i <= retries; ++i) {
        result = TrimBlanks(attempt());
        if (!result.empty()) break;
    }
    return result;
}

void IntervalTimerOn(int intervalMs) {
    ExchangeState& s = state();
    s.expired = false;
    s.deadline = now() + intervalMs;
    s.timerEnabled = true;
}

void IntervalTimerOff() { state().timerEnabled = false; }

bool IntervalTimerCheck() {
    ExchangeState& s = state();
    if (s.timerEnabled && now() >= s.deadline) s.expired = true;
    return s.expired;
}

bool IntervalTimerEnabled() { return state().timerEnabled; }

bool ExchangeWaiting() { return state().waiting; }

void ResetExchange() { state() = ExchangeState{}; }

std::string Transact(const std::string& frame, std::string& reply) {
    reply.clear();
    ExchangeState& s = state();
    platform::SerialPort* p = port();
    if (s.waiting || !p || frame.empty() || frame.back() != CR ||
        !isFrameText(frame.substr(0, frame.size() - 1)))
        return reply;

    // An action kept back while this exchange waits runs once it has ended,
    // even when no routine holds the line around it.
    LineHold hold{LineHold::OneExchange{}};
    s.waiting = true;
    // After a time-out the missed reply may still be on its way, and input
    // waiting now answers no frame of ours: let the line fall quiet first.
    bool ok = true;
    if (s.lineSuspect || p->bytesWaiting() != 0) {
        ok = settleLine(p);
        if (ok) s.lineSuspect = false;
    }
    bool written = false;
    bool answered = false;
    if (ok) {
        // Nothing that came before the frame can be its reply; the characters of
        // a line not yet ended (which the count above does not see) go too.
        p->dropInput();
        if (frame[0] == 'G') {
            s.groupSent = frame.substr(1, frame.size() - 2);
            s.itemSent.clear();
        }
        if (frame[0] == 'I') s.itemSent = frame.substr(1, frame.size() - 2);
        if (s.dataTurn != LineTurnNumber()) {
            s.dataTurn = LineTurnNumber();
            s.dataSent.clear();
        }
        IntervalTimerOn(kReplyTimeoutMs);
        ok = written = p->write(frame);
    }
    std::string line;  // the characters since the last CR
    while (ok) {
        waitUntil(s.deadline, p);
        const int waiting = p->bytesWaiting();
        if (waiting < 0) {
            ok = false;
            break;
        }
        if (waiting > 0) {
            // Each CR ends a line; a chunk may hold a stale line and then the reply.
            const std::string chunk = p->readAll();
            std::size_t i = 0;
            while (i < chunk.size() && !answered) {
                const char c = chunk[i++];
                if (c != CR) {
                    line += c;
                } else if (canAnswer(frame, TrimBlanks(line))) {
                    answered = true;
                } else {
                    line.clear();
                }
            }
            if (answered) {
                reply = line;
                // Whatever followed the reply answers nothing we sent.
                if (i < chunk.size()) s.lineSuspect = true;
                break;
            }
        }
        if (IntervalTimerCheck() || !IntervalTimerEnabled()) {
            ok = false;
            break;
        }
    }
    if (frame[0] == 'D' && written) {
        const std::string sent = TrimBlanks(frame.substr(0, frame.size() - 1));
        if (std::find(s.dataSent.begin(), s.dataSent.end(), sent) == s.dataSent.end()) {
            // A turn that lasts (monitoring) keeps the most recent ones.
            if (s.dataSent.size() >= kEchoesKept) s.dataSent.erase(s.dataSent.begin());
            s.dataSent.push_back(sent);
        }
    }
    if (!answered) {
        reply.clear();
        if (written) s.lineSuspect = true;
    }
    IntervalTimerOff();
    s.waiting = false;
    return reply;
}

std::string TransactTrim(const std::string& frame) {
    // A routine's own frames (the HART dialog's) go to its card too.
    if (state().attempts == 0 && !frame.empty() && frame[0] == 'G' && !cardReady(false)) return {};
    std::string reply;
    return TrimBlanks(Transact(frame, reply));
}

std::string ReadItemOnce(const std::string& group, const std::string& item) {
    if (!isFrameText(group) || !isFrameText(item) || ExchangeWaiting()) return {};
    const Attempt attempt(false);
    if (!attempt.ready()) return {};
    if (TransactTrim("G" + group + CR) != "COK") return {};
    if (item.empty()) return {};
    const std::string r = TransactTrim("I" + item + CR);
    if (r == "CNG") return "CNG";
    if (r == "CNU") return "NEEDLESS";
    if (r == "DTMOUT") return {};
    return valueOf(r);
}

WriteAttempt WriteItemAttempt(const std::string& group, const std::string& item, const std::string& data) {
    // A frame the card did not take: "CNG" and "CNU" say no, anything else is no answer.
    const auto told = [](const std::string& reply) {
        return WriteAttempt{reply == "CNG" || reply == "CNU" ? WriteOutcome::Refused : WriteOutcome::Unanswered, ""};
    };
    if (!isFrameText(group) || !isFrameText(item) || !isFrameText(data) || ExchangeWaiting()) return {};
    const Attempt attempt(isSelectWrite(group, item));
    if (!attempt.ready()) return {};
    const std::string g = TransactTrim("G" + group + CR);
    if (g != "COK") return told(g);
    if (const std::string i = TransactTrim("I" + item + CR); IsRejection(i)) return told(i);
    const std::string d = TransactTrim("D" + data + CR);
    if (IsRejection(d)) return told(d);
    // An answer without a value takes nothing.
    const std::string value = valueOf(d);
    if (value.empty()) return {WriteOutcome::Refused, ""};
    return {WriteOutcome::Taken, value};
}

std::string WriteItemOnce(const std::string& group, const std::string& item, const std::string& data) {
    const WriteAttempt a = WriteItemAttempt(group, item, data);
    return a.outcome == WriteOutcome::Taken ? a.value : std::string();
}

std::string WriteItemCheckedOnce(const std::string& group, const std::string& item, const std::string& data) {
    if (!isFrameText(group) || !isFrameText(item) || !isFrameText(data) || ExchangeWaiting()) return {};
    const Attempt attempt(false);
    if (!attempt.ready()) return {};
    if (TransactTrim("G" + group + CR) != "COK") return {};
    if (item.empty()) return {};
    const std::string r = TransactTrim("I" + item + CR);
    if (r == "CNG" || r == "D    invalid data") return "CNG";
    if (r == "CNU") return "NEEDLESS";
    if (r.empty() || r == "DTMOUT") return {};
    return dataReply(data);
}

bool SelectCard(const std::string& cardNo, int retries, SelectFrames frames) {
    const auto write = [retries](const char* item, const std::string& data) {
        return !WriteItem(retries, "00", item, data).empty();
    };
    switch (frames) {
    case SelectFrames::Both: return write("01", "F") && write("41", cardNo);
    case SelectFrames::ItemOnly: return write("41", cardNo);
    case SelectFrames::ItemThenF: return write("41", cardNo) && write("01", "F");
    case SelectFrames::ViaCommCard: return write("01", "F") && write("41", "00") && write("41", cardNo);
    }
    return false;
}

std::string ReadItem(int retries, const std::string& group, const std::string& item) {
    return Retried(retries, [&] { return ReadItemOnce(group, item); });
}

std::string WriteItem(int retries, const std::string& group, const std::string& item, const std::string& data) {
    std::string r = Retried(retries, [&] { return WriteItemOnce(group, item, data); });
    if (isSelectWrite(group, item)) noteSelectWrite(item, data, !r.empty());
    return r;
}

std::string WriteItemChecked(int retries, const std::string& group, const std::string& item,
                             const std::string& data) {
    return Retried(retries, [&] { return WriteItemCheckedOnce(group, item, data); });
}

void PauseMs(int ms) {
    platform::Services& sv = platform::services();
    if (!sv.clock) {
        if (sv.pump) sv.pump->processEventsOnce();
        return;
    }
    const std::int64_t end = sv.clock->nowMs() + std::max(ms, 0);
    do {
        const std::int64_t left = end - sv.clock->nowMs();
        sv.clock->waitMs(left > 0 ? static_cast<int>(left) : 0, sv.pump);
    } while (sv.clock->nowMs() < end);
}

void ShowCommError() {
    if (auto* m = platform::services().messages)
        m->show("Communication error. Check the signal conditioner, cable and/or COM port setting.",
                "Test of communication", platform::MsgIcon::Exclamation);
}

}  // namespace talvo
