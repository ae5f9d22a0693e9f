#include "bench/bench_power_monitor.h"

#include <QComboBox>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "core/Globals.h"
#include "core/Protocol.h"
#include "screens/power/frmGBH.h"
#include "shell/ChildForms.h"

namespace talvo::bench {

namespace {

constexpr double kMsPerByte = 10.0 * 1000.0 / 9600.0;  // 8N1

double clockMs(clockid_t id) {
    timespec ts{};
    clock_gettime(id, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}
double wallMs() { return clockMs(CLOCK_MONOTONIC); }
double cpuMs() { return clockMs(CLOCK_THREAD_CPUTIME_ID); }

std::string fmt(const char* f, double a, double b = 0, double c = 0) {
    char buf[160];
    std::snprintf(buf, sizeof buf, f, a, b, c);
    return buf;
}

void serveEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs `work` from the event loop and gives the longest gap between the ticks
// of a timer that asks to run every 5 ms meanwhile.
double longestStall(const std::function<void()>& work) {
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(5);
    double last = wallMs(), worst = 0;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const double t = wallMs();
        worst = std::max(worst, t - last);
        last = t;
    });
    bool done = false;
    probe.start();
    QTimer::singleShot(0, [&] {
        work();
        done = true;
    });
    while (!done) serveEventsFor(5);
    worst = std::max(worst, wallMs() - last);
    probe.stop();
    return worst;
}

// A record as a settings file or an earlier upload leaves it: 16 bindings and
// every card-wide setting.
void fillRecord(int slot) {
    CardRecord* rec = G().CardRecords.get(slot);
    if (!rec) return;
    const char* bindings[] = {"40001;2;1;0", "40003;2;1;0", "40005;2;1;1", "40011;2;1;0",
                              "40013;2;1;0", "40129;2;1;2", "41537;1;1;0", "41538;1;1;3",
                              "41539;1;1;0", "41540;1;1;0"};
    for (int i = 0; i < 16; ++i) rec->Param.set(i + 1, i < 10 ? bindings[i] : "0;0;0;0");
    const char* settings[] = {"4", "6600", "110", "100", "0", "-1", "-1", "10", "0.5",
                              "-1", "-1", "0", "-1", "0", "1", "0", "15", "30"};
    for (int p = 17; p <= 34; ++p) rec->Param.set(p, settings[p - 17]);
}

}  // namespace

void benchPowerMonitor(const PowerMonitorBench& b) {
    fillRecord(b.slot);

    // The first opening builds the screen and its lists; the second finds them built.
    for (const char* which : {"first", "again"}) {
        b.cardList->setCurrentIndex(0);
        serveEventsFor(300);
        double cpu = 0;
        const double stall = longestStall([&] {
            const double c0 = cpuMs();
            b.cardList->setCurrentIndex(b.slot);  // the opener runs whole, its first live read too
            cpu = cpuMs() - c0;
        });
        b.report(std::string("Power monitor opened (") + which + "), processor", fmt("%.1f ms", cpu), "< 100 ms",
                 cpu < 100.0);
        b.report(std::string("Power monitor opened (") + which + "), longest stall", fmt("%.1f ms", stall),
                 "<= 50 ms", stall <= 50.0);
    }

    auto* screen = dynamic_cast<screens::frmGBH*>(shell::childForms().screen(G().CurFormType));
    if (!screen) {
        b.report("Power monitor live read, paced", "the screen did not open", "<= 110 % of wire time", false);
        return;
    }
    // The cycle held, one live read on its own.
    while (screen->busy() || ExchangeWaiting()) serveEventsFor(5);
    screen->waitForTimer().stop();
    const std::size_t bytes0 = b.lineBytes();
    const double t0 = wallMs(), c0 = cpuMs();
    screen->procCycDataRead();
    const double ms = wallMs() - t0, cpu = cpuMs() - c0;
    const double wire = static_cast<double>(b.lineBytes() - bytes0) * kMsPerByte;
    const bool read = G().Connected && wire > 0;
    std::fprintf(stderr, "power monitor live read: processor %.1f ms\n", cpu);
    b.report("Power monitor live read, 16 rows, paced",
             fmt("%.0f ms = %.1f %% of wire %.0f ms", ms, read ? 100.0 * ms / wire : 0, wire),
             "<= 110 % of wire time", read && ms <= 1.10 * wire);
    screen->waitForTimer().start(10);
    b.cardList->setCurrentIndex(0);
    serveEventsFor(800);
}

}  // namespace talvo::bench
