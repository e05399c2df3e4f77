// The title screen, Form1: the player's name, savings and lifetime records, the owned items and their switches,
// the two speeds, and the buttons that register, initialise, buy the lottery display, open the shop and start.
#pragma once
#include "platform/screen.h"

class TitleScreen : public Screen {
 public:
  TitleScreen();

  // Heading and notice.
  Label Label5{this, "Label5"}, Label6{this, "Label6"};
  // Name.
  Label Label4{this, "Label4"};
  TextBox Text4{this, "Text4"};
  CommandButton Command2{this, "Command2"}, Command4{this, "Command4"};
  // Savings and records: caption, number box, unit box.
  Label Label3{this, "Label3"}, Label1{this, "Label1"}, Label8{this, "Label8"}, Label2{this, "Label2"},
      Label7{this, "Label7"}, Label9{this, "Label9"}, Label10{this, "Label10"}, Label13{this, "Label13"},
      Label12{this, "Label12"};
  TextBox Text8{this, "Text8"}, Text7{this, "Text7"};      // savings, 円
  TextBox Text1{this, "Text1"}, Text5{this, "Text5"};      // total MCs
  TextBox Text10{this, "Text10"}, Text9{this, "Text9"};    // total PMCs
  TextBox Text6{this, "Text6"}, Text2{this, "Text2"};      // largest MC
  TextBox Text12{this, "Text12"}, Text11{this, "Text11"};  // longest chain
  TextBox Text14{this, "Text14"}, Text13{this, "Text13"};  // most coins
  TextBox Text15{this, "Text15"}, Text16{this, "Text16"};  // longest MC run
  TextBox Text23{this, "Text23"}, Text24{this, "Text24"};  // bankruptcies
  TextBox Text22{this, "Text22"}, Text21{this, "Text21"};  // fanfare streaks
  // Owned items.
  Label Label11{this, "Label11"};
  TextBox Text3{this, "Text3"}, Text17{this, "Text17"}, Text26{this, "Text26"};
  Frame Frame3{this, "Frame3"};
  OptionButton Option9{this, "Option9"}, Option10{this, "Option10"};
  TextBox Text18{this, "Text18"};
  Frame Frame4{this, "Frame4"};
  OptionButton Option12{this, "Option12"}, Option11{this, "Option11"};
  TextBox Text19{this, "Text19"}, Text25{this, "Text25"};
  Frame Frame5{this, "Frame5"};
  OptionButton Option13{this, "Option13"}, Option14{this, "Option14"};
  TextBox Text20{this, "Text20"};
  // Speeds.
  Frame Frame1{this, "Frame1"};
  TextBox Text27{this, "Text27"};
  Label Label14{this, "Label14"};
  Frame Frame2{this, "Frame2"};
  OptionButton Option8{this, "Option8"}, Option7{this, "Option7"}, Option6{this, "Option6"},
      Option5{this, "Option5"};
  // Lottery display, shop, start.
  CommandButton Command5{this, "Command5"}, Command3{this, "Command3"}, Command1{this, "Command1"};
  // The data counter, after a day: where Start stood, which the record of the day hides.
  CommandButton CounterButton{this, "CounterButton"};

 protected:
  void Design() override;
};

extern TitleScreen Form1;
