// The layouts of the two save files, little-endian, no headers:
//   "VBDSND1.DLL", 80 bytes: the six item fields (float) at 0..23, the savings (currency) at 24, the six records
//   (float) at 32..55, FanfareX5Item, FanfareTotal, BankruptCount, FastPlayCoins, FuaSpeed, DigitalSpeed at 56..79.
//   "DataFiles": the savings at 0, the six records at 8..31, the name at 32 as 30 characters in CP932.
// Reading past the end of a file gives zeros and a blank name; bytes past the fields are ignored.
#pragma once
#include "machine/player_record.h"
#include "platform/files.h"

constexpr char kDataFiles[] = "DataFiles";
constexpr char kVbdsnd[] = "VBDSND1.DLL";
constexpr std::size_t kVbdsndSize = 80;
// The savings, the six records and a name of 30 characters of up to two bytes each.
constexpr std::size_t kDataFilesSize = 8 + 4 * kRecordCount + 2 * kNameChars;

// What "DataFiles" holds: the second copy of the savings and the records, and the name.
struct DataFilesCopy {
  Currency Savings;
  float Records[kRecordCount] = {};
  std::string Name = std::string(kNameChars, ' ');
  // Set when Name is not exactly what the bytes say (see PlayerRecord::StoredName).
  decltype(PlayerRecord::StoredName) StoredName;
};

Bytes EncodeVbdsnd(const PlayerRecord& r);
// Every field but the name, which this file does not hold. A field outside the savings and the six records that
// holds no number (NaN, infinity) reads as 0.
PlayerRecord DecodeVbdsnd(const Bytes& bytes);
Bytes EncodeDataFiles(const PlayerRecord& r);
DataFilesCopy DecodeDataFiles(const Bytes& bytes);

// The two copies agree when the savings match in every bit and each record has the same value.
bool CopiesAgree(const DataFilesCopy& check, const PlayerRecord& r);
// Every float field holds a number (no NaN, no infinity): anything else was not written by the game.
bool AllFieldsFinite(const PlayerRecord& r);
