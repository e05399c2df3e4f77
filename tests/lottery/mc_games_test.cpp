#include "lottery/lottery_tables.h"
#include "lottery/mc_sequence.h"
#include "lottery_fixture.h"

namespace {

class McGamesTest : public LotteryTest {
 protected:
  void SetUp() override {
    LotteryTest::SetUp();
    Mc.BonusPhase = 1;
    Lottery.McLength = 33;
    Lottery.McGamesLeft = 20;
    Form2.Label28.Caption = "57";
  }
  static double Gives(int v, int n) { return v == 0 ? 0.1 / n : (v - 0.1) / n; }
};

}  // namespace

TEST_F(McGamesTest, MostGamesAreMameWithARequiredOrderSomeAreReplays) {
  constexpr int kGames = 36000;
  int replays = 0, orders[7] = {}, groups[6] = {};
  for (int i = 0; i < kGames; ++i) {
    Lottery.McGamesLeft = 10;
    McGameLottery();
    ASSERT_TRUE(Lottery.GameFlag == 2 || Lottery.GameFlag == 3);
    replays += Lottery.GameFlag == 2;
    ++orders[Lottery.StopOrder];
    ++groups[Lottery.StopGroup];
    ASSERT_EQ(Form2.Label22.Caption(), StopOrderText(Lottery.StopOrder));
    for (const auto& s : Lottery.StopSounds) ASSERT_EQ(s, "soundMofuran\\StSound5.wav");
  }
  ExpectShare(replays, kGames, 4.0 / 18, "replays");
  ExpectShare(orders[1], kGames, 5.0 / 18, "order 123");
  ExpectShare(orders[2], kGames, 5.0 / 36, "order 132");
  ExpectShare(orders[3], kGames, 3.0 / 18, "order 213");
  ExpectShare(orders[4], kGames, 3.0 / 36, "order 312");
  ExpectShare(orders[5], kGames, 3.0 / 18, "order 231");
  ExpectShare(orders[6], kGames, 3.0 / 18, "order 321");
  ExpectShare(groups[2], kGames, 0.4, "falling diagonal");
  ExpectShare(groups[1] + groups[3], kGames, 0.2, "top and centre lines");
  EXPECT_EQ(groups[5], 0);
}

TEST_F(McGamesTest, LeverSoundStopSoundsAndTheFifteenGamesRule) {
  Lottery.LeverSound = "前の音";
  Lottery.McGamesLeft = 8;
  McGameLottery();
  EXPECT_EQ(Lottery.LeverSound, "前の音") << "an MC game has no lever sound before its last seven";
  Lottery.McGamesLeft = 7;
  Mc.StreakPending = 1;
  McGameLottery();
  EXPECT_EQ(Lottery.LeverSound, "前の音") << "nor once the streak is won";
  Mc.StreakPending = 0;
  McGameLottery();
  EXPECT_EQ(Lottery.LeverSound, "soundMofuran\\LeverOn4.WAV");

  Mc.FanfareStreak = 1;
  McGameLottery();
  for (const auto& s : Lottery.StopSounds) EXPECT_EQ(s, "soundMofuran\\StSound8.wav");

  int replays = 0;
  for (int setting : {6, 7, 8}) {
    Lottery.TodaySetting = static_cast<std::int16_t>(setting);
    for (int i = 0; i < 300; ++i) {
      Lottery.McGamesLeft = 15;
      McGameLottery();
      if (setting > 6) {
        ASSERT_EQ(Lottery.GameFlag, 2);
        ASSERT_EQ(Form2.Label22.Caption(), "123");
      } else {
        replays += Lottery.GameFlag == 2;
      }
    }
  }
  EXPECT_LT(replays, 150) << "setting 6 keeps the ordinary odds at 15 games left";
}

