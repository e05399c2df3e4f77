// bench_reel_frame: the time to choose and compose one reel frame (background copy, four masks, four sprites) on
// the virtual back end, over many frames of a spinning reel.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "core/day.h"
#include "machine/machine_screen.h"
#include "machine/play_state.h"
#include "machine/player_record.h"
#include "machine/reel_state.h"
#include "platform/sim/sim_backend.h"
#include "reels/reels.h"
#include "sound/recording_sound.h"
#include "sound/sound_bank.h"

int main() {
  SimBackend sim;
  RecordingSound sound;
  SetAppFolder();
  Reels.ReelStep = 15;
  Record.Savings = Currency::FromYen(200000);
  StartDay();
  Reels.LeftReelStopped = Reels.CentreReelStopped = Reels.RightReelStopped = 0;
  Play.LeftStopPressed = Play.CentreStopPressed = Play.RightStopPressed = 0;
  Reels.LeftReelPos = Reels.CentreReelPos = Reels.RightReelPos = 1;

  constexpr int kFrames = 30000;
  double best = 1e9;
  for (int round = 0; round < 5; ++round) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kFrames; ++i) ReelTick(i % 3);
    const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    best = std::min(best, us / kFrames);
  }
  std::printf("reel frame (tick with composition): %.1f us\n", best);
  return 0;
}
