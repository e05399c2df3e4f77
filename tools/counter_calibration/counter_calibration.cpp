// counter-calibration: plays simulated days with mofuran-sim's library and reads them back from the history file
// the game writes in the simulator's data folder, as the data counter records them.
//   --rates        prints setting_rates.txt: fresh MC wins by points of the day for each setting
//   (default)      calibration: days at settings drawn as the hall draws them, of several lengths; the estimate
//                  made at each day's end against the day's true setting, bucketed by predicted probability
// Options: --days N (per setting for --rates, in all otherwise), --games N (--rates only), --seed N.
#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "counter/setting_estimate.h"
#include "tools/counter_calibration/calibration_days.h"
#include "tools/counter_calibration/calibration_report.h"
#include "tools/sim/sim_run.h"
#include "tools/sim/sim_workers.h"

namespace {

constexpr int kBatch = 25;  // days of one length and start time, in one run of the simulator
// A rate rests on the fresh wins seen. The hall's hours cut many days short: 100,000 games asked for a setting
// (10 days of 10,000) saw some 80 to 180 of them, fewer is too few.
constexpr double kMinRateGames = 100000;

// Start times, ms after midnight: the rates are measured on days that start on an even second and the calibration
// is judged on days that start on an odd one, so that no day is ever both.
double RatesStart(std::uint32_t draw) { return 2000.0 * (draw % 40000); }
double JudgedStart(std::uint32_t draw) { return 2000.0 * (draw % 40000) + 1000; }

// Points of the day, in normal games, at which the rates are measured.
constexpr int kPoints[] = {25, 50, 100, 150, 200, 300, 400, 500, 600, 800, 1000, 1200, 1400, 1600, 1800, 2000,
                           2200, 2400, 2700, 3000, 3500, 4000};

// For each setting, days of `games` games; at each point of the day that nearly every day reached, the mean of
// the fresh wins by then and their variance over that mean.
void Rates(int days, long games, std::uint32_t seed) {
  std::printf("# The data counter's setting estimate rests on these: for each setting the day starts with, at points\n"
              "# of the day counted in normal games, the mean number of fresh MC wins by then and their variance\n"
              "# over that mean, measured by the counter itself over simulated days of the real game (%d days of\n"
              "# %ld games per setting, starting on even seconds; the calibration's days start on odd ones):\n"
              "#   nice build/counter-calibration --rates --days %d --games %ld --seed %u > src/counter/setting_rates.txt\n"
              "# A point is given where at least half the days reached it. One line a setting and point:\n"
              "# setting, normal games, mean fresh wins, variance over mean.\n",
              days, games, days, games, seed);
  std::mt19937 rng(seed);
  std::array<std::vector<PlayedDay>, 6> by;
  for (int s = 1; s <= 6; ++s)
    for (int done = 0; done < days; done += kBatch) {
      for (PlayedDay& d : PlayCounterDays(std::min(kBatch, days - done), games, s, RatesStart(rng()), rng()))
        by[s - 1].push_back(std::move(d));
      std::fprintf(stderr, "\rsetting %d: %zu days", s, by[s - 1].size());
    }
  std::fprintf(stderr, "\n");
  std::vector<int> points;
  for (int n : kPoints) {
    bool reached = true;
    for (const auto& list : by) {
      long count = 0;
      for (const PlayedDay& d : list) count += d.day.normalGames >= n;
      reached = reached && count >= 0.5 * static_cast<double>(list.size());
    }
    if (reached) points.push_back(n);
  }
  if (points.empty()) throw std::runtime_error("the days are too short for any point of the rates");
  for (int s = 0; s < 6; ++s)
    for (int n : points) {
      double count = 0, sum = 0, squares = 0;
      for (const PlayedDay& d : by[s]) {
        if (d.day.normalGames < n) continue;
        const std::vector<int> at = FreshWinPositions(d.day);
        const double k = static_cast<double>(std::upper_bound(at.begin(), at.end(), n) - at.begin());
        count += 1, sum += k, squares += k * k;
      }
      const double mean = sum / count, variance = (squares - sum * mean) / (count - 1);
      if (!(mean > 0)) throw std::runtime_error("no fresh MC win by game " + std::to_string(n) + ": no rate to give");
      std::printf("%d %d %.4f %.3f\n", s + 1, n, mean, std::max(variance / mean, 0.01));
    }
}

// Days of lengths spread evenly on a log scale from 300 to 10,000 games (the hall's hours cut some shorter), at
// settings drawn as the hall draws them; the estimate at each day's end against the setting the day started with.
void Calibrate(int days, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> logLength(std::log(300.0), std::log(10000.0));
  std::vector<PlayedDay> all;
  for (int done = 0, batch = 0; done < days; done += kBatch, ++batch) {
    const long games = std::lround(std::exp(logLength(rng)));
    for (PlayedDay& d : PlayCounterDays(std::min(kBatch, days - done), games, 0, JudgedStart(rng()), rng())) {
      d.group = batch * 10 + d.setting;
      all.push_back(std::move(d));
    }
    std::fprintf(stderr, "\r%zu days", all.size());
  }
  std::fprintf(stderr, "\n");
  std::printf("%zu days, each at a setting drawn as the hall draws it; the estimate at the day's end against the\n"
              "setting the day started with. Days of one setting in one batch of %d (one length and start time)\n"
              "are taken as dependent in every interval (95 %%). The rates come from days that start on an even\n"
              "second, these on an odd one; nothing is fitted to these days.\n",
              all.size(), kBatch);
  std::printf("%s", ReportText(Judge(all, [](const CounterDay& d) {
                                 return EstimateSetting(d.normalGames, d.freshWins).p;
                               })).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const char* const usage = "usage: counter-calibration [--rates] [--days N] [--games N] [--seed N]\n";
  bool rates = false, gamesGiven = false;
  int days = 1500;
  long games = 10000;
  std::uint32_t seed = 18;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool takesValue = a == "--days" || a == "--games" || a == "--seed";
    const std::string v = takesValue && i + 1 < argc ? argv[++i] : "";
    double n = 0;
    if (a == "--rates") rates = true;
    else if (a == "--days" && WholeNumber(v, 1, 1e6, &n)) days = static_cast<int>(n);
    else if (a == "--games" && WholeNumber(v, 1, 1e9, &n)) games = static_cast<long>(n), gamesGiven = true;
    else if (a == "--seed" && WholeNumber(v, 0, 4294967295.0, &n)) seed = static_cast<std::uint32_t>(n);
    else {
      std::fprintf(stderr, "counter-calibration: %s%s\n%s", takesValue ? "bad value for " : "unknown option ",
                   (takesValue ? a + ": " + v : a).c_str(), usage);
      return 2;
    }
  }
  const char* refused = nullptr;
  if (gamesGiven && !rates) refused = "--games sets the days' length for --rates only";
  if (rates && static_cast<double>(days) * games < kMinRateGames)
    refused = "--rates needs at least 100000 games asked for a setting (--days times --games) to estimate a rate";
  if (refused) {
    std::fprintf(stderr, "counter-calibration: %s\n%s", refused, usage);
    return 2;
  }
  try {
    const StopOnSignals stop;
    if (rates)
      Rates(days, games, seed);
    else
      Calibrate(days, seed);
  } catch (const SimInterrupted& e) {
    std::signal(e.signal, SIG_DFL);
    std::raise(e.signal);
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "counter-calibration: %s\n", e.what());
    return 1;
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "counter-calibration: cannot write the figures\n");
    return 1;
  }
  return 0;
}
