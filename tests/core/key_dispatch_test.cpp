// The machine screen's key dispatch: every guard of the table, on the virtual back end.
#include <tuple>

#include "harness/harness.h"
#include "platform/events.h"

namespace {

class KeyDispatchTest : public MachineTest {
 protected:
  KeyDispatchTest() : MachineTest(true) {}
  // Up, with the game's result set after its lottery.
  void Lever() {
    Press(vkUp);
    Lottery.GameFlag = gameFlag;
  }
  // Up (the bet and its 0.3 s pause, the lever), then the three stops after the 250 ms lock, then a moment for
  // the last reel to come to rest. Keys are scripted ahead: a stop key's dispatch waits, with the next keys
  // nested inside it.
  void PlayOneGame() {
    const double t = sim->Elapsed();
    LeverAt(t, gameFlag);
    StopsAt(t + 0.65, 0.05);
    sim->RunFor(1.0);
  }
  // The result every game of these tests is given after its lottery: none, unless a test says otherwise.
  static inline std::int16_t gameFlag = 0;
  int ClosingBoxes() const { return BoxesSaying("残念ながら閉店です。"); }
};

TEST_F(KeyDispatchTest, TheDayOpensOnAFinishedGameWithTheLampLit) {
  // Hidden, or on a lucky day (one in thirty) revealed.
  EXPECT_TRUE(Form2.Caption() == HiddenCaption() || Form2.Caption() == RevealedCaption()) << Form2.Caption();
  EXPECT_TRUE(Form2.Picture5.Visible());
  EXPECT_EQ(Form2.Money.Caption(), "200,000");
  EXPECT_EQ(Form2.Credits.Caption(), "0");
  EXPECT_EQ(Play.ReadyForNextGame, 1);
  EXPECT_TRUE(AllStopsPressed());
  EXPECT_TRUE(AllReelsStopped());
  EXPECT_EQ(Form2.SpeedHelp.Caption(), "：「Y・U」　デジ速度調節　『0』");
}

TEST_F(KeyDispatchTest, AWholeGameFromTheKeyboard) {
  StopReelsOnTheirKeys();
  PlayOneGame();
  EXPECT_EQ(Form2.Credits.Caption(), "47");  // 50 coins bought, 3 bet
  EXPECT_EQ(Form2.Money.Caption(), "199,000");
  EXPECT_EQ(Form2.TotalGames.Caption(), "1");
  EXPECT_EQ(Play.TotalGames, 1);
  EXPECT_EQ(Form2.GamesSinceMc.Caption(), "1");
  EXPECT_EQ(Play.StopSoundIndex, 4);
  EXPECT_EQ(Form2.Timer1.Interval(), 0);
  EXPECT_EQ(Play.ReadyForNextGame, 1);
  EXPECT_TRUE(Form2.Picture5.Visible());
  EXPECT_EQ(Reels.ReelStep, 15);  // the slow start is over
  EXPECT_EQ(EventDepth(), 0);
  PlayOneGame();
  EXPECT_EQ(Form2.TotalGames.Caption(), "2");
  EXPECT_EQ(Form2.Credits.Caption(), "44");
}

TEST_F(KeyDispatchTest, CtrlBetsOnlyWhenTheLampIsLitAndTheReelsStand) {
  Press(vkControl);
  EXPECT_EQ(Play.BetPlaced, 1);
  EXPECT_FALSE(Form2.Picture5.Visible());
  EXPECT_EQ(Form2.Credits.Caption(), "47");
  Press(vkControl);  // the lamp is out: no second bet
  EXPECT_EQ(Form2.Credits.Caption(), "47");
  // Up after Ctrl pulls the lever without a second bet and without the 0.3 s pause.
  const double t0 = sim->Elapsed();
  Press(vkUp);
  EXPECT_LT(sim->Elapsed() - t0, 0.1);
  EXPECT_EQ(Form2.Credits.Caption(), "47");
  EXPECT_NE(Form2.Timer1.Interval(), 0);
  Form2.Picture5.Visible = true;
  Press(vkControl);  // reels turning: nothing
  EXPECT_EQ(Play.BetPlaced, 0);
}

TEST_F(KeyDispatchTest, UpWhileTheReelsTurnDoesNothing) {
  Press(vkUp);
  sim->RunFor(0.3);
  const auto games = Form2.TotalGames.Caption();
  Press(vkUp);
  sim->RunFor(0.3);
  EXPECT_EQ(Form2.TotalGames.Caption(), games);
  EXPECT_EQ(Play.LeftStopPressed, 0);
}

TEST_F(KeyDispatchTest, StopKeysAreRefusedForTheFirst250Milliseconds) {
  StopReelsOnTheirKeys();
  Press(vkControl);
  Lever();
  sim->RunFor(0.1);
  Press(vkLeft);
  EXPECT_EQ(Play.KeyCode, 0);
  sim->RunFor(0.1);
  EXPECT_EQ(Play.LeftStopPressed, 0);
  StopsAt(sim->Elapsed() + 0.1, 0.1);
  sim->RunFor(0.15);
  EXPECT_EQ(Play.LeftStopPressed, 1);
  sim->RunFor(0.3);
  EXPECT_EQ(Play.ReadyForNextGame, 1);
}

TEST_F(KeyDispatchTest, StopKeysDoNothingWhileTheReelsStand) {
  Press(vkLeft);
  EXPECT_EQ(EventDepth(), 0);
  EXPECT_EQ(Play.KeyCode, vkLeft);
  EXPECT_EQ(Play.StopSoundIndex, 0);
}

TEST_F(KeyDispatchTest, AHeldStopKeyNestsNoDeeperThanOneWaitPerReel) {
  StopReelsOnTheirKeys();
  Lever();
  sim->RunFor(0.6);
  const double t0 = sim->Elapsed();
  // The left reel keeps turning while its key is held for five seconds, then comes to rest.
  Form2.Timer1.OnTick = [this, t0] {
    if (sim->Elapsed() > t0 + 5.5) Reels.LeftReelStopped = 1;
  };
  ResetMaxEventDepth();
  int soundIndexAfterHold = 0;
  for (int i = 0; i < 10000; ++i) sim->KeyAt(t0 + i * 0.0005, vkLeft);
  Form2.Timer4.OnTick = [&] {
    soundIndexAfterHold = Play.StopSoundIndex;
    Form2.Timer4.Interval = 0;
  };
  Form2.Timer4.Interval = 5050;
  sim->KeyAt(t0 + 5.1, vkDown);
  sim->KeyAt(t0 + 5.2, vkRight);
  sim->RunFor(6.0);
  EXPECT_EQ(sim->PendingInput(), 0u);
  // One wait per accepted stop, nested: never more.
  EXPECT_LE(MaxEventDepth(), 3);
  EXPECT_EQ(soundIndexAfterHold, 2);
  // The game went on: the other stops were accepted and the game ended once the left reel stopped.
  EXPECT_EQ(Play.StopSoundIndex, 4);
  EXPECT_EQ(Play.ReadyForNextGame, 1);
  EXPECT_EQ(Form2.Timer1.Interval(), 0);
  EXPECT_EQ(EventDepth(), 0);
}

TEST_F(KeyDispatchTest, TheHallClosesOneGameAfterTheLimit) {
  Record.MembershipGames = 10000;
  Play.ClosingExtension = 15000;
  StopReelsOnTheirKeys();
  Play.TotalGames = 34999;
  PlayOneGame();
  EXPECT_EQ(Form2.TotalGames.Caption(), "35000");
  PlayOneGame();  // exactly at the limit the lever still works
  EXPECT_EQ(Form2.TotalGames.Caption(), "35001");
  EXPECT_EQ(ClosingBoxes(), 0);
  Press(vkUp);
  Press(vkUp);
  EXPECT_EQ(ClosingBoxes(), 2);
  EXPECT_EQ(sim->Boxes().back().title, "ご利用ありがとうございました。");
  EXPECT_EQ(Form2.TotalGames.Caption(), "35001");
  EXPECT_EQ(Form2.Timer1.Interval(), 0);
}

TEST_F(KeyDispatchTest, SpeedKeysAndTheirLimits) {
  for (auto [key, step] : {std::pair{'3', 20}, {'4', 30}, {'1', 12}}) {
    Press(key);
    EXPECT_EQ(Reels.ReelStep, step) << key;
  }
  for (auto [key, interval] : {std::pair{'7', 600}, {'5', 260}, {'6', 400}}) {
    Press(key);
    EXPECT_EQ(Play.ProxyInterval, interval) << key;
  }
  // {speed before, key, speed after}: the digital display's speed stays within 0 to 20.
  for (auto [before, key, after] : {std::tuple{0.5f, 'Y', 0.0f}, {0.0f, 'Y', 0.0f}, {19.5f, 'U', 20.0f},
                                    {19.0f, 'U', 20.0f}}) {
    Record.DigitalSpeed = before;
    Press(key);
    EXPECT_EQ(Record.DigitalSpeed, after) << before << key;
  }
  EXPECT_EQ(Play.DigitalSpeedSteps, 20);
  EXPECT_EQ(Form2.SpeedHelp.Caption(), "：「Y・U」　デジ速度調節　『20』");
  Record.DigitalSpeed = 7.5f;
  Press('Y');
  EXPECT_EQ(Play.DigitalSpeedSteps, 6);  // 6.5 to even
  EXPECT_EQ(Form2.SpeedHelp.Caption(), "：「Y・U」　デジ速度調節　『6.5』");
}

TEST_F(KeyDispatchTest, OnlyF6IsDispatchedDuringProxyPlay) {
  Record.ProxyContract = 100;
  Form2.Unload();
  OpenDay();
  Press(vkF6);
  ASSERT_EQ(Play.ProxyActive, 1);
  EXPECT_TRUE(Form2.ProxyStatus.Visible());
  EXPECT_EQ(Form2.ProxyStatus.Caption(), "もこじろう　代打ち中");
  Form2.Timer8.Interval = 0;  // hold the proxy's hand still
  for (int key : {'7', '2', 'Y'}) Press(key);
  EXPECT_EQ(Play.ProxyInterval, 260);
  EXPECT_EQ(Reels.ReelStep, 15);
  EXPECT_EQ(Play.KeyCode, 'Y');  // the code stays for the stop wait loop to see
  Press(vkF6);
  EXPECT_EQ(Play.ProxyActive, 0);
  EXPECT_FALSE(Form2.ProxyStatus.Visible());
}

TEST_F(KeyDispatchTest, FastPlayKeyNeedsTheItemAndARunningMcWithMoreThan15Games) {
  Press('T');
  EXPECT_EQ(Form2.TotalGames.Caption(), "0");
  Record.FastPlayCoins = 7;
  Mc.BonusPhase = 1;
  Lottery.McGamesLeft = 16;
  Play.CreditCoins = 10;
  Press('T');
  EXPECT_EQ(Lottery.McGamesLeft, 15);
  for (auto [label, shown] : {std::pair{&Form2.Credits, "17"}, {&Form2.McCounter, "15"}, {&Form2.TotalGames, "1"},
                              {&Form2.McRunGames, "1"}})
    EXPECT_EQ(label->Caption(), shown) << label->Name();
  Press('T');
  EXPECT_EQ(Lottery.McGamesLeft, 15);
}

TEST_F(KeyDispatchTest, RKeyRevealsOnlyAtItsCountsAndFastPlaysOnlyUnderTheRevealedCaption) {
  PlayerName = "もふ";
  Form2.SetCaption(SpectaclesCaption());
  Lottery.McGamesLeft = 30;
  Reels.CentreReelStopped = 1;
  Reels.LeftReelStopped = 0;
  Press('R');
  EXPECT_EQ(Lottery.McGamesLeft, 30);  // the spectacles caption is not the revealed one
  Form2.SetCaption(RevealedCaption());
  Press('R');
  EXPECT_EQ(Lottery.McGamesLeft, 29);
  Form2.SetCaption(HiddenCaption());
  Lottery.McGamesLeft = 19;
  Press('R');
  EXPECT_EQ(Form2.Caption(), RevealedCaption());
  Form2.SetCaption(HiddenCaption());
  Lottery.McGamesLeft = 0;
  Form2.GamesSinceMc.Caption = "82";
  Press('R');
  EXPECT_EQ(Form2.Caption(), RevealedCaption());
}

TEST_F(KeyDispatchTest, F8MakesALeverOnPossibleAgain) {
  StopReelsOnTheirKeys();
  // A replay: its presentation holds the next lever-on back for 300 ms after the last stop, and its line flashes
  // until the next lever-on, so the keys are scripted ahead.
  const double t = sim->Elapsed();
  LeverAt(t, 2);
  StopsAt(t + 0.65, 0.05);
  int ready = -1;
  std::string refused, accepted;
  sim->KeyAt(t + 0.85, vkUp);
  sim->ActAt(t + 0.85, [&] {
    ready = Play.ReadyForNextGame;
    refused = Form2.TotalGames.Caption();
  });
  sim->KeyAt(t + 0.9, vkF8);
  sim->KeyAt(t + 0.95, vkUp);
  sim->ActAt(t + 0.95, [&] {
    Lottery.GameFlag = 0;
    accepted = Form2.TotalGames.Caption();
  });
  StopsAt(t + 1.6, 0.05);
  sim->RunFor(2.5);
  EXPECT_EQ(std::tie(ready, refused, accepted), std::tuple(0, "1", "2"));
}

TEST_F(KeyDispatchTest, GamesCountOnAcrossDaysFromZeroShown) {
  StopReelsOnTheirKeys();
  PlayOneGame();
  PlayOneGame();
  Form2.Unload();
  OpenDay();
  EXPECT_EQ(Form2.TotalGames.Caption(), "0");
  PlayOneGame();
  EXPECT_EQ(Form2.TotalGames.Caption(), "3");
}

TEST_F(KeyDispatchTest, EscAnsweredNoGoesOnAndYesEndsTheDay) {
  sim->Answer(vbNo);
  Press(vkEscape);
  EXPECT_TRUE(Form2.Loaded());
  sim->Answer(vbYes);
  Press(vkEscape);
  EXPECT_FALSE(Form2.Loaded());
  EXPECT_EQ(Play.ScreenClosed, 1);
  ASSERT_EQ(sim->Boxes().size(), 3u);
  ExpectBox(2, "設定は「3」でした。", "本日のセテーイ");
}

}  // namespace
