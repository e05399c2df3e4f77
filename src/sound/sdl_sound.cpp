#include "sound/sdl_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

#include "platform/files.h"
#include "sound/wave_info.h"

SdlSound& DefaultSdlSound() {
  static SdlSound sound;
  return sound;
}

SdlSound::~SdlSound() {
  WaitForOpener();
  if (open_) Quit();
}

void SdlSound::OpenInBackground() {
  if (open_ || opener_.joinable()) return;
  opener_ = std::thread([this] {
    Open();
    // SDL keeps an error buffer for each thread that calls it; this one ends here.
    SDL_TLSCleanup();
  });
}

void SdlSound::WaitForOpener() {
  if (opener_.joinable()) opener_.join();
}

bool SdlSound::OpenDevice() {
  // SDL would otherwise take over SIGINT and SIGTERM, and the game would no longer end when asked to.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(kFrequency, AUDIO_S16SYS, 2, kMixFrames) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  return true;
}

std::int32_t SdlSound::Init(const void*) {
  WaitForOpener();
  return Open();
}

std::int32_t SdlSound::Open() {
  if (open_) return 1;
  if (!OpenDevice()) {
    // No usable device (none present, or the one named is missing): silent output keeps every sound call and
    // the game's timing working.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    const bool silent = OpenDevice();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (!silent) return 0;
  }
  open_ = true;
  allocated_ = Mix_AllocateChannels(64);
  return 1;
}

std::string SdlSound::Driver() const {
  if (!open_) return "";
  const char* name = SDL_GetCurrentAudioDriver();
  return name ? name : "";
}

int SdlSound::TakeChannel() {
  int channel;
  if (!freeChannels_.empty()) {
    channel = freeChannels_.back();
    freeChannels_.pop_back();
  } else {
    channel = nextChannel_++;
  }
  if (channel >= allocated_) allocated_ = Mix_AllocateChannels(std::max(allocated_ * 2, channel + 1));
  return channel;
}

SdlSound::Buffer* SdlSound::Find(std::int32_t buffer) {
  const auto it = buffers_.find(buffer);
  return it == buffers_.end() ? nullptr : &it->second;
}

const SdlSound::Buffer* SdlSound::Find(std::int32_t buffer) const {
  const auto it = buffers_.find(buffer);
  return it == buffers_.end() ? nullptr : &it->second;
}

int SdlSound::ChannelOf(std::int32_t buffer) const {
  std::lock_guard lock(mutex_);
  const Buffer* b = Find(buffer);
  return b ? b->channel : -1;
}

std::size_t SdlSound::BufferCount() const {
  std::lock_guard lock(mutex_);
  return buffers_.size();
}

std::int32_t SdlSound::Create(const std::uint8_t* bytes, std::size_t size, std::int32_t, const std::string&) {
  WaitForOpener();
  if (!open_ || !bytes || size == 0 || size > 0x7fffffff) return 0;
  // Decoded into the device's format now: the caller's bytes are not needed afterwards.
  Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes, static_cast<int>(size)), 1);
  if (!chunk) return 0;
  std::lock_guard lock(mutex_);
  const std::int32_t handle = nextHandle_++;
  buffers_[handle] = Buffer{chunk, TakeChannel()};
  return handle;
}

std::int32_t SdlSound::CreateFromFile(const std::string& nativePath, std::int32_t flag, const std::string& label) {
  WaitForOpener();
  if (!open_) return 0;
  const auto decodeNow = [&]() -> std::int32_t {
    const auto bytes = ReadSoundFile(nativePath);
    return bytes ? Create(bytes->data(), bytes->size(), flag, label) : 0;
  };
  const int fd = open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  struct stat st {};
  std::uint8_t head[4096];
  ssize_t got = -1;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= 0x7fffffff)
    got = pread(fd, head, sizeof head, 0);
  // Only plain PCM, which the library decodes whenever its header reads right, is left for later; anything else
  // is decoded here, so that a file the library cannot play still makes no buffer.
  const auto info = got > 0 ? ReadWaveInfo(head, static_cast<std::size_t>(got)) : std::nullopt;
  const bool plain = info && (info->bitsPerSample == 8 || info->bitsPerSample == 16) &&
                     (info->channels == 1 || info->channels == 2) && std::memcmp(head + 12, "fmt ", 4) == 0 &&
                     (head[20] | head[21] << 8) == 1;
  if (!plain) {
    close(fd);
    return decodeNow();
  }
  std::lock_guard lock(mutex_);
  const std::int32_t handle = nextHandle_++;
  buffers_[handle] = Buffer{nullptr, TakeChannel(), true};
  jobs_.push_back(Job{handle, fd, static_cast<std::uint64_t>(st.st_size)});
  if (!helper_.joinable()) {
    stopping_ = false;
    helper_ = std::thread([this] {
      Helper();
      SDL_TLSCleanup();
    });
  }
  changed_.notify_all();
  return handle;
}

Mix_Chunk* SdlSound::DecodeFile(int fd, std::uint64_t size) {
  // Left uninitialised, as the read fills it; it goes as soon as the file is decoded, as before.
  std::unique_ptr<std::uint8_t[]> bytes(new (std::nothrow) std::uint8_t[size]);
  std::size_t got = 0;
  while (bytes && got < size) {
    const ssize_t n = pread(fd, bytes.get() + got, size - got, static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  close(fd);
  if (got == 0) return nullptr;
  return Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.get(), static_cast<int>(got)), 1);
}

