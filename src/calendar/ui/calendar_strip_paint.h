#pragma once
// Painting of the calendar strip: state and colours in, pixels out. No
// events, no timers, no database: tests render into an image.
//
// From top to bottom: the navigation row (YMlabel on the left, the main
// window's month buttons on the right), the weekday header Label5 (Sunday
// first, like the grid), six rows of day cells RQ(0..41), the lunar line
// NLlabel and the festival line Label7.

#include "calendar/date_day.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>

class QPainter;

namespace tavo {

// The header's text, one weekday a column.
inline const QString kWeekHeader = QStringLiteral("日一二三四五六");

struct StripLayout {
    QRect nav;         // the navigation row
    QRect ymLabel;     // YMlabel, at the row's left
    QRect header;      // Label5
    QRect grid;        // the 6 x 7 cells
    int cellWidth = 0;
    int cellHeight = 0;
    QRect nlLabel;     // NLlabel
    QRect label7;      // Label7
    int bottom = 0;    // one spare pixel row under Label7

    // The layout for a strip of `width` pixels drawn in `font`.
    static StripLayout For(int width, const QFont& font);
    QSize size() const { return {nav.width(), bottom + 1}; }
    QRect Cell(int index) const;
    // The cell index under `p`, or -1.
    int CellAt(const QPoint& p) const;
};

QColor ColourOf(std::uint32_t value);

// Draws the strip over whatever is below it (only today's cell is opaque).
// Nothing is drawn when the calendar is switched off. Label7 is cut with an
// ellipsis when it does not fit.
void PaintCalendarStrip(QPainter& p, const StripLayout& layout, const QFont& font, const MonthGrid& grid,
                        const DayCaption& caption, const CalendarColours& colours);

}  // namespace tavo
