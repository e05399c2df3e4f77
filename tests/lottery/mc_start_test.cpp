#include <tuple>

#include "harness/harness.h"
#include "lottery/length_tables.h"
#include "lottery/mc_sequence.h"

namespace {

class McStartTest : public LotteryTest {
 protected:
  // The sevens of a revealed MC of this length have just lined up: the flashing starts Timer4 at 5.8 s.
  void SevensLinedUp(std::int32_t length) {
    Lottery.McLength = length;
    Lottery.McGamesLeft = static_cast<std::int16_t>(length);
    Lottery.McSteps = McStepsOf(length);
    Lottery.GameFlag = Lottery.StopPattern = 1;
    Play.PlayAccepted = Play.ReadyForNextGame = 0;
    Form2.Picture5.Visible = false;
    start = sim->Elapsed();
    Form2.Timer4.Interval = 5800;
  }
  // Runs until this many seconds after the alignment.
  void RunTo(double t) { sim->RunFor(start + t - sim->Elapsed()); }
  double start = 0;
};

}  // namespace

TEST_F(McStartTest, APlainMcRollsToThirtyThreeCountsUpAndStartsItsMusic) {
  SevensLinedUp(33);
  RunTo(5.79);
  EXPECT_FALSE(Form2.Picture29.Visible());
  RunTo(5.81);
  EXPECT_TRUE(Form2.Picture29.Visible());
  EXPECT_EQ(Form2.Timer6.Interval() * 10 + Mc.McRollExtra, 600);
  RunTo(5.8 + 1.95);  // 33 roll steps of 60 ms
  EXPECT_EQ(Form2.McCounter.Caption(), "32");
  RunTo(5.8 + 2.0);
  EXPECT_EQ(Form2.McCounter.Caption(), "33");
  EXPECT_EQ(Form2.Timer6.Interval() + Form2.Timer7.Interval(), 0) << "the roll stops and a plain MC never teases";
  RunTo(11.59);
  EXPECT_EQ(Mc.BonusPhase + Play.PlayAccepted, 0);
  RunTo(11.61);
  EXPECT_EQ(Mc.BonusPhase + Play.PlayAccepted + Play.ReadyForNextGame, 3);
  EXPECT_EQ(Form2.McCounter.ForeColor(), 0xFF0000u);
  EXPECT_TRUE(Form2.Picture5.Visible());
  EXPECT_EQ(Form2.McCounter.Caption() + Form2.McCount.Caption() + Form2.PmcCount.Caption(), "3310");
  EXPECT_EQ(Form2.McLengthNow.Caption() + Form2.McLengthBest.Caption(), "33 回 /33");
  RunTo(11.6 + 7.49);
  EXPECT_EQ(Lottery.GameFlag, 1);
  RunTo(11.6 + 7.51);
  EXPECT_EQ(Lottery.GameFlag + Mc.McStep + Form2.Timer4.Interval(), 0);
  EXPECT_NEAR(FirstAt("fua0.wav", SoundAction::Play) - start, 5.8, 0.002);
  EXPECT_NEAR(FirstAt("Fanfare2.wav", SoundAction::Play) - start, 11.6, 0.002);
  EXPECT_NEAR(FirstAt("mc1.wav", SoundAction::Loop) - start, 19.1, 0.002);
  EXPECT_TRUE(sound->FileSounding("mc1.wav"));
  Mc.FanfareStreak = 1;
  EXPECT_STREQ(McMusicFile(), "mc2.wav");
}

