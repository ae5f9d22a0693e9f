#include "screens/universal_in/YK4Tables.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

#include "core/TextHelpers.h"

namespace talvo::screens::yk4 {
namespace {

// Voltage ranges, thermocouples, resistance thermometers and potentiometers,
// in list order. There is no code 8 to 15, 29 to 47 or 49 to 52, so the list
// position is not the code.
constexpr std::array<InputType, 34> kPlainTypes{{
    {.name = "-12 to 12V", .code = 0, .sent = "00"},
    {.name = "- 6 to  6V", .code = 1, .sent = "01"},
    {.name = "- 3 to  3V", .code = 2, .sent = "02"},
    {.name = "-1000 to 1000mV", .code = 3, .sent = "03"},
    {.name = "-500 to 500mV", .code = 4, .sent = "04"},
    {.name = "-250 to 250mV", .code = 5, .sent = "05"},
    {.name = "-125 to 125mV", .code = 6, .sent = "06"},
    {.name = "-60 to 60mV", .code = 7, .sent = "07"},
    {.name = "(PR)", .code = 16, .sent = "10"},
    {.name = "K(CA)", .code = 17, .sent = "11"},
    {.name = "E(CRC)", .code = 18, .sent = "12"},
    {.name = "J(IC)", .code = 19, .sent = "13"},
    {.name = "T(CC)", .code = 20, .sent = "14"},
    {.name = "B(RH)", .code = 21, .sent = "15"},
    {.name = "R", .code = 22, .sent = "16"},
    {.name = "S", .code = 23, .sent = "17"},
    {.name = "C(WRe 5-26)", .code = 24, .sent = "18"},
    {.name = "N", .code = 25, .sent = "19"},
    {.name = "U", .code = 26, .sent = "1A"},
    {.name = "L", .code = 27, .sent = "1B"},
    {.name = "P(Platinel2)", .code = 28, .sent = "1C"},
    {.name = "Pt100(JIS'97 IEC)", .code = 48, .sent = "30"},
    {.name = "Pt1000", .code = 53, .sent = "35"},
    {.name = "Pt50ohm(JIS'81)", .code = 54, .sent = "36"},
    {.name = "Pt100(JIS'89)", .code = 55, .sent = "37"},
    {.name = "JPt100(JIS'89)", .code = 56, .sent = "38"},
    {.name = "Ni100", .code = 57, .sent = "39"},
    {.name = "Ni120", .code = 58, .sent = "3A"},
    {.name = "Ni508.4", .code = 59, .sent = "3B"},
    {.name = "Ni1000", .code = 60, .sent = "3C"},
    {.name = "Cu50", .code = 61, .sent = "3D"},
    {.name = "POT200", .code = 80, .sent = "50"},
    {.name = "POT500", .code = 81, .sent = "51"},
    {.name = "POT5k", .code = 82, .sent = "52"},
}};

// The "/A" card has fewer types; a text keeps its code, only its place moves.
constexpr std::array<InputType, 19> kVariantATypes{{
    kPlainTypes[0],  kPlainTypes[1],  kPlainTypes[2],  kPlainTypes[3],  kPlainTypes[4],
    kPlainTypes[5],  kPlainTypes[6],  kPlainTypes[7],  kPlainTypes[9],  kPlainTypes[10],
    kPlainTypes[11], kPlainTypes[12], kPlainTypes[21], kPlainTypes[23], kPlainTypes[24],
    kPlainTypes[25], kPlainTypes[31], kPlainTypes[32], kPlainTypes[33],
}};

// Where the kinds of input end in each list: the voltage ranges come first,
// then the thermocouples, then the resistance thermometers.
struct Bounds {
    int firstThermocouple;
    int lastThermocouple;
    int lastResistance;
};
constexpr Bounds kPlainBounds{.firstThermocouple = 8, .lastThermocouple = 20, .lastResistance = 30};
constexpr Bounds kVariantABounds{.firstThermocouple = 8, .lastThermocouple = 11, .lastResistance = 15};

// No cold-junction compensation for this thermocouple on the plain card.
constexpr std::string_view kNoCjcType = "B(RH)";

// A list's entries with their codes; the code is the entry's value as text.
struct Coded {
    std::string_view name;
    int code;
    std::string_view sent;
};
constexpr std::array<Coded, 3> kUnits{{
    {.name = "   C", .code = 0, .sent = "0"},
    {.name = "   F", .code = 1, .sent = "1"},
    {.name = "   K", .code = 2, .sent = "2"},
}};
constexpr std::size_t kVariantAUnits = 2;  // no Kelvin on "/A"
constexpr std::array<Coded, 2> kAdcSpeeds{{
    {.name = "Middle", .code = 2, .sent = "2"},
    {.name = "Low", .code = 3, .sent = "3"},
}};
constexpr std::array<Coded, 3> kBurnouts{{
    {.name = "None", .code = 0, .sent = "0"},
    {.name = "Up", .code = 1, .sent = "1"},
    {.name = "Down", .code = 2, .sent = "2"},
}};

constexpr std::array<std::string_view, 3> kUnitNames{kUnits[0].name, kUnits[1].name, kUnits[2].name};
constexpr std::array<std::string_view, 2> kAdcSpeedNames{kAdcSpeeds[0].name, kAdcSpeeds[1].name};
constexpr std::array<std::string_view, 3> kBurnoutNames{kBurnouts[0].name, kBurnouts[1].name, kBurnouts[2].name};
constexpr std::array<std::string_view, 2> kChEnableNames{"0", "1"};

std::span<const Coded> unitsOf(bool variantA) {
    return std::span<const Coded>(kUnits).first(variantA ? kVariantAUnits : kUnits.size());
}

std::string_view nameOfCode(std::span<const Coded> list, int code) {
    for (const Coded& c : list)
        if (c.code == code) return c.name;
    return "";
}

std::string_view codeOfName(std::span<const Coded> list, std::string_view name) {
    for (const Coded& c : list)
        if (c.name == name) return c.sent;
    return kNoCode;
}

}  // namespace

std::span<const InputType> InputTypes(bool variantA) {
    if (variantA) return kVariantATypes;
    return kPlainTypes;
}

int LastInputTypeIndex(bool variantA) { return static_cast<int>(InputTypes(variantA).size()) - 1; }

std::string_view InputTypeCodeToName(bool variantA, int code) {
    for (const InputType& t : InputTypes(variantA))
        if (t.code == code) return t.name;
    return "";
}

std::string_view InputTypeNameToCode(bool variantA, std::string_view name) {
    for (const InputType& t : InputTypes(variantA))
        if (t.name == name) return t.sent;
    return kNoCode;
}

int InputTypeNameToIndex(bool variantA, std::string_view name) {
    const std::span<const InputType> types = InputTypes(variantA);
    int index = 0;
    for (const InputType& t : types) {
        if (t.name == name) return index;
        ++index;
    }
    return index;  // one past the last entry
}

std::span<const std::string_view> TempUnitNames(bool variantA) {
    return std::span<const std::string_view>(kUnitNames).first(unitsOf(variantA).size());
}

std::string_view TempUnitCodeToName(bool variantA, int code) {
    const std::string_view name = nameOfCode(unitsOf(variantA), code);
    return name.empty() ? kUnits[0].name : name;
}

std::string_view TempUnitNameToCode(bool variantA, std::string_view name) {
    return codeOfName(unitsOf(variantA), name);
}

std::span<const std::string_view> AdcSpeedNames() { return kAdcSpeedNames; }
std::string_view AdcSpeedCodeToName(int code) { return nameOfCode(kAdcSpeeds, code); }
std::string_view AdcSpeedNameToCode(std::string_view name) { return codeOfName(kAdcSpeeds, name); }

std::span<const std::string_view> BurnoutNames() { return kBurnoutNames; }
std::string_view BurnoutCodeToName(int code) { return nameOfCode(kBurnouts, code); }
std::string_view BurnoutNameToCode(std::string_view name) { return codeOfName(kBurnouts, name); }

std::span<const std::string_view> ChEnableNames() { return kChEnableNames; }

ChannelEnables InputTypeEnables(bool variantA, std::string_view name) {
    const Bounds& b = variantA ? kVariantABounds : kPlainBounds;
    const int i = InputTypeNameToIndex(variantA, name);
    const bool thermocouple = i >= b.firstThermocouple && i <= b.lastThermocouple;
    return {.burnout = i >= b.firstThermocouple && i <= b.lastResistance,
            .cjc = thermocouple && !InputTypeClearsCjc(variantA, name)};
}

bool InputTypeClearsCjc(bool variantA, std::string_view name) { return !variantA && name == kNoCjcType; }

// A value beyond int comes back as the nearest int limit.
std::optional<int> ParseHexCode(std::string_view text) {
    const auto v = HexDigitsValue(text);
    if (!v) return std::nullopt;
    return static_cast<int>(std::min<std::uint64_t>(*v, INT_MAX));
}

std::optional<int> ParseDecimalCode(std::string_view text) {
    const auto v = SignedDigitsValue(text);
    if (!v) return std::nullopt;
    return static_cast<int>(std::clamp<std::int64_t>(*v, INT_MIN, INT_MAX));
}

}  // namespace talvo::screens::yk4
