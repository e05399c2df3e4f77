// The lottery on the virtual back end: fresh state, the machine screen loaded (its timers tick), no draws queued.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/machine_screen.h"
#include "core/play_state.h"
#include "lottery/lottery_state.h"
#include "lottery/mc_state.h"
#include "lottery/random.h"
#include "platform/sim/sim_backend.h"
#include "records/player_record.h"

class LotteryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim = std::make_unique<SimBackend>(10 * 3600.0);
    Play = PlayState{};
    Lottery = LotteryState{};
    Mc = McState{};
    Presentation = PresentationState{};
    Premonition = PremonitionState{};
    Record = PlayerRecord{};
    Record.BestCoins = 500;
    PlayerName.clear();
    ClearQueuedUniforms();
    Form2.Load();
    Lottery.TodaySetting = 1;
  }

  void TearDown() override {
    ClearQueuedUniforms();
    Form2.Unload();
    Play.ScreenClosed = 0;
    sim.reset();
  }

  std::unique_ptr<SimBackend> sim;
};

// A share measured over n trials lies within 4 standard errors of p.
inline void ExpectShare(long hits, long n, double p, const std::string& what) {
  const double share = static_cast<double>(hits) / static_cast<double>(n);
  const double bound = 4 * std::sqrt(p * (1 - p) / static_cast<double>(n));
  EXPECT_NEAR(share, p, bound) << what << " over " << n << " trials";
}
