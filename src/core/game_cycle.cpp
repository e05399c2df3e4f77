#include "core/game_cycle.h"

#include "core/day_listener.h"
#include "core/proxy_play.h"
#include "lottery/internal_lottery.h"
#include "lottery/mc_sequence.h"
#include "lottery/presentation.h"
#include "lottery/stop_sounds.h"
#include "machine/flash_state.h"
#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/play_state.h"
#include "machine/play_stats.h"
#include "machine/player_record.h"
#include "machine/proxy_contract.h"
#include "machine/random.h"
#include "machine/reel_state.h"
#include "platform/convert.h"
#include "platform/events.h"
#include "platform/picture.h"
#include "platform/vk.h"
#include "reels/reels.h"
#include "sound/sound_bank.h"

namespace {

constexpr std::int64_t kYen1000 = 1000 * 10000;

// Lever-ons since the program started: tells a stop wait whether its own game is still the one being played.
std::uint64_t g_leverOns = 0;

// Plays the stop sound of the next accepted stop; the three heavy ones black the reel window out.
void AcceptStop(std::int16_t& pressed) {
  pressed = 1;
  const int i = Play.StopSoundIndex;
  if (i >= 1 && i <= 3) {
    const std::string& sound = Lottery.StopSounds[i - 1];
    SndPlaySound(AppFolder + sound);
    if (sound == sounds::kStSound2 || sound == sounds::kStSound3 || sound == sounds::kStSound4)
      ReelBlackout();
  }
  Play.StopSoundIndex += 1;
}

// A lever-on moves each reel on by one position (0 first becomes 1; 21 becomes 22 for one step).
void StartReel(Timer& timer, std::int16_t& pos) {
  timer.Interval = 1;
  if (pos == 0) pos = 1;
  pos += 1;
}

// The big MC counter: its last McDigits characters from 8 up, "-n-" below, empty at 0.
void ShowMcCounterAfterLostGame() {
  const int left = Lottery.McGamesLeft;
  if (left >= 8) {
    Form2.McCounter.Caption = RightChars(std::to_string(left), Mc.McDigits);
  } else {
    Form2.McCounter.Caption = left > 0 ? "-" + std::to_string(left) + "-" : "";
  }
  PlayBankSound("Boffu.wav");
}

}  // namespace

void PlaceBet() {
  if (Mc.BonusPhase == 1 && Mc.StreakPending != 1) {
    if (Lottery.McGamesLeft != 0)
      PlayBankSound("mcbet.wav");
    else
      Mc.BonusPhase = 0;
  }
  Form2.Picture5.Visible = false;
  Play.MoneyOnHand = LabelMoney();
  Play.CreditCoins = LabelNumber(Form2.Credits.Caption());
  Play.SavedReelStep = Reels.ReelStep;
  Reels.ReelStep = 1;
  if (Play.MoneyOnHand.units < kYen1000 && Play.CreditCoins < 3) {
    MsgBox("破産しますた・・・。", vbOKOnly);
    BankruptToday = 1.0f;
    return;
  }
  if (Play.CreditCoins < 3) {
    Play.MoneyOnHand.units -= kYen1000;
    Play.CreditCoins += 50;
  }
  Play.BetPlaced = 1;
  Play.CreditCoins -= 3;
  Stats.CoinsIn += 3;
  Stats.BetsPlaced += 1;
  Form2.Money.Caption = FormatMoney(Play.MoneyOnHand);
  Form2.Credits.Caption = std::to_string(Play.CreditCoins);
}

void LeverOnSequence() {
  if (Play.PlayAccepted != 1) return;
  if (Play.ProxyActive == 1) {
    Play.ProxyGames += 1;
    if (Play.ProxyGames > Play.ContractGames) EndProxyPlay();
  }
  if (!AllStopsPressed()) return;
  if (Play.BetPlaced == 0) {
    PlaceBet();
    Pause(0.3f);
  }
  Play.BetPlaced = 0;
  if (Mc.StreakPending == 1) {
    Lottery.GameFlag = GameFlags::Mc;
    Premonition.RevealStage = 1;
    Lottery.RevealCountdown = 2;
    Mc.BonusPhase = 0;
  }
  Play.KeyState[static_cast<std::uint8_t>(Play.KeyCode)] = 1;
  if (Play.KeyState[vkUp] == 1) Play.LeverOn = 1;
  Presentation.PresentationPending = 1;
  Play.StopSoundIndex = 1;
  Play.StopsEnabled = 0;
  Play.LeftStopPressed = Play.CentreStopPressed = Play.RightStopPressed = 0;
  Reels.LeftReelStopped = Reels.CentreReelStopped = Reels.RightReelStopped = 0;
  ++g_leverOns;
  Reels.LeftReelOffset = Reels.CentreReelOffset = Reels.RightReelOffset = 0;
  StartReel(Form2.Timer1, Reels.LeftReelPos);
  StartReel(Form2.Timer2, Reels.CentreReelPos);
  StartReel(Form2.Timer3, Reels.RightReelPos);
  Form2.Timer12.Interval = 100;
  Form2.TotalGames.Caption = std::to_string(Play.TotalGames + 1);
  Form2.Timer5.Interval = 250;

  if (Presentation.StreakMcCount == 0) {
    Play.StreakGames = 0;
  } else {
    Play.StreakGames += 1;
    if (Mc.StreakPending != 1) Form2.McRunGames.Caption = std::to_string(Play.StreakGames);
    if (Play.StreakGames > Play.StreakGamesMax) {
      Play.StreakGamesMax = Play.StreakGames;
      if (Mc.StreakPending != 1) Form2.RunGamesBest.Caption = std::to_string(Play.StreakGamesMax) + " /";
    }
    if (Mc.StreakPending != 1) Form2.RunGamesNow.Caption = std::to_string(Play.StreakGames) + " 回";
    if (Play.StreakGamesMax == 3000) RevealSetting();
  }

  Play.TotalGames = LabelNumber(Form2.TotalGames.Caption());
  Play.KeyState[vkUp] = 0;

  if (Mc.BonusPhase == 1) {
    McGameLottery();
    WaitForStops();
  } else {
    Form2.GamesSinceMc.Caption =
        Mc.StreakPending == 1 ? std::string("1") : std::to_string(LabelNumber(Form2.GamesSinceMc.Caption()) + 1);
    InternalLottery();
    SndPlaySound(AppFolder + Lottery.LeverSound);
    StopBankSound("CD7Sound.wav");
    WaitForStops();
  }
}

