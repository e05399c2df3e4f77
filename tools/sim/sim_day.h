// One simulated day: a launch of the game in a folder of its own, from the run's stake (the save files as the run
// prepared them), on a virtual clock and with a player both derived from the run's start time and the day's
// number, so that a day plays the same whichever process plays it and whatever was played before it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "machine/player_record.h"

struct SimOptions;

struct DayResult {
  int number = 0;   // the day's number in the run, from 0
  int setting = 0;  // the day's setting
  long games = 0;
  long long coinsIn = 0, coinsOut = 0;
  long mc = 0, pmc = 0;  // the machine's own counts
  int fanfareStreaks = 0;
  int maxMcLength = 0;
  bool bankrupt = false;
  double virtualSeconds = 0;
  // For the odds sheet, from the data counter's record of the day.
  long normalGames = 0;    // games the lottery drew freely: no MC running, no streak continuation due
  long freshWins = 0;      // MCs won in normal play
  long starts = 0;         // MC starts of any kind
  long premiumStarts = 0;  // of them PMCs
  long streakStarts = 0;   // of them streak continuations: each follows an MC
  long freshPmc = 0;       // PMCs won in normal play
  long long lengthSum = 0;  // the starts' lengths as drawn
  long long lengthSquares = 0;  // and the sum of their squares
  std::vector<int> slump;   // coins out minus coins in after each game, when asked for
  // The save file after the cash-out, as the save format encodes it (every field but the name).
  std::vector<std::uint8_t> record;
  // The data counter's history text of this day alone, when asked for.
  std::string history;
  // The day's lines of the trace, when asked for.
  std::string trace;
};

// What a day is asked to bring back besides its figures.
struct DayWants {
  bool slump = false;
  bool history = false;
  bool trace = false;
};

// A day to play.
struct DayTask {
  int number = 0;   // the day's number, which fixes its clock and its player
  int setting = 0;  // 0: the day's own draw
  DayWants wants;
};

// The virtual clock of day n starts at the run's start time of day; its random seeds are those of a clock that
// began n whole days after day 0's, and the player's seed moves on with n too. Day 0 is the run's first day as it
// always was.
constexpr std::int64_t kDayUs = 86'400'000'000;
std::uint32_t PlayerSeed(const SimOptions& o, int day);

// Plays day `number` at `setting` (0: the day's own draw) in `folder` (made when missing; its save files are
// replaced by the stake). Throws SimStuck when the game stops moving.
DayResult PlayDay(const SimOptions& o, const PlayerRecord& stake, int number, int setting, const std::string& folder,
                  const DayWants& wants);

// A day's result as one piece of text and back, exactly (the worker processes send them so).
std::string EncodeDay(const DayResult& d);
bool DecodeDay(const std::string& text, DayResult* d);
