#include "machine/machine_screen.h"


MachineScreen Form2;

namespace {

// Colours of the hall: a deep night-blue wall, warm counter digits, pale key help.
constexpr Colour kWall = 0x141a2e;
constexpr Colour kHelp = 0xc8d2f0;
constexpr Colour kCounter = 0xffd24a;
constexpr Colour kUnit = 0xe8e8e8;
constexpr Colour kTable = 0x9fe8ff;
constexpr Colour kMcCounter = 0xff4040;
constexpr Colour kItem = 0xff9ad0;

void Place(Label& l, int x, int y, int w, int h, const char* caption, Colour colour, double size = 9,
           int align = 0, bool bold = false) {
  l.Move(x, y, w, h);
  l.Caption = caption;
  l.ForeColor = colour;
  l.BackColor = kWall;
  l.BackStyle = 0;
  l.FontSize = size;
  l.Alignment = align;
  l.FontBold = bold;
}

// A picture box that only holds an image for the reels: behind the cabinet, never seen.
void Holder(PictureBox& p, int w, int h) {
  p.Move(0, 0, w, h);
  p.DesignPicture = p.Name();
  p.SendToBack();
}

void InFront(PictureBox& p, int x, int y, int w, int h, bool builtIn = true) {
  p.Move(x, y, w, h);
  if (builtIn) p.DesignPicture = p.Name();
  p.BringToFront();
}

}  // namespace

MachineScreen::MachineScreen() : Screen("Form2") {
  ClientWidth = 757;
  ClientHeight = 596;
  BackColor = kWall;
}

PictureBox* MachineScreen::PortraitOf(float contract) {
  if (contract == 100) return &Picture30;
  if (contract == 300) return &Picture31;
  if (contract == 1000) return &Picture32;
  if (contract == 5000) return &Picture33;
  if (contract == 15000) return &Picture34;
  return nullptr;
}

