// What the data counter's window shows, as plain data, and the thin interface of the window itself. The game
// never draws it: a back end that has windows installs a view (the Qt one in counter/qt), and without one the
// counter still keeps its records.
#pragma once
#include <string>
#include <vector>

#include "counter/counter_day.h"
#include "counter/setting_estimate.h"

constexpr int kPastDaysShown = 7;

struct CounterModel {
  CounterDay today;                // the day at the machine, or the last one played in this run
  bool dayRunning = false;         // today is still being played
  bool hasToday = false;           // a day was played in this run
  int gamesSinceMc = 0;            // the machine's MC間数 counter
  std::vector<CounterDay> pastDays;  // the last days recorded, newest first, at most kPastDaysShown
  SettingEstimate estimate;
  std::string notice;              // one line for the player (a damaged history was set aside), or empty
};

class CounterView {
 public:
  virtual ~CounterView() = default;
  // Shows the window without taking the keyboard from the game's screens.
  virtual void Show(const CounterModel& model) = 0;
  virtual void Hide() = 0;
  virtual void Update(const CounterModel& model) = 0;
};

// The window in use, or none.
void InstallCounterView(CounterView* view);
