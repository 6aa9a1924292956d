#pragma once
// The tables the lunar calendar is computed from (lunar years, solar terms,
// festivals, names) and the conversion of a day number to its lunar day.
// Shared by the calendar's day objects (clsdate.cpp) and its range walk
// (calendar_walk.cpp); nothing outside the calendar engine includes it.

#include <QString>

#include <array>
#include <cstdint>
#include <iterator>

namespace tavo::lunar {

// ---------------------------------------------------------------------------
// Lunar year table, one word per lunar year 1900..2049 (index year - 1900),
// plus an all-zero slot for 2050:
//   bits 0-3   number of the leap month (1..12), 0 when there is none;
//   bits 4-15  lengths of the twelve regular months, month m in bit 16 - m
//              (set: 30 days, clear: 29);
//   bit 16     length of the leap month (set: 30 days, clear: 29).
// Six words differ from the long-circulated version of this table, whose
// month lengths disagree with the published calendar (year lengths are the
// same, so no New Year moves): 1933 16A95 (was 06E95), 1954 0A5B0 (0A5D0),
// 1956 052B0 (052D0), 1978 0B6A0 (0B5A0), 1996 05AC0 (055C0) and 2033 04AFB
// (04BD7: the leap month of 2033 follows the 11th month and has 29 days).
inline constexpr std::array<std::int32_t, 151> kLunarInfo = {
    0x04BD8, 0x04AE0, 0x0A570, 0x054D5, 0x0D260, 0x0D950, 0x16554, 0x056A0, 0x09AD0, 0x055D2,  // 1900
    0x04AE0, 0x0A5B6, 0x0A4D0, 0x0D250, 0x1D255, 0x0B540, 0x0D6A0, 0x0ADA2, 0x095B0, 0x14977,  // 1910
    0x04970, 0x0A4B0, 0x0B4B5, 0x06A50, 0x06D40, 0x1AB54, 0x02B60, 0x09570, 0x052F2, 0x04970,  // 1920
    0x06566, 0x0D4A0, 0x0EA50, 0x16A95, 0x05AD0, 0x02B60, 0x186E3, 0x092E0, 0x1C8D7, 0x0C950,  // 1930
    0x0D4A0, 0x1D8A6, 0x0B550, 0x056A0, 0x1A5B4, 0x025D0, 0x092D0, 0x0D2B2, 0x0A950, 0x0B557,  // 1940
    0x06CA0, 0x0B550, 0x15355, 0x04DA0, 0x0A5B0, 0x14573, 0x052B0, 0x0A9A8, 0x0E950, 0x06AA0,  // 1950
    0x0AEA6, 0x0AB50, 0x04B60, 0x0AAE4, 0x0A570, 0x05260, 0x0F263, 0x0D950, 0x05B57, 0x056A0,  // 1960
    0x096D0, 0x04DD5, 0x04AD0, 0x0A4D0, 0x0D4D4, 0x0D250, 0x0D558, 0x0B540, 0x0B6A0, 0x195A6,  // 1970
    0x095B0, 0x049B0, 0x0A974, 0x0A4B0, 0x0B27A, 0x06A50, 0x06D40, 0x0AF46, 0x0AB60, 0x09570,  // 1980
    0x04AF5, 0x04970, 0x064B0, 0x074A3, 0x0EA50, 0x06B58, 0x05AC0, 0x0AB60, 0x096D5, 0x092E0,  // 1990
    0x0C960, 0x0D954, 0x0D4A0, 0x0DA50, 0x07552, 0x056A0, 0x0ABB7, 0x025D0, 0x092D0, 0x0CAB5,  // 2000
    0x0A950, 0x0B4A0, 0x0BAA4, 0x0AD50, 0x055D9, 0x04BA0, 0x0A5B0, 0x15176, 0x052B0, 0x0A930,  // 2010
    0x07954, 0x06AA0, 0x0AD50, 0x05B52, 0x04B60, 0x0A6E6, 0x0A4E0, 0x0D260, 0x0EA65, 0x0D530,  // 2020
    0x05AA0, 0x076A3, 0x096D0, 0x04AFB, 0x04AD0, 0x0A4D0, 0x1D0B6, 0x0D250, 0x0D520, 0x0DD45,  // 2030
    0x0B5A0, 0x056D0, 0x055B2, 0x049B0, 0x0A577, 0x0A4B0, 0x0AA50, 0x1B255, 0x06D20, 0x0ADA0,  // 2040
    0x00000,                                                                                    // 2050
};

constexpr bool Bit(std::int32_t value, int n) {
    return n >= 0 && n <= 31 && ((static_cast<std::uint32_t>(value) >> n) & 1u) != 0;
}

// Days of each lunar year (slot 150 zero): 348, one more for each 30-day
// regular month, plus the leap month's 29 or 30 days.
constexpr std::array<int, 151> MakeYearLengths() {
    std::array<int, 151> len{};
    for (int i = 0; i < 150; ++i) {
        const std::int32_t w = kLunarInfo[i];
        int days = 348;
        for (int m = 1; m <= 12; ++m) days += Bit(w, 16 - m) ? 1 : 0;
        if ((w & 0xF) != 0) days += Bit(w, 16) ? 30 : 29;
        len[i] = days;
    }
    return len;
}
inline constexpr std::array<int, 151> kLunarYearLength = MakeYearLengths();
static_assert(kLunarYearLength[0] == 384 && kLunarYearLength[9] == 384 && kLunarYearLength[65] == 353 &&
              kLunarYearLength[25] == 385 && kLunarYearLength[44] == 385 && kLunarYearLength[106] == 385);

// Day offset (1 on 1900-01-31) of the first day of each lunar year, for
// 1900..2050; the last entry is one past the last day of lunar 2049.
constexpr std::array<std::int32_t, 151> MakeYearStarts() {
    std::array<std::int32_t, 151> start{};
    start[0] = 1;
    for (int i = 0; i < 150; ++i) start[i + 1] = start[i] + kLunarYearLength[i];
    return start;
}
inline constexpr std::array<std::int32_t, 151> kYearStart = MakeYearStarts();
inline constexpr std::int32_t kTableDays = kYearStart[150] - 1;  // 1900-01-31 .. 2050-01-22
static_assert(kTableDays == 54779);

// Day numbers: 0 is 1899-12-30. 1900-01-30 is 31, so a date's lunar day
// offset is its day number minus 31.
inline constexpr std::int32_t kOffsetBase = 31;

constexpr std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;  // days since 1970-01-01
}
inline constexpr std::int64_t kSerialOf1970 = 25569;

