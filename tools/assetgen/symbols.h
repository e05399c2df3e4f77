// The five reel symbols, each as a mask and its sprites, 110 x 55 pixels.
// Mask: pure white where the symbol is, pure black elsewhere. Sprite: the symbol on a white ground, white wherever
// the mask is black, so that OR-ing the mask and then AND-ing the sprite lays the symbol over any reel strip.
#pragma once
#include <QImage>

#include "paint_kit.h"

enum class Symbol { Seven, Mofuran, Mame, Replay, Cherry };

constexpr int kCellW = 110, kCellH = 55;

struct SymbolPictures {
  QImage mask;
  QImage normal;
  QImage dark;    // about 40 % brightness
  QImage bright;  // flash / lit: brighter and warmer
};

SymbolPictures DrawSymbol(Symbol s, Theme theme);

// The mascot alone, centred on (cx, cy) at the given scale (1 = reel size, about 76 x 52), for the cabinet, the bonus
// lamp and the portraits. lit gives its warm red-gold look.
void PaintMascot(QPainter& p, double cx, double cy, double scale, Theme theme, bool lit);
// The symbol's sprite cut out by its mask and scaled into target, for small pictures of the symbols.
void PaintSymbolIcon(QPainter& p, const SymbolPictures& pics, const QRectF& target, bool bright = false);
