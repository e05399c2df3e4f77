#include "lottery/presentation.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "lottery/mc_sequence.h"
#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/play_state.h"
#include "machine/play_stats.h"
#include "machine/random.h"
#include "machine/reel_state.h"
#include "platform/convert.h"
#include "sound/sound_bank.h"

namespace {

constexpr int kMameCoins = 12;
constexpr int kLastGames = 8;
constexpr int kRevealChain = 30;
constexpr Colour kGrownBest = 0x00FFFF;

// A replay re-bets the next game, which starts slowly: the reel speed is put aside for the lever-on to restore.
void ReplayPresentation() {
  Play.SavedReelStep = Reels.ReelStep;
  Reels.ReelStep = 1;
  Play.BetPlaced = 1;
}

void PayMame(const char* sound) {
  PlayBankSound(sound);
  Play.CreditCoins = LabelNumber(Form2.Credits.Caption()) + kMameCoins;
  Form2.Credits.Caption = std::to_string(Play.CreditCoins);
  Stats.CoinsOut += kMameCoins;
  Form2.Timer5.Interval = 300;
}

void Spin(const char* sound, int ms, void (*start)()) {
  PlayBankSound(sound);
  Form2.Timer5.Interval = ms;
  start();
}

void Fanfare() {
  const bool fanfareStreak = Mc.FanfareStreak == 1;
  if (Mc.StreakPending == 1) {
    if (!fanfareStreak)
      PlayBankSound("Fanfare1.wav");
    else
      PlayBankSound(Form2.McCounter.Caption().empty() ? "Fanfare4.wav" : "Fanfare5.wav");
    Mc.StreakPending = 0;
  } else {
    PlayBankSound(fanfareStreak ? "Fanfare5.wav" : "Fanfare3.wav");
  }
}

// Three sevens: the fanfare and the chain of MCs. The MC's own start sequence takes over from here.
void AlignedMc() {
  Fanfare();
  Presentation.StreakMcCount += 1;
  if (Presentation.StreakMcCount > Presentation.StreakMcCountMax) {
    Presentation.StreakMcCountMax = Presentation.StreakMcCount;
    // A chain of 30 MCs gives the day's setting away.
    if (Presentation.StreakMcCountMax == kRevealChain) RevealSetting();
  }
  Form2.ChainBest.Caption = " /" + std::to_string(Presentation.StreakMcCountMax);
  Form2.ChainNow.Caption = std::to_string(Presentation.StreakMcCount) + " 回";
  Premonition.RevealStage = 0;
  StopDigitalDisplay();
}

// A won MC dressed as a replay: now and then the display matches, which brings the reveal close.
void McAsReplay() {
  if (Mc.StreakPending == 0 && Premonition.RevealStage == 0 && std::floor(10 * Uniform()) == 5) {
    PlayBankSound("Replay0.wav");
    PlayBankSound("degi0.wav");
    if (Mc.StreakPending != 1) Premonition.RevealStage = 1;
    Lottery.RevealCountdown = 1;
    SoroiDegime();
    // The replay on the reels re-bets here as well: the reel speed put aside is only given back by a lever-on
    // without a bet, so without the re-bet the next bet would keep the reels at the crawl of the slow start.
    ReplayPresentation();
    Form2.Timer5.Interval = 6000;
  } else {
    PlayBankSound("Replay0.wav");
    ReplayPresentation();
    Form2.Timer5.Interval = 100;
  }
}

// A won MC dressed as a Mofuran game while the reveal is being attempted: the display always matches.
void McMatch() {
  if (Lottery.StopPattern == StopPatterns::MofuranMiss) {
    int w = CInt(8 * Uniform() + 1);
    if (w == 5) {
      PlayBankSound("degi2.wav");
      Form2.Timer5.Interval = 1200;
    } else if (w == 7) {
      PlayBankSound("degi3.wav");
      Form2.Timer5.Interval = 2800;
      w = 6;
    } else {
      PlayBankSound("degi0.wav");
      Form2.Timer5.Interval = 6000;
    }
    Presentation.BellCue = static_cast<std::int16_t>(w);
  } else {
    PlayBankSound("degi0.wav");
    Form2.Timer5.Interval = 6000;
  }
  SoroiDegime();
}

// Before the reveal is attempted the display only hints, with a premonition's reach or no-reach.
void McHint() {
  const int x = RandomInt(5);
  if (x == 4) {
    Presentation.DigitalOutcome = 3;
    Spin("degi1.wav", 300, UnReachDegime);
  } else if (x == 2 || x == 3) {
    Presentation.DigitalOutcome = 2;
    Spin("degi2.wav", 500, ReachDegime);
  } else {
    Presentation.DigitalOutcome = 1;
    Spin("degi3.wav", 3000, ReachDegime);
  }
}

void WonMc() {
  switch (Lottery.StopPattern) {
    case StopPatterns::Bonus:
      AlignedMc();
      break;
    case StopPatterns::ReplayMiss:
      McAsReplay();
      break;
    case StopPatterns::MameMiss:
      PayMame("mame_1.wav");
      break;
    case StopPatterns::Flagged:
    case StopPatterns::MofuranMiss:
      if (Premonition.RevealStage == 1)
        McMatch();
      else
        McHint();
      break;
    default:
      break;
  }
}

void Replay() {
  if (Mc.BonusPhase == 0) {
    PlayBankSound("Replay0.wav");
  } else if (Lottery.McGamesLeft >= kLastGames) {
    PlayBankSound("Replay1.wav");
  } else if (RandomInt(7) == 4) {
    // A replay in the last games may win the next MC: the music breaks off.
    Pause(0.3f);
    Mc.StreakPending = 1;
    StopBankSound("CD7Sound.wav");
    StopMcMusic();
    PlayBankSound("Replay2.wav");
    if (Lottery.McGamesLeft == 1) PlayBankSound("Replay1.wav");
  } else {
    PlayBankSound("Replay1.wav");
  }
  ReplayPresentation();
  Form2.Timer5.Interval = 300;
}

struct DigitalSpin {
  std::int16_t outcome;
  const char* sound;
  int ms;
  void (*start)();
};

// A digital-display game spins to the outcome its lottery drew; anything else is a no-reach.
constexpr DigitalSpin kDigitalSpins[] = {
    {1, "degi3.wav", 3400, ReachDegime},
    {2, "degi2.wav", 1000, ReachDegime},
    {10, "degi0.wav", 6000, SoroiDegime},
};
constexpr DigitalSpin kNoReachSpin = {3, "degi1.wav", 700, UnReachDegime};

void DigitalGame() {
  DigitalSpin spin = kNoReachSpin;
  for (const DigitalSpin& s : kDigitalSpins)
    if (s.outcome == Presentation.DigitalOutcome) spin = s;
  Spin(spin.sound, spin.ms, spin.start);
}

// The growth of a long MC at 100 games left: the number of games it adds.
int GrowthDraw(std::int32_t length) {
  if (length == 444 || length == 666 || length == 888) {
    const int x = RandomInt(10);
    return x == 5 ? 10000 : (x == 2 || x == 3) ? 1000 : 0;
  }
  for (std::int32_t repdigit : {1111, 1222, 1777, 1888, 1999, 2111, 2222, 2999}) {
    if (length != repdigit) continue;
    const int x = CInt(5 * Uniform() + 1);
    return x == 2 ? 10000 : x == 3 ? 1000 : 0;
  }
  const int x = RandomInt(40);
  return x == 21 ? 10000 : (x == 11 || x == 12) ? 1000 : 0;
}

void GrowAtHundredLeft() {
  if (Lottery.McLength < 301 || Lottery.McGamesLeft != 100) return;
  const int games = GrowthDraw(Lottery.McLength);
  if (games == 0) return;
  Lottery.McGamesLeft = static_cast<std::int16_t>(Lottery.McGamesLeft + games);
  Lottery.McLength += games;
  if (games == 10000) {
    PlayBankSound("1Gren.wav");
    Play.ClosingExtension += 15000;
  } else {
    PlayBankSound("Bell.wav");
    if (Lottery.TodaySetting < 8) Lottery.TodaySetting += 1;
  }
  if (Lottery.McLength > Mc.BestMcLength) {
    Mc.BestMcLength = Lottery.McLength;
    Form2.McLengthBest.Caption = " /" + std::to_string(Mc.BestMcLength);
    Form2.McLengthBest.ForeColor = kGrownBest;
  }
  if (Lottery.McLength > 6000) Mc.McDigits = 4;
  Form2.McLengthNow.Caption = std::to_string(Lottery.McLength) + " 回";
}

}  // namespace

void FunFun() {
  Presentation.DigitalTease = 0;
  Play.ReadyForNextGame = 0;
  switch (Lottery.GameFlag) {
    case GameFlags::Mc:
      WonMc();
      break;
    case GameFlags::Replay:
      Replay();
      break;
    case GameFlags::Mame:
      PayMame(Mc.BonusPhase == 0 ? "mame_1.wav" : "mame_2.wav");
      break;
    case GameFlags::Digital:
      DigitalGame();
      break;
    default:
      break;
  }
  GrowAtHundredLeft();
  Presentation.PresentationPending = 0;
  Play.PlayAccepted = 1;
}
