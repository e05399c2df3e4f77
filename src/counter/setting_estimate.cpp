#include "counter/setting_estimate.h"

#include <cmath>
#include <sstream>

#include "counter/setting_rates_text.h"

// Two calibration runs of 200 simulated days (build/counter-calibration) scored best at 0.8 and at 0.4; 0.5 is
// within 0.007 of the best mean log score in both and errs on the modest side. 1 would trust the Poisson count in
// full, which overstates what a day shows.
const double kEvidenceWeight = 0.5;

namespace {
// How the day's setting is drawn: floor(7u) with 0 turned into 1.
constexpr std::array<double, 6> kPrior = {2.0 / 7, 1.0 / 7, 1.0 / 7, 1.0 / 7, 1.0 / 7, 1.0 / 7};
}  // namespace

bool ParseSettingRates(const std::string& text, std::array<double, 6>* gamesPerWin) {
  std::istringstream in(text);
  std::string line;
  std::array<double, 6> rates{};
  std::array<bool, 6> seen{};
  while (std::getline(in, line)) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    std::istringstream row(line);
    int setting = 0;
    double games = 0;
    std::string rest;
    if (!(row >> setting >> games) || (row >> rest) || setting < 1 || setting > 6 || !std::isfinite(games) ||
        games < 1 || seen[setting - 1])
      return false;
    rates[setting - 1] = games;
    seen[setting - 1] = true;
  }
  for (bool s : seen)
    if (!s) return false;
  *gamesPerWin = rates;
  return true;
}

const std::array<double, 6>& GamesPerFreshWin() {
  static const std::array<double, 6> rates = [] {
    std::array<double, 6> r{};
    // The file is built in; a build with a broken file must not pass its tests (they check this parse).
    if (!ParseSettingRates(kSettingRatesText, &r)) r.fill(300.0);
    return r;
  }();
  return rates;
}

SettingEstimate EstimateSetting(int normalGames, int freshWins, const std::array<double, 6>& gamesPerWin,
                                double evidenceWeight) {
  SettingEstimate e;
  e.normalGames = normalGames;
  e.freshWins = freshWins;
  // Log-likelihoods of k wins in n games at rate 1/g: k log(n/g) - n/g (the k! is common to all settings).
  std::array<double, 6> logPost{};
  double best = -INFINITY;
  for (int s = 0; s < 6; ++s) {
    const double mean = normalGames / gamesPerWin[s];
    const double logLik = normalGames > 0 ? freshWins * std::log(mean) - mean : 0.0;
    logPost[s] = std::log(kPrior[s]) + evidenceWeight * logLik;
    best = std::max(best, logPost[s]);
  }
  double sum = 0;
  for (int s = 0; s < 6; ++s) sum += (e.p[s] = std::exp(logPost[s] - best));
  for (double& p : e.p) p /= sum;
  return e;
}

SettingEstimate EstimateSetting(int normalGames, int freshWins) {
  return EstimateSetting(normalGames, freshWins, GamesPerFreshWin(), kEvidenceWeight);
}
