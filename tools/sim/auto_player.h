// The simulator's player at the machine: Up for the automatic bet and the lever, the three stops in the order the
// machine asks, each at a random moment within half a second of virtual time once stops are accepted, OK to every
// notice and Yes to the cash-out.
#pragma once
#include <cstdint>
#include <ostream>
#include <random>

class SimBackend;

class AutoPlayer {
 public:
  AutoPlayer(SimBackend& sim, std::uint32_t seed, std::ostream* trace);

  // Plays the open machine screen for up to `games` lever-ons, then cashes out with Esc and Yes; returns once the
  // machine screen has closed. The hall's closing ends the day early.
  void PlayDay(long games);
  // Games whose three reels have stopped, over every day played.
  long GamesPlayed() const { return played_; }

 private:
  // A look at the machine every 20 ms of virtual time, each arranging the next.
  static void Look(void* player);
  void Act();
  void GameEnded();
  void PressNextStop(double now);

  SimBackend& sim_;
  std::mt19937 rng_;
  std::uniform_real_distribution<double> within_{0.0, 0.5};
  std::ostream* trace_;
  long played_ = 0;

  // The day in hand.
  long gamesToPlay_ = 0;
  long started_ = 0;         // lever-ons the machine took this day
  double leverAt_ = 0;       // when the lever was last pulled
  bool gameOpen_ = false;    // the lever was pulled and the game's reels have not all stopped yet
  bool spinning_ = false;    // its reels were seen turning
  int stopIndex_ = 0;        // the next stop of the order
  double nextStopAt_ = -1;   // when to press it
  double refusedSince_ = -1; // since when the machine has not taken a lever-on with the reels at rest
  bool ending_ = false;
  double lastProgress_ = 0;  // when a game last ended (or the day began)
};
