#include "tools/sim/sheet_coverage.h"

#include <algorithm>
#include <cmath>

#include "tools/sim/odds_sheet.h"
#include "tools/sim/sim_run.h"

namespace {

using Days = std::array<std::vector<SheetDay>, 6>;

// The figures of SettingFigures that are ratios, in SheetRatios' order, then the longest MC.
std::array<Figure, kRatioFigures + 1> FiguresOf(const SettingFigures& f) {
  return {f.payout,       f.gamesPerFreshWin, f.gamesPerFreshPmc, f.pmcShare,
          f.meanMcLength, f.streakShare,      f.fanfarePer10000,  f.longestMc};
}

// "1 in x" figures are held in their own terms: the rate's interval inverted.
bool Holds(const Figure& f, double reference) { return f.low <= reference && reference <= f.high; }

}  // namespace

std::vector<std::vector<FigureCoverage>> MeasureCoverage(const CoverageOptions& c) {
  SimOptions o;
  o.games = c.games;
  o.jobs = c.jobs;
  o.scratch = MemoryFolder();
  const int perSetting = c.days + c.referenceDays;
  std::vector<DayTask> tasks;
  for (int s = 1; s <= 6; ++s)
    for (int d = 0; d < perSetting; ++d) {
      DayTask t;
      t.number = (s - 1) * perSetting + d;
      t.setting = s;
      tasks.push_back(t);
    }
  std::array<std::vector<SheetDay>, 6> all;
  PlayRun(o, tasks, [&](DayResult&& d) { all[d.setting - 1].push_back(SheetDayOf(d)); });

  const auto part = [&](int from, int count) {
    Days days;
    for (size_t s = 0; s < 6; ++s) days[s].assign(all[s].begin() + from, all[s].begin() + from + count);
    return days;
  };
  const std::vector<SettingFigures> reference = SheetFigures(part(c.days, c.referenceDays));
  const auto referenceRatios = SheetRatios(part(c.days, c.referenceDays));
  std::vector<std::vector<FigureCoverage>> sizes;
  for (int size : c.daysPerSheet) {
    std::vector<FigureCoverage> out(kRatioFigures + 1);
    const char* names[] = {"機械割",   "通常時MC", "初当りPMC", "PMC比率",
                           "平均MC長", "連荘率",   "FF連/1万G", "最長MC/日"};
    for (size_t i = 0; i < out.size(); ++i) out[i].name = names[i];
    for (int k = 0; k < c.days / size; ++k) {
      const Days days = part(k * size, size);
      const std::vector<SettingFigures> sheet = SheetFigures(days);
      const auto ratios = SheetRatios(days);
      for (size_t s = 0; s < 6; ++s) {
        const auto figures = FiguresOf(sheet[s]), truth = FiguresOf(reference[s]);
        for (size_t i = 0; i < out.size(); ++i) {
          if (std::isnan(figures[i].value)) continue;
          if (figures[i].thin || std::isnan(figures[i].low)) {
            ++out[i].thin;
            continue;
          }
          ++out[i].intervals;
          out[i].held += Holds(figures[i], truth[i].value);
        }
        for (size_t i = 0; i < kRatioFigures; ++i) {
          const Figure t = ratios[i][s].StudentInterval();
          if (std::isnan(t.low)) continue;
          ++out[i].studentIntervals;
          out[i].studentHeld += Holds(t, referenceRatios[i][s].Ratio());
        }
      }
    }
    sizes.push_back(std::move(out));
  }
  return sizes;
}

std::string CoverageText(const CoverageOptions& c, const std::vector<std::vector<FigureCoverage>>& sizes) {
  std::string out;
  for (size_t k = 0; k < sizes.size(); ++k) {
    out += Formatted(
        "%d sheets of %d days of %ld games against a reference of %d days a setting:\n"
        "figure       held (of intervals)   Student t over days   [too thin]\n",
        c.days / c.daysPerSheet[k], c.daysPerSheet[k], c.games, c.referenceDays);
    for (const FigureCoverage& f : sizes[k]) {
      std::string name = f.name;
      out += name + std::string(static_cast<size_t>(std::max(0, 12 - static_cast<int>(name.size()) * 2 / 3)), ' ') +
             Formatted(" %5.1f %% (%4d)          ", 100 * f.Share(), f.intervals) +
             (f.studentIntervals ? Formatted("%5.1f %% (%4d)    ", 100 * f.StudentShare(), f.studentIntervals)
                                 : std::string("  -                 ")) +
             Formatted("%4d\n", f.thin);
    }
  }
  return out;
}
