// The player's save folder a run plays from (--data DIR): DIR/soundMofuran, as the game keeps it. The run reads the
// stake from copies of its save files and writes the outcome there once, after every day has been played, so that
// a run that fails leaves the folder as it found it. The folder is locked as the game locks it for the whole run.
#pragma once
#include <string>
#include <vector>

#include "counter/counter_day.h"
#include "machine/player_record.h"

// The save pair in the working folder, loaded as the game loads it.
enum class PairRead { Good, Missing, Broken };
PairRead ReadPair(PlayerRecord* record);

class DataFolder {
 public:
  // Makes DIR and its sound folder where they are missing and takes the game's lock there; throws with the reason
  // when the folder cannot be used or the game or another simulator holds it.
  explicit DataFolder(const std::string& dir);
  // Gives the lock back; the folders it made go again unless the outcome was written.
  ~DataFolder();
  DataFolder(const DataFolder&) = delete;
  DataFolder& operator=(const DataFolder&) = delete;

  // The stake: the folder's save files as the game would load them (a new player's record where there are none or
  // they are broken, which is said on standard error), read from copies in `copies`. Throws when they cannot be
  // read or copied.
  PlayerRecord LoadStake(const std::string& copies) const;
  // The run's outcome: the data counter's days added to the history, then the pair. Throws when either cannot be
  // written; the history is then put back as it was.
  void Write(const PlayerRecord& record, const std::vector<CounterDay>& days);

 private:
  std::string dir_, sound_;
  std::vector<std::string> made_;  // deepest first
  bool written_ = false;
};
