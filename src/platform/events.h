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

  // Seconds since midnight, and a quantum later.
  double Read() {
    double t = startSeconds + static_cast<double>(nowUs) / 1e6;
    // Before midnight the remainder is the value itself.
    if (!(t >= 0 && t < 86400.0)) t = std::fmod(t, 86400.0);
    nowUs += kReadQuantumUs;
    return t;
  }
  bool Quiet() const { return nowUs < quietUntilUs && nowUs / 1000 < timer_queue::detail::g_firstDue; }
  // The first time at which DoEvents has something to do.
  std::int64_t QuietEndUs() const {
    const std::int64_t due = timer_queue::detail::g_firstDue;
    const std::int64_t tick = due < std::numeric_limits<std::int64_t>::max() / 1000 ? due * 1000 : quietUntilUs;
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
