// The calendar strip widget: month navigation and the back-to-today button,
// clicks and tooltips of note days, following the date past midnight, and
// its painting (rendered into images).
#include <gtest/gtest.h>

#include "calendar/ui/calendar_strip.h"
#include "calendar/core/notes_store.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

namespace tavo {
namespace {

QDateTime At(const char* text) { return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate); }

class CalendarStripTest : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = dir_ / "notepad.mdb";
        ASSERT_TRUE(CreateNotesDb(file_));
        auto db = NotesDb::Open(file_);
        for (const char* day : {"2010-08-02", "2010-07-02", "2010-02-14"}) {
            const QString d = QString::fromLatin1(day);
            ASSERT_TRUE(db->AddDay(d.left(4), d.left(7), d));
            ASSERT_TRUE(db->SaveNote(d, QStringLiteral("note of ") + d));
        }
        strip_.SetNotesOpener([this] { return NotesDb::Open(file_); });
        strip_.SetClock([this] { return now_; });
        strip_.resize(strip_.sizeHint());
    }
    const DayCell& CellOf(const QDate& day) {
        for (const DayCell& c : strip_.Grid().RQ)
            if (c.day == day) return c;
        static const DayCell none;
        ADD_FAILURE() << day.toString().toStdString();
        return none;
    }
    QPoint CentreOf(const QDate& day) {
        for (int i = 0; i < kGridCells; ++i)
            if (strip_.Grid().RQ[i].day == day) return strip_.Layout().Cell(i).center();
        return {};
    }

    test::TempDir dir_;
    std::filesystem::path file_;
    QDateTime now_ = At("2010-08-09T12:00:00");
    CalendarStrip strip_;
};

TEST_F(CalendarStripTest, MonthButtonsMoveTheGridAndBackToTodayShowsAwayFromToday) {
    QSignalSpy controls(&strip_, &CalendarStrip::ControlsChanged);
    EXPECT_EQ(strip_.YMlabel(), "2010.08");
    EXPECT_FALSE(strip_.Grid().backToTodayShown);

    const struct {
        void (CalendarStrip::*press)();
        const char* month;
        bool backShown;
    } steps[] = {
        {&CalendarStrip::PageA10, "2010.07", true},  {&CalendarStrip::PageA11, "2010.08", false},
        {&CalendarStrip::PageA11, "2010.09", true},  {&CalendarStrip::PageA11, "2010.10", true},
        {&CalendarStrip::PageA12, "2010.08", false}, {&CalendarStrip::PageA10, "2010.07", true},
    };
    for (const auto& s : steps) {
        (strip_.*s.press)();
        EXPECT_EQ(strip_.YMlabel(), s.month);
        ASSERT_FALSE(controls.isEmpty());
        const QList<QVariant> last = controls.takeLast();
        EXPECT_TRUE(last[0].toBool());
        EXPECT_EQ(last[1].toBool(), s.backShown) << s.month;
        controls.clear();
    }
    // A cell that showed a note in August and shows a plain day in July has no tooltip.
    const int cellOfAug2 = 1;  // August 2010 begins on a Sunday: the 2nd is in the second row
    strip_.PageA12();
    ASSERT_EQ(strip_.Grid().RQ[7 + cellOfAug2].day, QDate(2010, 8, 2));
    EXPECT_FALSE(strip_.Grid().RQ[7 + cellOfAug2].toolTip.isEmpty());
    strip_.PageA10();
    EXPECT_EQ(strip_.Grid().RQ[7 + cellOfAug2].day, QDate(2010, 7, 5));
    EXPECT_TRUE(strip_.Grid().RQ[7 + cellOfAug2].toolTip.isEmpty());
    EXPECT_FALSE(strip_.Grid().RQ[7 + cellOfAug2].underline);
}

TEST_F(CalendarStripTest, OnlyDaysWithANoteAreClickable) {
    QSignalSpy clicked(&strip_, &CalendarStrip::DayClicked);
    QSignalSpy notes(&strip_, &CalendarStrip::NotesRequested);
    QTest::mouseClick(&strip_, Qt::LeftButton, {}, CentreOf(QDate(2010, 8, 3)));
    QTest::mouseClick(&strip_, Qt::LeftButton, {}, CentreOf(QDate(2010, 7, 31)));  // hidden July day
    QTest::mouseClick(&strip_, Qt::RightButton, {}, CentreOf(QDate(2010, 8, 2)));
    EXPECT_EQ(clicked.count(), 0);
    QTest::mouseClick(&strip_, Qt::LeftButton, {}, CentreOf(QDate(2010, 8, 2)));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked[0][0].toDate(), QDate(2010, 8, 2));

    const auto moveTo = [this](const QPoint& at) {
        QMouseEvent move(QEvent::MouseMove, at, strip_.mapToGlobal(at), Qt::NoButton, {}, {});
        QApplication::sendEvent(&strip_, &move);
    };
    moveTo(CentreOf(QDate(2010, 8, 2)));
    EXPECT_EQ(strip_.cursor().shape(), Qt::PointingHandCursor);
    moveTo(CentreOf(QDate(2010, 8, 3)));
    EXPECT_EQ(strip_.cursor().shape(), Qt::ArrowCursor);

    // Hovering a note day shows its note; a plain day shows nothing.
    const auto tipAt = [this](const QPoint& at) {
        QHelpEvent help(QEvent::ToolTip, at, strip_.mapToGlobal(at));
        QApplication::sendEvent(&strip_, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(CentreOf(QDate(2010, 8, 3))), QString());
    EXPECT_TRUE(tipAt(CentreOf(QDate(2010, 8, 2))).contains("note of 2010-08-02"));
    QToolTip::hideText();

    strip_.PageA13();
    ASSERT_EQ(notes.count(), 1);
    EXPECT_EQ(notes[0][0].toDate(), QDate(2010, 8, 9));
}

