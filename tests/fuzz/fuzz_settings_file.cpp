// Any bytes given to the settings-file reader must give records or an error,
// never a crash; and records it accepts must save and read back unchanged.
// At exit it prints how many inputs the reader accepted, so a run whose inputs
// never reach the save and read-back checks shows (./test fails on 0).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/fuzz/AcceptedInputs.h"

#include "core/SettingsFormat.h"

using namespace talvo;


extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    talvo::fuzzing::ReportAcceptedAtExit("Settings reader");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ++talvo::fuzzing::inputs;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    SettingsRecords first;
    std::string error;
    if (!ParseSettingsFile(bytes, first, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    ++talvo::fuzzing::accepted;

    CardRecordTable table;
    for (int n = 1; n <= CardRecordTable::kCount; ++n) {
        const CardRecord& read = first[static_cast<std::size_t>(n - 1)];
        CardRecord widened = read;
        if (WidenSixteenChannelLayout(widened) && (widened.Param[3] != "0.00" || widened.Param[64] != "1.0000"))
            std::abort();
        // The first field is read into FileType but written from CardType.
        CardRecord& r = *table.get(n);
        r = read;
        r.CardType = read.FileType;
    }
    if (!FindUnsavableField(table).empty()) std::abort();

    SettingsRecords second;
    if (!ParseSettingsFile(FormatSettingsFile(table), second, error)) std::abort();
    for (std::size_t i = 0; i < second.size(); ++i)
        if (!(second[i] == first[i])) std::abort();
    return 0;
}
