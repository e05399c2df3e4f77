#include "tools/sim/sheet_intervals.h"

#include <algorithm>

void DayRatio::Add(double numerator, double denominator, double unitSquares) {
  ++days_;
  a_ += numerator;
  b_ += denominator;
  aa_ += static_cast<long double>(numerator) * numerator;
  ab_ += static_cast<long double>(numerator) * denominator;
  bb_ += static_cast<long double>(denominator) * denominator;
  units_ += unitSquares;
}

double DayRatio::DayVariance() const {
  if (days_ < 2 || b_ <= 0) return NAN;
  const long double r = a_ / b_, n = static_cast<long double>(days_);
  const long double strays = std::max<long double>(aa_ - 2 * r * ab_ + r * r * bb_, 0);
  return static_cast<double>(n / (n - 1) * strays / (b_ * b_));
}

double DayRatio::UnitVariance() const {
  if (b_ <= 0) return NAN;
  const long double r = a_ / b_;
  return static_cast<double>(std::max<long double>(units_ / b_ - r * r, 0));
}

Figure DayRatio::StudentInterval() const {
  Figure f;
  f.value = Ratio();
  const double half = StudentT975(days_ - 1) * std::sqrt(DayVariance());
  if (!std::isnan(half)) f.low = f.value - half, f.high = f.value + half;
  return f;
}

double StudentT975(long df) {
  static constexpr double kTable[31] = {0,      12.7062, 4.3027, 3.1824, 2.7764, 2.5706, 2.4469, 2.3646,
                                        2.3060, 2.2622,  2.2281, 2.2010, 2.1788, 2.1604, 2.1448, 2.1314,
                                        2.1199, 2.1098,  2.1009, 2.0930, 2.0860, 2.0796, 2.0739, 2.0687,
                                        2.0639, 2.0595,  2.0555, 2.0518, 2.0484, 2.0452, 2.0423};
  if (df < 1) return NAN;
  if (df <= 30) return kTable[df];
  // Beyond the table, the Cornish-Fisher expansion about the normal point (good to 1e-5 from 30 on).
  const double z = 1.959963984540054, v = static_cast<double>(df);
  const double z2 = z * z, z3 = z2 * z, z5 = z3 * z2, z7 = z5 * z2, z9 = z7 * z2;
  return z + (z3 + z) / (4 * v) + (5 * z5 + 16 * z3 + 3 * z) / (96 * v * v) +
         (3 * z7 + 19 * z5 + 17 * z3 - 15 * z) / (384 * v * v * v) +
         (79 * z9 + 776 * z7 + 1482 * z5 - 1920 * z3 - 945 * z) / (92160 * v * v * v * v);
}

namespace {

// The model's variance of the ratio: what the days' spread is measured against. A mean's units spread alike in
// every setting (`units`): a sheet whose rare long MCs all fell elsewhere would otherwise print its narrowest
// interval exactly where its mean is furthest below the truth.
double ModelVariance(const DayRatio& d, FigureModel model, double units) {
  const double r = d.Ratio(), b = d.Denominator();
  switch (model) {
    case FigureModel::Count: return r / b;
    case FigureModel::Share: return r * (1 - r) / b;
    case FigureModel::Mean: return units / b;
    case FigureModel::Relative: return r * r / b;
  }
  return NAN;
}

// The model's interval for the ratio, its variance `dispersion` times the model's, `t` standard errors wide.
Figure ModelInterval(const DayRatio& d, const FigureKind& kind, double dispersion, double units, double t) {
  Figure f;
  const double r = d.Ratio(), b = d.Denominator() / dispersion, t2 = t * t;
  f.value = r;
  switch (kind.model) {
    case FigureModel::Count: {  // the score interval of a Poisson count of r·b in b
      const double k = r * b, half = t * std::sqrt(k + t2 / 4);
      f.low = std::max(0.0, (k + t2 / 2 - half) / b);
      f.high = (k + t2 / 2 + half) / b;
      break;
    }
    case FigureModel::Share: {  // Wilson's score interval
      const double centre = (r + t2 / (2 * b)) / (1 + t2 / b);
      const double half = t * std::sqrt(r * (1 - r) / b + t2 / (4 * b * b)) / (1 + t2 / b);
      f.low = std::max(0.0, centre - half);
      f.high = std::min(1.0, centre + half);
      break;
    }
    case FigureModel::Mean: {  // on the log scale of the excess over the floor: a long tail above it
      const double excess = r - kind.floor, se = std::sqrt(dispersion * ModelVariance(d, kind.model, units));
      if (!(excess > 0) || !(se > 0)) return f.thin = true, f;
      f.low = kind.floor + excess * std::exp(-t * se / excess);
      f.high = std::min(kind.ceiling, kind.floor + excess * std::exp(t * se / excess));
      break;
    }
    case FigureModel::Relative: {
      const double se = std::sqrt(dispersion / d.Denominator());
      f.low = r * std::exp(-t * se);
      f.high = r * std::exp(t * se);
      break;
    }
  }
  return f;
}

}  // namespace

