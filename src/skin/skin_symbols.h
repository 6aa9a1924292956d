#pragma once
// The symbols on the skin's buttons, drawn as vector shapes so that they
// stay sharp at any size and device pixel ratio: the playback symbols (play,
// stop, previous, next, pause, mute, unmute) and the window and paging
// marks. Each is a button's `Icon` through SymbolIcon.

#include <QColor>
#include <QIcon>
#include <QRectF>
#include <QSize>

class QPainter;

namespace tavo {

enum class SkinSymbol {
    None,
    Play,
    Stop,
    Previous,
    Next,
    Pause,
    Mute,    // the sound is on: click to silence it
    Unmute,  // the sound is off: click to bring it back
    First,
    Last,
    Back,     // one step back (a page, a month)
    Forward,  // one step forward
    DropDown,
    Close,
    Minimize,
    Menu,
};

// Draws `symbol` centred in `box` (in the square of its shorter side).
void PaintSymbol(QPainter& p, const QRectF& box, SkinSymbol symbol, const QColor& colour);

// An icon of `symbol` whose natural size is `size` (logical pixels). It
// draws in the colour of the painter's pen at the time it is painted, with
// a soft shadow that sets it off from the face under it.
QIcon SymbolIcon(SkinSymbol symbol, QSize size);

}  // namespace tavo
