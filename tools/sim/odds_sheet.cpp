#include "tools/sim/odds_sheet.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "tools/sim/sim_run.h"

void DayRatio::Add(double numerator, double denominator) {
  ++days_;
  a_ += numerator;
  b_ += denominator;
  aa_ += static_cast<long double>(numerator) * numerator;
  ab_ += static_cast<long double>(numerator) * denominator;
  bb_ += static_cast<long double>(denominator) * denominator;
}

Figure DayRatio::Estimate() const {
  Figure f;
  if (days_ == 0 || b_ <= 0) return f;
  const long double r = a_ / b_;
  f.value = static_cast<double>(r);
  if (days_ < 2) return f;
  // Sum over days of (a - r b)^2, the days' strays from the ratio.
  const long double strays = std::max<long double>(aa_ - 2 * r * ab_ + r * r * bb_, 0);
  const long double n = static_cast<long double>(days_);
  const double standardError = static_cast<double>(std::sqrt(n / (n - 1) * strays) / b_);
  const double half = StudentT975(days_ - 1) * standardError;
  f.low = f.value - half;
  f.high = f.value + half;
  return f;
}

Figure DayRatio::Within(double low, double high) const {
  Figure f = Estimate();
  if (!std::isnan(f.low)) {
    f.low = std::clamp(f.low, low, high);
    f.high = std::clamp(f.high, low, high);
  }
  return f;
}

Figure DayRatio::OneIn() const {
  const Figure p = Within(0, INFINITY);
  Figure f;
  if (std::isnan(p.value) || p.value <= 0) return f;
  f.value = 1 / p.value;
  if (!std::isnan(p.low)) {
    f.low = 1 / p.high;
    f.high = p.low > 0 ? 1 / p.low : INFINITY;
  }
  return f;
}

double StudentT975(long df) {
  static constexpr double kTable[31] = {0,      12.7062, 4.3027, 3.1824, 2.7764, 2.5706, 2.4469, 2.3646,
                                        2.3060, 2.2622,  2.2281, 2.2010, 2.1788, 2.1604, 2.1448, 2.1314,
                                        2.1199, 2.1098,  2.1009, 2.0930, 2.0860, 2.0796, 2.0739, 2.0687,
                                        2.0639, 2.0595,  2.0555, 2.0518, 2.0484, 2.0452, 2.0423};
  if (df < 1) return NAN;
  if (df <= 30) return kTable[df];
  // Beyond the table, the Cornish-Fisher expansion about the normal point (good to 1e-5 from 30 on).
  const double z = 1.959963984540054, v = static_cast<double>(df);
  const double z2 = z * z, z3 = z2 * z, z5 = z3 * z2, z7 = z5 * z2, z9 = z7 * z2;
  return z + (z3 + z) / (4 * v) + (5 * z5 + 16 * z3 + 3 * z) / (96 * v * v) +
         (3 * z7 + 19 * z5 + 17 * z3 - 15 * z) / (384 * v * v * v) +
         (79 * z9 + 776 * z7 + 1482 * z5 - 1920 * z3 - 945 * z) / (92160 * v * v * v * v);
}

namespace {

struct SettingDays {
  int days = 0;
  long games = 0;
  int longest = 0;
  DayRatio payout, perFresh, perPmc, premium, length, streak, fanfare;
  std::vector<std::vector<int>> slumps;
};

constexpr int kSlumpDays = 3;

bool DrawnAsSlump(int setting) { return setting == 1 || setting == 6; }

}  // namespace

OddsSheet RunSheet(const SimOptions& given, std::ostream* trace) {
  const auto wall0 = std::chrono::steady_clock::now();
  SimOptions o = given;
  if (!o.daysGiven) o.days = kSheetDays;
  if (!o.gamesGiven) o.games = kSheetGames;
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
  SettingDays by[7];
  PlayRun(o, tasks, [&](DayResult&& d) {
    SettingDays& s = by[d.setting];
    ++s.days;
    s.games += d.games;
    s.longest = std::max(s.longest, d.maxMcLength);
    s.payout.Add(static_cast<double>(d.coinsOut), static_cast<double>(d.coinsIn));
    s.perFresh.Add(static_cast<double>(d.freshWins), static_cast<double>(d.normalGames));
    s.perPmc.Add(static_cast<double>(d.pmc), static_cast<double>(d.normalGames));
    s.premium.Add(static_cast<double>(d.premiumStarts), static_cast<double>(d.starts));
    s.length.Add(static_cast<double>(d.lengthSum), static_cast<double>(d.starts));
    s.streak.Add(static_cast<double>(d.streakStarts), static_cast<double>(d.starts));
    s.fanfare.Add(10000.0 * d.fanfareStreaks, static_cast<double>(d.games));
    if (!d.slump.empty()) s.slumps.push_back(std::move(d.slump));
    if (trace) WriteTrace(*trace, d.trace);
  });

  OddsSheet sheet;
  sheet.daysPerSetting = o.days;
  sheet.gamesPerDay = o.games;
  for (int setting = 1; setting <= 6; ++setting) {
    const SettingDays& s = by[setting];
    SettingFigures odds;
    odds.setting = setting;
    odds.days = s.days;
    odds.games = s.games;
    odds.payout = s.payout.Within(0, INFINITY);
    odds.gamesPerFreshWin = s.perFresh.OneIn();
    odds.gamesPerPmc = s.perPmc.OneIn();
    odds.premiumShare = s.premium.Within(0, 1);
    odds.meanMcLength = s.length.Within(0, INFINITY);
    odds.streakShare = s.streak.Within(0, 1);
    odds.fanfarePer10000 = s.fanfare.Within(0, INFINITY);
    odds.longestMc = s.longest;
    odds.slumps = s.slumps;
    sheet.games += s.games;
    sheet.settings.push_back(std::move(odds));
  }
  sheet.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
  return sheet;
}

