// The play state's shared operations: money in its label, captions, the busy pauses.
#include "harness/harness.h"
#include "machine/money.h"

namespace {

TEST(MoneyTest, FormatsWithThousandsSeparatorsAndZeroAsEmpty) {
  // 0.5 yen rounds to even: 0; 1.5 yen: 2.
  for (auto [money, shown] : {std::pair{Currency::FromYen(0), ""}, {Currency::FromYen(980), "980"},
                              {Currency::FromYen(30000), "30,000"}, {Currency::FromYen(1234567), "1,234,567"},
                              {Currency::FromYen(-1500), "-1,500"}, {Currency{5000}, ""}, {Currency{15000}, "2"}})
    EXPECT_EQ(FormatMoney(money), shown) << money.units;
  // The four decimals round half to even, on both sides of zero.
  for (std::int64_t units : {-25001, -25000, -15001, -15000, -14999, -5001, -5000, -4999, 4999, 5000, 5001, 14999,
                             15000, 15001, 25000, 25001}) {
    const long long yen = std::llrint(static_cast<double>(units) / 10000);
    EXPECT_EQ(FormatMoney(Currency{units}), yen == 0 ? "" : std::to_string(yen)) << units;
  }
}

TEST(MoneyTest, ReadsBackWhatItShows) {
  EXPECT_EQ(ReadMoney(""), Currency::FromYen(0));
  EXPECT_EQ(ReadMoney("1,234,567"), Currency::FromYen(1234567));
  for (double yen : {0.0, 1.0, 999.0, 1000.0, 200000.0, 98765432.0})
    EXPECT_EQ(ReadMoney(FormatMoney(Currency::FromYen(yen))), Currency::FromYen(yen)) << yen;
}

using PlayStateTest = MachineTest;

TEST_F(PlayStateTest, CaptionFormsAndReveal) {
  PlayerName = "もふ太";
  Lottery.TodaySetting = 5;
  EXPECT_EQ(HiddenCaption(), "もふ太さんプレイ中♪　本日の設定　？");
  EXPECT_EQ(RevealedCaption(), "もふ太さんプレイ中♪　本日の設定　5");
  EXPECT_EQ(SpectaclesCaption(), "もふ太さんプレイ中♪　本日の設定　5　究極の設定看破メガネ使用！");
  OpenDay();
  RevealSetting();
  EXPECT_EQ(Form2.Caption(), RevealedCaption());
}

TEST_F(PlayStateTest, MoneyOfZeroShowsEmptyAndReadsBackAsZero) {
  Record.Savings = Currency::FromYen(0);
  OpenDay();
  EXPECT_EQ(Form2.Money.Caption(), "");
  EXPECT_EQ(LabelMoney(), Currency::FromYen(0));
}

TEST_F(PlayStateTest, StopAndReelCountsMustBeAllThree) {
  Reels.LeftReelStopped = Reels.CentreReelStopped = 1;
  EXPECT_FALSE(AllReelsStopped());
  Reels.RightReelStopped = 1;
  EXPECT_TRUE(AllReelsStopped());
  Play.LeftStopPressed = Play.RightStopPressed = 1;
  EXPECT_FALSE(AllStopsPressed());
  Play.CentreStopPressed = 1;
  EXPECT_TRUE(AllStopsPressed());
}

TEST_F(PlayStateTest, PausesLastTheirLength) {
  const double t0 = sim->Elapsed();
  Pause(0.3f);
  EXPECT_NEAR(sim->Elapsed() - t0, 0.3, 0.01);
  int ticks = 0;
  OpenDay();
  Form2.Timer4.OnTick = [&] { ++ticks; };
  Form2.Timer4.Interval = 50;
  const double t1 = sim->Elapsed();
  PauseWithEvents(0.15f);
  EXPECT_NEAR(sim->Elapsed() - t1, 0.15, 0.01);
  EXPECT_EQ(ticks, 3);  // the pause with events lets timers tick
}

class MidnightTest : public MachineTest {
 protected:
  MidnightTest() : MachineTest(false, 86400.0 - 0.1) {}
};

TEST_F(MidnightTest, APauseAcrossMidnightEndsOnTime) {
  const double t0 = sim->Elapsed();
  Pause(0.3f);
  EXPECT_NEAR(sim->Elapsed() - t0, 0.3, 0.02);
  const double t1 = sim->Elapsed();
  PauseWithEvents(0.03f);
  EXPECT_LT(sim->Elapsed() - t1, 0.05);
}

}  // namespace
