#include "lottery/length_tables.h"

#include "machine/lottery_state.h"
#include "machine/player_record.h"
#include "machine/random.h"
#include "platform/convert.h"

namespace {

// A row covers lo .. the integer nearest to hiBase + sCoef * s + dCoef * d; the first row that holds x wins.
struct LengthRow {
  int lo;
  int hiBase;
  int sCoef;
  double dCoef;
  std::int32_t length;
};

// Tables A and B differ only in their 1111 and 1222 rows. The PMC item widens every premium row; the setting
// widens the 111 and 333 rows. Anything else is the plain MC of 33 games.
constexpr LengthRow kTableA[] = {
    {751, 770, 1, 1, 111}, {801, 812, 0, 1, 222}, {831, 840, 1, 1, 333}, {861, 861, 0, 1, 444},
    {871, 880, 0, 1, 555}, {891, 890, 0, 1, 666}, {901, 907, 0, 1, 777}, {926, 926, 0, 1, 888},
    {941, 944, 0, 1, 999}, {955, 955, 0, 0, 1111}, {956, 956, 0, 0, 1222}, {971, 971, 0, 0, 1999},
    {981, 981, 0, 0, 2999},
};
constexpr LengthRow kTableB[] = {
    {751, 770, 1, 1, 111}, {801, 812, 0, 1, 222}, {831, 840, 1, 1, 333}, {861, 861, 0, 1, 444},
    {871, 880, 0, 1, 555}, {891, 890, 0, 1, 666}, {901, 907, 0, 1, 777}, {926, 926, 0, 1, 888},
    {941, 944, 0, 1, 999}, {955, 955, 0, 1.0 / 3.0, 1111}, {961, 961, 0, 0, 1222}, {971, 971, 0, 0, 1999},
    {981, 981, 0, 0, 2999},
};
constexpr std::int32_t kPlainMc = 33;

// Table C, the fanfare streak's, has no plain MC and never widens: every value outside its rows gives 555.
struct FixedRow {
  int lo, hi;
  std::int32_t length;
};
constexpr FixedRow kTableC[] = {
    {0, 150, 333}, {151, 300, 111}, {301, 380, 222}, {381, 440, 444},
    {441, 470, 666}, {471, 500, 888}, {501, 680, 555}, {681, 682, 1999},
    {686, 687, 1888}, {691, 692, 1777}, {696, 696, 2999}, {701, 710, 1111},
    {721, 722, 2111}, {726, 727, 2222}, {731, 740, 1222}, {751, 900, 777},
    {901, 990, 999}, {991, 991, 2888}, {992, 992, 2777}, {993, 993, 2666},
    {994, 994, 2555}, {995, 995, 3999},
};
constexpr std::int32_t kTableCOtherwise = 555;

template <size_t Size>
std::int32_t Lookup(const LengthRow (&rows)[Size], int x, int s, int d, std::int32_t otherwise) {
  for (const LengthRow& r : rows) {
    const auto hi = RoundEven(r.hiBase + r.sCoef * s + r.dCoef * d);
    if (x >= r.lo && x <= hi) return r.length;
  }
  return otherwise;
}

}  // namespace

std::int32_t McLengthFromTable(LengthTable table, int x, int setting, int d) {
  switch (table) {
    case LengthTable::A:
      return Lookup(kTableA, x, setting, d, kPlainMc);
    case LengthTable::B:
      return Lookup(kTableB, x, setting, d, kPlainMc);
    case LengthTable::C:
      for (const FixedRow& r : kTableC)
        if (x >= r.lo && x <= r.hi) return r.length;
      return kTableCOtherwise;
  }
  return kPlainMc;
}

std::int16_t McStepsOf(std::int32_t length) { return CInt(length / 111.0); }

int PmcItemBonus() { return Record.PmcUpItem == ItemCodes::PmcUpInUse ? 9 : 0; }

void DrawMcLength(LengthTable table) {
  const int x = RandomInt(1000);
  Lottery.McLength = McLengthFromTable(table, x, Lottery.TodaySetting, PmcItemBonus());
  Lottery.McGamesLeft = static_cast<std::int16_t>(Lottery.McLength);
  Lottery.McSteps = McStepsOf(Lottery.McLength);
}