std::array<Figure, 6> PooledFigures(const std::array<DayRatio, 6>& days, const FigureKind& kind, int minimumDays) {
  double squares = 0, units = 0;
  for (const DayRatio& d : days)
    if (d.Denominator() > 0) squares += d.UnitVariance() * d.Denominator(), units += d.Denominator();
  const double unitVariance = units > 0 ? squares / units : NAN;
  double weighted = 0;
  long df = 0;
  for (const DayRatio& d : days) {
    const double model = ModelVariance(d, kind.model, unitVariance), spread = d.DayVariance();
    if (d.Days() < 2 || !(model > 0) || std::isnan(spread)) continue;
    weighted += static_cast<double>(d.Days() - 1) * spread / model;
    df += d.Days() - 1;
  }
  // A spread far below the model's would give an interval narrower than the events allow.
  const double dispersion = df > 0 ? std::max(weighted / static_cast<double>(df), 0.2) : NAN;
  std::array<Figure, 6> out;
  for (size_t s = 0; s < days.size(); ++s) {
    const DayRatio& d = days[s];
    Figure& f = out[s];
    f.value = d.Ratio();
    if (std::isnan(f.value)) continue;
    if (d.Days() < minimumDays || d.Denominator() < kind.minimumDenominator || std::isnan(dispersion)) {
      f.thin = true;
      continue;
    }
    f = ModelInterval(d, kind, dispersion, unitVariance, StudentT975(df));
  }
  return out;
}

Figure OneIn(const Figure& rate) {
  Figure f;
  f.thin = rate.thin;
  if (std::isnan(rate.value)) return f;
  f.value = rate.value > 0 ? 1 / rate.value : INFINITY;
  if (std::isnan(rate.low)) return f;
  // No event, no upper end: "1 in ∞" says nothing a player can hold a machine to.
  if (!(rate.low > 0)) return f.thin = true, f;
  f.low = 1 / rate.high;
  f.high = 1 / rate.low;
  return f;
}

Figure MedianFigure(std::vector<double> values) {
  Figure f;
  const size_t n = values.size();
  if (n == 0) return f;
  std::sort(values.begin(), values.end());
  f.value = values[(n - 1) / 2];  // the lower middle: a value a day really had
  if (n < 5) return f.thin = true, f;
  // [x(k), x(n-k+1)] (from 1) holds the median unless k or more fall on one side of it.
  const double m = static_cast<double>(n);
  const auto held = [m](size_t k) {
    double side = 0;
    for (size_t i = 0; i < k; ++i) {
      const double d = static_cast<double>(i);
      side += std::exp(std::lgamma(m + 1) - std::lgamma(d + 1) - std::lgamma(m - d + 1) - m * std::log(2.0));
    }
    return 1 - 2 * side;
  };
  size_t k = 1;  // the pair furthest in that holds 95 %, the outermost where none does (five days: 93.75 %)
  while (2 * k + 1 <= n && held(k + 1) >= 0.95) ++k;
  f.low = values[k - 1];
  f.high = values[n - k];
  // Days alike to the last: the lengths come from a short table, and no width says how far the median may lie.
  if (f.low == f.high) return f.thin = true, f;
  // Whole order statistics jump from well above 95 % to well below: part of the way to the next pair in brings
  // it to 95 % (Hettmansperger and Sheather's interpolation).
  const double outer = held(k);
  if (outer > 0.95 && 2 * k + 1 <= n) {
    const double share = (outer - 0.95) / (outer - held(k + 1)), kk = static_cast<double>(k);
    const double lambda = (m - kk) * share / (kk + (m - 2 * kk) * share);
    f.low += lambda * (values[k] - values[k - 1]);
    f.high -= lambda * (values[n - k] - values[n - k - 1]);
  }
  return f;
}
