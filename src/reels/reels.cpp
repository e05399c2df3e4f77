#include "reels/reels.h"

// Not built yet: the line does not flash after a result.
void FlashWin() {}
