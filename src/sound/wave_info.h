// What the header of a WAV file says about its sound: format, and how long it plays.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

struct WaveInfo {
  int channels = 0;
  int sampleRate = 0;
  int bitsPerSample = 0;
  std::uint32_t dataBytes = 0;  // the samples, as far as the file holds them
  double Seconds() const;
};

// The format and length of a RIFF/WAVE file held in memory; nothing when the bytes are not a playable WAV.
std::optional<WaveInfo> ReadWaveInfo(const std::uint8_t* bytes, std::size_t size);
