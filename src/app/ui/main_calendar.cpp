// The main window's calendar strip: where it sits, its colours from the
// skin, the month buttons PageA 10..13, a click on a day with a note, and
// the notes window's save step on the program's way out.
#include "app/ui/main_form.h"

#include "calendar/ui/calendar_strip.h"
#include "calendar/ui/notes_window.h"
#include "skin/skin_module.h"

#include <QPointer>

namespace tavo {

void MainForm::AttachCalendar() {
    calendar_ = new CalendarStrip(this);

    core_.hooks.CalendarMonthStep = [this](int months) { calendar_->StepMonth(months); };
    core_.hooks.CalendarThisMonth = [this] { calendar_->PageA12(); };
    core_.hooks.OpenCalendar = [this] { calendar_->PageA13(); };
    // After every skin painting: the skin's calendar colours, and today's
    // captions drawn again with them.
    core_.hooks.CalendarCaptions = [this] {
        CalendarColours c;
        c.CalendarTextColor = static_cast<std::uint32_t>(SkinModule::CalendarTextColor);
        c.CalendarNoteTextColor = static_cast<std::uint32_t>(SkinModule::CalendarNoteTextColor);
        c.CalendarWeekColor = static_cast<std::uint32_t>(SkinModule::CalendarWeekColor);
        c.CalendarTodayBackColor = static_cast<std::uint32_t>(SkinModule::CalendarTodayBackColor);
        c.CalendarTodayTextColor = static_cast<std::uint32_t>(SkinModule::CalendarTodayTextColor);
        c.ShowCalendar = SkinModule::ShowCalendar != 0;
        calendar_->SetColours(c);
    };

    // PageA(13) (today) and a day with a note open the notes window; the
    // grid is read again when it closes. Both go by the strip's clock, so
    // that the window's today is the strip's.
    const auto openNotes = [this](const QDate& day) {
        const QPointer<CalendarStrip> strip(calendar_);
        OpenNotesWindow(
            day, [strip] { if (strip) strip->RefillShownMonth(); },
            [strip] { return strip ? strip->Today() : QDate::currentDate(); });
    };
    connect(calendar_, &CalendarStrip::NotesRequested, this, openNotes);
    connect(calendar_, &CalendarStrip::DayClicked, this, openNotes);
    connect(calendar_, &CalendarStrip::ControlsChanged, this, [this] { PlaceCalendar(layout_); });

    // Typed notes are saved however the program ends.
    core_.exit.AddSaveStep([] { SaveUnsavedNotes(); });
}

// The strip covers the calendar's part of the layout, under the month
// buttons on its first line; PageA(12) shows only away from this month.
void MainForm::PlaceCalendar(const MainLayout& l) {
    const bool shown = !l.calendar.isEmpty() && calendar_->Grid().calendarShown;
    calendar_->setGeometry(l.calendar);
    calendar_->setVisible(!l.calendar.isEmpty());
    calendar_->lower();
    for (int i : {10, 11, 13}) pageA_[static_cast<size_t>(i)]->setVisible(shown);
    pageA_[12]->setVisible(shown && calendar_->Grid().backToTodayShown);
    core_.ui.YMlabel = calendar_->YMlabel();
    core_.Touch();
}

}  // namespace tavo
