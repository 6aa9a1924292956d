#include "calendar/lunar_tables.h"

#include "calendar/clsdate.h"

#include <algorithm>
#include <string>

namespace tavo::lunar {

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

}  // namespace tavo::lunar
