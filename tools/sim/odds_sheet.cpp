#include "tools/sim/odds_sheet.h"

#include <chrono>

#include "tools/sim/sim_run.h"

namespace {

constexpr int kSlumpDays = 3;
// The longest MC the lotteries can draw (the fanfare streak's table); a grown MC is longer, but not as drawn.
constexpr double kLongestDrawn = 3999;
constexpr double kShortestMc = 33;

bool DrawnAsSlump(int setting) { return setting == 1 || setting == 6; }

}  // namespace

SheetDay SheetDayOf(const DayResult& d) {
  SheetDay s;
  s.coinsIn = static_cast<double>(d.coinsIn);
  s.coinsOut = static_cast<double>(d.coinsOut);
  s.games = static_cast<double>(d.games);
  s.normalGames = static_cast<double>(d.normalGames);
  s.freshWins = static_cast<double>(d.freshWins);
  s.freshPmc = static_cast<double>(d.freshPmc);
  s.starts = static_cast<double>(d.starts);
  s.premiumStarts = static_cast<double>(d.premiumStarts);
  s.streakStarts = static_cast<double>(d.streakStarts);
  s.lengthSum = static_cast<double>(d.lengthSum);
  s.lengthSquares = static_cast<double>(d.lengthSquares);
  s.fanfare = d.fanfareStreaks;
  s.longest = d.maxMcLength;
  return s;
}

std::array<std::array<DayRatio, 6>, kRatioFigures> SheetRatios(const std::array<std::vector<SheetDay>, 6>& days) {
  std::array<std::array<DayRatio, 6>, kRatioFigures> r;
  auto& [payout, fresh, pmc, share, length, streak, fanfare] = r;
  for (size_t s = 0; s < 6; ++s)
    for (const SheetDay& d : days[s]) {
      payout[s].Add(d.coinsOut, d.coinsIn);
      fresh[s].Add(d.freshWins, d.normalGames);
      pmc[s].Add(d.freshPmc, d.normalGames);
      share[s].Add(d.premiumStarts, d.starts);
      length[s].Add(d.lengthSum, d.starts, d.lengthSquares);
      streak[s].Add(d.streakStarts, d.starts);
      fanfare[s].Add(d.fanfare, d.games);
    }
  return r;
}

std::vector<SettingFigures> SheetFigures(const std::array<std::vector<SheetDay>, 6>& days) {
  const auto [payout, fresh, pmc, share, length, streak, fanfare] = SheetRatios(days);
  const FigureKind count{FigureModel::Count}, shares{FigureModel::Share, 0, 1, 10};
  const auto payouts = PooledFigures(payout, {FigureModel::Relative}, kIntervalDays);
  const auto freshes = PooledFigures(fresh, count, kIntervalDays), pmcs = PooledFigures(pmc, count, kIntervalDays);
  const auto premium = PooledFigures(share, shares, kIntervalDays);
  const auto lengths = PooledFigures(length, {FigureModel::Mean, kShortestMc, kLongestDrawn, 20}, kIntervalDays);
  const auto streaks = PooledFigures(streak, shares, kIntervalDays);
  // Two or three fanfare streaks in 10,000 games, and they come in bunches: in fewer games a setting than this the
  // days hold one or none, which shows no bunching, and an interval on them holds far less than it says.
  const auto fanfares = PooledFigures(fanfare, {FigureModel::Count, 0, INFINITY, 20000}, kIntervalDays);
  std::vector<SettingFigures> out;
  for (size_t s = 0; s < 6; ++s) {
    SettingFigures f;
    f.setting = static_cast<int>(s) + 1;
    f.days = static_cast<int>(days[s].size());
    std::vector<double> longest;
    for (const SheetDay& d : days[s]) f.games += static_cast<long>(d.games), longest.push_back(d.longest);
    f.payout = payouts[s];
    f.gamesPerFreshWin = OneIn(freshes[s]);
    f.gamesPerFreshPmc = OneIn(pmcs[s]);
    f.pmcShare = premium[s];
    f.meanMcLength = lengths[s];
    f.streakShare = streaks[s];
    f.fanfarePer10000 = fanfares[s];
    for (double* v : {&f.fanfarePer10000.value, &f.fanfarePer10000.low, &f.fanfarePer10000.high}) *v *= 10000;
    f.longestMc = MedianFigure(longest);
    out.push_back(std::move(f));
  }
  return out;
}

OddsSheet RunSheet(const SimOptions& given, std::ostream* trace) {
  const auto wall0 = std::chrono::steady_clock::now();
  SimOptions o = given;
  if (!o.daysGiven) o.days = kSheetDays;
  if (!o.gamesGiven) o.games = kSheetGames;
  if (o.scratch.empty()) o.scratch = MemoryFolder();
  std::vector<DayTask> tasks;
  for (int setting = 1; setting <= 6; ++setting)
    for (int d = 0; d < o.days; ++d) {
      DayTask t;
      t.number = (setting - 1) * o.days + d;
      t.setting = setting;
      t.wants.slump = DrawnAsSlump(setting) && d < kSlumpDays;
      t.wants.trace = trace != nullptr;
      t.wants.history = t.number >= 6 * o.days - 30;
      tasks.push_back(t);
    }
  if (trace) *trace << "game\tsetting\tflag\tgroup\tpattern\torder\tleft\tcentre\tright\tcoins\tmoney\tmc_left\n";
  std::array<std::vector<SheetDay>, 6> days;
  std::array<std::vector<std::vector<int>>, 6> slumps;
  PlayRun(o, tasks, [&](DayResult&& d) {
    days[d.setting - 1].push_back(SheetDayOf(d));
    if (!d.slump.empty()) slumps[d.setting - 1].push_back(std::move(d.slump));
    if (trace) WriteTrace(*trace, d.trace);
  });

  OddsSheet sheet;
  sheet.daysPerSetting = o.days;
  sheet.gamesPerDay = o.games;
  sheet.settings = SheetFigures(days);
  for (SettingFigures& s : sheet.settings) {
    s.slumps = std::move(slumps[s.setting - 1]);
    sheet.games += s.games;
  }
  sheet.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
  return sheet;
}
