#include "calendar/ui/calendar_strip.h"

#include "calendar/core/notes_store.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace tavo {

namespace {

constexpr int kStripWidth = 306;
// The midnight timer fires this long after midnight, and looks again at least
// this often (a suspended machine or a changed clock).
constexpr qint64 kAfterMidnightMs = 1000;
constexpr qint64 kLongestWaitMs = 60 * 60 * 1000;

// A tooltip shown as plain text, line breaks kept.
QString PlainToolTip(const QString& text) {
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

}  // namespace

CalendarStrip::CalendarStrip(QWidget* parent) : QWidget(parent), open_(&OpenGridNotes) {
    setObjectName(QStringLiteral("CalendarStrip"));
    setMouseTracking(true);
    midnight_.setSingleShot(true);
    midnight_.setTimerType(Qt::PreciseTimer);
    connect(&midnight_, &QTimer::timeout, this, &CalendarStrip::CheckDate);
    Relayout();
    today_ = Today();
    ShowToday();
    ScheduleMidnight();
}

QDate CalendarStrip::Today() const { return clock_ ? clock_().date() : QDate::currentDate(); }

void CalendarStrip::SetClock(Clock clock) {
    clock_ = std::move(clock);
    today_ = Today();
    ShowToday();
    ScheduleMidnight();
}

void CalendarStrip::SetNotesOpener(NotesOpener open) {
    open_ = std::move(open);
    RefillShownMonth();
}

void CalendarStrip::SetColours(const CalendarColours& colours) {
    colours_ = colours;
    ShowToday();
}

QSize CalendarStrip::sizeHint() const { return StripLayout::For(kStripWidth, font()).size(); }

// ---------------------------------------------------------------- month and day

void CalendarStrip::FillMonthGrid(const QDate& monthDate) {
    if (!monthDate.isValid()) return;
    grid_ = DateDay::FillMonthGrid(monthDate, Today(), colours_, open_);
    if (underMouse()) unsetCursor();
    update();
    Q_EMIT ControlsChanged(grid_.calendarShown, grid_.calendarShown && grid_.backToTodayShown);
}

void CalendarStrip::ShowDayCaption(const QDate& day) {
    caption_ = DateDay::ShowDayCaption(day, Today());
    update();
}

void CalendarStrip::ShowToday() {
    const QDate today = Today();
    FillMonthGrid(today);
    ShowDayCaption(today);
}

void CalendarStrip::StepMonth(int months) { FillMonthGrid(grid_.month.addMonths(months)); }
void CalendarStrip::PageA10() { StepMonth(-1); }
void CalendarStrip::PageA11() { StepMonth(1); }
void CalendarStrip::PageA12() { FillMonthGrid(Today()); }
void CalendarStrip::PageA13() { Q_EMIT NotesRequested(Today()); }
void CalendarStrip::RefillShownMonth() { FillMonthGrid(grid_.month.isValid() ? grid_.month : Today()); }

void CalendarStrip::CheckDate() {
    const QDate now = Today();
    if (now != today_) {
        // The strip showing the old today's month moves on with the date.
        const bool followed = grid_.month.year() == today_.year() && grid_.month.month() == today_.month();
        today_ = now;
        FillMonthGrid(followed ? now : grid_.month);
        ShowDayCaption(now);
    }
    ScheduleMidnight();
}

void CalendarStrip::ScheduleMidnight() {
    const QDateTime now = clock_ ? clock_() : QDateTime::currentDateTime();
    const QDateTime midnight(now.date().addDays(1), QTime(0, 0));
    const qint64 wait = std::clamp(now.msecsTo(midnight) + kAfterMidnightMs, kAfterMidnightMs, kLongestWaitMs);
    midnight_.start(static_cast<int>(wait));
}

// ---------------------------------------------------------------- painting and input

void CalendarStrip::Relayout() { layout_ = StripLayout::For(width() > 0 ? width() : kStripWidth, font()); }

void CalendarStrip::resizeEvent(QResizeEvent* e) {
    Relayout();
    QWidget::resizeEvent(e);
}

void CalendarStrip::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange) {
        Relayout();
        updateGeometry();
    }
    QWidget::changeEvent(e);
}

void CalendarStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintCalendarStrip(p, layout_, font(), grid_, caption_, colours_);
}

int CalendarStrip::NoteCellAt(const QPoint& p) const {
    const int i = layout_.CellAt(p);
    if (i < 0) return -1;
    const DayCell& cell = grid_.RQ[static_cast<std::size_t>(i)];
    return cell.visible && cell.enabled && cell.underline ? i : -1;
}

void CalendarStrip::mouseMoveEvent(QMouseEvent* e) {
    const int i = NoteCellAt(e->position().toPoint());
    if (i >= 0 && grid_.RQ[static_cast<std::size_t>(i)].handCursor)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    QWidget::mouseMoveEvent(e);
}

void CalendarStrip::leaveEvent(QEvent* e) {
    unsetCursor();
    QWidget::leaveEvent(e);
}

void CalendarStrip::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        const int i = NoteCellAt(e->position().toPoint());
        if (i >= 0) Q_EMIT DayClicked(grid_.RQ[static_cast<std::size_t>(i)].day);
    }
    QWidget::mouseReleaseEvent(e);
}

bool CalendarStrip::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(e);
        const int i = layout_.CellAt(help->pos());
        QString tip;
        QRect area;
        if (i >= 0 && grid_.RQ[static_cast<std::size_t>(i)].visible) {
            tip = grid_.RQ[static_cast<std::size_t>(i)].toolTip;
            area = layout_.Cell(i);
        } else if (grid_.calendarShown && layout_.label7.contains(help->pos()) &&
                   QFontMetrics(font()).horizontalAdvance(caption_.Label7) > layout_.label7.width()) {
            tip = caption_.Label7;  // the whole festival line when it is cut
            area = layout_.label7;
        }
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), PlainToolTip(tip), this, area);
        return true;
    }
    return QWidget::event(e);
}

}  // namespace tavo
