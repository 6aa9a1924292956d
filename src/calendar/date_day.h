#pragma once
// DateDay: what the main window's calendar strip shows, without the widgets.
//
//  - FillMonthGrid: the 42 day cells RQ(0..41) of one month, six rows of
//    seven, weeks beginning on Sunday. The first cell is the Sunday on or
//    before the last day of the previous month, so the first row always
//    holds at least one (hidden) day of the previous month. Days that have a
//    note are bold and underlined in the note colour with a hand cursor and
//    the note's first 40 characters as tooltip; today has its own colours.
//  - ShowDayCaption: the lunar line (NLlabel) and the festival line (Label7)
//    of today.
//  - LunarFestivalOf: the lunar festival of any day.
//
// Colours are 32-bit values red + green*256 + blue*65536. "Today" is always
// passed in, so that a clock can be injected.
//
// The grid reads the notes through a connection of its own, opened for one
// rebuild and released at its end: a rebuild never touches the notes
// window's connection (NotesConn).

#include "calendar/note_heads.h"

#include <QDate>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace tavo {

// The calendar's skin colours and switch, with their built-in defaults.
struct CalendarColours {
    std::uint32_t CalendarTextColor = 8421504;        // 128, 128, 128
    std::uint32_t CalendarNoteTextColor = 33023;      // 255, 128, 0
    std::uint32_t CalendarWeekColor = 1919329;        // 97, 73, 29
    std::uint32_t CalendarTodayBackColor = 4487835;   // 155, 122, 68
    std::uint32_t CalendarTodayTextColor = 16777215;  // 255, 255, 255
    bool ShowCalendar = true;

    bool operator==(const CalendarColours&) const = default;
};

// One day cell RQ(i).
struct DayCell {
    QDate day;
    QString caption;         // day of month, no leading zero
    bool visible = true;     // false for days of other months
    bool enabled = true;
    bool bold = false;
    bool underline = false;  // the day has a note: the cell is clickable
    bool opaque = false;     // background painted (today)
    std::uint32_t textColour = 0;
    std::uint32_t backColour = 0;
    bool handCursor = false;
    QString toolTip;         // plain text
};

inline constexpr int kGridCells = 42;

struct MonthGrid {
    QDate month;                 // first day of the shown month
    bool calendarShown = true;   // cells, Label5, NLlabel, YMlabel, PageA 10, 11, 13
    bool backToTodayShown = false;  // PageA 12: the shown month is not today's
    std::array<DayCell, kGridCells> RQ{};

    // "YYYY.MM" of the shown month.
    QString YMlabel() const { return month.toString(QStringLiteral("yyyy.MM")); }
};

struct DayCaption {
    QString NLlabel;  // lunar line
    QString Label7;   // festival line
};

// Opens a notes connection for one grid rebuild; null when there is none.
using NotesOpener = std::function<std::unique_ptr<NoteHeadReader>()>;

namespace DateDay {

// The day of cell 0 for the month of `monthDate`.
QDate FirstCellDay(const QDate& monthDate);

// The grid for the month of `monthDate` (only its year and month matter).
// With the calendar switched off nothing is opened and every cell is hidden.
MonthGrid FillMonthGrid(const QDate& monthDate, const QDate& today, const CalendarColours& colours,
                        const NotesOpener& openNotes);

// The lines shown for `day` (the strip always passes today); the festivals
// of the next two days count from `today`.
DayCaption ShowDayCaption(const QDate& day, const QDate& today);

// lHoliday of `day`; empty outside the lunar table (1900-01-31..2050-01-22).
QString LunarFestivalOf(const QDate& day);

// A note as a cell's tooltip: the note when it has at most 40 characters,
// otherwise its first 40 followed by "...".
QString NoteToolTip(const QString& note);

// "YYYY-MM-DD".
QString DateText(const QDate& day);

}  // namespace DateDay

}  // namespace tavo
