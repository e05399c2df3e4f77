#include "platform/sim/sim_backend.h"

#include <algorithm>
#include <cmath>

#include "platform/events.h"
#include "platform/screen.h"
#include "platform/timer_queue.h"

SimBackend::SimBackend(double startSecondsOfDay) : startSeconds_(startSecondsOfDay) { InstallBackend(this); }

SimBackend::~SimBackend() {
  if (HasBackend() && &CurrentBackend() == this) InstallBackend(nullptr);
}

double SimBackend::Clock() {
  const double t = std::fmod(startSeconds_ + static_cast<double>(nowUs_) / 1e6, 86400.0);
  nowUs_ += kClockQuantumUs;
  return t;
}

void SimBackend::Sleep(int ms) { nowUs_ += static_cast<std::int64_t>(std::max(ms, 0)) * 1000; }

void SimBackend::DoEvents() {
  if (watchdogUs_ >= 0 && nowUs_ > watchdogUs_) throw SimStuck("a wait did not end within a minute after the run");
  DispatchPending();
}

int SimBackend::DispatchPending() {
  int n = 0;
  // Input first, in the order it came; a handler that waits gets the next input nested inside it.
  while (modal_ == 0 && !input_.empty() && input_.front().atUs <= nowUs_) {
    auto deliver = std::move(input_.front().deliver);
    input_.pop_front();
    deliver();
    ++n;
  }
  n += timer_queue::DispatchDue(NowMs());
  return n;
}

std::int64_t SimBackend::NextEventUs() const {
  std::int64_t next = -1;
  if (modal_ == 0 && !input_.empty()) next = input_.front().atUs;
  const std::int64_t due = timer_queue::NextDue();
  if (due >= 0 && (next < 0 || due * 1000 < next)) next = due * 1000;
  return next;
}

void SimBackend::RunFor(double seconds) {
  RunUntil([] { return false; }, seconds);
}

bool SimBackend::RunUntil(const std::function<bool()>& done, double maxSeconds) {
  const std::int64_t end = nowUs_ + static_cast<std::int64_t>(std::llround(maxSeconds * 1e6));
  const std::int64_t outerWatchdog = watchdogUs_;
  watchdogUs_ = end + 60'000'000;
  struct Restore {
    std::int64_t& slot;
    std::int64_t value;
    ~Restore() { slot = value; }
  } restore{watchdogUs_, outerWatchdog};
  for (;;) {
    if (done()) return true;
    if (DispatchPending() > 0) continue;
    if (nowUs_ >= end) return done();
    std::int64_t next = NextEventUs();
    if (next < 0 || next > end) next = end;
    // Something due that did not run (its own tick is still running further up): let time pass.
    nowUs_ = std::max(next, nowUs_ + (next <= nowUs_ ? 1000 : 0));
  }
}

void SimBackend::Schedule(double atSeconds, std::function<void()> deliver) {
  const std::int64_t at = std::max<std::int64_t>(std::llround(atSeconds * 1e6), 0);
  Input in{at, seq_++, std::move(deliver)};
  auto pos = std::upper_bound(input_.begin(), input_.end(), in, [](const Input& a, const Input& b) {
    return a.atUs < b.atUs || (a.atUs == b.atUs && a.seq < b.seq);
  });
  input_.insert(pos, std::move(in));
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
  const std::int64_t end = nowUs_ + static_cast<std::int64_t>(std::llround(think * 1e6));
  while (nowUs_ < end) {
    timer_queue::DispatchDue(NowMs());
    const std::int64_t due = timer_queue::NextDue();
    nowUs_ = (due >= 0 && due * 1000 > nowUs_ && due * 1000 < end) ? due * 1000 : end;
  }
  timer_queue::DispatchDue(NowMs());
  --modal_;
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
  std::uint64_t z = static_cast<std::uint64_t>(nowUs_) + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  nowUs_ += kClockQuantumUs;
  return z ^ (z >> 31);
}
