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
