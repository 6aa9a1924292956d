// clsdate's day attributes: solar terms against the astronomical table,
// festivals, names, numerals, eras and constellations.
#include <gtest/gtest.h>

#include "calendar/clsdate.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QStringList>
#include <QTextStream>

namespace tavo {
namespace {

clsdate Day(int y, int m, int d) {
    clsdate c;
    c.sInitDate(y, m, d);
    return c;
}

// ---------------------------------------------------------------------------
// Solar terms.

struct TermRow {
    int year, term;
    QString name;
    QDate date;
};

QList<TermRow> ReadTermTable() {
    QFile f(QStringLiteral(TAVO_TEST_DATA_DIR "/calendar/solar-terms-1900-2049.tsv"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    QList<TermRow> rows;
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(u'#') || line.startsWith(QStringLiteral("year"))) continue;
        const QStringList cols = line.split(u'\t');
        if (cols.size() != 4) continue;
        rows.append({cols[0].toInt(), cols[1].toInt(), cols[2], QDate::fromString(cols[3].left(10), Qt::ISODate)});
    }
    return rows;
}

TEST(SolarTerms, EveryTermOf1900To2049FallsOnTheAstronomicalDate) {
    const QList<TermRow> rows = ReadTermTable();
    ASSERT_EQ(rows.size(), 3600);
    QHash<qint64, QString> byDay;
    for (const TermRow& r : rows) {
        ASSERT_TRUE(r.date.isValid());
        byDay.insert(r.date.toJulianDay(), r.name);
    }
    ASSERT_EQ(byDay.size(), 3600);
    // Every day of 1900..2049: the term of that date, and no term on any other day.
    int terms = 0, wrong = 0;
    for (QDate day(1900, 1, 1); day <= QDate(2049, 12, 31); day = day.addDays(1)) {
        const QString got = Day(day.year(), day.month(), day.day()).lSolarTerm();
        const QString want = byDay.value(day.toJulianDay());
        if (!want.isEmpty()) ++terms;
        if (got != want && ++wrong <= 10)
            ADD_FAILURE() << day.toString(Qt::ISODate).toStdString() << ": got \"" << got.toStdString()
                          << "\", want \"" << want.toStdString() << "\"";
    }
    EXPECT_EQ(terms, 3600);
    EXPECT_EQ(wrong, 0);
    // Outside the corrected years the mean-year formula still names a term per date.
    EXPECT_EQ(Day(2050, 12, 21).lSolarTerm(), QStringLiteral("冬至"));
}

// ---------------------------------------------------------------------------
// Festivals.

TEST(Festivals, NewYearsEveOnTheTwentyNinthAndTheThirtieth) {
    // Lunar 2009's twelfth month has 30 days: 除夕 is the 30th, and looking
    // ahead to the next day leaves the held day alone.
    clsdate d30 = Day(2010, 2, 13);
    EXPECT_EQ(d30.lHoliday(), QStringLiteral("除夕"));
    EXPECT_EQ(d30.sMonth(), 2);
    EXPECT_EQ(d30.sDay(), 13);
    EXPECT_EQ(d30.lYear(), 2009);
    EXPECT_EQ(d30.lDay(), 30);

    // Every lunar New Year's Eve of the table (29th or 30th, the table's
    // last day included), and no other day, reads 除夕.
    int eves = 0;
    for (QDate day(1900, 1, 31); day <= QDate(2050, 1, 22); day = day.addDays(1)) {
        const clsdate c = Day(day.year(), day.month(), day.day());
        const QDate next = day.addDays(1);
        const bool lastDay = Day(next.year(), next.month(), next.day()).lYear() == c.lYear() + 1;
        if ((c.lHoliday() == QStringLiteral("除夕")) != lastDay) {
            ADD_FAILURE() << day.toString(Qt::ISODate).toStdString();
            break;
        }
        eves += lastDay ? 1 : 0;
    }
    EXPECT_EQ(eves, 150);
}

TEST(Festivals, LunarFestivals) {
    struct Case {
        int y, m, d;
        bool leap;
        const char* name;
    } cases[] = {
        {2010, 1, 1, false, "春节"},      {2010, 1, 15, false, "元宵节"},         {2010, 5, 5, false, "端午节"},
        {2009, 5, 5, true, "端午节"},     // the fifth day of the leap fifth month reads the same
        {2010, 7, 7, false, "七夕情人节"}, {2010, 7, 15, false, "中元节 盂兰盆节"}, {2010, 8, 15, false, "中秋节"},
        {2010, 9, 9, false, "重阳节"},    {2010, 12, 8, false, "腊八节"},         {2010, 12, 24, false, "小年"},
        {2010, 11, 28, false, ""},        // no second 重阳节
        {2010, 1, 2, false, ""},          {2010, 8, 16, false, ""},
    };
    for (const auto& c : cases) {
        clsdate l;
        l.lInitDate(c.y, c.m, c.d, c.leap);
        // Read the festival of the Gregorian day, as the day captions do.
        const clsdate s = Day(l.sYear(), l.sMonth(), l.sDay());
        EXPECT_EQ(s.lMonth(), c.m);
        EXPECT_EQ(s.lDay(), c.d);
        EXPECT_EQ(s.lHoliday(), QString::fromUtf8(c.name)) << c.y << "-" << c.m << "-" << c.d;
    }
    EXPECT_EQ(Day(2010, 2, 14).lHoliday(), QStringLiteral("春节"));
    EXPECT_EQ(Day(2010, 9, 22).lHoliday(), QStringLiteral("中秋节"));
}

TEST(Festivals, GregorianFestivals) {
    struct Case {
        int m, d;
        const char* name;
    } cases[] = {
        {1, 1, "元旦"},        {2, 14, "情人节"},           {2, 10, "国际气象节"},  {4, 5, "清明"},
        {7, 1, "建党节 香港回归纪念"}, {9, 18, "九·一八事变纪念日"}, {12, 26, "毛泽东诞辰纪念"}, {12, 27, ""},
        {2, 29, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Day(2012, c.m, c.d).sHoliday(), QString::fromUtf8(c.name)) << c.m << "-" << c.d;
}

TEST(Festivals, WeekdayFestivalsCountSundaysAfterTheFirst) {
    struct Case {
        QDate day;
        const char* name;
    } cases[] = {
        {QDate(2010, 5, 9), "国际母亲节"},   // May 1 2010 a Saturday: the 9th is in row 2
        {QDate(2010, 5, 16), "全国助残日"},
        {QDate(2011, 5, 8), ""},             // May 1 2011 a Sunday: it does not count
        {QDate(2011, 5, 15), "国际母亲节"},
        {QDate(2010, 6, 20), "父亲节"},
        {QDate(2010, 11, 25), ""},           // Thursday in row 3, not 4
        {QDate(2010, 10, 4), "国际住房日"},  // Monday in row 1 (Oct 1 2010 a Friday, Oct 3 a Sunday)
        {QDate(2010, 10, 6), "国际减轻自然灾害日"},
        {QDate(2010, 9, 21), "国际和平日"},  // Tuesday in row 3
        {QDate(2010, 9, 26), "国际聋人节"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Day(c.day.year(), c.day.month(), c.day.day()).wHoliday(), QString::fromUtf8(c.name))
            << c.day.toString(Qt::ISODate).toStdString();
    }
    for (int d = 1; d <= 30; ++d) EXPECT_EQ(Day(2010, 11, d).wHoliday(), QString()) << "November " << d;
}

// ---------------------------------------------------------------------------
// Names and numbers.

TEST(Names, WeekdaysAgreeWithTheCalendar) {
    const char* names[] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
    for (QDate day(1899, 12, 25); day <= QDate(1900, 1, 10); day = day.addDays(1)) {
        const clsdate c = Day(day.year(), day.month(), day.day());
        EXPECT_EQ(c.sWeekDay(), day.dayOfWeek() % 7 + 1);
        EXPECT_EQ(c.sWeekDayStr(), QString::fromUtf8(names[day.dayOfWeek() % 7]));
    }
    EXPECT_EQ(Day(1, 1, 1).sWeekDay(), QDate(1, 1, 1).dayOfWeek() % 7 + 1);
    EXPECT_EQ(Day(9999, 12, 31).sWeekDay(), QDate(9999, 12, 31).dayOfWeek() % 7 + 1);
}

TEST(Names, LunarMonthAndDayNames) {
    const char* months[] = {"正", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "腊"};
    for (int m = 1; m <= 12; ++m) {
        clsdate l;
        l.lInitDate(2010, m, 1);
        const clsdate s = Day(l.sYear(), l.sMonth(), l.sDay());
        EXPECT_EQ(s.lmonthStr(), QString::fromUtf8(months[m - 1])) << m;
    }
    EXPECT_EQ(Day(2009, 6, 23).lmonthStr(), QStringLiteral("五"));  // leap fifth month
    EXPECT_EQ(Day(2051, 3, 1).lMonth(), 13);  // past the table the month walk runs out
    EXPECT_EQ(Day(2051, 3, 1).lmonthStr(), QString());

    const struct {
        int d;
        const char* name;
    } days[] = {{0, ""}, {1, "初一"}, {9, "初九"}, {10, "初十"}, {11, "十一"}, {15, "十五"}, {19, "十九"},
                {20, "二十"}, {21, "廿一"}, {29, "廿九"}, {30, "三十"}, {31, "卅一"}, {49, "\u3000九"}};
    for (const auto& d : days) EXPECT_EQ(clsdate::CDayStr(d.d), QString::fromUtf8(d.name)) << d.d;
    EXPECT_THROW(clsdate::CDayStr(-1), CalendarRangeError);
    EXPECT_THROW(clsdate::CDayStr(50), CalendarRangeError);
}

TEST(Names, StemBranchAndZodiac) {
    const struct {
        int y;
        const char* ganzhi;
        const char* animal;
    } cases[] = {{1900, "庚子", "鼠"}, {1923, "癸亥", "猪"}, {1924, "甲子", "鼠"}, {2009, "己丑", "牛"},
                 {2010, "庚寅", "虎"}, {2049, "己巳", "蛇"}, {2050, "庚午", "马"}};
    for (const auto& c : cases) {
        EXPECT_EQ(clsdate::GanZhi(c.y), QString::fromUtf8(c.ganzhi)) << c.y;
        EXPECT_EQ(clsdate::YearAttribute(c.y), QString::fromUtf8(c.animal)) << c.y;
    }
    EXPECT_EQ(clsdate::GanZhi(1864), QStringLiteral("甲子"));
    EXPECT_THROW(clsdate::GanZhi(1863), CalendarRangeError);
    EXPECT_THROW(clsdate::GanZhi(-2147483647 - 1), CalendarRangeError);
    EXPECT_THROW(clsdate::YearAttribute(1899), CalendarRangeError);
    EXPECT_EQ(clsdate::YearAttribute(2147483647), clsdate::YearAttribute(1900 + (2147483647 - 1900) % 12));
}

TEST(Names, UpNumber) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},          {"   ", ""},        {"0", ""},           {"7", "七"},           {"10", "一十"},
        {"61", "六十一"},  {"100", "一百零"},  {"105", "一百零五"}, {"2010", "二千零一十"}, {"10000", "一万零"},
        {" 34 ", "三十四"}, {"1a", "一十"},    {"100000001", "一亿万零一"}, {"12345678901", "一二三亿四千五百六十七万八千九百零一"},
    };
    for (const auto& c : cases) EXPECT_EQ(clsdate::UpNumber(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
    EXPECT_THROW(clsdate::UpNumber(QString(40000, u'1')), std::overflow_error);
    // 九 at position 1, two characters at positions 2..9, one for each digit beyond.
    EXPECT_EQ(clsdate::UpNumber(QString(32767, u'9')).size(), 1 + 2 * 8 + (32767 - 9));
    EXPECT_EQ(clsdate::UpNumber(QString(32767, u'0')), QStringLiteral("亿万零"));
}

TEST(Names, EraCaptions) {
    const struct {
        int y;
        const char* era;
    } cases[] = {
        {1873, "未知"},
        {1874, "清朝光绪元年"},
        {1875, "清朝光绪一年"},
        {1908, "清朝光绪三十四年"},
        {1909, "清朝宣统元年"},
        {1910, "清朝宣统二年"},
        {1911, "清朝宣统三年"},  // the Republic's first year is 1912
        {1912, "中华民国元年"},
        {1913, "中华民国二年"},
        {1948, "中华民国三十七年"},
        {1949, "中华人民共和国成立了"},
        {1950, "中华人民共和国成立一周年"},
        {2000, "千禧年"},
        {2010, "中华人民共和国成立六十一周年"},
    };
    for (const auto& c : cases) EXPECT_EQ(clsdate::Era(c.y), QString::fromUtf8(c.era)) << c.y;
}

TEST(Names, ConstellationRanges) {
    const struct {
        int m, d;
        const char* name;
    } cases[] = {
        {12, 25, "摩蝎"}, {1, 1, "摩蝎"},  {1, 19, "摩蝎"}, {1, 20, "水瓶"}, {2, 29, "双鱼"}, {3, 20, "双鱼"},
        {3, 21, "白羊"},  {4, 19, "白羊"}, {4, 20, "金牛"}, {6, 21, "双子"}, {6, 22, "巨蟹"}, {8, 23, "处女"},
        {10, 23, "天秤"}, {10, 24, "天蝎"}, {11, 22, "射手"}, {12, 21, "射手"}, {12, 22, "摩蝎"},
    };
    for (const auto& c : cases) EXPECT_EQ(clsdate::Constellation(c.m, c.d), QString::fromUtf8(c.name)) << c.m << "-" << c.d;
    EXPECT_THROW(clsdate::Constellation(2, 30), CalendarDateError);
    EXPECT_THROW(clsdate::Constellation(13, 1), CalendarDateError);
    EXPECT_THROW(clsdate::Constellation(0, 0), CalendarDateError);
}

TEST(Names, IsTodayComparesAllThreeParts) {
    const QDate today = QDate::currentDate();
    const QDate tomorrow = today.addDays(1);
    bool hit = clsdate::IsToday(today.year(), today.month(), today.day());
    if (QDate::currentDate() != today) hit = true;  // midnight passed between the two reads
    EXPECT_TRUE(hit);
    EXPECT_FALSE(clsdate::IsToday(tomorrow.year(), tomorrow.month(), tomorrow.day() + 40));
    EXPECT_FALSE(clsdate::IsToday(today.year() + 1, today.month(), today.day()));
    EXPECT_FALSE(clsdate::IsToday(today.year(), today.month() % 12 + 1, today.day()));
}

}  // namespace
}  // namespace tavo
