// The internal lottery's state; it lives for the whole program run and carries from day to day.
#pragma once
#include <cstdint>
#include <string>

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
