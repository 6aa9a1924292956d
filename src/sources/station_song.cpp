#include "sources/station_song.h"

namespace tavo {

QString StationSongText(const QString& station, const QString& streamTitle) {
    const QString title = streamTitle.trimmed();
    if (title.isEmpty() || title == station.trimmed()) return station;
    return title + QStringLiteral("（") + station + QStringLiteral("）");
}

StationTrack StationTrackFor(const QString& station, const QString& streamTitle) {
    const QString title = streamTitle.trimmed();
    if (title.isEmpty() || title == station.trimmed()) return {station, QString()};
    return {title, station};
}

}  // namespace tavo
