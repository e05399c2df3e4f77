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

}  // namespace

void Add(Timer* t) { Timers().push_back(t); }

void Remove(Timer* t) {
  auto& v = Timers();
  v.erase(std::remove(v.begin(), v.end(), t), v.end());
}

void Restart(Timer* t, std::int64_t nowMs) {
  if (t->Interval() > 0) t->dueMs = nowMs + Period(t);
}

int DispatchDue(std::int64_t nowMs) {
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
  return ticked;
}

std::int64_t NextDue() {
  std::int64_t best = -1;
  for (Timer* t : Timers())
    if (MayTick(t) && (best < 0 || t->dueMs < best)) best = t->dueMs;
  return best;
}

}  // namespace timer_queue
