// parse KIND FILE: runs one of the page and feed parsers on a saved page and
// prints what it yields as JSON.
//   xml-feed        {"List": ...}
//   json-playlist   {"List": ..., "RadioUrls": [...]}
//   chart-index     {"Periods": [{"Title": ..., "Links": ...}, ...]}
//   chart-songs     {"List": ...}  (the song-page markers the player uses)
#include "command.h"
#include "json.h"

#include "platform/ansi_text.h"
#include "sources/get_song_list.h"

#include <system_error>

namespace tavo::tool {
namespace {

constexpr const char* kUsage = "parse xml-feed|json-playlist|chart-index|chart-songs FILE";

int Parse(const QStringList& args) {
    if (args.size() != 2) return UsageError(kUsage);
    const QString& kind = args[0];
    const auto file = platform::QStringToPath(args[1]);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return Fail("no such file: " + args[1]);

    GetSongList g;
    JsonObject out;
    if (kind == "xml-feed") {
        out.add("List", g.ParseXmlFeed(file));
    } else if (kind == "json-playlist") {
        out.add("List", g.ParseJsonPlaylist(file));
        out.addStrings("RadioUrls", g.RadioUrls);
    } else if (kind == "chart-index") {
        g.ParseChartIndex(file);
        QStringList periods;
        const QStringList& titles = g.Combo1.Items();
        for (qsizetype i = 0; i < titles.size() && i < g.ChartPeriodLinks.size(); ++i) {
            JsonObject p;
            p.add("Title", titles[i]).add("Links", g.ChartPeriodLinks[i]);
            periods.append(p.str());
        }
        out.addRaw("Periods", JsonArray(periods));
    } else if (kind == "chart-songs") {
        out.add("List", g.ParseChartSongPage(file, QStringLiteral("checked='checked' name='Checkbox' value='"),
                                             QStringLiteral("'>")));
    } else {
        return UsageError(kUsage);
    }
    PrintLine(out.str());
    return 0;
}

const Registration reg{"parse", kUsage, "run a page or feed parser on a saved FILE", &Parse};

}  // namespace
}  // namespace tavo::tool
