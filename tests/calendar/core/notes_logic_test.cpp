// The notes window's decisions, driven without a window: opening on a day,
// the lists, saving edits, both searches, closing, and the faults of a
// failing or misdirected save.
#include <gtest/gtest.h>

#include "calendar/core/notes_logic.h"
#include "calendar/core/notes_store.h"
#include "raw_sqlite.h"
#include "support/fake_message_box.h"
#include "support/temp_dir.h"

namespace tavo {
namespace {

using test::RawExec;
using test::RawQuery;

QDate D(const char* text) { return QDate::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd")); }

class NotesLogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = dir_ / "notepad" / "notepad.mdb";
        ASSERT_TRUE(CreateNotesDb(file_));
        ASSERT_TRUE(OpenNotesDb(file_));
    }
    void TearDown() override { CloseNotesDb(); }

    void Add(const char* day, const QString& text) {
        const QString d = QString::fromLatin1(day);
        ASSERT_TRUE(NotesConn->AddDay(d.left(4), d.left(7), d));
        ASSERT_TRUE(NotesConn->SaveNote(d, text));
    }
    std::string Stored(const char* day) {
        return RawQuery(file_, std::string("SELECT qel_text FROM notepad WHERE qel_date = '") + day + "'");
    }
    int Rows() { return std::stoi(RawQuery(file_, "SELECT count(*) FROM notepad")); }
    // The user types into the visible editor.
    void Type(const QString& text) { logic_.Typed(logic_.ui.Text1.visible ? logic_.ui.Text1 : logic_.ui.Text3, text); }
    // The user picks a day of the list by its date.
    void Pick(const char* day) {
        for (int i = 0; i < logic_.ui.list1.size(); ++i)
            if (NotesLogic::EntryDate(logic_.ui.list1[i]) == QLatin1String(day)) return logic_.list1_Click(i);
        ADD_FAILURE() << day << " is not listed";
    }

