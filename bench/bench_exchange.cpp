// Measures one read and one monitoring pass against the simulator, unpaced and
// paced at 9600 bit/s, beside the time the same bytes need on the wire, and the
// processor time the program's thread spends while it waits.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "core/CardList.h"
#include "core/Connection.h"
#include "core/Globals.h"
#include "core/Protocol.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtServices.h"
#include "sim/Simulator.h"

using namespace talvo;

namespace {

constexpr double kMsPerByte = 10.0 * 1000.0 / 9600.0;  // 8N1: ten bits a byte

// Counts the bytes that cross the line in both directions.
class CountingPort : public platform::QtSerialPort {
public:
    bool write(const std::string& b) override {
        sent += b.size();
        return QtSerialPort::write(b);
    }
    std::string readAll() override {
        std::string s = QtSerialPort::readAll();
        received += s.size();
        return s;
    }
    std::size_t sent = 0, received = 0;
};

double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

double wallMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

struct Bench {
    explicit Bench(bool paced) {
        sim.setPaced(paced);
        sim.start();
        ::setenv("TALVO_COM1", sim.devicePath().c_str(), 1);
        scope = std::make_unique<platform::ScopedServices>(
            platform::Services{&port, &pump, &clock, nullptr, nullptr, nullptr});
        port.open(1, "9600,n,8,1");
    }
    ~Bench() {
        port.close();
        sim.stop();
    }
    k6sim::Simulator sim;
    CountingPort port;
    platform::QtEventPump pump;
    platform::SteadyClock clock;
    std::unique_ptr<platform::ScopedServices> scope;
};

// Runs `work` per iteration and reports wall time, wire-time bound, their ratio
// and the share of one core the program's thread used.
template <typename Work>
void measure(benchmark::State& state, Bench& b, Work work) {
    double wall = 0, cpu = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::size_t before = b.port.sent + b.port.received;
        const double w0 = wallMs(), c0 = threadCpuMs();
        work();
        const double w = wallMs() - w0;
        wall += w;
        cpu += threadCpuMs() - c0;
        bytes += b.port.sent + b.port.received - before;
        state.SetIterationTime(w / 1000.0);
    }
    const double n = static_cast<double>(state.iterations());
    const double wire = static_cast<double>(bytes) * kMsPerByte / n;
    state.counters["ms"] = wall / n;
    state.counters["wire_ms"] = wire;
    state.counters["ratio"] = (wall / n) / wire;
    state.counters["cpu_pct"] = 100.0 * cpu / wall;
}

void BM_ReadItem(benchmark::State& state) {
    Bench b(state.range(0) != 0);
    measure(state, b, [] { benchmark::DoNotOptimize(ReadItem(3, "00", "40")); });
}
BENCHMARK(BM_ReadItem)->Arg(0)->Arg(1)->ArgName("paced")->UseManualTime()->Unit(benchmark::kMillisecond);

// One exchange on a silent line waits its full time-out; the thread should sleep through it.
void BM_SilentLineWait(benchmark::State& state) {
    Bench b(false);
    k6sim::Fault f;
    f.frame = "I40";
    f.action = k6sim::FaultAction::Silence;
    b.sim.addFault(f);
    double wall = 0, cpu = 0;
    for (auto _ : state) {
        const double w0 = wallMs(), c0 = threadCpuMs();
        benchmark::DoNotOptimize(TransactTrim("I40\r"));
        wall += wallMs() - w0;
        cpu += threadCpuMs() - c0;
        state.SetIterationTime((wallMs() - w0) / 1000.0);
    }
    state.counters["cpu_pct"] = 100.0 * cpu / wall;
}
BENCHMARK(BM_SilentLineWait)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// One monitoring pass over the full default station.
void BM_MonitoringPass(benchmark::State& state) {
    Bench b(state.range(0) != 0);
    G() = Globals{};
    ConnectDevice();
    UploadCardList();
    measure(state, b, [] { benchmark::DoNotOptimize(ReadAllCardsCycData()); });
}
BENCHMARK(BM_MonitoringPass)->Arg(0)->Arg(1)->ArgName("paced")->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
