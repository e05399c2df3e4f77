// One copy of the game at a time on one save folder: two copies would each throw away the other's half-done
// saves. Run once at start-up, before the title screen.
#pragma once

// Takes the save folder (the sound folder, made when missing) for this run. False when another copy that is
// still running holds it: the player is told, and this copy must quit without touching the save files. A lock left
// by a copy that crashed never stands in the way.
bool TakeSaveFolder();
