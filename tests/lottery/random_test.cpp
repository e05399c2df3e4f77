#include <set>
#include <vector>

#include "lottery/day_setting.h"
#include "lottery_fixture.h"

using RandomTest = LotteryTest;

TEST_F(RandomTest, RandomIntGivesTheEndValuesHalfWeightAndRoundsTiesToEven) {
  // Exact halves go to the even neighbour: a round-half-up would give 1, 2, 3, 4 here.
  EXPECT_EQ(RandomIntOf(1, 0.5), 0);
  EXPECT_EQ(RandomIntOf(3, 0.5), 2);
  EXPECT_EQ(RandomIntOf(5, 0.5), 2);
  EXPECT_EQ(RandomIntOf(7, 0.5), 4);
  EXPECT_EQ(RandomIntOf(10, 0.9999), 10);
  EXPECT_EQ(RandomIntOf(10, 0.0), 0);

  // Over a large sample 0 and N come up at 1/(2N), every other value at 1/N; a truncating draw would give 0 at
  // 1/N and never N.
  constexpr int N = 4;
  constexpr long kDraws = 1000000;
  long counts[N + 2] = {};
  for (long i = 0; i < kDraws; ++i) {
    const int v = RandomInt(N);
    ASSERT_GE(v, 0);
    ASSERT_LE(v, N);
    ++counts[v];
  }
  ExpectShare(counts[0], kDraws, 1.0 / (2 * N), "0");
  ExpectShare(counts[N], kDraws, 1.0 / (2 * N), "N");
  for (int v = 1; v < N; ++v) ExpectShare(counts[v], kDraws, 1.0 / N, "middle value");
}

TEST_F(RandomTest, UniformIsFineGrainedAndReseedsAreReproducibleButNeverRepeat) {
  // 10^5 draws from a generator of 24 bits or more collide a few hundred times at most; 16 bits would collide
  // tens of thousands of times.
  std::set<double> seen;
  for (int i = 0; i < 100000; ++i) {
    const double u = Uniform();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
    seen.insert(u);
  }
  EXPECT_GT(seen.size(), 99000u);

  auto drawsAfterReseed = [] {
    Randomize();
    std::vector<double> v;
    for (int i = 0; i < 4; ++i) v.push_back(Uniform());
    return v;
  };
  const auto first = drawsAfterReseed();
  const auto second = drawsAfterReseed();
  EXPECT_NE(first, second) << "two reseeds in a row gave the same draws";

  // Virtual clocks started at the same time of day replay the same run.
  sim = std::make_unique<SimBackend>(8 * 3600.0);
  const auto fromEight = drawsAfterReseed();
  sim = std::make_unique<SimBackend>(8 * 3600.0);
  EXPECT_EQ(drawsAfterReseed(), fromEight);

  // Seeds that differ only in their upper half still give different runs.
  RandomizeWith(0x100000007ull);
  const double a = Uniform();
  RandomizeWith(0x200000007ull);
  EXPECT_NE(a, Uniform());
}

TEST_F(RandomTest, TheDaysSettingFavoursSettingOneAndANewPlayerGetsSix) {
  constexpr long kDays = 70000;
  long counts[9] = {};
  for (long i = 0; i < kDays; ++i) {
    ChooseTodaySetting();
    ASSERT_GE(Lottery.TodaySetting, 1);
    ASSERT_LE(Lottery.TodaySetting, 6);
    ++counts[Lottery.TodaySetting];
  }
  ExpectShare(counts[1], kDays, 2.0 / 7, "setting 1");
  for (int s = 2; s <= 6; ++s) ExpectShare(counts[s], kDays, 1.0 / 7, "setting " + std::to_string(s));

  Record.BestCoins = 0;
  for (int i = 0; i < 200; ++i) {
    ChooseTodaySetting();
    ASSERT_EQ(Lottery.TodaySetting, 6);
  }
}
