// The period level of the charts: choosing a period lists its entries.
#include "sources/get_song_list.h"

namespace tavo {

void GetSongList::SelectPeriod(int period) {
    ChartEntries.clear();
    Combo2.Clear();
    if (period < 0 || period >= ChartPeriodLinks.size()) return;
    // "link,text|link,text|": every piece but the last (empty) one.
    QStringList pieces = ChartPeriodLinks[period].split(QLatin1Char('|'));
    pieces.removeLast();
    for (const QString& piece : pieces) {
        ChartEntries.append(piece);
        Combo2.AddItem(piece.section(QLatin1Char(','), 1, 1));
    }
    if (!ChartEntries.isEmpty()) Combo2.SetListIndex(0);
}

}  // namespace tavo
