// The pay-line flashing after a game with a result: the three cells on the line alternate between two pictures
// of the won symbol until the next lever-on. Three sevens also blink the backlights and the bonus lamp, and start
// the MC's start sequence.
#include "machine/flash_state.h"
#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/play_state.h"
#include "machine/reel_state.h"
#include "platform/events.h"
#include "platform/picture.h"
#include "reels/reels.h"
#include "sound/sound_bank.h"

namespace {

using Pic = PictureBox MachineScreen::*;

// A won symbol's pictures: lit in the frames whose test holds, dark in the others, or red instead of dark when a
// won MC flashes its fast variant.
struct FlashPictures {
  Pic lit;
  Pic dark;
  Pic red;
};

constexpr FlashPictures kSevens = {&MachineScreen::Picture21, &MachineScreen::Picture17, &MachineScreen::Picture17};
constexpr FlashPictures kMofuran = {&MachineScreen::Picture10, &MachineScreen::Picture18, &MachineScreen::Picture24};
constexpr FlashPictures kReplay = {&MachineScreen::Picture16, &MachineScreen::Picture20, &MachineScreen::Picture25};
constexpr FlashPictures kMame = {&MachineScreen::Picture14, &MachineScreen::Picture19, &MachineScreen::Picture22};

// The row of each reel (left, centre, right) on the pay line of StopGroup 1..5: 3 top, 2 middle, 1 bottom.
constexpr int kLineRow[5][3] = {{3, 3, 3}, {3, 2, 1}, {2, 2, 2}, {1, 2, 3}, {1, 1, 1}};
constexpr int kStoppedY[4] = {188, 128, 68, 8};
constexpr int kCellX[3] = {3, 141, 273};
constexpr int kBackgroundX[3] = {0, 128, 260};
constexpr Pic kNormalBackground[3] = {&MachineScreen::Picture1, &MachineScreen::Picture2, &MachineScreen::Picture3};
constexpr Pic kMcBackground[3] = {&MachineScreen::Picture26, &MachineScreen::Picture27, &MachineScreen::Picture28};

constexpr int kMcStartMs = 5800;

bool SevensShown() {
  const int pattern = Lottery.StopPattern;
  return Lottery.GameFlag == GameFlags::Mc &&
         (pattern == StopPatterns::Bonus || pattern < StopPatterns::Flagged || pattern > StopPatterns::MofuranMiss);
}

PictureBox* ChooseFlashSprite() {
  const bool sevens = SevensShown();
  const bool lit = Flash.FlashCounter == (sevens ? 1 : 2);
  const auto pick = [lit](const FlashPictures& p) {
    return &(Form2.*(lit ? p.lit : Flash.FlashVariant == 3 ? p.red : p.dark));
  };
  switch (Lottery.GameFlag) {
    case GameFlags::Mc:
      if (sevens) return pick(kSevens);
      if (Lottery.StopPattern == StopPatterns::ReplayMiss) return pick(kReplay);
      if (Lottery.StopPattern == StopPatterns::MameMiss) return pick(kMame);
      return pick(kMofuran);
    case GameFlags::Replay: {
      // An MC's own replays stay dark, unless the replay won the next MC.
      const bool dim = Mc.BonusPhase != 0 && Mc.StreakPending != 1;
      return lit && !dim ? &Form2.Picture16 : &Form2.Picture20;
    }
    case GameFlags::Mame: {
      // An MC's mame stays dark once the next game is bet.
      const bool dim = Mc.BonusPhase != 0 && Play.BetPlaced == 1 && Mc.StreakPending != 1;
      return lit && !dim ? &Form2.Picture14 : &Form2.Picture19;
    }
    default:
      return lit ? &Form2.Picture10 : &Form2.Picture18;
  }
}

// The sevens start the MC's start sequence: its first step comes 5800 ms after the first seven frame, as
// setting the interval it already has does not restart the timer. Until the sequence hands play back, game keys
// are ignored. With the left reel at 9 and the right at 17 the second diagonal shows sevens too and flashes.
void SevensFrame(PictureBox* sprite) {
  Flash.FlashPause = 0.03f;
  if (Mc.McStep == 0) {
    Form2.Timer4.Interval = kMcStartMs;
    Play.PlayAccepted = 0;
  }
  if (Reels.LeftReelPos != 9 || Reels.RightReelPos != 17) return;
  if (Lottery.StopGroup == 2) {
    LeftCells.Sprite[1] = sprite;
    RightCells.Sprite[3] = sprite;
  } else if (Lottery.StopGroup == 4) {
    LeftCells.Sprite[3] = sprite;
    RightCells.Sprite[1] = sprite;
  }
}

enum class Backdrop { Keep, Normal, Mc };

Backdrop ChooseBackdrop() {
  if (Mc.BonusPhase != 0) return Backdrop::Mc;
  if (Lottery.StopPattern != StopPatterns::Bonus || !AllReelsStopped()) return Backdrop::Keep;
  if (Play.ReadyForNextGame == 1) return Mc.McEnding != 2 ? Backdrop::Mc : Backdrop::Normal;
  if (Mc.McStep > 0) return Backdrop::Normal;
  // The revealed MC waits for its start sequence: the bonus lamp blinks with the backlights.
  const bool lit = Flash.FlashCounter == 1;
  Form2.Picture29.Visible = lit;
  return lit ? Backdrop::Mc : Backdrop::Normal;
}

void DrawFrame(Backdrop backdrop, PictureBox* sprite) {
  if (PixelDrawingOff) return;
  if (backdrop != Backdrop::Keep) {
    const Pic* sources = backdrop == Backdrop::Mc ? kMcBackground : kNormalBackground;
    for (int reel = 0; reel < 3; ++reel)
      BitBlt(Form2.Picture4, kBackgroundX[reel], 0, 125, 200, Form2.*sources[reel], 0, 0, SRCCOPY);
  }
  const int* line = kLineRow[Lottery.StopGroup - 1];
  const ReelCells* cells[3] = {&LeftCells, &CentreCells, &RightCells};
  for (int reel = 0; reel < 3; ++reel) {
    for (int row = 0; row < 4; ++row) {
      PictureBox* mask = cells[reel]->Mask[row];
      PictureBox* picture = row == line[reel] ? sprite : cells[reel]->Sprite[row];
      if (mask == nullptr || picture == nullptr) continue;
      BitBlt(Form2.Picture4, kCellX[reel], kStoppedY[row], 110, 55, *mask, 0, 0, SRCPAINT);
      BitBlt(Form2.Picture4, kCellX[reel], kStoppedY[row], 110, 55, *picture, 0, 0, SRCAND);
    }
  }
  Form2.Picture4.Refresh();
}

}  // namespace

