#include "screens/skeleton/HeldValues.h"

namespace talvo::screens {

void HeldValues::set(int slot, const void* key, int ch, Held held, const std::string& recordText) {
    const auto k = std::make_tuple(slot, key, ch);
    if (held == Held::Value)
        states_.erase(k);
    else
        states_[k] = State{held, recordText};
}

Held HeldValues::of(int slot, const void* key, int ch, const std::string& recordText) const {
    const auto it = states_.find(std::make_tuple(slot, key, ch));
    if (it == states_.end() || it->second.recordText != recordText) return Held::Value;
    return it->second.held;
}

}  // namespace talvo::screens
