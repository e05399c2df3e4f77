#include "lottery/internal_lottery.h"

// Not built yet: every game is drawn as a game without a result (GameFlag stays 0).
void InternalLottery() {}
