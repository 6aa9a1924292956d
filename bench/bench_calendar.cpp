// The lunar calendar over its whole table: every day of 1900-01-31 ..
// 2050-01-22 (54,779 days) converted and every attribute read, as the day
// captions and month grids would, once with a clsdate per day and once with
// one range walk. Goal: the whole table in under 5 ms, at
// most 0.2x the peer: QDate's own day arithmetic over the same days
// (Gregorian only).
#include <benchmark/benchmark.h>

#include "calendar/clsdate.h"
#include "peer_ratio.h"

#include <QDate>

namespace {

using tavo::clsdate;

void BM_ClsdateWholeTableAllAttributes(benchmark::State& state) {
    for (auto _ : state) {
        long long sink = 0;
        int days = 0;
        int y = 1900, m = 1, d = 31;
        for (;;) {
            clsdate c;
            c.sInitDate(y, m, d);
            sink += c.lYear() + c.lMonth() + c.lDay() + c.IsLeap() + c.sWeekDay();
            sink += c.lSolarTerm().size() + c.wHoliday().size() + c.lHoliday().size() + c.sHoliday().size();
            sink += c.lmonthStr().size() + c.sWeekDayStr().size() + clsdate::CDayStr(c.lDay()).size();
            sink += clsdate::GanZhi(c.lYear()).size() + clsdate::YearAttribute(c.lYear()).size();
            sink += clsdate::Era(c.sYear()).size() + clsdate::Constellation(c.sMonth(), c.sDay()).size();
            clsdate back;
            back.lInitDate(c.lYear(), c.lMonth(), c.lDay(), c.IsLeap());
            sink += back.sDay();
            ++days;
            if (y == 2050 && m == 1 && d == 22) break;
            if (!clsdate::IsValidDate(y, m, ++d)) {
                d = 1;
                if (++m > 12) {
                    m = 1;
                    ++y;
                }
            }
        }
        benchmark::DoNotOptimize(sink);
        state.counters["days"] = days;
    }
}
BENCHMARK(BM_ClsdateWholeTableAllAttributes)->Unit(benchmark::kMillisecond);

void BM_ClsdateConversionOnly(benchmark::State& state) {
    for (auto _ : state) {
        long long sink = 0;
        const std::int32_t first = clsdate::DayNumberOf(1900, 1, 31);
        for (int i = 0; i < 54779; ++i) {
            clsdate c;
            c.lInitDate(1900 + i % 150, i % 12 + 1, i % 29 + 1);
            sink += c.DayNumber() - first;
            clsdate s;
            s.sInitDate(c.sYear(), c.sMonth(), c.sDay());
            sink += s.lDay();
        }
        benchmark::DoNotOptimize(sink);
    }
}
BENCHMARK(BM_ClsdateConversionOnly)->Unit(benchmark::kMillisecond);

// The same days and attributes through one range walk.
void BM_CalendarWalkAllAttributes(benchmark::State& state) {
    for (auto _ : state) {
        long long sink = 0;
        int days = 0;
        tavo::CalendarWalk walk(1900, 1, 31, 2050, 1, 22);
        tavo::CalendarDay c;
        while (walk.Next(c)) {
            sink += c.lYear + c.lMonth + c.lDay + c.isLeap + c.weekDay + c.dayNumber;
            sink += c.solarTerm.size() + c.weekHoliday.size() + c.lunarHoliday.size() + c.solarHoliday.size();
            sink += c.monthName.size() + c.weekDayName.size() + c.dayName.size();
            sink += c.ganZhi.size() + c.zodiac.size() + c.era.size() + c.constellation.size();
            sink += c.sYear + c.sMonth + c.sDay;
            ++days;
        }
        benchmark::DoNotOptimize(sink);
        state.counters["days"] = days;
    }
}
BENCHMARK(BM_CalendarWalkAllAttributes)->Unit(benchmark::kMillisecond);

// Peer: the same 54,779 days through QDate (construct, weekday, day-of-year),
// measured in the same run so the figure above can be read as a ratio.
void BM_PeerQDateWholeTable(benchmark::State& state) {
    for (auto _ : state) {
        long long sink = 0;
        for (QDate day(1900, 1, 31); day <= QDate(2050, 1, 22); day = day.addDays(1)) {
            const QDate q(day.year(), day.month(), day.day());
            sink += q.dayOfWeek() + q.dayOfYear() + q.toString(QStringLiteral("yyyy-MM-dd")).size();
        }
        benchmark::DoNotOptimize(sink);
    }
}
BENCHMARK(BM_PeerQDateWholeTable)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return tavo::bench::RunWithRatios(argc, argv,
                                      {{"all 54,779 days, every attribute, range walk", "BM_CalendarWalkAllAttributes",
                                        "BM_PeerQDateWholeTable", "QDate walk", 0.2},
                                       {"all 54,779 days, every attribute, per-day objects",
                                        "BM_ClsdateWholeTableAllAttributes", "BM_PeerQDateWholeTable", "QDate walk",
                                        0.2}});
}
