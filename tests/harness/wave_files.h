// WAV files written by the tests themselves: 16-bit PCM mono of a given length, a quiet tone.
#pragma once
#include <cmath>
#include <cstdint>
#include <string>

#include "platform/files.h"

inline Bytes MakeWave(double seconds, int rate = 22050) {
  const auto frames = static_cast<std::uint32_t>(std::lround(seconds * rate));
  Bytes w;
  auto bytes = [&](std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) w.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  auto text = [&](const char* s) {
    for (int i = 0; i < 4; ++i) w.push_back(static_cast<std::uint8_t>(s[i]));
  };
  const auto r = static_cast<std::uint32_t>(rate);
  text("RIFF"), bytes(36 + frames * 2, 4), text("WAVE");
  text("fmt "), bytes(16, 4), bytes(1, 2), bytes(1, 2), bytes(r, 4), bytes(r * 2, 4), bytes(2, 2), bytes(16, 2);
  text("data"), bytes(frames * 2, 4);
  for (std::uint32_t i = 0; i < frames; ++i) bytes(static_cast<std::uint16_t>(2000 * std::sin(i * 0.05)), 2);
  return w;
}

inline void WriteWave(const std::string& path, double seconds) { WriteAllBytes(path, MakeWave(seconds)); }
