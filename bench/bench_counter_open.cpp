// How long the data counter takes to open on the largest histories its reader accepts: the most games a history
// may hold, and one day with as many bonus lines as the file's size allows. Prints one figure a line.
#include <stdlib.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "counter/counter.h"
#include "counter/history_file.h"
#include "counter/qt/qt_counter_window.h"
#include "sound/sound_bank.h"

namespace {

CounterDay Day(int games, int bonuses) {
  CounterDay d;
  d.date = "2025-06-01 23:00";
  d.games = games;
  int value = 0;
  // Never the same step twice running, so that the file is as long as such a day can make it.
  const int steps[] = {-3, 9, -3, 0, -3, 12, -3, -3, 15, 0};
  for (int g = 0; g < games; ++g) {
    value += steps[g % 10];
    d.coinsIn += 3;
    d.coinsOut += 3 + steps[g % 10];
    d.slump.push_back(value);
  }
  for (int b = 0; b < bonuses; ++b) d.bonuses.push_back({1 + static_cast<int>(static_cast<long long>(b) * (games - 1) / bonuses), b % 3 == 0, false, 33, 5, b % 2 == 1});
  d.mc = bonuses;
  return d;
}

double Seconds(const std::vector<CounterDay>& days, QtCounterWindow& window) {
  std::filesystem::remove(HistoryPath());
  if (!AppendToHistory(days)) std::fprintf(stderr, "history not written\n");
  const auto t0 = std::chrono::steady_clock::now();
  ToggleCounter();
  QApplication::processEvents();
  window.grab();
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  ToggleCounter();
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  char pattern[] = "/tmp/mofuran-bench-counter-XXXXXX";
  const std::string folder = mkdtemp(pattern);
  std::filesystem::create_directory(folder + "/soundMofuran");
  AppFolder = folder + "\\";
  QtCounterWindow window;
  InstallCounterView(&window);

  const std::vector<CounterDay> most(kMaxHistoryGames / kMaxDayGames, Day(kMaxDayGames, 2000));
  const double a = Seconds(most, window);
  const auto bytesA = std::filesystem::file_size(HistoryPath());
  // Bonus lines until the file is near its bound: some 40 bytes each.
  const std::vector<CounterDay> crowded = {Day(kMaxDayGames, static_cast<int>((kMaxHistoryBytes - bytesA / 5) / 40))};
  const double b = Seconds(crowded, window);
  const auto bytesB = std::filesystem::file_size(HistoryPath());
  std::printf("counter opening on the most games a history holds: %.3f s (%zu days, %.1f MB)\n", a, most.size(),
              bytesA / 1e6);
  std::printf("counter opening on a day of the most bonus lines: %.3f s (%zu bonuses, %.1f MB)\n", b,
              crowded[0].bonuses.size(), bytesB / 1e6);
  InstallCounterView(nullptr);
  std::filesystem::remove_all(folder);
  return 0;
}
