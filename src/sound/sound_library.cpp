#include "sound/sound_library.h"

#include <exception>

#include "platform/files.h"
#include "sound/sdl_sound.h"

namespace {
SoundBackend* g_installed = nullptr;
}

SoundBackend& CurrentSoundBackend() { return g_installed ? *g_installed : DefaultSdlSound(); }

SoundBackend* InstallSoundBackend(SoundBackend* backend) {
  SoundBackend* previous = g_installed;
  g_installed = backend;
  return previous;
}

std::optional<Bytes> ReadSoundFile(const std::string& path) {
  try {
    return ReadAllBytes(path);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::int32_t dsInit(const void* window) { return CurrentSoundBackend().Init(window); }

std::int32_t dsCreateDSB(const std::uint8_t* bytes, std::size_t size, std::int32_t flag, const std::string& label) {
  if (!bytes || size == 0) return 0;
  return CurrentSoundBackend().Create(bytes, size, flag, label);
}

std::int32_t dsPlay(std::int32_t buffer) {
  if (buffer != 0) CurrentSoundBackend().Play(buffer);
  return 0;
}

std::int32_t dsPlayLooping(std::int32_t buffer) {
  if (buffer != 0) CurrentSoundBackend().PlayLooping(buffer);
  return 0;
}

std::int32_t dsStop(std::int32_t buffer) {
  if (buffer != 0) CurrentSoundBackend().Stop(buffer);
  return 0;
}

std::int32_t dsFree(std::int32_t buffer) {
  if (buffer != 0) CurrentSoundBackend().Free(buffer);
  return 0;
}

std::int32_t dsQuit() {
  CurrentSoundBackend().Quit();
  return 0;
}

void sndPlaySoundA(const std::string& path, int) {
  // Every call returns at once: the route is asynchronous whatever the flags say.
  CurrentSoundBackend().PlayFile(NativePath(path));
}
