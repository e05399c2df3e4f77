// The sound back end that plays: SDL2_mixer at 44.1 kHz with a small mixing buffer. Every buffer has a channel of
// its own, so a stop or a loop acts on that buffer alone; channel 0 belongs to the file route. A PCM WAV file given
// by its path is decoded on a helper thread, so that the bank's 20 MB do not hold up the first window; playing
// such a buffer before the helper reaches it decodes it at once.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
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
  // Starts opening the device on a thread of its own; Init then waits for it and answers as it would have.
  void OpenInBackground();
  std::int32_t Create(const std::uint8_t* bytes, std::size_t size, std::int32_t flag,
                      const std::string& label) override;
  std::int32_t CreateFromFile(const std::string& nativePath, std::int32_t flag, const std::string& label) override;
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
  std::size_t BufferCount() const;
  // Waits until every buffer made from a file is decoded; how many are still waiting before the call.
  std::size_t FinishDecoding();

 private:
  struct Buffer {
    Mix_Chunk* chunk;
    int channel;
    bool pending = false;  // its file is still to be decoded
  };
  struct Job {
    std::int32_t handle;
    int fd;  // held open, so the file read later is the one measured now
    std::uint64_t size;
  };
  bool OpenDevice();
  std::int32_t Open();
  void WaitForOpener();
  int TakeChannel();
  Buffer* Find(std::int32_t buffer);
  const Buffer* Find(std::int32_t buffer) const;
  // The buffer ready to play: decodes it here, or waits for the helper, while it is pending. Holds lock.
  Buffer* Decoded(std::int32_t buffer, std::unique_lock<std::mutex>& lock);
  static Mix_Chunk* DecodeFile(int fd, std::uint64_t size);
  void Helper();
  void StopHelper();

  bool open_ = false;
  // Guards buffers_ and the jobs against the helper thread.
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> jobs_;
  std::int32_t decoding_ = 0;  // the handle the helper decodes now
  bool stopping_ = false;
  std::thread helper_;
  std::thread opener_;
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
