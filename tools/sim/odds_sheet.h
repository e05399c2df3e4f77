// The machine's odds sheet: every setting played for the same days, and for each the figures a player reads off a
// hall's sheet, each with its 95 % confidence interval from the spread between the days.
#pragma once
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

struct SimOptions;

// A figure and its interval; NaN where there was nothing to measure (no MC, or a single day for the interval), and an
// infinite upper end where the interval reaches "never".
struct Figure {
  double value = NAN, low = NAN, high = NAN;
};

// A figure that is a ratio of two sums over days (coins out over coins in, games over wins): its value is the
// ratio of the sums and its interval comes from how far each day's numerator strays from the ratio times its
// denominator, with Student's t for the number of days less one (the days are independent: each has its own
// clock and player).
class DayRatio {
 public:
  void Add(double numerator, double denominator);
  Figure Estimate() const;
  // The same, clipped to [low, high], the values the figure can take.
  Figure Within(double low, double high) const;
  // One in how many: the inverse of the ratio, its interval the inverse of the ratio's (so never below 0; infinite
  // when the ratio's interval reaches 0).
  Figure OneIn() const;

 private:
  long days_ = 0;
  long double a_ = 0, b_ = 0, aa_ = 0, ab_ = 0, bb_ = 0;
};

// Student's t: the 97.5 % point for the degrees of freedom (the half width of a 95 % interval in standard errors).
double StudentT975(long degreesOfFreedom);

struct SettingFigures {
  int setting = 0;
  int days = 0;
  long games = 0;
  Figure payout;            // coins out per coin in
  Figure gamesPerFreshWin;  // normal games per MC won in normal play
  Figure gamesPerPmc;       // normal games per PMC
  Figure premiumShare;      // PMCs among MC starts
  Figure meanMcLength;      // games of an MC as drawn
  Figure streakShare;       // MCs followed by a streak continuation
  Figure fanfarePer10000;   // fanfare streaks per 10,000 games
  int longestMc = 0;
  std::vector<std::vector<int>> slumps;  // the first three days' coin difference after each game (settings 1, 6)
};

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
