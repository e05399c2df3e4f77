// Block transfers between picture boxes, straight on their persistent bitmaps.
#pragma once
#include "platform/elements.h"

// Raster operations of the game's block transfers.
constexpr unsigned SRCCOPY = 0xCC0020;   // destination = source
constexpr unsigned SRCPAINT = 0xEE0086;  // destination = destination OR source
constexpr unsigned SRCAND = 0x8800C6;    // destination = destination AND source

// No-draw mode: block transfers between picture boxes do nothing, and the reels skip their cell choice and their
// composition. The game never reads pixels back, so it plays the same; the simulator and the long tests run this
// way.
extern bool PixelDrawingOff;

// Copies a w x h block from (sx, sy) of src to (x, y) of dst with op, clipped to both bitmaps.
void BitBlt(PictureBox& dst, int x, int y, int w, int h, const PictureBox& src, int sx, int sy, unsigned op);
void BitBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, unsigned op);

// Reads a BMP (or any picture Qt reads) as a 32-bit RGB image; a null image when it cannot.
QImage LoadImageFile(const std::string& path);
