#include "portraits.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

#include "paint_kit.h"
#include "symbols.h"

namespace {

struct Who {
  QString name;
  QString rank;  // the contract, shown under the name
  QColor bgTop, bgBottom, nameColour;
};

const Who kWho[kPortraitCount] = {
    {QStringLiteral("もこじろう"), QStringLiteral("100G 契約"), {170, 225, 255}, {70, 150, 230}, {255, 255, 255}},
    {QStringLiteral("もこたろう"), QStringLiteral("300G 契約"), {190, 245, 170}, {60, 160, 70}, {255, 255, 255}},
    {QStringLiteral("もこパパ"), QStringLiteral("1000G 契約"), {255, 215, 160}, {225, 120, 40}, {255, 255, 255}},
    {QStringLiteral("にゃんすけ"), QStringLiteral("5000G 契約"), {230, 190, 255}, {130, 70, 200}, {255, 255, 255}},
    {QStringLiteral("もこゴッド"), QStringLiteral("15000G 契約"), {255, 250, 190}, {230, 160, 0}, {255, 255, 255}},
};

// The cat: a round ginger face with pointed ears, stripes, whiskers and a smug smile.
void PaintCat(QPainter& p, double cx, double cy) {
  const QColor fur(255, 180, 90), line(90, 45, 10), inner(255, 170, 180);
  for (int side = -1; side <= 1; side += 2) {
    QPainterPath ear;
    ear.moveTo(cx + side * 6, cy - 16);
    ear.lineTo(cx + side * 22, cy - 27);
    ear.lineTo(cx + side * 21, cy - 7);
    ear.closeSubpath();
    OutlinedPath(p, ear, fur, line, 3);
    QPainterPath in;
    in.moveTo(cx + side * 10, cy - 15);
    in.lineTo(cx + side * 19, cy - 22);
    in.lineTo(cx + side * 18, cy - 11);
    in.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(inner);
    p.drawPath(in);
  }
  QPainterPath face;
  face.addEllipse(QPointF(cx, cy), 24, 20);
  QRadialGradient g(cx - 6, cy - 6, 30);
  g.setColorAt(0, QColor(255, 225, 170));
  g.setColorAt(1, fur);
  OutlinedPath(p, face, g, line, 3);
  p.setPen(QPen(QColor(220, 120, 40), 2.2, Qt::SolidLine, Qt::RoundCap));
  for (int k = -1; k <= 1; ++k) p.drawLine(QPointF(cx + k * 6, cy - 19), QPointF(cx + k * 5, cy - 13));
  // half-closed, knowing eyes
  p.setPen(QPen(QColor(30, 20, 20), 2.4, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  for (int side = -1; side <= 1; side += 2) {
    QPainterPath eye;
    eye.moveTo(cx + side * 13, cy - 3);
    eye.quadTo(cx + side * 9, cy + 1, cx + side * 5, cy - 3);
    p.drawPath(eye);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 110, 130));
  p.drawEllipse(QPointF(cx, cy + 3), 2.6, 2);
  p.setPen(QPen(line, 1.6, Qt::SolidLine, Qt::RoundCap));
  QPainterPath mouth;
  mouth.moveTo(cx - 5, cy + 6);
  mouth.quadTo(cx - 2.5, cy + 9.5, cx, cy + 5.5);
  mouth.quadTo(cx + 2.5, cy + 9.5, cx + 5, cy + 6);
  p.drawPath(mouth);
  p.setPen(QPen(QColor(80, 50, 30), 1.1));
  for (int side = -1; side <= 1; side += 2)
    for (int k = 0; k < 3; ++k)
      p.drawLine(QPointF(cx + side * 12, cy + 4 + k * 2.5), QPointF(cx + side * 30, cy + 1 + k * 4.5));
}

void Accessories(QPainter& p, int who, double cx, double cy) {
  switch (who) {
    case 0: {  // a red cap, worn backwards
      QPainterPath cap;
      cap.moveTo(cx - 20, cy - 14);
      cap.quadTo(cx - 2, cy - 34, cx + 18, cy - 15);
      cap.closeSubpath();
      OutlinedPath(p, cap, QColor(230, 40, 50), QColor(90, 0, 0), 2.5);
      QPainterPath brim;
      brim.addRoundedRect(QRectF(cx + 12, cy - 18, 16, 6), 3, 3);
      OutlinedPath(p, brim, QColor(200, 20, 30), QColor(90, 0, 0), 2);
      break;
    }
    case 1: {  // a hachimaki headband with a red rising sun
      QPainterPath band;
      band.addRoundedRect(QRectF(cx - 26, cy - 19, 52, 7), 3, 3);
      OutlinedPath(p, band, Qt::white, QColor(60, 60, 60), 1.5);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(230, 20, 30));
      p.drawEllipse(QPointF(cx, cy - 15.5), 3, 3);
      QPainterPath tails;
      tails.moveTo(cx + 25, cy - 16);
      tails.lineTo(cx + 31, cy - 23);
      tails.lineTo(cx + 33, cy - 10);
      tails.closeSubpath();
      OutlinedPath(p, tails, Qt::white, QColor(60, 60, 60), 1.5);
      break;
    }
    case 2: {  // round glasses and a grand moustache
      p.setPen(QPen(QColor(40, 30, 20), 1.8));
      p.setBrush(QColor(255, 255, 255, 60));
      p.drawEllipse(QPointF(cx - 11, cy - 2), 7, 7);
      p.drawEllipse(QPointF(cx + 11, cy - 2), 7, 7);
      p.drawLine(QPointF(cx - 4, cy - 2), QPointF(cx + 4, cy - 2));
      QPainterPath tache;
      tache.moveTo(cx, cy + 5);
      tache.cubicTo(cx - 6, cy + 2, cx - 16, cy + 4, cx - 18, cy + 10);
      tache.cubicTo(cx - 12, cy + 9, cx - 6, cy + 10, cx, cy + 7);
      tache.cubicTo(cx + 6, cy + 10, cx + 12, cy + 9, cx + 18, cy + 10);
      tache.cubicTo(cx + 16, cy + 4, cx + 6, cy + 2, cx, cy + 5);
      OutlinedPath(p, tache, QColor(90, 55, 30), QColor(50, 25, 10), 1);
      break;
    }
    case 4: {  // a golden crown
      QPainterPath crown;
      crown.moveTo(cx - 14, cy - 18);
      crown.lineTo(cx - 16, cy - 32);
      crown.lineTo(cx - 7, cy - 24);
      crown.lineTo(cx, cy - 35);
      crown.lineTo(cx + 7, cy - 24);
      crown.lineTo(cx + 16, cy - 32);
      crown.lineTo(cx + 14, cy - 18);
      crown.closeSubpath();
      QLinearGradient g(0, cy - 35, 0, cy - 18);
      g.setColorAt(0, QColor(255, 250, 180));
      g.setColorAt(1, QColor(230, 150, 0));
      OutlinedPath(p, crown, g, QColor(110, 60, 0), 2);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(230, 30, 60));
      p.drawEllipse(QPointF(cx, cy - 23), 2.4, 2.4);
      break;
    }
    default: break;
  }
}

}  // namespace

