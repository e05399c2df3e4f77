#include "lottery/length_tables.h"
#include "lottery/mc_sequence.h"
#include "lottery_fixture.h"

namespace {

class McStartTest : public LotteryTest {
 protected:
  // A revealed MC of this length whose sevens have just lined up: the flashing starts Timer4 at 5.8 s.
  void SevensLinedUp(std::int32_t length) {
    Lottery.McLength = length;
    Lottery.McGamesLeft = static_cast<std::int16_t>(length);
    Lottery.McSteps = McStepsOf(length);
    Lottery.GameFlag = 1;
    Lottery.StopPattern = 1;
    Play.PlayAccepted = 0;
    Play.ReadyForNextGame = 0;
    Form2.Picture5.Visible = false;
    start = sim->Elapsed();
    Form2.Timer4.Interval = 5800;
  }
  double Since() const { return sim->Elapsed() - start; }
  void RunTo(double t) { sim->RunFor(start + t - sim->Elapsed()); }

  double start = 0;
};

}  // namespace

TEST_F(McStartTest, APlainMcRollsToThirtyThreeCountsUpAndStartsItsMusic) {
  SevensLinedUp(33);
  RunTo(5.79);
  EXPECT_EQ(Mc.McStep, 0);
  EXPECT_FALSE(Form2.Picture29.Visible());
  RunTo(5.81);
  EXPECT_EQ(Mc.McStep, 1);
  EXPECT_TRUE(Form2.Picture29.Visible());
  EXPECT_EQ(Form2.Timer6.Interval(), 60);
  EXPECT_EQ(Mc.McRollExtra, 0);
  EXPECT_EQ(Form2.Timer7.Interval(), 0) << "a plain MC never teases";

  // 33 roll steps of 60 ms.
  RunTo(5.8 + 1.95);
  EXPECT_EQ(Form2.Label14.Caption(), "32");
  RunTo(5.8 + 2.0);
  EXPECT_EQ(Form2.Label14.Caption(), "33");
  EXPECT_EQ(Form2.Timer6.Interval(), 0);

  RunTo(11.59);
  EXPECT_EQ(Mc.BonusPhase, 0);
  EXPECT_EQ(Play.PlayAccepted, 0);
  RunTo(11.61);
  EXPECT_EQ(Mc.BonusPhase, 1);
  EXPECT_EQ(Form2.Label14.Caption(), "33");
  EXPECT_EQ(Form2.Label14.ForeColor(), 0xFF0000u);
  EXPECT_TRUE(Form2.Picture5.Visible());
  EXPECT_EQ(Play.PlayAccepted, 1);
  EXPECT_EQ(Play.ReadyForNextGame, 1);
  EXPECT_EQ(Form2.Label26.Caption(), "1");
  EXPECT_EQ(Form2.Label25.Caption(), "0");
  EXPECT_EQ(Form2.Label19.Caption(), "33 回");
  EXPECT_EQ(Form2.Label31.Caption(), " /33");
  EXPECT_EQ(Mc.BestMcLength, 33);

  RunTo(11.6 + 7.49);
  EXPECT_EQ(Lottery.GameFlag, 1);
  RunTo(11.6 + 7.51);
  EXPECT_EQ(Lottery.GameFlag, 0);
  EXPECT_EQ(Mc.McStep, 0);
  EXPECT_EQ(Form2.Timer4.Interval(), 0);
  EXPECT_STREQ(McMusicFile(), "mc1.wav");

  // A second plain MC counts the day's MCs on and leaves the best length alone.
  Mc.BestMcLength = 555;
  Form2.Label31.Caption = " /555";
  SevensLinedUp(33);
  RunTo(11.61);
  EXPECT_EQ(Form2.Label26.Caption(), "2");
  EXPECT_EQ(Form2.Label31.Caption(), " /555");
}

