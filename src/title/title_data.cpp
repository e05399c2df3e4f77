#include "title/title_data.h"

#include "machine/machine_screen.h"
#include "machine/play_state.h"
#include "machine/player_record.h"
#include "platform/convert.h"
#include "platform/events.h"
#include "records/name_text.h"
#include "records/save_files.h"
#include "records/save_store.h"
#include "title/title_form.h"

namespace {

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

bool CheckFuaSpeed() {
  if (FuaSpeedValid(Record.FuaSpeed)) return true;
  DataBroken = 100;
  InitialiseData();
  return false;
}
