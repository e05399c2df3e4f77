#include "lottery/lottery_tables.h"

#include <iterator>

namespace {

struct Range {
  int lo, hi;
  std::int16_t value;
};

template <size_t Size>
std::int16_t Lookup(const Range (&table)[Size], int x, std::int16_t otherwise) {
  for (const Range& r : table)
    if (x >= r.lo && x <= r.hi) return r.value;
  return otherwise;
}

constexpr Range kModes[] = {{0, 600, 2}, {601, 850, 3}, {851, 960, 1}};

// Length = (the draw, or 0 when it is above cap) * 10 + base.
struct CycleKind {
  int mode;
  int drawSize;
  int cap;
  int base;
};
constexpr CycleKind kCycleKinds[] = {
    {1, 5, 5, 151},   // 151..201: long, steady cycles
    {2, 22, 20, 1},   // 1..201: anything from the drawing game itself to the longest
    {3, 13, 12, 2},   // 2..122: the pull-back mode, which always wins at its cycle game
    {4, 3, 3, 1},     // 1..31: short cycles; any other mode draws as this one
};

const CycleKind& CycleOf(int mode) {
  for (const CycleKind& k : kCycleKinds)
    if (k.mode == mode) return k;
  return kCycleKinds[std::size(kCycleKinds) - 1];
}

constexpr SettingOdds kSettingOdds[] = {
    {800, 8}, {600, 8}, {500, 6}, {400, 6}, {300, 4}, {250, 4}, {200, 3}, {100, 2},
};

constexpr Range kStopGroups[] = {{1, 2, 1}, {3, 13, 2}, {14, 15, 3}, {16, 29, 4}};
constexpr Range kMcStopGroups[] = {{1, 4, 2}, {5, 5, 1}, {6, 6, 3}};
constexpr Range kStopPatterns[] = {{2, 3, 2}, {4, 5, 3}};
constexpr Range kStreakRanks[] = {{0, 5, 1}, {6, 10, -30}, {11, 13, 3}, {14, 17, 4}, {18, 20, 5}};
constexpr Range kMcStopOrders[] = {{0, 2, 2}, {7, 7, 1}, {8, 10, 3}, {11, 13, 6}, {14, 16, 5}, {17, 18, 4}};

constexpr const char* kStopOrderTexts[] = {"123", "132", "213", "312", "231", "321"};

}  // namespace

std::int16_t ModeFromDraw(int x) { return Lookup(kModes, x, 4); }

int CycleDrawSize(int mode) { return CycleOf(mode).drawSize; }

std::int16_t CycleLengthFromDraw(int mode, int x) {
  const CycleKind& k = CycleOf(mode);
  if (x > k.cap) x = 0;
  return static_cast<std::int16_t>(x * 10 + k.base);
}

SettingOdds OddsOfSetting(int setting) {
  if (setting < 1 || setting > 8) setting = 1;
  return kSettingOdds[setting - 1];
}

std::int16_t StopGroupFromDraw(int y) { return Lookup(kStopGroups, y, 5); }

std::int16_t McStopGroupFromDraw(int a) { return Lookup(kMcStopGroups, a, 4); }

std::int16_t StopPatternFromDraw(int z) { return Lookup(kStopPatterns, z, 4); }

std::int16_t StreakRankFromDraw(int r) { return Lookup(kStreakRanks, r, 2); }

std::int16_t McStopOrderFromDraw(int d) { return Lookup(kMcStopOrders, d, 1); }

std::string StopOrderText(int order) {
  if (order < 1 || order > 6) return "";
  return kStopOrderTexts[order - 1];
}
