#pragma once
// What the DIP-switch check shows for the 16 slots: each card's name, version and
// the positions of its three 8-position switches, read from the station.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/Colors.h"

namespace talvo {

struct DipSwitchModel {
    static constexpr int kRows = 16;
    static constexpr int kSwitches = 3;
    static constexpr int kPositions = 8;
    static constexpr int kCells = kRows * kSwitches * kPositions;  // 384

    // The cell of row 0..15, switch 1..3, position 1..8.
    static constexpr int cellIndex(int row, int sw, int pos) {
        return 24 * row + kPositions * (sw - 1) + (pos - 1);
    }

    DipSwitchModel() { cells.fill(colors::White); }

    std::array<std::string, kRows> name;
    std::array<std::string, kRows> version;
    std::array<std::string, kRows> switchText;
    // Black for ON, white for OFF; every cell starts white.
    std::array<std::uint32_t, kCells> cells{};
};

// Paints the 24 cells of one row from a switch text "SW1,SW2,SW3" (two upper-case
// hex digits each). Each digit paints four cells; a digit that is not 0-9 or A-F,
// or is missing because the text is short, leaves its cells as they were. A row
// outside 0..15 changes nothing.
void txtCDataDraw(DipSwitchModel& model, int row, const std::string& switchText);

// Reads name, version and switches of every slot (empty slots show "-"), and sets
// G().SlotInUse. A switch read answered "CNG" or "NEEDLESS" shows that text and
// leaves the cells as they were. rowChanged, when given, is called whenever a row of the model
// has changed, so a window can show the read as it goes. False when a card
// could not be selected: nothing more is read, as it would come from another card.
bool ReadDipSwitches(DipSwitchModel& model, const std::function<void(int row)>& rowChanged = {});

}  // namespace talvo
