// The one-shot shares of the internal lottery, measured over a million lotteries per setting.
#include <cstdio>

#include "harness/harness.h"
#include "lottery/internal_lottery.h"
#include "lottery/lottery_tables.h"

namespace {

// Shares of flag 1, flag 2, flag 3, the flag-4-or-2 case and no flag, from the classification of m = RandomInt(N)
// (0 and N at half weight) before the cycle game.
struct Shares {
  double s[5];
};

Shares ExpectedShares(int n) {
  Shares e{};
  for (int m = 0; m <= n; ++m) {
    const double w = (m == 0 || m == n) ? 0.5 / n : 1.0 / n;
    const int k = m == 8 ? 0 : m % 9 == 1 ? 1 : m % 13 == 10 ? 2 : m % 4 == 3 ? 3 : 4;
    e.s[k] += w;
  }
  return e;
}

// The figures the machine is known by, for setting 1.
constexpr double kSettingOne[5] = {1.0 / 800, 89.0 / 800, 27.0 / 400, 33.0 / 160, 491.0 / 800};

}  // namespace

using OneShotTest = LotteryTest;

TEST_F(OneShotTest, SharesPerSettingMatchTheKnownFigures) {
  constexpr long kDraws = 1000000;
  Form2.GamesSinceMc.Caption = "100";
  Record.SpectaclesItem = 10;
  const char* names[5] = {"flag 1", "flag 2", "flag 3", "flag 4/2", "none"};
  std::printf("setting   flag 1 (stated)       flag 2 (stated)       flag 3 (stated)       "
              "flag 4/2 (stated)     no flag (stated)\n");
  for (int setting = 1; setting <= 8; ++setting) {
    long counts[5] = {};
    for (long i = 0; i < kDraws; ++i) {
      Lottery.TodaySetting = static_cast<std::int16_t>(setting);
      Lottery.LotteryMode = 1;
      Lottery.CycleLength = 151;
      Lottery.CycleLeft = 100;
      Lottery.RevealCountdown = Lottery.GamesSinceMc = 0;
      InternalLottery();
      ASSERT_NE(Lottery.CycleLeft, 0);
      const int flag = Lottery.GameFlag;
      ++counts[flag == 1 ? 0 : flag == 2 ? 1 : flag == 3 ? 2 : flag == 4 ? 3 : 4];
    }
    const Shares expected = ExpectedShares(OddsOfSetting(setting).N);
    std::printf("%7d", setting);
    for (int k = 0; k < 5; ++k) {
      const double measured = static_cast<double>(counts[k]) / kDraws;
      std::printf("   %.5f (%.5f)", measured, setting == 1 ? kSettingOne[k] : expected.s[k]);
      ExpectShare(counts[k], kDraws, expected.s[k], std::string(names[k]) + " at setting " + std::to_string(setting));
      if (setting == 1) {
        EXPECT_NEAR(expected.s[k], kSettingOne[k], 1e-12) << names[k];
      }
      // Apart from the MC share, every setting lies within the third decimal of setting 1.
      if (k > 0) {
        EXPECT_NEAR(measured, kSettingOne[k], 0.01) << names[k] << " at setting " << setting;
      }
    }
    EXPECT_NEAR(expected.s[0], 1.0 / OddsOfSetting(setting).N, 1e-12);
    std::printf("\n");
  }
}
