// The digital display: the targets of digital games and of premonitions, and how long each window rolls.
#include <set>
#include <tuple>

#include "harness/harness.h"
#include "lottery/digital_display.h"

namespace {

const std::set<std::string> kPremiumReaches = {"117", "225", "441", "559", "667", "775", "883", "991"};
const std::set<std::string> kPremiumNoReaches = {"010", "101", "232", "323", "454", "545", "676", "767", "898", "989",
                                                 "012", "123", "234", "345", "456", "567", "678", "789", "890", "901"};

std::string Padded(int n, int width) {
  std::string s = std::to_string(n);
  return std::string(width - std::min<int>(width, s.size()), '0') + s;
}

bool Match(const std::string& t) { return t[0] == t[1] && t[1] == t[2]; }
bool Ascending(const std::string& t) { return t[1] == t[0] + 1 && t[2] == t[1] + 1; }

// The cell of the digit strip that shows a digit: 1..5 on the top row, 6..9 and 0 below.
QImage DigitCell(int d) {
  const int i = d == 0 ? 9 : d - 1;
  return Form2.Picture38.Image.copy(2 + 18 * (i % 5), 28 * (i / 5), 18, 26);
}

int TicksToStop(void (*tick)(), Timer& timer) {
  for (int n = 1; n <= 400; ++n) {
    tick();
    if (timer.Interval() == 0) return n;
  }
  return -1;
}

TEST_F(PresentationTest, DigitalGamesNeverShowAPremiumPattern) {
  Lottery.GameFlag = 4;
  std::set<std::string> reaches, noReaches;
  for (int i = 0; i < 100000; ++i) {
    ReachDegime();
    const std::string r = Presentation.DigitalTarget;
    ASSERT_EQ(r.size(), 3u);
    ASSERT_TRUE(r[0] == r[1] && !Match(r) && !kPremiumReaches.count(r)) << r;
    reaches.insert(r);
    UnReachDegime();
    const std::string u = Presentation.DigitalTarget;
    ASSERT_TRUE(u.size() == 3 && u[0] != u[1] && !Ascending(u)) << u;
    noReaches.insert(u);
  }
  // Exactly the patterns the rules leave show up, each worked out here from the rules for every draw.
  std::set<std::string> wantReaches, wantNoReaches;
  const std::set<int> movedOn = {9, 11, 17, 22, 25, 33, 41, 44, 55, 59, 67, 75, 77, 83, 88, 91};
  for (int c = 1; c <= 98; ++c) {
    const int shown = movedOn.count(c) ? c + 1 : c == 66 ? 68 : c;
    wantReaches.insert(Padded(shown, 2).substr(0, 1) + Padded(shown, 2));
  }
  for (int n = 0; n <= 999; ++n) {
    int m = n;
    if (Padded(m, 3)[0] == Padded(m, 3)[1]) m = m >= 200 ? m - 200 : m + 200;
    if (m % 3 == 0) continue;  // drawn again
    if (m == 10) m = 19;
    for (int pair : {101, 323, 545, 767, 989})
      if (m == pair) m -= 2;
    for (int pair : {232, 454, 676, 898})
      if (m == pair) m -= 1;
    const std::string d = Padded(m, 3);
    if (d[0] + d[1] + d[2] - 3 * '0' == 19) ++m;
    wantNoReaches.insert(Padded(m, 3));
  }
  EXPECT_EQ(reaches, wantReaches);
  EXPECT_EQ(noReaches, wantNoReaches);
  EXPECT_EQ(reaches.size(), 81u);
}

TEST_F(PresentationTest, PremonitionsDrawThePremiumPatternsAndMatchesAnyDigit) {
  Lottery.GameFlag = 1;
  constexpr int kDraws = 100000;
  long premiumReach = 0, premiumNoReach = 0, zeros = 0, nines = 0;
  for (int i = 0; i < kDraws; ++i) {
    ReachDegime();
    const std::string r = Presentation.DigitalTarget;
    ASSERT_TRUE(r[0] == r[1] && !Match(r)) << r;
    premiumReach += kPremiumReaches.count(r);
    UnReachDegime();
    const std::string u = Presentation.DigitalTarget;
    ASSERT_TRUE(!Match(u) || u == "000") << u;
    premiumNoReach += kPremiumNoReaches.count(u);
    SoroiDegime();
    ASSERT_TRUE(Match(Presentation.DigitalTarget)) << Presentation.DigitalTarget;
    zeros += Presentation.DigitalTarget == "000";
    nines += Presentation.DigitalTarget == "999";
  }
  // A match of any digit, 0 and 9 each half as often as the others.
  ExpectShare(zeros, kDraws, 1.0 / 18, "000 matches");
  ExpectShare(nines, kDraws, 1.0 / 18, "999 matches");
  // The premium draw, plus the reaches and no-reaches that land on a premium pattern by themselves.
  ExpectShare(premiumReach, kDraws, 8.0 / 13 + 5.0 / 13 * 8 / 97, "premium reaches");
  ExpectShare(premiumNoReach, kDraws, 19.5 / 25 + 5.5 / 25 * 28.5 / 999, "premium no-reaches");
}

TEST_F(PresentationTest, EachWindowRollsItsLengthThenShowsItsTargetDigit) {
  // {digital speed, outcome, bell cue, ticks of the left, centre and right windows}
  const std::tuple<float, int, int, int, int, int> cases[] = {
      {1, 1, 0, 10, 20, 117}, {1, 2, 0, 10, 20, 44},  {1, 3, 0, 10, 20, 35},   {1, 10, 0, 10, 20, 291},
      {1, 0, 5, 10, 20, 44},  {1, 0, 6, 10, 20, 117}, {1, 0, 9, 10, 20, 291},  {20, 1, 0, 1, 17, 41},
      {20, 2, 0, 1, 17, 16},  {20, 3, 0, 1, 17, 16},  {20, 10, 0, 1, 17, 101}, {20, 0, 0, 1, 17, 101}};
  Lottery.GameFlag = 4;
  for (const auto& [speed, outcome, bellCue, left, centre, right] : cases) {
    const std::string what = "speed " + std::to_string(speed) + " outcome " + std::to_string(outcome);
    Record.DigitalSpeed = speed;
    Play.DigitalSpeedSteps = CInt(speed);
    Presentation.DigitalOutcome = static_cast<std::int16_t>(outcome);
    Presentation.BellCue = static_cast<std::int16_t>(bellCue);
    Mc.FanfareStreak = 0;
    UnReachDegime();
    EXPECT_EQ(Form2.Timer11.Interval(), speed == 1 ? 20 : 12) << what;
    EXPECT_EQ(TicksToStop(Timer9_Tick, Form2.Timer9), left) << what;
    EXPECT_EQ(TicksToStop(Timer10_Tick, Form2.Timer10), centre) << what;
    EXPECT_EQ(TicksToStop(Timer11_Tick, Form2.Timer11), right) << what;
    const std::string target = Presentation.DigitalTarget;
    PictureBox* windows[] = {&Form2.Picture37, &Form2.Picture40, &Form2.Picture41};
    for (int w = 0; w < 3; ++w) {
      EXPECT_TRUE(windows[w]->Visible());
      EXPECT_EQ(windows[w]->Image, DigitCell(target[w] - '0')) << what << " window " << w;
    }
    EXPECT_EQ(Presentation.DigitalOutcome, 0) << what;
    // The special event's match starts a fanfare streak.
    EXPECT_EQ(Mc.FanfareStreak, outcome == 10 ? 1 : 0) << what;
  }
  // A premonition's tease never stops: the left counter wraps after 11 (the 12th tick shows 0, the 13th 1).
  Presentation.DigitalTease = 1;
  UnReachDegime();
  for (int n = 1; n <= 300; ++n) {
    Timer9_Tick();
    if (n == 13) {
      EXPECT_EQ(Form2.Picture37.Image, DigitCell(1));
    }
  }
  EXPECT_NE(Form2.Timer9.Interval(), 0);
}

}  // namespace
