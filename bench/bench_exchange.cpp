// Measures the program as its users run it: the main window and a card screen on
// the offscreen platform, connected through the menu to the station simulator
// paced at 9600 bit/s like the real line. Each figure is printed beside its goal
// and whether the goal is met; the exit code is 0 either way (it is a benchmark,
// not a test).
//
// Wire time is the time the bytes of the frames and replies need on a 9600 bit/s
// line, one after the other; no exchange can be faster. Processor use is the
// program's thread (the simulator runs on a thread of its own and is not counted).
// A stall is the longest gap between the ticks of a timer that asks to run every
// 5 ms in the program's event loop.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_hart.h"
#include "bench/bench_power_monitor.h"
#include "core/Globals.h"
#include "core/Protocol.h"
#include "platform/Services.h"
#include "platform/qt/Modal.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtServices.h"
#include "screens/skeleton/CardScreens.h"
#include "shell/frmComPort.h"
#include "shell/frmTalvo.h"
#include "sim/Simulator.h"

using namespace talvo;

namespace {

constexpr double kMsPerByte = 10.0 * 1000.0 / 9600.0;  // 8N1: ten bits a byte
constexpr int kTickMs = 5;                             // the stall probe's interval

double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// Times the program's thread went to sleep and was woken again.
long threadWakeUps() {
    std::FILE* f = std::fopen("/proc/thread-self/status", "r");
    if (!f) return 0;
    char line[256];
    long n = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "voluntary_ctxt_switches: %ld", &n) == 1) break;
    std::fclose(f);
    return n;
}

double wallMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// The Qt port, counting the bytes that cross the line and noting every frame sent.
class CountingPort : public platform::QtSerialPort {
public:
    struct Sent {
        std::string frame;
        double atMs;
        double cpuMs;
        std::size_t bytesBefore;  // both directions, before this frame
    };
    bool write(const std::string& b) override {
        log.push_back({b, wallMs(), threadCpuMs(), sent + received});
        sent += b.size();
        if (onFrame) onFrame();
        return QtSerialPort::write(b);
    }
    std::string readAll() override {
        std::string s = QtSerialPort::readAll();
        received += s.size();
        return s;
    }
    std::size_t sent = 0, received = 0;
    std::vector<Sent> log;
    std::function<void()> onFrame;
};

// Message boxes are printed, not shown: nobody is there to close them.
class PrintedBoxes : public platform::MessageBox {
public:
    platform::MsgResult show(const std::string& text, const std::string& title, platform::MsgIcon,
                             platform::MsgButtons) override {
        std::fprintf(stderr, "message box \"%s\": %s\n", title.c_str(), text.c_str());
        ++shown;
        return platform::MsgResult::Ok;
    }
    int shown = 0;
};

// The largest gap between ticks of a timer asking for every kTickMs.
class StallProbe {
public:
    StallProbe() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(kTickMs);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const double t = wallMs();
            worst_ = std::max(worst_, t - last_);
            last_ = t;
        });
    }
    void start() {
        worst_ = 0;
        last_ = wallMs();
        timer_.start();
    }
    double stop() {
        timer_.stop();
        return std::max(worst_, wallMs() - last_);
    }

private:
    QTimer timer_;
    double last_ = 0, worst_ = 0;
};

struct Row {
    std::string figure;
    std::string value;
    std::string goal;
    bool met;
};
std::vector<Row> rows;

std::string fmt(const char* f, double a, double b = 0, double c = 0) {
    char buf[160];
    std::snprintf(buf, sizeof buf, f, a, b, c);
    return buf;
}

void report(const std::string& figure, const std::string& value, const std::string& goal, bool met) {
    rows.push_back({figure, value, goal, met});
    std::printf("%-54s %-42s %-24s %s\n", figure.c_str(), value.c_str(), goal.c_str(), met ? "met" : "NOT MET");
    std::fflush(stdout);
}

void serveEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class Bench {
public:
    Bench() {
        sim.setPaced(true);
        if (!sim.start()) {
            std::fprintf(stderr, "The station simulator did not start.\n");
            std::exit(1);
        }
        ::setenv("TALVO_COM1", sim.devicePath().c_str(), 1);
        services = std::make_unique<platform::ScopedServices>(
            platform::Services{&port, &pump, &clock, &boxes, nullptr, nullptr});
        screens::RegisterCardScreens();
        window = std::make_unique<shell::frmTalvo>();
        window->show();
    }
    ~Bench() {
        window.reset();
        port.close();
        sim.stop();
    }

    bool connectAndUpload() {
        platform::setModalHandler([](QDialog& d) {
            auto& dlg = dynamic_cast<shell::frmComPort&>(d);
            dlg.portList()->setCurrentIndex(0);
            dlg.findChild<QPushButton*>("CmdOK")->click();
            return d.result();
        });
        window->findChild<QAction*>("mnuConnectConnect")->trigger();
        platform::setModalHandler({});
        if (!G().Connected) return false;
        button("CmdUpload")->click();
        return G().Connected && boxes.shown == 0;
    }

    void readPaced() {
        const int reads = 20;
        // The communication card answers its version, "1.00".
        WriteItem(3, "00", "01", "F");
        WriteItem(3, "00", "41", "0");
        const std::size_t bytes0 = port.sent + port.received;
        const double t0 = wallMs();
        int ok = 0;
        for (int i = 0; i < reads; ++i) ok += ReadItem(3, "00", "40") == "1.00";
        const double each = (wallMs() - t0) / reads;
        const double wire = static_cast<double>(port.sent + port.received - bytes0) * kMsPerByte / reads;
        report("Read 00/40, paced (20 reads" + std::string(ok == reads ? ")" : ", SOME FAILED)"),
               fmt("%.2f ms = %.1f %% of wire %.2f ms", each, 100.0 * each / wire, wire), "<= 110 % of wire time",
               ok == reads && each <= 1.10 * wire);
    }

    // Runs monitoring by its Start button until `passes` whole passes are done;
    // each pass begins when slot 1 is selected.
    struct Pass {
        double ms, cpuMs, wireMs;
    };
    std::vector<Pass> monitor(int passes, StallProbe* probe, double* stall) {
        port.log.clear();
        std::vector<std::size_t> starts;
        bool stopAsked = false;
        port.onFrame = [&] {
            const auto& log = port.log;
            const std::size_t n = log.size();
            if (n < 2 || log[n - 1].frame != "D1\r" || log[n - 2].frame != "I41\r") return;
            starts.push_back(n - 1);
            if (static_cast<int>(starts.size()) > passes && !stopAsked) {
                stopAsked = true;
                QTimer::singleShot(0, [this] { button("cmdStop")->click(); });
            }
        };
        if (probe) probe->start();
        const long w0 = threadWakeUps();
        const std::size_t r0 = port.received;
        button("cmdStart")->click();  // returns when Stop has ended the loop
        wakeUpsPerByte = static_cast<double>(threadWakeUps() - w0) / static_cast<double>(std::max<std::size_t>(1, port.received - r0));
        if (probe) *stall = probe->stop();
        port.onFrame = nullptr;
        std::vector<Pass> out;
        for (std::size_t k = 0; k + 1 < starts.size() && static_cast<int>(k) < passes; ++k) {
            const auto& a = port.log[starts[k]];
            const auto& b = port.log[starts[k + 1]];
            out.push_back({b.atMs - a.atMs, b.cpuMs - a.cpuMs, static_cast<double>(b.bytesBefore - a.bytesBefore) * kMsPerByte});
        }
        return out;
    }

    void monitoring() {
        const std::vector<Pass> passes = monitor(3, nullptr, nullptr);
        if (passes.empty() || !G().Connected) {
            report("Monitoring pass, 16 slots, paced", "no whole pass ran", "<= 110 % of wire time", false);
            return;
        }
        double ms = 0, cpu = 0, wire = 0;
        for (const Pass& p : passes) {
            ms += p.ms;
            cpu += p.cpuMs;
            wire += p.wireMs;
        }
        const double n = static_cast<double>(passes.size());
        report("Monitoring pass, 16 slots, paced (" + std::to_string(passes.size()) + " passes)",
               fmt("%.0f ms = %.1f %% of wire %.0f ms", ms / n, 100.0 * ms / wire, wire / n), "<= 110 % of wire time",
               ms <= 1.10 * wire);
        report("Processor while monitoring",
               fmt("%.2f %% of one core (%.2f wake-ups a byte in)", 100.0 * cpu / ms, wakeUpsPerByte),
               "< 3 % of one core", 100.0 * cpu / ms < 3.0);

        StallProbe probe;
        double stall = 0;
        const std::vector<Pass> probed = monitor(2, &probe, &stall);
        report("Longest event-loop stall, monitoring pass", fmt("%.1f ms", stall), "< 50 ms",
               !probed.empty() && stall < 50.0);
    }

    void silentLine() {
        k6sim::Fault f;
        f.frame = "I40";
        f.action = k6sim::FaultAction::Silence;
        sim.addFault(f);
        const double w0 = wallMs(), c0 = threadCpuMs();
        const std::string r = TransactTrim("I40\r");
        const double wall = wallMs() - w0, cpu = threadCpuMs() - c0;
        sim.clearFaults();
        report("Processor while an exchange waits, silent line",
               fmt("%.3f %% of one core over %.0f ms", 100.0 * cpu / wall, wall), "< 1 % of one core",
               r.empty() && 100.0 * cpu / wall < 1.0);
        // The next exchange first lets the line fall quiet; have that done here.
        ReadItem(3, "00", "40");
    }

    void liveRead(int slot, const char* what) {
        window->findChild<QComboBox*>("cboCardNo")->setCurrentIndex(slot);
        serveEventsFor(1500);  // the opener and the first cycles
        const std::size_t frames0 = sim.frames().size();
        StallProbe probe;
        probe.start();
        serveEventsFor(4000);
        const double stall = probe.stop();
        const std::size_t frames = sim.frames().size() - frames0;
        report(std::string("Longest event-loop stall, live read ") + what,
               fmt("%.1f ms (%.0f frames in 4 s)", stall, static_cast<double>(frames)), "< 50 ms",
               frames > 0 && stall < 50.0);
        window->findChild<QComboBox*>("cboCardNo")->setCurrentIndex(0);
        serveEventsFor(800);
    }

    // Runs the figures named in `only` (read, monitoring, silent, live, gbh, hart), or all.
    int run(const std::vector<std::string>& only) {
        auto wanted = [&](const char* name) {
            return only.empty() || std::find(only.begin(), only.end(), name) != only.end();
        };
        std::printf("TALVO benchmark: main window and card screens on the offscreen platform,\n"
                    "station simulator paced at 9600 bit/s (%.3f ms a byte).\n\n",
                    kMsPerByte);
        std::printf("%-54s %-42s %-24s %s\n", "figure", "measured", "goal", "");
        if (!connectAndUpload()) {
            std::printf("Connect and upload through the main window failed.\n");
            return 1;
        }
        if (wanted("read")) readPaced();
        if (wanted("monitoring")) monitoring();
        if (wanted("silent")) silentLine();
        if (wanted("live")) {
            liveRead(5, "HG8 (slot 5)");
            liveRead(3, "BW16 box by box (slot 3)");
        }
        if (wanted("gbh"))
            bench::benchPowerMonitor({.cardList = window->findChild<QComboBox*>("cboCardNo"), .slot = 16,
                                      .lineBytes = [this] { return port.sent + port.received; }, .report = report});
        if (wanted("hart"))
            bench::benchHartBlocks({.stationFile = K6SIM_STATIONS_DIR "/universal.k6", .report = report});
        const auto met = std::count_if(rows.begin(), rows.end(), [](const Row& r) { return r.met; });
        std::printf("\n%d of %d goals met.\n", static_cast<int>(met), static_cast<int>(rows.size()));
        return 0;
    }

private:
    QPushButton* button(const char* name) const { return window->findChild<QPushButton*>(name); }

    double wakeUpsPerByte = 0;  // of the last monitoring run: the thread's sleeps per byte received

    k6sim::Simulator sim;
    CountingPort port;
    platform::QtEventPump pump;
    platform::SteadyClock clock;
    PrintedBoxes boxes;
    std::unique_ptr<platform::ScopedServices> services;
    std::unique_ptr<shell::frmTalvo> window;
};

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const std::vector<std::string> only(argv + 1, argv + argc);
    int rc = 1;
    QTimer::singleShot(0, [&] {
        {
            Bench bench;
            rc = bench.run(only);
        }
        QApplication::exit(rc);
    });
    QApplication::exec();
    return rc;
}
