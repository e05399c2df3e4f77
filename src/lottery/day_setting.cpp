#include "lottery/day_setting.h"

#include <cmath>

#include "machine/lottery_state.h"
#include "machine/player_record.h"
#include "machine/random.h"

void ChooseTodaySetting() {
  Randomize();
  auto s = static_cast<std::int16_t>(std::floor(7 * Uniform()));
  if (s == 0) s = 1;
  Lottery.TodaySetting = s;
  if (Record.BestCoins == 0.0f) Lottery.TodaySetting = 6;
}
