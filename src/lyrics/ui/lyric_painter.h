#pragma once
// Drawing the lyrics: a lyric document at a lyric time, in the user's look,
// onto a painter or into an image. No window state lives here; the lyrics
// window hands in what to show and blits the result.
//
// Layouts:
//  - one line: the current line, centred (today's look);
//  - two lines: line i sits in row i % 2, the top row left-aligned and the
//    bottom row right-aligned, the other row showing the line that follows,
//    as a karaoke screen alternates;
//  - five lines: the current line in the middle, highlighted, two before and
//    two after it, rising into place as a line begins.
// With karaoke on, the current line fills in the played colour from its
// start to the next line's start, following word times (SungChars).

#include "lyrics/lyric_doc.h"
#include "lyrics/lyric_options.h"

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

#include <memory>

class QPainter;

namespace tavo {

struct LyricFrame {
    const LyricDoc* doc = nullptr;  // null or unsynced: `status` (or the plain first line) is shown
    int timeMs = 0;                 // lyric time: LyricTime(doc, position, userOffset)
    QString status;                 // text shown when there is no timed line yet
    uint32_t backColor = 0xFFFFFFFFu;  // the background's colour; its alpha comes from the options
    bool paintBack = true;             // false: the text only, over what the device already holds
};

// Draws frames, keeping each shown text's glyphs (edge and both colours)
// as ready images, so that a frame whose lines did not change costs two
// image copies per line. One per window; not shared between threads.
class LyricGlyphCache;
class LyricPainter {
public:
    LyricPainter();
    ~LyricPainter();
    LyricPainter(const LyricPainter&) = delete;
    LyricPainter& operator=(const LyricPainter&) = delete;

    // Paints the frame into `box` (logical pixels; the painter's device
    // carries the screen scale).
    void Paint(QPainter& p, const QRectF& box, const LyricFrame& frame, const LyricOptions& look);
    // The frame as an image of `size` logical pixels at `scale` device
    // pixels per logical pixel (premultiplied ARGB, devicePixelRatio = scale).
    QImage Render(QSize size, double scale, const LyricFrame& frame, const LyricOptions& look);

private:
    std::unique_ptr<LyricGlyphCache> cache_;
};

// One frame without a kept painter (the same pictures, nothing kept).
void PaintLyricFrame(QPainter& p, const QRectF& box, const LyricFrame& frame, const LyricOptions& look);

QImage RenderLyricFrame(QSize size, double scale, const LyricFrame& frame, const LyricOptions& look);

// The line whose row contains `point` (logical pixels in `box`), for
// "click a line to seek"; -1 on no line.
int LyricRowAt(const QRectF& box, const LyricFrame& frame, const LyricOptions& look, QPointF point);

}  // namespace tavo
