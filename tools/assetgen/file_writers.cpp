#include "file_writers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

void Put16(std::vector<unsigned char>& b, std::uint32_t v) {
  b.push_back(static_cast<unsigned char>(v & 0xFF));
  b.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}
void Put32(std::vector<unsigned char>& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

bool WriteAll(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

}  // namespace

bool WriteBmp24(const QImage& image, const std::string& path) {
  const QImage img = image.convertToFormat(QImage::Format_RGB32);
  const std::uint32_t w = std::uint32_t(img.width()), h = std::uint32_t(img.height());
  const std::uint32_t stride = (w * 3 + 3) & ~3u, dataSize = stride * h;
  std::vector<unsigned char> b;
  b.reserve(54 + dataSize);
  b.push_back('B');
  b.push_back('M');
  Put32(b, 54 + dataSize);  // file size
  Put32(b, 0);              // reserved
  Put32(b, 54);             // offset of the pixels
  Put32(b, 40);             // BITMAPINFOHEADER
  Put32(b, w);
  Put32(b, h);   // positive: rows run bottom-up
  Put16(b, 1);   // planes
  Put16(b, 24);  // bits per pixel
  Put32(b, 0);   // no compression
  Put32(b, dataSize);
  Put32(b, 2835);  // 72 dpi
  Put32(b, 2835);
  Put32(b, 0);
  Put32(b, 0);
  for (int y = int(h) - 1; y >= 0; --y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (std::uint32_t x = 0; x < w; ++x) {
      b.push_back(static_cast<unsigned char>(qBlue(row[x])));
      b.push_back(static_cast<unsigned char>(qGreen(row[x])));
      b.push_back(static_cast<unsigned char>(qRed(row[x])));
    }
    for (std::uint32_t pad = w * 3; pad < stride; ++pad) b.push_back(0);
  }
  return WriteAll(path, b);
}

bool WriteWav16(const synth::Track& track, const std::string& path) {
  const std::uint32_t channels = track.stereo ? 2 : 1, frames = std::uint32_t(track.l.size());
  const std::uint32_t dataSize = frames * channels * 2;
  std::vector<unsigned char> b;
  b.reserve(44 + dataSize);
  for (char c : std::string("RIFF")) b.push_back(static_cast<unsigned char>(c));
  Put32(b, 36 + dataSize);
  for (char c : std::string("WAVEfmt ")) b.push_back(static_cast<unsigned char>(c));
  Put32(b, 16);
  Put16(b, 1);  // PCM
  Put16(b, channels);
  Put32(b, synth::kRate);
  Put32(b, synth::kRate * channels * 2);
  Put16(b, channels * 2);
  Put16(b, 16);
  for (char c : std::string("data")) b.push_back(static_cast<unsigned char>(c));
  Put32(b, dataSize);
  auto sample = [&](double v) {
    const long s = std::lround(std::clamp(v, -1.0, 1.0) * 32767.0);
    Put16(b, std::uint32_t(std::uint16_t(std::int16_t(s))));
  };
  for (std::uint32_t i = 0; i < frames; ++i) {
    if (channels == 2) {
      sample(track.l[i]);
      sample(track.r[i]);
    } else {
      sample(0.5 * (double(track.l[i]) + double(track.r[i])));
    }
  }
  return WriteAll(path, b);
}

bool EnsureFolder(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return std::filesystem::is_directory(path, ec);
}
