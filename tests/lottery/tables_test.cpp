#include "lottery/length_tables.h"
#include "lottery/lottery_tables.h"
#include "lottery_fixture.h"

using TablesTest = LotteryTest;

TEST_F(TablesTest, DrawTablesAtTheirRowEdges) {
  struct Case {
    std::int16_t (*table)(int);
    int draw;
    int expected;
  };
  const Case cases[] = {
      {ModeFromDraw, 0, 2},           {ModeFromDraw, 600, 2},         {ModeFromDraw, 601, 3},
      {ModeFromDraw, 850, 3},         {ModeFromDraw, 851, 1},         {ModeFromDraw, 960, 1},
      {ModeFromDraw, 961, 4},         {ModeFromDraw, 984, 4},         {StopGroupFromDraw, 0, 5},
      {StopGroupFromDraw, 1, 1},      {StopGroupFromDraw, 2, 1},      {StopGroupFromDraw, 3, 2},
      {StopGroupFromDraw, 13, 2},     {StopGroupFromDraw, 14, 3},     {StopGroupFromDraw, 15, 3},
      {StopGroupFromDraw, 16, 4},     {StopGroupFromDraw, 29, 4},     {StopGroupFromDraw, 30, 5},
      {StopPatternFromDraw, 0, 4},    {StopPatternFromDraw, 1, 4},    {StopPatternFromDraw, 2, 2},
      {StopPatternFromDraw, 3, 2},    {StopPatternFromDraw, 4, 3},    {StopPatternFromDraw, 5, 3},
      {StopPatternFromDraw, 6, 4},    {StopPatternFromDraw, 7, 4},    {StreakRankFromDraw, 0, 1},
      {StreakRankFromDraw, 5, 1},     {StreakRankFromDraw, 6, -30},   {StreakRankFromDraw, 10, -30},
      {StreakRankFromDraw, 11, 3},    {StreakRankFromDraw, 13, 3},    {StreakRankFromDraw, 14, 4},
      {StreakRankFromDraw, 17, 4},    {StreakRankFromDraw, 18, 5},    {StreakRankFromDraw, 20, 5},
      {StreakRankFromDraw, 21, 2},    {StreakRankFromDraw, 23, 2},    {McStopGroupFromDraw, 0, 4},
      {McStopGroupFromDraw, 1, 2},    {McStopGroupFromDraw, 4, 2},    {McStopGroupFromDraw, 5, 1},
      {McStopGroupFromDraw, 6, 3},    {McStopGroupFromDraw, 7, 4},    {McStopGroupFromDraw, 10, 4},
      {McStopOrderFromDraw, 0, 2},    {McStopOrderFromDraw, 2, 2},    {McStopOrderFromDraw, 7, 1},
      {McStopOrderFromDraw, 8, 3},    {McStopOrderFromDraw, 10, 3},   {McStopOrderFromDraw, 11, 6},
      {McStopOrderFromDraw, 13, 6},   {McStopOrderFromDraw, 14, 5},   {McStopOrderFromDraw, 16, 5},
      {McStopOrderFromDraw, 17, 4},   {McStopOrderFromDraw, 18, 4},
  };
  for (const Case& c : cases) EXPECT_EQ(c.table(c.draw), c.expected) << "draw " << c.draw;

  const char* orders[] = {"123", "132", "213", "312", "231", "321"};
  for (int order = 1; order <= 6; ++order) EXPECT_EQ(StopOrderText(order), orders[order - 1]);
}

TEST_F(TablesTest, EveryCycleKindAndTheSettingOdds) {
  struct Case {
    int mode, drawSize, draw, length;
  };
  const Case cases[] = {
      {1, 5, 0, 151},  {1, 5, 5, 201},  {2, 22, 0, 1},   {2, 22, 1, 11},  {2, 22, 20, 201}, {2, 22, 21, 1},
      {2, 22, 22, 1},  {3, 13, 0, 2},   {3, 13, 12, 122}, {3, 13, 13, 2}, {4, 3, 0, 1},     {4, 3, 3, 31},
      {0, 3, 2, 21},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CycleDrawSize(c.mode), c.drawSize) << "mode " << c.mode;
    EXPECT_EQ(CycleLengthFromDraw(c.mode, c.draw), c.length) << "mode " << c.mode << " draw " << c.draw;
  }

  const int N[] = {800, 600, 500, 400, 300, 250, 200, 100};
  const int K[] = {8, 8, 6, 6, 4, 4, 3, 2};
  for (int s = 1; s <= 8; ++s) {
    EXPECT_EQ(OddsOfSetting(s).N, N[s - 1]);
    EXPECT_EQ(OddsOfSetting(s).K, K[s - 1]);
  }
  EXPECT_EQ(OddsOfSetting(0).N, 800);
}

