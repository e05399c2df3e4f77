// Three hours of virtual play under random key storms: every key of the machine held and hammered, days ended
// and begun. At every game end nothing may have crashed, waits must stay shallow and money must add up; a closed
// screen leaves no timer.
#include <random>

#include "harness/harness.h"
#include "machine/play_stats.h"
#include "platform/events.h"
#include "platform/picture.h"

namespace {

constexpr int kKeys[] = {vkUp, vkLeft, vkDown, vkRight, vkControl, vkEscape, '1', '2', '3', '4',
                         '5', '6', '7', 'R', 'T', 'U', 'Y', vkF6, vkF8};

class SoakTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    PixelDrawingOff = true;
    sim->defaultYesNo = vbNo;  // Esc is answered No unless a day is meant to end
  }

  // Money on hand plus the coins at 20 yen, in yen.
  static std::int64_t Worth() { return LabelMoney().units / 10000 + 20LL * LabelNumber(Form2.Credits.Caption()); }

  // Schedules an hour of storms from now; checks run every second, from inside whatever waits at that moment.
  void ScheduleHour(std::mt19937& rng) {
    const double start = sim->Elapsed();
    std::uniform_real_distribution<double> unit(0, 1);
    double t = start;
    while (t < start + 3600 - 5) {
      const double r = unit(rng);
      if (r < 0.55) {  // a game played in a random stop order
        sim->KeyAt(t, vkUp);
        int stops[3] = {vkLeft, vkDown, vkRight};
        std::shuffle(stops, stops + 3, rng);
        double s = t + 0.3 + unit(rng) * 0.6;
        for (int k : stops) sim->KeyAt(s += unit(rng) * 0.4, k);
        t = s + 0.2 + unit(rng);
      } else if (r < 0.65) {  // a key held down: its auto-repeat
        const int key = kKeys[rng() % std::size(kKeys)];
        if (key == vkEscape) continue;
        const int repeats = 20 + static_cast<int>(rng() % 180);
        for (int i = 0; i < repeats; ++i) sim->KeyAt(t + 0.033 * i, key);
        t += 0.033 * repeats + 0.1;
      } else if (r < 0.8) {  // hammering on everything
        for (int i = 0; i < 30; ++i) sim->KeyAt(t += 0.005 + unit(rng) * 0.1, kKeys[rng() % std::size(kKeys)]);
      } else if (r < 0.85) {  // the proxy asked in and sent away (with or without a contract, by the day)
        sim->KeyAt(t, vkF6);
        t += 5 + unit(rng) * 20;
        sim->KeyAt(t, vkF6);
      } else {
        sim->KeyAt(t, kKeys[rng() % std::size(kKeys)]);
        t += unit(rng) * 0.5;
      }
    }
    // The storm ends with the three stops, so that no stop is left waiting for the others.
    StopsAt(start + 3600 - 3, 0.5);
    for (double c = start + 1; c < start + 3600; c += 1) sim->ActAt(c, [this] { Check(); });
    // The day ends inside the hour: a last result flashes until the next game, or until the screen closes.
    sim->ActAt(start + 3600 - 0.6, [this] {
      if (Play.ProxyActive == 1) sim->Key(vkF6);
    });
    sim->ActAt(start + 3600 - 0.5, [this] {
      sim->Answer(vbYes);
      sim->Key(vkEscape);
    });
  }

  void Check() {
    ++checks;
    ASSERT_EQ(Worth() - worth0, 20 * (Stats.CoinsOut - Stats.CoinsIn)) << "at " << sim->Elapsed();
  }

  // Looks at the machine every 20 ms from inside whatever waits: a game has ended when its reels, seen turning,
  // have all stopped.
  void WatchGameEnds() {
    if (!Form2.Loaded()) return;
    if (!AllReelsStopped()) {
      spinning = true;
    } else if (spinning) {
      spinning = false;
      ++gameEnds;
      Check();
      EXPECT_LE(EventDepth(), kDepthBound) << "at " << sim->Elapsed();
    }
    sim->ActAt(sim->Elapsed() + 0.02, [this] { WatchGameEnds(); });
  }

  void BeginDay(float contract) {
    Record.ProxyContract = contract;
    OpenDay();
    worth0 = Worth();
    Stats = PlayStats{};
    spinning = false;
    WatchGameEnds();
  }

  void EndDay() {
    sim->RunFor(0.5);
    ASSERT_FALSE(Form2.Loaded());
    for (Element* e : Form2.Elements()) {
      if (e->Kind() != ElementKind::Timer) continue;
      EXPECT_EQ(static_cast<Timer*>(e)->Interval(), 0) << e->Name();
    }
    EXPECT_EQ(EventDepth(), 0);
    Record.Savings = Currency::FromYen(200000);  // the next day's savings (an unnamed player saves nothing)
  }

  // Each accepted stop nests one wait, a lever-on one pass inside it. A result's flashing holds the last stop
  // until the next lever-on, and the outer stops wait on through the next game: a run of results nests two waits
  // a game, until a game without a flashing (no result, or an MC replay's early end) unwinds them all.
  static constexpr int kDepthBound = 80;

  std::int64_t worth0 = 0;
  int checks = 0, gameEnds = 0;
  bool spinning = false;
};

TEST_F(SoakTest, ThreeHoursOfKeyStorms) {
  std::mt19937 rng(20261209);
  const auto games0 = Play.TotalGames;
  for (int hour = 0; hour < 3; ++hour) {
    BeginDay(hour == 0 ? 0.0f : hour == 1 ? 100.0f : 1000.0f);
    ResetMaxEventDepth();
    ScheduleHour(rng);
    sim->RunFor(3600);
    EXPECT_LE(MaxEventDepth(), kDepthBound) << "hour " << hour;
    EXPECT_EQ(EventDepth(), 0);
    sim->defaultYesNo = vbNo;
    EndDay();
  }
  EXPECT_GT(checks, 3 * 3500);
  EXPECT_GT(Play.TotalGames - games0, 300);
  // The proxy player's games count without the reels being seen to turn; the rest were checked at their end.
  EXPECT_GT(gameEnds, 300);
}

}  // namespace
