// Lunar calendar subcommands: lunar, lunar-range, solar, day-caption.
#include "command.h"
#include "json.h"

#include "calendar/clsdate.h"
#include "calendar/date_day.h"

#include <QRegularExpression>

#include <exception>

namespace tavo::tool {
namespace {

// The Gregorian days the lunar table covers exactly.
constexpr int kFirst[3] = {1900, 1, 31};
constexpr int kLast[3] = {2050, 1, 22};

bool ParseDate(const QString& text, int& y, int& m, int& d) {
    static const QRegularExpression re(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    const QRegularExpressionMatch match = re.match(text);
    if (!match.hasMatch()) return false;
    y = match.captured(1).toInt();
    m = match.captured(2).toInt();
    d = match.captured(3).toInt();
    return clsdate::IsValidDate(y, m, d);
}

bool ParseInt(const QString& text, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

QString DateText(int y, int m, int d) {
    return QStringLiteral("%1-%2-%3")
        .arg(y, 4, 10, QLatin1Char('0'))
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(d, 2, 10, QLatin1Char('0'));
}

QString DayObject(const clsdate& c) {
    JsonObject o;
    o.add("sYear", c.sYear()).add("sMonth", c.sMonth()).add("sDay", c.sDay());
    o.add("lYear", c.lYear()).add("lMonth", c.lMonth()).add("lDay", c.lDay());
    o.addBool("IsLeap", c.IsLeap());
    o.add("lmonthStr", c.lmonthStr()).add("CDayStr", clsdate::CDayStr(c.lDay()));
    o.add("sWeekDay", c.sWeekDay()).add("sWeekDayStr", c.sWeekDayStr());
    o.add("lSolarTerm", c.lSolarTerm()).add("sHoliday", c.sHoliday());
    o.add("lHoliday", c.lHoliday()).add("wHoliday", c.wHoliday());
    o.add("GanZhi", clsdate::GanZhi(c.lYear())).add("YearAttribute", clsdate::YearAttribute(c.lYear()));
    o.add("Era", clsdate::Era(c.sYear())).add("Constellation", clsdate::Constellation(c.sMonth(), c.sDay()));
    return o.str();
}

// Appends one line to a long output, writing it out in pieces of about 64 KiB.
void AppendLine(QString& out, const QString& line) {
    out += line;
    out += u'\n';
    if (out.size() > 1 << 16) {
        Print(out);
        out.clear();
    }
}

// Day number of a "YYYY-MM-DD" argument inside the table's range, or -1.
std::int32_t DayInRange(const QString& text) {
    int y, m, d;
    if (!ParseDate(text, y, m, d)) {
        Fail(QStringLiteral("not a date (YYYY-MM-DD): ") + text);
        return -1;
    }
    const std::int32_t day = clsdate::DayNumberOf(y, m, d);
    if (day < clsdate::DayNumberOf(kFirst[0], kFirst[1], kFirst[2]) ||
        day > clsdate::DayNumberOf(kLast[0], kLast[1], kLast[2])) {
        Fail(QStringLiteral("outside the lunar table (1900-01-31 .. 2050-01-22): ") + text);
        return -1;
    }
    return day;
}

int Lunar(const QStringList& args) {
    if (args.size() != 1) return UsageError("lunar YYYY-MM-DD");
    if (DayInRange(args[0]) < 0) return 1;
    int y, m, d;
    ParseDate(args[0], y, m, d);
    clsdate c;
    c.sInitDate(y, m, d);
    PrintLine(DayObject(c));
    return 0;
}

int LunarRange(const QStringList& args) {
    if (args.size() != 2) return UsageError("lunar-range FROM TO");
    const std::int32_t from = DayInRange(args[0]);
    if (from < 0) return 1;
    const std::int32_t to = DayInRange(args[1]);
    if (to < 0) return 1;
    if (from > to) return Fail(QStringLiteral("FROM is after TO"));
    int y, m, d;
    ParseDate(args[0], y, m, d);
    clsdate c;
    c.sInitDate(y, m, d);
    QString out;
    for (std::int32_t day = from; day <= to; ++day) {
        AppendLine(out, DayObject(c));
        if (day == to) break;
        int ny = c.sYear(), nm = c.sMonth(), nd = c.sDay() + 1;
        if (!clsdate::IsValidDate(ny, nm, nd)) {
            nd = 1;
            if (++nm > 12) {
                nm = 1;
                ++ny;
            }
        }
        c.sInitDate(ny, nm, nd);
    }
    Print(out);
    return 0;
}

int Solar(const QStringList& args) {
    QStringList rest = args;
    const bool leap = rest.removeAll(QStringLiteral("--leap")) > 0;
    int y, m, d;
    if (rest.size() != 3 || !ParseInt(rest[0], y) || !ParseInt(rest[1], m) || !ParseInt(rest[2], d))
        return UsageError("solar Y M D [--leap]");
    clsdate c;
    try {
        c.lInitDate(y, m, d, leap);
    } catch (const std::exception& e) {
        return Fail(QString::fromUtf8(e.what()));
    }
    PrintLine(JsonString(DateText(c.sYear(), c.sMonth(), c.sDay())));
    return 0;
}

int DayCaptionRange(const QStringList& args) {
    if (args.size() != 2) return UsageError("day-caption FROM TO");
    const std::int32_t from = DayInRange(args[0]);
    if (from < 0) return 1;
    const std::int32_t to = DayInRange(args[1]);
    if (to < 0) return 1;
    if (from > to) return Fail(QStringLiteral("FROM is after TO"));
    int y, m, d;
    ParseDate(args[0], y, m, d);
    QString out;
    const QDate first(y, m, d);
    for (std::int32_t n = 0; n <= to - from; ++n) {
        // Each day as the strip shows it when that day is today.
        const QDate day = first.addDays(n);
        const DayCaption c = DateDay::ShowDayCaption(day, day);
        JsonObject o;
        o.add("date", DateDay::DateText(day)).add("NLlabel", c.NLlabel).add("Label7", c.Label7);
        AppendLine(out, o.str());
    }
    Print(out);
    return 0;
}

const Registration r1{"lunar", "lunar YYYY-MM-DD", "the lunar date and calendar attributes of a day", &Lunar};
const Registration r2{"lunar-range", "lunar-range FROM TO",
                      "one lunar object per line for every day FROM..TO (YYYY-MM-DD)", &LunarRange};
const Registration r3{"solar", "solar Y M D [--leap]", "the Gregorian date of a lunar date", &Solar};
const Registration r4{"day-caption", "day-caption FROM TO",
                      "the calendar strip's lunar and festival lines for every day FROM..TO as today", &DayCaptionRange};

}  // namespace
}  // namespace tavo::tool
