// The sound back end that plays: SDL2_mixer at 44.1 kHz with a small mixing buffer. Every buffer has a channel of
// its own, so a stop or a loop acts on that buffer alone; channel 0 belongs to the file route.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "sound/sound_library.h"

struct Mix_Chunk;

class SdlSound : public SoundBackend {
 public:
  static constexpr int kFrequency = 44100;
  static constexpr int kMixFrames = 1024;
  static constexpr int kRouteChannel = 0;

  SdlSound() = default;
  SdlSound(const SdlSound&) = delete;
  SdlSound& operator=(const SdlSound&) = delete;
  ~SdlSound() override;

  std::int32_t Init(const void* window) override;
  std::int32_t Create(const std::uint8_t* bytes, std::size_t size, std::int32_t flag,
                      const std::string& label) override;
  void Play(std::int32_t buffer) override;
  void PlayLooping(std::int32_t buffer) override;
  void Stop(std::int32_t buffer) override;
  void Free(std::int32_t buffer) override;
  void Quit() override;
  void PlayFile(const std::string& nativePath) override;
  bool Sounding(std::int32_t buffer) override;
  bool RouteSounding() override;

  bool IsOpen() const { return open_; }
  // The audio driver in use ("dummy" for silent output), or "" while closed.
  std::string Driver() const;
  // The mixing channel of a buffer, or -1.
  int ChannelOf(std::int32_t buffer) const;
  std::size_t BufferCount() const { return buffers_.size(); }

 private:
  struct Buffer {
    Mix_Chunk* chunk;
    int channel;
  };
  bool OpenDevice();
  int TakeChannel();
  const Buffer* Find(std::int32_t buffer) const;

  bool open_ = false;
  std::map<std::int32_t, Buffer> buffers_;
  std::vector<int> freeChannels_;
  int nextChannel_ = kRouteChannel + 1;
  int allocated_ = 0;
  std::int32_t nextHandle_ = 1;
  // Decoded route sounds by path: the lever and stop sounds come again and again.
  std::map<std::string, Mix_Chunk*> routeSounds_;
};

// The SDL2_mixer back end the game uses unless another is installed.
SdlSound& DefaultSdlSound();
