#include "machine/flash_state.h"
#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/play_state.h"
#include "machine/reel_state.h"
#include "platform/picture.h"
#include "reels/reels.h"

ReelCells LeftCells, CentreCells, RightCells;

namespace {

struct SymbolPictures {
  PictureBox MachineScreen::*mask;
  PictureBox MachineScreen::*normal;
  PictureBox MachineScreen::*dark;
  PictureBox MachineScreen::*lit;
};

// By symbol code 1..5; any other code is drawn as a cherry.
const SymbolPictures kSymbols[6] = {
    {&MachineScreen::Picture11, &MachineScreen::Picture12, &MachineScreen::Picture23, &MachineScreen::Picture12},
    {&MachineScreen::Picture7, &MachineScreen::Picture8, &MachineScreen::Picture17, &MachineScreen::Picture8},
    {&MachineScreen::Picture9, &MachineScreen::Picture10, &MachineScreen::Picture18, &MachineScreen::Picture24},
    {&MachineScreen::Picture13, &MachineScreen::Picture14, &MachineScreen::Picture19, &MachineScreen::Picture14},
    {&MachineScreen::Picture15, &MachineScreen::Picture16, &MachineScreen::Picture20, &MachineScreen::Picture25},
    {&MachineScreen::Picture11, &MachineScreen::Picture12, &MachineScreen::Picture23, &MachineScreen::Picture12},
};

const SymbolPictures& PicturesOf(int code) { return kSymbols[(code >= 1 && code <= 5) ? code : 0]; }

// In MC style the reel whose turn it is to be stopped is lit: the number of stopped reels at which each reel
// (left, centre, right) has its turn, by StopOrder.
constexpr int kTurn[8][3] = {
    {2, 2, 2}, {0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {2, 0, 1}, {1, 2, 0}, {2, 1, 0}, {2, 2, 2},
};

struct Reel {
  const std::int16_t* strip;
  ReelCells* cells;
  std::int16_t* stopped;
  std::int16_t* pos;
  std::int16_t* offset;
  PictureBox MachineScreen::*background;
  PictureBox MachineScreen::*mcBackground;
  int backgroundX;
  int cellX;
};

Reel ReelOf(int reel) {
  switch (reel) {
    case 0:
      return {LeftStrip, &LeftCells, &Reels.LeftReelStopped, &Reels.LeftReelPos, &Reels.LeftReelOffset,
              &MachineScreen::Picture1, &MachineScreen::Picture26, 0, 3};
    case 1:
      return {CentreStrip, &CentreCells, &Reels.CentreReelStopped, &Reels.CentreReelPos, &Reels.CentreReelOffset,
              &MachineScreen::Picture2, &MachineScreen::Picture27, 128, 141};
    default:
      return {RightStrip, &RightCells, &Reels.RightReelStopped, &Reels.RightReelPos, &Reels.RightReelOffset,
              &MachineScreen::Picture3, &MachineScreen::Picture28, 260, 273};
  }
}

constexpr int kStoppedY[4] = {188, 128, 68, 8};

void StepFlashCounter() {
  Flash.FlashCounter += 1;
  if (Flash.FlashCounter > 120) Flash.FlashCounter = 0;
}

// The flashing sevens: normal, flash and dark pictures in turn on a stopped reel showing sevens.
PictureBox* LeftSeven(int c) {
  if (c % 3 == 1) return &Form2.Picture8;
  return (c >= 0 && c <= 30) ? &Form2.Picture21 : &Form2.Picture17;
}

PictureBox* LineSeven(bool test, int c) {
  if (test) return &Form2.Picture17;
  return (c >= 0 && c <= 30) ? &Form2.Picture8 : &Form2.Picture21;
}

void FlashSevens(int reel, ReelCells& cells) {
  const int c = Flash.FlashCounter;
  const int group = Lottery.StopGroup;
  if (reel == 0) {
    if (!(Reels.LeftReelStopped == 1 && Reels.LeftReelPos == 9)) return;
    cells.Sprite[1] = cells.Sprite[3] = LeftSeven(c);
    if (AllReelsStopped() && Reels.RightReelPos != 17) {
      // The seven off the pay line stops flashing.
      if (group == 2) cells.Sprite[1] = &Form2.Picture8;
      if (group == 4) cells.Sprite[3] = &Form2.Picture8;
    }
  } else if (reel == 1) {
    if (!(Reels.CentreReelStopped == 1 && Reels.LeftReelStopped == 1 && Reels.LeftReelPos == 9)) return;
    const int row = group == 1 ? 3 : group == 5 ? 1 : 2;
    const bool test = group == 1 ? c % 3 == 1 : c % 2 != 0;
    cells.Sprite[row] = LineSeven(test, c);
  } else {
    if (!(AllReelsStopped() && Reels.LeftReelPos == 9)) return;
    const bool odd = c % 2 != 0;
    switch (group) {
      case 1: cells.Sprite[3] = LineSeven(c % 3 == 1, c); break;
      case 3: cells.Sprite[2] = LineSeven(c % 3 == 1, c); break;
      case 2:
      case 4:
        if (Reels.RightReelPos == 17) {
          cells.Sprite[1] = cells.Sprite[3] = LineSeven(odd, c);
        } else {
          cells.Sprite[group == 2 ? 1 : 3] = LineSeven(odd, c);
        }
        break;
      case 5: cells.Sprite[1] = LineSeven(odd, c); break;
      default: return;
    }
  }
  StepFlashCounter();
}

void DrawCell(PictureBox& mask, PictureBox& sprite, int x, int y) {
  BitBlt(Form2.Picture4, x, y, 110, 55, mask, 0, 0, SRCPAINT);
  BitBlt(Form2.Picture4, x, y, 110, 55, sprite, 0, 0, SRCAND);
}

}  // namespace

void ChooseCells(int reel) {
  // The cells are only ever read to draw them.
  if (PixelDrawingOff) return;
  const Reel r = ReelOf(reel);
  bool lit = false;
  if (Mc.BonusPhase != 0) {
    const int n = Reels.LeftReelStopped + Reels.CentreReelStopped + Reels.RightReelStopped;
    const int order = (Lottery.StopOrder >= 1 && Lottery.StopOrder <= 6) ? Lottery.StopOrder : 7;
    lit = kTurn[order][reel] == n;
  }
  const bool counting = !Form2.McCounter.Caption().empty();
  for (int row = 0; row < 4; ++row) {
    const int code = SymbolAt(r.strip, *r.pos, row);
    const SymbolPictures& p = PicturesOf(code);
    PictureBox MachineScreen::*sprite = p.normal;
    if (Mc.BonusPhase == 0) {
      if (counting && code != Cherry) sprite = p.dark;
    } else {
      sprite = lit ? p.lit : p.dark;
    }
    r.cells->Mask[row] = &(Form2.*p.mask);
    r.cells->Sprite[row] = &(Form2.*sprite);
  }
}

void ComposeReel(int reel) {
  if (PixelDrawingOff) {
    // Nothing is drawn, but the sevens count their flashes.
    const std::int16_t stopped = reel == 0 ? Reels.LeftReelStopped : reel == 1 ? Reels.CentreReelStopped
                                                                              : Reels.RightReelStopped;
    if (stopped == 1) FlashSevens(reel, reel == 0 ? LeftCells : reel == 1 ? CentreCells : RightCells);
    return;
  }
  const Reel r = ReelOf(reel);
  if (*r.stopped == 1) FlashSevens(reel, *r.cells);
  PictureBox& background = Mc.BonusPhase != 0 ? Form2.*r.mcBackground : Form2.*r.background;
  BitBlt(Form2.Picture4, r.backgroundX, 0, 125, 200, background, 0, 0, SRCCOPY);
  const int off = *r.offset;
  const int spinningY[4] = {off + 130, off + 70, off + 10, off - 50};
  for (int row = 0; row < 4; ++row) {
    const int y = *r.stopped == 1 ? kStoppedY[row] : spinningY[row];
    DrawCell(*r.cells->Mask[row], *r.cells->Sprite[row], r.cellX, y);
  }
  Form2.Picture4.Refresh();
}

void DrawInitialReels() {
  constexpr int kCellX[3] = {3, 141, 273};
  constexpr int kY[4] = {-50, 10, 70, 130};
  constexpr int kCodes[3][4] = {
      {Replay, Seven, Cherry, Mame},
      {Replay, Mame, Mofuran, Seven},
      {Mame, Seven, Replay, Mofuran},
  };
  for (int reel = 0; reel < 3; ++reel)
    for (int i = 0; i < 4; ++i) {
      const SymbolPictures& p = PicturesOf(kCodes[reel][i]);
      DrawCell(Form2.*p.mask, Form2.*p.normal, kCellX[reel], kY[i]);
    }
  Form2.Picture4.Refresh();
}
