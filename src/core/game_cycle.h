// One game from the bet to its end.
#pragma once

void PlaceBet();
void LeverOnSequence();
// The stop wait loop: accepts the stop keys, plays the stop sounds, and waits for the reels.
void WaitForStops();
void ReelBlackout();
// The steps a stop-key dispatch runs after the wait returns.
void EndOfGame();
void Timer12_Tick();
void Timer5_Tick();
