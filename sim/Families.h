#pragma once
// The items a card of a model family holds from the start, so that a description
// line naming only the model makes a card the program can work with.
#include <optional>
#include <string>

#include "sim/Simulator.h"

namespace k6sim {

// Fills the card's groups with the defaults of the family its code belongs to
// (longest matching code prefix), on top of the items every I/O card has.
// A code of no known family gets only those common items.
void addFamilyDefaults(Card& card);

// The communication card's own items.
void addCommDefaults(Card& card);

// A family may answer the frames of a group its own way: the universal input
// card (codes "YK4...") carries the channel in the data of its group 01
// settings and reads an item with a data frame (sim/README.md). Each gives the
// reply to an item or data frame, or nullopt where the ordinary rules apply.
std::optional<std::string> familyItemReply(const Card& card, const std::string& group, int item);
std::optional<std::string> familyDataReply(Card& card, const std::string& group, int item, const std::string& data);

}  // namespace k6sim
