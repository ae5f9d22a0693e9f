// The simulator on a real pseudo-terminal: replies, faults, pacing, the frame
// record, and the k6sim program.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "sim/Simulator.h"

using k6sim::Fault;
using k6sim::FaultAction;
using k6sim::Simulator;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

// 8N1 at 9600 bit/s: ten bits a byte.
constexpr double kByteMs = 10.0 / 9.6;

void makeRaw(int fd) {
    termios t{};
    ASSERT_EQ(::tcgetattr(fd, &t), 0);
    ::cfmakeraw(&t);
    ASSERT_EQ(::tcsetattr(fd, TCSANOW, &t), 0);
}

// The program's end of the line, with plain POSIX calls.
class Line {
public:
    explicit Line(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        EXPECT_GE(fd_, 0) << path;
        if (fd_ >= 0) makeRaw(fd_);
    }
    explicit Line(int fd) : fd_(fd) {}
    ~Line() {
        if (fd_ >= 0) ::close(fd_);
    }
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    void send(const std::string& frame) {
        const std::string bytes = frame + "\r";
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // The next reply up to and with its CR; what has come by then when no CR comes in time.
    std::string reply(milliseconds within = milliseconds(2000)) {
        const auto end = Clock::now() + within;
        std::size_t cr;
        while ((cr = buffer_.find('\r')) == std::string::npos && fill(end)) {
        }
        std::string out = cr == std::string::npos ? buffer_ : buffer_.substr(0, cr + 1);
        buffer_.erase(0, out.size());
        return out;
    }

    std::string transact(const std::string& frame) {
        send(frame);
        return reply();
    }

    // Everything that arrives within the time.
    std::string readFor(milliseconds time) {
        const auto end = Clock::now() + time;
        while (fill(end)) {
        }
        return std::exchange(buffer_, {});
    }

    // Waits for bytes until `end`; false when none came or the line is gone.
    bool fill(Clock::time_point end) {
        const auto left = std::chrono::duration_cast<milliseconds>(end - Clock::now()).count();
        pollfd p{fd_, POLLIN, 0};
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) return false;
        if (p.revents & POLLHUP) hungUp = true;
        char buf[256];
        const ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n <= 0) return false;
        buffer_.append(buf, static_cast<std::size_t>(n));
        return true;
    }

    bool hungUp = false;

private:
    int fd_;
    std::string buffer_;
};

class LineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.start());
        line = std::make_unique<Line>(sim.devicePath());
    }

    void select(const std::string& card) {
        for (const char* f : {"G00", "I01", "DF", "G00", "I41"}) line->transact(f);
        ASSERT_EQ(line->transact("D" + card), "D" + card + "\r");
    }

    Simulator sim;
    std::unique_ptr<Line> line;
};

Fault fault(const std::string& frame, FaultAction action) {
    Fault f;
    f.frame = frame;
    f.action = action;
    return f;
}

double msSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

}  // namespace

TEST_F(LineTest, ConnectSequenceGetsExactlyOneReplyPerFrame) {
    const std::pair<const char*, const char*> steps[] = {
        {"G00", "COK\r"}, {"I40", "D1.00\r"}, {"G00", "COK\r"}, {"I01", "D01:F\r"},  {"DF", "DF\r"},
        {"G00", "COK\r"}, {"I41", "D41:0\r"}, {"D00", "D00\r"}, {"G01", "COK\r"},    {"I01", "D01:0\r"},
        {"D1", "D1\r"},   {"G00", "COK\r"},   {"I04", "DK6-OW1:RUN\r"},
    };
    for (const auto& [frame, reply] : steps) EXPECT_EQ(line->transact(frame), reply) << frame;
    EXPECT_EQ(line->readFor(milliseconds(50)), "");
    EXPECT_EQ(sim.selectedCard(), 0);
}

TEST_F(LineTest, SlotModelCodesAndLiveValuesOfASelectedCard) {
    const char* const codes[16] = {"BW4", "BW8", "BW16", "HG4", "HG8", "HG8A", "BWT8", "EK4",
                                   "EK8", "ZN2", "FD4",  "FD8", "KR4", "KR8",  "UNKNOWN", "GBH"};
    ASSERT_EQ(line->transact("G00"), "COK\r");
    for (int slot = 1; slot <= 16; ++slot)
        EXPECT_EQ(line->transact("I" + std::to_string(slot + 9)),
                  "D" + std::to_string(slot + 9) + ":" + codes[slot - 1] + "\r");
    select("3");
    ASSERT_EQ(line->transact("G00"), "COK\r");
    EXPECT_EQ(line->transact("I10"), "D10:+001.0\r");
    EXPECT_EQ(line->transact("I25"), "D25:+016.0\r");
    EXPECT_EQ(line->transact("I26"), "CNU\r");
    EXPECT_EQ(line->transact("G07"), "CNG\r");
}

