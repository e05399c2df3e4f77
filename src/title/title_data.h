// The record as the title screen shows it: the save files loaded into its boxes, saved from them, initialised.
#pragma once

// Reads both files into CheckCopy and Record, cross-checks them (initialising the data when they disagree or a
// name holds no readable file) and shows the record, the name and PlayerName on the title screen. Without the
// sound folder the record in memory is shown instead.
void LoadData();
// Saves the savings and the six records from the title screen's boxes, the name from its name box (without its
// control characters; a name the file cannot hold leaves the last one) and every other field from Record;
// PlayerName becomes the trimmed name.
void SaveData();
// Back to a new player's record: both files written, then loaded again. Asks first unless DataBroken is 100, in
// which case it tells the player the data were broken. True when it ran.
bool InitialiseData();
// Old values of the fast-play coins (8 and 12) become today's (9 and 15), each saved at once.
void UpgradeFastPlayCoins();
// An invalid fua speed (not 1, 2, 3 or 4) breaks the data and initialises them. True when valid.
bool CheckFuaSpeed();
