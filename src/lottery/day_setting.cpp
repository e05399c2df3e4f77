#include "lottery/day_setting.h"

#include <cmath>

#include "lottery/lottery_state.h"
#include "lottery/random.h"
#include "records/player_record.h"

void ChooseTodaySetting() {
  Randomize();
  auto s = static_cast<std::int16_t>(std::floor(7 * Uniform()));
  if (s == 0) s = 1;
  Lottery.TodaySetting = s;
  if (Record.BestCoins == 0.0f) Lottery.TodaySetting = 6;
}
