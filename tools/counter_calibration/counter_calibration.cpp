// counter-calibration: plays simulated days with mofuran-sim's library and reads them back from the history file
// the game writes in the simulator's data folder, as the data counter records them.
//   --rates        prints setting_rates.txt: normal games per fresh MC win for each setting
//   (default)      calibration: days at settings drawn as the hall draws them, of several lengths; the estimate
//                  made at each day's end against the day's true setting, bucketed by predicted probability
// Options: --days N (per setting for --rates, in all otherwise), --games N (--rates only), --seed N.
#include <unistd.h>

#include <array>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "counter/history_file.h"
#include "counter/setting_estimate.h"
#include "platform/files.h"
#include "tools/sim/sim_run.h"
#include "tools/sim/sim_workers.h"

namespace {

constexpr int kChunk = 10;  // days per simulator run (fewer than the history keeps)
// A rate rests on the fresh wins seen. The hall's hours cut many days short: 100,000 games asked for a setting
// (10 days of 10,000) saw some 80 to 180 of them, fewer is too few.
constexpr double kMinRateGames = 100000;

struct Day {
  int setting;
  int normalGames;
  int freshWins;
};

// Plays `days` days at `setting` in a fresh data folder and reads them back from the history file.
std::vector<Day> Play(int setting, int days, long games, double startMs) {
  std::string pattern = (std::filesystem::temp_directory_path() / "counter-calibration-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
  struct Gone {
    std::string folder;
    ~Gone() {
      std::error_code ec;
      std::filesystem::remove_all(folder, ec);
    }
  } gone{pattern};
  SimOptions o;
  o.days = days;
  o.games = games;
  o.setting = setting;
  o.savings = 1e9;  // never bankrupt: a day ends by its game count only
  o.data = pattern;
  o.startMs = startMs;
  RunSim(o);
  const auto bytes = ReadAllBytes(pattern + "/soundMofuran/" + kHistoryFile);
  std::vector<CounterDay> read;
  if (!bytes || !DecodeHistory(std::string(bytes->begin(), bytes->end()), &read))
    throw std::runtime_error("the simulator wrote no readable history in " + pattern);
  std::vector<Day> out;
  for (const CounterDay& d : read) out.push_back({setting, d.normalGames, d.freshWins});
  return out;
}

void Rates(int days, long games, std::uint32_t seed) {
  std::printf("# Normal games per fresh MC win for each setting: what the data counter's setting estimate rests on.\n");
  std::printf("# Measured by the counter itself over simulated days of the real game (%d days of %ld games per\n",
              days, games);
  std::printf("# setting):\n");
  std::printf("#   nice build/counter-calibration --rates --days %d --games %ld --seed %u > src/counter/setting_rates.txt\n",
              days, games, seed);
  std::printf("# The odds sheet's 通常時MC (mofuran-sim --sheet) counts the same, over days of its own. One line a\n");
  std::printf("# setting: the setting, then the games.\n");
  for (int s = 1; s <= 6; ++s) {
    long long normal = 0, wins = 0;
    for (int done = 0; done < days; done += kChunk) {
      const int n = std::min(kChunk, days - done);
      for (const Day& d : Play(s, n, games, 1000.0 * ((seed + 7919u * s + done) % 80000))) {
        normal += d.normalGames;
        wins += d.freshWins;
      }
    }
    if (wins == 0) throw std::runtime_error("no fresh MC win at setting " + std::to_string(s) + ": no rate to give");
    std::printf("%d %.1f\n", s, static_cast<double>(normal) / wins);
    std::fprintf(stderr, "setting %d: %lld normal games, %lld fresh wins\n", s, normal, wins);
    std::fflush(stdout);
  }
}

// The Brier score a day of the prior alone, the estimate of a player who has seen nothing.
double PriorBrier() {
  const double prior[6] = {2.0 / 7, 1.0 / 7, 1.0 / 7, 1.0 / 7, 1.0 / 7, 1.0 / 7};
  double total = 0;
  for (int t = 0; t < 6; ++t)
    for (int s = 0; s < 6; ++s) total += prior[t] * (prior[s] - (s == t)) * (prior[s] - (s == t));
  return total;
}

void Calibrate(int days, std::uint32_t seed) {
  std::mt19937 rng(seed);
  // The hall's draw: setting 1 at 2/7, the others at 1/7.
  std::discrete_distribution<int> setting({2, 1, 1, 1, 1, 1});
  const long lengths[] = {500, 1000, 2000, 4000, 8000};
  std::vector<Day> all;
  for (int done = 0; done < days; done += kChunk) {
    const int s = setting(rng) + 1;
    const long games = lengths[rng() % 5];
    for (const Day& d : Play(s, std::min(kChunk, days - done), games, 1000.0 * (rng() % 80000))) all.push_back(d);
    std::fprintf(stderr, "\r%zu days", all.size());
  }
  std::fprintf(stderr, "\n");

  // The log score for a few evidence weights, so that the weight can be chosen on simulated days.
  std::printf("evidence weight  mean log score  (higher is better; the prior alone scores %.4f)\n",
              std::log(2.0 / 7) * 2 / 7 + std::log(1.0 / 7) * 5 / 7);
  for (double w : {0.25, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0}) {
    double score = 0;
    for (const Day& d : all) score += std::log(EstimateSetting(d.normalGames, d.freshWins, GamesPerFreshWin(), w).p[d.setting - 1]);
    std::printf("  %.2f           %.4f\n", w, score / all.size());
  }

  // Reliability of the estimate as built: each (day, setting) pair is one prediction.
  constexpr int kBuckets = 10;
  std::array<double, kBuckets> predicted{}, hits{};
  std::array<int, kBuckets> count{};
  double brier = 0;
  for (const Day& d : all) {
    const SettingEstimate e = EstimateSetting(d.normalGames, d.freshWins);
    for (int s = 0; s < 6; ++s) {
      const int b = std::min(kBuckets - 1, static_cast<int>(e.p[s] * kBuckets));
      const double hit = d.setting == s + 1 ? 1.0 : 0.0;
      predicted[b] += e.p[s];
      hits[b] += hit;
      ++count[b];
      brier += (e.p[s] - hit) * (e.p[s] - hit);
    }
  }
  std::printf("\n%zu days, evidence weight %.2f; predictions bucketed by probability:\n", all.size(), kEvidenceWeight);
  std::printf("  bucket      predictions  mean predicted  observed  (95%% interval of the observed share)\n");
  for (int b = 0; b < kBuckets; ++b) {
    if (count[b] == 0) continue;
    const double n = count[b], obs = hits[b] / n, half = 1.96 * std::sqrt(std::max(obs * (1 - obs), 0.25 / n) / n);
    std::printf("  %.1f-%.1f  %11d  %14.3f  %8.3f  (%.3f-%.3f)\n", b / 10.0, (b + 1) / 10.0, count[b],
                predicted[b] / n, obs, std::max(0.0, obs - half), std::min(1.0, obs + half));
  }
  std::printf("Brier score %.4f a day (the prior alone: %.4f)\n", brier / all.size(), PriorBrier());
}

}  // namespace

int main(int argc, char** argv) {
  const char* const usage = "usage: counter-calibration [--rates] [--days N] [--games N] [--seed N]\n";
  bool rates = false, gamesGiven = false;
  int days = 600;
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
