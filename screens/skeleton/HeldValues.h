#pragma once
// Whether what a control of a card screen shows is a value: read from the card,
// loaded from a file or set by the user. A setting whose read the card refused
// holds none, and neither does one the card says it does not use: the control
// keeps what it showed, drawn as not read, and a download sends nothing for it
// until the user sets it or a later read brings a value.
#include <QWidget>
#include <map>
#include <string>
#include <tuple>

#include "ui/DialogValues.h"

namespace talvo::screens {

using ui::DrawHeld;
using ui::DrawnUnread;
using ui::Held;

// The states of the settings one screen shows, for each slot it serves. A state
// other than Value belongs to the record text the setting had when the read was
// refused: a record that holds another text since (a settings file loaded, say)
// holds a value again.
class HeldValues {
public:
    // `key` names the setting (its row, or its control), `ch` its channel.
    void set(int slot, const void* key, int ch, Held held, const std::string& recordText);
    Held of(int slot, const void* key, int ch, const std::string& recordText) const;
    void clear() { states_.clear(); }

private:
    struct State {
        Held held = Held::Value;
        std::string recordText;
    };
    std::map<std::tuple<int, const void*, int>, State> states_;
};

}  // namespace talvo::screens
