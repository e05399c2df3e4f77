// The machine's odds sheet: every setting played for the same days, and for each the figures a player reads off a
// hall's sheet, each with its 95 % interval (sheet_intervals.h).
#pragma once
#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "tools/sim/sheet_intervals.h"

struct SimOptions;
struct DayResult;

// What the sheet takes from a day.
struct SheetDay {
  double coinsIn = 0, coinsOut = 0, games = 0, normalGames = 0, freshWins = 0, freshPmc = 0;
  double starts = 0, premiumStarts = 0, streakStarts = 0, lengthSum = 0, lengthSquares = 0, fanfare = 0;
  double longest = 0;
};
SheetDay SheetDayOf(const DayResult& d);

struct SettingFigures {
  int setting = 0;
  int days = 0;
  long games = 0;
  Figure payout;             // coins out per coin in
  Figure gamesPerFreshWin;   // normal games per MC won in normal play
  Figure gamesPerFreshPmc;   // normal games per PMC won in normal play
  Figure pmcShare;           // PMCs among all MC starts (fresh and streak)
  Figure meanMcLength;       // games of an MC as drawn
  Figure streakShare;        // MCs followed by a streak continuation
  Figure fanfarePer10000;    // fanfare streaks per 10,000 games
  Figure longestMc;          // a day's longest MC: the median over the days
  std::vector<std::vector<int>> slumps;  // the first three days' coin difference after each game (settings 1, 6)
};

// Each figure of settings 1..6 as a ratio of sums over their days, in the order of SettingFigures (all but the
// longest MC).
constexpr int kRatioFigures = 7;
std::array<std::array<DayRatio, 6>, kRatioFigures> SheetRatios(const std::array<std::vector<SheetDay>, 6>& days);

// The figures of settings 1..6 from their days. Intervals need at least kIntervalDays days a setting.
constexpr int kIntervalDays = 5;
std::vector<SettingFigures> SheetFigures(const std::array<std::vector<SheetDay>, 6>& days);

struct OddsSheet {
  int daysPerSetting = 0;
  long gamesPerDay = 0;
  long games = 0;
  double wallSeconds = 0;
  std::vector<SettingFigures> settings;  // 1..6
};

// The sizes the sheet takes unless --days and --games are given: about a minute on two cores.
constexpr int kSheetDays = 250;
constexpr long kSheetGames = 10000;

// Plays the sheet: every setting 1..6 for its days (setting s plays the run's days (s-1)·D to s·D-1). Throws
// SimStuck when the game stops moving.
OddsSheet RunSheet(const SimOptions& o, std::ostream* trace = nullptr);

std::string SheetText(const OddsSheet& sheet);
std::string SheetJson(const OddsSheet& sheet);
