#include "records/save_files.h"

#include <cstdint>

#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/play_state.h"
#include "platform/convert.h"
#include "platform/events.h"
#include "records/name_text.h"
#include "records/save_store.h"

DataFilesCopy CheckCopy;

bool WriteRecord(const PlayerRecord& r) {
  if (WriteSavePair(EncodeDataFiles(r), EncodeVbdsnd(r))) return true;
  if (!SaveFolderReady()) Record = r;
  MsgBox("データを保存できませんでした。", vbOKOnly | vbExclamation, "注意！");
  return false;
}

namespace {

// The larger of a stored record and the day's value.
void Best(float& stored, double day) {
  if (day > stored) stored = static_cast<float>(day);
}

}  // namespace

void CheckData() {
  if (!CopiesAgree(CheckCopy, Record) || !AllFieldsFinite(Record)) DataBroken = 100;
}

void SaveShopData() { WriteRecord(Record); }

PlayerRecord FILEREAD() {
  if (!SaveFolderReady()) return Record;
  RecoverInterruptedSave();
  FileRead read = FileRead::Read;
  const Bytes vbdsnd = ReadSaveFile(kVbdsnd, &read);
  if (read != FileRead::Unreadable) return DecodeVbdsnd(vbdsnd);
  // Merged into nothing, the day would overwrite every stored item and record: the files stay as they are.
  HoldSaveFiles(SaveFilesHold::Untouched);
  return Record;
}

void EndOfDaySave() {
  if (PlayerName.empty()) return;
  PlayerRecord work = FILEREAD();
  // The cash in hand and the coins, changed back at 20 yen each.
  const std::int64_t coins = LabelNumber(Form2.Credits.Caption());
  std::int64_t savings = 0;
  if (__builtin_add_overflow(LabelMoney().units, coins * 20 * 10000, &savings))
    savings = coins < 0 ? INT64_MIN : INT64_MAX;
  work.Savings = Currency{savings};
  work.TotalMcCount = static_cast<float>(work.TotalMcCount + static_cast<double>(LabelNumber(Form2.McCount.Caption())));
  work.TotalPmcCount = static_cast<float>(work.TotalPmcCount + static_cast<double>(LabelNumber(Form2.PmcCount.Caption())));
  Best(work.BestMcGames, Mc.BestMcLength);
  Best(work.BestChain, Presentation.StreakMcCountMax);
  Best(work.BestCoins, Play.CreditCoins);
  Best(work.BestMcRun, Play.StreakGamesMax);
  Best(work.FanfareTotal, Record.FanfareTotal);
  if (BankruptToday != 0) work.BankruptCount += 1;
  work.DigitalSpeed = Record.DigitalSpeed;
  // A proxy contract or spectacles that are gone from memory (the proxy player walked out this morning) are gone
  // for good; otherwise the stored items stand.
  if (Record.ProxyContract == 0) work.ProxyContract = 0;
  if (Record.SpectaclesItem == 0) work.SpectaclesItem = 0;
  work.Name = FixedName(PlayerName);
  work.StoredName = Record.StoredName;
  WriteRecord(work);
  PlayerName = RegisteredName(work.Name);
}

bool FuaSpeedValid(float speed) { return speed == 1 || speed == 2 || speed == 3 || speed == 4; }
