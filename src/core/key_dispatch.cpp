#include "core/key_dispatch.h"

#include "core/day.h"
#include "core/game_cycle.h"
#include "core/proxy_play.h"
#include "machine/flash_state.h"
#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/play_state.h"
#include "machine/player_record.h"
#include "machine/proxy_contract.h"
#include "machine/reel_state.h"
#include "platform/convert.h"
#include "platform/events.h"
#include "platform/vk.h"

namespace {

// The stop-pressed flag of the reel a stop key stops.
std::int16_t& StopPressedOf(int key) {
  if (key == vkLeft) return Play.LeftStopPressed;
  if (key == vkDown) return Play.CentreStopPressed;
  return Play.RightStopPressed;
}

// Up: the hall's closing time, then whether the last game has ended.
bool LeverGuard() {
  const double closing = 10000.0 + Record.MembershipGames + Play.ClosingExtension;
  if (Val(Form2.TotalGames.Caption()) > closing) {
    EndProxyPlay();
    MsgBox("残念ながら閉店です。", vbOKOnly, "ご利用ありがとうございました。");
    return false;
  }
  if (Play.ReadyForNextGame == 1 && AllStopsPressed()) {
    Play.ReadyForNextGame = 0;
    Mc.McEnding = 0;
    Flash.SkipGameEnd = 0;
    Play.LeftStopPressed = Play.CentreStopPressed = Play.RightStopPressed = 1;
    return true;
  }
  return false;
}

void UpdateSpeedLine() {
  Play.DigitalSpeedSteps = CInt(Record.DigitalSpeed);
  Form2.SpeedHelp.Caption = SpeedLine();
}

// The keys that play: fast play, bet, lever and the stops.
void GameKeys(int key) {
  if (Play.PlayAccepted != 1) return;
  if (key == vkT && Record.FastPlayCoins > 1) {
    if (Mc.BonusPhase == 1 && Lottery.McGamesLeft > 15) FastPlayStep();
  } else if (key == vkControl) {
    if (Form2.Picture5.Visible() && Play.BetPlaced == 0) PlaceBet();
  } else if (key == vkUp) {
    LeverOnSequence();
  } else {
    WaitForStops();
    EndOfGame();
  }
}

}  // namespace

void Form_KeyDown(int keyCode, int) {
  Play.KeyCode = static_cast<std::int16_t>(keyCode);
  // While the proxy plays, only F6 reaches the dispatcher; the code stays for the stop wait loop to see.
  if (Play.ProxyActive == 1 && keyCode != vkF6) return;
  MainLoopSub();
}

void MainLoopSub() {
  const int key = Play.KeyCode;
  switch (key) {
    case vkControl:
      if (!(AllReelsStopped() && Form2.Picture5.Visible())) return;
      break;
    case vkEscape:
      Owari();
      return;
    case vkLeft:
    case vkRight:
    case vkDown:
      if (Form2.Timer1.Interval() == 0) return;
      if (Play.StopsEnabled != 1) {
        Play.KeyCode = 0;
        return;
      }
      // A reel's stop is accepted once a game: a repeated press while the reels turn would only nest another
      // wait for the same stops (a held key nests without bound).
      if (StopPressedOf(key) == 1 && !AllReelsStopped()) return;
      break;
    case vkUp:
      if (!LeverGuard()) return;
      break;
    case '1': Reels.ReelStep = 12; return;
    case '2': Reels.ReelStep = 15; return;
    case '3': Reels.ReelStep = 20; return;
    case '4': Reels.ReelStep = 30; return;
    case '5': Play.ProxyInterval = 260; return;
    case '6': Play.ProxyInterval = 400; return;
    case '7': Play.ProxyInterval = 600; return;
    case vkR:
      RKey();
      return;
    case vkT:
      if (Record.FastPlayCoins == 0) return;
      break;
    case vkU:
      Record.DigitalSpeed = Record.DigitalSpeed > 19 ? 20.0f : Record.DigitalSpeed + 1;
      UpdateSpeedLine();
      return;
    case vkY:
      Record.DigitalSpeed = Record.DigitalSpeed < 1 ? 0.0f : Record.DigitalSpeed - 1;
      UpdateSpeedLine();
      return;
    case vkF6:
      ProxyRequest();
      return;
    case vkF8:
      Play.ReadyForNextGame = 1;
      return;
    default:
      return;
  }
  GameKeys(key);
}
