// The lottery on the virtual back end: fresh state, the machine screen loaded (its timers tick), no draws queued.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/machine_screen.h"
#include "core/play_state.h"
#include "core/run_state.h"
#include "lottery/lottery_state.h"
#include "lottery/mc_state.h"
#include "lottery/random.h"
#include "platform/sim/sim_backend.h"
#include "records/player_record.h"
#include "sound/recording_sound.h"

class LotteryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim = std::make_unique<SimBackend>(10 * 3600.0);
    sound = std::make_unique<RecordingSound>();
    sound->FillBank();
    ResetRunState();
    Record.BestCoins = 500;
    ClearQueuedUniforms();
    Form2.Load();
    Lottery.TodaySetting = 1;
  }

  void TearDown() override {
    ClearQueuedUniforms();
    Form2.Unload();
    Play.ScreenClosed = 0;
    sound.reset();
    sim.reset();
  }

  // The bank sounds (or routed files) that got this action, in order.
  std::vector<std::string> Sounds(SoundAction action) const {
    std::vector<std::string> files;
    for (const SoundEvent& e : sound->Events())
      if (e.action == action) files.push_back(e.file);
    return files;
  }
  // Virtual time of the first event of this file and action, or -1.
  double FirstAt(const std::string& file, SoundAction action) const {
    for (const SoundEvent& e : sound->EventsOf(file))
      if (e.action == action) return e.at;
    return -1;
  }

  std::unique_ptr<SimBackend> sim;
  std::unique_ptr<RecordingSound> sound;
};

// A share measured over n trials lies within 4 standard errors of p.
inline void ExpectShare(long hits, long n, double p, const std::string& what) {
  const double share = static_cast<double>(hits) / static_cast<double>(n);
  const double bound = 4 * std::sqrt(p * (1 - p) / static_cast<double>(n));
  EXPECT_NEAR(share, p, bound) << what << " over " << n << " trials";
}
