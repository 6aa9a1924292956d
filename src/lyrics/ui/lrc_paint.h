#pragma once
// Drawing of the lyrics window: its surface and the glyphs of its six small
// buttons. The buttons keep one-character captions ("4" play, ";" pause,
// "<" stop, "7" previous, "8" next, "X" mute, "." show the main window) for
// the logic that reads them; these routines draw the matching symbols.

#include <QChar>
#include <QColor>
#include <QRectF>

class QPainter;

namespace tavo {

enum class LrcGlyph { None, Play, Pause, Stop, Previous, Next, Speaker, ShowMain };

// The symbol a caption stands for (None for any other character).
LrcGlyph LrcGlyphForCaption(QChar caption);

// Draws the symbol of `caption` centred in `box`, filled with `color`.
void PaintLrcGlyph(QPainter& p, const QRectF& box, QChar caption, const QColor& color);

// Draws the window's surface (a rounded strip) into `box`.
void PaintLrcSurface(QPainter& p, const QRectF& box);

}  // namespace tavo
