// The state of the pay-line flashing after a game with a result.
#pragma once
#include <cstdint>

struct FlashState {
  std::int16_t FlashCounter = 0;
  std::int16_t FlashVariant = 0;
  float FlashPause = 0;
  std::int16_t SkipGameEnd = 0;  // 1 when an MC replay game ended the flashing early
};

extern FlashState Flash;
