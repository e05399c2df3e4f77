// The virtual back end and the timer rules the game relies on.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/events.h"
#include "platform/screen.h"
#include "platform/sim/sim_backend.h"
#include "platform/vk.h"

namespace {

class TestScreen : public Screen {
 public:
  TestScreen() : Screen("Test") {}
  Label Label1{this, "Label1"};
  TextBox Text1{this, "Text1"};
  OptionButton Option1{this, "Option1"}, Option2{this, "Option2"};
  CommandButton Command1{this, "Command1"};
  Timer TimerA{this, "TimerA"}, TimerB{this, "TimerB"};

 protected:
  void Design() override {
    ClientWidth = 200;
    ClientHeight = 100;
    Label1.Caption = "design";
    Option1.Value = true;
  }
};

class VirtualBackendTest : public ::testing::Test {
 protected:
  SimBackend sim{10 * 3600.0};
  TestScreen screen;
  std::vector<double> ticksA, ticksB;

  void SetUp() override {
    screen.Load();
    screen.TimerA.OnTick = [this] { ticksA.push_back(sim.Elapsed()); };
    screen.TimerB.OnTick = [this] { ticksB.push_back(sim.Elapsed()); };
  }
};

TEST_F(VirtualBackendTest, TimerTicksEveryIntervalAndStopsAtZero) {
  screen.TimerA.Interval = 100;
  sim.RunFor(0.55);
  ASSERT_EQ(ticksA.size(), 5u);
  EXPECT_NEAR(ticksA[0], 0.1, 1e-3);
  EXPECT_NEAR(ticksA[4], 0.5, 1e-3);
  screen.TimerA.Interval = 0;
  sim.RunFor(1);
  EXPECT_EQ(ticksA.size(), 5u);
}

TEST_F(VirtualBackendTest, EqualIntervalDoesNotRestartTheCountdown) {
  screen.TimerA.Interval = 100;
  sim.RunFor(0.06);
  screen.TimerA.Interval = 100;  // the same value: the countdown goes on
  sim.RunFor(0.05);
  ASSERT_EQ(ticksA.size(), 1u);
  EXPECT_NEAR(ticksA[0], 0.1, 1e-3);

  screen.TimerB.Interval = 100;
  sim.RunFor(0.06);
  const double restarted = sim.Elapsed();
  screen.TimerB.Interval = 200;  // another value restarts it from now
  sim.RunFor(0.15);
  EXPECT_TRUE(ticksB.empty());
  sim.RunFor(0.06);
  ASSERT_EQ(ticksB.size(), 1u);
  EXPECT_NEAR(ticksB[0], restarted + 0.2, 2e-3);
}

// Timers due at the same moment tick in the order they were made, however their intervals were set, and one
// restarted from inside a tick takes its place by its new due time.
TEST_F(VirtualBackendTest, TimersDueTogetherTickInTheOrderTheyWereMade) {
  std::vector<char> order;
  screen.TimerA.OnTick = [&] { order.push_back('A'); };
  screen.TimerB.OnTick = [&] {
    order.push_back('B');
    if (order.size() == 2) screen.TimerA.Interval = 30;  // restarted from now: due 30 ms after this tick
  };
  screen.TimerB.Interval = 100;
  screen.TimerA.Interval = 100;
  sim.RunFor(0.101);
  EXPECT_EQ(order, (std::vector<char>{'A', 'B'}));
  sim.RunFor(0.03);
  EXPECT_EQ(order, (std::vector<char>{'A', 'B', 'A'}));

  // However many timers were made and gone since, a new one due with an old one ticks after it: make them until
  // the order numbers run past the bits they are kept in, where a wrapped number would put the new one first.
  screen.TimerA.Interval = 0;
  screen.TimerB.Interval = 0;
  const std::uint64_t old = screen.TimerB.queueOrder;
  std::uint64_t last = old;
  for (;;) {
    auto late = std::make_unique<TestScreen>();
    const std::uint64_t made = late->TimerA.queueOrder;
    if (made < last || (made & 0xFFFF) < (old & 0xFFFF)) {
      late->Load();
      late->TimerA.OnTick = [&] { order.push_back('N'); };
      order.clear();
      late->TimerA.Interval = 50;
      screen.TimerB.Interval = 50;
      sim.RunFor(0.051);
      EXPECT_EQ(order, (std::vector<char>{'B', 'N'}));
      break;
    }
    last = made;
  }
}

// A timer restarted to a later due time moves back past every timer due before it, however far.
TEST_F(VirtualBackendTest, ATimerRestartedLaterTicksAfterEveryTimerDueBeforeIt) {
  TestScreen other;
  other.Load();
  other.TimerA.Interval = 50;
  other.TimerB.Interval = 100;
  screen.TimerA.Interval = 200;
  screen.TimerB.Interval = 400;
  other.TimerA.Interval = 300;  // from the first due to the third
  sim.RunFor(0.25);
  ASSERT_EQ(ticksA.size(), 1u);
  EXPECT_NEAR(ticksA[0], 0.2, 1e-3);
}

TEST_F(VirtualBackendTest, ShortestPeriodIsSixteenMilliseconds) {
  screen.TimerA.Interval = 1;
  sim.RunFor(1.0);
  EXPECT_GE(ticksA.size(), 60u);
  EXPECT_LE(ticksA.size(), 63u);
  for (size_t i = 1; i < ticksA.size(); ++i) EXPECT_GE(ticksA[i] - ticksA[i - 1], 0.016 - 1e-9);
}

TEST_F(VirtualBackendTest, ATickNeverNestsInItselfButOtherTimersAndKeysRunInsideIt) {
  int depth = 0, maxDepth = 0, keysInside = 0;
  bool waiting = false;
  screen.OnKeyDown = [&](int key, int) {
    if (waiting && key == vkLeft) ++keysInside;
  };
  screen.TimerA.OnTick = [&] {
    ticksA.push_back(sim.Elapsed());
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    if (ticksA.size() == 1) {
      // The first tick waits half a second, processing events.
      waiting = true;
      const double until = sim.Elapsed() + 0.5;
      while (sim.Elapsed() < until) {
        DoEvents();
        Sleep(2);
      }
      waiting = false;
    }
    --depth;
  };
  screen.TimerA.Interval = 20;
  screen.TimerB.Interval = 50;
  sim.KeyAt(0.2, vkLeft);
  sim.RunFor(0.6);
  EXPECT_EQ(maxDepth, 1);
  EXPECT_EQ(keysInside, 1);
  // TimerB kept ticking during the wait.
  EXPECT_GE(ticksB.size(), 9u);
  // Missed ticks of TimerA were not queued: one tick right after the wait, then the normal rhythm.
  ASSERT_GE(ticksA.size(), 2u);
  EXPECT_NEAR(ticksA[1], 0.52, 0.003);
  const size_t expected = 2 + static_cast<size_t>((0.6 - ticksA[1]) / 0.02 + 0.5);
  EXPECT_EQ(ticksA.size(), expected);
}

TEST_F(VirtualBackendTest, MissedTicksAreNotQueuedAfterABusyHandler) {
  int count = 0;
  screen.TimerA.OnTick = [&] {
    if (++count == 1) Sleep(300);  // blocks without processing events
  };
  screen.TimerA.Interval = 20;
  sim.RunFor(0.35);
  // Ticks at 0.02 (which blocks until 0.32), one late tick at 0.32, then 0.34: not the fifteen missed ones.
  EXPECT_EQ(count, 3);
}

// A stuck run fails a test by throwing out of a tick: the next run in the same program still has every timer.
TEST_F(VirtualBackendTest, ATickThatThrowsLeavesItsTimerAndTheOthersTicking) {
  screen.TimerA.OnTick = [this] {
    ticksA.push_back(sim.Elapsed());
    if (ticksA.size() == 1) throw SimStuck("stuck");
  };
  screen.TimerA.Interval = 20;
  screen.TimerB.Interval = 20;  // due with A, after it
  EXPECT_THROW(sim.RunFor(0.05), SimStuck);
  EXPECT_TRUE(ticksB.empty());
  sim.RunFor(0.1);
  EXPECT_EQ(ticksA.size(), 6u);  // 0.02, then 0.04 .. 0.12
  EXPECT_GE(ticksB.size(), 5u);
  // And the quiet passes of a wait end at the next tick, not later.
  const size_t before = ticksA.size();
  for (int pass = 0; pass < 11; ++pass) {
    DoEvents();
    Sleep(2);
  }
  EXPECT_EQ(ticksA.size(), before + 1);
}

TEST_F(VirtualBackendTest, UnloadedScreenStopsItsTimers) {
  screen.TimerA.Interval = 50;
  sim.RunFor(0.12);
  screen.Unload();
  sim.RunFor(0.5);
  EXPECT_EQ(ticksA.size(), 2u);
  EXPECT_EQ(screen.TimerA.Interval(), 0);
}

TEST_F(VirtualBackendTest, MessageBoxesAreRecordedAndTimersTickWhileOneIsOpen) {
  screen.TimerA.Interval = 100;
  sim.Answer(vbNo, 0.35);
  EXPECT_EQ(MsgBox("換金して終了しますか？", vbYesNo, "終了しますか？"), vbNo);
  EXPECT_EQ(ticksA.size(), 3u);
  EXPECT_EQ(MsgBox("破産しますた・・・。"), vbOK);
  EXPECT_EQ(MsgBox("ok?", vbYesNo + vbExclamation, "注意！"), vbYes);  // unscripted Yes/No boxes say Yes
  ASSERT_EQ(sim.Boxes().size(), 3u);
  EXPECT_EQ(sim.Boxes()[0].text, "換金して終了しますか？");
  EXPECT_EQ(sim.Boxes()[0].title, "終了しますか？");
  EXPECT_EQ(sim.Boxes()[0].buttons, vbYesNo);
  EXPECT_EQ(sim.Boxes()[1].title, AppTitle());
  EXPECT_EQ(sim.Boxes()[2].buttons, vbYesNo + vbExclamation);
  // Late in a run as at its start, the timers tick on time behind an open box.
  screen.TimerA.Interval = 20;
  sim.RunFor(40);
  ticksA.clear();
  sim.Answer(vbOK, 0.21);
  const double opened = sim.Elapsed();
  MsgBox("閉店です。");
  EXPECT_NEAR(sim.Elapsed() - opened, 0.21, 1e-9);  // answered after its think time, not at a tick after it
  ASSERT_EQ(ticksA.size(), 10u);
  for (size_t i = 1; i < ticksA.size(); ++i) EXPECT_NEAR(ticksA[i] - ticksA[i - 1], 0.02, 1e-9) << "tick " << i;
}

TEST_F(VirtualBackendTest, KeysGoToTheLastLoadedScreenInTheirOrder) {
  std::vector<int> keys;
  screen.OnKeyDown = [&](int key, int) { keys.push_back(key); };
  for (auto [at, key] : {std::pair{0.3, vkRight}, {0.1, vkUp}, {0.1, vkDown}}) sim.KeyAt(at, key);
  sim.RunFor(0.2);
  EXPECT_EQ(keys, (std::vector<int>{vkUp, vkDown}));
  sim.RunFor(0.2);
  EXPECT_EQ(keys.back(), vkRight);
  // A screen shown over it takes the keys until it is closed.
  TestScreen front;
  std::vector<int> frontKeys;
  front.OnKeyDown = [&](int key, int) { frontKeys.push_back(key); };
  front.Load();
  sim.Key(vkLeft);
  sim.RunFor(0.1);
  front.Unload();
  sim.Key(vkEscape);
  sim.RunFor(0.1);
  EXPECT_EQ(frontKeys, (std::vector<int>{vkLeft}));
  EXPECT_EQ(keys.back(), vkEscape);
}

TEST_F(VirtualBackendTest, AKeysTimeIsTakenToTheNearestMicrosecondAHalfUp) {
  std::int64_t deliveredUs = -1;
  screen.OnKeyDown = [&](int, int) { deliveredUs = sim.NowUs(); };
  sim.KeyAt(0.1000005, vkUp);  // 100000.5 us, as std::llround rounds it
  sim.RunFor(0.2);
  EXPECT_EQ(deliveredUs, 100001);
}

// A watcher's look and a key due at the same moment come in the order they were arranged.
TEST_F(VirtualBackendTest, ALookAndAKeyDueTogetherComeInTheOrderTheyWereArranged) {
  std::vector<std::string> seen;
  screen.OnKeyDown = [&](int, int) { seen.push_back("key"); };
  auto look = [](void* into) { static_cast<std::vector<std::string>*>(into)->push_back("look"); };
  sim.KeyAt(0.1, vkUp);
  sim.WatchIn(100'000, look, &seen);
  sim.RunFor(0.2);
  sim.WatchIn(100'000, look, &seen);
  sim.KeyAt(sim.Elapsed() + 0.1, vkUp);
  sim.RunFor(0.2);
  EXPECT_EQ(seen, (std::vector<std::string>{"key", "look", "look", "key"}));
}

TEST_F(VirtualBackendTest, ClockStartsAtTheChosenTimeAndReturnsToZeroAtMidnight) {
  EXPECT_NEAR(Clock(), 36000.0, 1e-3);
  SimBackend late{86399.5};
  EXPECT_NEAR(Clock(), 86399.5, 1e-3);
  late.RunFor(1.0);
  EXPECT_NEAR(Clock(), 0.5, 1e-3);
}

TEST_F(VirtualBackendTest, SameScriptGivesTheSameRun) {
  auto run = [] {
    SimBackend s{5000.0};
    std::vector<std::uint64_t> seeds;
    s.RunFor(0.25);
    seeds.push_back(ClockSeed());
    Sleep(3);
    seeds.push_back(ClockSeed());
    return seeds;
  };
  const auto a = run();
  EXPECT_EQ(a, run());
  EXPECT_NE(a[0], a[1]);
}

TEST_F(VirtualBackendTest, ElementsStartWithDesignValuesAtEveryLoad) {
  screen.Label1.Caption = "changed";
  screen.Option2.Value = true;
  EXPECT_FALSE(screen.Option1.Value());
  // What the design leaves alone starts from the defaults again, the caption included.
  screen.Text1.Enabled = false;
  screen.Text1.Visible = false;
  screen.Text1.FontBold = true;
  screen.SetCaption("while playing");
  screen.Unload();
  screen.Load();
  EXPECT_EQ(screen.Label1.Caption(), "design");
  EXPECT_TRUE(screen.Option1.Value());
  EXPECT_FALSE(screen.Option2.Value());
  EXPECT_TRUE(screen.Text1.Enabled());
  EXPECT_TRUE(screen.Text1.Visible());
  EXPECT_FALSE(screen.Text1.FontBold());
  EXPECT_EQ(screen.Caption(), "");
  EXPECT_EQ(screen.Find("Command1"), &screen.Command1);
}

TEST_F(VirtualBackendTest, ScriptedClicksAndTypingReachTheirHandlers) {
  int clicks = 0, optionClicks = 0, changes = 0;
  screen.Command1.OnClick = [&] { ++clicks; };
  screen.Option2.OnClick = [&] { ++optionClicks; };
  screen.Text1.OnChange = [&] { ++changes; };
  sim.ClickAt(0.1, screen.Command1);
  sim.ClickAt(0.2, screen.Option2);
  sim.TypeAt(0.3, screen.Text1, "もふ");
  screen.Command1.Enabled = true;
  sim.RunFor(0.5);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(optionClicks, 1);
  EXPECT_TRUE(screen.Option2.Value());
  EXPECT_FALSE(screen.Option1.Value());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(screen.Text1.Text(), "もふ");
  // A button the player cannot see or use takes no click, as on the screen.
  screen.Command1.Visible = false;
  sim.Click(screen.Command1);
  sim.RunFor(0.1);
  screen.Command1.Visible = true;
  screen.Command1.Enabled = false;
  sim.Click(screen.Command1);
  sim.RunFor(0.1);
  EXPECT_EQ(clicks, 1);
}

// A wait on the virtual clock that lets its quiet passes go by at once ends on the same clock reading, with the
// same ticks and the same nesting, as the plain loop of passes: with and without events, across midnight.
TEST(WaitOnClockTest, EndsWhereThePlainLoopEnds) {
  // Where a wait ended: the clock reading in microseconds, the ticks and the deepest nesting.
  using End = std::tuple<std::int64_t, int, int>;
  for (const double start : {36000.0, 86399.95})
    for (const int ms : {1, 2})
      for (const bool events : {false, true}) {
        auto run = [&](bool passByPass) {
          SimBackend sim{start};
          TestScreen screen;
          screen.Load();
          int ticks = 0;
          screen.TimerA.OnTick = [&] { ++ticks; };
          screen.TimerA.Interval = 16;
          sim.ActAt(0.1, [] {});
          ResetMaxEventDepth();
          const float begun = static_cast<float>(Clock());
          auto done = [begun](double clock) {
            float elapsed = static_cast<float>(clock) - begun;
            if (elapsed < 0) elapsed += 86400.0f;
            return !(elapsed < 0.25f);
          };
          if (passByPass) {
            for (;;) {
              if (done(Clock())) break;
              if (events) DoEvents();
              Sleep(ms);
            }
          } else {
            WaitOnClock(ms, events, done);
          }
          return End{sim.NowUs(), ticks, MaxEventDepth()};
        };
        const End a = run(true), b = run(false);
        EXPECT_EQ(a, b) << "start " << start << ", " << ms << " ms, events " << events << ": " << std::get<0>(a)
                        << " against " << std::get<0>(b);
        if (events) {
          EXPECT_GT(std::get<1>(a), 10);
        }
      }
}

}  // namespace
