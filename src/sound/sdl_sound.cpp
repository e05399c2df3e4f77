#include "sound/sdl_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>

#include "platform/files.h"

SdlSound& DefaultSdlSound() {
  static SdlSound sound;
  return sound;
}

SdlSound::~SdlSound() {
  if (open_) Quit();
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

const SdlSound::Buffer* SdlSound::Find(std::int32_t buffer) const {
  const auto it = buffers_.find(buffer);
  return it == buffers_.end() ? nullptr : &it->second;
}

int SdlSound::ChannelOf(std::int32_t buffer) const {
  const Buffer* b = Find(buffer);
  return b ? b->channel : -1;
}

std::int32_t SdlSound::Create(const std::uint8_t* bytes, std::size_t size, std::int32_t, const std::string&) {
  if (!open_ || !bytes || size == 0 || size > 0x7fffffff) return 0;
  // Decoded into the device's format now: the caller's bytes are not needed afterwards.
  Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes, static_cast<int>(size)), 1);
  if (!chunk) return 0;
  const std::int32_t handle = nextHandle_++;
  buffers_[handle] = Buffer{chunk, TakeChannel()};
  return handle;
}

void SdlSound::Play(std::int32_t buffer) {
  // Playing a buffer that still sounds starts it again from the beginning.
  if (const Buffer* b = Find(buffer)) Mix_PlayChannel(b->channel, b->chunk, 0);
}

void SdlSound::PlayLooping(std::int32_t buffer) {
  if (const Buffer* b = Find(buffer)) Mix_PlayChannel(b->channel, b->chunk, -1);
}

void SdlSound::Stop(std::int32_t buffer) {
  if (const Buffer* b = Find(buffer)) Mix_HaltChannel(b->channel);
}

void SdlSound::Free(std::int32_t buffer) {
  const auto it = buffers_.find(buffer);
  if (it == buffers_.end()) return;
  Mix_HaltChannel(it->second.channel);
  Mix_FreeChunk(it->second.chunk);
  freeChannels_.push_back(it->second.channel);
  buffers_.erase(it);
}

bool SdlSound::Sounding(std::int32_t buffer) {
  const Buffer* b = Find(buffer);
  return b && Mix_Playing(b->channel) && Mix_GetChunk(b->channel) == b->chunk;
}

void SdlSound::PlayFile(const std::string& nativePath) {
  if (!open_ && !Init(nullptr)) return;
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

void SdlSound::Quit() {
  if (!open_) return;
  Mix_HaltChannel(-1);
  for (auto& [handle, b] : buffers_) Mix_FreeChunk(b.chunk);
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
