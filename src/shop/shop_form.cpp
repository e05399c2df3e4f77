#include "shop/shop_form.h"

#include "shop/shop.h"

ShopScreen Form3;

namespace {

constexpr Colour kPaper = 0xfff7e8;
constexpr Colour kInk = 0x3a2a20;
constexpr Colour kAccent = 0xc0401a;
constexpr Colour kBox = 0xffffff;

void PlaceLabel(Label& l, int x, int y, int w, int h, const char* text, double size = 10, bool bold = false) {
  l.Move(x, y, w, h);
  l.Caption = text;
  l.ForeColor = kInk;
  l.BackStyle = 0;
  l.FontSize = size;
  l.FontBold = bold;
}

void PlaceOption(OptionButton& o, Frame& f, int y, const char* text) {
  o.Container = &f;
  o.Move(16, y, 290, 20);
  o.Caption = text;
  // The price, after the blanks, lines up with the prices above and below it.
  o.LastWordRight = true;
  o.BackColor = kPaper;
  o.ForeColor = kInk;
}

void PlaceButton(CommandButton& c, int x, int y, int w, int h, const char* text, Element* in = nullptr) {
  c.Container = in;
  c.Move(x, y, w, h);
  c.Caption = text;
}

void PlaceFrame(Frame& f, int x, int y, int w, int h) {
  f.Move(x, y, w, h);
  f.BackColor = kPaper;
  f.ForeColor = kInk;
}

}  // namespace

ShopScreen::ShopScreen() : Screen("Form3") {
  ClientWidth = 700;
  ClientHeight = 468;
  BackColor = kPaper;
  OnLoad = Form3_Load;
  Command1.OnClick = BuyProxy;
  Command3.OnClick = BuyFastPlay;
  Command4.OnClick = [this] { BuyMysteryItem(Label6, Command4); };
  Command5.OnClick = [this] { BuyMysteryItem(Label7, Command5); };
  Command9.OnClick = [this] { BuyMysteryItem(Label14, Command9); };
  Command6.OnClick = [this] { BuyMysteryItem(Label8, Command6); };
  Command2.OnClick = LeaveShop;
  for (OptionButton* o : {&Option1, &Option2, &Option3, &Option4, &Option5, &Option6})
    o->OnClick = [o] { ChooseProxy(*o); };
  for (OptionButton* o : {&Option12, &Option11, &Option10, &Option9, &Option8, &Option7})
    o->OnClick = [o] { ChooseFastPlay(*o); };
}

void ShopScreen::Design() {
  PlaceLabel(Label3, 16, 16, 80, 22, "貯蓄金額", 11, true);
  Text8.Move(100, 14, 150, 24);
  Text8.Locked = true;
  Text8.Alignment = 1;
  Text8.BackColor = kBox;
  Text8.ForeColor = kInk;
  Text8.FontSize = 11;
  Text7.Move(254, 14, 200, 24);
  Text7.Text = "円(軍資金３万円を残します)";
  Text7.Locked = true;
  Text7.BackColor = kPaper;
  Text7.ForeColor = kInk;
  PlaceLabel(Label9, 470, 16, 214, 22, "メガネ度数アップゲット", 11, true);
  Label9.ForeColor = kAccent;
  Label9.Alignment = 1;
  Label9.Visible = false;

  // Proxy players: the options stand in their frame, "買わない" chosen.
  PlaceFrame(Frame1, 16, 52, 326, 250);
  PlaceLabel(Label1, 12, 10, 200, 20, "代打ち：", 11, true);
  Label1.Container = &Frame1;
  PlaceLabel(Label4, 12, 32, 306, 36, "あなたに代わって代打ちしてくれます。たまにさぼります・・・。", 9);
  Label4.Container = &Frame1;
  PlaceOption(Option1, Frame1, 72, "もこじろう( 100G)　　 　50,000円");
  PlaceOption(Option2, Frame1, 94, "もこたろう( 300G)　　　150,000円");
  PlaceOption(Option3, Frame1, 116, "もこパパ　(1000G)　　1,000,000円");
  PlaceOption(Option4, Frame1, 138, "にゃんすけ(5000G)　　2,000,000円");
  PlaceOption(Option5, Frame1, 160, "もこゴッド(????G)　  5,000,000円");
  PlaceOption(Option6, Frame1, 182, "買わない");
  Option6.Value = true;
  PlaceButton(Command1, 206, 210, 104, 30, "買　う", &Frame1);
  Command1.Visible = false;

  // The T key.
  PlaceFrame(Frame2, 358, 52, 326, 250);
  PlaceLabel(Label2, 12, 10, 250, 20, "時間短縮「T」ボタン：", 11, true);
  Label2.Container = &Frame2;
  PlaceLabel(Label5, 12, 32, 306, 36, "ＭＣ中残り１５回まで早回しできます。", 9);
  Label5.Container = &Frame2;
  PlaceOption(Option12, Frame2, 72, "５枚補償　　　　 50,000円");
  PlaceOption(Option11, Frame2, 94, "６枚補償　　　　150,000円");
  PlaceOption(Option10, Frame2, 116, "７枚補償　　　1,000,000円");
  PlaceOption(Option9, Frame2, 138, "９枚補償　　　3,000,000円");
  PlaceOption(Option8, Frame2, 160, "??枚補償 　　10,000,000円");
  PlaceOption(Option7, Frame2, 182, "買わない");
  Option7.Value = true;
  PlaceButton(Command3, 206, 210, 104, 30, "買　う", &Frame2);
  Command3.Visible = false;

  // The four mystery items, off the shelf until the savings reach them.
  struct Shelf {
    Label& label;
    CommandButton& button;
    const char* text;
  };
  const Shelf shelves[] = {{Label6, Command4, "？？？？　1000万円"},
                           {Label7, Command5, "？？？？　1000万円"},
                           {Label14, Command9, "？？？？　1000万円"},
                           {Label8, Command6, "？？？？　2000万円"}};
  int x = 16;
  for (const Shelf& s : shelves) {
    PlaceLabel(s.label, x, 316, 160, 22, s.text, 11, true);
    s.label.Alignment = 2;
    s.label.Visible = false;
    PlaceButton(s.button, x + 28, 342, 104, 28, "買　う");
    s.button.Visible = false;
    x += 168;
  }

  PlaceLabel(Label13, 16, 384, 520, 44,
             "おめでとうございます。ゴトスキルGET完了です！！長時間のプレイありがとうございました。", 11, true);
  Label13.ForeColor = kAccent;
  Label13.Visible = false;
  PlaceButton(Command2, 564, 420, 120, 36, "戻　る");
  Command2.FontSize = 12;
  Command2.FontBold = true;
}