TEST_F(McGamesTest, TheSpecialEventStocksAStreakContinuation) {
  // An MC replay with more than 10 games left turns a mode of 0 into 1.
  Lottery.LotteryMode = 0;
  Lottery.McGamesLeft = 10;
  QueueUniforms({Gives(2, 10), Gives(4, 18)});
  McGameLottery();
  EXPECT_EQ(Lottery.LotteryMode, 0);
  Lottery.McGamesLeft = 11;
  QueueUniforms({Gives(2, 10), Gives(4, 18), Gives(50, 100)});
  McGameLottery();
  EXPECT_EQ(Lottery.GameFlag, 2);
  EXPECT_EQ(Lottery.LotteryMode, 1);

  struct Case {
    int z;
    std::uint16_t stockBefore;
    std::int16_t rankBefore;
    std::uint16_t stockAfter;
    std::int16_t rankAfter;
    int outcome, pattern;
    bool proxyEnds;
  };
  const Case cases[] = {
      {0, 0, 1, 0, 1, 1, 3, false},  {3, 0, 1, 0, 1, 1, 3, false},  {5, 0, 1, 0, 1, 1, 3, true},
      {4, 0, 1, 2, 1, 10, 4, true},  {4, 1, -30, 2, 2, 10, 4, true}, {4, 2, 5, 3, -5, 10, 4, true},
      {4, 3, 3, 4, 4, 10, 4, true},
  };
  for (const Case& c : cases) {
    Lottery.McGamesLeft = 30;
    Lottery.StopPattern = 3;
    Mc.StreakStock = c.stockBefore;
    Lottery.StreakRank = c.rankBefore;
    Play.ProxyActive = 1;
    Form2.Timer8.Interval = 260;
    // Centre line, a replay, 7 of RandomInt(100), 2 of RandomInt(5), z, and 2.5 -> 2 for a new stock.
    QueueUniforms({Gives(6, 10), Gives(5, 18), Gives(7, 100), Gives(2, 5), Gives(c.z, 5), 0.5});
    McGameLottery();
    ClearQueuedUniforms();
    EXPECT_EQ(Lottery.GameFlag, 4) << "z=" << c.z;
    EXPECT_EQ(Lottery.StopGroup, 4) << "the centre line becomes the rising diagonal";
    EXPECT_EQ(Lottery.StopOrder, 1);
    for (const auto& s : Lottery.StopSounds) EXPECT_EQ(s, "soundMofuran\\StSoundSp.wav");
    EXPECT_EQ(Presentation.DigitalOutcome, c.outcome) << "z=" << c.z;
    EXPECT_EQ(Lottery.StopPattern, c.pattern) << "z=" << c.z;
    EXPECT_EQ(Mc.StreakStock, c.stockAfter) << "z=" << c.z;
    EXPECT_EQ(Lottery.StreakRank, c.rankAfter) << "z=" << c.z;
    EXPECT_EQ(Play.ProxyActive, c.proxyEnds ? 0 : 1) << "z=" << c.z;
    EXPECT_EQ(Form2.Timer8.Interval(), c.proxyEnds ? 0 : 260);
  }

  // During a fanfare streak the rare draw only makes a lost game.
  Mc.FanfareStreak = 1;
  QueueUniforms({Gives(6, 10), Gives(5, 18), Gives(7, 100), Gives(2, 5), Gives(4, 5)});
  McGameLottery();
  ClearQueuedUniforms();
  EXPECT_EQ(Lottery.GameFlag, 0);
  EXPECT_EQ(Lottery.StopGroup, 3);
  for (const auto& s : Lottery.StopSounds) EXPECT_EQ(s, "soundMofuran\\StSound8.wav");
}

TEST_F(McGamesTest, TheCounterCountsDownIntoTheLastSeven) {
  Lottery.McGamesLeft = 1000;
  McCountdownStep(1);
  EXPECT_EQ(Form2.Label14.Caption(), "999");
  Lottery.McGamesLeft = 9;
  McCountdownStep(1);
  EXPECT_EQ(Form2.Label14.Caption(), "8");
  McCountdownStep(0);
  EXPECT_EQ(Lottery.McGamesLeft, 8) << "a game that does not count leaves the counter";
  McCountdownStep(1);
  EXPECT_EQ(Lottery.McGamesLeft, 7);
  EXPECT_EQ(Form2.Label14.Caption(), "-7-");

  // Two counted games step through the eighth game on the way.
  Lottery.McGamesLeft = 9;
  McCountdownStep(2);
  EXPECT_EQ(Lottery.McGamesLeft, 7);
  EXPECT_EQ(Form2.Label14.Caption(), "-7-");

  // At exactly 8 games left a proxy on a 100-game contract tires with 1/4.
  Play.ContractGames = 100;
  constexpr int kEights = 8000;
  int tired = 0;
  for (int i = 0; i < kEights; ++i) {
    Play.ProxyActive = 1;
    Lottery.McGamesLeft = 9;
    McCountdownStep(1);
    ASSERT_EQ(Play.ProxyActive, 1) << "no proxy tires at 9 games left";
    McCountdownStep(1);
    tired += Play.ProxyActive == 0;
  }
  ExpectShare(tired, kEights, 1.0 / 4, "proxy tiring at 8 games left");

  Form2.Label45.Caption = "一発:はずれ　　周期:3/150";
  Lottery.GameFlag = 3;
  McCountdownStep(1);
  EXPECT_EQ(Form2.Label45.Caption(), "");
  EXPECT_EQ(Form2.Label14.Caption(), "-6-");
  EXPECT_EQ(Mc.McEnding, 0);
}

