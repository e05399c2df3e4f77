#include "counter/setting_estimate.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "counter/setting_rates_text.h"

const double kEvidenceWeight = 0.875;
const std::array<double, 6> kSettingDraw = {2.0 / 7, 1.0 / 7, 1.0 / 7, 1.0 / 7, 1.0 / 7, 1.0 / 7};

namespace {

bool Finite(double v) { return std::isfinite(v) && v >= 0; }

// A table's next row must continue its start's list at the same N as the other starts (or the first one's).
bool Continues(std::vector<int>* at, size_t done, int n) {
  if (done < at->size()) return (*at)[done] == n;
  if (done != at->size() || (!at->empty() && at->back() >= n) || n < 0) return false;
  at->push_back(n);
  return true;
}

// log P(k wins) for a count of this mean and variance, less log k! (common to every setting): a negative binomial,
// or a Poisson where the variance is no larger than the mean.
double LogCount(int k, double mean, double variance) {
  if (variance <= mean * (1 + 1e-9)) return k * std::log(mean) - mean;
  const double r = mean * mean / (variance - mean);
  return std::lgamma(k + r) - std::lgamma(r) + r * std::log(r / (r + mean)) + k * std::log(mean / (r + mean));
}

// The row of the setting now for days that ended by this many games, or the last.
size_t NowRow(const SettingTables& t, int games) {
  return std::min<size_t>(t.nowAt.size() - 1,
                          std::lower_bound(t.nowAt.begin(), t.nowAt.end(), games) - t.nowAt.begin());
}
}  // namespace

bool ParseSettingTables(const std::string& text, SettingTables* tables) {
  std::istringstream in(text);
  std::string line;
  SettingTables t;
  bool spreadRead = false, streakRead = false;
  while (std::getline(in, line)) {
    line.erase(std::min(line.size(), line.find('#')));  // a comment, whole-line or after a row
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    std::istringstream row(line);
    std::string kind, rest;
    int s = 0, n = 0;
    if (!(row >> kind)) return false;
    if (kind == "streak") {
      for (double& v : t.streakShare)
        if (!(row >> v) || !(v > 0 && v < 1)) return false;
      if (streakRead || !(row >> t.streakSpread) || (row >> rest) || !(t.streakSpread >= 0 && t.streakSpread < 1))
        return false;
      streakRead = true;
      continue;
    }
    if (kind == "spread") {
      if (spreadRead || !(row >> t.spread >> t.clustering) || (row >> rest) || !(t.spread >= 1) ||
          !Finite(t.clustering) || !std::isfinite(t.spread))
        return false;
      spreadRead = true;
      continue;
    }
    if (!(row >> s >> n) || s < 1 || s > 6) return false;
    --s;
    if (kind == "rate") {
      double perGame = 0;
      if (!(row >> perGame) || (row >> rest) || !Finite(perGame) || !Continues(&t.rateFrom, t.rate[s].size(), n))
        return false;
      t.rate[s].push_back(perGame);
    } else if (kind == "now") {
      std::array<double, 8> p{};
      double sum = 0;
      for (double& v : p)
        if (!(row >> v) || !Finite(v)) return false;
      for (double v : p) sum += v;
      if ((row >> rest) || std::fabs(sum - 1) > 0.01 || !Continues(&t.nowAt, t.now[s].size(), n)) return false;
      for (double& v : p) v /= sum;
      t.now[s].push_back(p);
    } else {
      return false;
    }
  }
  if (!spreadRead || !streakRead) return false;
  for (int s = 0; s < 6; ++s)
    if (t.rateFrom.empty() || t.rateFrom.front() != 0 || t.rate[s].size() != t.rateFrom.size() || t.nowAt.empty() ||
        t.now[s].size() != t.nowAt.size())
      return false;
  *tables = std::move(t);
  return true;
}

const SettingTables& BuiltInSettingTables() {
  static const SettingTables tables = [] {
    SettingTables t;
    // The file is built in; a build with a broken file must not pass its tests (they check this parse). Without
    // it every setting looks alike and the estimate stays at the hall's draw.
    if (!ParseSettingTables(kSettingRatesText, &t)) {
      t = SettingTables{};
      t.rateFrom = {0};
      t.nowAt = {1};
      t.streakShare.fill(0.85);
      for (int s = 0; s < 6; ++s) {
        t.rate[s] = {1.0 / 100};
        t.now[s] = {{}};
        t.now[s][0][s] = 1;
      }
    }
    return t;
  }();
  return tables;
}

double ExpectedWins(const SettingTables& t, int s, double n) {
  double wins = 0;
  for (size_t i = 0; i < t.rateFrom.size() && n > t.rateFrom[i]; ++i) {
    const double to = i + 1 < t.rateFrom.size() ? std::min<double>(n, t.rateFrom[i + 1]) : n;
    wins += t.rate[s][i] * (to - t.rateFrom[i]);
  }
  return wins;
}

double LogWinsLikelihood(const SettingTables& t, int s, int normalGames, int freshWins) {
  // At least the wins of one in 2,000 normal games: a count of 0 stays possible at every setting.
  const double mean = std::max(ExpectedWins(t, s, normalGames), std::max(1, normalGames) / 2000.0);
  return LogCount(freshWins, mean, t.spread * mean + t.clustering * mean * mean);
}

double LogStreakLikelihood(const SettingTables& t, int s, int freshWins, int streaks) {
  const double yes = streaks, no = std::max(0, freshWins - 1), p = t.streakShare[s], rho = t.streakSpread;
  if (rho <= 0) return yes * std::log(p) + no * std::log(1 - p);
  // A beta binomial whose share has mean p and correlation rho between two MCs of a day.
  const double total = (1 - rho) / rho, a = p * total, b = (1 - p) * total;
  return std::lgamma(yes + a) - std::lgamma(a) + std::lgamma(no + b) - std::lgamma(b) - std::lgamma(yes + no + total) +
         std::lgamma(total);
}

std::array<double, 8> CarriedOn(const std::array<double, 6>& start, int games, const SettingTables& t) {
  const size_t row = NowRow(t, games);
  std::array<double, 8> now{};
  for (int s = 0; s < 6; ++s)
    for (int x = 0; x < 8; ++x) now[x] += start[s] * t.now[s][row][x];
  return now;
}

SettingEstimate EstimateSetting(int games, int normalGames, int freshWins, int streaks, const SettingTables& t,
                                double evidenceWeight) {
  SettingEstimate e;
  e.normalGames = normalGames;
  e.freshWins = freshWins;
  e.streaks = streaks;
  std::array<double, 6> logPost{};
  double best = -INFINITY;
  for (int s = 0; s < 6; ++s) {
    const double logLik = (normalGames > 0 ? LogWinsLikelihood(t, s, normalGames, freshWins) : 0) +
                          LogStreakLikelihood(t, s, freshWins, streaks);
    logPost[s] = std::log(kSettingDraw[s]) + evidenceWeight * logLik;
    best = std::max(best, logPost[s]);
  }
  double sum = 0;
  for (int s = 0; s < 6; ++s) sum += (e.p[s] = std::exp(logPost[s] - best));
  for (double& p : e.p) p /= sum;

  e.now = CarriedOn(e.p, games, t);
  const size_t row = NowRow(t, games);
  for (int s = 0; s < 6; ++s) e.risen += e.p[s] * (1 - t.now[s][row][s]);
  return e;
}

SettingEstimate EstimateSetting(int games, int normalGames, int freshWins, int streaks) {
  return EstimateSetting(games, normalGames, freshWins, streaks, BuiltInSettingTables(), kEvidenceWeight);
}
