// The setting estimate (設定推測): how likely each setting 1..6 is, given only what a player sees today (the
// normal games played and the fresh MC wins among them) and the day's draw of the setting (1 at 2/7, the others
// at 1/7 each).
#pragma once
#include <array>
#include <string>

struct SettingEstimate {
  std::array<double, 6> p{};  // settings 1..6, adding up to 1
  int normalGames = 0;
  int freshWins = 0;
};

// The normal games per fresh MC win of each setting, from the simulator's odds sheet (setting_rates.txt).
const std::array<double, 6>& GamesPerFreshWin();
// Reads the rates file: "# comment" lines and one "setting games-per-fresh-win" line for each of 1..6.
bool ParseSettingRates(const std::string& text, std::array<double, 6>* gamesPerWin);

// The posterior over the six settings. Wins are counted as a Poisson process at each setting's rate; the
// likelihood is tempered by kEvidenceWeight because wins come in clusters (the lottery's cycles), so a day holds
// less evidence than its raw count suggests.
SettingEstimate EstimateSetting(int normalGames, int freshWins);
SettingEstimate EstimateSetting(int normalGames, int freshWins, const std::array<double, 6>& gamesPerWin,
                                double evidenceWeight);
extern const double kEvidenceWeight;