TEST_F(McGamesTest, TheLastSevenGamesMayWinTheNextMc) {
  struct Case {
    std::int16_t rank, fanfare, flag;
    double chance;
  };
  const Case cases[] = {{1, 0, 3, 1.0 / 8}, {5, 0, 3, 1.0 / 4}, {-30, 0, 3, 1.0 / 39}, {1, 1, 3, 0}, {1, 0, 2, 0}};
  for (const Case& c : cases) {
    constexpr int kGames = 20000;
    int won = 0;
    for (int i = 0; i < kGames; ++i) {
      Lottery.McGamesLeft = 5;
      Lottery.StreakRank = c.rank;
      Mc.FanfareStreak = c.fanfare;
      Lottery.GameFlag = c.flag;
      Lottery.StopOrder = 4;
      Mc.StreakPending = 0;
      McCountdownStep(1);
      ASSERT_EQ(Lottery.McGamesLeft, 4);
      if (Mc.StreakPending == 1) {
        ++won;
        ASSERT_EQ(Lottery.StopOrder, 1);
      }
    }
    ExpectShare(won, kGames, c.chance, "rank " + std::to_string(c.rank));
  }
}

TEST_F(McGamesTest, TheLastGameTestsTheStreakByRankThenUsesTheStock) {
  struct Case {
    std::int16_t rank, fanfare;
    double chance;
  };
  const Case cases[] = {{-30, 0, 0},   {1, 0, 0.65},  {2, 0, 0.65},  {3, 0, 0.65},  {4, 0, 0.75},
                        {5, 0, 0.75},  {-5, 0, 0.45}, {-2, 0, 0.55}, {1, 1, 0.75},  {-30, 1, 0}};
  for (const Case& c : cases) {
    constexpr int kEnds = 12000;
    int continued = 0;
    for (int i = 0; i < kEnds; ++i) {
      Lottery.McGamesLeft = 1;
      Lottery.StreakRank = c.rank;
      Mc.FanfareStreak = c.fanfare;
      Mc.StreakPending = 0;
      Mc.StreakStock = 0;
      Presentation.StreakMcCount = 4;
      Lottery.GamesSinceMc = 77;
      Lottery.LotteryMode = 2;
      McCountdownStep(1);
      if (Mc.StreakPending == 1) {
        ++continued;
        ASSERT_EQ(Presentation.StreakMcCount, 4);
        ASSERT_EQ(Lottery.GamesSinceMc, 77);
      } else {
        ASSERT_EQ(Presentation.StreakMcCount, 0);
        ASSERT_EQ(Lottery.GamesSinceMc, 0);
        ASSERT_EQ(Lottery.LotteryMode, 0);
      }
    }
    ExpectShare(continued, kEnds, c.chance,
                "rank " + std::to_string(c.rank) + " fanfare " + std::to_string(c.fanfare));
  }

  // Rank -30 continues only by the stock, one continuation at a time.
  Lottery.McGamesLeft = 1;
  Lottery.StreakRank = -30;
  Mc.FanfareStreak = 0;
  Mc.StreakPending = 0;
  Mc.StreakStock = 2;
  Presentation.StreakMcCount = 3;
  McCountdownStep(1);
  EXPECT_EQ(Mc.StreakPending, 1);
  EXPECT_EQ(Mc.StreakStock, 1);
  EXPECT_EQ(Presentation.StreakMcCount, 3);

  // A continuation won in the last seven stands without spending the stock.
  Lottery.McGamesLeft = 1;
  McCountdownStep(1);
  EXPECT_EQ(Mc.StreakStock, 1);
  EXPECT_EQ(Presentation.StreakMcCount, 3);
}

TEST_F(McGamesTest, TheLastGameEndsWithTheJingle300MsLater) {
  Mc.McDigits = 4;
  Lottery.StopOrder = 5;
  Form2.Picture29.Visible = true;
  Lottery.McGamesLeft = 2;
  McCountdownStep(1);
  EXPECT_EQ(Form2.Label14.Caption(), "-1-");
  McCountdownStep(1);
  EXPECT_EQ(Lottery.McGamesLeft, 0);
  EXPECT_EQ(Form2.Label14.Caption(), "");
  EXPECT_EQ(Mc.McEnding, 1);
  EXPECT_EQ(Mc.McDigits, 3);
  EXPECT_EQ(Form2.Label28.Caption(), "0");
  EXPECT_FALSE(Form2.Picture29.Visible());
  EXPECT_EQ(Lottery.StopOrder, 1);
  EXPECT_EQ(Form2.Timer7.Interval(), 300);

  Form2.Label14.Caption = "x";
  sim->RunFor(0.29);
  EXPECT_EQ(Mc.McEnding, 1);
  EXPECT_EQ(Mc.BonusPhase, 1);
  sim->RunFor(0.02);
  EXPECT_EQ(Mc.McEnding, 2);
  EXPECT_EQ(Mc.BonusPhase, 0);
  EXPECT_EQ(Form2.Label14.Caption(), "");
  EXPECT_EQ(Form2.Timer7.Interval(), 0);
}