    test::TempDir dir_;
    std::filesystem::path file_;
    QDate today_ = D("2010-02-14");
    NotesLogic logic_{[this] { return today_; }};
    test::ScopedFakeMessageBox messages_;
};

TEST_F(NotesLogicTest, OpenedOnTodayWithoutANoteAddsTodayAndClosingUntouchedRemovesIt) {
    Add("2009-12-31", "old");
    ASSERT_TRUE(logic_.goToDay(today_));
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(Stored("2010-02-14"), "<null>");
    EXPECT_EQ(logic_.ui.Combo1, QStringList({"2009年", "2010年"}));
    EXPECT_EQ(logic_.ui.Combo1Text, "2010年");
    EXPECT_EQ(logic_.ui.list1, QStringList({"2010-02-14(今日)"}));
    EXPECT_EQ(logic_.ui.list1Index, 0);
    EXPECT_EQ(logic_.CurDate, "2010-02-14");
    EXPECT_TRUE(logic_.Ready);
    EXPECT_FALSE(logic_.ui.Text1.readOnly);

    EXPECT_TRUE(logic_.Unload());
    EXPECT_EQ(Stored("2010-02-14"), "<none>");
    EXPECT_EQ(Rows(), 1);
    EXPECT_FALSE(logic_.Ready);
    EXPECT_FALSE(NotesConn);
    EXPECT_FALSE(NotesDbOpen);
    EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(NotesLogicTest, OpeningTwiceListsEachYearAndDayOnceAndSelectsTheDay) {
    Add("2009-05-01", "a");
    Add("2010-01-02", "b");
    Add("2010-02-01", "c");
    ASSERT_TRUE(logic_.goToDay(today_));
    ASSERT_TRUE(logic_.goToDay(D("2010-01-02")));
    EXPECT_EQ(logic_.ui.Combo1, QStringList({"2009年", "2010年"}));
    EXPECT_EQ(logic_.ui.list1, QStringList({"2010-02-14(今日)", "2010-02-01", "2010-01-02"}));
    EXPECT_EQ(logic_.ui.list1Index, 2);
    EXPECT_EQ(logic_.ui.Text1.text, "b");
    EXPECT_EQ(logic_.ui.Text1.selStart, 1);  // caret at the end
    EXPECT_EQ(logic_.ui.focus, NotesControls::Focus::Text1);  // Ready: the editor takes the focus

    // A year picked in the list shows its newest day.
    logic_.Combo1_Click("2009年");
    EXPECT_EQ(logic_.ui.list1, QStringList({"2009-05-01"}));
    EXPECT_EQ(logic_.ui.list1Index, 0);
    EXPECT_EQ(logic_.ui.Text1.text, "a");
    EXPECT_EQ(logic_.CurYearText, "2009年");
}

TEST_F(NotesLogicTest, AnEditIsSavedToItsOwnDayBeforeAnotherDayIsShown) {
    Add("2010-01-02", "first");
    Add("2010-01-03", "second");
    ASSERT_TRUE(logic_.goToDay(D("2010-01-02")));
    Type("first, edited");
    Pick("2010-01-03");
    EXPECT_EQ(Stored("2010-01-02"), "first, edited");
    EXPECT_EQ(Stored("2010-01-03"), "second");
    EXPECT_EQ(logic_.ui.Text1.text, "second");
    EXPECT_EQ(logic_.CurDate, "2010-01-03");

    // Focus loss saves too; the closing steps save what is left.
    Type("second, edited");
    logic_.Text1_LostFocus();
    EXPECT_EQ(Stored("2010-01-03"), "second, edited");
    Type("second, last");
    EXPECT_TRUE(logic_.Unload());
    EXPECT_EQ(Stored("2010-01-03"), "second, last");
}

TEST_F(NotesLogicTest, AnEditUndoneAfterAQuietSaveIsSavedToo) {
    Add("2010-01-02", "first");
    Add("2010-01-03", "second");
    ASSERT_TRUE(logic_.goToDay(D("2010-01-02")));
    Type("first!");
    logic_.AutoSave();
    ASSERT_EQ(Stored("2010-01-02"), "first!");
    // Typed back to the text first loaded: that is a change from what is stored.
    Type("first");
    Pick("2010-01-03");
    EXPECT_EQ(Stored("2010-01-02"), "first");
    EXPECT_EQ(logic_.CurDate, "2010-01-03");
}

TEST_F(NotesLogicTest, SingleNoteSearchSelectsEachMatchThenCountsThem) {
    Add("2010-01-02", "abc xx abc yy abc");
    ASSERT_TRUE(logic_.goToDay(D("2010-01-02")));
    logic_.ui.Text2 = "abc";
    const int expected[] = {0, 7, 14};
    for (int at : expected) {
        logic_.Command2_Click();
        EXPECT_EQ(logic_.ui.Text1.selStart, at);
        EXPECT_EQ(logic_.ui.Text1.selLength, 3);
    }
    EXPECT_EQ(logic_.FindCount(), 3);
    EXPECT_TRUE(messages_.shown().empty());
    logic_.Command2_Click();
    ASSERT_EQ(messages_.shown().size(), 1u);
    EXPECT_EQ(messages_.shown()[0].text, "查找完成，共到到 3 处。");
    EXPECT_EQ(messages_.shown()[0].title, "提示");
    EXPECT_EQ(messages_.shown()[0].icon, platform::MsgIcon::Information);
    EXPECT_EQ(logic_.FindCount(), 0);

    // Matching is case-sensitive; a search text of spaces does nothing.
    logic_.ui.Text2 = "ABC";
    logic_.Command2_Click();
    EXPECT_EQ(messages_.shown().back().text, "查找完成，共到到 0 处。");
    logic_.ui.Text2 = "   ";
    logic_.Command2_Click();
    EXPECT_EQ(messages_.shown().size(), 2u);
}

TEST_F(NotesLogicTest, AllNotesSearchStepsThroughEveryMatchNewestNoteFirst) {
    Add("2009-01-01", "key one, key two");
    Add("2010-01-01", "nothing here");
    Add("2010-01-05", "the key");
    ASSERT_TRUE(logic_.goToDay(D("2010-01-01")));
    logic_.ui.Check1 = true;
    logic_.ui.Text2 = "key";
    const struct {
        const char* day;
        int at;
    } steps[] = {{"2010-01-05", 4}, {"2009-01-01", 0}, {"2009-01-01", 9}};
    for (const auto& s : steps) {
        logic_.Command2_Click();
        EXPECT_TRUE(logic_.ui.Frame1Visible);
        EXPECT_TRUE(logic_.ui.Text3.visible);
        EXPECT_FALSE(logic_.ui.Text1.visible);
        EXPECT_EQ(logic_.ui.List2, QStringList({"2010-01-05", "2009-01-01"}));
        EXPECT_EQ(logic_.CurDate, s.day);
        EXPECT_EQ(logic_.ui.Text3.selStart, s.at) << s.day;
    }
    EXPECT_TRUE(messages_.shown().empty());
    logic_.Command2_Click();
    ASSERT_EQ(messages_.shown().size(), 1u);
    EXPECT_EQ(messages_.shown()[0].text, "己经完成所有查找！");

    // An edit in the result panel goes to the found day; closing the panel
    // shows the day list's note again.
    Type("key one, key two, key three");
    logic_.command3_Click();
    EXPECT_EQ(Stored("2009-01-01"), "key one, key two, key three");
    EXPECT_FALSE(logic_.ui.Frame1Visible);
    EXPECT_TRUE(logic_.ui.Text1.visible);
    EXPECT_TRUE(logic_.ui.List2.isEmpty());
    EXPECT_EQ(logic_.LastKey, "");
    EXPECT_EQ(logic_.CurDate, "2010-01-01");
    EXPECT_EQ(logic_.ui.Text1.text, "nothing here");
}

TEST_F(NotesLogicTest, AllNotesSearchWithoutAMatchEndsAtOnce) {
    Add("2010-01-01", "abc");
    ASSERT_TRUE(logic_.goToDay(D("2010-01-01")));
    logic_.ui.Check1 = true;
    logic_.ui.Text2 = "100%";
    logic_.Command2_Click();
    ASSERT_EQ(messages_.shown().size(), 1u);
    EXPECT_EQ(messages_.shown()[0].text, "己经完成所有查找！");
    EXPECT_TRUE(logic_.ui.List2.isEmpty());
    EXPECT_TRUE(logic_.ui.Text3.readOnly);  // no day shown: nothing typed there can go astray
    EXPECT_EQ(logic_.CurDate, "");
}

TEST_F(NotesLogicTest, LeavingTheResultPanelBySearchingOneNoteKeepsEditorAndDayTogether) {
    // Text1 shows the list's day again, so an edit there cannot overwrite
    // the day found by the all-notes search.
    Add("2010-01-01", "list day");
    Add("2010-01-02", "found day");
    ASSERT_TRUE(logic_.goToDay(D("2010-01-01")));
    logic_.ui.Check1 = true;
    logic_.ui.Text2 = "found";
    logic_.Command2_Click();
    ASSERT_EQ(logic_.CurDate, "2010-01-02");
    logic_.ui.Check1 = false;
    logic_.ui.Text2 = "day";
    logic_.Command2_Click();
    EXPECT_EQ(logic_.CurDate, "2010-01-01");
    Type("list day, edited");
    EXPECT_TRUE(logic_.Unload());
    EXPECT_EQ(Stored("2010-01-01"), "list day, edited");
    EXPECT_EQ(Stored("2010-01-02"), "found day");
}

TEST_F(NotesLogicTest, AFailingSaveIsReportedAndTheTextStays) {
    Add("2010-01-02", "before");
    Add("2010-01-03", "other");
    ASSERT_TRUE(logic_.goToDay(D("2010-01-02")));
    // Writes now fail, as on a full disk.
    ASSERT_TRUE(RawExec(file_, "CREATE TRIGGER full BEFORE UPDATE ON notepad BEGIN SELECT RAISE(ABORT, 'full'); END;"
                               "CREATE TRIGGER full2 BEFORE INSERT ON notepad BEGIN SELECT RAISE(ABORT, 'full'); END;"));
    Type("typed text");
    logic_.AutoSave();  // quiet: the message comes when the editor is left
    EXPECT_TRUE(messages_.shown().empty());
    logic_.Text1_LostFocus();
    ASSERT_EQ(messages_.shown().size(), 1u);
    EXPECT_EQ(messages_.shown()[0].title, "出错啦！");
    EXPECT_EQ(Stored("2010-01-02"), "before");

    // Another day is not shown over the unsaved text (no second message for it).
    Pick("2010-01-03");
    EXPECT_EQ(logic_.ui.Text1.text, "typed text");
    EXPECT_EQ(logic_.CurDate, "2010-01-02");
    EXPECT_EQ(messages_.shown().size(), 1u);

    // Closing asks; "No" keeps the window and the text.
    messages_.box().answer = platform::MsgResult::No;
    EXPECT_FALSE(logic_.Unload());
    EXPECT_EQ(messages_.shown().size(), 2u);
    EXPECT_EQ(messages_.shown()[1].buttons, platform::MsgButtons::YesNo);
    EXPECT_TRUE(NotesConn);
    EXPECT_EQ(logic_.ui.Text1.text, "typed text");

    // Once writing works again the same text is saved.
    ASSERT_TRUE(RawExec(file_, "DROP TRIGGER full; DROP TRIGGER full2;"));
    EXPECT_TRUE(logic_.Unload());
    EXPECT_EQ(Stored("2010-01-02"), "typed text");
}

TEST_F(NotesLogicTest, ASaveForADayWhoseRowHasGoneMakesItAgain) {
    Add("2010-01-02", "before");
    ASSERT_TRUE(logic_.goToDay(D("2010-01-02")));
    ASSERT_TRUE(RawExec(file_, "DELETE FROM notepad"));
    Type("kept");
    logic_.Text1_LostFocus();
    EXPECT_EQ(RawQuery(file_, "SELECT qel_year || '|' || qel_Month || '|' || qel_text FROM notepad "
                              "WHERE qel_date = '2010-01-02'"),
              "2010|2010-01|kept");
    EXPECT_EQ(Rows(), 1);
    EXPECT_TRUE(messages_.shown().empty());
}

}  // namespace
}  // namespace tavo
