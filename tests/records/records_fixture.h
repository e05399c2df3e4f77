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
#include "scratch_folder.h"
#include "title/title_form.h"

// A known player: 1,234,567 yen, records, every item, a Japanese name.
inline PlayerRecord KnownRecord() {
  PlayerRecord r;
  r.ProxyContract = 1000;
  r.PmcUpItem = 9;
  r.SpectaclesGrade = 821;
  r.MembershipGames = 10000;
  r.SpectaclesItem = 10;
  r.Savings = Currency::FromYen(1234567);
  r.TotalMcCount = 12;
  r.TotalPmcCount = 3;
  r.BestMcGames = 1500;
  r.BestChain = 7;
  r.BestCoins = 4321;
  r.BestMcRun = 250;
  r.FanfareX5Item = 17;
  r.FanfareTotal = 5;
  r.BankruptCount = 2;
  r.FastPlayCoins = 9;
  r.FuaSpeed = 3;
  r.DigitalSpeed = 12;
  r.Name = FixedName("もふ太郎");
  return r;
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
    Play = PlayState{};
    Mc = McState{};
    Presentation = PresentationState{};
    Form1.Text4.Text = "";
  }
  void TearDown() override { SaveFaults = SaveInterruption{}; }

  // Both files as a save of this record writes them.
  static void Store(const PlayerRecord& r) { ASSERT_TRUE(WriteSavePair(EncodeDataFiles(r), EncodeVbdsnd(r))); }
  // The record both files hold now (the name from "DataFiles").
  static PlayerRecord Stored() {
    PlayerRecord r = DecodeVbdsnd(ReadSaveFile(kVbdsnd));
    r.Name = DecodeDataFiles(ReadSaveFile(kDataFiles)).Name;
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
