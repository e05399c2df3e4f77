// Where the data counter's window opens: whole on the screen with its frame, beside the game's window and never
// over it, in the wide layout where there is room for it and in the narrow one (a single column) where there is
// not. Plain arithmetic on rectangles, so that every screen size can be tried without a display.
#pragma once
#include <QMargins>
#include <QRect>
#include <QSize>

// The wide layout's usual and least sizes, and the narrow one's (client area).
inline constexpr QSize kCounterWideSize{780, 640}, kCounterWideLeast{690, 420};
inline constexpr QSize kCounterNarrowSize{400, 920}, kCounterNarrowLeast{240, 660};

struct CounterPlaceRequest {
  QRect area;       // the screen's available area
  QRect game;       // the frame of the game's window in front; empty when there is none
  QMargins frame;   // the desktop's frame around the counter's client area: borders and title bar
  QRect kept;       // the client area where the player left the window; empty while they never moved it
};

// The desktop's frame around the counter, taken to be the game window's own (from its frame and client areas)
// with the thicker lower edge a resizable window usually has, until the desktop has framed the counter.
QMargins FrameLikeGame(const QRect& frame, const QRect& client);
// The client area to give the window.
QRect PlaceCounter(const CounterPlaceRequest& r);
// The client area moved, and made smaller where it must, so that it stands whole in `area` with its frame.
QRect KeepInside(QRect client, const QRect& area, const QMargins& frame);
