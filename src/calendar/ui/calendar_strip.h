#pragma once
// The calendar strip of the main window: the month caption YMlabel, the
// weekday header Label5, the 42 day cells RQ(0..41), the lunar line NLlabel
// and the festival line Label7. DateDay decides what they show; this widget
// paints it (calendar_strip_paint.h) and turns mouse input into signals.
//
// The month buttons PageA 10..13 belong to the main window: it places them
// on the strip's first line, calls the slots below on their clicks and shows
// them as ControlsChanged says.
//
// With the calendar switched off (CalendarColours::ShowCalendar false) the
// strip draws nothing and takes no clicks.
//
// The strip follows the date: a timer fires just after the clock's next
// midnight (CheckDate), and today's marks and lines move to the new day.

#include "calendar/ui/calendar_strip_paint.h"
#include "calendar/date_day.h"

#include <QDateTime>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace tavo {

class CalendarStrip : public QWidget {
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;

    explicit CalendarStrip(QWidget* parent = nullptr);

    // The clock that says what today is (the system clock unless set).
    void SetClock(Clock clock);
    // The notes the grid marks (a new connection to NotesDbPath unless set).
    void SetNotesOpener(NotesOpener open);
    // New skin colours: the grid and the captions are drawn again for today.
    void SetColours(const CalendarColours& colours);

    const MonthGrid& Grid() const { return grid_; }
    const DayCaption& Caption() const { return caption_; }
    QString YMlabel() const { return grid_.YMlabel(); }
    QDate Today() const;
    const StripLayout& Layout() const { return layout_; }
    // The timer that fires after the next midnight.
    const QTimer& MidnightTimer() const { return midnight_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

public Q_SLOTS:
    // Shows the month of `monthDate` (only its year and month matter).
    void FillMonthGrid(const QDate& monthDate);
    // Writes NLlabel and Label7 for `day` (the strip passes today).
    void ShowDayCaption(const QDate& day);
    // Today's month and today's lines: after a skin is applied.
    void ShowToday();
    // Shows the month `months` before (negative) or after the shown one.
    void StepMonth(int months);
    void PageA10();  // previous month: StepMonth(-1)
    void PageA11();  // next month: StepMonth(+1)
    void PageA12();  // back to today's month
    void PageA13();  // the notes of today: raises NotesRequested
    // Reads the notes of the shown month again (after the notes window closed).
    void RefillShownMonth();
    // Moves today's marks and lines when the date has changed.
    void CheckDate();

Q_SIGNALS:
    // A click on a day that has a note (an underlined cell).
    void DayClicked(const QDate& day);
    // PageA 13: the notes window is wanted on today.
    void NotesRequested(const QDate& today);
    // After every grid fill: which of PageA 10, 11, 13 (calendarShown) and
    // PageA 12 (backToTodayShown) the main window shows.
    void ControlsChanged(bool calendarShown, bool backToTodayShown);

protected:
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void ScheduleMidnight();
    void Relayout();
    // The visible cell under `p` that has a note, or -1.
    int NoteCellAt(const QPoint& p) const;

    Clock clock_;
    NotesOpener open_;
    CalendarColours colours_;
    MonthGrid grid_;
    DayCaption caption_;
    QDate today_;  // the day today's marks were drawn for
    StripLayout layout_;
    QTimer midnight_;
};

}  // namespace tavo
