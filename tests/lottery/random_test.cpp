#include <array>
#include <set>

#include "harness/harness.h"
#include "lottery/day_setting.h"

using RandomTest = LotteryTest;

TEST_F(RandomTest, RandomIntHalvesTheEndValuesAndRoundsTiesToEven) {
  // Exact halves go to the even neighbour; rounding half up would give 1, 2, 3, 4.
  for (auto [n, want] : {std::pair{1, 0}, {3, 2}, {5, 2}, {7, 4}}) EXPECT_EQ(RandomIntOf(n, 0.5), want) << n;
  // 0 and N at 1/(2N), the rest at 1/N: a truncating draw would give 0 at 1/N and never N.
  constexpr long kDraws = 1000000;
  std::array<long, 5> counts{};
  for (long i = 0; i < kDraws; ++i) ++counts.at(RandomInt(4));
  for (int v = 0; v <= 4; ++v) ExpectShare(counts[v], kDraws, v == 0 || v == 4 ? 1.0 / 8 : 1.0 / 4, "value");
}

TEST_F(RandomTest, FineGrainedReproducibleAndFreshAtEveryReseed) {
  // 10^5 draws of 24 bits or more collide a few hundred times at most; 16 bits would collide ~40000 times.
  std::set<double> seen;
  for (int i = 0; i < 100000; ++i) seen.insert(Uniform());
  EXPECT_GT(seen.size(), 99000u);
  EXPECT_GE(*seen.begin(), 0.0);
  EXPECT_LT(*seen.rbegin(), 1.0);

  auto drawsAfterReseed = [] {
    Randomize();
    return std::vector<double>{Uniform(), Uniform(), Uniform()};
  };
  EXPECT_NE(drawsAfterReseed(), drawsAfterReseed());
  sim = std::make_unique<SimBackend>(8 * 3600.0);
  const auto run = drawsAfterReseed();
  sim = std::make_unique<SimBackend>(8 * 3600.0);
  EXPECT_EQ(drawsAfterReseed(), run) << "the same virtual start replays the same run";
  RandomizeWith(0x100000007ull);
  const double a = Uniform();
  RandomizeWith(0x200000007ull);
  EXPECT_NE(a, Uniform()) << "the upper half of a seed counts";
}

TEST_F(RandomTest, TheDaysSettingFavoursOneAndANewPlayerGetsSix) {
  constexpr long kDays = 70000;
  std::array<long, 7> counts{};
  for (long i = 0; i < kDays; ++i) {
    ChooseTodaySetting();
    ++counts.at(Lottery.TodaySetting);
  }
  EXPECT_EQ(counts[0], 0);
  for (int s = 1; s <= 6; ++s) ExpectShare(counts[s], kDays, s == 1 ? 2.0 / 7 : 1.0 / 7, "setting");
  Record.BestCoins = 0;
  for (int i = 0; i < 100; ++i) {
    ChooseTodaySetting();
    ASSERT_EQ(Lottery.TodaySetting, 6);
  }
}
