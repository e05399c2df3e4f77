// The program put together: the machine screen connected to the game, and the screens above the game (the title,
// the shop, the data counter) registered with the screen flow. The game, the simulator and the tests assemble it
// the same way.
#pragma once

void AssembleProgram();
