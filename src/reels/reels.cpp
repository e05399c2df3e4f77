#include "reels/reels.h"

// Not built yet: the reels keep their built-in pictures and never stop by themselves.
void BuildReelStrips() {}
void LoadMachinePictures() {}
void DrawInitialReels() {}
void ReelTick(int) {}
void FlashWin() {}