TEST_F(CalendarStripTest, FollowsTheDatePastMidnight) {
    const struct {
        const char* before;
        bool awayFromToday;  // the strip shows another month at midnight
        const char* after;
        const char* month;  // shown after midnight
        QString label7;
    } cases[] = {
        {"2010-02-13T23:59:59", false, "2010-02-14T00:00:01", "2010.02", "今天 情人节 春节"},
        {"2010-01-31T23:59:59", false, "2010-02-01T00:00:01", "2010.02", ""},
        {"2010-01-31T23:59:59", true, "2010-02-01T00:00:01", "2009.12", ""},
    };
    for (const auto& c : cases) {
        now_ = At(c.before);
        strip_.SetClock([this] { return now_; });
        if (c.awayFromToday) strip_.PageA10();
        // The timer is set to fire just after midnight.
        EXPECT_GE(strip_.MidnightTimer().remainingTime(), 1000);
        EXPECT_LE(strip_.MidnightTimer().remainingTime(), 2000);
        now_ = At(c.after);
        strip_.CheckDate();
        EXPECT_EQ(strip_.YMlabel(), c.month) << c.after;
        EXPECT_EQ(strip_.Caption().Label7, c.label7) << c.after;
        EXPECT_EQ(strip_.Caption().NLlabel, DateDay::ShowDayCaption(now_.date(), now_.date()).NLlabel);
        const QDate before = At(c.before).date();
        if (!c.awayFromToday) {
            EXPECT_TRUE(CellOf(now_.date()).opaque) << c.after;
            EXPECT_FALSE(CellOf(before).opaque) << c.after;
        }
        EXPECT_GT(strip_.MidnightTimer().remainingTime(), 60 * 60 * 1000 - 5000);  // the long wait
    }
}

// ---------------------------------------------------------------- painting

QImage Render(const MonthGrid& grid, const DayCaption& caption, const CalendarColours& colours, StripLayout& l) {
    QFont font;
    font.setPixelSize(12);
    l = StripLayout::For(306, font);
    QImage image(l.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    PaintCalendarStrip(p, l, font, grid, caption, colours);
    return image;
}

int CountColour(const QImage& image, const QRect& r, QRgb colour) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

TEST(CalendarStripPaint, TodayNotesHiddenDaysAndTheSwitch) {
    CalendarColours colours;
    MonthGrid grid = DateDay::FillMonthGrid(QDate(2010, 8, 20), QDate(2010, 8, 9), colours, {});
    grid.RQ[8].underline = grid.RQ[8].bold = true;  // 2010-08-02 with a note
    grid.RQ[8].textColour = colours.CalendarNoteTextColor;
    const DayCaption caption = DateDay::ShowDayCaption(QDate(2010, 8, 9), QDate(2010, 8, 9));
    StripLayout l;
    const QImage image = Render(grid, caption, colours, l);

    const QRgb todayBack = ColourOf(colours.CalendarTodayBackColor).rgb();
    const QRgb note = ColourOf(colours.CalendarNoteTextColor).rgb();
    const QRgb white = qRgb(255, 255, 255);
    const QRect today = l.Cell(15);  // 2010-08-09
    EXPECT_GT(CountColour(image, today, todayBack), today.width() * today.height() / 3);
    EXPECT_GT(CountColour(image, today, white), 0);  // its white day number
    EXPECT_GT(CountColour(image, l.Cell(8), note), 5);
    EXPECT_EQ(CountColour(image, l.Cell(9), note), 0);
    const QRect hidden = l.Cell(3);  // 2010-07-28
    EXPECT_EQ(CountColour(image, hidden, white), hidden.width() * hidden.height());
    const QRect header = l.header;
    EXPECT_LT(CountColour(image, header, white), header.width() * header.height());

    // Calendar off: nothing drawn.
    CalendarColours off;
    off.ShowCalendar = false;
    const QImage blank = Render(DateDay::FillMonthGrid(QDate(2010, 8, 20), QDate(2010, 8, 9), off, {}), caption, off, l);
    EXPECT_EQ(CountColour(blank, blank.rect(), white), blank.width() * blank.height());
}

TEST(CalendarStripPaint, SixRowsHeaderAndTwoLinesFitTheWindowWidth) {
    QFont font;
    for (int px : {11, 12, 13}) {
        font.setPixelSize(px);
        const StripLayout l = StripLayout::For(306, font);
        EXPECT_EQ(l.size().width(), 306);
        EXPECT_LE(l.size().height(), px == 12 ? 174 : 190) << px;  // the main window's calendar area
        EXPECT_EQ(l.CellAt(l.Cell(41).center()), 41);
        EXPECT_EQ(l.CellAt(l.Cell(0).topLeft()), 0);
        EXPECT_EQ(l.CellAt(l.header.center()), -1);
        EXPECT_GE(l.cellHeight, QFontMetrics(font).height());
        EXPECT_LE(l.grid.bottom(), l.nlLabel.top());
        // The longest lunar line fits: a leap month with a solar term.
        EXPECT_LE(QFontMetrics(font).horizontalAdvance(QStringLiteral("己丑 牛年  闰 5月廿九 星期三 小暑")),
                  l.nlLabel.width());
    }
}

}  // namespace
}  // namespace tavo
