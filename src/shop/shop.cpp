#include "shop/shop.h"

#include "core/screen_flow.h"
#include "machine/money.h"
#include "machine/player_record.h"
#include "platform/events.h"
#include "records/save_files.h"
#include "shop/shop_form.h"
#include "sound/sound_bank.h"

Currency ShopPrice;
Currency ShopFastPlayPrice;

namespace {

Currency Yen(double yen) { return Currency::FromYen(yen); }

// Every purchase leaves this much of the savings as the next day's stake.
const Currency kStake = Yen(30000);

struct Ware {
  OptionButton ShopScreen::*option;
  double price;
  float value;  // the contract's games, or the T key's coins
};

const Ware kProxies[] = {{&ShopScreen::Option1, 50000, 100},      {&ShopScreen::Option2, 150000, 300},
                         {&ShopScreen::Option3, 1000000, 1000},   {&ShopScreen::Option4, 2000000, 5000},
                         {&ShopScreen::Option5, 5000000, 15000}};
const Ware kFastPlay[] = {{&ShopScreen::Option12, 50000, 5},     {&ShopScreen::Option11, 150000, 6},
                          {&ShopScreen::Option10, 1000000, 7},   {&ShopScreen::Option9, 3000000, 9},
                          {&ShopScreen::Option8, 10000000, 15}};

// The mystery items: the button that sells each, its price and what it sets.
struct Mystery {
  CommandButton ShopScreen::*button;
  double price;
  float PlayerRecord::*field;
  float value;
};
const Mystery kMysteries[] = {{&ShopScreen::Command4, 10000000, &PlayerRecord::PmcUpItem, 9},
                              {&ShopScreen::Command5, 10000000, &PlayerRecord::SpectaclesItem, 10},
                              {&ShopScreen::Command9, 10000000, &PlayerRecord::MembershipGames, 10000},
                              {&ShopScreen::Command6, 20000000, &PlayerRecord::FanfareX5Item, 17}};

Currency Plus(Currency a, Currency b) { return Currency{a.units + b.units}; }

void ShowSavings() { Form3.Text8.Text = FormatMoney(Record.Savings); }

// Hides the options of a frame up to the one whose value is held.
void HideUpTo(const Ware (&wares)[5], float held) {
  int upTo = -1;
  for (int i = 0; i < 5; ++i)
    if (wares[i].value == held) upTo = i;
  for (int i = 0; i <= upTo; ++i) (Form3.*wares[i].option).Visible = false;
}

// Sells the chosen ware of a frame: the question, the money, the sound, the save. At every end "買わない" is chosen
// again.
void Buy(Currency price, const Ware (&wares)[5], float& field, double grandPrice, const char* question,
         const char* title, OptionButton& none) {
  if (price.units == 0) return;
  if (MsgBox(question, vbYesNo, title) == vbNo) {
    none.Value = true;
    return;
  }
  if (Record.Savings < Plus(price, kStake)) {
    MsgBox("お金が足りません・・・。", vbOKOnly);
    none.Value = true;
    return;
  }
  for (const Ware& w : wares)
    if (Yen(w.price) == price) field = w.value;
  PlayBankSound(price == Yen(grandPrice) ? "1Gren.wav" : "Boffu.wav");
  Record.Savings.units -= price.units;
  SaveShopData();
  ShowSavings();
  none.Value = true;
}

bool SetComplete() {
  const PlayerRecord& r = Record;
  return r.SpectaclesItem > 9 && r.PmcUpItem > 8 && r.FanfareX5Item > 15 && r.FastPlayCoins == 15 &&
         r.MembershipGames > 9000 && r.ProxyContract == 15000;
}

}  // namespace

void ShowProxyChoices() { HideUpTo(kProxies, Record.ProxyContract); }
void ShowFastPlayChoices() { HideUpTo(kFastPlay, Record.FastPlayCoins); }

