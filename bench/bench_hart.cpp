#include "bench/bench_hart.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "core/Protocol.h"
#include "platform/Services.h"
#include "platform/qt/QtSerialPort.h"
#include "screens/universal_in/HartBlocks.h"
#include "sim/Simulator.h"

namespace talvo::bench {

namespace {

constexpr double kMsPerByte = 10.0 * 1000.0 / 9600.0;  // 8N1
constexpr int kHartPort = 2;                           // a line of its own, beside the main window's COM1
constexpr int kHartSlot = 4;

double wallMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

std::string fmt(const char* f, double a, double b = 0, double c = 0) {
    char buf[160];
    std::snprintf(buf, sizeof buf, f, a, b, c);
    return buf;
}

class CountingPort : public platform::QtSerialPort {
public:
    bool write(const std::string& b) override {
        bytes += b.size();
        return QtSerialPort::write(b);
    }
    std::string readAll() override {
        std::string s = QtSerialPort::readAll();
        bytes += s.size();
        return s;
    }
    std::size_t bytes = 0;
};

std::string hexText(int n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (int i = 0; i < n; ++i) s += digits[(i * 5 + i / 16) % 16];
    return s;
}

}  // namespace

void benchHartBlocks(const HartBench& b) {
    const char* figureUp = "HART blocks of one channel, upload, paced";
    const char* figureDown = "HART blocks of one channel, download, paced";
    k6sim::Station station;
    std::string error;
    if (!k6sim::loadStation(b.stationFile, station, error)) {
        b.report(figureUp, "station file: " + error, "<= 110 % of wire time", false);
        return;
    }
    k6sim::Simulator sim(station);
    sim.setPaced(true);
    if (!sim.start()) {
        b.report(figureUp, "the simulator did not start", "<= 110 % of wire time", false);
        return;
    }
    const std::string env = "TALVO_COM" + std::to_string(kHartPort);
    ::setenv(env.c_str(), sim.devicePath().c_str(), 1);
    CountingPort port;
    platform::Services s = platform::services();
    s.serial = &port;
    const platform::ScopedServices scope(s);
    if (!port.open(kHartPort, "9600,n,8,1") || WriteItem(3, "00", "41", std::to_string(kHartSlot)).empty()) {
        b.report(figureUp, "the HART card could not be selected", "<= 110 % of wire time", false);
        return;
    }

    using screens::hart::kBlocks;
    // Download first, so that the upload reads full blocks.
    std::size_t bytes0 = port.bytes;
    double t0 = wallMs();
    bool ok = true;
    for (const auto& block : kBlocks) ok = screens::hart::WriteHartBlock(block, "1", hexText(block.size())) && ok;
    double ms = wallMs() - t0;
    double wire = static_cast<double>(port.bytes - bytes0) * kMsPerByte;
    b.report(figureDown, fmt("%.0f ms = %.1f %% of wire %.0f ms", ms, 100.0 * ms / wire, wire),
             "<= 110 % of wire time", ok && ms <= 1.10 * wire);

    bytes0 = port.bytes;
    t0 = wallMs();
    for (const auto& block : kBlocks) {
        const auto read = screens::hart::ReadHartBlock(block, "1");
        ok = read.outcome == screens::hart::BlockOutcome::Read && read.text == hexText(block.size()) && ok;
    }
    ms = wallMs() - t0;
    wire = static_cast<double>(port.bytes - bytes0) * kMsPerByte;
    b.report(figureUp, fmt("%.0f ms = %.1f %% of wire %.0f ms", ms, 100.0 * ms / wire, wire),
             "<= 110 % of wire time", ok && ms <= 1.10 * wire);
    port.close();
    sim.stop();
}

}  // namespace talvo::bench
