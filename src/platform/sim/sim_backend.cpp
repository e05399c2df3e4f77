#include "platform/sim/sim_backend.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/events.h"
#include "platform/screen.h"
#include "platform/timer_queue.h"

namespace {

// std::llround (halves away from zero) without the library call, for the player's every look at the machine.
std::int64_t Rounded(double x) {
  if (!(std::fabs(x) < 0x1p52)) return std::llround(x);
  std::int64_t whole = static_cast<std::int64_t>(x);
  const double fraction = x - static_cast<double>(whole);  // exact below 2^52
  if (fraction >= 0.5) ++whole;
  if (fraction <= -0.5) --whole;
  return whole;
}

}  // namespace

SimBackend::SimBackend(double startSecondsOfDay) {
  clock_.startSeconds = startSecondsOfDay;
  InstallBackend(this);
}

SimBackend::~SimBackend() {
  if (HasBackend() && &CurrentBackend() == this) InstallBackend(nullptr);
}

double SimBackend::Clock() { return clock_.Read(); }

void SimBackend::Sleep(int ms) { clock_.nowUs += static_cast<std::int64_t>(std::max(ms, 0)) * 1000; }

void SimBackend::UpdateQuiet() {
  std::int64_t quiet = std::numeric_limits<std::int64_t>::max();
  if (watchdogUs_ >= 0) quiet = watchdogUs_ + 1;
  if (modal_ == 0 && !input_.empty()) quiet = std::min(quiet, input_.back().atUs);
  if (modal_ == 0 && watch_.look) quiet = std::min(quiet, watch_.atUs);
  clock_.quietUntilUs = quiet;
}

void SimBackend::Stuck() { throw SimStuck("a wait did not end within a minute after the run"); }

int SimBackend::DeliverInput() {
  int n = 0;
  // In the order it came; a handler that waits gets the next input nested inside it.
  while (modal_ == 0) {
    const bool inputDue = !input_.empty() && input_.back().atUs <= clock_.nowUs;
    const bool watchDue = watch_.look && watch_.atUs <= clock_.nowUs;
    if (watchDue && (!inputDue || watch_.atUs < input_.back().atUs ||
                     (watch_.atUs == input_.back().atUs && watch_.seq < input_.back().seq))) {
      void (*look)(void*) = watch_.look;
      watch_.look = nullptr;
      // Until the look arranges its next, as it mostly does, the quiet time stays at the look just taken: the
      // clock then only asks here sooner.
      look(watch_.watcher);
      if (!watch_.look) UpdateQuiet();
    } else if (inputDue) {
      auto deliver = std::move(input_.back().deliver);
      input_.pop_back();
      UpdateQuiet();
      deliver();
    } else {
      break;
    }
    ++n;
  }
  return n;
}

void SimBackend::WatchIn(std::int64_t afterUs, void (*look)(void*), void* watcher) {
  watch_ = {clock_.nowUs + std::max<std::int64_t>(afterUs, 0), seq_++, look, watcher};
  UpdateQuiet();
}

std::int64_t SimBackend::NextEventUs() const {
  std::int64_t next = -1;
  if (modal_ == 0 && !input_.empty()) next = input_.back().atUs;
  if (modal_ == 0 && watch_.look && (next < 0 || watch_.atUs < next)) next = watch_.atUs;
  const std::int64_t due = timer_queue::NextDue();
  if (due >= 0 && (next < 0 || due * 1000 < next)) next = due * 1000;
  return next;
}

void SimBackend::RunFor(double seconds) {
  RunUntil([] { return false; }, seconds);
}

bool SimBackend::RunUntil(const std::function<bool()>& done, double maxSeconds) {
  const std::int64_t end = clock_.nowUs + static_cast<std::int64_t>(std::llround(maxSeconds * 1e6));
  struct Restore {
    SimBackend& sim;
    std::int64_t value;
    ~Restore() {
      sim.watchdogUs_ = value;
      sim.UpdateQuiet();
    }
  } restore{*this, watchdogUs_};
  watchdogUs_ = end + 60'000'000;
  UpdateQuiet();
  for (;;) {
    if (done()) return true;
    if (DispatchPending() > 0) continue;
    if (clock_.nowUs >= end) return done();
    std::int64_t next = NextEventUs();
    if (next < 0 || next > end) next = end;
    // Something due that did not run (its own tick is still running further up): let time pass.
    clock_.nowUs = std::max(next, clock_.nowUs + (next <= clock_.nowUs ? 1000 : 0));
  }
}