TEST_F(TablesTest, LengthTablesAAndBAtEveryRowEdgeWithAndWithoutTheItem) {
  struct Case {
    int x, s, d;
    std::int32_t a, b;
  };
  const Case cases[] = {
      {0, 1, 0, 33, 33},       {750, 1, 0, 33, 33},     {751, 1, 0, 111, 111},   {771, 1, 0, 111, 111},
      {772, 1, 0, 33, 33},     {780, 1, 9, 111, 111},   {781, 1, 9, 33, 33},     {776, 6, 0, 111, 111},
      {777, 6, 0, 33, 33},     {801, 1, 0, 222, 222},   {812, 1, 0, 222, 222},   {813, 1, 0, 33, 33},
      {821, 1, 9, 222, 222},   {822, 1, 9, 33, 33},     {831, 1, 0, 333, 333},   {841, 1, 0, 333, 333},
      {842, 1, 0, 33, 33},     {857, 8, 9, 333, 333},   {858, 8, 9, 33, 33},     {861, 1, 0, 444, 444},
      {862, 1, 0, 33, 33},     {870, 1, 9, 444, 444},   {871, 1, 0, 555, 555},   {880, 1, 0, 555, 555},
      {881, 1, 0, 33, 33},     {889, 1, 9, 555, 555},   {890, 1, 9, 33, 33},     {891, 1, 0, 33, 33},
      {891, 1, 9, 666, 666},   {899, 1, 9, 666, 666},   {900, 1, 9, 33, 33},     {901, 1, 0, 777, 777},
      {907, 1, 0, 777, 777},   {908, 1, 0, 33, 33},     {916, 1, 9, 777, 777},   {917, 1, 9, 33, 33},
      {926, 1, 0, 888, 888},   {927, 1, 0, 33, 33},     {935, 1, 9, 888, 888},   {936, 1, 9, 33, 33},
      {941, 1, 0, 999, 999},   {944, 1, 0, 999, 999},   {945, 1, 0, 33, 33},     {953, 1, 9, 999, 999},
      {954, 1, 9, 33, 33},     {955, 1, 0, 1111, 1111}, {956, 1, 0, 1222, 33},   {956, 1, 9, 1222, 1111},
      {958, 1, 9, 33, 1111},   {959, 1, 9, 33, 33},     {961, 1, 0, 33, 1222},   {971, 1, 0, 1999, 1999},
      {972, 1, 0, 33, 33},     {981, 1, 0, 2999, 2999}, {982, 1, 9, 33, 33},     {1000, 8, 9, 33, 33},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(McLengthFromTable(LengthTable::A, c.x, c.s, c.d), c.a) << "A x=" << c.x << " s=" << c.s << " d=" << c.d;
    EXPECT_EQ(McLengthFromTable(LengthTable::B, c.x, c.s, c.d), c.b) << "B x=" << c.x << " s=" << c.s << " d=" << c.d;
  }
}

TEST_F(TablesTest, LengthTableCAndTheCountUpSteps) {
  const std::pair<int, std::int32_t> cases[] = {
      {0, 333},    {150, 333},  {151, 111},  {300, 111},  {301, 222},  {380, 222},  {381, 444},  {440, 444},
      {441, 666},  {470, 666},  {471, 888},  {500, 888},  {501, 555},  {680, 555},  {681, 1999}, {682, 1999},
      {683, 555},  {685, 555},  {686, 1888}, {687, 1888}, {688, 555},  {691, 1777}, {692, 1777}, {695, 555},
      {696, 2999}, {697, 555},  {700, 555},  {701, 1111}, {710, 1111}, {711, 555},  {720, 555},  {721, 2111},
      {722, 2111}, {723, 555},  {726, 2222}, {727, 2222}, {728, 555},  {731, 1222}, {740, 1222}, {741, 555},
      {750, 555},  {751, 777},  {900, 777},  {901, 999},  {990, 999},  {991, 2888}, {992, 2777}, {993, 2666},
      {994, 2555}, {995, 3999}, {996, 555},  {1000, 555},
  };
  for (const auto& [x, length] : cases)
    EXPECT_EQ(McLengthFromTable(LengthTable::C, x, 6, 9), length) << "C x=" << x;

  const std::pair<std::int32_t, int> steps[] = {{33, 0},    {111, 1},   {555, 5},   {999, 9},   {1111, 10},
                                                {1222, 11}, {1777, 16}, {1999, 18}, {2111, 19}, {2999, 27},
                                                {3999, 36}};
  for (const auto& [length, n] : steps) EXPECT_EQ(McStepsOf(length), n) << length;
}

TEST_F(TablesTest, PremiumShareOfTheLengthDraws) {
  constexpr long kDraws = 1000000;
  auto premiumShare = [&](LengthTable table, int setting, float item, double expected, const char* what) {
    Lottery.TodaySetting = static_cast<std::int16_t>(setting);
    Record.PmcUpItem = item;
    long premium = 0;
    for (long i = 0; i < kDraws; ++i) {
      DrawMcLength(table);
      ASSERT_EQ(Lottery.McGamesLeft, Lottery.McLength);
      ASSERT_EQ(Lottery.McSteps, McStepsOf(Lottery.McLength));
      if (Lottery.McLength != 33) ++premium;
    }
    ExpectShare(premium, kDraws, expected, what);
  };
  premiumShare(LengthTable::B, 1, 0, 0.071, "table B, setting 1, no item");
  premiumShare(LengthTable::B, 1, 9, 0.155, "table B, setting 1, item in use");
  premiumShare(LengthTable::B, 1, 10, 0.071, "table B, setting 1, item owned but not in use");
  premiumShare(LengthTable::A, 1, 9, 0.152, "table A, setting 1, item in use");
  premiumShare(LengthTable::B, 6, 0, 0.081, "table B, setting 6, no item");
}
