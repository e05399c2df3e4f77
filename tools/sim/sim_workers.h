// The days of a run played in worker processes. The game keeps its state in the process (one program, one machine),
// so parallel days need processes of their own, not threads: each worker is a fork of the simulator made before
// any day is played, so it starts with the arguments and the stake and loads nothing anew. Workers take the next
// day to play from a counter they share and send each day's result back through a pipe; the results are handed on
// in day order, so that nothing that comes of them depends on how many workers played them or which one.
#pragma once
#include <csignal>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/sim/sim_day.h"

// SIGINT, SIGTERM and SIGHUP while a run is under way end it at its next check by SimInterrupted, so that its
// workers are stopped and its temporary folders removed on the way out; the program then ends by the signal. A
// signal ignored when the run began (nohup) stays ignored.
struct SimInterrupted : std::runtime_error {
  explicit SimInterrupted(int s) : std::runtime_error("stopped by a signal"), signal(s) {}
  int signal;
};
class StopOnSignals {
 public:
  StopOnSignals();
  ~StopOnSignals();

 private:
  struct sigaction before_[3];
};
void ThrowIfStopped();

// The number of processors this program may run on.
int ProcessorCount();

// The save files each day starts from: day 0 from the run's own, every later day from a returning player's.
struct Stakes {
  PlayerRecord first, later;
  const PlayerRecord& Of(int day) const { return day == 0 ? first : later; }
};

// Plays every task, in `jobs` worker processes (here, one after another, when jobs is 1 or there is one task), each
// in a folder of its own under `scratch`, and hands the results to `take` in the order of `tasks`. Throws SimStuck
// or std::runtime_error when a day could not be played or a worker could not be started, SimInterrupted when a
// signal stops the run; every worker is then stopped.
void PlayDays(const SimOptions& o, const Stakes& stakes, const std::vector<DayTask>& tasks, int jobs,
              const std::string& scratch, const std::function<void(DayResult&&)>& take);
