#pragma once
// Reading which card sits in each slot, and one monitoring pass over all slots.

namespace talvo {

// Reads the model code of slots 1..16 into the records and the overview row heads.
// False when a slot did not answer ("Uploading incomplete" was shown).
bool UploadCardList();

// One pass over slots 1..16: live values and lamps into the overview rows.
// False when the pass ended early.
bool ReadAllCardsCycData();
// Passes back to back while CycReadOn is set and each pass succeeds.
void RunCycRead();

}  // namespace talvo
