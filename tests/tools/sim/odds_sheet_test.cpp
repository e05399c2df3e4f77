// The odds sheet: its intervals, and a small sheet played whole, printed and drawn.
#include <gtest/gtest.h>

#include <QSvgRenderer>
#include <filesystem>

#include "harness/scratch_folder.h"
#include "tools/sim/odds_sheet.h"
#include "tools/sim/sheet_plot.h"
#include "tools/sim/sim_run.h"

namespace {

TEST(DayRatioTest, TheRatioOfTheSumsWithAStudentIntervalFromTheDaysStrays) {
  DayRatio r;
  // Three days: 10 of 100, 30 of 100, 20 of 200. The ratio is 60/400; the strays a - 0.15 b are -5, 15, -10.
  r.Add(10, 100);
  r.Add(30, 100);
  r.Add(20, 200);
  const Figure f = r.Estimate();
  EXPECT_DOUBLE_EQ(f.value, 0.15);
  const double se = std::sqrt(3.0 / 2 * (25 + 225 + 100)) / 400;
  EXPECT_NEAR(f.high - f.value, 4.3027 * se, 1e-9);
  EXPECT_NEAR(f.value - f.low, 4.3027 * se, 1e-9);

  // One in how many: the inverted interval of the rate; where the rate's interval reaches 0, never.
  const Figure one = r.OneIn();
  EXPECT_NEAR(one.value, 1 / 0.15, 1e-12);
  EXPECT_NEAR(one.low, 1 / f.high, 1e-12);
  EXPECT_TRUE(std::isinf(one.high));
  // A share stays a share.
  EXPECT_GE(r.Within(0.1, 1).low, 0.1);

  DayRatio single;
  single.Add(5, 10);
  EXPECT_DOUBLE_EQ(single.Estimate().value, 0.5);
  EXPECT_TRUE(std::isnan(single.Estimate().low)) << "one day has no spread";
  EXPECT_TRUE(std::isnan(DayRatio().Estimate().value));
}

TEST(DayRatioTest, StudentsPointMeetsItsTableAndTheNormalPoint) {
  EXPECT_NEAR(StudentT975(1), 12.7062, 1e-4);
  EXPECT_NEAR(StudentT975(30), 2.0423, 1e-4);
  EXPECT_NEAR(StudentT975(31), 2.0395, 1e-4);
  EXPECT_NEAR(StudentT975(120), 1.9799, 1e-4);
  EXPECT_NEAR(StudentT975(100000), 1.95999, 1e-4);
  for (long df = 2; df < 200; ++df) EXPECT_LT(StudentT975(df), StudentT975(df - 1)) << df;
}

// Every setting is played for the days asked, at its own setting; the sheet prints one row a setting and one
// object a setting, and its picture is an SVG that a renderer reads.
TEST(OddsSheetTest, EverySettingIsPlayedPrintedAndDrawn) {
  ScratchFolder scratch;
  SimOptions o;
  o.sheet = true;
  o.days = 2;
  o.games = 120;
  o.daysGiven = o.gamesGiven = true;
  o.data = scratch.Path() + "/data";
  const OddsSheet sheet = RunSheet(o);
  ASSERT_EQ(sheet.settings.size(), 6u);
  EXPECT_EQ(sheet.games, 6 * 2 * 120);
  for (const SettingFigures& s : sheet.settings) {
    EXPECT_EQ(s.days, 2);
    EXPECT_EQ(s.games, 240);
    EXPECT_GT(s.payout.value, 0);
    EXPECT_LE(s.payout.low, s.payout.value);
    EXPECT_GE(s.payout.high, s.payout.value);
    EXPECT_EQ(s.slumps.size(), s.setting == 1 || s.setting == 6 ? 2u : 0u) << s.setting;
    for (const auto& slump : s.slumps) EXPECT_EQ(slump.size(), 120u);
  }

  const std::string text = SheetText(sheet);
  EXPECT_NE(text.find("機械割"), std::string::npos);
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

}  // namespace