QImage Portrait(int index) {
  const Who& w = kWho[index];
  QImage img = Canvas(132, 66, Qt::black);
  QPainter p(&img);
  Prepare(p);
  QLinearGradient bg(0, 0, 0, 66);
  bg.setColorAt(0, w.bgTop);
  bg.setColorAt(1, w.bgBottom);
  p.fillRect(QRect(0, 0, 132, 66), bg);
  if (index == 4) {  // the god shines
    p.save();
    p.translate(33, 36);
    for (int i = 0; i < 16; ++i) {
      p.rotate(22.5);
      QPainterPath ray;
      ray.moveTo(0, 0);
      ray.lineTo(60, -6);
      ray.lineTo(60, 6);
      ray.closeSubpath();
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(255, 255, 255, 80));
      p.drawPath(ray);
    }
    p.restore();
  }
  // the character, in a round frame on the left
  p.save();
  QPainterPath frame;
  frame.addEllipse(QPointF(33, 33), 29, 29);
  p.setPen(QPen(QColor(255, 255, 255, 220), 3));
  p.setBrush(QColor(255, 255, 255, 90));
  p.drawPath(frame);
  p.setClipPath(frame);
  const double cx = 33, cy = 38;
  if (index == 3) {
    PaintCat(p, cx, cy);
  } else {
    const double scale = index == 0 ? 0.62 : 0.72;  // the little brother is smaller
    PaintMascot(p, cx, cy, scale, Theme::Day, index == 4);
    Accessories(p, index, cx, cy);
  }
  p.restore();
  // the name and the contract
  double size = 19;  // as large as fits beside the frame
  while (size > 9 && TextPath(w.name, GameFont(size, true), 0, 0).boundingRect().width() > 60) size -= 0.5;
  OutlinedPath(p, TextPath(w.name, GameFont(size, true), 97, 26), w.nameColour, QColor(40, 20, 40), 4);
  double rankSize = 11;  // the contract too stays inside the border
  while (rankSize > 7 && TextPath(w.rank, GameFont(rankSize, true), 0, 0).boundingRect().width() > 58) rankSize -= 0.5;
  OutlinedPath(p, TextPath(w.rank, GameFont(rankSize, true), 97, 48), QColor(255, 255, 210), QColor(40, 20, 40, 200),
               3);
  p.setPen(QPen(QColor(40, 20, 40), 2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(1, 1, 130, 64));
  p.end();
  return img.convertToFormat(QImage::Format_RGB32);
}
