#include "sound/sound_bank.h"

#include <sys/stat.h>

#include <array>
#include <string_view>

#include "platform/events.h"
#include "platform/files.h"
#include "sound/sound_library.h"

std::string AppFolder;
std::int32_t SoundBank[kBankSize] = {};

const char* const BankFiles[kBankSize] = {
    "1Gren.wav",    "Bell.wav",     "Boffu.wav",    "bubuu.wav",   "CD7Sound.wav", "degi0.wav",
    "degi1.wav",    "degi2.wav",    "degi3.wav",    "degi4.wav",   "error.wav",    "Fanfare1.wav",
    "Fanfare2.wav", "Fanfare3.wav", "Fanfare4.wav", "Fanfare5.wav", "f-piro.wav",  "fua0.wav",
    "fua1.wav",     "fua2.wav",     "fua3.wav",     "fua4.wav",    "fua5.wav",     "fua6.wav",
    "fua7.wav",     "fua8.wav",     "fua9.wav",     "mame_1.wav",  "mame_2.wav",   "mame_3.wav",
    "mc1.wav",      "mc2.wav",      "mcbet.wav",    "pmc1.wav",    "pmc2.wav",     "Replay0.wav",
    "Replay1.wav",  "Replay2.wav",  "StSound5.wav", "LeverOn0.wav", "StSound4.wav",
};

int BankIndex(const std::string& file) {
  // Looked up for every sound of every game: the names' lengths are counted once.
  static const auto names = [] {
    std::array<std::string_view, kBankSize> n;
    for (int i = 0; i < kBankSize; ++i) n[i] = BankFiles[i];
    return n;
  }();
  const std::string_view wanted = file;
  for (int i = 0; i < kBankSize; ++i)
    if (names[i] == wanted) return i;
  return -1;
}

void SetAppFolder() {
  AppFolder = ProgramFolder();
  if (AppFolder.empty() || (AppFolder.back() != '\\' && AppFolder.back() != '/')) AppFolder += "\\";
}

std::string SoundFolder() { return AppFolder + "soundMofuran"; }

bool EnterSoundFolder() {
  if (AppFolder.empty()) SetAppFolder();
  const std::string folder = NativePath(SoundFolder());
  // Without its folder the game still runs, silent; the save files then start the folder afresh.
  if (!FileExists(folder)) mkdir(folder.c_str(), 0777);
  return ChangeFolder(folder);
}

std::int32_t LoadWave(const std::string& file, std::int32_t flag) {
  if (!FileExists(file)) return 0;
  // Measured here and read by the library: the SDL one decodes the files on a helper thread, so that the title
  // screen shows without waiting for some 20 MB of sound.
  const auto size = SoundFileSize(file);
  std::string error;
  if (!size) {
    error = "ファイル「" + file + "」を読み込めません。";
  } else if (*size == 0) {
    error = "ファイル「" + file + "」は空です。";
  }
  if (!error.empty()) {
    MsgBox(error, vbOKOnly | vbExclamation);
    return 0;
  }
  return dsCreateFromFile(file, flag, file);
}

void SoundSet() {
  for (int i = 0; i < kBankSize; ++i) {
    // A rebuild at each title screen would otherwise leave the earlier buffers behind, still holding channels.
    dsFree(SoundBank[i]);
    SoundBank[i] = LoadWave(BankFiles[i], 1);
  }
}

void ReleaseSoundBank() {
  for (std::int32_t& entry : SoundBank) {
    dsFree(entry);
    entry = 0;
  }
  dsQuit();
}

namespace {
std::int32_t EntryOf(const std::string& file) {
  const int i = BankIndex(file);
  return i < 0 ? 0 : SoundBank[i];
}
}  // namespace

void PlayBankSound(const std::string& file) { dsPlay(EntryOf(file)); }
void LoopBankSound(const std::string& file) { dsPlayLooping(EntryOf(file)); }
void StopBankSound(const std::string& file) { dsStop(EntryOf(file)); }

void SndPlaySound(const std::string& path) { sndPlaySoundA(path, SND_ASYNC); }
