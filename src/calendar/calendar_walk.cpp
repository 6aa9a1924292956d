#include "calendar/clsdate.h"
#include "calendar/lunar_tables.h"

#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <string>

namespace tavo {

using namespace lunar;

// Range walk: the days of a range in order, each month and solar term
// entered once instead of looked up per day.

namespace {

constexpr int kTermCount = 150 * 24;
const std::int32_t* TermDaysFlat() { return &kTermDays[0][0]; }  // ascending over all years

QStringView View(const char16_t* s) {
    return QStringView(s, static_cast<qsizetype>(std::char_traits<char16_t>::length(s)));
}

// Every text a walk hands out, made once. The QStrings here live as long as
// the program, so views of them stay valid.
struct WalkTexts {
    QStringView solarFestival[13][32];
    QStringView lunarFestival[13][31];
    QStringView weekFestival[13][6][8];  // [month][week row][weekday]
    QString constellation[13][32];
    QString dayName[31];
    QString ganZhi[151], zodiac[151], era[151];  // by table index (year - 1900)
    QStringView monthName[13], weekDayName[8], termName[24];
    QString newYearsEve = QStringLiteral("除夕");

    WalkTexts() {
        for (const DayFestival& f : kSolarFestivals)  // the first row wins
            if (solarFestival[f.month][f.day].isNull()) solarFestival[f.month][f.day] = View(f.name);
        for (const DayFestival& f : kLunarFestivals)
            if (lunarFestival[f.month][f.day].isNull()) lunarFestival[f.month][f.day] = View(f.name);
        for (const WeekFestival& f : kWeekFestivals)  // the last row wins
            weekFestival[f.month][f.week][f.weekday] = View(f.name);
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= DaysInMonth(2000, m); ++d) constellation[m][d] = clsdate::Constellation(m, d);
        for (int d = 0; d <= 30; ++d) dayName[d] = clsdate::CDayStr(d);
        for (int i = 0; i <= 150; ++i) {
            ganZhi[i] = clsdate::GanZhi(1900 + i);
            zodiac[i] = clsdate::YearAttribute(1900 + i);
            era[i] = clsdate::Era(1900 + i);
        }
        for (int m = 1; m <= 12; ++m) monthName[m] = View(kMonthNames[m - 1]);
        for (int w = 1; w <= 7; ++w) weekDayName[w] = View(kWeekDays[w - 1]);
        for (int n = 0; n < 24; ++n) termName[n] = View(kSolarTerms[n].name);
    }
};
const WalkTexts& Texts() {
    static const WalkTexts texts;
    return texts;
}

}  // namespace

CalendarWalk::CalendarWalk(int fromYear, int fromMonth, int fromDay, int toYear, int toMonth, int toDay) {
    const std::int32_t tableFirst = kOffsetBase + 1, tableLast = kOffsetBase + kTableDays;
    const std::int32_t first = std::max(clsdate::DayNumberOf(fromYear, fromMonth, fromDay), tableFirst);
    last_ = std::min(clsdate::DayNumberOf(toYear, toMonth, toDay), tableLast);
    next_ = first;
    if (first <= last_) Start(first);
}

void CalendarWalk::Start(std::int32_t dayNumber) {
    const Civil c = CivilFromSerial(dayNumber);
    sYear_ = c.y;
    sMonth_ = c.m;
    sDay_ = c.d;
    monthLength_ = DaysInMonth(sYear_, sMonth_);
    weekDay_ = static_cast<int>((dayNumber + 6) % 7) + 1;  // day 0 was a Saturday
    weekRow_ = 0;
    for (int d = 2; d <= sDay_; ++d)
        if (((weekDay_ - 1 - (sDay_ - d)) % 7 + 7) % 7 == 0) ++weekRow_;  // day d is a Sunday

    const LunarDay l = LunarOf(dayNumber);
    yearIndex_ = l.year - 1900;
    const int leap = kLunarInfo[yearIndex_] & 0xF;
    monthCount_ = leap ? 13 : 12;
    monthPos_ = l.month - 1 + ((leap && (l.month > leap || (l.month == leap && l.leap))) ? 1 : 0);
    EnterMonth();
    lDay_ = l.day;

    const std::int32_t* terms = TermDaysFlat();
    termIndex_ = static_cast<int>(std::lower_bound(terms, terms + kTermCount, dayNumber) - terms);
}

