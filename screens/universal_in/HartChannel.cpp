#include "screens/universal_in/HartChannel.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "core/SettingsFormat.h"
#include "core/TextHelpers.h"

namespace talvo::screens::hart {

namespace {

enum class Kind { Number, Mode, Block };

struct Rule {
    Kind kind;
    const char* name;
    const char* item = "";
    // Number: the values that pass (and 0 where zeroToo).
    long min = 0;
    long max = 0;
    bool zeroToo = false;
    const char* rangeMessage = "";
    // Block: at most maxLength characters, a multiple of `multiple`, padded with `pad`.
    std::size_t maxLength = 0;
    std::size_t multiple = 1;
    const char* pad = "";
    const char* lengthMessage = "";
    const char* multipleMessage = "";
};

constexpr const char* kEven = "Please enter even characters";
constexpr const char* k4N = "Please enter 4N characters";

const Rule kRules[kFieldCount] = {
    {.kind = Kind::Number, .name = "Polling Address", .item = "30", .min = 0, .max = 255,
     .rangeMessage = "Please enter 0 - 255"},
    {.kind = Kind::Number, .name = "CYCL_HIGH", .item = "31", .min = 0, .max = 59,
     .rangeMessage = "Please enter 0 - 59"},
    {.kind = Kind::Number, .name = "CYCL_LOW", .item = "32", .min = 6, .max = 36, .zeroToo = true,
     .rangeMessage = "Please enter 0 or 6 - 36"},
    {.kind = Kind::Number, .name = "Retry", .item = "33", .min = 0, .max = 16, .rangeMessage = "Please enter 0 - 16"},
    {.kind = Kind::Mode, .name = "Master Mode", .item = "34"},
    {.kind = Kind::Block, .name = "Device Variable Codes", .maxLength = 32, .multiple = 2, .pad = "FA",
     .lengthMessage = "Please enter 0 - 32 characters", .multipleMessage = kEven},
    {.kind = Kind::Block, .name = "Analog Channel Codes", .maxLength = 8, .multiple = 2, .pad = "FA",
     .lengthMessage = "Please enter 0 - 8 characters", .multipleMessage = kEven},
    {.kind = Kind::Block, .name = "Auto Command", .maxLength = 184, .multiple = 4, .pad = "0000",
     .lengthMessage = "Please enter 0 - 184 characters", .multipleMessage = k4N},
    {.kind = Kind::Block, .name = "Device Specific Auto Command", .maxLength = 512, .multiple = 4, .pad = "0000",
     .lengthMessage = "Please enter 0 - 512 characters", .multipleMessage = k4N},
    {.kind = Kind::Block, .name = "Constant Data", .maxLength = 256, .multiple = 2, .pad = "00",
     .lengthMessage = "Please enter 0 - 256 characters", .multipleMessage = kEven},
};

const Rule& ruleOf(Field f) { return kRules[f >= 0 && f < kFieldCount ? f : 0]; }

bool isUpperHex(char c) { return UpperHexDigitOf(c) >= 0; }

// A number field's text passes when it is digits only and a value of the
// field: more digits than any value has is out of range, not an overflow.
bool numberPasses(const Rule& r, const std::string& text) {
    const auto v = DigitsValue(text, 9);
    return v && ((*v >= r.min && *v <= r.max) || (r.zeroToo && *v == 0));
}

const char* blockFault(const Rule& r, const std::string& text) {
    if (text.size() > r.maxLength) return r.lengthMessage;
    if (text.size() % r.multiple != 0) return r.multipleMessage;
    return nullptr;
}

CheckResult failed(const char* message) { return {.ok = false, .store = false, .text = {}, .message = message}; }

}  // namespace

const char* FieldName(Field f) { return ruleOf(f).name; }
const char* FieldItem(Field f) { return ruleOf(f).item; }

std::string MasterModeOfValue(const std::string& value) {
    if (value == "0") return kPrimary;
    if (value == "1") return kSecondary;
    return "";
}

std::string ValueOfMasterMode(const std::string& name) {
    if (name == kPrimary) return "0";
    if (name == kSecondary) return "1";
    return "";
}

CheckResult CheckField(Field f, const std::string& text) {
    const Rule& r = ruleOf(f);
    switch (r.kind) {
        case Kind::Number:
            if (text.empty()) return {.ok = true, .store = false, .text = text, .message = {}};
            if (!numberPasses(r, text)) return failed(r.rangeMessage);
            return {.ok = true, .store = true, .text = text, .message = {}};
        case Kind::Mode:
            return {.ok = true, .store = true, .text = text, .message = {}};
        case Kind::Block: {
            if (const char* fault = blockFault(r, text)) return failed(fault);
            std::string padded = text;
            while (padded.size() < r.maxLength) padded += r.pad;
            return {.ok = true, .store = true, .text = padded, .message = {}};
        }
    }
    return failed("");
}

std::string FormatHartFile(const Channel& values) {
    return FormatValueFile(kFileTag, std::vector<std::string>(values.begin(), values.end()));
}

std::string FindUnsavableValue(const Channel& values) {
    for (int f = 0; f < kFieldCount; ++f) {
        const std::string why = UnquotableReason(values[static_cast<std::size_t>(f)]);
        if (!why.empty()) return FieldName(static_cast<Field>(f)) + why;
    }
    return "";
}

namespace {

bool isTagZero(const std::string& tag) {
    std::string digits = tag;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.erase(0, 1);
    return !digits.empty() && digits.find_first_not_of('0') == std::string::npos;
}

// A value the dialog's table could hold, as the file gives it (not padded).
bool valueFits(Field f, const std::string& v) {
    const Rule& r = ruleOf(f);
    switch (r.kind) {
        case Kind::Number: return v.empty() || numberPasses(r, v);
        // The list takes typed text, and the table keeps it: any text is read back
        // as it was saved (a download sends nothing for a name that is no entry).
        case Kind::Mode: return true;
        case Kind::Block: return blockFault(r, v) == nullptr && std::all_of(v.begin(), v.end(), isUpperHex);
    }
    return false;
}

}  // namespace

FileRead ParseHartFile(const std::string& bytes, Channel& out, std::string& error) {
    std::string tag;
    std::vector<std::string> values;
    if (!ParseValueFile(bytes, tag, values, error, {.maxValues = static_cast<std::size_t>(kFieldCount)})) return FileRead::Damaged;
    if (values.size() < static_cast<std::size_t>(kFieldCount)) {
        error = "The file has " + std::to_string(values.size() + 1) + (values.empty() ? " line" : " lines") +
                "; expected " + std::to_string(kFieldCount + 1) + ".";
        return FileRead::Damaged;
    }
    if (!isTagZero(tag)) return FileRead::Refused;
    Channel read;
    for (int f = 0; f < kFieldCount; ++f) {
        const std::string& v = values[static_cast<std::size_t>(f)];
        if (!valueFits(static_cast<Field>(f), v)) return FileRead::Refused;
        read[static_cast<std::size_t>(f)] = v;
    }
    out = read;
    return FileRead::Read;
}

}  // namespace talvo::screens::hart