struct Civil {
    int y, m, d;
};
constexpr Civil CivilFromSerial(std::int64_t serial) {
    std::int64_t z = serial - kSerialOf1970 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0)), m, d};
}
static_assert(DaysFromCivil(1899, 12, 30) + kSerialOf1970 == 0);
static_assert(DaysFromCivil(1900, 1, 31) + kSerialOf1970 == 32);

inline constexpr int kMinYear = 1;
inline constexpr int kMaxYear = 9999;
inline constexpr std::int32_t kMaxSerial = static_cast<std::int32_t>(DaysFromCivil(kMaxYear, 12, 31) + kSerialOf1970);

inline int DaysInMonth(int y, int m) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) return 29;
    return kDays[m - 1];
}

// ---------------------------------------------------------------------------
// Solar terms: minutes from the start of the solar-term year (小寒), which is
// taken to fall at 1900-01-06 02:05 plus 525948.76 minutes (a tropical year)
// for every year after 1900.
struct SolarTerm {
    const char16_t* name;
    std::int32_t minutes;
};
inline constexpr SolarTerm kSolarTerms[24] = {
    {u"小寒", 0},      {u"大寒", 21208},  {u"立春", 42467},  {u"雨水", 63836},  {u"惊蛰", 85337},
    {u"春分", 107014}, {u"清明", 128867}, {u"谷雨", 150921}, {u"立夏", 173149}, {u"小满", 195551},
    {u"芒种", 218072}, {u"夏至", 240693}, {u"小暑", 263343}, {u"大暑", 285989}, {u"立秋", 308563},
    {u"处暑", 331033}, {u"白露", 353350}, {u"秋分", 375494}, {u"寒露", 397447}, {u"霜降", 419210},
    {u"立冬", 440795}, {u"小雪", 462224}, {u"大雪", 483532}, {u"冬至", 504758},
};

