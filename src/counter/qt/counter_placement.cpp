#include "counter/qt/counter_placement.h"

#include <algorithm>
#include <utility>

namespace {

// Between the counter's frame and the game's.
constexpr int kGap = 4;

long long Overlap(const QRect& a, const QRect& b) {
  const QRect o = a.intersected(b);
  return o.isEmpty() ? 0 : static_cast<long long>(o.width()) * o.height();
}

}  // namespace

QRect KeepInside(QRect client, const QRect& area, const QMargins& frame) {
  const QRect room = area.marginsRemoved(frame);
  client.setWidth(std::max(1, std::min(client.width(), room.width())));
  client.setHeight(std::max(1, std::min(client.height(), room.height())));
  client.moveLeft(std::clamp(client.left(), room.left(), std::max(room.left(), room.right() - client.width() + 1)));
  client.moveTop(std::clamp(client.top(), room.top(), std::max(room.top(), room.bottom() - client.height() + 1)));
  return client;
}

QRect PlaceCounter(const CounterPlaceRequest& r) {
  const QRect& a = r.area;
  if (!r.kept.isEmpty()) return KeepInside(r.kept, a, r.frame);
  const QRect& g = r.game;
  if (g.isEmpty()) return KeepInside(QRect(a.center() - QPoint(390, 320), kCounterWideSize), a, r.frame);

  // The free strips to the right of the game's window, to its left, below and above it, frames included.
  const QRect sides[4] = {QRect(QPoint(g.right() + 1 + kGap, a.top()), a.bottomRight()),
                          QRect(a.topLeft(), QPoint(g.left() - 1 - kGap, a.bottom())),
                          QRect(QPoint(a.left(), g.bottom() + 1 + kGap), a.bottomRight()),
                          QRect(a.topLeft(), QPoint(a.right(), g.top() - 1 - kGap))};
  // The wide layout wherever it fits, else the narrow one; the right side first, where the counter stands in a hall.
  for (const auto& [usual, least] : {std::pair{kCounterWideSize, kCounterWideLeast},
                                      std::pair{kCounterNarrowSize, kCounterNarrowLeast}}) {
    for (int side = 0; side < 4; ++side) {
      const QRect room = sides[side].marginsRemoved(r.frame);
      if (room.width() < least.width() || room.height() < least.height()) continue;
      QRect c(QPoint(), usual.boundedTo(room.size()));
      // Level with the game's window beside it; against it, from its left edge, below or above it.
      const int top = g.top() + r.frame.top(), left = g.left() + r.frame.left();
      if (side == 0) c.moveTopLeft({room.left(), top});
      if (side == 1) c.moveTopLeft({room.right() - c.width() + 1, top});
      if (side == 2) c.moveTopLeft({left, room.top()});
      if (side == 3) c.moveTopLeft({left, room.bottom() - c.height() + 1});
      return KeepInside(c, sides[side], r.frame);
    }
  }

  // A screen too small for either: the corner where the narrow window hides the least of the game's.
  const QSize whole = kCounterNarrowLeast.grownBy(r.frame);
  const QPoint corners[4] = {a.topLeft(), QPoint(a.right() - whole.width() + 1, a.top()),
                             QPoint(a.left(), a.bottom() - whole.height() + 1),
                             QPoint(a.right() - whole.width() + 1, a.bottom() - whole.height() + 1)};
  QRect best;
  long long hidden = -1;
  for (const QPoint& corner : corners) {
    const QRect place(corner, whole);
    if (const long long h = Overlap(place, g); hidden < 0 || h < hidden) {
      hidden = h;
      best = place;
    }
  }
  return KeepInside(best.marginsRemoved(r.frame), a, r.frame);
}

QMargins FrameLikeGame(const QRect& f, const QRect& g) {
  return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                  std::max(f.bottom() - g.bottom(), g.left() - f.left() + 4));
}
