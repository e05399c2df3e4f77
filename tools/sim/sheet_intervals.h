// The odds sheet's 95 % intervals. Each figure is a ratio of two sums over a setting's days. Its spread between
// the days is measured against what a simple model of the figure says (a count of independent events, a share of
// independent trials, a mean of independent MCs, a ratio with a fixed relative spread), and that ratio of the two
// (the dispersion) is pooled over the six settings, so that even five days a setting give it on some twenty
// degrees of freedom. The interval is then the model's own, widened by the dispersion: it never leaves the
// values the figure can take and is never of zero width.
#pragma once
#include <array>
#include <cmath>
#include <vector>

// A figure and its interval; NaN where there was nothing to measure. `thin`: there was something, but too little
// for an interval that holds what it says.
struct Figure {
  double value = NAN, low = NAN, high = NAN;
  bool thin = false;
};

// A ratio of two sums over days.
class DayRatio {
 public:
  void Add(double numerator, double denominator, double unitSquares = 0);
  long Days() const { return days_; }
  double Numerator() const { return static_cast<double>(a_); }
  double Denominator() const { return static_cast<double>(b_); }
  double Ratio() const { return b_ > 0 ? static_cast<double>(a_ / b_) : NAN; }
  // The variance of the ratio from the days' strays from it (numerator less the ratio times denominator).
  double DayVariance() const;
  // The spread of one unit (an MC's length) about the ratio, from the squares of the units added.
  double UnitVariance() const;
  // The ratio with Student's t interval from the days' strays alone.
  Figure StudentInterval() const;

 private:
  long days_ = 0;
  long double a_ = 0, b_ = 0, aa_ = 0, ab_ = 0, bb_ = 0, units_ = 0;
};

// Student's t: the 97.5 % point for the degrees of freedom (the half width of a 95 % interval in standard errors).
double StudentT975(long degreesOfFreedom);

// What a figure is, for its model and the values it can take.
enum class FigureModel {
  Count,     // events over exposure (wins over games): Poisson
  Share,     // events over trials (PMCs over MCs): binomial, within 0..1
  Mean,      // a mean of units (MC lengths) no lower than `floor`, no higher than `ceiling`
  Relative,  // coins out over coins in: a spread proportional to the ratio, never below 0
};

struct FigureKind {
  FigureModel model;
  double floor = 0, ceiling = INFINITY;
  double minimumDenominator = 1;  // less than this over the days (MCs for a mean): too thin for an interval
};

// The figure of each setting (six ratios of the same kind), with the dispersion pooled over the settings. Fewer
// than `minimumDays` days a setting: no interval.
std::array<Figure, 6> PooledFigures(const std::array<DayRatio, 6>& days, const FigureKind& kind, int minimumDays);

// A "1 in x" figure from a rate: the inverse of the rate and of its interval (infinite where the rate may be 0).
Figure OneIn(const Figure& rate);

// The median of values (a day's longest MC) with the interval of order statistics that holds at least 95 % for
// any distribution; fewer than 5 values: too thin.
Figure MedianFigure(std::vector<double> values);
