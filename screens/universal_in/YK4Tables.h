#pragma once
// The lists of the universal input card screen as data: the input types of the
// plain card and of the "/A" card, the temperature units, ADC speeds and
// burnout directions, the conversions between the card's codes, the list texts
// and the list positions, and which of a channel's controls an input type
// enables. No widget here, so the tables are checked without a window.
//
// The variant is passed in as `variantA`: true for a card whose model text is
// "K6_YK4/A", false for the plain card. Every name comparison is exact (case
// and blanks count). A code or text that has no entry never indexes a table:
// it gives the "no entry" result of each function.
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace talvo::screens::yk4 {

// A name-to-code conversion gives this for a text that is not an entry of its
// list; the download sends nothing for it.
inline constexpr std::string_view kNoCode = "99";

// The model text by which the card tells it is the "/A" variant.
inline constexpr std::string_view kVariantAModel = "K6_YK4/A";

struct InputType {
    std::string_view name;  // the list entry
    int code;               // the station code
    std::string_view sent;  // the code as two upper-case hexadecimal digits
};

// The input-type entries in list order: 34 on the plain card, 19 on "/A".
std::span<const InputType> InputTypes(bool variantA);
// Index of the last entry: 33 plain, 18 "/A".
int LastInputTypeIndex(bool variantA);

// The entry of a station code; "" for a code without an entry.
std::string_view InputTypeCodeToName(bool variantA, int code);
// The code of an entry text as two hexadecimal digits ("1C"); kNoCode when the
// text is not an entry.
std::string_view InputTypeNameToCode(bool variantA, std::string_view name);
// The list position of an entry text; one more than the last index (34 plain,
// 19 "/A") when the text is not an entry.
int InputTypeNameToIndex(bool variantA, std::string_view name);

// Temperature units: "   C", "   F", "   K" on the plain card, "   C", "   F"
// on "/A" (three blanks and a letter).
std::span<const std::string_view> TempUnitNames(bool variantA);
// The unit of a code; "   C" for a code without an entry.
std::string_view TempUnitCodeToName(bool variantA, int code);
// "0" to "2" ("0" to "1" on "/A"); kNoCode when the text is not an entry.
std::string_view TempUnitNameToCode(bool variantA, std::string_view name);

// ADC speeds, the same on both variants: "Middle" (code 2), "Low" (code 3).
// The "/A" card has its speed fixed at kFixedAdcSpeedA.
std::span<const std::string_view> AdcSpeedNames();
inline constexpr std::string_view kFixedAdcSpeedA = "Low";
std::string_view AdcSpeedCodeToName(int code);  // "" for a code without an entry
std::string_view AdcSpeedNameToCode(std::string_view name);

// Burnout directions, the same on both variants: "None", "Up", "Down" (0 to 2).
std::span<const std::string_view> BurnoutNames();
std::string_view BurnoutCodeToName(int code);  // "" for a code without an entry
std::string_view BurnoutNameToCode(std::string_view name);

// The entries of the per-channel "Unused" list: "0" (in use) and "1" (unused).
std::span<const std::string_view> ChEnableNames();

// Which of a channel's controls its input type enables. A disabled control
// keeps its value.
struct ChannelEnables {
    bool burnout;
    bool cjc;
};
// Thermocouples and resistance thermometers have a burnout direction;
// thermocouples have cold-junction compensation, except "B(RH)" on the plain
// card. A text that is not an entry enables neither.
ChannelEnables InputTypeEnables(bool variantA, std::string_view name);
// Picking this input type also unchecks the channel's CJC box ("B(RH)" on the
// plain card).
bool InputTypeClearsCjc(bool variantA, std::string_view name);

// Codes as the card replies them: item "05" in hexadecimal, the other code
// items in decimal. nullopt for a text that is not a number ("", "CNG",
// "NEEDLESS", " 1", "+1", "1.0"); a number of any length is read without
// overflow, and one beyond the range of int comes back as the nearest int
// limit, which no table holds.
std::optional<int> ParseHexCode(std::string_view text);
std::optional<int> ParseDecimalCode(std::string_view text);

}  // namespace talvo::screens::yk4
