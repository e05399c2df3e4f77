// The internal lottery's state; it lives for the whole program run and carries from day to day.
#pragma once
#include <cstdint>
#include <string>

// The values the lottery's fields take, stored as the numbers they stand for.
namespace GameFlags {  // what the game won
constexpr std::int16_t None = 0, Mc = 1, Replay = 2, Mame = 3, Digital = 4;
}
namespace StopPatterns {  // how the reels show it
constexpr std::int16_t Flagged = 0, Bonus = 1, ReplayMiss = 2, MameMiss = 3, MofuranMiss = 4;
}
namespace LotteryModes {  // 0 until drawn; mode 3 pulls the player back
constexpr std::int16_t Undrawn = 0, Steady = 1, Open = 2, PullBack = 3, Short = 4;
}

struct LotteryState {
  std::int16_t TodaySetting = 0;  // 1..8
  std::int16_t LotteryMode = 0;
  std::int16_t CycleLength = 0, CycleLeft = 0, CycleOdds = 0;
  std::int16_t GamesSinceMc = 0;
  std::int16_t GameFlag = 0;    // 0 none, 1 MC, 2 replay, 3 mame role, 4 digital-display game
  std::int16_t StopGroup = 1;   // the pay line, 1..5
  std::int16_t StopPattern = 0;  // 0 flagged game, 1 bonus alignment, 2..4 the near-miss patterns
  std::int16_t StopOrder = 1;   // 1..6
  std::string StopSounds[3];    // played at the 1st, 2nd and 3rd accepted stop
  std::string LeverSound;
  std::string OneShotText, CycleText;
  std::int16_t RevealCountdown = 0;  // non-zero: a won MC waits to be revealed
  // The outcome the digital display must show lives with the presentation (Presentation.DigitalOutcome).
  std::int16_t McGamesLeft = 0;
  std::int32_t McLength = 0;
  std::int16_t McSteps = 0;     // count-up steps of the MC start: McLength / 111, rounded
  std::int16_t StreakRank = 0;  // -30..5: the chance of a fanfare-streak continuation at the next MC's end
  std::int16_t LotteryDisplayBought = 0;
};

extern LotteryState Lottery;