// Months of a lunar year by position: the regular months 1 .. leap, then
// the leap month (numbered like the month before it), then the rest.
void CalendarWalk::EnterMonth() {
    const std::int32_t word = kLunarInfo[yearIndex_];
    const int leap = word & 0xF;
    if (leap && monthPos_ == leap) {
        lMonth_ = leap;
        isLeap_ = true;
        lMonthLength_ = Bit(word, 16) ? 30 : 29;
    } else {
        lMonth_ = (leap && monthPos_ > leap) ? monthPos_ : monthPos_ + 1;
        isLeap_ = false;
        lMonthLength_ = Bit(word, 16 - lMonth_) ? 30 : 29;
    }
}

void CalendarWalk::Advance() {
    ++next_;
    weekDay_ = weekDay_ % 7 + 1;
    if (++sDay_ > monthLength_) {
        sDay_ = 1;
        if (++sMonth_ > 12) {
            sMonth_ = 1;
            ++sYear_;
        }
        monthLength_ = DaysInMonth(sYear_, sMonth_);
        weekRow_ = 0;  // the 1st never counts, Sunday or not
    } else if (weekDay_ == 1) {
        ++weekRow_;
    }
    if (++lDay_ > lMonthLength_) {
        lDay_ = 1;
        if (++monthPos_ == monthCount_) {
            monthPos_ = 0;
            ++yearIndex_;
            monthCount_ = (kLunarInfo[yearIndex_] & 0xF) ? 13 : 12;
        }
        EnterMonth();
    }
    const std::int32_t* terms = TermDaysFlat();
    while (termIndex_ < kTermCount && terms[termIndex_] < next_) ++termIndex_;
}

void CalendarWalk::Describe(CalendarDay& day) const {
    const WalkTexts& t = Texts();
    day.dayNumber = next_;
    day.sYear = sYear_;
    day.sMonth = sMonth_;
    day.sDay = sDay_;
    day.lYear = 1900 + yearIndex_;
    day.lMonth = lMonth_;
    day.lDay = lDay_;
    day.isLeap = isLeap_;
    day.weekDay = weekDay_;
    // A term of the day's own Gregorian year, as lSolarTerm looks them up;
    // the days of 2050 the table reaches take the formula, as there.
    day.solarTerm = {};
    if (sYear_ - 1900 < 150) {
        if (termIndex_ < kTermCount && TermDaysFlat()[termIndex_] == next_ && termIndex_ / 24 == sYear_ - 1900)
            day.solarTerm = t.termName[termIndex_ % 24];
    } else {
        for (int n = 0; n < 24; ++n)
            if (FormulaTermDay(sYear_, n) == next_) {
                day.solarTerm = t.termName[n];
                break;
            }
    }
    day.weekHoliday = t.weekFestival[sMonth_][weekRow_][weekDay_];
    if (lMonth_ == 12 && (lDay_ == 29 || lDay_ == 30)) {
        // 除夕 is the last day of the lunar year.
        const bool lastDay = monthPos_ == monthCount_ - 1 && lDay_ == lMonthLength_;
        day.lunarHoliday = lastDay ? QStringView(t.newYearsEve) : QStringView();
    } else {
        day.lunarHoliday = t.lunarFestival[lMonth_][lDay_];
    }
    day.solarHoliday = t.solarFestival[sMonth_][sDay_];
    day.monthName = t.monthName[lMonth_];
    day.weekDayName = t.weekDayName[weekDay_];
    day.dayName = t.dayName[lDay_];
    day.ganZhi = t.ganZhi[yearIndex_];
    day.zodiac = t.zodiac[yearIndex_];
    day.era = t.era[sYear_ - 1900];
    day.constellation = t.constellation[sMonth_][sDay_];
}

bool CalendarWalk::Next(CalendarDay& day) {
    if (next_ > last_) return false;
    Describe(day);
    if (next_ < last_) {
        Advance();
    } else {
        ++next_;  // done
    }
    return true;
}

}  // namespace tavo
