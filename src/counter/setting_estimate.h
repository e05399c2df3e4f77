// The setting estimate (設定推測): how likely each setting is, given what a player sees today (the normal games
// played, the fresh MC wins among them, and what visibly moves the setting) and the day's draw of the setting (1
// at 2/7, the others at 1/7 each).
#pragma once
#include <array>
#include <string>
#include <vector>

// What the simulator measured for each setting the day starts with, at points of the day counted in normal
// games: the mean number of fresh wins by then and how widely days spread about it (variance over mean: the
// lottery's cycles and streaks bunch wins together or even them out, so it is not 1 as for pure chance). Early
// games win less often than later ones, and any rise of the setting during the day is in the figures.
struct SettingRates {
  std::vector<int> games;                              // ascending
  std::array<std::vector<double>, 6> wins, spread;     // one entry per point, settings 1..6
};

// Reads the rates file: "# comment" lines and one "setting games mean-wins variance-over-mean" line per setting
// and point; every setting at the same points.
bool ParseSettingRates(const std::string& text, SettingRates* rates);
// setting_rates.txt, built in.
const SettingRates& BuiltInRates();

// The setting now, for each setting the day may have started with: the ceiling (MC間 reaching 1280) makes it 7,
// an MC grown by 1000 games raises it by one (to 8 at most). Both are in plain sight at the machine.
struct SettingPath {
  std::array<int, 6> now = {1, 2, 3, 4, 5, 6};
  void Ceiling() { now.fill(7); }
  void Raise() {
    for (int& s : now) s = s < 8 ? s + 1 : 8;
  }
  bool Moved() const { return now != SettingPath{}.now; }
};

struct SettingEstimate {
  std::array<double, 6> p{};    // the setting the day started with, 1..6, adding up to 1
  std::array<double, 8> now{};  // the setting now, 1..8
  bool moved = false;           // the setting may have moved today: the two differ
  int normalGames = 0;
  int freshWins = 0;
};

// The fresh wins by `normalGames` at each setting are taken as a double Poisson count with the measured mean and
// spread (interpolated between the measured points), so a day's count weighs as much as such days really
// differ, no more and no less.
SettingEstimate EstimateSetting(int normalGames, int freshWins, const SettingPath& path, const SettingRates& rates);
SettingEstimate EstimateSetting(int normalGames, int freshWins, const SettingPath& path = {});
