// What the dealer's shop does: its opening, the choices and the purchases.
#pragma once
#include "platform/elements.h"

void Form3_Load();
// A proxy option, or a T-key option, was chosen.
void ChooseProxy(OptionButton& o);
void ChooseFastPlay(OptionButton& o);
// The buy buttons: Command1 (proxy), Command3 (T key), and a mystery item's button with its label.
void BuyProxy();
void BuyFastPlay();
void BuyMysteryItem(Label& label, CommandButton& button);
// "戻　る": the title screen comes back and the shop closes.
void LeaveShop();
// The shop is the screen shown for ScreenName::Shop.
void RegisterShopScreen();
