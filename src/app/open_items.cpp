#include "app/open_items.h"

#include "app/favourites_exchange.h"
#include "app/local_import.h"
#include "platform/ansi_text.h"
#include "sources/playlist_formats.h"

#include <QSet>

#include <system_error>

namespace tavo {

namespace fs = std::filesystem;

namespace {

bool IsPlaylistFileName(const fs::path& file) {
    const QString ext = platform::PathToQString(file.extension()).toLower();
    return ext == QLatin1String(".m3u") || ext == QLatin1String(".m3u8") || ext == QLatin1String(".pls") ||
           ext == QLatin1String(".xspf");
}

}  // namespace

OpenPlan PlanOpen(const QStringList& items, const QStringList& knownLinks) {
    OpenPlan plan;
    QSet<QString> known(knownLinks.cbegin(), knownLinks.cend());
    bool firstChosen = false;
    // Adds one song; the first song of all is the one to play, even when it
    // is already a favourite.
    const auto add = [&](const QString& link, const QString& line) {
        if (!firstChosen) {
            plan.playFirst = link;
            firstChosen = true;
        }
        if (known.contains(link)) {
            ++plan.duplicates;
            return;
        }
        known.insert(link);
        plan.lines.append(line);
    };
    for (const QString& item : items) {
        PlaylistEntry address;
        if (item.contains(QStringLiteral("://")) && ResolveLocation(item, "/", address) && address.isAddress) {
            add(item, LocalSongLine(item, item, -1));
            continue;
        }
        const fs::path path = platform::QStringToPath(item);
        std::error_code ec;
        if (fs::is_directory(path, ec)) {
            if (!firstChosen) {
                plan.playFirstIsFolder = true;
                firstChosen = true;
            }
            plan.folders.push_back(path);
            continue;
        }
        if (IsRefusedPath(item)) {
            ++plan.unusable;
            continue;
        }
        if (IsPlaylistFileName(path)) {
            const PlaylistRead read = ReadPlaylistFile(path);
            if (read.error != PlaylistError::None) {
                ++plan.unusable;
                continue;
            }
            plan.unusable += read.skipped;
            for (const PlaylistEntry& e : read.entries) {
                if (IsRefusedPath(e.location)) {
                    ++plan.unusable;
                    continue;
                }
                add(e.location, LocalSongLine(PlaylistEntryName(e), e.location, e.durationMs));
            }
            continue;
        }
        if (!IsMusicFileName(path)) {
            ++plan.unusable;
            continue;
        }
        if (const std::optional<QString> line = ReadLocalSongLine(path))
            add(item, *line);
        else
            ++plan.unusable;
    }
    return plan;
}

}  // namespace tavo