void SdlSound::Helper() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    if (stopping_) return;
    const Job job = jobs_.front();
    jobs_.pop_front();
    decoding_ = job.handle;
    lock.unlock();
    Mix_Chunk* chunk = DecodeFile(job.fd, job.size);
    lock.lock();
    decoding_ = 0;
    Buffer* b = Find(job.handle);
    if (b && b->pending) {
      b->chunk = chunk;
      b->pending = false;
      chunk = nullptr;
    }
    changed_.notify_all();
    // Freed while it was being decoded.
    if (chunk) {
      lock.unlock();
      Mix_FreeChunk(chunk);
      lock.lock();
    }
    if (jobs_.empty()) {
      // The files' bytes were freed in this thread's own heap, where the game's thread cannot reuse them: they go
      // back to the system, or the game would hold some 4 MB more than when it decoded everything itself.
      lock.unlock();
      malloc_trim(0);
      lock.lock();
    }
  }
}

SdlSound::Buffer* SdlSound::Decoded(std::int32_t buffer, std::unique_lock<std::mutex>& lock) {
  Buffer* b = Find(buffer);
  while (b && b->pending) {
    const auto job = std::find_if(jobs_.begin(), jobs_.end(), [&](const Job& j) { return j.handle == buffer; });
    if (job == jobs_.end()) {
      if (decoding_ != buffer) break;
      // The helper has it in hand.
      changed_.wait(lock);
    } else {
      const Job mine = *job;
      jobs_.erase(job);
      lock.unlock();
      Mix_Chunk* chunk = DecodeFile(mine.fd, mine.size);
      lock.lock();
      b = Find(buffer);
      if (b) {
        b->chunk = chunk;
        b->pending = false;
      } else if (chunk) {
        Mix_FreeChunk(chunk);
      }
      return b;
    }
    b = Find(buffer);
  }
  return b;
}

std::size_t SdlSound::FinishDecoding() {
  std::unique_lock lock(mutex_);
  std::size_t waiting = 0;
  for (const auto& [handle, b] : buffers_) waiting += b.pending;
  changed_.wait(lock, [this] { return jobs_.empty() && decoding_ == 0; });
  return waiting;
}

void SdlSound::Play(std::int32_t buffer) {
  // Playing a buffer that still sounds starts it again from the beginning.
  std::unique_lock lock(mutex_);
  if (const Buffer* b = Decoded(buffer, lock); b && b->chunk) Mix_PlayChannel(b->channel, b->chunk, 0);
}

void SdlSound::PlayLooping(std::int32_t buffer) {
  std::unique_lock lock(mutex_);
  if (const Buffer* b = Decoded(buffer, lock); b && b->chunk) Mix_PlayChannel(b->channel, b->chunk, -1);
}

void SdlSound::Stop(std::int32_t buffer) {
  std::lock_guard lock(mutex_);
  if (const Buffer* b = Find(buffer)) Mix_HaltChannel(b->channel);
}

void SdlSound::Free(std::int32_t buffer) {
  std::unique_lock lock(mutex_);
  const auto it = buffers_.find(buffer);
  if (it == buffers_.end()) return;
  const auto job = std::find_if(jobs_.begin(), jobs_.end(), [&](const Job& j) { return j.handle == buffer; });
  if (job != jobs_.end()) {
    close(job->fd);
    jobs_.erase(job);
  }
  Mix_HaltChannel(it->second.channel);
  if (it->second.chunk) Mix_FreeChunk(it->second.chunk);
  freeChannels_.push_back(it->second.channel);
  buffers_.erase(it);
}

bool SdlSound::Sounding(std::int32_t buffer) {
  std::lock_guard lock(mutex_);
  const Buffer* b = Find(buffer);
  // A pending buffer has never been played.
  return b && b->chunk && Mix_Playing(b->channel) && Mix_GetChunk(b->channel) == b->chunk;
}

void SdlSound::PlayFile(const std::string& nativePath) {
  if (!Init(nullptr)) return;
  // A new sound on the route cuts off the one it still plays, even when the new file cannot be played.
  Mix_HaltChannel(kRouteChannel);
  Mix_Chunk*& chunk = routeSounds_[nativePath];
  if (!chunk) {
    const auto bytes = ReadSoundFile(nativePath);
    if (bytes && !bytes->empty() && bytes->size() <= 0x7fffffff)
      chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size())), 1);
  }
  if (chunk) {
    Mix_PlayChannel(kRouteChannel, chunk, 0);
  } else {
    routeSounds_.erase(nativePath);
  }
}

bool SdlSound::RouteSounding() { return open_ && Mix_Playing(kRouteChannel); }

void SdlSound::StopHelper() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    for (const Job& job : jobs_) close(job.fd);
    jobs_.clear();
    changed_.notify_all();
  }
  if (helper_.joinable()) helper_.join();
}

void SdlSound::Quit() {
  WaitForOpener();
  if (!open_) return;
  // The helper goes first: it decodes with the device's format.
  StopHelper();
  Mix_HaltChannel(-1);
  for (auto& [handle, b] : buffers_)
    if (b.chunk) Mix_FreeChunk(b.chunk);
  for (auto& [path, chunk] : routeSounds_) Mix_FreeChunk(chunk);
  buffers_.clear();
  routeSounds_.clear();
  freeChannels_.clear();
  nextChannel_ = kRouteChannel + 1;
  allocated_ = 0;
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  open_ = false;
}
