// Proxy play, fast play, and the start and end of a day, on the virtual clock.
#include <filesystem>
#include <tuple>

#include "harness/harness.h"
#include "machine/play_stats.h"
#include "machine/proxy_contract.h"
#include "platform/events.h"

namespace {

class ProxyTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    PlayerName = "もふ";
    Record.ProxyContract = 100;
    OpenDay();
    proxyTick_ = Form2.Timer8.OnTick;
    // Every game the proxy starts is given no result, so that each one ends with its last reel.
    Form2.Timer8.OnTick = [this] {
      const auto games = Play.TotalGames;
      proxyTick_();
      if (Play.TotalGames != games) NoResult();
    };
  }
  static void NoResult() { Lottery.GameFlag = Lottery.RevealCountdown = 0; }
  std::function<void()> proxyTick_;
};

TEST_F(ProxyTest, AHundredGameContractPlaysAHundredGamesAndThePlayerStopsTheNext) {
  Press(vkF6);
  ASSERT_EQ(Play.ProxyActive, 1);
  EXPECT_EQ(Form2.ProxyStatus.Caption(), "もこじろう　代打ち中");
  EXPECT_EQ(Form2.Timer8.Interval(), 260);
  ASSERT_TRUE(sim->RunUntil([] { return Play.ProxyActive == 0; }, 1000));
  EXPECT_EQ(Form2.TotalGames.Caption(), "101");
  // The 101st game was started by the proxy and is left for the player: its reels turn.
  EXPECT_FALSE(Form2.ProxyStatus.Visible());
  EXPECT_EQ(Play.ProxyGames, 0);
  sim->RunFor(2);
  EXPECT_NE(Form2.Timer1.Interval(), 0);
  EXPECT_EQ(Play.LeftStopPressed + Play.CentreStopPressed + Play.RightStopPressed, 0);
  // The proxy spent the player's coins and money: three coins for each of the 101 games, none paid back.
  const auto bought = 50 * (200000 - LabelMoney().units / 10000) / 1000;
  EXPECT_EQ(bought - 3 * 101, LabelNumber(Form2.Credits.Caption()));
}

TEST_F(ProxyTest, AStopRefusedInTheFirst250MillisecondsIsPressedAgain) {
  Press(vkF6);
  // The automatic bet's 0.3 s pause holds the proxy's own tick: its next tick comes before stops are accepted.
  const double t = sim->Elapsed();
  ASSERT_TRUE(sim->RunUntil([] { return Play.StopSoundIndex == 2; }, 2));
  EXPECT_GT(sim->Elapsed() - t, 0.55);
  ASSERT_TRUE(sim->RunUntil([] { return Play.ProxyGames == 2; }, 10));
}

TEST_F(ProxyTest, F6TwiceStopsItAndAgainStartsTheCountAfresh) {
  Press(vkF6);
  ASSERT_TRUE(sim->RunUntil([] { return Play.ProxyGames == 5; }, 100));
  Press(vkF6);
  EXPECT_EQ(Play.ProxyActive, 0);
  EXPECT_EQ(Play.ProxyGames, 0);
  EXPECT_EQ(Form2.Timer8.Interval(), 0);
  Press(vkF6);
  EXPECT_EQ(Play.ProxyActive, 1);
  ASSERT_TRUE(sim->RunUntil([] { return Play.ProxyGames == 3; }, 100));
  EXPECT_EQ(Play.ProxyActive, 1);
}

