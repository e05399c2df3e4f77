// counter-calibration: plays simulated days with mofuran-sim's library and reads them back from the history file
// the game writes in the simulator's data folder, as the data counter records them.
//   --rates        prints setting_rates.txt: for each setting a day starts at, the fresh wins per normal game as
//                  the day goes on, the streak share, the spreads between days and the setting at a day's end
//   --weights      the mean log score at each evidence weight, on days of their own
//   (default)      calibration: days at settings drawn as the hall draws them, of several lengths; the estimate
//                  made at each day's end against the day's true setting, bucketed by predicted probability
// Options: --days N (per setting for --rates, in all otherwise), --seed N.
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

// Start times, ms after midnight: the tables are measured on days that start on an even second and the calibration
// is judged on days that start on an odd one, so that no day is ever both.
double RatesStart(std::uint32_t draw) { return 2000.0 * (draw % 40000); }
double JudgedStart(std::uint32_t draw) { return 2000.0 * (draw % 40000) + 1000; }

// A day's length in games: spread evenly on a log scale from 300 to 10,000 (the hall's hours cut some shorter).
long SpreadLength(std::mt19937& rng) {
  return std::lround(std::exp(std::uniform_real_distribution<double>(std::log(300.0), std::log(10000.0))(rng)));
}

// Where the rates start, in normal games, and the days' ends by which the setting now is told, in games.
const std::vector<int> kRateFrom = {0, 100, 200, 300, 400, 500, 700, 1000, 1500, 2000, 2500, 3000, 4000, 5000, 6000};
constexpr int kNowAt[] = {300, 600, 1000, 1500, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 10000};
// A row of the setting now is given where at least this many days of every setting stand in it.
constexpr int kMinDays = 25;

// The spreads that make the days' own counts likeliest, on a grid: of the fresh wins about their mean, and of the
// streak share between days.
void FitSpreads(const std::vector<PlayedDay>& days, SettingTables* t) {
  const auto score = [&](const auto& logLik) {
    double sum = 0;
    for (const PlayedDay& p : days) sum += logLik(p);
    return sum;
  };
  const auto wins = [&](const PlayedDay& p) {
    return LogWinsLikelihood(*t, p.setting - 1, p.day.normalGames, p.day.freshWins);
  };
  const auto streaks = [&](const PlayedDay& p) {
    return LogStreakLikelihood(*t, p.setting - 1, p.day.freshWins, p.day.Streaks());
  };
  double best = -INFINITY, spread = 1, clustering = 0, streakSpread = 0;
  for (int i = 0; i <= 40; ++i)
    for (int j = 0; j <= 60; ++j) {
      t->spread = 1 + i * 0.05, t->clustering = j * 0.005;
      const double s = score(wins);
      if (s > best) best = s, spread = t->spread, clustering = t->clustering;
    }
  best = -INFINITY;
  for (int j = 0; j <= 60; ++j) {
    t->streakSpread = j * 0.001;
    const double s = score(streaks);
    if (s > best) best = s, streakSpread = t->streakSpread;
  }
  t->spread = spread, t->clustering = clustering, t->streakSpread = streakSpread;
}

