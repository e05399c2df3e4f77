// The one schedule of all timers, shared by both back ends. It keeps the rules the game relies on: a timer never
// ticks while its previous tick still runs (nested in DoEvents), missed ticks are not queued up, and no period is
// shorter than 16 ms.
#pragma once
#include <cstdint>
#include <vector>

class Timer;

namespace timer_queue {

constexpr int kShortestPeriodMs = 16;

void Add(Timer* t);
void Remove(Timer* t);
// Something other than an interval changed which timers may tick (a screen was loaded).
void Touch();
// A timer's interval was set to a new value at time now.
void Restart(Timer* t, std::int64_t nowMs);
// Runs the tick of every timer due at now, earliest first; returns how many ticked.
int DispatchDue(std::int64_t nowMs);
// The earliest due time of a running timer that may tick, or -1 when none.
std::int64_t NextDue();

}  // namespace timer_queue