TEST_F(ProxyTest, F6AfterTheProxysLastStopEndsTheGameSoThatUpPlaysOn) {
  // Taken off between its third stop and the stop key that ends the game: with the third reel still turning,
  // and with all three at rest.
  for (const bool reelsAtRest : {false, true}) {
    SCOPED_TRACE(reelsAtRest ? "reels at rest" : "third reel turning");
    Press(vkF6);
    ASSERT_EQ(Play.ProxyActive, 1);
    ASSERT_TRUE(sim->RunUntil(
        [&] {
          return Play.ProxyGames >= 2 && AllStopsPressed() && Play.ReadyForNextGame == 0 &&
                 Form2.Timer1.Interval() != 0 && AllReelsStopped() == reelsAtRest;
        },
        100));
    const auto games = Play.TotalGames;
    Press(vkF6);
    EXPECT_EQ(Play.ProxyActive, 0);
    sim->RunFor(1);
    EXPECT_TRUE(AllReelsStopped());
    EXPECT_EQ(Form2.Timer1.Interval(), 0);
    EXPECT_EQ(Play.ReadyForNextGame, 1);
    // Up plays the next game, which the player stops.
    const double t = sim->Elapsed();
    sim->KeyAt(t, vkUp);
    sim->ActAt(t + 0.5, [&] {
      EXPECT_EQ(Play.TotalGames, games + 1);
      EXPECT_NE(Form2.Timer1.Interval(), 0);
      NoResult();
    });
    StopsAt(t + 0.6, 0.3);
    ASSERT_TRUE(sim->RunUntil(
        [&] { return Play.TotalGames == games + 1 && Play.ReadyForNextGame == 1 && Form2.Timer1.Interval() == 0; },
        5));
    EXPECT_FALSE(sim->PendingInput());
  }
  // F6 before the proxy's last stop leaves the rest of the game to the player's keys.
  Press(vkF6);
  ASSERT_TRUE(sim->RunUntil([] { return Play.ProxyGames >= 2 && Play.ProxyStopCount == 1; }, 100));
  Press(vkF6);
  sim->RunFor(1);
  EXPECT_EQ(Play.ReadyForNextGame, 0);
  EXPECT_NE(Form2.Timer1.Interval(), 0);
}

TEST_F(ProxyTest, F6DuringThePlayersWinningFlashHandsOverAndTheProxyPlaysOn) {
  // The player's own game, a replay, its stops pressed quickly: each stop key's dispatch waits with the next keys
  // nested inside it, and the last one's flashing goes on until the next lever-on. F6 in that flashing: the
  // proxy's first lever-on comes while the player's first stop keys still wait, and the proxy must play on.
  const int games = LabelNumber(Form2.TotalGames.Caption());
  const double t = sim->Elapsed();
  LeverAt(t, 2);
  StopsAt(t + 0.65, 0.05);
  sim->KeyAt(t + 2, vkF6);
  ASSERT_TRUE(sim->RunUntil([] { return Play.ProxyActive == 1; }, 3));
  ASSERT_TRUE(sim->RunUntil([] { return Play.ProxyGames == 4; }, 30)) << "the proxy stalled in its game "
                                                                       << Play.ProxyGames;
  EXPECT_EQ(LabelNumber(Form2.TotalGames.Caption()), games + 1 + 4);
}

TEST_F(ProxyTest, SpeedKeysAreNotDispatchedDuringProxyPlayAndApplyAtTheNextStart) {
  Press(vkF6);
  Press('7');
  EXPECT_EQ(Play.ProxyInterval, 260);
  Press(vkF6);
  Press('7');
  EXPECT_EQ(Play.ProxyInterval, 600);
  Press(vkF6);
  EXPECT_EQ(Form2.Timer8.Interval(), 600);
}

TEST_F(ProxyTest, TheProxyPressesTheStopsInTheOrderAsked) {
  const char* want[] = {"LCR", "LCR", "LRC", "CLR", "CRL", "RLC", "RCL", "RRR"};
  for (int order = 0; order <= 7; ++order) {
    Lottery.StopOrder = static_cast<std::int16_t>(order);
    Play.ReadyForNextGame = Play.ProxyStopCount = 0;
    std::string keys;
    for (int i = 0; i < 3; ++i) {
      Play.ProxyReady = 1;
      proxyTick_();  // the reels stand: the stop keys are not acted on, their codes stay
      keys += Play.KeyCode == vkLeft ? 'L' : Play.KeyCode == vkDown ? 'C' : Play.KeyCode == vkRight ? 'R' : '?';
      // After each stop key the proxy waits until a reel has come to rest.
      EXPECT_EQ(Play.ProxyReady, 0) << "order " << order << " stop " << i;
    }
    EXPECT_EQ(keys, want[order]) << "order " << order;
    EXPECT_EQ(Play.ProxyStopCount, 0);
  }
  Play.ReadyForNextGame = Play.ProxyReady = 1;
  Form2.Timer1.Interval = 0;
  Lottery.McGamesLeft = 0;
}