void FlashWin() {
  StopBankSound("degi4.wav");
  if (Lottery.StopPattern == StopPatterns::Bonus) {
    Form2.Picture37.Visible = false;
    Form2.Picture40.Visible = false;
    Form2.Picture41.Visible = false;
  }
  int proxyFrames = 0;
  for (;;) {
    // The next lever-on has set the reels turning.
    if (Reels.LeftReelStopped + Reels.CentreReelStopped + Reels.RightReelStopped == 0) return;
    Sleep(1);
    if (Play.ScreenClosed == 1 || Lottery.GameFlag == GameFlags::None) return;

    PictureBox* sprite = ChooseFlashSprite();
    Flash.FlashSprite = sprite;
    if (Lottery.GameFlag == GameFlags::Mc && Lottery.StopPattern == StopPatterns::Bonus && Lottery.StopOrder == 1) {
      // The announced MC's lit reels go out now that it stands on the line.
      Mc.BonusPhase = 0;
      Lottery.StopOrder = 0;
    }
    if (SevensShown()) SevensFrame(sprite);
    DrawFrame(ChooseBackdrop(), sprite);
    Flash.FlashCounter += 1;
    if (Flash.FlashCounter > 2) Flash.FlashCounter = 1;

    if (Mc.McEnding == 2) return;
    // The next game may start inside this pause, and its own end of game run a flashing of its own.
    PauseWithEvents(Flash.FlashPause);
    if (Play.ProxyActive == 1) {
      proxyFrames += 1;
      if (Lottery.StopPattern == StopPatterns::Bonus ? Play.PlayAccepted == 1 : proxyFrames > 4) return;
    }
    if (Mc.BonusPhase == 1 && Lottery.McGamesLeft >= 7 && AllReelsStopped() && Lottery.GameFlag == GameFlags::Replay) {
      Flash.SkipGameEnd = 1;
      return;
    }
  }
}
