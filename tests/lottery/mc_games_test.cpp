#include <array>
#include <tuple>

#include "harness/harness.h"
#include "lottery/lottery_tables.h"
#include "lottery/mc_sequence.h"

namespace {

class McGamesTest : public LotteryTest {
 protected:
  void SetUp() override {
    LotteryTest::SetUp();
    Mc.BonusPhase = 1;
    Lottery.McLength = 33;
    Form2.GamesSinceMc.Caption = "57";
  }
  // One MC game's lottery with this many games left.
  static void McGame(int left) {
    Lottery.McGamesLeft = static_cast<std::int16_t>(left);
    McGameLottery();
  }
};

}  // namespace

TEST_F(McGamesTest, MameWithARequiredOrderReplaysAndTheFifteenGamesRule) {
  constexpr int kGames = 36000;
  int replays = 0;
  std::array<int, 7> orders{};
  std::array<int, 6> groups{};
  for (int i = 0; i < kGames; ++i) {
    McGame(10);
    ASSERT_TRUE(Lottery.GameFlag == 2 || Lottery.GameFlag == 3);
    replays += Lottery.GameFlag == 2;
    ++orders.at(Lottery.StopOrder);
    ++groups.at(Lottery.StopGroup);
    ASSERT_EQ(Form2.PremonitionLine.Caption(), StopOrderText(Lottery.StopOrder));
    ASSERT_EQ(Lottery.StopSounds[2], "soundMofuran\\StSound5.wav");
  }
  ExpectShare(replays, kGames, 4.0 / 18, "replays");
  const double orderShares[] = {0, 10.0 / 36, 5.0 / 36, 6.0 / 36, 3.0 / 36, 6.0 / 36, 6.0 / 36};
  for (int order = 1; order <= 6; ++order) ExpectShare(orders[order], kGames, orderShares[order], "order");
  ExpectShare(groups[2], kGames, 0.4, "falling diagonal");
  ExpectShare(groups[1] + groups[3], kGames, 0.2, "top and centre lines");
  EXPECT_EQ(groups[5], 0);

  // Settings above 6 make the game at 15 left a replay to be stopped in order.
  for (int setting : {6, 7, 8}) {
    Lottery.TodaySetting = static_cast<std::int16_t>(setting);
    replays = 0;
    for (int i = 0; i < 300; ++i) {
      McGame(15);
      replays += Lottery.GameFlag == 2 && Form2.PremonitionLine.Caption() == "123";
    }
    EXPECT_TRUE(setting > 6 ? replays == 300 : replays < 150) << setting << ": " << replays;
  }
}

TEST_F(McGamesTest, LeverAndStopSoundsOfMcGames) {
  Lottery.LeverSound = "前";
  McGame(8);
  EXPECT_EQ(Lottery.LeverSound, "前") << "no lever sound before the last seven";
  Mc.StreakPending = 1;
  McGame(7);
  EXPECT_EQ(Lottery.LeverSound, "前") << "nor once the next MC is won";
  Mc.StreakPending = 0;
  McGame(7);
  EXPECT_EQ(Lottery.LeverSound, "soundMofuran\\LeverOn4.WAV");
  EXPECT_EQ(Sounds(SoundAction::Route), std::vector<std::string>{"LeverOn4.WAV"}) << "played at once";
  Mc.FanfareStreak = 1;
  McGame(30);
  EXPECT_EQ(Lottery.StopSounds[0] + Lottery.StopSounds[2], "soundMofuran\\StSound8.wavsoundMofuran\\StSound8.wav");
}

