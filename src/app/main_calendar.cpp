// The main window's calendar strip: where it sits, the month buttons
// PageA 10..13, a click on a day with a note, and the notes window's save
// step on the program's way out.
#include "app/main_form.h"

#include "calendar/calendar_strip.h"
#include "calendar/notes_window.h"

#include <QPushButton>

namespace tavo {

// The strip's area: YMlabel and the month buttons on its first line, then
// the weekday header, six rows of days and the lunar and festival lines.
const QRect MainForm::kCalendarArea(12, 466, 306, 174);

void MainForm::AttachCalendar() {
    calendar_ = new CalendarStrip(this);
    calendar_->setGeometry(kCalendarArea);
    calendar_->lower();  // under the month buttons that sit on its first line

    core_.hooks.CalendarMonthStep = [this](int months) { calendar_->StepMonth(months); };
    core_.hooks.CalendarThisMonth = [this] { calendar_->PageA12(); };
    core_.hooks.OpenCalendar = [this] { calendar_->PageA13(); };

    // PageA(13) (today) and a day with a note open the notes window; the
    // grid is read again when it closes.
    const auto openNotes = [this](const QDate& day) {
        OpenNotesWindow(day, [strip = QPointer<CalendarStrip>(calendar_)] {
            if (strip) strip->RefillShownMonth();
        });
    };
    connect(calendar_, &CalendarStrip::NotesRequested, this, openNotes);
    connect(calendar_, &CalendarStrip::DayClicked, this, openNotes);

    const auto showButtons = [this](bool calendarShown, bool backToTodayShown) {
        for (int i : {10, 11, 13}) pageA_[static_cast<size_t>(i)]->setVisible(calendarShown);
        pageA_[12]->setVisible(backToTodayShown);
        core_.ui.YMlabel = calendar_->YMlabel();
    };
    connect(calendar_, &CalendarStrip::ControlsChanged, this, showButtons);
    showButtons(calendar_->Grid().calendarShown, calendar_->Grid().calendarShown && calendar_->Grid().backToTodayShown);

    // Typed notes are saved however the program ends.
    core_.exit.AddSaveStep([] { SaveUnsavedNotes(); });
}

CalendarStrip* MainForm::Calendar() const { return calendar_; }

}  // namespace tavo