TEST_F(LineTest, DataFrameStoresAndEchoes) {
    select("2");
    ASSERT_EQ(line->transact("G01"), "COK\r");
    ASSERT_EQ(line->transact("I44"), "D44:0\r");
    EXPECT_EQ(line->transact("D-1234"), "D-1234\r");
    EXPECT_EQ(sim.value(2, "01", 44), "-1234");
    EXPECT_EQ(line->transact("I44"), "D44:-1234\r");
}

TEST_F(LineTest, RecordsEveryFrameWithItsTime) {
    const auto before = Clock::now();
    line->send("G00");  // frames sent back to back arrive together and are still told apart
    line->send("I40");
    line->send("");
    EXPECT_EQ(line->reply(), "COK\r");
    EXPECT_EQ(line->reply(), "D1.00\r");
    EXPECT_EQ(line->reply(), "CNG\r");
    const auto after = Clock::now();
    const auto r = sim.records();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(sim.frames(), (std::vector<std::string>{"G00", "I40", ""}));
    for (const auto& rec : r) {
        EXPECT_GE(rec.at, before);
        EXPECT_LE(rec.at, after);
    }
    EXPECT_LE(r[0].at, r[1].at);
    EXPECT_EQ(sim.takeRecords().size(), 3u);
    EXPECT_TRUE(sim.records().empty());
    line->transact("G00");
    sim.clearFrames();
    EXPECT_TRUE(sim.frames().empty());
}

TEST_F(LineTest, ReplyFaultsSendTheirTextAndKeepTheFrameEffects) {
    const std::string texts[] = {"CNG", "CNU", "DTMOUT", "D    invalid data", "D", "", "\x01\xff#"};
    for (const std::string& text : texts) {
        sim.clearFaults();
        Fault f = fault("D7", FaultAction::Reply);
        f.text = text;
        sim.addFault(f);
        ASSERT_EQ(line->transact("G00"), "COK\r");
        ASSERT_EQ(line->transact("I41"), "D41:" + std::to_string(sim.selectedCard()) + "\r");
        EXPECT_EQ(line->transact("D7"), text + "\r");
        EXPECT_EQ(sim.selectedCard(), 7) << "the selection still happened";
        ASSERT_EQ(line->transact("D0"), "D0\r");
    }
}

TEST_F(LineTest, SilenceLosesTheFrame) {
    sim.addFault(fault("D7", FaultAction::Silence));
    line->transact("G00");
    line->transact("I41");
    line->send("D7");
    EXPECT_EQ(line->reply(milliseconds(150)), "");
    EXPECT_EQ(sim.selectedCard(), 0);
    EXPECT_EQ(line->transact("I41"), "D41:0\r");  // the line goes on
    EXPECT_EQ(sim.frames().back(), "I41");
}

TEST_F(LineTest, DelayHoldsTheReplyAndTheFramesAfterIt) {
    Fault f = fault("I40", FaultAction::Delay);
    f.delayMs = 150;
    sim.addFault(f);
    line->transact("G00");
    const auto t0 = Clock::now();
    line->send("I40");
    line->send("G00");  // the station is busy: this one is answered after the late reply
    EXPECT_EQ(line->reply(milliseconds(100)), "");
    EXPECT_EQ(line->reply(), "D1.00\r");
    EXPECT_GE(msSince(t0), 150.0);
    EXPECT_EQ(line->reply(), "COK\r");
}

TEST_F(LineTest, SplitSendsTheReplyInChunks) {
    Fault f = fault("I04", FaultAction::Split);
    f.chunkSize = 3;
    f.gapMs = 60;
    sim.addFault(f);
    line->transact("G00");
    line->send("I04");
    std::string got;
    while (got.size() < 3 && line->fill(Clock::now() + milliseconds(1000))) got += line->readFor(milliseconds(0));
    EXPECT_EQ(got, "DK6");
    const auto t0 = Clock::now();
    EXPECT_EQ(line->reply(milliseconds(40)), "");
    EXPECT_EQ(line->reply(), "-OW1:RUN\r");
    EXPECT_GE(msSince(t0), 3 * 60.0 * 0.9);  // three more gaps: "-OW", "1:R", "UN" and CR
}

