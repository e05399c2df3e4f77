// The back end behind time, events, message boxes and windows: the real one on Qt, the virtual one for tests and
// the simulator. Game code never talks to it directly; it uses the free functions of events.h.
#pragma once
#include <cstdint>
#include <string>

class Screen;
struct VirtualClock;

class Backend {
 public:
  virtual ~Backend() = default;
  // Seconds since midnight.
  virtual double Clock() = 0;
  // Milliseconds on a clock that never goes back; timers run on it.
  virtual std::int64_t NowMs() = 0;
  virtual void Sleep(int ms) = 0;
  // Dispatches pending input, due timer ticks and repaints, nested in the caller.
  virtual void DoEvents() = 0;
  // A modal message box; returns vbOK, vbYes or vbNo. Timers keep ticking while it is open.
  virtual int MsgBox(const std::string& text, int buttons, const std::string& title) = 0;
  // A screen was loaded or unloaded: make or drop its window.
  virtual void ScreenLoaded(Screen& s) = 0;
  virtual void ScreenUnloaded(Screen& s) = 0;
  // A timer's schedule changed (the next due tick may be earlier).
  virtual void TimersChanged() {}
  // A seed for the random generator taken from this back end's clock.
  virtual std::uint64_t ClockSeed() = 0;
  // A back end whose time is virtual hands its clock to the game's time functions, which then run on it inline.
  virtual VirtualClock* Virtual() { return nullptr; }
};

// The back end in use. Exactly one is installed at a time.
Backend& CurrentBackend();
void InstallBackend(Backend* backend);
bool HasBackend();
