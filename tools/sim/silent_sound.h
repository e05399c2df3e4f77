// The simulator's sound: every call succeeds and nothing sounds. The game never asks what is sounding, so a day
// plays the same as with sound; no file is opened for it.
#pragma once
#include "sound/sound_library.h"

class SilentSound : public SoundBackend {
 public:
  SilentSound() : replaced_(InstallSoundBackend(this)) {}
  ~SilentSound() override { InstallSoundBackend(replaced_); }
  SilentSound(const SilentSound&) = delete;
  SilentSound& operator=(const SilentSound&) = delete;

  std::int32_t Init(const void*) override { return 1; }
  std::int32_t Create(const std::uint8_t*, std::size_t, std::int32_t, const std::string&) override {
    return ++buffers_;
  }
  void Play(std::int32_t) override {}
  void PlayLooping(std::int32_t) override {}
  void Stop(std::int32_t) override {}
  void Free(std::int32_t) override {}
  void Quit() override {}
  void PlayFile(const std::string&) override {}
  bool Sounding(std::int32_t) override { return false; }
  bool RouteSounding() override { return false; }

 private:
  SoundBackend* replaced_;
  std::int32_t buffers_ = 0;
};
