// Days of the real game on the virtual back end, played by the automatic player, and what came of them.
#pragma once
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/sim/sim_day.h"

struct SimOptions {
  int days = 1;                // per setting with --sheet
  long games = 10000;          // lever-ons per day before the day is ended (the hall may close first)
  int setting = 0;             // 1..6 forces the day's setting after the draw; 0 keeps the draw
  double savings = -1;         // yen written into the save files before the first start; < 0: leave them
  std::string data;            // the folder of the save files; empty: none, a new player who keeps nothing
  std::string name = "sim";    // the registered player
  double startMs = 36000000;   // the virtual clock's start, ms after midnight, every day
  bool pmcItem = false;
  bool fanfareItem = false;
  bool json = false;
  std::string trace;           // one line per game to this file when set
  int jobs = 0;                // worker processes; 0: one per processor
  bool sheet = false;          // every setting 1..6: the odds sheet
  std::string plot;            // with the sheet: its picture, an SVG file
  bool daysGiven = false, gamesGiven = false;  // the sheet has sizes of its own unless these were given
  // Where the days' own folders go (empty: the system's temporary folder). The game makes each save durable, which
  // on a disk costs far more wall time than the day's play; runs that keep nothing of the days put them in memory.
  std::string scratch;
};

struct SimResult {
  int days = 0;
  long games = 0;
  long long coinsIn = 0, coinsOut = 0;
  long mc = 0, pmc = 0;
  int fanfareStreaks = 0;
  int maxMcLength = 0;
  int bankruptDays = 0;
  double savingsStart = 0, savingsEnd = 0;
  std::vector<int> settings;
  double virtualSeconds = 0, wallSeconds = 0;

  double PayoutRate() const { return coinsIn > 0 ? static_cast<double>(coinsOut) / coinsIn : 0.0; }
  double GamesPerSecond() const { return wallSeconds > 0 ? games / wallSeconds : 0.0; }
  // Adds a day's figures.
  void Add(const DayResult& d);
};

// A whole decimal number within [low, high] and nothing else, as the options take it.
bool WholeNumber(const std::string& text, double low, double high, double* out);
// printf into a string of whatever length it takes.
std::string Formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A day's lines of the trace, flushed; throws when they cannot be written, before the run saves anything.
void WriteTrace(std::ostream& trace, const std::string& lines);

// The options from the command line; false with a message for anything it does not know or cannot use.
bool ParseSimOptions(int argc, const char* const* argv, SimOptions* options, std::string* error);
extern const char* const kSimUsage;
// The worker processes the options ask for.
int JobsOf(const SimOptions& o);

// Plays the days. Each day is one launch of the game: the title screen, Start, the day at the machine, the
// cash-out, the record screen and 終了. Every day starts from the save files as the run found them (with the
// savings and items asked for): the days are the same whichever worker plays them. The data folder then holds
// the savings moved by every day's winnings, the lifetime records of all of them and their data counter history,
// written once every day has been played. Throws SimStuck when the game stops moving, SimInterrupted on a signal
// and std::runtime_error when the data folder cannot be used or a file cannot be read or written; the data
// folder is then as it was.
SimResult RunSim(const SimOptions& options, std::ostream* trace = nullptr);

// The run's days, as RunSim plays them, each handed to `take` in the order of `tasks`; returns the savings before
// and after the run (the days' winnings added up).
struct SavingsMoved {
  double start = 0, end = 0;
};
// A folder in memory for the days' own folders (tmpfs), or empty where there is none.
std::string MemoryFolder();
SavingsMoved PlayRun(const SimOptions& o, const std::vector<DayTask>& tasks,
                     const std::function<void(DayResult&&)>& take);

std::string ResultJson(const SimResult& r);
std::string ResultText(const SimResult& r);
