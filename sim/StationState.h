#pragma once
// The station's answer to one frame, and its state between frames: which card is
// selected, which group and item the last frames named. No locking: the
// simulator guards it.
#include <optional>
#include <string>
#include <utility>

#include "sim/Simulator.h"

namespace k6sim {

// "1", "01" and "001" name the same group or item: the number, or -1 when the
// text is not a plain decimal number within max.
int parseNumber(const std::string& text, int max);
// A number with at least two digits: 4 -> "04", 123 -> "123".
std::string twoDigits(int n);
// The two-digit form of a group text ("1" -> "01"), or "" when it is no group.
std::string normalGroup(const std::string& text);

// Stores a value into a station description the way a data frame would: group
// "00" items 04 and 40 are the card's model text and version. False for an empty
// slot and for the items the station works out itself: the card selection (group
// "00" items 01 and 41) and, on the communication card, the slot model codes.
bool storeValue(Station& station, int card, const std::string& group, int item, const std::string& value);

class StationState {
public:
    explicit StationState(Station s) : station_(std::move(s)) {}

    std::string answer(const std::string& frame);

    const Station& station() const { return station_; }
    void setStation(const Station& s) { station_ = s; }
    int selectedCard() const { return selected_; }
    const std::string& currentGroup() const { return group_; }

    // An item as the station holds it, without the reply's tag; nullopt when the
    // card does not use it. card: 0 = communication card, 1..16 = slot.
    std::optional<std::string> value(int card, const std::string& group, int item) const;
    bool setValue(int card, const std::string& group, int item, const std::string& value) {
        return storeValue(station_, card, group, item, value);
    }

private:
    const Card* cardAt(int card) const;
    std::string write(const std::string& data);

    Station station_;
    int selected_ = 0;
    std::string selectText_ = "0";  // the last accepted item "41" text
    std::string item01_ = "F";      // the last item "01" text of group "00"
    std::string group_;              // two digits, "" before the first accepted group
    int item_ = -1;                  // -1 before an item of the current group
};

}  // namespace k6sim
