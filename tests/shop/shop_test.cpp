#include <tuple>

#include "harness/harness.h"

namespace {

class ShopTest : public TitleTest {
 protected:
  // Opens the shop with this record stored and in memory, as the title screen's button does.
  void OpenShop(const PlayerRecord& r) {
    Store(r);
    Record = r;
    PlayerName = Trim(r.Name);
    SoundSet();  // built by the title screen the shop is reached from
    Form3.Unload();
    Form3.Show();
  }
  static std::vector<std::string> Visible(std::initializer_list<Element*> elements) {
    std::vector<std::string> names;
    for (Element* e : elements)
      if (e->Visible()) names.push_back(e->Name());
    return names;
  }
};

TEST_F(ShopTest, ExactlyThePricePlusTheStakeBuysAndOneYenLessDoesNot) {
  OpenShop(Player(79999));
  EXPECT_EQ(Form3.Caption(), "ゴト屋：『もふさん。いらっしゃい♪』");
  EXPECT_EQ(Form3.Text8.Text(), "79,999");
  EXPECT_FALSE(Form3.Command1.Visible());
  Click(Form3.Option1);
  EXPECT_TRUE(Form3.Command1.Visible());
  ClickAnswering(Form3.Command1, vbYes);
  EXPECT_EQ(sim->Boxes().back().text, "お金が足りません・・・。");
  EXPECT_TRUE(Form3.Option6.Value());
  EXPECT_FALSE(Form3.Command1.Visible());
  EXPECT_EQ(Stored().ProxyContract, 0);
  EXPECT_EQ(Record.Savings, Currency::FromYen(79999));

  OpenShop(Player(80000));
  Buy(Form3.Option1, Form3.Command1);
  ExpectBox(-1, "代打ち契約を結びますか？？", "代打ち契約");
  EXPECT_EQ(Stored().ProxyContract, 100);
  EXPECT_EQ(Stored().Savings, Currency::FromYen(30000));
  EXPECT_EQ(Form3.Text8.Text(), "30,000");
  EXPECT_FALSE(Form3.Option1.Visible());
  EXPECT_TRUE(Form3.Option6.Value());
  EXPECT_EQ(sound->Count("Boffu.wav", SoundAction::Play), 1);

  // Declined: nothing changes and "買わない" is chosen again.
  OpenShop(Player(5030000));
  Buy(Form3.Option5, Form3.Command1, vbNo);
  EXPECT_TRUE(Form3.Option6.Value());
  EXPECT_EQ(Stored().ProxyContract, 0);
  Buy(Form3.Option5, Form3.Command1);
  EXPECT_EQ(Stored().ProxyContract, 15000);
  EXPECT_EQ(Stored().Savings, Currency::FromYen(30000));
  EXPECT_EQ(sound->Count("1Gren.wav", SoundAction::Play), 1);
}

// Every ware at its price, for its value: the price plus the stake left on hand buys it.
TEST_F(ShopTest, EveryWareSellsAtItsPriceForItsValue) {
  // {its option, its buy button, its price, the field of the record it sets, and to what}
  const std::tuple<OptionButton ShopScreen::*, CommandButton ShopScreen::*, double, float PlayerRecord::*, float>
      wares[] = {
          {&ShopScreen::Option1, &ShopScreen::Command1, 50000, &PlayerRecord::ProxyContract, 100},
          {&ShopScreen::Option2, &ShopScreen::Command1, 150000, &PlayerRecord::ProxyContract, 300},
          {&ShopScreen::Option3, &ShopScreen::Command1, 1000000, &PlayerRecord::ProxyContract, 1000},
          {&ShopScreen::Option4, &ShopScreen::Command1, 2000000, &PlayerRecord::ProxyContract, 5000},
          {&ShopScreen::Option5, &ShopScreen::Command1, 5000000, &PlayerRecord::ProxyContract, 15000},
          {&ShopScreen::Option12, &ShopScreen::Command3, 50000, &PlayerRecord::FastPlayCoins, 5},
          {&ShopScreen::Option11, &ShopScreen::Command3, 150000, &PlayerRecord::FastPlayCoins, 6},
          {&ShopScreen::Option10, &ShopScreen::Command3, 1000000, &PlayerRecord::FastPlayCoins, 7},
          {&ShopScreen::Option9, &ShopScreen::Command3, 3000000, &PlayerRecord::FastPlayCoins, 9},
          {&ShopScreen::Option8, &ShopScreen::Command3, 10000000, &PlayerRecord::FastPlayCoins, 15}};
  for (const auto& [option, buy, price, field, value] : wares) {
    OpenShop(Player(price + 30000));
    Buy(Form3.*option, Form3.*buy);
    EXPECT_EQ(Stored().*field, value) << price;
    EXPECT_EQ(Stored().Savings, Currency::FromYen(30000)) << price;
  }
}

TEST_F(ShopTest, TheTKeyIsSoldLikeAProxyPlayer) {
  OpenShop(Player(10030000));
  Buy(Form3.Option8, Form3.Command3);
  ExpectBox(-1, "超便利！『Ｔ』ボタンを買いますか？？", "裏技『Ｔ』ボタン");
  EXPECT_EQ(Stored().FastPlayCoins, 15);
  EXPECT_EQ(Stored().Savings, Currency::FromYen(30000));
  EXPECT_EQ(sound->Count("1Gren.wav", SoundAction::Play), 1);
  EXPECT_TRUE(Form3.Option7.Value());
  EXPECT_FALSE(Form3.Command3.Visible());
}

TEST_F(ShopTest, MysteryItemsAreOfferedFromTheirPricePlusTheStake) {
  const std::initializer_list<Element*> shelf = {&Form3.Label6,  &Form3.Command4, &Form3.Label7, &Form3.Command5,
                                                 &Form3.Label14, &Form3.Command9, &Form3.Label8, &Form3.Command6};
  OpenShop(Player(10029999));
  EXPECT_TRUE(Visible(shelf).empty());
  OpenShop(Player(10030000));
  EXPECT_EQ(Visible(shelf),
            (std::vector<std::string>{"Label6", "Command4", "Label7", "Command5", "Label14", "Command9"}));
  OpenShop(Player(20030000));
  EXPECT_TRUE(Form3.Command6.Visible());
  EXPECT_EQ(Form3.Label8.Caption(), "？？？？　2000万円");

  // Bought: the item is in use, the savings keep the stake, and it leaves the shelf.
  ClickAnswering(Form3.Command6, vbYes);
  EXPECT_EQ(sim->Boxes().back().title, "？？？？");
  EXPECT_EQ(Stored().FanfareX5Item, 17);
  EXPECT_EQ(Stored().Savings, Currency::FromYen(30000));
  EXPECT_FALSE(Form3.Command6.Visible());
  // Now short of money: the message, nothing charged, and the item is off the shelf for this visit.
  ClickAnswering(Form3.Command5, vbYes);
  EXPECT_EQ(sim->Boxes().back().text, "お金が足りません・・・。");
  EXPECT_EQ(Stored().SpectaclesItem, 0);
  EXPECT_FALSE(Form3.Label7.Visible());
  // Declined: nothing changes.
  ClickAnswering(Form3.Command4, vbNo);
  EXPECT_TRUE(Form3.Command4.Visible());
  EXPECT_EQ(Stored().PmcUpItem, 0);
  // Each of the others, bought, is stored as the game reads it in use.
  const std::tuple<CommandButton*, float PlayerRecord::*, float> others[] = {
      {&Form3.Command4, &PlayerRecord::PmcUpItem, 9},
      {&Form3.Command5, &PlayerRecord::SpectaclesItem, 10},
      {&Form3.Command9, &PlayerRecord::MembershipGames, 10000}};
  for (const auto& [button, field, value] : others) {
    OpenShop(Player(10030000));
    ClickAnswering(*button, vbYes);
    EXPECT_EQ(Stored().*field, value) << button->Name();
  }
}

TEST_F(ShopTest, OnlyDearerChoicesAreOfferedAndTheTopOnesEmptyTheirFrames) {
  PlayerRecord r = Player(500000);
  r.ProxyContract = 1000;
  r.FastPlayCoins = 7;
  OpenShop(r);
  EXPECT_EQ(Visible({&Form3.Option1, &Form3.Option2, &Form3.Option3, &Form3.Option4, &Form3.Option5,
                     &Form3.Option6, &Form3.Option12, &Form3.Option11, &Form3.Option10, &Form3.Option9,
                     &Form3.Option8, &Form3.Option7}),
            (std::vector<std::string>{"Option4", "Option5", "Option6", "Option9", "Option8", "Option7"}));
  EXPECT_TRUE(Form3.Frame1.Visible());

  r.ProxyContract = 15000;
  r.FastPlayCoins = 15;
  OpenShop(r);
  EXPECT_TRUE(Visible({&Form3.Frame1, &Form3.Command1, &Form3.Label1, &Form3.Label4, &Form3.Frame2,
                       &Form3.Command3, &Form3.Label2, &Form3.Label5})
                  .empty());
}

TEST_F(ShopTest, TheCompletedSetGrantsTheUpgradedSpectaclesOnce) {
  PlayerRecord r = Player(1000000);
  r.ProxyContract = 15000;
  r.FastPlayCoins = 15;
  r.PmcUpItem = 10;
  r.SpectaclesItem = 11;
  r.FanfareX5Item = 16;
  r.MembershipGames = 9000;  // one short
  OpenShop(r);
  EXPECT_FALSE(Form3.Label13.Visible());
  EXPECT_EQ(Stored().SpectaclesGrade, 0);

  r.MembershipGames = 10000;
  OpenShop(r);
  EXPECT_TRUE(Form3.Label13.Visible());
  EXPECT_TRUE(Form3.Label9.Visible());
  EXPECT_EQ(Form3.Label9.Caption(), "メガネ度数アップゲット");
  EXPECT_EQ(Stored().SpectaclesGrade, 821);
  EXPECT_EQ(sound->Count("1Gren.wav", SoundAction::Play), 1);
  // Switched off on the title screen (820), the next visit leaves it alone.
  r.SpectaclesGrade = 820;
  OpenShop(r);
  EXPECT_TRUE(Form3.Label9.Visible());
  EXPECT_EQ(Stored().SpectaclesGrade, 820);
  EXPECT_EQ(sound->Count("1Gren.wav", SoundAction::Play), 1);
}

TEST_F(ShopTest, TheShopIsReachedFromTheTitleAndLeadsBackToIt) {
  Store(Player(90000));
  Open();
  Click(Form1.Command3);
  EXPECT_FALSE(Form1.Loaded());
  ASSERT_TRUE(Form3.Loaded());
  EXPECT_EQ(sound->Count("f-piro.wav", SoundAction::Play), 1);
  Buy(Form3.Option1, Form3.Command1);
  Click(Form3.Command2);
  EXPECT_FALSE(Form3.Loaded());
  ASSERT_TRUE(Form1.Loaded());
  EXPECT_EQ(Form1.Text8.Text(), "40,000");
  EXPECT_EQ(Form1.Text3.Text(), "●『もこじろう』と契約");
  EXPECT_FALSE(Form1.Command3.Visible());
}

}  // namespace
