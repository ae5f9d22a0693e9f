#pragma once
// Opening the setting screen of the card in a slot, by its model code.
#include <string>

namespace talvo::shell {

// Shows the screen of a card family in the client area. Until card screens exist
// every code shows the empty-slot screen.
void OpenCardScreen(const std::string& typeCode);

}  // namespace talvo::shell
