// The data counter's record of one day at the machine: the counts a hall's counter shows, the coin difference
// after every game and the bonuses in the order they came.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct CounterBonus {
  int game = 0;          // the day's game number on which the sevens lined up
  bool premium = false;  // a PMC (any length but 33)
  bool fanfare = false;  // played in a fanfare streak
  int length = 0;        // the MC's length as drawn
  int gamesBefore = 0;   // games outside MCs since the previous bonus (or the day's start)
  bool streak = false;   // a streak continuation rather than a fresh win
};

struct CounterDay {
  std::string date;       // "YYYY-MM-DD HH:MM" of the cash-out (of the start while the day runs)
  int games = 0;          // lever-ons of the day
  int normalGames = 0;    // games the internal lottery drew freely: no MC running, no streak continuation due
  int freshWins = 0;      // MCs won in normal play, not by a streak continuation
  int mc = 0, pmc = 0;    // the machine's own counts of the day
  int fanfare = 0;        // fanfare streaks entered
  std::int64_t coinsIn = 0, coinsOut = 0;
  int setting = 0;        // as revealed at the cash-out; 0 while the day runs
  std::vector<int> slump;  // coins out minus coins in after each game, one entry per game
  std::vector<CounterBonus> bonuses;

  std::int64_t CoinDifference() const { return coinsOut - coinsIn; }
  // Coins out per coin in; 0 before any bet.
  double PayoutRate() const { return coinsIn > 0 ? static_cast<double>(coinsOut) / coinsIn : 0.0; }
  // The MCs won by a streak continuation.
  int Streaks() const { return static_cast<int>(bonuses.size()) - freshWins; }
};
