// The state of the pay-line flashing after a game with a result.
#pragma once
#include <cstdint>

class PictureBox;

struct FlashState {
  std::int16_t FlashCounter = 0;
  std::int16_t FlashVariant = 0;
  float FlashPause = 0;
  std::int16_t SkipGameEnd = 0;  // 1 when an MC replay game ended the flashing early
  PictureBox* FlashSprite = nullptr;  // the picture of the pay-line cells in the current frame
};

extern FlashState Flash;
