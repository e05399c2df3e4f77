#include <QImage>
#include <array>
#include <tuple>

#include "harness/harness.h"
#include "lottery/internal_lottery.h"

namespace {

const std::string St1 = "soundMofuran\\StSound1.wav", St2 = "soundMofuran\\StSound2.wav",
                  St3 = "soundMofuran\\StSound3.wav";

class InternalLotteryTest : public LotteryTest {
 protected:
  void SetUp() override {
    LotteryTest::SetUp();
    Form2.GamesSinceMc.Caption = "100";
    Record.SpectaclesItem = 10;  // no picture reloads in the long runs
  }
  // The next lottery runs in this mode and cycle, with `left` draws to go before it and no MC waiting.
  void Cycle(int mode, int length, int left) {
    Lottery.LotteryMode = static_cast<std::int16_t>(mode);
    Lottery.CycleLength = static_cast<std::int16_t>(length);
    Lottery.CycleLeft = static_cast<std::int16_t>(left);
    Lottery.RevealCountdown = 0;
  }
};

}  // namespace

TEST_F(InternalLotteryTest, OneShotClassification) {
  // {m, y, games since MC, flag, stop group}
  const std::tuple<int, int, const char*, int, int> cases[] = {
      {8, 1, "100", 1, 1}, {1, 30, "100", 2, 4}, {10, 14, "100", 2, 3}, {23, 30, "100", 3, 5}, {3, 14, "100", 4, 1},
      {3, 14, "2", 2, 2},  {4, 1, "100", 0, 2},  {4, 30, "100", 0, 4}};
  for (const auto& [m, y, since, flag, group] : cases) {
    Cycle(1, 151, 100);
    Form2.GamesSinceMc.Caption = since;
    // Sounds left over from another game, which every result must replace with its own.
    for (auto& s : Lottery.StopSounds) s = "soundMofuran\\StSound4.wav";
    Lottery.LeverSound = "soundMofuran\\LeverOn3.wav";
    QueueUniforms({Gives(m, 800), Gives(y, 30)});
    InternalLottery();
    EXPECT_EQ(Lottery.GameFlag * 10 + Lottery.StopGroup, flag * 10 + group) << "m=" << m << " y=" << y;
    EXPECT_EQ(Lottery.StopOrder, 1);
    EXPECT_EQ(Form2.LotteryReadout.Caption(), flag == 1 ? "一発:当たり！　周期:99/150" : "一発:はずれ　　周期:99/150");
    if (flag == 0) {
      EXPECT_TRUE(Lottery.StopPattern >= 2 && Lottery.StopPattern <= 4);
    } else if (flag != 1) {
      EXPECT_EQ(Lottery.StopPattern, 0);
    }
    if (flag == 1) {
      EXPECT_TRUE(Lottery.RevealCountdown >= 2 && Lottery.RevealCountdown <= 7);
      EXPECT_EQ(Lottery.McGamesLeft, Lottery.McLength);
    } else if (flag != 4) {
      EXPECT_EQ(Lottery.LeverSound, "soundMofuran\\LeverOn0.wav");
      EXPECT_EQ(Lottery.StopSounds[0] + Lottery.StopSounds[1] + Lottery.StopSounds[2], St1 + St1 + St1);
    }
  }
}

