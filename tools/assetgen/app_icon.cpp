#include "app_icon.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include "paint_kit.h"
#include "symbols.h"

QImage AppIcon(int size) {
  QImage icon = Canvas(size, size);
  QPainter p(&icon);
  Prepare(p);
  // Drawn on a 256-unit tile and scaled, so every size has the same proportions.
  p.scale(size / 256.0, size / 256.0);
  const QRectF tile(8, 8, 240, 240);
  QLinearGradient body(0, 8, 0, 248);
  body.setColorAt(0, QColor(230, 40, 60));
  body.setColorAt(1, QColor(120, 0, 40));
  p.setPen(QPen(QColor(255, 205, 60), 10));
  p.setBrush(body);
  p.drawRoundedRect(tile.adjusted(5, 5, -5, -5), 44, 44);
  // A lit reel window behind the mascot.
  QRadialGradient glow(128, 118, 110);
  glow.setColorAt(0, QColor(255, 255, 230));
  glow.setColorAt(1, QColor(255, 190, 90));
  p.setPen(QPen(QColor(90, 20, 10), 6));
  p.setBrush(glow);
  p.drawRoundedRect(QRectF(34, 44, 188, 150), 24, 24);
  PaintMascot(p, 128, 124, 2.3, Theme::Day, false);
  // The machine's name under the window.
  const QPainterPath name = TextPath(QStringLiteral("モフラン"), GameFont(34), 128, 218);
  OutlinedPath(p, name, QColor(255, 240, 120), QColor(80, 0, 20), 6);
  Gloss(p, QRectF(40, 48, 176, 60), 0.35);
  p.end();
  return icon;
}
