#pragma once
// Drawing the time track and the volume track from the skin: a thin frame
// in the track's frame colour, the fill in its fill colour (with a soft
// shine), and for the time track its text. The window under the track
// shows through.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QStaticText>
#include <QString>

class QPainter;

namespace tavo {

struct TrackLook {
    QColor frame;
    QColor fill;
    QColor text;
    QFont font;
};

// The track's text laid out once, for the many paints that show it.
QStaticText TrackText(const QString& text, const QFont& font);

// `fill` is the filled part in the track's own pixels (empty: none); `text`
// comes from TrackText with the look's font.
void PaintTrack(QPainter& p, QSize size, const TrackLook& look, const QRect& fill, const QStaticText& text);

}  // namespace tavo
