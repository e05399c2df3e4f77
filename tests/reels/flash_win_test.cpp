// The pay-line flashing on the virtual clock: its pace, its pictures, the sevens' blinking lamp and start timer,
// and each way it ends.
#include <tuple>

#include "harness/coded_pictures.h"
#include "harness/harness.h"
#include "platform/events.h"
#include "reels/reels.h"

namespace {

constexpr int kCellX[3] = {3, 141, 273}, kRowY[4] = {188, 128, 68, 8};
ReelCells* const kCells[3] = {&LeftCells, &CentreCells, &RightCells};

class FlashWinTest : public PresentationTest {
 protected:
  // The row of a reel on the game's pay line: 3 top, 2 middle, 1 bottom.
  static int LineRow(int reel) {
    constexpr int kLineRow[6][3] = {{1, 1, 1}, {3, 3, 3}, {3, 2, 1}, {2, 2, 2}, {1, 2, 3}, {1, 1, 1}};
    return kLineRow[Lottery.StopGroup][reel];
  }
  // A game with this result stopped with the left reel at 9 and the right at 17, its cells chosen.
  void Stopped(int flag, int pattern, int group) {
    Lottery.GameFlag = static_cast<std::int16_t>(flag);
    Lottery.StopPattern = static_cast<std::int16_t>(pattern);
    Lottery.StopGroup = static_cast<std::int16_t>(group);
    Reels.LeftReelPos = 9;
    Reels.CentreReelPos = 5;
    Reels.RightReelPos = 17;
    Reels.LeftReelStopped = Reels.CentreReelStopped = Reels.RightReelStopped = 1;
    for (int reel = 0; reel < 3; ++reel) ChooseCells(reel);
    Flash.FlashPause = 0.15f;
  }
  // Samples the frame's picture every 10 ms over a span: the pictures seen, and the times they changed.
  void Sample(double from, double to, std::vector<PictureBox*>& seen, std::vector<double>& changes) {
    for (double t = from; t < to; t += 0.01)
      sim->ActAt(t, [&, t] {
        if (!seen.empty() && seen.back() != Flash.FlashSprite) changes.push_back(t);
        seen.push_back(Flash.FlashSprite);
      });
  }
  // Whether a stopped cell of the reel window shows the sprite wherever its mask has the symbol.
  static bool CellShows(int reel, int row, const PictureBox& sprite) {
    const QImage& mask = kCells[reel]->Mask[row]->Image;
    int checked = 0;
    for (int dy = 0; dy < 55 && kRowY[row] + dy < 186; ++dy)
      for (int dx = 0; dx < 110; ++dx) {
        if ((mask.pixel(dx, dy) & 0xFFFFFF) != 0xFFFFFF) continue;
        if (Form2.Picture4.Image.pixel(kCellX[reel] + dx, kRowY[row] + dy) != sprite.Image.pixel(dx, dy)) return false;
        ++checked;
      }
    return checked > 200;
  }
};

TEST_F(FlashWinTest, AMameWinFlashesEveryFifteenHundredthsUntilTheNextLeverOn) {
  const double t = sim->Elapsed();
  LeverAt(t, 3);
  StopsAt(t + 0.75, 0.05);
  StopsAt(t + 3.75, 0.05);
  std::vector<PictureBox*> seen, after;
  std::vector<double> changes, changesAfter;
  Sample(t + 1.5, t + 3.0, seen, changes);
  bool lineShowsSprite = false;
  sim->ActAt(t + 2.005, [&] {
    lineShowsSprite = Flash.FlashSprite != nullptr && CellShows(0, LineRow(0), *Flash.FlashSprite) &&
                      CellShows(1, LineRow(1), *Flash.FlashSprite) && CellShows(2, LineRow(2), *Flash.FlashSprite);
  });
  LeverAt(t + 3.0, 0);
  Sample(t + 3.1, t + 3.6, after, changesAfter);
  sim->RunFor(4.0);
  for (PictureBox* p : seen) ASSERT_TRUE(p == &Form2.Picture14 || p == &Form2.Picture19);
  ASSERT_GE(changes.size(), 8u);
  for (size_t i = 1; i < changes.size(); ++i) EXPECT_NEAR(changes[i] - changes[i - 1], 0.15, 0.015);
  EXPECT_TRUE(lineShowsSprite);
  EXPECT_TRUE(changesAfter.empty());
}

// The two pictures of each result, frame by frame. The frame test is FlashCounter 1 for the sevens and 2 for every
// other result; the other frames show the dark picture, or the red one for a won MC's fast variant 3. During an
// MC its own replays never light up (unless the replay won the next MC), nor its mame once the next game is bet.
// The player sees the picture in the three cells of the pay line; every other cell keeps its own sprite.
TEST_F(FlashWinTest, EachResultFlashesItsOwnTwoPicturesOnThePayLine) {
  // {flag, its patterns, the counter of its lit frame, its lit, dark and red pictures}
  const std::tuple<int, std::vector<int>, int, int, int, int> kResults[] = {
      {1, {1, 5, -1}, 1, 21, 17, 17},  // sevens: flash and dark seven
      {1, {0, 4}, 2, 10, 18, 24},      // a won MC looking like a Mofuran game
      {1, {2}, 2, 16, 20, 25},         // ... like a replay
      {1, {3}, 2, 14, 19, 22},         // ... like a mame
      {2, {0, 1}, 2, 16, 20, 20},      // replay
      {3, {0, 1}, 2, 14, 19, 19},      // mame
      {4, {0, 1}, 2, 10, 18, 18},      // digital-display game
      {5, {0}, 2, 10, 18, 18},
  };
  // The MC's state matters to the replay and the mame; the others are tried in and out of an MC.
  const auto McStates = [](int flag) {
    std::vector<std::tuple<int, int, int>> states = {{0, 0, 0}, {1, 0, 1}};
    if (flag == 2 || flag == 3) {
      states.clear();
      for (int phase : {0, 1, 2})
        for (int streak : {0, 1})
          for (int bet : {0, 1}) states.push_back({phase, streak, bet});
    }
    return states;
  };
  coded::PaintReelPictures();
  int frames = 0;
  for (const auto& [flag, patterns, litCounter, lit, dark, red] : kResults)
    for (int pattern : patterns)
      for (int variant = 0; variant <= 5; ++variant)
        for (int counter : {1, 2, 3})
          for (const auto& [phase, streak, bet] : McStates(flag)) {
            Mc.BonusPhase = static_cast<std::int16_t>(phase);
            Stopped(flag, pattern, 1 + frames++ % 5);
            Flash.FlashVariant = static_cast<std::int16_t>(variant);
            Flash.FlashCounter = static_cast<std::int16_t>(counter);
            Mc.StreakPending = static_cast<std::int16_t>(streak);
            Play.BetPlaced = static_cast<std::int16_t>(bet);
            Mc.McEnding = 2;  // one frame
            Mc.McStep = 1;
            Lottery.StopOrder = 0;
            FlashWin();
            const bool dim = phase != 0 && streak != 1 && (flag == 2 || (flag == 3 && bet == 1));
            const int want = counter == litCounter && !dim ? lit : variant == 3 ? red : dark;
            const auto what = [&] {
              return ::testing::Message()
                     << "flag " << flag << " pattern " << pattern << " variant " << variant << " counter " << counter
                     << " phase " << phase << " streak " << streak << " bet " << bet << " group " << Lottery.StopGroup;
            };
            ASSERT_EQ(coded::NumberOf(Flash.FlashSprite), want) << what();
            for (int reel = 0; reel < 3; ++reel)
              for (int row = 1; row < 4; ++row) {
                const int cell = row == LineRow(reel) ? want : coded::NumberOf(kCells[reel]->Sprite[row]);
                ASSERT_EQ(coded::CellAt(kCellX[reel] + 55, kRowY[row] + 27).sprite, cell)
                    << what() << " reel " << reel << " row " << row;
              }
          }
}

// The strips each frame is drawn over, and the bonus lamp that blinks with the backlights while a revealed MC waits
// for its start sequence.
TEST_F(FlashWinTest, EachFrameIsDrawnOverTheStripsItsStateAsksFor) {
  enum Strips { Kept, Normal, McStyle };
  // {what, flag, pattern, BonusPhase, stop order, every reel stopped, ready for the next game, McEnding, McStep,
  // FlashCounter, the strips drawn, the lamp: 1 shown, 0 hidden, -1 left as it was}
  const std::tuple<const char*, int, int, int, int, bool, int, int, int, int, Strips, int> kCases[] = {
      {"a replay in an MC", 2, 0, 1, 0, true, 1, 0, 0, 2, McStyle, -1},
      {"sevens of an announced MC", 1, 1, 2, 0, true, 0, 0, 0, 2, McStyle, -1},
      {"a small win", 3, 0, 0, 0, true, 1, 0, 0, 2, Kept, -1},
      {"a won MC looking like a replay", 1, 2, 0, 0, true, 0, 0, 0, 1, Kept, -1},
      {"sevens with a reel turning", 1, 1, 0, 0, false, 0, 0, 0, 1, Kept, -1},
      {"sevens, the game over", 1, 1, 0, 0, true, 1, 0, 0, 2, McStyle, -1},
      {"sevens, the game over at an MC's end", 1, 1, 0, 0, true, 1, 2, 0, 2, Normal, -1},
      {"sevens, the start sequence running", 1, 1, 0, 0, true, 0, 0, 1, 1, Normal, -1},
      {"sevens waiting, lit frame", 1, 1, 0, 0, true, 0, 0, 0, 1, McStyle, 1},
      {"sevens waiting, lit frame, step below 0", 1, 1, 0, 0, true, 0, 0, -1, 1, McStyle, 1},
      {"sevens waiting, dark frame", 1, 1, 0, 0, true, 0, 0, 0, 2, Normal, 0},
      {"sevens of an announced MC in the stop order 1", 1, 1, 2, 1, true, 0, 0, 0, 2, Normal, 0},
  };
  for (const auto& [what, flag, pattern, phase, order, allStopped, ready, ending, step, counter, strips, lamp] :
       kCases) {
    coded::PaintReelPictures();
    Mc.BonusPhase = static_cast<std::int16_t>(phase);
    Stopped(flag, pattern, 3);
    if (!allStopped) Reels.RightReelStopped = 0;
    Lottery.StopOrder = static_cast<std::int16_t>(order);
    Play.ReadyForNextGame = static_cast<std::int16_t>(ready);
    Mc.McEnding = static_cast<std::int16_t>(ending);
    Mc.McStep = static_cast<std::int16_t>(step);
    Flash.FlashCounter = static_cast<std::int16_t>(counter);
    Form2.Picture29.Visible = lamp != 1;
    Form2.Timer4.Interval = 0;
    // One frame: the next lever-on comes inside its pause.
    sim->ActAt(sim->Elapsed() + 0.01,
               [] { Reels.LeftReelStopped = Reels.CentreReelStopped = Reels.RightReelStopped = 0; });
    FlashWin();
    sim->RunFor(0.02);
    for (int reel = 0; reel < 3; ++reel) {
      const int want = strips == Kept ? 4 : strips == Normal ? 1 + reel : 26 + reel;
      for (int y : {0, 3})  // the top row of the reel window too
        EXPECT_EQ(coded::BackgroundAt(kCellX[reel] - 2, y), want) << what << " reel " << reel << " y " << y;
    }
    EXPECT_EQ(Form2.Picture29.Visible(), lamp != 0) << what;
  }
}

TEST_F(FlashWinTest, EachEarlyEnd) {
  // How long one call of the flashing lasts.
  const auto flashing = [this] {
    const double t = sim->Elapsed();
    FlashWin();
    return sim->Elapsed() - t;
  };
  // An MC replay with 7 or more games left: one dark frame, and the outer stop dispatches skip the game's end.
  Stopped(2, 0, 3);
  Mc.BonusPhase = 1;
  Lottery.McGamesLeft = 7;
  EXPECT_NEAR(flashing(), 0.15, 0.01);
  EXPECT_EQ(Flash.SkipGameEnd, 1);
  EXPECT_EQ(Flash.FlashSprite, &Form2.Picture20);
  // With 6 left it flashes on until the next lever-on turns the reels.
  Flash.SkipGameEnd = 0;
  Lottery.McGamesLeft = 6;
  sim->ActAt(sim->Elapsed() + 1, [] { Reels.LeftReelStopped = Reels.CentreReelStopped = Reels.RightReelStopped = 0; });
  EXPECT_NEAR(flashing(), 1.0, 0.16);
  EXPECT_EQ(Flash.SkipGameEnd, 0);

  // Proxy play sees five frames of a small win.
  Stopped(3, 0, 2);
  Mc.BonusPhase = 0;
  Play.ProxyActive = 1;
  EXPECT_NEAR(flashing(), 5 * 0.15, 0.03);
  // A revealed MC flashes on under proxy play until the start sequence accepts play again.
  Stopped(1, 1, 3);
  Form2.Timer4.OnTick = [] {};
  sim->ActAt(sim->Elapsed() + 1, [] { Mc.McStep = Play.PlayAccepted = 1; });
  EXPECT_NEAR(flashing(), 1.0, 0.04);
  Play.ProxyActive = 0;

  // At the end of an MC only one frame is drawn, without a pause.
  Stopped(3, 0, 2);
  Mc.McEnding = 2;
  EXPECT_LT(flashing(), 0.005);
}

TEST_F(FlashWinTest, SevensFlashFastWithTheLampAndStartTheMcOnBothDiagonals) {
  Stopped(1, 1, 4);
  Mc.BonusPhase = 2;
  Lottery.StopOrder = 1;
  Play.ReadyForNextGame = 0;
  Play.PlayAccepted = 1;
  for (PictureBox* digits : {&Form2.Picture37, &Form2.Picture40, &Form2.Picture41}) digits->Visible = true;
  const double t = sim->Elapsed();
  double firstTick = -1;
  Form2.Timer4.OnTick = [&] {
    if (firstTick < 0) firstTick = sim->Elapsed() - t;
    Mc.McStep = 1;
  };
  std::vector<PictureBox*> seen;
  std::vector<double> changes;
  Sample(t + 0.5, t + 1.5, seen, changes);
  int lampOn = 0, lampOff = 0;
  bool fiveSevens = true, together = true;
  for (double s = t + 0.505; s < t + 1.5; s += 0.1)
    sim->ActAt(s, [&] {
      (Form2.Picture29.Visible() ? lampOn : lampOff) += 1;
      // The lamp is lit in the frames of the flash seven.
      together = together && Form2.Picture29.Visible() == (Flash.FlashSprite == &Form2.Picture21);
      // The pay line (left bottom, centre middle, right top) and the other diagonal flash alike.
      const PictureBox& sprite = *Flash.FlashSprite;
      fiveSevens = fiveSevens && LeftCells.Sprite[3] == &sprite && RightCells.Sprite[1] == &sprite &&
                   CellShows(0, 1, sprite) && CellShows(0, 3, sprite) && CellShows(1, 2, sprite) &&
                   CellShows(2, 1, sprite) && CellShows(2, 3, sprite);
    });
  sim->ActAt(t + 7.0, [] { Lottery.GameFlag = 0; });
  FlashWin();
  EXPECT_NEAR(firstTick, 5.8, 0.02);
  EXPECT_EQ(sound->Count("degi4.wav", SoundAction::Stop), 1);
  // The sevens take the digital display's windows away.
  EXPECT_FALSE(Form2.Picture37.Visible() || Form2.Picture40.Visible() || Form2.Picture41.Visible());
  EXPECT_EQ(Mc.BonusPhase * 10 + Lottery.StopOrder, 0);
  EXPECT_EQ(Play.PlayAccepted, 0);
  for (PictureBox* p : seen) ASSERT_TRUE(p == &Form2.Picture21 || p == &Form2.Picture17);
  EXPECT_NEAR(static_cast<double>(changes.size()), 1.0 / 0.03, 4);
  EXPECT_GT(lampOn, 0);
  EXPECT_GT(lampOff, 0);
  EXPECT_TRUE(together);
  EXPECT_TRUE(fiveSevens);
}

}  // namespace
