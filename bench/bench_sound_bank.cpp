// bench_sound: times the building of the sound bank (41 files read and decoded into buffers) on the SDL2_mixer
// back end, as every load of the title screen does it: the time the title screen waits for it, and the time until
// the helper thread has decoded every file. Run it beside the program (it uses the sound folder there) or give it
// a folder of sounds: bench_sound [folder] [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/files.h"
#include "sound/sdl_sound.h"
#include "sound/sound_bank.h"
#include "sound/sound_library.h"

int main(int argc, char** argv) {
  using Clock = std::chrono::steady_clock;
  SetAppFolder();
  const std::string folder = argc > 1 ? argv[1] : NativePath(SoundFolder());
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 50;
  if (!ChangeFolder(folder)) {
    std::fprintf(stderr, "bench_sound: no folder %s\n", folder.c_str());
    return 1;
  }
  std::size_t bytes = 0;
  int files = 0;
  for (const char* file : BankFiles) {
    if (const auto b = ReadSoundFile(file)) bytes += b->size(), ++files;
  }

  const auto t0 = Clock::now();
  if (!dsInit(nullptr)) {
    std::fprintf(stderr, "bench_sound: the sound library did not start\n");
    return 1;
  }
  const double initMs = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();

  // The first build reads the files from disk; later ones find them in the page cache, as a title screen that
  // comes back does.
  std::vector<double> ms, decodedMs;
  for (int i = 0; i < rounds; ++i) {
    const auto start = Clock::now();
    SoundSet();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    DefaultSdlSound().FinishDecoding();
    decodedMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  int loaded = 0;
  for (auto entry : SoundBank) loaded += entry != 0;
  const double first = ms.front(), firstDecoded = decodedMs.front();
  std::sort(ms.begin(), ms.end());
  std::sort(decodedMs.begin(), decodedMs.end());
  std::printf("driver %s, %d of 41 files present (%.1f MB), %d entries loaded\n", DefaultSdlSound().Driver().c_str(),
              files, bytes / 1048576.0, loaded);
  std::printf("dsInit %.2f ms; SoundSet first %.2f ms, then median %.2f ms, min %.2f ms, max %.2f ms over %d rounds; "
              "every buffer decoded first %.2f ms, then median %.2f ms\n",
              initMs, first, ms[ms.size() / 2], ms.front(), ms.back(), rounds, firstDecoded,
              decodedMs[decodedMs.size() / 2]);
  ReleaseSoundBank();
  return 0;
}
