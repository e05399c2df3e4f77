#include <unistd.h>

#include <QImage>
#include <filesystem>

#include "lottery/internal_lottery.h"
#include "lottery/lottery_tables.h"
#include "lottery_fixture.h"
#include "sound/sound_bank.h"

namespace {

class InternalLotteryTest : public LotteryTest {
 protected:
  void SetUp() override {
    LotteryTest::SetUp();
    Form2.Label28.Caption = "100";
    Record.SpectaclesItem = 10;  // no picture reloads in the long runs
  }

  // A running cycle of the mode, with `left` draws to go before this lottery.
  void RunningCycle(int mode, int length, int left) {
    Lottery.LotteryMode = static_cast<std::int16_t>(mode);
    Lottery.CycleLength = static_cast<std::int16_t>(length);
    Lottery.CycleLeft = static_cast<std::int16_t>(left);
  }

  // The next lottery is the cycle game of a mode-1 cycle.
  void CycleGameNext() { RunningCycle(1, 151, 1); }

  // A uniform number that makes RandomInt(n) give v.
  static double Gives(int v, int n) { return v == 0 ? 0.1 / n : (v - 0.1) / n; }
};

}  // namespace

TEST_F(InternalLotteryTest, OneShotClassificationAndTheGamesAfterIt) {
  struct Case {
    int m, y;
    const char* shown;
    int flag, group;
  };
  const Case cases[] = {
      {8, 1, "100", 1, 1},    // the one-shot MC
      {1, 30, "100", 2, 4},   // replay; the bottom line becomes the rising diagonal
      {10, 14, "100", 2, 3},  // m mod 9 = 1 wins over m mod 13 = 10
      {23, 30, "100", 3, 5},  // mame role keeps its line
      {3, 14, "100", 4, 1},   // digital-display game; the centre line becomes the top line
      {3, 14, "2", 2, 2},     // just after an MC: a replay on the falling diagonal
      {4, 1, "100", 0, 2},    // nothing: top and centre lines become the falling diagonal
      {4, 30, "100", 0, 4},
  };
  for (const Case& c : cases) {
    RunningCycle(1, 151, 100);
    Lottery.RevealCountdown = 0;
    Form2.Label28.Caption = c.shown;
    QueueUniforms({Gives(c.m, 800), Gives(c.y, 30)});
    InternalLottery();
    EXPECT_EQ(Lottery.GameFlag, c.flag) << "m=" << c.m;
    EXPECT_EQ(Lottery.StopGroup, c.group) << "m=" << c.m;
    EXPECT_EQ(Lottery.StopOrder, 1);
    if (c.flag == 0) {
      EXPECT_GE(Lottery.StopPattern, 2);
      EXPECT_EQ(Form2.Label45.Caption(), "一発:はずれ　　周期:99/150");
    } else {
      EXPECT_EQ(Lottery.StopPattern, 0);
    }
    if (c.flag == 1) {
      EXPECT_EQ(Form2.Label45.Caption(), "一発:当たり！　周期:99/150");
    }
    if (c.flag == 0 || c.flag == 2 || c.flag == 3) {
      EXPECT_EQ(Lottery.LeverSound, "soundMofuran\\LeverOn0.wav");
      for (const auto& s : Lottery.StopSounds) EXPECT_EQ(s, "soundMofuran\\StSound1.wav");
    }
    if (c.flag == 1) {
      EXPECT_GE(Lottery.RevealCountdown, 2);
      EXPECT_LE(Lottery.RevealCountdown, 7);
      EXPECT_EQ(Lottery.McGamesLeft, Lottery.McLength);
    }
  }
}

