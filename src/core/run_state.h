// The game's state as a new launch of the program finds it.
#pragma once

// Every state of the game back to its initial values: the day at the machine, the reels, the lottery and the MC,
// the record in memory, the player's name and the run's flags. The save files are not touched.
void ResetRunState();
