// Time, events and message boxes, as the game asks for them.
#pragma once
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "platform/timer_queue.h"

// Message box buttons and icons, and its answers.
constexpr int vbOKOnly = 0;
constexpr int vbYesNo = 4;
constexpr int vbExclamation = 48;
constexpr int vbOK = 1;
constexpr int vbYes = 6;
constexpr int vbNo = 7;

// The time of a back end whose clock is virtual (the simulator's and the tests'). The game's waits read the clock,
// sleep and pump events thousands of times a second of play, and almost every time nothing is due: on a virtual
// clock these three run here, inline, and reach the back end only when there is something to dispatch.
struct VirtualClock {
  // Each clock read moves time on by this much, so that a wait polling the clock ends.
  static constexpr std::int64_t kReadQuantumUs = 10;
  double startSeconds = 0;  // the time of day at nowUs 0
  std::int64_t nowUs = 0;
  // Before this, DoEvents has neither input to deliver nor a reason to stop (the back end keeps it); the timers'
  // own due time is the timer queue's.
  std::int64_t quietUntilUs = std::numeric_limits<std::int64_t>::max();

  // The midnight of the day being read, in seconds of the clock (a whole number of days): the time of day is the
  // clock's remainder after it, worked out once a day.
  double dayStart = 0;

  // Seconds since the clock's start of the day, at us: the remainder of startSeconds + us / 1e6 after whole days.
  // Within the day it is an exact subtraction, the same number as the remainder.
  double SecondsAt(std::int64_t us) const { return startSeconds + static_cast<double>(us) / 1e6; }
  double TimeOfDay(double seconds) {
    if (!(seconds >= dayStart && seconds < dayStart + 86400.0)) dayStart = seconds - std::fmod(seconds, 86400.0);
    return seconds - dayStart;
  }
  // Seconds since midnight, and a quantum later.
  double Read() {
    const double t = TimeOfDay(SecondsAt(nowUs));
    nowUs += kReadQuantumUs;
    return t;
  }
  bool Quiet() const { return nowUs < quietUntilUs && nowUs < timer_queue::detail::g_firstDueUs; }
  // The first time at which DoEvents has something to do.
  std::int64_t QuietEndUs() const {
    const std::int64_t tick = timer_queue::detail::g_firstDueUs;
    return tick < quietUntilUs ? tick : quietUntilUs;
  }
};

namespace events_detail {
extern VirtualClock* g_virtual;  // the installed back end's, when its clock is virtual
extern int g_depth, g_maxDepth;
double BackendClock();
void BackendSleep(int ms);
void BackendDoEvents();
}  // namespace events_detail

// Seconds since midnight (returns to 0 at midnight).
inline double Clock() {
  if (VirtualClock* v = events_detail::g_virtual) return v->Read();
  return events_detail::BackendClock();
}
inline void Sleep(int ms) {
  if (VirtualClock* v = events_detail::g_virtual) {
    v->nowUs += static_cast<std::int64_t>(ms > 0 ? ms : 0) * 1000;
    return;
  }
  events_detail::BackendSleep(ms);
}
// Dispatches pending input, due timer ticks and repaints nested inside the caller.
inline void DoEvents() {
  using namespace events_detail;
  if (g_virtual && g_virtual->Quiet()) {
    // Nothing to dispatch: only the nesting it would have reached is counted.
    if (g_depth + 1 > g_maxDepth) g_maxDepth = g_depth + 1;
    return;
  }
  BackendDoEvents();
}
// For a wait that loops on `DoEvents(); Sleep(ms);` and checks whose second run finds what the first found until
// something is dispatched: after the checks, the passes in which DoEvents would dispatch nothing. On a virtual
// clock they pass at once (time moves on by whole passes, to the first in which something is due); on the real
// clock the loop runs them itself.
inline void SkipQuietPasses(int ms) {
  using namespace events_detail;
  VirtualClock* v = g_virtual;
  if (!v || ms <= 0 || !v->Quiet()) return;
  const std::int64_t end = v->QuietEndUs();
  if (end == std::numeric_limits<std::int64_t>::max()) return;  // nothing will ever come: the loop spins as it is
  const std::int64_t step = static_cast<std::int64_t>(ms) * 1000;
  const std::int64_t passes = (end - v->nowUs + step - 1) / step;
  v->nowUs += passes * step;
  if (g_depth + 1 > g_maxDepth) g_maxDepth = g_depth + 1;
}

