// The title screen and the shop on the virtual back end: the program's folder is a scratch folder of the test's
// own, with a sound folder holding the save files and the few sounds these screens play.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/machine_screen.h"
#include "core/play_state.h"
#include "core/run_state.h"
#include "lottery/lottery_state.h"
#include "lottery/mc_state.h"
#include "platform/sim/sim_backend.h"
#include "records/player_record.h"
#include "harness/records_fixture.h"
#include "records/save_files.h"
#include "records/save_store.h"
#include "harness/scratch_folder.h"
#include "reels/reel_state.h"
#include "shop/shop_form.h"
#include "sound/recording_sound.h"
#include "sound/sound_bank.h"
#include "harness/wave_files.h"
#include "title/title_form.h"
#include "title/title_screen.h"

inline std::string& ScratchAppFolder() {
  static std::string folder;
  return folder;
}

class TitleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ScratchAppFolder() = folder.Path();
    LocateAppFolder = [] { AppFolder = ScratchAppFolder() + "\\"; };
    const std::string sounds = folder.Path() + "/soundMofuran";
    std::filesystem::create_directory(sounds);
    for (const char* f : {"StSound5.wav", "Bell.wav", "1Gren.wav", "Boffu.wav", "f-piro.wav"})
      WriteWave(sounds + "/" + f, 0.2);
    ChangeFolder(sounds);
    ResetRunState();
  }
  void TearDown() override {
    Form3.Unload();
    Form1.Unload();
    Form2.Unload();
    Play.ScreenClosed = 0;
    LocateAppFolder = SetAppFolder;
  }

  // The save files as a save of this record writes them, and what they hold now.
  static void Store(const PlayerRecord& r) { ASSERT_TRUE(WriteSavePair(EncodeDataFiles(r), EncodeVbdsnd(r))); }
  static PlayerRecord Stored() {
    PlayerRecord r = DecodeVbdsnd(ReadSaveFile(kVbdsnd));
    const DataFilesCopy copy = DecodeDataFiles(ReadSaveFile(kDataFiles));
    r.Name = copy.Name;
    r.StoredName = copy.StoredName;
    return r;
  }
  // A registered player with the given savings and nothing bought.
  static PlayerRecord Player(double yen) {
    PlayerRecord r = InitialRecord();
    r.Savings = Currency::FromYen(yen);
    r.Name = FixedName("もふ");
    return r;
  }
  // Opens the title screen as the program does, and lets what the player scripted happen.
  void Open() {
    Form1.Unload();
    Form1.Show();
  }
  void Run() { sim.RunFor(0.05); }
  void Click(Element& e) {
    sim.Click(e);
    Run();
  }
  int BoxesSaying(const std::string& text) const {
    int n = 0;
    for (const auto& b : sim.Boxes()) n += b.text == text;
    return n;
  }

  SimBackend sim;
  RecordingSound sound;
  ScratchFolder folder;
};