void SimBackend::Schedule(double atSeconds, std::function<void()> deliver) {
  const std::int64_t at = std::max<std::int64_t>(Rounded(atSeconds * 1e6), 0);
  Input in{at, seq_++, std::move(deliver)};
  // Latest first, so that the next one to deliver is at the back; a new input goes before the ones due with it.
  auto pos = std::upper_bound(input_.begin(), input_.end(), in, [](const Input& a, const Input& b) {
    return a.atUs > b.atUs || (a.atUs == b.atUs && a.seq > b.seq);
  });
  input_.insert(pos, std::move(in));
  UpdateQuiet();
}

void SimBackend::KeyAt(double atSeconds, int keyCode) {
  Schedule(atSeconds, [this, keyCode] {
    if (Screen* s = KeyTarget()) s->KeyDown(keyCode, 0);
  });
}

void SimBackend::ClickAt(double atSeconds, Element& e) {
  Schedule(atSeconds, [&e] {
    if (!e.Owner().Loaded() || !e.Visible() || !e.Enabled()) return;
    if (e.Kind() == ElementKind::OptionButton) {
      static_cast<OptionButton&>(e).Value = true;
    } else if (e.OnClick) {
      e.OnClick();
    }
  });
}

void SimBackend::TypeAt(double atSeconds, TextBox& box, const std::string& text) {
  Schedule(atSeconds, [&box, text] {
    if (box.Owner().Loaded() && box.Enabled() && !box.Locked()) box.Text = text;
  });
}

void SimBackend::Answer(int answer, double thinkSeconds) { answers_.push_back({answer, thinkSeconds}); }

int SimBackend::MsgBox(const std::string& text, int buttons, const std::string& title) {
  const bool yesNo = (buttons & 7) == vbYesNo;
  int answer = yesNo ? defaultYesNo : vbOK;
  double think = 0;
  if (!answers_.empty()) {
    answer = answers_.front().answer;
    think = answers_.front().think;
    answers_.pop_front();
    if (!yesNo) answer = vbOK;
  }
  boxes_.push_back({text, title, buttons, answer, Elapsed()});
  // The box stays open for the think time: timers tick, input waits.
  ++modal_;
  UpdateQuiet();
  const std::int64_t end = clock_.nowUs + static_cast<std::int64_t>(std::llround(think * 1e6));
  while (clock_.nowUs < end) {
    timer_queue::DispatchDueAtUs(clock_.nowUs);
    const std::int64_t due = timer_queue::NextDue();
    clock_.nowUs = (due >= 0 && due * 1000 > clock_.nowUs && due * 1000 < end) ? due * 1000 : end;
  }
  timer_queue::DispatchDueAtUs(clock_.nowUs);
  --modal_;
  UpdateQuiet();
  return answer;
}

void SimBackend::ScreenLoaded(Screen& s) {
  loaded_.erase(std::remove(loaded_.begin(), loaded_.end(), &s), loaded_.end());
  loaded_.push_back(&s);
}

void SimBackend::ScreenUnloaded(Screen& s) {
  loaded_.erase(std::remove(loaded_.begin(), loaded_.end(), &s), loaded_.end());
}

Screen* SimBackend::KeyTarget() const { return loaded_.empty() ? nullptr : loaded_.back(); }

std::uint64_t SimBackend::ClockSeed() {
  // The virtual clock's microseconds, mixed so that nearby times give unrelated seeds.
  std::uint64_t z = static_cast<std::uint64_t>(clock_.nowUs) + static_cast<std::uint64_t>(seedOffsetUs_) +
                    0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  clock_.nowUs += VirtualClock::kReadQuantumUs;
  return z ^ (z >> 31);
}