namespace events_detail {
// The smallest p in [low, high] for which holds(p), or high + 1; holds must be false, then true, as p grows. It looks
// near low first, as most waits end soon.
template <class Holds>
std::int64_t FirstThat(std::int64_t low, std::int64_t high, Holds holds) {
  if (low > high || holds(low)) return low;
  std::int64_t no = low, reach = 1;
  for (;;) {
    const std::int64_t probe = low + reach;
    if (probe > high) break;
    if (holds(probe)) {
      high = probe - 1;
      break;
    }
    no = probe;
    reach *= 2;
  }
  // holds(no) is false and holds(high + 1) is true (or high + 1 is past the end).
  while (no < high) {
    const std::int64_t mid = no + (high - no + 1) / 2;
    if (holds(mid)) high = mid - 1;
    else no = mid;
  }
  return high + 1;
}
}  // namespace events_detail

// A wait on the clock: `for (;;) { if (done(Clock())) return; if (events) DoEvents(); Sleep(ms); }`, for a done
// that, once it holds, holds for at least the next hour unless a handler changes what it looks at (a pause far
// shorter than a day: its elapsed time only returns to 0 a day after it began). On a virtual clock the passes in
// which DoEvents would dispatch nothing are not run one by one: the pass that ends the wait is found among them,
// an hour at most at a time, by its clock reads alone, which give the same times as running them would.
template <class Done>
void WaitOnClock(int ms, bool events, Done done) {
  using namespace events_detail;
  VirtualClock* v = g_virtual;
  if (!v) {
    for (;;) {
      if (done(Clock())) return;
      if (events) DoEvents();
      Sleep(ms);
    }
  }
  constexpr std::int64_t kRead = VirtualClock::kReadQuantumUs;
  const std::int64_t pass = kRead + static_cast<std::int64_t>(ms > 0 ? ms : 0) * 1000;
  const std::int64_t kMany = 3'600'000'000 / pass;  // an hour of passes
  for (;;) {
    // Pass p reads the clock at n0 + p * pass and, if the wait goes on, pumps events a quantum later.
    const std::int64_t n0 = v->nowUs;
    v->TimeOfDay(v->SecondsAt(n0));
    const double dayStart = v->dayStart, dayEnd = dayStart + 86400.0;
    auto seconds = [&](std::int64_t p) { return v->SecondsAt(n0 + p * pass); };
    // The last pass to look at: the first whose pump has something to do, an hour on at most ...
    std::int64_t last = kMany;
    if (events) {
      const std::int64_t end = v->QuietEndUs();
      if (end != std::numeric_limits<std::int64_t>::max() && end - n0 - kRead < kMany * pass)
        last = end <= n0 + kRead ? 0 : (end - n0 - kRead + pass - 1) / pass;
    }
    // ... or the last of this day.
    double lastSeconds = seconds(last);
    if (lastSeconds >= dayEnd) {
      last = FirstThat(0, last, [&](std::int64_t p) { return seconds(p) >= dayEnd; }) - 1;
      lastSeconds = seconds(last);
    }
    // Mostly something is dispatched before the wait is over: one look at the last pass tells.
    const std::int64_t ends = !done(lastSeconds - dayStart)
                                  ? last + 1
                                  : FirstThat(0, last, [&](std::int64_t p) { return done(seconds(p) - dayStart); });
    const std::int64_t quietPasses = ends <= last ? ends : last;
    v->nowUs = n0 + quietPasses * pass + kRead;
    if (events && quietPasses > 0 && g_depth + 1 > g_maxDepth) g_maxDepth = g_depth + 1;
    if (ends <= last) return;
    // The pass that pumps something, or the day's last: as it is.
    if (events) DoEvents();
    Sleep(ms);
  }
}

// A modal message box; an empty title shows the program's own title.
int MsgBox(const std::string& text, int buttons = vbOKOnly, const std::string& title = "");
// The program's own title, used by message boxes without a title of their own.
std::string& AppTitle();

// How deeply DoEvents calls are nested right now, and the deepest seen since the last reset.
int EventDepth();
int MaxEventDepth();
void ResetMaxEventDepth();

// A 64-bit seed for the random generator from the current clock.
std::uint64_t ClockSeed();
