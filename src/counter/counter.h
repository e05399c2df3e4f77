// The data counter (データカウンター): it follows the day at the machine from outside the game, at the game's
// named points, and keeps the last days in its history file. The game behaves exactly the same without it.
#pragma once
#include "counter/counter_view.h"

// Follows the day (the calls below, at the game's named points) and is the screen the title's button shows.
void InstallDataCounter();

// The machine screen opened for a day.
void CounterDayStart();
// A game has ended: its reels stopped and its result paid. Further calls for the same game change nothing.
void CounterGameEnd();
// The cash-out: the day goes into the history (a registered player's day only; a test play is not recorded).
void CounterDayEnd();

// The machine screen's key handler, after the game's own dispatch: D opens or closes the window.
void CounterKey(int keyCode);
// Opens the window, or closes it when open (the title screen's button, the D key).
void ToggleCounter();
bool CounterOpen();
// The window was closed by its own close box.
void CounterClosedByPlayer();

// What the window shows now.
CounterModel CurrentCounterModel();
const CounterDay& CounterToday();
// Back to a program that has not played a day yet (tests, and each simulated launch).
void ResetCounter();
