// A day at the machine on the virtual back end: fresh state, the machine screen open, nothing played yet.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "core/day.h"
#include "core/machine_screen.h"
#include "core/play_state.h"
#include "core/run_state.h"
#include "lottery/lottery_state.h"
#include "lottery/mc_state.h"
#include "platform/sim/sim_backend.h"
#include "records/player_record.h"
#include "reels/flash_state.h"
#include "reels/reel_state.h"
#include "sound/recording_sound.h"

class MachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim = std::make_unique<SimBackend>(StartTime());
    sound = std::make_unique<RecordingSound>();
    sound->FillBank();
    ResetRunState();
    Record.Savings = Currency::FromYen(200000);
    Reels.ReelStep = 15;
    Play.ProxyInterval = 260;
    Lottery.TodaySetting = 3;
    reelTicks_[0] = Form2.Timer1.OnTick;
    reelTicks_[1] = Form2.Timer2.OnTick;
    reelTicks_[2] = Form2.Timer3.OnTick;
  }

  void TearDown() override {
    Form2.Unload();
    Play.ScreenClosed = 0;
    Form2.Timer1.OnTick = reelTicks_[0];
    Form2.Timer2.OnTick = reelTicks_[1];
    Form2.Timer3.OnTick = reelTicks_[2];
    sound.reset();
    sim.reset();
  }

  virtual double StartTime() { return 12 * 3600.0; }

  // Opens the machine screen as the title screen's Start does.
  void OpenDay() {
    Play.ScreenClosed = 0;
    StartDay();
  }

  // Stands in for the reel ticks while they are not under test: a reel stops on the first tick after its stop
  // key was accepted.
  void StopReelsOnTheirKeys() {
    Form2.Timer1.OnTick = [] { if (Play.LeftStopPressed) Reels.LeftReelStopped = 1; };
    Form2.Timer2.OnTick = [] { if (Play.CentreStopPressed) Reels.CentreReelStopped = 1; };
    Form2.Timer3.OnTick = [] { if (Play.RightStopPressed) Reels.RightReelStopped = 1; };
  }

  std::unique_ptr<SimBackend> sim;
  std::unique_ptr<RecordingSound> sound;

 private:
  std::function<void()> reelTicks_[3];
};
