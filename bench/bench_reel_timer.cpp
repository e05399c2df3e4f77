// bench_reel_timer: the real back end's period of a reel timer (interval 1 ms) over 1,000 ticks, with the
// machine screen open and the reel tick running. Run it on a display (Xvfb is fine).
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <numeric>
#include <vector>

#include "core/day.h"
#include "machine/machine_screen.h"
#include "machine/play_state.h"
#include "machine/player_record.h"
#include "machine/reel_state.h"
#include "platform/qt/qt_backend.h"
#include "sound/sound_bank.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QtBackend backend;
  SetAppFolder();
  Reels.ReelStep = 15;
  Record.Savings = Currency::FromYen(200000);
  StartDay();

  constexpr int kTicks = 1000;
  std::vector<double> stamps;
  stamps.reserve(kTicks + 1);
  const auto reelTick = Form2.Timer1.OnTick;
  Form2.Timer1.OnTick = [&] {
    stamps.push_back(std::chrono::duration<double, std::milli>(
                         std::chrono::steady_clock::now().time_since_epoch()).count());
    if (reelTick) reelTick();
    if (static_cast<int>(stamps.size()) > kTicks) Form2.Unload();
  };
  // All three reels spin, as in a game; the left one's period is measured.
  Play.LeftStopPressed = Play.CentreStopPressed = Play.RightStopPressed = 0;
  Reels.LeftReelStopped = Reels.CentreReelStopped = Reels.RightReelStopped = 0;
  Form2.Timer1.Interval = 1;
  Form2.Timer2.Interval = 1;
  Form2.Timer3.Interval = 1;
  const std::clock_t cpu0 = std::clock();
  backend.Run();
  const double cpuSeconds = static_cast<double>(std::clock() - cpu0) / CLOCKS_PER_SEC;

  std::vector<double> periods;
  for (size_t i = 1; i < stamps.size(); ++i) periods.push_back(stamps[i] - stamps[i - 1]);
  if (periods.empty()) return 1;
  std::sort(periods.begin(), periods.end());
  const double mean = std::accumulate(periods.begin(), periods.end(), 0.0) / static_cast<double>(periods.size());
  auto pct = [&](double p) { return periods[std::min(periods.size() - 1, static_cast<size_t>(p * periods.size()))]; };
  std::printf("reel timer (interval 1 ms), %zu periods: mean %.2f ms, median %.2f ms, p99 %.2f ms, max %.2f ms\n",
              periods.size(), mean, pct(0.5), pct(0.99), periods.back());
  const double wallSeconds = (stamps.back() - stamps.front()) / 1000.0;
  std::printf("tick rate %.1f per second (%.1f %% off the 16 ms period); CPU while spinning %.1f %% of one core\n",
              static_cast<double>(periods.size()) / wallSeconds,
              100.0 * (mean - 16.0) / 16.0, 100.0 * cpuSeconds / wallSeconds);
  return 0;
}