TEST_F(InternalLotteryTest, ModesAreDrawnWhenUnsetAndCyclesCountDown) {
  constexpr int kDraws = 40000;
  int modes[5] = {};
  for (int i = 0; i < kDraws; ++i) {
    Lottery.LotteryMode = 0;
    Lottery.CycleLength = 0;
    Lottery.RevealCountdown = 0;
    InternalLottery();
    ASSERT_GE(Lottery.LotteryMode, 1);
    ASSERT_LE(Lottery.LotteryMode, 4);
    ++modes[Lottery.LotteryMode];
  }
  ExpectShare(modes[1], kDraws, 55.0 / 492, "mode 1");
  ExpectShare(modes[2], kDraws, 1201.0 / 1968, "mode 2");
  ExpectShare(modes[3], kDraws, 125.0 / 492, "mode 3");
  ExpectShare(modes[4], kDraws, 47.0 / 1968, "mode 4");

  // A new mode-1 cycle counts down by one per lottery, and the readout follows it.
  Lottery.LotteryMode = 1;
  Lottery.CycleLength = 0;
  Lottery.RevealCountdown = 0;
  InternalLottery();
  const int length = Lottery.CycleLength;
  ASSERT_GE(length, 151);
  ASSERT_LE(length, 201);
  EXPECT_EQ(Lottery.CycleLeft, length - 1);
  for (int i = 1; i <= 3; ++i) {
    Lottery.RevealCountdown = 0;
    InternalLottery();
    EXPECT_EQ(Lottery.LotteryMode, 1);
    EXPECT_EQ(Lottery.CycleLength, length);
    EXPECT_EQ(Lottery.CycleLeft, length - 1 - i);
    EXPECT_NE(Form2.Label45.Caption().find("周期:" + std::to_string(length - 1 - i) + "/" +
                                            std::to_string(length - 1)),
              std::string::npos);
  }
}

TEST_F(InternalLotteryTest, ACycleOfLengthOneIsTheDrawingGameItself) {
  constexpr int kDraws = 22000;
  int ones = 0;
  for (int i = 0; i < kDraws; ++i) {
    Lottery.LotteryMode = 2;
    Lottery.CycleLength = 0;
    Lottery.RevealCountdown = 0;
    Lottery.CycleText = "前回";
    InternalLottery();
    if (Lottery.CycleLeft != 0) continue;
    ++ones;
    // The cycle game ran and the next lottery draws a new cycle.
    ASSERT_EQ(Lottery.CycleLength, 0);
    const std::string& text = Lottery.CycleText;
    ASSERT_TRUE(text == "Ｂ当選！" || text == "Ｃ当選！" || text == "はずれ！" ||
                (text == "前回" && Lottery.GameFlag == 1))
        << text;
    ASSERT_EQ(Form2.Label45.Caption().find("周期:0/0"), Form2.Label45.Caption().find("周期:"));
  }
  ExpectShare(ones, kDraws, 2.0 / 22, "cycles of length 1 in mode 2");
}

TEST_F(InternalLotteryTest, ThePullBackModeAlwaysWinsItsCycleGame) {
  Lottery.LotteryDisplayBought = 1;
  for (int i = 0; i < 50; ++i) {
    RunningCycle(3, 12, 1);
    Lottery.RevealCountdown = 0;
    Lottery.StreakRank = 99;
    InternalLottery();
    ASSERT_EQ(Lottery.GameFlag, 1);
    EXPECT_EQ(Lottery.CycleText, "引戻し当選");
    EXPECT_TRUE(Form2.Label45.Caption().ends_with("引戻し当選")) << Form2.Label45.Caption();
    EXPECT_EQ(Lottery.CycleLength, 0);
    EXPECT_NE(Lottery.StreakRank, 99) << "a cycle win draws the streak rank";
    EXPECT_EQ(Form2.Text1.Text(), std::to_string(Lottery.StreakRank) + " M3");
  }
  // A new pull-back cycle names its mode to a buyer of the readout.
  Form2.Label46.Caption = "";
  Lottery.CycleLength = 0;
  Lottery.RevealCountdown = 0;
  InternalLottery();
  EXPECT_EQ(Form2.Label46.Caption(), "引き戻しモード");
  // Other players do not see it, except two of the house's names.
  Lottery.LotteryDisplayBought = 0;
  Form2.Label46.Caption = "前の表示";
  Lottery.CycleLength = 0;
  Lottery.RevealCountdown = 0;
  InternalLottery();
  EXPECT_EQ(Form2.Label46.Caption(), "前の表示");
  PlayerName = "くもたこ";
  Lottery.CycleLength = 0;
  Lottery.RevealCountdown = 0;
  InternalLottery();
  EXPECT_EQ(Form2.Label46.Caption(), "引き戻しモード");
  // Any other mode clears the line.
  Lottery.LotteryMode = 1;
  Lottery.CycleLength = 0;
  Lottery.RevealCountdown = 0;
  InternalLottery();
  EXPECT_EQ(Form2.Label46.Caption(), "");
}

