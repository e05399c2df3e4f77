// The whole program on the virtual back end: a new player's first start, a day at the machine, the record of the
// day, the shop, and a restart that finds everything again.
#include "harness/harness.h"

namespace {

class WholeProgramTest : public TitleTest {
 protected:
  // Up, then the three stops, each after the reel had time to reach an allowed place; then the result plays out.
  void PlayOneGame() {
    const double t = sim->Elapsed();
    for (auto [at, key] : {std::pair{0.0, vkUp}, {0.7, vkLeft}, {1.5, vkDown}, {2.3, vkRight}}) sim->KeyAt(t + at, key);
    sim->RunFor(4.0);
  }
  // A new run of the program: only the save files are left of the last one.
  void Restart() {
    Form1.Unload();
    Form3.Unload();
    ResetGameState();
    Open();
  }
};

TEST_F(WholeProgramTest, AFirstStartADayTheShopAndARestart) {
  // First start without save files: the data are found broken and a new player's record is written.
  Open();
  ASSERT_EQ(sim->Boxes().size(), 1u);
  EXPECT_EQ(sim->Boxes()[0].text, "データが壊れています。");
  EXPECT_TRUE(Same(Stored(), InitialRecord()));
  EXPECT_EQ(Form1.Text8.Text(), "200,000");
  // The shop button was judged on the empty record, before it was initialised.
  EXPECT_FALSE(Form1.Command3.Visible());
  EXPECT_FALSE(Form1.Command2.Enabled());

  // Registration.
  sim->Type(Form1.Text4, "もふ太郎");
  Click(Form1.Command2);
  EXPECT_EQ(Trim(Stored().Name), "もふ太郎");

  // A day: Start hands over to the machine with the savings as money on hand.
  sim->ClearBoxes();
  Click(Form1.Command1);
  EXPECT_TRUE(sim->Boxes().empty());  // a registered player: no test-play notice
  ASSERT_TRUE(Form2.Loaded());
  EXPECT_FALSE(Form1.Loaded());
  EXPECT_EQ(Play.ProxyInterval, 260);
  EXPECT_GE(Lottery.TodaySetting, 1);
  EXPECT_EQ(Form2.Money.Caption(), "200,000");
  for (int i = 0; i < 3; ++i) PlayOneGame();
  EXPECT_EQ(Form2.TotalGames.Caption(), "3");

  // Esc and yes: the setting, the cash-out, and the title screen as the record of the day.
  CashOut(1.0);
  EXPECT_FALSE(Form2.Loaded());
  ASSERT_TRUE(Form1.Loaded());
  EXPECT_EQ(Form1.Label6.Caption(), "もふ太郎さんの記録！！");
  EXPECT_FALSE(Form1.Command1.Visible());
  EXPECT_EQ(Form1.Command2.Caption(), "終　了");
  const PlayerRecord afterDay = Stored();
  EXPECT_EQ(Form1.Text8.Text(), FormatMoney(afterDay.Savings));
  EXPECT_LT(afterDay.Savings, Currency::FromYen(200000 + 3 * 12 * 20));
  EXPECT_GT(afterDay.Savings, Currency::FromYen(199000));

  // The shop: a proxy player for 50,000 yen, then back.
  ASSERT_TRUE(Form1.Command3.Visible());
  Click(Form1.Command3);
  ASSERT_TRUE(Form3.Loaded());
  Buy(Form3.Option1, Form3.Command1);
  Click(Form3.Command2);
  ASSERT_TRUE(Form1.Loaded());
  EXPECT_EQ(Form1.Text3.Text(), "●『もこじろう』と契約");
  const PlayerRecord beforeQuit = Stored();
  EXPECT_EQ(beforeQuit.ProxyContract, 100);
  EXPECT_EQ(beforeQuit.Savings.units, afterDay.Savings.units - Currency::FromYen(50000).units);

  // Quit and start again: every value comes back.
  Click(Form1.Command2);
  EXPECT_TRUE(SoundBankReleased());
  sim->ClearBoxes();
  Restart();
  EXPECT_TRUE(sim->Boxes().empty());
  EXPECT_TRUE(Same(Stored(), beforeQuit));
  EXPECT_EQ(Form1.Text4.Text(), "もふ太郎");
  EXPECT_EQ(Form1.Text8.Text(), FormatMoney(beforeQuit.Savings));
  EXPECT_EQ(Form1.Text3.Text(), "●『もこじろう』と契約");
  EXPECT_TRUE(Form1.Command1.Visible());
  EXPECT_TRUE(Form1.Option7.Value());
  EXPECT_EQ(Form1.Label6.Caption(), "名前を登録すると記録が残ります。");
}

TEST_F(WholeProgramTest, AnUnnamedTestPlaySavesNothing) {
  Store(Player(300000));
  Store(Player(300000, ""));
  Open();
  Click(Form1.Command1);
  ASSERT_EQ(sim->Boxes().size(), 1u);
  ExpectBox(0, "テストプレイでオープンします。", "注意！");
  ASSERT_TRUE(Form2.Loaded());
  PlayOneGame();
  const PlayerRecord before = Stored();
  CashOut(1.0);
  ASSERT_TRUE(Form1.Loaded());
  EXPECT_TRUE(Same(Stored(), before));
  EXPECT_EQ(Form1.Text8.Text(), "300,000");
}

}  // namespace
