// The calendar strip's logic: today's lunar and festival lines, the first
// row of a month, note marks and their tooltips, and the switch that turns
// the calendar off.
#include <gtest/gtest.h>

#include "calendar/date_day.h"
#include "calendar/core/notes_store.h"
#include "support/temp_dir.h"

namespace tavo {
namespace {

QDate D(const char* text) { return QDate::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd")); }

TEST(DayCaption, LunarAndFestivalLinesOfToday) {
    const struct {
        const char* day;
        QString NLlabel;
        QString Label7;
    } cases[] = {
        {"2010-02-13", "己丑 牛年 腊月三十 星期六", "今天 除夕 明天 春节"},
        {"2010-02-14", "庚寅 虎年 正月初一 星期日", "今天 情人节 春节"},
        {"2009-06-23", "己丑 牛年  闰 5月初一 星期二", ""},
        {"2010-02-04", "己丑 牛年 腊月廿一 星期四 立春", ""},
        {"2010-02-12", "己丑 牛年 腊月廿九 星期五", " 明天 除夕 后天 春节"},
        {"2010-10-01", "庚寅 虎年 八月廿四 星期五", "今天 国庆节 国际音乐日"},
        {"2050-01-22", "己巳 蛇年 腊月廿九 星期六", "今天 除夕"},  // the table's last day
        {"1900-01-30", "", ""},                                   // before the table
    };
    for (const auto& c : cases) {
        const DayCaption caption = DateDay::ShowDayCaption(D(c.day), D(c.day));
        EXPECT_EQ(caption.NLlabel, c.NLlabel) << c.day;
        EXPECT_EQ(caption.Label7, c.Label7) << c.day;
    }
}

TEST(DayCaption, TomorrowAndTheDayAfterCountFromToday) {
    // The day's own festivals, the next two from the day given as today.
    const DayCaption c = DateDay::ShowDayCaption(D("2010-02-14"), D("2010-02-12"));
    EXPECT_EQ(c.Label7, QStringLiteral("今天 情人节 春节 明天 除夕 后天 春节"));
    EXPECT_EQ(DateDay::LunarFestivalOf(D("2010-02-28")), QStringLiteral("元宵节"));
    EXPECT_EQ(DateDay::LunarFestivalOf(D("2010-03-01")), QString());
    EXPECT_EQ(DateDay::LunarFestivalOf(D("1800-01-01")), QString());
}

TEST(MonthGrid, FirstRowStartsOnTheSundayBeforeTheMonth) {
    const struct {
        const char* month;
        const char* firstCell;
        int firstOfMonthCell;
    } cases[] = {
        {"2010-08-15", "2010-07-25", 7},  // begins on a Sunday: a whole row of July
        {"2010-05-31", "2010-04-25", 6},  // begins on a Saturday
        {"2010-02-01", "2010-01-31", 1},  // begins on a Monday
        {"2009-12-31", "2009-11-29", 2},
    };
    for (const auto& c : cases) {
        const MonthGrid g = DateDay::FillMonthGrid(D(c.month), D("2001-01-01"), {}, {});
        EXPECT_EQ(g.RQ[0].day, D(c.firstCell)) << c.month;
        EXPECT_EQ(g.YMlabel(), D(c.month).toString("yyyy.MM"));
        const int daysInMonth = D(c.month).daysInMonth();
        for (int i = 0; i < kGridCells; ++i) {
            const DayCell& cell = g.RQ[i];
            const bool inMonth = i >= c.firstOfMonthCell && i < c.firstOfMonthCell + daysInMonth;
            EXPECT_EQ(cell.visible, inMonth) << c.month << " cell " << i;
            EXPECT_EQ(cell.enabled, inMonth) << c.month << " cell " << i;
            EXPECT_EQ(cell.caption, QString::number(cell.day.day()));
            EXPECT_EQ(cell.day.dayOfWeek() % 7, i % 7);  // Sunday first
        }
        EXPECT_EQ(g.RQ[c.firstOfMonthCell].day.day(), 1);
    }
}

class MonthGridNotes : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = dir_ / "notepad.mdb";
        ASSERT_TRUE(CreateNotesDb(file_));
        auto db = NotesDb::Open(file_);
        const struct {
            const char* day;
            QString note;
        } notes[] = {
            {"2010-08-02", QString(40, u'记')},
            {"2010-08-03", QString(41, u'x')},
            {"2010-08-04", QString()},  // a row without a note yet
            {"2010-08-09", "today's note"},
            {"2010-07-31", "in July"},
            {"2010-08-05", "line one\nline two"},
        };
        for (const auto& n : notes) {
            const QString d = QString::fromLatin1(n.day);
            ASSERT_TRUE(db->AddDay(d.left(4), d.left(7), d));
            if (!n.note.isNull()) {
                ASSERT_TRUE(db->SaveNote(d, n.note));
            }
        }
        open_ = [this] {
            ++opens_;
            return NotesDb::Open(file_);
        };
    }
    test::TempDir dir_;
    std::filesystem::path file_;
    int opens_ = 0;
    NotesOpener open_;
};

TEST_F(MonthGridNotes, NoteDaysAreMarkedAndTodayHasItsColours) {
    CalendarColours colours;
    colours.CalendarTextColor = 1;
    colours.CalendarNoteTextColor = 2;
    colours.CalendarTodayBackColor = 3;
    colours.CalendarTodayTextColor = 4;
    const MonthGrid g = DateDay::FillMonthGrid(D("2010-08-20"), D("2010-08-09"), colours, open_);
    EXPECT_EQ(opens_, 1);
    EXPECT_TRUE(g.calendarShown);
    EXPECT_FALSE(g.backToTodayShown);

    const auto cell = [&g](const char* day) {
        for (const DayCell& c : g.RQ)
            if (c.day == D(day)) return c;
        ADD_FAILURE() << day;
        return DayCell{};
    };
    const struct {
        const char* day;
        bool marked;
        QString toolTip;
        std::uint32_t text;
        bool opaque;
    } cases[] = {
        {"2010-08-01", false, "", 1, false},
        {"2010-08-02", true, QString(40, u'记'), 2, false},
        {"2010-08-03", true, QString(40, u'x') + "...", 2, false},
        {"2010-08-04", true, "", 2, false},
        {"2010-08-05", true, "line one\nline two", 2, false},
        {"2010-08-09", true, "today's note", 4, true},  // today wins over the note colour
        {"2010-07-31", true, "in July", 2, false},      // marked, but hidden with July
    };
    for (const auto& c : cases) {
        const DayCell x = cell(c.day);
        EXPECT_EQ(x.underline, c.marked) << c.day;
        EXPECT_EQ(x.handCursor, c.marked) << c.day;
        EXPECT_EQ(x.bold, c.marked || c.opaque) << c.day;
        EXPECT_EQ(x.toolTip, c.toolTip) << c.day;
        EXPECT_EQ(x.textColour, c.text) << c.day;
        EXPECT_EQ(x.opaque, c.opaque) << c.day;
        EXPECT_EQ(x.backColour, c.opaque ? 3u : 0u) << c.day;
    }
}

TEST_F(MonthGridNotes, WithoutNotesOrWithTheCalendarOffNothingIsMarked) {
    // No database: the grid draws without marks.
    const MonthGrid none =
        DateDay::FillMonthGrid(D("2010-08-01"), D("2010-08-09"), {}, [] { return std::unique_ptr<NotesDb>(); });
    const MonthGrid missing = DateDay::FillMonthGrid(D("2010-08-01"), D("2010-08-09"), {},
                                                     [this] { return NotesDb::Open(dir_ / "none.mdb"); });
    for (const MonthGrid* g : {&none, &missing}) {
        EXPECT_TRUE(g->calendarShown);
        for (const DayCell& c : g->RQ) {
            EXPECT_FALSE(c.underline);
            EXPECT_TRUE(c.toolTip.isEmpty());
        }
    }

    // Calendar off: every control hidden, the notes never opened.
    CalendarColours off;
    off.ShowCalendar = false;
    const MonthGrid g = DateDay::FillMonthGrid(D("2010-08-01"), D("2010-08-09"), off, open_);
    EXPECT_EQ(opens_, 0);
    EXPECT_FALSE(g.calendarShown);
    EXPECT_FALSE(g.backToTodayShown);
    for (const DayCell& c : g.RQ) EXPECT_FALSE(c.visible);
}

TEST(MonthGrid, BackToTodayIsShownAwayFromTodaysMonth) {
    const QDate today = D("2010-08-09");
    const struct {
        const char* month;
        bool shown;
    } cases[] = {{"2010-08-31", false}, {"2010-07-09", true}, {"2010-09-01", true}, {"2009-08-09", true}};
    for (const auto& c : cases)
        EXPECT_EQ(DateDay::FillMonthGrid(D(c.month), today, {}, {}).backToTodayShown, c.shown) << c.month;
}

TEST(MonthGrid, ToolTipsKeepFortyCharactersWhole) {
    const QString pair = QString::fromUtf16(u"\U0001F600");  // one character, two UTF-16 units
    const struct {
        QString note;
        QString tip;
    } cases[] = {
        {"", ""},
        {QString(39, u'a') + pair, QString(39, u'a') + pair},
        {QString(39, u'a') + pair + "b", QString(39, u'a') + pair + "..."},
        {pair.repeated(41), pair.repeated(40) + "..."},
        {QString(100 * 1024, u'z'), QString(40, u'z') + "..."},
    };
    for (const auto& c : cases) EXPECT_EQ(DateDay::NoteToolTip(c.note), c.tip) << c.note.size();
}

}  // namespace
}  // namespace tavo