TEST_F(LineTest, ExtraLateReplyFollowsWithoutHoldingTheLine) {
    Fault f = fault("I40", FaultAction::ExtraLate);
    f.text = "D9.99";
    f.delayMs = 150;
    f.count = 1;
    sim.addFault(f);
    line->transact("G00");
    const auto t0 = Clock::now();
    EXPECT_EQ(line->transact("I40"), "D1.00\r");
    EXPECT_EQ(line->transact("G00"), "COK\r");  // answered at once, before the late one
    EXPECT_EQ(line->reply(), "D9.99\r");
    EXPECT_GE(msSince(t0), 150.0);
    EXPECT_EQ(line->transact("I40"), "D1.00\r");  // count 1: once only
    EXPECT_EQ(line->readFor(milliseconds(250)), "");
}

TEST_F(LineTest, DropLineHangsUpAndStopsServing) {
    sim.addFault(fault("I40", FaultAction::DropLine));
    line->transact("G00");
    line->send("I40");
    EXPECT_EQ(line->reply(milliseconds(1000)), "");
    EXPECT_TRUE(line->hungUp);
    EXPECT_EQ(sim.frames(), (std::vector<std::string>{"G00", "I40"}));
    EXPECT_EQ(sim.selectedCard(), 0);
    sim.stop();
    ASSERT_TRUE(sim.start());  // a new line after a stop
    Line again(sim.devicePath());
    EXPECT_EQ(again.transact("G00"), "COK\r");
}

TEST_F(LineTest, SkipAndCountChooseTheMatchingFrames) {
    const struct {
        int skip, count;
        const char* replies;  // to six "G00" frames: O = COK, N = CNG
    } cases[] = {{0, -1, "NNNNNN"}, {0, 1, "NOOOOO"}, {1, 2, "ONNOOO"}, {4, -1, "OOOONN"}, {0, 0, "OOOOOO"}};
    for (const auto& c : cases) {
        sim.clearFaults();
        Fault f = fault("G00", FaultAction::Reply);
        f.text = "CNG";
        f.skip = c.skip;
        f.count = c.count;
        sim.addFault(f);
        std::string got;
        for (int i = 0; i < 6; ++i) got += line->transact("G00") == "COK\r" ? 'O' : 'N';
        EXPECT_EQ(got, c.replies) << "skip " << c.skip << " count " << c.count;
    }
}

TEST_F(LineTest, FaultsCanWaitForACardAndAGroup) {
    Fault onCard = fault("I10", FaultAction::Reply);
    onCard.text = "DTMOUT";
    onCard.card = 2;
    Fault inGroup = fault("I42", FaultAction::Reply);
    inGroup.text = "CNG";
    inGroup.group = "2";
    Fault anyFrame = fault("", FaultAction::Reply);  // matches every frame, but only on card 5
    anyFrame.text = "X";
    anyFrame.card = 5;
    for (const Fault& f : {onCard, inGroup, anyFrame}) sim.addFault(f);

    line->transact("G00");
    EXPECT_EQ(line->transact("I10"), "D10:BW4\r");  // card 0 selected
    select("2");
    line->transact("G00");
    EXPECT_EQ(line->transact("I10"), "DTMOUT\r");
    line->transact("G01");
    EXPECT_EQ(line->transact("I42"), "D42:0\r");
    line->transact("G02");
    EXPECT_EQ(line->transact("I42"), "CNG\r");
    select("5");
    EXPECT_EQ(line->transact("G00"), "X\r");
    EXPECT_EQ(sim.answer("I41"), "D41:5");
}

TEST_F(LineTest, FirstFaultThatAppliesWinsWhileEveryMatchingFaultCounts) {
    Fault first = fault("G00", FaultAction::Reply);
    first.text = "A";
    first.count = 1;
    Fault second = fault("G00", FaultAction::Reply);
    second.text = "B";
    second.skip = 1;  // the first frame is its skipped one, even though "A" answered it
    sim.addFault(first);
    sim.addFault(second);
    EXPECT_EQ(line->transact("G00"), "A\r");
    EXPECT_EQ(line->transact("G00"), "B\r");
    sim.clearFaults();
    EXPECT_EQ(line->transact("G00"), "COK\r");
}