TEST_F(McGamesTest, TheSpecialEventStocksAStreakContinuation) {
  // An MC replay with more than 10 games left turns a mode of 0 into 1.
  QueueUniforms({Gives(2, 10), Gives(4, 18)});
  McGame(10);
  EXPECT_EQ(Lottery.LotteryMode, 0);
  QueueUniforms({Gives(2, 10), Gives(4, 18), Gives(50, 100)});
  McGame(11);
  EXPECT_EQ(Lottery.GameFlag * 10 + Lottery.LotteryMode, 21);

  // {z, stock and rank before, stock and rank after, digital outcome, stop pattern, proxy ended}
  const int cases[][8] = {{0, 0, 1, 0, 1, 1, 3, 0},   {3, 0, 1, 0, 1, 1, 3, 0},    {5, 0, 1, 0, 1, 1, 3, 1},
                          {4, 0, 1, 2, 1, 10, 4, 1},  {4, 1, -30, 2, 2, 10, 4, 1}, {4, 2, 5, 3, -5, 10, 4, 1},
                          {4, 3, 3, 4, 4, 10, 4, 1}};
  for (const auto& c : cases) {
    Lottery.StopPattern = 3;
    Mc.StreakStock = static_cast<std::uint16_t>(c[1]);
    Lottery.StreakRank = static_cast<std::int16_t>(c[2]);
    Play.ProxyActive = 1;
    Form2.Timer8.Interval = 260;
    // Centre line, a replay, 7 of RandomInt(100), 2 of RandomInt(5), z, and 2.5 rounding to a stock of 2.
    QueueUniforms({Gives(6, 10), Gives(5, 18), Gives(7, 100), Gives(2, 5), Gives(c[0], 5), 0.5});
    McGame(30);
    ClearQueuedUniforms();
    EXPECT_EQ(Lottery.GameFlag * 100 + Lottery.StopGroup * 10 + Lottery.StopOrder, 441) << "z=" << c[0];
    EXPECT_EQ(Lottery.StopSounds[1], "soundMofuran\\StSoundSp.wav");
    EXPECT_EQ(Mc.StreakStock, c[3]) << "z=" << c[0];
    EXPECT_EQ(Lottery.StreakRank, c[4]) << "z=" << c[0];
    EXPECT_EQ(Presentation.DigitalOutcome * 10 + Lottery.StopPattern, c[5] * 10 + c[6]) << "z=" << c[0];
    EXPECT_EQ(Play.ProxyActive + Form2.Timer8.Interval(), c[7] ? 0 : 261) << "z=" << c[0];
  }
  // Each event silences the music and rings its own sound; the MC game after each brings the music back.
  EXPECT_EQ(sound->Count("StSound4.wav", SoundAction::Play), 7);
  for (const char* music : {"mc1.wav", "mc2.wav", "pmc1.wav", "pmc2.wav"})
    EXPECT_EQ(sound->Count(music, SoundAction::Stop), 7) << music;
  EXPECT_EQ(sound->Count("mc1.wav", SoundAction::Loop), 6);
  QueueUniforms({Gives(2, 10), Gives(8, 18)});
  McGame(29);
  EXPECT_EQ(sound->Count("mc1.wav", SoundAction::Loop), 7);
  McGame(28);
  EXPECT_EQ(sound->Count("mc1.wav", SoundAction::Loop), 7);
  // During a fanfare streak the rare draw only loses the game.
  Mc.FanfareStreak = 1;
  QueueUniforms({Gives(6, 10), Gives(5, 18), Gives(7, 100), Gives(2, 5), Gives(4, 5)});
  McGame(30);
  ClearQueuedUniforms();
  EXPECT_EQ(Lottery.GameFlag * 10 + Lottery.StopGroup, 3);
}

