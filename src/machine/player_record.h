// The player's persistent record: savings, items, lifetime records and two speed preferences, and the name.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "machine/money.h"

// The stored name is always this many characters, padded with blanks.
constexpr int kNameChars = 30;

struct PlayerRecord {
  float ProxyContract = 0;    // games per proxy request: 0, 100, 300, 1000, 5000, 15000
  float ReservedItem = 0;     // carries no meaning; kept as read
  float PmcUpItem = 0;        // 0 not owned, 9 in use, 10 owned and not in use
  float SpectaclesGrade = 0;  // 0 none, 821 upgraded and in use, 820 upgraded and not in use
  float MembershipGames = 0;  // 0 none, 10000 owned
  float SpectaclesItem = 0;   // 0 not owned, 10 in use, 11 owned and not in use
  Currency Savings;
  float TotalMcCount = 0;
  float TotalPmcCount = 0;
  float BestMcGames = 0;
  float BestChain = 0;
  float BestCoins = 0;
  float BestMcRun = 0;
  float FanfareX5Item = 0;  // 15 not owned, 16 owned and not in use, 17 in use
  float FanfareTotal = 0;
  float BankruptCount = 0;
  float FastPlayCoins = 0;  // 0 not owned, else 5, 6, 7, 9 or 15 coins per fast game
  float FuaSpeed = 0;       // 1 slow, 2 normal, 3 fast, 4 very fast
  float DigitalSpeed = 0;   // digital display speed, 0..20 (the Y and U keys)
  // The name as stored: cut to 30 characters and padded with blanks.
  std::string Name = std::string(kNameChars, ' ');
  // A stored name that did not decode exactly (a byte the code page does not know, no converter at hand) is
  // written back as the very bytes read, as long as Name is still the name they read as.
  struct {
    std::string read;
    std::vector<std::uint8_t> bytes;
  } StoredName = {};
};

// The items' codes, stored as these exact numbers and compared for equality.
namespace ItemCodes {
constexpr float PmcUpInUse = 9, PmcUpIdle = 10;
constexpr float SpectaclesInUse = 10, SpectaclesIdle = 11;
constexpr float UpgradeIdle = 820, UpgradeInUse = 821;
constexpr float FanfareNotOwned = 15, FanfareIdle = 16, FanfareInUse = 17;
constexpr float Membership = 10000;
}  // namespace ItemCodes

// A new player's record: 200,000 yen, the fanfare item not owned, the normal fua speed, a blank name.
PlayerRecord InitialRecord();

// The six lifetime records, in the order both save files hold them.
constexpr int kRecordCount = 6;
inline constexpr float PlayerRecord::*kRecordFields[kRecordCount] = {
    &PlayerRecord::TotalMcCount, &PlayerRecord::TotalPmcCount, &PlayerRecord::BestMcGames,
    &PlayerRecord::BestChain,    &PlayerRecord::BestCoins,     &PlayerRecord::BestMcRun};

extern PlayerRecord Record;
// The registered name without leading and trailing blanks; empty for a test play that saves nothing.
extern std::string PlayerName;
// 1.0 after a bankruptcy during the day; not stored.
extern float BankruptToday;
// 100 when the save files disagree and must be initialised without asking.
extern std::int16_t DataBroken;
// 1 once a day has ended through the cash-out; stays 1 until the program ends.
extern std::int16_t BackFromMachine;
