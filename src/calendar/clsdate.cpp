#include "calendar/clsdate.h"

#include <QDate>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tavo {
namespace {

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
constexpr std::array<std::int32_t, 151> kLunarInfo = {
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
constexpr std::array<int, 151> kLunarYearLength = MakeYearLengths();
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
constexpr std::array<std::int32_t, 151> kYearStart = MakeYearStarts();
constexpr std::int32_t kTableDays = kYearStart[150] - 1;  // 1900-01-31 .. 2050-01-22
static_assert(kTableDays == 54779);

// Day numbers: 0 is 1899-12-30. 1900-01-30 is 31, so a date's lunar day
// offset is its day number minus 31.
constexpr std::int32_t kOffsetBase = 31;

constexpr std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;  // days since 1970-01-01
}
constexpr std::int64_t kSerialOf1970 = 25569;

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

constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;
const std::int32_t kMaxSerial = static_cast<std::int32_t>(DaysFromCivil(kMaxYear, 12, 31) + kSerialOf1970);

int DaysInMonth(int y, int m) {
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
constexpr SolarTerm kSolarTerms[24] = {
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
constexpr TermFix kTermFixes[] = {
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
const TermDays kTermDays = MakeTermDays();

// ---------------------------------------------------------------------------
// Festivals.
struct DayFestival {
    int month, day;
    const char16_t* name;
};
constexpr DayFestival kSolarFestivals[] = {
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
constexpr DayFestival kLunarFestivals[] = {
    {1, 1, u"春节"},    {1, 15, u"元宵节"}, {5, 5, u"端午节"}, {7, 7, u"七夕情人节"}, {7, 15, u"中元节 盂兰盆节"},
    {8, 15, u"中秋节"}, {9, 9, u"重阳节"},  {12, 8, u"腊八节"}, {12, 24, u"小年"},
};

// Weekday festivals: month, week row (Sundays after the 1st up to the day),
// weekday (1 = Sunday).
struct WeekFestival {
    int month, week, weekday;
    const char16_t* name;
};
constexpr WeekFestival kWeekFestivals[] = {
    {5, 2, 1, u"国际母亲节"}, {5, 3, 1, u"全国助残日"},         {6, 3, 1, u"父亲节"}, {9, 3, 3, u"国际和平日"},
    {9, 4, 1, u"国际聋人节"}, {10, 1, 2, u"国际住房日"}, {10, 1, 4, u"国际减轻自然灾害日"}, {11, 4, 5, u"感恩节"},
};

constexpr const char16_t* kStems[10] = {u"甲", u"乙", u"丙", u"丁", u"戊", u"己", u"庚", u"辛", u"壬", u"癸"};
constexpr const char16_t* kBranches[12] = {u"子", u"丑", u"寅", u"卯", u"辰", u"巳",
                                           u"午", u"未", u"申", u"酉", u"戌", u"亥"};
constexpr const char16_t* kAnimals[12] = {u"鼠", u"牛", u"虎", u"兔", u"龙", u"蛇",
                                          u"马", u"羊", u"猴", u"鸡", u"狗", u"猪"};
constexpr const char16_t* kDayUnits[10] = {u"日", u"一", u"二", u"三", u"四", u"五", u"六", u"七", u"八", u"九"};
constexpr const char16_t* kDayTens[5] = {u"初", u"十", u"廿", u"卅", u"\u3000"};
constexpr const char16_t* kWeekDays[7] = {u"星期日", u"星期一", u"星期二", u"星期三",
                                          u"星期四", u"星期五", u"星期六"};
constexpr const char16_t* kMonthNames[12] = {u"正", u"二", u"三", u"四", u"五", u"六",
                                             u"七", u"八", u"九", u"十", u"十一", u"腊"};

// A QString over a constant table text, without copying it.
QString Text(const char16_t* s) {
    return QString::fromRawData(reinterpret_cast<const QChar*>(s),
                                static_cast<qsizetype>(std::char_traits<char16_t>::length(s)));
}

int TableIndex(int y) {
    const long long i = static_cast<long long>(y) - 1900;
    if (i < 0 || i > 150)
        throw CalendarRangeError("lunar year " + std::to_string(y) + " is outside the table (1900..2050)");
    return static_cast<int>(i);
}

struct LunarDay {
    int year, month, day;
    bool leap;
};

// The lunar day of a day number: the year found from the cumulative year
// starts (the same result as subtracting year lengths from 1900 on), then the
// month walk over at most thirteen months.
LunarDay LunarOf(std::int32_t serial) {
    std::int32_t offset = serial - kOffsetBase;  // 1 on 1900-01-31
    int index;
    if (offset < 1) {
        index = 0;  // before the table: year 1900, offset unchanged
    } else if (offset > kTableDays) {
        index = 150;  // after the table: the year walk ran out at 2050
        offset -= kTableDays - kLunarYearLength[149];
    } else {
        index = static_cast<int>(std::upper_bound(kYearStart.begin(), kYearStart.end(), offset) - kYearStart.begin()) - 1;
        offset -= kYearStart[index] - 1;
    }
    const std::int32_t word = kLunarInfo[index];
    const int leap = word & 0xF;
    bool isLeap = false;
    int temp = 0;
    int i = 1;
    while (i <= 12) {
        if (leap > 0 && i == leap + 1 && !isLeap) {
            --i;
            isLeap = true;
            temp = Bit(word, 16) ? 30 : 29;
        } else {
            isLeap = false;
            temp = Bit(word, 16 - i) ? 30 : 29;
        }
        offset -= temp;
        if (offset < 1) break;
        ++i;
    }
    return {1900 + index, i, offset + temp, isLeap};
}

}  // namespace

// ---------------------------------------------------------------------------
// Table readers.

bool clsdate::BitIsSet(std::int32_t value, int n) { return Bit(value, n); }

int clsdate::YearDays(int y) { return kLunarYearLength[TableIndex(y)]; }

int clsdate::MonthDays(int y, int m) { return BitIsSet(kLunarInfo[TableIndex(y)], 16 - m) ? 30 : 29; }

int clsdate::LeapMonth(int y) { return kLunarInfo[TableIndex(y)] & 0xF; }

int clsdate::LeapDays(int y) {
    if (LeapMonth(y) == 0) return 0;
    return BitIsSet(kLunarInfo[TableIndex(y)], 16) ? 30 : 29;
}

bool clsdate::IsValidDate(int y, int m, int d) {
    return y >= kMinYear && y <= kMaxYear && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

std::int32_t clsdate::DayNumberOf(int y, int m, int d) {
    if (!IsValidDate(y, m, d))
        throw CalendarDateError("no such date: " + std::to_string(y) + "-" + std::to_string(m) + "-" +
                                std::to_string(d));
    return static_cast<std::int32_t>(DaysFromCivil(y, m, d) + kSerialOf1970);
}

// ---------------------------------------------------------------------------
// Conversions.

void clsdate::sInitDate(int y, int m, int d) {
    const std::int32_t serial = DayNumberOf(y, m, d);  // throws before any field changes
    const LunarDay l = LunarOf(serial);
    serial_ = serial;
    sYear_ = y;
    sMonth_ = m;
    sDay_ = d;
    lYear_ = l.year;
    lMonth_ = l.month;
    lDay_ = l.day;
    isLeap_ = l.leap;
}

void clsdate::lInitDate(int y, int m, int d, bool LeapFlag) {
    TableIndex(y);  // the year's own table slot must exist
    if (m < 1 || m > 12) throw std::invalid_argument("lunar month " + std::to_string(m) + " is outside 1..12");
    if (d < 1 || d > 30) throw std::invalid_argument("lunar day " + std::to_string(d) + " is outside 1..30");

    std::int32_t offset = kYearStart[y - 1900] - 1;  // days of the years 1900 .. y-1
    const int leap = LeapMonth(y);
    const bool isLeap = (m == leap) && LeapFlag;
    if (m < leap || leap == 0) {
        for (int i = 1; i < m; ++i) offset += MonthDays(y, i);
    } else if (isLeap) {
        for (int i = 1; i <= m; ++i) offset += MonthDays(y, i);
    } else {
        for (int i = 1; i < m; ++i) offset += MonthDays(y, i);
        if (m > leap) offset += LeapDays(y);
    }
    offset += d;

    const std::int32_t serial = kOffsetBase + offset;
    const Civil c = CivilFromSerial(serial);
    serial_ = serial;
    sYear_ = c.y;
    sMonth_ = c.m;
    sDay_ = c.d;
    lYear_ = y;
    lMonth_ = m;
    lDay_ = d;
    isLeap_ = isLeap;
}

// ---------------------------------------------------------------------------
// Attributes.

QString clsdate::lSolarTerm() const {
    const long long i = static_cast<long long>(sYear_) - 1900;
    if (i >= 0 && i < 150) {
        const auto& days = kTermDays[static_cast<std::size_t>(i)];
        for (int n = 0; n < 24; ++n)
            if (days[n] == serial_) return Text(kSolarTerms[n].name);
        return {};
    }
    for (int n = 0; n < 24; ++n)
        if (FormulaTermDay(sYear_, n) == serial_) return Text(kSolarTerms[n].name);
    return {};
}

QString clsdate::wHoliday() const {
    // Week row of the day in a month grid whose weeks begin on Sunday: the
    // Sundays after the 1st up to and including the day.
    const int firstWeekday = sWeekDay() - (sDay_ - 1) % 7;  // may be <= 0
    const int w1 = ((firstWeekday - 1) % 7 + 7) % 7 + 1;
    const int firstSundayAfter = 9 - w1;  // day of month of the first Sunday after the 1st
    const int week = sDay_ >= firstSundayAfter ? (sDay_ - firstSundayAfter) / 7 + 1 : 0;
    QString result;
    for (const WeekFestival& f : kWeekFestivals)
        if (f.month == sMonth_ && f.weekday == sWeekDay() && f.week == week) result = Text(f.name);
    return result;
}

QString clsdate::lHoliday() const {
    if (lMonth_ == 12 && (lDay_ == 29 || lDay_ == 30)) {
        // 除夕 is the last day of the lunar year: the next day opens the next year.
        if (serial_ >= kMaxSerial) return {};
        return LunarOf(serial_ + 1).year == lYear_ + 1 ? QStringLiteral("除夕") : QString();
    }
    for (const DayFestival& f : kLunarFestivals)
        if (f.month == lMonth_ && f.day == lDay_) return Text(f.name);
    return {};
}

QString clsdate::sHoliday() const {
    for (const DayFestival& f : kSolarFestivals)
        if (f.month == sMonth_ && f.day == sDay_) return Text(f.name);
    return {};
}

QString clsdate::lmonthStr() const {
    if (lMonth_ < 1 || lMonth_ > 12) return {};
    return Text(kMonthNames[lMonth_ - 1]);
}

int clsdate::sWeekDay() const {
    // Day 0 (1899-12-30) was a Saturday.
    return static_cast<int>(((static_cast<std::int64_t>(serial_) + 6) % 7 + 7) % 7) + 1;
}

QString clsdate::sWeekDayStr() const { return Text(kWeekDays[sWeekDay() - 1]); }

bool clsdate::IsToday(int y, int m, int d) {
    const QDate today = QDate::currentDate();
    return y == today.year() && m == today.month() && d == today.day();
}

namespace {
QString EraCaption(int y);
constexpr int kEraCacheFirst = 1874;
constexpr int kEraCacheLast = 2200;
}  // namespace

QString clsdate::Era(int y) {
    // The captions of the years a calendar shows are made once.
    static const std::vector<QString> kCache = [] {
        std::vector<QString> captions;
        for (int year = kEraCacheFirst; year <= kEraCacheLast; ++year) captions.push_back(EraCaption(year));
        return captions;
    }();
    if (y >= kEraCacheFirst && y <= kEraCacheLast) return kCache[static_cast<std::size_t>(y - kEraCacheFirst)];
    return EraCaption(y);
}

namespace {
QString EraCaption(int y) {
    if (y < 1874) return QStringLiteral("未知");
    if (y <= 1908) {
        if (y == 1874) return QStringLiteral("清朝光绪元年");
        return QStringLiteral("清朝光绪") + clsdate::UpNumber(QString::number(y - 1874)) + QStringLiteral("年");
    }
    if (y <= 1911) {  // 1911 is still 宣统三年: the Republic's first year is 1912
        if (y == 1909) return QStringLiteral("清朝宣统元年");
        return QStringLiteral("清朝宣统") + clsdate::UpNumber(QString::number(y - 1909 + 1)) + QStringLiteral("年");
    }
    if (y <= 1948) {
        if (y == 1912) return QStringLiteral("中华民国元年");
        return QStringLiteral("中华民国") + clsdate::UpNumber(QString::number(y - 1912 + 1)) + QStringLiteral("年");
    }
    if (y == 1949) return QStringLiteral("中华人民共和国成立了");
    if (y == 2000) return QStringLiteral("千禧年");
    return QStringLiteral("中华人民共和国成立") + clsdate::UpNumber(QString::number(y - 1949)) + QStringLiteral("周年");
}
}  // namespace

QString clsdate::GanZhi(int num) {
    const long long r = (static_cast<long long>(num) - 1864) % 60;
    if (r < 0) throw CalendarRangeError("GanZhi: year " + std::to_string(num) + " is before 1864");
    static const std::vector<QString> kCycle = [] {
        std::vector<QString> names;
        for (int i = 0; i < 60; ++i) names.push_back(Text(kStems[i % 10]) + Text(kBranches[i % 12]));
        return names;
    }();
    return kCycle[static_cast<std::size_t>(r)];
}

QString clsdate::YearAttribute(int y) {
    const long long r = (static_cast<long long>(y) - 1900) % 12;
    if (r < 0) throw CalendarRangeError("YearAttribute: year " + std::to_string(y) + " is before 1900");
    return Text(kAnimals[r]);
}

QString clsdate::UpNumber(const QString& Dxs) {
    qsizetype from = 0;
    qsizetype to = Dxs.size();
    while (from < to && Dxs[from] == u' ') ++from;
    while (to > from && Dxs[to - 1] == u' ') --to;
    const qsizetype n = to - from;
    if (n == 0) return {};
    if (n > 32767) throw std::overflow_error("UpNumber: more than 32767 digits");

    static constexpr const char16_t* kDigits[10] = {u"零", u"一", u"二", u"三", u"四",
                                                    u"五", u"六", u"七", u"八", u"九"};
    // Pieces are made from the right and prepended; kept in a list (right to
    // left) and joined at the end. No piece holds a space, so the result's
    // head is the first character of the last piece kept.
    std::vector<QString> pieces;
    pieces.reserve(static_cast<std::size_t>(n));
    QChar head;
    for (qsizetype pos = 1; pos <= n; ++pos) {
        const QChar c = Dxs[to - pos];
        const bool digit = c >= u'1' && c <= u'9';
        QString piece = Text(digit ? kDigits[c.unicode() - u'0'] : kDigits[0]);
        switch (pos) {
            case 1:
                if (!digit) piece.clear();
                break;
            case 2:
            case 6:
                if (digit) piece += u'十';
                break;
            case 3:
            case 7:
                if (digit) piece += u'百';
                break;
            case 4:
            case 8:
                if (digit) piece += u'千';
                break;
            case 5:
                piece = digit ? piece + u'万' : QStringLiteral("万");
                break;
            case 9:
                piece = digit ? piece + u'亿' : QStringLiteral("亿");
                break;
            default:
                break;
        }
        if (!digit && piece.size() == 1 && piece[0] == u'零' &&
            (head == u'零' || head == u'万' || head == u'亿'))
            continue;
        if (!piece.isEmpty()) head = piece[0];
        pieces.push_back(std::move(piece));
    }
    QString result;
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) result += *it;
    return result;
}

QString clsdate::CDayStr(int d) {
    if (d < 0 || d >= 50) throw CalendarRangeError("CDayStr: day " + std::to_string(d) + " is outside 0..49");
    static const std::vector<QString> kNames = [] {
        std::vector<QString> names(50);
        for (int i = 1; i < 50; ++i) names[i] = Text(kDayTens[i / 10]) + Text(kDayUnits[i % 10]);
        names[10] = QStringLiteral("初十");
        names[20] = QStringLiteral("二十");
        names[30] = QStringLiteral("三十");
        return names;
    }();
    return kNames[static_cast<std::size_t>(d)];  // 0 reads as an empty text
}

QString clsdate::Constellation(int m, int d) {
    DayNumberOf(2000, m, d);  // the day must exist in the leap year 2000
    struct Range {
        int from, to;  // month * 100 + day, inclusive
        const char16_t* name;
    };
    static constexpr Range kRanges[] = {
        {321, 419, u"白羊"},   {420, 520, u"金牛"},   {521, 621, u"双子"}, {622, 722, u"巨蟹"},
        {723, 822, u"狮子"},   {823, 922, u"处女"},   {923, 1023, u"天秤"}, {1024, 1121, u"天蝎"},
        {1122, 1221, u"射手"}, {1222, 1231, u"摩蝎"}, {101, 119, u"摩蝎"}, {120, 218, u"水瓶"},
        {219, 320, u"双鱼"},
    };
    const int md = m * 100 + d;
    for (const Range& r : kRanges)
        if (md >= r.from && md <= r.to) return Text(r.name);
    return {};
}

// ---------------------------------------------------------------------------
// Range walk.

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