// On the slowest reels a stop can slide for longer than the proxy's 260 ms between ticks: the proxy presses its
// second and third stops only once a reel is at rest.
TEST_F(ProxyTest, TheProxyPressesItsLaterStopsOnlyOnceAReelIsAtRest) {
  Press('1');
  ASSERT_EQ(Reels.ReelStep, 12);
  int presses = 0;
  std::function<void()> tick = Form2.Timer8.OnTick;
  Form2.Timer8.OnTick = [&] {
    const int pressed = Play.LeftStopPressed + Play.CentreStopPressed + Play.RightStopPressed;
    const int stopped = Reels.LeftReelStopped + Reels.CentreReelStopped + Reels.RightReelStopped;
    tick();
    if (Play.LeftStopPressed + Play.CentreStopPressed + Play.RightStopPressed > pressed && pressed > 0) {
      ++presses;
      EXPECT_GE(stopped, 1) << "game " << Play.TotalGames;
    }
  };
  Press(vkF6);
  ASSERT_TRUE(sim->RunUntil([] { return Play.ProxyGames == 30; }, 600));
  EXPECT_GE(presses, 45);
}

TEST_F(ProxyTest, TheProxyRefusesWithOneToEightMcGamesLeft) {
  for (int left : {1, 8}) {
    Lottery.McGamesLeft = static_cast<std::int16_t>(left);
    Press(vkF6);
    EXPECT_EQ(Play.ProxyActive, 0);
    ASSERT_FALSE(sim->Boxes().empty());
    ExpectBox(-1, "もふは、もこじろうに代打ちをサボられた！", "サボり！！");
  }
  EXPECT_EQ(sound->Count("error.wav", SoundAction::Play), 2);
  Lottery.McGamesLeft = 9;
  Press(vkF6);
  EXPECT_EQ(Play.ProxyActive, 1);
  Press(vkF6);
  Record.ProxyContract = 0;
  Press(vkF6);  // no contract: nothing
  EXPECT_EQ(Play.ProxyActive, 0);
  EXPECT_EQ(sim->Boxes().size(), 2u);
}

TEST_F(ProxyTest, TheProxyTiresAtEightGamesLeftAtItsContractsChance) {
  const std::pair<int, double> contracts[] = {{100, 1.0 / 4}, {300, 1.0 / 6}, {1000, 1.0 / 20}, {0, 0.0}};
  for (auto [games, chance] : contracts) {
    Play.ContractGames = static_cast<std::int16_t>(games);
    constexpr int kDraws = 20000;
    int tired = 0;
    for (int i = 0; i < kDraws; ++i) {
      Play.ProxyActive = 1;
      ProxyTiring();
      tired += Play.ProxyActive == 0;
    }
    ExpectShare(tired, kDraws, chance, "a contract of " + std::to_string(games) + " games");
  }
}

class FastPlayTest : public MachineTest {
 protected:
  FastPlayTest() : MachineTest(true) {}
};

