#pragma once
// The power-monitor screen's figures: opening it for a slot (16 lists of 472
// items, the bindings laid out, the card-wide settings filled) and one live read
// of its 16 channels on the paced line.
#include <cstddef>
#include <functional>
#include <string>

class QComboBox;

namespace talvo::bench {

struct PowerMonitorBench {
    QComboBox* cardList = nullptr;  // the main window's, connected and uploaded
    int slot = 0;                   // a slot that holds a power monitor
    std::function<std::size_t()> lineBytes;  // bytes that crossed the line so far, both ways
    std::function<void(const std::string& figure, const std::string& value, const std::string& goal, bool met)>
        report;
};

void benchPowerMonitor(const PowerMonitorBench& b);

}  // namespace talvo::bench
