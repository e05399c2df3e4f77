#include "platform/timer_queue.h"

#include <algorithm>
#include <vector>

#include "platform/elements.h"
#include "platform/screen.h"

namespace timer_queue {

std::int64_t detail::g_firstDue = std::numeric_limits<std::int64_t>::max();

namespace {

// The timers with an interval, by due time and then by the order they were made: a dozen at most. Made on the
// first timer and never destroyed, as the screens that own timers are themselves made and destroyed with the
// program.
std::vector<Timer*>* g_running = nullptr;
std::uint64_t g_made = 0;

bool MayTick(const Timer* t) { return !t->inTick && t->Owner().Loaded(); }

int Period(const Timer* t) { return std::max(t->Interval(), kShortestPeriodMs); }

bool Before(const Timer* a, const Timer* b) {
  return a->dueMs < b->dueMs || (a->dueMs == b->dueMs && a->queueOrder < b->queueOrder);
}

// Nothing is due before the first running timer that is not in its tick (a timer of an unloaded screen counts
// too: it only makes a dispatch look, not tick).
void FindFirstDue() {
  detail::g_firstDue = std::numeric_limits<std::int64_t>::max();
  for (const Timer* t : *g_running)
    if (!t->inTick) {
      detail::g_firstDue = t->dueMs;
      return;
    }
}

size_t IndexOf(const Timer* t) {
  return static_cast<size_t>(std::find(g_running->begin(), g_running->end(), t) - g_running->begin());
}

// A running timer whose due time changed moves to its place, the timers it passes one step back (or on).
void Resort(size_t i) {
  auto& v = *g_running;
  Timer* const t = v[i];
  while (i + 1 < v.size() && Before(v[i + 1], t)) {
    v[i] = v[i + 1];
    ++i;
  }
  while (i > 0 && Before(t, v[i - 1])) {
    v[i] = v[i - 1];
    --i;
  }
  v[i] = t;
}

void Take(Timer* t) {
  if (!t->queued) return;
  g_running->erase(g_running->begin() + static_cast<std::ptrdiff_t>(IndexOf(t)));
  t->queued = false;
}

void Place(Timer* t) {
  if (!t->queued) {
    g_running->push_back(t);
    t->queued = true;
    Resort(g_running->size() - 1);
  } else {
    Resort(IndexOf(t));
  }
}

// Where the running timer that ticks next is: the first that is not in its tick and whose screen is loaded.
size_t FirstThatMayTick() {
  const size_t n = g_running ? g_running->size() : 0;
  for (size_t i = 0; i < n; ++i)
    if (MayTick((*g_running)[i])) return i;
  return n;
}

}  // namespace

void Add(Timer* t) {
  if (!g_running) g_running = new std::vector<Timer*>;
  t->queueOrder = g_made++;
  t->queued = false;
  if (t->Interval() > 0) Place(t);
  FindFirstDue();
}

void Remove(Timer* t) {
  Take(t);
  FindFirstDue();
}

void Restart(Timer* t, std::int64_t nowMs) {
  if (t->Interval() > 0) {
    t->dueMs = nowMs + Period(t);
    Place(t);
  } else {
    Take(t);
  }
  FindFirstDue();
}

int detail::DispatchDueFrom(std::int64_t nowMs) {
  int ticked = 0;
  // Only what is due at now: a tick that takes long cannot starve the caller, and as each timer's next due time
  // is after now, each ticks at most once.
  auto& v = *g_running;
  for (;;) {
    const size_t i = FirstThatMayTick();
    if (i == v.size() || v[i]->dueMs > nowMs) break;
    Timer* next = v[i];
    // Missed ticks are dropped: the next one is a whole period after this one, counted from now when late.
    next->dueMs += Period(next);
    if (next->dueMs <= nowMs) next->dueMs = nowMs + Period(next);
    Resort(i);
    if (!next->OnTick) {
      FindFirstDue();
      continue;
    }
    // While it ticks, the waits nested in it look past it.
    next->inTick = true;
    FindFirstDue();
    next->OnTick();
    next->inTick = false;
    FindFirstDue();
    ++ticked;
  }
  return ticked;
}

std::int64_t NextDue() {
  const size_t i = FirstThatMayTick();
  return g_running && i < g_running->size() ? (*g_running)[i]->dueMs : -1;
}

}  // namespace timer_queue
