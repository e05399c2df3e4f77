// The setting estimate: the built-in tables, the posterior's arithmetic and what evidence does to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "counter/setting_estimate.h"

namespace {

// Setting s winning once in 400 - 50 s normal games, setting 6 half as often in its first 100; counts are
// Poisson; streaks alike at every setting; after 1,000 games setting 6 has risen to 7 on a fifth of its days.
const char* const kTables =
    "# a comment\n\n"
    "rate 1 0 0.002857\nrate 1 100 0.002857  # after a row\n"
    "rate 2 0 0.003333\nrate 2 100 0.003333\nrate 3 0 0.004\nrate 3 100 0.004\n"
    "rate 4 0 0.005\nrate 4 100 0.005\nrate 5 0 0.006667\nrate 5 100 0.006667\n"
    "rate 6 0 0.005\nrate 6 100 0.01\n"
    "spread 1 0\nstreak 0.85 0.85 0.85 0.85 0.85 0.85 0\n"
    "now 1 1000 1 0 0 0 0 0 0 0\nnow 2 1000 0 1 0 0 0 0 0 0\nnow 3 1000 0 0 1 0 0 0 0 0\n"
    "now 4 1000 0 0 0 1 0 0 0 0\nnow 5 1000 0 0 0 0 1 0 0 0\nnow 6 1000 0 0 0 0 0 0.8 0.2 0\n";

std::string Replaced(const std::string& from, const std::string& to) {
  std::string s = kTables;
  s.replace(s.find(from), from.size(), to);
  return s;
}

TEST(SettingEstimate, TheTablesReadWholeAndTheBuiltInOnesRiseWithTheSetting) {
  SettingTables t;
  ASSERT_TRUE(ParseSettingTables(kTables, &t));
  EXPECT_EQ(t.rateFrom, (std::vector<int>{0, 100}));
  EXPECT_DOUBLE_EQ(t.rate[5][1], 0.01);
  EXPECT_DOUBLE_EQ(ExpectedWins(t, 5, 300), 2.5);
  EXPECT_DOUBLE_EQ(t.now[5][0][6], 0.2);
  for (const std::string& bad :
       {Replaced("rate 3 100 0.004\n", ""),                // a rate missing
        Replaced("rate 3 100", "rate 3 90"),               // from another N than the others
        Replaced("rate 1 0 ", "rate 1 10 "),               // not from the first game
        Replaced("rate 1 100", "rate 1 0"),                // N not rising
        Replaced("rate 4 100 0.005", "rate 4 100 five"),   // not a number
        Replaced("rate 4 100 0.005", "rate 4 100 -0.005"),  // below zero
        Replaced("rate 4 100 0.005", "rate 4 100 nan"),    // no number
        Replaced("rate 4 100 0.005", "rate 4 100 0.005 5"),  // a word too many
        Replaced("rate 5 0", "rate 7 0"),                  // no such start
        Replaced("spread 1 0\n", ""), Replaced("spread 1 0\n", "spread 1 0\nspread 1 0\n"),
        Replaced("spread 1 0", "spread 0.9 0"), Replaced("spread 1 0", "spread 1 -1"),
        Replaced("spread 1 0", "spread 1"), Replaced("streak 0.85 ", "streak 0 "), Replaced(" 0.85 0\n", " 1 0\n"),
        Replaced(" 0.85 0\n", " 0\n"), Replaced(" 0.85 0\n", " 0.85 1\n"), Replaced("streak", "streaks"),
        Replaced("0.85 0\n", "0.85 0\nstreak 0.85 0.85 0.85 0.85 0.85 0.85 0\n"),
        Replaced("now 2 1000 0 1 0", "now 2 1000 0 0.5 0"),   // not adding up to 1
        Replaced("now 3 1000 0 0 1 0 0 0 0 0", "now 3 1000 0 0 1 0 0 0 0"),  // a setting short
        Replaced("now 5 1000 0 0 0 0 1 0 0 0\n", ""),         // a start without its row
        Replaced("now 1", "then 1")}) {                       // no such kind
    SettingTables r;
    EXPECT_FALSE(ParseSettingTables(bad, &r)) << bad;
  }
  // The built-in tables: higher settings win more often for as many normal games and streak more often, the wins
  // spread more than a Poisson count's, and the setting never falls.
  const SettingTables& built = BuiltInSettingTables();
  ASSERT_GE(built.rateFrom.size(), 10u);
  EXPECT_GE(built.rateFrom.back(), 5000);
  for (int n : {300, 1000, 5000}) EXPECT_LT(ExpectedWins(built, 0, n), ExpectedWins(built, 5, n)) << n;
  EXPECT_GT(built.spread + built.clustering, 1);
  EXPECT_LT(built.streakShare[0], built.streakShare[5]);
  for (int s = 0; s < 6; ++s)
    for (const auto& row : built.now[s]) EXPECT_NEAR(std::accumulate(row.begin(), row.begin() + s, 0.0), 0, 1e-9);
}

TEST(SettingEstimate, StartsFromTheHallsDrawFollowsTheEvidenceAndCarriesItOn) {
  SettingTables t;
  ASSERT_TRUE(ParseSettingTables(kTables, &t));
  const auto sum = [](const auto& p) { return std::accumulate(p.begin(), p.end(), 0.0); };
  const auto likeliest = [](const auto& p) { return std::max_element(p.begin(), p.end()) - p.begin(); };
  // Nothing played: the day's draw, setting 1 twice as likely as each other.
  const SettingEstimate none = EstimateSetting(0, 0, 0, 0, t);
  EXPECT_NEAR(none.p[0], 2.0 / 7, 1e-12);
  for (int s = 1; s < 6; ++s) EXPECT_NEAR(none.p[s], 1.0 / 7, 1e-12);
  // Few wins point to setting 1, a rate in between to its setting, many to setting 6.
  const SettingEstimate dry = EstimateSetting(4000, 4000, 10, 0, t), middle = EstimateSetting(30000, 30000, 120, 0, t),
                        rich = EstimateSetting(4000, 4000, 45, 0, t);
  for (const SettingEstimate* e : {&none, &dry, &middle, &rich}) {
    EXPECT_NEAR(sum(e->p), 1.0, 1e-12);
    EXPECT_NEAR(sum(e->now), 1.0, 1e-12);
  }
  EXPECT_EQ(likeliest(dry.p), 0);
  EXPECT_EQ(likeliest(middle.p), 2);
  EXPECT_EQ(likeliest(rich.p), 5);
  // One case by hand: 2 wins in 550 normal games, setting 6 expecting 0.5 + 4.5. Poisson, then a negative
  // binomial of variance 2 m + m² / 4 (r = m / (1 + m / 4), success odds 1 / (2 + m / 4)).
  for (const bool clustered : {false, true}) {
    SettingTables c;
    ASSERT_TRUE(ParseSettingTables(clustered ? Replaced("spread 1 0", "spread 2 0.25") : kTables, &c));
    const SettingEstimate two = EstimateSetting(600, 550, 2, 0, c);
    double lik[6], evidence = 0;
    const double means[] = {550 / 350.0, 550 / 300.0, 550 / 250.0, 550 / 200.0, 550 / 150.0, 5.0};
    for (int s = 0; s < 6; ++s) {
      const double m = means[s], r = m / (1 + m / 4), q = 1 / (2 + m / 4);
      lik[s] = clustered ? std::exp(std::lgamma(2 + r) - std::lgamma(r) - std::lgamma(3)) * std::pow(q, r) *
                               std::pow(1 - q, 2)
                         : m * m * std::exp(-m) / 2;
      evidence += (s == 0 ? 2 : 1) * lik[s];
    }
    EXPECT_NEAR(two.p[0], 2 * lik[0] / evidence, 1e-4) << clustered;
    EXPECT_NEAR(two.p[5], lik[5] / evidence, 1e-4) << clustered;
  }
  // Streaks alone, 20 of them after 5 fresh wins (4 chains ended): shares 0.80 to 0.90 binomial by hand; spread
  // between days, the same count says less.
  SettingTables shares;
  ASSERT_TRUE(ParseSettingTables(Replaced("0.85 0.85 0.85 0.85 0.85 0.85 0", "0.8 0.82 0.84 0.86 0.88 0.9 0"), &shares));
  const SettingEstimate streaky = EstimateSetting(0, 0, 5, 20, shares);
  double streakLik[6], streakEvidence = 0;
  for (int s = 0; s < 6; ++s)
    streakEvidence += (s == 0 ? 2 : 1) * (streakLik[s] = std::pow(0.8 + 0.02 * s, 20) * std::pow(0.2 - 0.02 * s, 4));
  for (int s = 0; s < 6; ++s) EXPECT_NEAR(streaky.p[s], (s == 0 ? 2 : 1) * streakLik[s] / streakEvidence, 1e-12) << s;
  shares.streakSpread = 0.1;
  const auto fromDraw = [&](const SettingEstimate& e) {
    double d = 0;
    for (int s = 0; s < 6; ++s) d += std::fabs(e.p[s] - none.p[s]);
    return d;
  };
  EXPECT_LT(fromDraw(EstimateSetting(0, 0, 5, 20, shares)), fromDraw(streaky) - 0.01);
  EXPECT_EQ(streaky.streaks, 20);
  // The setting now: the start carried on by its row, what rose counted as risen.
  EXPECT_NEAR(rich.now[6], 0.2 * rich.p[5], 1e-12);
  EXPECT_NEAR(rich.now[5], 0.8 * rich.p[5], 1e-12);
  EXPECT_NEAR(rich.risen, 0.2 * rich.p[5], 1e-12);
  EXPECT_DOUBLE_EQ(dry.now[0], dry.p[0]);
  // Past the last rate's start it goes on; huge counts stay finite.
  const SettingEstimate huge = EstimateSetting(2'000'000'000, 2'000'000'000, 5'000'000, 0, t);
  EXPECT_NEAR(sum(huge.p), 1.0, 1e-12);
}

}  // namespace
