// The catalogue of song sources and the chart drill-down (period, entry).
#include "sources/get_song_list.h"

#include "sources/addresses.h"
#include "sources/services.h"
#include "sources/text_codecs.h"

#include <stdexcept>

namespace tavo {

namespace {

enum class Host { None, RadioPlaylist, RadioFeed, ChartSite };

struct Row {
    const char16_t* label;
    Host host;
    const char* path;
};

// The rows in selector order. Row 15's label ends in the full-width letter V.
constexpr Row kRows[] = {
    {u"我的收藏夹", Host::None, ""},
    {u"在线电台", Host::None, ""},
    {u"随便听听", Host::RadioPlaylist, "/j/mine/playlist?r={*rnd}&du=0&channel=1&last_channel=1"},
    {u"经典老歌", Host::RadioFeed, "/xml/suixinting_jingdianlaoge.xml?.r={*rnd}"},
    {u"轻音乐", Host::RadioFeed, "/xml/suixinting_qingyinyue.xml?.r={*rnd}"},
    {u"网络音乐金曲榜", Host::ChartSite, "/top/html_top/top0/top0.htm"},
    {u"中国无线音乐销量榜", Host::ChartSite, "/top/html_top/top15/top15.htm"},
    {u"百度中文金曲榜", Host::ChartSite, "/top/html_top/top16/top16.htm"},
    {u"香港电台中文龙虎榜", Host::ChartSite, "/top/html_top/top1/top1.htm"},
    {u"劲歌金曲榜", Host::ChartSite, "/top/html_top/top2/top2.htm"},
    {u"香港电台叱吒903", Host::ChartSite, "/top/html_top/top3/top3.htm"},
    {u"劲爆本地榜", Host::ChartSite, "/top/html_top/top4/top4.htm"},
    {u"幽浮劲碟榜", Host::ChartSite, "/top/html_top/top5/top5.htm"},
    {u"Hito排行榜", Host::ChartSite, "/top/html_top/top6/top6.htm"},
    {u"醉心龙虎榜", Host::ChartSite, "/top/html_top/top7/top7.htm"},
    {u"ChannelＶ", Host::ChartSite, "/top/html_top/top8/top8.htm"},
    {u"MTV封神榜", Host::ChartSite, "/top/html_top/top9/top9.htm"},
    {u"BBC MUSIC TOP20", Host::ChartSite, "/top/html_top/top11/top11.htm"},
    {u"The Billboard Hot 100", Host::ChartSite, "/top/html_top/top12/top12.htm"},
};
static_assert(std::size(kRows) == GetSongList::kCatalogueRows - 1);

}  // namespace

void GetSongList::BuildSourceCatalogue() {
    const ServiceHosts& hosts = Services();
    if (ChartSiteBase.isEmpty()) ChartSiteBase = hosts.chartSite;
    for (int row = 0; row < kCatalogueRows - 1; ++row) {
        const Row& r = kRows[row];
        QString host;
        switch (r.host) {
            case Host::None: break;
            case Host::RadioPlaylist: host = hosts.radioPlaylist; break;
            case Host::RadioFeed: host = hosts.radioFeed; break;
            case Host::ChartSite: host = hosts.chartSite; break;
        }
        SourceCatalogue[row][0] = QString::fromUtf16(r.label);
        SourceCatalogue[row][1] = r.host == Host::None ? QString() : host + QLatin1String(r.path);
    }
    QStringList labels;
    for (int row = 0; row < kCatalogueRows - 1; ++row) labels.append(SourceCatalogue[row][0]);
    PHcombo.SetItems(labels);
}

QString GetSongList::SourceAddress(int row) const {
    if (row < 0 || row >= kCatalogueRows) throw std::out_of_range("source catalogue row out of range");
    static const QString kRnd = QStringLiteral("{*rnd}");
    QString address = SourceCatalogue[row][1];
    for (qsizetype at = address.indexOf(kRnd); at >= 0; at = address.indexOf(kRnd, at)) {
        const QString token = RndToken();
        address.replace(at, kRnd.size(), token);
        at += token.size();
    }
    return address;
}

QString GetSongList::ChartEntryAddress(int entry) const {
    if (entry < 0 || entry >= ChartEntries.size()) return {};
    QString link = ChartEntries[entry].section(QLatin1Char(','), 0, 0);
    link.remove(QLatin1Char('\''));
    return ResolveSiteLink(ChartSiteBase, link);
}

void GetSongList::SelectPeriod(int period) {
    if (period < 0 || period >= ChartPeriodLinks.size()) return;
    QStringList pieces = ChartPeriodLinks[period].split(QLatin1Char('|'));
    pieces.removeLast();  // after the final "|"
    if (pieces.size() > kMaxChartItems) pieces.resize(kMaxChartItems);
    QStringList texts;
    texts.reserve(pieces.size());
    for (const QString& entry : std::as_const(pieces)) texts.append(entry.section(QLatin1Char(','), 1, 1));
    ChartEntries = pieces;
    Combo2.SetItems(texts);
    if (Combo2.ListCount() > 0) Combo2.SetListIndex(0);
}

}  // namespace tavo
