// The reels: strips, pictures, drawing, the per-reel tick and the pay-line flashing.
#pragma once

void BuildReelStrips();
// Loads the symbol pictures into the machine screen and draws the reels at rest.
void LoadMachinePictures();
void DrawInitialReels();
// The tick of Timer1 (reel 0, left), Timer2 (1, centre) and Timer3 (2, right).
void ReelTick(int reel);
// The pay-line flashing after a game with a result; lasts until the next lever-on.
void FlashWin();
