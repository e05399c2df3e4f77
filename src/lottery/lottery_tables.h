// The lottery's draw tables: each turns one draw into the game's value. The lotteries draw, these decide.
#pragma once
#include <cstdint>
#include <string>

// Mode from x = RandomInt(984): 0..600 mode 2, 601..850 mode 3 (the pull-back mode), 851..960 mode 1, else 4.
std::int16_t ModeFromDraw(int x);

// The cycle of a mode: drawn as x = RandomInt(CycleDrawSize(mode)), its length is CycleLengthFromDraw(mode, x).
int CycleDrawSize(int mode);
std::int16_t CycleLengthFromDraw(int mode, int x);

// The day's odds: the one-shot draw m = RandomInt(N) wins the MC on 8; the cycle game wins on 1 of RandomInt(K).
struct SettingOdds {
  int N;
  std::int16_t K;
};
SettingOdds OddsOfSetting(int setting);

// The pay line of a normal game from y = RandomInt(30), and of an MC game from a = RandomInt(10).
std::int16_t StopGroupFromDraw(int y);
std::int16_t McStopGroupFromDraw(int a);
// The near-miss pattern of a game without a result, from z = RandomInt(7).
std::int16_t StopPatternFromDraw(int z);
// The streak rank from r = RandomInt(TodaySetting + 15).
std::int16_t StreakRankFromDraw(int r);
// The stop order of an MC game from d = RandomInt(18) for every d outside 3..6 (those make the game a replay).
std::int16_t McStopOrderFromDraw(int d);
// The order shown on the premonition line: digit = reel (1 left, 2 centre, 3 right) in the order to stop them.
std::string StopOrderText(int order);
