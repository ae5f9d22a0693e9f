// Any bytes given to the gateway settings-file reader must give its values or
// an error, never a crash; values it accepts must save and read back the same.
// At exit it prints how many inputs the reader accepted (./test fails on 0).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/fuzz/AcceptedInputs.h"

#include "screens/network/GatewayFile.h"

using namespace talvo::gateway;


extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    talvo::fuzzing::ReportAcceptedAtExit("Gateway file reader");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ++talvo::fuzzing::inputs;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    QfoFile first;
    std::string error;
    if (!ParseQfo(bytes, first, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    ++talvo::fuzzing::accepted;
    // What the reader takes the writer can carry, and it reads back the same.
    if (!UnsavableQfo(first).empty()) std::abort();
    const std::string saved = FormatQfo(first);
    QfoFile second;
    if (!ParseQfo(saved, second, error)) std::abort();
    if (FormatQfo(second) != saved) std::abort();
    return 0;
}
