#include "platform/picture.h"

#include <algorithm>

#include "platform/files.h"

void BitBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, unsigned op) {
  if (dst.isNull() || src.isNull()) return;
  // Clip against the source, then the destination, moving both corners together.
  if (sx < 0) { x -= sx; w += sx; sx = 0; }
  if (sy < 0) { y -= sy; h += sy; sy = 0; }
  if (x < 0) { sx -= x; w += x; x = 0; }
  if (y < 0) { sy -= y; h += y; y = 0; }
  w = std::min({w, src.width() - sx, dst.width() - x});
  h = std::min({h, src.height() - sy, dst.height() - y});
  if (w <= 0 || h <= 0) return;
  const QImage source = (&src == &dst) ? src.copy() : src;
  for (int row = 0; row < h; ++row) {
    const auto* s = reinterpret_cast<const QRgb*>(source.constScanLine(sy + row)) + sx;
    auto* d = reinterpret_cast<QRgb*>(dst.scanLine(y + row)) + x;
    switch (op) {
      case SRCPAINT:
        for (int i = 0; i < w; ++i) d[i] = (d[i] | s[i]) | 0xFF000000u;
        break;
      case SRCAND:
        for (int i = 0; i < w; ++i) d[i] = (d[i] & s[i]) | 0xFF000000u;
        break;
      default:
        std::copy(s, s + w, d);
        for (int i = 0; i < w; ++i) d[i] |= 0xFF000000u;
        break;
    }
  }
}

bool PixelDrawingOff = false;

void BitBlt(PictureBox& dst, int x, int y, int w, int h, const PictureBox& src, int sx, int sy, unsigned op) {
  if (PixelDrawingOff) return;
  BitBlt(dst.Image, x, y, w, h, src.Image, sx, sy, op);
}

QImage LoadImageFile(const std::string& path) {
  // Checked first: for a missing file Qt would try a dozen other suffixes before giving up.
  if (!FileExists(path)) return {};
  QImage image;
  if (!image.load(QString::fromStdString(NativePath(path)))) return {};
  return image.convertToFormat(QImage::Format_RGB32);
}
