#include "symbols.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace {

// The symbol cells start 3 pixels into a 125-pixel reel strip, so the drawing is centred a little right of the
// cell's middle to sit in the middle of the strip.
constexpr double kCx = 59, kCy = 27.5;

struct Colours {
  QColor top, bottom, outline, ring, accent, accentOutline;
};

Colours SevenColours(Theme t, bool bright) {
  if (t == Theme::Day)
    return bright ? Colours{{255, 255, 215}, {255, 165, 0}, {150, 20, 0}, {255, 255, 255}, {}, {}}
                  : Colours{{255, 80, 60}, {185, 0, 25}, {70, 0, 10}, {255, 205, 60}, {}, {}};
  return bright ? Colours{{255, 235, 255}, {255, 110, 210}, {60, 0, 90}, {255, 255, 255}, {}, {}}
                : Colours{{240, 90, 230}, {120, 0, 170}, {15, 0, 50}, {90, 235, 255}, {}, {}};
}

void PaintSeven(QPainter& p, Theme t, bool bright) {
  const Colours c = SevenColours(t, bright);
  // A slanted seven with a small serif at the left end of its bar; 46 pixels tall so its outline stays inside.
  const QPointF pts[] = {{0, 0}, {60, 0}, {60, 10}, {35, 46}, {18, 46}, {42, 11}, {9, 11}, {9, 18}, {0, 18}};
  QPolygonF poly;
  for (QPointF q : pts) poly << QPointF(q.x() + (46 - q.y()) * 0.14 + kCx - 33, q.y() + kCy - 23);
  QPainterPath path;
  path.addPolygon(poly);
  path.closeSubpath();
  QLinearGradient g(0, kCy - 23, 0, kCy + 23);
  g.setColorAt(0, c.top);
  g.setColorAt(1, c.bottom);
  OutlinedPath(p, path, g, c.outline, 7, c.ring, 3.2);
  // a shine along the bar
  p.save();
  p.setPen(QPen(QColor(255, 255, 255, bright ? 230 : 170), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(kCx - 22, kCy - 18.5), QPointF(kCx + 22, kCy - 18.5));
  p.drawLine(QPointF(kCx + 18, kCy - 12), QPointF(kCx + 4, kCy + 10));
  p.restore();
  if (bright) {
    Sparkle(p, kCx - 30, kCy + 12, 7, QColor(255, 255, 200));
    Sparkle(p, kCx + 32, kCy + 2, 6, QColor(255, 255, 200));
  }
}

// The machine's mascot: a round fluffy creature with small ears, big eyes and pink cheeks.
void PaintMofuran(QPainter& p, Theme t, bool bright) {
  QColor furIn, furOut, line, cheek, ear;
  if (bright) {  // lit: warm red-gold
    furIn = {255, 236, 120}, furOut = {240, 100, 30}, line = {130, 30, 0}, cheek = {255, 60, 60}, ear = {255, 120, 90};
  } else if (t == Theme::Day) {
    furIn = {255, 248, 232}, furOut = {240, 196, 150}, line = {115, 65, 35}, cheek = {255, 140, 160},
    ear = {255, 170, 180};
  } else {
    furIn = {240, 235, 255}, furOut = {160, 140, 235}, line = {40, 20, 95}, cheek = {255, 120, 200},
    ear = {230, 150, 255};
  }
  const double cx = kCx, cy = kCy + 3;
  // ears: rounded, peeking over the fluff
  for (int side = -1; side <= 1; side += 2) {
    QPainterPath e;
    e.moveTo(cx + side * 7, cy - 15);
    e.quadTo(cx + side * 9, cy - 28, cx + side * 17, cy - 27);
    e.quadTo(cx + side * 25, cy - 25, cx + side * 25, cy - 13);
    e.closeSubpath();
    OutlinedPath(p, e, furOut, line, 3.5);
    QPainterPath inner;
    inner.moveTo(cx + side * 11, cy - 16);
    inner.quadTo(cx + side * 12, cy - 24, cx + side * 17, cy - 24);
    inner.quadTo(cx + side * 22, cy - 23, cx + side * 22, cy - 15);
    inner.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(ear);
    p.drawPath(inner);
  }
  // fluffy body: an ellipse with a scalloped edge
  QPainterPath body;
  const int n = 180;
  for (int i = 0; i <= n; ++i) {
    const double a = 2 * std::numbers::pi * i / n;
    const double fluff = 1 + 0.07 * std::pow(std::abs(std::cos(8 * a)), 0.6);
    const QPointF q(cx + 34 * fluff * std::cos(a), cy + 1 + 21 * fluff * std::sin(a));
    if (i == 0)
      body.moveTo(q);
    else
      body.lineTo(q);
  }
  QRadialGradient g(cx - 8, cy - 8, 44);
  g.setColorAt(0, furIn);
  g.setColorAt(0.55, furIn);
  g.setColorAt(1, furOut);
  OutlinedPath(p, body, g, line, 3);
  // a tuft on the head
  p.setPen(QPen(line, 2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  QPainterPath tuft;
  tuft.moveTo(cx - 2, cy - 20);
  tuft.quadTo(cx - 6, cy - 27, cx + 1, cy - 27);
  tuft.moveTo(cx + 2, cy - 20);
  tuft.quadTo(cx + 4, cy - 28, cx + 9, cy - 25);
  p.drawPath(tuft);
  // eyes with highlights
  p.setPen(Qt::NoPen);
  for (int side = -1; side <= 1; side += 2) {
    p.setBrush(QColor(30, 20, 30));
    p.drawEllipse(QPointF(cx + side * 11, cy - 2), 4.2, 5.6);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(cx + side * 11 + 1.3, cy - 4), 1.7, 1.9);
    QColor ck = cheek;
    ck.setAlpha(200);
    p.setBrush(ck);
    p.drawEllipse(QPointF(cx + side * 20, cy + 6), 5.5, 3.2);
  }
  // a small "w" mouth
  QPainterPath mouth;
  mouth.moveTo(cx - 5, cy + 6);
  mouth.quadTo(cx - 2.5, cy + 10, cx, cy + 6.5);
  mouth.quadTo(cx + 2.5, cy + 10, cx + 5, cy + 6);
  p.setPen(QPen(line, 1.8, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(mouth);
  if (bright) {
    Sparkle(p, cx - 30, cy - 14, 6, QColor(255, 255, 210));
    Sparkle(p, cx + 30, cy + 12, 5, QColor(255, 255, 210));
  }
}

// A plump bean marked "12".
void PaintMame(QPainter& p, Theme t, bool bright) {
  QColor top, bottom, line, text, textLine;
  if (t == Theme::Day) {
    if (bright)
      top = {255, 250, 150}, bottom = {245, 150, 0}, line = {130, 50, 0}, text = {230, 20, 20},
      textLine = {255, 255, 255};
    else
      top = {170, 235, 90}, bottom = {40, 140, 30}, line = {20, 70, 10}, text = {255, 255, 255},
      textLine = {20, 80, 10};
  } else {
    if (bright)
      top = {220, 255, 255}, bottom = {40, 220, 230}, line = {0, 70, 110}, text = {255, 60, 160},
      textLine = {255, 255, 255};
    else
      top = {110, 235, 215}, bottom = {0, 125, 150}, line = {0, 40, 70}, text = {255, 255, 255}, textLine = {0, 50, 90};
  }
  const double cx = kCx, cy = kCy + 1;
  QPainterPath bean;  // a kidney: two humps over a gentle dip, a full round belly
  bean.moveTo(cx - 36, cy + 1);
  bean.cubicTo(cx - 38, cy - 17, cx - 16, cy - 24, cx - 4, cy - 15);
  bean.cubicTo(cx + 2, cy - 11, cx + 8, cy - 12, cx + 14, cy - 17);
  bean.cubicTo(cx + 28, cy - 26, cx + 42, cy - 12, cx + 37, cy + 4);
  bean.cubicTo(cx + 33, cy + 21, cx + 12, cy + 24, cx, cy + 22);
  bean.cubicTo(cx - 14, cy + 24, cx - 35, cy + 20, cx - 36, cy + 1);
  QLinearGradient g(0, cy - 22, 0, cy + 22);
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  OutlinedPath(p, bean, g, line, 3.5);
  Gloss(p, QRectF(cx - 28, cy - 17, 22, 9), bright ? 0.8 : 0.6);
  const QPainterPath twelve = TextPath("12", LatinFont(27), cx + 1, cy + 3);
  OutlinedPath(p, twelve, text, textLine, 4.5);
  if (bright) Sparkle(p, cx + 36, cy - 16, 6, QColor(255, 255, 220));
}

// "REPLAY" on a rounded badge.
void PaintReplay(QPainter& p, Theme t, bool bright) {
  QColor top, bottom, line, text, textLine;
  if (t == Theme::Day) {
    if (bright)
      top = {255, 190, 80}, bottom = {225, 30, 40}, line = {110, 0, 10}, text = {255, 255, 160}, textLine = {120, 0, 0};
    else
      top = {110, 185, 255}, bottom = {0, 70, 200}, line = {0, 25, 90}, text = {255, 255, 255}, textLine = {0, 30, 110};
  } else {
    if (bright)
      top = {255, 170, 240}, bottom = {210, 30, 150}, line = {70, 0, 60}, text = {255, 255, 190},
      textLine = {90, 0, 70};
    else
      top = {180, 130, 255}, bottom = {70, 20, 170}, line = {20, 0, 60}, text = {190, 255, 255}, textLine = {25, 0, 80};
  }
  const QRectF badge(kCx - 48, kCy - 17, 96, 34);
  QPainterPath b;
  b.addRoundedRect(badge, 12, 12);
  QLinearGradient g(0, badge.top(), 0, badge.bottom());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  OutlinedPath(p, b, g, line, 3.5);
  p.save();
  p.setPen(QPen(QColor(255, 255, 255, 150), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(badge.adjusted(3, 3, -3, -3), 9, 9);
  p.restore();
  Gloss(p, QRectF(badge.left() + 8, badge.top() + 3, badge.width() - 16, 12), 0.45);
  QFont f = LatinFont(19);
  f.setItalic(true);
  f.setLetterSpacing(QFont::AbsoluteSpacing, -0.5);
  const QPainterPath word = TextPath("REPLAY", f, kCx, kCy + 0.5);
  OutlinedPath(p, word, text, textLine, 3.5);
}

// Two cherries on a forked stem with a leaf.
void PaintCherry(QPainter& p, Theme t, bool bright) {
  QColor fruitIn, fruitOut, line, stem, leafA, leafB;
  if (t == Theme::Day) {
    fruitIn = bright ? QColor(255, 190, 170) : QColor(255, 110, 100);
    fruitOut = {180, 0, 25}, line = {80, 0, 10}, stem = {70, 120, 30}, leafA = {150, 225, 80}, leafB = {40, 130, 30};
  } else {
    fruitIn = bright ? QColor(255, 210, 250) : QColor(255, 120, 220);
    fruitOut = {150, 0, 130}, line = {40, 0, 50}, stem = {30, 140, 150}, leafA = {120, 240, 220}, leafB = {0, 120, 130};
  }
  const QPointF knot(kCx + 8, kCy - 20);
  const QPointF c1(kCx - 13, kCy + 11), c2(kCx + 14, kCy + 12);
  p.save();
  QPainterPath stems;
  stems.moveTo(c1 + QPointF(1, -10));
  stems.quadTo(kCx - 6, kCy - 12, knot.x(), knot.y());
  stems.moveTo(c2 + QPointF(0, -10));
  stems.quadTo(kCx + 12, kCy - 8, knot.x(), knot.y());
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(line, 5.5, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(stems);
  p.setPen(QPen(stem, 2.5, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(stems);
  // the leaf
  QPainterPath leaf;
  leaf.moveTo(knot);
  leaf.cubicTo(knot + QPointF(8, -9), knot + QPointF(22, -6), knot + QPointF(28, 2));
  leaf.cubicTo(knot + QPointF(20, 8), knot + QPointF(8, 7), knot);
  QLinearGradient lg(knot, knot + QPointF(28, 2));
  lg.setColorAt(0, leafB);
  lg.setColorAt(1, leafA);
  OutlinedPath(p, leaf, lg, line, 2.5);
  p.setPen(QPen(leafB, 1.2));
  p.drawLine(knot, knot + QPointF(24, 1));
  for (QPointF c : {c1, c2}) {
    QPainterPath fruit;
    fruit.addEllipse(c, 12.5, 12);
    QRadialGradient g(c + QPointF(-4, -4), 15);
    g.setColorAt(0, fruitIn);
    g.setColorAt(1, fruitOut);
    OutlinedPath(p, fruit, g, line, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 210));
    p.drawEllipse(c + QPointF(-4.5, -4.5), 3.2, 2.4);
  }
  p.restore();
}

QImage Paint(Symbol s, Theme t, bool bright) {
  QImage img = Canvas(kCellW, kCellH);
  QPainter p(&img);
  Prepare(p);
  switch (s) {
    case Symbol::Seven: PaintSeven(p, t, bright); break;
    case Symbol::Mofuran: PaintMofuran(p, t, bright); break;
    case Symbol::Mame: PaintMame(p, t, bright); break;
    case Symbol::Replay: PaintReplay(p, t, bright); break;
    case Symbol::Cherry: PaintCherry(p, t, bright); break;
  }
  return img;
}

// The symbol laid on white inside the mask, pure white outside it; rgbFactor scales the colours (1 = as drawn).
QImage Sprite(const QImage& art, const QImage& mask, double rgbFactor) {
  QImage out(kCellW, kCellH, QImage::Format_RGB32);
  for (int y = 0; y < kCellH; ++y)
    for (int x = 0; x < kCellW; ++x) {
      if (qRed(mask.pixel(x, y)) == 0) {
        out.setPixel(x, y, qRgb(255, 255, 255));
        continue;
      }
      const QRgb premul = reinterpret_cast<const QRgb*>(art.constScanLine(y))[x];
      const int alpha = qAlpha(premul);
      auto ch = [&](int v) { return std::clamp(int(std::lround((v + (255 - alpha)) * rgbFactor)), 0, 255); };
      out.setPixel(x, y, qRgb(ch(qRed(premul)), ch(qGreen(premul)), ch(qBlue(premul))));
    }
  return out;
}

}  // namespace

void PaintMascot(QPainter& p, double cx, double cy, double scale, Theme theme, bool lit) {
  p.save();
  p.translate(cx, cy);
  p.scale(scale, scale);
  p.translate(-kCx, -(kCy + 1));
  PaintMofuran(p, theme, lit);
  p.restore();
}

void PaintSymbolIcon(QPainter& p, const SymbolPictures& pics, const QRectF& target, bool bright) {
  const QImage& sprite = bright ? pics.bright : pics.normal;
  QImage icon(kCellW, kCellH, QImage::Format_ARGB32);
  for (int y = 0; y < kCellH; ++y)
    for (int x = 0; x < kCellW; ++x) {
      const QRgb c = sprite.pixel(x, y);
      icon.setPixel(x, y, qRed(pics.mask.pixel(x, y)) ? qRgba(qRed(c), qGreen(c), qBlue(c), 255) : qRgba(0, 0, 0, 0));
    }
  p.save();
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
  p.drawImage(target, icon);
  p.restore();
}

SymbolPictures DrawSymbol(Symbol s, Theme t) {
  const QImage normal = Paint(s, t, false), bright = Paint(s, t, true);
  SymbolPictures out;
  out.mask = QImage(kCellW, kCellH, QImage::Format_RGB32);
  for (int y = 0; y < kCellH; ++y)
    for (int x = 0; x < kCellW; ++x)
      out.mask.setPixel(x, y, qAlpha(normal.pixel(x, y)) >= 128 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
  out.normal = Sprite(normal, out.mask, 1.0);
  out.dark = Sprite(normal, out.mask, 0.4);
  out.bright = Sprite(bright, out.mask, 1.0);
  return out;
}
