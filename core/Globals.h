#pragma once
#include <array>
#include <string>

#include "core/CardRecord.h"

namespace talvo {

// State that more than one screen needs, one instance for the whole run.
struct Globals {
    int CurCardNo = 0;  // 0 overview, 1..16 the selected slot
    int ComPortNo = 1;
    std::string BaudRate;
    std::string CurFormType;
    std::string PrevFormType;
    bool StartingUp = true;
    bool Connected = false;
    bool CycReadOn = false;
    bool CardListFocused = false;
    bool FileLoaded = false;

    // Inclusive ranges of the "Zero Scale", "Full Scale", "Zero Adjust" and "Full Adjust" entries.
    double ZScaleMin = -32000, ZScaleMax = 32000;
    double FScaleMin = -32000, FScaleMax = 32000;
    double BiasMin = -320, BiasMax = 320;
    double GainMin = -3.2, GainMax = 3.2;

    std::array<bool, 16> SlotInUse{};  // index card No. - 1
    // Slots a card-list upload could not read (it failed before them): their
    // records tell nothing about the cards now there, so monitoring skips them.
    std::array<bool, 16> CardTypeUnread{};
    CardRecordTable CardRecords;
    std::string CommCardModel;
    bool IsMasterComm = false;
};

Globals& G();

// Start-up values; also sets the main window's start state through mainView().
void InitGlobals();
// Clears the 17 records before a new connection; Version keeps its text.
void ClearCardRecords();

// The record of the slot now selected, or nullptr when the overview is.
CardRecord* CurrentRecord();
// Record 17, the communication card's: its dialogs keep their settings there.
CardRecord& CommCardRecord();

}  // namespace talvo
