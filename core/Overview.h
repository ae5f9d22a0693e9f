#pragma once
// The overview of all 16 slots as data: the row heads (I/O kind, model name) and
// the live cells (8 values, 4 wide values, 32 lamps). The card-list upload and the
// monitoring pass write it; the overview screen draws it.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/Colors.h"

namespace talvo {

struct OverviewCell {
    std::string caption;
    std::uint32_t foreColor = colors::SysWindowText;
    std::uint32_t backColor = colors::SysMenu;
    bool visible = false;
};

struct OverviewRow {
    OverviewCell status;                // lblCardStatus
    OverviewCell type;                  // lblCardType
    std::array<OverviewCell, 8> values; // lblInputDataCh1..8
    std::array<OverviewCell, 4> wide;   // lblInputDataLCh1..4
    std::array<OverviewCell, 32> lamps; // lblDIDataCh1..32
};

class OverviewModel {
public:
    static constexpr int kSlots = 16;
    OverviewModel();
    // nullptr outside 1..16.
    OverviewRow* row(int slot);
    // Called after a routine changed a row, so the screen can redraw it.
    void changed(int slot);
    void setListener(std::function<void(int slot)> listener) { listener_ = std::move(listener); }
    void reset();

private:
    std::array<OverviewRow, kSlots> rows_;
    std::function<void(int)> listener_;
};

OverviewModel& Overview();

// Blanks a row's head and values and resets lamps 1..16; visibility is kept.
void ClearOverviewRow(int slot);
// Lays out a row's cells for a model code or display name.
void ShowChData(const std::string& typeCode, int slot);
// Hides every value, wide and lamp cell of a row.
void HideChCells(int slot);
// Colours lamp `point` (1..32) of a row; other points do nothing.
void SetOverviewPointColor(int slot, int point, std::uint32_t color);
// What the screen does each time it is shown: names and layouts from the records.
void OverviewActivate();

// I/O kind, name colour and name of a slot's row head from its model code.
void SetCardIoKind(int slot, const std::string& typeCode);
int GetPowerCardSubType(const std::string& typeCode);
std::string GetPowerCardName(const std::string& typeCode);
std::string GetGatewayCardName(const std::string& typeCode);
// The name a slot shows in the card list and on the overview.
std::string CardDisplayName(const std::string& typeCode);

// The few card families whose own screens lay out and fill their overview row,
// by model-code prefix; each prefix is also the code the family's screen is
// registered under. The overview's layout, the monitoring pass and the
// screens' registration all read this one table.
inline constexpr std::array<const char*, 3> kSelfFilledRowFamilies = {"JOV16", "UJ8", "IY8"};
// The family in that table a model code belongs to; "" for any other code.
std::string SelfFilledRowFamily(const std::string& typeCode);

struct OverviewRowHandler {
    std::function<void(int slot)> showChDataIO;      // shows the row's cells
    std::function<void(int slot)> setOverViewDataIO; // reads the card (already selected) into the row
};
// prefix: a family of kSelfFilledRowFamilies. Until a screen registers, such a
// row shows no cells.
void RegisterOverviewRowHandler(const std::string& prefix, OverviewRowHandler handler);
// The handler of a model code's family; nullptr for a code of no such family
// or a family no screen registered for.
const OverviewRowHandler* FindOverviewRowHandler(const std::string& typeCode);

// True when text begins with prefix.
inline bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace talvo