void Form3_Load() {
  Form3.SetCaption("ゴト屋：『" + PlayerName + "さん。いらっしゃい♪』");
  ShowSavings();
  // Each visit starts with "買わない" chosen in both frames.
  ShopPrice = Currency{};
  ShopFastPlayPrice = Currency{};
  ShowProxyChoices();
  ShowFastPlayChoices();

  if (Record.Savings > Yen(20029999) && Record.FanfareX5Item < 16) {
    Form3.Label8.Visible = true;
    Form3.Command6.Visible = true;
  }
  if (Record.Savings > Yen(10029999)) {
    if (Record.PmcUpItem < 9) {
      Form3.Label6.Visible = true;
      Form3.Command4.Visible = true;
    }
    if (Record.SpectaclesItem < 10) {
      Form3.Label7.Visible = true;
      Form3.Command5.Visible = true;
    }
    if (Record.MembershipGames < 10000) {
      Form3.Label14.Visible = true;
      Form3.Command9.Visible = true;
    }
  }

  if (Record.ProxyContract == 15000) {
    Form3.Frame1.Visible = false;
    Form3.Command1.Visible = false;
    Form3.Label1.Visible = false;
    Form3.Label4.Visible = false;
  }
  if (Record.FastPlayCoins == 15) {
    Form3.Frame2.Visible = false;
    Form3.Command3.Visible = false;
    Form3.Label2.Visible = false;
    Form3.Label5.Visible = false;
  }

  // Everything owned: the set is complete, and the spectacles are upgraded once.
  if (SetComplete()) {
    Form3.Label13.Visible = true;
    if (Record.SpectaclesGrade <= 811) {
      Record.SpectaclesGrade = 821;
      PlayBankSound("1Gren.wav");
      SaveShopData();
    }
    Form3.Label9.Visible = true;
  }
}

void ChooseProxy(OptionButton& o) {
  ShopPrice = Currency{};
  for (const Ware& w : kProxies)
    if (&(Form3.*w.option) == &o) ShopPrice = Yen(w.price);
  Form3.Command1.Visible = ShopPrice.units != 0;
}

void ChooseFastPlay(OptionButton& o) {
  ShopFastPlayPrice = Currency{};
  for (const Ware& w : kFastPlay)
    if (&(Form3.*w.option) == &o) ShopFastPlayPrice = Yen(w.price);
  Form3.Command3.Visible = ShopFastPlayPrice.units != 0;
}

void BuyProxy() {
  const float before = Record.ProxyContract;
  Buy(ShopPrice, kProxies, Record.ProxyContract, 5000000, "代打ち契約を結びますか？？", "代打ち契約", Form3.Option6);
  if (Record.ProxyContract != before) ShowProxyChoices();
}

void BuyFastPlay() {
  const float before = Record.FastPlayCoins;
  Buy(ShopFastPlayPrice, kFastPlay, Record.FastPlayCoins, 10000000, "超便利！『Ｔ』ボタンを買いますか？？",
      "裏技『Ｔ』ボタン", Form3.Option7);
  if (Record.FastPlayCoins != before) ShowFastPlayChoices();
}

void BuyMysteryItem(Label& label, CommandButton& button) {
  const Mystery* item = nullptr;
  for (const Mystery& m : kMysteries)
    if (&(Form3.*m.button) == &button) item = &m;
  if (!item) return;
  if (MsgBox("？？？？を買いますか？", vbYesNo, "？？？？") == vbNo) return;
  if (Record.Savings < Plus(Yen(item->price), kStake)) {
    MsgBox("お金が足りません・・・。", vbOKOnly);
  } else {
    PlayBankSound("1Gren.wav");
    Record.Savings.units -= Yen(item->price).units;
    Record.*item->field = item->value;
    SaveShopData();
    ShowSavings();
  }
  label.Visible = false;
  button.Visible = false;
}

void RegisterShopScreen() {
  RegisterScreen(ScreenName::Shop, [] { Form3.Show(); });
}

void LeaveShop() {
  ShowScreen(ScreenName::Title);
  Form3.Unload();
}