void WaitForStops() {
  const std::uint64_t game = g_leverOns;
  for (;;) {
    DoEvents();
    Sleep(2);
    if (Play.KeyCode == vkLeft && Play.LeftStopPressed == 0) AcceptStop(Play.LeftStopPressed);
    if (Play.KeyCode == vkDown && Play.CentreStopPressed == 0) AcceptStop(Play.CentreStopPressed);
    if (Play.KeyCode == vkRight && Play.RightStopPressed == 0) AcceptStop(Play.RightStopPressed);
    if (Play.LeverOn == 1) break;
    if (AllReelsStopped()) break;
    if (Play.ScreenClosed == 1) return;
    if (Play.ProxyActive == 1) {
      // A wait left over from an earlier game (a stop key of the player's whose dispatch outlived that game, as
      // its flashing lasts until the next lever-on) has nothing left to wait for. Staying, it would hold the
      // proxy back from every stop of the game it plays now.
      if (game != g_leverOns) return;
      const bool anyStopped = Reels.LeftReelStopped == 1 || Reels.CentreReelStopped == 1 || Reels.RightReelStopped == 1;
      Play.ProxyReady = anyStopped ? 1 : 0;
      if (Play.ProxyReady == 1) return;
    }
    // The checks above, run again, find the same until a key or a tick changes something.
    SkipQuietPasses(2);
  }
  Play.KeyState[vkUp] = 0;
  Play.LeverOn = 0;
}

void ReelBlackout() {
  BitBlt(Form2.Picture4, 0, 0, 400, 200, Form2.Picture6, 0, 0, SRCCOPY);
  Form2.Picture4.Refresh();
  Pause(0.03f);
}

void EndOfGame() {
  if (Flash.SkipGameEnd == 1 || Play.ScreenClosed == 1) return;
  if (AllReelsStopped()) {
    Form2.Timer1.Interval = 0;
    Form2.Timer2.Interval = 0;
    Form2.Timer3.Interval = 0;
  }
  Form2.PremonitionLine.Caption = "";
  if (!AllReelsStopped()) return;
  if (Play.StopsEnabled == 1 && Lottery.GameFlag == GameFlags::None && Play.BetPlaced == 0) Form2.Picture5.Visible = true;

  if (Lottery.GameFlag == GameFlags::None) {
    if (Lottery.McGamesLeft > 0 && Play.ReadyForNextGame == 0) {
      Lottery.McGamesLeft -= 1;
      if (Lottery.McGamesLeft < 8 && Mc.McEnding == 2) {
        Listener().gameEnd();
        return;
      }
      ShowMcCounterAfterLostGame();
    }
    Play.ReadyForNextGame = 1;
    Listener().gameEnd();
    return;
  }

  if (Presentation.PresentationPending == 1) FunFun();
  if (Mc.BonusPhase != 0) {
    int counted = 0;
    if (Play.BetPlaced == 0) {
      counted = Lottery.GameFlag != GameFlags::Mc ? 1 : 0;
    } else {
      counted = (Lottery.GameFlag == GameFlags::Replay ? 1 : 0) + (Play.KeyCode == vkT ? 1 : 0);
    }
    McCountdownStep(counted);
  }
  if (Lottery.GameFlag == GameFlags::Mc) {
    Flash.FlashVariant = static_cast<std::int16_t>(RandomInt(5));
    Flash.FlashPause = Flash.FlashVariant == 3 ? 0.03f : 0.15f;
  } else {
    Flash.FlashPause = 0.15f;
  }
  // The game is over and paid; the flashing lasts until the next lever-on.
  Listener().gameEnd();
  if (Mc.McEnding != 2) FlashWin();
}

void Timer12_Tick() {
  Reels.ReelStep = Play.SavedReelStep;
  Form2.Timer12.Interval = 0;
}

void Timer5_Tick() {
  Play.StopsEnabled = 1;
  if (Presentation.BellCue > 4) {
    PlayBankSound("Bell.wav");
    Presentation.BellCue = 0;
  }
  Form2.Timer5.Interval = 0;
  if (!AllReelsStopped()) return;
  Play.ReadyForNextGame = 1;
  if (Lottery.GameFlag == GameFlags::Mame || Lottery.GameFlag == GameFlags::Digital || Lottery.StopPattern == StopPatterns::MameMiss || Lottery.StopPattern == StopPatterns::MofuranMiss)
    Form2.Picture5.Visible = true;
  if (Lottery.GameFlag == GameFlags::Mc) {
    const bool lamp = ((Lottery.StopPattern == StopPatterns::Flagged || Lottery.StopPattern == StopPatterns::MofuranMiss) && Premonition.RevealStage == 1) ||
                      (Lottery.StopPattern == StopPatterns::ReplayMiss && Premonition.RevealStage == 1 && Lottery.RevealCountdown == 1);
    if (lamp) Form2.Picture29.Visible = true;
  }
}
