#include "reels/reels.h"

std::int16_t LeftStrip[25], CentreStrip[25], RightStrip[25];

namespace {
constexpr std::int16_t kLeft[25] = {2, 3, 5, 1, 4, 2, 3, 4, 3, 1, 2, 1, 4, 3, 5, 1, 4, 2, 3, 1, 4, 2, 3, 5, 1};
constexpr std::int16_t kCentre[25] = {4, 1, 2, 3, 4, 2, 1, 3, 4, 1, 2, 3, 4, 2, 1, 2, 3, 4, 2, 1, 3, 4, 1, 2, 3};
constexpr std::int16_t kRight[25] = {3, 2, 4, 1, 3, 2, 4, 3, 1, 3, 2, 4, 1, 3, 2, 4, 3, 1, 2, 1, 4, 3, 2, 4, 1};
}  // namespace

void BuildReelStrips() {
  for (int i = 0; i < 25; ++i) {
    LeftStrip[i] = kLeft[i];
    CentreStrip[i] = kCentre[i];
    RightStrip[i] = kRight[i];
  }
}

std::int16_t SymbolAt(const std::int16_t* strip, int pos, int row) { return strip[pos + row - 1]; }
