// The line side of the simulator: the terminal, the thread that reads frames and
// writes replies on schedule, fault injection and the frame record.
#include "sim/Simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <optional>
#include <thread>
#include <utility>

#include "sim/StationState.h"

namespace k6sim {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

// The longest the thread sleeps before it looks at the stop flag again.
constexpr milliseconds kPollSlice{20};
// Bytes without a CR beyond this are taken as one (bad) frame.
constexpr std::size_t kMaxFrame = 4096;
constexpr std::size_t kWhole = static_cast<std::size_t>(-1);

// Bytes at 9600 bit/s, 8N1: ten bits a byte, 1/960 s.
nanoseconds wireTime(std::size_t bytes) {
    return nanoseconds(static_cast<long long>(bytes) * 1'000'000'000LL / 960);
}

// Bytes to send, each with the moment it may go out.
struct Transmission {
    std::string bytes;
    std::vector<Clock::time_point> due;
    std::size_t sent = 0;
    std::optional<std::pair<std::string, milliseconds>> followUp;  // a second reply this long after

    bool done() const { return sent == bytes.size(); }
    Clock::time_point next() const { return due[sent]; }
};

// Lays the text out from `start` in chunks of `chunk` bytes, `gap` apart. Paced,
// a byte is in when its last bit is, one byte time after the one before it;
// unpaced, a chunk goes out in one write.
Transmission layout(const std::string& text, Clock::time_point start, bool paced, std::size_t chunk,
                    milliseconds gap) {
    Transmission t;
    t.bytes = text;
    Clock::time_point at = start;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i > 0 && i % chunk == 0) at += gap;
        if (paced) at += wireTime(1);
        t.due.push_back(at);
    }
    return t;
}

// What the station does with one frame.
struct Outcome {
    enum Kind { Answer, Nothing, Drop } kind = Answer;
    std::string reply;  // without CR
    milliseconds delay{0};
    std::size_t chunk = kWhole;
    milliseconds gap{0};
    std::optional<std::pair<std::string, milliseconds>> followUp;
};

struct ArmedFault {
    Fault f;
    int seen = 0;     // matching frames so far
    int applied = 0;  // frames it acted on
};

bool matches(const Fault& f, const std::string& frame, int card, const std::string& group) {
    if (!f.frame.empty() && f.frame != frame) return false;
    if (f.card >= 0 && f.card != card) return false;
    if (f.group.empty()) return true;
    const std::string g = normalGroup(f.group);
    return !g.empty() && g == group;
}

milliseconds nonNegative(int ms) { return milliseconds(std::max(ms, 0)); }

bool makeRaw(int fd) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return false;
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    t.c_cflag |= CLOCAL | CREAD;
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

struct Simulator::Impl {
    explicit Impl(Station s) : state(std::move(s)) {}

    // Shared with the callers' threads, under m.
    mutable std::mutex m;
    StationState state;
    std::vector<ArmedFault> faults;
    std::vector<FrameRecord> records;
    std::deque<std::string> injects;
    std::atomic<bool> paced{false};
    std::atomic<bool> stopping{false};
    std::atomic<std::size_t> bytesSent{0};

    // Set by start() before the thread runs and by stop() after it has ended.
    std::thread thread;
    std::string path;
    int lineFd = -1;   // the pseudo-terminal master, or the given device
    int slaveFd = -1;  // our own hold on the terminal end the program opens
    int wakeRead = -1, wakeWrite = -1;

    // The thread's own state.
    struct Received {
        std::string frame;
        Clock::time_point firstByte;
        std::size_t bytes;  // with the CR
    };
    std::string partial;
    Clock::time_point partialStart;
    std::deque<Received> frames;        // received, not yet answered
    std::optional<Transmission> reply;  // the reply to the frame being answered
    std::deque<Transmission> late;      // late replies and injected bytes, by due time
    enum class Writing { None, Reply, Late } writing = Writing::None;
    bool writeBlocked = false;
    bool lineQuiet = false;  // the far end of a device has hung up: look again later

