// The state of the three reels.
#pragma once
#include <cstdint>

struct ReelState {
  std::int16_t LeftReelPos = 0, CentreReelPos = 0, RightReelPos = 0;           // 1..21; 0 before the first game
  std::int16_t LeftReelOffset = 0, CentreReelOffset = 0, RightReelOffset = 0;  // pixels within the position
  std::int16_t LeftReelStopped = 0, CentreReelStopped = 0, RightReelStopped = 0;
  std::int16_t ReelStep = 0;  // pixels per tick: 12/15/20/30, 1 during a slow start
};

extern ReelState Reels;
