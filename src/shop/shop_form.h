// The dealer's shop, Form3: proxy players, the T key and four mystery items, bought with the savings.
#pragma once
#include "machine/money.h"
#include "platform/screen.h"

class ShopScreen : public Screen {
 public:
  ShopScreen();

  // Savings.
  Label Label3{this, "Label3"};
  TextBox Text8{this, "Text8"}, Text7{this, "Text7"};
  // The notice of the upgraded spectacles, top right.
  Label Label9{this, "Label9"};
  // Proxy players.
  Frame Frame1{this, "Frame1"};
  Label Label1{this, "Label1"}, Label4{this, "Label4"};
  OptionButton Option1{this, "Option1"}, Option2{this, "Option2"}, Option3{this, "Option3"},
      Option4{this, "Option4"}, Option5{this, "Option5"}, Option6{this, "Option6"};
  CommandButton Command1{this, "Command1"};
  // The T key.
  Frame Frame2{this, "Frame2"};
  Label Label2{this, "Label2"}, Label5{this, "Label5"};
  OptionButton Option12{this, "Option12"}, Option11{this, "Option11"}, Option10{this, "Option10"},
      Option9{this, "Option9"}, Option8{this, "Option8"}, Option7{this, "Option7"};
  CommandButton Command3{this, "Command3"};
  // The four mystery items: PMC odds, spectacles, membership, fanfare streaks.
  Label Label6{this, "Label6"}, Label7{this, "Label7"}, Label14{this, "Label14"}, Label8{this, "Label8"};
  CommandButton Command4{this, "Command4"}, Command5{this, "Command5"}, Command9{this, "Command9"},
      Command6{this, "Command6"};
  // The completed set, and the way back.
  Label Label13{this, "Label13"};
  CommandButton Command2{this, "Command2"};

 protected:
  void Design() override;
};

extern ShopScreen Form3;

// The prices of the chosen proxy option and T-key option; 0 while "買わない" is chosen.
extern Currency ShopPrice;
extern Currency ShopFastPlayPrice;

// Hide every proxy option, and every T-key option, up to the one held: only dearer ones can replace it.
void ShowProxyChoices();
void ShowFastPlayChoices();