TEST_F(InternalLotteryTest, LateCDrawsImproveAfterLongDroughts) {
  struct Case {
    int sinceBefore;
    int oddsAfterMiss;
  };
  const Case cases[] = {{1022, 8}, {1023, 4}, {1278, 4}, {1279, 2}};
  for (const Case& c : cases) {
    constexpr int kGames = 8000;
    int b = 0, cWins = 0;
    for (int i = 0; i < kGames; ++i) {
      CycleGameNext();
      Lottery.RevealCountdown = 0;
      Lottery.CycleText = "前回";
      Lottery.GamesSinceMc = static_cast<std::int16_t>(c.sinceBefore);
      InternalLottery();
      if (Lottery.CycleText == "Ｂ当選！") {
        ++b;
        ASSERT_EQ(Lottery.CycleOdds, 8);
      } else {
        ASSERT_EQ(Lottery.CycleOdds, c.oddsAfterMiss) << c.sinceBefore;
        if (Lottery.CycleText == "Ｃ当選！") ++cWins;
      }
    }
    ExpectShare(b, kGames, 1.0 / 8, "B at setting 1");
    ExpectShare(cWins, kGames, 7.0 / 8 / c.oddsAfterMiss, "C after " + std::to_string(c.sinceBefore + 1) + " draws");
  }
}

TEST_F(InternalLotteryTest, TheCeilingSetsSettingSevenEvenFromEight) {
  Lottery.TodaySetting = 8;
  RunningCycle(1, 151, 100);
  Form2.Label28.Caption = "1279";
  InternalLottery();
  EXPECT_EQ(Lottery.TodaySetting, 8);
  EXPECT_EQ(Lottery.CycleOdds, 2);
  Lottery.RevealCountdown = 0;
  Form2.Label28.Caption = "1280";
  InternalLottery();
  EXPECT_EQ(Lottery.TodaySetting, 7);
  EXPECT_EQ(Lottery.CycleOdds, 3);
  Lottery.RevealCountdown = 0;
  Form2.Label28.Caption = "1281";
  InternalLottery();
  EXPECT_EQ(Lottery.TodaySetting, 7);
}

TEST_F(InternalLotteryTest, AWaitingMcFreezesTheReadoutAndTheFlag) {
  RunningCycle(1, 151, 100);
  Lottery.GameFlag = 1;
  Lottery.RevealCountdown = 4;
  Lottery.StopPattern = 3;
  Form2.Label45.Caption = "一発:当たり！　周期:100/150";
  Lottery.CycleText = "はずれ！";
  for (int i = 1; i <= 100; ++i) {
    InternalLottery();
    ASSERT_EQ(Lottery.GameFlag, 1);
    ASSERT_EQ(Form2.Label45.Caption(), "一発:当たり！　周期:100/150");
    ASSERT_EQ(Lottery.StopPattern, 3);
    ASSERT_EQ(Lottery.GamesSinceMc, i);
    ASSERT_EQ(Lottery.CycleLeft, 100 - i) << "the cycle counts on while the MC waits";
    ASSERT_GE(Lottery.StopGroup, 1);
    ASSERT_LE(Lottery.StopGroup, 5);
  }
  // Its cycle game passed without a cycle draw.
  EXPECT_EQ(Lottery.CycleText, "はずれ！");
  EXPECT_EQ(Lottery.CycleLength, 151);
}

