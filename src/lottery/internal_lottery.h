// The internal lottery drawn at every lever-on of a normal game, and the lottery's hand-overs around an MC.
#pragma once

// Draws what the game is (nothing, replay, mame role, digital-display game or the MC), its pay line, stop pattern
// and sounds, and runs the mode/cycle machine with the ceiling. Called by the lever-on while no MC runs.
void InternalLottery();
// The chance of a fanfare-streak continuation at the end of the next MC, drawn after a cycle win.
void StreakRankDraw();
// The mode carry-over when an MC ends without a streak continuation.
void ResetLotteryAfterMc();