TEST_F(InternalLotteryTest, ModesAndCycles) {
  constexpr int kDraws = 40000;
  std::array<int, 5> modes{};
  int lengthOne = 0;
  for (int i = 0; i < kDraws; ++i) {
    Cycle(0, 0, 0);
    InternalLottery();
    ++modes.at(Lottery.LotteryMode);
    // Mode 2 draws cycles of length 1 with 2/22: the drawing lottery is the cycle game, the next draws anew.
    if (Lottery.LotteryMode == 2 && Lottery.CycleLeft == 0) {
      ++lengthOne;
      ASSERT_EQ(Lottery.CycleLength, 0);
      ASSERT_EQ(Form2.LotteryReadout.Caption().find("周期:0/0"), Form2.LotteryReadout.Caption().find("周期:"));
      ASSERT_TRUE(!Lottery.CycleText.empty() || Lottery.GameFlag == 1);
    }
  }
  const double shares[] = {0, 55.0 / 492, 1201.0 / 1968, 125.0 / 492, 47.0 / 1968};
  for (int mode = 0; mode <= 4; ++mode) ExpectShare(modes[mode], kDraws, shares[mode], "mode");
  ExpectShare(lengthOne, modes[2], 2.0 / 22, "cycles of length 1 in mode 2");
}

TEST_F(InternalLotteryTest, ThePullBackModeAlwaysWinsItsCycleGame) {
  for (int i = 0; i < 50; ++i) {
    Cycle(3, 12, 1);
    Lottery.StreakRank = 99;
    InternalLottery();
    ASSERT_EQ(Lottery.GameFlag, 1);
    EXPECT_TRUE(Form2.LotteryReadout.Caption().ends_with("引戻し当選")) << Form2.LotteryReadout.Caption();
    EXPECT_EQ(Lottery.CycleLength, 0);
    EXPECT_EQ(Form2.Text1.Text(), std::to_string(Lottery.StreakRank) + " M3") << "a cycle win draws the rank";
  }
  // A new pull-back cycle names itself to a buyer of the readout and to two of the house's names only.
  auto newCycleShows = [&](int mode, std::int16_t bought, const char* name) {
    Form2.ModeReadout.Caption = "前";
    Lottery.LotteryDisplayBought = bought;
    PlayerName = name;
    Cycle(mode, 0, 0);
    InternalLottery();
    return Form2.ModeReadout.Caption();
  };
  EXPECT_EQ(newCycleShows(3, 1, ""), "引き戻しモード");
  EXPECT_EQ(newCycleShows(3, 0, "もこ"), "前");
  EXPECT_EQ(newCycleShows(3, 0, "くもたこ"), "引き戻しモード");
  EXPECT_EQ(newCycleShows(1, 1, ""), "");
}

TEST_F(InternalLotteryTest, LateCDrawsAndTheCeiling) {
  // {GamesSinceMc before the lottery, C odds after a missed B draw}
  for (auto [since, odds] : {std::pair{1022, 8}, {1023, 4}, {1278, 4}, {1279, 2}}) {
    constexpr int kGames = 8000;
    int b = 0, c = 0;
    for (int i = 0; i < kGames; ++i) {
      Cycle(1, 151, 1);
      Lottery.CycleText = "前回";
      Lottery.GamesSinceMc = static_cast<std::int16_t>(since);
      InternalLottery();
      const bool bWin = Lottery.CycleText == "Ｂ当選！";
      b += bWin;
      c += Lottery.CycleText == "Ｃ当選！";
      ASSERT_EQ(Lottery.CycleOdds, bWin ? 8 : odds) << since;
    }
    ExpectShare(b, kGames, 1.0 / 8, "B at setting 1");
    ExpectShare(c, kGames, 7.0 / 8 / odds, "C after " + std::to_string(since + 1) + " draws");
  }
  // Games since MC at 1280 make the day's setting 7, also from 8.
  Lottery.TodaySetting = 8;
  for (auto [since, setting] : {std::pair{"1279", 8}, {"1280", 7}, {"1281", 7}}) {
    Cycle(1, 151, 100);
    Form2.GamesSinceMc.Caption = since;
    InternalLottery();
    EXPECT_EQ(Lottery.TodaySetting, setting) << since;
    EXPECT_EQ(Lottery.CycleOdds, setting == 8 ? 2 : 3);
  }
}