TEST_F(InternalLotteryTest, AOneShotWinKeepsThePreviousCycleTextWhenItsCycleGameDrawsNothing) {
  CycleGameNext();
  Lottery.CycleText = "Ｂ当選！";
  QueueUniforms({Gives(8, 800), Gives(16, 30), Gives(0, 8), Gives(0, 8)});
  InternalLottery();
  EXPECT_EQ(Lottery.GameFlag, 1);
  EXPECT_EQ(Lottery.CycleText, "Ｂ当選！");
  EXPECT_EQ(Form2.Label45.Caption(), "一発:当たり！　周期:0/150Ｂ当選！");

  CycleGameNext();
  Lottery.RevealCountdown = 0;
  QueueUniforms({Gives(4, 800), Gives(16, 30), Gives(0, 8), Gives(0, 8)});
  InternalLottery();
  EXPECT_EQ(Lottery.GameFlag, 4) << "a cycle game without a win is a digital-display game";
  EXPECT_EQ(Form2.Label45.Caption(), "一発:はずれ　　周期:0/150はずれ！");
}

TEST_F(InternalLotteryTest, DigitalGamesHintTheirOutcomeByTheirStopSounds) {
  constexpr int kGames = 20000;
  int rising = 0, plain = 0, heavy = 0, strongRising = 0, weakPlain = 0;
  for (int i = 0; i < kGames; ++i) {
    RunningCycle(1, 151, 100);
    QueueUniforms({Gives(3, 800)});
    InternalLottery();
    ASSERT_EQ(Lottery.GameFlag, 4);
    ASSERT_EQ(Lottery.LeverSound, "soundMofuran\\LeverOn0.wav");
    const std::string set = Lottery.StopSounds[0] + Lottery.StopSounds[1] + Lottery.StopSounds[2];
    const int outcome = Presentation.DigitalOutcome;
    if (set == "soundMofuran\\StSound2.wavsoundMofuran\\StSound3.wavsoundMofuran\\StSound2.wav") {
      ++rising;
      strongRising += outcome == 1;
      ASSERT_TRUE(outcome == 1 || outcome == 2);
    } else if (set == "soundMofuran\\StSound1.wavsoundMofuran\\StSound1.wavsoundMofuran\\StSound1.wav") {
      ++plain;
      weakPlain += outcome == 2;
      ASSERT_TRUE(outcome == 2 || outcome == 3);
    } else {
      ASSERT_EQ(set, "soundMofuran\\StSound2.wavsoundMofuran\\StSound2.wavsoundMofuran\\StSound2.wav");
      ASSERT_EQ(outcome, 2);
      ++heavy;
    }
  }
  ExpectShare(rising, kGames, 0.2, "rising stop sounds");
  ExpectShare(plain, kGames, 0.6, "plain stop sounds");
  ExpectShare(heavy, kGames, 0.2, "heavy stop sounds");
  ExpectShare(strongRising, rising, 1.0 / 20, "strong reach after rising sounds");
  ExpectShare(weakPlain, plain, 0.2, "weak reach after plain sounds");

  // The game before the cycle game always rises too.
  for (int i = 0; i < 500; ++i) {
    RunningCycle(1, 151, 2);
    QueueUniforms({Gives(3, 800)});
    InternalLottery();
    ASSERT_EQ(Lottery.CycleLeft, 1);
    ASSERT_EQ(Lottery.StopSounds[1], "soundMofuran\\StSound3.wav");
  }

  // At the cycle game the sounds always rise, and the reach is weak with 0.315.
  int weak = 0;
  constexpr int kCycleGames = 6000;
  for (int i = 0; i < kCycleGames; ++i) {
    CycleGameNext();
    QueueUniforms({Gives(3, 800), Gives(16, 30), Gives(0, 8), Gives(0, 8)});
    InternalLottery();
    ASSERT_EQ(Lottery.GameFlag, 4);
    ASSERT_EQ(Lottery.StopSounds[1], "soundMofuran\\StSound3.wav");
    weak += Presentation.DigitalOutcome == 2;
  }
  ExpectShare(weak, kCycleGames, 0.315, "weak reach at the cycle game");
}

