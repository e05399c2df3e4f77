#include "reel_pictures.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

namespace {

// The brightness of a drum at row y: full in the middle, falling off towards the top and bottom like a cylinder.
double DrumLight(int y) {
  const double u = (y + 0.5 - kWindowH / 2.0) / (kWindowH / 2.0);  // -1 .. 1
  return 0.58 + 0.42 * std::cos(u * 1.25);
}

// A soft darkening of the drum's left and right edges within the part that is shown.
double EdgeLight(int x) {
  const double d = std::min(x + 0.5, kStripShown - 0.5 - x);
  return d < 0 ? 0.8 : 0.82 + 0.18 * std::min(1.0, d / 7.0);
}

QColor Lit(QColor c, double f) {
  return Shade(c, f);
}

// A simple deterministic scatter for decorations.
double Hash(int i, int salt) {
  unsigned h = unsigned(i) * 2654435761u ^ unsigned(salt) * 40503u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return double(h % 10000) / 10000.0;
}

}  // namespace

QImage PlainStrip(int width) {
  QImage img(width, kWindowH, QImage::Format_RGB32);
  const QColor base(252, 250, 243);
  for (int y = 0; y < kWindowH; ++y)
    for (int x = 0; x < width; ++x) img.setPixel(x, y, Lit(base, DrumLight(y) * EdgeLight(x)).rgb());
  return img;
}

QImage BonusStrip(int width, Theme theme, int reel) {
  QImage img = Canvas(width, kWindowH, Qt::black);
  QPainter p(&img);
  Prepare(p);
  const QColor centre = theme == Theme::Day ? QColor(255, 246, 175) : QColor(205, 180, 255);
  const QColor edge = theme == Theme::Day ? QColor(255, 120, 70) : QColor(80, 30, 170);
  // the lit drum: a warm glow across, shaded top and bottom
  for (int y = 0; y < kWindowH; ++y) {
    QLinearGradient g(0, 0, kStripShown, 0);
    const double l = DrumLight(y);
    g.setColorAt(0, Shade(edge, l));
    g.setColorAt(0.5, Shade(centre, l));
    g.setColorAt(1, Shade(edge, l));
    p.fillRect(QRectF(0, y, width, 1), g);
  }
  // rays fanning out from the middle of the drum
  p.save();
  p.setClipRect(0, 0, kStripShown, kWindowH);
  p.translate(kStripShown / 2.0, kWindowH / 2.0);
  for (int i = 0; i < 16; ++i) {
    p.rotate(360.0 / 16);
    QPainterPath ray;
    ray.moveTo(0, 0);
    ray.lineTo(140, -10);
    ray.lineTo(140, 10);
    ray.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, i % 2 ? 28 : 50));
    p.drawPath(ray);
  }
  p.restore();
  // scattered sparkles
  const QColor star = theme == Theme::Day ? QColor(255, 255, 230, 200) : QColor(170, 255, 255, 210);
  for (int i = 0; i < 14; ++i) {
    const double x = 6 + Hash(i, reel) * (kStripShown - 12), y = 6 + Hash(i, reel + 7) * (kWindowH - 12);
    Sparkle(p, x, y, 2.5 + 3 * Hash(i, reel + 13), star);
  }
  p.end();
  // the same edge darkening as the plain drum
  for (int y = 0; y < kWindowH; ++y)
    for (int x = 0; x < width; ++x) img.setPixel(x, y, Shade(QColor(img.pixel(x, y)), EdgeLight(x)).rgb());
  return img.convertToFormat(QImage::Format_RGB32);
}

QImage ReelWindow(bool lit) {
  QImage img = Canvas(kWindowW, kWindowH, QColor(34, 26, 40));
  QPainter p(&img);
  Prepare(p);
  for (int r = 0; r < 3; ++r) {
    QImage strip = PlainStrip(kStripW[r]).copy(0, 0, kStripShown, kWindowH);
    if (!lit) {  // the reels' lamps off: a deep, cold dark
      for (int y = 0; y < kWindowH; ++y)
        for (int x = 0; x < kStripShown; ++x) {
          const QColor c(strip.pixel(x, y));
          strip.setPixel(x, y, qRgb(c.red() * 14 / 100, c.green() * 14 / 100, c.blue() * 20 / 100));
        }
    }
    p.drawImage(kStripX[r], 0, strip);
  }
  // the dividers between the reels catch a little light on their left edge
  const int gaps[3][2] = {
      {kStripShown, kStripX[1]}, {kStripX[1] + kStripShown, kStripX[2]}, {kStripX[2] + kStripShown, kWindowW}};
  for (const auto& g : gaps) {
    p.fillRect(QRect(g[0], 0, g[1] - g[0], kWindowH), QColor(28, 20, 34));
    p.fillRect(QRect(g[0], 0, 1, kWindowH), lit ? QColor(90, 80, 100) : QColor(50, 44, 56));
  }
  p.end();
  return img.convertToFormat(QImage::Format_RGB32);
}

QImage DigitStrip() {
  QImage img = Canvas(97, 55, Qt::white);
  QPainter p(&img);
  Prepare(p);
  // Seven segments: a top, b upper right, c lower right, d bottom, e lower left, f upper left, g middle.
  static const char* segs[10] = {"abcdef", "bc",     "abdeg", "abcdg",   "bcfg",
                                 "acdfg",  "acdefg", "abc",   "abcdefg", "abcdfg"};
  const QColor on(150, 0, 25), off(238, 226, 228);
  auto segment = [&](double x0, double y0, char s, QColor c) {
    const double w = 11, h = 21, t = 2.8, slant = 1.6;  // digit box and stroke
    auto at = [&](double x, double y) { return QPointF(x0 + x + slant * (1 - y / h), y0 + y); };
    QPolygonF poly;
    auto hseg = [&](double y) {
      poly << at(t * 0.6, y) << at(t * 1.1, y - t / 2) << at(w - t * 1.1, y - t / 2) << at(w - t * 0.6, y)
           << at(w - t * 1.1, y + t / 2) << at(t * 1.1, y + t / 2);
    };
    auto vseg = [&](double x, double ya, double yb) {
      poly << at(x, ya + t * 0.6) << at(x + t / 2, ya + t * 1.1) << at(x + t / 2, yb - t * 1.1) << at(x, yb - t * 0.6)
           << at(x - t / 2, yb - t * 1.1) << at(x - t / 2, ya + t * 1.1);
    };
    switch (s) {
      case 'a': hseg(t / 2); break;
      case 'g': hseg(h / 2); break;
      case 'd': hseg(h - t / 2); break;
      case 'f': vseg(t / 2, 0, h / 2); break;
      case 'e': vseg(t / 2, h / 2, h); break;
      case 'b': vseg(w - t / 2, 0, h / 2); break;
      case 'c': vseg(w - t / 2, h / 2, h); break;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(poly);
  };
  const int xs[5] = {2, 20, 38, 56, 74};
  for (int d = 0; d < 10; ++d) {
    const int digit = (d + 1) % 10;  // 1..9 then 0
    const double x0 = xs[d % 5] + 2.5, y0 = (d < 5 ? 0 : 28) + 2.5;
    const std::string lit = segs[digit];
    for (char s : std::string("abcdefg")) segment(x0, y0, s, lit.find(s) != std::string::npos ? on : off);
  }
  p.end();
  return img.convertToFormat(QImage::Format_RGB32);
}
