// The setting estimate: the built-in rates, the posterior's arithmetic and what evidence does to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "counter/setting_estimate.h"

namespace {

TEST(SettingEstimate, TheBuiltInRatesAreWholeAndHigherSettingsWinMoreOften) {
  std::array<double, 6> rates{};
  ASSERT_TRUE(ParseSettingRates(
      "# comment\n\n1 400\n2 350.5\n 3 300\n4 250\n5 200\n6 150   \n", &rates));
  EXPECT_DOUBLE_EQ(rates[1], 350.5);
  EXPECT_DOUBLE_EQ(rates[5], 150);
  const auto& built = GamesPerFreshWin();
  for (int s = 0; s < 6; ++s) {
    EXPECT_GT(built[s], 20) << s + 1;
    EXPECT_LT(built[s], 5000) << s + 1;
  }
  EXPECT_GT(built[0], built[5]) << "setting 1 needs more games per win than setting 6";
  for (const char* bad : {"1 400\n2 350\n3 300\n4 250\n5 200\n",               // a setting missing
                          "1 400\n1 400\n2 350\n3 300\n4 250\n5 200\n6 150\n",  // one twice
                          "1 400\n2 350\n3 300\n4 250\n5 200\n6 zero\n",        // not a number
                          "1 400\n2 350\n3 300\n4 250\n5 200\n6 -5\n",          // no rate
                          "1 400\n2 350\n3 300\n4 250\n5 200\n7 150\n",         // no such setting
                          "1 400 12\n2 350\n3 300\n4 250\n5 200\n6 150\n",      // a word too many
                          "1 400\n2 350\n3 300\n4 250\n5 200\n6 nan\n"}) {
    std::array<double, 6> r{};
    EXPECT_FALSE(ParseSettingRates(bad, &r)) << bad;
  }
}

TEST(SettingEstimate, StartsFromTheHallsDrawAndFollowsTheEvidence) {
  const std::array<double, 6> rates = {400, 350, 300, 250, 200, 150};
  const auto sum = [](const SettingEstimate& e) { return std::accumulate(e.p.begin(), e.p.end(), 0.0); };
  // Nothing played: the day's draw, setting 1 twice as likely as each other.
  const SettingEstimate none = EstimateSetting(0, 0, rates, 1.0);
  EXPECT_NEAR(none.p[0], 2.0 / 7, 1e-12);
  for (int s = 1; s < 6; ++s) EXPECT_NEAR(none.p[s], 1.0 / 7, 1e-12);
  // Many games and few wins point to setting 1; many wins to setting 6; a rate in between to its setting.
  const SettingEstimate dry = EstimateSetting(8000, 15, rates, 1.0);
  const SettingEstimate rich = EstimateSetting(8000, 60, rates, 1.0);
  const SettingEstimate middle = EstimateSetting(30000, 100, rates, 1.0);
  for (const SettingEstimate* e : {&dry, &rich, &middle}) EXPECT_NEAR(sum(*e), 1.0, 1e-12);
  EXPECT_EQ(std::max_element(dry.p.begin(), dry.p.end()) - dry.p.begin(), 0);
  EXPECT_EQ(std::max_element(rich.p.begin(), rich.p.end()) - rich.p.begin(), 5);
  EXPECT_EQ(std::max_element(middle.p.begin(), middle.p.end()) - middle.p.begin(), 2);
  EXPECT_GT(rich.p[5], 0.5);
  // A weaker evidence weight keeps the estimate nearer the draw; the exact value of one case by hand.
  const SettingEstimate weak = EstimateSetting(8000, 60, rates, 0.5);
  EXPECT_LT(weak.p[5], rich.p[5]);
  EXPECT_GT(weak.p[0], rich.p[0]);
  const SettingEstimate two = EstimateSetting(300, 1, {300, 300, 300, 300, 300, 150}, 1.0);
  // Likelihoods: e^-1 for the five alike, 2 e^-2 for the sixth.
  const double five = std::exp(-1.0), six = 2 * std::exp(-2.0);
  EXPECT_NEAR(two.p[5], six / 7 / (2 * five / 7 + 4 * five / 7 + six / 7), 1e-12);
  // Huge counts stay finite.
  const SettingEstimate huge = EstimateSetting(2'000'000'000, 5'000'000, rates, 1.0);
  EXPECT_NEAR(sum(huge), 1.0, 1e-12);
}

}  // namespace
