#include "lottery/digital_display.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/play_state.h"
#include "machine/player_record.h"
#include "machine/random.h"
#include "platform/convert.h"
#include "platform/picture.h"

namespace {

constexpr int kDigitalGame = 4;
// The ground each digit is drawn on: the system window colour.
constexpr Colour kWindowColour = 0xFFFFFF;
constexpr int kCellW = 18, kCellH = 28;

// Digital-game reaches that would show a premium pattern move one on: the repdigit pairs and 117, 225, 441,
// 559, 667, 775, 883, 991 (and 009).
constexpr int kPlainReachShifted[] = {9, 11, 17, 22, 25, 33, 41, 44, 55, 59, 67, 75, 77, 83, 88, 91};
// A premonition reach draws the premium reaches instead, by k = RandomInt(13) (0: keep the drawn reach).
constexpr int kPremiumReach[14] = {0, 17, 25, 0, 41, 59, 67, 75, 83, 91, 0, 0, 0, 0};
// A premonition no-reach draws the mirrored and the ascending patterns, by k = RandomInt(25) (k 0..19).
constexpr int kPremiumUnReach[20] = {10,  101, 232, 323, 454, 545, 676, 767, 898, 989,
                                     12,  123, 234, 345, 456, 567, 678, 789, 890, 901};

std::int16_t Counters[3];

template <size_t N>
bool OneOf(const int (&values)[N], int v) {
  return std::find(std::begin(values), std::end(values), v) != std::end(values);
}

std::string Digits(int n, int width) {
  std::string s = std::to_string(n);
  return std::string(static_cast<size_t>(std::max(0, width - static_cast<int>(s.size()))), '0') + s;
}

PictureBox& WindowOf(int w) { return w == 0 ? Form2.Picture37 : w == 1 ? Form2.Picture40 : Form2.Picture41; }
Timer& TimerOf(int w) { return w == 0 ? Form2.Timer9 : w == 1 ? Form2.Timer10 : Form2.Timer11; }

void StartWindows() {
  Counters[0] = Counters[1] = Counters[2] = 0;
  const int interval = CInt(20 - 2.0 * Play.DigitalSpeedSteps / 5);
  for (int w = 0; w < 3; ++w) TimerOf(w).Interval = interval;
}

// The digit strip holds 1 2 3 4 5 on its top row and 6 7 8 9 0 below; any counter outside 1..9 shows the 0.
void DrawCounter(int w, int counter) {
  int sx = 74, sy = 28;
  if (counter >= 1 && counter <= 5) {
    sx = 2 + 18 * (counter - 1);
    sy = 0;
  } else if (counter >= 6 && counter <= 9) {
    sx = 2 + 18 * (counter - 6);
  }
  PictureBox& window = WindowOf(w);
  window.Visible = true;
  window.BackColor = kWindowColour;
  if (PixelDrawingOff) return;
  window.SetPicture(QImage());
  BitBlt(window, 0, 0, kCellW, kCellH, Form2.Picture38, sx, sy, SRCAND);
  window.Refresh();
}

int TargetDigit(int w) {
  const std::string& target = Presentation.DigitalTarget;
  const char c = static_cast<size_t>(w) < target.size() ? target[static_cast<size_t>(w)] : '0';
  return (c >= '0' && c <= '9') ? c - '0' : 0;
}

// The right window rolls on longest: its length tells the outcome before it stops.
double RightLimit() {
  const int speed = Play.DigitalSpeedSteps;
  const double strong = 120 - 4 * speed, weak = 45 - 1.5 * speed, longest = 300 - 10 * speed;
  switch (Presentation.DigitalOutcome) {
    case 0:
      return Presentation.BellCue == 5 ? weak : Presentation.BellCue == 6 ? strong : longest;
    case 1:
      return strong;
    case 2:
      return weak;
    case 10:
      return longest;
    default:
      return 35 - speed;
  }
}

// One roll step: the counter moves on and is drawn; past its limit the window settles on its target digit. A
// premonition's tease never settles: its counters wrap round instead.
void WindowTick(int w, double limit, int wrapAfter) {
  std::int16_t& counter = Counters[w];
  counter += 1;
  if (Presentation.DigitalTease == 1) {
    if (counter > wrapAfter) counter = 0;
  } else if (counter > limit) {
    counter = static_cast<std::int16_t>(TargetDigit(w));
    TimerOf(w).Interval = 0;
    if (w == 2) Presentation.DigitalOutcome = 0;
  }
  DrawCounter(w, counter);
}

}  // namespace

void SoroiDegime() {
  const int d = RandomInt(9);
  Presentation.DigitalTarget = std::string(3, static_cast<char>('0' + d));
  StartWindows();
}

void ReachDegime() {
  int c = CInt(97 * Uniform() + 1);
  if (Lottery.GameFlag == kDigitalGame) {
    if (OneOf(kPlainReachShifted, c))
      c += 1;
    else if (c == 66)
      c = 68;
  } else {
    if (c % 11 == 0) c += 1;
    const int premium = kPremiumReach[RandomInt(13)];
    if (premium != 0) c = premium;
  }
  const std::string two = Digits(c, 2);
  Presentation.DigitalTarget = two.substr(0, 1) + two;
  StartWindows();
}

void UnReachDegime() {
  int n = 0;
  if (Lottery.GameFlag != kDigitalGame) {
    n = RandomInt(999);
    if (n == 111 || n == 333 || n == 555 || n == 777 || n == 999) n -= 10;
    if (n == 222 || n == 444 || n == 666 || n == 888) n += 10;
    const int k = RandomInt(25);
    if (k <= 19) n = kPremiumUnReach[k];
  } else {
    // Every repdigit and every ascending run is a multiple of 3, and a reach is moved off its pair.
    do {
      n = RandomInt(999);
      const std::string s = Digits(n, 3);
      if (s[0] == s[1]) n = n >= 200 ? n - 200 : n + 200;
    } while (n % 3 == 0);
    if (n == 10) n = 19;
    if (n == 101 || n == 323 || n == 545 || n == 767 || n == 989) n -= 2;
    if (n == 232 || n == 454 || n == 676 || n == 898) n -= 1;
    const std::string s = Digits(n, 3);
    if ((s[0] - '0') + (s[1] - '0') + (s[2] - '0') == 19) n += 1;
  }
  Presentation.DigitalTarget = Digits(n, 3);
  StartWindows();
}

void StopDigitalDisplay() {
  for (int w = 0; w < 3; ++w) {
    TimerOf(w).Interval = 0;
    WindowOf(w).Visible = false;
  }
}

void Timer9_Tick() { WindowTick(0, 10 - Record.DigitalSpeed, 11); }

void Timer10_Tick() { WindowTick(1, 20 - Play.DigitalSpeedSteps / 5.0, 21); }

void Timer11_Tick() {
  // The match of the MC's special event starts a fanfare streak.
  if (Presentation.DigitalOutcome == 10 && Presentation.DigitalTease != 1) Mc.FanfareStreak = 1;
  WindowTick(2, RightLimit(), 11);
}
