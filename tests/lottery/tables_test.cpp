#include <tuple>

#include "harness/harness.h"
#include "lottery/length_tables.h"
#include "lottery/lottery_tables.h"

using TablesTest = LotteryTest;
using Edges = std::vector<std::pair<int, int>>;

TEST_F(TablesTest, DrawTablesAtTheirRowEdges) {
  auto check = [](std::int16_t (*table)(int), const Edges& edges, const char* name) {
    for (auto [draw, want] : edges) EXPECT_EQ(table(draw), want) << name << " draw " << draw;
  };
  check(ModeFromDraw, {{0, 2}, {600, 2}, {601, 3}, {850, 3}, {851, 1}, {960, 1}, {961, 4}, {984, 4}}, "mode");
  check(StopGroupFromDraw, {{0, 5}, {1, 1}, {2, 1}, {3, 2}, {13, 2}, {14, 3}, {15, 3}, {16, 4}, {29, 4}, {30, 5}},
        "stop group");
  check(StopPatternFromDraw, {{0, 4}, {1, 4}, {2, 2}, {3, 2}, {4, 3}, {5, 3}, {6, 4}, {7, 4}}, "stop pattern");
  check(StreakRankFromDraw, {{0, 1}, {5, 1}, {6, -30}, {10, -30}, {11, 3}, {13, 3}, {14, 4}, {17, 4}, {18, 5},
                             {20, 5}, {21, 2}, {23, 2}}, "streak rank");
  check(McStopGroupFromDraw, {{0, 4}, {1, 2}, {4, 2}, {5, 1}, {6, 3}, {7, 4}, {10, 4}}, "MC stop group");
  check(McStopOrderFromDraw, {{0, 2}, {2, 2}, {7, 1}, {8, 3}, {10, 3}, {11, 6}, {13, 6}, {14, 5}, {16, 5}, {17, 4},
                              {18, 4}}, "MC stop order");
  const char* orders[] = {"123", "132", "213", "312", "231", "321"};
  for (int order = 1; order <= 6; ++order) EXPECT_EQ(StopOrderText(order), orders[order - 1]);

  // mode: {draw size, {draw, cycle length}...}; above 20 (mode 2) and 12 (mode 3) a draw counts as 0.
  const std::vector<std::pair<int, Edges>> cycles = {
      {5, {{0, 151}, {5, 201}}}, {22, {{0, 1}, {1, 11}, {20, 201}, {21, 1}, {22, 1}}},
      {13, {{0, 2}, {12, 122}, {13, 2}}}, {3, {{0, 1}, {3, 31}}}};
  for (int mode = 1; mode <= 4; ++mode) {
    EXPECT_EQ(CycleDrawSize(mode), cycles[mode - 1].first);
    for (auto [x, length] : cycles[mode - 1].second) EXPECT_EQ(CycleLengthFromDraw(mode, x), length) << mode;
  }
  const int N[] = {800, 600, 500, 400, 300, 250, 200, 100}, K[] = {8, 8, 6, 6, 4, 4, 3, 2};
  for (int s = 1; s <= 8; ++s) EXPECT_EQ(OddsOfSetting(s).N * 10 + OddsOfSetting(s).K, N[s - 1] * 10 + K[s - 1]);
}

