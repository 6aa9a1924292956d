// CalendarWalk: every day it hands out must read exactly as a clsdate set to
// that day reads, over the whole table and from any starting day.
#include <gtest/gtest.h>

#include "calendar/clsdate.h"

#include <QDate>

#include <string>

namespace tavo {
namespace {

// The first field where the walk's day and clsdate disagree, or "".
std::string Mismatch(const CalendarDay& w, const QDate& date) {
    clsdate c;
    c.sInitDate(date.year(), date.month(), date.day());
    auto differs = [](QStringView a, const QString& b) { return a != QStringView(b); };
    if (w.dayNumber != c.DayNumber()) return "dayNumber";
    if (w.sYear != c.sYear() || w.sMonth != c.sMonth() || w.sDay != c.sDay()) return "Gregorian date";
    if (w.lYear != c.lYear() || w.lMonth != c.lMonth() || w.lDay != c.lDay() || w.isLeap != c.IsLeap())
        return "lunar date";
    if (w.weekDay != c.sWeekDay()) return "weekday";
    if (differs(w.solarTerm, c.lSolarTerm())) return "solar term";
    if (differs(w.weekHoliday, c.wHoliday())) return "weekday festival";
    if (differs(w.lunarHoliday, c.lHoliday())) return "lunar festival";
    if (differs(w.solarHoliday, c.sHoliday())) return "Gregorian festival";
    if (differs(w.monthName, c.lmonthStr())) return "month name";
    if (differs(w.weekDayName, c.sWeekDayStr())) return "weekday name";
    if (differs(w.dayName, clsdate::CDayStr(c.lDay()))) return "day name";
    if (differs(w.ganZhi, clsdate::GanZhi(c.lYear()))) return "stem-branch";
    if (differs(w.zodiac, clsdate::YearAttribute(c.lYear()))) return "zodiac";
    if (differs(w.era, clsdate::Era(c.sYear()))) return "era";
    if (differs(w.constellation, clsdate::Constellation(c.sMonth(), c.sDay()))) return "constellation";
    return {};
}

TEST(CalendarWalk, EveryDayOfTheTableReadsAsAClsdateOfThatDay) {
    CalendarWalk walk(1900, 1, 31, 2050, 1, 22);
    CalendarDay day;
    QDate expected(1900, 1, 31);
    int days = 0;
    while (walk.Next(day)) {
        const std::string field = Mismatch(day, expected);
        ASSERT_EQ(field, "") << expected.toString(Qt::ISODate).toStdString();
        expected = expected.addDays(1);
        ++days;
    }
    EXPECT_EQ(days, 54779);
}

TEST(CalendarWalk, StartsAnywhereAndIsCutToTheTable) {
    struct Case {
        const char* name;
        QDate from, to;
        QDate firstVisited;
        int days;
    };
    const Case cases[] = {
        {"inside a leap month (2009 leap 5th)", QDate(2009, 7, 1), QDate(2009, 8, 31), QDate(2009, 7, 1), 62},
        {"New Year's Eve to New Year", QDate(2010, 2, 13), QDate(2010, 2, 14), QDate(2010, 2, 13), 2},
        {"a Sunday late in the month", QDate(2011, 5, 29), QDate(2011, 6, 5), QDate(2011, 5, 29), 8},
        {"one day on a solar term", QDate(2010, 2, 4), QDate(2010, 2, 4), QDate(2010, 2, 4), 1},
        {"before the table", QDate(1899, 12, 1), QDate(1900, 2, 2), QDate(1900, 1, 31), 3},
        {"after the table", QDate(2050, 1, 20), QDate(2051, 1, 1), QDate(2050, 1, 20), 3},
        {"wholly outside", QDate(2060, 1, 1), QDate(2060, 2, 1), QDate(), 0},
        {"reversed", QDate(2010, 3, 1), QDate(2010, 2, 1), QDate(), 0},
    };
    for (const Case& c : cases) {
        CalendarWalk walk(c.from.year(), c.from.month(), c.from.day(), c.to.year(), c.to.month(), c.to.day());
        CalendarDay day;
        QDate expected = c.firstVisited;
        int days = 0;
        while (walk.Next(day)) {
            ASSERT_EQ(Mismatch(day, expected), "") << c.name << " at " << expected.toString(Qt::ISODate).toStdString();
            expected = expected.addDays(1);
            ++days;
        }
        EXPECT_EQ(days, c.days) << c.name;
        EXPECT_FALSE(walk.Next(day)) << c.name;  // stays done
    }
}

TEST(CalendarWalk, ImpossibleDatesAreRefused) {
    EXPECT_THROW(CalendarWalk(2010, 2, 30, 2010, 3, 1), CalendarDateError);
    EXPECT_THROW(CalendarWalk(2010, 2, 1, 2010, 13, 1), CalendarDateError);
}

}  // namespace
}  // namespace tavo
