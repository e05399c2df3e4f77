#include "tools/counter_calibration/calibration_report.h"

#include <algorithm>
#include <cmath>

#include "tools/sim/sim_run.h"

namespace {
constexpr double kZ = 1.959964;
}  // namespace

void GroupedRatio::Add(int group, double numerator, double denominator) {
  const auto it = std::find(groups_.begin(), groups_.end(), group);
  if (it == groups_.end()) {
    groups_.push_back(group);
    a_.push_back(numerator);
    b_.push_back(denominator);
    return;
  }
  const auto i = static_cast<size_t>(it - groups_.begin());
  a_[i] += numerator;
  b_[i] += denominator;
}

double GroupedRatio::Denominator() const {
  double b = 0;
  for (double v : b_) b += v;
  return b;
}

double GroupedRatio::Value() const {
  double a = 0;
  for (double v : a_) a += v;
  const double b = Denominator();
  return b > 0 ? a / b : NAN;
}

double GroupedRatio::HalfWidth() const {
  const double g = static_cast<double>(groups_.size()), r = Value(), b = Denominator();
  if (g < 2 || !(b > 0)) return NAN;
  double strays = 0;
  for (size_t i = 0; i < a_.size(); ++i) strays += (a_[i] - r * b_[i]) * (a_[i] - r * b_[i]);
  return kZ * std::sqrt(g / (g - 1) * strays) / b;
}

bool BandReport::CalibratedWithin(double points) const {
  for (int b = 0; b < kBins; ++b) {
    const double n = observed[b].Denominator();
    if (n > 0 && std::fabs(predicted[b] / n - observed[b].Value()) > points) return false;
  }
  return true;
}

std::vector<BandReport> Judge(const std::vector<PlayedDay>& days, const Estimator& estimate) {
  std::vector<BandReport> bands(3);
  bands[0].name = "up to 1,000 games";
  bands[1].name = "1,001 to 3,999 games";
  bands[2].name = "4,000 games and more";
  for (const PlayedDay& d : days) {
    BandReport& band = bands[d.day.games <= 1000 ? 0 : d.day.games < 4000 ? 1 : 2];
    const Judged j = estimate(d);
    const SettingOdds &p = j.estimate, &prior = j.baseline;
    const int truth = j.truth - 1, g = d.group;
    ++band.days;
    const double log = std::log(std::max(p[truth], 1e-300)), priorLog = std::log(std::max(prior[truth], 1e-300));
    band.logScore.Add(g, log, 1);
    band.priorLogScore.Add(g, priorLog, 1);
    band.logGain.Add(g, log - priorLog, 1);
    double brier = 0, priorBrier = 0;
    for (size_t s = 0; s < p.size(); ++s) {
      const double hit = static_cast<int>(s) == truth ? 1 : 0;
      brier += (p[s] - hit) * (p[s] - hit);
      priorBrier += (prior[s] - hit) * (prior[s] - hit);
      const int bin = std::min(BandReport::kBins - 1, static_cast<int>(p[s] * BandReport::kBins));
      band.observed[bin].Add(g, hit, 1);
      band.predicted[bin] += p[s];
    }
    band.brier.Add(g, brier, 1);
    band.priorBrier.Add(g, priorBrier, 1);
    band.brierGain.Add(g, priorBrier - brier, 1);
  }
  return bands;
}

namespace {
std::string WithHalf(const GroupedRatio& r, const char* format) {
  return Formatted(format, r.Value()) + " ±" + Formatted(format, r.HalfWidth());
}
}  // namespace

std::string ReportText(const std::vector<BandReport>& bands, const char* baseline) {
  std::string out;
  for (const BandReport& b : bands) {
    if (b.days == 0) continue;
    out += Formatted("\n%s: %d days\n", b.name.c_str(), b.days);
    out += "  log score  " + WithHalf(b.logScore, "%.4f") + Formatted("   %s %.4f", baseline, b.priorLogScore.Value()) +
           "   gain " + WithHalf(b.logGain, "%.4f") + "\n";
    out += "  Brier      " + WithHalf(b.brier, "%.4f") + Formatted("   %s %.4f", baseline, b.priorBrier.Value()) +
           "   gain " + WithHalf(b.brierGain, "%.4f") + "\n";
    out += "  bin        predictions  predicted  observed (95 % interval)\n";
    for (int i = 0; i < BandReport::kBins; ++i) {
      const GroupedRatio& o = b.observed[i];
      const double n = o.Denominator();
      if (n == 0) continue;
      const double predicted = b.predicted[i] / n, seen = o.Value(), half = o.HalfWidth();
      out += Formatted("  %.1f-%.1f  %11.0f  %9.3f  %8.3f (%.3f-%.3f)  %s\n", i / 10.0, (i + 1) / 10.0, n, predicted,
                       seen, std::max(0.0, seen - half), std::min(1.0, seen + half),
                       std::fabs(predicted - seen) <= 0.05 ? "within 5 points" : "OFF by more than 5 points");
    }
    out += b.CalibratedWithin(0.05) ? "  every bin within 5 points\n" : "  NOT every bin within 5 points\n";
  }
  return out;
}
