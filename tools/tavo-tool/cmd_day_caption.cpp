// day-caption: the calendar strip's lunar and festival lines for a run of days.
#include "command.h"
#include "json.h"

#include "calendar/date_day.h"

namespace tavo::tool {
namespace {

// The days whose lunar lines the strip can show.
const QDate kFirst(1900, 1, 31);
const QDate kLast(2050, 1, 22);

QDate ParseDay(const QString& text) {
    const QDate day = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid()) {
        Fail(QStringLiteral("not a date (YYYY-MM-DD): ") + text);
        return {};
    }
    if (day < kFirst || day > kLast) {
        Fail(QStringLiteral("outside the lunar table (1900-01-31 .. 2050-01-22): ") + text);
        return {};
    }
    return day;
}

int DayCaptionRange(const QStringList& args) {
    if (args.size() != 2) return UsageError("day-caption FROM TO");
    const QDate from = ParseDay(args[0]);
    if (!from.isValid()) return 1;
    const QDate to = ParseDay(args[1]);
    if (!to.isValid()) return 1;
    if (from > to) return Fail(QStringLiteral("FROM is after TO"));
    QString out;
    for (QDate day = from; day <= to; day = day.addDays(1)) {
        // Each day as the strip shows it when that day is today.
        const DayCaption c = DateDay::ShowDayCaption(day, day);
        JsonObject o;
        o.add("date", DateDay::DateText(day)).add("NLlabel", c.NLlabel).add("Label7", c.Label7);
        out += o.str();
        out += u'\n';
        if (out.size() > 1 << 16) {
            Print(out);
            out.clear();
        }
    }
    Print(out);
    return 0;
}

const Registration reg{"day-caption", "day-caption FROM TO",
                       "the calendar strip's lunar and festival lines for every day FROM..TO as today", &DayCaptionRange};

}  // namespace
}  // namespace tavo::tool
