// The machine's cabinet around the reel window, and its two lamps.
#pragma once
#include <QImage>

#include "paint_kit.h"

// Screen places on the cabinet (left, top, width, height) that the machine screen lays its own pictures over.
constexpr int kReelWindowRect[4] = {32, 100, 393, 186};
constexpr int kBetLampRect[4] = {48, 384, 68, 27};
constexpr int kBonusLampRect[4] = {437, 303, 94, 91};
constexpr int kDigitWindowX[3] = {457, 475, 493};
constexpr int kDigitWindowY = 246, kDigitWindowW = 18, kDigitWindowH = 26;
constexpr int kPortraitRect[4] = {368, 436, 140, 66};  // the two portrait places (x 368 and 376) together
constexpr int kStatusLineRect[4] = {368, 416, 154, 20};

QImage Cabinet(Theme theme);              // 532 x 507
QImage BetLamp(Theme theme, bool lit);    // 68 x 27
QImage BonusLamp(Theme theme, bool lit);  // 94 x 91
