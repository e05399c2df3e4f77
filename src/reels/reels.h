// The reels: strips, pictures, drawing, the per-reel tick and the pay-line flashing.
#pragma once
#include <cstdint>

class PictureBox;

// Symbol codes on the strips.
enum SymbolCode : std::int16_t { Seven = 1, Mofuran = 2, Mame = 3, Replay = 4, Cherry = 5 };

// 21 stops each, held as 25 entries: 21..24 repeat 0..3 so that a window reads without wrapping.
extern std::int16_t LeftStrip[25], CentreStrip[25], RightStrip[25];
void BuildReelStrips();
// The symbol a reel at position p (1..22) shows in row r (0 hidden below, 1 bottom, 2 middle, 3 top).
std::int16_t SymbolAt(const std::int16_t* strip, int pos, int row);

// The four rows of a reel as chosen for this tick: mask and sprite per row.
struct ReelCells {
  PictureBox* Mask[4] = {};
  PictureBox* Sprite[4] = {};
};
extern ReelCells LeftCells, CentreCells, RightCells;

// Loads the symbol pictures into the machine screen, in their order.
void LoadMachinePictures();
// Draws the twelve resting cells over the reel window's own picture.
void DrawInitialReels();
// The two halves of a reel's frame: the cell choice, and the composition into the reel window. Both draw
// nothing in no-draw mode but a stopped reel's sevens still count their flashes.
void ChooseCells(int reel);
void ComposeReel(int reel);

// The tick of Timer1 (reel 0, left), Timer2 (1, centre) and Timer3 (2, right).
void ReelTick(int reel);
// The stop decision of a reel in the last tick of a position after its stop key: its result's row of the stop
// table, or the near-miss decision of results that line up nothing of their own.
void StopDecision(int reel);
void HidaReal();
void NakaREAL();
void MigiReal();
// Whether a reel (0..2) at a position may stop there for the game's result.
bool StopAllowed(int reel, int pos);

// The pay-line flashing after a game with a result; lasts until the next lever-on.
void FlashWin();