// For each setting a day starts at: half its days of 10,000 games and half of lengths spread as the judged days'
// are. Every day adds its normal games to the rates it passed through (and its fresh wins to the rate it won them
// in), so a day cut short counts only where it played; the days' ends give the spread of a count and where the
// setting stands by then.
void Rates(int days, std::uint32_t seed) {
  constexpr size_t kN = std::size(kNowAt);
  const size_t kR = kRateFrom.size();
  std::array<std::vector<double>, 6> played, won;
  for (int s = 0; s < 6; ++s) played[s].assign(kR, 0), won[s].assign(kR, 0);
  std::array<std::array<std::array<double, 8>, kN>, 6> now{};
  std::vector<PlayedDay> ends;
  std::mt19937 rng(seed);
  for (int s = 1; s <= 6; ++s) {
    for (int done = 0, batch = 0; done < days; done += kBatch, ++batch) {
      const bool full = batch % 2 == 0;
      for (PlayedDay& d : PlayCounterDays(std::min(kBatch, days - done), full ? 10000 : SpreadLength(rng), s,
                                          RatesStart(rng()), rng())) {
        for (size_t i = 0; i < kR; ++i) {
          const double to = i + 1 < kR ? std::min(d.day.normalGames, kRateFrom[i + 1]) : d.day.normalGames;
          played[s - 1][i] += std::max(0.0, to - kRateFrom[i]);
        }
        for (int at : FreshWinPositions(d.day))
          won[s - 1][std::upper_bound(kRateFrom.begin(), kRateFrom.end(), at - 1) - kRateFrom.begin() - 1] += 1;
        const size_t bin = std::min<size_t>(kN - 1, std::lower_bound(std::begin(kNowAt), std::end(kNowAt),
                                                                     d.day.games) - std::begin(kNowAt));
        if (d.day.setting < 1 || d.day.setting > 8) throw std::runtime_error("a day ended at no setting 1..8");
        now[s - 1][bin][d.day.setting - 1] += 1;
        ends.push_back(std::move(d));
      }
      std::fprintf(stderr, "\rsetting %d: %d days", s, std::min(days, done + kBatch));
    }
    std::fprintf(stderr, "\n");
  }
  SettingTables t;
  t.rateFrom = kRateFrom;
  // Where few days played, the rates from there on are taken together, back to at least kThin normal games.
  constexpr double kThin = 30000;
  for (int s = 0; s < 6; ++s) {
    t.rate[s].assign(kR, 0);
    double w = 0, p = 0;
    size_t from = kR;
    for (size_t i = kR; i-- > 0;) {
      w += won[s][i], p += played[s][i];
      if (p < kThin && i > 0) continue;
      for (size_t j = i; j < from; ++j) t.rate[s][j] = p > 0 ? w / p : 0;
      from = i, w = 0, p = 0;
    }
  }
  for (int s = 0; s < 6; ++s) {
    double yes = 0, no = 0;
    for (const PlayedDay& d : ends)
      if (d.setting == s + 1) yes += d.day.Streaks(), no += std::max(0, d.day.freshWins - 1);
    t.streakShare[s] = yes / (yes + no);
  }
  FitSpreads(ends, &t);
  std::printf("# What the data counter's setting estimate rests on, measured by the counter itself over simulated\n");
  std::printf("# days of the real game (%d days a setting, half of 10,000 games, half of 300 to 10,000):\n", days);
  std::printf("#   nice build/counter-calibration --rates --days %d --seed %u > src/counter/setting_rates.txt\n", days,
              seed);
  std::printf("# rate START N PER-GAME: fresh MC wins per normal game from the N-th normal game on (to the next\n");
  std::printf("# row's N) on days started at setting START, over every day that played there (WINS / GAMES).\n");
  for (int s = 0; s < 6; ++s)
    for (size_t i = 0; i < kR; ++i)
      std::printf("rate %d %d %.6f  # %.0f / %.0f\n", s + 1, kRateFrom[i], t.rate[s][i], won[s][i], played[s][i]);
  std::printf("# spread SPREAD CLUSTERING: a day's count of fresh wins about its mean m has the variance\n");
  std::printf("# SPREAD m + CLUSTERING m², as makes the days' own counts likeliest.\n");
  std::printf("spread %.2f %.4f\n", t.spread, t.clustering);
  std::printf("# streak SHARE1 .. SHARE6 SPREAD: the MCs followed by a streak on days started at each setting\n");
  std::printf("# (streaks over streaks and chains ended, the last chain of a day taken as unended), and SPREAD the\n");
  std::printf("# correlation between two MCs of a day that makes the days' own counts likeliest.\n");
  std::printf("streak");
  for (double p : t.streakShare) std::printf(" %.4f", p);
  std::printf(" %.4f\n", t.streakSpread);
  std::printf("# now START G P1 .. P8: the setting at the cash-out of days started at setting START that ended\n");
  std::printf("# after more games (lever-ons) than the row before and at most G (the last row: any more), each\n");
  std::printf("# setting it can reach given half a day more.\n");
  for (int s = 0; s < 6; ++s)
    for (size_t i = 0; i < kN; ++i) {
      bool everyone = true;
      for (int o = 0; o < 6; ++o) {
        double n = 0;
        for (double c : now[o][i]) n += c;
        everyone = everyone && n >= kMinDays;
      }
      if (!everyone) continue;
      // Half a day more at each setting the start can reach (its own and every higher one): a setting no day
      // reached in a row is rare there, never impossible.
      double n = 0;
      for (int x = s; x < 8; ++x) n += now[s][i][x] + 0.5;
      std::printf("now %d %d", s + 1, kNowAt[i]);
      for (int x = 0; x < 8; ++x) std::printf(" %.4f", x < s ? 0.0 : (now[s][i][x] + 0.5) / n);
      std::printf("\n");
    }
}

