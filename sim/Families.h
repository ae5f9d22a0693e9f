#pragma once
// The items a card of a model family holds from the start, so that a description
// line naming only the model makes a card the program can work with.
#include "sim/Simulator.h"

namespace k6sim {

// Fills the card's groups with the defaults of the family its code belongs to
// (longest matching code prefix), on top of the items every I/O card has.
// A code of no known family gets only those common items.
void addFamilyDefaults(Card& card);

// The communication card's own items.
void addCommDefaults(Card& card);

}  // namespace k6sim
