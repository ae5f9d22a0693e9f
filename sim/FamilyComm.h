#pragma once
// The communication card's items by its model (general settings, Ethernet,
// fieldbus, CC-Link IE and SLMP gateway models), and the cards behind a
// gateway (sim/README.md).
#include <optional>
#include <string>

#include "sim/Simulator.h"

namespace k6sim {

// The communication card is the one card without a slot code.
inline bool isCommCard(const Card& card) { return card.code.empty() && !card.modelText.empty(); }

// Adds the items of the communication card's model (its model text up to ":").
void addCommModelDefaults(Card& card);
// Adds the items of a card behind a gateway: codes "QFODH..." (type and
// channel count per slot index, live values) and other "Q..." codes (input
// and output words).
void addGatewaySlotDefaults(Card& card);

// The communication card's own answers: a model text "CNG" is answered as the
// rejection "CNG"; the fieldbus card's scale lists are read and set through the
// data of group 17 items 43 and 44; a wireless card's relay mode (group 00 item
// 55) takes "1" or "2" and keeps "SLAVE" or "RELAY". nullopt where the
// ordinary rules apply.
std::optional<std::string> commItemReply(const Card& card, const std::string& group, int item);
std::optional<std::string> commDataReply(Card& card, const std::string& group, int item, const std::string& data);

}  // namespace k6sim
