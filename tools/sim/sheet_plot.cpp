#include "tools/sim/sheet_plot.h"

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kWidth = 960, kHeight = 1040;
const QColor kInk(0x33, 0x33, 0x33), kGrid(0xdd, 0xdd, 0xdd), kFaint(0x88, 0x88, 0x88);
// Setting 1 in blues, setting 6 in reds, a day a shade.
const QColor kLow[3] = {QColor(0x1f, 0x4e, 0xa8), QColor(0x4a, 0x86, 0xd8), QColor(0x8d, 0xb8, 0xec)};
const QColor kHigh[3] = {QColor(0xb8, 0x2e, 0x24), QColor(0xe0, 0x5e, 0x3f), QColor(0xf0, 0x9c, 0x7c)};

// Text needs a GUI application for its fonts; the simulator has none, so one without a display is made.
void NeedFonts() {
  if (QGuiApplication::instance()) return;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "mofuran-sim";
  static char* argv[] = {name, nullptr};
  // Without a session Qt says so: the simulator does not need one.
  const QtMessageHandler before = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  static auto* app = new QGuiApplication(argc, argv);
  (void)app;
  qInstallMessageHandler(before);
}

QFont Font(double points, bool bold = false) {
  QFont f(QStringLiteral("IPAPGothic"));
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

// A tick step of 1, 2 or 5 times a power of ten that gives about `count` ticks over the span.
double Step(double span, int count) {
  const double raw = span / count;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0})
    if (m * power >= raw) return m * power;
  return 10 * power;
}

// A plot area with its value ranges.
struct Area {
  QRectF box;
  double x0, x1, y0, y1;
  double X(double x) const { return box.left() + (x - x0) / (x1 - x0) * box.width(); }
  double Y(double y) const { return box.bottom() - (y - y0) / (y1 - y0) * box.height(); }
};

void Axes(QPainter& p, const Area& a, double yStep, const QString& yFormat, double yScale) {
  p.setFont(Font(9));
  for (double y = std::ceil(a.y0 / yStep) * yStep; y <= a.y1 + 1e-9; y += yStep) {
    p.setPen(QPen(kGrid, 1));
    p.drawLine(QPointF(a.box.left(), a.Y(y)), QPointF(a.box.right(), a.Y(y)));
    p.setPen(kInk);
    p.drawText(QRectF(a.box.left() - 80, a.Y(y) - 9, 72, 18), Qt::AlignRight | Qt::AlignVCenter,
               QString::asprintf(yFormat.toUtf8().constData(), y * yScale));
  }
  p.setPen(QPen(kInk, 1.2));
  p.drawLine(a.box.bottomLeft(), a.box.bottomRight());
  p.drawLine(a.box.bottomLeft(), a.box.topLeft());
}

void Title(QPainter& p, double top, const QString& title, const QString& note) {
  p.setPen(kInk);
  p.setFont(Font(14, true));
  p.drawText(QRectF(40, top, kWidth - 80, 26), Qt::AlignLeft | Qt::AlignVCenter, title);
  p.setPen(kFaint);
  p.setFont(Font(9));
  p.drawText(QRectF(40, top + 26, kWidth - 80, 18), Qt::AlignLeft | Qt::AlignVCenter, note);
}

