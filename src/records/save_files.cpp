#include "records/save_files.h"

#include <cstdint>

#include "core/machine_screen.h"
#include "core/play_state.h"
#include "lottery/mc_state.h"
#include "platform/convert.h"
#include "platform/events.h"
#include "records/name_text.h"
#include "records/save_store.h"
#include "title/title_form.h"

DataFilesCopy CheckCopy;

namespace {

// Writes both files from a record; tells the player when they cannot be written. Without the sound folder the
// record in memory stands in for the files for the rest of the run, so that the day's result still shows.
bool WriteRecord(const PlayerRecord& r) {
  if (WriteSavePair(EncodeDataFiles(r), EncodeVbdsnd(r))) return true;
  if (!SaveFolderReady()) Record = r;
  MsgBox("データを保存できませんでした。", vbOKOnly | vbExclamation, "注意！");
  return false;
}

void ShowOnTitle(const PlayerRecord& r) {
  Form1.Text8.Text = FormatMoney(r.Savings);
  Form1.Text1.Text = SingleText(r.TotalMcCount);
  Form1.Text10.Text = SingleText(r.TotalPmcCount);
  Form1.Text6.Text = SingleText(r.BestMcGames);
  Form1.Text12.Text = SingleText(r.BestChain);
  Form1.Text14.Text = SingleText(r.BestCoins);
  Form1.Text15.Text = SingleText(r.BestMcRun);
  Form1.Text23.Text = SingleText(r.BankruptCount);
  Form1.Text22.Text = SingleText(r.FanfareTotal);
}

// The larger of a stored record and the day's value.
void Best(float& stored, double day) {
  if (day > stored) stored = static_cast<float>(day);
}

// Set while InitialiseData loads the files it has just written.
bool g_reloading = false;

}  // namespace

void LoadData() {
  RecoverInterruptedSave();
  FileRead dataRead = FileRead::Read, vbdsndRead = FileRead::Read;
  if (SaveFolderReady()) {
    // Each file is read and closed before the next. A name that holds no file at all is a broken pair.
    const Bytes data = ReadSaveFile(kDataFiles, &dataRead);
    const Bytes vbdsnd = ReadSaveFile(kVbdsnd, &vbdsndRead);
    if (dataRead == FileRead::Unreadable || vbdsndRead == FileRead::Unreadable) {
      // A file that is there but cannot be read is not damaged: both stay as they are for the rest of the run,
      // which is played from memory (on a new player's record until one was loaded).
      HoldSaveFiles(SaveFilesHold::Untouched);
      if (!FuaSpeedValid(Record.FuaSpeed)) Record = InitialRecord();
      MsgBox("データを読み込めませんでした。", vbOKOnly | vbExclamation, "注意！");
    } else {
      CheckCopy = DecodeDataFiles(data);
      Record = DecodeVbdsnd(vbdsnd);
    }
  }
  if (!SaveFolderReady()) {
    // No sound folder, no files: the record in memory is all there is.
    CheckCopy = DecodeDataFiles(EncodeDataFiles(Record));
  }
  Record.Name = CheckCopy.Name;
  Record.StoredName = CheckCopy.StoredName;
  if (dataRead == FileRead::NotAFile || vbdsndRead == FileRead::NotAFile) DataBroken = 100;
  CheckData();
  if (DataBroken == 100 && !g_reloading) {
    // InitialiseData loads the new files itself and shows them.
    InitialiseData();
    return;
  }
  ShowOnTitle(Record);
  PlayerName = RegisteredName(CheckCopy.Name);
  Form1.Text4.Text = PlayerName;
}

void CheckData() {
  if (!CopiesAgree(CheckCopy, Record) || !AllFieldsFinite(Record)) DataBroken = 100;
}

void SaveData() {
  Record.Savings = ReadMoney(Form1.Text8.Text());
  TextBox* boxes[kRecordCount] = {&Form1.Text1, &Form1.Text10, &Form1.Text6,
                                  &Form1.Text12, &Form1.Text14, &Form1.Text15};
  for (int i = 0; i < kRecordCount; ++i) Record.*kRecordFields[i] = static_cast<float>(Val(boxes[i]->Text()));
  // The name box as registration would take it; a name the file cannot hold keeps the name last stored.
  const std::string name = FixedName(WithoutControls(Form1.Text4.Text()));
  if (CodePageHolds(name)) Record.Name = name;
  WriteRecord(Record);
  PlayerName = RegisteredName(Record.Name);
}

bool InitialiseData() {
  if (DataBroken != 100 && MsgBox("データを初期化します。よろしいですか？", vbYesNo, "注意！") == vbNo) return false;
  Record = InitialRecord();
  const bool written = WriteRecord(Record);
  if (DataBroken == 100) {
    MsgBox("データが壊れています。", vbOKOnly);
    DataBroken = 0;
  }
  if (written && !g_reloading) {
    g_reloading = true;
    LoadData();
    g_reloading = false;
    if (DataBroken != 100) return true;
    // What was written did not read back: keep the new player's record in memory.
    DataBroken = 0;
    Record = InitialRecord();
  }
  // The files could not be written: the new player's record holds in memory for this run.
  CheckCopy = DataFilesCopy{};
  ShowOnTitle(Record);
  PlayerName.clear();
  Form1.Text4.Text = PlayerName;
  return true;
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

void UpgradeFastPlayCoins() {
  if (Record.FastPlayCoins == 8) {
    Record.FastPlayCoins = 9;
    SaveData();
  }
  if (Record.FastPlayCoins == 12) {
    Record.FastPlayCoins = 15;
    SaveData();
  }
}

bool FuaSpeedValid(float speed) { return speed == 1 || speed == 2 || speed == 3 || speed == 4; }

bool CheckFuaSpeed() {
  if (FuaSpeedValid(Record.FuaSpeed)) return true;
  DataBroken = 100;
  InitialiseData();
  return false;
}
