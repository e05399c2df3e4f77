// counter-calibration: plays simulated days with mofuran-sim's library and reads them back from the history file
// the game writes in the simulator's data folder, as the data counter records them.
//   --rates        prints setting_rates.txt: normal games per fresh MC win for each setting
//   (default)      calibration: days at settings drawn as the hall draws them, of several lengths; the estimate
//                  made at each day's end against the day's true setting, bucketed by predicted probability
// Options: --days N (per setting for --rates, in all otherwise), --games N (--rates only), --seed N.
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

void Rates(int days, long games, std::uint32_t seed) {
  std::printf("# Normal games per fresh MC win for each setting: what the data counter's setting estimate rests on.\n");
  std::printf("# Measured by the counter itself over simulated days of the real game (%d days of %ld games per\n",
              days, games);
  std::printf("# setting):\n");
  std::printf("#   nice build/counter-calibration --rates --days %d --games %ld --seed %u > src/counter/setting_rates.txt\n",
              days, games, seed);
  std::printf("# The odds sheet's 通常時MC (mofuran-sim --sheet) counts the same, over days of its own. One line a\n");
  std::printf("# setting: the setting, then the games.\n");
  std::mt19937 rng(seed);
  for (int s = 1; s <= 6; ++s) {
    long long normal = 0, wins = 0;
    for (int done = 0; done < days; done += kBatch)
      for (const PlayedDay& d : PlayCounterDays(std::min(kBatch, days - done), games, s, RatesStart(rng()), rng())) {
        normal += d.day.normalGames;
        wins += d.day.freshWins;
      }
    if (wins == 0) throw std::runtime_error("no fresh MC win at setting " + std::to_string(s) + ": no rate to give");
    std::printf("%d %.1f\n", s, static_cast<double>(normal) / wins);
    std::fprintf(stderr, "setting %d: %lld normal games, %lld fresh wins\n", s, normal, wins);
    std::fflush(stdout);
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
