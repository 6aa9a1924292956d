#include "calendar/date_day.h"

#include "calendar/clsdate.h"

#include <exception>
#include <optional>

namespace tavo {

namespace {

// The days the lunar table describes exactly.
const QDate kLunarFirst(1900, 1, 31);
const QDate kLunarLast(2050, 1, 22);

constexpr int kToolTipChars = 40;

// The day held by a clsdate, or nothing outside the lunar table.
std::optional<clsdate> LunarDay(const QDate& day) {
    if (!day.isValid() || day < kLunarFirst || day > kLunarLast) return std::nullopt;
    clsdate c;
    try {
        c.sInitDate(day.year(), day.month(), day.day());
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return c;
}

QString LunarLine(const clsdate& c) {
    QString line = clsdate::GanZhi(c.lYear()) + u' ' + clsdate::YearAttribute(c.lYear()) + QStringLiteral("年 ");
    if (c.IsLeap())
        line += QStringLiteral(" 闰 ") + QString::number(c.lMonth()) + u'月';
    else
        line += c.lmonthStr() + u'月';
    line += clsdate::CDayStr(c.lDay()) + u' ' + c.sWeekDayStr();
    const QString term = c.lSolarTerm();
    if (!term.isEmpty()) line += u' ' + term;
    return line;
}

// Step 5.1 of a cell: visible, enabled, plain, transparent, the text colour.
DayCell PlainCell(const QDate& day, const CalendarColours& colours) {
    DayCell cell;
    cell.day = day;
    cell.caption = QString::number(day.day());
    cell.textColour = colours.CalendarTextColor;
    return cell;
}

}  // namespace

namespace DateDay {

QString DateText(const QDate& day) { return day.toString(QStringLiteral("yyyy-MM-dd")); }

QDate FirstCellDay(const QDate& monthDate) {
    // The last day of the previous month, then back to its Sunday.
    const QDate lastOfPrevious = QDate(monthDate.year(), monthDate.month(), 1).addDays(-1);
    return lastOfPrevious.addDays(-(lastOfPrevious.dayOfWeek() % 7));  // Qt: Monday 1 .. Sunday 7
}

QString NoteToolTip(const QString& note) {
    // Characters are counted as code points, so a pair of surrogates is never split.
    qsizetype end = 0;
    int chars = 0;
    while (end < note.size() && chars < kToolTipChars) {
        end += (note.at(end).isHighSurrogate() && end + 1 < note.size() && note.at(end + 1).isLowSurrogate()) ? 2 : 1;
        ++chars;
    }
    if (end >= note.size()) return note;
    return note.left(end) + QStringLiteral("...");
}

MonthGrid FillMonthGrid(const QDate& monthDate, const QDate& today, const CalendarColours& colours,
                        const NotesOpener& openNotes) {
    MonthGrid grid;
    grid.month = QDate(monthDate.year(), monthDate.month(), 1);
    const QDate first = FirstCellDay(monthDate);
    for (int i = 0; i < kGridCells; ++i) grid.RQ[i] = PlainCell(first.addDays(i), colours);

    if (!colours.ShowCalendar) {
        // Calendar off: everything hidden, and the notes are not read.
        grid.calendarShown = false;
        for (DayCell& cell : grid.RQ) cell.visible = false;
        return grid;
    }
    grid.backToTodayShown = monthDate.year() != today.year() || monthDate.month() != today.month();

    // The days of the grid that have a note, in one lookup on a connection of
    // the grid's own (released when this function returns).
    std::vector<NoteHead> heads;
    if (openNotes) {
        if (std::unique_ptr<NoteHeadReader> notes = openNotes())
            heads = notes->NoteHeads(DateText(first), DateText(first.addDays(kGridCells - 1)), kToolTipChars + 1);
    }

    std::size_t next = 0;  // heads are in date order, like the cells
    for (DayCell& cell : grid.RQ) {
        if (cell.day.month() != grid.month.month()) {
            cell.visible = false;
            cell.enabled = false;
        }
        const QString date = DateText(cell.day);
        while (next < heads.size() && heads[next].date < date) ++next;
        if (next < heads.size() && heads[next].date == date) {
            cell.toolTip = NoteToolTip(heads[next].head);
            cell.bold = true;
            cell.underline = true;
            cell.textColour = colours.CalendarNoteTextColor;
            cell.handCursor = true;
        }
        if (cell.day == today) {
            cell.bold = true;
            cell.opaque = true;
            cell.backColour = colours.CalendarTodayBackColor;
            cell.textColour = colours.CalendarTodayTextColor;
        }
    }
    return grid;
}

DayCaption ShowDayCaption(const QDate& day, const QDate& today) {
    DayCaption caption;
    const std::optional<clsdate> c = LunarDay(day);
    if (!c) return caption;
    caption.NLlabel = LunarLine(*c);

    const QString s = c->sHoliday();
    const QString l = c->lHoliday();
    QString line = s.isEmpty() ? QString() : QStringLiteral("今天 ") + s;
    if (!line.isEmpty() && !l.isEmpty())
        line += u' ' + l;
    else if (!l.isEmpty())
        line = QStringLiteral("今天 ") + l;
    const QString tomorrow = LunarFestivalOf(today.addDays(1));
    if (!tomorrow.isEmpty()) line += QStringLiteral(" 明天 ") + tomorrow;
    const QString afterTomorrow = LunarFestivalOf(today.addDays(2));
    if (!afterTomorrow.isEmpty()) line += QStringLiteral(" 后天 ") + afterTomorrow;
    caption.Label7 = line;
    return caption;
}

QString LunarFestivalOf(const QDate& day) {
    const std::optional<clsdate> c = LunarDay(day);
    return c ? c->lHoliday() : QString();
}

}  // namespace DateDay

}  // namespace tavo