namespace {

// Columns of the printed sheet are counted in display cells: a Japanese character takes two.
int Cells(const std::string& s) {
  int cells = 0;
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const int bytes = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    cells += bytes >= 3 ? 2 : 1;
    i += static_cast<size_t>(bytes);
  }
  return cells;
}

std::string Pad(const std::string& s, int width, bool right) {
  const std::string fill(static_cast<size_t>(std::max(0, width - Cells(s))), ' ');
  return right ? fill + s : s + fill;
}

std::string Format(const char* format, double v) {
  if (std::isnan(v)) return "-";
  if (std::isinf(v)) return "∞";
  return Formatted(format, v);
}

// "value [low, high]" with one format for the three; a leading text before the value.
std::string WithInterval(const Figure& f, const char* format, double scale = 1, const char* before = "") {
  if (std::isnan(f.value)) return "-";
  std::string s = before + Format(format, f.value * scale);
  if (!std::isnan(f.low))
    s += " [" + Format(format, f.low * scale) + ", " + Format(format, f.high * scale) + "]";
  return s;
}

// JSON has no infinity: an interval that reaches "never" has no upper end.
std::string JsonNumber(double v, const char* format = "%.6g") {
  return std::isnan(v) || std::isinf(v) ? "null" : Format(format, v);
}

std::string JsonFigure(const Figure& f) {
  return "{\"value\":" + JsonNumber(f.value) + ",\"low\":" + JsonNumber(f.low) + ",\"high\":" + JsonNumber(f.high) +
         "}";
}

}  // namespace

std::string SheetText(const OddsSheet& sheet) {
  struct Column {
    const char* head;
    bool right;
  };
  const Column columns[] = {{"設定", false},         {"機械割", true},          {"通常時MC", true},
                            {"PMC", true},           {"PMC比率", true},         {"平均MC長", true},
                            {"連荘率", true},        {"FF連/1万G", true},       {"最長MC", true}};
  std::vector<std::vector<std::string>> rows;
  rows.push_back({});
  for (const Column& c : columns) rows.back().push_back(c.head);
  for (const SettingFigures& s : sheet.settings) {
    rows.push_back({std::to_string(s.setting), WithInterval(s.payout, "%.1f%%", 100),
                    WithInterval(s.gamesPerFreshWin, "%.0f", 1, "1/"), WithInterval(s.gamesPerPmc, "%.0f", 1, "1/"),
                    WithInterval(s.premiumShare, "%.1f%%", 100),
                    WithInterval(s.meanMcLength, "%.0f"), WithInterval(s.streakShare, "%.1f%%", 100),
                    WithInterval(s.fanfarePer10000, "%.1f"), std::to_string(s.longestMc)});
  }
  std::vector<int> widths(std::size(columns), 0);
  for (const auto& row : rows)
    for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], Cells(row[i]));
  std::string out;
  for (const auto& row : rows) {
    std::string line;
    for (size_t i = 0; i < row.size(); ++i) line += (i ? "  " : "") + Pad(row[i], widths[i], columns[i].right);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line + '\n';
  }
  return out + Formatted(
      "%d days of %ld games per setting, %ld games in %.1f s (%.0f games a second).\n"
      "機械割: coins out per coin in. 通常時MC, PMC: normal games per MC won in normal play, per PMC.\n"
      "PMC比率: PMCs among MC starts. 平均MC長: an MC's length as drawn. 連荘率: MCs followed by a streak.\n"
      "FF連/1万G: fanfare streaks per 10,000 games. [..]: 95 %% confidence interval from the spread between days\n"
      "(Student t; for 1/x figures the interval of the rate, inverted).",
      sheet.daysPerSetting, sheet.gamesPerDay, sheet.games, sheet.wallSeconds,
      sheet.wallSeconds > 0 ? sheet.games / sheet.wallSeconds : 0.0);
}

std::string SheetJson(const OddsSheet& sheet) {
  std::string out = "{\"days_per_setting\":" + std::to_string(sheet.daysPerSetting) +
                    ",\"games_per_day\":" + std::to_string(sheet.gamesPerDay) +
                    ",\"interval\":\"95% confidence, Student t over the days\",\"settings\":{";
  for (size_t i = 0; i < sheet.settings.size(); ++i) {
    const SettingFigures& s = sheet.settings[i];
    out += (i ? ",\"" : "\"") + std::to_string(s.setting) + "\":{\"days\":" + std::to_string(s.days) +
           ",\"games\":" + std::to_string(s.games) + ",\"payout_rate\":" + JsonFigure(s.payout) +
           ",\"games_per_fresh_mc\":" + JsonFigure(s.gamesPerFreshWin) + ",\"games_per_pmc\":" +
           JsonFigure(s.gamesPerPmc) + ",\"premium_share\":" + JsonFigure(s.premiumShare) +
           ",\"mean_mc_length\":" + JsonFigure(s.meanMcLength) + ",\"streak_share\":" + JsonFigure(s.streakShare) +
           ",\"fanfare_per_10000_games\":" + JsonFigure(s.fanfarePer10000) +
           ",\"max_mc_length\":" + std::to_string(s.longestMc) + "}";
  }
  out += "},\"games\":" + std::to_string(sheet.games) + ",\"wall_seconds\":" + JsonNumber(sheet.wallSeconds, "%.3f") +
         ",\"games_per_second\":" +
         JsonNumber(sheet.wallSeconds > 0 ? sheet.games / sheet.wallSeconds : 0.0, "%.1f") + "}";
  return out;
}
