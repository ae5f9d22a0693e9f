#pragma once
// The HART block transfer's figures: a whole channel's five blocks uploaded and
// downloaded chunk by chunk on the paced line, against their wire time.
#include <functional>
#include <string>

namespace talvo::bench {

struct HartBench {
    std::string stationFile;  // a station with the HART input card in slot 4
    std::function<void(const std::string& figure, const std::string& value, const std::string& goal, bool met)>
        report;
};

void benchHartBlocks(const HartBench& b);

}  // namespace talvo::bench
