// sheet-coverage: how often the odds sheet's intervals hold, many small sheets against one long reference.
//   sheet-coverage [--sheet-days D]... [--games N] [--days N] [--reference R] [--jobs J] [--days-file F]
#include <cstdio>
#include <string>

#include "tools/sim/sheet_coverage.h"
#include "tools/sim/sim_run.h"

int main(int argc, char** argv) {
  CoverageOptions o;
  o.daysPerSheet.clear();
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i], v = i + 1 < argc ? argv[++i] : "";
    double n = 0;
    if (a == "--days-file") {
      o.daysFile = v;
      continue;
    }
    if (!WholeNumber(v, 1, 1e6, &n)) {
      std::fprintf(stderr, "sheet-coverage: bad value for %s: %s\n", a.c_str(), v.c_str());
      return 2;
    }
    if (a == "--sheet-days")
      o.daysPerSheet.push_back(static_cast<int>(n));
    else if (a == "--games")
      o.games = static_cast<long>(n);
    else if (a == "--days")
      o.days = static_cast<int>(n);
    else if (a == "--reference")
      o.referenceDays = static_cast<int>(n);
    else if (a == "--jobs")
      o.jobs = static_cast<int>(n);
    else {
      std::fprintf(stderr, "sheet-coverage: unknown option %s\n", a.c_str());
      return 2;
    }
  }
  if (o.daysPerSheet.empty()) o.daysPerSheet = {5};
  try {
    std::printf("%s", CoverageText(o, MeasureCoverage(o)).c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "sheet-coverage: %s\n", e.what());
    return 1;
  }
  return 0;
}
