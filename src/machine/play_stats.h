// Counts kept for the simulator and the soak test: what went into the machine and what came out.
#pragma once
#include <cstdint>

struct PlayStats {
  std::int64_t CoinsIn = 0;   // 3 for every bet placed
  std::int64_t CoinsOut = 0;  // coins paid by results and by fast play
  std::int64_t BetsPlaced = 0;
};

extern PlayStats Stats;