TEST_F(InternalLotteryTest, AWaitingMcFreezesTheGameAndAOneShotWinKeepsTheCycleText) {
  Cycle(1, 151, 100);
  Lottery.GameFlag = 1;
  Lottery.RevealCountdown = 4;
  Lottery.StopPattern = 3;
  Lottery.CycleText = "はずれ！";
  Form2.LotteryReadout.Caption = "一発:当たり！　周期:100/150";
  for (int i = 1; i <= 100; ++i) {  // up to and through the cycle game
    Lottery.RevealCountdown = 4;      // early premonitions only: the MC stays unrevealed
    InternalLottery();
    ASSERT_EQ(Lottery.GameFlag, 1);
    ASSERT_EQ(Form2.LotteryReadout.Caption(), "一発:当たり！　周期:100/150");
    ASSERT_TRUE(Lottery.StopPattern >= 2 && Lottery.StopPattern <= 4) << "the premonition's pattern";
    ASSERT_EQ(Lottery.GamesSinceMc, i);
    ASSERT_EQ(Lottery.CycleLeft, 100 - i) << "the cycle counts on while the MC waits";
  }
  EXPECT_EQ(Lottery.CycleText, "はずれ！");

  // m = 8 at the cycle game, B and C missed: the text of the previous cycle game stays.
  Cycle(1, 151, 1);
  Lottery.CycleText = "Ｂ当選！";
  QueueUniforms({Gives(8, 800), Gives(16, 30), Gives(0, 8), Gives(0, 8)});
  InternalLottery();
  EXPECT_EQ(Form2.LotteryReadout.Caption(), "一発:当たり！　周期:0/150Ｂ当選！");
  Cycle(1, 151, 1);
  QueueUniforms({Gives(4, 800), Gives(16, 30), Gives(0, 8), Gives(0, 8)});
  InternalLottery();
  EXPECT_EQ(Lottery.GameFlag, 4) << "a cycle game without a win is a digital-display game";
  EXPECT_EQ(Form2.LotteryReadout.Caption(), "一発:はずれ　　周期:0/150はずれ！");
}

TEST_F(InternalLotteryTest, DigitalGamesHintTheirOutcomeByTheirStopSounds) {
  // A digital game at cycle position `left`; returns its stop sounds and outcome.
  auto digitalGame = [&](int left, bool cycleGame) {
    Cycle(1, 151, left + 1);
    QueueUniforms({Gives(3, 800)});
    if (cycleGame) QueueUniforms({Gives(16, 30), Gives(0, 8), Gives(0, 8)});
    InternalLottery();
    EXPECT_EQ(Lottery.GameFlag, 4);
    EXPECT_EQ(Lottery.LeverSound, "soundMofuran\\LeverOn0.wav");
    return std::pair{Lottery.StopSounds[0] + Lottery.StopSounds[1] + Lottery.StopSounds[2],
                     static_cast<int>(Presentation.DigitalOutcome)};
  };
  constexpr int kGames = 20000;
  int rising = 0, plain = 0, heavy = 0, strong = 0, weak = 0;
  for (int i = 0; i < kGames; ++i) {
    const auto [sounds, outcome] = digitalGame(99, false);
    if (sounds == St2 + St3 + St2) {
      ++rising;
      strong += outcome == 1;
      ASSERT_TRUE(outcome == 1 || outcome == 2);
    } else if (sounds == St1 + St1 + St1) {
      ++plain;
      weak += outcome == 2;
      ASSERT_TRUE(outcome == 2 || outcome == 3);
    } else {
      ASSERT_EQ(sounds, St2 + St2 + St2);
      ASSERT_EQ(outcome, 2);
      ++heavy;
    }
  }
  ExpectShare(rising, kGames, 0.2, "rising stop sounds");
  ExpectShare(plain, kGames, 0.6, "plain stop sounds");
  ExpectShare(heavy, kGames, 0.2, "heavy stop sounds");
  ExpectShare(strong, rising, 1.0 / 20, "strong reach after rising sounds");
  ExpectShare(weak, plain, 0.2, "weak reach after plain sounds");
  // On its edge: plain stop sounds and a draw of exactly 0.8 (one the generator can give) stay without the reach.
  Cycle(1, 151, 100);
  QueueUniforms({Gives(3, 800), Gives(14, 30), Gives(5, 10), 0.8});
  InternalLottery();
  EXPECT_EQ(Presentation.DigitalOutcome, 3);
  // The game before the cycle game and the cycle game itself always rise; at the cycle game the reach is weak
  // with 0.315.
  for (int i = 0; i < 300; ++i) ASSERT_EQ(digitalGame(1, false).first, St2 + St3 + St2);
  weak = 0;
  for (int i = 0; i < 6000; ++i) {
    const auto [sounds, outcome] = digitalGame(0, true);
    ASSERT_EQ(sounds, St2 + St3 + St2);
    weak += outcome == 2;
  }
  ExpectShare(weak, 6000, 0.315, "weak reach at the cycle game");
}