void MachineScreen::Design() {
  // Key help along the bottom.
  Place(Label1, 0, 512, 224, 16, "操作方法：「↑」　BET ＆ PLAY", kHelp);
  Place(Label2, 0, 528, 224, 16, "　　　　：「←」　左リールSTOP", kHelp);
  Place(Label3, 0, 544, 224, 16, "　　　　：「↓」　中リールSTOP", kHelp);
  Place(Label4, 0, 560, 224, 16, "　　　　：「→」　右リールSTOP", kHelp);
  Place(Label5, 0, 576, 224, 16, "　　　　：「Ctrl」　BET ONLY", kHelp);
  Place(Label37, 224, 512, 304, 16, "：「1～4」　リール速度調節", kHelp);
  Place(Label35, 224, 528, 304, 16, "：「Y・U」", kHelp);
  Place(Label36, 224, 544, 304, 16, "：「F6」　　代打ちにお願い 「5～7」速度変更", kHelp);
  Label36.Visible = false;
  Place(Label15, 224, 560, 304, 16, "：「Ｔ」　　７枚補償早回し", kHelp);
  Label15.Visible = false;
  Place(Label39, 224, 576, 120, 16, "：「esc」　終 了", kHelp);
  Place(Label47, 344, 576, 176, 16, "：「D」　データカウンター", kHelp);
  Place(Label44, 528, 528, 229, 16, "：闇会員権使用！", kItem);
  Place(Label43, 528, 544, 229, 16, "：ＰＭＣ率ＵＰ（約８％）", kItem);
  Place(Label42, 528, 560, 229, 16, "：ファンファー連突入率５倍", kItem);
  Label42.Visible = Label43.Visible = Label44.Visible = false;
  Place(Label38, 528, 576, 229, 18, "パチスロ　モフラン", 0xffb0d8, 10, 1, true);

  // The streak table: best and current, for chained bonuses, MC length and MC games.
  Place(Label33, 600, 8, 72, 18, "最大", kTable, 10, 2, true);
  Place(Label32, 672, 8, 73, 18, "現在", kTable, 10, 2, true);
  Place(Label16, 544, 40, 56, 20, "連荘", kTable, 11, 0, true);
  Place(Label21, 600, 40, 72, 20, "/", kCounter, 11, 1);
  Place(Label17, 672, 40, 73, 20, "0 回", kCounter, 11, 1);
  Place(Label30, 544, 72, 56, 20, "ＭＣ", kTable, 11, 0, true);
  Place(Label31, 600, 72, 72, 20, "/", kCounter, 11, 1);
  Place(Label19, 672, 72, 73, 20, "0 回", kCounter, 11, 1);
  Place(Label29, 544, 104, 56, 20, "回数", kTable, 11, 0, true);
  Place(Label18, 600, 104, 72, 20, "/", kCounter, 11, 1);
  Place(Label20, 672, 104, 73, 20, "0 回", kCounter, 11, 1);

  // The big MC counter and the premonition line.
  Place(Label14, 512, 144, 177, 57, "", kMcCounter, 32, 2, true);
  Place(Label22, 512, 208, 177, 57, "", 0xfff080, 11, 2, true);

  // Internal-lottery readout.
  Place(Label45, 536, 280, 221, 16, "", 0x90ff90, 9);
  Label45.Visible = false;
  Place(Label46, 640, 297, 117, 16, "", 0x90ff90, 9);

  // Money, coins and counters.
  Place(Label8, 544, 328, 124, 22, "0", kCounter, 13, 1, true);
  Place(Label9, 672, 328, 40, 22, "枚", kUnit, 12);
  Place(Label6, 528, 360, 164, 22, "30000", kCounter, 13, 1, true);
  Place(Label7, 696, 360, 40, 22, "円", kUnit, 12);
  Place(Label10, 528, 384, 124, 22, "0", kCounter, 12, 1);
  Place(Label11, 656, 384, 100, 22, "総ゲーム", kUnit, 11);
  Place(Label28, 528, 408, 124, 22, "0", kCounter, 12, 1);
  Place(Label27, 656, 408, 100, 22, "MC間数", kUnit, 11);
  Place(Label12, 528, 432, 124, 22, "0", kCounter, 12, 1);
  Place(Label13, 656, 432, 100, 22, "MC継続数", kUnit, 11);
  Place(Label24, 544, 456, 88, 20, "MC回数 :", kUnit, 11);
  Place(Label26, 632, 456, 64, 20, "0", kCounter, 11, 1);
  Place(Label23, 544, 480, 88, 20, "PMC回数:", kUnit, 11);
  Place(Label25, 632, 480, 64, 20, "0", kCounter, 11, 1);
  Place(Label41, 544, 504, 88, 20, "ﾌｧﾝﾌｧｰ連:", kUnit, 11);
  Place(Label40, 632, 504, 64, 20, "0", kCounter, 11, 1);

  // Proxy status line over the portraits.
  Place(Label34, 368, 416, 154, 20, "", 0xffffff, 10, 2, true);
  Label34.BackStyle = 1;
  Label34.BackColor = 0x402060;
  Label34.Visible = false;

  Text1.Move(704, 480, 48, 20);
  Text1.Visible = false;

  // Picture boxes that only hold images for the reels and the display, behind the cabinet.
  Holder(Picture1, 127, 186);
  Holder(Picture2, 135, 186);
  Holder(Picture3, 130, 186);
  Holder(Picture6, 393, 186);
  for (PictureBox* p : {&Picture7, &Picture8, &Picture9, &Picture10, &Picture11, &Picture12, &Picture13,
                        &Picture14, &Picture15, &Picture16, &Picture17, &Picture18, &Picture19, &Picture20,
                        &Picture21, &Picture22, &Picture23, &Picture24, &Picture25})
    Holder(*p, 110, 55);
  Holder(Picture26, 127, 186);
  Holder(Picture27, 135, 186);
  Holder(Picture28, 130, 186);
  Holder(Picture38, 97, 55);
  // The proxy portraits share one place behind the cabinet until their proxy plays.
  // Inside the seat's frame, under the status line.
  for (PictureBox* p : {&Picture30, &Picture31}) Holder(*p, 132, 66), p->Move(368, 436, 132, 66);
  for (PictureBox* p : {&Picture32, &Picture33, &Picture34}) Holder(*p, 132, 66), p->Move(376, 436, 132, 66);

  // The cabinet, and in front of it the reel window, the lamps, the digit windows and the plain panels.
  Picture0.Move(0, 0, 532, 507);
  Picture0.DesignPicture = "Picture0";
  InFront(Picture4, 32, 100, 393, 186);
  InFront(Picture5, 48, 384, 68, 27);
  InFront(Picture29, 437, 303, 94, 91);
  Picture29.Visible = false;
  for (PictureBox* p : {&Picture37, &Picture40, &Picture41}) p->BackColor = 0xffffff;
  InFront(Picture37, 457, 246, 18, 26, false);
  InFront(Picture40, 475, 246, 18, 26, false);
  InFront(Picture41, 493, 246, 18, 26, false);
  for (PictureBox* p : {&Picture35, &Picture36, &Picture39}) p->BackColor = 0x2a2f45;
  InFront(Picture35, 457, 116, 53, 26, false);
  InFront(Picture36, 457, 210, 53, 25, false);
  // This panel would cover the proxy seat drawn on the cabinet: it stays behind it.
  Picture39.Move(480, 448, 57, 28);
  Picture39.SendToBack();
}
