#include "lottery/premonitions.h"

#include <cstdint>
#include <string>

#include "lottery/digital_display.h"
#include "lottery/length_tables.h"
#include "lottery/stop_sounds.h"
#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/player_record.h"
#include "machine/random.h"
#include "platform/convert.h"
#include "sound/sound_bank.h"

namespace {

using namespace sounds;

constexpr StopSoundSet kLeverStops = {kLeverOn1, kLeverOn1, kLeverOn1};
constexpr StopSoundSet kHeavy = {kStSound2, kStSound2, kStSound2};
constexpr StopSoundSet kPlain = {kStSound1, kStSound1, kStSound1};
constexpr StopSoundSet kRising = {kStSound2, kStSound3, kStSound2};
constexpr StopSoundSet kFourFold = {kStSound4, kStSound4, kStSound4};
constexpr StopSoundSet kClimb = {kStSound2, kStSound3, kStSound4};
// The sets with a seven's or the MC's voice in the middle sound only in a reveal game.
constexpr StopSoundSet kAnnounce = {kStSound5, kStSound75, kStSound5};
constexpr StopSoundSet kSeven = {kStSound1, kStSound7, kStSound1};
constexpr StopSoundSet kSevenC = {kStSound2, kStSound7c, kStSound2};
constexpr StopSoundSet kSevenNi = {kStSound4, kStSound7ni, kStSound4};
constexpr StopSoundSet kSevenE = {kStSound2, kStSound7e, kStSound2};
constexpr StopSoundSet kSevenEClimb = {kStSound2, kStSound7e, kStSound4};

struct EarlyGame {
  StopSoundSet stops;
  const char* lever;
  std::int16_t pattern;
  bool offBottomLine;  // a StopGroup of 5 becomes 4
  bool tease;          // the digital display rolls a no-reach that does not stop
};

// An early premonition game by r = RandomInt(18).
constexpr EarlyGame kEarlyGames[19] = {
    {kClimb, kLeverOn0, 4, false, false},      // 0
    {kLeverStops, kLeverOn1, 4, false, false},  // 1
    {kHeavy, kLeverOn2, 4, false, false},       // 2
    {kPlain, kLeverOn2, 4, false, false},       // 3
    {kPlain, kLeverOn0, 2, false, false},       // 4
    {kRising, kLeverOn0, 4, false, false},      // 5
    {kRising, kLeverOn0, 4, false, false},      // 6
    {kPlain, kLeverOn0, 3, true, false},        // 7
    {kHeavy, kLeverOn0, 4, false, false},       // 8
    {kHeavy, kLeverOn0, 4, false, false},       // 9
    {kClimb, kLeverOn0, 4, false, false},       // 10
    {kFourFold, kLeverOn0, 4, false, false},    // 11
    {kFourFold, kLeverOn1, 4, false, true},     // 12
    {kFourFold, kLeverOn0, 3, true, false},     // 13
    {kClimb, kLeverOn0, 3, true, false},        // 14
    {kFourFold, kLeverOn0, 2, false, false},    // 15
    {kClimb, kLeverOn0, 2, false, false},       // 16
    {kFourFold, kLeverOn0, 4, false, false},    // 17
    {kClimb, kLeverOn0, 4, false, false},       // 18
};

// The stop sounds of a reveal from stage 1, by v = the integer nearest to 11 * Uniform() + 1; v 1 and 9..12
// (null here) are the plain set.
constexpr const StopSoundSet* kStageOneReveal[13] = {
    nullptr, nullptr, &kSeven, &kSevenC, &kSevenNi, &kPlain, &kPlain, &kPlain, &kSevenE,
    nullptr, nullptr, nullptr, nullptr,
};

bool CounterShown() { return !Form2.McCounter.Caption().empty(); }

void HideDigitWindows() {
  Form2.Picture37.Visible = false;
  Form2.Picture40.Visible = false;
  Form2.Picture41.Visible = false;
}

// The display rolls a no-reach that never stops by itself, to the "degi4" loop.
void Tease() {
  LoopBankSound("degi4.wav");
  Presentation.DigitalTease = 1;
  UnReachDegime();
}

// The MC is announced before the reels are stopped: the order 123 and the MC's lit reels.
void Announce() {
  Lottery.StopOrder = 1;
  Mc.BonusPhase = 2;
  Form2.PremonitionLine.Caption = "123";
}

void Reveal() {
  Lottery.StopPattern = StopPatterns::Bonus;
  Premonition.RevealStage = 2;
  Lottery.RevealCountdown = 0;
}

void EarlyPremonition() {
  const EarlyGame& g = kEarlyGames[RandomInt(18)];
  Lottery.RevealCountdown -= 1;
  SetStopSounds(g.stops);
  Lottery.LeverSound = g.lever;
  Lottery.StopPattern = g.pattern;
  if (g.offBottomLine && Lottery.StopGroup == 5) Lottery.StopGroup = 4;
  if (g.tease) Tease();
}

void AttemptFromStageZero() {
  const int s = RandomInt(13);
  if (s <= 6) {
    Premonition.RevealStage = 1;
    return;
  }
  Reveal();
  if (s <= 9) {
    Announce();
    SetStopSounds(kAnnounce);
  } else if (s <= 11) {
    Announce();
    SetStopSounds(kSevenNi);
    Lottery.LeverSound = kLeverOn1;
    Tease();
  } else if (s == 12) {
    SetStopSounds(kSevenEClimb);
  } else {
    SetStopSounds(kPlain);
  }
}

void AttemptFromStageOne() {
  const int t = CInt(10 * Uniform() + 2);
  if (t == 2 || t == 3) {
    Lottery.StopPattern = static_cast<std::int16_t>(t);
    if (Mc.StreakPending == 1) {
      Form2.GamesSinceMc.Caption = "1";
      Premonition.RevealStage = 0;
    }
    return;
  }
  Reveal();
  const StopSoundSet* set = kStageOneReveal[CInt(11 * Uniform() + 1)];
  SetStopSounds(set != nullptr ? *set : kPlain);
  // With an MC counter on screen the reveal always has the MC's voice.
  if (CounterShown()) SetStopSounds(kAnnounce);
}

// A streak game that becomes a fanfare streak: a premium MC from table C and the streak's own rank.
void EnterFanfareStreak() {
  if (Lottery.StopPattern == StopPatterns::Bonus) {
    PlayBankSound("1Gren.wav");
  } else {
    PlayBankSound("LeverOn0.wav");
    SetStopSounds(kPlain);
  }
  Lottery.LeverSound = kLeverOn1;
  DrawMcLength(LengthTable::C);
  Mc.FanfareStreak = 1;
  Lottery.StreakRank = static_cast<std::int16_t>(Lottery.McGamesLeft <= 499 ? -2 : 4);
  if (Lottery.StopPattern == StopPatterns::Bonus) {
    Record.FanfareTotal += 1;
    Mc.FanfareCount += 1;
    Form2.FanfareCount.Caption = std::to_string(Mc.FanfareCount);
  }
}

void CloseStreakGame() {
  if (CounterShown()) {
    Lottery.LeverSound = kLeverOn1;
    return;
  }
  const int limit = Record.FanfareX5Item == ItemCodes::FanfareInUse ? 19 : 15;
  Randomize();
  int u = RandomInt(100);
  if (Mc.FanfareStreak == 1) u = 15;
  const bool nearMiss = Lottery.StopPattern == StopPatterns::ReplayMiss || Lottery.StopPattern == StopPatterns::MameMiss;
  if (u <= 14) {
    Lottery.LeverSound = kLeverOn2;
  } else if (u <= limit) {
    EnterFanfareStreak();
  } else if (u >= 21 && u <= 55) {
    if (nearMiss) {
      Lottery.LeverSound = kLeverOn0;
      SetStopSounds(kPlain);
    } else {
      Announce();
      Lottery.LeverSound = kLeverOn3;
      SetStopSounds(kAnnounce);
      HideDigitWindows();
    }
  } else {
    Lottery.LeverSound = kLeverOn0;
    if (nearMiss) SetStopSounds(kPlain);
  }
}

void CloseRevealGame() {
  if (Mc.StreakPending == 1) {
    CloseStreakGame();
  } else if (Mc.BonusPhase == 2) {
    Lottery.LeverSound = kLeverOn3;
    HideDigitWindows();
  } else {
    Lottery.LeverSound = kLeverOn0;
  }
}

}  // namespace

void RevealSequence() {
  if (Lottery.RevealCountdown >= 3) {
    EarlyPremonition();
    return;
  }
  if (Premonition.RevealStage != 1)
    AttemptFromStageZero();
  else
    AttemptFromStageOne();
  CloseRevealGame();
}
