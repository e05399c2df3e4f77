#include "paint_kit.h"

#include <QFile>
#include <QFontDatabase>
#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

namespace {
QString g_family, g_latin;
}

QString SetUpJapaneseFont() {
  const char* latin = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
  if (QFile::exists(latin)) {
    const QStringList fams = QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(latin));
    if (!fams.isEmpty()) g_latin = fams.first();
  }
  // Prefer the proportional IPA Gothic; load it from its file so that the result does not depend on how the
  // platform plug-in looks fonts up.
  const char* files[] = {"/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf",
                         "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
                         "/usr/share/fonts/truetype/fonts-japanese-gothic.ttf",
                         "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc",
                         "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
                         "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf"};
  for (const char* f : files) {
    if (!QFile::exists(f)) continue;
    const int id = QFontDatabase::addApplicationFont(f);
    const QStringList fams = QFontDatabase::applicationFontFamilies(id);
    if (!fams.isEmpty()) {
      g_family = fams.first();
      return g_family;
    }
  }
  for (const QString& fam : QFontDatabase::families(QFontDatabase::Japanese)) {
    g_family = fam;
    return g_family;
  }
  g_family = QStringLiteral("Sans");
  return g_family;
}

QFont GameFont(double pixelSize, bool bold) {
  QFont f(g_family.isEmpty() ? QStringLiteral("Sans") : g_family);
  f.setPixelSize(int(std::lround(pixelSize)));
  f.setBold(bold);
  f.setStyleStrategy(QFont::PreferAntialias);
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

QFont LatinFont(double pixelSize) {
  if (g_latin.isEmpty()) return GameFont(pixelSize, true);
  QFont f(g_latin);
  f.setPixelSize(int(std::lround(pixelSize)));
  f.setBold(true);
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

QImage Canvas(int w, int h, QColor fill) {
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(fill);
  return img;
}

void Prepare(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QPainterPath TextPath(const QString& text, const QFont& font, double cx, double cy) {
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF b = path.boundingRect();
  path.translate(cx - b.center().x(), cy - b.center().y());
  return path;
}

void OutlinedPath(QPainter& p, const QPainterPath& path, const QBrush& fill, QColor outline, double w, QColor inner,
                  double wi) {
  p.save();
  if (w > 0) {
    p.setPen(QPen(outline, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
  }
  if (wi > 0) {
    p.setPen(QPen(inner, wi, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawPath(path);
  p.restore();
}

void Sparkle(QPainter& p, double x, double y, double r, QColor c) {
  QPainterPath s;
  s.moveTo(x, y - r);
  s.quadTo(x, y, x + r, y);
  s.quadTo(x, y, x, y + r);
  s.quadTo(x, y, x - r, y);
  s.quadTo(x, y, x, y - r);
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPath(s);
  p.restore();
}

void Gloss(QPainter& p, const QRectF& r, double alpha) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, QColor(255, 255, 255, int(255 * alpha)));
  g.setColorAt(1, QColor(255, 255, 255, 0));
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(r);
  p.restore();
}

void Bulb(QPainter& p, double x, double y, double r, QColor c, bool lit) {
  p.save();
  p.setPen(Qt::NoPen);
  if (lit) {
    QRadialGradient halo(x, y, r * 2.2);
    QColor h = c;
    h.setAlpha(110);
    halo.setColorAt(0, h);
    h.setAlpha(0);
    halo.setColorAt(1, h);
    p.setBrush(halo);
    p.drawEllipse(QPointF(x, y), r * 2.2, r * 2.2);
  }
  QRadialGradient g(x - r * 0.3, y - r * 0.3, r * 1.2);
  g.setColorAt(0, lit ? QColor(255, 255, 240) : Shade(c, 0.55));
  g.setColorAt(0.45, lit ? c : Shade(c, 0.35));
  g.setColorAt(1, Shade(c, lit ? 0.6 : 0.2));
  p.setBrush(g);
  p.drawEllipse(QPointF(x, y), r, r);
  p.restore();
}

QColor Shade(QColor c, double f) {
  auto ch = [f](int v) { return std::clamp(int(std::lround(v * f)), 0, 255); };
  return QColor(ch(c.red()), ch(c.green()), ch(c.blue()), c.alpha());
}

void Bevel(QPainter& p, const QRectF& rect, double width, QColor light, QColor dark) {
  const QRectF o = rect.adjusted(-width, -width, width, width);
  p.save();
  p.setPen(Qt::NoPen);
  QPainterPath top;
  top.moveTo(o.topLeft());
  top.lineTo(o.topRight());
  top.lineTo(rect.topRight());
  top.lineTo(rect.topLeft());
  top.lineTo(rect.bottomLeft());
  top.lineTo(o.bottomLeft());
  top.closeSubpath();
  QPainterPath bottom;
  bottom.moveTo(o.bottomRight());
  bottom.lineTo(o.bottomLeft());
  bottom.lineTo(rect.bottomLeft());
  bottom.lineTo(rect.bottomRight());
  bottom.lineTo(rect.topRight());
  bottom.lineTo(o.topRight());
  bottom.closeSubpath();
  p.setBrush(light);
  p.drawPath(top);
  p.setBrush(dark);
  p.drawPath(bottom);
  p.restore();
}