// Terms of 1900..2049 whose calendar day in China Standard Time (UTC+8), by
// the astronomical computation, differs from the mean-year formula above:
// year, term number (1 = 小寒 ... 24 = 冬至), days to add to the formula's day.
struct TermFix {
    std::int16_t year;
    std::int8_t term;
    std::int8_t shift;
};
inline constexpr TermFix kTermFixes[] = {
    {1909, 2, +1}, {1911, 9, +1}, {1912, 1, +1}, {1912, 19, +1}, {1917, 10, -1}, {1917, 23, +1},
    {1935, 11, -1}, {1942, 2, +1}, {1943, 3, +1}, {1943, 7, +1}, {1945, 1, +1}, {1947, 24, +1},
    {1950, 8, -1}, {1950, 23, +1}, {1951, 24, +1}, {1952, 6, +1}, {1955, 14, -1}, {1956, 4, +1},
    {1957, 21, +1}, {1958, 13, -1}, {1958, 16, -1}, {1960, 17, -1}, {1961, 12, -1}, {1973, 9, -1},
    {1974, 22, +1}, {1975, 2, +1}, {1975, 18, -1}, {1976, 3, +1}, {1977, 5, +1}, {1977, 15, -1},
    {1978, 1, +1}, {1978, 22, +1}, {1979, 10, -1}, {1980, 3, +1}, {1980, 24, +1}, {1981, 5, +1},
    {1982, 1, +1}, {1983, 23, +1}, {1984, 14, -1}, {1984, 24, +1}, {1985, 6, +1}, {1987, 13, -1},
    {1988, 14, -1}, {1989, 4, +1}, {1989, 17, -1}, {1990, 12, -1}, {1990, 21, +1}, {1991, 13, -1},
    {1991, 16, -1}, {1994, 12, -1}, {1997, 11, -1}, {2006, 9, -1}, {2006, 15, -1}, {2007, 22, +1},
    {2008, 2, +1}, {2008, 18, -1}, {2009, 3, +1}, {2010, 5, +1}, {2010, 15, -1}, {2011, 1, +1},
    {2011, 22, +1}, {2012, 2, +1}, {2012, 10, -1}, {2012, 23, +1}, {2013, 3, +1}, {2013, 14, -1},
    {2013, 24, +1}, {2014, 5, +1}, {2015, 1, +1}, {2016, 23, +1}, {2017, 14, -1}, {2017, 24, +1},
    {2018, 4, +1}, {2018, 6, +1}, {2019, 12, -1}, {2020, 13, -1}, {2020, 16, -1}, {2020, 23, +1},
    {2022, 4, +1}, {2022, 17, -1}, {2023, 12, -1}, {2023, 20, +1}, {2023, 21, +1}, {2024, 16, -1},
    {2026, 11, -1}, {2030, 11, -1}, {2035, 9, -1}, {2035, 15, -1}, {2037, 2, +1}, {2039, 15, -1},
    {2040, 1, +1}, {2040, 19, +1}, {2040, 22, +1}, {2041, 2, +1}, {2041, 10, -1}, {2042, 3, +1},
    {2043, 5, +1}, {2043, 15, -1}, {2044, 1, +1}, {2044, 22, +1}, {2045, 2, +1}, {2045, 8, -1},
    {2045, 10, -1}, {2045, 23, +1}, {2046, 3, +1}, {2046, 14, -1}, {2046, 24, +1}, {2047, 5, +1},
    {2048, 1, +1}, {2048, 12, -1}, {2049, 13, -1}, {2049, 16, -1}, {2049, 23, +1},
};
static_assert(std::size(kTermFixes) == 113);

constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0 && ((a < 0) != (b < 0))) ? 1 : 0);
}

// Day number of term n (0-based) of year y by the formula: 1900-01-06 02:05
// plus 525948.76 minutes a year (rounded to the minute) plus the term's
// minutes; only the calendar day counts.
constexpr std::int32_t FormulaTermDay(int y, int n) {
    constexpr std::int64_t kEpochSerial = 7;  // 1900-01-06
    constexpr std::int64_t kEpochMinute = 2 * 60 + 5;
    const std::int64_t yearMinutes = FloorDiv(52594876LL * (y - 1900) + 50, 100);
    const std::int64_t minute = kEpochMinute + yearMinutes + kSolarTerms[n].minutes;
    return static_cast<std::int32_t>(kEpochSerial + FloorDiv(minute, 1440));
}

using TermDays = std::array<std::array<std::int32_t, 24>, 150>;
constexpr TermDays MakeTermDays() {
    TermDays days{};
    for (int i = 0; i < 150; ++i)
        for (int n = 0; n < 24; ++n) days[i][n] = FormulaTermDay(1900 + i, n);
    for (const TermFix& f : kTermFixes) days[f.year - 1900][f.term - 1] += f.shift;
    return days;
}
inline const TermDays kTermDays = MakeTermDays();

