// The odds sheet: its intervals, a small sheet played whole, printed and drawn, and how often its intervals hold.
#include <gtest/gtest.h>

#include <QSvgRenderer>
#include <cmath>
#include <filesystem>
#include <tuple>

#include "harness/scratch_folder.h"
#include "tools/sim/odds_sheet.h"
#include "tools/sim/sheet_coverage.h"
#include "tools/sim/sheet_plot.h"
#include "tools/sim/sim_run.h"

namespace {

// Five days a setting with the counts given for every setting alike (numerator, denominator a day).
std::array<Figure, 6> Pooled(const std::vector<std::pair<double, double>>& days, FigureKind kind) {
  std::array<DayRatio, 6> r;
  for (DayRatio& s : r)
    for (auto [a, b] : days) s.Add(a, b, b > 0 ? a * a / b + 400 * b : 0);
  return PooledFigures(r, kind, 5);
}

TEST(SheetIntervalsTest, StayWithinWhatTheFigureCanTakeAndAreNeverOfZeroWidth) {
  // {what, the days, the figure's kind, the lowest and the highest value the figure can take}
  const std::vector<std::pair<double, double>> none(5, {0, 2000}), even(5, {5, 100});
  const std::vector<std::pair<double, double>> rare = {{0, 2000}, {1, 2000}, {0, 2000}, {0, 2000}, {0, 2000}};
  const std::tuple<const char*, std::vector<std::pair<double, double>>, FigureKind, double, double> cases[] = {
      {"one event in five days", rare, {FigureModel::Count}, 0, INFINITY},
      {"all but one MC a PMC", {{40, 40}, {39, 40}, {40, 40}, {40, 40}, {40, 40}}, {FigureModel::Share, 0, 1, 10}, 0, 1},
      {"one MC a PMC", {{0, 40}, {1, 30}, {0, 50}, {0, 40}, {0, 45}}, {FigureModel::Share, 0, 1, 10}, 0, 1},
      {"days without spread", even, {FigureModel::Count}, 0, INFINITY},
      {"short MCs", {{35 * 30, 30}, {33 * 20, 20}, {40 * 25, 25}, {33 * 30, 30}, {34 * 30, 30}},
       {FigureModel::Mean, 33, 3999, 20}, 33, 3999},
      {"payout", {{300, 100}, {250, 100}, {400, 100}, {100, 100}, {320, 100}}, {FigureModel::Relative}, 0, INFINITY},
  };
  for (const auto& [what, days, kind, low, high] : cases)
    for (const Figure& f : Pooled(days, kind)) {
      ASSERT_FALSE(f.thin) << what;
      EXPECT_GE(f.low, low) << what;
      EXPECT_LE(f.high, high) << what;
      EXPECT_LT(f.low, f.high) << what;
      EXPECT_TRUE(f.low <= f.value && f.value <= f.high) << what;
    }
  // Too few days, too few MCs for a mean, a spread that no setting shows: no interval, said so.
  EXPECT_TRUE(Pooled(none, {FigureModel::Count})[0].thin);
  EXPECT_TRUE(Pooled(std::vector<std::pair<double, double>>(5, {40, 40}), {FigureModel::Share, 0, 1, 10})[0].thin);
  EXPECT_TRUE(Pooled({{5, 100}, {3, 100}, {4, 100}, {6, 100}}, {FigureModel::Count})[0].thin);
  EXPECT_TRUE(Pooled(std::vector<std::pair<double, double>>(5, {33 * 3 + 66, 3}), {FigureModel::Mean, 33, 3999, 20})[0].thin);
  // A spread between days wider than chance widens the interval.
  const Figure chance = Pooled(even, {FigureModel::Count})[0];
  const Figure spread = Pooled({{1, 100}, {9, 100}, {2, 100}, {8, 100}, {5, 100}}, {FigureModel::Count})[0];
  EXPECT_GT(spread.high - spread.low, 1.5 * (chance.high - chance.low));
}

TEST(SheetIntervalsTest, TheMedianOfTheDaysWithTheOrderStatisticsThatHoldIt) {
  const Figure five = MedianFigure({400, 999, 111, 2999, 555});
  EXPECT_EQ(std::tie(five.value, five.low, five.high), std::tuple(555, 111, 2999));
  std::vector<double> twenty;
  for (int i = 1; i <= 20; ++i) twenty.push_back(i);
  const Figure f = MedianFigure(twenty);  // 6th to 15th hold 95.9 %, 7th to 14th 88.5 %: in between
  EXPECT_NEAR(f.low, 6.2, 0.1);
  EXPECT_NEAR(f.high, 14.8, 0.1);
  EXPECT_TRUE(MedianFigure({1, 2, 3, 4}).thin);
}

// Every setting is played for the days asked, at its own setting; the sheet prints one row a setting and one
// object a setting, and its picture is an SVG that a renderer reads.
TEST(OddsSheetTest, EverySettingIsPlayedPrintedAndDrawn) {
  ScratchFolder scratch;
  const SimOptions o{.days = 2, .games = 120, .data = scratch.Path() + "/data", .trace = {}, .sheet = true, .plot = {},
                     .daysGiven = true, .gamesGiven = true, .scratch = {}};
  const OddsSheet sheet = RunSheet(o);
  ASSERT_EQ(sheet.settings.size(), 6u);
  EXPECT_EQ(sheet.games, 6 * 2 * 120);
  for (const SettingFigures& s : sheet.settings) {
    EXPECT_EQ(std::tie(s.days, s.games), std::tuple(2, 240));
    EXPECT_GT(s.payout.value, 0);
    EXPECT_TRUE(s.payout.thin) << "two days are too few for an interval";
    EXPECT_EQ(s.slumps.size(), s.setting == 1 || s.setting == 6 ? 2u : 0u) << s.setting;
    for (const auto& slump : s.slumps) EXPECT_EQ(slump.size(), 120u);
  }

  const std::string text = SheetText(sheet);
  EXPECT_NE(text.find("[too thin]"), std::string::npos);
  EXPECT_NE(text.find("Days of 120 games"), std::string::npos);
  for (int setting = 1; setting <= 6; ++setting)
    EXPECT_NE(text.find("\n" + std::to_string(setting) + " "), std::string::npos) << setting;
  const std::string json = SheetJson(sheet);
  EXPECT_EQ(json.find('\n'), std::string::npos);
  for (int setting = 1; setting <= 6; ++setting)
    EXPECT_NE(json.find("\"" + std::to_string(setting) + "\":{\"days\":2,\"games\":240,\"payout_rate\":{\"value\":"),
              std::string::npos)
        << setting;

  const std::string svg = scratch.Path() + "/odds.svg";
  ASSERT_TRUE(DrawSheet(sheet, svg));
  QSvgRenderer renderer(QString::fromStdString(svg));
  EXPECT_TRUE(renderer.isValid());
  EXPECT_GT(std::filesystem::file_size(svg), 10000u);
}

// Many small sheets against one long reference of the same days' length: each figure's intervals hold the
// reference as often as they say, within what chance allows for their number, and none is empty or impossible.
TEST(SheetCoverageTest, EachFigureOfSmallSheetsHoldsTheLongReferenceAboutNinetyFivePercent) {
  const CoverageOptions o{
      .daysPerSheet = {5}, .games = 1000, .days = 150, .referenceDays = 150, .jobs = 2, .daysFile = {}};
  const auto sizes = MeasureCoverage(o);
  ASSERT_EQ(sizes.size(), 1u);
  for (const FigureCoverage& f : sizes[0]) {
    if (f.name == "FF連/1万G") {  // 5,000 games a setting are too few for its bunches
      EXPECT_EQ(f.intervals, 0);
      continue;
    }
    EXPECT_GE(f.intervals, 6 * 30 / 2) << f.name << ": most sheets print an interval";
    // 3.5 binomial standard errors: a figure that truly holds 95 % fails here once in two thousand.
    EXPECT_NEAR(f.Share(), 0.95, 3.5 * std::sqrt(0.95 * 0.05 / f.intervals)) << f.name;
    EXPECT_EQ(f.impossible, 0) << f.name;
  }
}

}  // namespace
