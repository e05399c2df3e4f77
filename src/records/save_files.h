// The two save files, "DataFiles" and "VBDSND1.DLL", in the working folder (the sound folder): cross-checking
// them, the shop's save and the cash-out's.
#pragma once
#include "machine/player_record.h"
#include "records/save_format.h"

// The copy of the savings, records and name read from "DataFiles" by the last LoadData.
extern DataFilesCopy CheckCopy;

// Writes both files from a record; tells the player when they cannot be written. Without the sound folder the
// record in memory stands in for the files for the rest of the run, so that the day's result still shows.
bool WriteRecord(const PlayerRecord& r);

// DataBroken becomes 100 when the two copies disagree or a record is not a number; otherwise it is left alone.
void CheckData();
// Saves Record as it is in memory, under the name last loaded (after each purchase in the shop).
void SaveShopData();
// The stored "VBDSND1.DLL" as a work copy (the record in memory without the sound folder).
PlayerRecord FILEREAD();
// The cash-out at the end of a day: merges the day into the stored record and writes both files. A player
// without a name saves nothing.
void EndOfDaySave();

// The fua speed must be 1, 2, 3 or 4.
bool FuaSpeedValid(float speed);
