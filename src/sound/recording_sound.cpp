#include "sound/recording_sound.h"

#include <limits>

#include "platform/backend.h"
#include "platform/files.h"
#include "sound/sound_bank.h"
#include "sound/wave_info.h"

namespace {
constexpr double kForever = std::numeric_limits<double>::infinity();

std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A silent 8-bit mono WAV of the given length.
Bytes SilentWave(double seconds) {
  const std::uint32_t rate = 8000;
  const auto samples = static_cast<std::uint32_t>(seconds * rate);
  Bytes w;
  auto bytes = [&](std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) w.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  auto text = [&](const char* s) {
    for (int i = 0; i < 4; ++i) w.push_back(static_cast<std::uint8_t>(s[i]));
  };
  text("RIFF"), bytes(36 + samples, 4), text("WAVE");
  text("fmt "), bytes(16, 4), bytes(1, 2), bytes(1, 2), bytes(rate, 4), bytes(rate, 4), bytes(1, 2), bytes(8, 2);
  text("data"), bytes(samples, 4);
  w.insert(w.end(), samples, 0x80);
  return w;
}
}  // namespace

RecordingSound::RecordingSound() : previous_(InstallSoundBackend(this)) {}

RecordingSound::~RecordingSound() {
  if (&CurrentSoundBackend() == this) InstallSoundBackend(previous_);
}

double RecordingSound::Now() const {
  return HasBackend() ? static_cast<double>(CurrentBackend().NowMs()) / 1000.0 : 0.0;
}

void RecordingSound::Log(const std::string& file, SoundAction action) { events_.push_back({Now(), file, action}); }

std::int32_t RecordingSound::Init(const void*) {
  Log("", SoundAction::Init);
  return initResult;
}

std::int32_t RecordingSound::Create(const std::uint8_t* bytes, std::size_t size, std::int32_t,
                                    const std::string& label) {
  // Like the playing back end, only a WAV it can read makes a buffer.
  const auto info = ReadWaveInfo(bytes, size);
  if (!info) {
    Log(label, SoundAction::CreateFailed);
    return 0;
  }
  const std::int32_t handle = nextHandle_++;
  buffers_[handle] = Buffer{label.empty() ? "#" + std::to_string(handle) : label, info->Seconds(), -1};
  Log(buffers_[handle].file, SoundAction::Create);
  return handle;
}

void RecordingSound::Play(std::int32_t buffer) {
  const auto it = buffers_.find(buffer);
  if (it == buffers_.end()) return;
  it->second.endsAt = Now() + it->second.seconds;
  Log(it->second.file, SoundAction::Play);
}

void RecordingSound::PlayLooping(std::int32_t buffer) {
  const auto it = buffers_.find(buffer);
  if (it == buffers_.end()) return;
  it->second.endsAt = kForever;
  Log(it->second.file, SoundAction::Loop);
}

void RecordingSound::Stop(std::int32_t buffer) {
  const auto it = buffers_.find(buffer);
  if (it == buffers_.end()) return;
  it->second.endsAt = -1;
  Log(it->second.file, SoundAction::Stop);
}

void RecordingSound::Free(std::int32_t buffer) {
  const auto it = buffers_.find(buffer);
  if (it == buffers_.end()) return;
  Log(it->second.file, SoundAction::Free);
  buffers_.erase(it);
}

void RecordingSound::Quit() {
  buffers_.clear();
  routeFile_.clear();
  routeEndsAt_ = -1;
  Log("", SoundAction::Quit);
}

void RecordingSound::PlayFile(const std::string& nativePath) {
  if (RouteSounding()) Log(routeFile_, SoundAction::Cut);
  routeFile_ = BaseName(nativePath);
  // A file that cannot be read makes no sound but is logged all the same.
  const auto bytes = ReadSoundFile(nativePath);
  const auto info = bytes ? ReadWaveInfo(bytes->data(), bytes->size()) : std::nullopt;
  routeEndsAt_ = info ? Now() + info->Seconds() : -1;
  Log(routeFile_, SoundAction::Route);
}

bool RecordingSound::Sounding(std::int32_t buffer) {
  const auto it = buffers_.find(buffer);
  return it != buffers_.end() && Now() < it->second.endsAt;
}

bool RecordingSound::RouteSounding() { return Now() < routeEndsAt_; }

std::string RecordingSound::RouteFile() { return RouteSounding() ? routeFile_ : ""; }

bool RecordingSound::FileSounding(const std::string& file) {
  for (const auto& [handle, b] : buffers_)
    if (b.file == file && Now() < b.endsAt) return true;
  return false;
}

std::vector<SoundEvent> RecordingSound::EventsOf(const std::string& file) const {
  std::vector<SoundEvent> out;
  for (const SoundEvent& e : events_)
    if (e.file == file) out.push_back(e);
  return out;
}

int RecordingSound::Count(const std::string& file, SoundAction action) const {
  int n = 0;
  for (const SoundEvent& e : events_) n += e.file == file && e.action == action;
  return n;
}

void RecordingSound::FillBank(double seconds) {
  const Bytes wave = SilentWave(seconds);
  for (int i = 0; i < kBankSize; ++i) {
    Free(SoundBank[i]);
    SoundBank[i] = Create(wave.data(), wave.size(), 1, BankFiles[i]);
  }
}
