#include "app/favourites_exchange.h"

#include "app/local_import.h"
#include "app/favourites_file.h"

#include <QSet>

namespace tavo {

namespace {
const QString kTitleArtist = QStringLiteral(" ┈ ");
}  // namespace

QString PlaylistEntryName(const PlaylistEntry& e) {
    if (!e.title.isEmpty()) return LocalSongName(e.title, e.artist, e.location);
    if (e.isAddress) return e.location;
    return LocalFileDisplayName(e.location);
}

PlaylistImport FavouritesFromPlaylist(const std::vector<PlaylistEntry>& entries, const QStringList& knownLinks) {
    PlaylistImport out;
    QSet<QString> seen(knownLinks.cbegin(), knownLinks.cend());
    for (const PlaylistEntry& e : entries) {
        if (IsRefusedPath(e.location)) {
            ++out.refused;
            continue;
        }
        if (seen.contains(e.location)) {
            ++out.duplicates;
            continue;
        }
        seen.insert(e.location);
        out.lines.append(LocalSongLine(PlaylistEntryName(e), e.location, e.durationMs));
    }
    return out;
}

std::vector<PlaylistEntry> PlaylistFromFavourites(const QStringList& entries, const QStringList& links,
                                                  const QList<int>& seconds, int* leftOut) {
    std::vector<PlaylistEntry> out;
    int missing = 0;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString link = i < links.size() ? links[i].trimmed() : QString();
        if (link.isEmpty()) {
            ++missing;
            continue;
        }
        PlaylistEntry e;
        e.location = link;
        e.isAddress = link.contains(QStringLiteral("://"));
        const qsizetype sep = entries[i].indexOf(kTitleArtist);
        e.title = sep < 0 ? entries[i] : entries[i].left(sep);
        e.artist = sep < 0 ? QString() : entries[i].mid(sep + kTitleArtist.size()).section(kTitleArtist, 0, 0);
        const int secs = i < seconds.size() ? seconds[i] : -1;
        e.durationMs = secs >= 0 ? secs * 1000 : -1;
        out.push_back(std::move(e));
    }
    if (leftOut) *leftOut = missing;
    return out;
}

}  // namespace tavo
