#include "counter/qt/slump_graph.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {
const QColor kPanel(0x0b, 0x10, 0x20);
const QColor kGrid(0x2a, 0x34, 0x55);
const QColor kAxisText(0xc8, 0xd2, 0xf0);
const QColor kZero(0x8a, 0x96, 0xc0);
const QColor kLine(0x5c, 0xe1, 0xff);
}  // namespace

SlumpGraph::SlumpGraph(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  setMinimumSize(320, 150);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SlumpGraph::SetDay(const CounterDay& day) {
  slump_ = day.slump;
  bonuses_ = day.bonuses;
  update();
}

QColor SlumpGraph::KindColour(const CounterBonus& b) {
  if (b.fanfare) return QColor(0xff, 0xc8, 0x20);  // gold: a fanfare streak
  if (b.premium) return QColor(0xd0, 0x60, 0xff);  // violet: a PMC
  return QColor(0xff, 0x50, 0x50);                 // red: an MC
}

double SlumpGraph::NiceStep(double range, int ticks) {
  if (!(range > 0)) return 1;
  const double raw = range / std::max(ticks, 1);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * power >= raw) return std::max(1.0, m * power);
  return std::max(1.0, 10 * power);
}

void SlumpGraph::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kPanel);
  p.setRenderHint(QPainter::Antialiasing, true);
  QFont small = font();
  small.setPointSizeF(8);
  p.setFont(small);
  const QFontMetrics fm(small);

  const int games = static_cast<int>(slump_.size());
  int low = 0, high = 0;
  for (int v : slump_) {
    low = std::min(low, v);
    high = std::max(high, v);
  }
  // Some room above and below, and never a flat scale.
  const double yStep = NiceStep(std::max(high - low, 100), 5);
  double yLow = std::floor(low / yStep) * yStep, yHigh = std::ceil(high / yStep) * yStep;
  // A curve (and an MC's mark) that would run along the frame gets one more step of room.
  const double room = (yHigh - yLow) * 0.03;
  if (low < 0 && low - yLow < room) yLow -= yStep;
  if (high > 0 && yHigh - high < room) yHigh += yStep;
  if (yHigh <= yLow) yLow = yHigh - yStep;  // before the first game
  const double xStep = NiceStep(std::max(games, 10), 5);
  const double xHigh = std::max(std::ceil(std::max(games, 1) / xStep) * xStep, xStep);

  const int left = fm.horizontalAdvance("-00000") + 10, right = 18, top = 22, bottom = fm.height() + 10;
  const QRectF plot(left, top, width() - left - right, height() - top - bottom);
  auto X = [&](double g) { return plot.left() + plot.width() * g / xHigh; };
  auto Y = [&](double v) { return plot.bottom() - plot.height() * (v - yLow) / (yHigh - yLow); };

  // Grid and axis labels: coins on the left, games below.
  p.setPen(kAxisText);
  p.drawText(QRectF(4, 2, left + 60, top - 4), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("差枚（枚）"));
  const QString xTitle = QStringLiteral("横軸：ゲーム数（G）");
  p.drawText(QRectF(plot.right() - 160, 2, 160, top - 4), Qt::AlignRight | Qt::AlignVCenter, xTitle);
  // What the marks' colours mean, between the two axis titles when there is room for it.
  {
    const QString kinds[3] = {QStringLiteral("MC"), QStringLiteral("PMC"), QStringLiteral("ファンファーレ連")};
    CounterBonus kind[3];
    kind[1].premium = true;
    kind[2].fanfare = true;
    const int dot = 8, gap = 4, space = 12;
    int width = 0;
    for (const QString& k : kinds) width += dot + gap + fm.horizontalAdvance(k) + space;
    width -= space;
    const double from = 4 + fm.horizontalAdvance(QStringLiteral("差枚（枚）")) + 16;
    const double to = plot.right() - fm.horizontalAdvance(xTitle) - 16;
    if (to - from >= width) {
      double x = from + (to - from - width) / 2;
      const double mid = (top - 2) / 2.0 + 1;
      for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(KindColour(kind[i]));
        p.drawEllipse(QPointF(x + dot / 2.0, mid), dot / 2.0, dot / 2.0);
        x += dot + gap;
        p.setPen(kAxisText);
        p.drawText(QRectF(x, 2, fm.horizontalAdvance(kinds[i]) + 2, top - 4), Qt::AlignLeft | Qt::AlignVCenter,
                   kinds[i]);
        x += fm.horizontalAdvance(kinds[i]) + space;
      }
      p.setBrush(Qt::NoBrush);
    }
  }
  for (double v = yLow; v <= yHigh + 0.5; v += yStep) {
    p.setPen(QPen(v == 0 ? kZero : kGrid, v == 0 ? 1.5 : 1));
    p.drawLine(QPointF(plot.left(), Y(v)), QPointF(plot.right(), Y(v)));
    p.setPen(kAxisText);
    p.drawText(QRectF(0, Y(v) - fm.height() / 2.0, left - 6, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(static_cast<long long>(v)));
  }
  for (double g = 0; g <= xHigh + 0.5; g += xStep) {
    p.setPen(kGrid);
    p.drawLine(QPointF(X(g), plot.top()), QPointF(X(g), plot.bottom()));
    p.setPen(kAxisText);
    p.drawText(QRectF(X(g) - 40, plot.bottom() + 2, 80, bottom - 4), Qt::AlignHCenter | Qt::AlignTop,
               QString::number(static_cast<long long>(g)));
  }
  p.setPen(kGrid);
  p.drawRect(plot);

  if (games == 0) {
    p.setPen(kAxisText);
    p.drawText(plot, Qt::AlignCenter, QStringLiteral("まだゲームがありません"));
    return;
  }
  // The MC starts under the curve, so that the curve stays readable where they are dense.
  for (const CounterBonus& b : bonuses_) {
    QColor c = KindColour(b);
    c.setAlpha(110);
    p.setPen(QPen(c, 1, Qt::DashLine));
    p.drawLine(QPointF(X(b.game), plot.top()), QPointF(X(b.game), plot.bottom()));
  }
  QPainterPath path(QPointF(X(0), Y(0)));
  for (int g = 0; g < games; ++g) path.lineTo(X(g + 1), Y(slump_[g]));
  p.setPen(QPen(kLine, 1.6));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  for (const CounterBonus& b : bonuses_) {
    const int g = std::clamp(b.game, 1, games);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(KindColour(b));
    p.drawEllipse(QPointF(X(g), Y(slump_[g - 1])), 4.5, 4.5);
  }
}
