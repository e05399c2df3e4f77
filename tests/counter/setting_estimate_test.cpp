// The setting estimate: the built-in rates, the posterior's arithmetic and what evidence does to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "counter/setting_estimate.h"

namespace {

double Sum(const auto& p) { return std::accumulate(p.begin(), p.end(), 0.0); }

TEST(SettingEstimate, TheRatesFileIsReadWholeOrNotAtAll) {
  SettingRates r;
  std::string good = "# comment\n\n";
  for (int s = 1; s <= 6; ++s) good += std::to_string(s) + " 100 0.5 1.1\n" + std::to_string(s) + " 1000 4.5 0.8\n";
  ASSERT_TRUE(ParseSettingRates(good, &r));
  EXPECT_EQ(r.games, (std::vector<int>{100, 1000}));
  EXPECT_DOUBLE_EQ(r.spread[5][1], 0.8);
  const std::string others = "2 100 1 1\n3 100 1 1\n4 100 1 1\n5 100 1 1\n6 100 1 1\n";
  for (const std::string& bad : {others,                                     // a setting missing
                                "1 100 1 1\n1 100 1 1\n" + others,           // a point twice
                                "1 100 1 1\n1 50 1 1\n" + others,            // points out of order
                                "1 100 2 1\n1 200 1 1\n" + others,           // fewer wins later
                                "1 200 1 1\n" + others,                      // other points than the rest
                                "1 100 zero 1\n" + others, "1 100 1 -1\n" + others, "7 100 1 1\n" + others,
                                "1 100 1 1 9\n" + others, "1 100 nan 1\n" + others}) {
    SettingRates none;
    EXPECT_FALSE(ParseSettingRates(bad, &none)) << bad;
  }
  const SettingRates& built = BuiltInRates();
  ASSERT_GE(built.games.size(), 5u) << "the built-in file must parse";
  EXPECT_GT(built.wins[5].back(), 1.5 * built.wins[0].back()) << "setting 6 wins more often than setting 1";
}

TEST(SettingEstimate, StartsFromTheHallsDrawAndFollowsTheEvidence) {
  SettingRates r;
  r.games = {1000, 2000};
  for (int s = 0; s < 6; ++s) r.wins[s] = {2.0 + s, 4.0 + 2 * s}, r.spread[s] = {1, 1};
  const SettingEstimate none = EstimateSetting(0, 0, {}, r);
  EXPECT_NEAR(none.p[0], 2.0 / 7, 1e-12);
  for (int s = 1; s < 6; ++s) EXPECT_NEAR(none.p[s], 1.0 / 7, 1e-12);
  const auto best = [](const SettingEstimate& e) { return std::max_element(e.p.begin(), e.p.end()) - e.p.begin(); };
  // Few wins point to setting 1, many to 6, a count in between to its setting; halfway between two points, their
  // means halfway.
  EXPECT_EQ(best(EstimateSetting(2000, 3, {}, r)), 0);
  EXPECT_EQ(best(EstimateSetting(2000, 16, {}, r)), 5);
  EXPECT_EQ(best(EstimateSetting(1500, 6, {}, r)), 2);  // means 3 + 1.5 s
  // Spread over chance weighs a count less: the same count moves the estimate less far from the draw.
  SettingRates wide = r;
  for (auto& v : wide.spread) v = {3, 3};
  EXPECT_LT(EstimateSetting(2000, 16, {}, wide).p[5], EstimateSetting(2000, 16, {}, r).p[5]);
  // A pure Poisson count at the point, by hand: k = 2 with means 2..7.
  const SettingEstimate two = EstimateSetting(1000, 2, {}, r);
  std::array<double, 6> like{};
  for (int s = 0; s < 6; ++s) like[s] = (s ? 1.0 : 2.0) * std::pow(2.0 + s, 2) * std::exp(-2.0 - s);
  for (int s = 0; s < 6; ++s) EXPECT_NEAR(two.p[s], like[s] / Sum(like), 1e-9) << s + 1;
  EXPECT_NEAR(Sum(EstimateSetting(2'000'000, 50'000, {}, r).p), 1.0, 1e-12) << "huge counts stay finite";
}

TEST(SettingEstimate, TheSettingNowFollowsTheCeilingAndTheRaisesInTheirOrder) {
  struct Case {
    const char* events;  // C: the ceiling, R: a raise
    std::array<int, 6> now;
  };
  for (const Case& c : {Case{"", {1, 2, 3, 4, 5, 6}}, Case{"R", {2, 3, 4, 5, 6, 7}}, Case{"RRR", {4, 5, 6, 7, 8, 8}},
                        Case{"C", {7, 7, 7, 7, 7, 7}}, Case{"RC", {7, 7, 7, 7, 7, 7}}, Case{"CRR", {8, 8, 8, 8, 8, 8}}}) {
    SettingPath path;
    for (const char* e = c.events; *e; ++e) *e == 'C' ? path.Ceiling() : path.Raise();
    EXPECT_EQ(path.now, c.now) << c.events;
    EXPECT_EQ(path.Moved(), *c.events != 0) << c.events;
    const SettingEstimate e = EstimateSetting(3000, 9, path);
    EXPECT_NEAR(Sum(e.now), 1.0, 1e-12) << c.events;
    for (int s = 0; s < 6; ++s) EXPECT_GE(e.now[c.now[s] - 1], e.p[s] - 1e-12) << c.events << s + 1;
  }
}

}  // namespace
