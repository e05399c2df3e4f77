// Reel pictures that name themselves: every mask, sprite and strip background of the machine screen is filled with
// one colour that encodes its picture box number, so that a pixel of the reel window tells which mask, sprite or
// background the game drew there.
//
// A mask carries its number in the low nibbles of its colour (high nibbles all ones), a sprite in the high
// nibbles (low nibbles all ones), a background in the high nibbles (low nibbles zero). A cell drawn as
// (background OR mask) AND sprite then reads back as the sprite's number in the high nibbles, whatever lay under
// it, and over a background the mask's number in the low nibbles; a pixel outside every cell shows the
// background's number.
#pragma once
#include <QImage>
#include <string>

#include "machine/machine_screen.h"

namespace coded {

constexpr int kMaskBoxes[] = {7, 9, 11, 13, 15};
constexpr int kSpriteBoxes[] = {8, 10, 12, 14, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25};
constexpr int kBackgroundBoxes[] = {1, 2, 3, 26, 27, 28};

inline PictureBox& Box(int n) { return *static_cast<PictureBox*>(Form2.Find("Picture" + std::to_string(n))); }

// The number spread over three nibbles: 1..29 as (n mod 16, n / 16, 0xA); the 0xA marks a coded colour.
inline QRgb Nibbles(int n, int shift, QRgb others) {
  const int r = n % 16, g = n / 16, b = 0xA;
  return qRgb((r << shift) | others, (g << shift) | others, (b << shift) | others);
}
inline QRgb MaskColour(int n) { return Nibbles(n, 0, 0xF0); }
inline QRgb SpriteColour(int n) { return Nibbles(n, 4, 0x0F); }
inline QRgb BackgroundColour(int n) { return Nibbles(n, 4, 0x00); }

// Fills the reel pictures with their colours, and the reel window with the colour of background number 4 (its own).
inline void PaintReelPictures() {
  for (int n : kMaskBoxes) Box(n).Image.fill(MaskColour(n));
  for (int n : kSpriteBoxes) Box(n).Image.fill(SpriteColour(n));
  for (int n : kBackgroundBoxes) Box(n).Image.fill(BackgroundColour(n));
  Form2.Picture4.Image.fill(BackgroundColour(4));
}

// The number held by a pixel's high or low nibbles, or -1 when they are no coded number.
inline int FromNibbles(QRgb c, int shift) {
  const int r = (qRed(c) >> shift) & 0xF, g = (qGreen(c) >> shift) & 0xF, b = (qBlue(c) >> shift) & 0xF;
  return b == 0xA ? r + 16 * g : -1;
}

// What a cell of the reel window shows at (x, y): the numbers of its mask and sprite picture boxes.
struct Cell {
  int mask, sprite;
  bool operator==(const Cell&) const = default;
};
inline Cell CellAt(int x, int y) {
  const QRgb c = Form2.Picture4.Image.pixel(x, y);
  return {FromNibbles(c, 0), FromNibbles(c, 4)};
}
// The background number shown at a pixel outside every cell.
inline int BackgroundAt(int x, int y) {
  const QRgb c = Form2.Picture4.Image.pixel(x, y);
  return (c & 0x0F0F0F) == 0 ? FromNibbles(c, 4) : -1;
}

// The number of a picture box of the machine screen, or -1 for none.
inline int NumberOf(const PictureBox* p) { return p ? std::stoi(p->Name().substr(7)) : -1; }

}  // namespace coded
