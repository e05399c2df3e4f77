// The result presentation: every row of its dispatch seen through its sounds, coins, timer and display, the
// fanfare of an aligned MC, and the growth of a long MC at 100 games left.
#include <tuple>

#include "harness/harness.h"
#include "lottery/mc_sequence.h"
#include "lottery/presentation.h"

namespace {

// What the display was set to show: S a match, R a reach, U a no-reach, - nothing.
char DisplayShown() {
  if (Form2.Timer9.Interval() == 0) return '-';
  const std::string& t = Presentation.DigitalTarget;
  if (t[0] == t[1]) return t[1] == t[2] ? 'S' : 'R';
  return 'U';
}

TEST_F(PresentationTest, EveryResultIsPresentedByItsRow) {
  const struct {
    int flag, pattern, stage, phase, left, outcome;
    std::vector<double> draws;
    const char* sounds;
    int timer5, coins;
    bool rebet;
    char display;
    int outcomeAfter, bellCue;
  } rows[] = {
      // A won MC dressed as a small result.
      {1, 2, 1, 0, 33, 0, {}, "Replay0", 100, 0, true, '-', 0, 0},
      {1, 2, 0, 0, 33, 0, {0.55}, "Replay0,degi0", 6000, 0, true, 'S', 0, 0},
      {1, 2, 0, 0, 33, 0, {0.45}, "Replay0", 100, 0, true, '-', 0, 0},
      {1, 3, 0, 0, 33, 0, {}, "mame_1", 300, 12, false, '-', 0, 0},
      {1, 4, 1, 0, 33, 0, {Near(5, 8, 1)}, "degi2", 1200, 0, false, 'S', 0, 5},
      {1, 4, 1, 0, 33, 0, {Near(7, 8, 1)}, "degi3", 2800, 0, false, 'S', 0, 6},
      {1, 4, 1, 0, 33, 0, {Near(3, 8, 1)}, "degi0", 6000, 0, false, 'S', 0, 3},
      {1, 0, 1, 0, 33, 0, {}, "degi0", 6000, 0, false, 'S', 0, 0},
      {1, 4, 0, 0, 33, 0, {Gives(4, 5)}, "degi1", 300, 0, false, 'U', 3, 0},
      {1, 0, 0, 0, 33, 0, {Gives(2, 5)}, "degi2", 500, 0, false, 'R', 2, 0},
      {1, 0, 0, 0, 33, 0, {Gives(3, 5)}, "degi2", 500, 0, false, 'R', 2, 0},
      {1, 4, 2, 0, 33, 0, {Gives(5, 5)}, "degi3", 3000, 0, false, 'R', 1, 0},
      // Replays, outside and inside the MC.
      {2, 0, 0, 0, 0, 0, {}, "Replay0", 300, 0, true, '-', 0, 0},
      {2, 0, 0, 1, 8, 0, {}, "Replay1", 300, 0, true, '-', 0, 0},
      {2, 0, 0, 1, 5, 0, {Gives(3, 7)}, "Replay1", 300, 0, true, '-', 0, 0},
      {2, 0, 0, 1, 5, 0, {Gives(4, 7)}, "Replay2", 300, 0, true, '-', 0, 0},
      {2, 0, 0, 1, 1, 0, {Gives(4, 7)}, "Replay2,Replay1", 300, 0, true, '-', 0, 0},
      // The mame role, and the digital-display games by their outcome.
      {3, 0, 0, 0, 0, 0, {}, "mame_1", 300, 12, false, '-', 0, 0},
      {3, 0, 0, 1, 20, 0, {}, "mame_2", 300, 12, false, '-', 0, 0},
      {4, 0, 0, 0, 0, 1, {}, "degi3", 3400, 0, false, 'R', 1, 0},
      {4, 0, 0, 0, 0, 2, {}, "degi2", 1000, 0, false, 'R', 2, 0},
      {4, 0, 0, 1, 20, 10, {}, "degi0", 6000, 0, false, 'S', 10, 0},
      {4, 0, 0, 0, 0, 3, {}, "degi1", 700, 0, false, 'U', 3, 0},
  };
  int i = 0;
  for (const auto& r : rows) {
    const std::string what = "row " + std::to_string(i++);
    Lottery.GameFlag = static_cast<std::int16_t>(r.flag);
    Lottery.StopPattern = static_cast<std::int16_t>(r.pattern);
    Premonition.RevealStage = static_cast<std::int16_t>(r.stage);
    Mc.BonusPhase = static_cast<std::int16_t>(r.phase);
    Lottery.McGamesLeft = static_cast<std::int16_t>(r.left);
    Lottery.McLength = 33;
    Lottery.RevealCountdown = 5;
    Presentation.DigitalOutcome = static_cast<std::int16_t>(r.outcome);
    Presentation.BellCue = 0;
    Presentation.PresentationPending = 1;
    Mc.StreakPending = Play.PlayAccepted = Play.BetPlaced = 0;
    Reels.ReelStep = 15;
    Play.SavedReelStep = 0;
    Form2.Credits.Caption = "40";
    StopDigitalDisplay();
    sound->ClearEvents();
    for (double u : r.draws) QueueUniforms({u});
    FunFun();
    ClearQueuedUniforms();
    EXPECT_EQ(Played(), r.sounds) << what;
    EXPECT_EQ(Form2.Timer5.Interval(), r.timer5) << what;
    EXPECT_EQ(Form2.Credits.Caption(), std::to_string(40 + r.coins)) << what;
    // A replay re-bets the next game and puts the reel speed aside for the slow start of the re-bet game.
    EXPECT_EQ(Play.BetPlaced, r.rebet ? 1 : 0) << what;
    EXPECT_EQ(Reels.ReelStep * 100 + Play.SavedReelStep, r.rebet ? 115 : 1500) << what;
    EXPECT_EQ(DisplayShown(), r.display) << what;
    EXPECT_EQ(Presentation.DigitalOutcome, r.outcomeAfter) << what;
    EXPECT_EQ(Presentation.BellCue, r.bellCue) << what;
    EXPECT_EQ(Presentation.PresentationPending * 10 + Play.PlayAccepted, 1) << what;
  }
  // The replay's match brings the reveal close; the replay that won the next MC broke off the music.
  EXPECT_EQ(sound->Count("CD7Sound.wav", SoundAction::Stop) + sound->Count("mc1.wav", SoundAction::Stop), 0);
  Lottery.GameFlag = 1;
  Lottery.StopPattern = 2;
  Premonition.RevealStage = 0;
  QueueUniforms({0.55});
  FunFun();
  EXPECT_EQ(Premonition.RevealStage * 10 + Lottery.RevealCountdown, 11);
  Lottery.GameFlag = 2;
  Mc.BonusPhase = 1;
  Lottery.McGamesLeft = 3;
  QueueUniforms({Gives(4, 7)});
  FunFun();
  EXPECT_EQ(Mc.StreakPending, 1);
  EXPECT_EQ(sound->Count("CD7Sound.wav", SoundAction::Stop) * sound->Count("mc1.wav", SoundAction::Stop), 1);
}

TEST_F(PresentationTest, AlignedSevensPlayTheirFanfareAndCountTheChain) {
  // {streak game, fanfare streak, MC counter on screen, fanfare}
  const std::tuple<int, int, const char*, const char*> rows[] = {
      {0, 0, "", "Fanfare3"}, {0, 1, "", "Fanfare5"}, {1, 0, "-3-", "Fanfare1"}, {1, 1, "", "Fanfare4"},
      {1, 1, "-3-", "Fanfare5"}};
  Lottery.GameFlag = Lottery.StopPattern = 1;
  Presentation.StreakMcCountMax = 29;
  Presentation.StreakMcCount = 25;
  for (const auto& [pending, fanfare, counter, fanfareSound] : rows) {
    Mc.StreakPending = static_cast<std::int16_t>(pending);
    Mc.FanfareStreak = static_cast<std::int16_t>(fanfare);
    Form2.McCounter.Caption = counter;
    Premonition.RevealStage = 2;
    Form2.Timer5.Interval = 0;
    Lottery.GameFlag = 4;
    UnReachDegime();
    Lottery.GameFlag = 1;
    sound->ClearEvents();
    FunFun();
    EXPECT_EQ(Played(), fanfareSound) << pending << fanfare << counter;
    EXPECT_EQ(Mc.StreakPending, 0);
    EXPECT_EQ(Premonition.RevealStage, 0);
    // The MC start sequence, not the presentation timer, makes the machine ready again.
    EXPECT_EQ(Form2.Timer5.Interval(), 0);
    EXPECT_EQ(Form2.Timer9.Interval() + Form2.Timer10.Interval() + Form2.Timer11.Interval(), 0);
    EXPECT_FALSE(Form2.Picture41.Visible());
  }
  // 25 + 5 MCs in a chain: the best chain reaches 30, which gives the setting away.
  EXPECT_EQ(Form2.ChainNow.Caption(), "30 回");
  EXPECT_EQ(Form2.ChainBest.Caption(), " /30");
  EXPECT_EQ(Form2.Caption(), RevealedCaption());
}

TEST_F(PresentationTest, ALongMcMayGrowAtAHundredGamesLeft) {
  // {length, draw, games left after, setting after}: one row of each draw, a setting already at 8, and lengths
  // or counts that never grow.
  const std::tuple<int, int, double, int, int, int, const char*> rows[] = {
      {2999, 100, Near(2, 5, 1), 10100, 3, 3, "1Gren"}, {1999, 100, Near(3, 5, 1), 1100, 3, 4, "Bell"},
      {444, 100, Gives(2, 10), 1100, 7, 8, "Bell"},     {888, 100, Gives(5, 10), 10100, 3, 3, "1Gren"},
      {555, 100, Gives(12, 40), 1100, 8, 8, "Bell"},    {555, 100, Gives(21, 40), 10100, 3, 3, "1Gren"},
      {555, 100, Gives(20, 40), 100, 3, 3, ""},         {300, 100, Gives(21, 40), 100, 3, 3, ""},
      {555, 101, Gives(21, 40), 101, 3, 3, ""}};
  for (const auto& [length, left, draw, leftAfter, setting, settingAfter, jingle] : rows) {
    const std::string what = std::to_string(length) + " " + std::to_string(left);
    Lottery.GameFlag = 3;
    Mc.BonusPhase = 1;
    Lottery.McLength = length;
    Lottery.McGamesLeft = static_cast<std::int16_t>(left);
    Lottery.TodaySetting = static_cast<std::int16_t>(setting);
    Play.ClosingExtension = 0;
    Mc.McDigits = 3;
    sound->ClearEvents();
    QueueUniforms({draw});
    FunFun();
    ClearQueuedUniforms();
    EXPECT_EQ(Played(), std::string("mame_2") + (*jingle ? "," : "") + jingle) << what;
    EXPECT_EQ(Lottery.McGamesLeft, leftAfter) << what;
    EXPECT_EQ(Lottery.McLength, length + leftAfter - left) << what;
    EXPECT_EQ(Lottery.TodaySetting, settingAfter) << what;
    EXPECT_EQ(Play.ClosingExtension, leftAfter == 10100 ? 15000 : 0) << what;
    EXPECT_EQ(Mc.McDigits, Lottery.McLength > 6000 ? 4 : 3) << what;
  }
  // The 2999 MC has become 12999: the best length turns cyan and the counter counts on with four digits.
  Lottery.McLength = 2999;
  Lottery.McGamesLeft = 100;
  Mc.BestMcLength = 2999;
  QueueUniforms({Near(2, 5, 1)});
  FunFun();
  EXPECT_EQ(Form2.McLengthNow.Caption(), "12999 回");
  EXPECT_EQ(Form2.McLengthBest.Caption(), " /12999");
  EXPECT_EQ(Form2.McLengthBest.ForeColor(), 0x00FFFFu);
  sound->ClearEvents();
  McCountdownStep(1);
  EXPECT_EQ(Form2.McCounter.Caption(), "0099");
  EXPECT_EQ(sound->Count("Bell.wav", SoundAction::Play), 1);
}

}  // namespace
