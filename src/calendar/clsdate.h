#pragma once
// clsdate: one day, known both as a Gregorian date and as a Chinese lunar
// date, with the attributes a desk calendar shows for it (solar term,
// festivals, month and day names, stem-branch year, zodiac animal, era,
// Chinese numerals, constellation).
//
// Set the day once with sInitDate (Gregorian) or lInitDate (lunar), then read.
// The conversions are exact from 1900-01-31 (lunar 1900-01-01) to 2050-01-22
// (the last day of lunar 2049). Outside that range sInitDate still succeeds,
// but the lunar fields are meaningless: before 1900-01-31 lYear is 1900,
// lMonth 1 and lDay 0 or below; from 2050-01-23 on lYear is 2050.
//
// Errors are exceptions and never change the held day:
//  - CalendarDateError: a Gregorian date that does not exist (month 13,
//    February 30, a year outside 1..9999), in sInitDate and Constellation;
//  - CalendarRangeError: a year outside the lunar table (lInitDate outside
//    1900..2050), GanZhi before 1864, YearAttribute before 1900, CDayStr
//    outside 0..49;
//  - std::invalid_argument: lInitDate with a month outside 1..12 or a day
//    outside 1..30;
//  - std::overflow_error: UpNumber of a text longer than 32767 characters.

#include <QString>
#include <QStringView>

#include <cstdint>
#include <stdexcept>

namespace tavo {

class CalendarDateError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

class CalendarRangeError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

// One day as a range walk (CalendarWalk) yields it: both calendars and every
// attribute of the day. Each field equals what a clsdate set to the day with
// sInitDate answers: the year names (ganZhi, zodiac) are those of the lunar
// year, the era that of the Gregorian year, dayName is CDayStr(lDay) and
// constellation Constellation(sMonth, sDay). The texts view constant tables
// that live as long as the program.
struct CalendarDay {
    std::int32_t dayNumber = 0;  // as clsdate::DayNumber
    int sYear = 0, sMonth = 0, sDay = 0;
    int lYear = 0, lMonth = 0, lDay = 0;
    bool isLeap = false;
    int weekDay = 0;  // 1 = Sunday ... 7 = Saturday
    QStringView solarTerm, weekHoliday, lunarHoliday, solarHoliday;
    QStringView monthName, weekDayName, dayName, ganZhi, zodiac, era, constellation;
};

// Walks the days from one Gregorian date to another (inclusive) in order,
// going through the lunar month table and the solar terms once instead of
// searching them for every day. Only the days the lunar table describes
// exactly (1900-01-31 .. 2050-01-22) are visited; the range is cut to them.
// Throws CalendarDateError when either date does not exist.
class CalendarWalk {
public:
    CalendarWalk(int fromYear, int fromMonth, int fromDay, int toYear, int toMonth, int toDay);

    // Fills `day` with the next day and returns true, or returns false once
    // the range is done.
    bool Next(CalendarDay& day);

private:
    void Start(std::int32_t dayNumber);
    void Advance();      // to the following day
    void EnterMonth();   // month fields from yearIndex_ and monthPos_
    void Describe(CalendarDay& day) const;

    std::int32_t next_ = 0;  // day number of the next day to hand out
    std::int32_t last_ = -1;
    // Gregorian state of next_.
    int sYear_ = 0, sMonth_ = 0, sDay_ = 0, monthLength_ = 0;
    int weekDay_ = 0;  // 1 = Sunday
    int weekRow_ = 0;  // Sundays after the 1st of the month, up to next_
    // Lunar state of next_: year index (year - 1900), position of the month
    // within the year (the leap month counts as a position of its own).
    int yearIndex_ = 0, monthPos_ = 0, monthCount_ = 0;
    int lMonth_ = 0, lDay_ = 0, lMonthLength_ = 0;
    bool isLeap_ = false;
    // Index into the solar terms of all years: the first term on or after next_.
    int termIndex_ = 0;
};

class clsdate {
public:
    clsdate() = default;

    // Attributes of the held day. None of them changes the held day.
    QString lSolarTerm() const;   // solar term falling on the day, or ""
    QString wHoliday() const;     // weekday festival, or ""
    QString lHoliday() const;     // lunar festival (with "除夕"), or ""
    QString sHoliday() const;     // Gregorian festival, or ""

    bool IsLeap() const { return isLeap_; }
    int lDay() const { return lDay_; }
    int lMonth() const { return lMonth_; }
    QString lmonthStr() const;    // "正" "二" ... "十一" "腊", without "月"
    int lYear() const { return lYear_; }
    int sWeekDay() const;         // 1 = Sunday ... 7 = Saturday
    QString sWeekDayStr() const;  // "星期日" ... "星期六"
    int sDay() const { return sDay_; }
    int sMonth() const { return sMonth_; }
    int sYear() const { return sYear_; }

    static bool IsToday(int y, int m, int d);
    static QString Era(int y);
    static QString GanZhi(int num);
    static QString YearAttribute(int y);
    static QString UpNumber(const QString& Dxs);
    static QString CDayStr(int d);
    static QString Constellation(int m, int d);

    void sInitDate(int y, int m, int d);
    void lInitDate(int y, int m, int d, bool LeapFlag = false);

    // True when bit n (0..31) of value is set; false for n outside 0..31.
    static bool BitIsSet(std::int32_t value, int n);

    // The held day as a day number: 0 is 1899-12-30, 1 is 1899-12-31, so
    // 1900-01-31 is 32. Zero before either initialiser has run.
    std::int32_t DayNumber() const { return serial_; }

    // Day number of a Gregorian date; throws CalendarDateError when the date
    // does not exist.
    static std::int32_t DayNumberOf(int y, int m, int d);
    static bool IsValidDate(int y, int m, int d);

private:
    friend struct ClsdateWalkReference;  // tests compare the conversions with the plain table walks

    static int YearDays(int y);
    static int MonthDays(int y, int m);
    static int LeapMonth(int y);
    static int LeapDays(int y);

    std::int32_t serial_ = 0;
    int sYear_ = 0;
    int sMonth_ = 0;
    int sDay_ = 0;
    int lYear_ = 0;
    int lMonth_ = 0;
    int lDay_ = 0;
    bool isLeap_ = false;
};

}  // namespace tavo
