#include "lottery/internal_lottery.h"

#include <string>

#include "lottery/length_tables.h"
#include "lottery/lottery_tables.h"
#include "lottery/premonitions.h"
#include "lottery/stop_sounds.h"
#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/play_state.h"
#include "machine/player_record.h"
#include "machine/random.h"
#include "platform/convert.h"
#include "sound/sound_bank.h"

namespace {

constexpr int kCeilingGames = 1280;
constexpr std::int16_t kCeilingSetting = 7;
constexpr int kFanfareStreakGames = 50;
constexpr int kOneShotMc = 8;

// The games since the last MC, as the counter beside "MC間数" shows them.
int GamesShown() { return LabelNumber(Form2.GamesSinceMc.Caption()); }

void DrawCycle() {
  const int mode = Lottery.LotteryMode;
  Lottery.CycleLength = CycleLengthFromDraw(mode, RandomInt(CycleDrawSize(mode)));
  if (mode == 3) {
    // The pull-back mode shows itself only to players who bought the readout and to two of the house's names.
    if (Lottery.LotteryDisplayBought == 1 || PlayerName == "ぽてまるん" || PlayerName == "くもたこ")
      Form2.ModeReadout.Caption = "引き戻しモード";
  } else {
    Form2.ModeReadout.Caption = "";
  }
}

// Close after an MC the game is a replay on the falling diagonal, later a digital-display game.
void DigitalOrReplay() {
  if (GamesShown() < 3) {
    Lottery.GameFlag = GameFlags::Replay;
    Lottery.StopGroup = 2;
  } else {
    Lottery.GameFlag = GameFlags::Digital;
  }
}

void ClassifyOneShot(int m) {
  std::int16_t& group = Lottery.StopGroup;
  if (m == kOneShotMc) {
    Lottery.GameFlag = GameFlags::Mc;
  } else if (m % 9 == 1) {
    Lottery.GameFlag = GameFlags::Replay;
    if (group == 5) group = 4;  // a replay never lines up on the bottom line
  } else if (m % 13 == 10) {
    Lottery.GameFlag = GameFlags::Mame;
  } else if (m % 4 == 3) {
    DigitalOrReplay();
    if (group == 3) group = 1;
  } else {
    if (Lottery.CycleLeft != 0)
      Lottery.GameFlag = GameFlags::None;
    else
      DigitalOrReplay();
    if (group == 1 || group == 3) group = 2;
    if (group == 5) group = 4;
  }
}

// The cycle game: the pull-back mode always wins; otherwise the B draw at the setting's odds, then the C draw,
// whose odds improve after long droughts.
void CycleGame() {
  if (Lottery.LotteryMode == LotteryModes::PullBack) {
    Lottery.GameFlag = GameFlags::Mc;
    Lottery.CycleText = "引戻し当選";
  } else if (RandomInt(Lottery.CycleOdds) == 1) {
    Lottery.GameFlag = GameFlags::Mc;
    Lottery.CycleText = "Ｂ当選！";
  } else {
    if (Lottery.GamesSinceMc > 1023) Lottery.CycleOdds = 4;
    if (Lottery.GamesSinceMc > 1279) Lottery.CycleOdds = 2;
    if (RandomInt(Lottery.CycleOdds) == 1) {
      Lottery.CycleText = "Ｃ当選！";
      Lottery.GameFlag = GameFlags::Mc;
    }
  }
  // A one-shot win whose cycle game drew nothing keeps the text of the previous game.
  if (Lottery.GameFlag != GameFlags::Mc) Lottery.CycleText = "はずれ！";
  if (Lottery.GameFlag == GameFlags::Mc) StreakRankDraw();
}

void ShowReadout() {
  Form2.LotteryReadout.Caption = "一発:" + Lottery.OneShotText + "　周期:" + std::to_string(Lottery.CycleLeft) + "/" +
                          std::to_string(Lottery.CycleLength - 1) + Lottery.CycleText;
}

// A digital-display game: its stop sounds hint at the outcome the display will show.
void HandOverDigitalGame() {
  int t = RandomInt(10);
  if (Lottery.CycleLeft == 0 || Lottery.CycleLeft == 1) t = 2;
  if (t == 1 || t == 2) {
    SetStopSounds(kRisingStops);
    int v = RandomInt(10);
    if (Lottery.CycleLeft == 0) v = RandomInt(100) <= 31 ? 5 : 10;
    Presentation.DigitalOutcome = v <= 9 ? 2 : 1;
  } else if (t >= 3 && t <= 8) {
    SetStopSounds(kPlainStops);
    Presentation.DigitalOutcome = 10 * Uniform() > 8 ? 2 : 3;
  } else {
    SetStopSounds(kHeavyStops);
    Presentation.DigitalOutcome = 2;
  }
  Lottery.LeverSound = sounds::kLeverOn0;
}

void HandOver() {
  switch (Lottery.GameFlag) {
    case GameFlags::Mc:
      Lottery.RevealCountdown = CInt(5 * Uniform() + 2);
      DrawMcLength(LengthTable::B);
      RevealSequence();
      break;
    case GameFlags::Digital:
      HandOverDigitalGame();
      break;
    default:
      SetStopSounds(kPlainStops);
      Lottery.LeverSound = sounds::kLeverOn0;
      break;
  }
}

}  // namespace