void PayoutPanel(QPainter& p, const OddsSheet& sheet, const QRectF& box) {
  double low = INFINITY, high = -INFINITY;
  for (const SettingFigures& s : sheet.settings) {
    const double lo = std::isnan(s.payout.low) ? s.payout.value : s.payout.low;
    const double hi = std::isnan(s.payout.high) ? s.payout.value : s.payout.high;
    if (!std::isnan(lo)) low = std::min(low, lo);
    if (!std::isnan(hi)) high = std::max(high, hi);
  }
  if (!(low <= high)) low = high = 1.0;
  // The settings' differences fill the panel; 100 % shows when it is near.
  const double margin = std::max((high - low) * 0.25, 0.02);
  const double step = Step(high - low + 2 * margin, 6);
  const Area a{box, 0.5, 6.5, std::floor((low - margin) / step) * step, std::ceil((high + margin) / step) * step};
  Axes(p, a, step, QStringLiteral("%.0f%%"), 100);
  p.setFont(Font(9));
  if (a.y0 <= 1.0 && 1.0 <= a.y1) {
    // 100 %: the player gets back what he puts in.
    p.setPen(QPen(kFaint, 1.2, Qt::DashLine));
    p.drawLine(QPointF(box.left(), a.Y(1.0)), QPointF(box.right(), a.Y(1.0)));
    p.drawText(QRectF(box.right() - 160, a.Y(1.0) - 20, 156, 18), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("100%（損得なし）"));
  } else {
    p.setPen(kFaint);
    p.drawText(QRectF(box.right() - 260, box.bottom() - 22, 256, 18), Qt::AlignRight | Qt::AlignVCenter,
               a.y0 > 1.0 ? QStringLiteral("100%（損得なし）はこの範囲より下")
                          : QStringLiteral("100%（損得なし）はこの範囲より上"));
  }
  for (const SettingFigures& s : sheet.settings) {
    const double x = a.X(s.setting);
    p.setPen(kInk);
    p.setFont(Font(11, true));
    p.drawText(QRectF(x - 40, box.bottom() + 6, 80, 20), Qt::AlignCenter, QStringLiteral("設定%1").arg(s.setting));
    if (std::isnan(s.payout.value)) continue;
    const QColor colour = s.setting <= 3 ? kLow[0] : kHigh[0];
    if (!std::isnan(s.payout.low)) {
      p.setPen(QPen(colour, 2.2));
      p.drawLine(QPointF(x, a.Y(s.payout.low)), QPointF(x, a.Y(s.payout.high)));
      p.drawLine(QPointF(x - 14, a.Y(s.payout.low)), QPointF(x + 14, a.Y(s.payout.low)));
      p.drawLine(QPointF(x - 14, a.Y(s.payout.high)), QPointF(x + 14, a.Y(s.payout.high)));
    }
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(colour);
    p.drawEllipse(QPointF(x, a.Y(s.payout.value)), 5, 5);
    p.setBrush(Qt::NoBrush);
    p.setPen(kInk);
    p.setFont(Font(10));
    const double top = std::isnan(s.payout.high) ? s.payout.value : s.payout.high;
    p.drawText(QRectF(x - 60, a.Y(top) - 24, 120, 18), Qt::AlignCenter,
               QString::asprintf("%.1f%%", 100 * s.payout.value));
  }
}

