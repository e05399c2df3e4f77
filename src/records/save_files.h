// The two save files, "DataFiles" and "VBDSND1.DLL", in the working folder (the sound folder): loading and
// cross-checking them, initialising, and the three kinds of save.
#pragma once
#include "records/player_record.h"
#include "records/save_format.h"

// The copy of the savings, records and name read from "DataFiles" by the last LoadData.
extern DataFilesCopy CheckCopy;

// Reads both files into CheckCopy and Record, cross-checks them (initialising the data when they disagree or a
// name holds no readable file) and shows the record, the name and PlayerName on the title screen. Without the
// sound folder the record in memory is shown instead.
void LoadData();
// Saves the savings and the six records from the title screen's boxes, the name from its name box (without its
// control characters; a name the file cannot hold leaves the last one) and every other field from Record;
// PlayerName becomes the trimmed name.
void SaveData();
// DataBroken becomes 100 when the two copies disagree or a record is not a number; otherwise it is left alone.
void CheckData();
// Back to a new player's record: both files written, then loaded again. Asks first unless DataBroken is 100, in
// which case it tells the player the data were broken. True when it ran.
bool InitialiseData();
// Saves Record as it is in memory, under the name last loaded (after each purchase in the shop).
void SaveShopData();
// The stored "VBDSND1.DLL" as a work copy (the record in memory without the sound folder).
PlayerRecord FILEREAD();
// The cash-out at the end of a day: merges the day into the stored record and writes both files. A player
// without a name saves nothing.
void EndOfDaySave();

// Old values of the fast-play coins (8 and 12) become today's (9 and 15), each saved at once.
void UpgradeFastPlayCoins();
// The fua speed must be 1, 2, 3 or 4: any other value breaks the data and initialises them. True when valid.
bool FuaSpeedValid(float speed);
bool CheckFuaSpeed();
