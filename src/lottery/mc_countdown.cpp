// The end of each MC game: the countdown on the big counter, the music of the last games, the streak chances of
// the last seven games and the streak test of the last one.
#include <cmath>
#include <string>

#include "lottery/internal_lottery.h"
#include "lottery/mc_sequence.h"
#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/play_state.h"
#include "machine/proxy_contract.h"
#include "machine/random.h"
#include "platform/convert.h"
#include "sound/sound_bank.h"

namespace {

void EnterLastSeven() {
  StopMcMusic();
  LoopBankSound("CD7Sound.wav");
  Lottery.McGamesLeft = 7;
  ProxyTiring();
}

// Each mame game of the last seven may win the next MC outright; the lower the rank, the rarer.
void LastSevenChance() {
  Form2.LotteryReadout.Caption = "";
  if (Mc.FanfareStreak == 0 && Lottery.GameFlag == GameFlags::Mame && RandomInt(9 - Lottery.StreakRank) == 3) {
    Mc.StreakPending = 1;
    Lottery.StopOrder = 1;
  }
}

void StreakTest() {
  const int x = RandomInt(10);
  if (std::floor((Lottery.StreakRank + 17) / 3.0) >= x - Mc.FanfareStreak) {
    Mc.StreakPending = 1;
  } else if (Mc.StreakStock > 0) {
    Mc.StreakStock -= 1;
    Mc.StreakPending = 1;
  } else {
    Presentation.StreakMcCount = 0;
    ResetLotteryAfterMc();
  }
}

void LastGame() {
  StopBankSound("CD7Sound.wav");
  StopMcMusic();
  Mc.McEnding = 1;
  Form2.Timer7.Interval = 300;
  // A continuation already won in the last seven games stands: no test, no stock spent, nothing reset.
  if (Mc.StreakPending != 1) StreakTest();
  Mc.McDigits = 3;
  Form2.GamesSinceMc.Caption = "0";
  Form2.Picture29.Visible = false;
  Lottery.StopOrder = 1;
}

void ShowCounter() {
  const int left = Lottery.McGamesLeft;
  const std::string text = std::to_string(left);
  if (Mc.McEnding != 2) {
    if (left >= 8)
      Form2.McCounter.Caption = RightChars(text, Mc.McDigits);
    else
      Form2.McCounter.Caption = left >= 1 ? "-" + text + "-" : "";
  }
  const std::string last3 = RightChars(text, 3);
  if (last3 == "999" || last3 == "099") PlayBankSound("Bell.wav");
}

void CountOneGame() {
  const int left = Lottery.McGamesLeft;
  if (left == 8) {
    EnterLastSeven();
  } else {
    if (left >= 2 && left <= 7)
      LastSevenChance();
    else if (left == 1)
      LastGame();
    Lottery.McGamesLeft -= 1;
  }
  ShowCounter();
}

}  // namespace

void McCountdownStep(int countedGames) {
  int counted = 0;
  for (; counted < countedGames && Lottery.McGamesLeft > 0; ++counted) CountOneGame();
  // A game that counts for nothing (the game that announced a won MC) still puts the count on the counter: the
  // won length, with its bell when it ends in 999 or 099.
  if (counted == 0) ShowCounter();
}