TEST_F(McGamesTest, TheCountdownIntoTheLastSeven) {
  // {games left, counter after the game, bells so far}: the bell rings when the count reads ...999 or ...099.
  const std::tuple<int, const char*, int> steps[] = {{1000, "999", 1}, {1100, "099", 2}, {100, "99", 2},
                                                     {9, "8", 2},      {8, "-7-", 2},    {2, "-1-", 2}};
  for (auto [left, shown, bells] : steps) {
    Lottery.McGamesLeft = static_cast<std::int16_t>(left);
    McCountdownStep(1);
    EXPECT_EQ(Form2.McCounter.Caption(), shown) << left;
    EXPECT_EQ(Lottery.McGamesLeft, left - 1);
    EXPECT_EQ(sound->Count("Bell.wav", SoundAction::Play), bells) << left;
  }
  // The last seven games play to CD7Sound instead of the MC music.
  EXPECT_EQ(sound->Count("CD7Sound.wav", SoundAction::Loop), 1);
  EXPECT_EQ(sound->Count("mc1.wav", SoundAction::Stop) + sound->Count("pmc2.wav", SoundAction::Stop), 2);
  // A game that counts for nothing (the game that announced a won MC) leaves the count but still shows it, with
  // its bell, unless the last MC's end froze the display.
  const std::tuple<int, std::int16_t, std::int16_t, const char*, int> uncounted[] = {
      {33, 3, 0, "33", 0}, {1999, 3, 0, "999", 1}, {1099, 4, 0, "1099", 1}, {12999, 4, 1, "2999", 1},
      {9, 3, 0, "9", 0},   {5, 3, 0, "-5-", 0},    {444, 3, 2, "前", 0}};
  for (const auto& [left, digits, ending, shown, bells] : uncounted) {
    Mc.BonusPhase = 2;
    Mc.McDigits = digits;
    Mc.McEnding = ending;
    Form2.McCounter.Caption = "前";
    Lottery.McGamesLeft = static_cast<std::int16_t>(left);
    sound->ClearEvents();
    McCountdownStep(0);
    EXPECT_EQ(Lottery.McGamesLeft, left);
    EXPECT_EQ(Form2.McCounter.Caption(), shown) << left;
    EXPECT_EQ(sound->Count("Bell.wav", SoundAction::Play), bells) << left;
    EXPECT_EQ(sound->Count("CD7Sound.wav", SoundAction::Loop), 0) << left;
  }
  Mc.BonusPhase = 1;
  Mc.McDigits = 3;
  Mc.McEnding = 0;
  Lottery.McGamesLeft = 9;
  McCountdownStep(2);
  EXPECT_EQ(Form2.McCounter.Caption(), "-7-") << "two counted games step through the eighth";

  // At exactly 8 games left a proxy on a 100-game contract tires with 1/4, never at 9.
  Play.ContractGames = 100;
  int tired = 0;
  for (int i = 0; i < 8000; ++i) {
    Play.ProxyActive = 1;
    Lottery.McGamesLeft = 9;
    McCountdownStep(1);
    ASSERT_EQ(Play.ProxyActive, 1);
    McCountdownStep(1);
    tired += Play.ProxyActive == 0;
  }
  ExpectShare(tired, 8000, 1.0 / 4, "proxy tiring at 8 games left");

  // A mame game of the last seven may win the next MC: RandomInt(9 - rank) = 3, not in a fanfare streak.
  const std::tuple<std::int16_t, std::int16_t, std::int16_t, double> chances[] = {
      {1, 0, 3, 1.0 / 8}, {5, 0, 3, 1.0 / 4}, {-30, 0, 3, 1.0 / 39}, {1, 1, 3, 0}, {1, 0, 2, 0}};
  for (const auto& [rank, fanfare, flag, chance] : chances) {
    int won = 0;
    for (int i = 0; i < 20000; ++i) {
      Lottery.McGamesLeft = 5;
      Lottery.StreakRank = rank;
      Mc.FanfareStreak = fanfare;
      Lottery.GameFlag = flag;
      Lottery.StopOrder = 4;
      Mc.StreakPending = 0;
      Form2.LotteryReadout.Caption = "一発";
      McCountdownStep(1);
      ASSERT_EQ(Form2.LotteryReadout.Caption(), "");
      ASSERT_EQ(Mc.StreakPending == 1, Lottery.StopOrder == 1);
      won += Mc.StreakPending;
    }
    ExpectShare(won, 20000, chance, "a streak won at rank " + std::to_string(rank));
  }
  // Each game from 7 left down to 2 has the chance; the eighth and the ninth from the end do not.
  for (int left = 2; left <= 9; ++left) {
    Lottery.McGamesLeft = static_cast<std::int16_t>(left);
    Lottery.StreakRank = 1;
    Lottery.GameFlag = 3;
    Mc.FanfareStreak = Mc.StreakPending = 0;
    Form2.LotteryReadout.Caption = "一発";
    ClearQueuedUniforms();
    QueueUniforms({3.0 / 8});  // RandomInt(8) = 3
    McCountdownStep(1);
    EXPECT_EQ(Mc.StreakPending, left <= 7 ? 1 : 0) << left;
    EXPECT_EQ(Form2.LotteryReadout.Caption(), left <= 7 ? "" : "一発") << left;
  }
}

