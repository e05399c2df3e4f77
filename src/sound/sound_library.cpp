#include "sound/sound_library.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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
  // The bank reads some 20 MB at each title screen: a regular file comes in one sized read, not byte by byte.
  const int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    try {
      return ReadAllBytes(path);
    } catch (const std::exception&) {
      return std::nullopt;
    }
  }
  std::optional<Bytes> bytes;
  try {
    bytes.emplace(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    for (;;) {
      // One byte more than expected tells a file that grew since fstat from one that is complete.
      if (got == bytes->size()) bytes->resize(got + 4096);
      const ssize_t n = read(fd, bytes->data() + got, bytes->size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        bytes.reset();
        break;
      }
      if (n == 0) {
        bytes->resize(got);
        break;
      }
      got += static_cast<std::size_t>(n);
    }
  } catch (const std::exception&) {
    bytes.reset();
  }
  close(fd);
  return bytes;
}

std::optional<std::uint64_t> SoundFileSize(const std::string& path) {
  const int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  const bool ok = fstat(fd, &st) == 0;
  close(fd);
  if (!ok || S_ISDIR(st.st_mode)) return std::nullopt;
  if (S_ISREG(st.st_mode)) return static_cast<std::uint64_t>(st.st_size);
  // Anything else tells its length only by being read.
  const auto bytes = ReadSoundFile(path);
  return bytes ? std::optional<std::uint64_t>(bytes->size()) : std::nullopt;
}

std::int32_t SoundBackend::CreateFromFile(const std::string& nativePath, std::int32_t flag, const std::string& label) {
  const auto bytes = ReadSoundFile(nativePath);
  if (!bytes || bytes->empty()) return 0;
  return Create(bytes->data(), bytes->size(), flag, label);
}

std::int32_t dsInit(const void* window) { return CurrentSoundBackend().Init(window); }

std::int32_t dsCreateDSB(const std::uint8_t* bytes, std::size_t size, std::int32_t flag, const std::string& label) {
  if (!bytes || size == 0) return 0;
  return CurrentSoundBackend().Create(bytes, size, flag, label);
}

std::int32_t dsCreateFromFile(const std::string& path, std::int32_t flag, const std::string& label) {
  return CurrentSoundBackend().CreateFromFile(NativePath(path), flag, label);
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