    bool openPty();
    bool openDevice(const std::string& device);
    void run();
    void wait();
    bool readLine();
    void frameEnded(Clock::time_point now);
    Outcome decide(const std::string& frame);
    bool answerFrames();
    void writeDue();
    void schedule(Transmission t);
    Transmission* current();
    void finishCurrent();
};

bool Simulator::Impl::openPty() {
    lineFd = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (lineFd < 0) return false;
    char name[256];
    if (::grantpt(lineFd) != 0 || ::unlockpt(lineFd) != 0 || ::ptsname_r(lineFd, name, sizeof name) != 0 ||
        ::fcntl(lineFd, F_SETFL, O_NONBLOCK) != 0 || ::fcntl(lineFd, F_SETFD, FD_CLOEXEC) != 0)
        return false;
    path = name;
    // Holding the terminal end open keeps the master from seeing a hang-up while
    // the program has the port closed, and keeps the raw settings in between.
    slaveFd = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    return slaveFd >= 0 && makeRaw(slaveFd);
}

bool Simulator::Impl::openDevice(const std::string& device) {
    lineFd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (lineFd < 0 || (::isatty(lineFd) && !makeRaw(lineFd))) return false;
    path = device;
    return true;
}

void Simulator::Impl::run() {
    while (!stopping.load()) {
        wait();
        if (stopping.load()) break;
        {
            std::lock_guard<std::mutex> lock(m);
            for (const std::string& bytes : injects)
                if (!bytes.empty()) schedule(layout(bytes, Clock::now(), paced.load(), kWhole, milliseconds(0)));
            injects.clear();
        }
        if (!readLine() || !answerFrames()) break;
        writeDue();
    }
}

