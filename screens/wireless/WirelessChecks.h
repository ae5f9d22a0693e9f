#pragma once
// The entry checks of the wireless dialogs, as a table of the dialog toolkit's
// field-check rows and pure functions: a check gets the text and gives "" when
// it is valid or the message the dialog shows. The key filters are the shared
// ones of core/KeyFilters.
#include <optional>
#include <string>

#include "screens/wireless/WirelessModel.h"
#include "ui/FieldChecks.h"

namespace talvo::wireless {

enum class WirelessCheck {
    CheckModAdd,
    CheckModTimer,
    CheckWirTimer,
    CheckWirPANID,
    CheckWirChNo,
    CheckChannelList,
    CheckWirShortAddress,
    CheckShortAddress2,
    CheckWirNetWork,
    CheckWirPassword,
    CheckWirTimerSend,
};

struct CheckSpec {
    WirelessCheck check;
    const char* name;    // "CheckModAdd"
    WControl field;      // the box it checks (wirPassword: the key it holds)
    ui::FieldCheck row;  // what the box must hold; CheckChannelList: what one of the ten boxes must hold
};

// The model's row of a check: the channel range and message differ on OXF1F.
CheckSpec Spec(WirelessModel m, WirelessCheck check);
// Whether the model's dialog has the check (CheckWirTimerSend only with wirTimer_Send).
bool HasCheck(WirelessModel m, WirelessCheck check);
// The lost-focus check of a text box; none for MAC_Address and the lists.
std::optional<WirelessCheck> CheckOf(WControl c);

// "" when text passes the check, else its message. CheckChannelList is not a
// single-box check: use CheckChannelList below.
std::string CheckText(WirelessModel m, WirelessCheck check, const std::string& text);

// The channel list, over the boxes that hold a value with a text (the
// others are not sent, and what the card holds there is not known): it fails
// when there are such boxes and none of them holds a whole number other than
// 0; a non-numeric box counts as 0 (its own check reports it). "" or "Please
// enter channel No."; the focus then goes to wirChNo(0).
std::string CheckChannelList(const WirelessControls& controls, const HoldsValue& holds);

// True for 32 characters, each "0"-"9", "A"-"F" or "a"-"f".
bool IsKeyText(const std::string& s);

// A failed check: which, its message and the box that takes the focus.
struct CheckFailure {
    WirelessCheck check;
    std::string message;
    WControl focus;
    int channel = 0;
};

// Runs one check on what the dialog holds: the box text, KeyText for
// CheckWirPassword (the box shows only the mask), the ten boxes for
// CheckChannelList. A setting that holds no value, or an empty text, is not
// sent and so not checked: none.
std::optional<CheckFailure> RunCheck(WirelessModel m, WirelessCheck check, int channel,
                                     const WirelessControls& controls, const HoldsValue& holds);

}  // namespace talvo::wireless
