// The notes window as the user meets it: its lists and editor, typing and
// closing, the month grid beside it, and the program ending with an edit
// still in the editor.
#include <gtest/gtest.h>

#include "calendar/ui/calendar_strip.h"
#include "calendar/core/notes_store.h"
#include "calendar/ui/notes_window.h"
#include "../core/raw_sqlite.h"
#include "support/event_loop.h"
#include "support/fake_message_box.h"
#include "support/temp_dir.h"

#include <QComboBox>
#include <QFrame>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace tavo {
namespace {

using test::RawQuery;

class NotesWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousPath_ = NotesDbPath;
        NotesDbPath = dir_ / "notepad" / "notepad.mdb";
        ASSERT_TRUE(CreateNotesDb(NotesDbPath));
        auto db = NotesDb::Open(NotesDbPath);
        for (const char* day : {"2010-08-02", "2010-07-20", "2009-03-01"}) {
            const QString d = QString::fromLatin1(day);
            ASSERT_TRUE(db->AddDay(d.left(4), d.left(7), d));
            ASSERT_TRUE(db->SaveNote(d, QStringLiteral("note of ") + d));
        }
        strip_.SetClock([] { return QDateTime(QDate(2010, 8, 9), QTime(12, 0)); });
    }
    void TearDown() override {
        if (menuFrm* w = NotesWindow()) {
            w->close();
            delete w;
        }
        CloseNotesDb();
        NotesDbPath = previousPath_;
    }
    bool Open(const QDate& day) {
        return OpenNotesWindow(day, [this] { strip_.RefillShownMonth(); }, [] { return QDate(2010, 8, 9); });
    }
    std::string Stored(const char* day) {
        return RawQuery(NotesDbPath, std::string("SELECT qel_text FROM notepad WHERE qel_date = '") + day + "'");
    }
    // Typing at the end of the note, as the user does.
    static void TypeInto(QPlainTextEdit* edit, const QString& text) {
        edit->setFocus();
        edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(edit, text);
    }

    test::TempDir dir_;
    std::filesystem::path previousPath_;
    test::ScopedFakeMessageBox messages_;
    CalendarStrip strip_;
};

TEST_F(NotesWindowTest, ShowsTheDayOfItsYearAndTheExitButtonCloses) {
    ASSERT_TRUE(Open(QDate(2010, 8, 2)));
    menuFrm* w = NotesWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->Frame1()->isVisible());
    EXPECT_FALSE(w->Text3()->isVisible());
    EXPECT_TRUE(w->Text1()->isVisible());
    ASSERT_EQ(w->Combo1()->count(), 2);
    EXPECT_EQ(w->Combo1()->currentText(), "2010年");
    ASSERT_EQ(w->list1()->count(), 2);
    EXPECT_EQ(w->list1()->currentItem()->text(), "2010-08-02");
    EXPECT_EQ(w->Text1()->toPlainText(), "note of 2010-08-02");

    // The exit button closes it.
    QTest::mouseClick(w->Command1(1), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(NotesWindow(), nullptr) << "closed and deleted";
    EXPECT_FALSE(NotesConn);
}

TEST_F(NotesWindowTest, WithoutADatabaseTheWindowDoesNotOpen) {
    std::filesystem::remove(NotesDbPath);
    EXPECT_FALSE(Open(QDate(2010, 8, 9)));
    EXPECT_EQ(NotesWindow(), nullptr);
    ASSERT_EQ(messages_.shown().size(), 1u);
    EXPECT_EQ(messages_.shown()[0].text, "记事数据库丢失或损坏！");
    EXPECT_EQ(messages_.shown()[0].title, "出错啦！");
    EXPECT_EQ(messages_.shown()[0].icon, platform::MsgIcon::Exclamation);
}

TEST_F(NotesWindowTest, ANoteTypedWhileTheGridChangesMonthIsStored) {
    ASSERT_TRUE(Open(QDate(2010, 8, 9)));  // today: a new empty note
    menuFrm* w = NotesWindow();
    TypeInto(w->Text1(), "typed before the month changed");
    strip_.PageA10();  // the grid reads the notes while the window is open
    strip_.PageA11();
    EXPECT_TRUE(NotesConn);
    w->close();
    EXPECT_EQ(Stored("2010-08-09"), "typed before the month changed");
    EXPECT_TRUE(messages_.shown().empty());
    // The grid was read again on closing: today now has a note.
    EXPECT_TRUE(strip_.Grid().RQ[15].underline);  // 2010-08-09
}

TEST_F(NotesWindowTest, TheExitStepSavesWhatIsStillInTheEditor) {
    ASSERT_TRUE(Open(QDate(2010, 8, 2)));
    menuFrm* w = NotesWindow();
    TypeInto(w->Text1(), ", more");
    ASSERT_TRUE(w->Text1()->hasFocus() || !QApplication::focusWidget());  // never left the editor
    EXPECT_EQ(Stored("2010-08-02"), "note of 2010-08-02");
    EXPECT_TRUE(SaveUnsavedNotes());
    EXPECT_EQ(Stored("2010-08-02"), "note of 2010-08-02, more");
    EXPECT_EQ(NotesWindow(), w);  // still open and usable

    // Picking another day saves first, through the widgets.
    TypeInto(w->Text1(), "!");
    w->list1()->setCurrentRow(1);
    EXPECT_EQ(Stored("2010-08-02"), "note of 2010-08-02, more!");
    EXPECT_EQ(w->Text1()->toPlainText(), "note of 2010-07-20");
    EXPECT_TRUE(SaveUnsavedNotes());
}

TEST_F(NotesWindowTest, APauseInTypingSavesQuietly) {
    ASSERT_TRUE(Open(QDate(2010, 8, 2)));
    menuFrm* w = NotesWindow();
    w->AutoSaveTimer().setInterval(1);
    TypeInto(w->Text1(), " typed");
    EXPECT_TRUE(test::WaitFor([this] { return Stored("2010-08-02") == "note of 2010-08-02 typed"; }));
    EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(NotesWindowTest, ViewingANoteNeverRewritesIt) {
    ASSERT_TRUE(test::RawExec(NotesDbPath, "UPDATE notepad SET qel_text = 'a' || char(13, 10) || 'b' || char(160) "
                                           "WHERE qel_date = '2010-08-02'"));
    ASSERT_TRUE(Open(QDate(2010, 8, 2)));
    menuFrm* w = NotesWindow();
    EXPECT_EQ(w->Text1()->document()->blockCount(), 2);
    w->list1()->setCurrentRow(1);
    w->close();
    EXPECT_EQ(Stored("2010-08-02"), "a\r\nb\xC2\xA0");
}

}  // namespace
}  // namespace tavo
