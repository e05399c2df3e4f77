// Time, events and message boxes, as the game asks for them.
#pragma once
#include <cstdint>
#include <string>

// Message box buttons and icons, and its answers.
constexpr int vbOKOnly = 0;
constexpr int vbYesNo = 4;
constexpr int vbExclamation = 48;
constexpr int vbOK = 1;
constexpr int vbYes = 6;
constexpr int vbNo = 7;

// Seconds since midnight (returns to 0 at midnight).
double Clock();
void Sleep(int ms);
// Dispatches pending input, due timer ticks and repaints nested inside the caller.
void DoEvents();
// A modal message box; an empty title shows the program's own title.
int MsgBox(const std::string& text, int buttons = vbOKOnly, const std::string& title = "");
// The program's own title, used by message boxes without a title of their own.
std::string& AppTitle();

// How deeply DoEvents calls are nested right now, and the deepest seen since the last reset.
int EventDepth();
int MaxEventDepth();
void ResetMaxEventDepth();

// A 64-bit seed for the random generator from the current clock.
std::uint64_t ClockSeed();
