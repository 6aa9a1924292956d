// The calendar strip in the main window: the month buttons through the
// core's hooks, the notes window opened from the window, and the notes
// window's save step on the program's way out.
#include "app/ui/main_form.h"

#include "calendar/ui/calendar_strip.h"
#include "calendar/core/notes_store.h"
#include "calendar/ui/notes_window.h"
#include "support/core/fake_media_player.h"
#include "support/fake_message_box.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace tavo {
namespace {

const QDate kToday(2026, 12, 7);

class MainCalendarTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousPath_ = NotesDbPath;
        NotesDbPath = dir_ / "notepad.mdb";
        ASSERT_TRUE(CreateNotesDb(NotesDbPath));
        form_ = std::make_unique<MainForm>(player_);
        form_->core().hooks.ExitProgram = [] {};
        // A fixed today, so that a run across midnight sees one day.
        form_->Calendar()->SetClock([] { return QDateTime(kToday, QTime(12, 0)); });
        form_->Calendar()->ShowToday();
    }
    void TearDown() override {
        if (menuFrm* w = NotesWindow()) delete w;
        form_.reset();
        CloseNotesDb();
        NotesDbPath = previousPath_;
    }
    bool Shown(int i) { return !form_->PageA(i)->isHidden(); }

    test::TempDir dir_;
    std::filesystem::path previousPath_;
    test::FakeMediaPlayer player_;
    test::ScopedFakeMessageBox messages_;
    std::unique_ptr<MainForm> form_;
};

TEST_F(MainCalendarTest, MonthButtonsMoveTheStripAndShowBackToToday) {
    const QString thisMonth = kToday.toString("yyyy.MM");
    EXPECT_EQ(form_->Calendar()->YMlabel(), thisMonth);
    EXPECT_TRUE(Shown(10) && Shown(11) && Shown(13));
    EXPECT_FALSE(Shown(12));
    const struct {
        int button;
        int months;  // from this month
    } steps[] = {{10, -1}, {10, -2}, {11, -1}, {11, 0}, {11, 1}, {12, 0}};
    for (const auto& s : steps) {
        QTest::mouseClick(form_->PageA(s.button), Qt::LeftButton);
        const QString month = kToday.addMonths(s.months).toString("yyyy.MM");
        EXPECT_EQ(form_->Calendar()->YMlabel(), month) << s.button;
        EXPECT_EQ(form_->core().ui.YMlabel, month);
        EXPECT_EQ(Shown(12), s.months != 0) << s.button;
    }
}

TEST_F(MainCalendarTest, TheNotesButtonOpensTodayAndTheExitStepSavesTheEdit) {
    QTest::mouseClick(form_->PageA(13), Qt::LeftButton);
    menuFrm* w = NotesWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->logic().CurDate, kToday.toString("yyyy-MM-dd"));
    w->Text1()->setFocus();
    QTest::keyClicks(w->Text1(), "typed, then the program ends");
    form_->core().exit.Exit();
    auto db = NotesDb::Open(NotesDbPath);
    EXPECT_EQ(db->FindNote(kToday.toString("yyyy-MM-dd")),
              std::optional<QString>("typed, then the program ends"));
}

}  // namespace
}  // namespace tavo
