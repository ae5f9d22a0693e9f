#include "core/Protocol.h"

#include <cstdint>

#include "platform/Services.h"

namespace talvo {

namespace {

constexpr char CR = '\r';

struct ExchangeState {
    bool timerEnabled = false;
    bool expired = false;
    std::int64_t deadline = 0;
    bool waiting = false;
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
bool isFrameText(const std::string& s) {
    for (unsigned char c : s)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}

std::string trimBlanks(const std::string& s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return s.substr(b, e - b);
}

bool inputPending() {
    platform::SerialPort* p = port();
    if (!p) return true;
    // A port that is not open or has failed counts as pending: the attempt fails at once.
    return p->bytesWaiting() != 0;
}

std::string valueOf(const std::string& reply) { return reply.size() > 1 ? reply.substr(1) : std::string(); }

bool isRejection(const std::string& r) { return r.empty() || r == "CNU" || r == "CNG" || r == "DTMOUT"; }

// The data frame's reply as a write takes it: the value, or "" on any rejection.
std::string dataReply(const std::string& data) {
    const std::string r = TransactTrim("D" + data + CR);
    return isRejection(r) ? std::string() : valueOf(r);
}

template <typename Attempt>
std::string withRetries(int retries, Attempt attempt) {
    std::string result;
    for (int i = 0; i <= retries; ++i) {
        result = trimBlanks(attempt());
        if (!result.empty()) break;
    }
    return result;
}

}  // namespace

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

std::string Transact(const std::string& frame, std::string& reply) {
    reply.clear();
    ExchangeState& s = state();
    platform::SerialPort* p = port();
    if (s.waiting || !p || frame.empty() || frame.back() != CR ||
        !isFrameText(frame.substr(0, frame.size() - 1)))
        return reply;

    s.waiting = true;
    IntervalTimerOn(kReplyTimeoutMs);
    bool ok = p->write(frame);
    while (ok) {
        if (auto* pump = platform::services().pump) pump->processEventsOnce();
        const int waiting = p->bytesWaiting();
        if (waiting < 0) {
            ok = false;
            break;
        }
        if (waiting > 0) {
            const std::string chunk = p->readAll();
            reply += chunk;
            if (!chunk.empty() && chunk.back() == CR) break;
        }
        if (IntervalTimerCheck() || !IntervalTimerEnabled()) {
            ok = false;
            break;
        }
        if (auto* clock = platform::services().clock) clock->sleepMs(1, p);
    }
    if (!ok) reply.clear();
    if (!reply.empty()) reply.pop_back();
    IntervalTimerOff();
    s.waiting = false;
    return reply;
}

std::string TransactTrim(const std::string& frame) {
    std::string reply;
    return trimBlanks(Transact(frame, reply));
}

std::string ReadItemOnce(const std::string& group, const std::string& item) {
    if (!isFrameText(group) || !isFrameText(item) || ExchangeWaiting() || inputPending()) return {};
    if (TransactTrim("G" + group + CR) != "COK") return {};
    if (item.empty()) return {};
    const std::string r = TransactTrim("I" + item + CR);
    if (r == "CNG") return "CNG";
    if (r == "CNU") return "NEEDLESS";
    if (r == "DTMOUT") return {};
    return valueOf(r);
}

std::string WriteItemOnce(const std::string& group, const std::string& item, const std::string& data) {
    if (!isFrameText(group) || !isFrameText(item) || !isFrameText(data) || ExchangeWaiting() ||
        inputPending())
        return {};
    if (TransactTrim("G" + group + CR) != "COK") return {};
    if (isRejection(TransactTrim("I" + item + CR))) return {};
    return dataReply(data);
}

std::string WriteItemCheckedOnce(const std::string& group, const std::string& item, const std::string& data) {
    if (!isFrameText(group) || !isFrameText(item) || !isFrameText(data) || ExchangeWaiting()) return {};
    if (TransactTrim("G" + group + CR) != "COK") return {};
    if (item.empty()) return {};
    const std::string r = TransactTrim("I" + item + CR);
    if (r == "CNG" || r == "D    invalid data") return "CNG";
    if (r == "CNU") return "NEEDLESS";
    if (r.empty() || r == "DTMOUT") return {};
    return dataReply(data);
}

std::string ReadItem(int retries, const std::string& group, const std::string& item) {
    return withRetries(retries, [&] { return ReadItemOnce(group, item); });
}

std::string WriteItem(int retries, const std::string& group, const std::string& item, const std::string& data) {
    return withRetries(retries, [&] { return WriteItemOnce(group, item, data); });
}

std::string WriteItemChecked(int retries, const std::string& group, const std::string& item,
                             const std::string& data) {
    return withRetries(retries, [&] { return WriteItemCheckedOnce(group, item, data); });
}

void ShowCommError() {
    if (auto* m = platform::services().messages)
        m->show("Communication error. Check the signal conditioner, cable and/or COM port setting.",
                "Test of communication", platform::MsgIcon::Exclamation);
}

}  // namespace talvo
