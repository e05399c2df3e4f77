// The virtual back end: no windows, a virtual clock, and scripted input. Every test and the simulator run on it,
// so a script and a start time give the same run every time.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/events.h"
#include "platform/timer_queue.h"

class Element;
class Screen;
class TextBox;
class OptionButton;

struct SimStuck : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class SimBackend : public Backend {
 public:
  // Virtual time starts at the given time of day (seconds since midnight). Installs itself.
  explicit SimBackend(double startSecondsOfDay = 12 * 3600.0);
  ~SimBackend() override;

  double Clock() override;
  std::int64_t NowMs() override { return clock_.nowUs / 1000; }
  void Sleep(int ms) override;
  // Only reached when something may be due: the game's own calls return inline while the clock is quiet.
  void DoEvents() override {
    if (watchdogUs_ >= 0 && clock_.nowUs > watchdogUs_) Stuck();
    DispatchPending();
  }
  int MsgBox(const std::string& text, int buttons, const std::string& title) override;
  void ScreenLoaded(Screen& s) override;
  void ScreenUnloaded(Screen& s) override;
  std::uint64_t ClockSeed() override;
  // The random seeds are taken from the virtual time since a moment this much before the start (0: the start), so
  // that runs that start at the same time of day can still draw apart.
  void SetSeedOffsetUs(std::int64_t us) { seedOffsetUs_ = us; }
  VirtualClock* Virtual() override { return &clock_; }

  // Drives the top level: dispatches everything that falls due for this many seconds of virtual time. A handler
  // that is still waiting a minute of virtual time after the end throws SimStuck, so that a test fails, not hangs.
  void RunFor(double seconds);
  // Runs until done() holds (checked after every dispatch) or the time is up; returns done().
  bool RunUntil(const std::function<bool()>& done, double maxSeconds);

  // Virtual time since the start, in seconds and microseconds.
  double Elapsed() const { return static_cast<double>(clock_.nowUs) / 1e6; }
  std::int64_t NowUs() const { return clock_.nowUs; }

  // Scripted input, delivered by the first dispatch at or after the given time (seconds since the start; a time
  // already past means at once). Keys go to the screen shown last.
  void KeyAt(double atSeconds, int keyCode);
  void Key(int keyCode) { KeyAt(Elapsed(), keyCode); }
  void ClickAt(double atSeconds, Element& e);
  void Click(Element& e) { ClickAt(Elapsed(), e); }
  void TypeAt(double atSeconds, TextBox& box, const std::string& text);
  void Type(TextBox& box, const std::string& text) { TypeAt(Elapsed(), box, text); }
  // Any scripted action (a test's stand-in for something the player or the world does), delivered like input.
  void ActAt(double atSeconds, std::function<void()> action) { Schedule(atSeconds, std::move(action)); }
  // A watcher's next look, delivered like input and in the same order as ActAt would give it, but kept in a slot
  // of its own that costs nothing to fill: for a watcher that looks again and again, each look arranging the next
  // (the simulator's player). A watcher has one look pending at most: a new one replaces it.
  void WatchIn(std::int64_t afterUs, void (*look)(void*), void* watcher);
  size_t PendingInput() const { return input_.size() + (watch_.look ? 1 : 0); }

  // Message boxes: scripted answers in order; think time runs the timers (not the input) while the box is open.
  void Answer(int answer, double thinkSeconds = 0);
  // The answer to a Yes/No box when no answer is scripted (OK boxes are always answered OK).
  int defaultYesNo = vbYes;
  struct Box {
    std::string text, title;
    int buttons;
    int answer;
    double at;
  };
  const std::vector<Box>& Boxes() const { return boxes_; }
  void ClearBoxes() { boxes_.clear(); }

  // The screen that receives keys: the last one loaded that is still loaded.
  Screen* KeyTarget() const;

 private:
  struct Input {
    std::int64_t atUs;
    std::uint64_t seq;
    std::function<void()> deliver;
  };
  void Schedule(double atSeconds, std::function<void()> deliver);
  // Input first, then the timers due.
  int DispatchPending() {
    const bool due = modal_ == 0 && ((!input_.empty() && input_.back().atUs <= clock_.nowUs) ||
                                     (watch_.look && watch_.atUs <= clock_.nowUs));
    const int n = due ? DeliverInput() : 0;
    return n + timer_queue::DispatchDueAtUs(clock_.nowUs);
  }
  int DeliverInput();
  // Keeps the clock's quiet time: the next input (unless a box is open) or the watchdog.
  void UpdateQuiet();
  [[noreturn]] static void Stuck();
  std::int64_t NextEventUs() const;

  VirtualClock clock_;
  std::int64_t watchdogUs_ = -1;
  std::int64_t seedOffsetUs_ = 0;
  std::uint64_t seq_ = 0;
  // By due time, latest first; held in one array that is reused, so that input costs no allocation.
  std::vector<Input> input_;
  struct Watch {
    std::int64_t atUs = 0;
    std::uint64_t seq = 0;
    void (*look)(void*) = nullptr;  // none pending
    void* watcher = nullptr;
  } watch_;
  struct Scripted {
    int answer;
    double think;
  };
  std::deque<Scripted> answers_;
  std::vector<Box> boxes_;
  std::vector<Screen*> loaded_;
  int modal_ = 0;
};