TEST_F(InternalLotteryTest, StreakGamesRanksAndTheCarryOverAfterAnMc) {
  // A streak game draws its length from table A and stays the forced MC; a fanfare streak ends at 50 games.
  Mc.StreakPending = Mc.FanfareStreak = Lottery.GameFlag = 1;
  Lottery.RevealCountdown = 2;
  Form2.GamesSinceMc.Caption = "49";
  InternalLottery();
  EXPECT_EQ(Lottery.GameFlag, 1);
  EXPECT_GT(Lottery.McLength, 0);
  EXPECT_EQ(Lottery.McGamesLeft, Lottery.McLength);
  EXPECT_EQ(Mc.FanfareStreak, 1);
  Form2.GamesSinceMc.Caption = "50";
  InternalLottery();
  EXPECT_EQ(Mc.FanfareStreak, 0);

  // The rank shows in Text1 and the seven's picture is reloaded unless the spectacles are on.
  const ScratchFolder pictures;
  std::filesystem::create_directory("sozaiMofuran");
  QImage seven(110, 55, QImage::Format_RGB32);
  seven.fill(0x00ff00);
  ASSERT_TRUE(seven.save("sozaiMofuran/nana-5.bmp", "BMP"));
  AppFolder = pictures.Path() + "/";
  Lottery.LotteryMode = 2;
  Form2.Picture21.Image = QImage();
  StreakRankDraw();
  EXPECT_TRUE(Form2.Picture21.Image.isNull());
  EXPECT_EQ(Form2.Text1.Text(), std::to_string(Lottery.StreakRank) + " M2");
  Record.SpectaclesItem = 11;
  StreakRankDraw();
  ASSERT_FALSE(Form2.Picture21.Image.isNull());
  EXPECT_EQ(Form2.Picture21.Image.pixel(5, 5) & 0xffffff, 0x00ff00u);
  AppFolder.clear();
  Record.SpectaclesItem = 10;

  // {mode, setting, share that becomes mode 4 (else 0)} when an MC ends for good.
  const std::tuple<int, int, double> ends[] = {{1, 4, 1.0},  {1, 5, 0.801}, {1, 8, 0.500625},
                                               {4, 1, 0.95}, {2, 6, 0.0},   {3, 1, 0.0}};
  for (const auto& [mode, setting, toFour] : ends) {
    int four = 0;
    for (int i = 0; i < 20000; ++i) {
      Cycle(mode, 41, 7);
      Lottery.TodaySetting = static_cast<std::int16_t>(setting);
      Lottery.GamesSinceMc = 321;
      ResetLotteryAfterMc();
      ASSERT_EQ(Lottery.GamesSinceMc + Lottery.CycleLength, 0);
      ASSERT_TRUE(Lottery.LotteryMode == 4 || Lottery.LotteryMode == 0);
      four += Lottery.LotteryMode == 4;
    }
    ExpectShare(four, 20000, toFour, "mode " + std::to_string(mode) + " to 4");
  }
}
