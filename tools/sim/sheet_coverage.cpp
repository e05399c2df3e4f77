#include "tools/sim/sheet_coverage.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "tools/sim/odds_sheet.h"
#include "tools/sim/sim_run.h"

namespace {

using Days = std::array<std::vector<SheetDay>, 6>;

// The figures of SettingFigures that are ratios, in SheetRatios' order, then the longest MC.
std::array<Figure, kRatioFigures + 1> FiguresOf(const SettingFigures& f) {
  return {f.payout,       f.gamesPerFreshWin, f.gamesPerFreshPmc, f.pmcShare,
          f.meanMcLength, f.streakShare,      f.fanfarePer10000,  f.longestMc};
}

// The values each figure can take, in FiguresOf's order: a "1 in x" is finite, an MC as drawn 33 to 3,999 games,
// a day's longest 0 when it had none.
constexpr std::array<std::pair<double, double>, kRatioFigures + 1> kPossible = {
    {{0, INFINITY}, {1, INFINITY}, {1, INFINITY}, {0, 1}, {33, 3999}, {0, 1}, {0, 10000}, {0, INFINITY}}};

bool Possible(const Figure& f, size_t i) {
  const auto [low, high] = kPossible[i];
  return low <= f.low && f.low < f.high && f.high <= high && std::isfinite(f.high) && f.low <= f.value &&
         f.value <= f.high;
}

// "1 in x" figures are held in their own terms: the rate's interval inverted.
bool Holds(const Figure& f, double reference) { return f.low <= reference && reference <= f.high; }

// A setting's days, one a line: the setting, then SheetDay's fields in order.
constexpr int kFields = 13;
double* Fields(SheetDay& d, int i) {
  double* f[kFields] = {&d.coinsIn, &d.coinsOut,      &d.games,        &d.normalGames, &d.freshWins,
                        &d.freshPmc, &d.starts,       &d.premiumStarts, &d.streakStarts, &d.lengthSum,
                        &d.lengthSquares, &d.fanfare, &d.longest};
  return f[i];
}

bool ReadDays(const std::string& file, Days* days) {
  std::ifstream in(file);
  if (!in) return false;
  int setting = 0;
  while (in >> setting) {
    if (setting < 1 || setting > 6) throw std::runtime_error("bad setting in " + file);
    SheetDay d;
    for (int i = 0; i < kFields; ++i)
      if (!(in >> *Fields(d, i))) throw std::runtime_error("bad day in " + file);
    (*days)[static_cast<size_t>(setting - 1)].push_back(d);
  }
  return true;
}

void WriteDays(const std::string& file, Days& days) {
  std::ofstream out(file);
  for (size_t s = 0; s < 6; ++s)
    for (SheetDay& d : days[s]) {
      out << s + 1;
      for (int i = 0; i < kFields; ++i) out << ' ' << Formatted("%.17g", *Fields(d, i));
      out << '\n';
    }
  if (!out.flush()) throw std::runtime_error("cannot write " + file);
}

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
  Days all;
  if (c.daysFile.empty() || !ReadDays(c.daysFile, &all)) {
    PlayRun(o, tasks, [&](DayResult&& d) { all[static_cast<size_t>(d.setting - 1)].push_back(SheetDayOf(d)); });
    if (!c.daysFile.empty()) WriteDays(c.daysFile, all);
  }
  for (const auto& setting : all)
    if (setting.size() < static_cast<size_t>(perSetting)) throw std::runtime_error("fewer days than asked for");

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
          out[i].impossible += !Possible(figures[i], i);
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
        "figure       held (of intervals)   Student t over days   [too thin]  impossible\n",
        c.days / c.daysPerSheet[k], c.daysPerSheet[k], c.games, c.referenceDays);
    for (const FigureCoverage& f : sizes[k]) {
      std::string name = f.name;
      out += name + std::string(static_cast<size_t>(std::max(0, 12 - static_cast<int>(name.size()) * 2 / 3)), ' ') +
             Formatted(" %5.1f %% (%4d)          ", 100 * f.Share(), f.intervals) +
             (f.studentIntervals ? Formatted("%5.1f %% (%4d)    ", 100 * f.StudentShare(), f.studentIntervals)
                                 : std::string("  -                 ")) +
             Formatted("%4d        %4d\n", f.thin, f.impossible);
    }
  }
  return out;
}
