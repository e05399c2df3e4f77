#include "sound/wave_info.h"

#include <algorithm>
#include <cstring>

namespace {
std::uint32_t U32(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24; }
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
}  // namespace

double WaveInfo::Seconds() const {
  const double frameBytes = static_cast<double>(channels) * ((bitsPerSample + 7) / 8);
  if (frameBytes <= 0 || sampleRate <= 0) return 0;
  return dataBytes / frameBytes / sampleRate;
}

std::optional<WaveInfo> ReadWaveInfo(const std::uint8_t* bytes, std::size_t size) {
  if (!bytes || size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
    return std::nullopt;
  WaveInfo info;
  bool haveFormat = false;
  std::size_t pos = 12;
  // Chunks follow one another, each padded to an even length; a truncated last chunk counts as far as it goes.
  while (pos + 8 <= size) {
    const std::uint8_t* chunk = bytes + pos;
    const std::uint32_t length = U32(chunk + 4);
    const std::size_t body = pos + 8;
    const std::size_t available = std::min<std::size_t>(length, size - body);
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (available < 16) return std::nullopt;
      const std::uint16_t tag = U16(chunk + 8);
      info.channels = U16(chunk + 10);
      info.sampleRate = static_cast<int>(U32(chunk + 12));
      info.bitsPerSample = U16(chunk + 22);
      // PCM, IEEE float, or the extensible form that wraps them.
      if (tag != 1 && tag != 3 && tag != 0xFFFE) return std::nullopt;
      if (info.channels < 1 || info.sampleRate < 1 || info.bitsPerSample < 8) return std::nullopt;
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) return std::nullopt;
      info.dataBytes = static_cast<std::uint32_t>(available);
      return info;
    }
    pos = body + length + (length & 1);
  }
  return std::nullopt;
}
