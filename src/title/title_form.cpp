#include "title/title_form.h"

#include "core/screen_flow.h"
#include "machine/player_record.h"
#include "platform/events.h"
#include "title/title_screen.h"

TitleScreen Form1;

namespace {

constexpr Colour kPaper = 0xfff3f8;
constexpr Colour kInk = 0x3a2040;
constexpr Colour kHeading = 0xd0307a;
constexpr Colour kBox = 0xffffff;

void PlaceLabel(Label& l, int x, int y, int w, int h, const char* text, double size = 10, bool bold = false) {
  l.Move(x, y, w, h);
  l.Caption = text;
  l.ForeColor = kInk;
  l.BackStyle = 0;
  l.FontSize = size;
  l.FontBold = bold;
}

// A box the program fills: the player cannot type into it.
void PlaceBox(TextBox& t, int x, int y, int w, int h, const char* text = "", int align = 0) {
  t.Move(x, y, w, h);
  t.Text = text;
  t.Locked = true;
  t.Alignment = align;
  t.BackColor = kBox;
  t.ForeColor = kInk;
}

void PlaceOption(OptionButton& o, Frame& f, int x, int y, int w, const char* text) {
  o.Container = &f;
  o.Move(x, y, w, 18);
  o.Caption = text;
  o.BackColor = kPaper;
  o.ForeColor = kInk;
}

void PlaceFrame(Frame& f, int x, int y, int w, int h, const char* text = "") {
  f.Move(x, y, w, h);
  f.Caption = text;
  f.BackColor = kPaper;
  f.ForeColor = kInk;
}

}  // namespace

TitleScreen::TitleScreen() : Screen("Form1") {
  ClientWidth = 608;
  ClientHeight = 468;
  BackColor = kPaper;
  OnLoad = Form1_Load;
  Text4.OnChange = Text4_Change;
  Text4.OnEnter = Text4_Enter;
  Command1.OnClick = Command1_Click;
  Command2.OnClick = Command2_Click;
  Command3.OnClick = Command3_Click;
  Command4.OnClick = Command4_Click;
  Command5.OnClick = Command5_Click;
  Option8.OnClick = Option8_Click;
  Option7.OnClick = Option7_Click;
  Option6.OnClick = Option6_Click;
  Option5.OnClick = Option5_Click;
  Option9.OnClick = Option9_Click;
  Option10.OnClick = Option10_Click;
  Option12.OnClick = Option12_Click;
  Option11.OnClick = Option11_Click;
  Option13.OnClick = Option13_Click;
  Option14.OnClick = Option14_Click;
  CounterButton.OnClick = [] { ShowScreen(ScreenName::Counter); };
}

