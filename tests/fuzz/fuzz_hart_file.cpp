// Any bytes given to the HART channel settings file reader must give the ten
// values, a refusal or an error, never a crash; and values it accepts must save
// and read back unchanged. At exit it prints how many inputs the reader
// accepted, so a run whose inputs never reach the read-back shows (./test fails on 0).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/fuzz/AcceptedInputs.h"

#include "screens/universal_in/HartChannel.h"

using namespace talvo::screens::hart;


extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    talvo::fuzzing::ReportAcceptedAtExit("HART file reader");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ++talvo::fuzzing::inputs;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Channel read;
    read.fill("untouched");
    std::string error;
    const FileRead result = ParseHartFile(bytes, read, error);
    if (result != FileRead::Read) {
        // Nothing taken from a file that does not pass; a damaged one says why.
        for (const std::string& v : read)
            if (v != "untouched") std::abort();
        if (result == FileRead::Damaged && error.empty()) std::abort();
        return 0;
    }
    ++talvo::fuzzing::accepted;
    if (!FindUnsavableValue(read).empty()) std::abort();
    Channel again;
    if (ParseHartFile(FormatHartFile(read), again, error) != FileRead::Read || again != read) std::abort();
    return 0;
}
