// How often the odds sheet's 95 % intervals hold: many small sheets against one long reference of the same days'
// length, each figure of each setting of each sheet one interval.
#pragma once
#include <string>
#include <vector>

struct CoverageOptions {
  std::vector<int> daysPerSheet = {5};  // each size cuts the same days into as many sheets as they make
  long games = 10000;
  int days = 200;           // a setting, cut into sheets
  int referenceDays = 400;  // a setting, besides them
  int jobs = 0;
  // The days played, kept here when the file is missing and read back when it is there: a change to the
  // intervals is measured again without playing the days again.
  std::string daysFile;
};

struct FigureCoverage {
  std::string name;
  int intervals = 0, held = 0, thin = 0;  // printed intervals, those that held the reference, [too thin]
  int impossible = 0;  // printed intervals of no width, or reaching values the machine cannot produce
  int studentIntervals = 0, studentHeld = 0;  // the same days with Student's t from the days' spread alone
  double Share() const { return intervals ? static_cast<double>(held) / intervals : 0; }
  double StudentShare() const { return studentIntervals ? static_cast<double>(studentHeld) / studentIntervals : 0; }
};

// For each size of sheet, the figures in the sheet's order, the longest MC a day last (it has no Student
// interval).
std::vector<std::vector<FigureCoverage>> MeasureCoverage(const CoverageOptions& o);
std::string CoverageText(const CoverageOptions& o, const std::vector<std::vector<FigureCoverage>>& sizes);
