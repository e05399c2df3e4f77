// Stop control: wherever the stop key is pressed, each reel lands on the first position of its printed stop table
// that comes round, and the symbols on the pay line are the result's. The expected symbols come from the strips.
#include <array>
#include <set>
#include <sstream>
#include <tuple>

#include "core/game_cycle.h"
#include "harness/harness.h"
#include "platform/picture.h"
#include "reels/reels.h"

namespace {

// The row of each reel (left, centre, right) that the pay line of each StopGroup passes: 3 top, 2 middle, 1 bottom.
constexpr int kLineRow[6][3] = {{0, 0, 0}, {3, 3, 3}, {3, 2, 1}, {2, 2, 2}, {1, 2, 3}, {1, 1, 1}};

const std::int16_t* StripOf(int reel) { return reel == 0 ? LeftStrip : reel == 1 ? CentreStrip : RightStrip; }

std::int16_t* const kPos[3] = {&Reels.LeftReelPos, &Reels.CentreReelPos, &Reels.RightReelPos};
std::int16_t* const kOffset[3] = {&Reels.LeftReelOffset, &Reels.CentreReelOffset, &Reels.RightReelOffset};
std::int16_t* const kStopped[3] = {&Reels.LeftReelStopped, &Reels.CentreReelStopped, &Reels.RightReelStopped};
std::int16_t* const kPressed[3] = {&Play.LeftStopPressed, &Play.CentreStopPressed, &Play.RightStopPressed};

class StopControlTest : public MachineTest {
 protected:
  StopControlTest() : MachineTest(true) {}
  void SetUp() override {
    MachineTest::SetUp();
    PixelDrawingOff = true;
  }

