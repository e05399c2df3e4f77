// The calibration of the setting estimate, judged per band of day length: how often the settings given
// probability p came true, and the log score and Brier score against a baseline on the same days.
#pragma once
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "tools/counter_calibration/calibration_days.h"

// Probabilities of settings 1..6 (the day's start) or 1..8 (the setting now).
using SettingOdds = std::vector<double>;
// What is judged of a day: the estimate, the baseline it is set against, and the setting that came true (1..).
struct Judged {
  SettingOdds estimate, baseline;
  int truth = 0;
};
using Estimator = std::function<Judged(const PlayedDay&)>;

// A ratio of sums over groups of days (hits over predictions, a score over days) with its 95 % interval from the
// spread between the groups: the days of one group are taken as dependent.
struct GroupedRatio {
  void Add(int group, double numerator, double denominator);
  double Value() const;
  double HalfWidth() const;
  double Denominator() const;

 private:
  std::vector<int> groups_;
  std::vector<double> a_, b_;
};

struct BandReport {
  std::string name;
  int days = 0;
  GroupedRatio logScore, priorLogScore, logGain, brier, priorBrier, brierGain;
  static constexpr int kBins = 10;
  std::array<GroupedRatio, kBins> observed;  // hits over predictions in each bin of predicted probability
  std::array<double, kBins> predicted{};     // the sum of the probabilities given in each bin
  // Every bin with predictions lies within `points` of its observed share.
  bool CalibratedWithin(double points) const;
};

// The bands of day length: up to 1,000 games, 1,001 to 3,999, from 4,000.
std::vector<BandReport> Judge(const std::vector<PlayedDay>& days, const Estimator& estimate);
std::string ReportText(const std::vector<BandReport>& bands, const char* baseline);
