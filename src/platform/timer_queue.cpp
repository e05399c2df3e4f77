#include "platform/timer_queue.h"

#include <algorithm>

#include "platform/elements.h"
#include "platform/screen.h"

namespace timer_queue {
namespace {

std::vector<Timer*>& Timers() {
  static std::vector<Timer*> timers;
  return timers;
}

bool MayTick(const Timer* t) { return t->Interval() > 0 && !t->inTick && t->Owner().Loaded(); }

int Period(const Timer* t) { return std::max(t->Interval(), kShortestPeriodMs); }

// The earliest due time of a timer that may tick (-1: none), kept between changes: the waits of the game ask for
// due timers every few milliseconds, and most of the time nothing is due.
std::int64_t g_next = -1;
bool g_stale = true;

std::int64_t Earliest() {
  if (g_stale) {
    g_next = -1;
    for (Timer* t : Timers())
      if (MayTick(t) && (g_next < 0 || t->dueMs < g_next)) g_next = t->dueMs;
    g_stale = false;
  }
  return g_next;
}

}  // namespace

void Add(Timer* t) {
  Timers().push_back(t);
  g_stale = true;
}

void Remove(Timer* t) {
  auto& v = Timers();
  v.erase(std::remove(v.begin(), v.end(), t), v.end());
  g_stale = true;
}

void Touch() { g_stale = true; }

void Restart(Timer* t, std::int64_t nowMs) {
  if (t->Interval() > 0) t->dueMs = nowMs + Period(t);
  g_stale = true;
}

int DispatchDue(std::int64_t nowMs) {
  const std::int64_t earliest = Earliest();
  if (earliest < 0 || nowMs < earliest) return 0;
  int ticked = 0;
  // Only what is due on entry: a tick that takes long cannot starve the caller.
  for (;;) {
    Timer* next = nullptr;
    for (Timer* t : Timers())
      if (MayTick(t) && t->dueMs <= nowMs && (!next || t->dueMs < next->dueMs)) next = t;
    if (!next) break;
    // Missed ticks are dropped: the next one is a whole period after this one, counted from now when late.
    next->dueMs += Period(next);
    if (next->dueMs <= nowMs) next->dueMs = nowMs + Period(next);
    if (!next->OnTick) continue;
    next->inTick = true;
    next->OnTick();
    next->inTick = false;
    ++ticked;
  }
  g_stale = true;
  return ticked;
}

std::int64_t NextDue() { return Earliest(); }

}  // namespace timer_queue
