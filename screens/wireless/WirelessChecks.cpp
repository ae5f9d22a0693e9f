#include "screens/wireless/WirelessChecks.h"

#include <array>
#include <cstddef>

#include "core/TextHelpers.h"

namespace talvo::wireless {

namespace {

using C = WControl;
using W = WirelessCheck;
using ui::FieldKind;

const std::array<CheckSpec, 11> kChecks = {{
    {W::CheckModAdd, "CheckModAdd", C::modAdd,
     {.kind = FieldKind::Digits, .maxChars = 3, .min = 1, .max = 247, .message = "Please enter number 1 - 247"}},
    {W::CheckModTimer, "CheckModTimer", C::modTimer,
     {.kind = FieldKind::Digits, .maxChars = 3, .min = 10, .max = 600,
      .message = "Please enter number 10 - 600 (100msec)"}},
    {W::CheckWirTimer, "CheckWirTimer", C::wirTimer,
     {.kind = FieldKind::Digits, .maxChars = 5, .min = 0, .max = 32767, .message = "Please enter number 0 - 32767"}},
    {W::CheckWirPANID, "CheckWirPANID", C::wirPANID,
     {.kind = FieldKind::HexText, .minChars = 4, .maxChars = 4, .min = 0x0000, .max = 0xFFFE,
      .message = "Please enter number 0000 - FFFE"}},
    {W::CheckWirChNo, "CheckWirChNo", C::wirChNo,
     {.kind = FieldKind::Digits, .maxChars = 2, .min = 0, .max = 28, .message = "Please enter number 0 - 28"}},
    // The list passes when any of the ten boxes holds a number other than 0.
    {W::CheckChannelList, "CheckChannelList", C::wirChNo,
     {.kind = FieldKind::Digits, .maxChars = 9, .min = 1, .message = "Please enter channel No."}},
    {W::CheckWirShortAddress, "CheckWirShortAddress", C::wirShortAddress,
     {.kind = FieldKind::HexText, .minChars = 4, .maxChars = 4, .min = 0x0000, .max = 0xFFFD,
      .message = "Please enter number 0000 - FFFD"}},
    {W::CheckShortAddress2, "CheckShortAddress2", C::ShortAddress2,
     {.kind = FieldKind::HexText, .minChars = 4, .maxChars = 4, .min = 0x0000, .max = 0xFFFD,
      .message = "Please enter number 0000 - FFFD"}},
    // The bound is 16 characters although the message says "less than 16".
    {W::CheckWirNetWork, "CheckWirNetWork", C::wirNetWork,
     {.kind = FieldKind::Name, .maxChars = 16, .emptyPasses = true, .message = "Please enter less than 16 characters"}},
    {W::CheckWirPassword, "CheckWirPassword", C::wirPassword,
     {.kind = FieldKind::HexText, .minChars = 32, .maxChars = 32, .message = "Please enter 32 characters(0-F)"}},
    {W::CheckWirTimerSend, "CheckWirTimerSend", C::wirTimer_Send,
     {.kind = FieldKind::Digits, .maxChars = 4, .min = 10, .max = 3600, .message = "Please enter number 10 - 3600"}},
}};

const CheckSpec& Row(WirelessCheck check) { return kChecks[static_cast<std::size_t>(check)]; }

}  // namespace

CheckSpec Spec(WirelessModel m, WirelessCheck check) {
    CheckSpec s = Row(check);
    if (check == W::CheckWirChNo && Traits(m).channelMax != s.row.max) {
        s.row.max = Traits(m).channelMax;
        s.row.message = "Please enter number 0 - 43";
    }
    return s;
}

bool HasCheck(WirelessModel m, WirelessCheck check) {
    return check != W::CheckWirTimerSend || Traits(m).hasTimerSend;
}

std::optional<WirelessCheck> CheckOf(WControl c) {
    for (const CheckSpec& s : kChecks)
        if (s.field == c && s.check != W::CheckChannelList) return s.check;
    return std::nullopt;
}

std::string CheckText(WirelessModel m, WirelessCheck check, const std::string& text) {
    // The channel list is no single-box check.
    if (check == W::CheckChannelList) return Row(check).row.message;
    const CheckSpec s = Spec(m, check);
    return ui::RunFieldCheck(s.row, text).ok ? std::string() : std::string(s.row.message);
}

std::string CheckChannelList(const WirelessControls& controls, const HoldsValue& holds) {
    const ui::FieldCheck& notZero = Row(W::CheckChannelList).row;
    bool any = false;
    for (int ch = 0; ch < kChannelCount; ++ch) {
        const std::string& box = controls.Text(C::wirChNo, ch);
        if (!holds(C::wirChNo, ch) || !HasText(box)) continue;
        if (ui::RunFieldCheck(notZero, box).ok) return {};
        any = true;
    }
    return any ? notZero.message : std::string();
}

bool IsKeyText(const std::string& s) { return ui::RunFieldCheck(Row(W::CheckWirPassword).row, s).ok; }

std::optional<CheckFailure> RunCheck(WirelessModel m, WirelessCheck check, int channel,
                                     const WirelessControls& controls, const HoldsValue& holds) {
    std::string message;
    WControl focus = Spec(m, check).field;
    int focusChannel = 0;
    if (check == W::CheckChannelList) {
        message = CheckChannelList(controls, holds);
    } else if (check == W::CheckWirPassword) {
        if (!holds(focus, 0)) return std::nullopt;
        message = CheckText(m, check, controls.KeyText);
    } else {
        if (check == W::CheckWirChNo) focusChannel = channel;
        const std::string& text = controls.Text(focus, focusChannel);
        if (!holds(focus, focusChannel) || !HasText(text)) return std::nullopt;
        message = CheckText(m, check, text);
    }
    if (message.empty()) return std::nullopt;
    return CheckFailure{check, message, focus, focusChannel};
}

}  // namespace talvo::wireless
