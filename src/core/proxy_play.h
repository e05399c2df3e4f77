// Proxy play (a contracted player presses the keys through the same dispatcher) and fast play of MC games.
#pragma once

// F6.
void ProxyRequest();
void StartProxyPlay();
void Timer8_Tick();
// One fast-played MC game: counters only, no reels, no lottery, no sound.
void FastPlayStep();
// R: the hidden fast play and the setting checks.
void RKey();
// When the machine screen opens, a rich player's proxy may walk out of the contract for good.
void ProxyWalkOut();
// The proxy's name for a contract; false for a value that is no contract.
bool ProxyNameOf(float contract, const char** name);
