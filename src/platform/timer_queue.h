// The one schedule of all timers, shared by both back ends. It keeps the rules the game relies on: a timer never
// ticks while its previous tick still runs (nested in DoEvents), missed ticks are not queued up, and no period is
// shorter than 16 ms.
//
// The game's waits ask for due timers every millisecond or two of virtual time and almost always nothing is due,
// so the running timers are kept sorted by due time: that question costs one comparison, and a tick costs a move
// within a short array, never an allocation.
#pragma once
#include <cstdint>
#include <limits>

class Timer;

namespace timer_queue {

constexpr int kShortestPeriodMs = 16;

void Add(Timer* t);
void Remove(Timer* t);
// A timer's interval was set to a new value at time now.
void Restart(Timer* t, std::int64_t nowMs);

namespace detail {
// No running timer that is not in its tick is due before this time, in microseconds: mostly the due time of the
// first of them (it may be on an unloaded screen), during a tick it may be earlier (until a dispatch sets it
// again; that one then finds nothing to run). The largest value when none runs. Kept in microseconds so that a
// virtual clock asks with its own reading, which it does a million times a day of play.
extern std::int64_t g_firstDueUs;
int DispatchDueFrom(std::int64_t nowMs);
}  // namespace detail

// Runs the tick of every timer due at now, earliest first (timers due at the same moment in the order they were
// made).
inline void DispatchDue(std::int64_t nowMs) {
  if (nowMs * 1000 >= detail::g_firstDueUs) detail::DispatchDueFrom(nowMs);
}
// The same at a reading in microseconds (a timer is due in the millisecond it is due in); returns how many ticked.
inline int DispatchDueAtUs(std::int64_t nowUs) {
  return nowUs < detail::g_firstDueUs ? 0 : detail::DispatchDueFrom(nowUs / 1000);
}
// The earliest due time of a running timer that may tick, or -1 when none.
std::int64_t NextDue();

}  // namespace timer_queue