  // Spins a reel from a position with its stop key pressed in the position's first tick; returns the number of
  // ticks until it stopped, or -1.
  int SpinAndStop(int reel, int from) {
    *kPos[reel] = static_cast<std::int16_t>(from);
    *kOffset[reel] = 0;
    *kStopped[reel] = 0;
    *kPressed[reel] = 1;
    for (int tick = 1; tick <= 22 * 4; ++tick) {
      ReelTick(reel);
      if (*kStopped[reel] == 1) return tick;
    }
    return -1;
  }
  // The left reel turning at this step from this position and offset, its stop key pressed or not.
  static void LeftReelTurning(int step, int pos, int offset, bool pressed) {
    Reels.ReelStep = static_cast<std::int16_t>(step);
    Reels.LeftReelPos = static_cast<std::int16_t>(pos);
    Reels.LeftReelOffset = static_cast<std::int16_t>(offset);
    Reels.LeftReelStopped = 0;
    Play.LeftStopPressed = pressed;
  }
};

// What each reel must show on the line: the symbol, or (near-miss, right reel) any symbol but this one.
struct Expectation {
  int symbol[3];
  bool rightAvoids;
};

Expectation Expect(int flag, int stage, int pattern) {
  auto all = [](int s) { return Expectation{{s, s, s}, false}; };
  auto byPattern = [](int p) { return p == 2 ? Replay : p == 3 ? Mame : Mofuran; };
  switch (flag) {
    case 1: return stage == 2 ? all(Seven) : all(byPattern(pattern));
    case 2: return all(Replay);
    case 3: return all(Mame);
    case 4: return all(Mofuran);
    default: {
      const int s = byPattern(pattern);
      return Expectation{{s, s, s}, true};
    }
  }
}

// The reel control's stop tables as the machine's documentation prints them: the positions of groups 1 to 5.
using PrintedRow = std::array<const char*, 5>;
constexpr PrintedRow kLeftRows[] = {
    {"7 9 17", "7 9 17", "8 18", "3 9 11 15 19", "3 9 11 15 19"},                        // revealed MC
    {"5 10 18", "5 10 18", "3 6 11 15 19", "4 7 16 20", "4 7 16 20"},                    // replay
    {"4 6 11 16 20", "4 6 11 16 20", "7 17", "6 8 18", "6 8 18"},                        // mame
    {"3 8 15 19", "3 8 15 19", "10 17", "10 17", "10 17"},                               // digital game
    {"5 10 18", "5 10 18", "3 6 11 15 19", "4 7 16 20", "4 7 16 20"},                    // near-miss, pattern 2
    {"4 11 16 20", "4 11 16 20", "5 7 17", "6 8 18", "6 8 18"},                          // pattern 3
    {"3 8 15 19", "3 8 15 19", "4 16 20", "5 10 17", "5 10 17"}};                        // other patterns
constexpr PrintedRow kCentreRows[] = {
    {"4 7 12 17 20", "5 8 13 18 21", "5 8 13 18 21", "5 8 13 18 21", "1 6 9 14 19"},
    {"6 19", "3 7 11 16 20", "3 7 11 16 20", "3 7 11 16 20", "4 8 12 17 21"},
    {"1 5 9 14 18", "6 10 15 19", "6 10 15 19", "6 10 15 19", "3 7 11 16 20"},
    {"3 8 11 13 16 21", "1 4 9 12 14 17", "1 4 9 12 14 17", "1 4 9 12 14 17", "2 10 15"},
    {"2 6 10 15 19", "3 7 11 16 20", "3 7 11 16 20", "3 7 11 16 20", "4 8 12 17 21"},
    {"1 5 9 14 18", "2 6 10 15 19", "2 6 10 15 19", "2 6 10 15 19", "3 7 11 16 20"},
    {"8 16 21", "1 4 9 12 14 17", "1 4 9 12 14 17", "1 4 9 12 14 17", "2 5 10 15 18"}};
constexpr PrintedRow kRightRows[] = {
    {"1 10 17", "3 8 12 17 19", "2 7 11 18", "1 10 17", "3 8 12 17 19"},                 // revealed MC
    {"4 9 13 21", "2 6 11 15 20", "1 5 10 14 19", "4 9 13 21", "2 6 11 15 20"},          // hidden MC, pattern 2
    {"2 5 7 11 14", "4 7 9 13 16", "3 6 8 12 15 20", "2 5 7 11 14 19", "4 7 9 13 16"},   // pattern 3
    {"3 8 12 20", "1 5 10 14", "4 9 13 21", "3 8 12 20", "1 5 10 14"},                   // other patterns
    {"4 9 13 21", "2 6 11 15 20", "1 5 10 14 19", "4 9 13 21", ""},                      // replay
    {"2 5 11 14", "4 9 13 16", "3 6 8 12 15 20", "2 5 11 14 19", "4 9 13 16"},           // mame
    {"3 8 12 20", "1 5 10 14", "4 9 13 21", "3 8 12 20", "1 5 10 14"},                   // digital game
    {"3 5 8 11 16 19", "3 5 12 18 19", "2 6 8 16 18", "3 5 8 11 16 19", "3 5 12 18 19"},  // near-miss, pattern 2
    {"1 6 10 15", "1 2 5 6 10 11 15 18 20", "2 7 11 16 19", "1 6 10 15", "1 2 5 6 10 11 15 18 20"},
    {"4 9 13 21", "2 7 11 16", "1 3 6 8 10 12 15 16 18 20", "4 9 13 21", "2 7 11 16"}};

// The printed row that applies to a reel in a game: a revealed MC, the game's own result, or the near-miss (on the
// right reel an unrevealed MC completes the line of its pattern's kind).
const PrintedRow& RowFor(int reel, int flag, int stage, int pattern) {
  const int byPattern = pattern == 2 ? 0 : pattern == 3 ? 1 : 2;
  if (flag == 1 && stage == 2) return reel == 0 ? kLeftRows[0] : reel == 1 ? kCentreRows[0] : kRightRows[0];
  if (reel == 2) return flag == 1 ? kRightRows[1 + byPattern] : flag >= 2 ? kRightRows[2 + flag] : kRightRows[7 + byPattern];
  const PrintedRow* rows = reel == 0 ? kLeftRows : kCentreRows;
  return flag >= 2 ? rows[flag - 1] : rows[4 + byPattern];
}

// The first position from `from` on, in the order the reel brings them round, that the printed list holds.
int FirstListedFrom(const char* list, int from) {
  std::set<int> listed;
  std::istringstream in(list);
  for (int p; in >> p;) listed.insert(p);
  for (int i = 0; i < 21; ++i) {
    const int p = (from - 1 + i) % 21 + 1;
    if (listed.count(p)) return p;
  }
  return -1;
}

TEST_F(StopControlTest, EveryResultGroupPatternAndKeyPositionLandsOnTheResultsLine) {
  // {flag, reveal stage, stop pattern}
  const std::tuple<int, int, int> cases[] = {{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {0, 0, 3}, {0, 0, 4}, {1, 2, 0},
                                             {1, 1, 0}, {1, 1, 2}, {1, 1, 3}, {1, 1, 4}, {1, 0, 2}, {2, 0, 0},
                                             {3, 0, 0}, {3, 0, 3}, {4, 0, 0}, {4, 0, 4}};
  int checked = 0;
  for (const auto& [flag, stage, pattern] : cases)
    for (int group = 1; group <= 5; ++group) {
      // The lottery never draws a replay on group 5 or a digital game on group 3.
      if ((flag == 2 && group == 5) || (flag == 4 && group == 3)) continue;
      Lottery.GameFlag = static_cast<std::int16_t>(flag);
      Premonition.RevealStage = static_cast<std::int16_t>(stage);
      Lottery.StopPattern = static_cast<std::int16_t>(pattern);
      Lottery.StopGroup = static_cast<std::int16_t>(group);
      const Expectation want = Expect(flag, stage, pattern);
      for (int reel = 0; reel < 3; ++reel)
        for (int from = 1; from <= 21; ++from)
          for (int step : {12, 15, 20, 30}) {
            Reels.ReelStep = static_cast<std::int16_t>(step);
            SCOPED_TRACE(::testing::Message() << "flag " << flag << " stage " << stage << " pattern " << pattern
                                              << " group " << group << " reel " << reel << " from " << from
                                              << " step " << step);
            ASSERT_GT(SpinAndStop(reel, from), 0);
            const int pos = *kPos[reel];
            ASSERT_TRUE(StopAllowed(reel, pos));
            EXPECT_EQ(pos, FirstListedFrom(RowFor(reel, flag, stage, pattern)[group - 1], from));
            const int shown = SymbolAt(StripOf(reel), pos, kLineRow[group][reel]);
            if (reel == 2 && want.rightAvoids)
              EXPECT_NE(shown, want.symbol[2]) << "at " << pos;
            else
              EXPECT_EQ(shown, want.symbol[reel]) << "at " << pos;
            ++checked;
          }
    }
  EXPECT_GT(checked, 15000);
}

TEST_F(StopControlTest, TheReelStopsOnTheFirstAllowedPositionFromTheKey) {
  // A replay on group 1: the centre reel may stop only at 6 and 19.
  Lottery.GameFlag = 2;
  Lottery.StopGroup = 1;
  Reels.ReelStep = 15;
  SpinAndStop(1, 7);
  EXPECT_EQ(Reels.CentreReelPos, 19);
  SpinAndStop(1, 19);
  EXPECT_EQ(Reels.CentreReelPos, 19);
  SpinAndStop(1, 20);  // round past 21 to 6
  EXPECT_EQ(Reels.CentreReelPos, 6);
}

TEST_F(StopControlTest, APositionLastsSixtyPixelsOfTicks) {
  const std::pair<int, int> steps[] = {{12, 4}, {15, 3}, {20, 2}, {30, 1}, {1, 59}};
  for (auto [step, ticks] : steps) {
    LeftReelTurning(step, 5, 0, false);
    int changes = 0, count = 0, last = Reels.LeftReelPos;
    while (changes < 3) {
      ReelTick(0);
      ++count;
      if (Reels.LeftReelPos != last) {
        ++changes;
        last = Reels.LeftReelPos;
        if (changes == 1) count = 0;  // from the first tick of a new position
      }
    }
    EXPECT_EQ(count, 2 * ticks) << "step " << step;
  }
}

TEST_F(StopControlTest, AKeyInThePositionsFirstTickStopsThreeTicksLaterThere) {
  // A mame near-miss on group 4: the left reel stops on 6, 8 or 18.
  Lottery.GameFlag = 0;
  Lottery.StopPattern = 3;
  Lottery.StopGroup = 4;
  LeftReelTurning(12, 5, 48, false);
  ReelTick(0);  // the first tick of position 6
  ASSERT_EQ(Reels.LeftReelPos, 6);
  Play.LeftStopPressed = 1;
  ReelTick(0);
  ReelTick(0);
  EXPECT_EQ(Reels.LeftReelStopped, 0);
  ReelTick(0);
  EXPECT_EQ(Reels.LeftReelStopped, 1);
  EXPECT_EQ(Reels.LeftReelPos, 6);
  // A stopped reel keeps its place however long its timer runs.
  for (int i = 0; i < 50; ++i) ReelTick(0);
  EXPECT_EQ(Reels.LeftReelPos, 6);
}

TEST_F(StopControlTest, AStepChangeInMidPositionSkipsThatPositionsTest) {
  // Mofuran near-miss, group 3: the left reel may stop at 4, 16 or 20.
  Lottery.GameFlag = Lottery.StopPattern = 0;
  Lottery.StopGroup = 3;
  LeftReelTurning(15, 3, 45, true);
  ReelTick(0);  // position 4, offset 15
  ASSERT_EQ(Reels.LeftReelPos, 4);
  Reels.ReelStep = 20;
  ReelTick(0);  // 35
  ReelTick(0);  // 55: past 40, the test of position 4 never comes
  EXPECT_EQ(Reels.LeftReelStopped, 0);
  while (Reels.LeftReelStopped == 0) ReelTick(0);
  EXPECT_EQ(Reels.LeftReelPos, 16);
}

TEST_F(StopControlTest, ALeverOnAt21ShowsPosition22OnceThenOne) {
  Reels.LeftReelPos = 21;
  Reels.CentreReelPos = 5;
  Reels.RightReelPos = 0;
  Form2.Picture5.Visible = true;
  Play.KeyCode = 38;
  Play.BetPlaced = Play.PlayAccepted = 1;
  LeverOnSequence();
  EXPECT_EQ(std::tie(Reels.LeftReelPos, Reels.CentreReelPos, Reels.RightReelPos), std::tuple(22, 6, 2));
  Reels.ReelStep = 15;
  for (int i = 0; i < 3; ++i) ReelTick(0);
  EXPECT_EQ(Reels.LeftReelPos, 22);
  ReelTick(0);
  EXPECT_EQ(Reels.LeftReelPos, 1);
  for (int row = 0; row < 4; ++row) EXPECT_EQ(SymbolAt(LeftStrip, 22, row), SymbolAt(LeftStrip, 1, row));
  EXPECT_FALSE(StopAllowed(0, 22));
}

TEST(ReelStripTest, TheWindowRuleShowsTheRowsAboveThePosition) {
  BuildReelStrips();
  // Left at 9: seven on top, Mofuran in the middle, seven at the bottom; right at 17 the same.
  EXPECT_EQ(std::tuple(SymbolAt(LeftStrip, 9, 3), SymbolAt(LeftStrip, 9, 2), SymbolAt(LeftStrip, 9, 1)),
            std::tuple(Seven, Mofuran, Seven));
  for (int row = 1; row <= 3; ++row) EXPECT_EQ(SymbolAt(RightStrip, 17, row), SymbolAt(LeftStrip, 9, row));
  // Centre at 1: Mame, Mofuran, Seven from top to bottom.
  EXPECT_EQ(std::tuple(SymbolAt(CentreStrip, 1, 3), SymbolAt(CentreStrip, 1, 2), SymbolAt(CentreStrip, 1, 1)),
            std::tuple(Mame, Mofuran, Seven));
  // The four extra entries repeat the first four; cherries only on the left strip.
  for (auto [strip, name] : {std::pair<const std::int16_t*, const char*>{LeftStrip, "left"}, {CentreStrip, "centre"},
                             {RightStrip, "right"}})
    for (int i = 0; i < 4; ++i) EXPECT_EQ(strip[21 + i], strip[i]) << name << " " << i;
  for (int i = 0; i < 25; ++i) {
    EXPECT_NE(CentreStrip[i], Cherry);
    EXPECT_NE(RightStrip[i], Cherry);
  }
}

}  // namespace