void Simulator::Impl::wait() {
    const Clock::time_point now = Clock::now();
    Clock::time_point wake = now + kPollSlice;
    if (writeBlocked) {
        // wait for room on the line (POLLOUT), not for due times already past
    } else if (Transmission* t = current()) {
        wake = std::min(wake, t->next());
    } else {
        if (reply) wake = std::min(wake, reply->next());
        if (!late.empty()) wake = std::min(wake, late.front().next());
    }
    const nanoseconds left = std::max(nanoseconds(0), std::chrono::duration_cast<nanoseconds>(wake - now));
    const timespec timeout{static_cast<time_t>(left.count() / 1'000'000'000),
                           static_cast<long>(left.count() % 1'000'000'000)};
    pollfd p[2] = {{wakeRead, POLLIN, 0},
                   {lineQuiet ? -1 : lineFd, static_cast<short>(POLLIN | (writeBlocked ? POLLOUT : 0)), 0}};
    if (::ppoll(p, 2, &timeout, nullptr) < 0) return;
    char drain[64];
    if (p[0].revents & POLLIN)
        while (::read(wakeRead, drain, sizeof drain) > 0) {
        }
    writeBlocked = false;
    lineQuiet = (p[1].revents & (POLLHUP | POLLERR)) && !(p[1].revents & POLLIN);
}

// Takes in what has arrived and splits it into frames; false when the line is gone.
bool Simulator::Impl::readLine() {
    char buf[256];
    for (;;) {
        const ssize_t n = ::read(lineFd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EBADF) return false;
        if (n <= 0) return true;  // nothing more now, or a far end that has hung up
        const Clock::time_point now = Clock::now();
        for (ssize_t i = 0; i < n; ++i) {
            if (partial.empty()) partialStart = now;
            if (buf[i] == '\r') {
                frameEnded(now);
                continue;
            }
            partial += buf[i];
            if (partial.size() >= kMaxFrame) frameEnded(now);
        }
    }
}

void Simulator::Impl::frameEnded(Clock::time_point now) {
    {
        std::lock_guard<std::mutex> lock(m);
        records.push_back({partial, now});
    }
    frames.push_back({partial, partialStart, partial.size() + 1});
    partial.clear();
}

Outcome Simulator::Impl::decide(const std::string& frame) {
    std::lock_guard<std::mutex> lock(m);
    const int card = state.selectedCard();
    const std::string group = state.currentGroup();
    const Fault* hit = nullptr;
    for (ArmedFault& a : faults) {
        if (!matches(a.f, frame, card, group)) continue;
        if (a.seen++ < a.f.skip) continue;
        if (a.f.count >= 0 && a.applied >= a.f.count) continue;
        if (!hit) {
            hit = &a.f;
            ++a.applied;
        }
    }
    Outcome o;
    // A lost frame or a dead line changes nothing on the station; every other
    // fault lets the frame take effect and only changes what goes back.
    if (hit && hit->action == FaultAction::Silence) {
        o.kind = Outcome::Nothing;
        return o;
    }
    if (hit && hit->action == FaultAction::DropLine) {
        o.kind = Outcome::Drop;
        return o;
    }
    o.reply = state.answer(frame);
    if (!hit) return o;
    switch (hit->action) {
        case FaultAction::Reply:
            o.reply = hit->text;
            break;
        case FaultAction::Delay:
            o.delay = nonNegative(hit->delayMs);
            break;
        case FaultAction::Split:
            o.chunk = static_cast<std::size_t>(std::max(hit->chunkSize, 1));
            o.gap = nonNegative(hit->gapMs);
            break;
        case FaultAction::ExtraLate:
            o.followUp = std::make_pair(hit->text, nonNegative(hit->delayMs));
            break;
        case FaultAction::Silence:
        case FaultAction::DropLine:
            break;
    }
    return o;
}

// Answers the frames in order, one at a time: the station takes the next frame
// only when its reply to the last one is out. False when the line was dropped.
bool Simulator::Impl::answerFrames() {
    while (!reply && !frames.empty()) {
        const Received f = frames.front();
        frames.pop_front();
        const Outcome o = decide(f.frame);
        if (o.kind == Outcome::Drop) {
            closeFd(lineFd);
            closeFd(slaveFd);
            return false;
        }
        if (o.kind == Outcome::Nothing) continue;
        const bool pacedNow = paced.load();
        Clock::time_point start = Clock::now();
        if (pacedNow) start = std::max(start, f.firstByte + wireTime(f.bytes));
        reply = layout(o.reply + "\r", start + o.delay, pacedNow, o.chunk, o.gap);
        reply->followUp = o.followUp;
    }
    return true;
}

void Simulator::Impl::schedule(Transmission t) {
    const auto at = std::upper_bound(late.begin(), late.end(), t.due.front(),
                                     [](Clock::time_point due, const Transmission& x) { return due < x.due.front(); });
    late.insert(at, std::move(t));
}

Transmission* Simulator::Impl::current() {
    if (writing == Writing::Reply) return &*reply;
    if (writing == Writing::Late) return &late.front();
    return nullptr;
}

void Simulator::Impl::finishCurrent() {
    if (writing == Writing::Reply) {
        if (reply->followUp)
            schedule(layout(reply->followUp->first + "\r", Clock::now() + reply->followUp->second, paced.load(), kWhole,
                            milliseconds(0)));
        reply.reset();
    } else {
        late.pop_front();
    }
    writing = Writing::None;
}

// Writes every byte that is due. One transmission at a time, so that a late
// reply never lands inside another; the earliest due goes first.
void Simulator::Impl::writeDue() {
    for (;;) {
        const Clock::time_point now = Clock::now();
        if (writing == Writing::None) {
            const bool replyDue = reply && reply->next() <= now;
            const bool lateDue = !late.empty() && late.front().next() <= now;
            if (replyDue && (!lateDue || reply->next() <= late.front().next()))
                writing = Writing::Reply;
            else if (lateDue)
                writing = Writing::Late;
            else
                return;
        }
        Transmission& t = *current();
        std::size_t n = 0;
        while (t.sent + n < t.bytes.size() && t.due[t.sent + n] <= now) ++n;
        if (n == 0) return;
        // Counted before they go: whoever reads them off the line then sees them counted.
        bytesSent += n;
        const ssize_t w = ::write(lineFd, t.bytes.data() + t.sent, n);
        if (w < static_cast<ssize_t>(n)) bytesSent -= n - static_cast<std::size_t>(std::max<ssize_t>(w, 0));
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno == EAGAIN) {
            writeBlocked = true;
            return;
        }
        // A line that refuses the bytes loses them.
        t.sent = w < 0 ? t.bytes.size() : t.sent + static_cast<std::size_t>(w);
        if (t.done()) finishCurrent();
    }
}

Simulator::Simulator(Station station) : d(std::make_unique<Impl>(std::move(station))) {}

Simulator::~Simulator() { stop(); }

bool Simulator::start(const std::string& device) {
    if (d->thread.joinable()) return false;
    int wake[2];
    if (::pipe2(wake, O_NONBLOCK | O_CLOEXEC) != 0) return false;
    d->wakeRead = wake[0];
    d->wakeWrite = wake[1];
    if (!(device.empty() ? d->openPty() : d->openDevice(device))) {
        stop();
        return false;
    }
    d->partial.clear();
    d->frames.clear();
    d->reply.reset();
    d->late.clear();
    d->writing = Impl::Writing::None;
    d->writeBlocked = d->lineQuiet = false;
    d->stopping = false;
    d->thread = std::thread([this] { d->run(); });
    return true;
}

void Simulator::stop() {
    if (d->thread.joinable()) {
        d->stopping = true;
        const char c = 0;
        (void)!::write(d->wakeWrite, &c, 1);
        d->thread.join();
    }
    closeFd(d->lineFd);
    closeFd(d->slaveFd);
    closeFd(d->wakeRead);
    closeFd(d->wakeWrite);
}

std::string Simulator::devicePath() const { return d->path; }

void Simulator::setPaced(bool on) { d->paced = on; }

void Simulator::addFault(const Fault& f) {
    std::lock_guard<std::mutex> lock(d->m);
    d->faults.push_back({f});
}

void Simulator::clearFaults() {
    std::lock_guard<std::mutex> lock(d->m);
    d->faults.clear();
}

std::vector<FrameRecord> Simulator::records() const {
    std::lock_guard<std::mutex> lock(d->m);
    return d->records;
}

std::vector<std::string> Simulator::frames() const {
    std::lock_guard<std::mutex> lock(d->m);
    std::vector<std::string> out;
    for (const FrameRecord& r : d->records) out.push_back(r.frame);
    return out;
}

void Simulator::clearFrames() {
    std::lock_guard<std::mutex> lock(d->m);
    d->records.clear();
}

std::vector<FrameRecord> Simulator::takeRecords() {
    std::lock_guard<std::mutex> lock(d->m);
    return std::exchange(d->records, {});
}

void Simulator::inject(const std::string& bytes) {
    if (!d->thread.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(d->m);
        d->injects.push_back(bytes);
    }
    const char c = 0;
    (void)!::write(d->wakeWrite, &c, 1);
}

Station Simulator::station() const {
    std::lock_guard<std::mutex> lock(d->m);
    return d->state.station();
}

void Simulator::setStation(const Station& s) {
    std::lock_guard<std::mutex> lock(d->m);
    d->state.setStation(s);
}

std::string Simulator::value(int card, const std::string& group, int item) const {
    std::lock_guard<std::mutex> lock(d->m);
    return d->state.value(card, normalGroup(group), item).value_or("");
}

void Simulator::setValue(int card, const std::string& group, int item, const std::string& value) {
    std::lock_guard<std::mutex> lock(d->m);
    d->state.setValue(card, normalGroup(group), item, value);
}

std::size_t Simulator::bytesSent() const { return d->bytesSent.load(); }

int Simulator::selectedCard() const {
    std::lock_guard<std::mutex> lock(d->m);
    return d->state.selectedCard();
}

std::string Simulator::answer(const std::string& frame) {
    std::lock_guard<std::mutex> lock(d->m);
    return d->state.answer(frame);
}

}  // namespace k6sim
