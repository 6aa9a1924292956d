// Any bytes as a chart index page: the period selector and the period links
// stay the same length and within the cap; choosing every period never
// fails; every entry address is refused or stays on the chart site.
#include "parser_fuzz_file.h"

#include "sources/get_song_list.h"

#include <QUrl>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tavo::GetSongList g;
    g.ChartSiteBase = QStringLiteral("http://127.0.0.1:1");
    g.ParseChartIndex(tavo::fuzz::WritePage(data, size));
    if (g.Combo1.ListCount() != g.ChartPeriodLinks.size()) std::abort();
    if (g.Combo1.ListCount() > tavo::GetSongList::kMaxChartItems) std::abort();
    for (int p = 0; p < g.Combo1.ListCount(); ++p) {
        g.Combo1.SetListIndex(p);
        if (g.Combo2.ListCount() != g.ChartEntries.size()) std::abort();
        if (g.Combo2.ListCount() > tavo::GetSongList::kMaxChartItems) std::abort();
        for (int e = 0; e < g.ChartEntries.size(); ++e) {
            const QString address = g.ChartEntryAddress(e);
            if (address.isEmpty()) continue;
            const QUrl url(address);
            if (url.scheme() != "http" || url.host() != "127.0.0.1" || url.port() != 1) std::abort();
        }
    }
    return 0;
}
