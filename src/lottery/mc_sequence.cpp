#include "lottery/mc_sequence.h"

// Not built yet: no MC is ever started, so these are never reached in play.
void McGameLottery() {}
void McCountdownStep(int) {}
void Timer4_Tick() {}
void Timer6_Tick() {}
void Timer7_Tick() {}
