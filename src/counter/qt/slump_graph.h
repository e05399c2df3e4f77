// The slump graph: a day's coin difference against the game number, one point per game, with each MC start
// marked in the colour of its kind. Drawn with QPainter: a day of 10,000 games is one polyline, redrawn at each
// game end in well under a millisecond, and the axes and marks are exactly as the counter wants them.
#pragma once
#include <QWidget>

#include "counter/counter_day.h"

class SlumpGraph : public QWidget {
 public:
  explicit SlumpGraph(QWidget* parent = nullptr);
  void SetDay(const CounterDay& day);

  // The colours of the marks, shared with the bonus list.
  static QColor KindColour(const CounterBonus& b);

  // Round axis steps: 1, 2 or 5 times a power of ten, so that about `ticks` of them span `range`.
  static double NiceStep(double range, int ticks);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  std::vector<int> slump_;
  std::vector<CounterBonus> bonuses_;
};
