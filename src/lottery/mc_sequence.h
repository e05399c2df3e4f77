// The MC bonus: its start sequence, its games' own lottery and its countdown.
#pragma once

// The lottery of an MC game, in place of the internal lottery.
void McGameLottery();
// The end of an MC game: steps the countdown once for every counted game.
void McCountdownStep(int countedGames);
void Timer4_Tick();
void Timer6_Tick();
void Timer7_Tick();