TEST_F(McGamesTest, TheLastGameTestsTheStreakThenTheStockAndTheJingleFollows) {
  // {rank, fanfare streak, chance of a continuation by the test}
  const std::tuple<std::int16_t, std::int16_t, double> cases[] = {
      {-30, 0, 0},  {1, 0, 0.65},  {2, 0, 0.65},  {3, 0, 0.65}, {4, 0, 0.75},
      {5, 0, 0.75}, {-5, 0, 0.45}, {-2, 0, 0.55}, {1, 1, 0.75}, {-30, 1, 0}};
  for (const auto& [rank, fanfare, chance] : cases) {
    int continued = 0;
    for (int i = 0; i < 12000; ++i) {
      Lottery.McGamesLeft = 1;
      Lottery.StreakRank = rank;
      Mc.FanfareStreak = fanfare;
      Mc.StreakPending = 0;
      Presentation.StreakMcCount = 4;
      Lottery.GamesSinceMc = 77;
      McCountdownStep(1);
      continued += Mc.StreakPending;
      // Ended for good: the streak count and the games since the MC start again.
      ASSERT_EQ(Presentation.StreakMcCount + Lottery.GamesSinceMc, Mc.StreakPending ? 81 : 0);
    }
    ExpectShare(continued, 12000, chance, "rank " + std::to_string(rank));
  }
  // Rank -30 continues by the stock only; a continuation already won stands without spending it.
  Lottery.StreakRank = -30;
  Mc.FanfareStreak = Mc.StreakPending = 0;
  Mc.StreakStock = 2;
  for (int i = 0; i < 2; ++i) {
    Lottery.McGamesLeft = 1;
    McCountdownStep(1);
    EXPECT_EQ(Mc.StreakPending * 10 + Mc.StreakStock, 11);
  }

  Mc.McDigits = 4;
  Form2.Picture29.Visible = true;
  Lottery.McGamesLeft = 1;
  sound->ClearEvents();
  McCountdownStep(1);
  EXPECT_EQ(sound->Count("CD7Sound.wav", SoundAction::Stop) + sound->Count("mc2.wav", SoundAction::Stop), 2);
  EXPECT_EQ(Lottery.McGamesLeft * 10 + Mc.McEnding, 1);
  EXPECT_EQ(Mc.McDigits * 10 + Lottery.StopOrder, 31);
  EXPECT_EQ(Form2.McCounter.Caption() + Form2.GamesSinceMc.Caption(), "0");
  EXPECT_FALSE(Form2.Picture29.Visible());
  Form2.McCounter.Caption = "x";
  sim->RunFor(0.29);
  EXPECT_EQ(Mc.McEnding * 10 + Mc.BonusPhase, 11);
  sim->RunFor(0.02);
  EXPECT_EQ(Mc.McEnding * 10 + Mc.BonusPhase, 20) << "the end jingle 300 ms after the last game";
  EXPECT_NEAR(FirstAt("bubuu.wav", SoundAction::Play) - FirstAt("CD7Sound.wav", SoundAction::Stop), 0.3, 0.002);
  EXPECT_EQ(Form2.McCounter.Caption(), "");
}
