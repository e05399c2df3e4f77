// Where the counter's window opens at the common screen sizes, beside the machine or the title screen centred on
// them, with and without a desktop frame: whole on the screen, over none of the game's window.
#include <gtest/gtest.h>

#include <tuple>

#include "counter/qt/counter_placement.h"

namespace {

TEST(CounterPlacementTest, BesideTheGameWholeOnTheScreenAtEveryCommonSize) {
  // {the screen, the game's window, the desktop's frame, the counter wide}
  const QMargins wm(1, 20, 1, 5), none;
  const std::tuple<QSize, QSize, QMargins, bool> cases[] = {
      {{1280, 1024}, {759, 617}, wm, false},   {{1920, 1080}, {759, 617}, wm, false},
      {{1366, 768}, {759, 617}, wm, false},    {{2560, 1440}, {759, 617}, wm, true},
      {{1280, 1024}, {757, 596}, none, false}, {{1366, 768}, {757, 596}, none, false},
      {{1280, 1024}, {610, 489}, wm, false},   {{1920, 1080}, {610, 489}, wm, false}};
  for (const auto& [screen, window, frame, wide] : cases) {
    const QRect area(QPoint(0, 0), screen);
    const QRect game(area.center() - QPoint(window.width() / 2, window.height() / 2), window);
    const QRect client = PlaceCounter({area, game, frame, {}});
    const QRect whole = client.marginsAdded(frame);
    EXPECT_TRUE(area.contains(whole)) << screen.width() << "x" << screen.height();
    EXPECT_FALSE(whole.intersects(game)) << screen.width() << "x" << screen.height();
    EXPECT_EQ(client.width() >= kCounterWideLeast.width(), wide) << screen.width() << "x" << screen.height();
    EXPECT_GE(client.height(), (wide ? kCounterWideLeast : kCounterNarrowLeast).height());
  }
}

TEST(CounterPlacementTest, UnframedItTakesTheGamesFrameWithALowerEdgeAtLeastFourPixelsThickerThanItsSides) {
  EXPECT_EQ(FrameLikeGame(QRect(100, 50, 760, 630), QRect(104, 80, 752, 596)), QMargins(4, 30, 4, 8));
  EXPECT_EQ(FrameLikeGame(QRect(100, 50, 760, 640), QRect(104, 80, 752, 596)), QMargins(4, 30, 4, 14));
}

TEST(CounterPlacementTest, WhereThePlayerLeftItOnlyMovedBackOnTheScreen) {
  const QRect area(0, 0, 1366, 768), game(303, 65, 759, 617);
  const QMargins frame(1, 20, 1, 5);
  EXPECT_EQ(PlaceCounter({area, game, frame, QRect(400, 100, 300, 600)}), QRect(400, 100, 300, 600));
  // Dragged partly off the screen (or onto a smaller one): back in, title bar and all, smaller where it must be.
  EXPECT_EQ(PlaceCounter({area, game, frame, QRect(1200, -50, 300, 900)}), QRect(1065, 20, 300, 743));
}

}  // namespace
