// The sound back end for tests: makes no sound, keeps a log of every call with the virtual time it came at, and
// knows from each file's header how long it sounds, so a test can ask what is sounding at any moment.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sound/sound_library.h"

enum class SoundAction { Init, Create, CreateFailed, Play, Loop, Stop, Free, Quit, Route, Cut };

struct SoundEvent {
  double at;         // seconds on the platform's event clock (the virtual clock under the virtual back end)
  std::string file;  // the buffer's file name, or the route's file name
  SoundAction action;
};

class RecordingSound : public SoundBackend {
 public:
  // Installs itself; the back end it replaced comes back when it goes.
  RecordingSound();
  ~RecordingSound() override;
  RecordingSound(const RecordingSound&) = delete;
  RecordingSound& operator=(const RecordingSound&) = delete;

  // What Init returns: set it to 0 to act out a machine without any sound.
  std::int32_t initResult = 1;

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

  const std::vector<SoundEvent>& Events() const { return events_; }
  void ClearEvents() { events_.clear(); }
  // Events of one file, in order.
  std::vector<SoundEvent> EventsOf(const std::string& file) const;
  int Count(const std::string& file, SoundAction action) const;
  // Whether the bank buffer made from this file is sounding now; the file the route plays now, or "".
  bool FileSounding(const std::string& file);
  std::string RouteFile();
  std::size_t LiveBuffers() const { return buffers_.size(); }

  // Fills the game's sound bank with a buffer for every file, each sounding for the given time, without any
  // files on disk: for tests that only ask which sounds the game plays and when.
  void FillBank(double seconds = 0.5);

 private:
  struct Buffer {
    std::string file;
    double seconds;
    double endsAt;  // < 0 silent, infinity while looping
  };
  double Now() const;
  void Log(const std::string& file, SoundAction action);

  SoundBackend* previous_;
  std::map<std::int32_t, Buffer> buffers_;
  std::int32_t nextHandle_ = 1;
  std::string routeFile_;
  double routeEndsAt_ = -1;
  std::vector<SoundEvent> events_;
};
