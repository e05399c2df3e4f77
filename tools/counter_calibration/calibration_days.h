// Simulated days of the real game as the data counter records them, for the setting estimate's rates and its
// calibration.
#pragma once
#include <cstdint>
#include <vector>

#include "counter/counter_day.h"

struct PlayedDay {
  int setting = 0;  // the setting the day started with
  int group = 0;    // days of one setting in one batch (one length, one start time): judged as dependent
  CounterDay day;   // as the counter recorded it; day.setting is the setting at the cash-out
};

// Plays `count` days of `games` games, the day's starting setting drawn as the hall draws it (or `setting` 1..6
// for every day), with the virtual clock at `startMs`, and reads each back from its history text.
std::vector<PlayedDay> PlayCounterDays(int count, long games, int setting, double startMs, std::uint32_t seed);

// The normal-game number (from 1) of each fresh win: the games outside MCs before it, less the streak games
// among them (a streak continuation's game is not a free draw of the lottery).
std::vector<int> FreshWinPositions(const CounterDay& day);
