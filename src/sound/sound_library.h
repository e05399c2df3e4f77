// The sound library the game plays its bank through, and the single route for the lever and stop sounds.
// The operations keep the names the game calls them by; a back end (SDL2_mixer for play, a recorder for tests)
// does the work behind them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/files.h"

// What a sound back end does. Handles are 32-bit and never 0; 0 stands for "no buffer" everywhere.
class SoundBackend {
 public:
  virtual ~SoundBackend() = default;
  // Nonzero when sound can be made (silently, when no device is there).
  virtual std::int32_t Init(const void* window) = 0;
  // A buffer from a whole file's bytes, header included; the bytes may be dropped after the call. 0 on failure.
  // The label names the buffer in logs.
  virtual std::int32_t Create(const std::uint8_t* bytes, std::size_t size, std::int32_t flag,
                              const std::string& label) = 0;
  // A buffer from the whole file at a (native) path, as Create makes one from its bytes. A back end may read
  // and decode the file later, so long as the buffer sounds in full whenever it is played.
  virtual std::int32_t CreateFromFile(const std::string& nativePath, std::int32_t flag, const std::string& label);
  virtual void Play(std::int32_t buffer) = 0;
  virtual void PlayLooping(std::int32_t buffer) = 0;
  virtual void Stop(std::int32_t buffer) = 0;
  virtual void Free(std::int32_t buffer) = 0;
  virtual void Quit() = 0;
  // The file route: plays the file at the (native) path at once and returns; cuts off what the route still plays.
  virtual void PlayFile(const std::string& nativePath) = 0;

  // Whether a buffer, or the file route, is sounding right now.
  virtual bool Sounding(std::int32_t buffer) = 0;
  virtual bool RouteSounding() = 0;
};

// The back end in use: the last one installed, or the SDL2_mixer one.
SoundBackend& CurrentSoundBackend();
// Installs a back end (nullptr goes back to SDL2_mixer); returns the one it replaces.
SoundBackend* InstallSoundBackend(SoundBackend* backend);

// The library's operations. A buffer of 0 is accepted and does nothing.
std::int32_t dsInit(const void* window);
std::int32_t dsCreateDSB(const std::uint8_t* bytes, std::size_t size, std::int32_t flag,
                         const std::string& label = "");
// A buffer from a file: 0 when the file cannot be read, is empty, or is no sound the back end can play.
std::int32_t dsCreateFromFile(const std::string& path, std::int32_t flag, const std::string& label = "");
std::int32_t dsPlay(std::int32_t buffer);
std::int32_t dsPlayLooping(std::int32_t buffer);
std::int32_t dsStop(std::int32_t buffer);
std::int32_t dsFree(std::int32_t buffer);
std::int32_t dsQuit();

// A sound file's bytes; nothing when it cannot be opened or read (a folder of that name, no permission).
std::optional<Bytes> ReadSoundFile(const std::string& path);
// A sound file's length without reading it; nothing when ReadSoundFile would give nothing.
std::optional<std::uint64_t> SoundFileSize(const std::string& path);

// Flags of the file route: asynchronous is the only one the game uses.
constexpr int SND_ASYNC = 1;
// Plays the file at a game path (backslashes allowed) through the single route.
void sndPlaySoundA(const std::string& path, int flags);
