#pragma once
// Where the communication card's dialogs keep what each setting holds: the
// one store of ui/ValueStates, under slot 17 and the station item the setting
// is read and written at ("00/30", "17/26"), so that a setting two dialogs
// show is one setting.
#include <string>

#include "ui/ValueStates.h"

namespace talvo::network {

// The group as two digits: "0" and "00" are one group to the card.
inline ui::ValueKey CommKey(const std::string& group, const std::string& item, int ch = 0) {
    return {17, (group.size() == 1 ? "0" + group : group) + "/" + item, ch};
}

// What a setting kept in record 17 holds: what a read, a file or the user gave
// it, else its record field (a text is a value, an empty field none).
inline ui::Held CommHeld(const ui::ValueKey& key, const std::string& recordField) {
    return ui::Values().of(key, recordField);
}

}  // namespace talvo::network
