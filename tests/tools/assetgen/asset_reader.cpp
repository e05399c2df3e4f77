#include "asset_reader.h"

#include <fstream>
#include <iterator>

namespace assets {
namespace {

std::vector<unsigned char> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t U16(const std::vector<unsigned char>& b, size_t at) {
  return b[at] | (b[at + 1] << 8);
}
std::uint32_t U32(const std::vector<unsigned char>& b, size_t at) {
  return U16(b, at) | (U16(b, at + 2) << 16);
}

}  // namespace

std::filesystem::path OutputFolder() {
  namespace fs = std::filesystem;
  if (fs::is_directory("sozaiMofuran")) return fs::current_path();
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path() : self.parent_path();
}

std::filesystem::path PictureFile(const std::string& name) {
  return OutputFolder() / "sozaiMofuran" / (name + ".bmp");
}
std::filesystem::path SoundFile(const std::string& name) {
  return OutputFolder() / "soundMofuran" / name;
}

std::optional<Bmp> ReadBmp(const std::filesystem::path& path) {
  const std::vector<unsigned char> b = ReadAll(path);
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  const std::uint32_t offset = U32(b, 10), header = U32(b, 14);
  Bmp bmp;
  bmp.width = int(U32(b, 18));
  const auto rawHeight = std::int32_t(U32(b, 22));
  bmp.bitsPerPixel = int(U16(b, 28));
  if (header < 40 || U32(b, 30) != 0 || bmp.bitsPerPixel != 24 || bmp.width <= 0 || rawHeight == 0) return std::nullopt;
  bmp.height = rawHeight < 0 ? -rawHeight : rawHeight;
  const size_t stride = (size_t(bmp.width) * 3 + 3) & ~size_t(3);
  if (b.size() < offset + stride * size_t(bmp.height)) return std::nullopt;
  bmp.pixels.resize(size_t(bmp.width) * size_t(bmp.height));
  for (int row = 0; row < bmp.height; ++row) {
    const int y = rawHeight > 0 ? bmp.height - 1 - row : row;  // positive heights are stored bottom-up
    const size_t at = offset + stride * size_t(row);
    for (int x = 0; x < bmp.width; ++x) {
      const size_t p = at + size_t(x) * 3;
      bmp.pixels[size_t(y) * size_t(bmp.width) + size_t(x)] = (b[p + 2] << 16) | (b[p + 1] << 8) | b[p];
    }
  }
  return bmp;
}

std::optional<Wav> ReadWav(const std::filesystem::path& path) {
  const std::vector<unsigned char> b = ReadAll(path);
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
    return std::nullopt;
  Wav wav;
  bool haveFormat = false;
  size_t at = 12;
  while (at + 8 <= b.size()) {
    const std::string id(b.begin() + long(at), b.begin() + long(at) + 4);
    const size_t size = U32(b, at + 4), body = at + 8;
    if (body + size > b.size()) return std::nullopt;
    if (id == "fmt ") {
      if (size < 16 || U16(b, body) != 1) return std::nullopt;  // PCM only
      wav.channels = int(U16(b, body + 2));
      wav.rate = int(U32(b, body + 4));
      wav.bits = int(U16(b, body + 14));
      haveFormat = true;
    } else if (id == "data") {
      if (!haveFormat || wav.bits != 16 || wav.channels < 1) return std::nullopt;
      const size_t frames = size / (2 * size_t(wav.channels));
      wav.samples.assign(size_t(wav.channels), std::vector<double>(frames));
      for (size_t f = 0; f < frames; ++f)
        for (int c = 0; c < wav.channels; ++c) {
          const auto v = std::int16_t(U16(b, body + (f * size_t(wav.channels) + size_t(c)) * 2));
          wav.samples[size_t(c)][f] = v / 32768.0;
        }
      return wav;
    }
    at = body + size + (size & 1);
  }
  return std::nullopt;
}

}  // namespace assets