TEST_F(TablesTest, LengthTablesAtTheirRowEdges) {
  // {x, s, d, table A, table B}: the first and last x of every row, for the settings and the item that move it.
  const int cases[][5] = {
      {750, 1, 0, 33, 33},     {751, 1, 0, 111, 111},   {771, 1, 0, 111, 111},   {772, 1, 0, 33, 33},
      {780, 1, 9, 111, 111},   {781, 1, 9, 33, 33},     {776, 6, 0, 111, 111},   {777, 6, 0, 33, 33},
      {812, 1, 0, 222, 222},   {813, 1, 0, 33, 33},     {821, 1, 9, 222, 222},   {822, 1, 9, 33, 33},
      {831, 1, 0, 333, 333},   {841, 1, 0, 333, 333},   {842, 1, 0, 33, 33},     {857, 8, 9, 333, 333},
      {858, 8, 9, 33, 33},     {861, 1, 0, 444, 444},   {862, 1, 0, 33, 33},     {870, 1, 9, 444, 444},
      {880, 1, 0, 555, 555},   {881, 1, 0, 33, 33},     {889, 1, 9, 555, 555},   {890, 1, 0, 33, 33},
      {891, 1, 0, 33, 33},     {891, 1, 9, 666, 666},   {899, 1, 9, 666, 666},   {907, 1, 0, 777, 777},
      {908, 1, 0, 33, 33},     {916, 1, 9, 777, 777},   {926, 1, 0, 888, 888},   {927, 1, 0, 33, 33},
      {935, 1, 9, 888, 888},   {944, 1, 0, 999, 999},   {945, 1, 0, 33, 33},     {953, 1, 9, 999, 999},
      {954, 1, 9, 33, 33},     {955, 1, 0, 1111, 1111}, {956, 1, 0, 1222, 33},   {956, 1, 9, 1222, 1111},
      {958, 1, 9, 33, 1111},   {959, 1, 9, 33, 33},     {961, 1, 0, 33, 1222},   {971, 1, 0, 1999, 1999},
      {981, 1, 0, 2999, 2999}, {982, 1, 9, 33, 33},     {0, 1, 0, 33, 33},       {1000, 8, 9, 33, 33},
      // The value just below each row's first, and its first.
      {800, 1, 0, 33, 33},     {801, 1, 0, 222, 222},   {830, 8, 0, 33, 33},     {831, 1, 9, 333, 333},
      {860, 1, 0, 33, 33},     {861, 1, 9, 444, 444},   {870, 1, 0, 33, 33},     {871, 1, 0, 555, 555},
      {890, 1, 0, 33, 33},     {900, 1, 0, 33, 33},     {901, 1, 0, 777, 777},   {925, 1, 0, 33, 33},
      {926, 1, 0, 888, 888},   {940, 1, 0, 33, 33},     {941, 1, 0, 999, 999},   {954, 1, 0, 33, 33},
      {960, 1, 0, 33, 33},     {970, 1, 0, 33, 33},     {971, 1, 9, 1999, 1999}, {980, 1, 0, 33, 33},
      {962, 1, 0, 33, 33},     {972, 1, 0, 33, 33},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(McLengthFromTable(LengthTable::A, c[0], c[1], c[2]), c[3]) << "A " << c[0] << " " << c[1] << " " << c[2];
    EXPECT_EQ(McLengthFromTable(LengthTable::B, c[0], c[1], c[2]), c[4]) << "B " << c[0] << " " << c[1] << " " << c[2];
  }
  const Edges tableC = {
      {0, 333},    {150, 333},  {151, 111},  {300, 111},  {301, 222},  {380, 222},  {381, 444},  {440, 444},
      {441, 666},  {470, 666},  {471, 888},  {500, 888},  {501, 555},  {680, 555},  {681, 1999}, {682, 1999},
      {683, 555},  {686, 1888}, {687, 1888}, {688, 555},  {691, 1777}, {692, 1777}, {695, 555},  {696, 2999},
      {697, 555},  {701, 1111}, {710, 1111}, {711, 555},  {721, 2111}, {722, 2111}, {723, 555},  {726, 2222},
      {727, 2222}, {728, 555},  {731, 1222}, {740, 1222}, {741, 555},  {751, 777},  {900, 777},  {901, 999},
      {990, 999},  {991, 2888}, {992, 2777}, {993, 2666}, {994, 2555}, {995, 3999}, {996, 555},  {1000, 555},
      // the far edges of the gaps between the short rows
      {685, 555},  {690, 555},  {693, 555},  {700, 555},  {720, 555},  {725, 555},  {730, 555},  {750, 555}};
  for (auto [x, length] : tableC) EXPECT_EQ(McLengthFromTable(LengthTable::C, x, 6, 9), length) << "C " << x;
  const Edges steps = {{33, 0},    {111, 1},   {999, 9},   {1111, 10}, {1222, 11}, {1777, 16},
                       {1999, 18}, {2111, 19}, {2999, 27}, {3999, 36}};
  for (auto [length, n] : steps) EXPECT_EQ(McStepsOf(length), n) << length;
}

TEST_F(TablesTest, PremiumShareOfTheLengthDraws) {
  constexpr long kDraws = 1000000;
  const std::tuple<LengthTable, int, float, double> cases[] = {
      {LengthTable::B, 1, 0, 0.071}, {LengthTable::B, 1, 9, 0.155}, {LengthTable::B, 1, 10, 0.071},
      {LengthTable::A, 1, 9, 0.152}, {LengthTable::B, 6, 0, 0.081}};
  for (const auto& [table, setting, item, share] : cases) {
    Lottery.TodaySetting = static_cast<std::int16_t>(setting);
    Record.PmcUpItem = item;
    long premium = 0;
    for (long i = 0; i < kDraws; ++i) {
      DrawMcLength(table);
      ASSERT_EQ(Lottery.McGamesLeft, Lottery.McLength);
      ASSERT_EQ(Lottery.McSteps, McStepsOf(Lottery.McLength));
      premium += Lottery.McLength != 33;
    }
    ExpectShare(premium, kDraws, share, "premium share at setting " + std::to_string(setting));
  }
}
