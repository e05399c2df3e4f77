// Records tests run in a scratch working folder on the virtual back end, with every record-related global fresh.
#pragma once
#include <gtest/gtest.h>

#include "core/machine_screen.h"
#include "core/play_state.h"
#include "lottery/mc_state.h"
#include "platform/convert.h"
#include "platform/sim/sim_backend.h"
#include "records/name_text.h"
#include "records/save_files.h"
#include "records/save_store.h"
#include "harness/scratch_folder.h"
#include "title/title_form.h"

// A known player: 1,234,567 yen, records, every item, a Japanese name.
inline PlayerRecord KnownRecord() {
  return PlayerRecord{.ProxyContract = 1000, .PmcUpItem = 9, .SpectaclesGrade = 821, .MembershipGames = 10000,
                      .SpectaclesItem = 10, .Savings = Currency::FromYen(1234567), .TotalMcCount = 12,
                      .TotalPmcCount = 3, .BestMcGames = 1500, .BestChain = 7, .BestCoins = 4321, .BestMcRun = 250,
                      .FanfareX5Item = 17, .FanfareTotal = 5, .BankruptCount = 2, .FastPlayCoins = 9,
                      .FuaSpeed = 3, .DigitalSpeed = 12, .Name = FixedName("もふ太郎")};
}

// Two records are the same when both files would hold the same bytes.
inline bool Same(const PlayerRecord& a, const PlayerRecord& b) {
  return EncodeVbdsnd(a) == EncodeVbdsnd(b) && EncodeDataFiles(a) == EncodeDataFiles(b);
}

class RecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Record = PlayerRecord{};
    PlayerName.clear();
    DataBroken = 0;
    BankruptToday = 0;
    CheckCopy = DataFilesCopy{};
    SaveFaults = SaveInterruption{};
    SetSaveFolderReady(true);
    HoldSaveFiles(SaveFilesHold::Free);
    SetCodePageConverterAvailable(true);
    Play = PlayState{};
    Mc = McState{};
    Presentation = PresentationState{};
    Form1.Text4.Text = "";
  }
  void TearDown() override { SaveFaults = SaveInterruption{}; }

  // Both files as a save of this record writes them, and the record both files hold now.
  static void Store(const PlayerRecord& r) { ASSERT_TRUE(WriteSavePair(EncodeDataFiles(r), EncodeVbdsnd(r))); }
  static PlayerRecord Stored() {
    PlayerRecord r = DecodeVbdsnd(ReadSaveFile(kVbdsnd));
    const DataFilesCopy copy = DecodeDataFiles(ReadSaveFile(kDataFiles));
    r.Name = copy.Name;
    r.StoredName = copy.StoredName;
    return r;
  }
  int BoxesSaying(const std::string& text) const {
    int n = 0;
    for (const auto& b : sim.Boxes()) n += b.text == text;
    return n;
  }

  SimBackend sim;
  ScratchFolder folder;
};