void SlumpPanel(QPainter& p, const OddsSheet& sheet, const QRectF& box) {
  const SettingFigures* drawn[2] = {nullptr, nullptr};
  for (const SettingFigures& s : sheet.settings) {
    if (s.setting == 1) drawn[0] = &s;
    if (s.setting == 6) drawn[1] = &s;
  }
  double games = 1, low = 0, high = 0;
  for (const SettingFigures* s : drawn)
    if (s)
      for (const auto& slump : s->slumps) {
        games = std::max(games, static_cast<double>(slump.size()));
        for (int v : slump) {
          low = std::min(low, static_cast<double>(v));
          high = std::max(high, static_cast<double>(v));
        }
      }
  if (high - low < 100) high = low + 100;
  const double yStep = Step(high - low, 8);
  const Area a{box, 0, games, std::floor(low / yStep) * yStep, std::ceil(high / yStep) * yStep};
  Axes(p, a, yStep, QStringLiteral("%+.0f"), 1);
  p.setPen(QPen(kFaint, 1.2, Qt::DashLine));
  p.drawLine(QPointF(box.left(), a.Y(0)), QPointF(box.right(), a.Y(0)));
  // Games along the bottom.
  const double xStep = Step(games, 8);
  p.setFont(Font(9));
  for (double x = 0; x <= games + 1e-9; x += xStep) {
    p.setPen(QPen(kGrid, 1));
    p.drawLine(QPointF(a.X(x), box.top()), QPointF(a.X(x), box.bottom()));
    p.setPen(kInk);
    p.drawText(QRectF(a.X(x) - 40, box.bottom() + 4, 80, 16), Qt::AlignCenter, QString::number(x, 'f', 0));
  }
  p.setFont(Font(10));
  p.drawText(QRectF(box.left(), box.bottom() + 22, box.width(), 18), Qt::AlignCenter, QStringLiteral("ゲーム数"));
  p.save();
  p.translate(box.left() - 66, box.center().y());
  p.rotate(-90);
  p.drawText(QRectF(-80, -10, 160, 20), Qt::AlignCenter, QStringLiteral("差枚（枚）"));
  p.restore();
  // The curves, then their legend in the top left corner.
  p.setClipRect(box.adjusted(-2, -2, 2, 2));
  for (int k = 0; k < 2; ++k) {
    if (!drawn[k]) continue;
    for (size_t d = 0; d < drawn[k]->slumps.size() && d < 3; ++d) {
      const auto& slump = drawn[k]->slumps[d];
      // A day has thousands of games to a few hundred pixels: each pixel column keeps its lowest and its highest
      // game, in their order, which draws the same line in a file a tenth the size.
      QPainterPath path(QPointF(a.X(0), a.Y(0)));
      size_t g = 0;
      while (g < slump.size()) {
        const int column = static_cast<int>(a.X(static_cast<double>(g + 1)));
        size_t lo = g, hi = g, end = g;
        while (end < slump.size() && static_cast<int>(a.X(static_cast<double>(end + 1))) == column) {
          if (slump[end] < slump[lo]) lo = end;
          if (slump[end] > slump[hi]) hi = end;
          ++end;
        }
        size_t last = SIZE_MAX;
        for (size_t k : {std::min(lo, hi), std::max(lo, hi), end - 1})
          if (k != last) path.lineTo(a.X(static_cast<double>(k + 1)), a.Y(slump[last = k]));
        g = end;
      }
      p.setPen(QPen(k == 0 ? kLow[d] : kHigh[d], 1.6));
      p.drawPath(path);
    }
  }
  p.setClipping(false);
  QRectF legend(box.left() + 14, box.top() + 12, 190, 24.0 * 6 + 10);
  p.setPen(QPen(kGrid, 1));
  p.setBrush(QColor(255, 255, 255, 230));
  p.drawRoundedRect(legend, 6, 6);
  p.setBrush(Qt::NoBrush);
  p.setFont(Font(10));
  int line = 0;
  for (int k = 0; k < 2; ++k)
    for (int d = 0; d < 3; ++d, ++line) {
      const double y = legend.top() + 17 + 24.0 * line;
      p.setPen(QPen(k == 0 ? kLow[d] : kHigh[d], 3));
      p.drawLine(QPointF(legend.left() + 12, y), QPointF(legend.left() + 44, y));
      p.setPen(kInk);
      p.drawText(QRectF(legend.left() + 52, y - 10, 130, 20), Qt::AlignLeft | Qt::AlignVCenter,
                 QStringLiteral("設定%1　%2日目").arg(k == 0 ? 1 : 6).arg(d + 1));
    }
}

}  // namespace

bool DrawSheet(const OddsSheet& sheet, const std::string& path) {
  NeedFonts();
  // Written through a file of our own, so that a write that fails (a full disk) is seen.
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  QSvgGenerator svg;
  svg.setOutputDevice(&file);
  svg.setSize(QSize(kWidth, kHeight));
  svg.setResolution(96);  // so that its size reads as that many pixels
  svg.setViewBox(QRect(0, 0, kWidth, kHeight));
  svg.setTitle(QStringLiteral("モフラン 設定別出玉表"));
  svg.setDescription(QStringLiteral("Payout rate per setting with its 95 % interval, and the slump graphs of the "
                                    "first three days of settings 1 and 6."));
  QPainter p;
  if (!p.begin(&svg)) return false;
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(QRect(0, 0, kWidth, kHeight), Qt::white);

  Title(p, 24, QStringLiteral("モフラン　設定別の機械割"),
        QStringLiteral("%1日 × %2ゲーム／設定　・　縦線は95%信頼区間（日ごとのばらつきから）")
            .arg(sheet.daysPerSetting)
            .arg(sheet.gamesPerDay));
  PayoutPanel(p, sheet, QRectF(120, 100, kWidth - 170, 330));

  Title(p, 500, QStringLiteral("スランプグラフ　設定1と設定6の最初の3日"),
        QStringLiteral("差枚 = 払い出し − 投入（枚）、1ゲームごと"));
  SlumpPanel(p, sheet, QRectF(120, 580, kWidth - 170, 380));
  // A write that failed is kept as the file's error; closing clears it.
  if (!p.end() || !file.flush() || file.error() != QFileDevice::NoError) return false;
  file.close();
  return file.error() == QFileDevice::NoError;
}
