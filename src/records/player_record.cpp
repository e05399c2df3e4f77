#include "records/player_record.h"

PlayerRecord Record;
std::string PlayerName;
float BankruptToday = 0;
