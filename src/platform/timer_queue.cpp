#include "platform/timer_queue.h"

#include <exception>

#include <vector>

#include "platform/elements.h"
#include "platform/screen.h"

namespace timer_queue {

std::int64_t detail::g_firstDueUs = std::numeric_limits<std::int64_t>::max();

namespace {

constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::max();

void SetFirstDue(std::int64_t ms) { detail::g_firstDueUs = ms < kNone / 1000 ? ms * 1000 : kNone; }

// A running timer under its due time and the order it was made in, packed into one number that orders the
// timers as they tick (due times stay far below 2^48 ms; the order of making is numbered anew before it outgrows
// its 16 bits), so that keeping the order reads no timer.
struct Entry {
  std::uint64_t key;
  Timer* timer;
};

constexpr int kOrderBits = 16;
constexpr std::uint64_t kOrderMask = (std::uint64_t{1} << kOrderBits) - 1;

std::uint64_t KeyOf(const Timer* t) {
  return (static_cast<std::uint64_t>(t->dueMs) << kOrderBits) | (t->queueOrder & kOrderMask);
}

std::int64_t DueOf(const Entry& e) { return static_cast<std::int64_t>(e.key >> kOrderBits); }

// The timers with an interval, in the order they tick: a dozen at most. Made on the first timer and never
// destroyed, as the screens that own timers are themselves made and destroyed with the program.
std::vector<Entry>* g_running = nullptr;
// Every timer, in the order they were made, and the number the next one gets.
std::vector<Timer*>* g_all = nullptr;
std::uint64_t g_made = 0;

bool MayTick(const Timer* t) { return !t->inTick && t->Owner().Loaded(); }

int Period(const Timer* t) { return t->Interval() > kShortestPeriodMs ? t->Interval() : kShortestPeriodMs; }

// How many timers are in their tick right now (ticks nest inside the waits of other ticks).
int g_inTick = 0;

// Nothing is due before the first running timer that is not in its tick (a timer of an unloaded screen counts
// too: it only makes a dispatch look, not tick).
void ScanFirstDue() {
  for (const Entry& e : *g_running)
    if (!e.timer->inTick) {
      SetFirstDue(DueOf(e));
      return;
    }
  SetFirstDue(kNone);
}

inline void FindFirstDue() {
  if (g_inTick > 0) return ScanFirstDue();
  const std::vector<Entry>& v = *g_running;
  SetFirstDue(v.empty() ? kNone : DueOf(v.front()));
}

size_t IndexOf(const Timer* t) {
  size_t i = 0;
  while ((*g_running)[i].timer != t) ++i;
  return i;
}

// The entry at i, whose due time changed, moves to its place; the entries it passes move one step.
void Resort(size_t i) {
  auto& v = *g_running;
  const size_t n = v.size();
  const Entry e = v[i];
  if (i + 1 < n && v[i + 1].key < e.key) {
    do {
      v[i] = v[i + 1];
      ++i;
    } while (i + 1 < n && v[i + 1].key < e.key);
  } else {
    while (i > 0 && e.key < v[i - 1].key) {
      v[i] = v[i - 1];
      --i;
    }
  }
  v[i] = e;
}

void Take(Timer* t) {
  if (!t->queued) return;
  g_running->erase(g_running->begin() + static_cast<std::ptrdiff_t>(IndexOf(t)));
  t->queued = false;
}

// Into its place by its due time, or to its new place.
void Place(Timer* t) {
  if (!t->queued) {
    g_running->push_back({KeyOf(t), t});
    t->queued = true;
    Resort(g_running->size() - 1);
  } else {
    const size_t i = IndexOf(t);
    (*g_running)[i].key = KeyOf(t);
    Resort(i);
  }
}

// The timers that live are numbered 0, 1, 2... again, in the same order.
void Renumber() {
  g_made = 0;
  for (Timer* t : *g_all) t->queueOrder = g_made++;
  for (Entry& e : *g_running) e.key = KeyOf(e.timer);
}

}  // namespace

void Add(Timer* t) {
  if (!g_running) {
    g_running = new std::vector<Entry>;
    g_all = new std::vector<Timer*>;
  }
  if (g_made >> kOrderBits) Renumber();
  g_all->push_back(t);
  t->queueOrder = g_made++;
  t->queued = false;
  t->periodMs = Period(t);
  if (t->Interval() > 0) Place(t);
  FindFirstDue();
}

void Remove(Timer* t) {
  Take(t);
  for (auto it = g_all->begin(); it != g_all->end(); ++it)
    if (*it == t) {
      g_all->erase(it);
      break;
    }
  FindFirstDue();
}

void Restart(Timer* t, std::int64_t nowMs) {
  t->periodMs = Period(t);
  if (t->Interval() > 0) {
    t->dueMs = nowMs + t->periodMs;
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
  for (;;) {
    // A tick may change the running timers: the array is looked at afresh each time.
    Entry* const v = g_running->data();
    const size_t n = g_running->size();
    size_t i = 0;
    while (i < n && !MayTick(v[i].timer)) ++i;
    if (i == n || DueOf(v[i]) > nowMs) break;
    Timer* const next = v[i].timer;
    // Missed ticks are dropped: the next one is a whole period after this one, counted from now when late.
    const std::int64_t period = next->periodMs;
    std::int64_t due = next->dueMs + period;
    if (due <= nowMs) due = nowMs + period;
    next->dueMs = due;
    // Into its place further on: the timers it passes move one step forward.
    const Entry moved{KeyOf(next), next};
    while (i + 1 < n && v[i + 1].key < moved.key) {
      v[i] = v[i + 1];
      ++i;
    }
    v[i] = moved;
    if (!next->OnTick) continue;
    // While it ticks, the waits nested in it look past it. The first due time is left as it was, at or before
    // now: a wait nested in the tick then asks at once, and that dispatch sets it again, without this timer. A
    // tick that throws (a stuck test run) leaves its timer free to tick again, and the first due time at zero so
    // that the next dispatch looks at every timer, this one included.
    struct Ticking {
      Timer* t;
      ~Ticking() {
        t->inTick = false;
        --g_inTick;
        if (std::uncaught_exceptions() > 0) SetFirstDue(0);
      }
    } ticking{next};
    next->inTick = true;
    ++g_inTick;
    next->OnTick();
    ++ticked;
  }
  FindFirstDue();
  return ticked;
}

std::int64_t NextDue() {
  if (g_running)
    for (const Entry& e : *g_running)
      if (MayTick(e.timer)) return DueOf(e);
  return -1;
}

}  // namespace timer_queue
