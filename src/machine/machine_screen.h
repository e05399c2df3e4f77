// The machine screen, Form2: the slot machine, its counters and key help, and its twelve timers.
#pragma once
#include "platform/screen.h"

class MachineScreen : public Screen {
 public:
  MachineScreen();

  Label Label1{this, "Label1"}, Label2{this, "Label2"}, Label3{this, "Label3"}, Label4{this, "Label4"},
      Label5{this, "Label5"}, Label6{this, "Label6"}, Label7{this, "Label7"}, Label8{this, "Label8"},
      Label9{this, "Label9"}, Label10{this, "Label10"}, Label11{this, "Label11"}, Label12{this, "Label12"},
      Label13{this, "Label13"}, Label14{this, "Label14"}, Label15{this, "Label15"}, Label16{this, "Label16"},
      Label17{this, "Label17"}, Label18{this, "Label18"}, Label19{this, "Label19"}, Label20{this, "Label20"},
      Label21{this, "Label21"}, Label22{this, "Label22"}, Label23{this, "Label23"}, Label24{this, "Label24"},
      Label25{this, "Label25"}, Label26{this, "Label26"}, Label27{this, "Label27"}, Label28{this, "Label28"},
      Label29{this, "Label29"}, Label30{this, "Label30"}, Label31{this, "Label31"}, Label32{this, "Label32"},
      Label33{this, "Label33"}, Label34{this, "Label34"}, Label35{this, "Label35"}, Label36{this, "Label36"},
      Label37{this, "Label37"}, Label38{this, "Label38"}, Label39{this, "Label39"}, Label40{this, "Label40"},
      Label41{this, "Label41"}, Label42{this, "Label42"}, Label43{this, "Label43"}, Label44{this, "Label44"},
      Label45{this, "Label45"}, Label46{this, "Label46"}, Label47{this, "Label47"};

  PictureBox Picture0{this, "Picture0"}, Picture1{this, "Picture1"}, Picture2{this, "Picture2"},
      Picture3{this, "Picture3"}, Picture4{this, "Picture4"}, Picture5{this, "Picture5"}, Picture6{this, "Picture6"},
      Picture7{this, "Picture7"}, Picture8{this, "Picture8"}, Picture9{this, "Picture9"},
      Picture10{this, "Picture10"}, Picture11{this, "Picture11"}, Picture12{this, "Picture12"},
      Picture13{this, "Picture13"}, Picture14{this, "Picture14"}, Picture15{this, "Picture15"},
      Picture16{this, "Picture16"}, Picture17{this, "Picture17"}, Picture18{this, "Picture18"},
      Picture19{this, "Picture19"}, Picture20{this, "Picture20"}, Picture21{this, "Picture21"},
      Picture22{this, "Picture22"}, Picture23{this, "Picture23"}, Picture24{this, "Picture24"},
      Picture25{this, "Picture25"}, Picture26{this, "Picture26"}, Picture27{this, "Picture27"},
      Picture28{this, "Picture28"}, Picture29{this, "Picture29"}, Picture30{this, "Picture30"},
      Picture31{this, "Picture31"}, Picture32{this, "Picture32"}, Picture33{this, "Picture33"},
      Picture34{this, "Picture34"}, Picture35{this, "Picture35"}, Picture36{this, "Picture36"},
      Picture37{this, "Picture37"}, Picture38{this, "Picture38"}, Picture39{this, "Picture39"},
      Picture40{this, "Picture40"}, Picture41{this, "Picture41"};

  TextBox Text1{this, "Text1"};

  // The displays the game reads and writes, by what they show; the design's own names beside them.
  Label& Credits = Label8;          // coins held (枚)
  Label& Money = Label6;            // cash on hand (円)
  Label& TotalGames = Label10;      // games played (総ゲーム)
  Label& GamesSinceMc = Label28;    // games since the last MC (MC間数)
  Label& McRunGames = Label12;      // MC games in the current run (MC継続数)
  Label& McCount = Label26;         // the day's MCs (MC回数)
  Label& PmcCount = Label25;        // the day's PMCs (PMC回数)
  Label& FanfareCount = Label40;    // fanfare streaks (ﾌｧﾝﾌｧｰ連)
  Label& McCounter = Label14;       // the big counter: an MC's games left
  Label& PremonitionLine = Label22;  // the premonition line under it
  Label& ChainNow = Label17;        // streak table: bonuses in the current chain
  Label& ChainBest = Label21;       // streak table: the most in a chain
  Label& McLengthNow = Label19;     // streak table: the current MC's length
  Label& McLengthBest = Label31;    // streak table: the longest MC
  Label& RunGamesNow = Label20;     // streak table: MC games in the current run
  Label& RunGamesBest = Label18;    // streak table: the most MC games in a run
  Label& ProxyStatus = Label34;     // the proxy player's status line
  Label& SpeedHelp = Label35;       // key help: the digital display speed (Y, U)
  Label& ProxyHelp = Label36;       // key help: the proxy player (F6)
  Label& FastPlayHelp = Label15;    // key help: fast play (T)
  Label& CounterHelp = Label47;     // key help: the data counter (D)
  Label& FanfareItemLine = Label42;  // item in use: the fanfare streak item
  Label& PmcUpItemLine = Label43;   // item in use: the PMC odds item
  Label& MembershipLine = Label44;  // item in use: the membership
  Label& LotteryReadout = Label45;  // the internal lottery's readout (one-shot, cycle)
  Label& ModeReadout = Label46;     // the internal lottery's mode readout

  Timer Timer1{this, "Timer1"}, Timer2{this, "Timer2"}, Timer3{this, "Timer3"}, Timer4{this, "Timer4"},
      Timer5{this, "Timer5"}, Timer6{this, "Timer6"}, Timer7{this, "Timer7"}, Timer8{this, "Timer8"},
      Timer9{this, "Timer9"}, Timer10{this, "Timer10"}, Timer11{this, "Timer11"}, Timer12{this, "Timer12"};

  // The picture box of a proxy portrait by contract (100, 300, 1000, 5000, 15000), or none.
  PictureBox* PortraitOf(float contract);

 protected:
  void Design() override;
};

extern MachineScreen Form2;
