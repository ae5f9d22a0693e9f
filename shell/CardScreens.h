#pragma once
// Opening the setting screen of the card in a slot, by its model code.
#include <string>

#include "core/CardDispatch.h"

namespace talvo::shell {

// A card screen that the dispatch can open: it runs its opener's steps itself.
class OpenableScreen {
public:
    virtual ~OpenableScreen() = default;
    virtual void openCard(const std::string& typeCode, const ScreenSpec& spec) = 0;
};

// Shows the screen of a card family in the client area: the screen the dispatch
// names when it is built, the empty-slot screen otherwise (also for a code that
// no dispatch row matches, so no screen goes on talking to the newly picked card).
void OpenCardScreen(const std::string& typeCode);

}  // namespace talvo::shell
