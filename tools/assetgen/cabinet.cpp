#include "cabinet.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

#include "symbols.h"

namespace {

struct Palette {
  QColor bodyTop, bodyBottom, edge;  // the cabinet's body
  QColor headerCentre, headerEdge;   // the title panel
  QColor titleTop, titleBottom, titleOuter, titleInner;
  QColor trim, trimDark;    // bevels around windows
  QColor panel, panelLine;  // inset panels
  QColor bulbs[3];
  QColor text;  // small captions
};

Palette PaletteFor(Theme t) {
  if (t == Theme::Day)
    return {{236, 58, 120},  {150, 16, 74},
            {70, 6, 38},     {255, 246, 150},
            {255, 120, 60},  {255, 255, 255},
            {255, 226, 110}, {110, 0, 40},
            {255, 70, 140},  {255, 214, 90},
            {150, 90, 10},   {54, 10, 40},
            {255, 190, 220}, {{255, 240, 120}, {255, 255, 255}, {255, 130, 190}},
            {255, 236, 250}};
  return {{46, 30, 120},   {16, 10, 54},
          {6, 4, 24},      {90, 60, 190},
          {14, 10, 60},    {255, 255, 255},
          {190, 250, 255}, {30, 0, 80},
          {255, 60, 200},  {200, 215, 240},
          {70, 80, 120},   {10, 8, 34},
          {120, 230, 255}, {{110, 240, 255}, {255, 140, 240}, {190, 160, 255}},
          {200, 230, 255}};
}

QRectF Rect(const int r[4]) {
  return QRectF(r[0], r[1], r[2], r[3]);
}

void InsetPanel(QPainter& p, const QRectF& r, const Palette& pal, double radius = 8) {
  p.save();
  QPainterPath path;
  path.addRoundedRect(r, radius, radius);
  p.setPen(QPen(pal.trimDark, 3));
  p.setBrush(pal.panel);
  p.drawPath(path);
  p.setPen(QPen(pal.trim, 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(r.adjusted(2.5, 2.5, -2.5, -2.5), radius - 2, radius - 2);
  p.restore();
}

void Body(QPainter& p, const Palette& pal) {
  p.fillRect(QRect(0, 0, 532, 507), pal.edge);
  QPainterPath body;
  body.addRoundedRect(QRectF(3, 3, 526, 501), 20, 20);
  QLinearGradient g(0, 0, 0, 507);
  g.setColorAt(0, pal.bodyTop);
  g.setColorAt(1, pal.bodyBottom);
  p.setPen(QPen(pal.trim, 2));
  p.setBrush(g);
  p.drawPath(body);
  // side pillars with a soft sheen
  for (int x : {6, 510}) {
    QLinearGradient s(x, 0, x + 16, 0);
    s.setColorAt(0, QColor(255, 255, 255, 0));
    s.setColorAt(0.5, QColor(255, 255, 255, 40));
    s.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(x, 96, 16, 396), s);
  }
}

void Header(QPainter& p, Theme theme, const Palette& pal) {
  const QRectF hr(12, 9, 508, 82);
  QPainterPath panel;
  panel.addRoundedRect(hr, 16, 16);
  QRadialGradient g(266, 50, 270);
  g.setColorAt(0, pal.headerCentre);
  g.setColorAt(1, pal.headerEdge);
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawPath(panel);
  p.setClipPath(panel);
  if (theme == Theme::Day) {  // a sunburst behind the name
    p.translate(266, 52);
    for (int i = 0; i < 28; ++i) {
      p.rotate(360.0 / 28);
      QPainterPath ray;
      ray.moveTo(0, 0);
      ray.lineTo(320, -22);
      ray.lineTo(320, 22);
      ray.closeSubpath();
      p.setBrush(QColor(255, 255, 255, i % 2 ? 0 : 60));
      p.drawPath(ray);
    }
    p.resetTransform();
  } else {  // a starry night with a crescent moon
    for (int i = 0; i < 60; ++i) {
      const double x = 14 + std::fmod(i * 97.3, 504.0), y = 12 + std::fmod(i * 41.7, 76.0);
      p.setBrush(QColor(255, 255, 255, 90 + (i * 37) % 150));
      p.drawEllipse(QPointF(x, y), 0.8 + (i % 3) * 0.5, 0.8 + (i % 3) * 0.5);
    }
    for (int i = 0; i < 6; ++i)
      Sparkle(p, 40 + i * 90 + (i % 2) * 25, 22 + (i % 3) * 22, 4 + i % 3, QColor(200, 240, 255));
    QPainterPath moon, bite;
    moon.addEllipse(QPointF(470, 48), 26, 26);
    bite.addEllipse(QPointF(482, 40), 23, 23);
    QRadialGradient mg(465, 45, 30);
    mg.setColorAt(0, QColor(255, 255, 220));
    mg.setColorAt(1, QColor(255, 220, 120));
    p.setBrush(mg);
    p.drawPath(moon.subtracted(bite));
  }
  p.restore();
  // chaser bulbs round the title panel
  int k = 0;
  auto bulbAt = [&](double x, double y) { Bulb(p, x, y, 3.2, pal.bulbs[k++ % 3], true); };
  for (double x = 30; x <= 502; x += 19.6) bulbAt(x, hr.top() + 0.5), bulbAt(x, hr.bottom() - 0.5);
  // the name
  QFont f = GameFont(64, true);
  f.setLetterSpacing(QFont::PercentageSpacing, 104);
  const QPainterPath name = TextPath(QStringLiteral("モフラン"), f, 266, 51);
  p.save();
  p.translate(3, 4);
  p.setPen(QPen(QColor(0, 0, 0, 110), 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(name);
  p.restore();
  if (theme == Theme::Night) {  // a neon glow
    for (int w = 26; w >= 14; w -= 4) {
      p.setPen(QPen(QColor(pal.titleInner.red(), pal.titleInner.green(), pal.titleInner.blue(), 40), w, Qt::SolidLine,
                    Qt::RoundCap, Qt::RoundJoin));
      p.drawPath(name);
    }
  }
  QLinearGradient tg(0, 20, 0, 80);
  tg.setColorAt(0, pal.titleTop);
  tg.setColorAt(1, pal.titleBottom);
  OutlinedPath(p, name, tg, pal.titleOuter, 11, pal.titleInner, 5.5);
  Gloss(p, QRectF(150, 24, 232, 16), 0.35);
  // the mascot peeking in at the left; sparkles at the right
  PaintMascot(p, 70, 52, 0.78, theme, false);
  if (theme == Theme::Day) {  // a tilted badge boasting the bonus, with sparkles
    p.save();
    p.translate(458, 50);
    p.rotate(-12);
    QPainterPath badge;
    badge.addRoundedRect(QRectF(-38, -15, 76, 30), 9, 9);
    QLinearGradient bg(0, -15, 0, 15);
    bg.setColorAt(0, QColor(255, 90, 90));
    bg.setColorAt(1, QColor(200, 0, 40));
    OutlinedPath(p, badge, bg, QColor(110, 0, 20), 3, QColor(255, 230, 120), 1.5);
    OutlinedPath(p, TextPath(QStringLiteral("ＭＣ搭載"), GameFont(17), 0, 0.5), Qt::white, QColor(110, 0, 20), 3);
    p.restore();
    Sparkle(p, 420, 26, 8, QColor(255, 255, 255));
    Sparkle(p, 500, 74, 6, QColor(255, 255, 220));
    Sparkle(p, 410, 72, 5, QColor(255, 255, 255));
  }
}

// The gold (or silver) frame round the reel window, the hole itself left plain and dark.
void WindowFrame(QPainter& p, const Palette& pal) {
  const QRectF w = Rect(kReelWindowRect);
  Bevel(p, w.adjusted(-3, -3, 3, 3), 6, pal.trim, pal.trimDark);
  p.fillRect(w.adjusted(-3, -3, 3, 3), QColor(20, 14, 24));
}

// Five pay-line markers on each side: top, the two diagonals, middle, bottom.
void PayLineMarkers(QPainter& p, Theme theme) {
  struct Line {
    int number;
    double yLeft, yRight;
    QColor colour;
  };
  const Line lines[5] = {{1, 135, 135, {255, 90, 90}},
                         {2, 111, 281, {255, 205, 40}},
                         {3, 195, 195, {90, 210, 255}},
                         {4, 281, 111, {140, 240, 90}},
                         {5, 255, 255, {255, 120, 230}}};
  const QFont f = LatinFont(11);
  for (const Line& l : lines) {
    for (int side = 0; side < 2; ++side) {
      const double y = side ? l.yRight : l.yLeft;
      const double x0 = side ? 430 : 5, w = 22, h = 15;
      // a tag pointing into the window
      QPainterPath tag;
      if (side == 0) {
        tag.moveTo(x0, y - h / 2);
        tag.lineTo(x0 + w - 6, y - h / 2);
        tag.lineTo(x0 + w, y);
        tag.lineTo(x0 + w - 6, y + h / 2);
        tag.lineTo(x0, y + h / 2);
      } else {
        tag.moveTo(x0 + w, y - h / 2);
        tag.lineTo(x0 + 6, y - h / 2);
        tag.lineTo(x0, y);
        tag.lineTo(x0 + 6, y + h / 2);
        tag.lineTo(x0 + w, y + h / 2);
      }
      tag.closeSubpath();
      QLinearGradient g(0, y - h / 2, 0, y + h / 2);
      g.setColorAt(0, l.colour.lighter(135));
      g.setColorAt(1, Shade(l.colour, 0.75));
      OutlinedPath(p, tag, g, theme == Theme::Day ? QColor(60, 0, 20) : QColor(0, 0, 30), 2);
      const QPainterPath num = TextPath(QString::number(l.number), f, x0 + w / 2 + (side ? 2 : -2), y);
      OutlinedPath(p, num, Qt::white, QColor(0, 0, 0, 160), 2.2);
    }
  }
}

void RightColumn(QPainter& p, const Palette& pal) {
  // bezels of the two plain panels the screen places there
  Bevel(p, QRectF(457, 116, 53, 26), 3, pal.trimDark, pal.trim);
  p.fillRect(QRectF(457, 116, 53, 26), pal.panel);
  Bevel(p, QRectF(457, 210, 53, 25), 3, pal.trimDark, pal.trim);
  p.fillRect(QRectF(457, 210, 53, 25), pal.panel);
  // the digital display's housing with its three dark windows
  InsetPanel(p, QRectF(450, 236, 68, 44), pal, 7);
  p.save();
  p.setPen(Qt::NoPen);
  for (int x : kDigitWindowX) {
    p.setBrush(QColor(8, 6, 10));
    p.drawRect(QRectF(x, kDigitWindowY, kDigitWindowW, kDigitWindowH));
    p.setBrush(QColor(255, 255, 255, 25));
    p.drawRect(QRectF(x + 2, kDigitWindowY + 2, kDigitWindowW - 4, 5));
  }
  p.restore();
}

// The pay table under the reels: three sevens for the MC, three beans for 12 coins, three REPLAYs for a free game.
void PayTable(QPainter& p, Theme theme, const Palette& pal) {
  const QRectF r(30, 300, 396, 76);
  InsetPanel(p, r, pal, 10);
  const SymbolPictures seven = DrawSymbol(Symbol::Seven, theme), mame = DrawSymbol(Symbol::Mame, theme),
                       replay = DrawSymbol(Symbol::Replay, theme);
  const SymbolPictures* rows[3] = {&seven, &mame, &replay};
  const QString labels[3] = {QStringLiteral("ＭＣ　ボーナス"), QStringLiteral("１２枚"), QStringLiteral("再遊技")};
  for (int row = 0; row < 3; ++row) {
    const double y = r.top() + 5 + row * 22.5;
    for (int k = 0; k < 3; ++k) PaintSymbolIcon(p, *rows[row], QRectF(r.left() + 22 + k * 44, y, 44, 22));
    p.setPen(QPen(pal.panelLine, 1, Qt::DotLine));
    p.drawLine(QPointF(r.left() + 160, y + 11), QPointF(r.left() + 226, y + 11));
    const QPainterPath text = TextPath(labels[row], GameFont(15), r.left() + 300, y + 11.5);
    OutlinedPath(p, text, pal.text, QColor(0, 0, 0, 200), 3);
  }
}

void ControlDeck(QPainter& p, Theme theme, const Palette& pal) {
  // the bet lamp's place shows the lamp unlit; a MAX BET button beside it
  p.drawImage(kBetLampRect[0], kBetLampRect[1], BetLamp(theme, false));
  Bevel(p, Rect(kBetLampRect), 2, pal.trimDark, pal.trim);
  const QPointF maxBet(150, 397);
  Bulb(p, maxBet.x(), maxBet.y(), 11, QColor(255, 80, 80), false);
  OutlinedPath(p, TextPath(QStringLiteral("MAX BET"), LatinFont(10), maxBet.x() + 42, maxBet.y()), pal.text,
               QColor(0, 0, 0, 180), 2.5);
  OutlinedPath(p, TextPath(QStringLiteral("Ctrl"), LatinFont(8), maxBet.x(), maxBet.y()), Qt::white,
               QColor(0, 0, 0, 140), 2);
  // the lever
  const QPointF base(44, 486), knob(30, 430);
  p.save();
  QLinearGradient plate(0, 474, 0, 498);
  plate.setColorAt(0, QColor(230, 230, 240));
  plate.setColorAt(1, QColor(110, 110, 130));
  p.setPen(QPen(QColor(40, 40, 50), 1.5));
  p.setBrush(plate);
  p.drawRoundedRect(QRectF(22, 474, 48, 22), 6, 6);
  p.setPen(QPen(QColor(60, 60, 70), 7, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(base, knob);
  p.setPen(QPen(QColor(220, 220, 235), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(base + QPointF(-1, 0), knob + QPointF(-1, 0));
  p.restore();
  Bulb(p, knob.x(), knob.y(), 14, theme == Theme::Day ? QColor(255, 40, 60) : QColor(120, 90, 255), true);
  OutlinedPath(p, TextPath(QStringLiteral("↑"), GameFont(13), knob.x(), knob.y() + 1), Qt::white, QColor(0, 0, 0, 150),
               2);
  // the three stop buttons in their bar, with the keys that stop each reel
  const QRectF bar(112, 432, 232, 52);
  InsetPanel(p, bar, pal, 14);
  const QString keys[3] = {QStringLiteral("←"), QStringLiteral("↓"), QStringLiteral("→")};
  for (int i = 0; i < 3; ++i) {
    const QPointF c(150 + i * 78, 458);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 120));
    p.drawEllipse(c + QPointF(1.5, 2), 19, 19);
    p.restore();
    Bulb(p, c.x(), c.y(), 18, theme == Theme::Day ? QColor(255, 170, 40) : QColor(60, 220, 255), true);
    OutlinedPath(p, TextPath(keys[i], GameFont(18), c.x(), c.y() + 1), Qt::white, QColor(0, 0, 0, 170), 3);
  }
  // the coin tray
  QLinearGradient tray(0, 488, 0, 504);
  tray.setColorAt(0, QColor(70, 70, 80));
  tray.setColorAt(0.4, QColor(200, 200, 210));
  tray.setColorAt(1, QColor(90, 90, 100));
  p.setPen(QPen(QColor(30, 30, 40), 1.5));
  p.setBrush(tray);
  p.drawRoundedRect(QRectF(84, 488, 272, 15), 6, 6);
}

// The proxy player's seat: where a hired player's portrait appears, with the status line above it.
void ProxySeat(QPainter& p, const Palette& pal) {
  InsetPanel(p, QRectF(362, 410, 166, 95), pal, 10);
  const QPainterPath seat = TextPath(QStringLiteral("代打ち席"), GameFont(17), 422, 480);
  OutlinedPath(p, seat, QColor(pal.text.red(), pal.text.green(), pal.text.blue(), 80), QColor(0, 0, 0, 0), 0);
}

}  // namespace

QImage Cabinet(Theme theme) {
  const Palette pal = PaletteFor(theme);
  QImage img = Canvas(532, 507, Qt::black);
  QPainter p(&img);
  Prepare(p);
  Body(p, pal);
  Header(p, theme, pal);
  WindowFrame(p, pal);
  PayLineMarkers(p, theme);
  RightColumn(p, pal);
  p.drawImage(kBonusLampRect[0], kBonusLampRect[1], BonusLamp(theme, false));
  PayTable(p, theme, pal);
  ControlDeck(p, theme, pal);
  ProxySeat(p, pal);
  p.end();
  return img.convertToFormat(QImage::Format_RGB32);
}

// The cabinet's bare body: the ground a lamp's picture stands on, so that its corners match the cabinet around it.
static QImage BodyPiece(Theme theme, const int rect[4]) {
  QImage img = Canvas(532, 507, Qt::black);
  QPainter p(&img);
  Prepare(p);
  Body(p, PaletteFor(theme));
  p.end();
  return img.copy(rect[0], rect[1], rect[2], rect[3]);
}

QImage BetLamp(Theme theme, bool lit) {
  QImage img = BodyPiece(theme, kBetLampRect);
  QPainter p(&img);
  Prepare(p);
  const QColor top = theme == Theme::Day ? QColor(150, 215, 255) : QColor(180, 170, 255);
  const QColor bottom = theme == Theme::Day ? QColor(0, 85, 235) : QColor(70, 30, 220);
  QLinearGradient g(0, 0, 0, 27);
  g.setColorAt(0, lit ? top : Shade(top, 0.28));
  g.setColorAt(1, lit ? bottom : Shade(bottom, 0.3));
  QPainterPath lamp;
  lamp.addRoundedRect(QRectF(1, 1, 66, 25), 7, 7);
  OutlinedPath(p, lamp, g, theme == Theme::Day ? QColor(0, 20, 70) : QColor(20, 0, 60), 2);
  if (lit) {
    QRadialGradient glow(34, 13.5, 30);
    glow.setColorAt(0, QColor(255, 255, 255, 140));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRoundedRect(QRectF(2, 2, 64, 23), 6, 6);
  }
  Gloss(p, QRectF(6, 2, 56, 9), lit ? 0.6 : 0.15);
  const QPainterPath word = TextPath(QStringLiteral("BET"), LatinFont(16), 34, 14);
  OutlinedPath(p, word, lit ? QColor(255, 255, 255) : Shade(top, 0.55), lit ? QColor(0, 40, 140) : QColor(0, 10, 40),
               3);
  p.end();
  return img.convertToFormat(QImage::Format_RGB32);
}

QImage BonusLamp(Theme theme, bool lit) {
  QImage img = BodyPiece(theme, kBonusLampRect);
  QPainter p(&img);
  Prepare(p);
  const QPointF c(47, 45.5);
  const bool day = theme == Theme::Day;
  // the chrome ring
  QLinearGradient ring(0, 0, 94, 91);
  ring.setColorAt(0, day ? QColor(255, 240, 170) : QColor(230, 240, 255));
  ring.setColorAt(0.5, day ? QColor(200, 140, 30) : QColor(120, 130, 170));
  ring.setColorAt(1, day ? QColor(255, 220, 120) : QColor(210, 220, 250));
  p.setPen(QPen(QColor(30, 10, 10), 2));
  p.setBrush(ring);
  p.drawEllipse(c, 45, 44);
  // the dome
  QRadialGradient dome(c.x(), c.y() - 6, 42);
  if (lit) {
    dome.setColorAt(0, QColor(255, 255, 235));
    dome.setColorAt(0.45, day ? QColor(255, 200, 60) : QColor(140, 240, 255));
    dome.setColorAt(1, day ? QColor(220, 30, 30) : QColor(110, 40, 220));
  } else {
    dome.setColorAt(0, day ? QColor(110, 40, 40) : QColor(40, 40, 90));
    dome.setColorAt(1, day ? QColor(45, 8, 12) : QColor(12, 8, 36));
  }
  p.setPen(QPen(QColor(0, 0, 0, 150), 1.5));
  p.setBrush(dome);
  p.drawEllipse(c, 37, 36);
  p.save();
  QPainterPath clip;
  clip.addEllipse(c, 37, 36);
  p.setClipPath(clip);
  if (lit) {  // light rays from the centre
    p.translate(c);
    for (int i = 0; i < 12; ++i) {
      p.rotate(30);
      QPainterPath ray;
      ray.moveTo(0, 0);
      ray.lineTo(50, -7);
      ray.lineTo(50, 7);
      ray.closeSubpath();
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(255, 255, 255, 55));
      p.drawPath(ray);
    }
    p.resetTransform();
  }
  p.restore();
  // the mascot inside, glowing when lit, a shadow of itself when not
  if (lit) {
    PaintMascot(p, c.x(), c.y() - 2, 0.72, theme, true);
  } else {
    QImage ghost = Canvas(94, 91);
    QPainter gp(&ghost);
    Prepare(gp);
    PaintMascot(gp, c.x(), c.y() - 2, 0.72, theme, false);
    gp.end();
    p.setOpacity(0.22);
    p.drawImage(0, 0, ghost);
    p.setOpacity(1);
  }
  const QPainterPath mc = TextPath(QStringLiteral("MC"), LatinFont(13), c.x(), c.y() + 26);
  OutlinedPath(p, mc, lit ? QColor(255, 255, 255) : QColor(120, 100, 110), lit ? QColor(150, 0, 0) : QColor(20, 10, 10),
               3);
  Gloss(p, QRectF(c.x() - 24, c.y() - 33, 48, 18), lit ? 0.55 : 0.2);
  if (lit) {
    Sparkle(p, 16, 14, 7, QColor(255, 255, 230));
    Sparkle(p, 80, 76, 6, QColor(255, 255, 230));
  }
  p.end();
  return img.convertToFormat(QImage::Format_RGB32);
}