// Days at settings drawn as the hall draws them, `start` giving each batch its start time.
std::vector<PlayedDay> HallDays(int days, std::uint32_t seed, double (*start)(std::uint32_t)) {
  std::mt19937 rng(seed);
  std::vector<PlayedDay> all;
  for (int done = 0, batch = 0; done < days; done += kBatch, ++batch) {
    const long games = SpreadLength(rng);
    for (PlayedDay& d : PlayCounterDays(std::min(kBatch, days - done), games, 0, start(rng()), rng())) {
      d.group = batch * 10 + d.setting;
      all.push_back(std::move(d));
    }
    std::fprintf(stderr, "\r%zu days", all.size());
  }
  std::fprintf(stderr, "\n");
  return all;
}

// The evidence weight: the mean log score of the start's estimate at each weight, on days that start on an even
// second (as the tables' days do), never on the judged ones.
void Weights(int days, std::uint32_t seed) {
  const std::vector<PlayedDay> all = HallDays(days, seed, RatesStart);
  std::printf("%zu days at settings drawn as the hall draws them, starting on even seconds: the mean log score\n"
              "of the setting the day started with, at each evidence weight.\n", all.size());
  for (double w = 0.5; w <= 2.51; w += 0.125) {
    double score = 0;
    for (const PlayedDay& d : all) {
      const CounterDay& c = d.day;
      const SettingEstimate e =
          EstimateSetting(c.games, c.normalGames, c.freshWins, c.Streaks(), BuiltInSettingTables(), w);
      score += std::log(e.p[d.setting - 1]);
    }
    std::printf("%.3f %.5f\n", w, score / static_cast<double>(all.size()));
  }
}

// Days of lengths spread evenly on a log scale, at settings drawn as the hall draws them; the estimate at each
// day's end against the setting the day started with, and the setting now against the one revealed at the
// cash-out.
void Calibrate(int days, std::uint32_t seed) {
  const std::vector<PlayedDay> all = HallDays(days, seed, JudgedStart);
  std::printf("%zu days, each at a setting drawn as the hall draws it; the estimate at the day's end. Days of one\n"
              "setting in one batch of %d (one length and start time) are taken as dependent in every interval\n"
              "(95 %%). The tables come from days that start on an even second, these on an odd one; nothing is\n"
              "fitted to these days.\n",
              all.size(), kBatch);
  const std::array<double, 6>& draw = kSettingDraw;
  const auto estimate = [](const CounterDay& c) {
    return EstimateSetting(c.games, c.normalGames, c.freshWins, c.Streaks());
  };
  std::printf("\nThe setting the day started with, against the hall's draw alone:\n%s",
              ReportText(Judge(all, [&](const PlayedDay& d) {
                           const SettingEstimate e = estimate(d.day);
                           return Judged{{e.p.begin(), e.p.end()}, {draw.begin(), draw.end()}, d.setting};
                         }), "the draw alone").c_str());
  std::printf("\nThe setting now (revealed at the cash-out), against the draw carried on by the games played:\n%s",
              ReportText(Judge(all, [&](const PlayedDay& d) {
                           const SettingEstimate e = estimate(d.day);
                           const auto carried = CarriedOn(draw, d.day.games, BuiltInSettingTables());
                           return Judged{{e.now.begin(), e.now.end()}, {carried.begin(), carried.end()}, d.day.setting};
                         }), "the draw carried on").c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const char* const usage = "usage: counter-calibration [--rates | --weights] [--days N] [--seed N]\n";
  bool rates = false, weights = false;
  int days = 3000;
  std::uint32_t seed = 18;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool takesValue = a == "--days" || a == "--seed";
    const std::string v = takesValue && i + 1 < argc ? argv[++i] : "";
    double n = 0;
    if (a == "--rates") rates = true;
    else if (a == "--weights") weights = true;
    else if (a == "--days" && WholeNumber(v, 1, 1e6, &n)) days = static_cast<int>(n);
    else if (a == "--seed" && WholeNumber(v, 0, 4294967295.0, &n)) seed = static_cast<std::uint32_t>(n);
    else {
      std::fprintf(stderr, "counter-calibration: %s%s\n%s", takesValue ? "bad value for " : "unknown option ",
                   (takesValue ? a + ": " + v : a).c_str(), usage);
      return 2;
    }
  }
  if (rates && days < 4 * kMinDays) {
    std::fprintf(stderr, "counter-calibration: --rates needs at least %d days a setting\n%s", 4 * kMinDays, usage);
    return 2;
  }
  try {
    const StopOnSignals stop;
    if (rates)
      Rates(days, seed);
    else if (weights)
      Weights(days, seed);
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