TEST_F(McStartTest, PmcStepsLandOnTheLengthAndWaitByTheirCount) {
  // {length, seconds from the alignment to the final count, the roll's last three digits}
  const std::tuple<std::int32_t, double, const char*> cases[] = {
      {111, 11.6 + 11, "111"},           {999, 11.6 + 8 * 11 + 7.2, "999"},   {1111, 11.6 + 9 * 11 + 11, "111"},
      {1222, 11.6 + 10 * 11 + 7.2, "222"}, {1999, 11.6 + 17 * 11 + 7.2, "999"}, {2111, 11.6 + 18 * 11 + 7.2, "111"},
      {3999, 11.6 + 35 * 11 + 7.2, "999"}};
  for (const auto& [length, finalCount, rolled] : cases) {
    Mc = McState{};
    Form2.PmcCount.Caption = "0";
    sound->ClearEvents();
    SevensLinedUp(length);
    RunTo(finalCount - 0.01);
    EXPECT_EQ(Mc.McCountStep, Lottery.McSteps) << length;
    EXPECT_EQ(Form2.McCounter.Caption(), rolled) << "the last step lands exactly, untouched by teases";
    EXPECT_EQ(Mc.BonusPhase, 0) << length;
    RunTo(finalCount + 0.01);
    EXPECT_EQ(Mc.BonusPhase, 1) << length;
    EXPECT_EQ(Mc.McCountStep + Mc.McRollOffset + Mc.McRollCount, 0);
    EXPECT_EQ(Form2.PmcCount.Caption() + Form2.McCount.Caption(), "10");
    EXPECT_EQ(Form2.McLengthNow.Caption(), std::to_string(length) + " 回");
    RunTo(finalCount + 3.99);
    EXPECT_EQ(Lottery.GameFlag, 1) << length;
    RunTo(finalCount + 4.01);
    EXPECT_EQ(Lottery.GameFlag + Form2.Timer4.Interval(), 0) << "the music 4 s after the final count";
    EXPECT_NEAR(FirstAt("Bell.wav", SoundAction::Play) - start, finalCount, 0.002);
    EXPECT_NEAR(FirstAt("pmc1.wav", SoundAction::Loop) - start, finalCount + 4, 0.002);
    // The rising sounds: fua0 at the intro, fua1..fua9 for the first nine steps, then fua8 and fua9 in turn.
    std::vector<std::string> fua;
    for (const std::string& f : Sounds(SoundAction::Play))
      if (f.starts_with("fua")) fua.push_back(f);
    ASSERT_EQ(fua.size(), static_cast<size_t>(Lottery.McSteps + 1)) << length;
    for (int step = 0; step <= Lottery.McSteps; ++step)
      EXPECT_EQ(fua[step], "fua" + std::to_string(step < 10 ? step : 8 + (step + 1) % 2) + ".wav") << step;
  }
  EXPECT_STREQ(McMusicFile(), "pmc1.wav");
  // Play is accepted at the final count: a first MC game may already run when the music starts.
  SevensLinedUp(111);
  RunTo(11.6 + 11 + 3.9);
  Lottery.GameFlag = 3;
  RunTo(11.6 + 11 + 4.1);
  EXPECT_EQ(Lottery.GameFlag * 10 + Mc.McStep, 30);
  Mc.FanfareStreak = 1;
  EXPECT_STREQ(McMusicFile(), "pmc2.wav");
}

TEST_F(McStartTest, TeasesComeAtTheirFrequencies) {
  constexpr int kDraws = 24000;
  int extra = 0, delayed = 0;
  Lottery.McLength = 555;
  for (int i = 0; i < kDraws; ++i) {
    Form2.Timer7.Interval = 0;
    McIntro();
    extra += Mc.McRollExtra == 1;
    delayed += Form2.Timer7.Interval() == 2800;
  }
  ExpectShare(extra, kDraws, 1.0 / 4, "immediate tease of a PMC intro");
  ExpectShare(delayed, kDraws, 1.0 / 12, "delayed tease of a PMC intro");

  // {steps done, share ending one high, share bumped later, the bump's delay}; the last step never teases.
  const std::tuple<int, double, double, int> steps[] = {
      {0, 1.0 / 12, 1.0 / 6, 5400}, {2, 1.0 / 16, 3.0 / 16, 6900}, {4, 0, 0, 6900}};
  Lottery.McGamesLeft = 555;
  Lottery.McSteps = 5;
  for (const auto& [done, oneHigh, bumped, delay] : steps) {
    extra = delayed = 0;
    for (int i = 0; i < kDraws; ++i) {
      Mc.McCountStep = static_cast<std::int16_t>(done);
      Mc.McStep = 2;
      Mc.McRollExtra = 0;
      Form2.Timer7.Interval = 0;
      McCountUp();
      ASSERT_EQ(Mc.McStep * 100 + Mc.McCountStep, 101 + done) << "the sequence stays on its step";
      ASSERT_TRUE(Form2.Timer7.Interval() == 0 || Form2.Timer7.Interval() == delay);
      extra += Mc.McRollExtra == 1;
      delayed += Form2.Timer7.Interval() == delay;
    }
    ExpectShare(extra, kDraws, oneHigh, "one high after step " + std::to_string(done));
    ExpectShare(delayed, kDraws, bumped, "bumped after step " + std::to_string(done));
  }
  EXPECT_EQ(Form2.Timer6.Interval(), 46) << "the count-up rolls at the title screen's tempo";
  Form2.Timer4.Interval = Form2.Timer6.Interval = 0;
  Form2.McCounter.Caption = "222";
  Form2.Timer7.Interval = 6900;
  sim->RunFor(6.91);
  EXPECT_EQ(Form2.McCounter.Caption(), "223");
  EXPECT_EQ(sound->Count("f-piro.wav", SoundAction::Play), 1);
  EXPECT_EQ(Form2.Timer7.Interval(), 0);

  Lottery.McLength = 33;
  for (int i = 0; i < 2000; ++i) {
    McIntro();
    ASSERT_EQ(Mc.McRollExtra + Form2.Timer7.Interval(), 0) << "a plain MC never teases";
  }
}
