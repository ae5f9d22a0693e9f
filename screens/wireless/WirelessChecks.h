#pragma once
// The entry checks of the wireless dialogs, as a table and pure functions: a
// check gets the text and gives "" when it is valid or the message the dialog
// shows. The network name's key filter lives here too (the digit and hex
// filters are shared with other dialogs).
#include <optional>
#include <string>

#include "screens/wireless/WirelessModel.h"

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

enum class CheckKind {
    Number,       // digits only, at most maxLength of them, value min..max
    Hex4,         // exactly four hexadecimal digits, value min..max
    Name,         // at most maxLength name characters; "" is valid
    Key,          // exactly 32 hexadecimal digits
    ChannelList,  // not all ten channel boxes 0
};

struct CheckSpec {
    WirelessCheck check;
    const char* name;  // "CheckModAdd"
    WControl field;    // the box it checks (wirPassword: the key it holds)
    CheckKind kind;
    int maxLength;
    long min;
    long max;
    const char* message;
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

// The channel list passes when any of the ten boxes holds a whole number other
// than 0; an empty or non-numeric box counts as 0 (its own check reports it).
// "" or "Please enter channel No."; the focus then goes to wirChNo(0).
std::string CheckChannelList(const WirelessControls& controls);

// Characters a network name may hold: letters, digits, "_", "-", ".", "@", blank.
bool IsNameCharacter(char c);
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
// CheckChannelList.
std::optional<CheckFailure> RunCheck(WirelessModel m, WirelessCheck check, int channel,
                                     const WirelessControls& controls);

// Key filter of wirNetWork: keeps the name characters, Backspace (8), CR (13)
// and code 16; text and caret are not looked at.
bool FilterKeyName(const std::string& text, int caretPos, char16_t key);

}  // namespace talvo::wireless
