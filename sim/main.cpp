// k6sim: the K6 station on a pseudo-terminal, for trying the program by hand.
// Prints the terminal's path as its first line, then serves until SIGINT or SIGTERM.
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <string>

#include "sim/Simulator.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: k6sim [--station FILE] [--device PATH] [--paced] [--log]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string stationFile, device;
    bool paced = false, log = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--station" && i + 1 < argc)
            stationFile = argv[++i];
        else if (a == "--device" && i + 1 < argc)
            device = argv[++i];
        else if (a == "--paced")
            paced = true;
        else if (a == "--log")
            log = true;
        else
            return usage();
    }

    k6sim::Station station = k6sim::defaultStation();
    std::string error;
    if (!stationFile.empty() && !k6sim::loadStation(stationFile, station, error)) {
        std::fprintf(stderr, "k6sim: %s: %s\n", stationFile.c_str(), error.c_str());
        return 2;
    }

    // Block the stop signals before the simulator's thread starts, so that it
    // inherits the mask and only the wait below takes them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    k6sim::Simulator sim(station);
    sim.setPaced(paced);
    if (!sim.start(device)) {
        std::fprintf(stderr, "k6sim: cannot open %s\n", device.empty() ? "a pseudo-terminal" : device.c_str());
        return 1;
    }
    std::printf("%s\n", sim.devicePath().c_str());
    std::fflush(stdout);

    const timespec slice{0, 50'000'000};
    for (bool stopping = false; !stopping;) {
        stopping = sigtimedwait(&stopSignals, nullptr, &slice) >= 0;
        // Taking the records keeps a long run from piling them up.
        for (const k6sim::FrameRecord& r : sim.takeRecords())
            if (log) std::fprintf(stderr, "%.*s\n", static_cast<int>(r.frame.size()), r.frame.data());
    }
    sim.stop();
    return 0;
}
