// The setting estimate (設定推測): how likely each setting is, given only what a player sees today (the normal
// games played, the fresh MC wins among them and the streaks that followed the MCs). Two answers: the setting the
// day started with (1..6, drawn 1 at 2/7 and the others at 1/7 each), and the setting now (1..8: a bell on an MC's
// growth raises it by one, and 1,280 games without an MC make it 7).
#pragma once
#include <array>
#include <string>
#include <vector>

struct SettingEstimate {
  std::array<double, 6> p{};    // the setting the day started with, 1..6, adding up to 1
  std::array<double, 8> now{};  // the setting now, 1..8, adding up to 1
  double risen = 0;             // how likely the setting now is no longer the one the day started with
  int normalGames = 0;
  int freshWins = 0;
  int streaks = 0;
};

// What the estimate rests on, measured by the simulator on days of the real game (setting_rates.txt). For a day
// started at each setting: the fresh wins per normal game from each count of normal games on (they come less often
// early in a day: the setting rises as the day goes on), how a day's count spreads about its mean, and where the
// setting stands on days that ended after up to g games (lever-ons).
struct SettingTables {
  std::vector<int> rateFrom;                // normal games at which each rate starts, the first 0
  std::array<std::vector<double>, 6> rate;  // fresh wins per normal game, each up to the next rate's start
  double spread = 1, clustering = 0;        // a day's count: variance = spread mean + clustering mean²
  std::array<double, 6> streakShare{};      // the MCs followed by a streak
  double streakSpread = 0;                  // how much that share wanders between days (0: not at all)
  std::vector<int> nowAt;
  std::array<std::vector<std::array<double, 8>>, 6> now;
};

// Reads the tables: "# comment" lines, "rate START N PER-GAME" rows (each start 1..6 with the same rising N, the
// first 0), one "spread SPREAD CLUSTERING" line, one "streak SHARE1 .. SHARE6 SPREAD" line and "now START G
// P1 .. P8" rows.
bool ParseSettingTables(const std::string& text, SettingTables* tables);
const SettingTables& BuiltInSettingTables();

// The fresh wins expected after n normal games of a day started at setting s (0..5).
double ExpectedWins(const SettingTables& t, int s, double n);

// log P(this many fresh wins after n normal games | the day started at setting s, 0..5), less log k!, which every
// setting shares.
double LogWinsLikelihood(const SettingTables& t, int s, int normalGames, int freshWins);

// log P(this many streaks among the MCs of as many fresh wins | the day started at setting s), less what every
// setting shares. Each fresh win's chain of MCs ends without a streak, but for the last, which may still go on.
double LogStreakLikelihood(const SettingTables& t, int s, int freshWins, int streaks);

// Where days that started at these odds stand after this many games (lever-ons): the setting now, 1..8. The
// setting rises in MCs (a bell on a growth), which normal games do not count.
std::array<double, 8> CarriedOn(const std::array<double, 6>& start, int games, const SettingTables& tables);

// The posteriors. The streaks are a share of the MCs drawn with the measured spread between days (a beta
// binomial); the fresh wins are counted as a negative binomial of the expected mean and the measured spread:
// wins come in clusters (the lottery's cycles) and a day's rate wanders (the setting rises), so a day holds less
// evidence than a Poisson count of the same mean would say. The likelihood is raised to kEvidenceWeight, fitted
// on days of their own (counter-calibration --weights), never on the days the estimate is judged on.
SettingEstimate EstimateSetting(int games, int normalGames, int freshWins, int streaks);
SettingEstimate EstimateSetting(int games, int normalGames, int freshWins, int streaks, const SettingTables& tables,
                                double evidenceWeight = 1.0);
extern const double kEvidenceWeight;
// How the hall draws the day's setting: floor(7u) with 0 turned into 1.
extern const std::array<double, 6> kSettingDraw;
