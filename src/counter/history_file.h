// The data counter's history: the last days played, in a plain-text file of its own beside the save files
// ("DataCounter.txt" in the sound folder). It never touches the save files, and is written the same crash-safe
// way they are.
//
// Format: a version line, then for each day, oldest first, a "day" line, a "slump" line with the coins won or
// lost in each game (run-length: "-3*4" is four games of -3) and one "bonus" line per bonus:
//   mofuran-datacounter 1
//   day 2025-06-01 18:42 games 812 normal 790 fresh 2 mc 1 pmc 1 fanfare 0 in 2310 out 2954 setting 4
//   slump -3*2 0 9 -3 ...
//   bonus 120 MC 33 118 fresh plain
//   bonus 163 PMC 222 10 streak fanfare
#pragma once
#include <ctime>
#include <string>
#include <vector>

#include "counter/counter_day.h"

constexpr const char* kHistoryFile = "DataCounter.txt";
constexpr int kHistoryDays = 30;
// A day ends when the hall closes: 10,000 games, 10,000 more with the membership and 15,000 for each +10000
// award. No day comes near this many, and the history, one number a game, stays a few megabytes at most.
constexpr int kMaxDayGames = 200'000;
constexpr int kMaxHistoryGames = 1'000'000;
constexpr std::size_t kMaxHistoryBytes = 8u << 20;

struct History {
  std::vector<CounterDay> days;  // oldest first, at most kHistoryDays and kMaxHistoryGames games
  bool damaged = false;          // the file was of an unknown kind or damaged: set aside, a fresh history began
  bool unreadable = false;       // the file is there but could not be read now: left as it is
};

std::string EncodeHistory(const std::vector<CounterDay>& days);
// The days of a history text; nothing and false when any part of it is damaged or of another version.
bool DecodeHistory(const std::string& text, std::vector<CounterDay>* days);

// The file's path: the sound folder beside the program.
std::string HistoryPath();
// A date as the history holds it, "YYYY-MM-DD HH:MM", the year held to 0..9999 so that it always reads back.
std::string HistoryDate(const std::tm& local);

// Reads the history. A missing file is an empty history; a damaged one is put aside (".bad", or ".bad2" and on
// where that is taken) and a fresh history begins, with History::damaged set so that the counter can say so.
History ReadHistory();
// Adds finished days, keeps the last kHistoryDays (and kMaxHistoryGames games) and writes the file crash-safe.
// A day longer than kMaxDayGames is left out. False when the file cannot be read or written: it is then as it was.
bool AppendToHistory(const std::vector<CounterDay>& days, bool* damagedBefore = nullptr);
bool AppendToHistory(const CounterDay& day, bool* damagedBefore = nullptr);