TEST_F(McStartTest, PmcStepsLandOnTheLengthAndWaitByTheirCount) {
  struct Case {
    std::int32_t length;
    double finalCount;  // seconds after the alignment
    const char* rolledTo;
  };
  const Case cases[] = {
      {111, 5.8 + 5.8 + 11, "111"},
      {999, 5.8 + 5.8 + 8 * 11 + 7.2, "999"},
      {1111, 5.8 + 5.8 + 9 * 11 + 11, "111"},
      {1222, 5.8 + 5.8 + 10 * 11 + 7.2, "222"},
      {2111, 5.8 + 5.8 + 18 * 11 + 7.2, "111"},
      {3999, 5.8 + 5.8 + 35 * 11 + 7.2, "999"},
  };
  for (const Case& c : cases) {
    Mc = McState{};
    Form2.Label25.Caption = "0";
    SevensLinedUp(c.length);
    ASSERT_TRUE(sim->RunUntil([&] { return Mc.McCountStep == Lottery.McSteps; }, 600)) << c.length;
    // The last step's roll ends on the length itself: the teases never touch the last step.
    sim->RunFor(c.finalCount - Since() - 0.01);
    EXPECT_EQ(Form2.Label14.Caption(), c.rolledTo) << c.length;
    EXPECT_EQ(Mc.McRollCount % 111, 0) << c.length;
    EXPECT_EQ(Mc.BonusPhase, 0) << c.length;
    sim->RunFor(0.02);
    EXPECT_EQ(Mc.BonusPhase, 1) << c.length;
    EXPECT_EQ(Mc.McCountStep, 0);
    EXPECT_EQ(Mc.McRollOffset, 0);
    EXPECT_EQ(Form2.Label25.Caption(), "1");
    EXPECT_EQ(Form2.Label19.Caption(), std::to_string(c.length) + " 回");
    EXPECT_EQ(Play.PlayAccepted, 1);
    // The music follows 4 s after the final count.
    sim->RunFor(3.98);
    EXPECT_EQ(Lottery.GameFlag, 1) << c.length;
    sim->RunFor(0.03);
    EXPECT_EQ(Lottery.GameFlag, 0) << c.length;
    EXPECT_EQ(Form2.Timer4.Interval(), 0);
    EXPECT_STREQ(McMusicFile(), "pmc1.wav");
  }
}

TEST_F(McStartTest, TeasesComeAtTheirFrequencies) {
  constexpr int kIntros = 24000;
  int extra = 0, delayed = 0;
  Lottery.McLength = 555;
  for (int i = 0; i < kIntros; ++i) {
    Form2.Timer7.Interval = 0;
    McIntro();
    extra += Mc.McRollExtra == 1;
    delayed += Form2.Timer7.Interval() == 2800;
  }
  ExpectShare(extra, kIntros, 1.0 / 4, "immediate tease of a PMC intro");
  ExpectShare(delayed, kIntros, 1.0 / 12, "delayed tease of a PMC intro");

  struct Case {
    int countStep;
    double extra, timer;
    int interval;
  };
  const Case cases[] = {{0, 1.0 / 12, 1.0 / 6, 5400}, {2, 1.0 / 16, 3.0 / 16, 6900}, {4, 0, 0, 6900}};
  Lottery.McGamesLeft = 555;
  Lottery.McSteps = 5;
  for (const Case& c : cases) {
    int e = 0, t = 0;
    for (int i = 0; i < kIntros; ++i) {
      Mc.McCountStep = static_cast<std::int16_t>(c.countStep);
      Mc.McStep = 2;
      Mc.McRollExtra = 0;
      Form2.Timer7.Interval = 0;
      McCountUp();
      ASSERT_EQ(Mc.McStep, 1);
      ASSERT_EQ(Mc.McCountStep, c.countStep + 1);
      e += Mc.McRollExtra == 1;
      t += Form2.Timer7.Interval() == c.interval;
      ASSERT_TRUE(Form2.Timer7.Interval() == 0 || Form2.Timer7.Interval() == c.interval);
    }
    ExpectShare(e, kIntros, c.extra, "extra after step " + std::to_string(c.countStep));
    ExpectShare(t, kIntros, c.timer, "timer tease after step " + std::to_string(c.countStep));
  }
  EXPECT_EQ(Form2.Timer6.Interval(), 46) << "the count-up rolls at the title screen's tempo";

  // The delayed tease bumps the counter by one.
  Form2.Timer4.Interval = 0;
  Form2.Timer6.Interval = 0;
  Form2.Label14.Caption = "222";
  Form2.Timer7.Interval = 6900;
  sim->RunFor(6.91);
  EXPECT_EQ(Form2.Label14.Caption(), "223");
  EXPECT_EQ(Form2.Timer7.Interval(), 0);

  // A plain MC never teases.
  Lottery.McLength = 33;
  for (int i = 0; i < 2000; ++i) {
    Form2.Timer7.Interval = 0;
    McIntro();
    ASSERT_EQ(Mc.McRollExtra, 0);
    ASSERT_EQ(Form2.Timer7.Interval(), 0);
  }
}

TEST_F(McStartTest, MusicByLengthAndFanfareStreak) {
  const struct {
    std::int32_t length;
    std::int16_t fanfare;
    const char* music;
  } cases[] = {{33, 0, "mc1.wav"}, {33, 1, "mc2.wav"}, {111, 0, "pmc1.wav"}, {2999, 1, "pmc2.wav"}};
  for (const auto& c : cases) {
    Lottery.McLength = c.length;
    Mc.FanfareStreak = c.fanfare;
    EXPECT_STREQ(McMusicFile(), c.music);
  }
}