TEST_F(FastPlayTest, TCreditsTheItemsCoinsPerGame) {
  for (float coins : {7.0f, 15.0f}) {
    Record.FastPlayCoins = coins;
    Mc.BonusPhase = 1;
    Lottery.McGamesLeft = 20;
    Play.CreditCoins = 100;
    Mc.StreakPending = 0;
    const std::int64_t out = Stats.CoinsOut;
    sim->Key('T');
    sim->Key('T');
    sim->RunFor(0.01);
    EXPECT_EQ(Lottery.McGamesLeft, 18);
    EXPECT_EQ(Form2.Credits.Caption(), std::to_string(100 + 2 * static_cast<int>(coins)));
    // The credited coins count as paid out, and the run's games show as they go.
    EXPECT_EQ(Stats.CoinsOut - out, 2 * static_cast<std::int64_t>(coins));
    EXPECT_EQ(Form2.RunGamesNow.Caption(), std::to_string(Play.StreakGames) + " 回");
  }
}

// The working folder a scratch folder: where the save files go.
class DayTest : public MachineTest {
 protected:
  DayTest() : MachineTest(false, 12 * 3600.0, Start::Folder::Working) {}
};

TEST_F(DayTest, SavingsOfAMillionOrMoreShowWithTwoSeparators) {
  Record.Savings = Currency::FromYen(3456789);
  OpenDay();
  EXPECT_EQ(Form2.Money.Caption(), "3,456,789");
  EXPECT_EQ(Form2.Credits.Caption(), "0");
}

TEST_F(DayTest, TheItemsAndSpecialNamesShowTheirLines) {
  Record.ProxyContract = 300;
  Record.FastPlayCoins = 7;
  Record.FanfareX5Item = 17;
  Record.PmcUpItem = 9;
  Record.MembershipGames = 10000;
  Record.DigitalSpeed = 12;
  PlayerName = "ぽてまるん";
  Mc.McDigits = 4;  // as a run of over 6000 games left it
  OpenDay();
  EXPECT_EQ(Mc.McDigits, 3);
  for (Element* e : std::initializer_list<Element*>{&Form2.ProxyHelp, &Form2.FastPlayHelp, &Form2.FanfareItemLine,
                                                    &Form2.PmcUpItemLine, &Form2.MembershipLine, &Form2.Text1,
                                                    &Form2.LotteryReadout})
    EXPECT_TRUE(e->Visible()) << e->Name();
  EXPECT_EQ(Form2.FastPlayHelp.Caption(), "：「Ｔ」　　7枚補償早回し");
  EXPECT_EQ(Form2.SpeedHelp.Caption(), "：「Y・U」　デジ速度調節　『12』");
  EXPECT_EQ(Play.ProxyName, "もこたろう");
  EXPECT_EQ(Play.ContractGames, 300);
}

TEST_F(DayTest, ARichPlayersProxyMayWalkOutAtTheStartOfADay) {
  // {savings, contract, the walk-out draw's RandomInt(50)}: only above 30,000,000 yen, a contract of 100 games or
  // more and a draw of 7 ends the contract.
  const std::tuple<long long, float, int, bool> cases[] = {
      {30000001, 300, 7, true},  {30000000, 300, 7, false}, {90000000, 100, 7, true},
      {90000000, 100, 6, false}, {90000000, 100, 8, false}, {90000000, 99, 7, false}};
  for (const auto& [savings, contract, draw, walks] : cases) {
    Form2.Unload();
    sim->ClearBoxes();
    Record.Savings = Currency::FromYen(savings);
    Record.ProxyContract = contract;
    ClearQueuedUniforms();
    QueueUniforms({draw / 50.0, 0.5});  // the walk-out draw when there is one, then the lucky-day draw
    OpenDay();
    const std::string where = std::to_string(savings) + " yen, contract " + std::to_string(contract);
    EXPECT_EQ(Record.ProxyContract, walks ? 0.0f : contract) << where;
    EXPECT_EQ(Form2.ProxyHelp.Visible(), !walks) << where;
    ASSERT_EQ(sim->Boxes().size(), walks ? 1u : 0u) << where;
    if (walks) {
      ExpectBox(0, "なんと、" + Play.ProxyName + "は疲れきってお家に帰ってしまった。", "契約切れ");
      EXPECT_EQ(Play.ProxyName, contract == 300 ? "もこたろう" : "もこじろう");
    }
  }
}

