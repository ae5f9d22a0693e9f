#pragma once
// Reading which card sits in each slot, and one monitoring pass over all slots.
#include <string>

namespace talvo {

// Reads the model code of slots 1..16 into the records and the overview row heads.
// False when a slot did not answer ("Uploading incomplete" was shown).
bool UploadCardList();

// The model a slot holds, as the card list reads it from the communication
// card (the caller holds the line for it): the slot code, "NONE" for an empty
// slot, a power monitor's full model text from the card itself. "" when the
// slot code was not answered, "CNG" or "NEEDLESS" when it was refused.
std::string ReadSlotModel(int slot, int retries);

struct PassOptions {
    // Monitoring: the pass ends at the next slot once CycReadOn is cleared (Stop).
    bool stopWhenMonitoringEnds = false;
    // The link was already reported lost (a failed list upload): disconnect quietly.
    bool lossAlreadyShown = false;
};

// One pass over the slots whose card type is known: live values and lamps into
// the overview rows. A card that stops answering is reported once ("Uploading
// incomplete") and disconnects. False when the pass ended early.
bool ReadAllCardsCycData(PassOptions options = {});
// Passes back to back while CycReadOn is set and each pass succeeds.
void RunCycRead();

}  // namespace talvo
