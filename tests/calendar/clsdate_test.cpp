// clsdate: Gregorian <-> lunar conversions over the whole table, and the
// errors that must leave the held day alone.
#include <gtest/gtest.h>

#include "calendar/clsdate.h"

#include <QDate>

namespace tavo {

// The year lengths are private to the engine.
struct ClsdateWalkReference {
    static int YearDays(int y) { return clsdate::YearDays(y); }
};

namespace {

struct LunarCase {
    QDate date;
    int lYear, lMonth, lDay;
    bool leap;
};

void ExpectLunar(const LunarCase& c) {
    clsdate d;
    d.sInitDate(c.date.year(), c.date.month(), c.date.day());
    const QString what = c.date.toString(Qt::ISODate);
    EXPECT_EQ(d.lYear(), c.lYear) << what.toStdString();
    EXPECT_EQ(d.lMonth(), c.lMonth) << what.toStdString();
    EXPECT_EQ(d.lDay(), c.lDay) << what.toStdString();
    EXPECT_EQ(d.IsLeap(), c.leap) << what.toStdString();
    EXPECT_EQ(d.sYear(), c.date.year());
    EXPECT_EQ(d.sMonth(), c.date.month());
    EXPECT_EQ(d.sDay(), c.date.day());
}

TEST(ClsdateConversion, TableEdgesNewYearsAndLeapMonths) {
    const LunarCase cases[] = {
        {QDate(1900, 1, 31), 1900, 1, 1, false},  // first day of the table
        {QDate(1900, 1, 30), 1900, 1, 0, false},  // the day before reads day 0
        {QDate(1899, 12, 1), 1900, 1, -60, false},
        {QDate(2010, 2, 13), 2009, 12, 30, false},
        {QDate(2010, 2, 14), 2010, 1, 1, false},
        {QDate(2009, 6, 23), 2009, 5, 1, true},  // leap fifth month
        {QDate(2009, 7, 21), 2009, 5, 29, true},
        {QDate(2009, 7, 22), 2009, 6, 1, false},
        {QDate(2009, 5, 24), 2009, 5, 1, false},  // the regular fifth month
        {QDate(2012, 5, 21), 2012, 4, 1, true},
        {QDate(2012, 6, 20), 2012, 5, 2, false},
        {QDate(2050, 1, 22), 2049, 12, 29, false},  // last day of the table
    };
    for (const auto& c : cases) ExpectLunar(c);

    // Past the table the walk runs out at 2050 and the other fields are meaningless.
    clsdate past;
    past.sInitDate(2050, 1, 23);
    EXPECT_EQ(past.lYear(), 2050);
    EXPECT_EQ(past.sDay(), 23);
}

TEST(ClsdateConversion, CorrectedYearWordsGiveThePublishedCalendar) {
    const LunarCase cases[] = {
        // 2033: the leap month follows the 11th month.
        {QDate(2033, 8, 25), 2033, 8, 1, false},
        {QDate(2033, 9, 8), 2033, 8, 15, false},  // 中秋 2033
        {QDate(2033, 9, 23), 2033, 9, 1, false},
        {QDate(2033, 12, 22), 2033, 11, 1, true},
        {QDate(2034, 1, 19), 2033, 11, 29, true},
        {QDate(2034, 1, 20), 2033, 12, 1, false},
        // Mid-Autumn a day earlier than the old words gave.
        {QDate(1978, 9, 17), 1978, 8, 15, false},
        {QDate(1996, 9, 27), 1996, 8, 15, false},
        // New Years of the corrected years stay where they were.
        {QDate(1933, 1, 26), 1933, 1, 1, false},
        {QDate(1954, 2, 3), 1954, 1, 1, false},
        {QDate(1956, 2, 12), 1956, 1, 1, false},
        {QDate(1978, 2, 7), 1978, 1, 1, false},
        {QDate(1996, 2, 19), 1996, 1, 1, false},
        {QDate(2033, 1, 31), 2033, 1, 1, false},
        {QDate(2034, 2, 19), 2034, 1, 1, false},
    };
    for (const auto& c : cases) ExpectLunar(c);
}

TEST(ClsdateConversion, YearLengthsFollowTheRule) {
    // The first row of the year lengths, the only 353-day year and the 385-day years.
    const int firstRow[10] = {384, 354, 355, 383, 354, 355, 384, 354, 355, 384};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(ClsdateWalkReference::YearDays(1900 + i), firstRow[i]) << 1900 + i;
    for (int y = 1900; y <= 2049; ++y) {
        const int len = ClsdateWalkReference::YearDays(y);
        // Each length is also the distance between two New Years.
        clsdate a, b;
        a.lInitDate(y, 1, 1);
        b.lInitDate(y + 1, 1, 1);
        EXPECT_EQ(b.DayNumber() - a.DayNumber(), len) << y;
        EXPECT_EQ(len == 353, y == 1965) << y;
        EXPECT_EQ(len == 385, y == 1925 || y == 1944 || y == 2006) << y;
        EXPECT_TRUE(len >= 353 && len <= 385) << y;
    }
    EXPECT_EQ(ClsdateWalkReference::YearDays(2050), 0);
}

TEST(ClsdateConversion, EveryDayOfTheTableRoundTripsAndStepsByOneLunarDay) {
    const QDate first(1900, 1, 31), last(2050, 1, 22);
    clsdate prev;
    prev.sInitDate(1900, 1, 30);
    int leapMonths = 0;
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        clsdate s;
        s.sInitDate(day.year(), day.month(), day.day());
        clsdate l;
        l.lInitDate(s.lYear(), s.lMonth(), s.lDay(), s.IsLeap());
        ASSERT_EQ(QDate(l.sYear(), l.sMonth(), l.sDay()), day)
            << "lunar " << s.lYear() << "-" << s.lMonth() << "-" << s.lDay() << (s.IsLeap() ? " leap" : "");
        ASSERT_EQ(l.IsLeap(), s.IsLeap());
        ASSERT_EQ(l.DayNumber(), s.DayNumber());

        // Consecutive days: the next lunar day, or day 1 after a 29th or 30th.
        if (day != first) {
            if (s.lDay() == 1) {
                ASSERT_TRUE(prev.lDay() == 29 || prev.lDay() == 30) << day.toString(Qt::ISODate).toStdString();
                if (s.IsLeap()) {
                    ASSERT_EQ(s.lMonth(), prev.lMonth());  // a leap month follows its regular month
                    ++leapMonths;
                } else if (s.lMonth() == 1) {
                    ASSERT_EQ(s.lYear(), prev.lYear() + 1);
                    ASSERT_EQ(prev.lMonth(), 12);
                } else {
                    ASSERT_EQ(s.lMonth(), prev.lMonth() + 1);
                }
            } else {
                ASSERT_EQ(s.lDay(), prev.lDay() + 1);
                ASSERT_EQ(s.lMonth(), prev.lMonth());
                ASSERT_EQ(s.IsLeap(), prev.IsLeap());
            }
        }
        prev = s;
    }
    EXPECT_EQ(leapMonths, 55);  // leap months of lunar 1900..2049
}

TEST(ClsdateConversion, LeapFlagOfAMonthWithoutLeapIsIgnored) {
    // Every valid lunar day converts back (the round trip above); a leap
    // flag on a month that has no leap month reads the regular month.
    clsdate d;
    d.lInitDate(2009, 6, 1, true);
    EXPECT_EQ(QDate(d.sYear(), d.sMonth(), d.sDay()), QDate(2009, 7, 22));
    EXPECT_EQ(d.lMonth(), 6);
    EXPECT_FALSE(d.IsLeap());
}

void ExpectDay(const clsdate& d, int y, int m, int day, int ly, int lm, int ld, bool leap) {
    EXPECT_EQ(d.sYear(), y);
    EXPECT_EQ(d.sMonth(), m);
    EXPECT_EQ(d.sDay(), day);
    EXPECT_EQ(d.lYear(), ly);
    EXPECT_EQ(d.lMonth(), lm);
    EXPECT_EQ(d.lDay(), ld);
    EXPECT_EQ(d.IsLeap(), leap);
}

TEST(ClsdateErrors, ImpossibleGregorianDatesKeepThePreviousDay) {
    const int bad[][3] = {{2010, 13, 1}, {2010, 0, 1}, {2010, 2, 29}, {2010, 2, 30}, {2010, 4, 31}, {2010, 1, 0},
                          {2010, 1, -5}, {0, 1, 1},    {10000, 1, 1}, {-2010, 1, 1}, {2147483647, 12, 31}};
    clsdate d;
    d.sInitDate(2009, 6, 23);
    for (const auto& b : bad) {
        EXPECT_THROW(d.sInitDate(b[0], b[1], b[2]), CalendarDateError) << b[0] << "-" << b[1] << "-" << b[2];
        ExpectDay(d, 2009, 6, 23, 2009, 5, 1, true);
    }
    d.sInitDate(2000, 2, 29);  // a real leap day
    EXPECT_EQ(d.sDay(), 29);
    d.sInitDate(9999, 12, 31);  // the last supported day converts (meaninglessly) without error
    EXPECT_EQ(d.lYear(), 2050);
    EXPECT_EQ(d.lHoliday(), QString());
}

TEST(ClsdateErrors, LunarInputOutsideTheTableIsRejected) {
    clsdate d;
    d.sInitDate(2010, 2, 14);
    struct Case {
        int y, m, d;
    } rangeErrors[] = {{1899, 1, 1}, {2051, 1, 1}, {-1, 1, 1}, {2147483647, 1, 1}, {-2147483647 - 1, 1, 1}};
    for (const auto& c : rangeErrors) {
        EXPECT_THROW(d.lInitDate(c.y, c.m, c.d), CalendarRangeError) << c.y;
        ExpectDay(d, 2010, 2, 14, 2010, 1, 1, false);
    }
    Case argumentErrors[] = {{2010, 0, 1}, {2010, 13, 1}, {2010, 1, 0}, {2010, 1, 31}, {2010, 1, -1}};
    for (const auto& c : argumentErrors) {
        EXPECT_THROW(d.lInitDate(c.y, c.m, c.d), std::invalid_argument) << c.m << "/" << c.d;
        ExpectDay(d, 2010, 2, 14, 2010, 1, 1, false);
    }
    // Year 2050 has the all-zero slot: twelve 29-day months after 2050-01-23.
    d.lInitDate(2050, 1, 1);
    EXPECT_EQ(QDate(d.sYear(), d.sMonth(), d.sDay()), QDate(2050, 1, 23));
    // A 30th day in a 29-day month is converted by the same arithmetic.
    d.lInitDate(2011, 12, 30);
    EXPECT_EQ(QDate(d.sYear(), d.sMonth(), d.sDay()), QDate(2012, 1, 23));
}

TEST(ClsdateBits, BitIsSetCoversAllThirtyTwoBits) {
    EXPECT_TRUE(clsdate::BitIsSet(-1, 31));
    EXPECT_TRUE(clsdate::BitIsSet(-2147483647 - 1, 31));
    EXPECT_FALSE(clsdate::BitIsSet(2147483647, 31));
    EXPECT_TRUE(clsdate::BitIsSet(2147483647, 30));
    EXPECT_FALSE(clsdate::BitIsSet(-1, 32));
    EXPECT_FALSE(clsdate::BitIsSet(-1, -1));
    EXPECT_TRUE(clsdate::BitIsSet(0x10000, 16));
    EXPECT_FALSE(clsdate::BitIsSet(0x10000, 15));
    EXPECT_TRUE(clsdate::BitIsSet(1, 0));
}

}  // namespace
}  // namespace tavo
