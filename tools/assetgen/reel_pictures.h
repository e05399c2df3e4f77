// The reel window's pictures: plain and bonus-coloured drum strips, the lit and unlit window, and the digit strip
// of the three-digit display.
#pragma once
#include <QImage>

#include "paint_kit.h"

constexpr int kWindowW = 393, kWindowH = 186;
constexpr int kStripX[3] = {0, 128, 260};    // where each reel's strip lies in the window
constexpr int kStripW[3] = {127, 135, 130};  // the strip pictures' widths
constexpr int kStripShown = 125;             // the part of a strip the reels copy into the window

// A light drum, shaded darker towards its top and bottom.
QImage PlainStrip(int width);
// The drum lit in the bonus colours (MC style).
QImage BonusStrip(int width, Theme theme, int reel);
// The window with the three plain strips (lit) or with them darkened (unlit, for the blackout).
QImage ReelWindow(bool lit);
// 97 x 55: cells of 18 x 28, "1 2 3 4 5" above and "6 7 8 9 0" below at x 2, 20, 38, 56, 74; dark digits on white.
QImage DigitStrip();
