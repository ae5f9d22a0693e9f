#pragma once
// What the heat and flow card's entry boxes take: the number rule each box
// applies while the user types, which text a download or preset may send, and
// the keys the boxes let through. Plain C++, no widget.
#include <cstdint>
#include <string>

namespace talvo::screens {

// A box's numbers: at most `decimals` digits after the point, and the value
// scaled by 10^decimals from `smallest` to `largest` ("0 to 10000.00" is 2
// decimals, 0 to 1000000).
struct NumberRule {
    bool isSigned = false;  // the box takes "-" (its key filter passes it)
    int decimals = 0;
    std::int32_t smallest = 0;
    std::int32_t largest = 0;
};

// The rules of the card's settings boxes.
inline constexpr NumberRule kFlowScaleRule{false, 2, 0, 1000000};   // Flow Zscale, Flow Fscale
inline constexpr NumberRule kFlowBiasRule{true, 2, -1000, 1000};     // -10.00 to 10.00
inline constexpr NumberRule kFlowGainRule{false, 4, 1000, 20000};    // 0.1000 to 2.0000
inline constexpr NumberRule kSpecificHeatRule{false, 4, 0, 29999};  // 0 to 2.9999
inline constexpr NumberRule kFlowCutRule{false, 2, 0, 1000};         // 0 to 10.00
inline constexpr NumberRule kTempCutRule{false, 2, 0, 500};          // 0 to 5.00, also the hysteresis
inline constexpr NumberRule kTempAdjustRule{true, 2, -500, 500};     // -5.00 to 5.00
inline constexpr NumberRule kCoefficientRule{false, 3, 0, 65535};    // 0 to 65.535
// The totals' presets: flows always, heat totals while their channel shows "MJ/h".
inline constexpr NumberRule kPresetRule{false, 2, 0, 99999999};    // 0 to 999999.99
inline constexpr NumberRule kPresetGJRule{false, 2, 0, 999999};    // 0 to 9999.99

// The text a box shows after the user changed it to `text`; `saved` is what it
// held before the change. The first rule that applies decides:
//   "" and "-" stay; "-." becomes "-0."; "0" and "0." stay (whatever the range);
//   a "-" after the first character, a second ".", or more than `decimals`
//   digits after the point give `saved`; "." becomes "0."; a text that is no
//   number, or whose value times 10^decimals lies outside smallest..largest or
//   beyond 32 bits, gives `saved`; any other text stays.
// The value is scaled from its decimal digits, so "0.29" with 2 decimals is 29.
std::string NormalizeNumberText(const std::string& text, const std::string& saved, int decimals,
                                std::int32_t largest, std::int32_t smallest);
std::string NormalizeNumberText(const std::string& text, const std::string& saved, const NumberRule& rule);

// The value of a plain decimal text ("-" once in front, digits, at most one
// ".") times 10^decimals, exactly. False for any other text, for more than
// `decimals` digits after the point and for a value beyond 32 bits.
bool ScaledValue(const std::string& text, int decimals, std::int64_t& out);

// A text the card may be sent for a box of this rule: a whole number, or one
// with digits on both sides of the point ("-", "-0.", "0.", ".5" are not),
// within the rule's decimals and range.
bool IsCompleteNumber(const std::string& text, const NumberRule& rule);

// A number as the card is sent it when the box shows it with a bare point,
// which the boxes let stand while the user types: the point at the end goes
// ("5." -> "5", "0." -> "0") and one at the start gets its zero (".5" -> "0.5",
// "-.5" -> "-0.5"). Any other text comes back as it is.
std::string CompletedNumberText(const std::string& text);

// The CH2 Disable box: "", "1" or "0".
bool IsEnableText(const std::string& text);

// The rule of a heat total's preset box for the heat-rate unit its channel
// shows: false (the box takes nothing) for a unit other than "MJ/h" or "GJ/h".
bool HeatPresetRule(const std::string& unit, NumberRule& rule);

// The boxes' key filters (the KeyFilter signature of the screens' boxes):
// Backspace, the digits, "." and, on the signed boxes, "-" anywhere; the
// number rule then judges where it stands.
bool FilterKeyNumeric(const std::string& text, int caretPos, char16_t key);
bool FilterKeyUnsignedNumeric(const std::string& text, int caretPos, char16_t key);

}  // namespace talvo::screens
