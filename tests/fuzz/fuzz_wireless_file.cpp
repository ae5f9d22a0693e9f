// Any bytes given to the wireless settings-file reader must give the
// controls or an error, never a crash, for every model; a file it accepts must
// save and read back the same, with the same settings holding a value (what
// holds none is saved empty and read back as none). The key decoder gets the
// raw bytes as well.
// At exit it prints how many inputs the reader accepted (./test fails on 0).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/SettingsFormat.h"
#include "tests/fuzz/AcceptedInputs.h"
#include "screens/wireless/WirelessFile.h"

using namespace talvo;
using namespace talvo::wireless;

namespace {
struct Dialog {
    WirelessModel model;
    int level;
    int fileFormatCode;
};
const Dialog kDialogs[] = {{WirelessModel::OXF, 2, 4}, {WirelessModel::OXF, 0, 2}, {WirelessModel::OXF1F, 0, 0},
                           {WirelessModel::OG, 1, 2},  {WirelessModel::OG, 0, 0}};
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    fuzzing::ReportAcceptedAtExit("Wireless file reader");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ++fuzzing::inputs;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // The key scramble: no crash on any text, and a decoded key encodes back.
    if (const auto decoded = DecodeKey(bytes)) {
        const auto again = EncodeKey(*decoded);
        if (!again || *again != bytes.substr(0, 32)) std::abort();
    }
    std::string codeLine, error;
    std::vector<std::string> records;
    if (!ParseValueFile(bytes, codeLine, records, error, {.maxFieldChars = kMaxSettingsFieldChars})) return 0;
    bool any = false;
    for (const Dialog& d : kDialogs) {
        FirmwareSetup setup;
        setup.FirmwareLevel = d.level;
        setup.FileFormatCode = d.fileFormatCode;
        WirelessControls controls = InitialControls(d.model, setup);
        const WirelessControls before = controls;
        std::vector<FileValue> loaded;
        const FileReadResult r =
            ReadFileRecords(d.model, d.level, d.fileFormatCode, codeLine, records, controls, loaded, error);
        if (r != FileReadResult::Read) {
            // A refused or damaged file changes nothing.
            if (controls != before || !loaded.empty()) std::abort();
            continue;
        }
        any = true;
        // Saved under the file's own code and read again: the same controls.
        const auto code = ParseFileCode(codeLine);
        if (!code) std::abort();
        // What the file gave a value holds one; nothing else does (the set-up's defaults).
        const HoldsValue holds = [&loaded](WControl c, int ch) {
            for (const FileValue& v : loaded)
                if (v.control == c && v.channel == ch) return v.hasValue;
            return false;
        };
        std::vector<std::string> saved;
        if (!BuildFileRecords(d.model, *code, controls, holds, saved, error)) std::abort();
        std::string savedCode;
        std::vector<std::string> savedRecords;
        if (!ParseValueFile(FormatValueFile(std::to_string(*code), saved), savedCode, savedRecords, error,
                            {.maxFieldChars = kMaxSettingsFieldChars}))
            continue;  // a value the file cannot carry: Save refuses it before writing
        WirelessControls again = InitialControls(d.model, setup);
        std::vector<FileValue> loadedAgain;
        if (ReadFileRecords(d.model, d.level, std::max(d.fileFormatCode, *code), savedCode, savedRecords, again,
                            loadedAgain, error) != FileReadResult::Read)
            std::abort();
        // A text that held no value (blanks only) comes back empty.
        WirelessControls expected = controls;
        for (const FileValue& v : loaded)
            if (!v.hasValue && v.control != WControl::wirPassword &&
                Info(v.control).kind == ControlKind::Text)
                expected.Text(v.control, v.channel).clear();
        if (*code <= d.fileFormatCode && (again != expected || loadedAgain != loaded)) std::abort();
    }
    if (any) ++fuzzing::accepted;
    return 0;
}
