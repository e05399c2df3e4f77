// The lottery of an MC game: mostly the 12-coin mame role with a required stop order, sometimes a replay, and
// rarely the special event that spins the digital display and may stock a streak continuation.
#include "lottery/lottery_tables.h"
#include "lottery/mc_sequence.h"
#include "lottery/stop_sounds.h"
#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/proxy_contract.h"
#include "machine/random.h"
#include "platform/convert.h"
#include "sound/sound_bank.h"

namespace {

void RaiseStreakRank() {
  std::int16_t& rank = Lottery.StreakRank;
  if (rank < 2)
    rank = 2;
  else if (rank == 5)
    rank = -5;
  else
    rank += 1;
}

void SpecialEvent() {
  StopMcMusic();
  SetStopSounds(kSpecialStops);
  PlayBankSound("StSound4.wav");
  const int z = RandomInt(5);
  if (z > 3) EndProxyPlay();
  Lottery.GameFlag = GameFlags::Digital;
  if (Lottery.StopGroup == 3) Lottery.StopGroup = 4;
  Presentation.DigitalOutcome = 1;
  if (z != 4) return;
  // The display will match, and a streak continuation is stocked.
  Lottery.StopPattern = StopPatterns::MofuranMiss;
  Presentation.DigitalOutcome = 10;
  if (Mc.StreakStock == 0) {
    Mc.StreakStock = static_cast<std::uint16_t>(CInt(3 * Uniform() + 1));
  } else {
    Mc.StreakStock += 1;
    RaiseStreakRank();
  }
}

void ReplayGame() {
  Lottery.GameFlag = GameFlags::Replay;
  Lottery.StopOrder = 1;
  if (Lottery.McGamesLeft <= 10) return;
  if (Lottery.LotteryMode == LotteryModes::Undrawn) Lottery.LotteryMode = LotteryModes::Steady;
  if (RandomInt(100) == 7) {
    Lottery.GameFlag = GameFlags::None;
    if (Mc.FanfareStreak == 0 && RandomInt(5) == 2) SpecialEvent();
  }
}

}  // namespace

void McGameLottery() {
  // The special event of the previous game silenced the music.
  if (Lottery.GameFlag == GameFlags::Digital) McMusicStart();
  SetStopSounds(Mc.FanfareStreak == 1 ? kFanfareMcStops : kMcStops);
  if (Lottery.McGamesLeft < 8 && Mc.StreakPending != 1) {
    Lottery.LeverSound = sounds::kLeverOn4;
    SndPlaySound(AppFolder + Lottery.LeverSound);
  }
  Lottery.GameFlag = GameFlags::Mame;
  Lottery.StopGroup = McStopGroupFromDraw(RandomInt(10));
  const int d = RandomInt(18);
  if (d >= 3 && d <= 6)
    ReplayGame();
  else
    Lottery.StopOrder = McStopOrderFromDraw(d);
  if (Lottery.McGamesLeft == 15 && Lottery.TodaySetting > 6) {
    Lottery.GameFlag = GameFlags::Replay;
    Lottery.StopOrder = 1;
  }
  Form2.PremonitionLine.Caption = StopOrderText(Lottery.StopOrder);
}
