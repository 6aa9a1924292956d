#include "calendar/ui/calendar_strip_paint.h"

#include <QFontMetrics>
#include <QPainter>

namespace tavo {

namespace {

constexpr int kColumns = 7;
constexpr int kRows = 6;

QFont Bold(QFont f) {
    f.setBold(true);
    return f;
}

}  // namespace

QColor ColourOf(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

StripLayout StripLayout::For(int width, const QFont& font) {
    // With the default 12-pixel font: an 18-pixel navigation row, a 16-pixel
    // header, rows of 17 pixels and two 16-pixel lines, 174 pixels in all.
    const QFontMetrics fm(Bold(font));
    const int line = fm.height();
    StripLayout l;
    l.cellWidth = width / kColumns;
    l.cellHeight = line + 3;
    const int gridWidth = l.cellWidth * kColumns;
    const int left = (width - gridWidth) / 2;

    l.nav = QRect(0, 0, width, std::max(18, line + 4));
    const int ymWidth = std::max(70, fm.horizontalAdvance(QStringLiteral("0000.00")) + 8);
    l.ymLabel = QRect(left + 2, l.nav.top(), ymWidth, l.nav.height());
    l.header = QRect(left, l.nav.bottom() + 5, gridWidth, line + 2);
    l.grid = QRect(left, l.header.bottom() + 1, gridWidth, l.cellHeight * kRows);
    l.nlLabel = QRect(left + 2, l.grid.bottom() + 2, gridWidth - 4, line + 2);
    l.label7 = QRect(left + 2, l.nlLabel.bottom() + 1, gridWidth - 4, line + 2);
    l.bottom = l.label7.bottom() + 1;
    return l;
}

QRect StripLayout::Cell(int index) const {
    return QRect(grid.left() + (index % kColumns) * cellWidth, grid.top() + (index / kColumns) * cellHeight,
                 cellWidth, cellHeight);
}

int StripLayout::CellAt(const QPoint& p) const {
    if (!grid.contains(p) || cellWidth <= 0 || cellHeight <= 0) return -1;
    const int column = (p.x() - grid.left()) / cellWidth;
    const int row = (p.y() - grid.top()) / cellHeight;
    if (column >= kColumns || row >= kRows) return -1;
    return row * kColumns + column;
}

void PaintCalendarStrip(QPainter& p, const StripLayout& l, const QFont& font, const MonthGrid& grid,
                        const DayCaption& caption, const CalendarColours& colours) {
    if (!grid.calendarShown) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const QColor week = ColourOf(colours.CalendarWeekColor);

    // Month caption and weekday header.
    p.setFont(Bold(font));
    p.setPen(week);
    p.drawText(l.ymLabel, Qt::AlignLeft | Qt::AlignVCenter, grid.YMlabel());
    p.setFont(font);
    for (int c = 0; c < kColumns; ++c) {
        const QRect r(l.header.left() + c * l.cellWidth, l.header.top(), l.cellWidth, l.header.height());
        p.drawText(r, Qt::AlignCenter, kWeekHeader.mid(c, 1));
    }
    p.setPen(QPen(week.lighter(170), 1));
    p.drawLine(l.header.left() + 2, l.header.bottom(), l.header.right() - 2, l.header.bottom());

    // Day cells.
    for (int i = 0; i < kGridCells; ++i) {
        const DayCell& cell = grid.RQ[static_cast<std::size_t>(i)];
        if (!cell.visible) continue;
        const QRect r = l.Cell(i);
        if (cell.opaque) {
            p.setPen(Qt::NoPen);
            p.setBrush(ColourOf(cell.backColour));
            p.drawRoundedRect(QRectF(r).adjusted(2.5, 1.5, -2.5, -1.5), 3, 3);
            p.setBrush(Qt::NoBrush);
        }
        QFont f = cell.bold ? Bold(font) : font;
        f.setUnderline(cell.underline);
        p.setFont(f);
        p.setPen(ColourOf(cell.textColour));
        p.drawText(r, Qt::AlignCenter, cell.caption);
    }

    // Lunar and festival lines.
    p.setFont(font);
    p.setPen(week);
    const QFontMetrics fm(font);
    p.drawText(l.nlLabel, Qt::AlignLeft | Qt::AlignVCenter,
               fm.elidedText(caption.NLlabel, Qt::ElideRight, l.nlLabel.width()));
    p.drawText(l.label7, Qt::AlignLeft | Qt::AlignVCenter,
               fm.elidedText(caption.Label7, Qt::ElideRight, l.label7.width()));
    p.restore();
}

}  // namespace tavo
