// The lever and stop premonitions of a won MC, up to its reveal.
#pragma once

// Runs once per lever-on while a won MC waits to be revealed, and in the game the MC is won: chooses the game's
// lever and stop sounds and stop pattern, counts down to the reveal and reveals.
void RevealSequence();
