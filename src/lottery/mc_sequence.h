// The MC bonus: its start sequence, its games' own lottery and its countdown.
#pragma once

// The lottery of an MC game, in place of the internal lottery.
void McGameLottery();
// The end of an MC game: steps the countdown once for every counted game; the counter shows the games left even
// when no game counted.
void McCountdownStep(int countedGames);

// The start sequence: Timer4 runs McIntro, then McCountUp as often as the length needs, then McMusicStart.
void Timer4_Tick();
// The counter roll of the start sequence.
void Timer6_Tick();
// The tease bump of the count-up, or the end jingle 300 ms after the last game.
void Timer7_Tick();
void McIntro();
void McCountUp();
void McMusicStart();

// The MC music for the drawn length and the fanfare streak: mc1/mc2 for the plain MC, pmc1/pmc2 for a PMC.
const char* McMusicFile();
// Silences all four MC music loops.
void StopMcMusic();
