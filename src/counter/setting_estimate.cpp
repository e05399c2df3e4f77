#include "counter/setting_estimate.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "counter/setting_rates_text.h"

namespace {

// How the day's setting is drawn: floor(7u) with 0 turned into 1.
constexpr std::array<double, 6> kPrior = {2.0 / 7, 1.0 / 7, 1.0 / 7, 1.0 / 7, 1.0 / 7, 1.0 / 7};

struct Moments {
  double mean, spread;
};

// Linear between the measured points; from nothing at game 0 (spread 1) to the first; on at the last stretch's
// pace beyond the last, with its spread.
Moments At(const SettingRates& r, int s, double n) {
  const std::vector<int>& g = r.games;
  const std::vector<double>&m = r.wins[s], &v = r.spread[s];
  size_t i = 0;
  while (i < g.size() && g[i] < n) ++i;
  if (i == g.size()) {
    const size_t last = g.size() - 1;
    const double x0 = last ? g[last - 1] : 0, m0 = last ? m[last - 1] : 0;
    return {m[last] + (n - g[last]) * (m[last] - m0) / (g[last] - x0), v[last]};
  }
  const double x0 = i ? g[i - 1] : 0, m0 = i ? m[i - 1] : 0, v0 = i ? v[i - 1] : 1;
  const double f = (n - x0) / (g[i] - x0);
  return {m0 + f * (m[i] - m0), v0 + f * (v[i] - v0)};
}

// Efron's double Poisson: a count of this mean whose variance is `spread` times the mean, above 1 (wins in
// clusters) or below (the lottery's cycles make wins come more evenly than chance), normalised by its sum.
double LogDoublePoisson(int k, double mean, double theta) {
  const double y = k;
  return 0.5 * std::log(theta) - theta * mean - y + (k ? y * std::log(y) + theta * y * (1 + std::log(mean / y)) : 0) -
         std::lgamma(y + 1);
}

double LogLikelihood(int k, Moments x) {
  if (x.mean <= 0) return k == 0 ? 0 : -INFINITY;
  const double theta = 1 / std::max(x.spread, 0.05);
  const int top = static_cast<int>(x.mean + 12 * std::sqrt(x.mean * x.spread) + 12);
  double peak = -INFINITY;
  std::vector<double> terms;
  for (int y = 0; y <= std::max(top, k); ++y) terms.push_back(LogDoublePoisson(y, x.mean, theta));
  for (double t : terms) peak = std::max(peak, t);
  double sum = 0;
  for (double t : terms) sum += std::exp(t - peak);
  return terms[static_cast<size_t>(k)] - peak - std::log(sum);
}

}  // namespace

bool ParseSettingRates(const std::string& text, SettingRates* rates) {
  std::istringstream in(text);
  std::string line;
  SettingRates r;
  std::array<std::vector<int>, 6> points;
  while (std::getline(in, line)) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    std::istringstream row(line);
    int setting = 0, games = 0;
    double mean = 0, spread = 0;
    std::string rest;
    if (!(row >> setting >> games >> mean >> spread) || (row >> rest) || setting < 1 || setting > 6 ||
        !std::isfinite(mean) || !std::isfinite(spread) || mean <= 0 || spread <= 0)
      return false;
    auto& at = points[setting - 1];
    auto& wins = r.wins[setting - 1];
    if (!at.empty() && (games <= at.back() || mean < wins.back())) return false;
    if (games < 1) return false;
    at.push_back(games);
    wins.push_back(mean);
    r.spread[setting - 1].push_back(spread);
  }
  for (const auto& at : points)
    if (at.empty() || at != points[0]) return false;
  r.games = points[0];
  *rates = r;
  return true;
}

const SettingRates& BuiltInRates() {
  static const SettingRates rates = [] {
    SettingRates r;
    // The file is built in; a build with a broken file must not pass its tests (they check this parse).
    if (!ParseSettingRates(kSettingRatesText, &r)) {
      r.games = {1};
      for (int s = 0; s < 6; ++s) r.wins[s] = {1.0 / 300}, r.spread[s] = {1};
    }
    return r;
  }();
  return rates;
}

SettingEstimate EstimateSetting(int normalGames, int freshWins, const SettingPath& path, const SettingRates& rates) {
  SettingEstimate e;
  e.normalGames = normalGames;
  e.freshWins = freshWins;
  std::array<double, 6> logPost{};
  double best = -INFINITY;
  for (int s = 0; s < 6; ++s) {
    logPost[s] = std::log(kPrior[s]) + (normalGames > 0 ? LogLikelihood(freshWins, At(rates, s, normalGames)) : 0);
    best = std::max(best, logPost[s]);
  }
  double sum = 0;
  for (int s = 0; s < 6; ++s) sum += (e.p[s] = std::exp(logPost[s] - best));
  for (int s = 0; s < 6; ++s) {
    e.p[s] /= sum;
    e.now[path.now[s] - 1] += e.p[s];
  }
  e.moved = path.Moved();
  return e;
}

SettingEstimate EstimateSetting(int normalGames, int freshWins, const SettingPath& path) {
  return EstimateSetting(normalGames, freshWins, path, BuiltInRates());
}
