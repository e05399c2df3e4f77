// One game from the bet to its end, with the real reels, on the virtual clock.
#include "core/game_cycle.h"
#include "harness/harness.h"
#include "platform/events.h"

namespace {

class GameCycleTest : public MachineTest {
 protected:
  GameCycleTest() : MachineTest(true) {}
  // Up, with the game's result (and anything else) set after its lottery; the stops later, in the given order.
  void Game(std::int16_t flag, const std::vector<int>& stops, double firstStop = 0.7,
            const std::function<void()>& afterLottery = {}) {
    const double t = sim->Elapsed();
    sim->KeyAt(t, vkUp);
    sim->ActAt(t, [flag, afterLottery] {
      Lottery.GameFlag = flag;
      if (afterLottery) afterLottery();
    });
    for (size_t i = 0; i < stops.size(); ++i) sim->KeyAt(t + firstStop + 0.05 * static_cast<double>(i), stops[i]);
    sim->RunFor(firstStop + 3.0);
  }
  int BankruptcyBoxes() const { return BoxesSaying("破産しますた・・・。"); }
};

TEST_F(GameCycleTest, TheStopSoundsFollowTheOrderOfTheStopsNotTheReels) {
  // Three different sounds: the first stop plays the first, whichever reel it stops.
  const auto threeSounds = [] {
    Lottery.StopSounds[0] = "soundMofuran\\StSound1.wav";
    Lottery.StopSounds[1] = "soundMofuran\\StSound5.wav";
    Lottery.StopSounds[2] = "soundMofuran\\StSound7.wav";
  };
  for (const auto& order : std::vector<std::vector<int>>{
           {vkRight, vkLeft, vkDown}, {vkDown, vkRight, vkLeft}, {vkLeft, vkRight, vkDown}, {vkLeft, vkDown, vkRight}}) {
    sound->ClearEvents();
    Game(0, order, 0.7, threeSounds);
    ASSERT_TRUE(AllReelsStopped());
    // The lever sound, then the three stop sounds in the order of the stops.
    const auto files = Sounds(SoundAction::Route);
    ASSERT_EQ(files.size(), 4u);
    const std::vector<std::string> want = {"StSound1.wav", "StSound5.wav", "StSound7.wav"};
    EXPECT_EQ(std::vector<std::string>(files.begin() + 1, files.end()), want) << order[0] << order[1] << order[2];
    EXPECT_EQ(Play.ReadyForNextGame, 1);
    EXPECT_EQ(EventDepth(), 0);
  }
}

TEST_F(GameCycleTest, StopsComeOnlyAfter250MillisecondsAndTheReelsLandOnTheResult) {
  // The automatic bet's 0.3 s pause comes before the lever: stops up to 0.55 s after Up are refused.
  Game(3, {vkLeft, vkDown, vkRight}, 0.4);
  EXPECT_EQ(Play.LeftStopPressed, 0);  // all three were refused
  EXPECT_FALSE(AllReelsStopped());
  const double t = sim->Elapsed();
  StopsAt(t, 0.1);
  // The mame flashes until the next lever-on: a game without a result follows.
  LeverAt(t + 2.0, 0);
  StopsAt(t + 2.7, 0.1);
  sim->RunFor(3.0);
  ASSERT_TRUE(AllReelsStopped());
  EXPECT_EQ(Form2.Timer1.Interval(), 0);
  EXPECT_EQ(Form2.Timer3.Interval(), 0);
}

TEST_F(GameCycleTest, ALostMcGameIsCountedOnceThoughThreeDispatchesEndIt) {
  Lottery.McGamesLeft = 9;
  Game(0, {vkLeft, vkDown, vkRight});
  EXPECT_EQ(Lottery.McGamesLeft, 8);
  EXPECT_EQ(Form2.McCounter.Caption(), "8");
  EXPECT_EQ(sound->Count("Boffu.wav", SoundAction::Play), 1);
  Game(0, {vkLeft, vkDown, vkRight});
  EXPECT_EQ(Form2.McCounter.Caption(), "-7-");
  Lottery.McGamesLeft = 1;
  Game(0, {vkLeft, vkDown, vkRight});
  EXPECT_EQ(Form2.McCounter.Caption(), "");
  EXPECT_EQ(sound->Count("Boffu.wav", SoundAction::Play), 3);
}

TEST_F(GameCycleTest, TwoCoinsAndAThousandYenBuyFiftyCoins) {
  Form2.Credits.Caption = "2";
  Form2.Money.Caption = "1,000";
  Game(0, {vkLeft, vkDown, vkRight});
  EXPECT_EQ(Form2.Credits.Caption(), "49");
  EXPECT_EQ(Form2.Money.Caption(), "");
  EXPECT_EQ(BankruptcyBoxes(), 0);
}

TEST_F(GameCycleTest, TwoCoinsAnd980YenIsBankruptcyButTheReelsStillSpin) {
  Form2.Credits.Caption = "2";
  Form2.Money.Caption = "980";
  sim->KeyAt(sim->Elapsed(), vkUp);
  sim->RunFor(0.5);
  EXPECT_EQ(BankruptcyBoxes(), 1);
  EXPECT_EQ(BankruptToday, 1.0f);
  EXPECT_EQ(Form2.Credits.Caption(), "2");
  EXPECT_EQ(Form2.Money.Caption(), "980");
  EXPECT_NE(Form2.Timer1.Interval(), 0);
  EXPECT_FALSE(AllReelsStopped());
  EXPECT_EQ(Play.BetPlaced, 0);
}

TEST_F(GameCycleTest, FiveCoinsAndNoMoneyStillBet) {
  Form2.Credits.Caption = "5";
  Form2.Money.Caption = "";
  Game(0, {vkLeft, vkDown, vkRight});
  EXPECT_EQ(Form2.Credits.Caption(), "2");
  EXPECT_EQ(BankruptcyBoxes(), 0);
  // The next bet finds 2 coins and no money.
  Game(0, {vkLeft, vkDown, vkRight});
  EXPECT_EQ(BankruptcyBoxes(), 1);
}

TEST_F(GameCycleTest, HeavyStopSoundsBlackTheReelWindowOut) {
  // The unlit window painted one colour: its mark stays right of the right reel, which no reel redraws.
  const QRgb unlit = qRgb(255, 0, 255);
  Form2.Picture6.Image.fill(unlit);
  const QPoint gap(390, 90);
  const double t = sim->Elapsed();
  sim->KeyAt(t, vkControl);
  sim->KeyAt(t, vkUp);
  sim->ActAt(t, [] {
    Lottery.GameFlag = 0;
    Lottery.StopSounds[0] = "soundMofuran\\StSound1.wav";
    Lottery.StopSounds[1] = "soundMofuran\\StSound4.wav";
  });
  StopsAt(t + 0.3, 0.1);
  // The stops' dispatches wait one inside the other: look at the window from inside them.
  QRgb afterFirst = 0, afterSecond = 0;
  sim->ActAt(t + 0.35, [&] { afterFirst = Form2.Picture4.Image.pixel(gap); });
  sim->ActAt(t + 0.45, [&] { afterSecond = Form2.Picture4.Image.pixel(gap); });
  sim->RunFor(3.0);
  EXPECT_EQ(Play.StopSoundIndex, 4);
  EXPECT_NE(afterFirst, unlit);  // a plain stop sound: no blackout
  EXPECT_EQ(afterSecond, unlit);
  EXPECT_TRUE(AllReelsStopped());
}

TEST_F(GameCycleTest, TheBlackoutCopiesTheUnlitWindowAndHoldsTheScreen) {
  int ticks = 0;
  Form2.Timer4.OnTick = [&] { ++ticks; };
  Form2.Timer4.Interval = 16;
  const double t = sim->Elapsed();
  ReelBlackout();
  EXPECT_GE(sim->Elapsed() - t, 0.025);
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(Form2.Picture4.Image.copy(0, 0, 393, 186), Form2.Picture6.Image.copy(0, 0, 393, 186));
}

TEST_F(GameCycleTest, TheEndOfDisplayTickLightsTheLampsTheResultCallsFor) {
  for (int flag = 0; flag <= 4; ++flag)
    for (int pattern = 0; pattern <= 4; ++pattern)
      for (int stage = 0; stage <= 2; ++stage)
        for (int countdown = 0; countdown <= 2; ++countdown) {
          Lottery.GameFlag = static_cast<std::int16_t>(flag);
          Lottery.StopPattern = static_cast<std::int16_t>(pattern);
          Premonition.RevealStage = static_cast<std::int16_t>(stage);
          Lottery.RevealCountdown = static_cast<std::int16_t>(countdown);
          Reels.LeftReelStopped = Reels.CentreReelStopped = Reels.RightReelStopped = 1;
          Form2.Picture5.Visible = Form2.Picture29.Visible = false;
          Play.StopsEnabled = Play.ReadyForNextGame = 0;
          Form2.Timer5.Interval = 250;
          Timer5_Tick();
          // The bet lamp after a mame or digital game and after the near-misses of patterns 3 and 4; the bonus
          // lamp for a won MC in its first reveal stage, on pattern 0 or 4, or on 2 with its reveal one game off.
          const bool bet = flag == 3 || flag == 4 || pattern == 3 || pattern == 4;
          const bool bonus = flag == 1 && stage == 1 && (pattern == 0 || pattern == 4 || (pattern == 2 && countdown == 1));
          const std::string where = "flag " + std::to_string(flag) + " pattern " + std::to_string(pattern) +
                                    " stage " + std::to_string(stage) + " countdown " + std::to_string(countdown);
          EXPECT_EQ(Form2.Picture5.Visible(), bet) << where;
          EXPECT_EQ(Form2.Picture29.Visible(), bonus) << where;
          EXPECT_EQ(Play.StopsEnabled, 1) << where;
          EXPECT_EQ(Play.ReadyForNextGame, 1) << where;
          EXPECT_EQ(Form2.Timer5.Interval(), 0) << where;
        }
  // While a reel still turns the tick only opens the stops; a bell cue above 4 rings once.
  Reels.CentreReelStopped = 0;
  Form2.Picture5.Visible = Form2.Picture29.Visible = false;
  Play.StopsEnabled = Play.ReadyForNextGame = 0;
  for (int cue : {4, 5}) {
    Presentation.BellCue = static_cast<std::int16_t>(cue);
    sound->ClearEvents();
    Timer5_Tick();
    EXPECT_EQ(sound->Count("Bell.wav", SoundAction::Play), cue > 4 ? 1 : 0) << cue;
    EXPECT_EQ(Presentation.BellCue, cue > 4 ? 0 : cue);
  }
  EXPECT_EQ(Play.StopsEnabled, 1);
  EXPECT_EQ(Play.ReadyForNextGame, 0);
  EXPECT_FALSE(Form2.Picture5.Visible() || Form2.Picture29.Visible());
}

TEST_F(GameCycleTest, AStreakOfThreeThousandGamesRevealsTheSetting) {
  // Outside a streak its count stands at 0, so the first game of the next one is its first.
  Presentation.StreakMcCount = 0;
  Play.StreakGames = 57;
  Game(0, {vkLeft, vkDown, vkRight});
  EXPECT_EQ(Play.StreakGames, 0);
  Presentation.StreakMcCount = 1;
  Game(0, {vkLeft, vkDown, vkRight});
  EXPECT_EQ(Form2.McRunGames.Caption(), "1");
  EXPECT_EQ(Form2.RunGamesNow.Caption(), "1 回");
  Play.StreakGames = Play.StreakGamesMax = 2998;
  Form2.SetCaption(HiddenCaption());
  Game(0, {vkLeft, vkDown, vkRight});
  EXPECT_EQ(Form2.RunGamesBest.Caption(), "2999 /");
  EXPECT_EQ(Form2.Caption(), HiddenCaption());
  Game(0, {vkLeft, vkDown, vkRight});
  EXPECT_EQ(Form2.RunGamesNow.Caption(), "3000 回");
  EXPECT_EQ(Form2.Caption(), RevealedCaption());
}

}  // namespace
