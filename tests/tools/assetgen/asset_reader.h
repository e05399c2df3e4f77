// Reads the generated picture and sound files back, with their own small parsers so that the format on disk is
// what is checked (24-bit BMP, 16-bit PCM WAV), not what a library is willing to accept.
#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace assets {

// The folder holding "sozaiMofuran" and "soundMofuran": the working folder, else the test program's own folder.
std::filesystem::path OutputFolder();
std::filesystem::path PictureFile(const std::string& name);  // name without ".bmp"
std::filesystem::path SoundFile(const std::string& name);    // name with its extension

struct Bmp {
  int width = 0, height = 0, bitsPerPixel = 0;
  std::vector<std::uint32_t> pixels;  // 0xRRGGBB, top row first
  std::uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};
// A BITMAPINFOHEADER BMP, uncompressed 24-bit; nothing for anything else.
std::optional<Bmp> ReadBmp(const std::filesystem::path& path);

struct Wav {
  int channels = 0, rate = 0, bits = 0;
  std::vector<std::vector<double>> samples;  // per channel, -1..1
  double Seconds() const { return samples.empty() ? 0 : double(samples[0].size()) / rate; }
};
// A RIFF WAVE of 16-bit PCM; nothing for anything else.
std::optional<Wav> ReadWav(const std::filesystem::path& path);

inline int Red(std::uint32_t c) {
  return int(c >> 16) & 0xFF;
}
inline int Green(std::uint32_t c) {
  return int(c >> 8) & 0xFF;
}
inline int Blue(std::uint32_t c) {
  return int(c) & 0xFF;
}
inline double Luma(std::uint32_t c) {
  return 0.299 * Red(c) + 0.587 * Green(c) + 0.114 * Blue(c);
}

}  // namespace assets
