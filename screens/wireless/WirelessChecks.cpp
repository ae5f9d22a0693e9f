#include "screens/wireless/WirelessChecks.h"

#include <array>
#include <cstddef>

#include "core/TextHelpers.h"

namespace talvo::wireless {

namespace {

using C = WControl;
using W = WirelessCheck;
using K = CheckKind;

// Number and name checks do not take more than this many characters anyway,
// so the values below never overflow a long.
const std::array<CheckSpec, 11> kChecks = {{
    {W::CheckModAdd, "CheckModAdd", C::modAdd, K::Number, 3, 1, 247, "Please enter number 1 - 247"},
    {W::CheckModTimer, "CheckModTimer", C::modTimer, K::Number, 3, 10, 600, "Please enter number 10 - 600 (100msec)"},
    {W::CheckWirTimer, "CheckWirTimer", C::wirTimer, K::Number, 5, 0, 32767, "Please enter number 0 - 32767"},
    {W::CheckWirPANID, "CheckWirPANID", C::wirPANID, K::Hex4, 4, 0x0000, 0xFFFE, "Please enter number 0000 - FFFE"},
    {W::CheckWirChNo, "CheckWirChNo", C::wirChNo, K::Number, 2, 0, 28, "Please enter number 0 - 28"},
    {W::CheckChannelList, "CheckChannelList", C::wirChNo, K::ChannelList, 2, 0, 0, "Please enter channel No."},
    {W::CheckWirShortAddress, "CheckWirShortAddress", C::wirShortAddress, K::Hex4, 4, 0x0000, 0xFFFD,
     "Please enter number 0000 - FFFD"},
    {W::CheckShortAddress2, "CheckShortAddress2", C::ShortAddress2, K::Hex4, 4, 0x0000, 0xFFFD,
     "Please enter number 0000 - FFFD"},
    // The bound is 16 characters although the message says "less than 16".
    {W::CheckWirNetWork, "CheckWirNetWork", C::wirNetWork, K::Name, 16, 0, 0,
     "Please enter less than 16 characters"},
    {W::CheckWirPassword, "CheckWirPassword", C::wirPassword, K::Key, 32, 0, 0, "Please enter 32 characters(0-F)"},
    {W::CheckWirTimerSend, "CheckWirTimerSend", C::wirTimer_Send, K::Number, 4, 10, 3600,
     "Please enter number 10 - 3600"},
}};

bool Passes(const CheckSpec& spec, const std::string& s) {
    switch (spec.kind) {
    case K::Number: {
        const auto v = DigitsValue(s, static_cast<std::size_t>(spec.maxLength));
        return v && *v >= spec.min && *v <= spec.max;
    }
    case K::Hex4: {
        const auto v = s.size() == 4 ? HexDigitsValue(s) : std::nullopt;
        return v && static_cast<long>(*v) >= spec.min && static_cast<long>(*v) <= spec.max;
    }
    case K::Name:
        if (static_cast<int>(s.size()) > spec.maxLength) return false;
        for (const char c : s)
            if (!IsNameCharacter(c)) return false;
        return true;
    case K::Key: return IsKeyText(s);
    case K::ChannelList: return false;  // not a single-box check
    }
    return false;
}

}  // namespace

CheckSpec Spec(WirelessModel m, WirelessCheck check) {
    CheckSpec s = kChecks[static_cast<std::size_t>(check)];
    if (check == W::CheckWirChNo && Traits(m).channelMax != s.max) {
        s.max = Traits(m).channelMax;
        s.message = "Please enter number 0 - 43";
    }
    return s;
}

bool HasCheck(WirelessModel m, WirelessCheck check) {
    return check != W::CheckWirTimerSend || Traits(m).hasTimerSend;
}

std::optional<WirelessCheck> CheckOf(WControl c) {
    for (const CheckSpec& s : kChecks)
        if (s.field == c && s.kind != K::ChannelList) return s.check;
    return std::nullopt;
}

std::string CheckText(WirelessModel m, WirelessCheck check, const std::string& text) {
    const CheckSpec s = Spec(m, check);
    return Passes(s, text) ? std::string() : std::string(s.message);
}

std::string CheckChannelList(const WirelessControls& controls) {
    for (const std::string& box : controls.wirChNo) {
        if (const auto v = DigitsValue(box, 9); v && *v != 0) return {};
    }
    return kChecks[static_cast<std::size_t>(W::CheckChannelList)].message;
}

bool IsNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsDigitChar(c) || c == '_' || c == '-' || c == '.' ||
           c == '@' || c == ' ';
}

bool IsKeyText(const std::string& s) { return s.size() == 32 && IsHexText(s); }

std::optional<CheckFailure> RunCheck(WirelessModel m, WirelessCheck check, int channel,
                                     const WirelessControls& controls) {
    std::string message;
    WControl focus = Spec(m, check).field;
    int focusChannel = 0;
    if (check == W::CheckChannelList) {
        message = CheckChannelList(controls);
    } else if (check == W::CheckWirPassword) {
        message = CheckText(m, check, controls.KeyText);
    } else {
        if (check == W::CheckWirChNo) focusChannel = channel;
        message = CheckText(m, check, controls.Text(focus, focusChannel));
    }
    if (message.empty()) return std::nullopt;
    return CheckFailure{check, message, focus, focusChannel};
}

bool FilterKeyName(const std::string& /*text*/, int /*caretPos*/, char16_t key) {
    if (key == 8 || key == 13 || key == 16) return true;
    return key < 0x80 && IsNameCharacter(static_cast<char>(key));
}

}  // namespace talvo::wireless