TEST_F(LineTest, InjectedBytesArrive) {
    sim.inject("D1.00\rxx");
    EXPECT_EQ(line->reply(), "D1.00\r");
    EXPECT_EQ(line->readFor(milliseconds(100)), "xx");
}

TEST_F(LineTest, PacedLineTakesTheWireTimeBothWays) {
    sim.setPaced(true);
    struct Case {
        const char* frame;
        const char* reply;
    };
    for (const Case& c : {Case{"G00", "COK\r"}, Case{"I04", "DK6-OW1:RUN\r"}}) {
        const auto t0 = Clock::now();
        EXPECT_EQ(line->transact(c.frame), c.reply);
        const double wire = (std::string(c.frame).size() + 1 + std::string(c.reply).size()) * kByteMs;
        const double took = msSince(t0);
        EXPECT_GE(took, 0.9 * wire) << c.frame;
        EXPECT_LT(took, wire + 500) << c.frame;
    }
    // Injected bytes are paced too.
    const auto t0 = Clock::now();
    sim.inject(std::string(20, 'x') + "\r");
    EXPECT_EQ(line->reply().size(), 21u);
    EXPECT_GE(msSince(t0), 0.9 * 21 * kByteMs);
}

TEST_F(LineTest, StopDoesNotWaitForAPendingReply) {
    Fault f = fault("G00", FaultAction::Delay);
    f.delayMs = 5000;
    sim.addFault(f);
    line->send("G00");
    while (sim.frames().empty()) std::this_thread::sleep_for(milliseconds(1));
    const auto t0 = Clock::now();
    sim.stop();
    EXPECT_LT(msSince(t0), 1000.0);
}

TEST(LineDevice, ServesAGivenTerminal) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string slave = ::ptsname(master);
    makeRaw(master);
    Simulator sim;
    ASSERT_TRUE(sim.start(slave));
    EXPECT_EQ(sim.devicePath(), slave);
    Line line(master);  // the far end of the given terminal stands for the program
    EXPECT_EQ(line.transact("G00"), "COK\r");
    EXPECT_EQ(line.transact("I04"), "DK6-OW1:RUN\r");
    EXPECT_FALSE(Simulator().start("/nonexistent/tty"));
}

// ---- the program ----

namespace {

struct Process {
    pid_t pid = -1;
    int out = -1, err = -1;

    explicit Process(std::vector<std::string> args) {
        int o[2], e[2];
        if (::pipe(o) != 0 || ::pipe(e) != 0) return;
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, o[1], 1);
        posix_spawn_file_actions_adddup2(&fa, e[1], 2);
        posix_spawn_file_actions_addclose(&fa, o[0]);
        posix_spawn_file_actions_addclose(&fa, e[0]);
        args.insert(args.begin(), K6SIM_PROGRAM);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&pid, K6SIM_PROGRAM, &fa, nullptr, argv.data(), environ) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&fa);
        ::close(o[1]);
        ::close(e[1]);
        out = o[0];
        err = e[0];
    }
    ~Process() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        ::close(out);
        ::close(err);
    }

    // Reads a pipe up to its first newline or its end.
    static std::string line(int fd) {
        std::string s;
        char c;
        pollfd p{fd, POLLIN, 0};
        while (::poll(&p, 1, 5000) > 0 && ::read(fd, &c, 1) == 1 && c != '\n') s += c;
        return s;
    }

    int exitCode() {
        int status = 0;
        ::waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

}  // namespace

TEST(Program, PrintsTheTerminalServesItAndStopsOnSigterm) {
    Process p({"--log"});
    ASSERT_GT(p.pid, 0);
    const std::string path = Process::line(p.out);
    ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
    {
        Line line(path);
        EXPECT_EQ(line.transact("G00"), "COK\r");
        EXPECT_EQ(line.transact("I04"), "DK6-OW1:RUN\r");
    }
    EXPECT_EQ(Process::line(p.err), "G00");
    ::kill(p.pid, SIGTERM);
    EXPECT_EQ(p.exitCode(), 0);
}

TEST(Program, RefusesABadStationWithItsLine) {
    char path[] = "/tmp/k6sim_test_XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    const std::string text = "comm K6-OW1\nslot 3 BW4\n  set 00\n";
    ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(fd);
    Process p({"--station", path});
    EXPECT_EQ(Process::line(p.err), std::string("k6sim: ") + path +
                                        ": line 3: expected: set GROUP ITEM VALUE (quote a value that holds blanks)");
    EXPECT_EQ(p.exitCode(), 2);
    ::unlink(path);
}
