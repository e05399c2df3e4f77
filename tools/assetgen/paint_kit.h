// Shared drawing helpers of the pictures: the Japanese font, canvases, outlined text, glossy shapes and sparkles.
#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

// The machine's pictures come in two looks: the day look written to the picture folder, and the night look built
// into the program for when those files are not loaded.
enum class Theme { Day, Night };

// Registers a CJK font with Qt (IPA P Gothic when installed, else any Japanese-capable font found) and returns
// its family. Must run once after the QGuiApplication exists.
QString SetUpJapaneseFont();
QFont GameFont(double pixelSize, bool bold = true);
// A heavy Latin face for "REPLAY", "BET" and the digits (DejaVu Sans Bold when installed, else the Japanese font).
QFont LatinFont(double pixelSize);

// A transparent ARGB canvas, or one filled with a colour.
QImage Canvas(int w, int h, QColor fill = Qt::transparent);
// An antialiased painter over the image.
void Prepare(QPainter& p);

// Text as a path, centred on (cx, cy) (the visual centre of its ink), so that it can be outlined and filled.
QPainterPath TextPath(const QString& text, const QFont& font, double cx, double cy);
// Fills the path with fill over an outer stroke of outline (width w); a second, inner stroke inner (width wi) if
// wi > 0.
void OutlinedPath(QPainter& p, const QPainterPath& path, const QBrush& fill, QColor outline, double w,
                  QColor inner = Qt::transparent, double wi = 0);
// Four-pointed sparkle centred on (x, y) of radius r.
void Sparkle(QPainter& p, double x, double y, double r, QColor c);
// A glossy highlight: a white ellipse fading downwards, used on lamps and symbols.
void Gloss(QPainter& p, const QRectF& r, double alpha = 0.55);
// A round lamp bulb with a soft halo.
void Bulb(QPainter& p, double x, double y, double r, QColor c, bool lit);
// Multiplies the colour's RGB by f (0..1 darkens).
QColor Shade(QColor c, double f);
// A frame with a bevel: light top-left and dark bottom-right edges of the given width around rect.
void Bevel(QPainter& p, const QRectF& rect, double width, QColor light, QColor dark);
