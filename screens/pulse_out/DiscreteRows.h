#pragma once
// The overview rows that the discrete in/out cards (JOV16, UJ8) and the 8-channel
// pulse card (IY8) fill themselves during monitoring. No widget: they read the
// card the monitoring pass has selected and write the overview model.
#include <string>

namespace talvo::screens {

// What the screen of a family in kSelfFilledRowFamilies (core/Overview.h) does
// for its slot's overview row; the registration finds it by the family's code.
class SelfFilledRow {
public:
    virtual ~SelfFilledRow() = default;
    // Shows the row's cells.
    virtual void ShowChDataIO(int slot) = 0;
    // Fills the row from the card the monitoring pass selected.
    virtual void setOverViewDataIO(int slot) = 0;
};

// The low eight bits of the hexadecimal number a text starts with (upper or
// lower case digits; leading blanks skipped); 0 when it starts with none. Any
// number of digits: only the last eight bits are kept, nothing overflows.
unsigned LowByteOfHex(const std::string& text);

// JOV16: lamps 1-8, 17-24 and 25-32 from the three parts of item "18".
void ShowJov16Cells(int slot);
void FillJov16Row(int slot);
// UJ8: lamps 1-8 and 17-24 from the two halves of item "26".
void ShowUj8Cells(int slot);
void FillUj8Row(int slot);
// IY8: the four wide cells from the counters of channels 1 to 4.
void ShowIy8Cells(int slot);
void FillIy8Row(int slot);

}  // namespace talvo::screens