void TitleScreen::Design() {
  SetCaption(AppTitle());

  PlaceLabel(Label5, 16, 8, 200, 36, "スロット", 20, true);
  Label5.ForeColor = kHeading;
  PlaceLabel(Label6, 224, 16, 368, 22, "名前を登録すると記録が残ります。", 10, true);
  // After a day it reads "<name>さんの記録！！": a long name must not break the heading over two lines.
  Label6.OneLine = true;

  PlaceLabel(Label4, 16, 58, 72, 20, "名前");
  Text4.Move(96, 56, 220, 22);
  Text4.BackColor = kBox;
  Command2.Move(330, 54, 100, 26);
  Command2.Caption = "名前登録";
  Command2.Enabled = false;
  Command4.Move(440, 54, 150, 26);
  Command4.Caption = "データ初期化";
  Command4.Visible = false;

  // Savings and the records, one row each: caption, number, unit.
  struct Row {
    Label& caption;
    const char* name;
    TextBox& number;
    TextBox& unit;
    const char* unitText;
  };
  const Row rows[] = {
      {Label3, "貯蓄金額", Text8, Text7, "円"},      {Label1, "総ＭＣ数", Text1, Text5, "回"},
      {Label8, "総ＰＭＣ数", Text10, Text9, "回"},   {Label2, "最大ＭＣ", Text6, Text2, "Ｇ"},
      {Label7, "最多連荘数", Text12, Text11, "回"},  {Label9, "最多枚数", Text14, Text13, "枚"},
      {Label10, "連続ＭＣＧ", Text15, Text16, "Ｇ"}, {Label13, "破産回数", Text23, Text24, "回"},
      {Label12, "ﾌｧﾝﾌｧｰ連数", Text22, Text21, "回"},
  };
  int y = 94;
  for (const Row& r : rows) {
    PlaceLabel(r.caption, 16, y + 2, 100, 20, r.name);
    PlaceBox(r.number, 120, y, 150, 22, "", 1);
    PlaceBox(r.unit, 272, y, 44, 22, r.unitText);
    y += 26;
  }

  // Owned items, hidden until one is owned.
  PlaceLabel(Label11, 330, 94, 262, 20, "保有ゴトスキル", 10, true);
  Label11.Visible = false;
  // The item lines sit on the paper itself, so that an item not owned leaves no white gap.
  for (TextBox* t : {&Text3, &Text17, &Text26}) {
    PlaceBox(*t, 330, t == &Text3 ? 116 : t == &Text17 ? 138 : 160, 262, 20);
    t->BackColor = kPaper;
  }
  PlaceFrame(Frame3, 330, 184, 262, 60);
  PlaceBox(Text18, 8, 14, 246, 20);
  Text18.Container = &Frame3;
  PlaceOption(Option9, Frame3, 8, 38, 64, "使う");
  PlaceOption(Option10, Frame3, 80, 38, 90, "使わない");
  Option9.Value = true;
  PlaceFrame(Frame4, 330, 246, 262, 60);
  PlaceBox(Text19, 8, 14, 164, 20);
  PlaceBox(Text25, 174, 14, 80, 20);
  Text19.Container = Text25.Container = &Frame4;
  PlaceOption(Option12, Frame4, 8, 38, 64, "使う");
  PlaceOption(Option11, Frame4, 80, 38, 90, "使わない");
  Option12.Value = true;
  PlaceFrame(Frame5, 330, 308, 262, 60);
  PlaceBox(Text20, 8, 14, 246, 20);
  Text20.Container = &Frame5;
  PlaceOption(Option13, Frame5, 8, 38, 64, "使う");
  PlaceOption(Option14, Frame5, 80, 38, 90, "使わない");
  Option13.Value = true;
  Frame3.Visible = Frame4.Visible = Frame5.Visible = false;

  // The two speeds; no fua speed is chosen until the record is loaded.
  PlaceFrame(Frame1, 16, 332, 300, 70, "デジスピード");
  PlaceBox(Text27, 8, 20, 40, 22, "", 1);
  Text27.Container = &Frame1;
  PlaceLabel(Label14, 54, 18, 240, 46, "「1～20」 変更はプレイ中のみ。「Y・U」ボタンで行ってください。", 9);
  Label14.Container = &Frame1;
  PlaceFrame(Frame2, 16, 408, 300, 48, "「ふぁっ」スピード");
  PlaceOption(Option8, Frame2, 8, 22, 64, "遅い");
  PlaceOption(Option7, Frame2, 76, 22, 64, "普通");
  PlaceOption(Option6, Frame2, 144, 22, 64, "速い");
  PlaceOption(Option5, Frame2, 212, 22, 80, "超速い");

  Command5.Move(330, 378, 126, 30);
  Command5.Caption = "内部抽選表示";
  Command3.Move(466, 378, 126, 30);
  Command3.Caption = "ゴ　ト　屋";
  Command3.Visible = false;
  Command1.Move(330, 416, 262, 40);
  Command1.Caption = "スタート";
  Command1.FontSize = 14;
  Command1.FontBold = true;
  CounterButton.Move(330, 420, 126, 28);
  CounterButton.Caption = "データカウンター";
  CounterButton.Visible = BackFromMachine == 1;
}
