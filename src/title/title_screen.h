// The title screen's behaviour: its load sequence, the option and button handlers, and its return after a day.
#pragma once
#include <cstdint>

// Shows the title screen, loaded afresh so that its load sequence runs again.
void ShowTitleScreen();
// The title is the screen shown for ScreenName::Title.
void RegisterTitleScreen();

// Finds the program's folder (AppFolder) at each load. Tests point it at a scratch folder of their own.
extern void (*LocateAppFolder)();
// True once the player quit from the title screen and the sound bank went with it.
bool SoundBankReleased();

// Handlers of Form1.
void Form1_Load();
void Text4_Change();
void Text4_Enter();  // Enter in the name box registers the name, as the button does
void Command1_Click();  // Start
void Command2_Click();  // name registration, or quit
void Command3_Click();  // the shop
void Command4_Click();  // initialise the data
void Command5_Click();  // the internal-lottery display
void Option8_Click();  // 遅い
void Option7_Click();  // 普通
void Option6_Click();  // 速い
void Option5_Click();  // 超速い
void Option9_Click();
void Option10_Click();
void Option12_Click();
void Option11_Click();
void Option13_Click();
void Option14_Click();
