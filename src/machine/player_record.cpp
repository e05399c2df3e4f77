#include "machine/player_record.h"

PlayerRecord Record;
std::string PlayerName;
float BankruptToday = 0;
std::int16_t DataBroken = 0;
std::int16_t BackFromMachine = 0;

PlayerRecord InitialRecord() {
  PlayerRecord r;
  r.Savings = Currency::FromYen(200000);
  r.FanfareX5Item = ItemCodes::FanfareNotOwned;
  r.FuaSpeed = 2;
  return r;
}
