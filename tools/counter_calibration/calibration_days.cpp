#include "tools/counter_calibration/calibration_days.h"

#include <random>
#include <stdexcept>

#include "counter/history_file.h"
#include "tools/sim/sim_run.h"

std::vector<PlayedDay> PlayCounterDays(int count, long games, int setting, double startMs, std::uint32_t seed) {
  std::mt19937 rng(seed);
  // The hall's draw: setting 1 at 2/7, the others at 1/7.
  std::discrete_distribution<int> draw({2, 1, 1, 1, 1, 1});
  SimOptions o;
  o.days = count;
  o.games = games;
  o.savings = 1e9;  // never bankrupt: a day ends by its game count or the hall's hours
  o.startMs = startMs;
  std::vector<DayTask> tasks;
  for (int n = 0; n < count; ++n) {
    DayTask t;
    t.number = n;
    t.setting = setting > 0 ? setting : draw(rng) + 1;
    t.wants.history = true;
    tasks.push_back(t);
  }
  std::vector<PlayedDay> out;
  PlayRun(o, tasks, [&](DayResult&& d) {
    std::vector<CounterDay> read;
    if (!DecodeHistory(d.history, &read) || read.size() != 1)
      throw std::runtime_error("a day's history did not read back");
    out.push_back({d.setting, d.setting, read.front()});
  });
  return out;
}

std::vector<int> FreshWinPositions(const CounterDay& day) {
  std::vector<int> at;
  int outside = 0, streaks = 0;
  for (const CounterBonus& b : day.bonuses) {
    outside += b.gamesBefore;
    if (b.streak)
      ++streaks;
    else
      at.push_back(outside - streaks);
  }
  return at;
}
