#include "calendar/clsdate.h"

#include "calendar/lunar_tables.h"

#include <QDate>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tavo {

using namespace lunar;

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

}  // namespace tavo
