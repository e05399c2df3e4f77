// The result presentation of a game with a result: the fanfare of an aligned MC, the replay re-bet, the 12 coins
// of the mame role, the digital display's spin, and the MC's growth at 100 games left.
#pragma once
#include "lottery/digital_display.h"

// Runs at the end of a game with a result while its presentation is pending, once per game. Starts the
// presentation timer (Timer5), whose tick makes the machine ready for the next game.
void FunFun();
