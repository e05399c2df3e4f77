// The sound bank on the recording back end: which file each entry comes from, what a missing or a bad file does,
// loops, stops, the file route's cut-off, the rebuild and the release at quit.
#include <sys/stat.h>

#include "harness/harness.h"
#include "harness/wave_files.h"
#include "sound/sound_library.h"

namespace {

// The recorder's own bank sounds for as long as it was filled for: its silent waves say their length.
TEST(RecordingBankTest, AFilledBankSoundsForItsLength) {
  SimBackend sim{36000};
  RecordingSound sound;
  sound.FillBank(0.5);
  PlayBankSound("Bell.wav");
  sim.RunFor(0.45);
  EXPECT_TRUE(sound.FileSounding("Bell.wav"));
  sim.RunFor(0.1);
  EXPECT_FALSE(sound.FileSounding("Bell.wav"));
}

// The bank in index order, as the game's sounds are numbered.
const char* const kExpectedBank[41] = {
    "1Gren.wav",    "Bell.wav",     "Boffu.wav",    "bubuu.wav",    "CD7Sound.wav", "degi0.wav",    "degi1.wav",
    "degi2.wav",    "degi3.wav",    "degi4.wav",    "error.wav",    "Fanfare1.wav", "Fanfare2.wav", "Fanfare3.wav",
    "Fanfare4.wav", "Fanfare5.wav", "f-piro.wav",   "fua0.wav",     "fua1.wav",     "fua2.wav",     "fua3.wav",
    "fua4.wav",     "fua5.wav",     "fua6.wav",     "fua7.wav",     "fua8.wav",     "fua9.wav",     "mame_1.wav",
    "mame_2.wav",   "mame_3.wav",   "mc1.wav",      "mc2.wav",      "mcbet.wav",    "pmc1.wav",     "pmc2.wav",
    "Replay0.wav",  "Replay1.wav",  "Replay2.wav",  "StSound5.wav", "LeverOn0.wav", "StSound4.wav"};

// Entry i sounds for (i + 1) tenths of a second, so a buffer tells which file it was made from.
double LengthOf(int i) { return (i + 1) * 0.1; }

// The bank's files in a scratch working folder.
class SoundBankTest : public GameTest {
 protected:
  SoundBankTest() : GameTest({.folder = Start::Folder::Working}) {}
  void SetUp() override {
    GameTest::SetUp();
    for (auto& entry : SoundBank) entry = 0;
    for (int i = 0; i < 41; ++i) WriteWave(kExpectedBank[i], LengthOf(i));
  }
  void TearDown() override {
    for (auto& entry : SoundBank) entry = 0;
    GameTest::TearDown();
  }
};

TEST_F(SoundBankTest, BuildsEveryEntryInIndexOrderFromItsOwnFile) {
  ASSERT_NE(dsInit(nullptr), 0);
  SoundSet();
  const auto created = Sounds(SoundAction::Create);
  ASSERT_EQ(created.size(), 41u);
  for (int i = 0; i < 41; ++i) {
    EXPECT_EQ(created[i], kExpectedBank[i]) << i;
    EXPECT_EQ(BankIndex(kExpectedBank[i]), i);
    ASSERT_NE(SoundBank[i], 0) << i;
    for (int j = 0; j < i; ++j) EXPECT_NE(SoundBank[i], SoundBank[j]);
  }
  // Each entry plays exactly as long as the file of its index.
  for (int i : {0, 1, 17, 26, 38, 39, 40}) {
    dsPlay(SoundBank[i]);
    sim->RunFor(LengthOf(i) - 0.05);
    EXPECT_TRUE(sound->Sounding(SoundBank[i])) << i;
    sim->RunFor(0.1);
    EXPECT_FALSE(sound->Sounding(SoundBank[i])) << i;
  }
  EXPECT_EQ(BankIndex("bell.wav"), -1);
  EXPECT_TRUE(sim->Boxes().empty());
}

TEST_F(SoundBankTest, MissingFilesAreSilentEmptyOrUnreadableOnesWarn) {
  std::remove("Bell.wav");
  WriteAllBytes("Boffu.wav", {});
  std::remove("error.wav");
  mkdir("error.wav", 0755);  // present, but no file to read
  WriteAllBytes("mc1.wav", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e'});
  SoundSet();
  for (int i : {1, 2, 10, 30}) EXPECT_EQ(SoundBank[i], 0) << i;
  int loaded = 0;
  for (auto entry : SoundBank) loaded += entry != 0;
  EXPECT_EQ(loaded, 37);  // a failed entry does not stop the others
  // The missing file says nothing, nor does one the library cannot decode; the empty and the unreadable warn.
  ASSERT_EQ(sim->Boxes().size(), 2u);
  EXPECT_NE(sim->Boxes()[0].text.find("Boffu.wav"), std::string::npos);
  EXPECT_NE(sim->Boxes()[1].text.find("error.wav"), std::string::npos);
  for (const auto& box : sim->Boxes()) EXPECT_EQ(box.buttons, vbOKOnly | vbExclamation);
  // Playing an absent sound does nothing at all.
  sound->ClearEvents();
  PlayBankSound("Bell.wav");
  LoopBankSound("mc1.wav");
  StopBankSound("mc1.wav");
  PlayBankSound("NoSuchSound.wav");
  EXPECT_TRUE(sound->Events().empty());
}

TEST_F(SoundBankTest, LoopsRunUntilStoppedAndEachBufferStopsAlone) {
  SoundSet();
  LoopBankSound("CD7Sound.wav");
  PlayBankSound("Bell.wav");
  sim->RunFor(60);
  EXPECT_TRUE(sound->FileSounding("CD7Sound.wav"));
  EXPECT_FALSE(sound->FileSounding("Bell.wav"));
  LoopBankSound("mc1.wav");
  StopBankSound("CD7Sound.wav");
  EXPECT_FALSE(sound->FileSounding("CD7Sound.wav"));
  EXPECT_TRUE(sound->FileSounding("mc1.wav"));
  // Stopping a silent buffer is harmless, and playing one that sounds starts it again.
  StopBankSound("CD7Sound.wav");
  PlayBankSound("Bell.wav");
  sim->RunFor(0.15);
  PlayBankSound("Bell.wav");
  sim->RunFor(0.15);
  EXPECT_TRUE(sound->FileSounding("Bell.wav"));
  const auto bell = sound->EventsOf("Bell.wav");
  ASSERT_GE(bell.size(), 3u);
  EXPECT_EQ(bell.back().action, SoundAction::Play);
  EXPECT_NEAR(bell.back().at, sim->Elapsed() - 0.15, 0.002);
}

TEST_F(SoundBankTest, TheFileRouteCutsOffOnlyItsOwnSound) {
  mkdir("soundMofuran", 0755);
  WriteWave("soundMofuran/LeverOn0.wav", 1.0);
  WriteWave("soundMofuran/StSound1.wav", 0.3);
  AppFolder = folder->Path() + "\\";
  SoundSet();
  LoopBankSound("mc2.wav");
  SndPlaySound(AppFolder + "soundMofuran\\LeverOn0.wav");
  EXPECT_EQ(sound->RouteFile(), "LeverOn0.wav");
  sim->RunFor(0.2);
  SndPlaySound(AppFolder + "soundMofuran\\StSound1.wav");
  EXPECT_EQ(sound->RouteFile(), "StSound1.wav");
  // LeverOn0.wav is a bank sound too: only the route's events count here.
  std::vector<SoundEvent> lever;
  for (const SoundEvent& e : sound->EventsOf("LeverOn0.wav"))
    if (e.action == SoundAction::Route || e.action == SoundAction::Cut) lever.push_back(e);
  ASSERT_EQ(lever.size(), 2u);
  EXPECT_EQ(lever[1].action, SoundAction::Cut);
  EXPECT_NEAR(lever[1].at - lever[0].at, 0.2, 0.002);
  EXPECT_TRUE(sound->FileSounding("mc2.wav"));
  // A sound that has ended is not cut off again.
  sim->RunFor(0.5);
  EXPECT_EQ(sound->RouteFile(), "");
  SndPlaySound(AppFolder + "soundMofuran\\LeverOn0.wav");
  EXPECT_EQ(sound->Count("StSound1.wav", SoundAction::Cut), 0);
}

TEST_F(SoundBankTest, RebuildingReleasesTheEarlierBuffersAndQuitReleasesAll) {
  SoundSet();
  const std::int32_t first = SoundBank[4];
  LoopBankSound("CD7Sound.wav");
  SoundSet();
  EXPECT_EQ(sound->LiveBuffers(), 41u);
  EXPECT_FALSE(sound->Sounding(first));
  EXPECT_NE(SoundBank[4], first);
  sound->ClearEvents();
  ReleaseSoundBank();
  const auto& events = sound->Events();
  ASSERT_EQ(events.size(), 42u);
  for (int i = 0; i < 41; ++i) {
    EXPECT_EQ(events[i].action, SoundAction::Free);
    EXPECT_EQ(events[i].file, kExpectedBank[i]);
    EXPECT_EQ(SoundBank[i], 0);
  }
  EXPECT_EQ(events.back().action, SoundAction::Quit);
}

TEST_F(SoundBankTest, TheProgramsOwnFolderHoldsTheSoundFolder) {
  ChangeFolder("/");
  SetAppFolder();
  EXPECT_EQ(AppFolder, ProgramFolder() + "\\");
  ASSERT_TRUE(EnterSoundFolder());
  EXPECT_EQ(CurrentFolder(), ProgramFolder() + "/soundMofuran");
}

}  // namespace