TEST_F(InternalLotteryTest, StreakGamesAndFanfareStreakEnd) {
  // A streak game draws its length from table A and stays the forced MC.
  Mc.StreakPending = 1;
  Lottery.GameFlag = 1;
  Lottery.RevealCountdown = 2;
  Form2.Label28.Caption = "1";
  InternalLottery();
  EXPECT_EQ(Lottery.GameFlag, 1);
  EXPECT_GT(Lottery.McLength, 0);
  EXPECT_EQ(Lottery.McGamesLeft, Lottery.McLength);

  Mc.StreakPending = 0;
  Mc.FanfareStreak = 1;
  Form2.Label28.Caption = "49";
  InternalLottery();
  EXPECT_EQ(Mc.FanfareStreak, 1);
  Form2.Label28.Caption = "50";
  InternalLottery();
  EXPECT_EQ(Mc.FanfareStreak, 0);
}

TEST_F(InternalLotteryTest, StreakRankDrawShowsTheRankAndSwapsTheSevenPicture) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("mofuran_lottery_" + std::to_string(::getpid()));
  fs::create_directories(folder / "sozaiMofuran");
  QImage seven(110, 55, QImage::Format_RGB32);
  seven.fill(0x00ff00);
  ASSERT_TRUE(seven.save(QString::fromStdString((folder / "sozaiMofuran" / "nana-5.bmp").string()), "BMP"));
  AppFolder = folder.string() + "/";

  Lottery.LotteryMode = 2;
  Record.SpectaclesItem = 10;
  Form2.Picture21.Image = QImage();
  StreakRankDraw();
  EXPECT_TRUE(Form2.Picture21.Image.isNull()) << "the spectacles keep the seven as it is";
  EXPECT_EQ(Form2.Text1.Text(), std::to_string(Lottery.StreakRank) + " M2");

  Record.SpectaclesItem = 11;
  StreakRankDraw();
  ASSERT_FALSE(Form2.Picture21.Image.isNull());
  EXPECT_EQ(Form2.Picture21.Image.pixel(5, 5) & 0xffffff, 0x00ff00u);
  fs::remove_all(folder);
  AppFolder.clear();
  Record.SpectaclesItem = 10;

  // Setting 1 never gives rank 2 or 5; setting 6 gives every rank.
  constexpr int kDraws = 60000;
  int ranks1[40] = {}, ranks6[40] = {};
  for (int i = 0; i < kDraws; ++i) {
    Lottery.TodaySetting = 1;
    StreakRankDraw();
    ++ranks1[Lottery.StreakRank + 30];
    Lottery.TodaySetting = 6;
    StreakRankDraw();
    ++ranks6[Lottery.StreakRank + 30];
  }
  EXPECT_EQ(ranks1[2 + 30] + ranks1[5 + 30], 0);
  ExpectShare(ranks1[-30 + 30], kDraws, 5.0 / 16, "rank -30 at setting 1");
  ExpectShare(ranks1[1 + 30], kDraws, 11.0 / 32, "rank 1 at setting 1");
  ExpectShare(ranks6[2 + 30], kDraws, 1.0 / 42, "rank 2 at setting 6");
  ExpectShare(ranks6[5 + 30], kDraws, 3.0 / 21, "rank 5 at setting 6");
}

TEST_F(InternalLotteryTest, ModesCarryOverAtTheEndOfAnMc) {
  struct Case {
    int mode, setting;
    double toFour;
  };
  const Case cases[] = {{1, 4, 1.0}, {1, 5, 0.801}, {1, 8, 0.500625}, {4, 1, 0.95}, {2, 6, 0.0}, {3, 1, 0.0}};
  for (const Case& c : cases) {
    constexpr int kEnds = 20000;
    int four = 0;
    for (int i = 0; i < kEnds; ++i) {
      Lottery.LotteryMode = static_cast<std::int16_t>(c.mode);
      Lottery.TodaySetting = static_cast<std::int16_t>(c.setting);
      Lottery.GamesSinceMc = 321;
      Lottery.CycleLength = 41;
      ResetLotteryAfterMc();
      ASSERT_EQ(Lottery.GamesSinceMc, 0);
      ASSERT_EQ(Lottery.CycleLength, 0);
      ASSERT_TRUE(Lottery.LotteryMode == 4 || Lottery.LotteryMode == 0);
      four += Lottery.LotteryMode == 4;
    }
    ExpectShare(four, kEnds, c.toFour, "mode " + std::to_string(c.mode) + " at setting " + std::to_string(c.setting));
  }
}