TEST_F(DayTest, ALuckyDayShowsTheSettingEvenOverTheSpectacles) {
  PlayerName = "もふ";
  Record.SpectaclesItem = 10;
  QueueUniforms({5.0 / 30});  // the lucky-day draw: RandomInt(30) = 5
  OpenDay();
  EXPECT_EQ(Form2.Caption(), RevealedCaption());
  Form2.Unload();
  QueueUniforms({0.5});
  OpenDay();
  EXPECT_EQ(Form2.Caption(), SpectaclesCaption());
}

TEST_F(DayTest, CashingOutStoresMoneyAndTwentyYenACoin) {
  PlayerName = "もふ";
  SaveShopData();  // a stored record to merge the day into
  // {money, coins, stored}: nothing at all stores 0.
  for (auto [money, coins, yen] : {std::tuple{"10,000", "50", 11000}, {"", "0", 0}}) {
    OpenDay();
    Form2.Money.Caption = money;
    Form2.Credits.Caption = coins;
    CashOut(0.1);
    EXPECT_FALSE(Form2.Loaded());
    EXPECT_EQ(FILEREAD().Savings, Currency::FromYen(yen));
  }
  EXPECT_EQ(sim->Boxes()[1].text, "設定は「3」でした。");
}

TEST_F(DayTest, AnUnnamedPlayersDayWritesNothing) {
  OpenDay();
  CashOut(0.1);
  EXPECT_FALSE(Form2.Loaded());
  EXPECT_EQ(sim->Boxes().size(), 2u);  // the question and the setting
  EXPECT_TRUE(std::filesystem::is_empty(folder->Path()));
}

TEST_F(DayTest, EndingTheDayInTheMiddleOfASpinningGameLeavesNothingRunning) {
  OpenDay();
  const double t = sim->Elapsed();
  sim->KeyAt(t, vkUp);
  sim->KeyAt(t + 0.7, vkLeft);  // its dispatch waits for the other reels
  sim->Answer(vbYes);
  sim->KeyAt(t + 1.0, vkEscape);  // nested inside that wait
  sim->RunFor(3);
  EXPECT_FALSE(Form2.Loaded());
  EXPECT_EQ(Play.ScreenClosed, 1);
  EXPECT_EQ(EventDepth(), 0);
  for (Element* e : Form2.Elements()) {
    if (e->Kind() != ElementKind::Timer) continue;
    EXPECT_EQ(static_cast<Timer*>(e)->Interval(), 0) << e->Name();
  }
}

TEST_F(DayTest, TheCloseBoxEndsTheDayWithoutCashingOut) {
  PlayerName = "もふ";
  OpenDay();
  const double t = sim->Elapsed();
  sim->KeyAt(t, vkUp);
  sim->KeyAt(t + 0.7, vkLeft);
  sim->ActAt(t + 1.0, [] { Form2.Unload(); });
  sim->RunFor(3);
  EXPECT_FALSE(Form2.Loaded());
  EXPECT_TRUE(sim->Boxes().empty());
  EXPECT_TRUE(std::filesystem::is_empty(folder->Path()));
  EXPECT_EQ(EventDepth(), 0);
}

// Each contract is played by its own proxy, shown by its own portrait; other games have none.
TEST(ProxyPortraitTest, EachContractHasItsOwnPortrait) {
  const std::pair<float, const PictureBox*> portraits[] = {
      {100, &Form2.Picture30},  {300, &Form2.Picture31}, {1000, &Form2.Picture32}, {5000, &Form2.Picture33},
      {15000, &Form2.Picture34}, {0, nullptr},           {299, nullptr},           {301, nullptr}};
  for (const auto& [contract, portrait] : portraits) EXPECT_EQ(Form2.PortraitOf(contract), portrait) << contract;
}

}  // namespace
