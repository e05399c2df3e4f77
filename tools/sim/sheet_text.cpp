// The odds sheet printed: a table of one row a setting with its notes, or one JSON object.
#include <algorithm>

#include "tools/sim/odds_sheet.h"
#include "tools/sim/sim_run.h"

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

// "value [low, high]", or "value [too thin]", with one format for the three; a leading text before the value.
std::string WithInterval(const Figure& f, const char* format, double scale = 1, const char* before = "") {
  if (std::isnan(f.value)) return "-";
  std::string s = before + Format(format, f.value * scale);
  if (f.thin) return s + " [too thin]";
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
         ",\"too_thin\":" + (f.thin ? "true" : "false") + "}";
}

}  // namespace

std::string SheetText(const OddsSheet& sheet) {
  struct Column {
    const char* head;
    bool right;
  };
  const Column columns[] = {{"設定", false},    {"機械割", true},  {"通常時MC", true},  {"初当りPMC", true},
                            {"PMC比率", true},  {"平均MC長", true}, {"連荘率", true},   {"FF連/1万G", true},
                            {"最長MC/日", true}};
  std::vector<std::vector<std::string>> rows;
  rows.push_back({});
  for (const Column& c : columns) rows.back().push_back(c.head);
  for (const SettingFigures& s : sheet.settings) {
    rows.push_back({std::to_string(s.setting), WithInterval(s.payout, "%.1f%%", 100),
                    WithInterval(s.gamesPerFreshWin, "%.0f", 1, "1/"), WithInterval(s.gamesPerFreshPmc, "%.0f", 1, "1/"),
                    WithInterval(s.pmcShare, "%.1f%%", 100), WithInterval(s.meanMcLength, "%.0f"),
                    WithInterval(s.streakShare, "%.1f%%", 100), WithInterval(s.fanfarePer10000, "%.1f"),
                    WithInterval(s.longestMc, "%.0f")});
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
      "Days of %ld games, %d a setting (a row is the setting the day started with; it can rise during a day);\n"
      "%ld games in %.1f s (%.0f games a second). Every figure is for days of %ld games: 機械割, FF連 and the\n"
      "longest MC grow with the day's length.\n"
      "機械割: coins out per coin in. 通常時MC, 初当りPMC: normal games per MC, per PMC, won in normal play (not\n"
      "a streak continuation). PMC比率: PMCs among all MC starts. 平均MC長: an MC's length as drawn. 連荘率: MCs\n"
      "followed by a streak. FF連/1万G: fanfare streaks per 10,000 games played. 最長MC/日: a day's longest MC,\n"
      "the median over the days.\n"
      "[..]: 95 %% interval: the figure's count, share or mean with its spread between days measured against\n"
      "chance and pooled over the six settings; for 最長MC/日 the days' order statistics. [too thin]: fewer than\n"
      "%d days, too few MCs, no win for a \"1 in x\", fewer than 20000 games a setting for FF連 or days all alike,\n"
      "for an interval that holds.",
      sheet.gamesPerDay, sheet.daysPerSetting, sheet.games, sheet.wallSeconds,
      sheet.wallSeconds > 0 ? sheet.games / sheet.wallSeconds : 0.0, sheet.gamesPerDay, kIntervalDays);
}

std::string SheetJson(const OddsSheet& sheet) {
  std::string out = "{\"days_per_setting\":" + std::to_string(sheet.daysPerSetting) +
                    ",\"games_per_day\":" + std::to_string(sheet.gamesPerDay) +
                    ",\"interval\":\"95%, spread between days against chance, pooled over the settings\""
                    ",\"per\":\"days of games_per_day games; rows by the setting the day started with\",\"settings\":{";
  for (size_t i = 0; i < sheet.settings.size(); ++i) {
    const SettingFigures& s = sheet.settings[i];
    out += (i ? ",\"" : "\"") + std::to_string(s.setting) + "\":{\"days\":" + std::to_string(s.days) +
           ",\"games\":" + std::to_string(s.games) + ",\"payout_rate\":" + JsonFigure(s.payout) +
           ",\"games_per_fresh_mc\":" + JsonFigure(s.gamesPerFreshWin) +
           ",\"games_per_fresh_pmc\":" + JsonFigure(s.gamesPerFreshPmc) + ",\"pmc_share\":" + JsonFigure(s.pmcShare) +
           ",\"mean_mc_length\":" + JsonFigure(s.meanMcLength) + ",\"streak_share\":" + JsonFigure(s.streakShare) +
           ",\"fanfare_per_10000_games\":" + JsonFigure(s.fanfarePer10000) +
           ",\"longest_mc_per_day\":" + JsonFigure(s.longestMc) + "}";
  }
  out += "},\"games\":" + std::to_string(sheet.games) + ",\"wall_seconds\":" + JsonNumber(sheet.wallSeconds, "%.3f") +
         ",\"games_per_second\":" +
         JsonNumber(sheet.wallSeconds > 0 ? sheet.games / sheet.wallSeconds : 0.0, "%.1f") + "}";
  return out;
}