// ---------------------------------------------------------------------------
// Festivals.
struct DayFestival {
    int month, day;
    const char16_t* name;
};
inline constexpr DayFestival kSolarFestivals[] = {
    {1, 1, u"元旦"},
    {2, 14, u"情人节"},
    {2, 10, u"国际气象节"},
    {3, 8, u"妇女节"},
    {3, 12, u"植树节"},
    {3, 15, u"消费者权益日"},
    {4, 1, u"愚人节"},
    {4, 5, u"清明"},
    {5, 1, u"劳动节"},
    {5, 4, u"青年节"},
    {5, 12, u"护士节"},
    {5, 31, u"世界无烟日"},
    {6, 1, u"儿童节"},
    {7, 1, u"建党节 香港回归纪念"},
    {8, 1, u"建军节"},
    {8, 8, u"中国男子节 父亲节"},
    {9, 9, u"毛泽东逝世纪念"},
    {9, 10, u"教师节"},
    {9, 18, u"九·一八事变纪念日"},
    {9, 28, u"孔子诞辰"},
    {10, 1, u"国庆节 国际音乐日"},
    {10, 6, u"老人节"},
    {10, 24, u"联合国日"},
    {11, 12, u"孙中山诞辰纪念"},
    {12, 1, u"世界艾滋病日"},
    {12, 3, u"世界残疾人日"},
    {12, 20, u"澳门回归纪念"},
    {12, 24, u"平安夜"},
    {12, 25, u"圣诞节"},
    {12, 26, u"毛泽东诞辰纪念"},
};

// Lunar festivals. "除夕" is computed (the last day of the lunar year). There
// is deliberately no row for month 11 day 28: that day is not 重阳节 (9-9).
inline constexpr DayFestival kLunarFestivals[] = {
    {1, 1, u"春节"},    {1, 15, u"元宵节"}, {5, 5, u"端午节"}, {7, 7, u"七夕情人节"}, {7, 15, u"中元节 盂兰盆节"},
    {8, 15, u"中秋节"}, {9, 9, u"重阳节"},  {12, 8, u"腊八节"}, {12, 24, u"小年"},
};

// Weekday festivals: month, week row (Sundays after the 1st up to the day),
// weekday (1 = Sunday).
struct WeekFestival {
    int month, week, weekday;
    const char16_t* name;
};
inline constexpr WeekFestival kWeekFestivals[] = {
    {5, 2, 1, u"国际母亲节"}, {5, 3, 1, u"全国助残日"},         {6, 3, 1, u"父亲节"}, {9, 3, 3, u"国际和平日"},
    {9, 4, 1, u"国际聋人节"}, {10, 1, 2, u"国际住房日"}, {10, 1, 4, u"国际减轻自然灾害日"}, {11, 4, 5, u"感恩节"},
};

inline constexpr const char16_t* kStems[10] = {u"甲", u"乙", u"丙", u"丁", u"戊", u"己", u"庚", u"辛", u"壬", u"癸"};
inline constexpr const char16_t* kBranches[12] = {u"子", u"丑", u"寅", u"卯", u"辰", u"巳",
                                           u"午", u"未", u"申", u"酉", u"戌", u"亥"};
inline constexpr const char16_t* kAnimals[12] = {u"鼠", u"牛", u"虎", u"兔", u"龙", u"蛇",
                                          u"马", u"羊", u"猴", u"鸡", u"狗", u"猪"};
inline constexpr const char16_t* kDayUnits[10] = {u"日", u"一", u"二", u"三", u"四", u"五", u"六", u"七", u"八", u"九"};
inline constexpr const char16_t* kDayTens[5] = {u"初", u"十", u"廿", u"卅", u"\u3000"};
inline constexpr const char16_t* kWeekDays[7] = {u"星期日", u"星期一", u"星期二", u"星期三",
                                          u"星期四", u"星期五", u"星期六"};
inline constexpr const char16_t* kMonthNames[12] = {u"正", u"二", u"三", u"四", u"五", u"六",
                                             u"七", u"八", u"九", u"十", u"十一", u"腊"};

// A QString over a constant table text, without copying it.
QString Text(const char16_t* s);

// The table index of lunar year `y` (y - 1900); CalendarRangeError outside
// 1900..2050.
int TableIndex(int y);

struct LunarDay {
    int year, month, day;
    bool leap;
};

// The lunar day of a day number (0 is 1899-12-30).
LunarDay LunarOf(std::int32_t serial);

}  // namespace tavo::lunar