void InternalLottery() {
  Randomize();
  Lottery.GamesSinceMc += 1;
  if (Mc.FanfareStreak == 1 && GamesShown() == kFanfareStreakGames) Mc.FanfareStreak = 0;
  if (GamesShown() == kCeilingGames) Lottery.TodaySetting = kCeilingSetting;
  if (Mc.StreakPending == 1) DrawMcLength(LengthTable::A);

  if (Lottery.LotteryMode == LotteryModes::Undrawn) Lottery.LotteryMode = ModeFromDraw(RandomInt(984));
  if (Lottery.CycleLength == 0) {
    DrawCycle();
    Lottery.CycleLeft = Lottery.CycleLength - 1;
  } else {
    Lottery.CycleLeft -= 1;
  }

  const SettingOdds odds = OddsOfSetting(Lottery.TodaySetting);
  const int m = RandomInt(odds.N);
  Lottery.CycleOdds = odds.K;
  Lottery.StopGroup = StopGroupFromDraw(RandomInt(30));

  // A won MC waiting for its reveal: the premonitions run the game, and nothing else is drawn.
  if (Lottery.RevealCountdown != 0) {
    RevealSequence();
    return;
  }

  ClassifyOneShot(m);
  Lottery.OneShotText = Lottery.GameFlag == GameFlags::Mc ? "当たり！" : "はずれ　";
  if (Lottery.CycleLeft == 0)
    CycleGame();
  else
    Lottery.CycleText = "";
  ShowReadout();
  if (Lottery.CycleLeft == 0) Lottery.CycleLength = 0;

  Lottery.StopOrder = 1;
  Lottery.StopPattern = Lottery.GameFlag == GameFlags::None ? StopPatternFromDraw(RandomInt(7)) : 0;
  HandOver();
}

void StreakRankDraw() {
  Lottery.StreakRank = StreakRankFromDraw(RandomInt(Lottery.TodaySetting + 15));
  Form2.Text1.Text = std::to_string(Lottery.StreakRank) + " M" + std::to_string(Lottery.LotteryMode);
  // The flashing seven of the reels changes its picture after a cycle win, unless the spectacles are on.
  if (Record.SpectaclesItem != ItemCodes::SpectaclesInUse) Form2.Picture21.LoadPicture(AppFolder + "sozaiMofuran\\nana-5.bmp");
}

void ResetLotteryAfterMc() {
  Lottery.GamesSinceMc = 0;
  Lottery.CycleLength = 0;
  switch (Lottery.LotteryMode) {
    case LotteryModes::Steady:
      Lottery.LotteryMode = RandomInt(100.0 * Lottery.TodaySetting) <= 400 ? LotteryModes::Short : LotteryModes::Undrawn;
      break;
    case LotteryModes::Short: {
      const int r = RandomInt(100);
      if (r >= 51 && r <= 55) Lottery.LotteryMode = LotteryModes::Undrawn;
      break;
    }
    default:
      Lottery.LotteryMode = LotteryModes::Undrawn;
      break;
  }
}
