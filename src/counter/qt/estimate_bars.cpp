#include "counter/qt/estimate_bars.h"

#include <QPainter>
#include <algorithm>

EstimateBars::EstimateBars(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  setMinimumSize(200, 120);
}

void EstimateBars::SetProbabilities(const std::array<double, 6>& p) {
  p_ = p;
  update();
}

void EstimateBars::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QFontMetrics fm(font());
  const int rowH = height() / 6;
  const int labelW = fm.horizontalAdvance(QStringLiteral("設定6")) + 8;
  const int pctW = fm.horizontalAdvance(QStringLiteral("100.0%")) + 6;
  const int barW = width() - labelW - pctW;
  const int best = static_cast<int>(std::max_element(p_.begin(), p_.end()) - p_.begin());
  for (int s = 0; const double share : p_) {
    const QRect row(0, s * rowH, width(), rowH);
    p.setPen(QColor(0xc8, 0xd2, 0xf0));
    p.drawText(QRect(0, row.top(), labelW, rowH), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("設定%1").arg(s + 1));
    const QRectF track(labelW, row.top() + rowH * 0.2, barW, rowH * 0.6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x22, 0x2a, 0x48));
    p.drawRoundedRect(track, 3, 3);
    QRectF bar = track;
    bar.setWidth(std::max(0.0, track.width() * std::clamp(share, 0.0, 1.0)));
    p.setBrush(s == best ? QColor(0xff, 0xd2, 0x4a) : QColor(0x5c, 0xa8, 0xe0));
    if (bar.width() > 0.5) p.drawRoundedRect(bar, 3, 3);
    p.setPen(QColor(0xf0, 0xf0, 0xf0));
    p.drawText(QRect(labelW + barW, row.top(), pctW, rowH), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(100 * share, 'f', 1) + "%");
    ++s;
  }
}
